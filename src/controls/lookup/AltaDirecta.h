#pragma once

#include "controls/lookup/CatalogoBusqueda.h"
#include "platform/util/ErrObject.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class Dll_Utilidades;
namespace db {
class Connection;
}
} // namespace platform

namespace controls::busqueda {

// The task right that guards direct additions to a table and the width of
// the codes an addition makes.
struct PermisoAlta
{
    QString tarea;
    int largo = 4;
};

// The right of a table that takes direct additions (its name compared
// without regard to case); nullopt for any other table.
std::optional<PermisoAlta> PermisoDeAlta(const QString& Tabla);

// The code after the highest of the numeric codes (blanks around them do
// not count; a code with any other character is no number), right-aligned
// in `largo` characters; a number with more digits is written whole. "1"
// when there is none.
QString SiguienteCodigo(const QStringList& codigos, int largo);

// One direct addition of a row with a typed description, on the look-up
// box's connection: a duplicate check, the next code, the insert and, for
// the sale and purchase reasons, the reason's rows for the eight VAT
// conditions copied from the template row. The insert and the template rows
// run in one transaction, so a failure leaves nothing added.
class AltaDirecta
{
public:
    enum class Fin {
        Nada,      // no table or no text: nothing was done
        Duplicado, // the description exists
        SinFila,   // the insert wrote no row
        Error,     // a statement failed (`error`); nothing stays written
        Hecha,     // the row (and its template rows) were written
    };
    struct Resultado
    {
        Fin fin = Fin::Nada;
        QString codigo;    // the new code, right-aligned to its width
        QString sentencia; // the insert as far as it was built
        platform::ErrObject error;
    };

    AltaDirecta(platform::db::Connection& cn, platform::Dll_Utilidades& utilidades, Catalogo catalogo, int largo,
                QString Cuenta, QDate hoy);

    Resultado Agregar(const QString& tecleado);

private:
    QString sentenciaAlta(const QString& codigo, const QString& descripcion) const;
    // The batch of the template rows of a new reason; empty when the
    // table has none or holds no template row.
    QString lotePlantillas(const QString& codigo);

    platform::db::Connection& m_cn;
    platform::Dll_Utilidades& m_utilidades;
    Catalogo m_c;
    int m_largo;
    QString m_cuenta;
    QDate m_hoy;
};

} // namespace controls::busqueda
