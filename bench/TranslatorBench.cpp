// Prints how many statements per second the embedded engine's translator
// turns into SQLite's dialect, uncached and from its cache, with the
// catalogue of the tables the statements name.
#include "platform/db/sqlite/SqlTranslator.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

using platform::db::sqlite::ColumnKind;
using platform::db::sqlite::SqlCatalog;
using platform::db::sqlite::SqlTranslator;

namespace {

SqlCatalog benchCatalog()
{
    SqlCatalog catalog;
    catalog.addTable(QStringLiteral("V_MV_PreciosHis"), {{QStringLiteral("ID"), ColumnKind::Integer},
                                                         {QStringLiteral("FechaHora"), ColumnKind::DateTime},
                                                         {QStringLiteral("IdArticulo"), ColumnKind::Text},
                                                         {QStringLiteral("idLista"), ColumnKind::Text},
                                                         {QStringLiteral("Costo"), ColumnKind::Money},
                                                         {QStringLiteral("Precio1"), ColumnKind::Money}});
    catalog.addTable(QStringLiteral("V_MA_PRECIOS"), {{QStringLiteral("IDARTICULO"), ColumnKind::Text},
                                                      {QStringLiteral("idlista"), ColumnKind::Text},
                                                      {QStringLiteral("Precio1"), ColumnKind::Money},
                                                      {QStringLiteral("DESDETRIGGER"), ColumnKind::Bit}});
    catalog.addTable(QStringLiteral("T"),
                     {{QStringLiteral("ID"), ColumnKind::Integer}, {QStringLiteral("a"), ColumnKind::Integer}});
    return catalog;
}

} // namespace

int main()
{
    const QStringList statements = {
        QStringLiteral("SELECT TOP 1  costo as precio, * FROM V_MV_PreciosHis WHERE LTRIM(RTRIM(IdArticulo)) = '1' "
                       " and (idlista = '' or idlista is null)   AND FechaHora < '10-03-2024 10:15:00.000'ORDER BY "
                       "FechaHora DESC;"),
        QStringLiteral("SELECT DATEADD(MINUTE, DATEDIFF(MINUTE, 0, FechaHora), 0) AS FechaGrupo, COUNT(*) AS "
                       "CantidadRegistros, MIN(FechaHora) AS PrimeraHora, MAX(FechaHora) AS UltimaHora, MAX(Precio1 ) "
                       "AS Precio, MAX(Costo ) AS Costo, idLista  FROM V_MV_PreciosHis WHERE FechaHora BETWEEN "
                       "'10/03/2024 10:00:00' AND '10/03/2024 10:59:59'  GROUP BY DATEADD(MINUTE, DATEDIFF(MINUTE, 0, "
                       "FechaHora), 0), idLista  ORDER BY FechaGrupo DESC;"),
        QStringLiteral("SELECT  [ID], [a]  FROM (SELECT TOP 2000 *  FROM T WHERE ID NOT IN (SELECT TOP 2000 ID FROM T "
                       "WHERE a = 1  )  and a = 1  ) AS Paginacion  WHERE a = 1  "),
        QStringLiteral("UPDATE  V_MA_PRECIOS SET Precio1 = 4.25, DESDETRIGGER = 1 WHERE IDARTICULO = '   1' and "
                       "idlista = '0001'"),
    };
    const int rounds = 20000;
    QElapsedTimer timer;
    std::size_t sink = 0;

    const SqlCatalog catalog = benchCatalog();
    timer.start();
    for (int i = 0; i < rounds; ++i)
        for (const QString& s : statements)
            sink += SqlTranslator::translateUncached(s, catalog).size();
    const double uncached = double(rounds) * double(statements.size()) / (double(timer.nsecsElapsed()) / 1e9);

    SqlTranslator translator;
    translator.setCatalog(catalog);
    timer.restart();
    for (int i = 0; i < rounds; ++i)
        for (const QString& s : statements)
            sink += translator.translate(s).size();
    const double cached = double(rounds) * double(statements.size()) / (double(timer.nsecsElapsed()) / 1e9);

    std::printf("translated statements per second: uncached %.0f, cached %.0f (%zu steps)\n", uncached, cached, sink);
    return 0;
}
