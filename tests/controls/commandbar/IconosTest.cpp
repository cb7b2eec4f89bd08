// Icons from files: the image folder, the state files of an item, sizes,
// the fall-back to the built-in icon, exact file names and the caches.
#include "BarraPrueba.h"

#include "platform/core/Runtime.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

using commandbar_tests::BarraTest;
using commandbar_tests::escribirPng;
using controls::UtilVek;
using A = controls::UtilVekAcceso;

namespace {

QString programa()
{
    return testing_support::testFolder() + u'/';
}

// The picture drawn on item i's icon surface; a null image when none.
QImage dibujado(const UtilVek& barra, int i, QPoint* posicion = nullptr)
{
    for (const auto& trazo : A::icono(barra, i).Dibujo) {
        if (const auto* imagen = std::get_if<controls::utilvek::Imagen>(&trazo)) {
            if (posicion) {
                *posicion = imagen->posicion;
            }
            return imagen->imagen;
        }
    }
    return {};
}

} // namespace

using IconosTest = BarraTest;

TEST_F(IconosTest, TheImageFolderIsLookedForInItsOrder)
{
    const struct
    {
        const char* caso;
        QStringList carpetas;
        const char* esperada;
    } casos[] = {
        {"img_menu first", {"img_menu", "imagenes/img_menu", "images/img_menu"}, "img_menu/"},
        {"then imagenes/img_menu", {"imagenes/img_menu", "images/img_menu"}, "imagenes/img_menu/"},
        {"then images/img_menu", {"images/img_menu"}, "images/img_menu/"},
        {"then the program folder itself", {}, ""},
    };
    for (const auto& caso : casos) {
        QDir(programa()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(programa()));
        for (const QString& carpeta : caso.carpetas) {
            ASSERT_TRUE(QDir(programa()).mkpath(carpeta));
        }
        UtilVek barra;
        EXPECT_EQ(A::ResolveImageFolder(barra), programa() + QString::fromLatin1(caso.esperada)) << caso.caso;
    }
}

TEST_F(IconosTest, AnExistingImageFolderWinsEvenWithoutIcons)
{
    ASSERT_TRUE(QDir(programa()).mkpath(QStringLiteral("img_menu")));
    ASSERT_TRUE(QDir(programa()).mkpath(QStringLiteral("vacia")));
    UtilVek barra;
    barra.setImageFolder(programa() + QStringLiteral("vacia"));
    EXPECT_EQ(A::ResolveImageFolder(barra), programa() + QStringLiteral("vacia/"));
    barra.setImageFolder(programa() + QStringLiteral("no-existe"));
    EXPECT_EQ(A::ResolveImageFolder(barra), programa() + QStringLiteral("img_menu/"));
}

TEST_F(IconosTest, WithoutAnyFolderTheIconsAreLookedForInImgMenuOfTheProgramFolder)
{
    platform::Runtime::instance().setProgramFolder(programa() + QStringLiteral("no-existe"));
    UtilVek barra;
    EXPECT_EQ(A::ResolveImageFolder(barra), programa() + QStringLiteral("no-existe/img_menu/"));
    EXPECT_FALSE(A::iconFromFile(barra, 0));
}

TEST_F(IconosTest, OnlyTheNormalFileDrawsTheSameInEveryState)
{
    escribirPng(programa() + QStringLiteral("img_menu/GRABAR.png"), QSize(42, 42), Qt::red);
    UtilVek barra;
    barra.RefreshIcons();
    EXPECT_EQ(A::iconPath(barra, 6), programa() + QStringLiteral("img_menu/GRABAR.png"));
    EXPECT_TRUE(A::hoverPath(barra, 6).isEmpty());
    EXPECT_TRUE(A::disabledPath(barra, 6).isEmpty());
    barra.SetActive(QStringLiteral("GRABAR"));
    EXPECT_EQ(A::GetStateIconPath(barra, 6), A::iconPath(barra, 6));
    barra.SetItemEnabled(QStringLiteral("GRABAR"), false);
    EXPECT_EQ(A::GetStateIconPath(barra, 6), A::iconPath(barra, 6));
    EXPECT_EQ(dibujado(barra, 6).pixelColor(20, 20), QColor(Qt::red));
}

TEST_F(IconosTest, TheStateFilesAreDrawnWhenDisabledAndUnderThePointer)
{
    const QString carpeta = programa() + QStringLiteral("img_menu/");
    escribirPng(carpeta + QStringLiteral("GRABAR.png"), QSize(42, 42), Qt::red);
    escribirPng(carpeta + QStringLiteral("GRABAR_over.png"), QSize(42, 42), Qt::green);
    escribirPng(carpeta + QStringLiteral("GRABAR_dis.png"), QSize(42, 42), Qt::gray);
    UtilVek barra;
    barra.RefreshIcons();
    EXPECT_EQ(A::hoverPath(barra, 6), carpeta + QStringLiteral("GRABAR_over.png"));
    EXPECT_EQ(dibujado(barra, 6).pixelColor(20, 20), QColor(Qt::red));
    barra.SetItemEnabled(QStringLiteral("GRABAR"), false);
    EXPECT_EQ(dibujado(barra, 6).pixelColor(20, 20), QColor(Qt::gray));
    barra.SetItemEnabled(QStringLiteral("GRABAR"), true);
    A::SetHoverItem(barra, 6);
    EXPECT_EQ(dibujado(barra, 6).pixelColor(20, 20), QColor(Qt::green));
    A::SetHoverItem(barra, -1);
    barra.SetActive(QStringLiteral("GRABAR"));
    EXPECT_EQ(dibujado(barra, 6).pixelColor(20, 20), QColor(Qt::green)) << "the active item draws its hover file";
    barra.setEnabled(false);
    EXPECT_EQ(dibujado(barra, 6).pixelColor(20, 20), QColor(Qt::gray)) << "a disabled bar draws the disabled file";
}

TEST_F(IconosTest, PicturesAreReducedToTheIconSizeKeepingTheirShapeAndNeverEnlarged)
{
    const QString carpeta = programa() + QStringLiteral("img_menu/");
    escribirPng(carpeta + QStringLiteral("NUEVO.png"), QSize(128, 64), Qt::blue);
    escribirPng(carpeta + QStringLiteral("BORRAR.png"), QSize(16, 16), Qt::blue);
    UtilVek barra;
    barra.RefreshIcons();
    QPoint donde;
    EXPECT_EQ(dibujado(barra, 0, &donde).size(), QSize(42, 21));
    EXPECT_EQ(donde, QPoint(7, 7)) << "centred on a box of 56 x 35 pixels";
    EXPECT_EQ(dibujado(barra, 1, &donde).size(), QSize(16, 16));
    EXPECT_EQ(donde, QPoint(20, 9));
}

TEST_F(IconosTest, AMissingFileFallsBackToTheBuiltInIcon)
{
    ASSERT_TRUE(QDir(programa()).mkpath(QStringLiteral("img_menu")));
    UtilVek barra;
    barra.RefreshIcons();
    EXPECT_TRUE(A::iconPath(barra, 0).isEmpty());
    EXPECT_FALSE(A::iconFromFile(barra, 0));
    EXPECT_TRUE(A::ItemHasIcon(barra, 0));
    EXPECT_FALSE(A::icono(barra, 0).Visible);
}

TEST_F(IconosTest, FileNamesMatchWithoutRegardToCaseButWildcardsAreNotWildcards)
{
    // The look-up used to search for the name, so "*" and "?" in a key
    // matched any file.
    const QString carpeta = programa() + QStringLiteral("IMG_MENU/");
    escribirPng(carpeta + QStringLiteral("grabar.PNG"), QSize(42, 42), Qt::red);
    UtilVek barra;
    barra.ClearItems();
    barra.AddItem(QStringLiteral("Grabar"), QStringLiteral("Grabar"));
    barra.AddItem(QStringLiteral("GRA*"), QStringLiteral("Comodín"));
    barra.AddItem(QStringLiteral("GRABA?"), QStringLiteral("Comodín"));
    EXPECT_TRUE(A::iconFromFile(barra, 0));
    EXPECT_FALSE(A::iconFromFile(barra, 1));
    EXPECT_FALSE(A::iconFromFile(barra, 2));
    EXPECT_TRUE(A::iconPath(barra, 1).isEmpty());
}

TEST_F(IconosTest, EachBarAsksTheDiskOncePerFile)
{
    const QString carpeta = programa() + QStringLiteral("img_menu/");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    UtilVek primera;
    primera.RefreshIcons();
    escribirPng(carpeta + QStringLiteral("NUEVO.png"), QSize(42, 42), Qt::red);
    primera.RefreshIcons();
    EXPECT_FALSE(A::iconFromFile(primera, 0)) << "the first answer is kept";
    UtilVek segunda;
    segunda.RefreshIcons();
    EXPECT_TRUE(A::iconFromFile(segunda, 0)) << "another bar has caches of its own";

    ASSERT_TRUE(QFile::remove(carpeta + QStringLiteral("NUEVO.png")));
    A::SetHoverItem(segunda, 0);
    EXPECT_EQ(dibujado(segunda, 0).pixelColor(20, 20), QColor(Qt::red)) << "the scaled copy is kept too";
}

TEST_F(IconosTest, AnUnreadableImageLeavesTheIconSurfaceEmpty)
{
    const QString carpeta = programa() + QStringLiteral("img_menu/");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    QFile roto(carpeta + QStringLiteral("NUEVO.png"));
    ASSERT_TRUE(roto.open(QIODevice::WriteOnly));
    roto.write("no es una imagen");
    roto.close();
    UtilVek barra;
    barra.RefreshIcons();
    EXPECT_TRUE(A::iconFromFile(barra, 0));
    EXPECT_TRUE(A::icono(barra, 0).Visible);
    EXPECT_TRUE(dibujado(barra, 0).isNull());
}

TEST_F(IconosTest, LoadIconsFromFolderSetsTheFolderWithoutANotice)
{
    escribirPng(programa() + QStringLiteral("otros/CERRAR.png"), QSize(42, 42), Qt::red);
    UtilVek barra;
    QSignalSpy avisos(&barra, &UtilVek::PropertyChanged);
    barra.LoadIconsFromFolder(QStringLiteral(" ") + programa() + QStringLiteral("otros"));
    EXPECT_EQ(barra.ImageFolder(), programa() + QStringLiteral("otros/"));
    EXPECT_TRUE(A::iconFromFile(barra, 7));
    EXPECT_EQ(avisos.count(), 0);
    barra.setImageFolder(programa() + QStringLiteral("otros"));
    EXPECT_EQ(avisos.count(), 1);
}
