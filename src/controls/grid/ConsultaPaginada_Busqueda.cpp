// The conditions of a search on the server: the terms of a text and of a
// date, the date fields of the probe, and the conditions on every column or
// on one field that accumulate in FiltroBusqueda.
#include "controls/grid/ConsultaPaginada.h"

#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QHash>
#include <QRegularExpression>

namespace controls {

namespace text = platform::text;

namespace {

// The moment typed, and the length of what was typed: a day, a minute or a second.
std::optional<ConsultaPaginada::FechaBuscada> momento(int anio, int mes, int dia, const QString& hora,
                                                      const QString& minuto, const QString& segundo)
{
    const QDate fecha(anio, mes, dia);
    const QTime tiempo(hora.isEmpty() ? 0 : hora.toInt(), minuto.isEmpty() ? 0 : minuto.toInt(),
                       segundo.isEmpty() ? 0 : segundo.toInt());
    // The range of SQL Server's datetime, whose upper bound must still be a date.
    if (!fecha.isValid() || !tiempo.isValid() || anio < 1753 || fecha >= QDate(9999, 12, 31)) {
        return std::nullopt;
    }
    const platform::DateTime desde(fecha, tiempo);
    platform::DateTime hasta;
    if (hora.isEmpty()) {
        hasta = desde.addDays(1);
    } else {
        hasta = desde.addMSecs(segundo.isEmpty() ? 60000 : 1000);
    }
    return ConsultaPaginada::FechaBuscada{desde, hasta, !hora.isEmpty()};
}

// The year as typed: two digits up to 49 in this century, the others in the
// last; none, the current year of the program's clock.
int anioEscrito(const QString& anio)
{
    if (anio.isEmpty()) {
        return platform::now().date().year();
    }
    const int n = anio.toInt();
    return anio.size() == 2 ? n + (n <= 49 ? 2000 : 1900) : n;
}

// A month's number from its Spanish or English name or their three-letter
// forms, letter case ignored; 0 for any other word.
int numeroDeMes(const QString& palabra)
{
    static const QHash<QString, int> kMeses = [] {
        const char* const nombres[12][2] = {
            {"enero", "january"},   {"febrero", "february"},   {"marzo", "march"},
            {"abril", "april"},     {"mayo", "may"},           {"junio", "june"},
            {"julio", "july"},      {"agosto", "august"},      {"septiembre", "september"},
            {"octubre", "october"}, {"noviembre", "november"}, {"diciembre", "december"}};
        QHash<QString, int> meses;
        for (int m = 0; m < 12; ++m) {
            for (const char* nombre : nombres[m]) {
                const QString n = QString::fromLatin1(nombre);
                meses.insert(n, m + 1);
                meses.insert(n.left(3), m + 1);
            }
        }
        for (const char* septiembre : {"sept", "setiembre", "set"}) {
            meses.insert(QString::fromLatin1(septiembre), 9);
        }
        return meses;
    }();
    return kMeses.value(palabra.toLower(), 0);
}

QString literalFecha(const platform::DateTime& d, bool conHora)
{
    return QStringLiteral("'") + d.format(conHora ? QStringLiteral("yyyymmdd hh:nn:ss") : QStringLiteral("yyyymmdd")) +
           QStringLiteral("'");
}

} // namespace

std::optional<ConsultaPaginada::FechaBuscada> ConsultaPaginada::LeerFecha(const QString& texto)
{
    static const QString kHora = QStringLiteral("(?:[ T]+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$");
    static const QString kAnio = QStringLiteral("(\\d{4}|\\d{2})");
    // Between a day, a month's name and a year: blanks, "-", "/", ".", "," or "de".
    static const QString kEntre = QStringLiteral("(?:\\s*[-/.,]\\s*|\\s+de\\s+|\\s+)");
    static const QRegularExpression kDiaPrimero(QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})(?:\\2") + kAnio +
                                                QStringLiteral(")?") + kHora);
    static const QRegularExpression kIso(QStringLiteral("^(\\d{4})([/.-])(\\d{1,2})\\2(\\d{1,2})") + kHora);
    static const QRegularExpression kDiaYMes(QStringLiteral("^(\\d{1,2})") + kEntre +
                                                 QStringLiteral("(\\p{L}+)\\.?(?:") + kEntre + kAnio +
                                                 QStringLiteral(")?") + kHora,
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression kMesYDia(QStringLiteral("^(\\p{L}+)\\.?") + kEntre +
                                                 QStringLiteral("(\\d{1,2})(?:") + kEntre + kAnio +
                                                 QStringLiteral(")?") + kHora,
                                             QRegularExpression::CaseInsensitiveOption);
    const QString t = text::Trim(texto);
    // A day and month without a year are written with "/" or "-": 1.5 stays a number.
    if (const QRegularExpressionMatch m = kDiaPrimero.match(t);
        m.hasMatch() && !(m.captured(4).isEmpty() && m.captured(2) == u".")) {
        return momento(anioEscrito(m.captured(4)), m.captured(3).toInt(), m.captured(1).toInt(), m.captured(5),
                       m.captured(6), m.captured(7));
    }
    if (const QRegularExpressionMatch m = kIso.match(t); m.hasMatch()) {
        return momento(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt(), m.captured(5),
                       m.captured(6), m.captured(7));
    }
    if (const QRegularExpressionMatch m = kDiaYMes.match(t); m.hasMatch()) {
        if (const int mes = numeroDeMes(m.captured(2)); mes != 0) {
            return momento(anioEscrito(m.captured(3)), mes, m.captured(1).toInt(), m.captured(4), m.captured(5),
                           m.captured(6));
        }
    }
    if (const QRegularExpressionMatch m = kMesYDia.match(t); m.hasMatch()) {
        if (const int mes = numeroDeMes(m.captured(1)); mes != 0) {
            return momento(anioEscrito(m.captured(3)), mes, m.captured(2).toInt(), m.captured(4), m.captured(5),
                           m.captured(6));
        }
    }
    return std::nullopt;
}

bool ConsultaPaginada::EsCampoFecha(const QString& nombre) const
{
    // Positions count the probe's fields, as ColumnasFecha does, whatever the
    // grid's columns or the field list leave out.
    for (std::size_t i = 0; i < m_camposProbados.size(); ++i) {
        if (text::EqualsNoCase(m_camposProbados[i].Nombre, nombre)) {
            return ColumnasFecha.contains(QStringLiteral("|") + QString::number(i) + QStringLiteral("|"));
        }
    }
    return false;
}

QString ConsultaPaginada::ExpresionBusqueda(const QString& nombre) const
{
    return EquiCampo(QStringLiteral("[") + nombre + QStringLiteral("]"), 0);
}

QString ConsultaPaginada::TerminoTexto(const QString& nombre, const QString& texto) const
{
    return QStringLiteral(" CONVERT(NVARCHAR,") + ExpresionBusqueda(nombre) + QStringLiteral(") LIKE '%") +
           text::SqlQuoteInner(texto) + QStringLiteral("%'");
}

QString ConsultaPaginada::TerminoFecha(const QString& nombre, const FechaBuscada& fecha) const
{
    const QString e = ExpresionBusqueda(nombre);
    return QStringLiteral(" (") + e + QStringLiteral(" >= ") + literalFecha(fecha.desde, fecha.conHora) +
           QStringLiteral(" AND ") + e + QStringLiteral(" < ") + literalFecha(fecha.hasta, fecha.conHora) +
           QStringLiteral(")");
}

QString ConsultaPaginada::CondicionTodos(const QStringList& titulos, const QString& texto) const
{
    const std::optional<FechaBuscada> fecha = LeerFecha(texto);
    QString condicion = QStringLiteral(" (");
    bool conTermino = false;
    for (const QString& titulo : titulos) {
        // A column without heading names no field.
        if (text::Trim(titulo).isEmpty()) {
            continue;
        }
        QString termino;
        if (!EsCampoFecha(titulo)) {
            termino = TerminoTexto(titulo, texto);
        } else if (fecha) {
            termino = TerminoFecha(titulo, *fecha);
        }
        if (!termino.isEmpty()) {
            condicion += (conTermino ? QStringLiteral(" or ") : QString()) + termino;
            conTermino = true;
        }
    }
    // No term gives no condition, not an empty pair of brackets.
    return conTermino ? condicion + QStringLiteral(") ") : QString();
}

std::optional<QString> ConsultaPaginada::CondicionCampo(const QString& campo, const QString& texto) const
{
    if (!EsCampoFecha(campo)) {
        return TerminoTexto(campo, texto);
    }
    const std::optional<FechaBuscada> fecha = LeerFecha(texto);
    if (!fecha) {
        return std::nullopt;
    }
    return TerminoFecha(campo, *fecha);
}

void ConsultaPaginada::AgregarBusqueda(const QString& condicion)
{
    if (condicion.isEmpty()) {
        return;
    }
    if (!QString(FiltroBusqueda).remove(u' ').isEmpty()) {
        FiltroBusqueda += QStringLiteral(" and ");
    }
    FiltroBusqueda += condicion;
}

} // namespace controls
