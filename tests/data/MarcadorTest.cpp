// The marker "@Admin_" in front of a table name asks for the real table; it
// is removed there and nowhere else: never inside a literal, a quoted name or
// a comment.
#include "BaseDePrueba.h"

#include <gtest/gtest.h>

using data::DB_Dll;
using data_tests::BaseDePrueba;

namespace {

struct CasoMarcador
{
    const char* nombre;
    bool administrador;
    const char* entrada;
    const char* enviada;
};

const CasoMarcador kMarcadores[] = {
    {"TablaYLiterales", true, "SELECT * FROM @Admin_ARTICULOS WHERE CODIGO = 'x@Admin_y' OR NOMBRE = '@ADMIN_'",
     "SELECT * FROM ARTICULOS WHERE CODIGO = 'x@Admin_y' OR NOMBRE = '@ADMIN_'"},
    {"ApostrofoDobladoEnElLiteral", true, "SELECT * FROM @admin_ARTICULOS WHERE NOMBRE = 'it''s @Admin_x'",
     "SELECT * FROM ARTICULOS WHERE NOMBRE = 'it''s @Admin_x'"},
    {"NombresEntreComillasYCorchetes", true, "SELECT [@Admin_x], \"@Admin_y\" FROM @Admin_ARTICULOS",
     "SELECT [@Admin_x], \"@Admin_y\" FROM ARTICULOS"},
    {"Comentario", true, "-- it's @Admin_z\nSELECT * FROM @Admin_ARTICULOS",
     "-- it's @Admin_z\nSELECT * FROM ARTICULOS"},
    {"DentroDeUnNombre", true, "SELECT x@Admin_y FROM ARTICULOS", "SELECT x@Admin_y FROM ARTICULOS"},
    {"LaTablaRealDeCuentas", false, "SELECT * FROM @Admin_MA_CUENTAS, MA_CUENTAS WHERE X = '@Admin_MA_CUENTAS'",
     "SELECT * FROM MA_CUENTAS, MA_CUENTAS WHERE X = '@Admin_MA_CUENTAS'"},
    {"UnLiteralNoPideLaTablaReal", false, "SELECT * FROM MA_CUENTAS WHERE X = '@Admin_'",
     "SELECT * FROM SS_MA_CUENTAS WHERE X = '@Admin_'"},
};

class Marcador : public ::testing::TestWithParam<CasoMarcador>
{
};

TEST_P(Marcador, IsRemovedOnlyInFrontOfATableName)
{
    const CasoMarcador& caso = GetParam();
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    db.gEsAdmin = caso.administrador;
    db.SinMensajes = true; // some of these tables do not exist here: only the text is checked
    QString sql = QString::fromUtf8(caso.entrada);
    data::RecordsetPtr rs;
    db.AbrirRecordset(sql, rs);
    EXPECT_EQ(sql, QString::fromUtf8(caso.enviada));
    EXPECT_EQ(base.tomarLlamadas(), QStringList{QString::fromUtf8(caso.enviada)});
}

INSTANTIATE_TEST_SUITE_P(Sentencias, Marcador, ::testing::ValuesIn(kMarcadores),
                         [](const auto& caso) { return std::string(caso.param.nombre); });

TEST(MarcadorEnComandos, AnUpdateLosesTheMarkerOfItsTableAndKeepsItsValues)
{
    BaseDePrueba base;
    DB_Dll& db = base.abrirPrincipal();
    QString sql = QStringLiteral("UPDATE @Admin_ARTICULOS SET NOMBRE = 'a@Admin_b' WHERE CODIGO = '0001'");
    EXPECT_TRUE(db.EjecutaConsultaSQL(sql));
    EXPECT_EQ(sql, QStringLiteral("UPDATE ARTICULOS SET NOMBRE = 'a@Admin_b' WHERE CODIGO = '0001'"));
}

} // namespace
