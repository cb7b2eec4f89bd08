#include "SoporteApp.h"

#include "app/ContextoApp.h"
#include "app/Empresa.h"
#include "app/MasUsadas.h"
#include "common/ValoresCorrida.h"
#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

namespace {

using app_tests::ServidorDemo;

class MasUsadasDemo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidor.abrirPrincipal();
        common::valoresCorrida().UsuarioActual = QStringLiteral("demo");
    }

    void fijar(const QString& clave, const QString& valor)
    {
        servidor.ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = '") + clave + u'\'');
        servidor.ejecutar(
            QStringLiteral("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, VALORAUX, PoliticaNegocio) "
                           "VALUES ('DATOS', '") +
            clave + QStringLiteral("', '") + valor + QStringLiteral("', '', 0)"));
    }

    const app::MasUsadas& m() { return app::contexto().masUsadas; }

    ServidorDemo servidor;
};

TEST_F(MasUsadasDemo, ReadsTheDemoSettings)
{
    app::CfgMasUsadas(QStringLiteral("/programa/"));
    const common::ValoresCorrida& v = common::valoresCorrida();
    EXPECT_EQ(v.TablaConfiguracion, QStringLiteral("ta_configuracion"));
    EXPECT_EQ(v.DecimalesMoneda, QStringLiteral("2"));
    EXPECT_FALSE(v.ConfidencialidadActiva);
    EXPECT_FALSE(v.UsaFechaDia);
    EXPECT_EQ(v.CondicionIvaEmpresa, 1);
    EXPECT_TRUE(m().MostrarStockConsultas);
    EXPECT_EQ(m().TituloParaClientes, QStringLiteral("Clientes"));
    EXPECT_EQ(m().ArchivoTareasDocumentos, QStringLiteral("/programa/BKDOCTareas.bkd"));
    EXPECT_TRUE(m().ConsultaLikeActiva);
    EXPECT_EQ(m().UnidadNegocioUsuario, QStringLiteral("   1"));
    EXPECT_EQ(m().ClasesPrecioUsuario, QStringLiteral("12345678"));
    EXPECT_FALSE(m().FacturaProformaActiva);
    EXPECT_EQ(m().PeriodoActual, 2024);
    EXPECT_TRUE(m().RazonSocialPorUnidad);
    EXPECT_EQ(m().ColorFondo, 16774118);
    EXPECT_EQ(m().ColorLetra, 0);
    EXPECT_FALSE(m().ModuloOrdenTrabajoActivo);
    EXPECT_TRUE(m().ModificaCPrecioV);
    EXPECT_FALSE(m().ModoMaderera);
    EXPECT_EQ(m().DescuentoMaximo, platform::Currency::fromInt(15));
    EXPECT_TRUE(m().PideClaveLimiteCredito);
    EXPECT_EQ(m().TopPorDefecto, QStringLiteral("1000"));
    EXPECT_TRUE(m().MarcaColores);
}

TEST_F(MasUsadasDemo, AnEmptyTableGivesTheStartValuesAndWritesTheDefaultColours)
{
    servidor.ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION"));
    common::valoresCorrida().UsuarioActual = QStringLiteral("nadie");
    app::CfgMasUsadas(QStringLiteral("/p/"));
    const common::ValoresCorrida& v = common::valoresCorrida();
    EXPECT_EQ(v.DecimalesMoneda, QStringLiteral(" "));
    EXPECT_EQ(v.CondicionIvaEmpresa, 1);
    EXPECT_FALSE(m().MostrarStockConsultas);
    EXPECT_TRUE(m().ModuloOrdenTrabajoActivo);
    EXPECT_FALSE(m().ModificaCPrecioV);
    EXPECT_EQ(m().TituloParaClientes, QString());
    EXPECT_EQ(m().PeriodoActual, 0);
    EXPECT_EQ(m().TopPorDefecto, QStringLiteral("1000"));
    EXPECT_EQ(m().UnidadNegocioUsuario, QStringLiteral("   1"));
    EXPECT_EQ(m().ColorFondo, 16774118);
    EXPECT_EQ(servidor.filas(QStringLiteral("SELECT GRUPO, CLAVE, VALOR FROM TA_CONFIGURACION ORDER BY ID")),
              (QList<QStringList>{{QStringLiteral("DATOS"), QStringLiteral("CFONDO"), QStringLiteral("16774118")},
                                  {QStringLiteral("DATOS"), QStringLiteral("CLETRA"), QStringLiteral("0")}}));
}

TEST_F(MasUsadasDemo, TheColourReplacementsAreNotWrittenBack)
{
    struct Caso
    {
        const char* fondo;
        const char* letra;
        int32_t esperado;
    };
    for (const Caso& c : {Caso{"0", "255", 15072511}, Caso{"16776960", "0", 16774118}, Caso{"255", "0", 255}}) {
        fijar(QStringLiteral("CFondo"), QString::fromUtf8(c.fondo));
        fijar(QStringLiteral("CLetra"), QString::fromUtf8(c.letra));
        app::CfgMasUsadas(QStringLiteral("/p/"));
        EXPECT_EQ(m().ColorFondo, c.esperado) << c.fondo;
        EXPECT_EQ(servidor.filas(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'CFondo'")),
                  (QList<QStringList>{{QString::fromUtf8(c.fondo)}}));
    }
}

TEST_F(MasUsadasDemo, TheYesNoRules)
{
    struct Caso
    {
        const char* clave;
        const char* valor;
        bool esperado;
        bool app::MasUsadas::*campo;
    };
    const std::vector<Caso> casos = {
        {"MADERERA", "NO", false, &app::MasUsadas::ModoMaderera},
        {"MADERERA", "no", false, &app::MasUsadas::ModoMaderera},
        {"MADERERA", " NO", true, &app::MasUsadas::ModoMaderera},
        {"UsaConsultaLike", "si", true, &app::MasUsadas::ConsultaLikeActiva},
        {"UsaConsultaLike", "SI ", false, &app::MasUsadas::ConsultaLikeActiva},
        {"VALIDACODIGOBARRA", " si ", true, &app::MasUsadas::ValidaCodigoBarra},
    };
    for (const Caso& c : casos) {
        fijar(QString::fromUtf8(c.clave), QString::fromUtf8(c.valor));
        app::CfgMasUsadas(QStringLiteral("/p/"));
        EXPECT_EQ(m().*(c.campo), c.esperado) << c.clave << "=" << c.valor;
    }
}

TEST_F(MasUsadasDemo, TheProformaPermissionComesFromTheUsersRow)
{
    fijar(QStringLiteral("UsaFacturaProforma"), QStringLiteral("SI"));
    app::CfgMasUsadas(QStringLiteral("/p/"));
    EXPECT_TRUE(m().FacturaProformaActiva); // demo's verproforma is 1
    common::valoresCorrida().UsuarioActual = QStringLiteral("vendedor");
    app::CfgMasUsadas(QStringLiteral("/p/"));
    EXPECT_FALSE(m().FacturaProformaActiva);
    EXPECT_EQ(m().UnidadNegocioUsuario, QStringLiteral("2"));
    EXPECT_EQ(m().ClasesPrecioUsuario, QStringLiteral("12"));
}

TEST_F(MasUsadasDemo, SalesSideDecimalsApplyOnlyToTheNamedPrograms)
{
    fijar(QStringLiteral("CantidadDecimalesVentas"), QStringLiteral("3"));
    app::CfgMasUsadas(QStringLiteral("/p/"));
    EXPECT_EQ(common::valoresCorrida().DecimalesMoneda, QStringLiteral("2"));
    app::EstablecerProgramasLadoVentas({platform::Runtime::instance().programName()});
    app::CfgMasUsadas(QStringLiteral("/p/"));
    EXPECT_EQ(common::valoresCorrida().DecimalesMoneda, QStringLiteral("3"));
    fijar(QStringLiteral("CantidadDecimalesVentas"), QStringLiteral("0"));
    app::CfgMasUsadas(QStringLiteral("/p/"));
    EXPECT_EQ(common::valoresCorrida().DecimalesMoneda, QStringLiteral("2"));
}

class Empresa : public MasUsadasDemo
{
};

TEST_F(Empresa, AUnitWithItsOwnTaxIdTakesItsOwnData)
{
    QString razon, cuit, inicio, iibb, iva, pdv, domicilio;
    EXPECT_TRUE(app::DatosEmpresaUnidadNegocio(QStringLiteral("2"), razon, cuit, inicio, iibb, iva, pdv, domicilio));
    EXPECT_EQ(razon, QStringLiteral("La Espiga Norte S.R.L."));
    EXPECT_EQ(cuit, QStringLiteral("30-70987654-3"));
    EXPECT_EQ(inicio, QStringLiteral("15/06/2012"));
    EXPECT_EQ(iibb, QStringLiteral("901-765432-1"));
    EXPECT_EQ(iva, QStringLiteral("1"));
    EXPECT_EQ(domicilio, QStringLiteral("Ruta 8 km 52, Pilar"));
    EXPECT_EQ(pdv, QStringLiteral("0003"));
    EXPECT_EQ(app::contexto().CondicionIvaEmpresaTexto, QStringLiteral("1"));
}

TEST_F(Empresa, AUnitWithoutTaxIdAndAnEmptyOneTakeTheCompanyData)
{
    const QString domicilioEmpresa = QStringLiteral("Av. de la Constitución 1450   ");
    {
        QString razon, cuit, inicio, iibb, iva, pdv, domicilio;
        app::DatosEmpresaUnidadNegocio(QStringLiteral("3"), razon, cuit, inicio, iibb, iva, pdv, domicilio);
        EXPECT_EQ(razon, QStringLiteral("Supermercados La Espiga S.A."));
        EXPECT_EQ(cuit, QStringLiteral("30-71234567-9"));
        EXPECT_EQ(inicio, QStringLiteral("01/03/1998"));
        EXPECT_EQ(domicilio, domicilioEmpresa);
        EXPECT_EQ(pdv, QStringLiteral("0002"));
    }
    for (const QString& unidad : {QString(), QStringLiteral("9")}) {
        QString razon, cuit, inicio, iibb, iva, domicilio;
        QString pdv = QStringLiteral("previo");
        app::DatosEmpresaUnidadNegocio(unidad, razon, cuit, inicio, iibb, iva, pdv, domicilio);
        EXPECT_EQ(razon, QStringLiteral("Supermercados La Espiga S.A."));
        EXPECT_EQ(pdv, QStringLiteral("previo"));
    }
}

TEST_F(Empresa, MissingSettingsKeepTheAddressBlanksAndLeaveTheVatConditionUnset)
{
    servidor.ejecutar(QStringLiteral("DELETE FROM TA_CONFIGURACION"));
    common::valoresCorrida().CondicionIvaEmpresa = 4;
    QString razon, cuit, inicio, iibb, iva, pdv, domicilio;
    EXPECT_FALSE(app::DatosEmpresaUnidadNegocio(QString(), razon, cuit, inicio, iibb, iva, pdv, domicilio));
    EXPECT_EQ(domicilio, QString(8, u' '));
    EXPECT_EQ(common::valoresCorrida().CondicionIvaEmpresa, 4);
}

} // namespace
