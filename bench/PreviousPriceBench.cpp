// Previous-price look-ups per second on the million-row demo history, sent
// exactly as the correction run sends them (the cost class matches the
// article id with both sides trimmed, a numbered class matches it as stored),
// beside the same look-ups done directly on the file with sqlite3: one
// statement prepared once, bound with each article id, every column read in its stored form.
//
//   PreviousPriceBench [server folder]   (built with a million history rows when absent)

#include "MillionRowDemo.h"
#include "demo/DemoBuilder.h"
#include "demo/DemoChanges.h"
#include "platform/db/Connection.h"
#include "platform/db/sqlite/SqliteExtensions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {

struct Run
{
    const char* name;
    QString (*statement)(const QString& storedId, const QString& spanStart);
    // The same look-up in SQLite's own SQL, the article id bound as ?1.
    const char* direct;
    bool trimmed;
};

const QString kListFilter = QStringLiteral(" and (idlista = '' or idlista is null) ");

QString costStatement(const QString& storedId, const QString& spanStart)
{
    return QStringLiteral("SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '") +
           storedId.trimmed() + QStringLiteral("' ") + kListFilter + QStringLiteral("  AND FechaHora < '") + spanStart +
           QStringLiteral("'ORDER BY FechaHora DESC;");
}

QString numberedStatement(const QString& storedId, const QString& spanStart)
{
    return QStringLiteral("SELECT TOP 1  precio1 as precio, * FROM V_MV_PreciosHis WHERE IdArticulo = '") + storedId +
           QStringLiteral("' ") + kListFilter + QStringLiteral("  AND FechaHora < '") + spanStart +
           QStringLiteral("'ORDER BY FechaHora DESC;");
}

struct Cierre
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

// The look-ups through a statement of the file prepared once: seconds, or -1 when it fails.
double directo(sqlite3* db, const Run& run, const QStringList& ids, const QString& spanStorage, int& found)
{
    const QByteArray sql = QByteArray(run.direct).replace("%START%", spanStorage.toUtf8());
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK) {
        std::printf("direct statement failed: %s\n", sqlite3_errmsg(db));
        return -1;
    }
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, &sqlite3_finalize);
    QElapsedTimer timer;
    timer.start();
    found = 0;
    for (const QString& id : ids) {
        const QByteArray key = (run.trimmed ? id.trimmed() : id).toUtf8();
        sqlite3_bind_text(raw, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(raw) == SQLITE_ROW) {
            ++found;
            // Each column in the form it is stored in, as the record set reads it.
            for (int i = 0; i < sqlite3_column_count(raw); ++i) {
                switch (sqlite3_column_type(raw, i)) {
                case SQLITE_INTEGER:
                    sqlite3_column_int64(raw, i);
                    break;
                case SQLITE_FLOAT:
                    sqlite3_column_double(raw, i);
                    break;
                case SQLITE_NULL:
                    break;
                default:
                    sqlite3_column_text(raw, i);
                    break;
                }
            }
        }
        sqlite3_reset(raw);
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = bench::millionRowDemo(argc, argv);
    if (folder.isEmpty())
        return 1;

    platform::db::Connection cnn;
    cnn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =BKDEMO;UId=demo;Pwd=demo;").arg(folder));
    sqlite3* raw = nullptr;
    const QString file = QDir(folder).filePath(QStringLiteral("BKDEMO.sqlite"));
    sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, Cierre> db(raw);
    if (platform::db::sqlite::registerSqlServerExtensions(raw) != SQLITE_OK)
        return 1;

    // The articles of the first mass change on the master, in the span's order.
    const demo::KnownChange& change = demo::kKnownChanges[0];
    const QString minute = QString::fromLatin1(change.minute);
    const QString spanStart = minute.mid(8, 2) + u'-' + minute.mid(5, 2) + u'-' + minute.left(4) + minute.mid(10) +
                              QStringLiteral(":%1.000").arg(change.firstSecond, 2, 10, QLatin1Char('0'));
    const QString spanStorage = minute + QStringLiteral(":%1").arg(change.firstSecond, 2, 10, QLatin1Char('0'));
    auto ids = cnn.Execute(QStringLiteral("SELECT IdArticulo FROM V_MV_PreciosHis WHERE FechaHora >= '") + spanStart +
                           QStringLiteral("' ORDER BY FechaHora"));
    QStringList storedIds;
    for (; !ids->Eof() && storedIds.size() < 2000; ids->MoveNext()) {
        storedIds << ids->value(0).toText();
    }

    const Run runs[] = {
        {"cost class (trimmed id)", costStatement,
         "SELECT Costo AS precio, * FROM V_MV_PreciosHis WHERE ltrim(rtrim(IdArticulo)) COLLATE SQLSERVER = ?1 AND "
         "(idLista = '' OR idLista IS NULL) AND FechaHora < '%START%' ORDER BY FechaHora DESC LIMIT 1",
         true},
        {"numbered class", numberedStatement,
         "SELECT Precio1 AS precio, * FROM V_MV_PreciosHis WHERE IdArticulo = ?1 AND (idLista = '' OR idLista IS "
         "NULL) AND FechaHora < '%START%' ORDER BY FechaHora DESC LIMIT 1",
         false},
    };
    std::printf("%-28s %14s %14s %8s\n", "previous-price look-ups", "per second", "sqlite3", "ratio");
    for (const Run& run : runs) {
        QElapsedTimer timer;
        timer.start();
        int found = 0;
        for (const QString& id : storedIds) {
            auto rs = cnn.Execute(run.statement(id, spanStart));
            found += rs->Eof() ? 0 : 1;
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        int foundDirect = 0;
        const double direct = directo(raw, run, storedIds, spanStorage, foundDirect);
        std::printf("%-28s %14.0f %14.0f %8.2f   (%lld look-ups, %d and %d found)\n", run.name,
                    double(storedIds.size()) / seconds, direct > 0 ? double(storedIds.size()) / direct : 0.0,
                    direct > 0 ? seconds / direct : 0.0, static_cast<long long>(storedIds.size()), found, foundDirect);
    }
    return 0;
}
