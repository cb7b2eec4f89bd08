#include "platform/util/Dll_ArchivoIni.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using platform::Dll_ArchivoIni;

namespace {

// Copies a fixture into the program folder under `name`.
void installIni(const QString& fixture, const QString& name)
{
    const QString target = testing_support::testFolder() + u'/' + name;
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(testing_support::fixturePath(fixture), target));
}

QString read(const QString& section, const QString& key, const platform::Variant& def = QStringLiteral("<def>"))
{
    return Dll_ArchivoIni::shared().LeerValor(QStringLiteral("cn000pr.ini"), section, key, def);
}

} // namespace

TEST(ArchivoIni, ReadsSectionsAndKeysWithoutRegardToCase)
{
    installIni(QStringLiteral("ini/utf8.ini"), QStringLiteral("CN000PR.INI"));
    struct Case
    {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"JUAN_DEMOFont", "Font", "Segoe UI Semibold"}, // blanks around the value ignored
        {"juan_demofont", "FONT", "Segoe UI Semibold"}, // first occurrence wins over "font=Arial"
        {"JUAN_DEMOFONTSIZE", "fontsize", "11"},        // indented key
        {"EQUIPO1|JUAN", "FlatToolbars", "0"},
        {"EQUIPO1|JUAN BASEDEDATOS", "Servidor", "demo/servidor"},
        {"EQUIPO1|JUAN BASEDEDATOS", "DbName", "Ñandú Datos"}, // quotes removed, UTF-8 kept
        {"EQUIPO1|JUAN BASEDEDATOS", "Vacio", ""},             // present but empty: not the default
        {"EQUIPO1|JUAN BASEDEDATOS", "Usuario", "<def>"},      // commented out with ";"
        {"EQUIPO1|JUAN BASEDEDATOS", "UserPassWord", "<def>"}, // commented out with "#"
        {"EQUIPO1|JUAN BASEDEDATOS", "SinIgual", "<def>"},
        {"JUAN_DEMOFont", "Extra", "sólo aquí"}, // from the repeated block of the section
        {"", "Suelto", "<def>"},                 // lines before any section belong to none
        {"NoExiste", "Font", "<def>"},
        {"JUAN_DEMOFont", "NoExiste", "<def>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(QString::fromUtf8(c.section), QString::fromUtf8(c.key)), QString::fromUtf8(c.expected))
            << c.section << " / " << c.key;
    }
}

TEST(ArchivoIni, ReadsLinesEndedByCarriageReturnsAlone)
{
    QFile file(testing_support::testFolder() + QStringLiteral("/cn000pr.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Primera]\rFont=Arial\rFontSize=10\r\r[Segunda]\r\nStyles=2\n[Tercera]\rStyles=3");
    file.close();
    EXPECT_EQ(read(QStringLiteral("Primera"), QStringLiteral("Font")), QStringLiteral("Arial"));
    EXPECT_EQ(read(QStringLiteral("Primera"), QStringLiteral("FontSize")), QStringLiteral("10"));
    EXPECT_EQ(read(QStringLiteral("Primera"), QStringLiteral("Styles")), QStringLiteral("<def>"));
    EXPECT_EQ(read(QStringLiteral("Segunda"), QStringLiteral("Styles")), QStringLiteral("2"));
    EXPECT_EQ(read(QStringLiteral("Tercera"), QStringLiteral("Styles")), QStringLiteral("3"));
}

TEST(ArchivoIni, ReadsAWindows1252File)
{
    installIni(QStringLiteral("ini/cp1252.ini"), QStringLiteral("Cn000Pr.ini"));
    EXPECT_EQ(read(QStringLiteral("SECCIÓN"), QStringLiteral("nombre")), QStringLiteral("Peña € “ok”"));
}

TEST(ArchivoIni, SkipsAByteOrderMark)
{
    installIni(QStringLiteral("ini/bom.ini"), QStringLiteral("cn000pr.ini"));
    EXPECT_EQ(read(QStringLiteral("bom"), QStringLiteral("Clave")), QStringLiteral("con marca"));
}

TEST(ArchivoIni, MissingFileOrFolderGivesTheDefault)
{
    EXPECT_EQ(read(QStringLiteral("JUAN_DEMOFont"), QStringLiteral("Font"), QStringLiteral("Segoe UI")),
              QStringLiteral("Segoe UI"));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), 9), QStringLiteral("9"));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k"), platform::Variant()), QString());
    ASSERT_TRUE(QDir(testing_support::testFolder()).mkdir(QStringLiteral("cn000pr.ini")));
    EXPECT_EQ(read(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("<def>"));
}

TEST(ArchivoIni, NeverWritesTheFile)
{
    installIni(QStringLiteral("ini/utf8.ini"), QStringLiteral("cn000pr.ini"));
    const QString path = testing_support::testFolder() + QStringLiteral("/cn000pr.ini");
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    read(QStringLiteral("Nueva"), QStringLiteral("Clave"));
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}
