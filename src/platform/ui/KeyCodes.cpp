#include "platform/ui/KeyCodes.h"

#include <QKeyEvent>

namespace platform::ui {

int keyCodeOf(const QKeyEvent& event)
{
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return 'A' + (key - Qt::Key_A);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return keypad ? 96 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 112 + (key - Qt::Key_F1);
    }
    switch (key) {
    case Qt::Key_Backspace:
        return keys::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return keys::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keys::Return;
    case Qt::Key_Shift:
        return keys::Shift;
    case Qt::Key_Control:
        return keys::Control;
    case Qt::Key_Alt:
        return keys::Menu;
    case Qt::Key_Escape:
        return keys::Escape;
    case Qt::Key_Space:
        return keys::Space;
    case Qt::Key_PageUp:
        return keys::PageUp;
    case Qt::Key_PageDown:
        return keys::PageDown;
    case Qt::Key_End:
        return keys::End;
    case Qt::Key_Home:
        return keys::Home;
    case Qt::Key_Left:
        return keys::Left;
    case Qt::Key_Up:
        return keys::Up;
    case Qt::Key_Right:
        return keys::Right;
    case Qt::Key_Down:
        return keys::Down;
    case Qt::Key_Insert:
        return keys::Insert;
    case Qt::Key_Delete:
        return keys::Delete;
    case Qt::Key_Asterisk:
        return keypad ? 106 : 0;
    case Qt::Key_Plus:
        return keypad ? 107 : 187;
    case Qt::Key_Minus:
        return keypad ? 109 : 189;
    case Qt::Key_Period:
        return keypad ? 110 : 190;
    case Qt::Key_Slash:
        return keypad ? 111 : 191;
    case Qt::Key_Comma:
        return 188;
    default:
        return 0;
    }
}

int keyAsciiOf(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty()) {
        return 0;
    }
    const char16_t code = text.at(0).unicode();
    // Delete types no character on the platform.
    return code == 0x7F ? 0 : int(code);
}

int shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        state |= shiftMask::Shift;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        state |= shiftMask::Ctrl;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        state |= shiftMask::Alt;
    }
    return state;
}

int mouseButtonOf(Qt::MouseButton button)
{
    return mouseButtonsOf(Qt::MouseButtons(button));
}

int mouseButtonsOf(Qt::MouseButtons buttons)
{
    int value = 0;
    if (buttons.testFlag(Qt::LeftButton)) {
        value |= mouseButton::Left;
    }
    if (buttons.testFlag(Qt::RightButton)) {
        value |= mouseButton::Right;
    }
    if (buttons.testFlag(Qt::MiddleButton)) {
        value |= mouseButton::Middle;
    }
    return value;
}

} // namespace platform::ui
