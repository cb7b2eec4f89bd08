#pragma once

#include "controls/commandbar/ControlPintado.h"
#include "platform/core/Variant.h"
#include "platform/ui/Colors.h"
#include "platform/ui/PropertyBag.h"

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace controls {

// The command bar: a column or row of items, each with an icon, a caption,
// a tooltip, an optional badge, attention mark and check mark, painted in one
// of five colour styles. Items are addressed by key (blanks trimmed, letter
// case ignored). The host hears of choices through the signals `click` and
// `CheckClick` and forwards its function keys through KeyAnalisis.
//
// Lengths are twips (single precision) in the bar's model and become pixels
// only where the bar paints and takes the mouse (15 twips a pixel at 96 dpi).
// Icons come from PNG files named by key in an image folder, else from the
// built-in pictures of the well-known keys. The colour style comes from the
// settings file "cn000pr.ini" (ModUtilVekBar), which the bar only reads.
//
// Failures: no icon or settings failure reaches the host; by-key members do
// nothing (readers answer false) for a blank or unknown key; the per-button
// properties raise ControlError 13 for a value that is not a Boolean.
class UtilVek : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Theme READ Theme WRITE setTheme)

public:
    explicit UtilVek(QWidget* parent = nullptr);
    ~UtilVek() override;

    // Public members, in interface order.
    Q_INVOKABLE void ApplyColorStyle(int nStyle);
    void AplicarEstiloVSCode(bool MostrarTitulos, int TamIconoPx);
    void LoadDefaultItems();
    void LoadDefaultItemsReportes();
    void ClearItems();
    // Adds the item, or updates the one with that key (which keeps its
    // enabled state, badge and marks); false for a blank key.
    bool AddItem(const QString& BTag, const QString& BCaption, const QString& BToolTip = {}, bool bCheckable = false);
    // Kept for hosts that call it: changes nothing and answers false.
    bool SetItemIcon(const QString& BTag, const QString& zFile);
    void SetItemBadge(const QString& BTag, int32_t nCount);
    // nColor -1 keeps the item's attention colour.
    void SetItemAttention(const QString& BTag, bool bAttention, int32_t nColor = -1);
    bool ItemAttention(const QString& BTag) const;
    void SetItemAviso(const QString& BTag, bool bAviso, int32_t nColor = -1);
    bool ItemAviso(const QString& BTag) const;
    void SetItemVisible(const QString& BTag, bool bVisible);
    bool ItemVisible(const QString& BTag) const;
    void SetItemEnabled(const QString& BTag, bool bEnabled);
    bool ItemEnabled(const QString& BTag) const;
    void SetActive(const QString& BTag);
    // Esc, F2 to F6 and F10 choose CANCELAR (else CERRAR), GRABAR, NUEVO,
    // REPORTE, CONSULTAR, PLANILLA and BORRAR when that item is visible and
    // enabled; `click` is raised with the key. KeyCode is left as it is.
    void KeyAnalisis(int& KeyCode);
    void LoadVSCodeSample();
    void LoadIconsFromFolder(const QString& zFolder);
    void RefreshIcons();

    // Per-button properties: the enabled and visible state of the item with a
    // well-known key; reading or writing one on an empty bar loads the
    // default items first.
    bool NuevoEnabled() { return BotonEnabled(u"NUEVO"); }
    void setNuevoEnabled(const platform::Variant& v) { setBotonEnabled(u"NuevoEnabled", u"NUEVO", v); }
    bool NuevoVisible() { return BotonVisible(u"NUEVO"); }
    void setNuevoVisible(const platform::Variant& v) { setBotonVisible(u"NuevoVisible", u"NUEVO", v); }
    bool BorrarEnabled() { return BotonEnabled(u"BORRAR"); }
    void setBorrarEnabled(const platform::Variant& v) { setBotonEnabled(u"BorrarEnabled", u"BORRAR", v); }
    bool BorrarVisible() { return BotonVisible(u"BORRAR"); }
    void setBorrarVisible(const platform::Variant& v) { setBotonVisible(u"BorrarVisible", u"BORRAR", v); }
    bool ReporteEnabled() { return BotonEnabled(u"REPORTE"); }
    void setReporteEnabled(const platform::Variant& v) { setBotonEnabled(u"ReporteEnabled", u"REPORTE", v); }
    bool ReporteVisible() { return BotonVisible(u"REPORTE"); }
    void setReporteVisible(const platform::Variant& v) { setBotonVisible(u"ReporteVisible", u"REPORTE", v); }
    bool ConsultaEnabled() { return BotonEnabled(u"CONSULTAR"); }
    void setConsultaEnabled(const platform::Variant& v) { setBotonEnabled(u"ConsultaEnabled", u"CONSULTAR", v); }
    bool ConsultaVisible() { return BotonVisible(u"CONSULTAR"); }
    void setConsultaVisible(const platform::Variant& v) { setBotonVisible(u"ConsultaVisible", u"CONSULTAR", v); }
    bool consultarEnabled() { return BotonEnabled(u"CONSULTAR"); }
    void setconsultarEnabled(const platform::Variant& v) { setBotonEnabled(u"consultarEnabled", u"CONSULTAR", v); }
    bool consultarVisible() { return BotonVisible(u"CONSULTAR"); }
    void setconsultarVisible(const platform::Variant& v) { setBotonVisible(u"consultarVisible", u"CONSULTAR", v); }
    bool PlanillaEnabled() { return BotonEnabled(u"PLANILLA"); }
    void setPlanillaEnabled(const platform::Variant& v) { setBotonEnabled(u"PlanillaEnabled", u"PLANILLA", v); }
    bool PlanillaVisible() { return BotonVisible(u"PLANILLA"); }
    void setPlanillaVisible(const platform::Variant& v) { setBotonVisible(u"PlanillaVisible", u"PLANILLA", v); }
    bool CancelarEnabled() { return BotonEnabled(u"CANCELAR"); }
    void setCancelarEnabled(const platform::Variant& v) { setBotonEnabled(u"CancelarEnabled", u"CANCELAR", v); }
    bool CancelarVisible() { return BotonVisible(u"CANCELAR"); }
    void setCancelarVisible(const platform::Variant& v) { setBotonVisible(u"CancelarVisible", u"CANCELAR", v); }
    bool GrabarEnabled() { return BotonEnabled(u"GRABAR"); }
    void setGrabarEnabled(const platform::Variant& v) { setBotonEnabled(u"GrabarEnabled", u"GRABAR", v); }
    bool GrabarVisible() { return BotonVisible(u"GRABAR"); }
    void setGrabarVisible(const platform::Variant& v) { setBotonVisible(u"GrabarVisible", u"GRABAR", v); }
    bool CerrarEnabled() { return BotonEnabled(u"CERRAR"); }
    void setCerrarEnabled(const platform::Variant& v) { setBotonEnabled(u"CerrarEnabled", u"CERRAR", v); }
    bool CerrarVisible() { return BotonVisible(u"CERRAR"); }
    void setCerrarVisible(const platform::Variant& v) { setBotonVisible(u"CerrarVisible", u"CERRAR", v); }
    bool ClienteEnabled() { return BotonEnabled(u"CLIENTE"); }
    void setClienteEnabled(const platform::Variant& v) { setBotonEnabled(u"ClienteEnabled", u"CLIENTE", v); }
    bool ClienteVisible() { return BotonVisible(u"CLIENTE"); }
    void setClienteVisible(const platform::Variant& v) { setBotonVisible(u"ClienteVisible", u"CLIENTE", v); }
    bool PedidoEnabled() { return BotonEnabled(u"PEDIDO"); }
    void setPedidoEnabled(const platform::Variant& v) { setBotonEnabled(u"PedidoEnabled", u"PEDIDO", v); }
    bool PedidoVisible() { return BotonVisible(u"PEDIDO"); }
    void setPedidoVisible(const platform::Variant& v) { setBotonVisible(u"PedidoVisible", u"PEDIDO", v); }
    bool RemitoEnabled() { return BotonEnabled(u"REMITO"); }
    void setRemitoEnabled(const platform::Variant& v) { setBotonEnabled(u"RemitoEnabled", u"REMITO", v); }
    bool RemitoVisible() { return BotonVisible(u"REMITO"); }
    void setRemitoVisible(const platform::Variant& v) { setBotonVisible(u"RemitoVisible", u"REMITO", v); }
    bool CajeroEnabled() { return BotonEnabled(u"CAJERO"); }
    void setCajeroEnabled(const platform::Variant& v) { setBotonEnabled(u"CajeroEnabled", u"CAJERO", v); }
    bool CajeroVisible() { return BotonVisible(u"CAJERO"); }
    void setCajeroVisible(const platform::Variant& v) { setBotonVisible(u"CajeroVisible", u"CAJERO", v); }
    bool CajaEnabled() { return BotonEnabled(u"CAJA"); }
    void setCajaEnabled(const platform::Variant& v) { setBotonEnabled(u"CajaEnabled", u"CAJA", v); }
    bool CajaVisible() { return BotonVisible(u"CAJA"); }
    void setCajaVisible(const platform::Variant& v) { setBotonVisible(u"CajaVisible", u"CAJA", v); }
    bool UnidadNegocioEnabled() { return BotonEnabled(u"UNIDADNEGOCIO"); }
    void setUnidadNegocioEnabled(const platform::Variant& v)
    {
        setBotonEnabled(u"UnidadNegocioEnabled", u"UNIDADNEGOCIO", v);
    }
    bool UnidadNegocioVisible() { return BotonVisible(u"UNIDADNEGOCIO"); }
    void setUnidadNegocioVisible(const platform::Variant& v)
    {
        setBotonVisible(u"UnidadNegocioVisible", u"UNIDADNEGOCIO", v);
    }
    bool ImportarEnabled() { return BotonEnabled(u"IMPORTAR"); }
    void setImportarEnabled(const platform::Variant& v) { setBotonEnabled(u"ImportarEnabled", u"IMPORTAR", v); }
    bool ImportarVisible() { return BotonVisible(u"IMPORTAR"); }
    void setImportarVisible(const platform::Variant& v) { setBotonVisible(u"ImportarVisible", u"IMPORTAR", v); }
    bool ProcesarIAEnabled() { return BotonEnabled(u"PROCESARIA"); }
    void setProcesarIAEnabled(const platform::Variant& v) { setBotonEnabled(u"ProcesarIAEnabled", u"PROCESARIA", v); }
    bool ProcesarIAVisible() { return BotonVisible(u"PROCESARIA"); }
    void setProcesarIAVisible(const platform::Variant& v) { setBotonVisible(u"ProcesarIAVisible", u"PROCESARIA", v); }
    bool PantallaEnabled() { return BotonEnabled(u"PANTALLA"); }
    void setPantallaEnabled(const platform::Variant& v) { setBotonEnabled(u"PantallaEnabled", u"PANTALLA", v); }
    bool PantallaVisible() { return BotonVisible(u"PANTALLA"); }
    void setPantallaVisible(const platform::Variant& v) { setBotonVisible(u"PantallaVisible", u"PANTALLA", v); }
    bool ImpresoraEnabled() { return BotonEnabled(u"IMPRESORA"); }
    void setImpresoraEnabled(const platform::Variant& v) { setBotonEnabled(u"ImpresoraEnabled", u"IMPRESORA", v); }
    bool ImpresoraVisible() { return BotonVisible(u"IMPRESORA"); }
    void setImpresoraVisible(const platform::Variant& v) { setBotonVisible(u"ImpresoraVisible", u"IMPRESORA", v); }
    bool CompartirEnabled() { return BotonEnabled(u"COMPARTIR"); }
    void setCompartirEnabled(const platform::Variant& v) { setBotonEnabled(u"CompartirEnabled", u"COMPARTIR", v); }
    bool CompartirVisible() { return BotonVisible(u"COMPARTIR"); }
    void setCompartirVisible(const platform::Variant& v) { setBotonVisible(u"CompartirVisible", u"COMPARTIR", v); }
    bool AjustesEnabled() { return BotonEnabled(u"AJUSTES"); }
    void setAjustesEnabled(const platform::Variant& v) { setBotonEnabled(u"AjustesEnabled", u"AJUSTES", v); }
    bool AjustesVisible() { return BotonVisible(u"AJUSTES"); }
    void setAjustesVisible(const platform::Variant& v) { setBotonVisible(u"AjustesVisible", u"AJUSTES", v); }
    bool CambiarEnabled() { return BotonEnabled(u"CAMBIAR"); }
    void setCambiarEnabled(const platform::Variant& v) { setBotonEnabled(u"CambiarEnabled", u"CAMBIAR", v); }
    bool CambiarVisible() { return BotonVisible(u"CAMBIAR"); }
    void setCambiarVisible(const platform::Variant& v) { setBotonVisible(u"CambiarVisible", u"CAMBIAR", v); }
    bool ChangeEnabled() { return BotonEnabled(u"CHANGE"); }
    void setChangeEnabled(const platform::Variant& v) { setBotonEnabled(u"ChangeEnabled", u"CHANGE", v); }
    bool ChangeVisible() { return BotonVisible(u"CHANGE"); }
    void setChangeVisible(const platform::Variant& v) { setBotonVisible(u"ChangeVisible", u"CHANGE", v); }
    bool CausEnabled() { return BotonEnabled(u"CAUS"); }
    void setCausEnabled(const platform::Variant& v) { setBotonEnabled(u"CausEnabled", u"CAUS", v); }
    bool CausVisible() { return BotonVisible(u"CAUS"); }
    void setCausVisible(const platform::Variant& v) { setBotonVisible(u"CausVisible", u"CAUS", v); }

    void SetItemCheckable(const QString& BTag, bool bCheckable);
    bool ItemCheckable(const QString& BTag) const;
    // Only on a checkable item; raises no event.
    void SetItemChecked(const QString& BTag, bool bChecked);
    bool ItemChecked(const QString& BTag) const;
    // The checkable and checked states of the items keyed IMPRESORA and
    // COMPARTIR; a checked write is ignored while the item is not checkable.
    bool ImpresoraCheckable() const { return m_impresoraCheckable; }
    void setImpresoraCheckable(bool value);
    bool ImpresoraChecked() const { return m_impresoraChecked; }
    void setImpresoraChecked(bool value);
    bool CompartirCheckable() const { return m_compartirCheckable; }
    void setCompartirCheckable(bool value);
    bool CompartirChecked() const { return m_compartirChecked; }
    void setCompartirChecked(bool value);

    // Layout and appearance. Writers clamp as noted, lay the bar out again
    // and send PropertyChanged with the name written (an alias sends its main
    // property's name first, then its own). Aliases share one value.
    float GroupGap() const { return m_groupGap; }
    void setGroupGap(float value); // negative values become 0
    QString GroupBreakAfterTag() const { return m_groupBreakAfterTag; }
    void setGroupBreakAfterTag(const QString& value); // trimmed, upper case
    QString GroupBreakTag() const { return m_groupBreakAfterTag; }
    void setGroupBreakTag(const QString& value);
    bool SoloTitulo() const { return m_soloTitulo; }
    void setSoloTitulo(bool value);
    bool ShowCaptions() const { return m_showCaptions; }
    void setShowCaptions(bool value);
    bool MostrarTitulo() const { return m_showCaptions; }
    bool ConTitulo() const { return m_showCaptions; }
    bool Horizontal() const { return m_horizontal; }
    void setHorizontal(bool value); // also switches AutoOrientacion off
    bool ModoHorizontal() const { return m_horizontal; }
    void setModoHorizontal(bool value);
    bool AutoOrientacion() const { return m_autoOrientacion; }
    void setAutoOrientacion(bool value);
    void setMostrarTitulo(bool value);
    void setConTitulo(const platform::Variant& value);
    // The bar's own enabled state (the widget itself stays enabled, so that
    // the host keeps its keys): a disabled bar ignores the mouse.
    bool Enabled() const { return m_enabled; }
    void setEnabled(const platform::Variant& value);
    float ItemHeight() const { return m_itemHeight; }
    void setItemHeight(float value); // at least 480
    float ItemGap() const { return m_itemGap; }
    void setItemGap(float value); // at least -300
    float TopOffset() const { return m_topOffset; }
    void setTopOffset(float value);
    float TopBotones() const { return m_topOffset; }
    void setTopBotones(float value);
    float ButtonGap() const { return m_itemGap; }
    void setButtonGap(float value);
    float HorizontalStartPad() const { return m_horizontalStartPad; }
    void setHorizontalStartPad(float value); // at least -300
    float HorizontalGap() const { return m_horizontalGap; }
    void setHorizontalGap(float value); // at least -300
    float SeparacionBotones() const { return m_itemGap; }
    void setSeparacionBotones(float value);
    // Icon size in twips; a value of 0 or below is ignored.
    float IconSize() const { return m_iconSize; }
    void setIconSize(float value);
    // Icon size in pixels; 0 or below becomes 42.
    int IconPx() const { return m_iconPx; }
    void setIconPx(int value);
    int TamanoIcono() const { return m_iconPx; }
    void setTamanoIcono(int value);
    // The folder asked for by the host, kept with a trailing separator;
    // writing it reloads the icons.
    QString ImageFolder() const { return m_imageFolder; }
    void setImageFolder(const QString& value);
    bool DebugMode() const { return m_debugMode; }
    void setDebugMode(bool value);
    // The names that choose the colour style in the settings; writing either
    // looks the style up again and applies it.
    QString ContextUserName() const { return m_contextUserName; }
    void setContextUserName(const QString& value);
    QString ContextDbName() const { return m_contextDbName; }
    void setContextDbName(const QString& value);
    bool EstiloVSCode() const { return m_estiloVSCode; }
    void setEstiloVSCode(bool value);
    // The colour style 1 to 5 (other values give 2).
    int Estilo() const { return m_estilo; }
    void setEstilo(int value);
    // The same style; a write applies the style of the settings, whatever
    // the value written.
    int Theme() const { return m_estilo; }
    void setTheme(int value);
    platform::ui::OleColor NormalBackColor() const { return m_normalBackColor; }
    void setNormalBackColor(platform::ui::OleColor value);
    platform::ui::OleColor ActiveBackColor() const { return m_activeBackColor; }
    void setActiveBackColor(platform::ui::OleColor value);
    platform::ui::OleColor ActiveBarColor() const { return m_activeBarColor; }
    void setActiveBarColor(platform::ui::OleColor value);
    // Caption font from the settings, icons reloaded, bar laid out again.
    void ActualizarBotones();

    // The container's property store: the values of a new instance (run by
    // the constructor), the restoring of a stored set and its saving.
    void InitProperties();
    void ReadProperties(const platform::ui::PropertyBag& bag);
    void WriteProperties(platform::ui::PropertyBag& bag) const;

signals:
    // An item was chosen with the mouse or through KeyAnalisis; Key is the
    // item's key in upper case.
    void click(QString& Key);
    // A checkable item was toggled with the mouse (before `click`); Checked
    // is the new state.
    void CheckClick(QString& Caption, bool& Checked);
    // A property was written (the host's designer marks it changed).
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend struct UtilVekAcceso; // the tests' window on the model

    // One item's entries (the reset values are the member initialisers).
    struct ItemSlot
    {
        QString Key;
        QString Caption;
        QString ToolTip;
        QString IconPath;
        QString IconHoverPath;
        QString IconDisabledPath;
        bool Visible = false;
        bool Enabled = true;
        int32_t Badge = 0;
        bool Attention = false;
        platform::ui::OleColor AttentionColor = platform::ui::rgb(220, 64, 64);
        bool Checkable = false;
        bool Checked = false;
        bool IconFromFile = false;
    };

    // The child controls of one item.
    struct ControlesItem
    {
        utilvek::ControlPintado PicItem;
        utilvek::ControlPintado LblBar;
        utilvek::ControlPintado LblText;
        utilvek::ControlPintado LblBadge;
        utilvek::ControlPintado ImgIcon;
    };

    // Item model.
    void EnsureItemCapacity(int n);
    void ResetItemSlot(int i);
    int FindItemIndex(const QString& key) const;
    static bool IsStandardFormKey(const QString& key);
    static int GetBaseIconIndex(const QString& key);
    void FillBaseIconCache();
    void AddDefaultItem(const QString& key, const QString& caption, const QString& tooltip);
    bool IsItemCheckableAt(int i) const;
    bool IsItemCheckedAt(int i) const;
    void SetItemCheckedAt(int i, bool value);
    // The caption trimmed, its line breaks made blanks.
    static QString LimpiarTitulo(const QString& text);
    QString FitCaption(int i, const QString& text, float maxWidth);
    void ApplyCaptionFont();
    void BeginUpdate();
    void EndUpdate();
    void EnsureDefaultItems();

    // Interaction.
    void HandleItemClick(int i);
    void RepaintItem(int i);
    bool IsItemUsable(const QString& key) const;
    void UserControl_LostFocus();
    // The item whose control lies uppermost at a point of the widget; -1 for none.
    int ItemEn(QPointF pixel) const;
    const utilvek::ControlPintado* ControlEn(QPointF pixel) const;

    // Programming interface.
    void ReloadItemIcons(int i);
    void RebuildIconPaths(int i, const QString& folder);
    bool BotonEnabled(QStringView key);
    bool BotonVisible(QStringView key);
    void setBotonEnabled(QStringView name, QStringView key, const platform::Variant& value);
    void setBotonVisible(QStringView name, QStringView key, const platform::Variant& value);
    void setCheckable(bool& checkable, bool& checked, bool value, const char* name);
    void setChecked(bool checkable, bool& checked, bool value, const char* name);

    // Layout.
    void EnsureItemControls(int n);
    void LayoutItems();
    void LayoutTitleOnly();
    float MeasureTitleWidth(int i);
    int CountVisibleItems() const;
    static void OcultarControles(ControlesItem& set);
    void notify(const char* name);
    // A Boolean from the host's value as the platform converts one (Empty is
    // false); ControlError 13 when it is none.
    static bool aBooleano(const platform::Variant& value);
    void relayoutAndNotify(const char* name);

    // Item painting.
    void ApplyItemVisuals(int i);
    void PaintItem(int i);
    void PaintTitleItem(int i);
    bool ItemHasIcon(int i) const;
    void DrawCheckMark(int i, platform::ui::OleColor b);
    void DrawAttentionMark(int i, platform::ui::OleColor b);
    void SetHoverItem(int i);
    void DrawBaseIcon(int i);
    // Item i's caption in its label, `maxWidth` x `maxHeight` twips, from a
    // font of `puntos` points: whole (on more lines or in a smaller size where
    // it must), else cut as FitCaption cuts it.
    void MostrarTitulo(int i, float maxWidth, float maxHeight, double puntos);
    // How far down from the top of item i's box (one without icon) its check
    // box, attention mark and badge reach, or its part above the bar (twips).
    double AltoDeMarcas(int i) const;
    // The twips of a control that lie above the bar's top (a row's boxes
    // start there): its check box and attention mark are drawn below them.
    static double ParteOcultaArriba(const utilvek::ControlPintado& c);
    utilvek::ControlPintado& SuperficieDeDibujo(int i);
    void BringToFront(utilvek::ControlPintado& c);

    // Icons.
    QString ResolveImageFolder() const;
    QString GetModuleFolder() const;
    QString BuildIconPath(const QString& folder, const QString& key);
    QString BuildStateIconPath(const QString& folder, const QString& key, const QString& state);
    bool FileExistsCached(const QString& path);
    QString GetStateIconPath(int i) const;
    void LoadItemIcon(int i);
    void ResetItemIcon(int i);
    void RenderItemIcon(int i);
    bool DrawPngIcon(int i, const QString& path, float w, float h);
    bool GetPngSize(const QString& path, int& width, int& height);
    QImage GetScaledBitmap(const QString& path, int w, int h);
    // Where a picture of size `imagen` lies on a surface of size `superficie`
    // (pixels) when drawn at most `pedido` large (an empty dimension asks for
    // the surface's): reduced keeping its proportions, never enlarged,
    // centred. Empty when the picture or the surface has no size.
    static QRect UbicarIcono(QSize imagen, QSize superficie, QSize pedido);

    // Colour styles.
    static int ClampColorChannel(int value);
    static platform::ui::OleColor ShadeColor(platform::ui::OleColor color, int delta);
    static bool IsLightColor(platform::ui::OleColor color);
    platform::ui::OleColor StyleNormalColor() const;
    platform::ui::OleColor StyleActiveColor() const;
    platform::ui::OleColor EffectiveNormalColor() const;
    platform::ui::OleColor EffectiveActiveColor() const;
    platform::ui::OleColor HighlightBackColor() const;
    float PixelsToTwips(int pixels) const;
    int TwipsToPixels(float twips) const;
    // The pressed colour and the bar's background, from NormalBackColor.
    void ApplyDerivedColors();
    void setBackColor(platform::ui::OleColor color);

    // Settings.
    static QString FolderWithBackslash(const QString& folder);
    static bool FolderExists(const QString& folder);
    static int ClampStyle(int style);
    int StoredBarStyle() const;

    // Stored properties.
    void ReadButtonState(const platform::ui::PropertyBag& bag, const QString& name, const QString& key);
    void WriteButtonState(platform::ui::PropertyBag& bag, const QString& name, const QString& key) const;
    void ReadAllButtonStates(const platform::ui::PropertyBag& bag);
    void WriteAllButtonStates(platform::ui::PropertyBag& bag) const;

    double twipsPorPixel() const;
    float ScaleWidth() const;
    float ScaleHeight() const;

    // Items and their controls.
    std::vector<ItemSlot> m_items;
    std::vector<ControlesItem> m_controles;
    int m_itemCount = 0;
    int m_slotUpper = 0;
    int m_controlUpper = 0;
    int m_activeIndex = -1;
    int m_hoverIndex = -1;
    int m_updateDepth = 0;
    bool m_layoutPending = false;
    std::array<QImage, 19> m_baseIcons;
    bool m_baseIconsFilled = false;
    bool m_impresoraCheckable = true;
    bool m_impresoraChecked = false;
    bool m_compartirCheckable = false;
    bool m_compartirChecked = false;
    // The item under a held mouse button, and the one it went down on.
    int m_pressedIndex = -1;
    int m_pressIndex = -1;
    uint64_t m_ultimoZOrder = 0;
    double m_captionFontSize = 0;
    utilvek::Alineacion m_captionAlignment = utilvek::Alineacion::Centro;
    bool m_captionAlignmentTaken = false;
    // The normal width of an item box, kept apart from the widths the
    // title-only arrangement gives the boxes.
    static constexpr float kItemWidth = 840;
    // The smallest size a caption is drawn at to show whole, and the margin
    // around a built-in icon (pixels).
    static constexpr double kPuntosMinimos = 6;
    static constexpr int kMargenIcono = 2;

    // Layout and appearance properties.
    float m_itemHeight = 520;
    float m_itemGap = 0;
    float m_topOffset = 10;
    float m_horizontalStartPad = 120;
    float m_horizontalGap = 120;
    float m_groupGap = 0;
    QString m_groupBreakAfterTag;
    int m_iconPx = 42;
    float m_iconSize;
    bool m_showCaptions = true;
    bool m_soloTitulo = false;
    bool m_horizontal = false;
    bool m_autoOrientacion = true;
    bool m_enabled = true;
    QString m_imageFolder;
    bool m_debugMode = false;
    QString m_contextUserName;
    QString m_contextDbName;
    bool m_estiloVSCode = false;
    int m_estilo = 2;
    platform::ui::OleColor m_normalBackColor;
    platform::ui::OleColor m_activeBackColor;
    platform::ui::OleColor m_activeBarColor;
    platform::ui::OleColor m_pressedColor;

    // The bar's own surface: its background and the band below or beside
    // the items, which a new background clears.
    platform::ui::OleColor m_backColor;
    std::optional<QRectF> m_zonaResto;
    platform::ui::OleColor m_colorResto = 0;

    // Icon caches, keyed "k" + the path in lower case (+ "|" + w + "x" + h).
    QHash<QString, bool> m_existeCache;
    QHash<QString, QSize> m_tamanoCache;
    QHash<QString, QImage> m_escaladaCache;
};

} // namespace controls
