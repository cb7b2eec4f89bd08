#pragma once

#include <QString>

namespace app {

// The company's fiscal data for a business unit of v_ta_unidadNegocio: the
// unit's own name and tax id with its per-unit settings when it has a tax id,
// its point of sale, and the company-wide settings for whatever stays empty.
// Outputs that arrive filled and are not overwritten keep their value. Sets
// the run's company VAT condition from the result: the text always, the
// number only when the text is a whole number. Returns false when it is not
// (as for a missing setting), leaving CondicionIvaEmpresa as it was.
bool DatosEmpresaUnidadNegocio(const QString& UnidadNegocio, QString& RazonSocial, QString& Cuit,
                               QString& InicioActividades, QString& IngresosBrutos, QString& CondicionIva,
                               QString& PuntoVenta, QString& Domicilio);

} // namespace app
