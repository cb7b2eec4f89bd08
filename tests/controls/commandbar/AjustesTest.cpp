// The settings routines: names from the command line and the environment,
// the settings file's values, and the colour style found in it in each
// order of its sections.
#include "BarraPrueba.h"

#include "controls/commandbar/ModUtilVekBar.h"
#include "platform/util/Dll_ApiWindows.h"
#include "support/TestEnvironment.h"

namespace bar = controls::ModUtilVekBar;
using commandbar_tests::BarraTest;
using commandbar_tests::escribirIni;
using commandbar_tests::usuarioWindows;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

using AjustesTest = BarraTest;

TEST_F(AjustesTest, TheDataBaseNameComesFromTheCommandLine)
{
    const struct
    {
        const char* linea;
        const char* nombre;
    } casos[] = {
        {"@Server=S1; @DbName=Ventas; @Usuario=ana", "Ventas"},
        {"@Server=S1; @DBNAME = Ventas ;@Usuario=ana", "Ventas"},
        {"@DbName=\"Mis Ventas\"", "Mis Ventas"},
        {"@dbname=  ", "DEFAULT"},
        {"@DbNames=otra; @DbName=Ventas", "DEFAULT"},
        {"", "DEFAULT"},
    };
    for (const auto& caso : casos) {
        bar::EstablecerLineaDeComandos(QString::fromLatin1(caso.linea));
        EXPECT_EQ(bar::GetContextDbName(), QString::fromLatin1(caso.nombre)) << caso.linea;
    }
}

TEST_F(AjustesTest, WithoutACommandLineValueTheEnvironmentNamesTheDataBase)
{
    entorno("DBNAME", QStringLiteral(" tercera "));
    EXPECT_EQ(bar::GetContextDbName(), QStringLiteral("tercera"));
    entorno("GDBNAME", QStringLiteral("segunda"));
    EXPECT_EQ(bar::GetContextDbName(), QStringLiteral("segunda"));
    entorno("QRT_DBNAME", QStringLiteral("primera"));
    EXPECT_EQ(bar::GetContextDbName(), QStringLiteral("primera"));
    bar::EstablecerLineaDeComandos(QStringLiteral("@DbName=Ventas"));
    EXPECT_EQ(bar::GetContextDbName(), QStringLiteral("Ventas"));
}

TEST_F(AjustesTest, TheUserNameIsTheEnvironmentsElseTheLoginName)
{
    entorno("USERNAME", QStringLiteral(" ana "));
    EXPECT_EQ(bar::GetContextUserName(), QStringLiteral("ana"));
    entorno("USERNAME", QStringLiteral("  "));
    EXPECT_EQ(bar::GetContextUserName(), platform::Dll_ApiWindows::shared().NombreUsuarioWindows());
}

TEST_F(AjustesTest, CommandArgumentsAreCutAtTheirSemicolon)
{
    bar::EstablecerLineaDeComandos(QStringLiteral("  @Usuario= ana ; @Caja=3;orvo@ "));
    EXPECT_EQ(bar::GetCommandArg(QStringLiteral("@usuario")), QStringLiteral("ana"));
    EXPECT_EQ(bar::GetCommandArg(QStringLiteral(" @Caja ")), QStringLiteral("3"));
    EXPECT_EQ(bar::GetCommandArg(QStringLiteral("@Password")), QString());
    EXPECT_EQ(bar::GetCommandArg(QString()), QString());
}

TEST_F(AjustesTest, PathsAndValuesOfTheSettingsFile)
{
    const QString programa = testing_support::testFolder() + u'/';
    EXPECT_EQ(bar::ResolveIniPath(QStringLiteral(" cn000pr.ini ")), programa + QStringLiteral("cn000pr.ini"));
    EXPECT_EQ(bar::ResolveIniPath(QStringLiteral("/etc/otro.ini")), QStringLiteral("/etc/otro.ini"));
    EXPECT_EQ(bar::ResolveIniPath(QStringLiteral("c:\\orvo\\cn000pr.ini")), QStringLiteral("c:\\orvo\\cn000pr.ini"));
    EXPECT_EQ(bar::ResolveIniPath(QStringLiteral("  ")), QString());
    EXPECT_EQ(bar::EnsureTrailingSlash(QStringLiteral(" /opt ")), QStringLiteral("/opt/"));
    EXPECT_EQ(bar::EnsureTrailingSlash(QStringLiteral("c:\\orvo\\")), QStringLiteral("c:\\orvo\\"));
    EXPECT_EQ(bar::EnsureTrailingSlash(QString()), QString());

    const QString ini = QStringLiteral("cn000pr.ini");
    EXPECT_EQ(bar::ReadIniValue(ini, QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("def")),
              QStringLiteral("def"))
        << "no file";
    escribirIni(QStringLiteral("[A]\r\nk=valor\r\nvacio=\r\n"));
    EXPECT_EQ(bar::ReadIniValue(ini, QStringLiteral("a"), QStringLiteral("K"), QStringLiteral("def")),
              QStringLiteral("valor"));
    EXPECT_EQ(bar::ReadIniValue(ini, QStringLiteral("A"), QStringLiteral("vacio"), QStringLiteral("def")),
              QStringLiteral("def"));
}

TEST_F(AjustesTest, StyleSettingsAreNumbersFrom0To99)
{
    escribirIni(QStringLiteral("[N]\r\nStyles=42\r\n[G]\r\nStyles=150\r\n[T]\r\nStyles=azul\r\n[E]\r\nStyles=\r\n"));
    const QString ini = QStringLiteral("cn000pr.ini");
    EXPECT_EQ(bar::ReadStyleSetting(ini, QStringLiteral("N")), 42);
    EXPECT_EQ(bar::ReadStyleSetting(ini, QStringLiteral("G")), -1);
    EXPECT_EQ(bar::ReadStyleSetting(ini, QStringLiteral("T")), -1);
    EXPECT_EQ(bar::ReadStyleSetting(ini, QStringLiteral("E")), -1);
    EXPECT_EQ(bar::ReadStyleSetting(ini, QStringLiteral(" ")), -1);
    EXPECT_EQ(bar::ReadStyleSetting(ini, QStringLiteral("NADA")), -1);
}

TEST_F(AjustesTest, StoredStylesMapToTheBarsStyles)
{
    const int esperados[] = {1, 2, 3, 4, 5, 2, 2, 2, 2, 2};
    for (int valor = 0; valor < 10; ++valor) {
        EXPECT_EQ(bar::MapStoredStyle(valor), esperados[valor]) << valor;
    }
    EXPECT_EQ(bar::MapStoredStyle(-1), 2);
}

TEST_F(AjustesTest, TheFirstSectionEndingInStylesIsFound)
{
    EXPECT_EQ(bar::FindStylesSection(QStringLiteral("cn000pr.ini")), QString()) << "no file";
    escribirIni(QStringLiteral("[]\r\n[Font]\r\nFont=Arial\r\n  [Ventas_VENTASstyles]  \r\nStyles=2\r\n"
                               "[OTROStyles]\r\nStyles=3\r\n"));
    EXPECT_EQ(bar::FindStylesSection(QStringLiteral("cn000pr.ini")), QStringLiteral("Ventas_VENTASstyles"));
}

TEST_F(AjustesTest, ASettingsFileWithCarriageReturnsAloneIsReadByLines)
{
    escribirIni(QStringLiteral("[Font]\rFont=Arial\r[Ventas_VENTASstyles]\rStyles=2\r"));
    EXPECT_EQ(bar::FindStylesSection(QStringLiteral("cn000pr.ini")), QStringLiteral("Ventas_VENTASstyles"));
}

TEST_F(AjustesTest, TheStyleIsTakenFromTheSectionsInTheirOrder)
{
    entorno("USERNAME", QStringLiteral("ana"));
    entorno("COMPUTERNAME", QStringLiteral("pc1"));
    bar::EstablecerLineaDeComandos(QStringLiteral("@Server=S1; @DbName=Ventas; @Usuario=ana"));
    const QString w = usuarioWindows();
    const QString todas = QStringLiteral("[ANAStyles]\r\nStyles=0\r\n"
                                         "[PC1|ANAStyles]\r\nStyles=2\r\n"
                                         "[ANA_VENTASStyles]\r\nStyles=3\r\n"
                                         "[PC1|ANA_VENTASStyles]\r\nStyles=4\r\n"
                                         "[VENTAS_VENTASStyles]\r\nStyles=1\r\n"
                                         "[%1Styles]\r\nStyles=3\r\n")
                              .arg(w);
    const auto sin = [&](int secciones) {
        QString texto = todas;
        for (int i = 0; i < secciones; ++i) {
            texto = texto.mid(texto.indexOf(u'[', 1));
        }
        return texto;
    };
    const struct
    {
        const char* caso;
        QString ini;
        int estilo;
    } casos[] = {
        {"user", todas, 1},
        {"computer and user", sin(1), 3},
        {"user and data base", sin(2), 4},
        {"computer, user and data base", sin(3), 5},
        {"data base twice", sin(4), 2},
        {"a value out of range is passed over", QStringLiteral("[ANAStyles]\r\nStyles=150\r\n") + sin(1), 3},
        {"the first section ending in STYLES",
         QStringLiteral("[OTROStyles]\r\nStyles=2\r\n[MASStyles]\r\nStyles=3\r\n[%1Styles]\r\nStyles=4\r\n").arg(w), 3},
        {"a text without digits counts as 0", QStringLiteral("[OTROStyles]\r\nStyles=azul\r\n"), 1},
        {"the Windows user's section", QStringLiteral("[OTROStyles]\r\nStyles=\r\n[%1Styles]\r\nStyles=3\r\n").arg(w),
         4},
        {"the bar's own section",
         QStringLiteral("[OTROStyles]\r\nStyles=\r\n[%1Styles]\r\nStyles=\r\n[UtilVekBar_VENTAS]\r\nEstilo=4\r\n")
             .arg(w),
         5},
        {"nothing anywhere gives 4", QStringLiteral("[OTROStyles]\r\nStyles=\r\n[%1Styles]\r\nStyles=\r\n").arg(w), 5},
        {"no style section: the Windows user's default 0", QStringLiteral("[Otra]\r\nclave=1\r\n"), 1},
        {"stored 5", QStringLiteral("[ANAStyles]\r\nStyles=5\r\n"), 2},
        {"stored 9", QStringLiteral("[ANAStyles]\r\nStyles=9\r\n"), 2},
        {"stored 2.6, rounded", QStringLiteral("[ANAStyles]\r\nStyles=2.6\r\n"), 4},
    };
    for (const auto& caso : casos) {
        escribirIni(caso.ini);
        EXPECT_EQ(bar::LoadBarStyle(QString(), QString()), caso.estilo) << caso.caso;
    }
}

TEST_F(AjustesTest, WithoutASettingsFileTheStyleIsOne)
{
    EXPECT_EQ(bar::LoadBarStyle(QString(), QString()), 1);
    UtilVek barra;
    EXPECT_EQ(barra.Estilo(), 1);
}

TEST_F(AjustesTest, TheBarsContextNamesChooseItsStyle)
{
    escribirIni(QStringLiteral("[LUIS_COMPRASStyles]\r\nStyles=3\r\n[LUISStyles]\r\nStyles=2\r\n"));
    UtilVek barra;
    EXPECT_EQ(barra.Estilo(), 4) << "no section of the login name: the first one ending in STYLES";
    barra.setContextUserName(QStringLiteral("luis"));
    EXPECT_EQ(barra.Estilo(), 3);
    barra.setContextDbName(QStringLiteral("Compras"));
    EXPECT_EQ(barra.Estilo(), 3) << "LUISStyles comes before LUIS_COMPRASStyles";
    EXPECT_EQ(barra.NormalBackColor(), platform::ui::rgb(160, 155, 135));
}

TEST_F(AjustesTest, TheCaptionFontComesFromTheSettings)
{
    entorno("USERNAME", QStringLiteral("ana"));
    bar::EstablecerLineaDeComandos(QStringLiteral("@DbName=Ventas"));
    escribirIni(QStringLiteral("[ANA_VENTASFont]\r\nFont= DejaVu Serif \r\n"));
    UtilVek barra;
    EXPECT_EQ(A::texto(barra, 0).Font.family(), QStringLiteral("DejaVu Serif"));
    escribirIni(QStringLiteral("[ANA_VENTASFont]\r\nFont=\r\n"));
    barra.ActualizarBotones();
    EXPECT_EQ(A::texto(barra, 18).Font.family(), QStringLiteral("Segoe UI"));
}
