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

QString resolvePathNoCase(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const QFileInfo info(path);
    const QString parent = info.path();
    if (parent == path || info.fileName().isEmpty()) {
        return path;
    }
    const QString resolvedParent = resolvePathNoCase(parent);
    if (!QFileInfo(resolvedParent).isDir()) {
        return path;
    }
    const QString resolved = resolveFileNoCase(QDir(resolvedParent).filePath(info.fileName()));
    return QFileInfo::exists(resolved) ? resolved : path;
}

} // namespace platform
