#include "support/DesktopCatcher.h"

#include <QDesktopServices>

namespace testing_support {

namespace {
constexpr const char* kSchemes[] = {"file", "http", "https"};
}

DesktopCatcher::DesktopCatcher()
{
    for (const char* scheme : kSchemes) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
}

DesktopCatcher::~DesktopCatcher()
{
    for (const char* scheme : kSchemes) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
}

void DesktopCatcher::open(const QUrl& url)
{
    opened.append(url);
}

} // namespace testing_support
