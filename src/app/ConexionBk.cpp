#include "app/ConexionBk.h"

#include "app/Configuracion.h"
#include "app/Conversiones.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Backend.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_Utilidades.h"

#include <QFile>
#include <QLocale>

#include <cmath>
#include <cstdint>

#ifndef CP_STARTUP_TIMING
#define CP_STARTUP_TIMING 0
#endif

namespace app {

namespace db = platform::db;
namespace text = platform::text;

namespace {

constexpr bool kRegistroTiemposInicio = CP_STARTUP_TIMING != 0;
constexpr int kTiempoEsperaPorDefecto = 45;

const QString kBaseEstadisticas = QStringLiteral("BK_ESTADISTICAS");
const QString kClaveEstadisticas = QStringLiteral("KD_PLOMERIASTRE");

} // namespace

void VerificaConexionBk()
{
    common::ValoresCorrida& valores = common::valoresCorrida();
    valores.TiempoEsperaComandos = kTiempoEsperaPorDefecto;
    data::DB_Dll& principal = data::gDbPrincipal();
    data::DB_Dll& bk = data::gDbEstadisticas();
    enum class Paso { Cerrar, Valores, Abrir, Base, TiempoEspera, TiempoPorDefecto, Fin };
    common::EjecutarPasosSinErrores(Paso::Cerrar, Paso::Fin, [&](Paso paso) {
        switch (paso) {
        case Paso::Cerrar:
            if (bk.gCnn && bk.gCnn->State() == db::adStateOpen) {
                bk.gCnn->Close();
            }
            break;
        case Paso::Valores:
            bk.gProveedor = principal.pSQLOLEDB();
            bk.gServidor = principal.gServidor;
            bk.gDBName = kBaseEstadisticas;
            bk.gUsuario = kBaseEstadisticas;
            bk.gUserPassWord = kClaveEstadisticas;
            break;
        case Paso::Abrir:
            bk.OpenServerADODB(false, db::adUseClient, QString(), true, false);
            break;
        case Paso::Base:
            if (!bk.gOpenFlag || !bk.gCnn || bk.gCnn->State() != db::adStateOpen) {
                return Paso::TiempoPorDefecto;
            }
            bk.gCnn->setDefaultDatabase(kBaseEstadisticas);
            break;
        case Paso::TiempoEspera: {
            QString valorAux;
            const auto tiempo =
                EnteroCercano(ValorNumerico(CfgBk(QStringLiteral("TimeOut"), valorAux)), INT16_MIN, INT16_MAX);
            if (!tiempo) {
                // Outside the Integer range: the time-out stays as it was.
                break;
            }
            valores.TiempoEsperaComandos = int(*tiempo);
            if (valores.TiempoEsperaComandos == 0) {
                GrabaCfgBk(QStringLiteral("TimeOut"), platform::Variant(0), QString(), false,
                           QStringLiteral("BaseDeDatos"), true);
            }
            break;
        }
        case Paso::TiempoPorDefecto:
            if (valores.TiempoEsperaComandos == 0) {
                valores.TiempoEsperaComandos = kTiempoEsperaPorDefecto;
            }
            break;
        case Paso::Fin:
            break;
        }
        return common::Siguiente(paso);
    });
}

void DefineArchivoErrores()
{
    auto& utilidades = platform::Dll_Utilidades::shared();
    QString ruta =
        utilidades.CarpetaConBarra(platform::Runtime::instance().programFolder()) + QStringLiteral("BKERR.LOG");
    QFile archivo(ruta);
    if (archivo.open(QIODevice::Append)) {
        archivo.close();
    } else {
        QString temporal = qEnvironmentVariable("TEMP");
        if (text::Trim(temporal).isEmpty()) {
            temporal = platform::Dll_ApiWindows::shared().CarpetaAlternativa();
        }
        ruta = utilidades.CarpetaConBarra(temporal) + QStringLiteral("BKERR.LOG");
    }
    utilidades.setArchivoLog(ruta);
}

QString ObtieneIP(const QString& Servidor)
{
    if (platform::db::isEmbeddedServer(Servidor)) {
        return Servidor;
    }
    const qsizetype barra = Servidor.indexOf(u'/');
    const QString resultado = barra >= 0 ? Servidor.mid(barra + 1) : Servidor;
    const qsizetype dosPuntos = resultado.indexOf(u':');
    return dosPuntos >= 0 ? resultado.left(dosPuntos) : resultado;
}

float Temporizador()
{
    return float(platform::now().time().msecsSinceStartOfDay()) / 1000.0f;
}

float SegundosTranscurridos(float inicio)
{
    const float d = Temporizador() - inicio;
    if (std::fabs(d) < 0.01f) {
        return 0.0f;
    }
    return d < 0.0f ? d + 86400.0f : d;
}

QString LineaTiempoInicio(const QString& paso, float inicio, const QString& detalle)
{
    QString linea = platform::now().format(QStringLiteral("yyyy-mm-dd hh:nn:ss")) + QStringLiteral(" | PERF | ") + paso;
    if (inicio >= 0.0f) {
        QString segundos = QString::number(double(SegundosTranscurridos(inicio)), 'f', 3);
        segundos.replace(u'.', QLocale().decimalPoint());
        linea += QStringLiteral(" | ") + segundos + u's';
    }
    if (!text::Trim(detalle).isEmpty()) {
        linea += QStringLiteral(" | ") + detalle;
    }
    return linea;
}

void RegistraTiempoInicio(const QString& paso, float inicio, const QString& detalle)
{
    if constexpr (kRegistroTiemposInicio) {
        const QString ruta =
            platform::Dll_Utilidades::shared().CarpetaConBarra(platform::Runtime::instance().programFolder()) +
            QStringLiteral("startup_perf.log");
        platform::LogFile::appendLine(ruta, LineaTiempoInicio(paso, inicio, detalle));
    } else {
        (void)paso;
        (void)inicio;
        (void)detalle;
    }
}

} // namespace app
