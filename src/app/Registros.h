#pragma once

#include <QString>

#include <cstdint>

namespace app {

// Records that the user entered the program: one Control_Acceso row (the
// computer, the user, the process, the user's task for it in TA_TAREAS and
// TA_MENU, the entry time and the user name as typed), written through the
// transaction batch. An empty `Programa` means the executable's name. Under
// the main menu's name CN000PR nothing is written. Every failure is skipped;
// a failed insert is reported by the batch.
void RegistraIngresoTarea(const QString& Programa = {});

// Inserts a document-action audit row into V_MV_CPTEACCIONES (type 'ER' for
// an error, else 'A' addition, 'M' change, 'B' removal) with the server's
// date and time; texts are quoted and escaped. Failures are skipped: the row
// is then lost.
void RegistraAccionCpte(const QString& TC, const QString& IdComprobante, const QString& IdComplemento, bool EsAlta,
                        bool EsModificacion, bool Reservado, const QString& Descripcion, const QString& Cuenta,
                        bool EsError);

// Adds an AUX_ERR row for a failed batch: the process (the executable's name
// when empty), the time, the native error number, the error text cut to 250
// characters, the whole batch, the computer and the user. Failures are
// skipped: the row is then lost.
void RegistraErrorAux(const QString& SentenciaSQL, const QString& Proceso, int32_t NroError,
                      const QString& Descripcion);

} // namespace app
