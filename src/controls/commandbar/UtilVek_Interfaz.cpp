// The command bar's programming interface: filling and clearing the items,
// changing one item by key, icon folders, the sample set and the per-button
// properties.
#include "controls/commandbar/UtilVek.h"

#include "platform/core/Text.h"

#include <algorithm>

namespace controls {

using platform::text::Trim;

void UtilVek::ClearItems()
{
    for (int i = 0; i <= m_slotUpper; ++i) {
        ResetItemSlot(i);
    }
    m_itemCount = 0;
    m_activeIndex = -1;
    m_hoverIndex = -1;
    LayoutItems();
}

bool UtilVek::AddItem(const QString& BTag, const QString& BCaption, const QString& BToolTip, bool bCheckable)
{
    const QString key = Trim(BTag);
    if (key.isEmpty()) {
        return false;
    }
    int i = FindItemIndex(key);
    const bool nuevo = i < 0;
    if (nuevo) {
        EnsureItemCapacity(m_itemCount);
        i = m_itemCount;
        ++m_itemCount;
        EnsureItemControls(i);
    }
    ItemSlot& item = m_items[std::size_t(i)];
    item.Key = key;
    item.Caption = BCaption;
    item.ToolTip = Trim(BToolTip).isEmpty() ? BCaption : BToolTip;
    item.Visible = true;
    if (nuevo) {
        item.Enabled = true;
    }
    // Without an icon file the item falls back to its built-in icon.
    RebuildIconPaths(i, ResolveImageFolder());
    LoadItemIcon(i);
    LayoutItems();
    SetItemCheckable(key, bCheckable);
    return true;
}

bool UtilVek::SetItemIcon(const QString& BTag, const QString& zFile)
{
    Q_UNUSED(BTag);
    Q_UNUSED(zFile);
    return false;
}

void UtilVek::SetItemBadge(const QString& BTag, int32_t nCount)
{
    const int i = FindItemIndex(BTag);
    if (i < 0) {
        return;
    }
    m_items[std::size_t(i)].Badge = std::max(nCount, 0);
    // The badge's text and look are set with the item's visuals, so both run.
    RepaintItem(i);
}

void UtilVek::SetItemAttention(const QString& BTag, bool bAttention, int32_t nColor)
{
    const int i = FindItemIndex(BTag);
    if (i < 0) {
        return;
    }
    ItemSlot& item = m_items[std::size_t(i)];
    item.Attention = bAttention;
    if (nColor != -1) {
        item.AttentionColor = platform::ui::OleColor(nColor);
    }
    RepaintItem(i);
}

bool UtilVek::ItemAttention(const QString& BTag) const
{
    const int i = FindItemIndex(BTag);
    return i >= 0 && m_items[std::size_t(i)].Attention;
}

void UtilVek::SetItemAviso(const QString& BTag, bool bAviso, int32_t nColor)
{
    SetItemAttention(BTag, bAviso, nColor);
}

bool UtilVek::ItemAviso(const QString& BTag) const
{
    return ItemAttention(BTag);
}

void UtilVek::SetItemVisible(const QString& BTag, bool bVisible)
{
    const int i = FindItemIndex(BTag);
    if (i < 0 || m_items[std::size_t(i)].Visible == bVisible) {
        return;
    }
    m_items[std::size_t(i)].Visible = bVisible;
    if (bVisible) {
        ReloadItemIcons(i);
    } else if (m_activeIndex == i) {
        m_activeIndex = -1;
    }
    LayoutItems();
}

bool UtilVek::ItemVisible(const QString& BTag) const
{
    const int i = FindItemIndex(BTag);
    return i >= 0 && m_items[std::size_t(i)].Visible;
}

void UtilVek::SetItemEnabled(const QString& BTag, bool bEnabled)
{
    const int i = FindItemIndex(BTag);
    if (i < 0 || m_items[std::size_t(i)].Enabled == bEnabled) {
        return;
    }
    m_items[std::size_t(i)].Enabled = bEnabled;
    if (!bEnabled) {
        if (m_activeIndex == i) {
            m_activeIndex = -1;
        }
        if (m_hoverIndex == i) {
            m_hoverIndex = -1;
        }
    }
    RepaintItem(i);
}

bool UtilVek::ItemEnabled(const QString& BTag) const
{
    const int i = FindItemIndex(BTag);
    return i >= 0 && m_items[std::size_t(i)].Enabled;
}

void UtilVek::SetActive(const QString& BTag)
{
    const int i = FindItemIndex(BTag);
    if (i < 0 || !m_items[std::size_t(i)].Visible || !m_items[std::size_t(i)].Enabled) {
        return;
    }
    m_activeIndex = i;
    LayoutItems();
}

void UtilVek::LoadVSCodeSample()
{
    ClearItems();
    AddItem(QStringLiteral("FILES"), QStringLiteral("Files"), QStringLiteral("Explorador"), false);
    AddItem(QStringLiteral("SEARCH"), QStringLiteral("Search"), QStringLiteral("Busqueda"), false);
    AddItem(QStringLiteral("GIT"), QStringLiteral("Source"), QStringLiteral("Control de codigo"), false);
    AddItem(QStringLiteral("RUN"), QStringLiteral("Run"), QStringLiteral("Run y debug"), false);
    AddItem(QStringLiteral("EXT"), QStringLiteral("Ext"), QStringLiteral("Extensiones"), false);
    AddItem(QStringLiteral("AI"), QStringLiteral("AI"), QStringLiteral("Asistente"), false);
}

void UtilVek::LoadIconsFromFolder(const QString& zFolder)
{
    m_imageFolder = FolderWithBackslash(zFolder);
    RefreshIcons();
}

void UtilVek::RefreshIcons()
{
    const QString folder = ResolveImageFolder();
    BeginUpdate();
    for (int i = 0; i < m_itemCount; ++i) {
        RebuildIconPaths(i, folder);
        if (m_items[std::size_t(i)].Visible) {
            LoadItemIcon(i);
        }
    }
    EndUpdate();
    LayoutItems();
}

void UtilVek::ReloadItemIcons(int i)
{
    const QString folder = ResolveImageFolder();
    if (!folder.isEmpty()) {
        RebuildIconPaths(i, folder);
        LoadItemIcon(i);
    }
}

void UtilVek::RebuildIconPaths(int i, const QString& folder)
{
    ItemSlot& item = m_items[std::size_t(i)];
    const QString key = item.Key.toUpper();
    item.IconPath = BuildIconPath(folder, key);
    item.IconHoverPath = BuildStateIconPath(folder, key, QStringLiteral("over"));
    item.IconDisabledPath = BuildStateIconPath(folder, key, QStringLiteral("dis"));
}

// ------------------------------------------------------ per-button states

bool UtilVek::BotonEnabled(QStringView key)
{
    EnsureDefaultItems();
    return ItemEnabled(key.toString());
}

bool UtilVek::BotonVisible(QStringView key)
{
    EnsureDefaultItems();
    return ItemVisible(key.toString());
}

void UtilVek::setBotonEnabled(QStringView name, QStringView key, const platform::Variant& value)
{
    EnsureDefaultItems();
    SetItemEnabled(key.toString(), aBooleano(value));
    emit PropertyChanged(name.toString());
}

void UtilVek::setBotonVisible(QStringView name, QStringView key, const platform::Variant& value)
{
    EnsureDefaultItems();
    SetItemVisible(key.toString(), aBooleano(value));
    emit PropertyChanged(name.toString());
}

// ------------------------------------------------------------- checkables

void UtilVek::SetItemCheckable(const QString& BTag, bool bCheckable)
{
    const int i = FindItemIndex(BTag);
    if (i < 0) {
        return;
    }
    const QString key = Trim(BTag).toUpper();
    bool* checkable = &m_items[std::size_t(i)].Checkable;
    bool* checked = &m_items[std::size_t(i)].Checked;
    if (key == u"IMPRESORA") {
        checkable = &m_impresoraCheckable;
        checked = &m_impresoraChecked;
    } else if (key == u"COMPARTIR") {
        checkable = &m_compartirCheckable;
        checked = &m_compartirChecked;
    }
    *checkable = bCheckable;
    if (!bCheckable) {
        *checked = false;
    }
    RepaintItem(i);
}

bool UtilVek::ItemCheckable(const QString& BTag) const
{
    return IsItemCheckableAt(FindItemIndex(BTag));
}

void UtilVek::SetItemChecked(const QString& BTag, bool bChecked)
{
    const int i = FindItemIndex(BTag);
    if (!IsItemCheckableAt(i)) {
        return;
    }
    SetItemCheckedAt(i, bChecked);
    RepaintItem(i);
}

bool UtilVek::ItemChecked(const QString& BTag) const
{
    return IsItemCheckedAt(FindItemIndex(BTag));
}

void UtilVek::setCheckable(bool& checkable, bool& checked, bool value, const char* name)
{
    checkable = value;
    if (!value) {
        checked = false;
    }
    relayoutAndNotify(name);
}

void UtilVek::setChecked(bool checkable, bool& checked, bool value, const char* name)
{
    if (!checkable) {
        return;
    }
    checked = value;
    relayoutAndNotify(name);
}

void UtilVek::setImpresoraCheckable(bool value)
{
    setCheckable(m_impresoraCheckable, m_impresoraChecked, value, "ImpresoraCheckable");
}

void UtilVek::setImpresoraChecked(bool value)
{
    setChecked(m_impresoraCheckable, m_impresoraChecked, value, "ImpresoraChecked");
}

void UtilVek::setCompartirCheckable(bool value)
{
    setCheckable(m_compartirCheckable, m_compartirChecked, value, "CompartirCheckable");
}

void UtilVek::setCompartirChecked(bool value)
{
    setChecked(m_compartirCheckable, m_compartirChecked, value, "CompartirChecked");
}

void UtilVek::ActualizarBotones()
{
    ApplyCaptionFont();
    RefreshIcons();
    LayoutItems();
}

} // namespace controls
