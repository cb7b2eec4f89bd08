#pragma once

namespace app {

// The program's run inside an application object that its main() made: the
// program's name and version, its operator and dialogs, its fonts, Qt's
// translations for the user's language, mnemonics shared by several buttons,
// the startup form loaded (the start-up road, which ends the program on every
// fatal failure) and shown, and the event loop. The loop's end goes through the program's
// exit routine, so every way out closes the windows first.
[[noreturn]] void EjecutarPrograma();

} // namespace app
