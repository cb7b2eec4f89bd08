#pragma once

#include "platform/core/Variant.h"

#include <QString>

namespace common {

class PictureBox;

// The text of a progress bar: the caption, a blank, the whole percentage
// (nothing for 0) and "%".
QString TextoProgreso(const QString& caption, const platform::Variant& porcentaje);

// Paints a progress bar on `box`: clears it, centres TextoProgreso in the
// foreground colour, then fills the left `porcentaje` hundredths of its width
// in `color` (red in the low byte) with an inverting pen, so that the part
// of the text under the bar shows in the inverse colour. 0 % draws no bar.
void PintaProgreso(PictureBox* box, const platform::Variant& porcentaje, long color, const QString& caption);

} // namespace common
