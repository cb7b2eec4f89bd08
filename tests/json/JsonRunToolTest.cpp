#include "PrintQString.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int status = -1;
    QString out;
};

ToolRun jsonrun(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(JSONRUN_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

QString fileWith(const QString& name, const QByteArray& bytes)
{
    const QString path = testing_support::testFolder() + u'/' + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

TEST(JsonRunTool, PrintsTheTreeOrTheErrorLines)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        int status;
        const char* out;
    } cases[] = {
        {"clean.json", "// list\n{b: [1, 2.50, 'x'], \"a\": {\"t\": true, \"n\": null}}\n", 0,
         "{\"b\":[1,2.5,\"x\"],\"a\":{\"t\":true,\"n\":null}}\n"},
        {"utf8.json",
         "[\"\xc3\xb1"
         "and\xc3\xba\", \"\\u00e9\"]",
         0,
         "[\"\xc3\xb1"
         "and\xc3\xba\",\"\xc3\xa9\"]\n"},
        {"cp1252.json", "[\"a\xf1o\"]", 0, "[\"a\xc3\xb1o\"]\n"},
        {"errors.json", "{\"a\": [1, x], \"b\"", 1, "Type mismatch: x], \"b\"\r\n"},
        {"missing.json", "[[1", 1, "Missing ']': [[1\r\nMissing ']': [[1\r\n"},
        {"scalar.json", "42", 1, "Invalid JSON\n"},
        {"empty.json", "", 1, "Invalid JSON\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = jsonrun({fileWith(QString::fromUtf8(c.name), c.bytes)});
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_EQ(run.out, QString::fromUtf8(c.out)) << c.name;
    }
}

TEST(JsonRunTool, EndsWithTwoWhenTheFileCannotBeRead)
{
    EXPECT_EQ(jsonrun({testing_support::testFolder() + QStringLiteral("/absent.json")}).status, 2);
    EXPECT_EQ(jsonrun({}).status, 2);
}
