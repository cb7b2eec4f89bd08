#pragma once

#include "platform/core/DateTime.h"
#include "platform/ui/Colors.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform::xlsx {

// How a cell looks, in the spreadsheet application's terms. Fonts are the
// workbook's default face at size 11.
struct CellStyle
{
    QString numberFormat; // empty: General
    bool bold = false;
    std::optional<ui::OleColor> fontColor;
    std::optional<ui::OleColor> fill; // a solid interior
    bool borders = false;             // thin continuous lines on all four sides

    bool operator==(const CellStyle&) const = default;
};

// The application's serial number of a date and time (days since its
// epoch, the time as a fraction), or nullopt before 1900, which it cannot hold.
std::optional<double> dateSerial(const DateTime& value);

class Sheet;

// A block of cells in one row, from column `first` to `last` (1-based), as
// the application's Range is used here: every call applies to each cell.
// Returns false when a cell can no longer be changed (see Sheet).
class Range
{
public:
    Range(Sheet& sheet, int row, int first, int last) : m_sheet(&sheet), m_row(row), m_first(first), m_last(last) {}

    bool setText(const QString& text);
    bool setNumber(double value);
    // A date and time, stored as the application's serial number.
    bool setDateTime(const DateTime& value);
    // A formula ("=SUM(B2:B9)") with the result stored beside it for readers that do not recalculate.
    bool setFormula(const QString& formula, double result);
    bool setNumberFormat(const QString& format);
    bool setBold(bool bold);
    bool setFontColor(ui::OleColor color);
    // No colour clears the interior.
    bool setFill(std::optional<ui::OleColor> color);
    bool setBorders();

private:
    template <typename F> bool each(F&& change);

    Sheet* m_sheet;
    int m_row;
    int m_first;
    int m_last;
};

// One sheet of a workbook, written row by row so that memory stays bounded:
// the cells of the current row can be changed in any order; touching a later
// row writes the current one out, and an earlier row can no longer change.
// Column widths and column number formats may be set at any time.
class Sheet
{
public:
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    Range cells(int row, int column) { return Range(*this, row, column, column); }
    Range range(int row, int firstColumn, int lastColumn) { return Range(*this, row, firstColumn, lastColumn); }

    // Width in the application's character units.
    bool setColumnWidth(int column, double width);
    bool setColumnNumberFormat(int column, const QString& format);
    // Fits every column that holds something to the widest content written
    // so far (the current row included), estimated from the texts as the
    // default font shows them.
    void autoFitColumns();

    // The sheet's last row that holds a cell (0 when none).
    int lastRow() const { return m_lastRow; }

private:
    friend class Range;
    friend class Workbook;
    struct Cell;
    struct Column;
    struct Native;

    explicit Sheet(std::unique_ptr<Native> native);
    // The cell of the current row, after writing out the rows before `row`;
    // nullptr for a row already written or a position out of the sheet.
    Cell* cell(int row, int column);
    bool flushRow();
    bool finish();
    Column& column(int column);

    std::unique_ptr<Native> m_native;
    int m_row = 0; // the row held in m_cells (0 before the first)
    int m_lastRow = 0;
    std::vector<Cell> m_cells;
    std::vector<Column> m_columns;
    bool m_failed = false;
};

// A new workbook with its sheets ("Hoja1", "Hoja2", ...), written to a
// temporary file of its own in the system's temporary folder and placed only
// once it is complete. A workbook dropped before that leaves no file.
class Workbook
{
public:
    // A workbook of `sheets` sheets (1 or more), or nullptr with the reason in `error`.
    static std::unique_ptr<Workbook> create(int sheets, QString* error = nullptr);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    int sheetCount() const { return int(m_sheets.size()); }
    Sheet& sheet(int index) { return *m_sheets.at(std::size_t(index)); }
    // The first sheet, which everything is written to unless told otherwise.
    Sheet& activeSheet() { return *m_sheets.front(); }

    // Completes the file and puts it under `path`: an existing file there is
    // replaced only by the complete workbook, in one rename. False, with the
    // reason in `error`, when it could not; `path` is then as it was.
    bool saveAs(const QString& path, QString* error = nullptr);
    // Completes the file and keeps it in the temporary folder, for the
    // desktop to open; returns its path, or nullopt with the reason in `error`.
    std::optional<QString> keep(QString* error = nullptr);

private:
    struct Native;
    Workbook() = default;
    bool complete(QString* error);

    std::unique_ptr<Native> m_native;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    QString m_path;
    bool m_completed = false;
    bool m_kept = false;
};

} // namespace platform::xlsx
