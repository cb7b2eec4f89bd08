#pragma once

#include <QString>

#include <cstdint>

namespace common {

// The values of the run that the start-up sets and the rest of the program
// reads, with their values before the start-up has run.
struct ValoresCorrida
{
    // The application user and the password typed for it.
    QString UsuarioActual;
    QString ClaveActual;
    // The cash box.
    QString CajaActual = QStringLiteral("1");
    QString ValorParametroAdicional;
    // Command time-out of the main connection, in seconds.
    int TiempoEsperaComandos = 45;
    // The "CantidadDecimales" setting as read (a missing key reads " ").
    QString DecimalesMoneda;
    bool ConfidencialidadActiva = false;
    bool UsaFechaDia = false;
    int16_t CondicionIvaEmpresa = 0;
    // The configuration table's name (the settings code falls back to
    // "TA_CONFIGURACION" while it is empty).
    QString TablaConfiguracion;
};

// The run's one instance, created on first use and back to its start-up
// values when the program context is reset.
ValoresCorrida& valoresCorrida();

} // namespace common
