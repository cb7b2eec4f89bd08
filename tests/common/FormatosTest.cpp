#include "common/Formatos.h"

#include "platform/core/Runtime.h"
#include "support/DesktopCatcher.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QString makeFile(const QString& name)
{
    const QString path = testing_support::testFolder() + u'/' + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    return path;
}

} // namespace

TEST(Formatos, DatePatternsWriteMonthsAndMinutesWhereTheyBelong)
{
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); });
    const platform::DateTime t = platform::now();
    EXPECT_EQ(t.format(common::FechaHoraCorta()), QStringLiteral("05/03/24 14:07"));
    EXPECT_EQ(t.format(common::FechaCorta()), QStringLiteral("05/03/24"));
    EXPECT_EQ(t.format(common::HoraCorta()), QStringLiteral("14:07"));
}

TEST(Formatos, ExisteArchivoOnlyForReadableRegularFiles)
{
    const QString file = makeFile(QStringLiteral("Lista Precios.txt"));
    EXPECT_TRUE(common::ExisteArchivo(file));
    EXPECT_TRUE(common::ExisteArchivo(u'"' + file + u'"'));
    EXPECT_TRUE(common::ExisteArchivo(testing_support::testFolder() + QStringLiteral("/LISTA PRECIOS.TXT")));
    EXPECT_FALSE(common::ExisteArchivo(testing_support::testFolder()));
    EXPECT_FALSE(common::ExisteArchivo(u'"' + testing_support::testFolder() + u'"'));
    EXPECT_FALSE(common::ExisteArchivo(testing_support::testFolder() + QStringLiteral("/falta.txt")));
    EXPECT_FALSE(common::ExisteArchivo(QString()));
    EXPECT_FALSE(common::ExisteArchivo(QStringLiteral("\"\"")));
    if (getuid() != 0) {
        QFile(file).setPermissions(QFileDevice::WriteOwner);
        EXPECT_FALSE(common::ExisteArchivo(file));
    }
}

TEST(Formatos, AbrirConShellOpensTheFileWithoutACommandLine)
{
    testing_support::DesktopCatcher catcher;
    const QString spaced = makeFile(QStringLiteral("informe de precios.txt"));
    const QString odd = makeFile(QStringLiteral("a;b&c$(x).txt"));
    common::AbrirConShell(spaced, true);
    common::AbrirConShell(odd, false);
    ASSERT_EQ(catcher.opened.size(), 2);
    EXPECT_EQ(catcher.opened[0], QUrl::fromLocalFile(spaced));
    EXPECT_EQ(catcher.opened[1], QUrl::fromLocalFile(odd));
}
