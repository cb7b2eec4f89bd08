#pragma once

#include <memory>

class QObject;

namespace platform::ui {

// Makes a mnemonic that several buttons (or labels with a buddy) of a window
// share move the focus to the next of them after the focused control, in the
// window's focus order and round again, without pressing any, as the desktop
// the program was made for does; Qt alone hands an ambiguous mnemonic to its
// controls in a turn of its own, so a press may leave the focus where it is.
// A mnemonic that one control holds keeps working as before. In force for the
// whole application while the returned object lives.
std::unique_ptr<QObject> installMnemonicCycling();

} // namespace platform::ui
