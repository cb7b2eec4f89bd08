// The command bar's stored properties: what it writes into the container's
// property store, with the writer's defaults, and how it reads them back,
// with the reader's defaults and the values it derives instead of reading
// (colour style, colours, image folder).
#include "controls/commandbar/UtilVek.h"

#include "controls/commandbar/ModUtilVekBar.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <algorithm>

namespace controls {

using platform::ui::PropertyBag;

namespace {

// A stored gap entry that is absent reads as this mark.
constexpr double kAusente = 32767;

struct Boton
{
    const char16_t* escrito;
    const char16_t* leido;
    const char16_t* key;
};

// The per-button entries, in storing order. The CONSULTAR pair is written
// as "consultar..." and read as "Consultar..."; the store ignores the case
// of names, so it reads back.
constexpr Boton kBotones[] = {
    {u"Nuevo", u"Nuevo", u"NUEVO"},
    {u"Borrar", u"Borrar", u"BORRAR"},
    {u"Reporte", u"Reporte", u"REPORTE"},
    {u"consultar", u"Consultar", u"CONSULTAR"},
    {u"Planilla", u"Planilla", u"PLANILLA"},
    {u"Cancelar", u"Cancelar", u"CANCELAR"},
    {u"Grabar", u"Grabar", u"GRABAR"},
    {u"Cerrar", u"Cerrar", u"CERRAR"},
    {u"Cliente", u"Cliente", u"CLIENTE"},
    {u"Pedido", u"Pedido", u"PEDIDO"},
    {u"Remito", u"Remito", u"REMITO"},
    {u"Cajero", u"Cajero", u"CAJERO"},
    {u"Caja", u"Caja", u"CAJA"},
    {u"UnidadNegocio", u"UnidadNegocio", u"UNIDADNEGOCIO"},
    {u"Importar", u"Importar", u"IMPORTAR"},
    {u"ProcesarIA", u"ProcesarIA", u"PROCESARIA"},
    {u"Pantalla", u"Pantalla", u"PANTALLA"},
    {u"Impresora", u"Impresora", u"IMPRESORA"},
    {u"Compartir", u"Compartir", u"COMPARTIR"},
    {u"Ajustes", u"Ajustes", u"AJUSTES"},
    {u"Cambiar", u"Cambiar", u"CAMBIAR"},
    {u"Change", u"Change", u"CHANGE"},
    {u"Caus", u"Caus", u"CAUS"},
};

QString nombre(const char* n)
{
    return QString::fromLatin1(n);
}

} // namespace

void UtilVek::WriteProperties(PropertyBag& bag) const
{
    auto escribir = [&bag](const char* n, const QVariant& valor, const QVariant& defecto) {
        bag.WriteProperty(nombre(n), valor, defecto);
    };
    escribir("Enabled", m_enabled, true);
    escribir("ShowCaptions", m_showCaptions, true);
    escribir("SoloTitulo", m_soloTitulo, false);
    escribir("MostrarTitulo", m_showCaptions, true);
    escribir("ConTitulo", m_showCaptions, true);
    escribir("Horizontal", m_horizontal, false);
    escribir("ModoHorizontal", m_horizontal, false);
    escribir("AutoOrientacion", m_autoOrientacion, true);
    escribir("ItemHeight", double(m_itemHeight), 520.0);
    escribir("ItemGap", double(m_itemGap), 0.0);
    escribir("ButtonGap", double(m_itemGap), 0.0);
    escribir("SeparacionBotones", double(m_itemGap), 0.0);
    escribir("TopOffset", double(m_topOffset), 10.0);
    escribir("TopBotones", double(m_topOffset), 10.0);
    escribir("HorizontalStartPad", double(m_horizontalStartPad), 120.0);
    escribir("HorizontalGap", double(m_horizontalGap), 120.0);
    escribir("GroupGap", double(m_groupGap), 0.0);
    escribir("GroupBreakAfterTag", m_groupBreakAfterTag, QString());
    escribir("GroupBreakTag", m_groupBreakAfterTag, QString());
    escribir("IconSize", double(m_iconSize), 480.0);
    escribir("IconPx", m_iconPx, 32);
    escribir("TamanoIcono", m_iconPx, 32);
    escribir("Estilo", m_estilo, 2);
    escribir("Theme", m_estilo, 2);
    escribir("NormalBackColor", qlonglong(m_normalBackColor), qlonglong(platform::ui::rgb(52, 52, 52)));
    escribir("ActiveBackColor", qlonglong(m_activeBackColor), qlonglong(platform::ui::rgb(64, 64, 64)));
    escribir("ActiveBarColor", qlonglong(m_activeBarColor), qlonglong(platform::ui::rgb(255, 255, 255)));
    escribir("ImageFolder", m_imageFolder, QString());
    escribir("ContextUserName", m_contextUserName, QString());
    escribir("ContextDbName", m_contextDbName, QString());
    escribir("DebugMode", m_debugMode, false);
    escribir("EstiloVSCode", m_estiloVSCode, false);
    escribir("ImpresoraCheckable", m_impresoraCheckable, true);
    escribir("ImpresoraChecked", m_impresoraChecked, false);
    escribir("CompartirCheckable", m_compartirCheckable, false);
    escribir("CompartirChecked", m_compartirChecked, false);
    WriteAllButtonStates(bag);
}

void UtilVek::ReadProperties(const PropertyBag& bag)
{
    auto leer = [&bag](const char* n, const QVariant& defecto) { return bag.ReadProperty(nombre(n), defecto); };
    BeginUpdate();

    m_enabled = leer("Enabled", true).toBool();
    m_showCaptions = leer("ShowCaptions", true).toBool();
    m_soloTitulo = leer("SoloTitulo", false).toBool();
    m_showCaptions = leer("MostrarTitulo", m_showCaptions).toBool();
    m_showCaptions = leer("ConTitulo", m_showCaptions).toBool();
    m_horizontal = leer("Horizontal", false).toBool();
    m_horizontal = leer("ModoHorizontal", m_horizontal).toBool();
    m_autoOrientacion = leer("AutoOrientacion", true).toBool();

    // Read with the writer's default, so that a height equal to it (and
    // therefore not stored) comes back as itself.
    m_itemHeight = leer("ItemHeight", 520.0).toFloat();

    const double itemGap = leer("ItemGap", 30.0).toDouble();
    const double buttonGap = leer("ButtonGap", kAusente).toDouble();
    const double separacion = buttonGap == kAusente ? leer("SeparacionBotones", kAusente).toDouble() : kAusente;
    double gap = buttonGap != kAusente ? buttonGap : separacion != kAusente ? separacion : itemGap == 30 ? 0 : itemGap;
    m_itemGap = float(std::max(gap, -300.0));

    const float topBotones = leer("TopBotones", 10.0).toFloat();
    m_topOffset = leer("TopOffset", double(topBotones)).toFloat();
    m_horizontalStartPad = std::max(leer("HorizontalStartPad", 120.0).toFloat(), -300.0f);
    m_horizontalGap = std::max(leer("HorizontalGap", 120.0).toFloat(), -300.0f);
    m_groupGap = leer("GroupGap", 0.0).toFloat();

    const QString groupBreakTag = leer("GroupBreakTag", QString()).toString();
    m_groupBreakAfterTag = platform::text::Trim(leer("GroupBreakAfterTag", groupBreakTag).toString()).toUpper();

    m_iconSize = leer("IconSize", 480.0).toFloat();
    m_iconPx = leer("IconPx", TwipsToPixels(m_iconSize)).toInt();
    m_iconPx = leer("TamanoIcono", m_iconPx).toInt();
    if (m_iconPx < 1) {
        m_iconPx = 42;
    }
    m_iconSize = PixelsToTwips(m_iconPx);

    // The style and its colours come from the settings, not from the store.
    ApplyColorStyle(ClampStyle(StoredBarStyle()));

    const QString programa = ModUtilVekBar::EnsureTrailingSlash(platform::Runtime::instance().programFolder());
    const QString sistema = platform::text::Trim(ModUtilVekBar::ReadIniValue(
        QStringLiteral("cn000pr.ini"), QStringLiteral("OrvoGestion"), QStringLiteral("PathSistema"), programa));
    m_imageFolder =
        (sistema.isEmpty() ? programa : ModUtilVekBar::EnsureTrailingSlash(sistema)) + QStringLiteral("img_menu/");

    m_contextUserName = leer("ContextUserName", QString()).toString();
    m_contextDbName = leer("ContextDbName", QString()).toString();
    m_debugMode = leer("DebugMode", false).toBool();
    m_estiloVSCode = leer("EstiloVSCode", false).toBool();
    m_impresoraCheckable = leer("ImpresoraCheckable", true).toBool();
    m_impresoraChecked = leer("ImpresoraChecked", false).toBool();
    m_compartirCheckable = leer("CompartirCheckable", false).toBool();
    m_compartirChecked = leer("CompartirChecked", false).toBool();
    if (m_estiloVSCode) {
        AplicarEstiloVSCode(m_showCaptions, m_iconPx);
    }
    ReadAllButtonStates(bag);

    LayoutItems();
    EndUpdate();
    RefreshIcons();
}

void UtilVek::ReadButtonState(const PropertyBag& bag, const QString& name, const QString& key)
{
    SetItemEnabled(key, bag.ReadProperty(name + QStringLiteral("Enabled"), ItemEnabled(key)).toBool());
    SetItemVisible(key, bag.ReadProperty(name + QStringLiteral("Visible"), ItemVisible(key)).toBool());
}

void UtilVek::WriteButtonState(PropertyBag& bag, const QString& name, const QString& key) const
{
    bag.WriteProperty(name + QStringLiteral("Enabled"), ItemEnabled(key));
    bag.WriteProperty(name + QStringLiteral("Visible"), ItemVisible(key));
}

void UtilVek::ReadAllButtonStates(const PropertyBag& bag)
{
    EnsureDefaultItems();
    for (const Boton& boton : kBotones) {
        ReadButtonState(bag, QString::fromUtf16(boton.leido), QString::fromUtf16(boton.key));
    }
}

void UtilVek::WriteAllButtonStates(PropertyBag& bag) const
{
    for (const Boton& boton : kBotones) {
        WriteButtonState(bag, QString::fromUtf16(boton.escrito), QString::fromUtf16(boton.key));
    }
}

} // namespace controls
