#pragma once

#include <QString>

#include <array>
#include <functional>

class QPushButton;
class QWidget;

namespace common {

// Colours are 24-bit values with red in the low byte
// (0xBBGGRR); a value with the top bit set names a system colour
// (0x8000000F is the button face of the application's palette).
using Color = long;

constexpr Color RGB(int red, int green, int blue)
{
    return Color(red) | (Color(green) << 8) | (Color(blue) << 16);
}

constexpr Color kColorCaraBoton = 0x8000000FL;
constexpr Color kVerdeAceptar = RGB(46, 160, 67);
constexpr Color kRojoCancelar = RGB(196, 57, 57);

// The nine colours of one style, by role: 1 form background (also frames,
// check and option buttons off a tab control), 2 background of a grid's fixed
// cells, 3 background of fields, 4 text, 5 frame captions, 6 face of flat
// buttons, 7 text of buttons that are not flat, 8 grid lines, 9 grid lines of
// the fixed cells. Index 0 holds colour 1.
using Paleta = std::array<Color, 9>;

// The palette of a style number; style 1 has a dark variant for the main
// window. Numbers other than 0 to 4 share one palette.
Paleta PaletaDeEstilo(int estilo, bool ventanaPrincipal);

// Styles a form (or a user control) and its controls from the settings file:
// the chosen font on the ordinary controls, the colours of the style's
// palette by control type, the flat look when `plano` is true, green or red
// faces on accept and cancel buttons, and the command bar's style on every
// command-bar control. A style of 0 or more replaces the style number of the
// settings; a negative one keeps it. A control that lacks a property is
// passed over; nothing is raised. The main window ("FRMMDI" in any case)
// only gets its background and its command bars styled.
void AplicarEstilo(QWidget* form, bool plano, int estilo);

// The style number of the last styling; 0 before the first.
int EstiloActual();

// The command bar's style for a style number: 0 -> 1, 2 -> 3, 3 -> 4,
// 4 -> 5, anything else -> 2.
int EstiloDeBarra(int estilo);

// Shows a start-up progress text on the splash window (caption and its
// "lblVersion") and on the main window's "LblDescBotonera", where those are
// loaded; an empty text shows "...". Processes pending events once when asked.
void MostrarProgresoInicio(const QString& texto, bool procesarEventos);

// True when the control sits, directly or through containers (at most 15
// levels), on a tab control; false on reaching a window first.
bool DentroDeSSTab(const QWidget* control);

// 1 for an accept-type button, 2 for a cancel-type one, 0 for the others:
// the dynamic property "Cancel" true gives 2, isDefault() gives 1, then the
// caption's words decide (accept words are looked for first).
int ClaseDeBoton(const QPushButton* boton);

// Each channel a + (b - a) x fraccion, rounded half to even, kept in 0..255.
Color MezclarColor(Color a, Color b, float fraccion);

// True when 0.299 red + 0.587 green + 0.114 blue is below 140; a system
// colour is judged by its value in the application's palette.
bool EsColorOscuro(Color color);

// The type name of a control as the styling knows it ("CommandButton",
// "TextBox", "MSFlexGrid"...): the dynamic property "tipoControl" when the
// control sets one, else one derived from its Qt class; empty for widgets
// that are not controls of their own (containers, internal parts).
QString NombreTipoControl(const QWidget* control);

// Installs the source of the main connection's data-base name, which names
// the settings sections of the styling. The data layer installs it when its
// main instance opens its connection; until then (and after a reset of the
// program context) the name is empty.
void DefinirNombreBaseEstilo(std::function<QString()> nombreBase);

} // namespace common
