#pragma once

#include "controls/lookup/CatalogoBusqueda.h"

#include <QString>
#include <QStringList>

namespace controls::busqueda {

// A search statement and the columns its list lines are read from.
struct ConsultaBusqueda
{
    QString sql;
    // The description: one column, or several shown joined by " - ".
    QStringList descripcion;
    QString codigo;
};

// The search for the typed text `Buscar` (its blanks become "%", so the
// words must appear in that order): the article query of the price list
// `lista` (a four-character code) when it is not blank, whatever the table;
// else the models' own query for MA_MODELOS; else the catalogue's table
// searched on both columns. A description of several columns (the vehicles)
// is searched on the code column. Typed text goes between apostrophes with
// its apostrophes doubled.
ConsultaBusqueda SentenciaBusqueda(const Catalogo& c, const QString& Buscar, const QString& lista);

// The users row of `Usuario`, whose IdVendedor limits clients and suppliers.
QString SentenciaVendedor(const QString& Usuario);

// The task row that gives `Usuario` the right `tarea`.
QString SentenciaTarea(const QString& tarea, const QString& Usuario);

} // namespace controls::busqueda
