// jsonrun: reads a JSON file with the program's JSON reader and prints the
// tree it gives in one canonical line, or the reader's error lines, so that
// any collection of JSON files can be run through the reader.
//
//   jsonrun <file>
//
// The file is read as the program reads its files: UTF-8 when valid, else
// Windows-1252. The error text is printed as the reader gives it (lines
// ended by CR LF), followed by a line break when it has none of its own.
// Exit status: 0 when the text parsed without error lines, 1 when it gave
// error lines, 2 when the file could not be read.

#include "CanonicalForm.h"
#include "json/JSON.h"
#include "platform/core/Text.h"

#include <QFile>
#include <QString>

#include <cstdio>

namespace {

constexpr int kParsed = 0;
constexpr int kErrorLines = 1;
constexpr int kNotRead = 2;

void write(std::FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), to);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        write(stderr, QStringLiteral("usage: jsonrun <file>\n"));
        return kNotRead;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        write(stderr, QStringLiteral("jsonrun: cannot read %1: %2\n").arg(path, file.errorString()));
        return kNotRead;
    }
    const QString text = platform::text::DecodeFileText(file.readAll());
    const platform::Variant tree = json::ParseDocument(text);
    QString errors = json::LastParseErrors();
    if (errors.isEmpty()) {
        write(stdout, json_tests::canonicalLine(tree) + u'\n');
        return kParsed;
    }
    if (!errors.endsWith(u'\n')) {
        errors += u'\n';
    }
    write(stdout, errors);
    return kErrorLines;
}
