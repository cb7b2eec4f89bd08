#pragma once

#include <QString>

namespace controls::busqueda {

// The table the look-up box searches, its description and code columns and
// the condition every search adds.
struct Catalogo
{
    QString Tabla;
    QString CampoCodigo;
    QString CampoDescripcion;
    QString CondicionExtra;
};

// What the rules decided besides the columns.
struct Decision
{
    bool disponible = true;      // the name is one the box can look up
    bool detenida = false;       // the article look-up is disabled: nothing after the rule list applies
    bool filtroVendedor = false; // clients and suppliers: the user's vendor limits them
    bool fecha = false;          // the date mode
};

// Applies the rule list and then the second step to the table name `TB`
// (which may come back changed): the first rule that matches the trimmed
// name, letter case aside, sets the catalogue; a rule that names no columns
// leaves those of `c` in place. `Cuenta` selects the documents of the
// telephones' derived table. Nothing here touches the data base.
Decision AplicarReglas(QString& TB, Catalogo& c, bool DeshabilitarBCArticulos, const QString& Cuenta);

// The derived table of the telephones of clients and of the documents of
// the account `Cuenta` that hold no letter and at least six digits, each with
// the name behind " - " when there is one.
QString TablaTelefonos(const QString& Cuenta);

// A code column made from a table name: "ID" and the part of `nombre` after
// the first `prefijo` (letter case aside), without a final "S" or "s".
QString CodigoDerivado(const QString& nombre, const QString& prefijo);

} // namespace controls::busqueda
