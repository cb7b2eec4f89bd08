// The stored column layout: its key in TA_CONFIG_FORM, the statements that
// read, delete and write its row, the chosen select list as stored, and the
// check of a stored value before it becomes the page statement's select list.
#include "controls/grid/ConsultaPaginada.h"

#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

#include <QRegularExpression>

#include <algorithm>

namespace controls {

namespace text = platform::text;

namespace {

// The key values at their full length: cut, or filled with blanks (which the
// data base's comparisons of texts ignore).
QString cortar(const QString& valor, int largo)
{
    return platform::Dll_Utilidades::shared().AjustarLargo(valor, largo).leftJustified(largo, u' ');
}

QString entreApostrofos(const QString& valor)
{
    return text::SqlQuoted(valor);
}

// The argument text with the value of every "@Password=" entry left out, so
// that no password stands in a table that every user of the data base reads.
QString sinPassword(const QString& argumentos)
{
    QStringList entradas = argumentos.split(u';');
    for (QString& entrada : entradas) {
        const qsizetype igual = entrada.indexOf(u'=');
        if (igual >= 0 && text::EqualsNoCase(text::Trim(entrada.left(igual)), u"@Password")) {
            entrada.truncate(igual + 1);
        }
    }
    return entradas.join(u';');
}

// The entries of a select list: the texts between the commas that stand
// outside brackets and parentheses.
QStringList entradasDeLista(const QString& lista)
{
    QStringList entradas;
    QString actual;
    bool enCorchetes = false;
    int parentesis = 0;
    for (const QChar c : lista) {
        if (enCorchetes) {
            enCorchetes = c != u']';
        } else if (c == u'[') {
            enCorchetes = true;
        } else if (c == u'(') {
            ++parentesis;
        } else if (c == u')') {
            --parentesis;
        } else if (c == u',' && parentesis == 0) {
            entradas << actual;
            actual.clear();
            continue;
        }
        actual += c;
    }
    entradas << actual;
    return entradas;
}

// The name an entry of a select list gives as it stands: "[name]", or a name
// of letters, digits and the signs "_", "@", "#" and "$"; nullopt for
// anything else.
std::optional<QString> nombreDeEntrada(const QString& entrada)
{
    if (entrada.size() > 2 && entrada.startsWith(u'[') && entrada.endsWith(u']')) {
        const QString nombre = entrada.mid(1, entrada.size() - 2);
        return nombre.contains(u']') ? std::nullopt : std::optional<QString>(nombre);
    }
    static const QRegularExpression kNombre(QStringLiteral(R"(^[\w@#$]+\z)"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return kNombre.match(entrada).hasMatch() ? std::optional<QString>(entrada) : std::nullopt;
}

ConsultaPaginada::ClaveDiseno clave(const QString& formulario, const QString& usuario, const QString& nombre)
{
    return {cortar(formulario, 100), cortar(usuario, 50),
            cortar(nombre.isEmpty() ? QStringLiteral("@BKDBGRID") : nombre, 50)};
}

QString condicionClave(const ConsultaPaginada::ClaveDiseno& c)
{
    return QStringLiteral(" WHERE FORMULARIO = ") + entreApostrofos(c.Formulario) + QStringLiteral(" AND USUARIO= ") +
           entreApostrofos(c.Usuario) + QStringLiteral(" and Nombre = ") + entreApostrofos(c.Nombre);
}

} // namespace

ConsultaPaginada::ClaveDiseno ConsultaPaginada::ClaveDelDiseno(const QString& programa, const QString& argumentos,
                                                               const QString& usuario, const QString& nombre)
{
    return clave(programa + sinPassword(argumentos), usuario, nombre);
}

ConsultaPaginada::ClaveDiseno ConsultaPaginada::ClaveAnteriorDelDiseno(const QString& programa,
                                                                       const QString& argumentos,
                                                                       const QString& usuario, const QString& nombre)
{
    return clave(programa + argumentos, usuario, nombre);
}

QString ConsultaPaginada::SentenciaLeerDiseno(const ClaveDiseno& c)
{
    return QStringLiteral("SELECT * FROM TA_CONFIG_FORM") + condicionClave(c);
}

QString ConsultaPaginada::SentenciaBorrarDiseno(const ClaveDiseno& c)
{
    return QStringLiteral("DELETE TA_CONFIG_FORM") + condicionClave(c);
}

QString ConsultaPaginada::SentenciaGrabarDiseno(const ClaveDiseno& c, const QString& valor)
{
    const QString objeto = entreApostrofos(cortar(QStringLiteral("@BkDbGrid"), 50));
    return QStringLiteral("INSERT INTO TA_CONFIG_FORM (FORMULARIO,USUARIO,TIPOOBJETO,NOMBRE,PROPIEDAD,DATAFIELD,VALOR) "
                          "VALUES (") +
           entreApostrofos(c.Formulario) + u',' + entreApostrofos(c.Usuario) + u',' + objeto + u',' +
           entreApostrofos(c.Nombre) + u',' + entreApostrofos(cortar(QStringLiteral("CamposSel"), 50)) + u',' + objeto +
           u',' + entreApostrofos(valor) + u')';
}

QString ConsultaPaginada::CamposGuardados() const
{
    QString guardados;
    guardados.reserve(CamposSel.size());
    int corchetes = 0;
    for (const QChar c : CamposSel) {
        if (c == u'[') {
            ++corchetes;
        } else if (c == u']' && corchetes > 0) {
            --corchetes;
        }
        if (c == u',') {
            guardados += u'|';
        } else if (c != u' ' || corchetes > 0) {
            guardados += c;
        }
    }
    return guardados;
}

std::optional<QString> ConsultaPaginada::LeerCamposGuardados(const QString& valor)
{
    const QString lista = QString(valor).replace(u'|', u',');
    if (!text::Trim(lista).isEmpty()) {
        const auto esColumna = [this](const QString& nombre) {
            return std::any_of(m_camposProbados.begin(), m_camposProbados.end(), [&nombre](const CampoProbado& campo) {
                return text::EqualsNoCase(campo.Nombre, nombre);
            });
        };
        for (const QString& cruda : entradasDeLista(lista)) {
            const QString entrada = text::Trim(cruda);
            if (text::EqualsNoCase(entrada, ClavePrimaria())) {
                continue;
            }
            if (const std::optional<QString> nombre = nombreDeEntrada(entrada); nombre && esColumna(*nombre)) {
                continue;
            }
            static const QRegularExpression kFecha(
                QStringLiteral(
                    R"(^CONVERT\s*\(\s*NVARCHAR\s*,\s*\[([^\]]+)\]\s*,\s*-?\d{1,9}\s*\)\s*AS\s*\[([^\]]+)\]\z)"),
                QRegularExpression::CaseInsensitiveOption);
            if (const QRegularExpressionMatch m = kFecha.match(entrada);
                m.hasMatch() && text::EqualsNoCase(m.captured(1), m.captured(2)) && esColumna(m.captured(1))) {
                continue;
            }
            return entrada;
        }
    }
    CamposSel = lista;
    return std::nullopt;
}

} // namespace controls
