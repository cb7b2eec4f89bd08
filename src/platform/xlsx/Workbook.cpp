#include "platform/xlsx/Workbook.h"

#include "platform/core/ProgramWide.h"
#include "platform/xlsx/CellText.h"
#include "platform/xlsx/ColumnFit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace platform::xlsx {

namespace {

constexpr int kMaxColumns = 16384;
// Kept workbooks older than this are removed when the next one is created.
constexpr qint64 kKeptSeconds = 24 * 60 * 60;

ProgramWide<WorkbookSettings> g_settings;

lxw_color_t toLxw(ui::OleColor c)
{
    return lxw_color_t(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

QString reason(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}

void setFailure(Failure* failure, Failure::Cause cause, const QString& detail)
{
    if (failure) {
        *failure = Failure{cause, detail};
    }
}

// The cause of a system error number, in the words of the system.
void setSystemFailure(Failure* failure, int systemError)
{
    Failure::Cause cause = Failure::Cause::Other;
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        cause = Failure::Cause::NoSpace;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        cause = Failure::Cause::NoPermission;
        break;
    case ENOENT:
    case ENOTDIR:
        cause = Failure::Cause::NoFolder;
        break;
    default:
        break;
    }
    setFailure(failure, cause, QString::fromLocal8Bit(std::strerror(systemError)));
}

// Whether the library's error comes from a file it could not write or read,
// so that errno tells why.
bool fileError(lxw_error e)
{
    switch (e) {
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return true;
    default:
        return false;
    }
}

// Files the program saves get the permissions the user's umask gives new
// files, not the private ones of a workbook in the making.
void giveUsualPermissions(const QString& path)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(path).constData(), 0666 & ~mask);
}

// The user's private folder of workbooks, made when missing; nullopt, with
// the reason, when it cannot be made.
std::optional<QString> privateFolder(Failure* failure)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) {
        setFailure(failure, Failure::Cause::NoFolder, QStringLiteral("the user has no cache folder"));
        return std::nullopt;
    }
    const QString folder = cache + QStringLiteral("/libros");
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), ec);
    if (ec) {
        setSystemFailure(failure, ec.value());
        return std::nullopt;
    }
    if (::chmod(QFile::encodeName(folder).constData(), 0700) != 0) {
        setSystemFailure(failure, errno);
        return std::nullopt;
    }
    return folder;
}

void removeOldWorkbooks(const QString& folder)
{
    const QDateTime oldest = QDateTime::currentDateTimeUtc().addSecs(-kKeptSeconds);
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("Libro-*.xlsx")}, QDir::Files);
    for (const QFileInfo& f : files) {
        if (f.lastModified().toUTC() < oldest) {
            QFile::remove(f.absoluteFilePath());
        }
    }
}

// A new empty file named after `pattern`, whose "XXXXXX" before the last
// `suffix` characters becomes unique; readable by its owner only.
std::optional<QString> reserveFile(const QString& pattern, int suffix, Failure* failure)
{
    QByteArray name = QFile::encodeName(pattern);
    const int fd = ::mkstemps(name.data(), suffix);
    if (fd < 0) {
        setSystemFailure(failure, errno);
        return std::nullopt;
    }
    ::close(fd);
    return QFile::decodeName(name);
}

// Copies `from` into a new file beside `to` and renames it over `to`, for a
// destination on another file system.
bool copyBeside(const QString& from, const QString& to, Failure* failure)
{
    const QFileInfo target(to);
    const std::optional<QString> sibling = reserveFile(
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral("-XXXXXX"), 0, failure);
    if (!sibling) {
        return false;
    }
    const std::string copy = QFile::encodeName(*sibling).toStdString();
    std::error_code ec;
    std::filesystem::copy_file(QFile::encodeName(from).toStdString(), copy,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) {
        std::filesystem::rename(copy, QFile::encodeName(to).toStdString(), ec);
    }
    if (ec) {
        setSystemFailure(failure, ec.value());
        QFile::remove(*sibling);
        return false;
    }
    return true;
}

} // namespace

std::optional<double> dateSerial(const DateTime& value)
{
    if (!value.isValid() || value.date().year() < 1900) {
        return std::nullopt;
    }
    const QDate d = value.date();
    const QTime t = value.time();
    lxw_datetime dt{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
    return lxw_datetime_to_excel_datetime(&dt);
}

// The formats of one workbook, one per distinct style.
struct Formats
{
    lxw_workbook* book = nullptr;
    std::vector<std::pair<CellStyle, lxw_format*>> known;
    std::size_t last = 0;

    // nullptr for the default look.
    lxw_format* get(const CellStyle& style)
    {
        if (style == CellStyle{}) {
            return nullptr;
        }
        if (last < known.size() && known[last].first == style) {
            return known[last].second;
        }
        for (std::size_t i = 0; i < known.size(); ++i) {
            if (known[i].first == style) {
                last = i;
                return known[i].second;
            }
        }
        lxw_format* f = workbook_add_format(book);
        if (!f) {
            return nullptr;
        }
        if (!style.numberFormat.isEmpty()) {
            format_set_num_format(f, style.numberFormat.toUtf8().constData());
        }
        if (style.bold) {
            format_set_bold(f);
        }
        if (style.fontColor) {
            format_set_font_color(f, toLxw(*style.fontColor));
        }
        if (style.fill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, toLxw(*style.fill));
        }
        if (style.borders) {
            format_set_border(f, LXW_BORDER_THIN);
        }
        known.emplace_back(style, f);
        last = known.size() - 1;
        return f;
    }
};

struct Sheet::Native
{
    lxw_worksheet* sheet = nullptr;
    Formats* formats = nullptr;
};

struct Sheet::Cell
{
    enum class Kind : uint8_t { Empty, Text, Number, Formula };
    Kind kind = Kind::Empty;
    bool touched = false;
    QString text;      // the text, or the formula
    double number = 0; // the number, or the formula's result
    CellStyle style;

    double fittedWidth() const
    {
        switch (kind) {
        case Kind::Text:
            return xlsx::fittedWidth(text, style.bold);
        case Kind::Number:
        case Kind::Formula:
            return xlsx::fittedWidth(number, style.numberFormat, style.bold);
        case Kind::Empty:
            break;
        }
        return 0;
    }
};

struct Sheet::Column
{
    std::optional<double> width;
    QString numberFormat;
    double widest = 0; // the widest content of the rows written out
    bool filled = false;
};

// ------------------------------------------------------------------ Range

template <typename F> bool Range::each(F&& change)
{
    for (int c = m_first; c <= m_last; ++c) {
        Sheet::Cell* cell = m_sheet->cell(m_row, c);
        if (!cell) {
            return false;
        }
        change(*cell);
        cell->touched = true;
        m_sheet->m_lastRow = std::max(m_sheet->m_lastRow, m_row);
    }
    return m_first <= m_last;
}

bool Range::setText(const QString& text)
{
    if (fittingText(text).size() < text.size()) {
        return false;
    }
    return each([&](Sheet::Cell& c) {
        c.kind = text.isEmpty() ? Sheet::Cell::Kind::Empty : Sheet::Cell::Kind::Text;
        c.text = text;
    });
}

bool Range::setNumber(double value)
{
    if (!std::isfinite(value)) {
        return false;
    }
    return each([&](Sheet::Cell& c) {
        c.kind = Sheet::Cell::Kind::Number;
        c.number = value;
        c.text.clear();
    });
}

bool Range::setDateTime(const DateTime& value)
{
    const std::optional<double> serial = dateSerial(value);
    return serial && setNumber(*serial);
}

bool Range::setFormula(const QString& formula, double result)
{
    if (formula.size() > kMaxTextLength) {
        return false;
    }
    return each([&](Sheet::Cell& c) {
        c.kind = Sheet::Cell::Kind::Formula;
        c.text = formula;
        c.number = std::isfinite(result) ? result : 0;
    });
}

bool Range::setNumberFormat(const QString& format)
{
    return each([&](Sheet::Cell& c) { c.style.numberFormat = format; });
}

bool Range::setBold(bool bold)
{
    return each([&](Sheet::Cell& c) { c.style.bold = bold; });
}

bool Range::setFontColor(ui::OleColor color)
{
    return each([&](Sheet::Cell& c) { c.style.fontColor = color; });
}

bool Range::setFill(std::optional<ui::OleColor> color)
{
    return each([&](Sheet::Cell& c) { c.style.fill = color; });
}

bool Range::setBorders()
{
    return each([&](Sheet::Cell& c) { c.style.borders = true; });
}

// ------------------------------------------------------------------ Sheet

Sheet::Sheet(std::unique_ptr<Native> native, int rowLimit) : m_native(std::move(native)), m_rowLimit(rowLimit) {}

Sheet::~Sheet() = default;

Sheet::Cell* Sheet::cell(int row, int column)
{
    if (row < 1 || row > m_rowLimit || column < 1 || column > kMaxColumns || row < m_row) {
        return nullptr;
    }
    if (row > m_row) {
        flushRow();
        m_row = row;
    }
    if (m_cells.size() < std::size_t(column)) {
        m_cells.resize(std::size_t(column));
    }
    return &m_cells[std::size_t(column - 1)];
}

Sheet::Column& Sheet::column(int index)
{
    if (m_columns.size() < std::size_t(index)) {
        m_columns.resize(std::size_t(index));
    }
    return m_columns[std::size_t(index - 1)];
}

bool Sheet::flushRow()
{
    lxw_worksheet* ws = m_native->sheet;
    const auto row = lxw_row_t(m_row - 1);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        Cell& c = m_cells[i];
        if (!c.touched) {
            continue;
        }
        const auto col = lxw_col_t(i);
        lxw_format* format = m_native->formats->get(c.style);
        lxw_error rc = LXW_NO_ERROR;
        switch (c.kind) {
        case Cell::Kind::Empty:
            rc = worksheet_write_blank(ws, row, col, format);
            break;
        case Cell::Kind::Text:
            rc = worksheet_write_string(ws, row, col, storedText(c.text).constData(), format);
            break;
        case Cell::Kind::Number:
            rc = worksheet_write_number(ws, row, col, c.number, format);
            break;
        case Cell::Kind::Formula:
            rc = worksheet_write_formula_num(ws, row, col, c.text.toUtf8().constData(), format, c.number);
            break;
        }
        if (rc != LXW_NO_ERROR) {
            m_failed = true;
        }
        if (c.kind != Cell::Kind::Empty) {
            Column& k = column(int(i) + 1);
            k.filled = true;
            k.widest = std::max(k.widest, c.fittedWidth());
        }
        // The cells stay for the next row, which saves allocating them again.
        c = Cell{};
    }
    return !m_failed;
}

bool Sheet::setColumnWidth(int index, double width)
{
    if (index < 1 || index > kMaxColumns || !(width >= 0 && width <= kMaxColumnWidth)) {
        return false;
    }
    column(index).width = width;
    return true;
}

bool Sheet::setColumnNumberFormat(int index, const QString& format)
{
    if (index < 1 || index > kMaxColumns) {
        return false;
    }
    column(index).numberFormat = format;
    return true;
}

void Sheet::autoFitColumns()
{
    for (std::size_t i = 0; i < std::max(m_columns.size(), m_cells.size()); ++i) {
        double widest = 0;
        bool filled = false;
        if (i < m_columns.size() && m_columns[i].filled) {
            widest = m_columns[i].widest;
            filled = true;
        }
        if (i < m_cells.size() && m_cells[i].touched && m_cells[i].kind != Cell::Kind::Empty) {
            widest = std::max(widest, m_cells[i].fittedWidth());
            filled = true;
        }
        if (filled) {
            column(int(i) + 1).width = std::min(widest, kMaxColumnWidth);
        }
    }
}

bool Sheet::finish()
{
    flushRow();
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const Column& k = m_columns[i];
        if (!k.width && k.numberFormat.isEmpty()) {
            continue;
        }
        CellStyle style;
        style.numberFormat = k.numberFormat;
        const lxw_error rc = worksheet_set_column(m_native->sheet, lxw_col_t(i), lxw_col_t(i),
                                                  k.width.value_or(LXW_DEF_COL_WIDTH), m_native->formats->get(style));
        if (rc != LXW_NO_ERROR) {
            m_failed = true;
        }
    }
    return !m_failed;
}

bool Sheet::rowsStored()
{
    // The library writes the rows to a file of its own and does not tell
    // when that fails (a full disk): the workbook would come out cut short.
    FILE* rows = m_native->sheet->file;
    if (!rows) {
        return true;
    }
    errno = 0;
    if (std::fflush(rows) != 0) {
        return false;
    }
    if (std::ferror(rows)) {
        errno = EIO;
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ Workbook

struct Workbook::Native
{
    lxw_workbook* book = nullptr;
    Formats formats;
};

WorkbookSettings& workbookSettings()
{
    return g_settings.get();
}

std::unique_ptr<Workbook> Workbook::create(int sheets, Failure* failure)
{
    if (sheets < 1) {
        setFailure(failure, Failure::Cause::Other, QStringLiteral("a workbook needs at least one sheet"));
        return nullptr;
    }
    const std::optional<QString> folder = privateFolder(failure);
    if (!folder) {
        return nullptr;
    }
    removeOldWorkbooks(*folder);
    const std::optional<QString> reserved = reserveFile(*folder + QStringLiteral("/Libro-XXXXXX.xlsx"), 5, failure);
    if (!reserved) {
        return nullptr;
    }
    std::unique_ptr<Workbook> wb(new Workbook);
    wb->m_path = *reserved;

    // Rows go to a file of the library's own as they are finished, so memory
    // stays bounded; it lies beside the workbook, so that both need room on
    // the same disk.
    const QByteArray rowsFolder = QFile::encodeName(*folder);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(rowsFolder.constData());
    wb->m_native = std::make_unique<Native>();
    wb->m_native->book = workbook_new_opt(QFile::encodeName(wb->m_path).constData(), &options);
    if (!wb->m_native->book) {
        setFailure(failure, Failure::Cause::Other, QStringLiteral("the workbook could not be created"));
        return nullptr;
    }
    wb->m_native->formats.book = wb->m_native->book;
    const int rowLimit = std::clamp(workbookSettings().rowsPerSheet, 1, kMaxRows);
    for (int i = 1; i <= sheets; ++i) {
        const QByteArray name = QStringLiteral("Hoja%1").arg(i).toUtf8();
        lxw_worksheet* ws = workbook_add_worksheet(wb->m_native->book, name.constData());
        if (!ws) {
            setFailure(failure, Failure::Cause::Other,
                       QStringLiteral("the sheet %1 could not be created").arg(QString::fromUtf8(name)));
            return nullptr;
        }
        auto native = std::make_unique<Sheet::Native>();
        native->sheet = ws;
        native->formats = &wb->m_native->formats;
        wb->m_sheets.push_back(std::unique_ptr<Sheet>(new Sheet(std::move(native), rowLimit)));
    }
    return wb;
}

Workbook::~Workbook()
{
    m_sheets.clear();
    if (m_native && m_native->book) {
        lxw_workbook_free(m_native->book);
    }
    if (!m_kept && !m_path.isEmpty()) {
        QFile::remove(m_path);
    }
}

bool Workbook::complete(Failure* failure)
{
    if (m_completed) {
        return true;
    }
    bool sheetsWritten = true;
    int systemError = 0;
    for (const auto& sheet : m_sheets) {
        sheetsWritten = sheet->finish() && sheetsWritten;
        if (systemError == 0 && !sheet->rowsStored()) {
            systemError = errno != 0 ? errno : EIO;
        }
    }
    errno = 0;
    const lxw_error rc = workbook_close(m_native->book);
    m_native->book = nullptr;
    if (systemError == 0 && rc != LXW_NO_ERROR && fileError(rc)) {
        systemError = errno;
    }
    if (workbookSettings().simulatedWriteError != 0) {
        systemError = workbookSettings().simulatedWriteError;
    }
    if (rc != LXW_NO_ERROR || !sheetsWritten || systemError != 0) {
        if (systemError != 0) {
            setSystemFailure(failure, systemError);
        } else {
            setFailure(failure, Failure::Cause::Other,
                       rc != LXW_NO_ERROR ? reason(rc) : QStringLiteral("some cells could not be written"));
        }
        QFile::remove(m_path);
        m_path.clear();
        return false;
    }
    m_completed = true;
    return true;
}

bool Workbook::saveAs(const QString& path, Failure* failure)
{
    if (m_path.isEmpty() || !complete(failure)) {
        if (m_path.isEmpty() && failure && failure->detail.isEmpty()) {
            failure->detail = QStringLiteral("the workbook was not written");
        }
        return false;
    }
    const QString target = QFileInfo(path).absoluteFilePath();
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(m_path).toStdString(), QFile::encodeName(target).toStdString(), ec);
    if (ec) {
        // Another file system (or a rename refused): a copy beside the
        // destination is renamed over it instead, and tells why it failed.
        if (!copyBeside(m_path, target, failure)) {
            return false;
        }
        QFile::remove(m_path);
    }
    giveUsualPermissions(target);
    m_path.clear();
    return true;
}

std::optional<QString> Workbook::keep(Failure* failure)
{
    if (m_path.isEmpty() || !complete(failure)) {
        if (m_path.isEmpty() && failure && failure->detail.isEmpty()) {
            failure->detail = QStringLiteral("the workbook was not written");
        }
        return std::nullopt;
    }
    m_kept = true;
    return m_path;
}

} // namespace platform::xlsx
