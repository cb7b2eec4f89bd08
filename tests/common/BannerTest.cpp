#include "common/Dll_Display.h"
#include "common/Lbf_CtrlDisplay.h"
#include "platform/core/Runtime.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using common::Dll_Display;
using common::Lbf_CtrlDisplay;
using platform::Variant;

namespace {

QStringList lineas(const Lbf_CtrlDisplay& w)
{
    return {w.LblCtrol[0]->text(), w.LblCtrol[1]->text(), w.LblCtrol[2]->text()};
}

void tick(Lbf_CtrlDisplay& w)
{
    QMetaObject::invokeMethod(w.Timer1, "timeout");
}

int visibleBanners()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("Lbf_CtrlDisplay") && w->isVisible()) {
            ++n;
        }
    }
    return n;
}

} // namespace

TEST(Banner, StartShowsTheWindowAnimatingWithItsTitle)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Conectando Base de Datos"), false);
    Lbf_CtrlDisplay* w = b.ventana();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Conectando Base de Datos"));
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 100);
    EXPECT_NEAR(w->windowOpacity(), 200.0 / 255.0, 0.01);
    EXPECT_EQ(w->imagenActual(), 1);
    EXPECT_EQ(w->ImageList1().size(), 12);
    EXPECT_TRUE(w->CmdDisplayCancelar->isHidden());
    b.CartelCerrar();
}

TEST(Banner, ShowsItsThreeLinesAndKeepsTheLinesNotGiven)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Procesando"), true);
    Lbf_CtrlDisplay* w = b.ventana();
    ASSERT_NE(w, nullptr);
    bool cancelado = true;
    b.CartelMostrar(cancelado, QStringLiteral("Iniciando Aplicacion"), QStringLiteral("CorrigePrecios"),
                    QStringLiteral("Espere por favor"));
    EXPECT_FALSE(cancelado);
    EXPECT_EQ(lineas(*w), QStringList({"Iniciando Aplicacion", "CorrigePrecios", "Espere por favor"}));

    b.CartelMostrar(cancelado, std::nullopt, QStringLiteral("12 de 40"));
    EXPECT_EQ(lineas(*w), QStringList({"Iniciando Aplicacion", "12 de 40", "Espere por favor"}));

    b.CartelMostrar(cancelado, Variant::null(), std::nullopt, Variant(41));
    EXPECT_EQ(lineas(*w), QStringList({"", "12 de 40", "41"}));
    b.CartelCerrar();
    EXPECT_EQ(b.ventana(), nullptr);
    EXPECT_EQ(visibleBanners(), 0);
}

TEST(Banner, CancelDuringARunIsReportedAsAbortadoUntilClosed)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Exportando a Excel"), true);
    QPushButton* cancelar = b.ventana()->CmdDisplayCancelar;
    EXPECT_EQ(cancelar->text(), QStringLiteral("&Cancelar"));
    EXPECT_FALSE(cancelar->isHidden());

    // The operator clicks while the task polls the banner row by row.
    QTimer::singleShot(0, cancelar, [cancelar] { QTest::mouseClick(cancelar, Qt::LeftButton); });
    bool cancelado = false;
    int filas = 0;
    while (!cancelado && filas < 1000) {
        b.CartelMostrar(cancelado, QStringLiteral("Exportando a Excel"), QStringLiteral("Espere Por Favor"),
                        QString::number(filas));
        ++filas;
    }
    EXPECT_TRUE(cancelado);
    EXPECT_LT(filas, 1000);
    EXPECT_EQ(cancelar->text(), QStringLiteral("Abortado"));

    for (int i = 0; i < 3; ++i) {
        cancelado = false;
        b.CartelMostrar(cancelado);
        EXPECT_TRUE(cancelado);
    }
    b.CartelCerrar();
}

TEST(Banner, WithoutCancelNothingReportsCancelled)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Procesando"), false);
    bool cancelado = true;
    for (int i = 0; i < 5; ++i) {
        b.CartelMostrar(cancelado, QString::number(i));
        EXPECT_FALSE(cancelado);
    }
    EXPECT_TRUE(b.ventana()->CmdDisplayCancelar->isHidden());
    b.CartelCerrar();
}

TEST(Banner, AnimationStepsThroughImagesOneToTwelveAndRepeats)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Procesando"), false);
    Lbf_CtrlDisplay& w = *b.ventana();
    QList<int> shown;
    for (int i = 0; i < 14; ++i) {
        tick(w);
        shown.append(w.imagenActual());
    }
    EXPECT_EQ(shown, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2}));
    // And the timer really drives it.
    EXPECT_TRUE(QTest::qWaitFor([&w] { return w.imagenActual() != 2; }, 3000));
    b.CartelCerrar();
}

TEST(Banner, EveryRunGetsAFreshlyLoadedBanner)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Primera"), true);
    bool cancelado = false;
    b.CartelMostrar(cancelado, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    tick(*b.ventana());
    tick(*b.ventana());
    b.ventana()->CmdDisplayCancelar->click();
    b.CartelCerrar();

    b.CartelInicio(QStringLiteral("Segunda"), true);
    Lbf_CtrlDisplay* w = b.ventana();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->imagenActual(), 1);
    EXPECT_EQ(w->CmdDisplayCancelar->text(), QStringLiteral("&Cancelar"));
    EXPECT_EQ(lineas(*w), QStringList({"", "", ""}));
    b.CartelMostrar(cancelado);
    EXPECT_FALSE(cancelado);
    EXPECT_EQ(visibleBanners(), 1);
    b.CartelCerrar();
}

TEST(Banner, CloseWithoutARunningBannerLeavesNoWindow)
{
    Dll_Display b;
    b.CartelCerrar();
    EXPECT_EQ(b.ventana(), nullptr);
    EXPECT_EQ(visibleBanners(), 0);
}

TEST(Banner, StayOnTopKeepsPositionAndSize)
{
    Dll_Display b;
    b.CartelInicio(QStringLiteral("Procesando"), false);
    const QRect before = b.ventana()->geometry();
    b.Siempre_Visible(true);
    EXPECT_TRUE(b.ventana()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(b.ventana()->isVisible());
    EXPECT_EQ(b.ventana()->geometry(), before);
    b.Siempre_Visible(false);
    EXPECT_FALSE(b.ventana()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(b.ventana()->geometry(), before);
    b.CartelCerrar();
}

TEST(Banner, HostActionsThatStartARunAreDisabledWhileItRuns)
{
    QWidget host;
    auto* cmdCorregir = new QPushButton(QStringLiteral("&Corregir precios"), &host);
    auto* cmdCargar = new QPushButton(QStringLiteral("&Cargar"), &host);
    auto* cmdYaInactivo = new QPushButton(QStringLiteral("&Borrar marca modificado"), &host);
    auto* cmdSalir = new QPushButton(QStringLiteral("&Salir"), &host);
    auto* accion = new QAction(QStringLiteral("Exportar"), &host);
    cmdYaInactivo->setEnabled(false);

    Dll_Display b;
    b.BloquearMientrasCorre(cmdCorregir);
    b.BloquearMientrasCorre(cmdCargar);
    b.BloquearMientrasCorre(cmdYaInactivo);
    b.BloquearMientrasCorre(accion);

    b.CartelInicio(QStringLiteral("Procesando"), true);
    EXPECT_FALSE(cmdCorregir->isEnabled());
    EXPECT_FALSE(cmdCargar->isEnabled());
    EXPECT_FALSE(accion->isEnabled());
    EXPECT_TRUE(cmdSalir->isEnabled());

    // Starting again underneath keeps what the host had before the first start.
    b.CartelInicio(QStringLiteral("Procesando"), true);
    delete cmdCargar;
    b.CartelCerrar();
    EXPECT_TRUE(cmdCorregir->isEnabled());
    EXPECT_TRUE(accion->isEnabled());
    EXPECT_FALSE(cmdYaInactivo->isEnabled());

    // Registrations stay for the next run; one registered mid-run is locked at once.
    b.CartelInicio(QStringLiteral("Otra"), false);
    EXPECT_FALSE(cmdCorregir->isEnabled());
    b.BloquearMientrasCorre(cmdSalir);
    EXPECT_FALSE(cmdSalir->isEnabled());
    b.CartelCerrar();
    EXPECT_TRUE(cmdCorregir->isEnabled());
    EXPECT_TRUE(cmdSalir->isEnabled());
}

TEST(Banner, ProgramWideBannerIsDroppedWithTheProgramsContext)
{
    QPushButton cmdCorregir;
    common::Dll_Display& cartel = common::CartelEspera();
    EXPECT_EQ(&cartel, &common::CartelEspera());
    cartel.BloquearMientrasCorre(&cmdCorregir);
    cartel.CartelInicio(QStringLiteral("Conectando Base de Datos"), false);
    EXPECT_FALSE(cmdCorregir.isEnabled());
    EXPECT_EQ(visibleBanners(), 1);

    platform::Runtime::instance().reset();
    EXPECT_EQ(visibleBanners(), 0);
    EXPECT_TRUE(cmdCorregir.isEnabled());
    EXPECT_EQ(common::CartelEspera().ventana(), nullptr);
}
