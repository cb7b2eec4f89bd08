// The grid as its user sees it, placed in a host at the size the
// price-correction form gives it and rendered: the search box's hint, the
// cells a search paints, totals and banding, widths from the contents, the
// edit box beside painted cells, and the page-size box driven by mouse and keys.
#include "GridPrueba.h"

#include "common/ValoresCorrida.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Colors.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Twips.h"
#include "support/EmbeddedFixture.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

using controls::BkDbGrid;
using grid_tests::hijo;
using platform::ui::FlexGrid;
using A = controls::BkDbGridAcceso;

const QString kIngrese = QStringLiteral("Ingrese el texto a buscar...");
const QColor kEncontrado(192, 232, 232);
const QColor kFondoGrilla(250, 250, 250);

class Vista : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testing_support::EmbeddedFixture servidor;
        servidor.createDatabase(
            QStringLiteral("VISTA"),
            QStringLiteral(
                "CREATE TABLE T (ID integer PRIMARY KEY, Nombre varchar(40), Nota varchar(30), A money, B money,"
                " Fecha datetime);"
                "INSERT INTO T VALUES (1, 'Casa Central', NULL, 1234567.89, 0.1, '2024-03-05 10:00:00');"
                "INSERT INTO T VALUES (2, 'Depósito', '', 100, 0.1, '2024-03-06 00:00:00');"
                "INSERT INTO T VALUES (3, 'Sucursal Norte del Gran Buenos Aires', 'revisar', 30, 0.1,"
                " '2025-03-05 08:00:00');"
                "INSERT INTO T VALUES (4, 'Oficina', NULL, 20, 0.3, NULL);"));
        anfitrion = std::make_unique<QWidget>();
        anfitrion->resize(1000, 280);
        g = new BkDbGrid(anfitrion.get());
        // The place and size the price-correction form gives its grid.
        g->setGeometry(platform::ui::twipsRect(120, 120, 14760, 3960));
        anfitrion->show();
        QApplication::setActiveWindow(anfitrion.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(anfitrion.get()));
        g->setConString(servidor.connectionString(QStringLiteral("VISTA")));
    }

    void cargar(const QString& sql, int32_t pageSize = 2000)
    {
        g->setPageSize(pageSize);
        g->setSql(sql);
        g->LoadBkDBGrid();
        QApplication::processEvents();
    }
    FlexGrid& grid() { return *g->MsFlexGrid; }
    QLineEdit* caja() { return hijo<QLineEdit>(*g, "txtBuscar"); }
    QComboBox* registros() { return hijo<QComboBox>(*g, "CboRegistros"); }
    void elegirCampo(const char* campo)
    {
        auto* campos = hijo<QComboBox>(*g, "CboFiltroCampo");
        campos->setCurrentIndex(campos->findText(QString::fromUtf8(campo)));
    }
    void buscar() { hijo<QToolButton>(*g, "BUSCAR")->click(); }
    bool enfocar(QWidget* w)
    {
        w->setFocus();
        return QTest::qWaitFor([w] { return w->hasFocus(); });
    }
    QImage vistaGrilla()
    {
        QApplication::processEvents();
        return grid().viewport()->grab().toImage();
    }
    // The text drawn in the search box, its frame left out.
    int tintaDeLaCaja()
    {
        QApplication::processEvents();
        const QImage vista = caja()->grab().toImage();
        return grid_tests::tinta(vista, vista.rect().adjusted(3, 3, -3, -3));
    }
    QColor fondo(const QImage& vista, int fila, int col)
    {
        const QRect celda = grid_tests::rectCelda(grid(), fila, col);
        EXPECT_FALSE(celda.isEmpty()) << fila << "," << col;
        return grid_tests::fondoCelda(vista, celda);
    }

    testing_support::DesignFonts fuentes;
    std::unique_ptr<QWidget> anfitrion;
    BkDbGrid* g = nullptr;
};

// ------------------------------------------------------------------ the search box

TEST_F(Vista, LaIndicacionDeLaCajaNoSeBuscaComoTexto)
{
    auto sentencias = grid_tests::grabarSentencias();
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    ASSERT_EQ(A::consulta(*g).TotalRegistros, 4);
    // The hint shows in the box the user has not entered.
    EXPECT_GT(tintaDeLaCaja(), 150);

    auto& op = testing_support::scriptedOperator();
    op.answerInput(QStringLiteral("Norte"), QStringLiteral("Campo seleccionado: Todos\r\nIngrese el texto que desea "
                                                           "buscar para el campo seleccionado: "));
    buscar();
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(grid().TextMatrix(1, 2), QStringLiteral("Sucursal Norte del Gran Buenos Aires"));
    for (const QString& s : sentencias->lista) {
        EXPECT_FALSE(s.contains(QStringLiteral("Ingrese"))) << s.toStdString();
    }

    // Again from the hint: Cancel adds nothing and keeps the earlier condition.
    EXPECT_EQ(caja()->text(), kIngrese);
    op.answerInput(std::nullopt);
    buscar();
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(op.asked().size(), 2);
}

TEST_F(Vista, TrasEnterLaCajaQuedaVaciaParaElTextoSiguiente)
{
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    elegirCampo("Nombre");
    ASSERT_TRUE(enfocar(caja()));
    EXPECT_TRUE(caja()->text().isEmpty());
    // At most the text cursor.
    EXPECT_LT(tintaDeLaCaja(), 30);

    // In the page on screen the box keeps the focus all along.
    g->setFind(1);
    QTest::keyClicks(caja(), QStringLiteral("Norte"));
    QTest::keyClick(caja(), Qt::Key_Return);
    ASSERT_TRUE(caja()->hasFocus());
    EXPECT_TRUE(caja()->text().isEmpty());
    EXPECT_LT(tintaDeLaCaja(), 30);
    QTest::keyClicks(caja(), QStringLiteral("Casa"));
    EXPECT_EQ(caja()->text(), QStringLiteral("Casa"));
    QTest::keyClick(caja(), Qt::Key_Return);
    grid().setRow(0);
    const QImage pintada = vistaGrilla();
    EXPECT_EQ(fondo(pintada, 1, 2), kEncontrado);
    EXPECT_EQ(fondo(pintada, 3, 2), kEncontrado);
    EXPECT_EQ(fondo(pintada, 2, 2), kFondoGrilla);

    // On the server, whose load takes the focus away and gives it back.
    g->setFind(2);
    ASSERT_TRUE(enfocar(caja()));
    QTest::keyClicks(caja(), QStringLiteral("Casa"));
    QTest::keyClick(caja(), Qt::Key_Return);
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    ASSERT_TRUE(caja()->hasFocus());
    EXPECT_TRUE(caja()->text().isEmpty());
    QTest::keyClicks(caja(), QStringLiteral("Central"));
    QTest::keyClick(caja(), Qt::Key_Return);
    EXPECT_EQ(A::consulta(*g).FiltroBusqueda,
              QStringLiteral(" CONVERT(NVARCHAR,[Nombre]) LIKE '%Casa%' and  CONVERT(NVARCHAR,[Nombre]) LIKE "
                             "'%Central%'"));

    // A search from elsewhere leaves the hint in the box.
    ASSERT_TRUE(enfocar(&grid()));
    testing_support::scriptedOperator().answerInput(std::nullopt);
    buscar();
    EXPECT_EQ(caja()->text(), kIngrese);
    EXPECT_GT(tintaDeLaCaja(), 150);
}

TEST_F(Vista, LaBusquedaEnLaPaginaSinTextoPintaSoloLasCeldasConTexto)
{
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    g->setFind(1);
    testing_support::scriptedOperator().answerInput(std::nullopt);
    buscar();
    // The last painted cell is the current one, drawn as the selection.
    grid().setRow(0);
    const QImage vista = vistaGrilla();
    for (int fila = 1; fila <= 4; ++fila) {
        EXPECT_EQ(fondo(vista, fila, 2), kEncontrado) << "Nombre " << fila;
    }
    EXPECT_EQ(fondo(vista, 3, 3), kEncontrado) << "revisar";
    for (int fila : {1, 2, 4}) {
        EXPECT_EQ(fondo(vista, fila, 3), kFondoGrilla) << "empty Nota " << fila;
    }
}

// ------------------------------------------------------------------ server searches

TEST_F(Vista, UnAliasDeUnaExpresionSeBuscaPorLaExpresionEntera)
{
    cargar(QStringLiteral("SELECT ID, Nombre, A * 2 AS Doble, CAST(B AS varchar(10)) AS Texto FROM T"));
    ASSERT_EQ(A::consulta(*g).TotalRegistros, 4);
    // No error box: the scripted operator fails the test on any question.
    elegirCampo("Doble");
    caja()->setText(QStringLiteral("200"));
    buscar();
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(grid().TextMatrix(1, 2), QStringLiteral("Depósito"));

    hijo<QToolButton>(*g, "ACTUALIZAR")->click();
    elegirCampo("Texto");
    caja()->setText(QStringLiteral("0.3"));
    buscar();
    EXPECT_EQ(A::consulta(*g).TotalRegistros, 1);
    EXPECT_EQ(grid().TextMatrix(1, 2), QStringLiteral("Oficina"));
}

TEST_F(Vista, UnaFechaEscritaComoElSistemaLaAceptaEncuentraSuDia)
{
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2025, 6, 1), QTime(9, 0)); });
    cargar(QStringLiteral("SELECT ID, Nombre, Fecha FROM T"));
    const struct
    {
        const char* texto;
        const char* nombre;
    } casos[] = {{"5 de marzo", "Sucursal Norte del Gran Buenos Aires"},
                 {"05-mar-2024", "Casa Central"},
                 {"March 6, 2024", "Depósito"},
                 {"5/3", "Sucursal Norte del Gran Buenos Aires"},
                 {"6 MAR 24", "Depósito"}};
    for (const auto& c : casos) {
        hijo<QToolButton>(*g, "ACTUALIZAR")->click();
        elegirCampo("Fecha");
        caja()->setText(QString::fromUtf8(c.texto));
        buscar();
        EXPECT_EQ(A::consulta(*g).TotalRegistros, 1) << c.texto;
        EXPECT_EQ(grid().TextMatrix(1, 2), QString::fromUtf8(c.nombre)) << c.texto;
    }
}

// ------------------------------------------------------------------ totals, banding, widths

struct CasoTotal
{
    const char* nombre;
    const char* operacion;
    const char* columnaTotal;
    // The final total and the columns of its cell and of its legend.
    const char* total;
    int colTotal;
    int colLeyenda;
};

class Totales : public Vista, public ::testing::WithParamInterface<CasoTotal>
{
};

TEST_P(Totales, CadaColumnaSumaYElTotalFinalCombinaLasSumas)
{
    const CasoTotal& c = GetParam();
    common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");
    g->pCamposTotalizar = QStringLiteral("A,B");
    g->gTotalFinal = true;
    g->gCamposSum = QStringLiteral("A,B");
    g->gOperacion = QString::fromLatin1(c.operacion);
    g->gColumnaTotalF = QString::fromLatin1(c.columnaTotal);
    cargar(QStringLiteral("SELECT ID, Nombre, A, B FROM T"));

    // Four rows, the sums' row and the final total's.
    ASSERT_EQ(grid().Rows(), 7);
    EXPECT_EQ(hijo<QLabel>(*g, "LblTotalReg")->text(), QStringLiteral("Total Reg: 6"));
    EXPECT_EQ(
        grid_tests::columna(grid(), 3).mid(0, 5),
        (QStringList{"   1,234,567.89", "         100.00", "          30.00", "          20.00", "   1,234,717.89"}));
    EXPECT_EQ(grid().TextMatrix(5, 4), QStringLiteral("           0.60"));
    EXPECT_EQ(grid().TextMatrix(6, c.colTotal), QString::fromLatin1(c.total));
    EXPECT_EQ(grid().TextMatrix(6, c.colLeyenda), QStringLiteral("Saldo"));
    grid().setRow(6);
    grid().setCol(c.colTotal);
    EXPECT_EQ(grid().CellBackColor(), 0xFFFF00u);
    grid().setCol(c.colLeyenda);
    EXPECT_EQ(grid().CellBackColor(), 0xFFFF00u);
}

INSTANTIATE_TEST_SUITE_P(TotalFinal, Totales,
                         ::testing::Values(CasoTotal{"Suma", "+", "B", "1234718.49", 4, 3},
                                           CasoTotal{"Resta", "-", "B", "1234717.29", 4, 3},
                                           CasoTotal{"Producto", "*", "B", "740830.73", 4, 3},
                                           CasoTotal{"Cociente", "/", "B", "2057863.15", 4, 3},
                                           CasoTotal{"EnLaPrimeraColumna", "+", "ID", "1234718.49", 1, 2}),
                         [](const ::testing::TestParamInfo<CasoTotal>& i) { return std::string(i.param.nombre); });

TEST_F(Vista, UnCocientePorCeroLoDiceYDejaLaFilaComoQuedo)
{
    common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");
    g->gTotalFinal = true;
    g->gCamposSum = QStringLiteral("A,Nota");
    g->gOperacion = QStringLiteral("/");
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::Abort, QStringLiteral("Division by zero"));
    cargar(QStringLiteral("SELECT ID, Nombre, A, Nota FROM T"));
    EXPECT_EQ(op.asked().size(), 1);
    // The last row's A is 20 and its empty Nota reads as 0; the total cell
    // (under Nombre) keeps the first value.
    ASSERT_EQ(grid().Rows(), 6);
    EXPECT_EQ(grid().TextMatrix(5, 2), QStringLiteral("20"));
}

TEST_F(Vista, LasFilasParesSeVenBandeadas)
{
    g->pColorIntercalado = true;
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    const QImage vista = vistaGrilla();
    const QColor banda = platform::ui::toQColor(0x8000000Fu);
    ASSERT_NE(banda, kFondoGrilla);
    EXPECT_EQ(fondo(vista, 1, 2), kFondoGrilla);
    EXPECT_EQ(fondo(vista, 2, 2), banda);
    EXPECT_EQ(fondo(vista, 3, 2), kFondoGrilla);
    EXPECT_EQ(fondo(vista, 4, 2), banda);
    // The ordinal column is not banded.
    EXPECT_EQ(fondo(vista, 2, 0), platform::ui::toQColor(platform::ui::rgb(230, 230, 230)));
}

TEST_F(Vista, LosAnchosSalenDelTextoMasLargoDeCadaColumna)
{
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    const QFont fuente = grid().font();
    const auto equis = [&](int n) { return platform::ui::textWidthTwips(fuente, QString(n, u'X')); };
    // "Sucursal Norte del Gran Buenos Aires": 36 letters, 600 twips less.
    EXPECT_EQ(grid().ColWidth(2), equis(36) - 600);
    // "revisar": 7 letters, 500 twips more; the heading "ID" is longer than its numbers.
    EXPECT_EQ(grid().ColWidth(3), equis(7) + 500);
    EXPECT_EQ(grid().ColWidth(1), equis(2) + 500);
    // The short column shows its longest text whole.
    const QRect revisar = grid_tests::rectCelda(grid(), 3, 3);
    EXPECT_GT(revisar.width(), QFontMetrics(fuente).horizontalAdvance(QStringLiteral("revisar")));
}

// ------------------------------------------------------------------ the edit box

TEST_F(Vista, SinMarcarLaCeldaLaCajaDeEdicionNoCambiaNingunColor)
{
    g->pColorIntercalado = true;
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    grid().setRow(2);
    grid().setCol(2);
    QLineEdit* edicion = g->TxtEdit;
    edicion->show();
    const QColor fondoCaja = edicion->palette().color(QPalette::Base);
    ASSERT_TRUE(enfocar(edicion));
    EXPECT_EQ(edicion->palette().color(QPalette::Base), fondoCaja);
    EXPECT_FALSE(edicion->font().bold());
    ASSERT_TRUE(enfocar(&grid()));

    // Away from the cell, it shows its band again.
    grid().setRow(3);
    grid().setCol(3);
    const QImage vista = vistaGrilla();
    EXPECT_EQ(fondo(vista, 2, 2), platform::ui::toQColor(0x8000000Fu));
    grid().setRow(2);
    grid().setCol(2);
    EXPECT_FALSE(grid().CellFontBold());
}

// ------------------------------------------------------------------ the page-size box

TEST_F(Vista, ElPrimerClicEnLaFlechaDelTamanoAbreLaLista)
{
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    QComboBox* combo = registros();
    ASSERT_EQ(combo->currentText(), QStringLiteral("2000"));
    QStyleOptionComboBox opcion;
    opcion.initFrom(combo);
    opcion.editable = true;
    const QRect flecha = combo->style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxArrow, combo);
    QTest::mouseClick(combo, Qt::LeftButton, Qt::NoModifier, flecha.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return combo->view()->isVisible(); }));
    // The list opens on the size shown.
    EXPECT_EQ(combo->view()->currentIndex().data().toString(), QStringLiteral("2000"));
    combo->hidePopup();
}

TEST_F(Vista, LasFlechasDelTamanoVanDesdeElValorMostrado)
{
    cargar(QStringLiteral("SELECT ID, Nombre, Nota FROM T"));
    QLineEdit* texto = registros()->lineEdit();
    ASSERT_TRUE(enfocar(texto));
    const auto tecla = [&](Qt::Key k) {
        QTest::keyClick(texto, k);
        return std::make_pair(registros()->currentText(), g->PageSize());
    };
    using Par = std::pair<QString, int32_t>;
    EXPECT_EQ(tecla(Qt::Key_Up), Par(QStringLiteral("1000"), 1000));
    EXPECT_EQ(tecla(Qt::Key_Down), Par(QStringLiteral("2000"), 2000));
    EXPECT_EQ(tecla(Qt::Key_Down), Par(QStringLiteral("2000"), 2000));

    // From a typed size, not yet applied, to the sizes of the list around it.
    ASSERT_TRUE(enfocar(texto));
    texto->selectAll();
    QTest::keyClicks(texto, QStringLiteral("7"));
    EXPECT_EQ(tecla(Qt::Key_Down), Par(QStringLiteral("10"), 10));
    EXPECT_EQ(tecla(Qt::Key_Up), Par(QStringLiteral("5"), 5));
    EXPECT_EQ(tecla(Qt::Key_Up), Par(QStringLiteral("5"), 5));
    EXPECT_EQ(hijo<QLabel>(*g, "lblPaginas")->text(), QStringLiteral(" Página 1 de 1"));
}

} // namespace
