#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <cmath>

namespace platform::ui {

// Positions and sizes arrive in twips; the screen is taken at 96 dpi, where
// one pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / kTwipsPerPixel));
}

inline double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}

// A control's place given in twips (left, top, width, height), in pixels.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// Twips per pixel along the primary screen's width: 15 at 96 dpi, 1440
// divided by the screen's logical dpi otherwise (15 without a screen).
double screenTwipsPerPixelX();

// Width of `text` in `font`, in twips, as a control measures its own texts.
inline int textWidthTwips(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text) * kTwipsPerPixel;
}

} // namespace platform::ui
