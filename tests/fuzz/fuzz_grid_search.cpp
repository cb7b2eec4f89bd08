// Builds the grid's search conditions from any typed text, on every column
// and on one text or date field, and checks them with the translator's
// tokenizer: the typed text stays inside its literal (the condition's only
// texts are the patterns '%<typed>%' and the dates' bounds), and the page's
// WHERE part with it translates. Run on a row whose name is the typed text
// (up to 30 characters, without wildcards), the search on the name finds
// that row.
#include "FuzzSupport.h"

#include "controls/grid/ConsultaPaginada.h"
#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlTokenizer.h"
#include "platform/db/sqlite/SqlTranslator.h"
#include "platform/db/sqlite/SqliteBackend.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <QRegularExpression>

#include <sqlite3.h>

using controls::ConsultaPaginada;
using namespace platform::db::sqlite;

namespace {

// The probe of a table with a long field before its date field, as the
// grid's own tests build it.
ConsultaPaginada probed()
{
    ConsultaPaginada q;
    q.sql = QStringLiteral(" SELECT * FROM T ");
    q.PrepararCarga();
    q.Equias();
    q.CargarCamposTodos({{QStringLiteral("ID"), platform::db::adInteger},
                         {QStringLiteral("Notas"), platform::db::adLongVarWChar},
                         {QStringLiteral("Fecha"), platform::db::adDBTimeStamp},
                         {QStringLiteral("Nombre"), platform::db::adVarWChar}},
                        q.sql);
    return q;
}

// The probed table, empty but for the row a search looks for, with the
// engine's functions.
sqlite3* database()
{
    static sqlite3* db = [] {
        sqlite3* made = nullptr;
        if (sqlite3_open_v2(":memory:", &made, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK ||
            registerSqlServerExtensions(made) != SQLITE_OK ||
            sqlite3_exec(made,
                         "CREATE TABLE T (ID integer, Notas text COLLATE SQLSERVER, Fecha datetime, "
                         "Nombre varchar(50) COLLATE SQLSERVER)",
                         nullptr, nullptr, nullptr) != SQLITE_OK)
            fuzz_support::fault("the fuzzer's data base could not be built");
        return made;
    }();
    return db;
}

const SqlCatalog& catalog()
{
    static const SqlCatalog read = readCatalog(database());
    return read;
}

// The texts of the condition's literals, in their order.
void collectStrings(const std::vector<translation::Node>& nodes, QStringList& out)
{
    for (const translation::Node& n : nodes) {
        if (n.kind == translation::Tok::String)
            out << n.text;
        collectStrings(n.children, out);
    }
}

void check(const QString& condition, const QString& typed, int textTerms)
{
    const QString where = QStringLiteral("SELECT * FROM T WHERE ") + condition;
    QStringList strings;
    try {
        collectStrings(translation::nest(translation::tokenize(where)), strings);
        (void)SqlTranslator::translateUncached(where, catalog());
    } catch (const platform::db::DbError& e) {
        fuzz_support::fault("a search condition does not translate", condition + u'\n' + e.description());
    }
    const QString pattern = u'%' + typed + u'%';
    if (strings.count(pattern) != textTerms)
        fuzz_support::fault("the typed text left its literal", condition);
    for (const QString& s : strings)
        if (s != pattern && !(s.size() == 8 || s.size() == 17))
            fuzz_support::fault("a literal of the condition is neither the pattern nor a date", condition);
}

// T holding one row, whose name is `name`.
sqlite3* rowNamed(const QString& name)
{
    sqlite3* db = database();
    sqlite3_exec(db, "DELETE FROM T", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO T VALUES (1, '', '2024-03-26 10:15:30', ?)", -1, &st, nullptr);
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(st, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_finalize(st);
    return db;
}

void findsTheRow(const QString& condition, const QString& typed)
{
    const auto steps =
        SqlTranslator::translateUncached(QStringLiteral("SELECT COUNT(*) FROM T WHERE ") + condition, catalog());
    sqlite3* db = rowNamed(typed);
    const QByteArray sql = steps.front().sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        fuzz_support::fault("a search condition does not prepare", steps.front().sql);
    const int rc = sqlite3_step(st);
    const int found = rc == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    if (found != 1)
        fuzz_support::fault("the search on the name does not find the typed name", condition);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ConsultaPaginada q = probed();
    const QString typed = fuzz_support::text(data, size);
    const QStringList headings{QStringLiteral("ID"), QStringLiteral("Fecha"), QStringLiteral("Nombre")};
    if (const QString all = q.CondicionTodos(headings, typed); !all.isEmpty())
        check(all, typed, 2);
    const QString byName = *q.CondicionCampo(QStringLiteral("Nombre"), typed);
    check(byName, typed, 1);
    // LIKE's own signs match other texts too; a text that does not survive
    // UTF-8 (a lone surrogate, a NUL) is not the name stored; CONVERT to
    // NVARCHAR keeps 30 characters, as on SQL Server.
    static const QRegularExpression wildcards(QStringLiteral("[%_\\[\\x{0}]"));
    if (typed.size() <= 30 && !typed.contains(wildcards) && QString::fromUtf8(typed.toUtf8()) == typed)
        findsTheRow(byName, typed);
    if (const std::optional<QString> date = q.CondicionCampo(QStringLiteral("Fecha"), typed))
        check(*date, typed, 0);
    return 0;
}
