#include "app/Conversiones.h"

#include "platform/util/Dll_Utilidades.h"

#include <cmath>
#include <cstdlib>

namespace app {

double ValorNumerico(const QString& texto)
{
    QByteArray numero;
    qsizetype i = 0;
    const qsizetype n = texto.size();
    auto digito = [&](qsizetype k) { return k < n && texto[k] >= u'0' && texto[k] <= u'9'; };
    while (i < n && (texto[i] == u' ' || texto[i] == u'\t')) {
        ++i;
    }
    if (i < n && (texto[i] == u'-' || texto[i] == u'+')) {
        numero += char(texto[i].unicode());
        ++i;
    }
    bool hayDigitos = false;
    while (digito(i)) {
        numero += char(texto[i].unicode());
        hayDigitos = true;
        ++i;
    }
    if (i < n && texto[i] == u'.') {
        numero += '.';
        ++i;
        while (digito(i)) {
            numero += char(texto[i].unicode());
            hayDigitos = true;
            ++i;
        }
    }
    if (!hayDigitos) {
        return 0.0;
    }
    if (i < n && (texto[i] == u'E' || texto[i] == u'e')) {
        qsizetype j = i + 1;
        QByteArray exponente = "e";
        if (j < n && (texto[j] == u'-' || texto[j] == u'+')) {
            exponente += char(texto[j].unicode());
            ++j;
        }
        if (digito(j)) {
            while (digito(j)) {
                exponente += char(texto[j].unicode());
                ++j;
            }
            numero += exponente;
        }
    }
    return std::strtod(numero.constData(), nullptr);
}

std::optional<int64_t> EnteroCercano(double valor, int64_t minimo, int64_t maximo)
{
    if (!std::isfinite(valor)) {
        return std::nullopt;
    }
    // nearbyint rounds in the default mode, which sends a half to the even neighbour.
    const double redondeado = std::nearbyint(valor);
    if (redondeado < double(minimo) || redondeado > double(maximo)) {
        return std::nullopt;
    }
    return int64_t(redondeado);
}

std::optional<int16_t> EnteroDeTexto(const QString& texto)
{
    const auto importe = platform::Dll_Utilidades::shared().TextoAMoneda(texto);
    if (!importe) {
        return std::nullopt;
    }
    const int64_t unidades = importe->toWhole();
    if (unidades < INT16_MIN || unidades > INT16_MAX) {
        return std::nullopt;
    }
    return int16_t(unidades);
}

} // namespace app
