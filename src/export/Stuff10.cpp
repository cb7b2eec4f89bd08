#include "export/Stuff10.h"

#include <algorithm>

namespace exportacion {

QString LetraColumna(int& index)
{
    QString letras;
    for (int n = index + 1; n > 0; n = (n - 1) / 26) {
        letras.append(QChar(u'A' + (n - 1) % 26));
    }
    std::reverse(letras.begin(), letras.end());
    return letras;
}

} // namespace exportacion
