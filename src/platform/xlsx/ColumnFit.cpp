#include "platform/xlsx/ColumnFit.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace platform::xlsx {

namespace {

// Pixel widths of the printable ASCII characters in Calibri 11, from the
// blank (32) to the tilde (126); other characters count as 8.
constexpr unsigned char kPixels[] = {
    3,  5,  6, 7, 7, 11, 10, 3,  5, 5, 7, 7, 4, 5,  4,  6,  // blank to /
    7,  7,  7, 7, 7, 7,  7,  7,  7, 7, 4, 4, 7, 7,  7,  7,  // 0 to ?
    13, 9,  8, 8, 9, 7,  7,  9,  9, 4, 5, 8, 6, 12, 10, 10, // @ to O
    8,  10, 8, 7, 7, 9,  9,  13, 8, 7, 7, 5, 6, 5,  7,  7,  // P to _
    4,  7,  8, 6, 8, 8,  5,  7,  8, 4, 4, 7, 4, 12, 8,  8,  // ` to o
    8,  8,  5, 6, 5, 8,  7,  11, 7, 7, 6, 5, 7, 5,  7,      // p to ~
};

double pixels(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 32 && u <= 126) ? kPixels[u - 32] : 8;
}

// Digits of the whole part of a number (at least 1).
int wholeDigits(double number)
{
    const double whole = std::floor(std::fabs(number));
    return whole < 1 ? 1 : int(std::floor(std::log10(whole))) + 1;
}

// The application leaves a margin of about one digit beside the text; bold
// text is a little wider.
double toWidth(double textPixels, bool bold)
{
    return ((bold ? textPixels * 1.07 : textPixels) + 7.0) / 7.0;
}

bool isDateFormat(const QString& format)
{
    constexpr std::u16string_view kDateLetters = u"dmyhsDMYHS";
    for (const QChar c : format) {
        if (kDateLetters.find(c.unicode()) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

double fittedWidth(const QString& text, bool bold)
{
    // Only the longest line of a text with line breaks counts.
    double widest = 0;
    double line = 0;
    for (const QChar c : text) {
        if (c == u'\n') {
            line = 0;
            continue;
        }
        line += pixels(c);
        widest = std::max(widest, line);
    }
    return toWidth(widest, bold);
}

double fittedWidth(double number, const QString& numberFormat, bool bold)
{
    // Every digit is 7 pixels wide; the group and decimal signs 4, a minus 5.
    const double sign = number < 0 ? 5.0 : 0.0;
    if (numberFormat == u"#,##0.00") {
        const int digits = wholeDigits(number + (number < 0 ? -0.005 : 0.005));
        return toWidth((digits + 2) * 7.0 + ((digits - 1) / 3 + 1) * 4.0 + sign, bold);
    }
    if (isDateFormat(numberFormat)) {
        // Each letter of the pattern shows as a digit.
        double total = 0;
        for (const QChar c : numberFormat) {
            total += c.isLetter() ? 7.0 : pixels(c);
        }
        return toWidth(total, bold);
    }
    if (number == std::floor(number) && std::fabs(number) < 1e11) {
        return toWidth(wholeDigits(number) * 7.0 + sign, bold);
    }
    double total = 0;
    for (const QChar c : QString::number(number, 'g', 11)) {
        total += pixels(c);
    }
    return toWidth(total, bold);
}

} // namespace platform::xlsx
