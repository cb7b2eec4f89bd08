#pragma once

#include "platform/ui/Colors.h"

#include <optional>

namespace platform::xlsx {

// The spreadsheet application's standard palette: the colour of a colour
// index from 1 to 56 (5 is blue, 15 the light grey), or nullopt for any
// other index, which names no colour.
std::optional<ui::OleColor> paletteColor(int colorIndex);

} // namespace platform::xlsx
