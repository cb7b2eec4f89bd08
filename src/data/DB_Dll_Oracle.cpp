// Schema probes and the Oracle dialect.
#include "data/DB_Dll.h"

#include "platform/core/Operator.h"
#include "platform/core/Text.h"

#include <QDate>
#include <QRegularExpression>

#include <functional>

namespace data {

using platform::Variant;
using platform::db::DbError;
namespace db = platform::db;
namespace text = platform::text;

namespace {

// The platform's date test for a text between apostrophes: a day-first date
// (d/m/yyyy, d-m-yyyy, d.m.yyyy) or an ISO one (yyyy-mm-dd), optionally with
// a time hh:mm[:ss[.fff]].
std::optional<QDate> leeFecha(const QString& t)
{
    static const QRegularExpression diaPrimero(
        QStringLiteral(R"(^\s*(\d{1,2})([/.-])(\d{1,2})\2(\d{4})(\s+\d{1,2}:\d{2}(:\d{2}(\.\d{1,3})?)?)?\s*$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})([ T]\d{1,2}:\d{2}(:\d{2}(\.\d{1,3})?)?)?\s*$)"));
    QRegularExpressionMatch m = diaPrimero.match(t);
    QDate fecha;
    if (m.hasMatch()) {
        fecha = QDate(m.captured(4).toInt(), m.captured(3).toInt(), m.captured(1).toInt());
    } else if ((m = iso.match(t)).hasMatch()) {
        fecha = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    if (!fecha.isValid()) {
        return std::nullopt;
    }
    return fecha;
}

// Whether a schema record set that `abrir` opens has a row whose `columna`
// is `nombre` (both trimmed, without regard to case). A failure goes to the
// main data base's error handler: Retry reads again, any other answer is
// "not there".
bool hayEnEsquema(const std::function<RecordsetPtr()>& abrir, const QString& columna, const QString& nombre)
{
    for (;;) {
        try {
            RecordsetPtr rs = abrir();
            if (rs->Bof()) {
                return false;
            }
            while (!rs->Eof()) {
                if (text::EqualsNoCase(text::Trim(rs->value(columna).toText()), text::Trim(nombre))) {
                    return true;
                }
                rs->MoveNext();
            }
            return false;
        } catch (const DbError& e) {
            if (gDbPrincipal().TratamientoErrores(platform::ErrObject(e), std::nullopt,
                                                  QStringLiteral("VerificaCampos")) != platform::msgbox::Retry) {
                return false;
            }
        }
    }
}

[[noreturn]] void argumentoInvalido()
{
    throw DbError(5, QStringLiteral("Invalid procedure call or argument"), QStringLiteral("DB_Dll"));
}

} // namespace

// ------------------------------------------------------------- schema probes

bool DB_Dll::ExisteTablaDB(const QString& Tabla)
{
    return hayEnEsquema([&] { return cnn().OpenSchema(db::adSchemaTables); }, QStringLiteral("TABLE_NAME"), Tabla);
}

bool DB_Dll::ExisteCampoDB(const QString& Tabla, const QString& Campo)
{
    if (!text::Contains(gDbPrincipal().gProveedor, u"ORACLE")) {
        return true;
    }
    return hayEnEsquema(
        [&] {
            return cnn().OpenSchema(db::adSchemaColumns, {Variant(gDBName), Variant(), Variant(Tabla), Variant()});
        },
        QStringLiteral("COLUMN_NAME"), Campo);
}

void DB_Dll::AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                      const std::optional<QString>& ValorDefault)
{
    const QString nulos = PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null ");
    const QString porDefecto = ValorDefault ? QStringLiteral(" CONSTRAINT DF_") + text::Trim(Tabla) +
                                                  QStringLiteral("_") + text::Trim(Campo) +
                                                  QStringLiteral(" DEFAULT (") + *ValorDefault + QStringLiteral(")")
                                            : QString();
    QString sql = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo + QStringLiteral(" ") +
                  Tipo + nulos + porDefecto;
    EjecutaConsultaSQL(sql);
}

bool DB_Dll::VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo,
                        bool PermiteNulos, const std::optional<QString>& ValorDefault)
{
    if (ExisteTablaDB(Tabla) && !ExisteCampoDB(Tabla, Campo) && Agregar) {
        AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
    }
    return true;
}

// ------------------------------------------------------------ Oracle dialect

QString DB_Dll::ORACLE_Dicc(const QString& valor)
{
    QString resultado = valor;
    if (!EsOracle(gConnString)) {
        return valor;
    }
    if (util().CantidadPalabras(valor) <= 1) {
        if (text::EqualsNoCase(valor, u"LEN")) {
            resultado = QStringLiteral("LENGTH");
        }
        return resultado;
    }

    // TOP n becomes a ROWNUM condition placed before GROUP BY or ORDER BY.
    if (text::Contains(valor, u"top ")) {
        const qsizetype p = text::InStr(valor, u"top");
        const QString cabeza = text::Left(valor, p - 1);
        const QString resto = text::Trim(text::Mid(valor, p + 3));
        const qsizetype blanco = text::InStr(resto, u" ");
        if (blanco == 0) {
            argumentoInvalido();
        }
        const QString n = text::Left(resto, blanco - 1);
        QString cuerpo = text::Mid(resto, blanco + 1);
        QString grupo;
        QString orden;
        if (const qsizetype g = text::InStr(valor, u" GROUP BY "); g > 0) {
            grupo = text::Mid(valor, g);
        } else if (const qsizetype o = text::InStr(valor, u"ORDER BY "); o > 0) {
            orden = text::Mid(valor, o);
        }
        const QString condicion = text::Contains(valor, u" WHERE ") ? QStringLiteral(" AND ROWNUM <= ") + n
                                                                    : QStringLiteral(" WHERE ROWNUM <= ") + n;
        if (!grupo.isEmpty()) {
            cuerpo = text::Replace(cuerpo, text::Trim(grupo), u" ", true);
        }
        if (!orden.isEmpty()) {
            cuerpo = text::Replace(cuerpo, text::Trim(orden), u" ", true);
        }
        resultado = cabeza + u' ' + cuerpo + u' ' + condicion + u' ' + grupo + u' ' + orden;
    }

    for (const char16_t* len : {u" LEN(", u" LEN (", u" LEN  (", u" LEN   (", u" LEN    ("}) {
        resultado = text::Replace(resultado, len, u" LENGTH(", true);
    }

    resultado.replace(u'[', u'"');
    resultado.replace(u']', u'"');

    // Quoted date literals, found pair by pair in the text as it stands now.
    {
        const QString examinado = resultado;
        qsizetype desde = 1;
        for (;;) {
            const qsizetype abre = text::InStr(examinado, u"'", desde);
            if (abre == 0) {
                break;
            }
            const qsizetype cierra = text::InStr(examinado, u"'", abre + 1);
            if (cierra == 0) {
                argumentoInvalido();
            }
            const QString interior = text::Mid(examinado, abre + 1, cierra - abre - 1);
            if (const auto fecha = leeFecha(interior)) {
                resultado = text::Replace(resultado, u'\'' + interior + u'\'',
                                          QStringLiteral("TO_DATE('") + fecha->toString(QStringLiteral("dd/MM/yyyy")) +
                                              QStringLiteral("','DD/MM/YYYY')"),
                                          true);
            }
            desde = cierra + 1;
        }
        while (text::Contains(resultado, u"TO_DATE(TO_DATE(")) {
            resultado = text::Replace(resultado, u"TO_DATE(TO_DATE(", u"TO_DATE(", true);
            resultado = text::Replace(resultado, u"'DD/MM/YYYY'),'DD/MM/YYYY')", u"'DD/MM/YYYY')", true);
        }
    }

    resultado = text::Replace(resultado, u"Charindex", u"InStr", true);
    resultado = text::Replace(resultado, u"CONVERT(NVARCHAR,", u"TO_CHAR(", true);
    resultado = text::Replace(resultado, u"CONVERT(INT,", u"TO_NUMBER(", true);

    for (const char16_t* vacio : {u"= ''", u"=''"}) {
        if (const qsizetype w = text::InStr(resultado, u"WHERE "); w > 0) {
            resultado =
                text::Left(resultado, w - 1) + text::Replace(text::Mid(resultado, w), vacio, u" IS NULL ", true);
        }
    }

    // Style 103 of a TO_CHAR becomes its Oracle format.
    {
        const QString formato = QStringLiteral("'DD/MM/YYYY'");
        qsizetype k = text::InStr(resultado, u"103");
        while (k > 0) {
            const qsizetype parentesis = resultado.lastIndexOf(u'(', k - 2) + 1; // 1-based, 0 when none
            qsizetype siguiente = k + 3;
            if (parentesis >= 8 && text::EqualsNoCase(text::Mid(resultado, parentesis - 7, 8), u"TO_CHAR(")) {
                resultado = text::Left(resultado, k - 1) + formato + text::Mid(resultado, k + 3);
                siguiente = k + formato.size();
            }
            k = text::InStr(resultado, u"103", siguiente);
        }
    }

    resultado = text::Replace(resultado, u"SUBSTRING(", u"SUBSTR(", true);
    resultado = text::Replace(resultado, u"ISNULL(", u"NVL(", true);
    return resultado;
}

QString DB_Dll::DescartaSentenciaOracle(QString& Sentencia) const
{
    if (text::Contains(Sentencia, u"SET NOCOUNT") || text::Contains(Sentencia, u"IF NOT EXIST")) {
        Sentencia.clear();
    }
    return Sentencia;
}

namespace {

// INSERT, UPDATE and DELETE: the statements whose rows are counted.
bool esEscritura(const QString& sentencia)
{
    return sentencia.startsWith(u"INSERT", Qt::CaseInsensitive) ||
           sentencia.startsWith(u"UPDATE", Qt::CaseInsensitive) || sentencia.startsWith(u"DELETE", Qt::CaseInsensitive);
}

} // namespace

void DB_Dll::EjecutaScriptOracle(QString& SentenciaSQL, int64_t& RecordsAffected)
{
    static const std::pair<const char16_t*, const char16_t*> normalizacion[] = {
        {u"SET NOCOUNT ON", u""},
        {u"SET NOCOUNT OFF", u""},
        {u" GO ", u" "},
        {u"\r\nGO ", u" "},
        {u"\r\nGO\r\n", u" "},
        {u"\r", u" "},
        {u"\r\n", u" "},
        {u"BEGIN TRANSACTION", u"SET TRANSACTION"},
        {u"BEGIN TRANS", u"SET TRANSACTION"},
        {u"COMMIT TRANSACTION", u"COMMIT"},
        {u"COMMIT TRANS", u"COMMIT"},
        {u"ROLLBACK TRANSACTION", u"ROLLBACK"},
        {u"ROLLBACK TRANS", u"ROLLBACK"},
    };
    for (const auto& [buscado, reemplazo] : normalizacion) {
        SentenciaSQL = text::Replace(SentenciaSQL, buscado, reemplazo, true);
    }

    static const char16_t* const claves[] = {u"INSERT ",  u"DELETE ",      u"UPDATE ",         u"CREATE ",
                                             u"DROP ",    u"ALTER ",       u"SET TRANSACTION", u"COMMIT",
                                             u"ROLLBACK", u"IF NOT EXIST", u"IF EXIST",        u"GRANT "};
    auto primeraClave = [&](const QString& texto, qsizetype desde) {
        qsizetype menor = 0;
        for (const char16_t* clave : claves) {
            const qsizetype p = text::InStr(texto, clave, desde);
            if (p > 0 && (menor == 0 || p < menor)) {
                menor = p;
            }
        }
        return menor;
    };

    bool cuentaDesconocida = false;
    for (;;) {
        const qsizetype inicio = primeraClave(SentenciaSQL, 1);
        if (inicio == 0) {
            break;
        }
        const qsizetype siguiente = primeraClave(SentenciaSQL, inicio + 1);
        const qsizetype fin = siguiente > 0 ? siguiente : SentenciaSQL.size() + 1;
        const QString sentencia = text::Trim(text::Mid(SentenciaSQL, inicio, fin - inicio));
        SentenciaSQL = text::Mid(SentenciaSQL, fin);

        if (sentencia.startsWith(u"SET TRANSACTION", Qt::CaseInsensitive)) {
            cnn().BeginTrans();
        } else if (sentencia.startsWith(u"COMMIT", Qt::CaseInsensitive)) {
            cnn().CommitTrans();
        } else if (sentencia.startsWith(u"ROLLBACK", Qt::CaseInsensitive)) {
            cnn().RollbackTrans();
        } else {
            QString oracle = ORACLE_Dicc(sentencia);
            DescartaSentenciaOracle(oracle);
            if (!oracle.isEmpty()) {
                int64_t afectados = 0;
                cnn().Execute(oracle, &afectados, db::adCmdUnspecified);
                if (afectados > 0 && !cuentaDesconocida) {
                    RecordsAffected += afectados;
                }
                // A write whose rows the server does not count leaves the
                // script's total unknown (-1), never a smaller number.
                if (afectados < 0 && esEscritura(sentencia)) {
                    cuentaDesconocida = true;
                    RecordsAffected = -1;
                }
            }
        }
    }

    db::Errors& errores = cnn().errors();
    if (errores.Count() == 1 && errores.Item(0).Number == 265929) {
        errores.Clear();
    }
}

} // namespace data
