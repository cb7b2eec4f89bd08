#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace app {

// The number at the start of the text: blanks, an optional sign, digits with
// an optional "." and decimals, an optional exponent; 0 when the text does
// not start with a number.
double ValorNumerico(const QString& texto);

// The nearest whole number, a half going to the even neighbour; nullopt when
// it falls outside [minimo, maximo].
std::optional<int64_t> EnteroCercano(double valor, int64_t minimo, int64_t maximo);

// The 16-bit whole number that a typed text holds (blanks around allowed,
// the locale's decimal sign or "." accepted, a half rounding to even), or
// nullopt for an empty text, a text that is not a number or one out of range.
std::optional<int16_t> EnteroDeTexto(const QString& texto);

} // namespace app
