// Previous-price look-ups per second on the million-row demo history, sent
// exactly as the correction run sends them: the cost class matches the article
// id with both sides trimmed, a numbered class matches it as stored.
//
//   PreviousPriceBench [server folder]   (built with a million history rows when absent)

#include "MillionRowDemo.h"
#include "demo/DemoBuilder.h"
#include "demo/DemoChanges.h"
#include "platform/db/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

struct Run
{
    const char* name;
    QString (*statement)(const QString& storedId, const QString& spanStart);
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = bench::millionRowDemo(argc, argv);
    if (folder.isEmpty())
        return 1;

    platform::db::Connection cnn;
    cnn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =BKDEMO;UId=demo;Pwd=demo;").arg(folder));

    // The articles of the first mass change on the master, in the span's order.
    const demo::KnownChange& change = demo::kKnownChanges[0];
    const QString spanStart = QString::fromLatin1(change.minute).mid(8, 2) + u'-' +
                              QString::fromLatin1(change.minute).mid(5, 2) + u'-' +
                              QString::fromLatin1(change.minute).left(4) + QString::fromLatin1(change.minute).mid(10) +
                              QStringLiteral(":%1.000").arg(change.firstSecond, 2, 10, QLatin1Char('0'));
    auto ids = cnn.Execute(QStringLiteral("SELECT IdArticulo FROM V_MV_PreciosHis WHERE FechaHora >= '") + spanStart +
                           QStringLiteral("' ORDER BY FechaHora"));
    QStringList storedIds;
    for (; !ids->Eof() && storedIds.size() < 2000; ids->MoveNext()) {
        storedIds << ids->value(0).toText();
    }

    for (const Run& run : {Run{"cost class (trimmed id)", costStatement}, Run{"numbered class", numberedStatement}}) {
        QElapsedTimer timer;
        timer.start();
        int found = 0;
        for (const QString& id : storedIds) {
            auto rs = cnn.Execute(run.statement(id, spanStart));
            found += rs->Eof() ? 0 : 1;
        }
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("previous-price look-ups, %-24s %5lld in %6.2f s: %8.1f per second (%d found)\n", run.name,
                    static_cast<long long>(storedIds.size()), seconds, storedIds.size() / seconds, found);
    }
    return 0;
}
