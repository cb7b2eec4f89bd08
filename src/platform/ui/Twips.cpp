#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform::ui {

double screenTwipsPerPixelX()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 0.0;
    return dpi > 0 ? 1440.0 / dpi : double(kTwipsPerPixel);
}

} // namespace platform::ui
