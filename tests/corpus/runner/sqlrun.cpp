// sqlrun: runs statement files on an embedded server folder through the
// ADO-like layer and prints what the program would read back, as text.
//
//   sqlrun [--clock=<yyyy-mm-dd hh:mm:ss[.fff]>] [--count] <server folder> <data base> <statement file>...
//   sqlrun --fixture <script> <server folder> <data base>
//   sqlrun --demo <server folder>
//
// The statement files run one after the other on one connection, each exactly
// as stored (no trimming, line breaks kept). For each file it prints the
// record set that Execute returns: its rows (a header line of column names,
// then one tab-separated line per row), or "records affected: N" (the
// batch's count) when it is closed, as for a statement without rows; then
// the rows of each later result of the batch that has rows, as NextRecordset
// reaches them; or, when the layer raises, "error <Number> native
// <NativeError>: <Description>". With more than one file each result is
// preceded by "== <file name>". --count prints "record count: N" (the record
// set's RecordCount) in place of the rows.
// Exit status: 0, 1 when a statement failed, 2 when the run itself could not
// be made (bad arguments, unreadable file, fixture not built).
//
// --fixture builds <folder>/<data base>.sqlite afresh from a SQLite script
// (SQLite's own SQL, with the SQL Server collation and functions registered);
// --demo builds the demo server folder.

#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/db/sqlite/SqliteBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

using platform::DateTime;
using platform::Variant;
using platform::VariantType;
using platform::db::DbError;
using platform::db::ErrorInfo;

constexpr int kStatementFailed = 1;
constexpr int kRunFailed = 2;

void write(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

void line(const QString& text)
{
    write(text + u'\n');
}

int fail(const QString& message)
{
    const QByteArray bytes = (QStringLiteral("sqlrun: ") + message + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    return kRunFailed;
}

int usage()
{
    return fail(QStringLiteral("usage: sqlrun [--clock=<yyyy-mm-dd hh:mm:ss[.fff]>] [--count] <server folder> <data "
                               "base> <statement file>...\n"
                               "       sqlrun --fixture <script> <server folder> <data base>\n"
                               "       sqlrun --demo <server folder>"));
}

// Keeps one row on one line: tabs, line breaks and backslashes are written as escapes.
QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString cell(const Variant& value)
{
    switch (value.type()) {
    case VariantType::Empty:
        return {};
    case VariantType::Null:
        return QStringLiteral("NULL");
    case VariantType::Double:
        return QString::number(*value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case VariantType::Currency:
        return value.toCurrency()->toString();
    case VariantType::Date:
        return value.toDate()->toStorageText();
    case VariantType::Binary:
        return QStringLiteral("0x") + QString::fromLatin1(value.toBinary().toHex().toUpper());
    case VariantType::Boolean:
    case VariantType::Integer:
    case VariantType::Text:
    case VariantType::Decimal:
    case VariantType::Dictionary:
    case VariantType::Collection:
        break;
    }
    return escaped(value.toText());
}

QString errorLine(const ErrorInfo& e)
{
    // HRESULTs read better in hexadecimal, ADO's own small numbers in decimal.
    const QString number = e.Number < 0 ? QStringLiteral("0x") + QString::number(quint32(e.Number), 16).toUpper()
                                        : QString::number(e.Number);
    return QStringLiteral("error %1 native %2: %3").arg(number).arg(e.NativeError).arg(escaped(e.Description));
}

std::optional<DateTime> parseClock(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2}) (\d{2}):(\d{2}):(\d{2})(?:\.(\d{3}))?$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return DateTime(date, time);
}

int buildFixture(const QString& script, const QString& folder, const QString& database)
{
    QFile file(script);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(script));
    const QString text = QString::fromUtf8(file.readAll());
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));
    const QString path = QDir(folder).filePath(database + QStringLiteral(".sqlite"));
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return fail(QStringLiteral("cannot replace %1").arg(path));
    try {
        platform::db::sqlite::createDatabase(path, text);
    } catch (const DbError& e) {
        return fail(e.info().Description);
    }
    return 0;
}

int buildDemo(const QString& folder)
{
    demo::BuildOptions options;
    options.folder = folder;
    const demo::BuildResult result = demo::buildDemoServer(options);
    return result.ok ? 0 : fail(result.error);
}

// Prints the rows of an open record set (or their count).
void printRows(platform::db::Recordset& rs, bool countOnly)
{
    if (countOnly) {
        line(QStringLiteral("record count: %1").arg(rs.RecordCount()));
        return;
    }
    QStringList header;
    for (int i = 0; i < rs.FieldCount(); ++i)
        header << escaped(rs.Fields(i).Name());
    line(header.join(u'\t'));
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i)
            cells << cell(rs.value(i));
        line(cells.join(u'\t'));
    }
}

// Runs one statement text and prints its results; returns false when the layer raised.
bool runStatement(platform::db::Connection& connection, const QString& sql, bool countOnly)
{
    try {
        int64_t affected = -1;
        std::shared_ptr<platform::db::Recordset> rs = connection.Execute(sql, &affected);
        if (rs->State() == platform::db::adStateOpen)
            printRows(*rs, countOnly);
        else
            line(QStringLiteral("records affected: %1").arg(affected));
        while ((rs = rs->NextRecordset())) {
            if (rs->State() == platform::db::adStateOpen)
                printRows(*rs, countOnly);
        }
        return true;
    } catch (const DbError& e) {
        line(errorLine(e.info()));
        return false;
    }
}

int runFiles(const QString& folder, const QString& database, const QStringList& files, bool countOnly)
{
    QStringList texts;
    for (const QString& name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1").arg(name));
        texts << QString::fromUtf8(file.readAll());
    }
    platform::db::Connection connection;
    try {
        connection.Open(QStringLiteral("Provider=SQLOLEDB;Server=%1;Database=%2").arg(folder, database));
    } catch (const DbError& e) {
        line(errorLine(e.info()));
        return kStatementFailed;
    }
    bool ok = true;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files.size() > 1)
            line(QStringLiteral("== ") + QFileInfo(files.at(i)).fileName());
        ok = runStatement(connection, texts.at(i), countOnly) && ok;
    }
    return ok ? 0 : kStatementFailed;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (!args.isEmpty() && args.front() == QLatin1String("--fixture"))
        return args.size() == 4 ? buildFixture(args.at(1), QDir(args.at(2)).absolutePath(), args.at(3)) : usage();
    if (!args.isEmpty() && args.front() == QLatin1String("--demo"))
        return args.size() == 2 ? buildDemo(QDir(args.at(1)).absolutePath()) : usage();

    bool countOnly = false;
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--count")) {
            countOnly = true;
        } else if (option.startsWith(QLatin1String("--clock="))) {
            const std::optional<DateTime> clock = parseClock(option.mid(8));
            if (!clock)
                return fail(QStringLiteral("bad clock %1").arg(option.mid(8)));
            platform::Runtime::instance().setClock([value = *clock] { return value; });
        } else {
            return usage();
        }
    }
    if (args.size() < 3)
        return usage();
    // An absolute folder always holds a "/", which is what selects the embedded engine.
    return runFiles(QDir(args.at(0)).absolutePath(), args.at(1), args.mid(2), countOnly);
}
