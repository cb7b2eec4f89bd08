#pragma once

#include "platform/core/Variant.h"

#include <QString>
#include <QStringList>

namespace app {

// The settings of the configuration table (TablaConfiguracion of the run,
// TA_CONFIGURACION when it is blank) on the main data base, and of
// TA_CONFIGURACION on the statistics data base, with an in-memory cache.
// Keys, groups and every value placed in a statement are escaped.

// The value of `clave` (group "DATOS" matches the key in any group); `valorAux`
// receives VALORAUX. A key without a row reads " " with an empty auxiliary
// value; "THEME" without a value reads "1". Returns "" when the main instance
// is not connected. A failure goes to the common error dialog (routine
// "Cfg"): Ignore goes on, any other answer returns "".
QString Cfg(const QString& clave, QString& valorAux, const QString& grupo = QStringLiteral("DATOS"));
// The value of `clave` in group "DATOS", without its auxiliary value.
QString Cfg(const QString& clave);

// The same read on the statistics data base (no group, no cache, no
// connection test); the dialog's Retry also runs the failed step again.
QString CfgBk(const QString& clave, QString& valorAux);

// Writes the setting: finds the row of `clave` (as passed) in `grupo` and
// rewrites it, or adds one; CLAVE is stored trimmed and upper-cased, the
// value trimmed when `recortar`, the auxiliary value only when not empty.
// For group "DATOS" only rows of that group (or of an empty group) are
// found. With `borrar` the row found is deleted; with no row nothing is
// written. The cached item is dropped. Failures are skipped silently.
void GrabaDfg(const QString& clave, const platform::Variant& valor, const QString& valorAux = {},
              bool politicaNegocio = false, const QString& grupo = QStringLiteral("DATOS"), bool recortar = true,
              bool borrar = false);

// Writes the setting into the statistics data base's TA_CONFIGURACION, found
// by key alone; a non-empty auxiliary value is always trimmed. Failures are
// skipped silently.
void GrabaCfgBk(const QString& clave, const platform::Variant& valor, const QString& valorAux, bool politicaNegocio,
                const QString& grupo, bool recortar);

// Whether the settings cache is on: the executable's name is one of the
// sales programs of EstablecerProgramasVentas() (none in this program).
bool EsProgramaVentas();
// The executable names (without folder and extension) under which the cache
// is on. This program names none; tests name their own executable.
void EstablecerProgramasVentas(const QStringList& nombres);

// Loads the whole table into the cache (when the cache is on and the main
// instance connected), unless it was loaded and `recargar` is false. Rows
// whose value or auxiliary value exceeds 8000 bytes are skipped.
void CfgCachePrecargarConfiguracion(bool recargar);
// True, with both texts set, when the cache holds the key of that group.
bool CfgCacheObtener(const QString& clave, QString& valor, QString& valorAux, const QString& grupo);
void CfgCacheGuardar(const QString& clave, const QString& valor, const QString& valorAux, const QString& grupo);
// Drops one item; a blank key empties the cache and marks it not loaded.
void CfgCacheQuitar(const QString& clave, const QString& grupo);
// "TABLE|GROUP|KEY", each part trimmed and upper-cased.
QString CfgCacheClave(const QString& clave, const QString& grupo);

} // namespace app
