#include "AddressSpaceLimit.h"
#include "CanonicalForm.h"
#include "MappedText.h"
#include "PrintQString.h"
#include "json/JSON.h"
#include "json/cJSONScript.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include <gtest/gtest.h>

using json::LastParseErrors;
using json::ParseDocument;
using json_tests::canonicalLine;

namespace {

struct Parsed
{
    QString tree;
    QString errors;
};

Parsed parse(const QString& text)
{
    const platform::Variant result = ParseDocument(text);
    return {result.isEmpty() ? QStringLiteral("nothing") : canonicalLine(result), LastParseErrors()};
}

struct Case
{
    const char* text;
    const char* tree;
};

void expectClean(const Case* begin, const Case* end)
{
    for (const Case* c = begin; c != end; ++c) {
        const Parsed p = parse(QString::fromUtf8(c->text));
        EXPECT_EQ(p.tree, QString::fromUtf8(c->tree)) << c->text;
        EXPECT_EQ(p.errors, QString()) << c->text;
    }
}

// A text, the tree it reads as, and its error lines.
struct ParseCase
{
    const char* text;
    const char* tree;
    const char* errors;
};

void expectParses(std::initializer_list<ParseCase> cases)
{
    for (const ParseCase& c : cases) {
        const Parsed p = parse(QString::fromUtf8(c.text));
        EXPECT_EQ(p.tree, QString::fromUtf8(c.tree)) << c.text;
        EXPECT_EQ(p.errors, QString::fromUtf8(c.errors)) << c.text;
    }
}

QString nested(int depth)
{
    return QString(depth, u'[') + QString(depth, u']');
}

} // namespace

TEST(JSONReader, ReadsItsLenientDialect)
{
    const Case cases[] = {
        // Blanks: tabs, line breaks, "(" and ")"; a lone "/" or "*" is a blank as well.
        {" \t\r\n[1]", "[1]"},
        {"([1,(2)])", "[1,2]"},
        {"[1 / 2 * 3]", "[1,2,3]"},
        // Comments of both forms, before and inside the document.
        {"// heading\n{\"a\":1}", "{\"a\":1}"},
        {"{/* note */\"a\":/**/1}", "{\"a\":1}"},
        {"[1, // one\r\n 2]", "[1,2]"},
        {"/* 2 * 3 = 6 */ [1]", "[1]"},
        {"/* ** / *\n/ */ [1]", "[1]"},
        {"// see a/b and a*b\n[1]", "[1]"},
        // Commas are optional, and a trailing one closes nothing.
        {"{a:1 b:2}", "{\"a\":1,\"b\":2}"},
        {"[1 2 3]", "[1,2,3]"},
        {"[1,,2,]", "[1,2]"},
        {"[{\"a\":1,}, {\"b\":2}]", "[{\"a\":1},{\"b\":2}]"},
        {"{}", "{}"},
        {"[]", "[]"},
        // Strings in double or single quotes.
        {"['x', 'y']", "[\"x\",\"y\"]"},
        {"[\"it's\", 'say \"hi\"']", "[\"it's\",\"say \\\"hi\\\"\"]"},
        {"[\"a\nb\"]", "[\"a\\nb\"]"},
        // Escapes.
        {R"(["\"\\\/\'"])", R"(["\"\\/'"])"},
        {R"(["\b\f\n\r\t"])", R"(["\b\f\n\r\t"])"},
        {R"(["\u00e9\u20AC"])", "[\"\xc3\xa9\xe2\x82\xac\"]"},
        {R"(["\ud83d\ude00"])", "[\"\xf0\x9f\x98\x80\"]"},
        {R"(["\ud83d"])", R"(["\ud83d"])"},
        {R"(["\q\%"])", R"(["q%"])"},
        {R"(["\u12G4", "\u"])", R"(["u12G4","u"])"},
        // Keys: quoted with either quote or not at all; blanks inside are dropped.
        {"{first name: 1}", "{\"firstname\":1}"},
        {"{\"first name\" : 1}", "{\"firstname\":1}"},
        {"{'a:b':1, \"it's\":2}", "{\"a:b\":1,\"it's\":2}"},
        {"{a:{b:[1,{c:null}]}}", "{\"a\":{\"b\":[1,{\"c\":null}]}}"},
        {"{:1}", "{\"\":1}"},
        {"{A:1,a:2}", "{\"A\":1,\"a\":2}"},
        // Literals, case-exact.
        {"[true,false,null]", "[true,false,null]"},
        // Numbers: integers, fractions, exponents, the decimal type's extremes.
        {"[0,-1,+7,007,1.50,-0.5,.5]", "[0,-1,7,7,1.5,-0.5,0.5]"},
        {"[1e3,2.5E-2,1E+2,-4e0]", "[1000,0.025,100,-4]"},
        {"[79228162514264337593543950335,-79228162514264337593543950335]",
         "[79228162514264337593543950335,-79228162514264337593543950335]"},
        {"[0.0000000000000000000000000001,1e-28,1e-29]",
         "[0.0000000000000000000000000001,0.0000000000000000000000000001,0]"},
        {"[3.14159265358979323846264338327950]", "[3.1415926535897932384626433833]"},
        // Text after the top-level value is not examined.
        {"[1] trailing {", "[1]"},
        {"{\"a\":1}}}]", "{\"a\":1}"},
    };
    expectClean(std::begin(cases), std::end(cases));
}

TEST(JSONReader, NestsUpToAThousandLevels)
{
    const Parsed p = parse(nested(json::kMaxNesting));
    EXPECT_EQ(p.errors, QString());
    EXPECT_EQ(p.tree, nested(json::kMaxNesting));
}

TEST(JSONReader, WritesAnErrorLineForEachProblem)
{
    struct ErrorCase
    {
        const char* text;
        const char* errors;
        const char* tree;
    } cases[] = {
        {"", "Invalid JSON", "nothing"},
        {"  5", "Invalid JSON", "nothing"},
        {"'text'", "Invalid JSON", "nothing"},
        {"// only a comment", "Invalid JSON", "nothing"},
        {"[1,2", "Missing ']': [1,2\r\n", "[1,2]"},
        {"{\"a\":1", "Missing '}': {\"a\":1\r\n", "{\"a\":1}"},
        {"{\"list\":[1,2,3,4,5,6,7,8,9", "Missing ']': \":[1,2,3,4,5,6,7,8,9\r\nMissing '}': \":[1,2,3,4,5,6,7,8,9\r\n",
         "{\"list\":[1,2,3,4,5,6,7,8,9]}"},
        // A string that the text ends inside keeps its characters; only the bracket is missing.
        {"[\"abc", "Missing ']': [\"abc\r\n", "[\"abc\"]"},
        // So does one that ends in a backslash, which has nothing left to escape.
        {"[\"abc\\", "Missing ']': [\"abc\\\r\n", "[\"abc\"]"},
        {"{k:'a\\tb\\", "Missing '}': {k:'a\\tb\\\r\n", "{\"k\":\"a\\tb\"}"},
        {"[tru]", "Invalid Boolean at position 2 : tru]\r\n", "[]"},
        {"[1, nul]", "Invalid null value at position 5 : nul]\r\n", "[1]"},
        {"[-1.5foo]", "Invalid Boolean at position 6 : foo]\r\n", "[-1.5]"},
        {"[ false, nul", "Invalid null value at position 10 : nul\r\n", "[false]"},
        {"[[1, tru], 2]", "Invalid Boolean at position 6 : tru], 2]\r\n", "[[1]]"},
        {"{\"a\": True}", "Type mismatch: a\r\n", "{}"},
        {"[1, x, 2]", "Type mismatch: x, 2]\r\n", "[1]"},
        {"[1-2, 3]", "Type mismatch: , 3]\r\n", "[]"},
        {"[1,2,3,4,5,6,7,8,9,10,11,12,1.2.3]", "Type mismatch: ]\r\n", "[1,2,3,4,5,6,7,8,9,10,11,12]"},
        {"{\"n\": 79228162514264337593543950336}", "Overflow: n\r\n", "{}"},
        {"{\"a\":1,\"a\":2,\"b\":3}", "This key is already associated with an element of this collection: a\r\n",
         "{\"a\":1}"},
        {"{\"a\" 1}", "Invalid Key at position 6 : a\r\n", "{\"a\":1}"},
        {"{\"x\":[1], \"y\" {}}", "Invalid Key at position 15 : y\r\n", "{\"x\":[1],\"y\":{}}"},
    };
    for (const ErrorCase& c : cases) {
        const Parsed p = parse(QString::fromUtf8(c.text));
        EXPECT_EQ(p.errors, QString::fromUtf8(c.errors)) << c.text;
        EXPECT_EQ(p.tree, QString::fromUtf8(c.tree)) << c.text;
    }
}

TEST(JSONReader, StopsNestingBeyondAThousandLevels)
{
    const QString text = QString(100000, u'[');
    const Parsed p = parse(text);
    EXPECT_EQ(p.errors,
              QStringLiteral("Nesting too deep at position 1001 : ") + QString(20, u'[') + QStringLiteral("\r\n"));

    const Parsed objects = parse(QStringLiteral("{a:").repeated(5000));
    EXPECT_TRUE(objects.errors.startsWith(QStringLiteral("Nesting too deep at position 3001 : {a:{a:")))
        << objects.errors.toStdString();
}

TEST(JSONReader, ReadsTheDecimalPointWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Parsed p = parse(QStringLiteral("[1.5, 1,5, 2e-1]"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(p.errors, QString());
    EXPECT_EQ(p.tree, QStringLiteral("[1.5,1,5,0.2]"));
}

TEST(JSONReader, ClearsTheErrorsOfTheLastParse)
{
    parse(QStringLiteral("[tru]"));
    EXPECT_FALSE(LastParseErrors().isEmpty());
    parse(QStringLiteral("[true]"));
    EXPECT_EQ(LastParseErrors(), QString());
    parse(QStringLiteral("x"));
    EXPECT_EQ(LastParseErrors(), QStringLiteral("Invalid JSON"));
}

TEST(JSONReader, AnUnquotedKeyStopsAtAQuote)
{
    expectParses({
        // The quote begins the value, as a bracket after an unquoted key does.
        {"{a\"x\"}", "{\"a\":\"x\"}", ""},
        {"{a{b:1}}", "{\"a\":{\"b\":1}}", ""},
        {"[{a'b':1}, {c:2}]", "[{\"a\":\"b\",\"\":1},{\"c\":2}]", ""},
        // A value the text ends inside runs to the end; the key is still only "a".
        {"{a'b:1}, {c:2}", "{\"a\":\"b:1}, {c:2}\"}", "Missing '}': {a'b:1}, {c:2}\r\n"},
        // Inside quotes the other quote is part of the key.
        {"{\"it's\":1, 'say \"hi\"':2}", "{\"it's\":1,\"say\\\"hi\\\"\":2}", ""},
    });
}

TEST(JSONReader, OpensCommentsOnlyAtTheirMarks)
{
    expectParses({
        // A "/" or "*" that opens nothing is a blank.
        {"[1 ** 2]", "[1,2]", ""},
        {"[1 * 2 / 3]", "[1,2,3]", ""},
        {"[1 / / 2]", "[1,2]", ""},
        {"[1 / * 2 * / 3]", "[1,2,3]", ""},
        // "//" runs to the line break, "/*" to the next "*/".
        {"/**/[1]", "[1]", ""},
        {"[1 /**/ 2]", "[1,2]", ""},
        {"[1 /*/ 2 */ 3]", "[1,3]", ""},
        {"[1 /* ** / * / */ 2]", "[1,2]", ""},
        {"[1 /* a\r\nb */ 2]", "[1,2]", ""},
        {"[1 // a */ b\n 2]", "[1,2]", ""},
        {"{a:1 // b:2\r\n c:3}", "{\"a\":1,\"c\":3}", ""},
        // "*/" outside a comment is no blank: an unquoted key takes it...
        {"{*/a:1}", "{\"*/a\":1}", ""},
        // ...and where a value is expected it is no value.
        {"[1 */ 2]", "[1]", "Type mismatch: */ 2]\r\n"},
        {"[*/]", "[]", "Type mismatch: */]\r\n"},
        {"{a:*/1}", "{}", "Type mismatch: a\r\n"},
        {"*/ [1]", "nothing", "Invalid JSON"},
        // A comment that the text ends inside hides the closing bracket.
        {"[1 /* 2]", "[1]", "Missing ']': [1 /* 2]\r\n"},
        {"[1 // 2]", "[1]", "Missing ']': [1 // 2]\r\n"},
    });
}

TEST(JSONReader, AStringPastTheBuildersLimitFailsItsValue)
{
    // {s:'aaa...'} with 2^30 characters between the quotes, one more than
    // the string builder holds.
    const json_tests::MappedText mapped(u"{s:'", u'a', qsizetype(1) << 10, u"'}");
    ASSERT_TRUE(mapped.isValid());
    const QString& text = mapped.text();
    ASSERT_EQ(text.size(), (qsizetype(1) << 30) + 6);
    const Parsed p = parse(text);
    EXPECT_EQ(p.errors, QStringLiteral("Overflow: s\r\n"));
    EXPECT_EQ(p.tree, QStringLiteral("{}"));
    // A script reads it the same way, and shows the line.
    testing_support::ScriptedOperator& op = testing_support::scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("Overflow: s"));
    EXPECT_EQ(json::cJSONScript().Eval(text), QString());
    ASSERT_EQ(op.asked().size(), 1);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Parser Error"));
}

// Reads a long string with little memory to spare and exits with 0 when
// that fails the value with "Out of memory" and the reader then works again.
[[noreturn]] void readWithLittleMemory()
{
    // The string builder cannot take in these 2^24 characters with 4 MB to spare.
    const QString text = QStringLiteral("[1, {s:'") + QString(1 << 24, u'a') + QStringLiteral("'}]");
    Parsed p;
    p.tree = QStringLiteral("no limit");
    {
        const json_tests::AddressSpaceLimit limit(4 << 20);
        if (limit.isSet()) {
            p = parse(text);
        }
    }
    const Parsed after = parse(QStringLiteral("{s:'abc'}"));
    std::fprintf(stderr, "tree %s, errors \"%s\", after %s\n", qPrintable(p.tree), qPrintable(p.errors),
                 qPrintable(after.tree));
    const bool failed = p.tree == QStringLiteral("[1,{}]") && p.errors == QStringLiteral("Out of memory: s\r\n");
    std::exit(failed && after.tree == QStringLiteral("{\"s\":\"abc\"}") ? 0 : 1);
}

TEST(JSONReader, MemoryRunningOutFailsTheValueBeingRead)
{
    if (!json_tests::AddressSpaceLimit::available()) {
        GTEST_SKIP() << "no address-space limit under the address sanitizer";
    }
    // In a fresh process, whose heap holds nothing that earlier tests freed.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(readWithLittleMemory(), testing::ExitedWithCode(0), "");
}
