#include "app/TextosSQL.h"

#include "data/DB_Dll.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"

namespace app {

namespace text = platform::text;

namespace {

QString Nombres(const std::vector<CampoValor>& campos)
{
    QStringList nombres;
    for (const CampoValor& c : campos) {
        nombres << c.Campo;
    }
    return nombres.join(u',');
}

QString Literales(const std::vector<CampoValor>& campos)
{
    QStringList literales;
    for (const CampoValor& c : campos) {
        literales << c.Valor;
    }
    return literales.join(u',');
}

QString ColumnasYValores(const std::vector<CampoValor>& campos)
{
    return u'(' + Nombres(campos) + u')' + QStringLiteral(" VALUES (") + Literales(campos) + u')';
}

} // namespace

void SQLValorCampo(const QString& Campo, const QString& Valor, const QString& Delimitador, bool NuevaLista)
{
    std::vector<CampoValor>& campos = contexto().CamposPendientes;
    if (NuevaLista) {
        campos.clear();
    }
    CampoValor par;
    par.Campo = Campo;
    if (text::EqualsNoCase(Valor, u"NULL")) {
        par.Valor = QStringLiteral("Null");
    } else if (Delimitador == u"'") {
        par.Valor = data::gDbPrincipal().SQLValue(platform::Variant(Valor), Delimitador).toText();
    } else {
        QString sinApostrofos = Valor;
        sinApostrofos.remove(u'\'');
        par.Valor = data::gDbPrincipal().SQLValue(platform::Variant(sinApostrofos), Delimitador).toText();
    }
    campos.push_back(par);
}

void ArmaSQLGrabacion(std::vector<CampoValor>& Campos, QStringList& Sentencias, const QString& Tabla, bool EsUpdate,
                      QString& Condicion, bool ConservarCampos)
{
    QString sentencia;
    if (EsUpdate) {
        QStringList asignaciones;
        for (const CampoValor& c : Campos) {
            asignaciones << c.Campo + QStringLiteral(" = ") + c.Valor;
        }
        if (!text::Contains(Condicion, u"WHERE")) {
            Condicion = QStringLiteral(" WHERE ") + Condicion;
        }
        sentencia =
            QStringLiteral("UPDATE ") + Tabla + QStringLiteral(" SET ") + asignaciones.join(u',') + u' ' + Condicion;
    } else {
        sentencia = QStringLiteral("INSERT INTO ") + Tabla + u' ' + ColumnasYValores(Campos);
    }
    Sentencias << sentencia;
    if (!ConservarCampos) {
        Campos.assign(1, CampoValor{});
    }
}

void ArmaSQLValores(QString& Texto, std::vector<CampoValor>& Campos, bool LimpiarCampos)
{
    Texto += ColumnasYValores(Campos);
    if (LimpiarCampos) {
        Campos.clear();
    }
}

QString AdaptaSQLMotor(const QString& SentenciaSQL)
{
    QString resultado = SentenciaSQL;
    if (!text::Contains(data::gDbPrincipal().gConnString, u"oracle")) {
        return resultado;
    }
    if (platform::Dll_Utilidades::shared().CantidadPalabras(SentenciaSQL) <= 1) {
        if (SentenciaSQL.toUpper() == u"LEN") {
            resultado = QStringLiteral("LENGTH");
        }
        return resultado;
    }
    if (!text::Contains(SentenciaSQL, u"top ")) {
        return resultado;
    }
    const qsizetype p = text::InStr(SentenciaSQL, u"top");
    const QString cabeza = text::Left(SentenciaSQL, p - 1);
    const QString resto = text::Mid(SentenciaSQL, p + 3);
    const qsizetype asterisco = text::InStr(resto, u"*");
    if (asterisco == 0) {
        throw platform::db::DbError(5, QStringLiteral("Invalid procedure call or argument"), QStringLiteral("app"));
    }
    const QString n = text::Left(resto, asterisco - 1);
    const QString cola = text::Mid(resto, asterisco + 1);
    return cabeza + QStringLiteral(" * ") + cola + QStringLiteral(" WHERE ROWNUM <= ") + n;
}

} // namespace app
