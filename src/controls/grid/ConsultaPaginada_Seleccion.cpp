// The column chooser's side of the query: the list it offers, the probe of
// the chosen columns and the select list they give.
#include "controls/grid/ConsultaPaginada.h"

#include "platform/core/Text.h"
#include "platform/db/Types.h"

namespace controls {

namespace text = platform::text;

namespace {

bool esClave(const QString& entrada, const QString& clave)
{
    const QString t = text::Trim(entrada);
    return text::EqualsNoCase(t, clave) || text::EqualsNoCase(t, QString(u'[' + clave + u']'));
}

} // namespace

QString ConsultaPaginada::CamposParaElegir() const
{
    if (CamposTodos.isEmpty()) {
        return QStringLiteral("|");
    }
    QStringList entradas = text::Replace(CamposTodos, u", ", u"|").replace(u',', u'|').split(u'|');
    // The chooser takes its last entry for the key column: a key that the
    // statement gives earlier moves to the end, and stands there once.
    const QString K = ClavePrimaria();
    QString clave = K;
    for (qsizetype i = entradas.size() - 1; i >= 0; --i) {
        if (esClave(entradas.at(i), K)) {
            clave = entradas.takeAt(i);
        }
    }
    entradas << clave;
    return entradas.join(u'|') + u'|';
}

QString ConsultaPaginada::SentenciaEleccion(const QString& eleccion) const
{
    QString lista = eleccion.isEmpty() ? QStringLiteral("*") : eleccion;
    return QStringLiteral("SELECT TOP 1 ") + ArmarListaCampos(lista) + QStringLiteral(" FROM ") + TablaConsulta;
}

void ConsultaPaginada::AplicarEleccion(const std::vector<CampoProbado>& campos)
{
    CamposSel.clear();
    CamposSelNombres.clear();
    const QString K = ClavePrimaria();
    // The key column is left out wherever the probe gives it (the chooser
    // ends a choice with it; every column of the table comes when none was
    // chosen) and closes the list once.
    for (const CampoProbado& campo : campos) {
        const QString& N = campo.Nombre;
        if (text::EqualsNoCase(N, K)) {
            continue;
        }
        const QString corchete = u'[' + N + u']';
        if (campo.Tipo == platform::db::adDBTimeStamp) {
            CamposSelNombres += CamposSelNombres.isEmpty() ? corchete : u',' + corchete;
            CamposSel +=
                (CamposSel.isEmpty() ? QStringLiteral(" CONVERT(NVARCHAR,[") : QStringLiteral(", CONVERT(NVARCHAR,[")) +
                N + QStringLiteral("],") + QString::number(FormatDate) + QStringLiteral(") AS ") + corchete;
        } else {
            CamposSelNombres += CamposSelNombres.isEmpty() ? corchete : QStringLiteral(", ") + corchete;
            CamposSel += CamposSel.isEmpty() ? corchete : QStringLiteral(", ") + corchete;
        }
    }
    CamposSel += (CamposSel.isEmpty() ? QString() : QStringLiteral(", ")) + K;
    CamposSelNombres += (CamposSelNombres.isEmpty() ? QString() : QStringLiteral(", ")) + K;
}

} // namespace controls
