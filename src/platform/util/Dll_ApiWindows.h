#pragma once

#include "platform/core/Variant.h"

#include <QString>

namespace platform {

// Questions about the machine and opening documents with the desktop's
// default application. The program shares one instance (shared()).
class Dll_ApiWindows
{
public:
    // The program-wide instance, created on first use and dropped on reset.
    static Dll_ApiWindows& shared();

    // The host name.
    QString NombreEquipo() const;
    // The login name of the user who owns the process.
    QString NombreUsuarioWindows() const;
    // The temporary folder (QDir::tempPath()), the last resort for files the program writes on the side.
    QString CarpetaAlternativa() const;
    // Opens `file` (a path or an address; one pair of enclosing double quotes
    // is removed) with the desktop's default application, never through a
    // command line. Only the default operation ("" or "open") is known; the
    // window handle, the parameters, the folder and the show command have no
    // meaning for the desktop's opener and are not used. Returns True when
    // the desktop accepted the request.
    Variant EjecutarShell(long windowHandle, const QString& operation, const QString& file, const QString& parameters,
                          const QString& folder, long showCommand);
};

} // namespace platform
