#pragma once

#include <Qt>

class QKeyEvent;

namespace platform::ui {

// Key codes, shift states and mouse buttons as the platform's control
// events pass them.
namespace keys {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
} // namespace keys

namespace shiftMask {
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
} // namespace shiftMask

namespace mouseButton {
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
} // namespace mouseButton

// The platform's key code of a key event; 0 for a key it has no code for.
int keyCodeOf(const QKeyEvent& event);
// The platform's character code of a key press (KeyAscii); 0 when the key types none.
int keyAsciiOf(const QKeyEvent& event);
int shiftStateOf(Qt::KeyboardModifiers modifiers);
int mouseButtonOf(Qt::MouseButton button);
int mouseButtonsOf(Qt::MouseButtons buttons);

} // namespace platform::ui
