#include "common/Formatos.h"

#include "common/ValoresCorrida.h"
#include "platform/util/Dll_Utilidades.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QLocale>

#include <gtest/gtest.h>

using common::FmtMoneda;
using platform::Variant;

namespace {

struct LocaleScope
{
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST(FmtMoneda, FormatsEachDecimalsValue)
{
    // The tests' C locale: group sign ",", decimal sign ".", two currency decimals.
    ASSERT_EQ(common::DigitosMonedaLocale(), 2);
    common::valoresCorrida().DecimalesMoneda = QStringLiteral("3");
    struct Case
    {
        const char* value;
        int decimals;
        bool grouping;
        int width;
        const char* expected;
    } cases[] = {
        {"abc", -3, false, 0, "abc"},
        {"12345.678", -3, true, 40, "12345.678"},
        {"12345.678", 2, true, 0, "12,345.68"},
        {"12345.678", 2, false, 0, "12345.68"},
        {"2.675", 2, false, 0, "2.68"},
        {"2.665", 2, false, 0, "2.66"},
        {"12.6", -2, false, 0, "13"},
        {"12.5", -2, false, 0, "12"},
        {"13.5", -2, false, 0, "14"},
        {"1234567.5", -2, true, 0, "1,234,568"},
        {"12.5", 0, false, 0, "12.50"},
        {"12.5", -1, false, 0, "12.500"},
        {"0.5", 1, false, 0, "0.5"},
        {"-1234.5", 2, true, 0, "-1,234.50"},
        {"1.23456", 4, false, 0, "1.2346"},
        {"1.5", 6, false, 0, "1.500000"},
        {"999999999999.99", 2, true, 0, "999,999,999,999.99"},
        {"7", 2, false, 10, "      7.00"},
        {"7", 2, false, 40, "                     7.00"},
        {"7", 2, false, -5, "7.00"},
        {"12,345.68", 2, false, 0, "12345.68"},
        {"", 2, false, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FmtMoneda(QString::fromUtf8(c.value), Variant(c.decimals), c.grouping, c.width),
                  QString::fromUtf8(c.expected))
            << c.value << " at " << c.decimals;
    }
    EXPECT_EQ(FmtMoneda(QStringLiteral("7"), Variant(2), false, 40).size(), 25);
    EXPECT_EQ(FmtMoneda(*platform::Currency::parse(u"2.675"), Variant(2), true, 0), QStringLiteral("2.68"));
    EXPECT_EQ(FmtMoneda(*platform::Currency::parse(u"2.675"), Variant(-3), true, 0), QStringLiteral("2.675"));
}

TEST(FmtMoneda, SharedSettingOfZeroOrMissingTakesTheLocaleDigits)
{
    for (const char* setting : {" ", "", "0", "x"}) {
        common::valoresCorrida().DecimalesMoneda = QString::fromUtf8(setting);
        EXPECT_EQ(FmtMoneda(QStringLiteral("3.14159"), Variant(-1), false, 0), QStringLiteral("3.14")) << setting;
    }
    common::valoresCorrida().DecimalesMoneda = QStringLiteral("-2");
    EXPECT_EQ(FmtMoneda(QStringLiteral("3.5"), Variant(-1), false, 0), QStringLiteral("4"));
    // The decimals may come as the setting's own text.
    EXPECT_EQ(FmtMoneda(QStringLiteral("3.5"), QStringLiteral("1"), false, 0), QStringLiteral("3.5"));
}

TEST(FmtMoneda, UsesTheLocaleSignsAndDigits)
{
    {
        LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(FmtMoneda(QStringLiteral("12345.678"), Variant(2), true, 0), QStringLiteral("12.345,68"));
        EXPECT_EQ(FmtMoneda(QStringLiteral("12345,678"), Variant(2), false, 0), QStringLiteral("12345,68"));
    }
    {
        // Amounts written in the locale's own form, as the program's texts are.
        LocaleScope argentine(QLocale(QLocale::Spanish, QLocale::Argentina));
        EXPECT_EQ(FmtMoneda(QStringLiteral("999,999"), Variant(2), true, 0), QStringLiteral("1.000,00"));
        EXPECT_EQ(FmtMoneda(QStringLiteral("1.234,5"), Variant(2), false, 0), QStringLiteral("1234,50"));
        EXPECT_EQ(FmtMoneda(QStringLiteral("12.5"), Variant(2), false, 0), QStringLiteral("12,50"));
        EXPECT_EQ(FmtMoneda(*platform::Currency::parse(u"999.999"), Variant(4), true, 0), QStringLiteral("999,9990"));
    }
    {
        LocaleScope japanese(QLocale(QLocale::Japanese, QLocale::Japan));
        EXPECT_EQ(common::DigitosMonedaLocale(), 0);
        EXPECT_EQ(FmtMoneda(QStringLiteral("1234.5"), Variant(0), true, 0), QStringLiteral("1,234"));
    }
}

TEST(FmtMoneda, TextoAMonedaReadsBackWhatFmtMonedaWrites)
{
    const QLocale locales[] = {QLocale::c(),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::French, QLocale::France),
                               QLocale(QLocale::Spanish, QLocale::Argentina),
                               QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::German, QLocale::Switzerland)};
    const char* amounts[] = {"0", "0.01", "-0.5", "12.5", "999.999", "1234.5678", "-1234567.89", "100000000000.25"};
    for (const QLocale& locale : locales) {
        LocaleScope scope(locale);
        for (const char* amount : amounts) {
            const auto exact = platform::Currency::parse(QString::fromUtf8(amount));
            for (int decimals : {2, 4, -2}) {
                for (bool grouping : {false, true}) {
                    const QString text = FmtMoneda(*exact, Variant(decimals), grouping, 0);
                    const auto back = platform::Dll_Utilidades::shared().TextoAMoneda(text);
                    ASSERT_TRUE(back.has_value()) << locale.name().toStdString() << " " << text.toStdString();
                    EXPECT_EQ(*back, exact->rounded(decimals == -2 ? 0 : decimals))
                        << locale.name().toStdString() << " " << text.toStdString();
                }
            }
        }
    }
}

TEST(FmtMoneda, ANonNumericValueIsReportedNeverFormattedAsZero)
{
    auto& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::Retry, QStringLiteral("(13)")).answerMsgBox(platform::msgbox::Ignore);
    EXPECT_EQ(FmtMoneda(QStringLiteral("12a"), Variant(2), false, 0), QString());
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_TRUE(op.asked()[0].title.contains(QStringLiteral(" - FmtMoneda Aviso al operador!!! - 2 ")));
    op.answerMsgBox(platform::msgbox::Abort);
    EXPECT_EQ(FmtMoneda(QStringLiteral("abc"), Variant(-2), true, 10), QString());
}
