// make-demo <server folder> [--history-rows N] [--seed S]
// Builds the embedded server folder with the demo data bases and prints the
// moments of mass price changes that it holds.

#include "demo/DemoBuilder.h"

#include <QString>
#include <QTextStream>

#include <cstdio>

namespace {

int usage(QTextStream& err, const QString& problem)
{
    if (!problem.isEmpty())
        err << "make-demo: " << problem << "\n";
    err << "usage: make-demo <server folder> [--history-rows N] [--seed S]\n";
    return 2;
}

QString describe(const char* code)
{
    return code ? QStringLiteral("'%1'").arg(QString::fromLatin1(code)) : QStringLiteral("NULL");
}

} // namespace

int main(int argc, char** argv)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    demo::BuildOptions options;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--history-rows") || arg == QLatin1String("--seed")) {
            if (i + 1 >= argc)
                return usage(err, arg + QStringLiteral(" needs a value"));
            bool ok = false;
            const QString value = QString::fromLocal8Bit(argv[++i]);
            if (arg == QLatin1String("--seed"))
                options.seed = value.toULongLong(&ok);
            else
                options.historyRows = value.toLongLong(&ok);
            if (!ok)
                return usage(err, QStringLiteral("%1 is not a number").arg(value));
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            usage(out, {});
            return 0;
        } else if (arg.startsWith(QLatin1Char('-')) || !options.folder.isEmpty()) {
            return usage(err, QStringLiteral("unexpected argument %1").arg(arg));
        } else {
            options.folder = arg;
        }
    }
    if (options.folder.isEmpty())
        return usage(err, QStringLiteral("no server folder given"));

    const demo::BuildResult result = demo::buildDemoServer(options);
    if (!result.ok) {
        err << "make-demo: " << result.error << "\n";
        return 1;
    }
    out << demo::kMainDatabase << ".sqlite and " << demo::kStatisticsDatabase << ".sqlite written to " << options.folder
        << "\n";
    out << "articles: " << result.articles << ", history rows: " << result.historyRows << ", seed: " << options.seed
        << ", elapsed: " << QString::number(result.seconds, 'f', 2) << " s\n";
    out << "Known mass changes (minute, where, idLista as stored, class, change, rows, first and last time):\n";
    for (const demo::KnownChange& change : demo::kKnownChanges) {
        const QString minute = QString::fromLatin1(change.minute);
        const int rows = demo::changeRows(change, result.articles);
        const int lastSecond = rows > 1 ? change.lastSecond : change.firstSecond;
        const char* lastMillis = rows > 1 ? ".999" : ".000";
        out << "  " << minute << "  " << (change.onMaster ? "master" : "list  ") << "  "
            << describe(change.listCode).leftJustified(9) << "  "
            << (QString::fromLatin1(change.priceClass) == QLatin1String("Costo")
                    ? QStringLiteral("Costo")
                    : QStringLiteral("Precio") + QString::fromLatin1(change.priceClass))
                   .leftJustified(8)
            << "  " << QStringLiteral("%1%2 %").arg(change.percent > 0 ? "+" : "").arg(change.percent).rightJustified(6)
            << "  " << QString::number(rows).rightJustified(6) << " rows  " << minute
            << QStringLiteral(":%1.000 - ").arg(change.firstSecond, 2, 10, QLatin1Char('0')) << minute.mid(11)
            << QStringLiteral(":%1").arg(lastSecond, 2, 10, QLatin1Char('0')) << lastMillis << "\n";
    }
    out << "Log in as user " << demo::kDemoUser << ", password " << demo::kDemoPassword << ", data base "
        << demo::kMainDatabase << ".\n";
    return 0;
}
