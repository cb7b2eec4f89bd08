#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace testing_support {

// Takes the desktop's open requests (file, http and https addresses) while
// it lives, instead of starting an application.
class DesktopCatcher : public QObject
{
    Q_OBJECT

public:
    DesktopCatcher();
    ~DesktopCatcher() override;

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url);
};

} // namespace testing_support
