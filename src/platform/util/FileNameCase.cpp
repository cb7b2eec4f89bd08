#include "platform/util/FileNameCase.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString resolveFileNoCase(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.exists()) {
        return path;
    }
    const QDir folder = info.dir();
    const QString name = info.fileName();
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return folder.filePath(entry);
        }
    }
    return path;
}

} // namespace platform
