#pragma once

#include <QString>

namespace exportacion {

// The column letters of a 0-based column index: "A" to "Z", then "AA" to
// "AZ", "BA" and on ("XFD" is the last column a sheet has). Empty for a
// negative index.
QString LetraColumna(int& index);

} // namespace exportacion
