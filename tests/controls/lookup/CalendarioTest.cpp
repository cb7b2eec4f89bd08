// The date mode: the month calendar, picking a day and the date mask.
#include "BusquedaPrueba.h"

#include "controls/lookup/BotonDia.h"
#include "controls/lookup/CalendarioBusqueda.h"
#include "platform/core/Runtime.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using A = controls::BusquedaCodigoAcceso;
using controls::BusquedaCodigo;
using controls::busqueda::MascaraFecha;

constexpr uint kAzul = 0xFF0000;
constexpr uint kRojo = 255;
constexpr uint kNegro = 0;

QStringList captions(const BusquedaCodigo& b)
{
    QStringList out;
    for (const controls::BotonDia* c : b.OptDia)
        out << c->text();
    return out;
}

uint color(const BusquedaCodigo& b, int i)
{
    return b.OptDia[i]->property("ForeColor").toUInt();
}

// The rectangle, in a cell's own pixels, of its text drawn in `color`: the
// pixels that lean towards that colour more than the cell's grey face does.
// The outer two pixels (the cell's bevel) are left out; null without any.
QRect tinta(const QImage& celda, uint color)
{
    const auto tinte = [color](const QColor& p) {
        switch (color) {
        case kAzul:
            return p.blue() - std::max(p.red(), p.green()) > 60;
        case kRojo:
            return p.red() - std::max(p.green(), p.blue()) > 60;
        default:
            return std::max({p.red(), p.green(), p.blue()}) < 110;
        }
    };
    QRect zona;
    for (int y = 2; y < celda.height() - 2; ++y)
        for (int x = 2; x < celda.width() - 2; ++x)
            if (tinte(celda.pixelColor(x, y)))
                zona |= QRect(x, y, 1, 1);
    return zona;
}

// The box in date mode on a host window, on 6 February 2024 with that month
// drawn and no day chosen.
struct CalendarioEnVentana
{
    testing_support::DesignFonts fuentes;
    QWidget ventana;
    BusquedaCodigo* b = new BusquedaCodigo(&ventana);

    CalendarioEnVentana()
    {
        platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 2, 6), QTime(9, 0)); });
        b->move(10, 10);
        QString tb = QStringLiteral("FECHA");
        b->BusquedaDisponible(tb);
        b->ArmarAlmanaque(2, 2024);
        ventana.resize(b->size() + QSize(20, 20));
        ventana.show();
    }
    // Cell i as it shows in the window.
    QImage celda(int i)
    {
        const QImage imagen = ventana.grab().toImage();
        return imagen.copy(QRect(b->OptDia[i]->mapTo(&ventana, QPoint(0, 0)), b->OptDia[i]->size()));
    }
};

QList<int> seleccionadas(const BusquedaCodigo& b)
{
    QList<int> out;
    for (int i = 0; i < 42; ++i)
        if (b.OptDia[i]->isChecked())
            out << i;
    return out;
}

class Calendario : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 5, 6), QTime(9, 0)); });
    }

    // A shown box in date mode, with `buscar` pending.
    busqueda_tests::Caja fecha(const QString& buscar = QString())
    {
        busqueda_tests::Caja c;
        c.b = std::make_unique<BusquedaCodigo>();
        c.b->show();
        BusquedaCodigo* b = c.b.get();
        QObject::connect(b, &BusquedaCodigo::CodigoElegido, b, [e = c.elegidos, b] { *e << b->codigo; });
        b->Buscar = buscar;
        QString tb = QStringLiteral("FECHA");
        c.disponible = b->BusquedaDisponible(tb);
        return c;
    }
};

TEST_F(Calendario, February2024StartsOnThursdayWithRedWeekends)
{
    BusquedaCodigo b;
    b.ArmarAlmanaque(2, 2024);
    QStringList esperadas;
    for (int i = 0; i < 42; ++i)
        esperadas << (i >= 4 && i <= 32 ? QString::number(i - 3) : QStringLiteral("."));
    EXPECT_EQ(captions(b), esperadas);
    for (int i = 0; i < 42; ++i) {
        const bool dia = i >= 4 && i <= 32;
        const bool finDeSemana = i % 7 == 0 || i % 7 == 6;
        EXPECT_EQ(b.OptDia[i]->isEnabled(), dia) << i;
        EXPECT_TRUE(b.OptDia[i]->font().bold()) << i;
        EXPECT_EQ(color(b, i), !dia ? kNegro : finDeSemana ? kRojo : kAzul) << i;
    }
    EXPECT_TRUE(seleccionadas(b).isEmpty());
    EXPECT_TRUE(A::calendarioListo(b));
}

TEST_F(Calendario, EveryDayOfFebruary2024ShowsItsWholeNumberInItsCell)
{
    CalendarioEnVentana c;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c.ventana));
    const QImage imagen = c.ventana.grab().toImage();
    for (int i = 0; i < 42; ++i) {
        const auto* dia = c.b->OptDia[i];
        SCOPED_TRACE(::testing::Message() << "cell " << i << " \"" << dia->text().toStdString() << '"');
        const QImage celda = imagen.copy(QRect(dia->mapTo(&c.ventana, QPoint(0, 0)), dia->size()));
        ASSERT_EQ(celda.size(), QSize(24, 24)) << "360 twips";
        const bool esDia = i >= 4 && i <= 32;
        const uint esperado = !esDia ? kNegro : (i % 7 == 0 || i % 7 == 6) ? kRojo : kAzul;
        const QRect zona = tinta(celda, esperado);
        ASSERT_FALSE(zona.isNull()) << "its text in its colour";
        const QRect texto = QFontMetrics(dia->font()).tightBoundingRect(dia->text());
        EXPECT_GE(zona.width(), texto.width() - 2) << "the whole text, not cut";
        EXPECT_GE(zona.height(), texto.height() - 2);
        EXPECT_GE(zona.left(), 3) << "inside the cell, clear of its edge";
        EXPECT_LE(zona.right(), celda.width() - 4);
        if (esDia) {
            const int centro = zona.left() + zona.right();
            EXPECT_NEAR(centro, celda.width() - 1, 3) << "centred";
            const uint otro = esperado == kAzul ? kRojo : kAzul;
            EXPECT_TRUE(tinta(celda, otro).isNull()) << "one colour";
        }
    }
}

TEST_F(Calendario, TheChosenDayStaysPressedUntilAnotherIsChosen)
{
    CalendarioEnVentana c;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c.ventana));
    // A raised button is lit at its top left; a pressed one is shaded there.
    const auto hundida = [&](int i) {
        const QImage celda = c.celda(i);
        return qGray(celda.pixel(0, 0)) < qGray(celda.pixel(celda.width() - 1, celda.height() - 1));
    };
    const int quince = c.b->IndCaption(QStringLiteral("15"));
    const int veinte = c.b->IndCaption(QStringLiteral("20"));
    EXPECT_FALSE(hundida(quince));
    QTest::mouseClick(c.b->OptDia[quince], Qt::LeftButton);
    EXPECT_TRUE(hundida(quince));
    EXPECT_FALSE(hundida(veinte));
    QTest::mouseClick(c.b->OptDia[veinte], Qt::LeftButton);
    EXPECT_TRUE(hundida(veinte));
    EXPECT_FALSE(hundida(quince)) << "one group: the other day comes up";
    QTest::mouseClick(c.b->OptDia[veinte], Qt::LeftButton);
    EXPECT_TRUE(hundida(veinte)) << "a second click leaves it chosen";
    EXPECT_EQ(seleccionadas(*c.b), QList<int>{veinte});
    EXPECT_EQ(c.b->TxtBusqueda->text(), QStringLiteral("20/02/2024"));
}

TEST_F(Calendario, AMonthStartsInTheColumnOfItsFirstWeekday)
{
    BusquedaCodigo b;
    b.ArmarAlmanaque(QStringLiteral("9"), QStringLiteral("2024")); // 1 September 2024 was a Sunday
    EXPECT_EQ(b.OptDia[0]->text(), QStringLiteral("1"));
    EXPECT_EQ(b.OptDia[29]->text(), QStringLiteral("30"));
    EXPECT_EQ(b.OptDia[30]->text(), QStringLiteral("."));
    b.ArmarAlmanaque(3, 2025); // 1 March 2025 was a Saturday
    EXPECT_EQ(b.OptDia[5]->text(), QStringLiteral("."));
    EXPECT_EQ(b.OptDia[6]->text(), QStringLiteral("1"));
    EXPECT_EQ(b.OptDia[36]->text(), QStringLiteral("31"));
    EXPECT_EQ(b.OptDia[37]->text(), QStringLiteral("."));
    // Something that is no month draws nothing.
    b.ArmarAlmanaque(QStringLiteral("Marzo"), 2025);
    EXPECT_EQ(b.OptDia[6]->text(), QStringLiteral("1"));
}

TEST_F(Calendario, MonthLengthsAndNames)
{
    BusquedaCodigo b;
    EXPECT_EQ(b.CantidadDeDiasDelmes(12, 2023), 31);
    EXPECT_EQ(b.CantidadDeDiasDelmes(2, 2024), 29);
    EXPECT_EQ(b.CantidadDeDiasDelmes(QStringLiteral("2"), QStringLiteral("2023")), 28);
    EXPECT_EQ(b.CantidadDeDiasDelmes(4, 2024), 30);
    EXPECT_EQ(b.CantidadDeDiasDelmes(QStringLiteral("x"), 2024), 0);
    EXPECT_EQ(b.NombreMes(1), QStringLiteral("Enero"));
    EXPECT_EQ(b.NombreMes(9), QStringLiteral("Septiembre"));
    EXPECT_EQ(b.NombreMes(0), QString());
    EXPECT_EQ(b.NombreMes(13), QString());
    EXPECT_EQ(b.Nromes(QStringLiteral("marzo")), 3);
    EXPECT_EQ(b.Nromes(QStringLiteral("DICIEMBRE")), 12);
    EXPECT_EQ(b.Nromes(QStringLiteral("Marz")), 0);
}

TEST_F(Calendario, IndCaptionAndSeleccionar)
{
    BusquedaCodigo b;
    b.ArmarAlmanaque(2, 2024);
    EXPECT_EQ(b.IndCaption(QStringLiteral("1")), 4);
    EXPECT_EQ(b.IndCaption(QStringLiteral(".")), 0);
    // A caption no cell has selects nothing, not the first cell.
    EXPECT_EQ(b.IndCaption(QStringLiteral("30")), -1);
    b.Seleccionar(b.IndCaption(QStringLiteral("30")), false);
    EXPECT_TRUE(seleccionadas(b).isEmpty());
    b.Seleccionar(6, true); // Saturday 3: red becomes blue
    EXPECT_EQ(seleccionadas(b), QList<int>{6});
    EXPECT_EQ(color(b, 6), kAzul);
    b.Seleccionar(QStringLiteral("12"), true); // Friday 9: blue becomes red
    EXPECT_EQ(seleccionadas(b), QList<int>{12});
    EXPECT_EQ(color(b, 12), kRojo);
    EXPECT_EQ(color(b, 0), kNegro);
}

TEST_F(Calendario, TheMaskTakesDigitsOverTheSlashes)
{
    BusquedaCodigo b;
    QLineEdit caja;
    caja.setProperty("Tag", QStringLiteral("fecha"));
    caja.setMaxLength(10);
    for (const char d : QByteArray("15032024")) {
        int k = d;
        b.ClsDatosOk(&caja, k);
        EXPECT_EQ(k, 0);
    }
    EXPECT_EQ(caja.text(), QStringLiteral("15/03/2024"));
    EXPECT_EQ(caja.cursorPosition(), 0);
    int enter = 13;
    b.ClsDatosOk(&caja, enter);
    EXPECT_EQ(caja.text(), QStringLiteral("15/03/2024"));
    caja.setText(QStringLiteral("32/13/2024"));
    enter = 13;
    b.ClsDatosOk(&caja, enter);
    EXPECT_EQ(caja.text(), QString());

    // Another box is left alone.
    QLineEdit otra;
    otra.setProperty("Tag", QStringLiteral("IMPORTE"));
    int k = '7';
    b.ClsDatosOk(&otra, k);
    EXPECT_EQ(k, '7');
    EXPECT_EQ(otra.text(), QString());
}

TEST_F(Calendario, TheMaskByKeyAndCaret)
{
    struct Caso
    {
        const char* texto;
        int caret;
        int maximo;
        int tecla;
        const char* despues;
        int caretDespues;
    };
    const Caso casos[] = {
        {"", 0, 10, '1', "1 /  /    ", 2},
        {"1 /  /    ", 2, 10, '5', "15/  /    ", 3},
        {"15/  /    ", 3, 10, '0', "15/0 /    ", 5},
        {"15/03/    ", 6, 10, '2', "15/03/2   ", 8},
        {"15/03/202 ", 10, 10, '4', "15/03/2024", 0},
        // Without a maximum length the caret never moves on.
        {"", 0, 0, '1', "1 /  /    ", 0},
        {"1 /  /    ", 0, 0, '2', "2 /  /    ", 0},
        {"15/03/2024", 10, 10, 8, "15/03/202 ", 9},
        {"15/03/    ", 6, 10, 8, "15/0 /    ", 4},
        {"15/03/2024", 0, 10, 8, " 5/03/2024", 0},
        {"15/03/2024", 4, 10, 'a', "15/03/2024", 4},
        {"1a-b", 2, 10, '%', "1 /  /    ", 2},
        {"12/12/2012 14:00", 0, 10, '-', "12/12/2012", 1},
        {"31/02/2024", 3, 10, 13, "", 3},
        {"29/02/2024", 3, 10, 13, "29/02/2024", 3},
    };
    for (const Caso& c : casos) {
        const auto r = MascaraFecha(QString::fromUtf8(c.texto), c.caret, c.maximo, c.tecla);
        EXPECT_EQ(r.texto, QString::fromUtf8(c.despues)) << c.texto << " key " << c.tecla;
        EXPECT_EQ(r.selStart, c.caretDespues) << c.texto << " key " << c.tecla;
    }
}

TEST_F(Calendario, TypingIntoTheBoxInDateMode)
{
    auto c = fecha();
    BusquedaCodigo& b = *c.b;
    b.TxtBusqueda->setCursorPosition(0);
    QTest::keyClicks(b.TxtBusqueda, QStringLiteral("15032024"));
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("15/03/2024"));
    // The typed date places the calendar.
    EXPECT_EQ(b.CmbMes->currentText(), QStringLiteral("Marzo"));
    EXPECT_EQ(seleccionadas(b), QList<int>{b.IndCaption(QStringLiteral("15"))});
    QTest::keyClick(b.TxtBusqueda, Qt::Key_Return);
    EXPECT_EQ(*c.elegidos, QStringList{QStringLiteral("15/03/2024")});
}

TEST_F(Calendario, TheFirstEntryShowsTodayAndAPendingDateOfTenCharactersPlacesIt)
{
    auto hoy = fecha();
    EXPECT_TRUE(hoy.disponible);
    EXPECT_FALSE(hoy.b->Calendar->isHidden());
    EXPECT_TRUE(hoy.b->LstBusqueda->isHidden());
    EXPECT_EQ(hoy.b->CmbMes->count(), 12);
    EXPECT_EQ(hoy.b->CmbAno->count(), 120);
    EXPECT_EQ(hoy.b->CmbAno->itemText(0), QStringLiteral("1930"));
    EXPECT_EQ(hoy.b->CmbMes->currentText(), QStringLiteral("Mayo"));
    EXPECT_EQ(hoy.b->CmbAno->currentText(), QStringLiteral("2024"));
    EXPECT_EQ(seleccionadas(*hoy.b), QList<int>{8}); // 1 May 2024 was a Wednesday
    EXPECT_EQ(hoy.b->height(), hoy.b->TxtBusqueda->height() + hoy.b->Calendar->height());

    auto corta = fecha(QStringLiteral("7/3/2024"));
    EXPECT_EQ(corta.b->CmbMes->currentText(), QStringLiteral("Mayo"));
    EXPECT_EQ(corta.b->TxtBusqueda->text(), QStringLiteral("7/3/2024"));

    auto larga = fecha(QStringLiteral("07/03/2024"));
    EXPECT_EQ(larga.b->CmbMes->currentText(), QStringLiteral("Marzo"));
    EXPECT_EQ(larga.b->CmbAno->currentText(), QStringLiteral("2024"));
    EXPECT_EQ(larga.b->TxtBusqueda->text(), QStringLiteral("07/03/2024"));
    EXPECT_EQ(seleccionadas(*larga.b), QList<int>{11}); // 1 March 2024 was a Friday
}

TEST_F(Calendario, TheCaretGoesToItsStartingPlaceOnFocus)
{
    auto c = fecha(QStringLiteral("07/03/2024"));
    QFocusEvent foco(QEvent::FocusIn, Qt::TabFocusReason);
    c.b->setSelStartInicial(3);
    QApplication::sendEvent(c.b->TxtBusqueda, &foco);
    EXPECT_EQ(c.b->TxtBusqueda->cursorPosition(), 3);
    c.b->setSelStartInicial(11);
    QApplication::sendEvent(c.b->TxtBusqueda, &foco);
    EXPECT_EQ(c.b->TxtBusqueda->cursorPosition(), 10);
    EXPECT_FALSE(c.b->TxtBusqueda->hasSelectedText());
    // Outside the date mode it goes to the end.
    QString tb = QStringLiteral("TA_PAISES");
    c.b->BusquedaDisponible(tb);
    c.b->TxtBusqueda->setCursorPosition(1);
    QApplication::sendEvent(c.b->TxtBusqueda, &foco);
    EXPECT_EQ(c.b->TxtBusqueda->cursorPosition(), int(c.b->TxtBusqueda->text().size()));
}

TEST_F(Calendario, AClickBeforeTheFirstDrawingDoesNothing)
{
    BusquedaCodigo b;
    b.show();
    b.Calendar->show();
    QTest::mouseClick(b.OptDia[10], Qt::LeftButton);
    EXPECT_TRUE(b.TxtBusqueda->text().isEmpty());
}

TEST_F(Calendario, AClickedDayWritesTheDateAndADoubleClickHandsItOver)
{
    auto c = fecha();
    BusquedaCodigo& b = *c.b;
    const int quinto = b.IndCaption(QStringLiteral("5"));
    QTest::mouseClick(b.OptDia[quinto], Qt::LeftButton);
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("05/05/2024"));
    EXPECT_EQ(seleccionadas(b), QList<int>{quinto});
    EXPECT_TRUE(c.elegidos->isEmpty());

    // Another month from the combo: drawn without selection, the text kept.
    b.CmbMes->setCurrentIndex(1);
    emit b.CmbMes->activated(1);
    EXPECT_EQ(b.OptDia[4]->text(), QStringLiteral("1"));
    EXPECT_TRUE(seleccionadas(b).isEmpty());
    EXPECT_EQ(b.TxtBusqueda->text(), QStringLiteral("05/05/2024"));

    QTest::mouseDClick(b.OptDia[32], Qt::LeftButton);
    EXPECT_EQ(*c.elegidos, QStringList{QStringLiteral("29/02/2024")});
    EXPECT_TRUE(b.Calendar->isHidden());
}

TEST_F(Calendario, EnterOnADayHandsTheDateOver)
{
    auto c = fecha(QStringLiteral("07/03/2024"));
    QTest::keyClick(c.b->OptDia[11], Qt::Key_Return);
    EXPECT_EQ(*c.elegidos, QStringList{QStringLiteral("07/03/2024")});
    EXPECT_TRUE(c.b->Calendar->isHidden());
}

} // namespace
