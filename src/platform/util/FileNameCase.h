#pragma once

#include <QString>

namespace platform {

// The path of an existing entry whose last name matches `path`'s without
// regard to letter case (the exact name first, then the first match in name
// order); `path` itself when nothing matches.
QString resolveFileNoCase(const QString& path);

// The same for every name of `path` below its longest existing part, so that
// "/a/Img_Menu/grabar.png" finds "/a/img_menu/GRABAR.png"; `path` itself when
// some name has no match.
QString resolvePathNoCase(const QString& path);

} // namespace platform
