#include "platform/util/Dll_ApiWindows.h"

#include "support/DesktopCatcher.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using platform::Dll_ApiWindows;

TEST(ApiWindows, NamesTheMachineAndTheUser)
{
    Dll_ApiWindows& api = Dll_ApiWindows::shared();
    EXPECT_EQ(api.NombreEquipo(), QSysInfo::machineHostName());
    EXPECT_FALSE(api.NombreEquipo().isEmpty());
    const passwd* pw = getpwuid(getuid());
    ASSERT_NE(pw, nullptr);
    EXPECT_EQ(api.NombreUsuarioWindows(), QString::fromLocal8Bit(pw->pw_name));
}

TEST(ApiWindows, FallBackFolderIsTheTemporaryFolder)
{
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", testing_support::testFolder().toUtf8());
    EXPECT_EQ(Dll_ApiWindows::shared().CarpetaAlternativa(), QDir(testing_support::testFolder()).absolutePath());
    qputenv("TMPDIR", saved);
}

TEST(ApiWindows, EjecutarShellOpensThroughTheDesktop)
{
    testing_support::DesktopCatcher catcher;
    const QString file = testing_support::testFolder() + QStringLiteral("/Lista de precios.xlsx");
    QFile(file).open(QIODevice::WriteOnly);
    Dll_ApiWindows& api = Dll_ApiWindows::shared();
    EXPECT_TRUE(api.EjecutarShell(0, QString(), u'"' + file + u'"', QString(), QString(), 1).toBoolean().value());
    EXPECT_TRUE(api.EjecutarShell(0, QStringLiteral("open"), QStringLiteral("https://example.org/a b?x=1;rm -rf"),
                                  QString(), QString(), 6)
                    .toBoolean()
                    .value());
    // A relative name is taken from the program folder.
    EXPECT_TRUE(api.EjecutarShell(0, QString(), QStringLiteral("Lista de precios.xlsx"), QString(), QString(), 1)
                    .toBoolean()
                    .value());
    EXPECT_FALSE(api.EjecutarShell(0, QStringLiteral("print"), file, QString(), QString(), 1).toBoolean().value());
    EXPECT_FALSE(api.EjecutarShell(0, QString(), QString(), QString(), QString(), 1).toBoolean().value());
    ASSERT_EQ(catcher.opened.size(), 3);
    EXPECT_EQ(catcher.opened[0], QUrl::fromLocalFile(file));
    EXPECT_EQ(catcher.opened[1].scheme(), QStringLiteral("https"));
    EXPECT_EQ(catcher.opened[1].host(), QStringLiteral("example.org"));
    EXPECT_EQ(catcher.opened[2], QUrl::fromLocalFile(file));
}
