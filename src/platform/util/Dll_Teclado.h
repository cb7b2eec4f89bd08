#pragma once

#include "platform/core/Variant.h"

class QLineEdit;

namespace platform {

// The keyboard component of date boxes: it filters the characters typed into
// a box and moves on after Enter, as the boxes' key handlers ask.
class Dll_Teclado
{
public:
    // After Enter (key code 13) the focus moves on to the next control of the
    // window, as Tab would move it. Other key codes do nothing.
    void TeclaEnter(const Variant& KeyCode);
    // Lets through digits, the date separator "/" and control characters
    // (Backspace, Enter...); "-" and "." become "/"; any other character is
    // set to 0, which the box does not type.
    void FiltrarTecla(QLineEdit* Caja, int& KeyAscii);
};

} // namespace platform
