#pragma once

namespace platform::ui {

// The faces the forms name (Arial, Segoe UI, MS Sans Serif, Tahoma, Calibri,
// ...) are missing on Linux, and Qt's fall-back for them is much wider, so
// texts would be cut at the sizes the forms were designed for. This stands
// metric-compatible faces in for them, where they are not installed: Carlito
// (as wide as Calibri) for Calibri and Liberation Sans (as wide as Arial) for
// the other sans faces. It also makes Segoe UI at 9 points, the desktop's own
// face on the platform the program was made for, the application's default
// font, so that controls which name no font get that one and not whatever
// the Linux desktop uses.
void useDesignFonts();

} // namespace platform::ui
