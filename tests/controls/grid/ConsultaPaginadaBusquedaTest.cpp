// The conditions of a search on the server, without widgets: dates as typed,
// the terms of a text and of a date, the date fields of the probe, and the
// conditions on every column or one field as they accumulate.
#include "controls/grid/ConsultaPaginada.h"
#include "platform/core/Runtime.h"
#include "platform/db/Types.h"

#include "GridPrueba.h"
#include "support/ParamName.h"

#include <gtest/gtest.h>

namespace {

using controls::ConsultaPaginada;
using Campo = ConsultaPaginada::CampoProbado;
namespace db = platform::db;

using grid_tests::u8;

struct CasoFecha
{
    const char* texto;
    // "yyyy-mm-dd hh:mm:ss" of the first and the first moment after; empty: no date.
    const char* desde;
    const char* hasta;
    bool conHora;
};

class Fecha : public ::testing::TestWithParam<CasoFecha>
{
};

TEST_P(Fecha, SeLeeElDiaOElMomentoEscrito)
{
    const CasoFecha& c = GetParam();
    const auto fecha = ConsultaPaginada::LeerFecha(u8(c.texto));
    if (*c.desde == 0) {
        EXPECT_FALSE(fecha.has_value()) << c.texto;
        return;
    }
    ASSERT_TRUE(fecha.has_value()) << c.texto;
    EXPECT_EQ(fecha->desde.toStorageText(), u8(c.desde));
    EXPECT_EQ(fecha->hasta.toStorageText(), u8(c.hasta));
    EXPECT_EQ(fecha->conHora, c.conHora);
}

INSTANTIATE_TEST_SUITE_P(
    LeerFecha, Fecha,
    ::testing::Values(CasoFecha{"26/03/2024", "2024-03-26 00:00:00", "2024-03-27 00:00:00", false},
                      CasoFecha{" 1/3/2024 ", "2024-03-01 00:00:00", "2024-03-02 00:00:00", false},
                      CasoFecha{"31-12-2023", "2023-12-31 00:00:00", "2024-01-01 00:00:00", false},
                      CasoFecha{"26.03.24", "2024-03-26 00:00:00", "2024-03-27 00:00:00", false},
                      CasoFecha{"01/01/50", "1950-01-01 00:00:00", "1950-01-02 00:00:00", false},
                      CasoFecha{"26/03/2024 11:20", "2024-03-26 11:20:00", "2024-03-26 11:21:00", true},
                      CasoFecha{"26/03/2024 11:20:07", "2024-03-26 11:20:07", "2024-03-26 11:20:08", true},
                      CasoFecha{"2024-03-26", "2024-03-26 00:00:00", "2024-03-27 00:00:00", false},
                      CasoFecha{"2024-03-26T11:20:07", "2024-03-26 11:20:07", "2024-03-26 11:20:08", true},
                      CasoFecha{"29/02/2023", "", "", false}, CasoFecha{"26/13/2024", "", "", false},
                      CasoFecha{"26/03/2024 24:00", "", "", false}, CasoFecha{"26/03-2024", "", "", false},
                      CasoFecha{"01/01/1700", "", "", false}, CasoFecha{"abc", "", "", false},
                      CasoFecha{"1001", "", "", false}, CasoFecha{"", "", "", false}),
    testing_support::NombrePorTexto<CasoFecha>([](const CasoFecha& c) { return c.texto; }));

// Dates as the system's platform reads them, with the program's clock on
// 1 June 2025 for those typed without a year.
struct CasoFechaEscrita
{
    const char* nombre;
    const char* texto;
    // "yyyy-mm-dd" of the day; empty: no date.
    const char* dia;
};

class FechaEscrita : public ::testing::TestWithParam<CasoFechaEscrita>
{
};

TEST_P(FechaEscrita, SeLeeComoElDiaQueNombra)
{
    const CasoFechaEscrita& c = GetParam();
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2025, 6, 1), QTime(9, 30)); });
    const auto fecha = ConsultaPaginada::LeerFecha(u8(c.texto));
    if (*c.dia == 0) {
        EXPECT_FALSE(fecha.has_value()) << c.texto;
        return;
    }
    ASSERT_TRUE(fecha.has_value()) << c.texto;
    EXPECT_EQ(fecha->desde.toStorageText(), u8(c.dia) + QStringLiteral(" 00:00:00"));
    EXPECT_EQ(fecha->hasta.toStorageText(), fecha->desde.addDays(1).toStorageText());
    EXPECT_FALSE(fecha->conHora);
}

INSTANTIATE_TEST_SUITE_P(LeerFecha, FechaEscrita,
                         ::testing::Values(CasoFechaEscrita{"DiaYMes", "26/03", "2025-03-26"},
                                           CasoFechaEscrita{"DiaYMesConGuion", "1-12", "2025-12-01"},
                                           CasoFechaEscrita{"UnNumeroConPunto", "1.5", ""},
                                           CasoFechaEscrita{"VeintinueveSinAnioBisiesto", "29/02", ""},
                                           CasoFechaEscrita{"IsoConBarras", "2024/03/26", "2024-03-26"},
                                           CasoFechaEscrita{"MesEnCastellano", "5 de marzo de 2024", "2024-03-05"},
                                           CasoFechaEscrita{"MesEnCastellanoSinAnio", "5 de marzo", "2025-03-05"},
                                           CasoFechaEscrita{"MesAbreviado", "05-mar-2024", "2024-03-05"},
                                           CasoFechaEscrita{"MesAbreviadoConPunto", "5 dic. 24", "2024-12-05"},
                                           CasoFechaEscrita{"MesAbreviadoEnMayusculas", "17 AGO", "2025-08-17"},
                                           CasoFechaEscrita{"SetiembreRioplatense", "3 setiembre 2024", "2024-09-03"},
                                           CasoFechaEscrita{"MesEnIngles", "March 5, 2024", "2024-03-05"},
                                           CasoFechaEscrita{"MesEnInglesAbreviado", "Aug 17", "2025-08-17"},
                                           CasoFechaEscrita{"DiaYMesEnIngles", "17 December 1999", "1999-12-17"},
                                           CasoFechaEscrita{"MesQueNoEs", "5 de marte", ""},
                                           CasoFechaEscrita{"DiaQueNoEs", "31 de abril", ""},
                                           CasoFechaEscrita{"SoloElMes", "marzo", ""},
                                           CasoFechaEscrita{"Palabras", "Casa Central", ""}),
                         [](const ::testing::TestParamInfo<CasoFechaEscrita>& i) {
                             return std::string(i.param.nombre);
                         });

TEST(LeerFecha, UnaFechaConElMesEscritoLlevaSuHora)
{
    const auto fecha = ConsultaPaginada::LeerFecha(u8("5 de marzo de 2024 11:20"));
    ASSERT_TRUE(fecha.has_value());
    EXPECT_EQ(fecha->desde.toStorageText(), u8("2024-03-05 11:20:00"));
    EXPECT_EQ(fecha->hasta.toStorageText(), u8("2024-03-05 11:21:00"));
    EXPECT_TRUE(fecha->conHora);
}

// A probe with a long field before the date field: the grid's columns and
// the field list skip it, the probe's positions count it.
ConsultaPaginada probada()
{
    ConsultaPaginada q;
    q.sql = u8(" SELECT * FROM T ");
    q.PrepararCarga();
    q.Equias();
    q.CargarCamposTodos({Campo{"ID", db::adInteger}, Campo{"Notas", db::adLongVarWChar},
                         Campo{"Fecha", db::adDBTimeStamp}, Campo{"Nombre", db::adVarWChar}},
                        q.sql);
    return q;
}

TEST(CondicionBusqueda, LasFechasSeReconocenPorSuCampoAunqueHayaCamposOmitidos)
{
    ConsultaPaginada q = probada();
    EXPECT_EQ(q.ColumnasFecha, u8("|2|"));
    EXPECT_TRUE(q.EsCampoFecha(u8("Fecha")));
    EXPECT_TRUE(q.EsCampoFecha(u8("FECHA")));
    EXPECT_FALSE(q.EsCampoFecha(u8("Nombre")));
    EXPECT_FALSE(q.EsCampoFecha(u8("ID")));
    EXPECT_FALSE(q.EsCampoFecha(u8("Otro")));

    // The grid shows ID, Fecha, Nombre: Fecha gives no text term and
    // Nombre is searched as the text it is.
    EXPECT_EQ(q.CondicionTodos({u8("ID"), u8("Fecha"), u8("Nombre")}, u8("abc")),
              u8(" ( CONVERT(NVARCHAR,[ID]) LIKE '%abc%' or  CONVERT(NVARCHAR,[Nombre]) LIKE '%abc%') "));
    EXPECT_EQ(q.CondicionTodos({u8("ID"), u8("Fecha"), u8("Nombre")}, u8("26/03/2024")),
              u8(" ( CONVERT(NVARCHAR,[ID]) LIKE '%26/03/2024%' or  ([Fecha] >= '20240326' AND [Fecha] < '20240327') "
                 "or  CONVERT(NVARCHAR,[Nombre]) LIKE '%26/03/2024%') "));
}

TEST(CondicionBusqueda, LasFechasSeReconocenConUnaEleccionDeColumnas)
{
    ConsultaPaginada q;
    q.sql = u8(" SELECT * FROM T ");
    q.PrepararCarga();
    q.CamposSel = u8("[Nombre], CONVERT(NVARCHAR,[Fecha],103) AS [Fecha], ID");
    q.CamposSelNombres = u8("[Nombre],[Fecha], ID");
    const QStringList filtro = q.CargarCamposSeleccion(
        {Campo{"ID", db::adInteger}, Campo{"Fecha", db::adDBTimeStamp}, Campo{"Nombre", db::adVarWChar}});
    EXPECT_EQ(filtro, (QStringList{u8("Nombre"), u8("Fecha")}));
    EXPECT_TRUE(q.EsCampoFecha(u8("Fecha")));
    EXPECT_FALSE(q.EsCampoFecha(u8("Nombre")));
}

TEST(CondicionBusqueda, ElTextoEscritoVaEntreApostrofosConLosComodinesDelUsuario)
{
    ConsultaPaginada q = probada();
    EXPECT_EQ(q.TerminoTexto(u8("Nombre"), u8("O'Higgins 10%_")),
              u8(" CONVERT(NVARCHAR,[Nombre]) LIKE '%O''Higgins 10%_%'"));
    EXPECT_EQ(q.CondicionCampo(u8("Nombre"), u8("'; DROP TABLE T --")),
              u8(" CONVERT(NVARCHAR,[Nombre]) LIKE '%''; DROP TABLE T --%'"));
}

TEST(CondicionBusqueda, UnaFechaVaComoRangoQueCualquierServidorLeeIgual)
{
    ConsultaPaginada q = probada();
    EXPECT_EQ(q.CondicionCampo(u8("Fecha"), u8("26/03/2024")), u8(" ([Fecha] >= '20240326' AND [Fecha] < '20240327')"));
    EXPECT_EQ(q.CondicionCampo(u8("Fecha"), u8("31/12/2023 23:59")),
              u8(" ([Fecha] >= '20231231 23:59:00' AND [Fecha] < '20240101 00:00:00')"));
    EXPECT_FALSE(q.CondicionCampo(u8("Fecha"), u8("abc")).has_value());
    EXPECT_FALSE(q.CondicionCampo(u8("Fecha"), u8("26/03/2024'")).has_value());
}

TEST(CondicionBusqueda, UnAliasSeBuscaPorSuExpresion)
{
    ConsultaPaginada q;
    q.sql = u8(" SELECT costo as precio, * FROM T ");
    q.Equias();
    EXPECT_EQ(q.CondicionCampo(u8("precio"), u8("1")), u8(" CONVERT(NVARCHAR,[costo]) LIKE '%1%'"));
}

TEST(CondicionBusqueda, SinTerminosNoHayCondicion)
{
    ConsultaPaginada q = probada();
    EXPECT_EQ(q.CondicionTodos({u8("Fecha"), QString(), u8(" ")}, u8("abc")), QString());
    EXPECT_EQ(q.CondicionTodos({}, u8("abc")), QString());
}

TEST(CondicionBusqueda, LasCondicionesSeAcumulan)
{
    ConsultaPaginada q = probada();
    q.AgregarBusqueda(QString());
    EXPECT_EQ(q.FiltroBusqueda, QString());
    q.FiltroBusqueda = u8("  ");
    q.AgregarBusqueda(u8(" (a) "));
    EXPECT_EQ(q.FiltroBusqueda, u8("   (a) "));
    q.AgregarBusqueda(u8(" b"));
    EXPECT_EQ(q.FiltroBusqueda, u8("   (a)  and  b"));
}

TEST(CondicionBusqueda, UnWhereEscritoEnLaBusquedaQuedaEnElla)
{
    ConsultaPaginada q;
    q.sql = u8(" SELECT * FROM T ");
    q.PrepararCarga();
    q.PageSize = 10;
    q.Find = 2;
    q.FiltroBusqueda = u8(" CONVERT(NVARCHAR,[a]) LIKE '%x where y%'");
    q.ArmarWhere();
    EXPECT_EQ(q.ArmarPaginacion(2),
              u8(" FROM (SELECT TOP 10 *  FROM T WHERE ID NOT IN (SELECT TOP 10 ID FROM T  where  "
                 "CONVERT(NVARCHAR,[a]) LIKE '%x where y%'  Order by ID ) "
                 " and  CONVERT(NVARCHAR,[a]) LIKE '%x where y%'  Order by ID ) AS Paginacion "));
}

} // namespace
