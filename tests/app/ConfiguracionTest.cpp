#include "SoporteApp.h"

#include "app/Configuracion.h"
#include "app/ContextoApp.h"
#include "common/ValoresCorrida.h"
#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

namespace {

using app_tests::ServidorDemo;

class Configuracion : public ::testing::Test
{
protected:
    void SetUp() override { servidor.abrirPrincipal(); }

    // The rows of a key in the main configuration table: group, key, value, aux.
    QList<QStringList> filasDe(const QString& clave)
    {
        return servidor.filas(
            QStringLiteral("SELECT GRUPO, CLAVE, VALOR, VALORAUX FROM TA_CONFIGURACION WHERE CLAVE = '") + clave +
            QStringLiteral("' ORDER BY ID"));
    }

    ServidorDemo servidor;
};

TEST_F(Configuracion, ReadsAValueOfTheGeneralGroupWithTheStatementItBuilds)
{
    QString aux = QStringLiteral("previo");
    EXPECT_EQ(app::Cfg(QStringLiteral(" CantidadDecimales "), aux), QStringLiteral("2"));
    EXPECT_EQ(aux, QString());
    EXPECT_EQ(servidor.tomarSentencias(),
              QStringList{QStringLiteral(
                  "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'CantidadDecimales'")});
}

TEST_F(Configuracion, AMissingKeyReadsOneBlankAndAnEmptyAuxiliaryValue)
{
    QString aux = QStringLiteral("previo");
    EXPECT_EQ(app::Cfg(QStringLiteral("NoExiste"), aux), QStringLiteral(" "));
    EXPECT_EQ(aux, QString());
}

TEST_F(Configuracion, AnEmptyValueReadsEmptyAndAnEmptyThemeReadsOne)
{
    servidor.ejecutar(QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = NULL WHERE CLAVE = 'THEME'"));
    EXPECT_EQ(app::Cfg(QStringLiteral("PISO")), QString());
    EXPECT_EQ(app::Cfg(QStringLiteral("THEME")), QStringLiteral("1"));
    servidor.ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'THEME'"));
    EXPECT_EQ(app::Cfg(QStringLiteral("theme")), QStringLiteral("1"));
}

TEST_F(Configuracion, AnotherGroupIsPartOfTheConditionAndItsAuxiliaryValueIsReturned)
{
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('Impresion', 'COPIAS', '3', 'duplex', 0)"));
    QString aux;
    EXPECT_EQ(app::Cfg(QStringLiteral("COPIAS"), aux, QStringLiteral("Impresion")), QStringLiteral("3"));
    EXPECT_EQ(aux, QStringLiteral("duplex"));
    EXPECT_EQ(app::Cfg(QStringLiteral("COPIAS"), aux, QStringLiteral("Otro")), QStringLiteral(" "));
    // The general group finds the key in any group.
    EXPECT_EQ(app::Cfg(QStringLiteral("COPIAS"), aux, QStringLiteral("datos")), QStringLiteral("3"));
    const QStringList sentencias = servidor.tomarSentencias();
    ASSERT_EQ(sentencias.size(), 3);
    EXPECT_EQ(sentencias[0], QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = "
                                            "'COPIAS' AND GRUPO ='Impresion'"));
    EXPECT_EQ(sentencias[2],
              QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'COPIAS'"));
}

TEST_F(Configuracion, TheDateKeysAreLookedUpInUpperCase)
{
    app::Cfg(QStringLiteral("[Fecha Hasta]"));
    app::Cfg(QStringLiteral("Fecha"));
    EXPECT_EQ(
        servidor.tomarSentencias(),
        (QStringList{
            QStringLiteral("SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WITH(NOLOCK)  WHERE CLAVE = '[FECHA HASTA]'"),
            QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'Fecha'")}));
}

TEST_F(Configuracion, KeysAndGroupsWithApostrophesAreEscaped)
{
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('D''Ar', 'O''BRIEN', 'valor', '', 0)"));
    QString aux;
    EXPECT_EQ(app::Cfg(QStringLiteral("O'Brien"), aux, QStringLiteral("D'Ar")), QStringLiteral("valor"));
    EXPECT_EQ(app::Cfg(QStringLiteral("x' OR '1'='1")), QStringLiteral(" "));
    EXPECT_EQ(servidor.tomarSentencias().first(),
              QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'O''Brien' AND "
                             "GRUPO ='D''Ar'"));
}

TEST_F(Configuracion, NotConnectedReadsEmptyWithoutAQuery)
{
    data::gDbPrincipal().gOpenFlag = false;
    EXPECT_EQ(app::Cfg(QStringLiteral("CantidadDecimales")), QString());
    EXPECT_TRUE(servidor.tomarSentencias().isEmpty());
}

TEST_F(Configuracion, TheRunsTableNameIsUsedAndABlankOneFallsBack)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("ta_configuracion");
    app::Cfg(QStringLiteral("A"));
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("  ");
    app::Cfg(QStringLiteral("B"));
    const QStringList sentencias = servidor.tomarSentencias();
    EXPECT_TRUE(sentencias[0].startsWith(QStringLiteral("SELECT VALOR, valoraux FROM ta_configuracion with")));
    EXPECT_TRUE(sentencias[1].startsWith(QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with")));
    EXPECT_EQ(common::valoresCorrida().TablaConfiguracion, QStringLiteral("TA_CONFIGURACION"));
}

TEST_F(Configuracion, WritingANewKeyAddsARowWithTheKeyTrimmedAndUpperCased)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    app::GrabaDfg(QStringLiteral(" nuevaClave "), platform::Variant(QStringLiteral("  valor  ")),
                  QStringLiteral(" aux "), true, QStringLiteral("DATOS"), true, false);
    EXPECT_EQ(filasDe(QStringLiteral("NUEVACLAVE")),
              (QList<QStringList>{{QStringLiteral("DATOS"), QStringLiteral("NUEVACLAVE"), QStringLiteral("valor"),
                                   QStringLiteral("aux")}}));
    EXPECT_EQ(servidor.filas(QStringLiteral("SELECT PoliticaNegocio FROM TA_CONFIGURACION WHERE CLAVE = 'NUEVACLAVE'")),
              (QList<QStringList>{{QStringLiteral("True")}}));
    EXPECT_EQ(app::Cfg(QStringLiteral("nuevaclave")), QStringLiteral("valor"));
}

TEST_F(Configuracion, RewritingKeepsTheAuxiliaryValueWhenNoneIsGivenAndUntrimmedWhenAsked)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    servidor.ejecutar(QStringLiteral("UPDATE TA_CONFIGURACION SET VALORAUX = 'guardado' WHERE CLAVE = 'MaxDto'"));
    app::GrabaDfg(QStringLiteral("MaxDto"), platform::Variant(QStringLiteral(" 20 ")), QString(), false,
                  QStringLiteral("DATOS"), false, false);
    EXPECT_EQ(filasDe(QStringLiteral("MaxDto")),
              (QList<QStringList>{{QStringLiteral("DATOS"), QStringLiteral("MAXDTO"), QStringLiteral(" 20 "),
                                   QStringLiteral("guardado")}}));
    const QStringList sentencias = servidor.tomarSentencias();
    EXPECT_EQ(sentencias.first(), QStringLiteral("SELECT * FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'MaxDto' "
                                                 "AND (GRUPO = 'DATOS' OR ISNULL(GRUPO, '') = '')"));
}

TEST_F(Configuracion, TheGeneralGroupNeverRewritesARowOfAnotherGroup)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('Impresion', 'COPIAS', '3', '', 0)"));
    app::GrabaDfg(QStringLiteral("COPIAS"), platform::Variant(5));
    EXPECT_EQ(filasDe(QStringLiteral("COPIAS")),
              (QList<QStringList>{
                  {QStringLiteral("Impresion"), QStringLiteral("COPIAS"), QStringLiteral("3"), QString()},
                  {QStringLiteral("DATOS"), QStringLiteral("COPIAS"), QStringLiteral("5"), QStringLiteral("<NULL>")}}));
}

TEST_F(Configuracion, AnotherGroupRewritesOnlyItsOwnRow)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('Impresion', 'CFONDO', '3', '', 0)"));
    app::GrabaDfg(QStringLiteral("CFondo"), platform::Variant(7), QString(), false, QStringLiteral("Impresion"));
    EXPECT_EQ(
        filasDe(QStringLiteral("CFONDO")),
        (QList<QStringList>{{QStringLiteral("DATOS"), QStringLiteral("CFondo"), QStringLiteral("16774118"), QString()},
                            {QStringLiteral("Impresion"), QStringLiteral("CFONDO"), QStringLiteral("7"), QString()}}));
    EXPECT_EQ(servidor.tomarSentencias().first(),
              QStringLiteral("SELECT * FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'CFondo' AND GRUPO = "
                             "'Impresion'"));
}

TEST_F(Configuracion, DeletingRemovesTheRowAndAMissingKeyWritesNothing)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    const auto cuenta = [&] { return servidor.filas(QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION"))[0][0]; };
    const QString antes = cuenta();
    app::GrabaDfg(QStringLiteral("NoExiste"), platform::Variant(1), QString(), false, QStringLiteral("DATOS"), true,
                  true);
    EXPECT_EQ(cuenta(), antes);
    EXPECT_TRUE(filasDe(QStringLiteral("NOEXISTE")).isEmpty());
    app::GrabaDfg(QStringLiteral("MaxDto"), platform::Variant(1), QString(), false, QStringLiteral("DATOS"), true,
                  true);
    EXPECT_TRUE(filasDe(QStringLiteral("MaxDto")).isEmpty());
    EXPECT_EQ(cuenta().toInt(), antes.toInt() - 1);
}

TEST_F(Configuracion, AValueWithApostrophesIsStoredAsTyped)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    app::GrabaDfg(QStringLiteral("O'Clave"), platform::Variant(QStringLiteral("O'Brien")));
    EXPECT_EQ(filasDe(QStringLiteral("O''CLAVE")),
              (QList<QStringList>{{QStringLiteral("DATOS"), QStringLiteral("O'CLAVE"), QStringLiteral("O'Brien"),
                                   QStringLiteral("<NULL>")}}));
}

TEST_F(Configuracion, TheCacheIsOffUnderThisProgramsName)
{
    EXPECT_FALSE(app::EsProgramaVentas());
    app::CfgCachePrecargarConfiguracion(true);
    EXPECT_FALSE(app::contexto().CacheConfiguracion.has_value());
    app::Cfg(QStringLiteral("CantidadDecimales"));
    app::Cfg(QStringLiteral("CantidadDecimales"));
    EXPECT_EQ(servidor.tomarSentencias().size(), 2);
}

class CacheConfiguracion : public Configuracion
{
protected:
    void SetUp() override
    {
        Configuracion::SetUp();
        app::EstablecerProgramasVentas({platform::Runtime::instance().programName().toLower()});
        common::valoresCorrida().TablaConfiguracion = QStringLiteral("ta_configuracion");
    }
};

TEST_F(CacheConfiguracion, TheLoadReadsTheTableOnceAndServesLaterReads)
{
    ASSERT_TRUE(app::EsProgramaVentas());
    app::CfgCachePrecargarConfiguracion(true);
    const QStringList carga = servidor.tomarSentencias();
    ASSERT_EQ(carga.size(), 1);
    EXPECT_EQ(
        carga[0],
        QStringLiteral("SELECT CLAVE, GRUPO, CASE WHEN DATALENGTH(VALOR) > 8000 THEN NULL ELSE VALOR END AS VALOR, "
                       "CASE WHEN DATALENGTH(VALORAUX) > 8000 THEN NULL ELSE VALORAUX END AS VALORAUX, CASE WHEN "
                       "DATALENGTH(VALOR) > 8000 OR DATALENGTH(VALORAUX) > 8000 THEN 1 ELSE 0 END AS Excedido, "
                       "DATALENGTH(VALOR) AS BytesValor, DATALENGTH(VALORAUX) AS BytesValorAux FROM "
                       "ta_configuracion with(nolock)"));
    EXPECT_TRUE(app::contexto().CacheConfiguracionCargada);
    EXPECT_EQ(app::Cfg(QStringLiteral("cantidadDecimales")), QStringLiteral("2"));
    EXPECT_EQ(app::Cfg(QStringLiteral("NOMBRE")), QStringLiteral("Supermercados La Espiga S.A."));
    EXPECT_TRUE(servidor.tomarSentencias().isEmpty());
    // A second load without reload does nothing.
    app::CfgCachePrecargarConfiguracion(false);
    EXPECT_TRUE(servidor.tomarSentencias().isEmpty());
}

TEST_F(CacheConfiguracion, AMissEnquiresOnceAndIsCachedAsTheBlankOfAMissingKey)
{
    EXPECT_EQ(app::Cfg(QStringLiteral("NoExiste")), QStringLiteral(" "));
    EXPECT_EQ(app::Cfg(QStringLiteral("NoExiste")), QStringLiteral(" "));
    EXPECT_EQ(servidor.tomarSentencias().size(), 1);
    EXPECT_TRUE(app::contexto().CacheConfiguracion->contains(QStringLiteral("TA_CONFIGURACION|DATOS|NOEXISTE")));
}

TEST_F(CacheConfiguracion, WritingDropsTheCachedItemSoTheNextReadSeesTheTable)
{
    app::CfgCachePrecargarConfiguracion(true);
    app::GrabaDfg(QStringLiteral("CantidadDecimales"), platform::Variant(3));
    servidor.tomarSentencias();
    EXPECT_EQ(app::Cfg(QStringLiteral("CantidadDecimales")), QStringLiteral("3"));
    EXPECT_EQ(servidor.tomarSentencias().size(), 1);
}

TEST_F(CacheConfiguracion, AnEmptyThemeFromTheLoadIsServedEmpty)
{
    servidor.ejecutar(QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '' WHERE CLAVE = 'THEME'"));
    app::CfgCachePrecargarConfiguracion(true);
    EXPECT_EQ(app::Cfg(QStringLiteral("THEME")), QString());
}

TEST_F(CacheConfiguracion, RowsOverEightThousandBytesAreNotLoaded)
{
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('DATOS', 'LARGO', '") +
                      QString(8001, u'x') + QStringLiteral("', '', 0)"));
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('', 'JUSTO', '") +
                      QString(8000, u'x') + QStringLiteral("', '', 0)"));
    app::CfgCachePrecargarConfiguracion(true);
    const auto& cache = *app::contexto().CacheConfiguracion;
    EXPECT_FALSE(cache.contains(QStringLiteral("TA_CONFIGURACION|DATOS|LARGO")));
    ASSERT_TRUE(cache.contains(QStringLiteral("TA_CONFIGURACION|DATOS|JUSTO")));
    EXPECT_EQ(cache.value(QStringLiteral("TA_CONFIGURACION|DATOS|JUSTO")).first.size(), 8000);
    servidor.tomarSentencias();
    EXPECT_EQ(app::Cfg(QStringLiteral("LARGO")).size(), 8001);
    EXPECT_EQ(servidor.tomarSentencias().size(), 1);
}

TEST_F(CacheConfiguracion, AKeyOfAnotherGroupIsCachedUnderItsGroupAndReadThroughTheTableForTheGeneralOne)
{
    servidor.ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                                     "VALUES ('Impresion', 'COPIAS', '3', '', 0)"));
    app::CfgCachePrecargarConfiguracion(true);
    servidor.tomarSentencias();
    QString aux;
    EXPECT_EQ(app::Cfg(QStringLiteral("COPIAS"), aux, QStringLiteral("impresion")), QStringLiteral("3"));
    EXPECT_TRUE(servidor.tomarSentencias().isEmpty());
    EXPECT_EQ(app::Cfg(QStringLiteral("COPIAS")), QStringLiteral("3"));
    EXPECT_EQ(servidor.tomarSentencias().size(), 1);
    EXPECT_TRUE(app::contexto().CacheConfiguracion->contains(QStringLiteral("TA_CONFIGURACION|DATOS|COPIAS")));
}

TEST_F(CacheConfiguracion, ABlankKeyEmptiesTheCacheAndTheNextLoadRuns)
{
    app::CfgCachePrecargarConfiguracion(true);
    app::CfgCacheQuitar(QStringLiteral("  "), QStringLiteral("DATOS"));
    EXPECT_TRUE(app::contexto().CacheConfiguracion->isEmpty());
    EXPECT_FALSE(app::contexto().CacheConfiguracionCargada);
    servidor.tomarSentencias();
    app::CfgCachePrecargarConfiguracion(false);
    EXPECT_EQ(servidor.tomarSentencias().size(), 1);
}

TEST(CacheClave, IsTableGroupAndKeyTrimmedAndUpperCased)
{
    common::valoresCorrida().TablaConfiguracion = QStringLiteral("ta_configuracion");
    EXPECT_EQ(app::CfgCacheClave(QStringLiteral("Theme"), QStringLiteral("datos ")),
              QStringLiteral("TA_CONFIGURACION|DATOS|THEME"));
    QString valor;
    QString aux;
    EXPECT_FALSE(app::CfgCacheObtener(QStringLiteral("x"), valor, aux, QStringLiteral("G")));
    app::CfgCacheGuardar(QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("g"));
    app::CfgCacheGuardar(QStringLiteral("X "), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("G"));
    ASSERT_TRUE(app::CfgCacheObtener(QStringLiteral("x"), valor, aux, QStringLiteral("G")));
    EXPECT_EQ(valor, QStringLiteral("3"));
    EXPECT_EQ(aux, QStringLiteral("4"));
    app::CfgCacheQuitar(QStringLiteral("x"), QStringLiteral("g"));
    EXPECT_FALSE(app::CfgCacheObtener(QStringLiteral("x"), valor, aux, QStringLiteral("G")));
}

} // namespace
