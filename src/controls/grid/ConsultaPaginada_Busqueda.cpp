// The conditions of a search on the server: the terms of a text and of a
// date, the date fields of the probe, and the conditions on every column or
// on one field that accumulate in FiltroBusqueda.
#include "controls/grid/ConsultaPaginada.h"

#include "platform/core/Text.h"

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

QString literalFecha(const platform::DateTime& d, bool conHora)
{
    return QStringLiteral("'") + d.format(conHora ? QStringLiteral("yyyymmdd hh:nn:ss") : QStringLiteral("yyyymmdd")) +
           QStringLiteral("'");
}

} // namespace

std::optional<ConsultaPaginada::FechaBuscada> ConsultaPaginada::LeerFecha(const QString& texto)
{
    static const QString kHora = QStringLiteral("(?:[ T]+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$");
    static const QRegularExpression kDiaPrimero(QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4}|\\d{2})") +
                                                kHora);
    static const QRegularExpression kIso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})") + kHora);
    const QString t = text::Trim(texto);
    if (const QRegularExpressionMatch m = kDiaPrimero.match(t); m.hasMatch()) {
        int anio = m.captured(4).toInt();
        if (m.captured(4).size() == 2) {
            anio += anio <= 49 ? 2000 : 1900;
        }
        return momento(anio, m.captured(3).toInt(), m.captured(1).toInt(), m.captured(5), m.captured(6), m.captured(7));
    }
    if (const QRegularExpressionMatch m = kIso.match(t); m.hasMatch()) {
        return momento(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4),
                       m.captured(5), m.captured(6));
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
