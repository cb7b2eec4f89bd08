#include "platform/util/Dll_Teclado.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace platform {

void Dll_Teclado::TeclaEnter(const Variant& KeyCode)
{
    if (KeyCode.toInteger() != 13) {
        return;
    }
    // The box's window handles a Tab as it would from the keyboard.
    if (QWidget* w = QApplication::focusWidget()) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QApplication::sendEvent(w, &tab);
    }
}

void Dll_Teclado::FiltrarTecla(QLineEdit*, int& KeyAscii)
{
    if (KeyAscii < 32 || (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '/') {
        return;
    }
    if (KeyAscii == '-' || KeyAscii == '.') {
        KeyAscii = '/';
        return;
    }
    KeyAscii = 0;
}

} // namespace platform
