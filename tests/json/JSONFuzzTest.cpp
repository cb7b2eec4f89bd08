// Feeds the reader random, mutated, truncated and deeply nested texts: every
// one must come back (no hang, no stack overflow) with either a tree and no
// error lines, or error lines.
#include "CanonicalForm.h"
#include "PrintQString.h"
#include "json/JSON.h"
#include "platform/core/Collection.h"
#include "platform/core/Decimal.h"
#include "platform/core/Dictionary.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using json::LastParseErrors;
using json::ParseDocument;
using json_tests::canonicalLine;
using platform::Variant;

namespace {

bool isContainer(const Variant& v)
{
    return v.type() == platform::VariantType::Dictionary || v.type() == platform::VariantType::Collection;
}

// Parses `text` and checks that it gave a tree without errors or error
// lines; true when the parse was clean.
bool parsesToValueOrErrors(const QString& text)
{
    const Variant result = ParseDocument(text);
    const QString errors = LastParseErrors();
    if (errors.isEmpty()) {
        EXPECT_TRUE(isContainer(result)) << text.left(200).toStdString();
        return true;
    }
    if (errors == u"Invalid JSON") {
        EXPECT_TRUE(result.isEmpty()) << text.left(200).toStdString();
    } else {
        EXPECT_TRUE(isContainer(result)) << text.left(200).toStdString();
        EXPECT_TRUE(errors.endsWith(u"\r\n")) << text.left(200).toStdString();
    }
    return false;
}

class TreeMaker
{
public:
    explicit TreeMaker(unsigned seed) : m_random(seed) {}

    Variant value(int depth)
    {
        switch (pick(depth > 0 ? 7 : 5)) {
        case 0:
            return text(u"abc xyz\"'\\/\b\f\n\r\t\u00e9\u20ac{}[]:,", 12);
        case 1: {
            QString digits = pick(2) ? QStringLiteral("-") : QString();
            digits += text(u"123456789", 1) + u'7' + text(u"0123456789", 26);
            if (pick(2)) {
                digits += u'.' + text(u"0123456789", 10);
            }
            return *platform::Decimal::parse(digits);
        }
        case 2:
            return bool(pick(2));
        case 3:
            return Variant::null();
        case 4:
            return text(u"\U0001F600\u00f1", 3);
        case 5: {
            auto list = std::make_shared<platform::Collection>();
            for (int n = pick(5); n > 0; --n) {
                list->add(value(depth - 1));
            }
            return list;
        }
        default: {
            auto object = std::make_shared<platform::Dictionary>();
            for (int n = pick(5); n > 0; --n) {
                object->insert(text(u"abcdefXYZ_09-$.", 1 + pick(6)), value(depth - 1));
            }
            return object;
        }
        }
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    QString text(QStringView alphabet, int maxLength)
    {
        QString out;
        for (int n = pick(maxLength + 1); n > 0; --n) {
            qsizetype i = pick(int(alphabet.size()));
            // Surrogate pairs stay whole.
            if (alphabet[i].isLowSurrogate()) {
                --i;
            }
            out += alphabet[i];
            if (alphabet[i].isHighSurrogate()) {
                out += alphabet[i + 1];
            }
        }
        return out;
    }

    std::mt19937& random() { return m_random; }

private:
    std::mt19937 m_random;
};

} // namespace

TEST(JSONFuzz, RandomTextsGiveAValueOrErrorLines)
{
    TreeMaker maker(20240601);
    const QString alphabet = QStringLiteral("{}[]{}[]:,,\"\"''\\/*()tfnrule0123456789.-+eE \n\tab");
    int clean = 0;
    for (int i = 0; i < 20000; ++i) {
        QString text = maker.pick(2) ? QStringLiteral("[") : QStringLiteral("{");
        text += maker.text(alphabet, 60);
        clean += parsesToValueOrErrors(text) ? 1 : 0;
    }
    // Some random texts are valid documents of the lenient dialect.
    EXPECT_GT(clean, 0);
}

TEST(JSONFuzz, GeneratedTreesReadBackAndEveryTruncationFails)
{
    TreeMaker maker(7);
    for (int i = 0; i < 1000; ++i) {
        const Variant tree = maker.value(5);
        QString text = canonicalLine(tree);
        if (!isContainer(tree)) {
            text = u'[' + text + u']';
        }
        const Variant read = ParseDocument(text);
        ASSERT_EQ(LastParseErrors(), QString()) << text.toStdString();
        EXPECT_EQ(canonicalLine(read), text);
        for (qsizetype cut = 0; cut < text.size(); ++cut) {
            EXPECT_FALSE(parsesToValueOrErrors(text.left(cut))) << text.left(cut).toStdString();
        }
    }
}

TEST(JSONFuzz, MutatedDocumentsGiveAValueOrErrorLines)
{
    TreeMaker maker(99);
    const QString replacements = QStringLiteral("{}[]:,\"'\\/*x0.e-");
    for (int i = 0; i < 5000; ++i) {
        QString text = u'[' + canonicalLine(maker.value(4)) + u']';
        for (int n = 1 + maker.pick(4); n > 0; --n) {
            text[maker.pick(int(text.size()))] = replacements[maker.pick(int(replacements.size()))];
        }
        parsesToValueOrErrors(text);
    }
}

TEST(JSONFuzz, DeepNestingStopsWithAnErrorLine)
{
    const QString deep[] = {
        QString(100000, u'['),
        QString(100000, u'[') + QString(100000, u']'),
        QStringLiteral("[{").repeated(50000),
        QStringLiteral("{a:[").repeated(50000),
        QStringLiteral("{'k':").repeated(50000) + QStringLiteral("1") + QString(50000, u'}'),
        QStringLiteral("[/*") + QString(100000, u'*'),
        QStringLiteral("[\"") + QString(100000, u'\\'),
    };
    for (const QString& text : deep) {
        EXPECT_FALSE(parsesToValueOrErrors(text)) << text.left(40).toStdString();
    }
}
