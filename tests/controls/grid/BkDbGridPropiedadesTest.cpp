// The control's stored properties, its menus, its layout and its start.
#include "GridPrueba.h"

#include "platform/ui/ControlError.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/PropertyBag.h"
#include "platform/ui/Twips.h"

#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using controls::BkDbGrid;
using platform::ui::PropertyBag;

QStringList textosMenu(BkDbGrid& g, const char* boton)
{
    QStringList out;
    for (QAction* a : g.findChild<QToolButton*>(QString::fromLatin1(boton))->menu()->actions()) {
        out << a->text();
    }
    return out;
}

TEST(Propiedades, UnControlNuevoYUnoRestauradoTomanSusValores)
{
    BkDbGrid nuevo;
    EXPECT_EQ(nuevo.PageSize(), 4000);
    EXPECT_EQ(nuevo.PrimaryKey(), QStringLiteral("ID"));
    EXPECT_EQ(nuevo.Find(), 2);
    EXPECT_EQ(nuevo.Order(), 1);
    EXPECT_EQ(nuevo.FormatDate(), 103);
    EXPECT_FALSE(nuevo.AnchoColFijo());
    EXPECT_EQ(nuevo.PaginaActual(), 1);
    EXPECT_FALSE(nuevo.isEnabled());

    BkDbGrid restaurado;
    PropertyBag vacio;
    restaurado.ReadProperties(vacio);
    EXPECT_EQ(restaurado.PageSize(), 5);
    EXPECT_TRUE(restaurado.AnchoColFijo());
    EXPECT_EQ(restaurado.FormatDate(), 103);
    EXPECT_FALSE(restaurado.Columnas());
}

TEST(Propiedades, ElSqlGuardaUnBlancoDelanteSoloAlAsignarlo)
{
    BkDbGrid g;
    QStringList cambiadas;
    QObject::connect(&g, &BkDbGrid::PropertyChanged, &g, [&](const QString& n) { cambiadas << n; });
    g.setSql(QStringLiteral("SELECT 1"));
    EXPECT_EQ(g.sql(), QStringLiteral(" SELECT 1"));
    EXPECT_EQ(cambiadas, QStringList{QStringLiteral("SQL")});

    PropertyBag bolsa;
    bolsa.WriteProperty(QStringLiteral("SQL"), QStringLiteral("SELECT 1"));
    BkDbGrid restaurado;
    restaurado.ReadProperties(bolsa);
    EXPECT_EQ(restaurado.sql(), QStringLiteral("SELECT 1"));
}

TEST(Propiedades, FindYOrderMarcanSusMenus)
{
    BkDbGrid g;
    EXPECT_EQ(textosMenu(g, "BUSCAR"), (QStringList{"  Buscar en Página Actual", "  Buscar en todas las Páginas"}));
    g.setFind(1);
    EXPECT_EQ(textosMenu(g, "BUSCAR"), (QStringList{"» Buscar en Página Actual", "Buscar en todas las Páginas"}));
    g.setFind(2);
    EXPECT_EQ(textosMenu(g, "BUSCAR"), (QStringList{"Buscar en Página Actual", "» Buscar en todas las Páginas"}));
    g.setOrder(2);
    EXPECT_EQ(textosMenu(g, "Orden"), (QStringList{"Ordemaniento Individual", "» Ordenamiento Múltiple"}));

    EXPECT_THROW(g.setFind(3), platform::ui::ControlError);
    EXPECT_EQ(g.Find(), 3);

    PropertyBag bolsa;
    bolsa.WriteProperty(QStringLiteral("Order"), 7);
    BkDbGrid restaurado;
    restaurado.ReadProperties(bolsa);
    EXPECT_EQ(restaurado.Order(), 7);
    EXPECT_EQ(textosMenu(restaurado, "BUSCAR"),
              (QStringList{"Buscar en Página Actual", "» Buscar en todas las Páginas"}));
}

TEST(Propiedades, SeGuardanEnSuOrdenYSinLosValoresPorDefecto)
{
    BkDbGrid g;
    g.setOcultarOrdenar(true);
    PropertyBag bolsa;
    g.WriteProperties(bolsa);
    EXPECT_EQ(bolsa.names(),
              (QStringList{"SQL", "PrimaryKey", "PageSize", "AnchoColFijo", "CamposSel", "Campos", "OrdinalSel",
                           "Columnas", "OcultarOrdenar", "OrderBy", "OrdenSent", "FormatDate"}));

    g.setFind(1);
    g.setAlignFilterBar(2);
    PropertyBag otra;
    g.WriteProperties(otra);
    EXPECT_EQ(otra.names().mid(0, 4), (QStringList{"SQL", "PrimaryKey", "Find", "AlignFilterBar"}));

    // OcultarOrdenar is saved but not restored.
    BkDbGrid restaurado;
    restaurado.ReadProperties(bolsa);
    EXPECT_FALSE(restaurado.OcultarOrdenar());
}

TEST(Propiedades, InicializaDejaLaGrillaDeshabilitadaYConElOrdenFijo)
{
    BkDbGrid g;
    g.TxtEdit->setText(QStringLiteral("x"));
    g.TxtEdit->show();
    g.inicializa();
    EXPECT_FALSE(g.isEnabled());
    EXPECT_TRUE(g.TxtEdit->text().isEmpty());
    EXPECT_TRUE(g.TxtEdit->isHidden());
    EXPECT_EQ(g.OrdenSent(), 3);
}

int alto(const QWidget* w)
{
    return w->height() * platform::ui::kTwipsPerPixel;
}

TEST(Disposicion, LaGrillaOcupaElControlMenosLasBarras)
{
    BkDbGrid g;
    g.show();
    g.resize(platform::ui::twipsToPixels(12000), platform::ui::twipsToPixels(9000));
    const QWidget* grilla = g.MsFlexGrid;
    const QWidget* estado = g.findChild<QWidget*>(QStringLiteral("StatusBar1"));
    const QWidget* comandos = g.findChild<QFrame*>(QStringLiteral("FrmComandos"));
    EXPECT_NEAR(alto(grilla), 9000 - 1600 - alto(estado), 15);
    EXPECT_NEAR(grilla->width() * platform::ui::kTwipsPerPixel, 12000 - 100, 15);
    EXPECT_NEAR(comandos->y() * 15, (grilla->y() + grilla->height()) * 15 + 100, 15);
    EXPECT_EQ(g.findChild<QFrame*>(QStringLiteral("FrmFiltros"))->width(), grilla->width());
}

TEST(Disposicion, AlineacionesDesconocidasDejanLaGrillaComoEstaba)
{
    BkDbGrid g;
    g.setAlignCommandBar(7);
    g.setAlignFilterBar(9);
    g.show();
    const QSize antes = g.MsFlexGrid->size();
    g.resize(platform::ui::twipsToPixels(12000), platform::ui::twipsToPixels(9000));
    EXPECT_EQ(g.MsFlexGrid->size(), antes);
    const QWidget* comandos = g.findChild<QFrame*>(QStringLiteral("FrmComandos"));
    EXPECT_NEAR(comandos->y() * 15, (g.MsFlexGrid->y() + g.MsFlexGrid->height()) * 15 + 100, 15);
}

TEST(Disposicion, LaBarraDeFiltrosPuedeIrDebajoDeLaGrilla)
{
    BkDbGrid g;
    g.setAlignFilterBar(2);
    g.show();
    g.resize(platform::ui::twipsToPixels(12000), platform::ui::twipsToPixels(9000));
    const QWidget* filtros = g.findChild<QFrame*>(QStringLiteral("FrmFiltros"));
    EXPECT_NEAR(filtros->y() * 15, alto(g.MsFlexGrid) + 600, 15);
}

} // namespace
