// The table catalogue: every rule of the rule list and of the second step,
// and what BusquedaDisponible does around them.
#include "BusquedaPrueba.h"

#include "controls/lookup/CatalogoBusqueda.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/DemoServer.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

using controls::busqueda::AplicarReglas;
using controls::busqueda::Catalogo;
using controls::busqueda::Decision;
using controls::busqueda::TablaTelefonos;
using A = controls::BusquedaCodigoAcceso;

const QString kPrevia = QStringLiteral("PREVIA");

struct Caso
{
    QString tb;
    QString tbDespues; // the argument afterwards
    QString tabla;
    QString descripcion; // kPrevia: the previous call's column stays
    QString codigo;
    QString condicion;
    bool disponible = true;
};

QString q(const char* s)
{
    return QString::fromUtf8(s);
}

// Rules naming their columns outright, spelled as the caller passes them.
std::vector<Caso> casos()
{
    const QString mismo; // tbDespues empty: unchanged
    const QString dadaDeBaja = q("and Dada_De_Baja = 0");
    std::vector<Caso> c = {
        {q("vt_clientes"), mismo, q("vt_clientes"), q("Razon_Social"), q("Codigo"), dadaDeBaja},
        {q("VT_CLIENTES"), mismo, q("VT_CLIENTES"), q("Razon_Social"), q("Codigo"), dadaDeBaja},
        {q("Vt_Clientes"), mismo, q("Vt_Clientes"), q("Razon_Social"), q("Codigo"), dadaDeBaja},
        {q("vt_proveedores"), mismo, q("vt_proveedores"), q("Razon_Social"), q("Codigo"), dadaDeBaja},
        {q("V_TA_Cpte"), q("VT_TA_Cpte"), q("V_TA_Cpte"), q("Descripcion"), q("Codigo"), {}},
        {q(" ta_comprobantes "), q("VT_TA_Cpte"), q("ta_comprobantes"), q("Descripcion"), q("Codigo"), {}},
        {q("V_TA_PERCEPCION"), mismo, q("V_TA_PERCEPCION"), q("DESCRIPCION"), q("IDPERCEPCION"), {}},
        {q("V_TA_RETENCIONES"), mismo, q("V_TA_RETENCIONES"), q("DESCRIPCION"), q("IDRETENCION"), {}},
        {q("V_TA_UNIDADNEGOCIO"), mismo, q("V_TA_UNIDADNEGOCIO"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("V_ta_PoliticaPrecios"), mismo, q("V_ta_PoliticaPrecios"), q("Descripcion"), q("codigo"), {}},
        {q("V_TA_CATEGORIAARTICULO"), mismo, q("V_TA_CATEGORIAARTICULO"), q("DESCRIPCION"), q("idcategoria"), {}},
        // The "V_TA_" family: codes derived from the name as spelled, and the overrides.
        {q("V_TA_ORIGEN"), mismo, q("V_TA_ORIGEN"), q("DESCRIPCION"), q("IDORIGEN"), {}},
        {q("V_TA_DESTINO"), mismo, q("V_TA_DESTINO"), q("DESCRIPCION"), q("IDDESTINO"), {}},
        {q("V_TA_CATEGORIA"), mismo, q("V_TA_CATEGORIA"), q("DESCRIPCION"), q("IDCATEGORIA"), {}},
        {q("V_TA_CPRA_VTA"), mismo, q("V_TA_CPRA_VTA"), q("DESCRIPCION"), q("IDCOND_CPRA_VTA"), {}},
        {q("V_TA_MotivoStock"), mismo, q("V_TA_MotivoStock"), q("DESCRIPCION"), q("IDMotivoStock"), {}},
        {q("V_TA_Rubros"), mismo, q("V_TA_Rubros"), q("DESCRIPCION"), q("IDRubro"), {}},
        {q("v_ta_rubros"), mismo, q("v_ta_rubros"), q("DESCRIPCION"), q("IDrubro"), {}},
        {q("V_TA_TipoArticulo"), mismo, q("V_TA_TipoArticulo"), q("DESCRIPCION"), q("IDTIPO"), {}},
        {q("V_TA_Unidad"), mismo, q("V_TA_Unidad"), q("DESCRIPCION"), q("IDUnidad"), {}},
        {q("V_TA_Tareas"), mismo, q("V_TA_Tareas"), q("DESCRIPCION"), q("IDTarea"), {}},
        {q("V_TA_Tecnicos"), mismo, q("V_TA_Tecnicos"), q("NOMBRE"), q("IDTecnico"), {}},
        {q("V_TA_Deposito"), mismo, q("V_TA_Deposito"), q("DESCRIPCION"), q("IDDeposito"), {}},
        {q("V_TA_MotivoCpra"), mismo, q("V_TA_MotivoCpra"), q("DESCRIPCION"), q("IDMotivoCpra"), {}},
        {q("V_TA_MotivoVta"), mismo, q("V_TA_MotivoVta"), q("DESCRIPCION"), q("IDMotivoVta"), {}},
        {q("V_TA_Bancos"), mismo, q("V_TA_Bancos"), q("DESCRIPCION"), q("IDBanco"), {}},
        {q("V_TA_Cajas"), mismo, q("V_TA_Cajas"), q("DESCRIPCION"), q("IDCajas"), {}},
        // The "P_" family: the part from the sixth character, its final S dropped but for P_TA_Areas.
        {q("P_TA_EstadoCivil"), mismo, q("P_TA_EstadoCivil"), q("Descripcion"), q("IDEstadoCivil"), {}},
        {q("P_TA_Parentesco"), mismo, q("P_TA_Parentesco"), q("Descripcion"), q("IDParentesco"), {}},
        {q("P_TA_ESTADOPOSTULANTE"), mismo, q("P_TA_ESTADOPOSTULANTE"), q("Descripcion"), q("IDESTADOPOSTULANTE"), {}},
        {q("P_TA_TITULOs"), mismo, q("P_TA_TITULOs"), q("Descripcion"), q("IDTITULO"), {}},
        {q("P_TA_IDIOMAS"), mismo, q("P_TA_IDIOMAS"), q("Descripcion"), q("IDIDIOMA"), {}},
        {q("P_TA_Areas"), mismo, q("P_TA_Areas"), q("Descripcion"), q("IDAreas"), {}},
        {q("P_TA_EstadoBusqueda"), mismo, q("P_TA_EstadoBusqueda"), q("Descripcion"), q("IDEstadoBusqueda"), {}},
        {q("P_TA_Grupos"), mismo, q("P_TA_Grupos"), q("Descripcion"), q("IDGrupo"), {}},
        {q("P_TA_MotivoEgreso"), mismo, q("P_TA_MotivoEgreso"), q("Descripcion"), q("IDMotivoEgreso"), {}},
        {q("P_TA_ObraSocial"), mismo, q("P_TA_ObraSocial"), q("Descripcion"), q("IDObraSocial"), {}},
        {q("P_TA_ZONARESIDENCIA"), mismo, q("P_TA_ZONARESIDENCIA"), q("Descripcion"), q("IDZONARESIDENCIA"), {}},
        {q("P_MA_Empresas"), mismo, q("P_MA_Empresas"), q("NombreEmpresa"), q("IDEmpresa"), {}},
        {q("P_TA_FormasDePago"), mismo, q("P_TA_FormasDePago"), q("Descripcion"), q("IDFormasDePago"), {}},
        {q("P_TA_CentroMedico"), mismo, q("P_TA_CentroMedico"), q("Descripcion"), q("IDCentroMedico"), {}},
        {q("P_TA_Categorizacion"), mismo, q("P_TA_Categorizacion"), q("Descripcion"), q("IDCategorizacion"), {}},
        {q("P_TA_CONOCIMIENTOS"), mismo, q("P_TA_CONOCIMIENTOS"), q("Descripcion"), q("IDCONOCIMIENTO"), {}},
        {q("P_TA_NIVELESTUDIO"), mismo, q("P_TA_NIVELESTUDIO"), q("Descripcion"), q("IDNIVELESTUDIO"), {}},
        {q("P_SINDICATOS"), mismo, q("P_SINDICATOS"), q("Descripcion"), q("IdSindicato"), {}},
        {q("P_TA_Funciones"), mismo, q("P_TA_Funciones"), q("DESCRIPCION"), q("IDFunciones"), {}},
        // The "TA_" family.
        {q("TA_Rubros"), mismo, q("TA_Rubros"), q("DESCRIPCION"), q("IDRubro"), {}},
        {q("TA_TipoArticulo"), mismo, q("TA_TipoArticulo"), q("DESCRIPCION"), q("IDTIPO"), {}},
        {q("TA_MotivoStock"), mismo, q("TA_MotivoStock"), q("DESCRIPCION"), q("IDMotivoStock"), {}},
        {q("TA_Deposito"), mismo, q("TA_Deposito"), q("DESCRIPCION"), q("IDDeposito"), {}},
        {q("TA_Categoria"), mismo, q("TA_Categoria"), q("DESCRIPCION"), q("IDCategoria"), {}},
        {q("P_MA_Clientes"), mismo, q("P_MA_Clientes"), q("RAZON_SOCIAL"), q("IDCLIENTE"), {}},
        {q("TA_Cpte"), mismo, q("TA_Cpte"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("V_MA_MANTENIMIENTOS"), mismo, q("V_MA_MANTENIMIENTOS"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("V_TA_VENDEDORES"), mismo, q("V_TA_VENDEDORES"), q("NOMBRE"), q("idvendedor"), {}},
        {q("V_MA_ARTICULOS"), mismo, q("V_MA_ARTICULOS"), q("DESCRIPCION"), q("IDARTICULO"), q("and SUSPENDIDO = 0")},
        {q("v_ma_articulos"), mismo, q("v_ma_articulos"), q("DESCRIPCION"), q("IDarticulo"), q("and SUSPENDIDO = 0")},
        {q("V_MV_COTIZAR"), mismo, q("V_MV_COTIZAR"), q("COT_OBSERVACIONES"), q("IDARTICULO"), {}},
        {q("MA_ARTICULOS"), mismo, q("MA_ARTICULOS"), q("DESCRIPCION"), q("IDARTICULO"), {}},
        {q("MA_MODELOS"), mismo, q("MA_MODELOS"), q("NOMBRE"), q("NOMBRE"), {}},
        {q("MA_CHOFERES"), mismo, q("MA_CHOFERES"), q("APELLIDO"), q("CODIGO"), {}},
        {q("MA_DESTINATARIOS"), mismo, q("MA_DESTINATARIOS"), q("NOMBRE"), q("CODIGO"), {}},
        {q("MA_VEHICULOS"), mismo, q("MA_VEHICULOS"), q("PATENTE,TIPO_VEHICULO,MARCA,MODELO,TIPO"), q("PATENTE"), {}},
        {q("MV_EJERCICIOS"), mismo, q("MV_EJERCICIOS"), q("DESCRIPCION"), q("PERIODO"), {}},
        {q("TA_USUARIOS"), mismo, q("TA_USUARIOS"), q("NOMBRE"), q("NOMBRE"), {}},
        // "TA_" at the first or the fifth character.
        {q("TA_ESTADOS"), mismo, q("TA_ESTADOS"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("FIS_TA_COMPROBANTES_1"), q("TA_COMPROBANTES"), q("TA_COMPROBANTES"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("fis_ta_estados"), q("ta_estados"), q("ta_estados"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("TA_COMPROBANTES_1"), q("TA_COMPROBANTES"), q("TA_COMPROBANTES"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("XYZ_TA_PAISES"), mismo, q("XYZ_TA_PAISES"), q("DESCRIPCION"), q("CODIGO"), {}},
        // "MA_": the first six characters choose the description.
        {q("MA_CUENTAS"), mismo, q("MA_CUENTAS"), q("Descripcion"), q("Codigo"), q(" and Dada_De_Baja = 0 ")},
        {q("MA_CUENTAS_CAJAYBANCO"), mismo, q("MA_CUENTAS"), q("Descripcion"), q("Codigo"),
         q("and (MEDIODEPAGO='' or MEDIODEPAGO IS NULL) and titulo = 0 AND CAJAYBANCO = 1")},
        {q("ma_cuentas/soloimputables"), mismo, q("MA_CUENTAS"), q("Descripcion"), q("Codigo"),
         q(" and (TIPOVISTA IS NULL OR TIPOVISTA = '') AND (MEDIODEPAGO IS NULL OR MEDIODEPAGO = '' OR MEDIODEPAGO = "
           "'RI' OR MEDIODEPAGO = 'RG' OR MEDIODEPAGO = 'RB')  AND TITULO = 0 AND Dada_De_Baja = 0 ")},
        {q("MA_PROVEEDORES"), mismo, q("MA_PROVEEDORES"), q("Razon_Social"), q("Codigo"), {}},
        {q("ma_transportes"), mismo, q("ma_transportes"), q("Razon_Social"), q("Codigo"), {}},
        {q("MA_CONTACTOS"), mismo, q("MA_CONTACTOS"), q("Nombre_y_Apellido"), q("IdContacto"), {}},
        {q("MA_ZONAS"), mismo, q("MA_ZONAS"), q("Descripcion"), q("Codigo"), {}},
        // "[MA" and "MV_": only "[MA_CA" and "MV_PRO" name columns.
        {q("[MA_CAMIONES]"), mismo, q("[MA_CAMIONES]"), q("nombre"), q("Codigo"), {}},
        {q("[MA_OTROS]"), mismo, q("[MA_OTROS]"), kPrevia, kPrevia, {}},
        {q("MV_PROYECTOS"), mismo, q("MV_PROYECTOS"), q("ASUNTO"), q("ID"), {}},
        {q("MV_OTROS"), mismo, q("MV_OTROS"), kPrevia, kPrevia, {}},
        {q("SERIE"), mismo, q("VT_MP_PAGOS"), q("Descripcion"), q("CodigoOpcional"), {}},
        {q("mpago"), mismo, q("VT_MP_PAGOS"), q("Descripcion"), q("CodigoOpcional"), {}},
        {q("TC"), q("TA_COMPROBANTES"), q("TA_COMPROBANTES"), q("DESCRIPCION"), q("CODIGO"), {}},
        {q(" V_TA_MOTIVOS "), mismo, q(" V_TA_MOTIVOS "), q("DESCRIPCION"), q("CODIGO"), {}},
        {q("FECHA"), mismo, q("FECHA"), kPrevia, kPrevia, {}},
        // The second step makes these available after the rule list found nothing.
        {q(" V_TA_FAMILIAS"), mismo, q(" V_TA_FAMILIAS"), q("DESCRIPCION"), q("IDFAMILIA"), {}},
        {q("VT_MA_ARTICULOS"), mismo, q("VT_MA_ARTICULOS"), kPrevia, kPrevia, q("and SUSPENDIDO = 0")},
        {q("NO_EXISTE"), mismo, q("NO_EXISTE"), kPrevia, kPrevia, {}, false},
    };
    return c;
}

TEST(Catalogo, EachRuleSetsItsTableColumnsAndCondition)
{
    for (const Caso& c : casos()) {
        Catalogo cat{q("ANTERIOR"), kPrevia, kPrevia, q("and ANTERIOR = 1")};
        QString tb = c.tb;
        const Decision d = AplicarReglas(tb, cat, false, QString());
        const std::string nombre = c.tb.toStdString();
        EXPECT_EQ(tb, c.tbDespues.isEmpty() ? c.tb : c.tbDespues) << nombre;
        EXPECT_EQ(cat.Tabla, c.tabla) << nombre;
        EXPECT_EQ(cat.CampoDescripcion, c.descripcion) << nombre;
        EXPECT_EQ(cat.CampoCodigo, c.codigo) << nombre;
        EXPECT_EQ(cat.CondicionExtra, c.condicion) << nombre;
        EXPECT_EQ(d.disponible, c.disponible) << nombre;
        EXPECT_EQ(d.fecha, c.tb == u"FECHA") << nombre;
        EXPECT_EQ(d.filtroVendedor, cat.CondicionExtra == u"and Dada_De_Baja = 0") << nombre;
    }
}

TEST(Catalogo, TheTelephonesTableIsDerivedForTheAccount)
{
    Catalogo cat;
    QString tb = QStringLiteral("VT_CLIENTES_TEL");
    AplicarReglas(tb, cat, false, QStringLiteral(" O'Neil "));
    EXPECT_EQ(tb, TablaTelefonos(QStringLiteral("O'Neil")));
    EXPECT_EQ(cat.Tabla, tb);
    EXPECT_EQ(cat.CampoDescripcion, QStringLiteral("TELEFONO"));
    EXPECT_EQ(cat.CampoCodigo, QStringLiteral("CODIGO"));
    const QString p = QStringLiteral(
        "TELEFONO IS NOT NULL AND TELEFONO NOT LIKE '%[a-zA-Z]%' AND (LEN(TELEFONO) - LEN(REPLACE(REPLACE(REPLACE("
        "REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(TELEFONO,'0',''),'1',''),'2',''),'3',''),'4',''),'5',"
        "''),'6',''),'7',''),'8',''),'9',''))) >= 6");
    EXPECT_EQ(tb, QStringLiteral("(SELECT CODIGO, (TELEFONO + ISNULL(' - ' + NULLIF(LTRIM(RTRIM(RAZON_SOCIAL)), ''), "
                                 "'')) AS TELEFONO FROM VT_CLIENTES WHERE ") +
                      p +
                      QStringLiteral(" UNION SELECT DISTINCT IDCOMPROBANTE AS CODIGO, (TELEFONO + ISNULL(' - ' + "
                                     "NULLIF(LTRIM(RTRIM(NOMBRE)), ''), '')) AS TELEFONO FROM V_MV_CPTE WHERE CUENTA "
                                     "= 'O''Neil' AND ") +
                      p + QStringLiteral(") AS X"));
}

TEST(Catalogo, ADisabledArticleLookUpStopsAtItsRule)
{
    Catalogo cat{q("ANTERIOR"), kPrevia, kPrevia, q("and ANTERIOR = 1")};
    QString tb = QStringLiteral("V_MA_ARTICULOS");
    const Decision d = AplicarReglas(tb, cat, true, QString());
    EXPECT_FALSE(d.disponible);
    EXPECT_TRUE(d.detenida);
    EXPECT_EQ(cat.CampoCodigo, kPrevia);
    EXPECT_EQ(cat.CondicionExtra, QStringLiteral("and ANTERIOR = 1"));
    tb = QStringLiteral("MA_ARTICULOS");
    EXPECT_TRUE(AplicarReglas(tb, cat, true, QString()).disponible);
    EXPECT_EQ(cat.CampoCodigo, QStringLiteral("IDARTICULO"));
}

class CatalogoEnLaCaja : public ::testing::Test
{
protected:
    void SetUp() override { m_conexion = testing_support::demoServer(); }
    QString m_conexion;
};

TEST_F(CatalogoEnLaCaja, TheUsersVendorLimitsClientsAndSuppliers)
{
    struct Vendedor
    {
        const char* usuario;
        const char* tabla;
        const char* condicion;
    };
    const Vendedor casosVendedor[] = {
        {"vendedor", "VT_CLIENTES", "and Dada_De_Baja = 0 and IDVENDEDOR = '0002'"},
        {"VENDEDOR  ", "vt_proveedores", "and Dada_De_Baja = 0 and IDVENDEDOR = '0002'"},
        {"demo", "VT_CLIENTES", "and Dada_De_Baja = 0"},      // no vendor
        {"nadie", "VT_CLIENTES", "and Dada_De_Baja = 0"},     // no users row
        {"O'Hara", "VT_CLIENTES", "and Dada_De_Baja = 0"},    // a quoted name stays one statement
        {"", "VT_CLIENTES", "and Dada_De_Baja = 0"},          // no user
        {"vendedor", "MA_CUENTAS", " and Dada_De_Baja = 0 "}, // other tables are not filtered
    };
    for (const Vendedor& c : casosVendedor) {
        auto caja = busqueda_tests::abrirCaja(m_conexion, QString::fromUtf8(c.tabla), QString::fromUtf8(c.usuario));
        EXPECT_TRUE(caja.disponible) << c.usuario;
        EXPECT_EQ(A::catalogo(*caja.b).CondicionExtra, QString::fromUtf8(c.condicion)) << c.usuario;
    }
}

TEST_F(CatalogoEnLaCaja, EveryLookUpDisabledChangesOnlyTheTag)
{
    controls::BusquedaCodigo b;
    b.setConnString(m_conexion);
    b.DeshabilitarBCTodos = true;
    b.setTabla(QStringLiteral("ANTES"));
    QString tb = QStringLiteral("VT_CLIENTES");
    EXPECT_FALSE(b.BusquedaDisponible(tb));
    EXPECT_EQ(b.TxtBusqueda->property("Tag").toString(), QStringLiteral("VT_CLIENTES"));
    EXPECT_EQ(b.Tabla(), QStringLiteral("ANTES"));
    EXPECT_FALSE(A::conexionAbierta(b));
}

TEST_F(CatalogoEnLaCaja, ADisabledArticleLookUpLeavesConnectionImageAndLengthAlone)
{
    controls::BusquedaCodigo b;
    b.setConnString(m_conexion);
    b.DeshabilitarBCArticulos = true;
    const int largo = b.TxtBusqueda->maxLength();
    QString tb = QStringLiteral("V_MA_ARTICULOS");
    EXPECT_FALSE(b.BusquedaDisponible(tb));
    EXPECT_FALSE(A::conexionAbierta(b));
    EXPECT_TRUE(b.imgMas->isHidden());
    EXPECT_EQ(b.TxtBusqueda->maxLength(), largo);
    tb = QStringLiteral("MA_ARTICULOS");
    EXPECT_TRUE(b.BusquedaDisponible(tb));
    EXPECT_TRUE(A::conexionAbierta(b));
    EXPECT_EQ(b.TxtBusqueda->maxLength(), 50);
}

TEST_F(CatalogoEnLaCaja, AnUnknownNameStillOpensDecidesTheImageAndSearchesThePendingText)
{
    controls::BusquedaCodigo b;
    b.setConnString(m_conexion);
    b.Usuario = QStringLiteral("demo");
    QString tb = QStringLiteral("TA_ESTADOS");
    ASSERT_TRUE(b.BusquedaDisponible(tb));
    EXPECT_FALSE(b.imgMas->isHidden());
    b.Buscar = QStringLiteral(" activo ");
    tb = QStringLiteral("NO_EXISTE");
    // The pending text is searched in a table that is not there: the box says so.
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Abort, QStringLiteral("NO_EXISTE"));
    EXPECT_FALSE(b.BusquedaDisponible(tb));
    EXPECT_TRUE(A::conexionAbierta(b));
    EXPECT_TRUE(b.imgMas->isHidden());
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("activo"));
    EXPECT_EQ(b.LstBusqueda->count(), 0);
}

TEST_F(CatalogoEnLaCaja, FechaEntersTheDateModeAndTheLengthIsSetAfterIt)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("FECHA"));
    EXPECT_TRUE(caja.disponible);
    EXPECT_FALSE(caja.b->Calendar->isHidden());
    EXPECT_EQ(caja.b->TxtBusqueda->maxLength(), 50);
    QString tb = QStringLiteral("TA_PAISES");
    EXPECT_TRUE(caja.b->BusquedaDisponible(tb));
    EXPECT_TRUE(caja.b->Calendar->isHidden());
}

} // namespace
