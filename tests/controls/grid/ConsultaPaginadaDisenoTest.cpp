// The stored column layout and the column chooser's select list, without
// widgets: the layout's key, its statements, the stored value, the chooser's
// list and the columns a choice gives.
#include "controls/grid/ConsultaPaginada.h"
#include "platform/db/Types.h"

#include "GridPrueba.h"

#include <gtest/gtest.h>

namespace {

using controls::ConsultaPaginada;
using Campo = ConsultaPaginada::CampoProbado;
namespace db = platform::db;

using grid_tests::u8;

QString relleno(const char* texto, int largo)
{
    return u8(texto).leftJustified(largo, u' ', true);
}

const QString kArgumentos = u8("@Server=./srv; @DbName=BKDEMO; @Usuario=sa; @Password=clave secreta; @Caja=1");

TEST(Diseno, LaClaveNoGuardaLaPassword)
{
    const auto clave = ConsultaPaginada::ClaveDelDiseno(u8("CorrigePrecios"), kArgumentos, u8("sa"), QString());
    EXPECT_EQ(clave.Formulario,
              relleno("CorrigePrecios@Server=./srv; @DbName=BKDEMO; @Usuario=sa; @Password=; @Caja=1", 100));
    EXPECT_EQ(clave.Usuario, relleno("sa", 50));
    EXPECT_EQ(clave.Nombre, relleno("@BKDBGRID", 50));

    const auto anterior =
        ConsultaPaginada::ClaveAnteriorDelDiseno(u8("CorrigePrecios"), kArgumentos, u8("sa"), u8("Grilla1"));
    EXPECT_EQ(anterior.Formulario, relleno("CorrigePrecios@Server=./srv; @DbName=BKDEMO; @Usuario=sa; "
                                           "@Password=clave secreta; @Caja=1",
                                           100));
    EXPECT_EQ(anterior.Nombre, relleno("Grilla1", 50));

    for (const char* argumentos : {"@password = x;@Caja=1", " @PASSWORD=x", "@Password=x;"}) {
        const auto c = ConsultaPaginada::ClaveDelDiseno(u8("P"), u8(argumentos), u8("sa"), QString());
        EXPECT_FALSE(c.Formulario.contains(u'x')) << argumentos;
    }
    // Without a password the two keys are one.
    EXPECT_EQ(ConsultaPaginada::ClaveDelDiseno(u8("P"), u8("@Caja=1"), u8("u"), QString()).Formulario,
              ConsultaPaginada::ClaveAnteriorDelDiseno(u8("P"), u8("@Caja=1"), u8("u"), QString()).Formulario);
}

TEST(Diseno, LasSentenciasLlevanLaClaveCortadaYLosValoresEscapados)
{
    const auto clave = ConsultaPaginada::ClaveDelDiseno(u8("CorrigePrecios"), QString(), u8("sa"), QString());
    const QString donde = u8(" WHERE FORMULARIO = '") + relleno("CorrigePrecios", 100) + u8("' AND USUARIO= '") +
                          relleno("sa", 50) + u8("' and Nombre = '") + relleno("@BKDBGRID", 50) + u8("'");
    EXPECT_EQ(ConsultaPaginada::SentenciaLeerDiseno(clave), u8("SELECT * FROM TA_CONFIG_FORM") + donde);
    EXPECT_EQ(ConsultaPaginada::SentenciaBorrarDiseno(clave), u8("DELETE TA_CONFIG_FORM") + donde);
    EXPECT_EQ(ConsultaPaginada::SentenciaGrabarDiseno(clave, u8("[IdArticulo]|ID")),
              u8("INSERT INTO TA_CONFIG_FORM (FORMULARIO,USUARIO,TIPOOBJETO,NOMBRE,PROPIEDAD,DATAFIELD,VALOR) VALUES "
                 "('") +
                  relleno("CorrigePrecios", 100) + u8("','") + relleno("sa", 50) + u8("','") +
                  relleno("@BkDbGrid", 50) + u8("','") + relleno("@BKDBGRID", 50) + u8("','") +
                  relleno("CamposSel", 50) + u8("','") + relleno("@BkDbGrid", 50) + u8("','[IdArticulo]|ID')"));

    const auto comillas = ConsultaPaginada::ClaveDelDiseno(u8("P"), u8("@Caja='1'"), u8("o'neil"), u8("d'Ana"));
    const QString leer = ConsultaPaginada::SentenciaLeerDiseno(comillas);
    EXPECT_TRUE(leer.contains(u8("'P@Caja=''1''"))) << leer.toStdString();
    EXPECT_TRUE(leer.contains(u8("'o''neil "))) << leer.toStdString();
    EXPECT_TRUE(leer.contains(u8("'d''Ana "))) << leer.toStdString();
    EXPECT_TRUE(ConsultaPaginada::SentenciaGrabarDiseno(comillas, u8("[it's]")).endsWith(u8(",'[it''s]')")));
}

// The probe of a statement with the columns the stored values below name.
void probar(ConsultaPaginada& q)
{
    q.CargarCamposTodos({Campo{"ID", db::adInteger}, Campo{"Codigo", db::adVarChar}, Campo{"Precio", db::adCurrency},
                         Campo{"Fecha", db::adDBTimeStamp}, Campo{"Precio Venta", db::adCurrency},
                         Campo{"Fecha Alta", db::adDBTimeStamp}, Campo{"Año", db::adInteger}},
                        u8(" SELECT * FROM T "));
}

struct CasoGuardado
{
    const char* nombre;
    const char* camposSel;
    const char* guardado;
    const char* leido;
};

class Guardado : public ::testing::TestWithParam<CasoGuardado>
{
};

TEST_P(Guardado, LosBlancosSeQuitanFueraDeLosCorchetes)
{
    ConsultaPaginada q;
    probar(q);
    q.CamposSel = u8(GetParam().camposSel);
    EXPECT_EQ(q.CamposGuardados(), u8(GetParam().guardado));
    EXPECT_EQ(q.LeerCamposGuardados(q.CamposGuardados()), std::nullopt);
    EXPECT_EQ(q.CamposSel, u8(GetParam().leido));
}

INSTANTIATE_TEST_SUITE_P(
    CamposGuardados, Guardado,
    ::testing::Values(CasoGuardado{"ConFecha", "[Codigo], [Precio], CONVERT(NVARCHAR,[Fecha],103) AS [Fecha], ID",
                                   "[Codigo]|[Precio]|CONVERT(NVARCHAR|[Fecha]|103)AS[Fecha]|ID",
                                   "[Codigo],[Precio],CONVERT(NVARCHAR,[Fecha],103)AS[Fecha],ID"},
                      CasoGuardado{"ConBlancos",
                                   "[Precio Venta], CONVERT(NVARCHAR,[Fecha Alta],103) AS [Fecha Alta], ID",
                                   "[Precio Venta]|CONVERT(NVARCHAR|[Fecha Alta]|103)AS[Fecha Alta]|ID",
                                   "[Precio Venta],CONVERT(NVARCHAR,[Fecha Alta],103)AS[Fecha Alta],ID"},
                      CasoGuardado{"Vacio", "", "", ""}),
    [](const ::testing::TestParamInfo<CasoGuardado>& caso) { return std::string(caso.param.nombre); });

struct CasoLeido
{
    const char* nombre;
    const char* guardado;
    const char* rechazada; // nullptr: the stored value is taken
};

class Leido : public ::testing::TestWithParam<CasoLeido>
{
};

// Only what the chooser writes for the statement becomes the select list:
// anything else would run in the page statement with the rights of whoever
// loads the grid.
TEST_P(Leido, SoloLasColumnasDeLaConsultaSeUsan)
{
    const CasoLeido& caso = GetParam();
    ConsultaPaginada q;
    probar(q);
    q.CamposSel = u8("[Codigo], ID");
    const std::optional<QString> rechazada = q.LeerCamposGuardados(u8(caso.guardado));
    if (caso.rechazada) {
        EXPECT_EQ(rechazada, std::optional<QString>(u8(caso.rechazada)));
        EXPECT_EQ(q.CamposSel, u8("[Codigo], ID"));
    } else {
        EXPECT_EQ(rechazada, std::nullopt);
        EXPECT_EQ(q.CamposSel, QString(u8(caso.guardado)).replace(u'|', u','));
    }
}

INSTANTIATE_TEST_SUITE_P(
    LeerCampos, Leido,
    ::testing::Values(
        CasoLeido{"ConCorchetes", "[Codigo]|[Precio]|ID", nullptr},
        CasoLeido{"SinCorchetes", "Codigo|Precio|ID", nullptr}, CasoLeido{"OtraCaja", "[CODIGO]|precio|[id]", nullptr},
        CasoLeido{"ConAcento", "[AÑO]|[Fecha Alta]|ID", nullptr},
        CasoLeido{"FechaConvertida", "CONVERT(NVARCHAR|[Fecha]|103)AS[Fecha]|[Codigo]|ID", nullptr},
        CasoLeido{"FechaConvertidaConBlancos", " CONVERT(NVARCHAR, [fecha], 105) AS [FECHA] | ID", nullptr},
        CasoLeido{"SoloBlancos", "  ", nullptr},
        CasoLeido{"OtraSentencia", "ID FROM T; DELETE FROM TA_USUARIOS; SELECT ID",
                  "ID FROM T; DELETE FROM TA_USUARIOS; SELECT ID"},
        CasoLeido{"Subconsulta", "[Codigo]|(SELECT TOP 1 Password FROM TA_USUARIOS) AS [Precio]|ID",
                  "(SELECT TOP 1 Password FROM TA_USUARIOS) AS [Precio]"},
        CasoLeido{"AliasConIgual", "[Precio] = (SELECT TOP 1 Password FROM TA_USUARIOS)|ID",
                  "[Precio] = (SELECT TOP 1 Password FROM TA_USUARIOS)"},
        CasoLeido{"SubconsultaEnLaFecha", "CONVERT(NVARCHAR|(SELECT TOP 1 Password FROM TA_USUARIOS)|103)AS[Fecha]|ID",
                  "CONVERT(NVARCHAR,(SELECT TOP 1 Password FROM TA_USUARIOS),103)AS[Fecha]"},
        CasoLeido{"FechaConOtroNombre", "CONVERT(NVARCHAR|[Fecha]|103)AS[Codigo]|ID",
                  "CONVERT(NVARCHAR,[Fecha],103)AS[Codigo]"},
        CasoLeido{"ComentarioTrasLaColumna", "[Codigo]--|ID", "[Codigo]--"},
        CasoLeido{"CorcheteSinCerrar", "[Codigo]|[Precio", "[Precio"},
        CasoLeido{"CorcheteDentro", "[Codigo]]|ID", "[Codigo]]"},
        CasoLeido{"NombreConBlanco", "Precio Venta|ID", "Precio Venta"},
        CasoLeido{"ColumnaQueNoEsta", "[Codigo]|[Descuento]|ID", "[Descuento]"},
        CasoLeido{"EntradaVacia", "[Codigo]||ID", ""}),
    [](const ::testing::TestParamInfo<CasoLeido>& caso) { return std::string(caso.param.nombre); });

TEST(Diseno, LaClaveDeLaGrillaValeAunqueLaPruebaNoLaDe)
{
    ConsultaPaginada q;
    probar(q);
    q.PrimaryKey = u8("T.IdRenglon");
    EXPECT_EQ(q.LeerCamposGuardados(u8("[Codigo]|T.IdRenglon")), std::nullopt);
    EXPECT_EQ(q.CamposSel, u8("[Codigo],T.IdRenglon"));
    // Without a probe no stored entry is a column.
    ConsultaPaginada sinPrueba;
    EXPECT_EQ(sinPrueba.LeerCamposGuardados(u8("[Codigo]|ID")), std::optional<QString>(u8("[Codigo]")));
}

TEST(Eleccion, LaListaDelSelectorTerminaConLaClaveUnaVez)
{
    ConsultaPaginada q;
    q.CamposTodos = u8("[ID], [FechaHora],[IdArticulo], [Usuario]");
    EXPECT_EQ(q.CamposParaElegir(), u8("[FechaHora]|[IdArticulo]|[Usuario]|[ID]|"));
    q.CamposTodos = u8("[a], [b], ID");
    EXPECT_EQ(q.CamposParaElegir(), u8("[a]|[b]|ID|"));
    q.PrimaryKey = u8("IdArticulo");
    q.CamposTodos = u8("[ID], [idarticulo], [x]");
    EXPECT_EQ(q.CamposParaElegir(), u8("[ID]|[x]|[idarticulo]|"));
    q.CamposTodos.clear();
    EXPECT_EQ(q.CamposParaElegir(), u8("|"));
}

TEST(Eleccion, LaPruebaDeLaEleccionLeeUnaFilaDeLaTabla)
{
    ConsultaPaginada q;
    q.sql = u8(" SELECT costo as precio, * FROM V_X WHERE b = 1");
    q.PrepararCarga();
    q.Equias();
    EXPECT_EQ(q.SentenciaEleccion(QString()), u8("SELECT TOP 1 * FROM V_X"));
    EXPECT_EQ(q.SentenciaEleccion(u8("[precio], [ID]")), u8("SELECT TOP 1 [costo] as [precio], [ID] FROM V_X"));
}

TEST(Eleccion, SinEleccionVienenTodasLasColumnasYLaClaveUnaVez)
{
    ConsultaPaginada q;
    q.CamposSel = u8("[x]");
    q.AplicarEleccion({Campo{"ID", db::adInteger}, Campo{"FechaHora", db::adDBTimeStamp},
                       Campo{"IdArticulo", db::adVarChar}, Campo{"Usuario", db::adVarChar}});
    EXPECT_EQ(q.CamposSel, u8(" CONVERT(NVARCHAR,[FechaHora],103) AS [FechaHora], [IdArticulo], [Usuario], ID"));
    EXPECT_EQ(q.CamposSelNombres, u8("[FechaHora], [IdArticulo], [Usuario], ID"));
}

TEST(Eleccion, LaEleccionSigueSuOrdenConLasFechasConvertidas)
{
    ConsultaPaginada q;
    q.FormatDate = 105;
    q.AplicarEleccion(
        {Campo{"IdArticulo", db::adVarChar}, Campo{"FechaHora", db::adDBTimeStamp}, Campo{"ID", db::adInteger}});
    EXPECT_EQ(q.CamposSel, u8("[IdArticulo], CONVERT(NVARCHAR,[FechaHora],105) AS [FechaHora], ID"));
    EXPECT_EQ(q.CamposSelNombres, u8("[IdArticulo],[FechaHora], ID"));

    // The search then offers the chosen columns one by one.
    q.sql = u8(" SELECT * FROM V_MV_PreciosHis ");
    EXPECT_EQ(q.CargarCamposSeleccion({Campo{"ID", db::adInteger}, Campo{"FechaHora", db::adDBTimeStamp},
                                       Campo{"IdArticulo", db::adVarChar}}),
              (QStringList{u8("IdArticulo"), u8("FechaHora")}));

    // Only the key when the probe gave nothing.
    q.AplicarEleccion({});
    EXPECT_EQ(q.CamposSel, u8("ID"));
    EXPECT_EQ(q.CamposSelNombres, u8("ID"));
}

} // namespace
