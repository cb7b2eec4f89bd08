// Clicks, hover, the host's function keys and the loss of focus, delivered
// through Qt's test events.
#include "BarraPrueba.h"

#include "platform/ui/KeyCodes.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <stdexcept>

using commandbar_tests::BarraTest;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

namespace {

// A form that hosts a bar and forwards its key presses to it, recording the
// bar's events in the order they came.
class Anfitrion : public QWidget
{
public:
    Anfitrion() : barra(new UtilVek(this))
    {
        resize(200, 600);
        barra->move(0, 0);
        barra->resize(100, 560);
        barra->ActualizarBotones();
        connect(barra, &UtilVek::click, this, [this](QString& key) { eventos << QStringLiteral("click ") + key; });
        connect(barra, &UtilVek::CheckClick, this, [this](QString& caption, bool& checked) {
            eventos << QStringLiteral("CheckClick %1 %2").arg(caption, checked ? u"true" : u"false");
        });
    }

    UtilVek* barra;
    QStringList eventos;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        int codigo = platform::ui::keyCodeOf(*event);
        const int antes = codigo;
        barra->KeyAnalisis(codigo);
        codigoIntacto = codigoIntacto && codigo == antes;
    }

public:
    bool codigoIntacto = true;
};

QPoint centro(const UtilVek& barra, int i)
{
    const auto& caja = A::caja(barra, i);
    return QPoint(int((caja.Left + caja.Width / 2) / 15), int((caja.Top + caja.Height / 2) / 15));
}

class InteraccionTest : public BarraTest
{
protected:
    void SetUp() override
    {
        BarraTest::SetUp();
        anfitrion = std::make_unique<Anfitrion>();
        anfitrion->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(anfitrion.get()));
        // Qt drops a move to where the pointer already is, and every test's
        // window lies at the same place: start from a point off the items.
        QTest::mouseMove(anfitrion.get(), QPoint(150, 590));
    }
    void TearDown() override
    {
        anfitrion.reset();
        BarraTest::TearDown();
    }

    UtilVek& barra() { return *anfitrion->barra; }
    QStringList teclas(Qt::Key tecla)
    {
        anfitrion->eventos.clear();
        QTest::keyClick(anfitrion.get(), tecla);
        return anfitrion->eventos;
    }
    QStringList clic(int i)
    {
        anfitrion->eventos.clear();
        QTest::mouseClick(&barra(), Qt::LeftButton, {}, centro(barra(), i));
        return anfitrion->eventos;
    }

    std::unique_ptr<Anfitrion> anfitrion;
};

} // namespace

TEST_F(InteraccionTest, FunctionKeysRaiseClickWithTheirItemsKey)
{
    const struct
    {
        Qt::Key tecla;
        const char* evento;
    } casos[] = {
        {Qt::Key_F2, "click GRABAR"},    {Qt::Key_F3, "click NUEVO"},   {Qt::Key_F4, "click REPORTE"},
        {Qt::Key_F5, "click CONSULTAR"}, {Qt::Key_F10, "click BORRAR"}, {Qt::Key_Escape, "click CANCELAR"},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(teclas(caso.tecla), QStringList{QString::fromLatin1(caso.evento)}) << caso.evento;
    }
    EXPECT_TRUE(anfitrion->codigoIntacto);
    EXPECT_TRUE(teclas(Qt::Key_Return).isEmpty());
    EXPECT_TRUE(teclas(Qt::Key_F7).isEmpty());
    EXPECT_EQ(A::activeIndex(barra()), -1) << "keys do not choose the active item";
}

TEST_F(InteraccionTest, AKeyWhoseItemIsHiddenOrDisabledRaisesNothing)
{
    EXPECT_TRUE(teclas(Qt::Key_F6).isEmpty()) << "PLANILLA is hidden by default";
    barra().SetItemVisible(QStringLiteral("PLANILLA"), true);
    EXPECT_EQ(teclas(Qt::Key_F6), QStringList{QStringLiteral("click PLANILLA")});
    barra().SetItemEnabled(QStringLiteral("GRABAR"), false);
    EXPECT_TRUE(teclas(Qt::Key_F2).isEmpty());
}

TEST_F(InteraccionTest, EscapeFallsBackToCerrarAndThenToNothing)
{
    barra().SetItemVisible(QStringLiteral("CANCELAR"), false);
    EXPECT_EQ(teclas(Qt::Key_Escape), QStringList{QStringLiteral("click CERRAR")});
    barra().SetItemVisible(QStringLiteral("CANCELAR"), true);
    barra().SetItemEnabled(QStringLiteral("CANCELAR"), false);
    EXPECT_EQ(teclas(Qt::Key_Escape), QStringList{QStringLiteral("click CERRAR")});
    barra().SetItemEnabled(QStringLiteral("CERRAR"), false);
    EXPECT_TRUE(teclas(Qt::Key_Escape).isEmpty());
}

TEST_F(InteraccionTest, KeysStillWorkOnADisabledBarAndClicksDoNot)
{
    barra().setEnabled(false);
    EXPECT_EQ(teclas(Qt::Key_F5), QStringList{QStringLiteral("click CONSULTAR")});
    EXPECT_TRUE(clic(0).isEmpty());
    EXPECT_EQ(A::activeIndex(barra()), -1);
}

TEST_F(InteraccionTest, AClickRaisesClickWithTheKeyInUpperCaseAndMakesTheItemActive)
{
    barra().AddItem(QStringLiteral("Exportar"), QStringLiteral("Exportar"));
    const int i = A::FindItemIndex(barra(), QStringLiteral("EXPORTAR"));
    barra().ActualizarBotones();
    EXPECT_EQ(clic(i), QStringList{QStringLiteral("click EXPORTAR")});
    EXPECT_EQ(A::activeIndex(barra()), i);
    EXPECT_EQ(clic(0), QStringList{QStringLiteral("click NUEVO")});
    EXPECT_EQ(A::activeIndex(barra()), 0);
}

TEST_F(InteraccionTest, AClickOnTheCaptionChoosesTheItemToo)
{
    const auto& texto = A::texto(barra(), 3);
    ASSERT_TRUE(texto.Visible);
    anfitrion->eventos.clear();
    QTest::mouseClick(&barra(), Qt::LeftButton, {},
                      QPoint(int((texto.Left + texto.Width / 2) / 15), int((texto.Top + 60) / 15)));
    EXPECT_EQ(anfitrion->eventos, QStringList{QStringLiteral("click CONSULTAR")});
}

TEST_F(InteraccionTest, ADisabledItemRaisesNothingAndStaysInactive)
{
    barra().SetItemEnabled(QStringLiteral("BORRAR"), false);
    EXPECT_TRUE(clic(1).isEmpty());
    EXPECT_EQ(A::activeIndex(barra()), -1);
}

TEST_F(InteraccionTest, PressingOnOneItemAndReleasingOnAnotherChoosesNeither)
{
    anfitrion->eventos.clear();
    QTest::mousePress(&barra(), Qt::LeftButton, {}, centro(barra(), 0));
    QTest::mouseRelease(&barra(), Qt::LeftButton, {}, centro(barra(), 1));
    EXPECT_TRUE(anfitrion->eventos.isEmpty());
}

TEST_F(InteraccionTest, ACheckableItemTogglesAndRaisesCheckClickBeforeClick)
{
    barra().LoadDefaultItemsReportes();
    EXPECT_EQ(clic(1), (QStringList{QStringLiteral("CheckClick Impresora true"), QStringLiteral("click IMPRESORA")}));
    EXPECT_TRUE(barra().ImpresoraChecked());
    EXPECT_EQ(clic(1), (QStringList{QStringLiteral("CheckClick Impresora false"), QStringLiteral("click IMPRESORA")}));
    EXPECT_EQ(clic(3), QStringList{QStringLiteral("click COMPARTIR")}) << "Compartir is not checkable by default";
}

TEST_F(InteraccionTest, AFailingClickHandlerDoesNotStopTheBar)
{
    int llamadas = 0;
    QObject::connect(&barra(), &UtilVek::click, anfitrion.get(), [&llamadas](QString&) {
        ++llamadas;
        throw std::runtime_error("el formulario falló");
    });
    EXPECT_NO_THROW(clic(2));
    EXPECT_EQ(llamadas, 1);
    EXPECT_EQ(A::activeIndex(barra()), 2);
    EXPECT_NO_THROW(clic(3));
    EXPECT_EQ(llamadas, 2);
}

TEST_F(InteraccionTest, TheHoverItemFollowsThePointerAndClearsWhenItLeavesTheBar)
{
    QTest::mouseMove(&barra(), centro(barra(), 2));
    EXPECT_EQ(A::hoverIndex(barra()), 2);
    QTest::mouseMove(&barra(), centro(barra(), 5));
    EXPECT_EQ(A::hoverIndex(barra()), 5);
    QTest::mouseMove(&barra(), QPoint(3, 3));
    EXPECT_EQ(A::hoverIndex(barra()), -1) << "the bar's own surface between items";

    QTest::mouseMove(&barra(), centro(barra(), 5));
    ASSERT_EQ(A::hoverIndex(barra()), 5);
    QEvent salida(QEvent::Leave);
    QApplication::sendEvent(&barra(), &salida);
    EXPECT_EQ(A::hoverIndex(barra()), -1) << "leaving the bar straight from an item";
}

TEST_F(InteraccionTest, ADisabledItemTakesNoHover)
{
    barra().SetItemEnabled(QStringLiteral("REPORTE"), false);
    QTest::mouseMove(&barra(), centro(barra(), 2));
    EXPECT_EQ(A::hoverIndex(barra()), -1);
}

TEST_F(InteraccionTest, LosingFocusClearsTheActiveAndHoverItems)
{
    clic(4 + 1);
    QTest::mouseMove(&barra(), centro(barra(), 3));
    ASSERT_EQ(A::activeIndex(barra()), 5);
    ASSERT_EQ(A::hoverIndex(barra()), 3);
    QFocusEvent fuera(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&barra(), &fuera);
    EXPECT_EQ(A::activeIndex(barra()), -1);
    EXPECT_EQ(A::hoverIndex(barra()), -1);
}

TEST_F(InteraccionTest, AnItemShowsItsTooltip)
{
    const QPoint punto = centro(barra(), 6);
    QHelpEvent ayuda(QEvent::ToolTip, punto, barra().mapToGlobal(punto));
    QApplication::sendEvent(&barra(), &ayuda);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Grabar cambios"));
    QToolTip::hideText();
}
