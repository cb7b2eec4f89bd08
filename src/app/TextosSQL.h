#pragma once

#include "app/ContextoApp.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace app {

// Adds one column and its SQL literal to the module's pending list
// (CamposPendientes), starting a new list when `NuevaLista`. A value "NULL"
// (any case) becomes the bare word Null. With the delimiter "'" the value is
// quoted with its inner apostrophes doubled, so it is stored as typed; with
// any other delimiter (the value pasted as it stands) apostrophes are removed.
void SQLValorCampo(const QString& Campo, const QString& Valor, const QString& Delimitador, bool NuevaLista);

// Appends to `Sentencias` "INSERT INTO t (a,b) VALUES (x,y)" or, with
// `EsUpdate`, "UPDATE t SET a = x,b = y " followed by the condition (given a
// leading " WHERE " when it holds no "WHERE"; the caller's text is changed).
// Unless `ConservarCampos`, the pair list is left with one empty pair.
void ArmaSQLGrabacion(std::vector<CampoValor>& Campos, QStringList& Sentencias, const QString& Tabla, bool EsUpdate,
                      QString& Condicion, bool ConservarCampos);

// Appends "(a,b) VALUES (x,y)" to `Texto`; with `LimpiarCampos` the pair
// list is emptied.
void ArmaSQLValores(QString& Texto, std::vector<CampoValor>& Campos, bool LimpiarCampos);

// The one-row SELECT for the main connection's engine: unchanged unless the
// connection string names Oracle, where "TOP n *" becomes "*" with
// " WHERE ROWNUM <= n" at the end and the word LEN becomes LENGTH. Raises
// DbError (5) for a TOP text without a "*" after it.
QString AdaptaSQLMotor(const QString& SentenciaSQL);

} // namespace app
