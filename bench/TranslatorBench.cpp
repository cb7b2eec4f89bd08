// Prints how many statements per second the embedded engine's translator
// turns into SQLite's dialect, uncached and from its cache.
#include "platform/db/sqlite/SqlTranslator.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

using platform::db::sqlite::SqlTranslator;

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

    timer.start();
    for (int i = 0; i < rounds; ++i)
        for (const QString& s : statements)
            sink += SqlTranslator::translateUncached(s).size();
    const double uncached = double(rounds) * double(statements.size()) / (double(timer.nsecsElapsed()) / 1e9);

    SqlTranslator translator;
    timer.restart();
    for (int i = 0; i < rounds; ++i)
        for (const QString& s : statements)
            sink += translator.translate(s).size();
    const double cached = double(rounds) * double(statements.size()) / (double(timer.nsecsElapsed()) / 1e9);

    std::printf("translated statements per second: uncached %.0f, cached %.0f (%zu steps)\n", uncached, cached, sink);
    return 0;
}
