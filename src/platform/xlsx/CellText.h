#pragma once

#include <QByteArray>
#include <QString>

namespace platform::xlsx {

// The most characters one cell holds.
constexpr int kMaxTextLength = 32767;

// The longest beginning of `text` that one cell holds: at most
// kMaxTextLength characters, fewer when characters the file stores escaped
// take their escape's room; never half of a surrogate pair.
QString fittingText(const QString& text);

// A cell's text as the file stores it, in UTF-8: every character the file's
// XML cannot hold (control characters but tab and line feed, a carriage
// return, U+FFFE, U+FFFF, a lone surrogate) in the format's own escape
// "_xHHHH_", and an underscore that would begin such an escape as "_x005F_",
// so that a reader gets back exactly the text written.
QByteArray storedText(const QString& text);

} // namespace platform::xlsx
