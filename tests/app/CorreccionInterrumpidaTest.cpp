// A correction run in a process of its own (tests/corrida) killed in the
// middle: the data base file stays whole and holds every change the log
// lists, and at most one more (the update in flight when the process died,
// committed before its log line was written).
#include "demo/DemoBuilder.h"
#include "demo/DemoChanges.h"
#include "platform/core/Currency.h"
#include "support/RawSqlite.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The change lines of a log, without its header: only lines written whole.
QStringList LineasDeCambio(const QString& carpeta)
{
    const QStringList logs = QDir(carpeta).entryList({QStringLiteral("CorreccionesPrecio_*.txt")}, QDir::Files);
    if (logs.isEmpty()) {
        return {};
    }
    QFile f(QDir(carpeta).filePath(logs.front()));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lineas = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    lineas.removeLast(); // what follows the last line break: a line not written whole, or nothing
    return lineas.mid(6);
}

TEST(CorreccionInterrumpida, AKillInTheMiddleOfARunLeavesAWholeFileWithEveryLoggedChange)
{
    demo::BuildOptions opciones;
    opciones.folder = testing_support::testFolder() + QStringLiteral("/servidor");
    opciones.historyRows = 50000;
    ASSERT_TRUE(demo::buildDemoServer(opciones).ok);
    const QString archivo = opciones.folder + QStringLiteral("/BKDEMO.sqlite");
    const QString marcados =
        QStringLiteral("SELECT ltrim(IDARTICULO), Precio1 FROM V_MA_ARTICULOS WHERE DESDETRIGGER = 1");
    ASSERT_TRUE(testing_support::rawRows(archivo, marcados).isEmpty());

    // The master's mass change of Precio1, one history row per article (1,000 rows).
    const demo::KnownChange& cambio = demo::kKnownChanges[0];
    const QString minuto = QString::fromLatin1(cambio.minute);
    const QString programa = testing_support::testFolder() + QStringLiteral("/programa");
    QDir().mkpath(programa);
    QProcess corrida;
    corrida.start(QStringLiteral(CORRIDA_PATH),
                  {opciones.folder, programa,
                   minuto + QStringLiteral(":%1").arg(cambio.firstSecond, 2, 10, QLatin1Char('0')),
                   minuto + QStringLiteral(":%1").arg(cambio.lastSecond, 2, 10, QLatin1Char('0')),
                   QString::fromLatin1(cambio.priceClass)});
    ASSERT_TRUE(corrida.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return LineasDeCambio(programa).size() >= 40 || corrida.state() == QProcess::NotRunning; }, 60000));
    ASSERT_EQ(corrida.state(), QProcess::Running) << "the run ended before it could be killed";
    corrida.kill();
    ASSERT_TRUE(corrida.waitForFinished());
    EXPECT_EQ(corrida.exitStatus(), QProcess::CrashExit);

    EXPECT_EQ(testing_support::rawRows(archivo, QStringLiteral("PRAGMA integrity_check")),
              QStringList{QStringLiteral("ok")});
    QHash<QString, QString> escritos;
    for (const QString& fila : testing_support::rawRows(archivo, marcados)) {
        escritos.insert(fila.section(u'\t', 0, 0), fila.section(u'\t', 1));
    }
    const QStringList lineas = LineasDeCambio(programa);
    ASSERT_GE(lineas.size(), 40);
    for (const QString& linea : lineas) {
        const QStringList campos = linea.split(u'\t');
        ASSERT_EQ(campos.size(), 4) << linea.toStdString();
        ASSERT_TRUE(escritos.contains(campos[0])) << linea.toStdString();
        EXPECT_EQ(platform::Currency::parse(escritos.value(campos[0])), platform::Currency::parse(campos[2]))
            << linea.toStdString();
    }
    EXPECT_GE(escritos.size(), lineas.size());
    EXPECT_LE(escritos.size(), lineas.size() + 1);
}

} // namespace
