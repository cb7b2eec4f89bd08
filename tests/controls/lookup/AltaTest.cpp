// Direct addition: who may add to which table, the next code, the insert and
// the template rows of a new reason, all or nothing.
#include "BusquedaPrueba.h"

#include "controls/lookup/AltaDirecta.h"
#include "platform/core/Runtime.h"
#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/DemoServer.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using A = controls::BusquedaCodigoAcceso;
using busqueda_tests::filas;
using controls::busqueda::SiguienteCodigo;
using testing_support::scriptedOperator;

const QString kErrorAlta = QStringLiteral("ERROR EN EL ALTA DIRECTA, UTILICE LA OPCION DEL MENU CORRESPONDIENTE.");

TEST(SiguienteCodigo, TheNextNumberAfterTheHighestNumericCodeWhateverItsWidth)
{
    struct Caso
    {
        QStringList codigos;
        int largo;
        const char* esperado;
    };
    const Caso casos[] = {
        {{}, 4, "   1"},
        {{QStringLiteral("   1"), QStringLiteral("   2")}, 4, "   3"},
        {{QStringLiteral(" 999"), QStringLiteral("  12")}, 4, "1000"},
        // Once 1000 exists, the next is 1001, not 1000 again.
        {{QStringLiteral(" 999"), QStringLiteral("1000")}, 4, "1001"},
        {{QStringLiteral("9999")}, 4, "10000"},
        {{QStringLiteral("0099"), QStringLiteral("  7"), QStringLiteral("A12"), QStringLiteral("1 2")}, 4, " 100"},
        {{QString(24, u' ') + u'9'}, 25, "                       10"},
        {{QStringLiteral("99999999999999999999")}, 4, "100000000000000000000"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(SiguienteCodigo(c.codigos, c.largo), QString::fromUtf8(c.esperado)) << c.esperado;
}

class Alta : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_conexion = testing_support::demoServer();
        platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 5, 6), QTime(10, 30)); });
    }

    // Types `texto` into a box for `tabla` and presses the add image.
    busqueda_tests::Caja agregar(const QString& tabla, const QString& texto,
                                 const QString& usuario = QStringLiteral("demo"))
    {
        auto caja = busqueda_tests::abrirCaja(m_conexion, tabla, usuario);
        EXPECT_FALSE(caja.b->imgMas->isHidden()) << tabla.toStdString();
        caja.b->TxtBusqueda->setText(texto);
        QTest::mouseClick(caja.b->imgMas, Qt::LeftButton);
        return caja;
    }

    QString m_conexion;
};

TEST_F(Alta, OnlyListedTablesAndUsersWithTheTaskMayAdd)
{
    struct Caso
    {
        const char* tabla;
        const char* usuario;
        bool puede;
        int largo;
    };
    const Caso casos[] = {
        {"VT_CLIENTES", "demo", false, 4},
        {"TA_ESTADOS", "demo", true, 4},
        {"ta_estados", "vendedor", false, 4},
        {"v_ta_rubros", "demo", true, 4},
        {"V_MA_MANTENIMIENTOS", "demo", true, 25},
        {"V_MA_MANTENIMIENTOS", "vendedor", false, 25},
        {"V_TA_VENDEDORES", "vendedor", true, 4},
        {"V_TA_VENDEDORES", "demo", false, 4},
        {"TA_ESTADOS", "", false, 4},
        {"TA_ESTADOS", "   ", false, 4},
        {"TA_ESTADOS", "O'Hara", false, 4},
    };
    const auto grabacion = busqueda_tests::grabar();
    for (const Caso& c : casos) {
        grabacion->sentencias.clear();
        auto caja = busqueda_tests::abrirCaja(m_conexion, QString::fromUtf8(c.tabla), QString::fromUtf8(c.usuario));
        EXPECT_EQ(caja.b->AltaDisponible(), c.puede) << c.tabla << " " << c.usuario;
        EXPECT_EQ(caja.b->imgMas->isHidden(), !c.puede) << c.tabla << " " << c.usuario;
        EXPECT_EQ(A::largoAlta(*caja.b), c.largo) << c.tabla;
        // Unlisted tables and blank users ask the data base nothing.
        const bool consulto = !grabacion->sentencias.filter(QStringLiteral("ta_tareas")).isEmpty();
        EXPECT_EQ(consulto, c.tabla != std::string("VT_CLIENTES") && QString::fromUtf8(c.usuario).trimmed() != u"")
            << c.tabla << " " << c.usuario;
    }
}

TEST_F(Alta, ANewRowGetsTheNextCodeAndIsHandedOver)
{
    auto caja = agregar(QStringLiteral("TA_PAISES"), QStringLiteral("  Peru  "));
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT CODIGO, DESCRIPCION FROM TA_PAISES WHERE CODIGO = '   4'")),
              QStringList{QStringLiteral("   4|Peru")});
    EXPECT_EQ(caja.b->TxtBusqueda->text(), QStringLiteral("   4"));
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("4")});
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
}

TEST_F(Alta, CodesGoOnPastTheirWidth)
{
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("DELETE FROM TA_TIPICOS"));
    agregar(QStringLiteral("TA_TIPICOS"), QStringLiteral("PRIMERO"));
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("INSERT INTO TA_TIPICOS VALUES (' 999', 'NOVECIENTOS')"));
    agregar(QStringLiteral("TA_TIPICOS"), QStringLiteral("MIL"));
    agregar(QStringLiteral("TA_TIPICOS"), QStringLiteral("MIL UNO"));
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("INSERT INTO TA_TIPICOS VALUES ('9999', 'NUEVE MIL')"));
    agregar(QStringLiteral("TA_TIPICOS"), QStringLiteral("DIEZ MIL"));
    EXPECT_EQ(
        filas(m_conexion, QStringLiteral("SELECT CODIGO, DESCRIPCION FROM TA_TIPICOS ORDER BY LEN(CODIGO), CODIGO")),
        (QStringList{QStringLiteral("   1|PRIMERO"), QStringLiteral(" 999|NOVECIENTOS"), QStringLiteral("1000|MIL"),
                     QStringLiteral("1001|MIL UNO"), QStringLiteral("9999|NUEVE MIL"),
                     QStringLiteral("10000|DIEZ MIL")}));
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
}

TEST_F(Alta, AnExistingDescriptionIsNotAddedAgain)
{
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("El detalle ingresado ya existe, seleccionelo de la lista"));
    busqueda_tests::ejecutar(m_conexion,
                             QStringLiteral("UPDATE TA_PAISES SET DESCRIPCION = ' CHILE  ' WHERE CODIGO = '   3'"));
    auto caja = agregar(QStringLiteral("TA_PAISES"), QStringLiteral("chile"));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].style, platform::msgbox::OKOnly | platform::msgbox::Information);
    EXPECT_EQ(op.asked()[0].title, QString());
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT COUNT(*) FROM TA_PAISES")), QStringList{QStringLiteral("3")});
    EXPECT_TRUE(caja.elegidos->isEmpty());
}

TEST_F(Alta, TheDescriptionIsCutToFiftyAndLosesCommasAndApostrophes)
{
    const QString largo = QStringLiteral("D'ANGELO, HERMANOS Y ASOCIADOS, IMPORTADORES DE VINOS FINOS");
    agregar(QStringLiteral("TA_PAISES"), largo);
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT DESCRIPCION FROM TA_PAISES WHERE CODIGO = '   4'")),
              QStringList{QStringLiteral("DANGELO HERMANOS Y ASOCIADOS IMPORTADORES DE VI")});
    // The duplicate check compares the whole typed text, so the same text again is added again.
    agregar(QStringLiteral("TA_PAISES"), largo);
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT COUNT(*) FROM TA_PAISES")), QStringList{QStringLiteral("5")});
}

TEST_F(Alta, ANewPurchaseReasonGetsItsEightRowsFromTheTemplate)
{
    auto caja = agregar(QStringLiteral("V_TA_MotivoCpra"), QStringLiteral("COMPRA DE ACTIVO FIJO"));
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("3")});
    const QString columnas = QStringLiteral(
        "Repuestos, Servicios, Otros, V_DFI_CTAVTA, V_DFI_PERCIVA, C_CFI_CTACPRA, CB_ANTICIPOS, CFI_IVARI, "
        "CFI_IVARNI, C_CFI_IMPITC, CFI_IVARI1, CFI_IVARI2");
    EXPECT_EQ(
        filas(m_conexion, QStringLiteral("SELECT CondIva, ") + columnas +
                              QStringLiteral(" FROM V_TA_Input_Compras WHERE IdMotivoCpra = '   3' ORDER BY CondIva")),
        QStringList({QStringLiteral("   1"), QStringLiteral("   2"), QStringLiteral("   3"), QStringLiteral("   4"),
                     QStringLiteral("   5"), QStringLiteral("   6"), QStringLiteral("   7"), QStringLiteral("   8")})
            .replaceInStrings(QRegularExpression(QStringLiteral("$")),
                              QStringLiteral("|True|False|True|2.1.1.103||2.1.1.109|2.1.1.124|2.1.1.125|2.1.1.126"
                                             "||2.1.1.128|2.1.1.129")));
    // Every copied value is the template row's (the lowest reason's).
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT COUNT(*) FROM V_TA_Input_Compras n JOIN V_TA_Input_Compras t ON "
                                               "t.IdMotivoCpra = '   1' AND t.CondIva = '   1' WHERE n.IdMotivoCpra = "
                                               "'   3' AND n.C_CFI_PERCIB = t.C_CFI_PERCIB AND n.PG_RETIB = t.PG_RETIB "
                                               "AND n.CB_RETIVA = t.CB_RETIVA AND n.Otros = t.Otros")),
              QStringList{QStringLiteral("8")});
}

TEST_F(Alta, ASaleReasonWithoutTemplateIsAddedAlone)
{
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("DELETE FROM V_TA_Input_Ventas"));
    auto caja = agregar(QStringLiteral("V_TA_MotivoVta"), QStringLiteral("VENTA MAYORISTA"));
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("3")});
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT COUNT(*) FROM V_TA_Input_Ventas")),
              QStringList{QStringLiteral("0")});
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
}

TEST_F(Alta, AFailingTemplateRowLeavesNothingAdded)
{
    // The new reason will be 3; a row of it already holds VAT condition 5.
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("INSERT INTO V_TA_Input_Ventas (IdMotivoVta, CondIva) VALUES "
                                                        "('   3', '   5')"));
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, kErrorAlta);
    auto caja = agregar(QStringLiteral("V_TA_MotivoVta"), QStringLiteral("VENTA MAYORISTA"));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].prompt,
              kErrorAlta +
                  QStringLiteral("\r\nV_TA_MotivoVtaINSERT INTO V_TA_MotivoVta(IDMotivoVta,DESCRIPCION) VALUES "
                                 "('   3','VENTA MAYORISTA')"));
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT COUNT(*) FROM V_TA_MotivoVta")),
              QStringList{QStringLiteral("2")});
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT COUNT(*) FROM V_TA_Input_Ventas WHERE IdMotivoVta = '   3'")),
              QStringList{QStringLiteral("1")});
    EXPECT_TRUE(caja.elegidos->isEmpty());
    EXPECT_EQ(caja.b->TxtBusqueda->text(), QStringLiteral("VENTA MAYORISTA"));
}

TEST_F(Alta, AnInsertThatWritesNoRowSaysSoWithItsStatement)
{
    const auto grabacion = busqueda_tests::grabar();
    grabacion->insertSinFilas = true;
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, kErrorAlta);
    auto caja = agregar(QStringLiteral("TA_PAISES"), QStringLiteral("PERU"));
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].prompt, kErrorAlta + QStringLiteral("\r\nTA_PAISES\r\nINSERT INTO TA_PAISES(CODIGO,"
                                                                "DESCRIPCION) VALUES ('   4','PERU')"));
    EXPECT_TRUE(caja.elegidos->isEmpty());
}

TEST_F(Alta, TermsAndMaintenancesWriteTheirOwnColumns)
{
    agregar(QStringLiteral("V_TA_Cpra_Vta"), QStringLiteral("CUENTA CORRIENTE 60 DIAS"));
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT IDCOND_CPRA_VTA, DESCRIPCION, CantidadDias, HabilitadoPara, "
                                               "DtoMaximo, CONVERT(varchar(10), FechaHora_Grabacion, 103) FROM "
                                               "V_TA_CPRA_VTA WHERE IDCOND_CPRA_VTA = '   3'")),
              QStringList{QStringLiteral("   3|CUENTA CORRIENTE 60 DIAS|1|VC|100|06/05/2024")});

    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("V_MA_MANTENIMIENTOS"));
    caja.b->Cuenta = QStringLiteral(" C0'9 ");
    caja.b->TxtBusqueda->setText(QStringLiteral("REVISION DE BALANZA"));
    A::imgMas_Click(*caja.b);
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT CODIGO, CUENTA FROM V_MA_MANTENIMIENTOS WHERE DESCRIPCION = "
                                               "'REVISION DE BALANZA'")),
              QStringList{QString(24, u' ') + QStringLiteral("3|C0'9")});
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("3")});
}

TEST_F(Alta, EnterOnAnUnknownTextAsksAndYesAdds)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("V_TA_Rubros"));
    auto& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::Yes, QStringLiteral("Rubros\r\nDesea dar de alta un registro nuevo?"));
    busqueda_tests::teclear(*caja.b, QStringLiteral("FIAMBRERIA"));
    QTest::keyClick(caja.b->TxtBusqueda, Qt::Key_Return);
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("13")});
    EXPECT_EQ(filas(m_conexion, QStringLiteral("SELECT IDRubro FROM V_TA_Rubros WHERE DESCRIPCION = 'FIAMBRERIA'")),
              QStringList{QStringLiteral("  13")});
}

} // namespace
