// The SQLSERVER collation: dictionary order without regard to letter case,
// accents kept apart, trailing blanks not counted.
#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include <QCollator>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int compare(const QString& a, const QString& b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    return platform::db::sqlite::extensions::compareText(nullptr, int(x.size()), x.constData(), int(y.size()),
                                                         y.constData());
}

TEST(Collation, SortsAsTheDictionaryWithAccentsBesideTheirLetter)
{
    QStringList words = {QStringLiteral("Oliva"), QStringLiteral("Ñandú"), QStringLiteral("azúcar"),
                         QStringLiteral("Álamo"), QStringLiteral("Nube"),  QStringLiteral("aceite"),
                         QStringLiteral("Zorro")};
    std::sort(words.begin(), words.end(), [](const QString& a, const QString& b) { return compare(a, b) < 0; });
    EXPECT_EQ(words, (QStringList{QStringLiteral("aceite"), QStringLiteral("Álamo"), QStringLiteral("azúcar"),
                                  QStringLiteral("Nube"), QStringLiteral("Ñandú"), QStringLiteral("Oliva"),
                                  QStringLiteral("Zorro")}));
}

TEST(Collation, IgnoresCaseAndTrailingBlanksButNotAccents)
{
    EXPECT_EQ(compare(QStringLiteral("Yerba  "), QStringLiteral("YERBA")), 0);
    EXPECT_EQ(compare(QStringLiteral("ñandú"), QStringLiteral("ÑANDÚ ")), 0);
    EXPECT_NE(compare(QStringLiteral("cafe"), QStringLiteral("café")), 0);
    EXPECT_LT(compare(QStringLiteral(" 1"), QStringLiteral("1")), 0); // leading blanks count
    EXPECT_LT(compare(QStringLiteral("ab"), QStringLiteral("abc")), 0);
    EXPECT_EQ(compare(QString(), QStringLiteral("   ")), 0);
}

TEST(Collation, PlainAsciiTextsCompareAsTheCollatorDoes)
{
    // The ranks of printable ASCII stand in for the collator on such texts.
    QCollator collator{QLocale(QLocale::Spanish)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const QString alphabet = QStringLiteral(" !\"#$%&'()*+,-./09:;<=>?@AZaz[\\]^_`{|}~Nn");
    QRandomGenerator random(19);
    auto word = [&] {
        QString w;
        const int length = int(random.bounded(5));
        for (int i = 0; i < length; ++i)
            w += alphabet[qsizetype(random.bounded(int(alphabet.size())))];
        return w;
    };
    auto sign = [](int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); };
    for (int i = 0; i < 20000; ++i) {
        QString a = word();
        QString b = word();
        const int expected = sign(collator.compare(QString(a).remove(QRegularExpression(QStringLiteral(" +$"))),
                                                   QString(b).remove(QRegularExpression(QStringLiteral(" +$")))));
        ASSERT_EQ(sign(compare(a, b)), expected) << '"' << a.toStdString() << "\" vs \"" << b.toStdString() << '"';
    }
}

} // namespace
