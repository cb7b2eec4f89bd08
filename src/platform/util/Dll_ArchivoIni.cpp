#include "platform/util/Dll_ArchivoIni.h"

#include "platform/core/ProgramWide.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/FileNameCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {

ProgramWide<Dll_ArchivoIni> g_shared;

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
    return g_shared.get();
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
    // Lines end in CR LF, LF or a lone CR, as the editor that wrote the file chose.
    const QStringList lines = platform::text::SplitLines(platform::text::DecodeFileText(file.readAll()));
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    bool inSection = false;
    for (const QString& whole : lines) {
        QStringView line = QStringView(whole).trimmed();
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
