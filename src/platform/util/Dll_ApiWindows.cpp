#include "platform/util/Dll_ApiWindows.h"

#include "platform/core/ProgramWide.h"
#include "platform/core/Runtime.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

ProgramWide<Dll_ApiWindows> g_shared;

} // namespace

Dll_ApiWindows& Dll_ApiWindows::shared()
{
    return g_shared.get();
}

QString Dll_ApiWindows::NombreEquipo() const
{
    return QSysInfo::machineHostName();
}

QString Dll_ApiWindows::NombreUsuarioWindows() const
{
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name) {
        return QString::fromLocal8Bit(pw->pw_name);
    }
    QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? qEnvironmentVariable("LOGNAME") : name;
}

QString Dll_ApiWindows::CarpetaAlternativa() const
{
    return QDir::tempPath();
}

Variant Dll_ApiWindows::EjecutarShell(long windowHandle, const QString& operation, const QString& file,
                                      const QString& parameters, const QString& folder, long showCommand)
{
    Q_UNUSED(windowHandle);
    Q_UNUSED(parameters);
    Q_UNUSED(folder);
    Q_UNUSED(showCommand);
    if (!operation.isEmpty() && operation.compare(u"open", Qt::CaseInsensitive) != 0) {
        return false;
    }
    QString target = file.trimmed();
    if (target.size() >= 2 && target.startsWith(u'"') && target.endsWith(u'"')) {
        target = target.mid(1, target.size() - 2);
    }
    if (target.isEmpty()) {
        return false;
    }
    // An address keeps its scheme; anything else is a local path (relative
    // paths are taken from the program folder).
    const QUrl asUrl(target, QUrl::TolerantMode);
    QUrl url;
    if (asUrl.isValid() && asUrl.scheme().size() > 1 && !QFileInfo::exists(target)) {
        url = asUrl;
    } else {
        const QFileInfo info(target);
        url = QUrl::fromLocalFile(info.isAbsolute() ? target
                                                    : QDir(Runtime::instance().programFolder()).filePath(target));
    }
    return QDesktopServices::openUrl(url);
}

} // namespace platform
