// The grid's two tool bars: every button shows its own icon alone, named by
// its tool tip, and has room in its bar at the design size; the drop-down
// arrows of "BUSCAR" and "Orden" open their menus, and an entry chosen there
// sets the mode.
#include "GridPrueba.h"

#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QMenu>
#include <QStyleOptionToolButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using grid_tests::hijo;
using grid_tests::u8;

struct BotonEsperado
{
    const char* barra;
    const char* clave;
    const char* ayuda;
    bool conMenu;
};

const BotonEsperado kBotones[] = {
    {"Toolbar1", "BUSCAR", "Buscar", true},
    {"Toolbar1", "ACTUALIZAR", "Actualizar", false},
    {"Toolbar1", "AJUSTACOL", "Ajustar Columnas", false},
    {"Toolbar1", "Excel", "Exportar a Excel", false},
    {"Toolbar2", "Orden", "Opciones de Ordenamiento", true},
};

TEST(BarrasDeHerramientas, CadaBotonMuestraSuIconoSoloYCabeEnSuBarra)
{
    const testing_support::DesignFonts fuentes;
    BkDbGrid g;
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QList<QImage> iconos;
    for (const BotonEsperado& b : kBotones) {
        SCOPED_TRACE(b.clave);
        auto* barra = hijo<QToolBar>(g, b.barra);
        auto* boton = hijo<QToolButton>(g, b.clave);
        ASSERT_TRUE(barra && boton);
        EXPECT_EQ(boton->parentWidget(), barra);
        EXPECT_EQ(boton->toolTip(), u8(b.ayuda));
        EXPECT_EQ(boton->toolButtonStyle(), Qt::ToolButtonIconOnly);
        ASSERT_FALSE(boton->icon().isNull());
        EXPECT_EQ(boton->iconSize(), QSize(16, 16));
        iconos << boton->icon().pixmap(16, 16).toImage();
        EXPECT_EQ(boton->popupMode() == QToolButton::MenuButtonPopup, b.conMenu);
        // Shown whole inside its bar, not put away behind the bar's overflow arrow.
        EXPECT_TRUE(boton->isVisible());
        EXPECT_TRUE(barra->rect().contains(boton->geometry())) << boton->geometry().x() << "+" << boton->width();
        const auto* desborde = barra->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        EXPECT_TRUE(desborde == nullptr || !desborde->isVisible());
    }
    // Five pictures, no two alike.
    for (qsizetype i = 0; i < iconos.size(); ++i) {
        for (qsizetype j = i + 1; j < iconos.size(); ++j) {
            EXPECT_NE(iconos.at(i), iconos.at(j)) << kBotones[i].clave << " " << kBotones[j].clave;
        }
    }
    const QStringList cortados = testing_support::cutTexts(&g);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join(u'\n').toStdString();
}

// Clicks the drop-down arrow of a menu button; once the menu is up, records
// its entries and chooses the one at `entrada` (0-based) with the keyboard.
QStringList elegirEnElMenu(QToolButton& boton, int entrada)
{
    QStringList vistas;
    QTimer::singleShot(0, qApp, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            return;
        }
        for (QAction* a : menu->actions()) {
            vistas << a->text();
        }
        for (int i = 0; i <= entrada; ++i) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QStyleOptionToolButton opcion;
    opcion.initFrom(&boton);
    opcion.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
    opcion.features = QStyleOptionToolButton::MenuButtonPopup;
    const QRect flecha =
        boton.style()->subControlRect(QStyle::CC_ToolButton, &opcion, QStyle::SC_ToolButtonMenu, &boton);
    QTest::mouseClick(&boton, Qt::LeftButton, {}, flecha.center());
    return vistas;
}

TEST(BarrasDeHerramientas, LasFlechasAbrenLosMenusYEligenElModo)
{
    BkDbGrid g;
    g.setEnabled(true);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    auto* buscar = hijo<QToolButton>(g, "BUSCAR");
    auto* orden = hijo<QToolButton>(g, "Orden");
    ASSERT_TRUE(buscar && orden);

    EXPECT_EQ(elegirEnElMenu(*buscar, 0),
              (QStringList{u8("  Buscar en Página Actual"), u8("  Buscar en todas las Páginas")}));
    EXPECT_EQ(g.Find(), 1);
    EXPECT_EQ(elegirEnElMenu(*orden, 1), (QStringList{u8("  Ordemaniento Individual"), u8("  Ordenamiento Múltiple")}));
    EXPECT_EQ(g.Order(), 2);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

} // namespace
