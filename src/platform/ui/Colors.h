#pragma once

#include <QColor>

#include <cstdint>

namespace platform::ui {

// A colour as the program's code writes it: red in the low byte, then green, then
// blue (&HBBGGRR). With the high bit set the low byte names a system colour
// (&H8000000F is the button face).
using OleColor = uint32_t;

inline constexpr OleColor kSystemColorFlag = 0x80000000u;

// RGB(r, g, b) in that encoding.
inline constexpr OleColor rgb(int red, int green, int blue)
{
    return OleColor(red & 0xFF) | (OleColor(green & 0xFF) << 8) | (OleColor(blue & 0xFF) << 16);
}

// The colour to paint with; system colours come from the application's
// palette, so they follow the desktop theme.
QColor toQColor(OleColor value);

// The value of a plain colour (the alpha channel is dropped).
OleColor fromQColor(const QColor& color);

} // namespace platform::ui
