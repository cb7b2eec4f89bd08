#include "app/CorreccionPrecios.h"

#include "common/Formatos.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Types.h"
#include "platform/util/Dll_Utilidades.h"

#include <QFileInfo>

#include <algorithm>

namespace app {

namespace db = platform::db;
using platform::Currency;
using platform::Variant;
using platform::text::SqlQuoteInner;
using platform::text::Trim;

namespace {

// The decimals of an amount written into the article master: the configured
// number (CantidadDecimales), the locale's currency digits when it is 0 or
// not set, within what the money type holds.
int DecimalesMaestro()
{
    const QString valor = Trim(common::valoresCorrida().DecimalesMoneda);
    qsizetype fin = 0;
    if (fin < valor.size() && (valor.at(fin) == u'-' || valor.at(fin) == u'+')) {
        ++fin;
    }
    while (fin < valor.size() && valor.at(fin).isDigit()) {
        ++fin;
    }
    int decimales = valor.left(fin).toInt();
    if (decimales == 0) {
        decimales = common::DigitosMonedaLocale();
    }
    return std::clamp(decimales, 0, 4);
}

// An amount read back from the data base (a value of a record set or the
// text DatosTabla gives); nullopt when it holds none.
std::optional<Currency> ImporteLeido(const Variant& valor)
{
    if (valor.isBlank()) {
        return std::nullopt;
    }
    if (valor.type() != platform::VariantType::Text) {
        return valor.toCurrency();
    }
    const QString texto = Trim(valor.toText());
    if (texto.isEmpty()) {
        return std::nullopt;
    }
    if (std::optional<Currency> importe = Currency::parse(texto)) {
        return importe;
    }
    return platform::Dll_Utilidades::shared().TextoAMoneda(texto);
}

// The progress of row i of n as the pattern "0%" writes it.
QString Porcentaje(int64_t i, int64_t n)
{
    const int64_t p = n > 0 ? (200 * i + n) / (2 * n) : 0;
    return QString::number(p) + u'%';
}

} // namespace

CorreccionPrecios::CorreccionPrecios(data::DB_Dll& db, Reloj reloj) : m_db(db), m_reloj(std::move(reloj)) {}

bool CorreccionPrecios::Modificar(Currency anterior, Currency actual, Regla regla)
{
    const Currency d = anterior - actual;
    const Currency minimo = Currency::fromUnits(100); // 0.01
    if (d < minimo && -d < minimo) {
        return false;
    }
    switch (regla) {
    case Regla::Mayor:
        return d > Currency();
    case Regla::Menor:
        return d < Currency();
    case Regla::Todos:
        return true;
    case Regla::Ninguna:
        break;
    }
    return false;
}

bool CorreccionPrecios::Modificar(const QString& anterior, const QString& actual, Regla regla)
{
    const platform::Dll_Utilidades& util = platform::Dll_Utilidades::shared();
    const std::optional<Currency> a = util.TextoAMoneda(actual);
    const std::optional<Currency> b = util.TextoAMoneda(anterior);
    if (!a || !b) {
        return false;
    }
    return Modificar(*b, *a, regla);
}

QString CorreccionPrecios::FiltroLista(const QString& codigoLista)
{
    if (codigoLista.isEmpty()) {
        return QStringLiteral(" and (idlista = '' or idlista is null) ");
    }
    return QStringLiteral(" and idlista = '") +
           SqlQuoteInner(platform::Dll_Utilidades::shared().CodigoConCeros(codigoLista, 4)) + QStringLiteral("' ");
}

QString CorreccionPrecios::NombreArchivoCorreccion(const QString& marca) const
{
    const QString carpeta =
        platform::Dll_Utilidades::shared().CarpetaConBarra(platform::Runtime::instance().writableFolder());
    const QString base = carpeta + QStringLiteral("CorreccionesPrecio_") + marca;
    QString nombre = base + QStringLiteral(".txt");
    for (int n = 2; QFileInfo::exists(nombre); ++n) {
        nombre = base + QStringLiteral("_%1.txt").arg(n);
    }
    return nombre;
}

CorreccionPrecios::Resultado CorreccionPrecios::EjecutarCorreccion(const Eleccion& eleccion, const Progreso& progreso)
{
    const QString clase = eleccion.ClasePrecio;
    const bool esCosto = clase == u"Costo";
    const QString columna = esCosto ? QStringLiteral("Costo") : QStringLiteral("precio") + clase;
    const bool maestro = eleccion.CodigoLista.isEmpty();
    const QString filtro = FiltroLista(eleccion.CodigoLista);
    const QString inicio = eleccion.primera.format(QStringLiteral("dd-mm-yyyy hh:nn:ss")) + QStringLiteral(".000");
    const QString fin = eleccion.ultima.format(QStringLiteral("dd-mm-yyyy hh:nn:ss")) + QStringLiteral(".999");

    const platform::DateTime ahora = m_reloj();
    Resultado resultado;
    resultado.archivo = NombreArchivoCorreccion(ahora.format(QStringLiteral("yyyymmdd_hhnnss")));
    platform::LogFile log;
    const bool creado =
        log.open(resultado.archivo) && log.writeLine(QStringLiteral("== Log de correcciones de precio ==")) &&
        log.writeLine(QStringLiteral("Fecha de ejecución: ") + ahora.format(QStringLiteral("yyyy-mm-dd hh:nn:ss"))) &&
        log.writeLine(QStringLiteral("Clase de precio: Precio ") + clase) &&
        log.writeLine(QStringLiteral("Rango analizado: ") + inicio + QStringLiteral(" a ") + fin) &&
        log.writeLine(QString(36, u'-')) &&
        log.writeLine(QStringLiteral("IdArticulo\tPrecio maestro\tPrecio nuevo\tFecha hist."));
    if (!creado) {
        log.close();
        resultado.fin = Fin::SinRegistro;
        return resultado;
    }

    const int decimales = maestro ? DecimalesMaestro() : 2;
    bool registroFallido = false;
    data::RecordsetPtr rs = std::make_shared<db::Recordset>();
    data::RecordsetPtr rsPrevio = std::make_shared<db::Recordset>();
    try {
        const QString sql = QStringLiteral("SELECT * ") + QStringLiteral("FROM V_MV_PreciosHis ") +
                            QStringLiteral("WHERE FechaHora >= '") + inicio + QStringLiteral("' AND FechaHora <= '") +
                            fin + QStringLiteral("' ") + filtro + QStringLiteral("ORDER BY FechaHora;");
        m_db.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
        const int64_t n = rs->State() == db::adStateOpen ? rs->RecordCount() : 0;
        int64_t i = 0;
        for (; rs->State() == db::adStateOpen && !rs->Eof() && !registroFallido; rs->MoveNext()) {
            const QString idHistoria = rs->value(QStringLiteral("IdArticulo")).toText();
            const QString verificando =
                QStringLiteral("Por favor, espere\u2026 Verificando articulo ") + Trim(idHistoria);
            ++i;
            progreso(QStringLiteral("   ") + QString::number(i) + u'/' + QString::number(n) + QStringLiteral("  ") +
                     Porcentaje(i, n) + QStringLiteral(" | ") + verificando);

            QString sqlPrevio;
            if (esCosto) {
                sqlPrevio = QStringLiteral("SELECT TOP 1  costo as precio, * ") +
                            QStringLiteral("FROM V_MV_PreciosHis ") +
                            QStringLiteral("WHERE LTRIM(RTRIM(IdArticulo)) = '") + SqlQuoteInner(Trim(idHistoria)) +
                            QStringLiteral("' ") + filtro + QStringLiteral("  AND FechaHora < '") + inicio +
                            QStringLiteral("'") + QStringLiteral("ORDER BY FechaHora DESC;");
            } else {
                sqlPrevio = QStringLiteral("SELECT TOP 1  ") + columna + QStringLiteral(" as precio, * ") +
                            QStringLiteral("FROM V_MV_PreciosHis ") + QStringLiteral("WHERE IdArticulo = '") +
                            SqlQuoteInner(idHistoria) + QStringLiteral("' ") + filtro +
                            QStringLiteral("  AND FechaHora < '") + inicio + QStringLiteral("'") +
                            QStringLiteral("ORDER BY FechaHora DESC;");
            }
            m_db.AbrirRecordset(sqlPrevio, rsPrevio, nullptr, db::adOpenForwardOnly, db::adLockReadOnly,
                                db::adCmdUnspecified, true);
            // No price before the group, or one that the history left empty: nothing to restore.
            const bool hayPrevio = rsPrevio->State() == db::adStateOpen && !rsPrevio->Eof();
            const std::optional<Currency> anterior =
                hayPrevio ? ImporteLeido(rsPrevio->value(QStringLiteral("precio"))) : std::nullopt;
            if (anterior) {
                const QString idArticulo = rsPrevio->value(QStringLiteral("IdArticulo")).toText();
                const QString idLista = rsPrevio->value(QStringLiteral("idLista")).toText();
                const QString fechaHistoria = rsPrevio->value(QStringLiteral("FechaHora"))
                                                  .toDate()
                                                  .value_or(platform::DateTime())
                                                  .format(QStringLiteral("yyyy-mm-dd hh:nn:ss"));

                Variant leido;
                if (maestro) {
                    leido = m_db.DatosTabla(QStringLiteral("V_MA_ARTICULOS"), idArticulo, columna,
                                            QStringLiteral("IdArticulo"), Variant(8), QString(), true, false);
                } else {
                    const QString condicion = QStringLiteral(" idarticulo = '") + SqlQuoteInner(idArticulo) +
                                              QStringLiteral("' and idlista = '") + SqlQuoteInner(idLista) +
                                              QStringLiteral("'");
                    leido = m_db.DatosTabla(QStringLiteral("V_MA_PRECIOS"), idArticulo, columna,
                                            QStringLiteral("IdArticulo"), Variant(8), condicion, true, false);
                }
                // A value that cannot be read (no row, a failed look-up, an
                // empty price) is never taken as zero: the row is skipped.
                const std::optional<Currency> actual = ImporteLeido(leido);
                if (actual && Modificar(*anterior, *actual, eleccion.regla)) {
                    const QString nuevo = anterior->rounded(decimales).toFixed(decimales);
                    QString update;
                    if (maestro) {
                        update = QStringLiteral("UPDATE  V_MA_ARTICULOS SET ") + columna + QStringLiteral(" = ") +
                                 nuevo + QStringLiteral(", DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '") +
                                 SqlQuoteInner(Trim(idArticulo)) + QStringLiteral("'");
                    } else {
                        update = QStringLiteral("UPDATE  V_MA_PRECIOS SET ") + columna + QStringLiteral(" = ") + nuevo +
                                 QStringLiteral(", DESDETRIGGER = 1 WHERE IDARTICULO = '") + SqlQuoteInner(idArticulo) +
                                 QStringLiteral("' and idlista = '") + SqlQuoteInner(idLista) + QStringLiteral("'");
                    }
                    int64_t afectados = 0;
                    if (m_db.EjecutaConsultaSQL(update, afectados) && afectados >= 1) {
                        ++resultado.modificados;
                        registroFallido = !log.writeLine(Trim(idArticulo) + u'\t' + leido.toText() + u'\t' + nuevo +
                                                         u'\t' + fechaHistoria);
                    } else {
                        ++resultado.fallidos;
                    }
                }
            }
            m_db.CierraRecordset(rsPrevio);
        }
    } catch (const db::DbError& error) {
        resultado.fin = Fin::Detenida;
        resultado.motivo = error.info().Description;
    }
    m_db.CierraRecordset(rsPrevio);
    m_db.CierraRecordset(rs);
    log.close();
    if (registroFallido) {
        resultado.fin = Fin::Detenida;
        resultado.motivo =
            QStringLiteral("No se pudo escribir en el registro de correcciones ") + resultado.archivo + u'.';
    }
    return resultado;
}

CorreccionPrecios::Aviso CorreccionPrecios::AvisoFinal(const Resultado& resultado)
{
    const QString cuenta = QStringLiteral("Precios modificados: ") + QString::number(resultado.modificados) +
                           QStringLiteral(". Precios que no se pudieron modificar: ") +
                           QString::number(resultado.fallidos) + u'.';
    if (resultado.fin != Fin::Completa) {
        return {QStringLiteral("La corrección se detuvo: ") + resultado.motivo + QStringLiteral("\r\n") + cuenta, 16};
    }
    if (resultado.fallidos > 0) {
        return {QStringLiteral("Corrección finalizada con errores.\r\n") + cuenta, 48};
    }
    return {QStringLiteral("Corrección finalizada con éxito.\r\n") + cuenta, 0};
}

} // namespace app
