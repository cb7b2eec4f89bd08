// Keyed look-ups and maxima, record sets and commands, per-user table synonyms.
#include "data/DB_Dll.h"

#include "common/Pasos.h"
#include "common/ValoresCorrida.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QCoreApplication>
#include <QStringBuilder>

namespace data {

using platform::Variant;
using platform::db::DbError;
namespace db = platform::db;
namespace text = platform::text;
namespace msgbox = platform::msgbox;

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The number at the start of a text, as the platform's Val reads it
// (blanks skipped, "." as decimal sign; 0 when there is none).
double valNumerico(const QString& s)
{
    QString digits;
    qsizetype i = 0;
    while (i < s.size() && s.at(i).isSpace()) {
        ++i;
    }
    if (i < s.size() && (s.at(i) == u'-' || s.at(i) == u'+')) {
        digits += s.at(i++);
    }
    bool punto = false;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isDigit()) {
            digits += c;
        } else if (c == u'.' && !punto) {
            punto = true;
            digits += c;
        } else if (!c.isSpace()) {
            break;
        }
    }
    bool ok = false;
    const double valor = digits.toDouble(&ok);
    return ok ? valor : 0.0;
}

// A number's text for a statement: always "." as decimal sign.
QString textoNumerico(const QString& s)
{
    return text::Trim(QString::number(valNumerico(s), 'g', 15));
}

int codigoTipo(const Variant& tipo)
{
    const auto numero = tipo.toDouble();
    return numero ? int(*numero) : -1;
}

// A table's contexts in which its name is replaced by its restricted view.
struct Sinonimo
{
    const char16_t* tabla;
    const char16_t* vista;
    bool conLlave;
};

QString aplicaSinonimo(QString s, const Sinonimo& sinonimo)
{
    // Most statements name none of the tables: nothing to look for then.
    if (!QStringView(s).contains(QStringView(sinonimo.tabla), Qt::CaseInsensitive)) {
        return s;
    }
    const QString tabla = QString::fromUtf16(sinonimo.tabla);
    const QString vista = QString::fromUtf16(sinonimo.vista);
    static const char16_t* const contextos[][2] = {{u" ", u" "}, {u"(", u" "}, {u" ", u"."},
                                                   {u"(", u"."}, {u",", u"."}, {u"{", u"."}};
    const int cuantos = sinonimo.conLlave ? 6 : 5;
    for (int i = 0; i < cuantos; ++i) {
        const QString antes = QString::fromUtf16(contextos[i][0]);
        const QString despues = QString::fromUtf16(contextos[i][1]);
        s = text::Replace(s, antes + tabla + despues, antes + vista + despues, true);
    }
    return s;
}

bool esDeNombre(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// The end of the literal, quoted name or comment that starts at `i`, or -1
// when none starts there.
qsizetype finOpaco(const QString& s, qsizetype i)
{
    const QChar c = s.at(i);
    if (c == u'\'' || c == u'"' || c == u'[') {
        const QChar cierre = c == u'[' ? QChar(u']') : c;
        for (qsizetype j = i + 1; j < s.size(); ++j) {
            if (s.at(j) == cierre) {
                // A doubled closing character stands for itself.
                if (j + 1 < s.size() && s.at(j + 1) == cierre) {
                    ++j;
                    continue;
                }
                return j + 1;
            }
        }
        return s.size();
    }
    if (QStringView(s).mid(i, 2) == u"--") {
        const qsizetype fin = s.indexOf(u'\n', i);
        return fin < 0 ? s.size() : fin;
    }
    if (QStringView(s).mid(i, 2) == u"/*") {
        const qsizetype fin = s.indexOf(QStringLiteral("*/"), i + 2);
        return fin < 0 ? s.size() : fin + 2;
    }
    return -1;
}

// Removes the marker "@Admin_" (any letter case) where it begins the name of
// a table, followed by `tabla` when one is given; never inside a literal, a
// quoted name or a comment, where it is data.
QString quitaMarcador(const QString& s, QStringView tabla = {})
{
    static const QString marcador = QStringLiteral("@Admin_");
    // Most statements hold no marker: they are taken as they are.
    if (!s.contains(u'@')) {
        return s;
    }
    QString resultado;
    resultado.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        if (const qsizetype fin = finOpaco(s, i); fin >= 0) {
            resultado += QStringView(s).mid(i, fin - i);
            i = fin;
            continue;
        }
        const qsizetype nombre = i + marcador.size();
        const bool enMarcador =
            QStringView(s).mid(i, marcador.size()).compare(marcador, Qt::CaseInsensitive) == 0 &&
            (i == 0 || !esDeNombre(s.at(i - 1))) && nombre < s.size() &&
            (s.at(nombre).isLetter() || s.at(nombre) == u'_' || s.at(nombre) == u'[' || s.at(nombre) == u'#');
        const bool deLaTabla =
            tabla.isEmpty() || (QStringView(s).mid(nombre, tabla.size()).compare(tabla, Qt::CaseInsensitive) == 0 &&
                                (nombre + tabla.size() == s.size() || !esDeNombre(s.at(nombre + tabla.size()))));
        if (enMarcador && deLaTabla) {
            i = nombre;
            continue;
        }
        resultado += s.at(i);
        ++i;
    }
    return resultado;
}

bool tieneMarcador(const QString& s)
{
    return quitaMarcador(s) != s;
}

// Programs of the suite that keep the real deposits or families table; this
// program is none of them.
bool programaExento(const QStringList& programas)
{
    const QString nombre = platform::Runtime::instance().programName();
    for (const QString& programa : programas) {
        if (text::EqualsNoCase(nombre, programa)) {
            return true;
        }
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------- look-ups

Variant DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const Variant& Tipo)
{
    std::optional<QString> condicion;
    return BuscaMaximoCon(QueTabla, QueCampo, Tipo, condicion);
}

Variant DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const Variant& Tipo, QString& Condicion)
{
    std::optional<QString> condicion = Condicion;
    const Variant resultado = BuscaMaximoCon(QueTabla, QueCampo, Tipo, condicion);
    Condicion = *condicion;
    return resultado;
}

Variant DB_Dll::BuscaMaximoCon(const QString& QueTabla, const QString& QueCampo, const Variant& Tipo,
                               std::optional<QString>& Condicion)
{
    for (;;) {
        QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
        // A blank condition adds no WHERE (it would leave the statement unfinished).
        if (Condicion && !text::Trim(*Condicion).isEmpty()) {
            sql += QStringLiteral(" WHERE ") + text::Trim(*Condicion);
        }
        auto rs = std::make_shared<db::Recordset>();
        rs->Open(sql, &cnn(), db::adOpenForwardOnly, db::adLockReadOnly);
        if (rs->Bof()) {
            rs->Close();
            return {};
        }
        rs->MoveFirst();
        const Variant mayor = util().ValorCampo(rs->value(QStringLiteral("MAYOR")));
        if (text::EqualsNoCase(QueTabla, u"V_MA_ARTICULOS") && text::Trim(mayor.toText()).startsWith(u'0')) {
            // Article codes that begin with "0" are left out of the maximum.
            const QString excluye = QStringLiteral("substring(ltrim(idarticulo),1,1)<>'0'");
            if (!Condicion || Condicion->isEmpty()) {
                Condicion = QStringLiteral(" ") + excluye;
            } else {
                *Condicion += QStringLiteral(" and ") + excluye;
            }
            rs->Close();
            continue;
        }
        rs->Close();
        if (codigoTipo(Tipo) == 7) {
            return mayor;
        }
        return Variant(valNumerico(mayor.toText()));
    }
}

Variant DB_Dll::BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const Variant& Tipo,
                            const std::optional<QString>& Condicion)
{
    (void)Tipo;
    QString sql = QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla +
                  QStringLiteral("  with(nolock) ");
    if (Condicion && !text::Trim(*Condicion).isEmpty()) {
        sql += QStringLiteral(" WHERE ") + text::Trim(*Condicion);
    }
    auto rs = std::make_shared<db::Recordset>();
    rs->Open(sql, &cnn(), db::adOpenForwardOnly, db::adLockReadOnly);
    Variant resultado;
    if (!rs->Bof()) {
        rs->MoveFirst();
        resultado = Variant(valNumerico(util().ValorCampo(rs->value(QStringLiteral("MENOR"))).toText()));
    }
    rs->Close();
    return resultado;
}

Variant DB_Dll::BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const Variant& Tipo,
                                  const QString& Condicion)
{
    (void)Tipo;
    QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (!text::Trim(Condicion).isEmpty()) {
        sql += QStringLiteral(" WHERE ") + Condicion;
    }
    auto rs = std::make_shared<db::Recordset>();
    rs->Open(sql, &cnn(), db::adOpenForwardOnly, db::adLockReadOnly);
    Variant resultado;
    if (!rs->Bof()) {
        rs->MoveFirst();
        resultado = Variant(valNumerico(util().ValorCampo(rs->value(QStringLiteral("MAYOR"))).toText()));
    }
    rs->Close();
    return resultado;
}

bool DB_Dll::PreguntaConexionPerdida()
{
    DB_Dll& principal = gDbPrincipal();
    const QString mensaje = CRLF + CRLF + CRLF + QStringLiteral("Se perdio la conexion con la base de datos ") +
                            principal.gDBName + CRLF + QStringLiteral(" Servidor ") + principal.gServidor + CRLF +
                            CRLF + QStringLiteral("Elija SI para reintentar conectarse") + CRLF +
                            QStringLiteral("Elija NO para cerrar la aplicacion") + CRLF + CRLF + CRLF;
    return platform::op().MsgBox(mensaje, msgbox::YesNo | msgbox::Critical, QStringLiteral("AVISO AL OPERADOR")) ==
           msgbox::Yes;
}

namespace {

using common::Accion;

bool enlacePerdido(db::Connection& conexion)
{
    return conexion.errors().Count() > 0 && conexion.errors().Item(0).NativeError == db::native::LostLink;
}

// The steps of a keyed look-up.
enum class PasoConsulta { Abrir, Leer, Cerrar, Fin };

// How one silent reconnect of the keyed look-ups' lost-connection rule ended.
enum class Reconexion {
    Reintentar,      // the link is back: run the look-up again
    DemasiadasVeces, // the link came back too often: report the error
    SinEnlace        // the link is still down
};

} // namespace

bool DB_Dll::ExisteEnTablaCon(bool conOracle, const QString& statement, db::Connection& conexion,
                              const RecordsetPtr& LRCS, bool SoloLectura)
{
    bool resultado = false;
    int intentos = 0;
    RecordsetPtr rs = LRCS ? LRCS : std::make_shared<db::Recordset>();

    // The inline lost-connection rule of the keyed look-ups.
    auto manejar = [&](const platform::Error& e) -> Accion {
        if (enlacePerdido(gDbPrincipal().cnn())) {
            auto reconecto = [&] {
                ReintentaConectar();
                if (gOpenFlag) {
                    ++intentos;
                    return intentos < 3 ? Reconexion::Reintentar : Reconexion::DemasiadasVeces;
                }
                return Reconexion::SinEnlace;
            };
            const Reconexion primera = reconecto();
            if (primera == Reconexion::Reintentar) {
                return Accion::Reintentar;
            }
            if (primera == Reconexion::SinEnlace) {
                for (;;) {
                    const Reconexion segunda = reconecto();
                    if (segunda == Reconexion::Reintentar) {
                        return Accion::Reintentar;
                    }
                    if (segunda == Reconexion::DemasiadasVeces) {
                        break; // reconnected three times without success: report the error
                    }
                    if (SinMensajes) {
                        return Accion::Salir;
                    }
                    if (!PreguntaConexionPerdida()) {
                        platform::Runtime::instance().exitProgram(0);
                    }
                }
            }
        }
        if (SinMensajes) {
            return Accion::Salir;
        }
        const int respuesta = platform::op().MsgBox(e.info().Description, msgbox::AbortRetryIgnore | msgbox::Critical,
                                                    QStringLiteral("Aviso al Operador"));
        if (respuesta == msgbox::Retry) {
            return Accion::Reintentar;
        }
        return respuesta == msgbox::Ignore ? Accion::Siguiente : Accion::Salir;
    };

    common::EjecutarPasos(
        PasoConsulta::Abrir, PasoConsulta::Fin,
        [&](PasoConsulta paso) {
            switch (paso) {
            case PasoConsulta::Abrir:
                if (LRCS) {
                    if (LRCS->State() != db::adStateClosed) {
                        LRCS->Close();
                    }
                    const int bloqueo = SoloLectura ? int(db::adLockReadOnly) : LRCS->LockType();
                    LRCS->Open(statement, &conexion, db::adOpenForwardOnly, bloqueo, db::adCmdUnspecified);
                } else {
                    rs->Open(conOracle ? ORACLE_Dicc(statement) : statement, &conexion, db::adOpenForwardOnly,
                             db::adLockReadOnly, db::adCmdUnspecified);
                }
                break;
            case PasoConsulta::Leer:
                resultado = !rs->Bof();
                break;
            case PasoConsulta::Cerrar:
                if (!LRCS) {
                    rs->Close();
                }
                break;
            case PasoConsulta::Fin:
                break;
            }
            return common::Siguiente(paso);
        },
        manejar);
    return resultado;
}

namespace {

QString condicionWhere(const QString& Condicion)
{
    return text::Contains(Condicion, u" WHERE ") ? QStringLiteral(" ") : QStringLiteral(" WHERE ");
}

} // namespace

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                           const RecordsetPtr& LRCS, const Variant& Tipodato, const QString& Condicion,
                           bool SoloLectura)
{
    QString sql;
    const QString desde = QStringLiteral(" with(nolock)  WHERE ");
    if (!Condicion.isEmpty()) {
        sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock) ") +
              condicionWhere(Condicion) + Condicion;
    } else {
        switch (codigoTipo(Tipodato)) {
        case 8:
            sql = QStringLiteral("SELECT TOP 1  * FROM ") + Tabla +
                  QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='") +
                  text::SqlQuoteInner(text::Trim(ValorBuscado)) + QStringLiteral("'");
            break;
        case 7:
            sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + desde + Campo + QStringLiteral(" = ") +
                  text::Trim(ValorBuscado) + QStringLiteral(" ");
            break;
        case 3:
        case 4:
        case 5:
            sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + desde + Campo + QStringLiteral(" = ") +
                  textoNumerico(ValorBuscado);
            break;
        default:
            sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + desde + Campo + QStringLiteral(" = ") + ValorBuscado;
            break;
        }
    }
    return ExisteEnTablaCon(true, SS_TSinonimos(sql), cnn(), LRCS, SoloLectura);
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                             const RecordsetPtr& LRCS, const Variant& Tipodato, const QString& Condicion,
                             bool SoloLectura)
{
    QString sql;
    if (!Condicion.isEmpty()) {
        sql = QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)  ") + condicionWhere(Condicion) +
              Condicion;
    } else {
        sql = QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)   WHERE ") + Campo;
        switch (codigoTipo(Tipodato)) {
        case 8:
            sql += QStringLiteral(" ='") + text::SqlQuoteInner(ValorBuscado) + QStringLiteral("'");
            break;
        case 7:
            sql += QStringLiteral(" = ") + text::Trim(ValorBuscado) + QStringLiteral(" ");
            break;
        case 3:
        case 4:
        case 5:
            sql += QStringLiteral(" = ") + textoNumerico(ValorBuscado);
            break;
        default:
            sql += QStringLiteral(" = ") + ValorBuscado;
            break;
        }
    }
    return ExisteEnTablaCon(false, sql, gDbPrincipal().cnn(), LRCS, SoloLectura);
}

Variant DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                           const QString& Campo, Variant Tipodato, const QString& Condicion, bool UsaTrim,
                           bool IgnoraError)
{
    if (Tipodato.type() == platform::VariantType::Text && Tipodato.toText() == u"'") {
        Tipodato = Variant(8);
    }
    const QString sufijo = text::Trim(Condicion).isEmpty() ? Condicion : QStringLiteral(" AND ") + Condicion;
    const QString inicio = QStringLiteral("SELECT TOP 1 * FROM ") % Tabla % QStringLiteral(" with(nolock)  WHERE ");
    QString sql;
    switch (codigoTipo(Tipodato)) {
    case 8:
        // Built in one piece (QStringBuilder's %): a run looks up a value per row.
        if (UsaTrim) {
            sql = inicio % QStringLiteral("LTRIM(RTRIM(") % Campo % QStringLiteral(")) ='") %
                  text::SqlQuoteInner(text::Trim(ValorBuscado)) % QStringLiteral("' ") % sufijo;
        } else {
            sql = inicio % Campo % QStringLiteral(" ='") % text::SqlQuoteInner(ValorBuscado) % QStringLiteral("' ") %
                  sufijo;
        }
        break;
    case 7:
        sql = inicio + Campo + QStringLiteral(" = #") + text::Trim(ValorBuscado) + QStringLiteral("# ") + sufijo;
        break;
    case 3:
    case 4:
    case 5:
        sql = inicio + Campo + QStringLiteral(" = ") + textoNumerico(ValorBuscado) + sufijo;
        break;
    default:
        sql = inicio + Campo + QStringLiteral(" = ") + ValorBuscado + sufijo;
        break;
    }

    UltimoFallo.reset();
    Variant resultado;
    RecordsetPtr rs = std::make_shared<db::Recordset>();
    int intentos = 0;
    common::EjecutarPasos(
        PasoConsulta::Abrir, PasoConsulta::Fin,
        [&](PasoConsulta paso) {
            switch (paso) {
            case PasoConsulta::Abrir:
                AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
                if (!gOpenFlag) {
                    return PasoConsulta::Fin;
                }
                break;
            case PasoConsulta::Leer:
                // A failed open leaves the record set closed: nothing to read.
                if (rs->State() != db::adStateClosed && !rs->Bof()) {
                    resultado = Variant(util().ValorCampo(rs->value(CampoDevuelto)).toText());
                }
                break;
            case PasoConsulta::Cerrar:
                CierraRecordset(rs);
                break;
            case PasoConsulta::Fin:
                break;
            }
            return common::Siguiente(paso);
        },
        [&](const platform::Error& e) {
            if (IgnoraError) {
                UltimoFallo = FalloAtendido{platform::ErrObject(e), 0};
                return Accion::Salir;
            }
            if (enlacePerdido(gDbPrincipal().cnn())) {
                ReintentaConectar();
                if (gOpenFlag) {
                    ++intentos;
                    if (intentos < 3) {
                        return Accion::Reintentar;
                    }
                } else {
                    for (;;) {
                        ReintentaConectar();
                        if (gOpenFlag) {
                            return Accion::Reintentar;
                        }
                        ++intentos;
                        if (intentos < 3) {
                            continue;
                        }
                        if (SinMensajes) {
                            return Accion::Salir;
                        }
                        if (!PreguntaConexionPerdida()) {
                            platform::Runtime::instance().exitProgram(0);
                        }
                    }
                }
            }
            if (SinMensajes) {
                UltimoFallo = FalloAtendido{platform::ErrObject(e), 0};
                return Accion::Salir;
            }
            const int respuesta = platform::op().MsgBox(
                e.info().Description, msgbox::AbortRetryIgnore | msgbox::Critical, QStringLiteral("Aviso al Operador"));
            if (respuesta != msgbox::Retry) {
                UltimoFallo = FalloAtendido{platform::ErrObject(e), respuesta};
            }
            return common::AccionDeRespuesta(respuesta);
        });
    return resultado;
}

// ------------------------------------------------------ record sets, commands

void DB_Dll::AbrirRecordset(const QString& SentenciaSQL, RecordsetPtr& LRCS, db::Connection* Conexionactiva,
                            int CursorType, int LockType, int Options, bool ConvOracle)
{
    QString sentencia = SentenciaSQL;
    AbrirRecordset(sentencia, LRCS, Conexionactiva, CursorType, LockType, Options, ConvOracle);
}

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, RecordsetPtr& LRCS, db::Connection* Conexionactiva, int CursorType,
                            int LockType, int Options, bool ConvOracle)
{
    UltimoFallo.reset();
    if (!LRCS) {
        LRCS = std::make_shared<db::Recordset>();
    }
    bool conectado = true;
    QString texto;
    // Every record set of the platform has a client-side cursor: there is no
    // cursor location to set before the open.
    enum class Paso { CerrarAnterior, Sinonimos, Conexion, SinConexion, Dialecto, Abrir, Ceder, Fin };
    // The step runs again once after a silent reconnect; failing again it is
    // no lost link (a statement error the provider reports as one) and goes to
    // the error dialog, so it is never retried without end.
    bool reintentoTrasReconectar = false;
    common::EjecutarPasos(
        Paso::CerrarAnterior, Paso::Fin,
        [&](Paso paso) {
            switch (paso) {
            case Paso::CerrarAnterior:
                CierraRecordset(LRCS);
                break;
            case Paso::Sinonimos:
                SentenciaSQL = SS_TSinonimos(SentenciaSQL);
                break;
            case Paso::Conexion:
                conectado = AsegurarConexion();
                break;
            case Paso::SinConexion:
                if (!conectado) {
                    throw DbError(int32_t(0x80040001), QStringLiteral("No hay conexion con la base de datos."),
                                  QString());
                }
                break;
            case Paso::Dialecto:
                texto = (ConvOracle && EsOracle(cnn().ConnectionString())) ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
                break;
            case Paso::Abrir:
                LRCS->Open(texto, Conexionactiva ? Conexionactiva : &cnn(), CursorType, LockType, Options);
                break;
            case Paso::Ceder:
                QCoreApplication::processEvents();
                break;
            case Paso::Fin:
                break;
            }
            return common::Siguiente(paso);
        },
        [&](const platform::Error& e) {
            const DecisionConexion decision =
                reintentoTrasReconectar
                    ? DecisionConexion::ManejoComun
                    : EvaluaErrorConexion(e.number(), IntentosApertura, QStringLiteral("AbrirRecordset"));
            reintentoTrasReconectar = decision == DecisionConexion::Reintentar;
            switch (decision) {
            case DecisionConexion::Reintentar:
                return Accion::Reintentar;
            case DecisionConexion::TerminarPrograma:
                platform::Runtime::instance().exitProgram(0);
            case DecisionConexion::ManejoComun:
                break;
            }
            if (SinMensajes) {
                UltimoFallo = FalloAtendido{platform::ErrObject(e), 0};
                return Accion::Salir;
            }
            const int respuesta =
                util().MostrarError(platform::ErrObject(e), std::nullopt, QStringLiteral("AbrirRecordset"));
            if (respuesta != msgbox::Retry) {
                UltimoFallo = FalloAtendido{platform::ErrObject(e), respuesta};
            }
            return common::AccionDeRespuesta(respuesta);
        });
}

void DB_Dll::CierraRecordset(RecordsetPtr& LrcsTemp)
{
    if (!LrcsTemp) {
        return;
    }
    for (;;) {
        try {
            if (LrcsTemp->State() != db::adStateClosed) {
                LrcsTemp->Close();
            }
            return;
        } catch (const DbError& e) {
            if (e.number() == db::adErr::OperationNotAllowed) {
                try {
                    LrcsTemp->CancelUpdate();
                } catch (const DbError&) {
                }
                try {
                    if (LrcsTemp->State() != db::adStateClosed) {
                        LrcsTemp->Close();
                    }
                } catch (const DbError&) {
                }
                return;
            }
            if (TratamientoErrores(platform::ErrObject(e), std::nullopt, QStringLiteral("CierraRecordset")) !=
                msgbox::Retry) {
                return;
            }
        }
    }
}

QString DB_Dll::PreparaComando(const QString& sql) const
{
    // Most statements create nothing: the rest is asked only of those that do.
    if (!(text::Contains(sql, u"CREATE") && text::Contains(sql, u"DROP"))) {
        return quitaMarcador(sql);
    }
    const bool marcador = tieneMarcador(sql);
    if (text::Contains(sql, u"DELETE")) {
        return marcador ? quitaMarcador(sql) : sql;
    }
    if (marcador) {
        return quitaMarcador(sql);
    }
    return SS_TSinonimos(sql);
}

void DB_Dll::EjecutaEnConexion(const QString& SentenciaSQL, int64_t* RecordsAffected, RecordsetPtr* LRCS)
{
    int64_t afectados = 0;
    RecordsetPtr rs = cnn().Execute(SentenciaSQL, &afectados, db::adCmdUnspecified);
    if (RecordsAffected) {
        *RecordsAffected = afectados;
    }
    if (LRCS) {
        *LRCS = rs;
    }
}

bool DB_Dll::RegistraTruncado(db::Errors& errores, const QString& rutina, const QString& SentenciaSQL)
{
    if ((errores.Count() == 1 || errores.Count() == 2) && !text::Contains(SentenciaSQL, u"TRANS") &&
        errores.Item(0).NativeError == db::native::TextTooLong) {
        const platform::ErrObject truncado(errores.Item(0));
        errores.Clear();
        RegistraFallo(rutina, truncado, SentenciaSQL);
        return true;
    }
    return false;
}

bool DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL)
{
    return EjecutaConsulta(SentenciaSQL, nullptr, nullptr);
}

bool DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, int64_t& RecordsAffected)
{
    return EjecutaConsulta(SentenciaSQL, &RecordsAffected, nullptr);
}

bool DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, int64_t& RecordsAffected, RecordsetPtr& LRCS)
{
    return EjecutaConsulta(SentenciaSQL, &RecordsAffected, &LRCS);
}

bool DB_Dll::EjecutaConsulta(QString& SentenciaSQL, int64_t* RecordsAffected, RecordsetPtr* LRCS)
{
    UltimoFallo.reset();
    const QString rutina = QStringLiteral("EjecutaConsultaSQL");
    SentenciaSQL = PreparaComando(SentenciaSQL);
    int intentos = 0;
    for (;;) {
        try {
            if (EsOracle(cnn().ConnectionString())) {
                int64_t sinCuenta = 0;
                EjecutaScriptOracle(SentenciaSQL, RecordsAffected ? *RecordsAffected : sinCuenta);
            } else {
                EjecutaEnConexion(SentenciaSQL, RecordsAffected, LRCS);
            }
            return !RegistraTruncado(gDbPrincipal().cnn().errors(), rutina, SentenciaSQL);
        } catch (const DbError& e) {
            db::Errors& errores = gDbPrincipal().cnn().errors();
            if (errores.Count() == 0 || text::Contains(SentenciaSQL, u"TRANS")) {
                RegistraFallo(rutina, platform::ErrObject(e), SentenciaSQL);
                return false;
            }
            if (errores.Item(0).NativeError == db::native::LostLink) {
                ReintentaConectar();
                if (gOpenFlag) {
                    ++intentos;
                    if (intentos < 3) {
                        continue;
                    }
                    RegistraFallo(rutina, platform::ErrObject(e), SentenciaSQL);
                    return false;
                }
                bool reconectado = false;
                while (!reconectado) {
                    ReintentaConectar();
                    if (gOpenFlag) {
                        reconectado = true;
                        break;
                    }
                    ++intentos;
                    if (intentos < 3) {
                        continue;
                    }
                    if (SinMensajes) {
                        RegistraFallo(rutina, platform::ErrObject(e), SentenciaSQL);
                        return false;
                    }
                    // Each Yes makes one more attempt; the question comes back while it fails.
                    while (!reconectado) {
                        if (!PreguntaConexionPerdida()) {
                            platform::Runtime::instance().exitProgram(0);
                        }
                        reconectado = ReintentaConectar();
                    }
                }
                continue;
            }
            const platform::ErrObject fallo(e);
            if (errores.Item(0).NativeError == db::native::TextTooLong) {
                errores.Clear();
            }
            RegistraFallo(rutina, fallo, SentenciaSQL);
            return false;
        }
    }
}

bool DB_Dll::EjecutaConsultaRSQL(QString& SentenciaSQL)
{
    return EjecutaConsultaR(SentenciaSQL, nullptr, nullptr);
}

bool DB_Dll::EjecutaConsultaRSQL(QString& SentenciaSQL, int64_t& RecordsAffected)
{
    return EjecutaConsultaR(SentenciaSQL, &RecordsAffected, nullptr);
}

bool DB_Dll::EjecutaConsultaRSQL(QString& SentenciaSQL, int64_t& RecordsAffected, RecordsetPtr& LRCS)
{
    return EjecutaConsultaR(SentenciaSQL, &RecordsAffected, &LRCS);
}

bool DB_Dll::EjecutaConsultaR(QString& SentenciaSQL, int64_t* RecordsAffected, RecordsetPtr* LRCS)
{
    UltimoFallo.reset();
    const QString rutina = QStringLiteral("EjecutaConsultaRSQL");
    SentenciaSQL = PreparaComando(SentenciaSQL);
    try {
        if (EsOracle(cnn().ConnectionString())) {
            int64_t sinCuenta = 0;
            EjecutaScriptOracle(SentenciaSQL, RecordsAffected ? *RecordsAffected : sinCuenta);
        } else {
            if (!AsegurarConexion()) {
                if (!SinMensajes) {
                    platform::op().MsgBox(
                        QStringLiteral("No hay conexion con el servidor. Intenta de nuevo en unos segundos."),
                        msgbox::Exclamation);
                }
                RegistraFallo(
                    rutina,
                    platform::ErrObject(int32_t(0x80040001), QStringLiteral("No hay conexion con el servidor.")),
                    SentenciaSQL);
                return false;
            }
            EjecutaEnConexion(SentenciaSQL, RecordsAffected, LRCS);
        }
        return !RegistraTruncado(gDbConsultaR().cnn().errors(), rutina, SentenciaSQL);
    } catch (const DbError& e) {
        RegistraFallo(rutina, platform::ErrObject(e), SentenciaSQL);
        db::Errors& errores = gDbConsultaR().cnn().errors();
        if (errores.Count() == 0 || text::Contains(SentenciaSQL, u"TRANS")) {
            return false;
        }
        if (errores.Item(0).NativeError == db::native::TextTooLong) {
            errores.Clear();
            return false;
        }
        const int32_t n = e.number();
        if (n != db::adErr::Generic && n != db::adErr::Constraint && n != db::adErr::NoSuchObject &&
            n != db::adErr::Syntax && !SinMensajes) {
            platform::op().MsgBox(e.info().Description, msgbox::Critical, QStringLiteral("Aviso al operador!!!"));
        }
        return false;
    }
}

// ------------------------------------------------------------------ synonyms

QString DB_Dll::SS_TSinonimos(const QString& sql) const
{
    if (gEsAdmin) {
        return quitaMarcador(sql);
    }
    if (text::Contains(sql, u"MV_ASIENTOS") && !common::valoresCorrida().ConfidencialidadActiva) {
        return quitaMarcador(sql);
    }
    static const QStringList exentosDeposito;
    static const QStringList exentosFamilias;
    QString s = aplicaSinonimo(sql, {u"MA_CUENTAS", u"SS_MA_CUENTAS", true});
    if (tieneMarcador(s)) {
        s = quitaMarcador(s, u"MA_CUENTAS");
        s = text::Replace(s, u"SS_MA_CUENTAS", u"MA_CUENTAS", true);
    }
    if (!programaExento(exentosDeposito)) {
        s = aplicaSinonimo(s, {u"V_TA_DEPOSITO", u"SS_V_TA_DEPOSITO", false});
    }
    s = aplicaSinonimo(s, {u"MV_ASIENTOS", u"SS_MV_ASIENTOS", false});
    if (!programaExento(exentosFamilias)) {
        s = aplicaSinonimo(s, {u"V_TA_FAMILIAS", u"SS_V_TA_FAMILIAS", false});
    }
    s = aplicaSinonimo(s, {u"V_TA_CAJAS", u"SS_V_TA_CAJAS", false});
    s = aplicaSinonimo(s, {u"AC_CUENTASDIARIO", u"SS_AC_CUENTASDIARIO", false});
    s = aplicaSinonimo(s, {u"AC_CUENTASDIARIO_CCOSTO", u"SS_AC_CUENTAS_DIARIO_CCOSTO", false});
    return quitaMarcador(s);
}

} // namespace data
