#pragma once

#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>

namespace testing_support {

// One cell as an independent reader (openpyxl) sees it.
struct XlsxCell
{
    QString type;      // "s" text, "n" number, "d" date, "f" formula
    QJsonValue value;  // the text, the number, the date as "yyyy-mm-ddThh:mm:ss", or the formula
    QJsonValue cached; // the value stored for a formula
    QString numberFormat;
    bool bold = false;
    QString fontColor;    // "FFRRGGBB", empty for the default colour
    QString fill;         // "FFRRGGBB" of a solid interior, empty for none
    bool borders = false; // thin lines on all four sides
};

struct XlsxSheet
{
    QString title;
    QMap<QString, XlsxCell> cells; // by reference ("B3")
    QMap<QString, double> widths;  // set column widths by column letters
    int maxRow = 0;
    int maxColumn = 0;

    // The cell at a reference; a default cell when the sheet has none there.
    XlsxCell at(const QString& reference) const { return cells.value(reference); }
};

struct XlsxBook
{
    QList<XlsxSheet> sheets;
    QString error; // why the file could not be read
};

// Reads a workbook with Debian's python3-openpyxl, not with the program's
// own writing code.
XlsxBook readXlsx(const QString& path);

} // namespace testing_support
