#include "controls/lookup/CalendarioBusqueda.h"

#include "platform/core/Text.h"

#include <QRegularExpression>
#include <QStringList>

namespace controls::busqueda {

namespace {

const QStringList& meses()
{
    static const QStringList nombres = {
        QStringLiteral("Enero"),   QStringLiteral("Febrero"),   QStringLiteral("Marzo"),
        QStringLiteral("Abril"),   QStringLiteral("Mayo"),      QStringLiteral("Junio"),
        QStringLiteral("Julio"),   QStringLiteral("Agosto"),    QStringLiteral("Septiembre"),
        QStringLiteral("Octubre"), QStringLiteral("Noviembre"), QStringLiteral("Diciembre"),
    };
    return nombres;
}

} // namespace

int DiasDelMes(int mes, int ano)
{
    if (mes == 12)
        return 31;
    const QDate primero(ano, mes, 1);
    return primero.isValid() ? int(primero.daysTo(QDate(ano, mes + 1, 1))) : 0;
}

std::optional<std::array<CeldaDia, 42>> Almanaque(int mes, int ano)
{
    const QDate primero(ano, mes, 1);
    if (!primero.isValid())
        return std::nullopt;
    const int vacias = primero.dayOfWeek() % 7; // Sunday first
    const int dias = DiasDelMes(mes, ano);
    std::array<CeldaDia, 42> celdas;
    int dia = 0;
    for (int i = 0; i < 42; ++i) {
        CeldaDia& c = celdas[std::size_t(i)];
        if (i < vacias || i > vacias + dias - 1) {
            c = CeldaDia{QStringLiteral("."), false, kNegro};
            continue;
        }
        ++dia;
        const int semana = QDate(ano, mes, dia).dayOfWeek();
        c = CeldaDia{QString::number(dia), true, semana == 6 || semana == 7 ? kRojo : kAzul};
    }
    return celdas;
}

QString NombreDeMes(int numero)
{
    return numero >= 1 && numero <= 12 ? meses()[numero - 1] : QString();
}

int NumeroDeMes(const QString& nombre)
{
    for (int i = 0; i < 12; ++i)
        if (platform::text::EqualsNoCase(platform::text::Trim(nombre), meses()[i]))
            return i + 1;
    return 0;
}

std::optional<QDate> LeerFecha(const QString& texto)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})$)"));
    const auto m = forma.match(platform::text::Trim(texto));
    if (!m.hasMatch())
        return std::nullopt;
    int ano = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        ano += ano < 50 ? 2000 : 1900;
    const QDate d(ano, m.captured(2).toInt(), m.captured(1).toInt());
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

TeclaFecha MascaraFecha(const QString& texto, int selStart, int maxLength, int keyAscii)
{
    // Positions count from 1, as the mask is described; writing the text
    // into the box puts its caret at the start.
    QString w = texto.left(10).leftJustified(10, u' ');
    int p = selStart == 0 ? 1 : selStart;
    w[2] = u'/';
    w[5] = u'/';
    const auto poner = [&](QChar c) {
        if (p >= 1 && p <= w.size())
            w[p - 1] = c;
    };
    if (keyAscii >= '0' && keyAscii <= '9') {
        if (p == 3)
            p = 4;
        else if (p == 6)
            p = 7;
        poner(QChar(keyAscii));
        p = p < maxLength ? p + 1 : 0;
    } else if (keyAscii == 8) {
        if (p == 3)
            p = 2;
        else if (p == 6)
            p = 5;
        poner(u' ');
        p = p > 1 ? p - 1 : 0;
    } else if (keyAscii == 13) {
        if (!LeerFecha(texto))
            w.clear();
    }
    for (qsizetype i = 0; i < w.size(); ++i)
        if (i != 2 && i != 5 && (w[i] < u'0' || w[i] > u'9'))
            w[i] = u' ';
    return TeclaFecha{w, p};
}

} // namespace controls::busqueda
