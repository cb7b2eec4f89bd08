#pragma once

#include "platform/core/Variant.h"

#include <QString>

namespace common {

// The program's text of an amount. `decimales`: -3 returns `valor`
// unchanged; -1 takes the run's DecimalesMoneda setting; 0 (also as the
// setting's value) takes the locale's currency digits; -2 asks for none.
// The amount is rounded in decimal, a half going to the even digit, and
// written with the locale's decimal sign and, when `agrupar`, its group sign
// between groups of three. A positive `ancho` right-aligns the text in that
// many characters, at most 25. An empty `valor` gives an empty text; a
// `valor` that is not an amount is reported through MensajeError (routine
// "FmtMoneda"): Retry reads it again, any other answer returns an empty text.
// In a locale whose group sign is ".", a text such as "1.234" reads as
// grouping (it is what FmtMoneda itself writes there); code that holds the
// amount as a number passes it as a Currency instead of a text.
QString FmtMoneda(const QString& valor, const platform::Variant& decimales, bool agrupar, int ancho = 0);
QString FmtMoneda(platform::Currency valor, const platform::Variant& decimales, bool agrupar, int ancho = 0);

// The number of decimals of the default locale's currency (2 where it cannot be told).
int DigitosMonedaLocale();

// The program's date patterns, for platform::DateTime::format().
QString FechaHoraCorta();
QString FechaCorta();
QString HoraCorta();

// True only for a regular file that can be opened for reading. Double
// quotes in the path are ignored; the name is matched without regard to case.
bool ExisteArchivo(const QString& ruta);

// Opens a file or address with the desktop's default application (never
// through a command line); a target with a blank and no double quote is
// quoted first. `minimizado` asks for a minimised window where the desktop
// can honour it.
void AbrirConShell(const QString& destino, const platform::Variant& minimizado);

} // namespace common
