#pragma once

#include "platform/core/DateTime.h"
#include "platform/ui/Colors.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform::xlsx {

// The most rows a sheet has.
constexpr int kMaxRows = 1048576;
// The widest a column can be, in the application's character units.
constexpr double kMaxColumnWidth = 255;

// How workbooks are written: one program-wide instance, back to these
// defaults when the program context is reset. Tests lower the row limit, or
// have every completion meet a system error, to see what a full sheet or a
// full disk does without writing a million rows or filling one.
struct WorkbookSettings
{
    int rowsPerSheet = kMaxRows;
    int simulatedWriteError = 0; // a system error number (ENOSPC...), 0 for none
};
WorkbookSettings& workbookSettings();

// Why a workbook could not be created, completed or placed.
struct Failure
{
    enum class Cause { Other, NoSpace, NoPermission, NoFolder };
    Cause cause = Cause::Other;
    QString detail; // the system's or the writing library's own words
};

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

    // False for a text longer than a cell holds (see fittingText).
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
    // The last row a cell may be written in.
    int rowLimit() const { return m_rowLimit; }

private:
    friend class Range;
    friend class Workbook;
    struct Cell;
    struct Column;
    struct Native;

    Sheet(std::unique_ptr<Native> native, int rowLimit);
    // The cell of the current row, after writing out the rows before `row`;
    // nullptr for a row already written or a position out of the sheet.
    Cell* cell(int row, int column);
    bool flushRow();
    bool finish();
    // Whether every row written out reached the sheet's file; errno tells why not.
    bool rowsStored();
    Column& column(int column);

    std::unique_ptr<Native> m_native;
    int m_row = 0; // the row held in m_cells (0 before the first)
    int m_lastRow = 0;
    int m_rowLimit;
    std::vector<Cell> m_cells;
    std::vector<Column> m_columns;
    bool m_failed = false;
};

// A new workbook with its sheets ("Hoja1", "Hoja2", ...), written to a
// temporary file of its own, readable by its owner only, in the user's
// private folder of workbooks ("libros" in the program's cache folder, mode
// 0700), and placed only once it is complete. A workbook dropped before that
// leaves no file.
class Workbook
{
public:
    // A workbook of `sheets` sheets (1 or more), or nullptr with the reason
    // in `failure`. Workbooks left in the folder more than a day ago (kept
    // for the desktop, or from a program that ended midway) are removed
    // first; the latest ones may still be open in the desktop's application.
    static std::unique_ptr<Workbook> create(int sheets, Failure* failure = nullptr);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    int sheetCount() const { return int(m_sheets.size()); }
    Sheet& sheet(int index) { return *m_sheets.at(std::size_t(index)); }
    // The first sheet, which everything is written to unless told otherwise.
    Sheet& activeSheet() { return *m_sheets.front(); }

    // Completes the file and puts it under `path`, with the permissions the
    // user's umask gives new files: an existing file there is replaced only
    // by the complete workbook, in one rename. False, with the reason in
    // `failure`, when it could not; `path` is then as it was.
    bool saveAs(const QString& path, Failure* failure = nullptr);
    // Completes the file and keeps it in the private folder, for the desktop
    // to open; returns its path, or nullopt with the reason in `failure`.
    std::optional<QString> keep(Failure* failure = nullptr);

private:
    struct Native;
    Workbook() = default;
    bool complete(Failure* failure);

    std::unique_ptr<Native> m_native;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    QString m_path;
    bool m_completed = false;
    bool m_kept = false;
};

} // namespace platform::xlsx
