#include "platform/util/Dll_ArchivoIni.h"

#include "platform/core/Runtime.h"
#include "platform/util/FileNameCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <memory>

namespace platform {

namespace {

std::unique_ptr<Dll_ArchivoIni> g_shared;

// Windows-1252 in the range 0x80..0x9F; the other bytes are Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeText(const QByteArray& bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    text.clear();
    text.reserve(view.size());
    for (char c : view) {
        const quint8 b = quint8(c);
        text += QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

QString unquoted(QString value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
        value = value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

Dll_ArchivoIni& Dll_ArchivoIni::shared()
{
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        Runtime::instance().onReset([] { g_shared.reset(); });
    }
    if (!g_shared) {
        g_shared = std::make_unique<Dll_ArchivoIni>();
    }
    return *g_shared;
}

QString Dll_ArchivoIni::LeerValor(const QString& fileName, const QString& section, const QString& key,
                                  const Variant& defaultValue) const
{
    const QString fallback = defaultValue.toText();
    if (fileName.trimmed().isEmpty()) {
        return fallback;
    }
    const QString path =
        QFileInfo(fileName).isAbsolute() ? fileName : QDir(Runtime::instance().programFolder()).filePath(fileName);
    QFile file(resolveFileNoCase(path));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly)) {
        return fallback;
    }
    const QString text = decodeText(file.readAll());
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    bool inSection = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
            inSection = name.trimmed().compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            continue;
        }
        if (line.left(eq).trimmed().compare(wantedKey, Qt::CaseInsensitive) == 0) {
            return unquoted(line.mid(eq + 1).trimmed().toString());
        }
    }
    return fallback;
}

} // namespace platform
