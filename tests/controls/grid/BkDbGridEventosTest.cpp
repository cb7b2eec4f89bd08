// The events the grid passes to its host, with their arguments and the
// host's changes of them taking effect, the marking of the current cell, the
// edit box's restyling, row painting and the selection while dragging.
#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/Twips.h"
#include "support/DemoServer.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using grid_tests::hijo;
using platform::ui::FlexGrid;
using A = controls::BkDbGridAcceso;

constexpr platform::ui::OleColor kMarca = 0xFFFF00u;

// A host that records every event of the grid with its arguments.
struct Anfitrion
{
    explicit Anfitrion(BkDbGrid& g)
    {
        const auto sin = [&](auto senal, const char* nombre) {
            QObject::connect(&g, senal, &g, [this, nombre] { eventos << QString::fromLatin1(nombre); });
        };
        const auto tecla = [this](const char* nombre, int a, int b) {
            eventos << QStringLiteral("%1(%2,%3)").arg(QString::fromLatin1(nombre)).arg(a).arg(b);
        };
        const auto raton = [this](const char* nombre, int b, int s, float x, float y) {
            eventos << QStringLiteral("%1(%2,%3,%4,%5)").arg(QString::fromLatin1(nombre)).arg(b).arg(s).arg(x).arg(y);
        };
        QObject::connect(&g, &BkDbGrid::PaginaCargada, &g,
                         [this](int32_t& n) { eventos << QStringLiteral("PaginaCargada(%1)").arg(n); });
        sin(&BkDbGrid::ColumnasAjustadas, "ColumnasAjustadas");
        sin(&BkDbGrid::MsFlexGridClick, "MsFlexGridClick");
        sin(&BkDbGrid::MsFlexGridDblClick, "MsFlexGridDblClick");
        sin(&BkDbGrid::MsFlexGridGotFocus, "MsFlexGridGotFocus");
        sin(&BkDbGrid::MsFlexGridLostFocus, "MsFlexGridLostFocus");
        sin(&BkDbGrid::MsFlexGridEnterCell, "MsFlexGridEnterCell");
        QObject::connect(&g, &BkDbGrid::MSFlexGridKeyDown, &g,
                         [=](int& k, int& s) { tecla("MSFlexGridKeyDown", k, s); });
        QObject::connect(&g, &BkDbGrid::MSFlexGridKeyPress, &g,
                         [this](int& k) { eventos << QStringLiteral("MSFlexGridKeyPress(%1)").arg(k); });
        sin(&BkDbGrid::MSFlexGridLeaveCell, "MSFlexGridLeaveCell");
        QObject::connect(&g, &BkDbGrid::MSFlexGridMouseDown, &g,
                         [=](int& b, int& s, float& x, float& y) { raton("MSFlexGridMouseDown", b, s, x, y); });
        sin(&BkDbGrid::MSFlexGridRowColChange, "MSFlexGridRowColChange");
        QObject::connect(&g, &BkDbGrid::MSFlexGridKeyUp, &g, [=](int& k, int& s) { tecla("MSFlexGridKeyUp", k, s); });
        sin(&BkDbGrid::txtEditChange, "txtEditChange");
        sin(&BkDbGrid::txtEditClick, "txtEditClick");
        sin(&BkDbGrid::txtEditDblClick, "txtEditDblClick");
        sin(&BkDbGrid::txtEditGotFocus, "txtEditGotFocus");
        sin(&BkDbGrid::txtEditLostFocus, "txtEditLostFocus");
        QObject::connect(&g, &BkDbGrid::txtEditKeyDown, &g, [=](int& k, int& s) { tecla("txtEditKeyDown", k, s); });
        QObject::connect(&g, &BkDbGrid::txtEditKeyPress, &g,
                         [this](int& k) { eventos << QStringLiteral("txtEditKeyPress(%1)").arg(k); });
        QObject::connect(&g, &BkDbGrid::txtEditMouseDown, &g,
                         [=](int& b, int& s, float& x, float& y) { raton("txtEditMouseDown", b, s, x, y); });
    }
    // The events recorded since the last call, and a fresh start.
    QStringList tomar() { return std::exchange(eventos, {}); }

    QStringList eventos;
};

class Eventos : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g = grid_tests::grillaConectada(testing_support::demoServer(), 5,
                                        QStringLiteral("SELECT * FROM V_MV_PreciosHis WHERE ID <= 11"));
        anfitrion = std::make_unique<Anfitrion>(*g);
        QApplication::setActiveWindow(g.get());
    }
    FlexGrid& grid() { return *g->MsFlexGrid; }
    // The middle of a cell on the inner grid's viewport.
    QPoint centro(int fila, int col)
    {
        QWidget* v = grid().viewport();
        int x = -1;
        int y = -1;
        for (int px = 0; px < v->width() && x < 0; ++px) {
            if (grid().colAt(px) == col) {
                x = px + 3;
            }
        }
        for (int py = 0; py < v->height() && y < 0; ++py) {
            if (grid().rowAt(py) == fila) {
                y = py + 3;
            }
        }
        return QPoint(x, y);
    }
    bool enfocar(QWidget* w)
    {
        w->setFocus();
        return QTest::qWaitFor([w] { return w->hasFocus(); });
    }
    bool marcada(int fila, int col)
    {
        grid().setRow(fila);
        grid().setCol(col);
        return grid().CellBackColor() == kMarca && grid().CellFontBold();
    }

    // The host outlives the grid, whose last events it still hears.
    std::unique_ptr<Anfitrion> anfitrion;
    std::unique_ptr<BkDbGrid> g;
};

TEST_F(Eventos, ElAnfitrionRecibeLosEventosDeLaGrillaConSusArgumentos)
{
    g->LoadBkDBGrid();
    EXPECT_TRUE(anfitrion->tomar().contains(QStringLiteral("PaginaCargada(1)")));
    hijo<QToolButton>(*g, "AJUSTACOL")->click();
    EXPECT_EQ(anfitrion->tomar(), (QStringList{"ColumnasAjustadas"}));

    // The load gave the inner grid the focus.
    ASSERT_TRUE(enfocar(hijo<QLineEdit>(*g, "txtBuscar")));
    EXPECT_EQ(anfitrion->tomar(), (QStringList{"MsFlexGridLostFocus"}));
    ASSERT_TRUE(enfocar(&grid()));
    EXPECT_EQ(anfitrion->tomar(), (QStringList{"MsFlexGridGotFocus"}));

    const QPoint p = centro(2, 3);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, p);
    const QPoint enControl = grid().viewport()->mapTo(&grid(), p);
    EXPECT_EQ(
        anfitrion->tomar(),
        (QStringList{QStringLiteral("MSFlexGridMouseDown(1,0,%1,%2)").arg(enControl.x() * 15).arg(enControl.y() * 15),
                     "MSFlexGridLeaveCell", "MsFlexGridEnterCell", "MSFlexGridRowColChange", "MsFlexGridClick"}));
    EXPECT_EQ(grid().Row(), 2);
    EXPECT_EQ(grid().Col(), 3);

    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_TRUE(anfitrion->tomar().contains(QStringLiteral("MsFlexGridDblClick")));

    QTest::keyClick(&grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(anfitrion->tomar(), (QStringList{"MSFlexGridKeyDown(16,1)", "MSFlexGridKeyDown(40,1)",
                                               "MSFlexGridKeyUp(40,1)", "MSFlexGridKeyUp(16,0)"}));
    QTest::keyClick(&grid(), Qt::Key_A);
    EXPECT_EQ(anfitrion->tomar(),
              (QStringList{"MSFlexGridKeyDown(65,0)", "MSFlexGridKeyPress(97)", "MSFlexGridKeyUp(65,0)"}));

    // The column search of a Right key enters the cell, and the grid's own move once more.
    QTest::keyClick(&grid(), Qt::Key_Right);
    EXPECT_EQ(anfitrion->tomar().count(QStringLiteral("MsFlexGridEnterCell")), 2);
}

TEST_F(Eventos, LosCambiosDelAnfitrionLleganALaGrilla)
{
    QObject::connect(g.get(), &BkDbGrid::PaginaCargada, g.get(), [](int32_t& n) {
        if (n == 1) {
            n = 3;
        }
    });
    QObject::connect(g.get(), &BkDbGrid::MSFlexGridKeyDown, g.get(), [](int& k, int&) {
        if (k == platform::ui::keys::Down) {
            k = platform::ui::keys::Right;
        }
    });
    g->LoadBkDBGrid();
    // The page the host gave is the current one: "previous" shows page 2.
    EXPECT_EQ(g->PaginaActual(), 3);
    hijo<QPushButton>(*g, "cmdAnterior")->click();
    EXPECT_EQ(g->PaginaActual(), 2);
    EXPECT_EQ(grid().TextMatrix(1, 0), QStringLiteral("6"));

    // Down handled as Right by the inner grid.
    grid().setRow(1);
    grid().setCol(1);
    QTest::keyClick(&grid(), Qt::Key_Down);
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_EQ(grid().Col(), 2);
}

TEST_F(Eventos, LaCajaDeEdicionPasaSusEventosYTeclasCambiadas)
{
    g->LoadBkDBGrid();
    QLineEdit* caja = g->TxtEdit;
    caja->show();
    QObject::connect(g.get(), &BkDbGrid::txtEditKeyPress, g.get(), [](int& k) {
        if (k == 'a') {
            k = 'A';
        } else if (k == 'x') {
            k = 0;
        }
    });
    QObject::connect(g.get(), &BkDbGrid::txtEditKeyDown, g.get(), [](int& k, int&) {
        if (k == platform::ui::keys::Left) {
            k = 0;
        }
    });
    anfitrion->tomar();
    ASSERT_TRUE(enfocar(caja));
    EXPECT_EQ(anfitrion->tomar(), (QStringList{"MsFlexGridLostFocus", "txtEditGotFocus"}));

    QTest::keyClicks(caja, QStringLiteral("axb"));
    EXPECT_EQ(caja->text(), QStringLiteral("Ab"));
    EXPECT_EQ(anfitrion->tomar(),
              (QStringList{"txtEditKeyDown(65,0)", "txtEditKeyPress(97)", "txtEditChange", "txtEditKeyDown(88,0)",
                           "txtEditKeyPress(120)", "txtEditKeyDown(66,0)", "txtEditKeyPress(98)", "txtEditChange"}));
    // Left set to 0 by the host: the cursor stays.
    QTest::keyClick(caja, Qt::Key_Left);
    EXPECT_EQ(caja->cursorPosition(), 2);
    QTest::keyClick(caja, Qt::Key_Home);
    EXPECT_EQ(caja->cursorPosition(), 0);
    anfitrion->tomar();

    // Every mouse movement, with the buttons held; X and Y in twips.
    QMouseEvent mover(QEvent::MouseMove, QPointF(4, 3), caja->mapToGlobal(QPointF(4, 3)), Qt::NoButton, Qt::LeftButton,
                      Qt::ShiftModifier);
    QApplication::sendEvent(caja, &mover);
    EXPECT_EQ(anfitrion->tomar(), (QStringList{"txtEditMouseDown(1,1,60,45)"}));

    QTest::mouseClick(caja, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    EXPECT_EQ(anfitrion->tomar().count(QStringLiteral("txtEditClick")), 1);
    // A double click as the platform delivers it: a click, the double click and its release.
    QTest::mouseClick(caja, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    QTest::mouseDClick(caja, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    QTest::mouseRelease(caja, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    const QStringList doble = anfitrion->tomar();
    EXPECT_EQ(doble.count(QStringLiteral("txtEditDblClick")), 1);
    EXPECT_EQ(doble.count(QStringLiteral("txtEditClick")), 1) << doble.join(u' ').toStdString();

    ASSERT_TRUE(enfocar(&grid()));
    EXPECT_TRUE(anfitrion->tomar().contains(QStringLiteral("txtEditLostFocus")));
}

TEST_F(Eventos, LaCajaDeEdicionTomaElRealceDeLaCelda)
{
    g->pPintaFilaSel = true;
    g->LoadBkDBGrid();
    QLineEdit* caja = g->TxtEdit;
    caja->show();
    grid().setRow(1);
    grid().setCol(2);
    ASSERT_TRUE(marcada(1, 2));
    ASSERT_TRUE(enfocar(caja));
    EXPECT_FALSE(grid().CellFontBold());
    EXPECT_EQ(grid().CellBackColor(), 0xFFFFFFu);
    EXPECT_EQ(caja->palette().color(QPalette::Base), platform::ui::toQColor(kMarca));
    EXPECT_TRUE(caja->font().bold());
    ASSERT_TRUE(enfocar(&grid()));
    EXPECT_EQ(caja->palette().color(QPalette::Base), platform::ui::toQColor(0xFFFFFFu));
    EXPECT_FALSE(caja->font().bold());
}

TEST_F(Eventos, LaCeldaActualSeMarcaSoloSiSePide)
{
    g->LoadBkDBGrid();
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, centro(2, 3));
    EXPECT_EQ(grid().CellBackColor(), 0u);

    g->pPintaFilaSel = true;
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, centro(3, 3));
    EXPECT_TRUE(marcada(3, 3));
    grid().setRow(3);
    grid().setCol(3);
    QTest::keyClick(&grid(), Qt::Key_Down);
    EXPECT_EQ(grid().Row(), 4);
    // Read without marking what the reading moves over.
    g->pPintaFilaSel = false;
    EXPECT_TRUE(marcada(4, 3));
    grid().setRow(3);
    EXPECT_EQ(grid().CellBackColor(), 0xFFFFFFu);
    EXPECT_FALSE(grid().CellFontBold());
}

TEST_F(Eventos, MarcarFilaDejaElRedibujoQueTeniaLaGrilla)
{
    g->LoadBkDBGrid();
    grid().setRedraw(false);
    A::marcarFila(*g, 3);
    EXPECT_FALSE(grid().Redraw());
    grid().setRedraw(true);
}

TEST_F(Eventos, MarcarFilaPintaSusCeldasSinMoverElCursor)
{
    g->LoadBkDBGrid();
    grid().setRow(1);
    grid().setCol(2);
    anfitrion->tomar();
    A::marcarFila(*g, 3);
    EXPECT_TRUE(anfitrion->tomar().isEmpty());
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_EQ(grid().Col(), 2);
    EXPECT_TRUE(grid().Redraw());
    for (int c = 0; c < grid().Cols(); ++c) {
        grid().setRow(3);
        grid().setCol(c);
        EXPECT_EQ(grid().CellBackColor(), c == 0 ? 0u : 0xC0C0C0u) << c;
    }
    A::desmarcarFila(*g, 3);
    grid().setRow(3);
    grid().setCol(4);
    EXPECT_EQ(grid().CellBackColor(), 0xFFFFFFu);
}

TEST_F(Eventos, AlArrastrarSobreLaGrillaLaSeleccionVuelveALaCelda)
{
    g->LoadBkDBGrid();
    grid().setRow(2);
    grid().setCol(2);
    grid().setRowSel(4);
    grid().setColSel(5);
    QMimeData datos;
    QDragEnterEvent entrada(centro(4, 4), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid().viewport(), &entrada);
    EXPECT_EQ(grid().RowSel(), 2);
    EXPECT_EQ(grid().ColSel(), 2);

    grid().setRowSel(4);
    grid().setColSel(5);
    QDragMoveEvent arrastre(centro(4, 5), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid().viewport(), &arrastre);
    EXPECT_EQ(grid().RowSel(), 2);
    EXPECT_EQ(grid().ColSel(), 2);
    // Nothing can be dropped on the grid.
    EXPECT_FALSE(arrastre.isAccepted());
}

} // namespace
