#pragma once

#include "app/ContextoApp.h"

namespace app {

// The program's stored-queries object (created on first use).
Dll_Consultas& ConsultasPrograma();

// Appends the eleven default look-up definitions to the file named by
// ArchivoConsultas (created when missing): records of 1202 bytes (caption
// 100, table 100, columns 500, extra 500, CR LF) in Windows-1252, each placed
// after the file's last whole record. Returns false, with the reason in
// `motivo`, when the file cannot be opened or written.
bool GrabaDefinicionesBusqueda(QString* motivo = nullptr);

// Writes the default definitions when ArchivoConsultas names no file (the
// name matched without regard to case). A file that cannot be written is
// skipped and the failure appended to BKERR.LOG, so the start-up goes on.
void AseguraDefinicionesBusqueda();

} // namespace app
