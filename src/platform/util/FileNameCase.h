#pragma once

#include <QString>

namespace platform {

// The path of an existing entry whose last name matches `path`'s without
// regard to letter case (the exact name first, then the first match in name
// order); `path` itself when nothing matches.
QString resolveFileNoCase(const QString& path);

} // namespace platform
