#include "platform/util/FileNameCase.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using platform::resolvePathNoCase;

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(FileNameCase, EveryNameOfAPathIsMatchedWithoutRegardToCase)
{
    const QString base = testing_support::testFolder();
    ASSERT_TRUE(QDir(base).mkpath(QStringLiteral("imagenes/img_menu")));
    touch(base + QStringLiteral("/imagenes/img_menu/GRABAR.png"));

    EXPECT_EQ(resolvePathNoCase(base + QStringLiteral("/Imagenes/IMG_MENU/grabar.PNG")),
              base + QStringLiteral("/imagenes/img_menu/GRABAR.png"));
    EXPECT_EQ(resolvePathNoCase(base + QStringLiteral("/IMAGENES/img_menu")),
              base + QStringLiteral("/imagenes/img_menu"));
    EXPECT_EQ(resolvePathNoCase(base + QStringLiteral("/imagenes/img_menu/GRABAR.png")),
              base + QStringLiteral("/imagenes/img_menu/GRABAR.png"));
}

TEST(FileNameCase, APathWithANameThatMatchesNothingComesBackUnchanged)
{
    const QString base = testing_support::testFolder();
    ASSERT_TRUE(QDir(base).mkpath(QStringLiteral("img_menu")));
    const QString missing = base + QStringLiteral("/IMG_MENU/nada/GRABAR.png");
    EXPECT_EQ(resolvePathNoCase(missing), missing);
    EXPECT_EQ(resolvePathNoCase(QString()), QString());
}
