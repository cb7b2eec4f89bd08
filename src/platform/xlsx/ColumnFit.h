#pragma once

#include <QString>

namespace platform::xlsx {

// Estimates of what the spreadsheet application measures when it fits a
// column, for its default font (Calibri 11): the width, in its character
// units, of a column that shows the text, or the number in the given
// number format ("#,##0.00", "dd/mm/yyyy", "hh:mm:ss", "@", General...).
double fittedWidth(const QString& text, bool bold);
double fittedWidth(double number, const QString& numberFormat, bool bold);

} // namespace platform::xlsx
