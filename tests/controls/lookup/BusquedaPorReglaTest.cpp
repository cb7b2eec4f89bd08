// Every rule that can search runs its search statement on the demo data
// base and finds a known row by its code and by part of its description.
#include "BusquedaPrueba.h"

#include "controls/lookup/CatalogoBusqueda.h"
#include "support/DemoServer.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

struct Caso
{
    const char* tabla;
    const char* porCodigo;
    const char* porDescripcion;
    const char* codigo; // as the table stores it
};

const Caso kCasos[] = {
    {"vt_clientes", "C0002", "la esquina", "C0002"},
    {"VT_PROVEEDORES", "P0002", "distribuidora", "P0002"},
    {"VT_CLIENTES_TEL", "00000102", "4999-0002", "FA0001-00000102"},
    {"V_TA_Cpte", "NC", "credito", "NC"},
    {"TA_COMPROBANTES", "REC", "cobranza", "REC"},
    {"V_TA_PERCEPCION", "2", "brutos", "   2"},
    {"V_TA_RETENCIONES", "1", "ganancias", "   1"},
    {"V_TA_UNIDADNEGOCIO", "0003", "dep", "0003"},
    {"V_ta_PoliticaPrecios", "2", "promo", "   2"},
    {"V_TA_CATEGORIAARTICULO", "3", "propia", "   3"},
    {"V_TA_ORIGEN", "2", "importado", "   2"},
    {"V_TA_DESTINO", "2", "interno", "   2"},
    {"V_TA_CATEGORIA", "2", "mayorista", "   2"},
    {"V_TA_CPRA_VTA", "2", "30 dias", "   2"},
    {"V_TA_MotivoStock", "3", "vencim", "   3"},
    {"V_TA_Rubros", "12", "perfume", "  12"},
    {"V_TA_TipoArticulo", "2", "servicio", "   2"},
    {"V_TA_Unidad", "3", "litro", "   3"},
    {"V_TA_Tareas", "2", "control", "   2"},
    {"V_TA_Tecnicos", "2", "gomez", "   2"},
    {"V_TA_Deposito", "0002", "central", "0002"},
    {"V_TA_MotivoCpra", "2", "servicios", "   2"},
    {"V_TA_MotivoVta", "2", "corriente", "   2"},
    {"V_TA_Bancos", "2", "provincia", "   2"},
    {"V_TA_Cajas", "3", "norte", "3"},
    {"P_TA_EstadoCivil", "2", "casado", "   2"},
    {"P_TA_Parentesco", "2", "hijo", "   2"},
    {"P_TA_ESTADOPOSTULANTE", "2", "descartado", "   2"},
    {"P_TA_TITULOs", "2", "electronico", "   2"},
    {"P_TA_IDIOMAS", "2", "portugues", "   2"},
    {"P_TA_Areas", "2", "deposito", "   2"},
    {"P_TA_EstadoBusqueda", "2", "cerrada", "   2"},
    {"P_TA_Grupos", "2", "repositores", "   2"},
    {"P_TA_MotivoEgreso", "2", "jubilacion", "   2"},
    {"P_TA_ObraSocial", "2", "osde", "   2"},
    {"P_TA_ZONARESIDENCIA", "2", "oeste", "   2"},
    {"P_MA_Empresas", "2", "norte", "   2"},
    {"P_TA_FormasDePago", "2", "efectivo", "   2"},
    {"P_TA_CentroMedico", "2", "hospital", "   2"},
    {"P_TA_Categorizacion", "2", "categoria b", "   2"},
    {"P_TA_CONOCIMIENTOS", "2", "autoelevador", "   2"},
    {"P_TA_NIVELESTUDIO", "2", "universitario", "   2"},
    {"P_SINDICATOS", "2", "camioneros", "   2"},
    {"P_TA_Funciones", "2", "encargado", "   2"},
    {"TA_Rubros", "2", "bazar", "   2"},
    {"TA_TipoArticulo", "2", "insumo", "   2"},
    {"TA_MotivoStock", "2", "devolucion", "   2"},
    {"TA_Deposito", "2", "frio", "   2"},
    {"TA_Categoria", "2", "monotributo", "   2"},
    {"P_MA_Clientes", "2", "atletico", "   2"},
    {"TA_Cpte", "ND", "debito", "ND"},
    {"V_MA_MANTENIMIENTOS", "2", "heladera", "                        2"},
    {"V_TA_VENDEDORES", "0003", "martinez", "0003"},
    {"V_MA_ARTICULOS", "1002", "crema de leche", "1002"},
    {"V_MV_COTIZAR", "1002", "licitacion", "1002"},
    {"MA_ARTICULOS", "A-200", "girasol", "A-200"},
    {"MA_MODELOS", "ranger", "ran", "RANGER"},
    {"MA_CHOFERES", "2", "sosa", "   2"},
    {"MA_DESTINATARIOS", "2", "norte", "   2"},
    {"MA_VEHICULOS", "AC456", "456", "AC456EF"},
    {"MV_EJERCICIOS", "2024", "ejercicio 2024", "2024"},
    {"TA_USUARIOS", "vend", "vendedor", "vendedor"},
    {"TA_ESTADOS", "2", "suspendido", "   2"},
    {"FIS_TA_COMPROBANTES_1", "FCB", "factura b", "FCB"},
    {"MA_CUENTAS", "4.1.01", "ventas de", "4.1.01.001"},
    {"MA_CUENTAS_CAJAYBANCO", "1.1.02", "banco", "1.1.02.001"},
    {"MA_CUENTAS/SOLOIMPUTABLES", "1.1.04", "retenciones", "1.1.04.001"},
    {"MA_TRANSPORTES", "2", "andinos", "   2"},
    {"MA_CONTACTOS", "2", "ruiz", "   2"},
    {"[MA_CAMIONES]", "2", "reparto 2", "   2"},
    {"MV_PROYECTOS", "2", "gondolas", "2"},
    {"SERIE", "TC", "tarjeta", "TC"},
    {"TC", "REC", "recibo", "REC"},
    {"V_TA_MOTIVOS", "2", "error de", "   2"},
    {"V_TA_FAMILIAS", "0003", "cteos", "0003"},
};

class BusquedaPorRegla : public ::testing::Test
{
protected:
    void SetUp() override { m_conexion = testing_support::demoServer(); }

    QStringList buscar(controls::BusquedaCodigo& b, const char* texto)
    {
        b.TxtBusqueda->setText(QString::fromUtf8(texto));
        return busqueda_tests::codigos(b);
    }

    QString m_conexion;
};

TEST_F(BusquedaPorRegla, EveryRuleFindsARowByCodeAndByDescription)
{
    for (const Caso& c : kCasos) {
        auto caja = busqueda_tests::abrirCaja(m_conexion, QString::fromUtf8(c.tabla));
        caja.b->Cuenta = QStringLiteral("C0001");
        QString tb = QString::fromUtf8(c.tabla);
        ASSERT_TRUE(caja.b->BusquedaDisponible(tb)) << c.tabla;
        const QString codigo = QString::fromUtf8(c.codigo);
        EXPECT_TRUE(buscar(*caja.b, c.porCodigo).contains(codigo)) << c.tabla << " by code";
        EXPECT_TRUE(buscar(*caja.b, c.porDescripcion).contains(codigo)) << c.tabla << " by description";
    }
}

TEST_F(BusquedaPorRegla, TheConditionsLeaveOutTheirRows)
{
    struct Fuera
    {
        const char* tabla;
        const char* texto;
        const char* codigo;
    };
    const Fuera casos[] = {
        {"VT_CLIENTES", "norte", "C0006"},                         // no longer a client
        {"MA_CUENTAS", "cerrada", "1.1.05.001"},                   // no longer used
        {"MA_CUENTAS_CAJAYBANCO", "tarjetas", "1.1.03.001"},       // a means of payment
        {"MA_CUENTAS_CAJAYBANCO", "activo", "1"},                  // a title
        {"MA_CUENTAS/SOLOIMPUTABLES", "resultados", "3.1.01.001"}, // shown in another view
    };
    for (const Fuera& f : casos) {
        auto caja = busqueda_tests::abrirCaja(m_conexion, QString::fromUtf8(f.tabla));
        EXPECT_FALSE(buscar(*caja.b, f.texto).contains(QString::fromUtf8(f.codigo))) << f.tabla;
    }
    const QString suspendido =
        busqueda_tests::filas(m_conexion, QStringLiteral("SELECT TOP 1 IDARTICULO FROM V_MA_ARTICULOS WHERE "
                                                         "SUSPENDIDO = 1 ORDER BY IDARTICULO"))
            .value(0);
    ASSERT_FALSE(suspendido.isEmpty());
    auto articulos = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("V_MA_ARTICULOS"));
    EXPECT_FALSE(buscar(*articulos.b, suspendido.trimmed().toUtf8().constData()).contains(suspendido));
}

TEST_F(BusquedaPorRegla, TheVendorsClientsAreTheOnlyOnesShownToHim)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("VT_CLIENTES"), QStringLiteral("vendedor"));
    EXPECT_EQ(buscar(*caja.b, "C000"), (QStringList{QStringLiteral("C0003"), QStringLiteral("C0001")}));
}

TEST_F(BusquedaPorRegla, TheTelephonesTableListsClientAndDocumentPhonesWithDigitsOnly)
{
    const QString tabla = controls::busqueda::TablaTelefonos(QStringLiteral("C0001"));
    EXPECT_EQ(busqueda_tests::filas(m_conexion, QStringLiteral("SELECT CODIGO, TELEFONO FROM ") + tabla +
                                                    QStringLiteral(" ORDER BY CODIGO")),
              (QStringList{
                  QStringLiteral("C0001|011 4567-8901 - ALMACEN DON PEPE"),
                  QStringLiteral("C0002|4567-89 - KIOSCO LA ESQUINA"),
                  QStringLiteral("C0003|0221 15 444 5566"),
                  QStringLiteral("FA0001-00000101|011 4999-0001 - PEPE GARCIA"),
                  QStringLiteral("FA0001-00000102|011 4999-0002"),
              }));
}

TEST_F(BusquedaPorRegla, TheVehiclesAreSearchedByPlateAndShowTheirFiveColumns)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("MA_VEHICULOS"));
    EXPECT_EQ(buscar(*caja.b, "camion"), QStringList());
    EXPECT_EQ(buscar(*caja.b, "c"), (QStringList{QStringLiteral("AB123CD"), QStringLiteral("AC456EF")}));
    EXPECT_EQ(busqueda_tests::lineas(*caja.b),
              (QStringList{QStringLiteral("AB123CD - CAMIONETA - TOYOTA - HILUX - PROPIO") + QString(50, u' ') +
                               QStringLiteral("AB123CD"),
                           QStringLiteral("AC456EF - CAMION - MERCEDES BENZ - ATEGO 1726 - TERCERO") +
                               QString(50, u' ') + QStringLiteral("AC456EF")}));
    buscar(*caja.b, "klm");
    EXPECT_EQ(busqueda_tests::lineas(*caja.b), QStringList{QStringLiteral("KLM012 - UTILITARIO - RENAULT - PROPIO") +
                                                           QString(50, u' ') + QStringLiteral("KLM012")});
}

} // namespace
