#include "platform/util/Dll_Utilidades.h"

#include "platform/core/Runtime.h"
#include "support/LocaleScope.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using platform::Currency;
using platform::Dll_Utilidades;
using platform::Variant;

using testing_support::LocaleScope;

namespace {

Dll_Utilidades& util()
{
    return Dll_Utilidades::shared();
}

} // namespace

TEST(Utilidades, RellenarIzquierdaRightAlignsWithoutCutting)
{
    EXPECT_EQ(util().RellenarIzquierda(QStringLiteral("12.50"), 8), QStringLiteral("   12.50"));
    EXPECT_EQ(util().RellenarIzquierda(QStringLiteral("ñú"), 4), QStringLiteral("  ñú"));
    EXPECT_EQ(util().RellenarIzquierda(QStringLiteral("abc"), 3), QStringLiteral("abc"));
    EXPECT_EQ(util().RellenarIzquierda(QStringLiteral("123456"), 4), QStringLiteral("123456"));
    EXPECT_EQ(util().RellenarIzquierda(QString(), 2), QStringLiteral("  "));
    EXPECT_EQ(util().RellenarIzquierda(QStringLiteral("x"), 0), QStringLiteral("x"));
}

TEST(Utilidades, AjustarLargoCutsToTheMaximum)
{
    EXPECT_EQ(util().AjustarLargo(QStringLiteral("Descripción larga"), 11), QStringLiteral("Descripción"));
    EXPECT_EQ(util().AjustarLargo(QStringLiteral("corto"), 25), QStringLiteral("corto"));
    EXPECT_EQ(util().AjustarLargo(QStringLiteral("abc"), 0), QString());
    EXPECT_EQ(util().AjustarLargo(QStringLiteral("abc"), -1), QString());
    // A character outside the basic plane is never split in half.
    EXPECT_EQ(util().AjustarLargo(QStringLiteral("a😀b"), 2), QStringLiteral("a"));
    EXPECT_EQ(util().AjustarLargo(QStringLiteral("a😀b"), 3), QStringLiteral("a😀"));
}

TEST(Utilidades, CodigoConCerosFillsWithZeros)
{
    EXPECT_EQ(util().CodigoConCeros(Variant(7), Variant(4)), QStringLiteral("0007"));
    EXPECT_EQ(util().CodigoConCeros(QStringLiteral(" 12 "), Variant(4)), QStringLiteral("0012"));
    EXPECT_EQ(util().CodigoConCeros(QStringLiteral("0000"), QStringLiteral("4")), QStringLiteral("0000"));
    EXPECT_EQ(util().CodigoConCeros(QStringLiteral("12345"), Variant(4)), QStringLiteral("12345"));
    EXPECT_EQ(util().CodigoConCeros(QString(), Variant(4)), QStringLiteral("0000"));
    EXPECT_EQ(util().CodigoConCeros(QStringLiteral("1"), Variant()), QStringLiteral("1"));
}

TEST(Utilidades, TextoAMonedaReadsAmounts)
{
    struct Case
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"12345.678", "12345.678"},
        {"12,345.68", "12345.68"},
        {"1,234,567", "1234567"},
        {" -3.5 ", "-3.5"},
        {"+0.25", "0.25"},
        {".5", "0.5"},
        {"7.", "7"},
        {"2.67505", "2.6750"},
        {"-1,000.00", "-1000"},
    };
    for (const Case& c : cases) {
        const auto v = util().TextoAMoneda(QString::fromUtf8(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, *Currency::parse(QString::fromUtf8(c.expected))) << c.text;
    }
}

TEST(Utilidades, TextoAMonedaFailsOnTextThatIsNoAmount)
{
    for (const char* text : {"", "   ", "abc", "12a", "1.2.3", "12,5", "1,23,456", ",123", "--1", "-", ".", "1 234",
                             "99999999999999999999"}) {
        EXPECT_FALSE(util().TextoAMoneda(QString::fromUtf8(text)).has_value()) << text;
    }
}

TEST(Utilidades, TextoAMonedaUsesTheLocaleSigns)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(*util().TextoAMoneda(QStringLiteral("12.345,68")), *Currency::parse(u"12345.68"));
    EXPECT_EQ(*util().TextoAMoneda(QStringLiteral("12,5")), *Currency::parse(u"12.5"));
    // "." is still a decimal sign where it cannot be grouping.
    EXPECT_EQ(*util().TextoAMoneda(QStringLiteral("12.5")), *Currency::parse(u"12.5"));
    EXPECT_EQ(*util().TextoAMoneda(QStringLiteral("1.234")), *Currency::parse(u"1234"));
    EXPECT_FALSE(util().TextoAMoneda(QStringLiteral("1,234.5")).has_value());
}

TEST(Utilidades, TextRoutines)
{
    EXPECT_EQ(util().QuitarCaracteres(QStringLiteral("a=b|c,d'e"), QStringLiteral("="), QStringLiteral("|"),
                                      QStringLiteral(",")),
              QStringLiteral("abcd'e"));
    EXPECT_EQ(util().QuitarCaracteres(QStringLiteral("1,2,3"), QStringLiteral(",")), QStringLiteral("123"));
    EXPECT_EQ(util().Reemplazar(QStringLiteral("12,50"), QStringLiteral(","), QStringLiteral(".")),
              QStringLiteral("12.50"));
    EXPECT_EQ(util().Reemplazar(QStringLiteral("aAa"), QStringLiteral("a"), QStringLiteral("x")),
              QStringLiteral("xAx"));
    EXPECT_EQ(util().CantidadPalabras(QStringLiteral("  uno  dos\ttres ")), 3);
    EXPECT_EQ(util().CantidadPalabras(QStringLiteral("uno")), 1);
    EXPECT_EQ(util().CantidadPalabras(QStringLiteral("   ")), 0);
    EXPECT_TRUE(util().ValorCampo(Variant::null()).isEmpty());
    EXPECT_EQ(util().ValorCampo(Variant(5)), Variant(5));
    EXPECT_EQ(util().CarpetaConBarra(QStringLiteral("/srv/datos")), QStringLiteral("/srv/datos/"));
    EXPECT_EQ(util().CarpetaConBarra(QStringLiteral("/srv/datos/")), QStringLiteral("/srv/datos/"));
    EXPECT_EQ(util().CarpetaConBarra(QString()), QString());
}

TEST(Utilidades, EncriptarIsReversibleAndSafeToStore)
{
    QStringList inputs = {QString(),
                          QStringLiteral("demo"),
                          QStringLiteral("a"),
                          QStringLiteral(" con blancos "),
                          QStringLiteral("coma,punto;y|barra'"),
                          QStringLiteral("línea\r\nnueva"),
                          QStringLiteral("ÁÉÍÓÚñü€"),
                          QStringLiteral("😀"),
                          QString(200, u'x')};
    QRandomGenerator random(42);
    for (int i = 0; i < 500; ++i) {
        QString s;
        const int n = int(random.bounded(0, 40));
        for (int k = 0; k < n; ++k) {
            s += QChar(char16_t(random.bounded(1, 0xD7FF)));
        }
        inputs << s;
    }
    for (const QString& plain : inputs) {
        const QString cipher = util().Encriptar(plain);
        EXPECT_EQ(util().Encriptar(plain), cipher) << "not deterministic";
        const auto back = util().TryDesencriptar(cipher);
        ASSERT_TRUE(back.has_value()) << plain.toStdString();
        EXPECT_EQ(*back, plain);
        EXPECT_EQ(util().Desencriptar(cipher), plain);
        EXPECT_EQ(cipher.isEmpty(), plain.isEmpty());
        EXPECT_FALSE(cipher.startsWith(u' ') || cipher.endsWith(u' '));
        for (QChar ch : cipher) {
            EXPECT_TRUE(ch.unicode() > 0x20 && ch.unicode() < 0x7F) << cipher.toStdString();
            EXPECT_NE(ch, u',');
        }
        if (!plain.isEmpty()) {
            EXPECT_NE(cipher, plain);
        }
    }
}

TEST(Utilidades, DesencriptarRejectsForeignAndDamagedTexts)
{
    const QString cipher = util().Encriptar(QStringLiteral("marbelo"));
    QStringList bad = {QStringLiteral("marbelo"),    QStringLiteral("demo"),         QStringLiteral("a b"),
                       QStringLiteral("abc,def"),    cipher.left(cipher.size() - 1), cipher + u'A',
                       QStringLiteral("=") + cipher, QStringLiteral("\r\n")};
    for (qsizetype i = 0; i < cipher.size(); ++i) {
        QString damaged = cipher;
        damaged[i] = damaged[i] == u'A' ? u'B' : u'A';
        bad << damaged;
    }
    for (const QString& text : bad) {
        EXPECT_FALSE(util().TryDesencriptar(text).has_value()) << text.toStdString();
        EXPECT_EQ(util().Desencriptar(text), QString()) << text.toStdString();
    }
}

TEST(Utilidades, MostrarErrorAsksAndLogs)
{
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); });
    const QString log = testing_support::testFolder() + QStringLiteral("/util.log");
    util().setArchivoLog(log);
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Ignore, QStringLiteral("Sin conexión"));
    EXPECT_EQ(util().MostrarError(
                  platform::ErrObject(3709, QStringLiteral("Sin conexión\r\nreintente"), QStringLiteral("ADODB")),
                  std::nullopt, QStringLiteral("AbrirRecordset")),
              platform::msgbox::Ignore);
    const auto& asked = testing_support::scriptedOperator().asked();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].style, 18);
    EXPECT_TRUE(asked[0].title.contains(QStringLiteral("ADODB")));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("2024-03-05 14:07:09 | AbrirRecordset | Error 3709: Sin conexi\xc3\xb3n "
                                         "reintente | 5\r\n"));
}

TEST(Utilidades, SharedInstanceIsFreshAfterReset)
{
    Dll_Utilidades* first = &Dll_Utilidades::shared();
    EXPECT_EQ(first, &Dll_Utilidades::shared());
    first->setArchivoLog(testing_support::testFolder() + QStringLiteral("/x.log"));
    platform::Runtime::instance().reset();
    testing_support::installScriptedOperator();
    // A fresh instance has no log file: the dialog is shown, nothing is written.
    testing_support::scriptedOperator().answerMsgBox(platform::msgbox::Abort);
    Dll_Utilidades::shared().MostrarError(platform::ErrObject(5, QStringLiteral("x")));
    EXPECT_FALSE(QFile::exists(testing_support::testFolder() + QStringLiteral("/x.log")));
}
