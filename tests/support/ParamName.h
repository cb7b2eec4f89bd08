#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// A text as part of a test parameter's name, in the form gtest takes (ASCII
// letters, digits, "_"): its words (runs of letters and digits, accents
// dropped) each begun in capitals and joined, at most `largo` characters.
inline std::string ParamName(const QString& texto, int largo = 40)
{
    std::string nombre;
    bool nuevaPalabra = true;
    for (const QChar c : texto.normalized(QString::NormalizationForm_D)) {
        const char16_t u = c.unicode();
        const bool minuscula = u >= u'a' && u <= u'z';
        if (!minuscula && !(u >= u'A' && u <= u'Z') && !(u >= u'0' && u <= u'9')) {
            // An accent of the letter before does not end its word.
            nuevaPalabra = nuevaPalabra || !c.isMark();
            continue;
        }
        if (int(nombre.size()) >= largo) {
            break;
        }
        nombre += char(nuevaPalabra && minuscula ? u - u'a' + u'A' : u);
        nuevaPalabra = false;
    }
    return nombre;
}

inline std::string ParamName(const char* texto, int largo = 40)
{
    return ParamName(QString::fromUtf8(texto), largo);
}

// The parameter names of a table of cases without names of their own: the
// words of the text that `texto` takes from a case, then the case's position,
// which keeps the names unique ("SelectDistinctAFromTOrderByA_3").
template <typename Caso, typename Texto> auto NombrePorTexto(Texto texto)
{
    return [texto](const ::testing::TestParamInfo<Caso>& info) {
        return ParamName(texto(info.param)) + '_' + std::to_string(info.index);
    };
}

} // namespace testing_support
