// The command bar's layout and appearance properties: clamps, aliases, the
// work a write sets off, and the change notice to the container.
#include "controls/commandbar/UtilVek.h"

#include "platform/core/Text.h"
#include "platform/ui/ControlError.h"

#include <algorithm>

namespace controls {

using platform::text::Trim;

bool UtilVek::aBooleano(const platform::Variant& value)
{
    if (value.isEmpty()) {
        return false;
    }
    if (const std::optional<bool> b = value.toBoolean()) {
        return *b;
    }
    throw platform::ui::ControlError(13, QStringLiteral("Type mismatch"));
}

void UtilVek::notify(const char* name)
{
    emit PropertyChanged(QString::fromLatin1(name));
}

void UtilVek::relayoutAndNotify(const char* name)
{
    LayoutItems();
    notify(name);
}

void UtilVek::setGroupGap(float value)
{
    m_groupGap = std::max(value, 0.0f);
    relayoutAndNotify("GroupGap");
}

void UtilVek::setGroupBreakAfterTag(const QString& value)
{
    m_groupBreakAfterTag = Trim(value).toUpper();
    relayoutAndNotify("GroupBreakAfterTag");
}

void UtilVek::setGroupBreakTag(const QString& value)
{
    m_groupBreakAfterTag = Trim(value).toUpper();
    relayoutAndNotify("GroupBreakTag");
}

void UtilVek::setSoloTitulo(bool value)
{
    m_soloTitulo = value;
    relayoutAndNotify("SoloTitulo");
}

void UtilVek::setShowCaptions(bool value)
{
    m_showCaptions = value;
    relayoutAndNotify("ShowCaptions");
}

void UtilVek::setHorizontal(bool value)
{
    m_horizontal = value;
    m_autoOrientacion = false;
    relayoutAndNotify("Horizontal");
}

void UtilVek::setModoHorizontal(bool value)
{
    m_horizontal = value;
    m_autoOrientacion = false;
    relayoutAndNotify("ModoHorizontal");
}

void UtilVek::setAutoOrientacion(bool value)
{
    m_autoOrientacion = value;
    relayoutAndNotify("AutoOrientacion");
}

void UtilVek::setMostrarTitulo(bool value)
{
    m_showCaptions = value;
    relayoutAndNotify("MostrarTitulo");
}

void UtilVek::setConTitulo(const platform::Variant& value)
{
    m_showCaptions = aBooleano(value);
    relayoutAndNotify("ConTitulo");
}

void UtilVek::setEnabled(const platform::Variant& value)
{
    m_enabled = aBooleano(value);
    if (!m_enabled) {
        m_hoverIndex = -1;
        m_pressedIndex = -1;
    }
    relayoutAndNotify("Enabled");
}

void UtilVek::setItemHeight(float value)
{
    m_itemHeight = std::max(value, 480.0f);
    relayoutAndNotify("ItemHeight");
}

void UtilVek::setItemGap(float value)
{
    m_itemGap = std::max(value, -300.0f);
    relayoutAndNotify("ItemGap");
}

void UtilVek::setTopOffset(float value)
{
    m_topOffset = value;
    relayoutAndNotify("TopOffset");
}

void UtilVek::setTopBotones(float value)
{
    setTopOffset(value);
    notify("TopBotones");
}

void UtilVek::setButtonGap(float value)
{
    m_itemGap = std::max(value, -300.0f);
    relayoutAndNotify("ButtonGap");
}

void UtilVek::setHorizontalStartPad(float value)
{
    m_horizontalStartPad = std::max(value, -300.0f);
    relayoutAndNotify("HorizontalStartPad");
}

void UtilVek::setHorizontalGap(float value)
{
    m_horizontalGap = std::max(value, -300.0f);
    relayoutAndNotify("HorizontalGap");
}

void UtilVek::setSeparacionBotones(float value)
{
    setButtonGap(value);
    notify("SeparacionBotones");
}

void UtilVek::setIconSize(float value)
{
    if (value <= 0) {
        return;
    }
    m_iconSize = value;
    const int pixeles = TwipsToPixels(value);
    m_iconPx = pixeles < 1 ? 42 : pixeles;
    relayoutAndNotify("IconSize");
}

void UtilVek::setIconPx(int value)
{
    m_iconPx = value <= 0 ? 42 : value;
    m_iconSize = PixelsToTwips(m_iconPx);
    relayoutAndNotify("IconPx");
}

void UtilVek::setTamanoIcono(int value)
{
    setIconPx(value);
    notify("TamanoIcono");
}

void UtilVek::setImageFolder(const QString& value)
{
    m_imageFolder = FolderWithBackslash(value);
    RefreshIcons();
    notify("ImageFolder");
}

void UtilVek::setDebugMode(bool value)
{
    m_debugMode = value;
    notify("DebugMode");
}

void UtilVek::setContextUserName(const QString& value)
{
    m_contextUserName = Trim(value);
    ApplyColorStyle(ClampStyle(StoredBarStyle()));
    notify("ContextUserName");
}

void UtilVek::setContextDbName(const QString& value)
{
    m_contextDbName = Trim(value);
    ApplyColorStyle(ClampStyle(StoredBarStyle()));
    notify("ContextDbName");
}

void UtilVek::setEstiloVSCode(bool value)
{
    m_estiloVSCode = value;
    if (value) {
        AplicarEstiloVSCode(m_showCaptions, m_iconPx);
    }
    relayoutAndNotify("EstiloVSCode");
}

void UtilVek::setEstilo(int value)
{
    ApplyColorStyle(value);
    notify("Estilo");
}

void UtilVek::setTheme(int value)
{
    Q_UNUSED(value);
    ApplyColorStyle(ClampStyle(StoredBarStyle()));
    notify("Theme");
}

void UtilVek::setNormalBackColor(platform::ui::OleColor value)
{
    m_normalBackColor = value;
    ApplyDerivedColors();
    relayoutAndNotify("NormalBackColor");
}

void UtilVek::setActiveBackColor(platform::ui::OleColor value)
{
    m_activeBackColor = value;
    relayoutAndNotify("ActiveBackColor");
}

void UtilVek::setActiveBarColor(platform::ui::OleColor value)
{
    m_activeBarColor = value;
    relayoutAndNotify("ActiveBarColor");
}

} // namespace controls
