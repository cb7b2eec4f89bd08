// The timed message box: asked through the operator, and shown by the
// program's operator as a FrmMsgBox.
#include "common/FrmMsgBox.h"
#include "common/MsgBoxTemporal.h"
#include "common/ProgramOperator.h"
#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/ParamName.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>

using common::FrmMsgBox;

namespace {

// The box as the program shows it.
void MostrarMensajeTemporal(const QString& mensaje, int estilo, const QString& titulo, int espera)
{
    common::ProgramOperator().TimedMsgBox(mensaje, estilo, titulo, espera);
}

FrmMsgBox* shownBox()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<FrmMsgBox*>(w); box && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

// What the box looked like while it was up; recorded inside the box's own
// event loop and checked after it returned.
struct Seen
{
    bool shown = false;
    bool modal = false;
    QString caption;
    QString message;
    int visibleIcon = -1;
    int visibleIcons = 0;
    bool timerActive = false;
    int timerInterval = 0;
    QString button;
};

bool boxLoading()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<FrmMsgBox*>(w)) {
            return true;
        }
    }
    return false;
}

// Runs `act` on the shown box once its modal loop is running. The box's
// styling yields to pending events while it loads, before that loop starts;
// a call that comes then looks again from the loop.
void whenShown(Seen& seen, std::function<void(FrmMsgBox&)> act)
{
    QTimer::singleShot(0, qApp, [&seen, act = std::move(act)]() mutable {
        if (QThread::currentThread()->loopLevel() == 0 && boxLoading()) {
            whenShown(seen, std::move(act));
            return;
        }
        FrmMsgBox* box = shownBox();
        if (!box) {
            return;
        }
        seen.shown = true;
        seen.modal = box->isModal() || box->windowModality() != Qt::NonModal;
        seen.caption = box->windowTitle();
        seen.message = box->LblMensaje->text();
        for (int i = 0; i < 5; ++i) {
            if (!box->Image1[i]->isHidden()) {
                seen.visibleIcon = i;
                ++seen.visibleIcons;
            }
        }
        seen.timerActive = box->tmrEspera->isActive();
        seen.timerInterval = box->tmrEspera->interval();
        seen.button = box->CmdAceptar->text();
        act(*box);
    });
}

void clickAceptar(FrmMsgBox& box)
{
    QTest::mouseClick(box.CmdAceptar, Qt::LeftButton);
}

} // namespace

TEST(TimedMessageBox, IsAskedThroughTheOperatorWithItsStyleTitleAndWait)
{
    auto& op = testing_support::scriptedOperator();
    op.answerTimedMsgBox(QStringLiteral("Corrección finalizada"));
    common::MostrarMensajeTemporal(QStringLiteral("Corrección finalizada con errores."), 48, QStringLiteral("ATENCION"),
                                   5);
    ASSERT_EQ(op.asked().size(), 1);
    const auto& pregunta = op.asked()[0];
    EXPECT_EQ(pregunta.kind, testing_support::ScriptedOperator::Kind::TimedMsgBox);
    EXPECT_EQ(pregunta.prompt, QStringLiteral("Corrección finalizada con errores."));
    EXPECT_EQ(pregunta.title, QStringLiteral("ATENCION"));
    EXPECT_EQ(pregunta.style, 48);
    EXPECT_EQ(pregunta.wait, 5);
    EXPECT_EQ(shownBox(), nullptr);
}

TEST(TimedMessageBox, WithoutAWaitStaysUntilAceptar)
{
    Seen seen;
    whenShown(seen, clickAceptar);
    MostrarMensajeTemporal(QStringLiteral("Corrección finalizada con éxito."), 0, QStringLiteral("ATENCION"), 0);
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.caption, QStringLiteral("ATENCION"));
    EXPECT_EQ(seen.message, QStringLiteral("Corrección finalizada con éxito."));
    EXPECT_EQ(seen.button, QStringLiteral("&Aceptar"));
    EXPECT_FALSE(seen.timerActive);
    EXPECT_EQ(shownBox(), nullptr);
}

TEST(TimedMessageBox, ClosesByItselfAfterItsWait)
{
    Seen seen;
    bool hadToClick = false;
    whenShown(seen, [](FrmMsgBox&) {});
    // A guard, so that a box that never closes fails the test instead of hanging it.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&hadToClick] {
        if (FrmMsgBox* box = shownBox()) {
            hadToClick = true;
            box->CmdAceptar->click();
        }
    });
    guard.start(10000);
    MostrarMensajeTemporal(QStringLiteral("Proceso terminado"), 64, QStringLiteral("Aviso"), 1);
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.timerActive);
    EXPECT_EQ(seen.timerInterval, 1000);
    EXPECT_FALSE(hadToClick);
    EXPECT_EQ(shownBox(), nullptr);
}

TEST(TimedMessageBox, AceptarDuringATimedWaitClosesAtOnce)
{
    Seen seen;
    whenShown(seen, clickAceptar);
    MostrarMensajeTemporal(QStringLiteral("Espere"), 48, QStringLiteral("Aviso"), 600);
    EXPECT_TRUE(seen.timerActive);
    EXPECT_EQ(shownBox(), nullptr);
}

struct WaitCase
{
    int espera;
    bool timed;
    int intervalMs;
};

void PrintTo(const WaitCase& c, std::ostream* os)
{
    *os << "Espera " << c.espera;
}

class TimedMessageBoxWait : public ::testing::TestWithParam<WaitCase>
{
};

TEST_P(TimedMessageBoxWait, WaitsEsperaSecondsWhateverTheClock)
{
    const WaitCase c = GetParam();
    // Two seconds before midnight: a wait measured by a timer ends on time.
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2025, 1, 15), QTime(23, 59, 58)); });
    Seen seen;
    bool closedByItself = false;
    whenShown(seen, [&closedByItself](FrmMsgBox& box) {
        if (box.tmrEspera->isActive()) {
            // Run the wait out now rather than in real time.
            QMetaObject::invokeMethod(box.tmrEspera, "timeout");
            closedByItself = !box.isVisible();
        }
        if (box.isVisible()) {
            box.CmdAceptar->click();
        }
    });
    MostrarMensajeTemporal(QStringLiteral("Mensaje"), 0, QStringLiteral("Aviso"), c.espera);
    EXPECT_EQ(seen.timerActive, c.timed);
    EXPECT_EQ(closedByItself, c.timed);
    if (c.timed) {
        EXPECT_EQ(seen.timerInterval, c.intervalMs);
    }
    EXPECT_EQ(shownBox(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Waits, TimedMessageBoxWait,
                         ::testing::Values(WaitCase{0, false, 0}, WaitCase{-5, false, 0}, WaitCase{5, true, 5000},
                                           WaitCase{40, true, 40000}),
                         [](const ::testing::TestParamInfo<WaitCase>& caso) {
                             const int espera = caso.param.espera;
                             return (espera < 0 ? "WaitMinus" : "Wait") + std::to_string(std::abs(espera));
                         });

struct IconCase
{
    int style;
    int icon;
};

void PrintTo(const IconCase& c, std::ostream* os)
{
    *os << "estilo " << c.style;
}

class TimedMessageBoxIcon : public ::testing::TestWithParam<IconCase>
{
};

TEST_P(TimedMessageBoxIcon, StyleChoosesOneIcon)
{
    Seen seen;
    whenShown(seen, clickAceptar);
    MostrarMensajeTemporal(QStringLiteral("Mensaje"), GetParam().style, QStringLiteral("Aviso"), 0);
    EXPECT_EQ(seen.visibleIcons, 1);
    EXPECT_EQ(seen.visibleIcon, GetParam().icon);
}

INSTANTIATE_TEST_SUITE_P(Styles, TimedMessageBoxIcon,
                         ::testing::Values(IconCase{16, 0}, IconCase{64, 1}, IconCase{32, 2}, IconCase{48, 3},
                                           IconCase{20, 4}, IconCase{0, 4}, IconCase{65, 4}),
                         [](const ::testing::TestParamInfo<IconCase>& caso) {
                             return "Style" + std::to_string(caso.param.style);
                         });

TEST(TimedMessageBox, AceptarEmptiesTheMessageAndActualizarLeyendaRefillsIt)
{
    FrmMsgBox box;
    box.Titulo = QStringLiteral("Aviso");
    box.mensaje = QStringLiteral("Hola");
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Aviso"));
    EXPECT_EQ(box.LblMensaje->text(), QStringLiteral("Hola"));
    box.CmdAceptar->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.LblMensaje->text(), QString());

    box.Titulo = QStringLiteral("Otro");
    box.mensaje = QStringLiteral("Otra vez");
    box.ActualizarLeyenda();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Otro"));
    EXPECT_EQ(box.LblMensaje->text(), QStringLiteral("Otra vez"));
}

// The longest message the correction run writes at its end: stopped part-way,
// with rows left unexamined and the error log, here in a deep folder.
QString mensajeMasLargo()
{
    return QStringLiteral(
        "La corrección se detuvo: no se pudo leer el precio anterior del artículo 100045 ([Microsoft][ODBC Driver "
        "17 for SQL Server]TCP Provider: Se ha forzado la interrupción de una conexión existente por el host "
        "remoto.).\r\nFilas del historial: 128400. Precios modificados: 118730. Sin cambios: 5120. Omitidos: 2310. "
        "No se pudieron modificar: 17. Sin revisar: 2223.\r\nLos artículos omitidos y los que no se pudieron "
        "modificar figuran, con el motivo, en /home/administracion/CorreccionDePreciosDeLaSucursalCasaCentral/"
        "BKERR.LOG.");
}

// The pixels dark enough to be text, as a mask cut to their bounding box.
QImage tinta(const QImage& imagen, const QRect& area)
{
    QRect caja;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(imagen.pixel(x, y)) < 110) {
                caja |= QRect(x, y, 1, 1);
            }
        }
    }
    QImage mascara(caja.size(), QImage::Format_Mono);
    mascara.fill(0);
    for (int y = 0; y < caja.height(); ++y) {
        for (int x = 0; x < caja.width(); ++x) {
            mascara.setPixel(x, y, qGray(imagen.pixel(caja.left() + x, caja.top() + y)) < 110 ? 1 : 0);
        }
    }
    return mascara;
}

TEST(TimedMessageBox, ShowsTheWholeOfTheLongestMessageWithinItsWindow)
{
    const testing_support::DesignFonts fuentes;
    FrmMsgBox box;
    box.Titulo = QStringLiteral("ATENCION");
    box.mensaje = mensajeMasLargo();
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QApplication::processEvents();
    const QImage vista = box.grab().toImage();

    // The same text laid out whole, in the label's font and colours, at the
    // label's width and free to run past it.
    const int ancho = box.LblMensaje->width();
    QImage todo(ancho + 400, 1200, QImage::Format_RGB32);
    todo.fill(box.palette().color(QPalette::Window));
    {
        QPainter pintor(&todo);
        pintor.setFont(box.LblMensaje->font());
        pintor.setPen(box.LblMensaje->palette().color(QPalette::WindowText));
        pintor.drawText(QRect(0, 0, ancho, 1200), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip,
                        box.mensaje);
    }

    // Everything above the line over the button is the message (and the icon, left of it).
    const QRect areaMensaje(box.LblMensaje->mapTo(&box, QPoint(0, 0)).x(), 0,
                            box.width() - box.LblMensaje->mapTo(&box, QPoint(0, 0)).x(), box.Line1->y());
    const QImage visto = tinta(vista, areaMensaje);
    const QImage esperado = tinta(todo, todo.rect());
    EXPECT_EQ(visto.width(), esperado.width());
    EXPECT_EQ(visto.height(), esperado.height());
    EXPECT_TRUE(visto == esperado) << "the text shown differs from the whole text";
    // The box stays on the screen.
    const QRect pantalla = box.screen()->availableGeometry();
    EXPECT_LE(box.width(), pantalla.width());
    EXPECT_LE(box.height(), pantalla.height());
    EXPECT_TRUE(box.CmdAceptar->geometry().bottom() < box.height());
}

TEST(TimedMessageBox, AMessageTallerThanTheScreenScrolls)
{
    const testing_support::DesignFonts fuentes;
    FrmMsgBox box;
    QStringList lineas;
    for (int i = 1; i <= 80; ++i) {
        lineas << QStringLiteral("Línea %1 del mensaje.").arg(i);
    }
    box.mensaje = lineas.join(QStringLiteral("\r\n"));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QApplication::processEvents();
    const QRect pantalla = box.screen()->availableGeometry();
    EXPECT_LE(box.height(), pantalla.height());
    QScrollBar* barra = box.ScrMensaje->verticalScrollBar();
    ASSERT_TRUE(barra->isVisible());
    barra->setValue(barra->maximum());
    QApplication::processEvents();
    // Scrolled to its end, the text ends where the area does.
    const QRect texto = box.LblMensaje->contentsRect();
    EXPECT_EQ(box.LblMensaje->mapTo(box.ScrMensaje->viewport(), texto.bottomLeft()).y(),
              box.ScrMensaje->viewport()->height() - 1);
    EXPECT_FALSE(box.ScrMensaje->horizontalScrollBar()->isVisible());
}
