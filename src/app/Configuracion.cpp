#include "app/Configuracion.h"

#include "app/ConexionBk.h"
#include "app/ContextoApp.h"
#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

namespace app {

using common::Accion;
using platform::Variant;
using platform::db::DbError;
namespace db = platform::db;
namespace text = platform::text;

namespace {

const QString kTablaPorDefecto = QStringLiteral("TA_CONFIGURACION");
const QString kGrupoGeneral = QStringLiteral("DATOS");
// Values longer than this many bytes are not loaded into the cache.
const QString kLimiteCache = QStringLiteral("8000");

// The run's table name, set to TA_CONFIGURACION when it is blank.
QString TablaConfiguracion()
{
    QString& tabla = common::valoresCorrida().TablaConfiguracion;
    if (text::Trim(tabla).isEmpty()) {
        tabla = kTablaPorDefecto;
    }
    return tabla;
}

bool EsGrupoGeneral(const QString& grupo)
{
    return text::EqualsNoCase(grupo, kGrupoGeneral);
}

// The two date keys are looked up in upper case, statement and all.
bool EsClaveDeFecha(const QString& clave)
{
    const QString recortada = text::Trim(clave);
    return text::EqualsNoCase(recortada, u"[FECHA HASTA]") || text::EqualsNoCase(recortada, u"[FECHA DESDE]");
}

QString Texto(const Variant& valor)
{
    return platform::Dll_Utilidades::shared().ValorCampo(valor).toText();
}

QHash<QString, std::pair<QString, QString>>& Cache()
{
    ContextoApp& ctx = contexto();
    if (!ctx.CacheConfiguracion) {
        ctx.CacheConfiguracion.emplace();
    }
    return *ctx.CacheConfiguracion;
}

// The read shared by Cfg and CfgBk: the first row's VALOR and VALORAUX, " "
// for a missing key, "1" for an empty THEME. `reintentar` lets the dialog's
// Retry run the failed step again.
QString LeerConfiguracion(data::DB_Dll& db, const QString& sql, const QString& clave, QString& valorAux,
                          const QString& rutina, bool reintentar, bool* leido)
{
    data::RecordsetPtr rs;
    QString resultado;
    bool sinFila = false;
    enum class Paso { Abrir, SinFila, Leer, Cerrar, Tema, Fin };
    const bool completo = common::EjecutarPasos(
        Paso::Abrir, Paso::Fin,
        [&](Paso paso) {
            switch (paso) {
            case Paso::Abrir:
                db.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified,
                                  true);
                break;
            case Paso::SinFila:
                sinFila = rs->Bof();
                if (sinFila) {
                    resultado = QStringLiteral(" ");
                    valorAux.clear();
                    return Paso::Cerrar;
                }
                break;
            case Paso::Leer:
                resultado = Texto(rs->value(QStringLiteral("Valor")));
                valorAux = Texto(rs->value(QStringLiteral("ValorAux")));
                break;
            case Paso::Cerrar:
                db.CierraRecordset(rs);
                rs.reset();
                break;
            case Paso::Tema:
                if (text::EqualsNoCase(clave, u"THEME") && text::Trim(resultado).isEmpty()) {
                    resultado = QStringLiteral("1");
                }
                break;
            case Paso::Fin:
                break;
            }
            return common::Siguiente(paso);
        },
        [&](const platform::Error& e) {
            const int respuesta = common::MensajeError(platform::ErrObject(e), std::nullopt, rutina);
            if (respuesta == platform::msgbox::Ignore) {
                return Accion::Siguiente;
            }
            if (reintentar && respuesta == platform::msgbox::Retry) {
                return Accion::Reintentar;
            }
            return Accion::Salir;
        });
    if (!completo) {
        db.CierraRecordset(rs);
        *leido = false;
        return {};
    }
    *leido = true;
    return resultado;
}

// The steps shared by GrabaDfg and GrabaCfgBk on an open updatable record set
// of the key's rows; every failing step is skipped.
void EscribirConfiguracion(data::DB_Dll& db, const QString& sql, const QString& clave, const Variant& valor,
                           const QString& valorAux, bool politicaNegocio, const QString& grupo, bool recortar,
                           bool recortarAux, bool borrar)
{
    data::RecordsetPtr rs;
    auto& utilidades = platform::Dll_Utilidades::shared();
    enum class Paso { Abrir, Fila, Grupo, Clave, Valor, PoliticaNegocio, ValorAux, Grabar, Cerrar, Fin };
    common::EjecutarPasosSinErrores(Paso::Abrir, Paso::Fin, [&](Paso paso) {
        switch (paso) {
        case Paso::Abrir:
            db.AbrirRecordset(sql, rs, db.gCnn.get(), db::adOpenDynamic, db::adLockOptimistic, db::adCmdUnspecified,
                              true);
            break;
        case Paso::Fila:
            if (rs->Bof()) {
                // A key to delete that has no row: nothing to write.
                if (borrar) {
                    return Paso::Cerrar;
                }
                rs->AddNew();
            } else if (borrar) {
                rs->Delete();
                return Paso::Cerrar;
            } else {
                rs->MoveFirst();
            }
            break;
        case Paso::Grupo:
            rs->Fields(QStringLiteral("Grupo")).setValue(utilidades.ValorCampo(Variant(grupo)));
            break;
        case Paso::Clave:
            rs->Fields(QStringLiteral("Clave")).setValue(utilidades.ValorCampo(Variant(text::Trim(clave).toUpper())));
            break;
        case Paso::Valor:
            rs->Fields(QStringLiteral("valor"))
                .setValue(utilidades.ValorCampo(recortar ? Variant(text::Trim(valor.toText())) : valor));
            break;
        case Paso::PoliticaNegocio:
            rs->Fields(QStringLiteral("PoliticaNegocio")).setValue(Variant(politicaNegocio));
            break;
        case Paso::ValorAux:
            if (!valorAux.isEmpty()) {
                rs->Fields(QStringLiteral("ValorAux"))
                    .setValue(utilidades.ValorCampo(Variant(recortarAux ? text::Trim(valorAux) : valorAux)));
            }
            break;
        case Paso::Grabar:
            rs->Update();
            break;
        case Paso::Cerrar:
            db.CierraRecordset(rs);
            break;
        case Paso::Fin:
            break;
        }
        return common::Siguiente(paso);
    });
}

} // namespace

bool EsProgramaVentas()
{
    const QString nombre = platform::Runtime::instance().programName().toUpper();
    for (const QString& programa : contexto().ProgramasVentas) {
        if (text::EqualsNoCase(nombre, programa)) {
            return true;
        }
    }
    return false;
}

void EstablecerProgramasVentas(const QStringList& nombres)
{
    contexto().ProgramasVentas = nombres;
}

QString Cfg(const QString& clave)
{
    QString valorAux;
    return Cfg(clave, valorAux, kGrupoGeneral);
}

QString Cfg(const QString& clave, QString& valorAux, const QString& grupo)
{
    data::DB_Dll& db = data::gDbPrincipal();
    if (!db.gOpenFlag) {
        return {};
    }
    const QString tabla = TablaConfiguracion();
    const bool conCache = EsProgramaVentas();
    if (conCache) {
        QString valor;
        QString aux;
        if (CfgCacheObtener(clave, valor, aux, grupo)) {
            valorAux = aux;
            return valor;
        }
    }
    QString sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + tabla +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + text::SqlQuoteInner(text::Trim(clave));
    if (EsGrupoGeneral(grupo)) {
        sql += u'\'';
    } else {
        sql += QStringLiteral("' AND GRUPO ='") + text::SqlQuoteInner(grupo) + u'\'';
    }
    if (EsClaveDeFecha(clave)) {
        sql = sql.toUpper();
    }
    bool leido = false;
    const QString resultado = LeerConfiguracion(db, sql, clave, valorAux, QStringLiteral("Cfg"), false, &leido);
    if (leido && conCache) {
        CfgCacheGuardar(clave, resultado, valorAux, grupo);
    }
    return resultado;
}

QString CfgBk(const QString& clave, QString& valorAux)
{
    QString sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + kTablaPorDefecto +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + text::SqlQuoteInner(text::Trim(clave)) + u'\'';
    if (EsClaveDeFecha(clave)) {
        sql = sql.toUpper();
    }
    bool leido = false;
    return LeerConfiguracion(data::gDbEstadisticas(), sql, clave, valorAux, QStringLiteral("CfgBk"), true, &leido);
}

void GrabaDfg(const QString& clave, const Variant& valor, const QString& valorAux, bool politicaNegocio,
              const QString& grupo, bool recortar, bool borrar)
{
    data::DB_Dll& db = data::gDbPrincipal();
    QString sql = QStringLiteral("SELECT * FROM ") + common::valoresCorrida().TablaConfiguracion +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + text::SqlQuoteInner(clave);
    if (EsGrupoGeneral(grupo)) {
        // Only the general group's own rows (an empty group counts as
        // general): a row of the key in another group is never rewritten.
        sql += QStringLiteral("' AND (GRUPO = 'DATOS' OR ISNULL(GRUPO, '') = '')");
    } else {
        sql += QStringLiteral("' AND GRUPO = '") + text::SqlQuoteInner(grupo) + u'\'';
    }
    EscribirConfiguracion(db, sql, clave, valor, valorAux, politicaNegocio, grupo, recortar, recortar, borrar);
    CfgCacheQuitar(clave, grupo);
}

void GrabaCfgBk(const QString& clave, const Variant& valor, const QString& valorAux, bool politicaNegocio,
                const QString& grupo, bool recortar)
{
    const QString sql = QStringLiteral("SELECT * FROM ") + kTablaPorDefecto +
                        QStringLiteral(" with(nolock)  WHERE CLAVE = '") + text::SqlQuoteInner(clave) + u'\'';
    EscribirConfiguracion(data::gDbEstadisticas(), sql, clave, valor, valorAux, politicaNegocio, grupo, recortar, true,
                          false);
}

void CfgCachePrecargarConfiguracion(bool recargar)
{
    if (!EsProgramaVentas() || !data::gDbPrincipal().gOpenFlag) {
        return;
    }
    const QString tabla = TablaConfiguracion();
    auto& cache = Cache();
    ContextoApp& ctx = contexto();
    if (ctx.CacheConfiguracionCargada && !recargar) {
        return;
    }
    const float inicio = Temporizador();
    cache.clear();
    int excedidas = 0;
    const QString sql = QStringLiteral("SELECT CLAVE, GRUPO,") + QStringLiteral(" CASE WHEN DATALENGTH(VALOR) > ") +
                        kLimiteCache + QStringLiteral(" THEN NULL ELSE VALOR END AS VALOR,") +
                        QStringLiteral(" CASE WHEN DATALENGTH(VALORAUX) > ") + kLimiteCache +
                        QStringLiteral(" THEN NULL ELSE VALORAUX END AS VALORAUX,") +
                        QStringLiteral(" CASE WHEN DATALENGTH(VALOR) > ") + kLimiteCache +
                        QStringLiteral(" OR DATALENGTH(VALORAUX) > ") + kLimiteCache +
                        QStringLiteral(" THEN 1 ELSE 0 END AS Excedido,") +
                        QStringLiteral(" DATALENGTH(VALOR) AS BytesValor, DATALENGTH(VALORAUX) AS BytesValorAux") +
                        QStringLiteral(" FROM ") + tabla + QStringLiteral(" with(nolock)");
    data::DB_Dll& db = data::gDbPrincipal();
    data::RecordsetPtr rs;
    try {
        db.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
        if (!(rs->Bof() && rs->Eof())) {
            rs->MoveFirst();
            while (!rs->Eof()) {
                QString grupo = text::Trim(Texto(rs->value(QStringLiteral("Grupo"))));
                if (grupo.isEmpty()) {
                    grupo = kGrupoGeneral;
                }
                const QString clave = Texto(rs->value(QStringLiteral("Clave")));
                if (rs->value(QStringLiteral("Excedido")).toInteger().value_or(0) != 1) {
                    CfgCacheGuardar(clave, Texto(rs->value(QStringLiteral("valor"))),
                                    Texto(rs->value(QStringLiteral("ValorAux"))), grupo);
                } else {
                    ++excedidas;
                    RegistraTiempoInicio(
                        QStringLiteral("CfgCachePrecargarConfiguracion clave excedida, no se cachea"), inicio,
                        QStringLiteral("Clave=") + clave + QStringLiteral(" Grupo=") + grupo +
                            QStringLiteral(" BytesValor=") + Texto(rs->value(QStringLiteral("BytesValor"))) +
                            QStringLiteral(" BytesValorAux=") + Texto(rs->value(QStringLiteral("BytesValorAux"))));
                }
                rs->MoveNext();
            }
        }
        db.CierraRecordset(rs);
        ctx.CacheConfiguracionCargada = true;
        RegistraTiempoInicio(QStringLiteral("CfgCachePrecargarConfiguracion"), inicio,
                             QStringLiteral("Claves=") + QString::number(cache.size()) + QStringLiteral(" Excedidas=") +
                                 QString::number(excedidas));
    } catch (const DbError& e) {
        RegistraTiempoInicio(QStringLiteral("CfgCachePrecargarConfiguracion error"), inicio,
                             QStringLiteral("Err=") + QString::number(e.number()) + u' ' + e.info().Description);
        db.CierraRecordset(rs);
    }
}

bool CfgCacheObtener(const QString& clave, QString& valor, QString& valorAux, const QString& grupo)
{
    const auto& cache = Cache();
    const auto item = cache.constFind(CfgCacheClave(clave, grupo));
    if (item == cache.constEnd()) {
        return false;
    }
    valor = item->first;
    valorAux = item->second;
    return true;
}

void CfgCacheGuardar(const QString& clave, const QString& valor, const QString& valorAux, const QString& grupo)
{
    Cache().insert(CfgCacheClave(clave, grupo), {valor, valorAux});
}

void CfgCacheQuitar(const QString& clave, const QString& grupo)
{
    ContextoApp& ctx = contexto();
    if (!ctx.CacheConfiguracion) {
        return;
    }
    if (text::Trim(clave).isEmpty()) {
        ctx.CacheConfiguracion->clear();
        ctx.CacheConfiguracionCargada = false;
        return;
    }
    ctx.CacheConfiguracion->remove(CfgCacheClave(clave, grupo));
}

QString CfgCacheClave(const QString& clave, const QString& grupo)
{
    return text::Trim(TablaConfiguracion()).toUpper() + u'|' + text::Trim(grupo).toUpper() + u'|' +
           text::Trim(clave).toUpper();
}

} // namespace app
