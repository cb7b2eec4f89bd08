#include "app/CorreccionPrecios.h"

#include "common/Formatos.h"
#include "common/MensajeError.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Types.h"
#include "platform/util/Dll_Utilidades.h"

#include <QFileInfo>
#include <QStringBuilder>

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

// The text with a final period.
QString ConPunto(const QString& texto)
{
    return texto.endsWith(u'.') ? texto : texto + u'.';
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
    // In units and wider than money: the difference of two amounts near its
    // limits does not fit in it.
    const __int128 d = __int128(anterior.units()) - actual.units();
    const __int128 minimo = 100; // 0.01
    if (d < minimo && -d < minimo) {
        return false;
    }
    switch (regla) {
    case Regla::Mayor:
        return d > 0;
    case Regla::Menor:
        return d < 0;
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

QString CorreccionPrecios::InicioDelRango(const platform::DateTime& primera)
{
    return primera.format(QStringLiteral("dd-mm-yyyy hh:nn:ss")) + QStringLiteral(".000");
}

QString CorreccionPrecios::LimiteDelRango(const platform::DateTime& ultima)
{
    return InicioDelRango(ultima.addMSecs(1000));
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

// The run's choices as the statements use them, and what the rows share.
struct CorreccionPrecios::Corrida
{
    const Eleccion& eleccion;
    bool esCosto;
    QString columna;
    bool maestro;
    QString filtro;
    QString inicio;
    int decimales;
    platform::LogFile& log;
    bool registroFallido = false;
    data::RecordsetPtr rsPrevio = std::make_shared<db::Recordset>();
};

CorreccionPrecios::Resultado CorreccionPrecios::EjecutarCorreccion(const Eleccion& eleccion, const Progreso& progreso)
{
    m_detener = false;
    const QString clase = eleccion.ClasePrecio;
    const bool esCosto = clase == u"Costo";
    const bool maestro = eleccion.CodigoLista.isEmpty();
    const QString inicio = InicioDelRango(eleccion.primera);
    // The log shows the span to its last millisecond.
    const QString fin = eleccion.ultima.format(QStringLiteral("dd-mm-yyyy hh:nn:ss")) + QStringLiteral(".999");

    const platform::DateTime ahora = m_reloj();
    Resultado resultado;
    resultado.archivo = NombreArchivoCorreccion(ahora.format(QStringLiteral("yyyymmdd_hhnnss")));
    resultado.archivoErrores = common::ArchivoBkErr();
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

    Corrida corrida{eleccion,
                    esCosto,
                    esCosto ? QStringLiteral("Costo") : QStringLiteral("precio") + clase,
                    maestro,
                    FiltroLista(eleccion.CodigoLista),
                    inicio,
                    maestro ? DecimalesMaestro() : 2,
                    log};
    data::RecordsetPtr rs = std::make_shared<db::Recordset>();
    try {
        const QString sql = QStringLiteral("SELECT * ") + QStringLiteral("FROM V_MV_PreciosHis ") +
                            QStringLiteral("WHERE FechaHora >= '") + inicio + QStringLiteral("' AND FechaHora < '") +
                            LimiteDelRango(eleccion.ultima) + QStringLiteral("' ") + corrida.filtro +
                            QStringLiteral("ORDER BY FechaHora;");
        m_db.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
        if (m_db.UltimoFallo || rs->State() != db::adStateOpen) {
            // Without the history nothing can be corrected: that is the run's failure, not an empty group.
            resultado.fin = Fin::Detenida;
            resultado.motivo = QStringLiteral("no se pudieron leer las filas del historial del rango");
            if (m_db.UltimoFallo) {
                resultado.motivo += QStringLiteral(" (") + Trim(m_db.UltimoFallo->error.Description) + u')';
            }
        } else {
            resultado.filas = int(rs->RecordCount());
        }
        for (int i = 0; resultado.fin == Fin::Completa && !rs->Eof(); rs->MoveNext()) {
            const QString idHistoria = rs->value(QStringLiteral("IdArticulo")).toText();
            ++i;
            progreso(QStringLiteral("   ") % QString::number(i) % u'/' % QString::number(resultado.filas) %
                     QStringLiteral("  ") % Porcentaje(i, resultado.filas) % QStringLiteral(" | ") %
                     QStringLiteral("Por favor, espere\u2026 Verificando articulo ") % Trim(idHistoria));
            const Fila fila = m_detener ? Fila{Desenlace::Detener, {}} : CorregirFilaAislada(corrida, idHistoria);
            m_db.CierraRecordset(corrida.rsPrevio);
            const QString articulo = QStringLiteral("Artículo ") + Trim(idHistoria);
            switch (fila.desenlace) {
            case Desenlace::Modificado:
                ++resultado.modificados;
                break;
            case Desenlace::SinCambio:
                ++resultado.sinCambio;
                break;
            case Desenlace::Omitido:
                ++resultado.omitidos;
                RegistrarError(articulo + QStringLiteral(" omitido: ") + ConPunto(fila.motivo), resultado);
                break;
            case Desenlace::Fallido:
                ++resultado.fallidos;
                RegistrarError(articulo + QStringLiteral(" no se pudo modificar: ") + ConPunto(fila.motivo), resultado);
                break;
            case Desenlace::Detener:
                resultado.fin = Fin::Detenida;
                resultado.motivo = m_detener ? QStringLiteral("se pidió salir del programa") : fila.motivo;
                break;
            }
            if (corrida.registroFallido) {
                resultado.fin = Fin::Detenida;
                resultado.motivo =
                    QStringLiteral("no se pudo escribir en el registro de correcciones ") + resultado.archivo;
            }
        }
    } catch (const db::DbError& error) {
        resultado.fin = Fin::Detenida;
        resultado.motivo = Trim(error.info().Description);
    }
    m_db.CierraRecordset(corrida.rsPrevio);
    m_db.CierraRecordset(rs);
    log.close();
    if (resultado.fin == Fin::Detenida) {
        RegistrarError(QStringLiteral("Corrección detenida: ") + ConPunto(resultado.motivo), resultado);
    }
    return resultado;
}

CorreccionPrecios::Fila CorreccionPrecios::CorregirFila(Corrida& corrida, const QString& idHistoria)
{
    // Each statement is built in one piece (QStringBuilder's %): a row builds three.
    QString sqlPrevio;
    if (corrida.esCosto) {
        sqlPrevio = QStringLiteral("SELECT TOP 1  costo as precio, * ") % QStringLiteral("FROM V_MV_PreciosHis ") %
                    QStringLiteral("WHERE LTRIM(RTRIM(IdArticulo)) = '") % SqlQuoteInner(Trim(idHistoria)) %
                    QStringLiteral("' ") % corrida.filtro % QStringLiteral("  AND FechaHora < '") % corrida.inicio %
                    QStringLiteral("'") % QStringLiteral("ORDER BY FechaHora DESC;");
    } else {
        sqlPrevio = QStringLiteral("SELECT TOP 1  ") % corrida.columna % QStringLiteral(" as precio, * ") %
                    QStringLiteral("FROM V_MV_PreciosHis ") % QStringLiteral("WHERE IdArticulo = '") %
                    SqlQuoteInner(idHistoria) % QStringLiteral("' ") % corrida.filtro %
                    QStringLiteral("  AND FechaHora < '") % corrida.inicio % QStringLiteral("'") %
                    QStringLiteral("ORDER BY FechaHora DESC;");
    }
    data::RecordsetPtr& previo = corrida.rsPrevio;
    m_db.AbrirRecordset(sqlPrevio, previo, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified,
                        true);
    if (m_db.UltimoFallo) {
        return FilaFallida(QStringLiteral("el precio anterior"), Trim(idHistoria));
    }
    if (m_detener) {
        return {Desenlace::Detener, {}};
    }
    if (previo->State() != db::adStateOpen || previo->Eof()) {
        return {Desenlace::Omitido, QStringLiteral("no hay precio anterior al rango en el historial")};
    }
    const QString fechaHistoria = previo->value(QStringLiteral("FechaHora"))
                                      .toDate()
                                      .value_or(platform::DateTime())
                                      .format(QStringLiteral("yyyy-mm-dd hh:nn:ss"));
    const Variant precio = previo->value(QStringLiteral("precio"));
    const std::optional<Currency> anterior = ImporteLeido(precio);
    if (!anterior) {
        return {Desenlace::Omitido,
                (Trim(precio.toText()).isEmpty() ? QStringLiteral("el precio anterior al rango está vacío")
                                                 : QStringLiteral("el precio anterior al rango no es un importe (") +
                                                       Trim(precio.toText()) + u')') +
                    QStringLiteral(" (historial del ") + fechaHistoria + u')'};
    }
    const QString idArticulo = previo->value(QStringLiteral("IdArticulo")).toText();
    const QString idLista = previo->value(QStringLiteral("idLista")).toText();

    Variant leido;
    if (corrida.maestro) {
        leido = m_db.DatosTabla(QStringLiteral("V_MA_ARTICULOS"), idArticulo, corrida.columna,
                                QStringLiteral("IdArticulo"), Variant(8), QString(), true, false);
    } else {
        const QString condicion = QStringLiteral(" idarticulo = '") % SqlQuoteInner(idArticulo) %
                                  QStringLiteral("' and idlista = '") % SqlQuoteInner(idLista) % QStringLiteral("'");
        leido = m_db.DatosTabla(QStringLiteral("V_MA_PRECIOS"), idArticulo, corrida.columna,
                                QStringLiteral("IdArticulo"), Variant(8), condicion, true, false);
    }
    if (m_db.UltimoFallo) {
        return FilaFallida(QStringLiteral("el precio actual"), Trim(idHistoria));
    }
    if (m_detener) {
        return {Desenlace::Detener, {}};
    }
    // A value that cannot be read is never taken as zero.
    const std::optional<Currency> actual = ImporteLeido(leido);
    if (!actual) {
        if (leido.isEmpty()) {
            return {Desenlace::Omitido, corrida.maestro ? QStringLiteral("no está en el maestro de artículos")
                                                        : QStringLiteral("no está en la lista ") + Trim(idLista)};
        }
        return {Desenlace::Omitido,
                Trim(leido.toText()).isEmpty()
                    ? QStringLiteral("su precio actual está vacío")
                    : QStringLiteral("su precio actual no es un importe (") + Trim(leido.toText()) + u')'};
    }
    if (!Modificar(*anterior, *actual, corrida.eleccion.regla)) {
        return {Desenlace::SinCambio, {}};
    }

    const QString nuevo = anterior->rounded(corrida.decimales).toFixed(corrida.decimales);
    QString update;
    if (corrida.maestro) {
        update = QStringLiteral("UPDATE  V_MA_ARTICULOS SET ") % corrida.columna % QStringLiteral(" = ") % nuevo %
                 QStringLiteral(", DESDETRIGGER = 1 WHERE ltrim(IDARTICULO) = '") % SqlQuoteInner(Trim(idArticulo)) %
                 QStringLiteral("'");
    } else {
        update = QStringLiteral("UPDATE  V_MA_PRECIOS SET ") % corrida.columna % QStringLiteral(" = ") %
                 m_db.SQLValue(Variant(anterior->rounded(2)), QStringLiteral("@")).toText() %
                 QStringLiteral(", DESDETRIGGER = 1 WHERE IDARTICULO = '") % SqlQuoteInner(idArticulo) %
                 QStringLiteral("' and idlista = '") % SqlQuoteInner(idLista) % QStringLiteral("'");
    }
    int64_t afectados = 0;
    if (!m_db.EjecutaConsultaSQL(update, afectados)) {
        return {Desenlace::Fallido,
                QStringLiteral("no se pudo actualizar") +
                    (m_db.UltimoFallo ? QStringLiteral(": ") + Trim(m_db.UltimoFallo->error.Description) : QString())};
    }
    if (afectados == 0) {
        return {Desenlace::Fallido, QStringLiteral("la actualización no encontró su fila")};
    }
    // A count of -1 is a server that did not say how many rows: the statement
    // ran without an error, so the change stands as written.
    corrida.registroFallido =
        !corrida.log.writeLine(Trim(idArticulo) % u'\t' % leido.toText() % u'\t' % nuevo % u'\t' % fechaHistoria);
    return {Desenlace::Modificado, {}};
}

CorreccionPrecios::Fila CorreccionPrecios::CorregirFilaAislada(Corrida& corrida, const QString& idHistoria)
{
    try {
        return CorregirFila(corrida, idHistoria);
    } catch (const db::DbError&) {
        throw;
    } catch (const platform::Error& error) {
        return {Desenlace::Fallido, QStringLiteral("falló el cálculo (error ") + QString::number(error.number()) +
                                        QStringLiteral(", ") + Trim(error.description()) + u')'};
    } catch (const std::exception& error) {
        return {Desenlace::Fallido,
                QStringLiteral("falló el cálculo (") + Trim(QString::fromLocal8Bit(error.what())) + u')'};
    }
}

CorreccionPrecios::Fila CorreccionPrecios::FilaFallida(const QString& que, const QString& idArticulo)
{
    const data::DB_Dll::FalloAtendido& fallo = *m_db.UltimoFallo;
    const QString error = Trim(fallo.error.Description);
    if (fallo.respuesta == platform::msgbox::Ignore) {
        return {Desenlace::Fallido, QStringLiteral("no se pudo leer ") + que + QStringLiteral(" (") + error + u')'};
    }
    return {Desenlace::Detener, QStringLiteral("no se pudo leer ") + que + QStringLiteral(" del artículo ") +
                                    idArticulo + QStringLiteral(" (") + error + u')'};
}

void CorreccionPrecios::RegistrarError(const QString& mensaje, Resultado& resultado)
{
    // A log that cannot be written is skipped: the counts still say what happened.
    platform::LogFile::appendLine(resultado.archivoErrores,
                                  common::LineaBkErr(m_reloj(), QStringLiteral(" - EjecutarCorreccion"), mensaje, 0));
}

CorreccionPrecios::Aviso CorreccionPrecios::AvisoFinal(const Resultado& resultado)
{
    QString cuenta = QStringLiteral("Filas del historial: %1. Precios modificados: %2. Sin cambios: %3. Omitidos: "
                                    "%4. No se pudieron modificar: %5.")
                         .arg(resultado.filas)
                         .arg(resultado.modificados)
                         .arg(resultado.sinCambio)
                         .arg(resultado.omitidos)
                         .arg(resultado.fallidos);
    if (resultado.revisadas() < resultado.filas) {
        cuenta += QStringLiteral(" Sin revisar: %1.").arg(resultado.filas - resultado.revisadas());
    }
    if (resultado.omitidos + resultado.fallidos > 0) {
        cuenta += QStringLiteral("\r\nLos artículos omitidos y los que no se pudieron modificar figuran, con el "
                                 "motivo, en ") +
                  resultado.archivoErrores + u'.';
    }
    if (resultado.fin != Fin::Completa) {
        return {QStringLiteral("La corrección se detuvo: ") + ConPunto(resultado.motivo) + QStringLiteral("\r\n") +
                    cuenta,
                16};
    }
    if (resultado.fallidos > 0) {
        return {QStringLiteral("Corrección finalizada con errores.\r\n") + cuenta, 48};
    }
    if (resultado.omitidos > 0) {
        return {QStringLiteral("Corrección finalizada con artículos omitidos.\r\n") + cuenta, 64};
    }
    return {QStringLiteral("Corrección finalizada con éxito.\r\n") + cuenta, 0};
}

} // namespace app
