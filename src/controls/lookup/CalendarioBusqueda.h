#pragma once

#include "platform/ui/Colors.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace controls::busqueda {

// One day cell of the month calendar as a drawing leaves it.
struct CeldaDia
{
    QString caption;
    bool habilitada = false;
    platform::ui::OleColor color = 0;
};

inline constexpr platform::ui::OleColor kAzul = 0xFF0000;
inline constexpr platform::ui::OleColor kRojo = 255;
inline constexpr platform::ui::OleColor kNegro = 0;

// The 42 cells of month `mes` of year `ano`, six weeks from Sunday: the days
// of the month with their numbers (blue, red on Saturdays and Sundays), the
// cells before and after them "." and disabled. nullopt for a month that
// does not exist.
std::optional<std::array<CeldaDia, 42>> Almanaque(int mes, int ano);

// The number of days of the month; 0 for a month that does not exist.
int DiasDelMes(int mes, int ano);

// "Enero" to "Diciembre" for 1 to 12, empty otherwise.
QString NombreDeMes(int numero);
// The number of a month name (letter case aside), 0 for any other text.
int NumeroDeMes(const QString& nombre);

// A date typed day first: d/m/yyyy or d/m/yy (two-digit years below 50 in
// this century), blanks around it ignored; nullopt for any other text.
std::optional<QDate> LeerFecha(const QString& texto);

// What the date mask leaves in its box after one key.
struct TeclaFecha
{
    QString texto;
    int selStart = 0;
};

// The overtype mask dd/mm/yyyy: `texto` and `selStart` are the box's text
// and caret, `maxLength` its maximum length (0 none), `keyAscii` the typed
// character. Digits replace the character at the caret and move on over the
// slashes, Backspace blanks it and moves back, Enter clears a text that is
// no date, other keys change nothing; every character that is not a digit
// becomes a blank, with "/" at the third and sixth positions.
TeclaFecha MascaraFecha(const QString& texto, int selStart, int maxLength, int keyAscii);

} // namespace controls::busqueda
