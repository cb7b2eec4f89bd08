// The command bar's item model: slots and their growth, look-up by key,
// built-in icons, the two built-in item sets, checkable bookkeeping, caption
// fitting and font, deferred layout, and the control's start-up.
#include "controls/commandbar/UtilVek.h"

#include "controls/commandbar/ModUtilVekBar.h"
#include "platform/core/Text.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/Twips.h"

#include <QFontMetricsF>

#include <algorithm>
#include <limits>

namespace controls {

using platform::text::Trim;
using utilvek::Alineacion;
using utilvek::ControlPintado;

namespace {

// The design of the one control set the bar starts with (set 0).
constexpr float kAltoItem = 600;
constexpr double kTamanoTexto = 8.25;

struct ItemBase
{
    const char16_t* key;
    const char16_t* caption;
    const char16_t* tooltip;
};

constexpr ItemBase kItemsPorDefecto[] = {
    {u"NUEVO", u"Nuevo", u"Crear nuevo"},
    {u"BORRAR", u"Borrar", u"Borrar actual"},
    {u"REPORTE", u"Reporte", u"Abrir reportes / impresiones"},
    {u"CONSULTAR", u"Consultar", u"Consultar"},
    {u"PLANILLA", u"Planilla", u"Abrir planilla"},
    {u"CANCELAR", u"Cancelar", u"Cancelar edicion en curso"},
    {u"GRABAR", u"Grabar", u"Grabar cambios"},
    {u"CERRAR", u"Cerrar", u"Cerrar formulario"},
    {u"CLIENTE", u"Cliente", u"Seleccionar cliente"},
    {u"PEDIDO", u"Pedido", u"Facturar desde pedido"},
    {u"REMITO", u"Remito", u"Facturar desde remito"},
    {u"CAJERO", u"Caja", u"Opciones de caja"},
    {u"UNIDADNEGOCIO", u"Unidad de Negocio", u"Unidad de negocio"},
    {u"IMPORTAR", u"Importar", u"Importar datos"},
    {u"PROCESARIA", u"Procesar con I.A.", u"Procesar con inteligencia artificial"},
    {u"PANTALLA", u"Pantalla", u"Enviar a pantalla"},
    {u"IMPRESORA", u"Impresora", u"Imprimir"},
    {u"COMPARTIR", u"Compartir", u"Compartir"},
    {u"AJUSTES", u"Ajustes", u"Ajustes"},
};

constexpr ItemBase kItemsReportes[] = {
    {u"PANTALLA", u"Pantalla", u"Enviar a pantalla"}, {u"IMPRESORA", u"Impresora", u"Imprimir"},
    {u"CONSULTAR", u"Consultar", u"Consultar"},       {u"COMPARTIR", u"Compartir", u"Compartir"},
    {u"CERRAR", u"Cerrar", u"Cerrar formulario"},
};

} // namespace

UtilVek::UtilVek(QWidget* parent)
    : QWidget(parent), m_iconSize(PixelsToTwips(42)), m_normalBackColor(0), m_activeBackColor(0), m_activeBarColor(0),
      m_pressedColor(0), m_backColor(0)
{
    setProperty("tipoControl", QStringLiteral("UtilVek"));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    resize(platform::ui::twipsToPixels(1500), platform::ui::twipsToPixels(6000));

    ControlesItem diseno;
    diseno.PicItem.Move(0, 0, kItemWidth, kAltoItem);
    diseno.LblBar.Move(0, 0, 60, kAltoItem);
    diseno.LblText.Caption = QStringLiteral("Nuevo");
    diseno.LblText.Font = QFont(QStringLiteral("Segoe UI"));
    diseno.LblText.Font.setPointSizeF(kTamanoTexto);
    diseno.LblText.Alignment = Alineacion::Centro;
    diseno.LblBadge.Caption = QStringLiteral("1");
    diseno.LblBadge.Font = QFont(QStringLiteral("MS Sans Serif"));
    diseno.LblBadge.Font.setPointSizeF(kTamanoTexto);
    for (ControlPintado* c : {&diseno.PicItem, &diseno.LblBar, &diseno.LblText, &diseno.LblBadge, &diseno.ImgIcon}) {
        c->ZOrder = ++m_ultimoZOrder;
    }
    m_controles.push_back(diseno);

    EnsureItemCapacity(18);
    EnsureItemControls(0);
    FillBaseIconCache();
    ApplyCaptionFont();
    LayoutItems();
    InitProperties();
}

UtilVek::~UtilVek() = default;

// ------------------------------------------------------------ item store

void UtilVek::EnsureItemCapacity(int n)
{
    if (n < 0) {
        return;
    }
    if (m_slotUpper <= 0) {
        const int cota = std::max(n, 18);
        m_items.assign(std::size_t(cota) + 1, ItemSlot{});
        m_slotUpper = cota;
        EnsureItemControls(n);
        return;
    }
    if (n <= m_slotUpper) {
        return;
    }
    int cota = m_slotUpper;
    while (cota < n) {
        if (cota > (std::numeric_limits<int>::max() - 1) / 2) {
            throw platform::ui::ControlError(6, QStringLiteral("Overflow"));
        }
        cota = cota * 2 + 1;
    }
    // New slots start with their reset values.
    m_items.resize(std::size_t(cota) + 1);
    m_slotUpper = cota;
    EnsureItemControls(n);
}

void UtilVek::ResetItemSlot(int i)
{
    m_items.at(std::size_t(i)) = ItemSlot{};
}

int UtilVek::FindItemIndex(const QString& key) const
{
    const QString buscada = Trim(key).toUpper();
    if (buscada.isEmpty()) {
        return -1;
    }
    for (int i = 0; i < m_itemCount; ++i) {
        if (m_items[std::size_t(i)].Key.toUpper() == buscada) {
            return i;
        }
    }
    return -1;
}

bool UtilVek::IsStandardFormKey(const QString& key)
{
    static const QStringList estandar = {
        QStringLiteral("NUEVO"),    QStringLiteral("BORRAR"), QStringLiteral("REPORTE"), QStringLiteral("CONSULTAR"),
        QStringLiteral("CANCELAR"), QStringLiteral("GRABAR"), QStringLiteral("CERRAR")};
    return estandar.contains(Trim(key).toUpper());
}

int UtilVek::GetBaseIconIndex(const QString& key)
{
    static const QHash<QString, int> indices = {
        {QStringLiteral("NUEVO"), 0},
        {QStringLiteral("BORRAR"), 1},
        {QStringLiteral("REPORTE"), 2},
        {QStringLiteral("CONSULTAR"), 3},
        {QStringLiteral("PLANILLA"), 4},
        {QStringLiteral("CANCELAR"), 5},
        {QStringLiteral("GRABAR"), 6},
        {QStringLiteral("CERRAR"), 7},
        {QStringLiteral("CLIENTE"), 8},
        {QStringLiteral("PEDIDO"), 9},
        {QStringLiteral("REMITO"), 10},
        {QStringLiteral("CAJERO"), 11},
        {QStringLiteral("CAJA"), 11},
        {QStringLiteral("UNIDADNEGOCIO"), 12},
        {QStringLiteral("UNIDAD DE NEGOCIO"), 12},
        {QStringLiteral("CAMBIAR"), 12},
        {QStringLiteral("CHANGE"), 12},
        {QStringLiteral("IMPORTAR"), 13},
        {QStringLiteral("PROCESARIA"), 14},
        {QStringLiteral("PROCESAR IA"), 14},
        {QStringLiteral("PROCESAR CON IA"), 14},
        {QStringLiteral("PROCESAR CON I.A."), 14},
        {QStringLiteral("PANTALLA"), 15},
        {QStringLiteral("IMPRESORA"), 16},
        {QStringLiteral("COMPARTIR"), 17},
        {QStringLiteral("AJUSTES"), 18},
    };
    return indices.value(Trim(key).toUpper(), -1);
}

void UtilVek::FillBaseIconCache()
{
    if (m_baseIconsFilled) {
        return;
    }
    for (int i = 0; i < int(m_baseIcons.size()); ++i) {
        m_baseIcons[std::size_t(i)] =
            QImage(QStringLiteral(":/commandbar/iconos/%1.png").arg(i, 2, 10, QLatin1Char('0')));
    }
    m_baseIconsFilled = true;
}

void UtilVek::AddDefaultItem(const QString& key, const QString& caption, const QString& tooltip)
{
    EnsureItemCapacity(m_itemCount);
    const int s = m_itemCount;
    ++m_itemCount;
    EnsureItemControls(s);
    ItemSlot& slot = m_items[std::size_t(s)];
    slot.Key = key;
    slot.Caption = caption;
    slot.ToolTip = tooltip;
    slot.Visible = IsStandardFormKey(key);
    slot.Enabled = true;
    slot.Badge = 0;
}

void UtilVek::LoadDefaultItems()
{
    ClearItems();
    for (const ItemBase& item : kItemsPorDefecto) {
        AddDefaultItem(QString::fromUtf16(item.key), QString::fromUtf16(item.caption),
                       QString::fromUtf16(item.tooltip));
    }
    m_activeIndex = -1;
    LayoutItems();
}

void UtilVek::LoadDefaultItemsReportes()
{
    FillBaseIconCache();
    for (int i = 0; i <= m_slotUpper; ++i) {
        ResetItemSlot(i);
        if (i >= int(std::size(kItemsReportes))) {
            continue;
        }
        EnsureItemControls(i);
        const ItemBase& item = kItemsReportes[i];
        ItemSlot& slot = m_items[std::size_t(i)];
        slot.Key = QString::fromUtf16(item.key);
        slot.Caption = QString::fromUtf16(item.caption);
        slot.ToolTip = QString::fromUtf16(item.tooltip);
        slot.Visible = true;
        slot.Enabled = true;
        slot.Badge = 0;
    }
    m_itemCount = int(std::size(kItemsReportes));
    m_activeIndex = -1;
    m_hoverIndex = -1;
    LayoutItems();
}

void UtilVek::EnsureDefaultItems()
{
    if (m_itemCount < 1) {
        LoadDefaultItems();
    }
}

// --------------------------------------------------- checkable bookkeeping

bool UtilVek::IsItemCheckableAt(int i) const
{
    if (i < 0 || i >= m_itemCount) {
        return false;
    }
    const ItemSlot& s = m_items[std::size_t(i)];
    const QString key = s.Key.toUpper();
    if (key == u"IMPRESORA") {
        return m_impresoraCheckable;
    }
    if (key == u"COMPARTIR") {
        return m_compartirCheckable;
    }
    return s.Checkable;
}

bool UtilVek::IsItemCheckedAt(int i) const
{
    if (i < 0 || i >= m_itemCount) {
        return false;
    }
    const ItemSlot& s = m_items[std::size_t(i)];
    const QString key = s.Key.toUpper();
    if (key == u"IMPRESORA") {
        return m_impresoraChecked;
    }
    if (key == u"COMPARTIR") {
        return m_compartirChecked;
    }
    return s.Checked;
}

void UtilVek::SetItemCheckedAt(int i, bool value)
{
    if (i < 0 || i >= m_itemCount) {
        return;
    }
    ItemSlot& s = m_items[std::size_t(i)];
    const QString key = s.Key.toUpper();
    if (key == u"IMPRESORA") {
        m_impresoraChecked = value;
    } else if (key == u"COMPARTIR") {
        m_compartirChecked = value;
    } else {
        s.Checked = value;
    }
}

// ------------------------------------------------------------- captions

QString UtilVek::LimpiarTitulo(const QString& text)
{
    QString limpio = Trim(text);
    return limpio.replace(u'\r', u' ').replace(u'\n', u' ');
}

QString UtilVek::FitCaption(int i, const QString& text, float maxWidth)
{
    const QString limpio = LimpiarTitulo(text);
    if (Trim(limpio).isEmpty()) {
        return {};
    }
    ControlesItem& c = m_controles.at(std::size_t(i));
    c.PicItem.Font = c.LblText.Font;
    const QFontMetricsF medida(c.PicItem.Font);
    const double tp = twipsPorPixel();
    auto cabe = [&](const QString& t) { return medida.horizontalAdvance(t) * tp <= maxWidth; };
    if (cabe(limpio)) {
        return limpio;
    }
    for (qsizetype n = limpio.size(); n >= 1; --n) {
        const QString candidato = limpio.left(n) + QStringLiteral("...");
        if (cabe(candidato)) {
            return candidato;
        }
    }
    return QStringLiteral("...");
}

void UtilVek::ApplyCaptionFont()
{
    const QString seccion = ModUtilVekBar::GetContextUserName().toUpper() + u'_' +
                            ModUtilVekBar::GetContextDbName().toUpper() + QStringLiteral("Font");
    QString fuente = Trim(ModUtilVekBar::ReadIniValue(QStringLiteral("cn000pr.ini"), seccion, QStringLiteral("Font"),
                                                      QStringLiteral("Segoe UI")));
    if (fuente.isEmpty()) {
        fuente = QStringLiteral("Segoe UI");
    }
    for (int i = 0; i <= m_controlUpper; ++i) {
        m_controles[std::size_t(i)].LblText.Font.setFamily(fuente);
    }
}

// ------------------------------------------------------- deferred layout

void UtilVek::BeginUpdate()
{
    ++m_updateDepth;
}

void UtilVek::EndUpdate()
{
    if (m_updateDepth > 0) {
        --m_updateDepth;
    }
    if (m_updateDepth == 0 && m_layoutPending) {
        m_layoutPending = false;
        LayoutItems();
    }
}

// ------------------------------------------------------------ start-up

void UtilVek::InitProperties()
{
    EnsureItemCapacity(18);
    m_itemHeight = 520;
    m_itemGap = 0;
    m_topOffset = 10;
    m_horizontalStartPad = 120;
    m_horizontalGap = 120;
    m_groupGap = 0;
    m_groupBreakAfterTag.clear();
    m_iconPx = 42;
    m_iconSize = PixelsToTwips(42);
    m_showCaptions = true;
    m_soloTitulo = false;
    m_horizontal = false;
    m_autoOrientacion = true;
    m_contextUserName.clear();
    m_contextDbName.clear();
    m_activeIndex = -1;
    m_hoverIndex = -1;
    ApplyColorStyle(ClampStyle(StoredBarStyle()));
    m_imageFolder.clear();
    m_debugMode = false;
    m_estiloVSCode = false;
    m_enabled = true;
    m_impresoraCheckable = true;
    m_impresoraChecked = false;
    m_compartirCheckable = false;
    m_compartirChecked = false;
    LoadDefaultItems();
}

double UtilVek::twipsPorPixel() const
{
    return platform::ui::screenTwipsPerPixelX();
}

float UtilVek::ScaleWidth() const
{
    return float(width() * twipsPorPixel());
}

float UtilVek::ScaleHeight() const
{
    return float(height() * twipsPorPixel());
}

} // namespace controls
