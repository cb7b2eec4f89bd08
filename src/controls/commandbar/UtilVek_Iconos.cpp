// The command bar's icons: the image folder, the three files of an item
// (normal, "_over", "_dis"), which one is drawn in which state, the fall-back
// to the built-in icon, and the caches that keep repainting free of file
// access (existence, size and scaled copies).
#include "controls/commandbar/UtilVek.h"

#include "controls/commandbar/ModUtilVekBar.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/FileNameCase.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace controls {

using platform::text::Trim;

namespace {

// The file a path of the bar names: "\" is a separator as "/" is, and names
// match without regard to case. Nothing else in a name is special, so "*"
// and "?" in a key are plain characters.
QString enDisco(const QString& path)
{
    QString ruta = path;
    ruta.replace(u'\\', u'/');
    while (ruta.size() > 1 && ruta.endsWith(u'/')) {
        ruta.chop(1);
    }
    return platform::resolvePathNoCase(ruta);
}

QString claveDeCache(const QString& path)
{
    return u'k' + path.toLower();
}

} // namespace

QString UtilVek::FolderWithBackslash(const QString& folder)
{
    const QString f = Trim(folder);
    if (f.isEmpty() || f.endsWith(u'/') || f.endsWith(u'\\')) {
        return f;
    }
    return f + u'/';
}

bool UtilVek::FolderExists(const QString& folder)
{
    const QString f = FolderWithBackslash(folder);
    return !f.isEmpty() && QFileInfo(enDisco(f)).isDir();
}

QString UtilVek::GetModuleFolder() const
{
    // The bar is linked into the program, so its module is the program.
    return ModUtilVekBar::EnsureTrailingSlash(platform::Runtime::instance().programFolder());
}

QString UtilVek::ResolveImageFolder() const
{
    const QString f = FolderWithBackslash(m_imageFolder);
    if (FolderExists(f)) {
        return f;
    }
    const QString m = GetModuleFolder();
    for (const char* candidata : {"img_menu", "imagenes/img_menu", "images/img_menu"}) {
        const QString carpeta = m + QLatin1String(candidata);
        if (FolderExists(carpeta)) {
            return carpeta + u'/';
        }
    }
    if (FolderExists(m)) {
        return m;
    }
    return m + QStringLiteral("img_menu/");
}

QString UtilVek::BuildIconPath(const QString& folder, const QString& key)
{
    if (folder.isEmpty() || key.isEmpty()) {
        return {};
    }
    const QString ruta = folder + key + QStringLiteral(".png");
    return FileExistsCached(ruta) ? ruta : QString();
}

QString UtilVek::BuildStateIconPath(const QString& folder, const QString& key, const QString& state)
{
    if (folder.isEmpty() || key.isEmpty() || state.isEmpty()) {
        return {};
    }
    const QString ruta = folder + key + u'_' + state.toLower() + QStringLiteral(".png");
    return FileExistsCached(ruta) ? ruta : QString();
}

bool UtilVek::FileExistsCached(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QString clave = claveDeCache(path);
    const auto hallado = m_existeCache.constFind(clave);
    if (hallado != m_existeCache.cend()) {
        return *hallado;
    }
    const bool existe = QFileInfo(enDisco(path)).isFile();
    m_existeCache.insert(clave, existe);
    return existe;
}

QString UtilVek::GetStateIconPath(int i) const
{
    if (i < 0 || i >= m_itemCount) {
        return {};
    }
    const ItemSlot& item = m_items[std::size_t(i)];
    const bool usable = item.Enabled && m_enabled;
    const bool destacado = i == m_hoverIndex || i == m_activeIndex;
    if (!item.IconDisabledPath.isEmpty() && !usable) {
        return item.IconDisabledPath;
    }
    if (!item.IconHoverPath.isEmpty() && usable && destacado) {
        return item.IconHoverPath;
    }
    return item.IconPath;
}

void UtilVek::LoadItemIcon(int i)
{
    if (i < 0 || i >= m_itemCount) {
        return;
    }
    ItemSlot& item = m_items[std::size_t(i)];
    const QString ruta = Trim(item.IconPath);
    if (ruta.isEmpty() || !FileExistsCached(ruta)) {
        item.IconFromFile = false;
        ResetItemIcon(i);
        return;
    }
    // Qt's reader tells the format from the file's content, so one path
    // serves PNG files and other pictures alike.
    item.IconFromFile = true;
    m_controles[std::size_t(i)].PicItem.Dibujo.clear();
    m_controles[std::size_t(i)].ImgIcon.Dibujo.clear();
    RenderItemIcon(i);
}

void UtilVek::ResetItemIcon(int i)
{
    if (i < 0 || i > m_slotUpper || i >= int(m_controles.size())) {
        return;
    }
    FillBaseIconCache();
    // The item box shows the built-in icon of the item's key when it is
    // painted; a key without one shows none.
    m_controles[std::size_t(i)].ImgIcon.Dibujo.clear();
}

void UtilVek::RenderItemIcon(int i)
{
    if (i < 0 || i >= m_itemCount || !m_items[std::size_t(i)].IconFromFile) {
        return;
    }
    const float lado = PixelsToTwips(m_iconPx);
    QString ruta = GetStateIconPath(i);
    if (ruta.isEmpty()) {
        ruta = m_items[std::size_t(i)].IconPath;
    }
    if (ruta.isEmpty()) {
        return;
    }
    DrawPngIcon(i, ruta, lado, lado);
}

QRect UtilVek::UbicarIcono(QSize imagen, QSize superficie, QSize pedido)
{
    const int iw = imagen.width();
    const int ih = imagen.height();
    const int bw = superficie.width();
    const int bh = superficie.height();
    if (iw <= 0 || ih <= 0 || bw <= 0 || bh <= 0) {
        return {};
    }
    const int rw = pedido.width() < 1 ? bw : pedido.width();
    const int rh = pedido.height() < 1 ? bh : pedido.height();
    int dw = iw;
    int dh = ih;
    if (rw < iw || rh < ih) {
        double r = double(rw) / iw;
        if (ih * r > rh) {
            r = double(rh) / ih;
        }
        dw = std::max(1, int(std::nearbyint(iw * r)));
        dh = std::max(1, int(std::nearbyint(ih * r)));
    }
    const int x = std::max(0, (bw - dw) / 2);
    const int y = std::max(0, (bh - dh) / 2);
    return QRect(x, y, dw, dh);
}

bool UtilVek::DrawPngIcon(int i, const QString& path, float w, float h)
{
    if (i < 0 || i > m_slotUpper || i >= int(m_controles.size()) || !FileExistsCached(path)) {
        return false;
    }
    int iw = 0;
    int ih = 0;
    if (!GetPngSize(path, iw, ih)) {
        return false;
    }
    utilvek::ControlPintado& superficie = m_controles[std::size_t(i)].ImgIcon;
    const QRect zona = UbicarIcono(
        QSize(iw, ih), QSize(TwipsToPixels(float(superficie.Width)), TwipsToPixels(float(superficie.Height))),
        QSize(TwipsToPixels(w), TwipsToPixels(h)));
    if (zona.isEmpty()) {
        return false;
    }
    const QImage copia = GetScaledBitmap(path, zona.width(), zona.height());
    if (copia.isNull()) {
        return false;
    }
    superficie.Dibujo.clear();
    superficie.Dibujo.push_back(utilvek::Imagen{copia, zona.topLeft()});
    update();
    return true;
}

bool UtilVek::GetPngSize(const QString& path, int& width, int& height)
{
    const QString clave = claveDeCache(path);
    const auto hallado = m_tamanoCache.constFind(clave);
    if (hallado != m_tamanoCache.cend()) {
        width = hallado->width();
        height = hallado->height();
        return width > 0 && height > 0;
    }
    width = 0;
    height = 0;
    if (!FileExistsCached(path)) {
        return false;
    }
    QImageReader lector(enDisco(path));
    QSize tamano = lector.size();
    if (!tamano.isValid()) {
        tamano = lector.read().size();
    }
    if (!tamano.isValid()) {
        tamano = QSize(0, 0);
    }
    m_tamanoCache.insert(clave, tamano);
    width = tamano.width();
    height = tamano.height();
    return width > 0 && height > 0;
}

QImage UtilVek::GetScaledBitmap(const QString& path, int w, int h)
{
    if (w <= 0 || h <= 0) {
        return {};
    }
    const QString clave = claveDeCache(path) + u'|' + QString::number(w) + u'x' + QString::number(h);
    const auto hallado = m_escaladaCache.constFind(clave);
    if (hallado != m_escaladaCache.cend()) {
        return *hallado;
    }
    if (!FileExistsCached(path)) {
        return {};
    }
    const QImage original = QImageReader(enDisco(path)).read();
    if (original.isNull()) {
        return {};
    }
    const QImage copia = original.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                             .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_escaladaCache.insert(clave, copia);
    return copia;
}

} // namespace controls
