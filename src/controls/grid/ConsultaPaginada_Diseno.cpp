// The stored column layout: its key in TA_CONFIG_FORM, the statements that
// read, delete and write its row, and the chosen select list as stored.
#include "controls/grid/ConsultaPaginada.h"

#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

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

void ConsultaPaginada::LeerCamposGuardados(const QString& valor)
{
    CamposSel = QString(valor).replace(u'|', u',');
}

} // namespace controls
