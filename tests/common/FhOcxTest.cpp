#include "common/FhOcx.h"
#include "platform/core/Runtime.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"
#include "support/ParamName.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

using common::FhOcx;
using platform::Variant;

namespace {

void setToday(QDate d)
{
    platform::Runtime::instance().setClock([d] { return platform::DateTime(d, QTime(10, 30)); });
}

// A picker in a window of its own, shown and active, so that focus and keys
// behave as they do for the operator.
struct Host
{
    QWidget window;
    FhOcx* picker = nullptr;

    Host()
    {
        picker = new FhOcx(&window);
        window.resize(400, 60);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }
    QLineEdit* box(int i) const { return picker->txtFechas[i]; }
    void focus(int i) const
    {
        box(i)->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST(DatePeriodPicker, FreshControlShowsFechaWithEmptyBoxesAndRange)
{
    FhOcx picker;
    QStringList items;
    for (int i = 0; i < picker.CmbComboFH->count(); ++i) {
        items << picker.CmbComboFH->itemText(i);
    }
    EXPECT_EQ(items, QStringList({"Fecha", "Semana Actual", "Semana Proxima", "Semana Pasada", "Mes Actual",
                                  "Año Actual", "Mes Pasado", "Año pasado", "Todo"}));
    EXPECT_FALSE(picker.CmbComboFH->isEditable());
    EXPECT_EQ(picker.CmbComboFH->currentText(), QStringLiteral("Fecha"));
    EXPECT_EQ(picker.txtFechas[0]->text(), QString());
    EXPECT_EQ(picker.txtFechas[1]->text(), QString());
    EXPECT_EQ(picker.Fh_Desde, QString());
    EXPECT_EQ(picker.Fh_Hasta, QString());
    EXPECT_EQ(picker.txtFechas[0]->maxLength(), 10);
    EXPECT_EQ(picker.txtFechas[0]->property("Tag").toString(), QStringLiteral("FECHA_DESDE"));
    EXPECT_EQ(picker.txtFechas[1]->property("Tag").toString(), QStringLiteral("FECHA_HASTA"));
    EXPECT_NE(picker.findChild<QLineEdit*>(QStringLiteral("txtFechas_1")), nullptr);
}

struct PeriodCase
{
    QDate today;
    const char16_t* period;
    const char* desde;
    const char* hasta;
};

void PrintTo(const PeriodCase& c, std::ostream* os)
{
    *os << QString::fromUtf16(c.period).toStdString() << " on " << c.today.toString(Qt::ISODate).toStdString();
}

class DatePeriodPickerPeriod : public ::testing::TestWithParam<PeriodCase>
{
};

TEST_P(DatePeriodPickerPeriod, FillsRangeAndBoxes)
{
    const PeriodCase c = GetParam();
    setToday(c.today);
    FhOcx picker;
    picker.ComboText(QString::fromUtf16(c.period));
    EXPECT_EQ(picker.Fh_Desde, QString::fromLatin1(c.desde));
    EXPECT_EQ(picker.Fh_Hasta, QString::fromLatin1(c.hasta));
    EXPECT_EQ(picker.txtFechas[0]->text(), QString::fromLatin1(c.desde));
    EXPECT_EQ(picker.txtFechas[1]->text(), QString::fromLatin1(c.hasta));
    EXPECT_EQ(picker.PeriodoSeleccionado, picker.CmbComboFH->currentText());
    EXPECT_EQ(picker.PeriodoSeleccionado.compare(QString::fromUtf16(c.period), Qt::CaseInsensitive), 0);
}

// 15/01/2025 is a Wednesday, 12/01/2025 a Sunday, 18/01/2025 a Saturday.
INSTANTIATE_TEST_SUITE_P(Periods, DatePeriodPickerPeriod,
                         ::testing::Values(PeriodCase{QDate(2025, 1, 15), u"Fecha", "15/01/2025", "15/01/2025"},
                                           PeriodCase{QDate(2025, 1, 15), u"Semana Actual", "12/01/2025", "18/01/2025"},
                                           PeriodCase{QDate(2025, 1, 15), u"Semana Pasada", "05/01/2025", "11/01/2025"},
                                           PeriodCase{QDate(2025, 1, 15), u"Semana Proxima", "19/01/2025",
                                                      "25/01/2025"},
                                           PeriodCase{QDate(2025, 1, 12), u"Semana Actual", "12/01/2025", "18/01/2025"},
                                           PeriodCase{QDate(2025, 1, 12), u"Semana Pasada", "05/01/2025", "11/01/2025"},
                                           PeriodCase{QDate(2025, 1, 18), u"Semana Actual", "12/01/2025", "18/01/2025"},
                                           PeriodCase{QDate(2025, 1, 1), u"Semana Pasada", "22/12/2024", "28/12/2024"},
                                           PeriodCase{QDate(2024, 2, 10), u"Mes Actual", "01/02/2024", "29/02/2024"},
                                           PeriodCase{QDate(2023, 2, 10), u"Mes Actual", "01/02/2023", "28/02/2023"},
                                           PeriodCase{QDate(2025, 1, 15), u"Mes Pasado", "01/12/2024", "31/12/2024"},
                                           PeriodCase{QDate(2024, 3, 31), u"Mes Pasado", "01/02/2024", "29/02/2024"},
                                           PeriodCase{QDate(2025, 1, 15), u"Año Actual", "01/01/2025", "31/12/2025"},
                                           PeriodCase{QDate(2025, 1, 15), u"Año pasado", "01/01/2024", "31/12/2024"},
                                           PeriodCase{QDate(2025, 1, 15), u"año PASADO", "01/01/2024", "31/12/2024"},
                                           PeriodCase{QDate(2025, 1, 15), u"Todo", "01/01/1980", "31/12/2220"}),
                         [](const ::testing::TestParamInfo<PeriodCase>& caso) {
                             return testing_support::ParamName(QString::fromUtf16(caso.param.period)) + '_' +
                                    caso.param.today.toString(QStringLiteral("yyyyMMdd")).toStdString();
                         });

TEST(DatePeriodPicker, ChoosingFromTheListComputesThePeriod)
{
    setToday(QDate(2025, 1, 15));
    Host h;
    h.picker->CmbComboFH->setFocus();
    QTest::keyClick(h.picker->CmbComboFH, Qt::Key_Down);
    EXPECT_EQ(h.picker->CmbComboFH->currentText(), QStringLiteral("Semana Actual"));
    EXPECT_EQ(h.picker->PeriodoSeleccionado, QStringLiteral("Semana Actual"));
    EXPECT_EQ(h.picker->Fh_Desde, QStringLiteral("12/01/2025"));
    EXPECT_EQ(h.picker->Fh_Hasta, QStringLiteral("18/01/2025"));
}

TEST(DatePeriodPicker, AnUnknownPeriodChangesNothing)
{
    setToday(QDate(2025, 1, 15));
    FhOcx picker;
    picker.ComboText(QStringLiteral("Todo"));
    picker.ComboText(QStringLiteral("Quincena"));
    EXPECT_EQ(picker.CmbComboFH->currentText(), QStringLiteral("Todo"));
    EXPECT_EQ(picker.Fh_Desde, QStringLiteral("01/01/1980"));
}

TEST(DatePeriodPicker, DayOfTheWeekCountsFromSunday)
{
    const struct
    {
        Variant fecha;
        const char* dia;
    } cases[] = {
        {Variant("12/01/2025"), "1"},
        {Variant("13/01/2025"), "2"},
        {Variant("15/01/2025"), "4"},
        {Variant("18/01/2025"), "7"},
        {Variant(platform::DateTime(QDate(2025, 1, 17))), "6"},
        {Variant("2025-01-14"), "3"},
        {Variant("31/02/2025"), ""},
        {Variant("hoy"), ""},
        {Variant(), ""},
        {Variant(5), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FhOcx::fDiaSem(c.fecha), QString::fromLatin1(c.dia)) << c.fecha.toText().toStdString();
    }
}

TEST(DatePeriodPicker, LastDayOfTheMonth)
{
    const struct
    {
        const char* mes;
        const char* anio;
        int dia;
    } cases[] = {{"2", "2024", 29},  {"2", "2023", 28}, {"02", "1900", 28}, {"2", "2000", 29},
                 {"12", "2024", 31}, {"4", "2025", 30}, {"13", "2024", 31}, {"x", "2024", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(FhOcx::fUltimoDiaDelMes(QString::fromLatin1(c.mes), QString::fromLatin1(c.anio)), c.dia)
            << c.mes << "/" << c.anio;
    }
}

struct EnterCase
{
    const char* desde;
    const char* hasta;
    int box;
    const char* message; // empty when Enter is accepted
};

void PrintTo(const EnterCase& c, std::ostream* os)
{
    *os << "Enter in box " << c.box << " with '" << c.desde << "' to '" << c.hasta << "'";
}

class DatePeriodPickerEnter : public ::testing::TestWithParam<EnterCase>
{
};

TEST_P(DatePeriodPickerEnter, ChecksTheTypedDate)
{
    const EnterCase c = GetParam();
    setToday(QDate(2025, 1, 15));
    Host h;
    h.picker->ComboText(QStringLiteral("Fecha"));
    const QString message = QString::fromUtf8(c.message);
    auto& op = testing_support::scriptedOperator();
    if (!message.isEmpty()) {
        op.answerMsgBox(platform::msgbox::OK, message);
    }
    h.box(0)->setText(QString::fromLatin1(c.desde));
    h.box(1)->setText(QString::fromLatin1(c.hasta));
    h.focus(c.box);
    QTest::keyClick(h.box(c.box), Qt::Key_Return);

    if (message.isEmpty()) {
        EXPECT_TRUE(op.asked().isEmpty());
        EXPECT_EQ(h.picker->Fh_Desde, QString::fromLatin1(c.desde));
        EXPECT_EQ(h.picker->Fh_Hasta, QString::fromLatin1(c.hasta));
    } else {
        ASSERT_EQ(op.asked().size(), 1);
        EXPECT_EQ(op.asked()[0].prompt, message);
        EXPECT_EQ(op.asked()[0].title, QStringLiteral("Aviso al Operador"));
        EXPECT_EQ(op.asked()[0].style, platform::msgbox::Critical);
        EXPECT_EQ(h.picker->Fh_Desde, QStringLiteral("15/01/2025"));
        EXPECT_EQ(h.picker->Fh_Hasta, QStringLiteral("15/01/2025"));
        EXPECT_EQ(h.box(c.box)->text(), QString::fromLatin1(c.box == 0 ? c.desde : c.hasta));
        EXPECT_TRUE(h.box(c.box)->hasFocus());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DatePeriodPickerEnter,
    ::testing::Values(EnterCase{"10/01/2025", "20/01/2025", 1, ""}, EnterCase{"10/01/2025", "20/01/2025", 0, ""},
                      EnterCase{"20/01/2025", "10/01/2025", 1, "La fecha hasta no puede ser menor a la fecha desde"},
                      EnterCase{"20/01/2025", "10/01/2025", 0, ""}, EnterCase{"10/01/2025", "10/01/2025", 1, ""},
                      EnterCase{"  ", "10/01/2025", 0, "Debe ingresar una fecha!!!"},
                      EnterCase{"10/01/2025", "", 1, "Debe ingresar una fecha!!!"},
                      EnterCase{"32/01/2025", "", 0, "Debe ingresar un formato de fecha válido!!!"},
                      EnterCase{"10/01/2025", "10/13/2025", 1, "Debe ingresar un formato de fecha válido!!!"},
                      EnterCase{"1/2/25", "3/2/2025", 1, ""},
                      // A from-box without a date leaves nothing to compare the to-box with.
                      EnterCase{"", "10/01/2025", 1, ""}, EnterCase{"20/0", "10/01/2025", 1, ""}),
    [](const ::testing::TestParamInfo<EnterCase>& caso) {
        return "Box" + std::to_string(caso.param.box) + "From" + testing_support::ParamName(caso.param.desde) + "To" +
               testing_support::ParamName(caso.param.hasta);
    });

TEST(DatePeriodPicker, EnterOnAValidDateMovesOnToTheNextBox)
{
    Host h;
    h.focus(0);
    QTest::keyClicks(h.box(0), QStringLiteral("05/01/2025"));
    QTest::keyClick(h.box(0), Qt::Key_Return);
    EXPECT_EQ(h.picker->Fh_Desde, QStringLiteral("05/01/2025"));
    EXPECT_TRUE(h.box(1)->hasFocus());
}

TEST(DatePeriodPicker, KeysLetOnlyDigitsAndSeparatorsThrough)
{
    Host h;
    h.focus(0);
    QTest::keyClicks(h.box(0), QStringLiteral("1a5-0b1.2 025x"));
    EXPECT_EQ(h.box(0)->text(), QStringLiteral("15/01/2025"));
    QTest::keyClick(h.box(0), Qt::Key_Backspace);
    EXPECT_EQ(h.box(0)->text(), QStringLiteral("15/01/202"));
    QTest::keyClick(h.box(0), Qt::Key_Home);
    QTest::keyClick(h.box(0), Qt::Key_Delete);
    EXPECT_EQ(h.box(0)->text(), QStringLiteral("5/01/202"));
    QTest::keyClicks(h.box(0), QStringLiteral("123456"));
    EXPECT_EQ(h.box(0)->text().size(), 10);
}

TEST(DatePeriodPicker, LeavingABoxTakesBothBoxesOverUnchecked)
{
    Host h;
    h.focus(0);
    QTest::keyClicks(h.box(0), QStringLiteral("99/99"));
    h.box(1)->setText(QStringLiteral("10/01/2025"));
    EXPECT_EQ(h.picker->Fh_Desde, QString());
    h.focus(1);
    EXPECT_EQ(h.picker->Fh_Desde, QStringLiteral("99/99"));
    EXPECT_EQ(h.picker->Fh_Hasta, QStringLiteral("10/01/2025"));
}

TEST(DatePeriodPicker, EnteringABoxSelectsItsWholeText)
{
    Host h;
    h.box(1)->setText(QStringLiteral("10/01/2025"));
    h.box(1)->setCursorPosition(3);
    h.focus(0);
    QTest::mouseClick(h.box(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&h] { return h.box(1)->selectedText() == QStringLiteral("10/01/2025"); }, 2000));
}

TEST(DatePeriodPicker, CargarPeriodoShowsDatesWithoutTakingThemOver)
{
    setToday(QDate(2025, 1, 15));
    FhOcx picker;
    picker.CargarPeriodo(QStringLiteral("mes actual"), QStringLiteral("05/01/2025"), QStringLiteral("no"));
    EXPECT_EQ(picker.CmbComboFH->currentText(), QStringLiteral("Mes Actual"));
    EXPECT_EQ(picker.txtFechas[0]->text(), QStringLiteral("05/01/2025"));
    EXPECT_EQ(picker.txtFechas[1]->text(), QStringLiteral("31/01/2025"));
    EXPECT_EQ(picker.Fh_Desde, QStringLiteral("01/01/2025"));
    EXPECT_EQ(picker.Fh_Hasta, QStringLiteral("31/01/2025"));

    picker.CargarPeriodo(QString(), QStringLiteral("03/01/2025"), QStringLiteral("04/01/2025"));
    EXPECT_EQ(picker.CmbComboFH->currentText(), QStringLiteral("Mes Actual"));
    EXPECT_EQ(picker.txtFechas[0]->text(), QStringLiteral("03/01/2025"));
    EXPECT_EQ(picker.txtFechas[1]->text(), QStringLiteral("04/01/2025"));
    EXPECT_EQ(picker.Fh_Desde, QStringLiteral("01/01/2025"));

    picker.Fh_Desde = QStringLiteral("07/01/2025");
    picker.Fh_Hasta = QStringLiteral("08/01/2025");
    picker.MostrarFechas();
    EXPECT_EQ(picker.txtFechas[0]->text(), QStringLiteral("07/01/2025"));
    EXPECT_EQ(picker.txtFechas[1]->text(), QStringLiteral("08/01/2025"));
}

TEST(DatePeriodPicker, BackgroundColour)
{
    FhOcx picker;
    std::int64_t color = 0;
    picker.DefineColorFondo(color);
    EXPECT_EQ(color, 0x8000000FLL);
    EXPECT_EQ(picker.PicFondo->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));

    std::int64_t rojo = 0x0000FF;
    picker.DefineColorFondo(rojo);
    EXPECT_EQ(rojo, 0x0000FF);
    EXPECT_EQ(picker.PicFondo->palette().color(QPalette::Window), QColor(255, 0, 0));
}
