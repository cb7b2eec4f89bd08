// Searching as the operator types, the pick list, the keys and the images
// that hand a code to the host.
#include "BusquedaPrueba.h"

#include "controls/lookup/SentenciasBusqueda.h"
#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/DemoServer.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using busqueda_tests::codigos;
using busqueda_tests::lineas;
using controls::busqueda::Catalogo;
using controls::busqueda::SentenciaBusqueda;

TEST(SentenciaBusqueda, BlanksBecomeWildcardsAndApostrophesStayInsideTheText)
{
    const Catalogo clientes{QStringLiteral("vt_clientes"), QStringLiteral("Codigo"), QStringLiteral("Razon_Social"),
                            QStringLiteral("and Dada_De_Baja = 0")};
    EXPECT_EQ(SentenciaBusqueda(clientes, QStringLiteral("ab c"), QString()).sql,
              QStringLiteral("select top 100 Razon_Social,Codigo from vt_clientes where (Razon_Social like '%ab%c%' or "
                             "Codigo like '%ab%c%' )  and Dada_De_Baja = 0 order by Razon_Social"));
    EXPECT_EQ(SentenciaBusqueda(clientes, QStringLiteral("d'a"), QString()).sql,
              QStringLiteral("select top 100 Razon_Social,Codigo from vt_clientes where (Razon_Social like '%d''a%' or "
                             "Codigo like '%d''a%' )  and Dada_De_Baja = 0 order by Razon_Social"));
    EXPECT_EQ(
        SentenciaBusqueda(clientes, QStringLiteral("crema"), QStringLiteral("0001")).sql,
        QStringLiteral("select top 100 DESCRIPCION, v_ma_articulos.IDarticulo from v_ma_articulos inner join "
                       "v_ma_precios on v_ma_articulos.idarticulo = v_ma_precios.idarticulo and idlista = '0001'   "
                       "where (v_ma_articulos.idarticulo like '%crema%' or Descripcion like '%crema%')  and "
                       "Dada_De_Baja = 0 order by DESCRIPCION "));
    const Catalogo modelos{QStringLiteral("ma_modelos"), QStringLiteral("NOMBRE"), QStringLiteral("NOMBRE"), {}};
    EXPECT_EQ(SentenciaBusqueda(modelos, QStringLiteral("hi lux"), QString()).sql,
              QStringLiteral("select top 100 NOMBRE from MA_MODELOS where NOMBRE like '%hi%lux%'  GROUP BY NOMBRE "));
}

class Seleccion : public ::testing::Test
{
protected:
    void SetUp() override { m_conexion = testing_support::demoServer(); }
    QString m_conexion;
};

TEST_F(Seleccion, TypingSearchesAndEachLineIsTheDescriptionThenTheCode)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("vt_clientes"));
    busqueda_tests::teclear(*caja.b, QStringLiteral("al pe"));
    EXPECT_EQ(lineas(*caja.b),
              QStringList{QStringLiteral("ALMACEN DON PEPE") + QString(50, u' ') + QStringLiteral("C0001")});
    EXPECT_EQ(caja.b->TextoIngresado, QStringLiteral("al pe"));
    EXPECT_EQ(caja.b->CodigoNoConfirmado, QStringLiteral("al pe"));
    EXPECT_TRUE(caja.b->Buscar.isEmpty());
    EXPECT_TRUE(caja.elegidos->isEmpty());
}

TEST_F(Seleccion, EmptyingTheTextClearsTheListWithoutAQuery)
{
    const auto grabacion = busqueda_tests::grabar();
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    caja.b->TxtBusqueda->setText(QStringLiteral("a"));
    ASSERT_EQ(caja.b->LstBusqueda->count(), 2);
    const qsizetype antes = grabacion->sentencias.size();
    caja.b->TxtBusqueda->clear();
    EXPECT_EQ(grabacion->sentencias.size(), antes);
    EXPECT_EQ(caja.b->LstBusqueda->count(), 0);
}

TEST_F(Seleccion, ThePickListHoldsTheFirstHundredMatchesInDescriptionOrder)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("V_MA_ARTICULOS"));
    caja.b->TxtBusqueda->setText(QStringLiteral("a"));
    const QStringList esperadas = busqueda_tests::filas(
        m_conexion, QStringLiteral("SELECT TOP 100 IDARTICULO FROM V_MA_ARTICULOS WHERE (DESCRIPCION LIKE '%a%' OR "
                                   "IDARTICULO LIKE '%a%') AND SUSPENDIDO = 0 ORDER BY DESCRIPCION"));
    ASSERT_EQ(esperadas.size(), 100);
    EXPECT_EQ(codigos(*caja.b), esperadas);
}

TEST_F(Seleccion, APriceListRunsTheArticleQueryWhateverTheTable)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    caja.b->idLista = QStringLiteral("0001");
    caja.b->TxtBusqueda->setText(QStringLiteral("crema de leche"));
    EXPECT_TRUE(codigos(*caja.b).contains(QStringLiteral("1002")));
}

TEST_F(Seleccion, ARefusedSearchIsReportedAndRetryRunsItAgain)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_NO_EXISTE"));
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::Retry, QStringLiteral("TA_NO_EXISTE"))
        .answerMsgBox(platform::msgbox::Ignore, QStringLiteral("TA_NO_EXISTE"));
    caja.b->TxtBusqueda->setText(QStringLiteral("x"));
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_TRUE(op.asked()[0].prompt.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (-2147217865) ")));
    EXPECT_TRUE(op.asked()[0].title.endsWith(QStringLiteral(" - Busqueda Aviso al operador!!! ")));
    EXPECT_EQ(caja.b->LstBusqueda->count(), 0);
    EXPECT_TRUE(caja.b->Buscar.isEmpty());
}

TEST_F(Seleccion, WithoutAConnectionTypingSearchesNothingAndAsksNothing)
{
    auto& op = testing_support::scriptedOperator();
    // A box without a connection string opens nothing and says nothing.
    auto blanca = busqueda_tests::abrirCaja(QString(), QStringLiteral("TA_PAISES"));
    busqueda_tests::teclear(*blanca.b, QStringLiteral("arg"));
    EXPECT_EQ(blanca.b->LstBusqueda->count(), 0);
    EXPECT_TRUE(op.asked().isEmpty());

    // A connection that fails to open is reported once, when it is opened.
    op.answerMsgBox(platform::msgbox::Ignore, QStringLiteral("Cannot open database"));
    QString sinBase = m_conexion;
    sinBase.replace(QStringLiteral("Database=BKDEMO"), QStringLiteral("Database=NADA"));
    auto fallida = busqueda_tests::abrirCaja(sinBase, QStringLiteral("TA_PAISES"));
    busqueda_tests::teclear(*fallida.b, QStringLiteral("arg"));
    EXPECT_EQ(fallida.b->LstBusqueda->count(), 0);
    EXPECT_EQ(op.asked().size(), 1);
    EXPECT_TRUE(fallida.elegidos->isEmpty());
}

TEST_F(Seleccion, ASearchFailureIsReportedOnceAndNotAtEveryKey)
{
    auto& op = testing_support::scriptedOperator();
    auto faltante = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_NO_EXISTE"));
    op.answerMsgBox(platform::msgbox::Ignore, QStringLiteral("TA_NO_EXISTE"));
    busqueda_tests::teclear(*faltante.b, QStringLiteral("arg"));
    EXPECT_EQ(op.asked().size(), 1);

    // A search that runs ends the failure: the next one is reported again.
    const auto grabacion = busqueda_tests::grabar();
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    grabacion->fallar = 2;
    op.answerMsgBox(platform::msgbox::Ignore, QStringLiteral("General network error."));
    busqueda_tests::teclear(*caja.b, QStringLiteral("ar"));
    EXPECT_EQ(op.asked().size(), 2);
    EXPECT_EQ(caja.b->LstBusqueda->count(), 0);
    busqueda_tests::teclear(*caja.b, QStringLiteral("g"));
    EXPECT_EQ(codigos(*caja.b), QStringList{QStringLiteral("   1")});
    grabacion->fallar = 1;
    op.answerMsgBox(platform::msgbox::Ignore, QStringLiteral("General network error."));
    busqueda_tests::teclear(*caja.b, QStringLiteral("e"));
    EXPECT_EQ(op.asked().size(), 3);
}

TEST_F(Seleccion, DownEnterEscapeAndTheImagesHandOverTheirCode)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    controls::BusquedaCodigo& b = *caja.b;
    busqueda_tests::teclear(b, QStringLiteral("a"));
    ASSERT_EQ(codigos(b), (QStringList{QStringLiteral("   1"), QStringLiteral("   2")}));

    // Down moves to the list and selects its first line, whose description fills the box without a new search.
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), b.LstBusqueda);
    EXPECT_EQ(b.LstBusqueda->currentRow(), 0);
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("ARGENTINA"));
    EXPECT_EQ(b.LstBusqueda->count(), 2);
    QTest::keyClick(b.LstBusqueda, Qt::Key_Down);
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("URUGUAY"));
    QTest::keyClick(b.LstBusqueda, Qt::Key_Return);
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("2")});

    // IMGOK with a chosen line is a double click in the list.
    QTest::mouseClick(b.IMGOK, Qt::LeftButton);
    EXPECT_EQ(caja.elegidos->last(), QStringLiteral("2"));
    // A double click on a line hands its code over.
    const QRect primera = b.LstBusqueda->visualItemRect(b.LstBusqueda->item(0));
    QTest::mouseClick(b.LstBusqueda->viewport(), Qt::LeftButton, {}, primera.center());
    QTest::mouseDClick(b.LstBusqueda->viewport(), Qt::LeftButton, {}, primera.center());
    EXPECT_EQ(caja.elegidos->last(), QStringLiteral("1"));

    // Esc empties the box and hands over an empty code; so does ImgX.
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Escape);
    EXPECT_EQ(caja.elegidos->last(), QString());
    EXPECT_TRUE(b.TxtBusqueda->text().isEmpty());
    busqueda_tests::teclear(b, QStringLiteral("chi"));
    QTest::mouseClick(b.ImgX, Qt::LeftButton);
    EXPECT_EQ(caja.elegidos->last(), QString());
    EXPECT_EQ(b.LstBusqueda->count(), 0);
    EXPECT_EQ(caja.elegidos->size(), 5);
}

TEST_F(Seleccion, DownWithAnEmptyListSelectsNothingAndEnterHandsTheText)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("vt_clientes"));
    controls::BusquedaCodigo& b = *caja.b;
    busqueda_tests::teclear(b, QStringLiteral(" zz9 "));
    ASSERT_EQ(b.LstBusqueda->count(), 0);
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), b.LstBusqueda);
    EXPECT_EQ(b.LstBusqueda->currentRow(), -1);
    // No add image: Enter hands the typed text over, trimmed.
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Return);
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("zz9")});
    // IMGOK without a chosen line is Enter in the box.
    QTest::mouseClick(b.IMGOK, Qt::LeftButton);
    EXPECT_EQ(*caja.elegidos, (QStringList{QStringLiteral("zz9"), QStringLiteral("zz9")}));
}

TEST_F(Seleccion, EnterOnALongUnknownTextOffersTheAddition)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    controls::BusquedaCodigo& b = *caja.b;
    ASSERT_FALSE(b.imgMas->isHidden());
    busqueda_tests::teclear(b, QStringLiteral("PERU"));
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Return);
    EXPECT_EQ(*caja.elegidos, QStringList{QStringLiteral("PERU")});

    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::No, QStringLiteral("Desea dar de alta un registro nuevo?"));
    busqueda_tests::teclear(b, QStringLiteral("X"));
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Return);
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].prompt, QStringLiteral("PAISES\r\nDesea dar de alta un registro nuevo?"));
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Aviso al operador"));
    EXPECT_EQ(op.asked()[0].style, platform::msgbox::YesNo);
    EXPECT_EQ(caja.elegidos->last(), QStringLiteral("PERUX"));
}

TEST_F(Seleccion, AClickedLineFillsTheBoxAndBackspaceInTheListShortensIt)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    controls::BusquedaCodigo& b = *caja.b;
    // A blank matches every row.
    b.TxtBusqueda->setText(QStringLiteral(" "));
    ASSERT_EQ(b.LstBusqueda->count(), 3);
    const QRect tercera = b.LstBusqueda->visualItemRect(b.LstBusqueda->item(2));
    QTest::mouseClick(b.LstBusqueda->viewport(), Qt::LeftButton, {}, tercera.center());
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("URUGUAY"));
    EXPECT_EQ(b.LstBusqueda->count(), 3);
    QTest::keyClick(b.LstBusqueda, Qt::Key_Backspace);
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("URUGUA"));
    EXPECT_EQ(codigos(b), QStringList{QStringLiteral("   2")});
}

TEST_F(Seleccion, EachLineKeepsItsWholeCodeAndANullCodeIsEmpty)
{
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("CREATE TABLE TA_PRUEBA (CODIGO varchar(40), DESCRIPCION "
                                                        "varchar(60))"));
    busqueda_tests::ejecutar(m_conexion,
                             QStringLiteral("INSERT INTO TA_PRUEBA VALUES ('CODIGO-MUY-LARGO-DE-PRUEBA-01', "
                                            "'PRUEBA LARGA')"));
    busqueda_tests::ejecutar(m_conexion, QStringLiteral("INSERT INTO TA_PRUEBA VALUES (NULL, 'PRUEBA SIN CODIGO')"));
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PRUEBA"));
    controls::BusquedaCodigo& b = *caja.b;
    b.TxtBusqueda->setText(QStringLiteral("prueba"));
    ASSERT_EQ(b.LstBusqueda->count(), 2);
    b.LstBusqueda->setCurrentRow(0);
    QTest::mouseClick(b.IMGOK, Qt::LeftButton);
    b.LstBusqueda->setCurrentRow(1);
    QTest::mouseClick(b.IMGOK, Qt::LeftButton);
    EXPECT_EQ(*caja.elegidos, (QStringList{QStringLiteral("CODIGO-MUY-LARGO-DE-PRUEBA-01"), QString()}));
}

TEST_F(Seleccion, TheControlItselfTakesEscape)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    caja.b->TxtBusqueda->setText(QStringLiteral("uru"));
    caja.b->Buscar = QStringLiteral("pendiente");
    caja.b->setFocus();
    QTest::keyClick(caja.b.get(), Qt::Key_Escape);
    EXPECT_EQ(*caja.elegidos, QStringList{QString()});
    EXPECT_TRUE(caja.b->Buscar.isEmpty());
    EXPECT_TRUE(caja.b->TxtBusqueda->text().isEmpty());
}

TEST_F(Seleccion, TheLayoutFollowsTheControlsSize)
{
    auto caja = busqueda_tests::abrirCaja(m_conexion, QStringLiteral("TA_PAISES"));
    controls::BusquedaCodigo& b = *caja.b;
    b.resize(300, 200);
    const int imagenes = b.IMGOK->width() + b.imgMas->width() + b.ImgX->width();
    EXPECT_NEAR(b.TxtBusqueda->width(), 300 - imagenes - 7, 1);
    EXPECT_LT(b.TxtBusqueda->geometry().right(), b.IMGOK->x());
    EXPECT_LT(b.IMGOK->geometry().right(), b.imgMas->x());
    EXPECT_LT(b.imgMas->geometry().right(), b.ImgX->x());
    EXPECT_EQ(b.LstBusqueda->y(), b.TxtBusqueda->geometry().bottom() + 2);
    EXPECT_NEAR(b.LstBusqueda->width(), 300 - 3, 1);
    EXPECT_FALSE(b.LstBusqueda->isHidden());
}

} // namespace
