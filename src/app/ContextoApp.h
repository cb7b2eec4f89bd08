#pragma once

#include "platform/core/Currency.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace app {

// One column of an INSERT or UPDATE being built: the column's name and the
// SQL literal, ready to paste.
struct CampoValor
{
    QString Campo;
    QString Valor;
};

// The settings that CfgMasUsadas reads once per start and keeps for the
// forms (those that common code reads live in common::ValoresCorrida).
struct MasUsadas
{
    bool MostrarStockConsultas = false;
    QString TituloParaClientes;
    QString TituloParaProveedores;
    QString ArchivoTareasDocumentos;
    bool ExigeClaveConsultaLike = false;
    bool ConsultaLikeActiva = false;
    bool MultiplesMonedasActivas = false;
    bool FacturaProformaActiva = false;
    bool CCostoActivo = false;
    bool StockUdKgActivo = false;
    QString UnidadNegocioUsuario;
    QString ClasesPrecioUsuario;
    QString UnidadMedidaM3;
    QString UnidadMedidaBL;
    QString UnidadMedidaKG;
    int16_t PeriodoActual = 0;
    bool RazonSocialPorUnidad = false;
    bool ValidaCodigoBarra = false;
    bool MarcaColores = false;
    // Colours with red in the low byte; the start-up sets white and black
    // before the settings are read.
    int32_t ColorFondo = 0xFFFFFF;
    int32_t ColorLetra = 0;
    bool ModuloOrdenTrabajoActivo = false;
    bool ModificaCPrecioV = false;
    bool ModificaCPrecioC = false;
    bool ModoMaderera = false;
    QString MadTiras;
    QString MadP2;
    QString MadML;
    QString MadM2;
    QString MadHojas;
    QString MadMLP2;
    QString MadM2P2;
    QString MadMLM2;
    QString CuentaCentroDistribucion;
    platform::Currency DescuentoMaximo;
    platform::Currency DescuentoMaximoProforma;
    bool PideClaveStockNegativo = false;
    bool PideClaveMarkUpBase = false;
    bool PideClaveLimiteCredito = false;
    bool BloqueoActivo = false;
    bool AsignaLoteIngreso = false;
    bool AsignaLoteIngresoOP = false;
    QString TopPorDefecto;
};

// The stored-queries object: what the start-up hands it and the file of
// look-up definitions it works on.
struct Dll_Consultas
{
    QString CadenaConexion;
    bool Habilitado = false;
    // The path of consultas.bkd.
    QString ArchivoConsultas;
};

// The folder the printing library receives at start-up.
struct Dll_Impresion
{
    QString CarpetaPrograma;
};

// The application's program-wide state: the settings cache, the pending
// column list of the SQL text builders, the most-used settings, the company's
// VAT condition as text, the stored-queries object, the start-up's state and
// the log-in's administrator flag. One instance, created on first use and
// dropped when the program context is reset.
struct ContextoApp
{
    // The settings cache: cache key -> (value, auxiliary value). Created on
    // first use by the cache routines; absent while no routine needed it.
    std::optional<QHash<QString, std::pair<QString, QString>>> CacheConfiguracion;
    bool CacheConfiguracionCargada = false;
    // Executable names (without folder and extension) under which the
    // settings cache is on; none in this program.
    QStringList ProgramasVentas;
    // Executable names of the sales-side programs that take their currency
    // decimals from "CantidadDecimalesVentas"; none in this program.
    QStringList ProgramasLadoVentas;

    std::vector<CampoValor> CamposPendientes;
    MasUsadas masUsadas;
    QString CondicionIvaEmpresaTexto;
    Dll_Consultas consultas;

    // The command line a test set in place of the process's own (see
    // LineaDeComandos).
    std::optional<QString> LineaDeComandos;
    // The program's printing library.
    Dll_Impresion impresion;
    // Whether the logged-in user is an administrator (see EsAdministrador).
    bool EsAdministrador = false;
};

ContextoApp& contexto();

} // namespace app
