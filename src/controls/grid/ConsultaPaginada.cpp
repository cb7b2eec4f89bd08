// The texts the grid builds from the host's statement: the alias table, the
// probe and the field lists, the effective WHERE part, the paging part, the
// select list, the all-rows statement, the page list and the ordering clause.
#include "controls/grid/ConsultaPaginada.h"

#include "platform/core/Text.h"
#include "platform/db/Types.h"

#include <QRegularExpression>

#include <optional>

namespace controls {

namespace text = platform::text;

namespace {

qsizetype buscar(const QString& s, QStringView n, qsizetype desde = 0)
{
    return s.indexOf(n, desde, Qt::CaseInsensitive);
}

QString reemplazar(const QString& s, QStringView n, QStringView con)
{
    return text::Replace(s, n, con, true);
}

bool letraDeNombre(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// Every SELECT keyword (a whole word) asks for one row: "SELECT TOP 1 ...",
// and "SELECT DISTINCT TOP 1 ..." where DISTINCT follows, since TOP must come
// after DISTINCT.
QString unaFila(const QString& s)
{
    static const QString kSelect = QStringLiteral("SELECT");
    static const QString kDistinct = QStringLiteral("DISTINCT");
    QString out;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype p = buscar(s, kSelect, i);
        if (p < 0) {
            break;
        }
        const qsizetype fin = p + kSelect.size();
        const bool palabra = (p == 0 || !letraDeNombre(s.at(p - 1))) && (fin >= s.size() || !letraDeNombre(s.at(fin)));
        if (!palabra) {
            out += s.mid(i, fin - i);
            i = fin;
            continue;
        }
        qsizetype q = fin;
        while (q < s.size() && s.at(q).isSpace()) {
            ++q;
        }
        const qsizetype finDistinct = q + kDistinct.size();
        if (q > fin && s.mid(q, kDistinct.size()).compare(kDistinct, Qt::CaseInsensitive) == 0 &&
            (finDistinct >= s.size() || !letraDeNombre(s.at(finDistinct)))) {
            out += s.mid(i, finDistinct - i) + QStringLiteral(" TOP 1");
            i = finDistinct;
        } else {
            out += s.mid(i, fin - i) + QStringLiteral(" TOP 1");
            i = fin;
        }
    }
    out += s.mid(i);
    return out;
}

// Occurrences of `n` in `s`, letter case ignored.
qsizetype veces(const QString& s, QStringView n)
{
    qsizetype cuenta = 0;
    for (qsizetype p = buscar(s, n); p >= 0 && !n.isEmpty(); p = buscar(s, n, p + n.size())) {
        ++cuenta;
    }
    return cuenta;
}

// The leading word of a text (letters, digits and the name signs).
QString primeraPalabra(const QString& t)
{
    qsizetype n = 0;
    while (n < t.size() && letraDeNombre(t.at(n))) {
        ++n;
    }
    return t.left(n);
}

void agregar(QString& lista, const QString& primero, const QString& siguiente)
{
    lista += lista.isEmpty() ? primero : siguiente;
}

bool esLargo(int tipo)
{
    return tipo == platform::db::adLongVarWChar || tipo == platform::db::adLongVarBinary;
}

QString corchetes(const QString& nombre)
{
    return QStringLiteral("[") + nombre + QStringLiteral("]");
}

// Where an item of a list begins, and whether it is a select item (after
// SELECT or a comma) or a table of FROM or JOIN.
struct Elemento
{
    qsizetype inicio = 0;
    bool enSeleccion = true;
};

// The item of a list that ends at `fin` of `w`, read backwards outside
// brackets, quotes and parentheses up to the comma or the clause word before
// it; nullopt when `fin` lies inside parentheses that open in the item
// itself, as the " as " of CAST(x AS int) does.
std::optional<Elemento> elementoHasta(const QString& w, qsizetype fin)
{
    static const QStringList kClausulas{QStringLiteral("FROM"),   QStringLiteral("JOIN"),  QStringLiteral("APPLY"),
                                        QStringLiteral("WHERE"),  QStringLiteral("ON"),    QStringLiteral("BY"),
                                        QStringLiteral("HAVING"), QStringLiteral("UNION"), QStringLiteral("INTO")};
    int profundidad = 0;
    qsizetype i = fin - 1;
    while (i >= 0) {
        const QChar c = w.at(i);
        if (c == u']' || c == u'\'') {
            const qsizetype abre = w.lastIndexOf(c == u']' ? u'[' : u'\'', i - 1);
            i = abre < 0 ? -1 : abre - 1;
            continue;
        }
        if (c == u')') {
            ++profundidad;
        } else if (c == u'(') {
            if (profundidad == 0) {
                return std::nullopt;
            }
            --profundidad;
        } else if (profundidad == 0 && c == u',') {
            return Elemento{i + 1, true};
        } else if (profundidad == 0 && letraDeNombre(c)) {
            qsizetype j = i;
            while (j > 0 && letraDeNombre(w.at(j - 1))) {
                --j;
            }
            const QStringView palabra = QStringView(w).mid(j, i - j + 1);
            if (text::EqualsNoCase(palabra, u"SELECT")) {
                return Elemento{i + 1, true};
            }
            for (const QString& clausula : kClausulas) {
                if (text::EqualsNoCase(palabra, clausula)) {
                    return Elemento{i + 1, false};
                }
            }
            i = j;
        }
        --i;
    }
    return Elemento{0, true};
}

// The words that may open a select list before its first item.
qsizetype largoDelEncabezado(const QString& item)
{
    static const QRegularExpression kEncabezado(
        QStringLiteral(
            "^\\s*(?:(?:DISTINCT|ALL)\\s+)?(?:TOP\\s*(?:\\([^)]*\\)|\\d+)(?:\\s+PERCENT)?(?:\\s+WITH\\s+TIES)?"
            "\\s+)?"),
        QRegularExpression::CaseInsensitiveOption);
    return kEncabezado.match(item).capturedLength();
}

// A name, bracketed or not, possibly qualified: no expression.
bool esNombre(QStringView t)
{
    bool entreCorchetes = false;
    for (const QChar c : t) {
        if (c == u'[' || c == u']') {
            entreCorchetes = c == u'[';
        } else if (!entreCorchetes && !letraDeNombre(c) && c != u'.') {
            return false;
        }
    }
    return true;
}

} // namespace

// ------------------------------------------------------------------ the statement

bool ConsultaPaginada::Equias()
{
    TablaAlias.assign(1, Alias{});
    QString w = sql;
    const QString kAs = QStringLiteral(" as ");
    // Past the " as " that stand inside an item's parentheses; every cut
    // starts the search again from the beginning.
    qsizetype desde = 0;
    for (qsizetype pos = buscar(w, kAs); pos >= 0; pos = buscar(w, kAs, desde)) {
        const QString despues = w.mid(pos + kAs.size());
        const QString t = text::Trim(despues);
        if (t.isEmpty()) {
            return false;
        }
        QString aliasCrudo;
        if (t.startsWith(u'[')) {
            aliasCrudo = t.left(t.indexOf(u']') + 1);
        } else {
            const qsizetype coma = t.indexOf(u',');
            const qsizetype blanco = t.indexOf(u' ');
            if (coma >= 0 && (blanco < 0 || coma < blanco)) {
                aliasCrudo = t.left(coma);
            } else {
                aliasCrudo = blanco >= 0 ? t.left(blanco) : t;
            }
        }
        QString alias = QString(aliasCrudo).remove(u',');

        // A select item that is more than a name stands whole behind its
        // alias (Costo * 2, CAST(x AS int)); a name, and a table of FROM or
        // JOIN, is its last word.
        const std::optional<Elemento> elemento = elementoHasta(w, pos);
        if (!elemento) {
            desde = pos + 1;
            continue;
        }
        QString item = text::Trim(QStringView(w).mid(elemento->inicio, pos - elemento->inicio));
        if (elemento->enSeleccion) {
            item = text::Trim(item.mid(largoDelEncabezado(item)));
        }
        QString exprCruda;
        QString expresion;
        if (elemento->enSeleccion && !item.isEmpty() && !esNombre(item)) {
            exprCruda = item;
            expresion = item;
        } else {
            const QString e = text::Trim(w.left(pos));
            if (e.endsWith(u']')) {
                exprCruda = e.mid(std::max<qsizetype>(0, e.lastIndexOf(u'[')));
            } else {
                const qsizetype coma = e.lastIndexOf(u',');
                const qsizetype blanco = e.lastIndexOf(u' ');
                exprCruda = (coma >= 0 && coma > blanco) ? e.mid(coma + 1) : e.mid(blanco + 1);
            }
            expresion = QString(exprCruda).remove(u',').remove(u'(').remove(u')');
            if (!expresion.contains(u'[')) {
                expresion = corchetes(text::Trim(expresion));
            }
        }

        if (!alias.contains(u'[')) {
            alias = corchetes(text::Trim(alias));
        }
        TablaAlias.back() = Alias{expresion, alias};
        TablaAlias.push_back(Alias{});

        // Cut the clause where it was found, whatever blanks stand around
        // " as ", so that each pass consumes one alias; other occurrences of
        // the same text go too.
        const qsizetype finExpr = text::RTrim(w.left(pos)).size();
        const qsizetype inicioExpr = finExpr - exprCruda.size();
        const qsizetype inicioAlias = pos + kAs.size() + (despues.size() - text::LTrim(despues).size());
        const qsizetype finAlias = inicioAlias + aliasCrudo.size();
        w = w.left(inicioExpr) + QStringLiteral(" ") + w.mid(finAlias);
        w = reemplazar(w, QString(exprCruda + kAs + aliasCrudo), u" ");
        desde = 0;
    }
    return true;
}

QString ConsultaPaginada::EquiCampo(const QString& Campo, int Equivalencia) const
{
    const auto sinBlancos = [](const QString& t) { return text::Trim(QString(t).remove(u' ')); };
    for (const Alias& par : TablaAlias) {
        if (Equivalencia != 0) {
            if (text::EqualsNoCase(par.Expresion, Campo)) {
                return par.Alias;
            }
        } else if (text::EqualsNoCase(sinBlancos(par.Alias), sinBlancos(Campo))) {
            return par.Expresion;
        }
    }
    return Campo;
}

QString ConsultaPaginada::ArmarListaCampos(QString& lista) const
{
    QString t = reemplazar(lista, u", ", u"|") + QStringLiteral("|");
    while (!text::Trim(t).isEmpty()) {
        const qsizetype barra = t.indexOf(u'|');
        const QString item = t.left(barra);
        const QString x = EquiCampo(item, 0);
        if (!text::EqualsNoCase(x, item) && !item.isEmpty()) {
            lista = reemplazar(lista, item, QString(x + QStringLiteral(" as ") + item));
        }
        t = t.mid(barra + 1);
    }
    return lista;
}

void ConsultaPaginada::PrepararCarga()
{
    sql += QStringLiteral(" ");

    const qsizetype from = buscar(sql, u" FROM ");
    QString resto = from >= 0 ? sql.mid(from + 6) : QString();
    const qsizetype where = buscar(resto, u" where");
    if (text::Contains(sql, u" where") && where >= 0) {
        resto = resto.left(where);
    } else if (const qsizetype blanco = resto.indexOf(u' '); blanco >= 0) {
        resto = resto.left(blanco);
    }
    TablaConsulta = text::Trim(resto);

    FijarTotal(0);
    PaginaActual = 1;
    UltimaPagina = 0;
    FiltroBusqueda.clear();
    WhereEfectivo.clear();
    ColumnasFecha.clear();
    ColumnaOrden = 0;
}

bool ConsultaPaginada::SinPaginacion() const
{
    return text::Contains(sql, u" join ") || text::Contains(sql, u" group by ");
}

bool ConsultaPaginada::SeEjecutaTalCual() const
{
    return text::Contains(sql, u"exec ") || SinPaginacion();
}

QString ConsultaPaginada::ClavePrimaria() const
{
    return PrimaryKey.isEmpty() ? QStringLiteral("ID") : PrimaryKey;
}

// ------------------------------------------------------------------ field lists

bool ConsultaPaginada::ConSeleccion() const
{
    return !text::Trim(CamposSel).isEmpty();
}

QString ConsultaPaginada::SentenciaPrueba(bool conSeleccion) const
{
    // A statement run by name is probed as it stands.
    if (text::Contains(sql, u"exec ")) {
        return sql;
    }
    const bool conTop = text::Contains(sql, u"SELECT TOP");
    const qsizetype orden = buscar(sql, u"Order by");
    if (orden >= 0 && (conSeleccion || !conTop)) {
        return unaFila(sql.left(orden));
    }
    // Without an order the probe still reads one row: the fields come out the same.
    return conTop ? sql : unaFila(sql);
}

QStringList ConsultaPaginada::CargarCamposTodos(const std::vector<CampoProbado>& campos, const QString& prueba)
{
    m_camposProbados = campos;
    QStringList filtro;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const int tipo = campos[i].Tipo;
        const QString& N = campos[i].Nombre;
        if (esLargo(tipo)) {
            continue;
        }
        filtro << N;
        const QString corchete = corchetes(N);
        if (tipo == platform::db::adDBTimeStamp) {
            ColumnasFecha += QStringLiteral("|") + QString::number(i) + QStringLiteral("|");
            agregar(CamposTodos, corchete, QStringLiteral(",") + corchete);
            const QString resto = N + QStringLiteral("],") + QString::number(FormatDate) + QStringLiteral(") AS [") +
                                  N + QStringLiteral("]");
            agregar(Campos, QStringLiteral(" CONVERT(NVARCHAR,[") + resto,
                    QStringLiteral(", CONVERT(NVARCHAR,[") + resto);
        } else if (tipo == platform::db::adNumeric || tipo == platform::db::adCurrency) {
            agregar(CamposTodos, corchete, QStringLiteral(",") + corchete);
            if (text::Contains(prueba, QString(QStringLiteral(" AS ") + N)) ||
                text::Contains(prueba, QString(QStringLiteral(" AS ") + corchete))) {
                agregar(Campos, corchete, QStringLiteral(", ") + corchete);
            } else {
                const QString resto = N + QStringLiteral("]) AS [") + N + QStringLiteral("]");
                agregar(Campos, QStringLiteral(" CONVERT(decimal(14â2),[") + resto,
                        QStringLiteral(", CONVERT(Decimal(14â2),[") + resto);
            }
        } else {
            agregar(CamposTodos, corchete, QStringLiteral(", ") + corchete);
            agregar(Campos, corchete, QStringLiteral(", ") + corchete);
        }
    }
    const QString clave = ClavePrimaria();
    if (!text::Contains(CamposTodos, u"[ID],") && !text::Contains(CamposTodos, u", [ID]")) {
        agregar(CamposTodos, clave, QStringLiteral(", ") + clave);
        if (!text::Contains(Campos, corchetes(PrimaryKey))) {
            agregar(Campos, clave, QStringLiteral(", ") + clave);
        }
    }
    return filtro;
}

QStringList ConsultaPaginada::CargarCamposSeleccion(const std::vector<CampoProbado>& campos)
{
    m_camposProbados = campos;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const CampoProbado& campo = campos[i];
        if (esLargo(campo.Tipo)) {
            continue;
        }
        const QString& N = campo.Nombre;
        const QString corchete = corchetes(N);
        if (campo.Tipo == platform::db::adDBTimeStamp) {
            // The search knows the date fields also while a choice is in force.
            ColumnasFecha += QStringLiteral("|") + QString::number(i) + QStringLiteral("|");
            agregar(CamposTodos, corchete, QStringLiteral(",") + corchete);
            const QString resto = N + QStringLiteral("],") + QString::number(FormatDate) + QStringLiteral(") as [") +
                                  N + QStringLiteral("]");
            agregar(Campos, QStringLiteral("convert(nvarchar,[") + resto,
                    QStringLiteral(",convert(nvarchar,[") + resto);
        } else {
            agregar(CamposTodos, corchete, QStringLiteral(", ") + corchete);
            agregar(Campos, corchete, QStringLiteral(", ") + corchete);
        }
    }
    const QString clave = ClavePrimaria();
    if (!text::Contains(CamposTodos, u"[ID],")) {
        agregar(Campos, clave, QStringLiteral(", ") + clave);
        agregar(CamposTodos, clave, QStringLiteral(", ") + clave);
    }
    // The search offers the chosen columns but the key column that closes the
    // choice. A date column follows the one before it with "," alone.
    QStringList filtro;
    for (const QString& nombre : CamposSelNombres.split(u',', Qt::SkipEmptyParts)) {
        filtro << text::Trim(QString(nombre).remove(u'[').remove(u']'));
    }
    if (!filtro.isEmpty()) {
        filtro.removeLast();
    }
    return filtro;
}

// ------------------------------------------------------------------ counting and the page list

QString ConsultaPaginada::SentenciaCompleta() const
{
    if (FiltroBusqueda.isEmpty()) {
        return sql;
    }
    QString base;
    const qsizetype orden = buscar(sql, u"Order by");
    if (orden >= 0) {
        base = sql.left(orden);
    } else {
        QString lista = CamposSel.isEmpty() ? Campos : CamposSel;
        // The separators and the comma of the decimal type belong to the field list only.
        const QString campos = ArmarListaCampos(lista).replace(u'|', u',').replace(u'â', u',');
        const qsizetype from = buscar(sql, u" FROM");
        base = QStringLiteral("SELECT ") + campos + (from >= 0 ? sql.mid(from) : QString());
    }
    return base + (text::Contains(sql, u"Where") ? QStringLiteral(" and ") : QStringLiteral(" where ")) +
           FiltroBusqueda;
}

QString ConsultaPaginada::SentenciaConteo(const QString& completa) const
{
    if (dialecto != Dialecto::Embebido) {
        return QString();
    }
    // One SELECT stands in a derived table as it is; a statement run by name, a
    // batch (statements after ";" or at the start of a line) or a line comment,
    // which would end the derived table, is opened and counted.
    const QString t = text::Trim(completa);
    if (primeraPalabra(t).compare(u"SELECT", Qt::CaseInsensitive) != 0 || text::Contains(t, u"exec ") ||
        t.contains(u';') || t.contains(u"--")) {
        return QString();
    }
    static const QStringList kSentencias = {
        QStringLiteral("SELECT"),   QStringLiteral("INSERT"),   QStringLiteral("UPDATE"),  QStringLiteral("DELETE"),
        QStringLiteral("CREATE"),   QStringLiteral("DROP"),     QStringLiteral("ALTER"),   QStringLiteral("BEGIN"),
        QStringLiteral("COMMIT"),   QStringLiteral("ROLLBACK"), QStringLiteral("IF"),      QStringLiteral("SET"),
        QStringLiteral("USE"),      QStringLiteral("EXEC"),     QStringLiteral("EXECUTE"), QStringLiteral("DECLARE"),
        QStringLiteral("TRUNCATE"), QStringLiteral("PRINT"),    QStringLiteral("GO")};
    const QStringList lineas = QString(t).replace(u'\r', u'\n').split(u'\n');
    for (qsizetype i = 1; i < lineas.size(); ++i) {
        if (kSentencias.contains(primeraPalabra(text::Trim(lineas.at(i))), Qt::CaseInsensitive)) {
            return QString();
        }
    }
    return QStringLiteral("SELECT COUNT(*) FROM (") + completa + QStringLiteral(") AS Conteo");
}

int32_t ConsultaPaginada::Paginas() const
{
    if (TotalRegistros <= 0) {
        return 0;
    }
    return PageSize > 0 ? int32_t((int64_t(TotalRegistros) + PageSize - 1) / PageSize) : 1;
}

QStringList ConsultaPaginada::ArmarPaginas()
{
    const int32_t paginas = Paginas();
    QStringList lista;
    lista.reserve(paginas);
    for (int32_t p = 1; p <= paginas; ++p) {
        lista << QString::number(p);
    }
    if (PaginaActual > paginas) {
        PaginaActual = paginas;
    }
    UltimaPagina = paginas;
    if (lista.isEmpty()) {
        lista << QStringLiteral("1");
    }
    return lista;
}

void ConsultaPaginada::DescartarConteo()
{
    FijarTotal(0);
    PaginaActual = 1;
    UltimaPagina = 0;
}

// ------------------------------------------------------------------ the page

void ConsultaPaginada::ArmarWhere()
{
    const QString& F = FiltroBusqueda;
    const qsizetype where = buscar(sql, u"WHERE");
    if (where < 0) {
        WhereEfectivo = F.isEmpty() ? QString() : QStringLiteral(" where ") + F;
        return;
    }
    const qsizetype orden = text::Contains(sql, u"ORDER BY") ? buscar(sql, u"order by") : -1;
    WhereEfectivo = orden > where ? sql.mid(where, orden - where) : sql.mid(where);
    if (!F.isEmpty()) {
        WhereEfectivo += QStringLiteral(" AND ") + F;
    }
}

bool ConsultaPaginada::OrdenPorClave() const
{
    return text::Trim(OrderBy).isEmpty() && !text::Contains(sql, u"order by");
}

QString ConsultaPaginada::OrdenPaginas() const
{
    return OrdenPorClave() ? QStringLiteral(" Order by ") + ClavePrimaria() + QStringLiteral(" ") : OrderBy;
}

QString ConsultaPaginada::TablaPaginas() const
{
    const qsizetype from = buscar(sql, u"FROM ");
    QString T = from >= 0 ? text::LTrim(sql.mid(from + 5)) : QString();
    if (const qsizetype blanco = T.indexOf(u' '); blanco >= 0) {
        T = T.left(blanco);
    }
    return text::Trim(T);
}

QStringList ConsultaPaginada::CondicionesInternas() const
{
    const QString& W = WhereEfectivo;
    const QString& F = FiltroBusqueda;
    QStringList condiciones;
    if (Find != 1 && !F.isEmpty()) {
        condiciones << F;
    }
    // The search goes first: a typed "where " inside it must stay there.
    QString V = W;
    if (!text::Trim(F).isEmpty()) {
        V = reemplazar(V, QString(QStringLiteral(" and ") + F), u"");
        V = reemplazar(V, F, u"");
    }
    V = reemplazar(V, u"where ", u"");
    if (!text::Trim(V).isEmpty()) {
        condiciones << V;
    }
    return condiciones;
}

bool ConsultaPaginada::PaginaPorClave() const
{
    if (dialecto != Dialecto::Embebido || !OrdenPorClave() || SinPaginacion()) {
        return false;
    }
    // The rows of a page must meet WhereEfectivo's conditions, as the earlier
    // pages counted by key do: WhereEfectivo holds one WHERE, the search at
    // most once, and the search is part of the page's conditions.
    const QString& F = FiltroBusqueda;
    if (veces(WhereEfectivo, u"where ") > 1) {
        return false;
    }
    return F.isEmpty() || (Find != 1 && veces(WhereEfectivo, F) == 1);
}

QString ConsultaPaginada::LimiteClave(const QString& T, int64_t S) const
{
    const QString& K = PrimaryKey;
    const QString de = QStringLiteral(" FROM ") + T + QStringLiteral(" ") + WhereEfectivo;
    const int64_t filas = FilasPorClave();
    // The key of row S in key order, or nearer the end the key of row S
    // counted back from the last row: the engine skips an offset inside its
    // scan, where the largest of a sub-query's first S keys passes every one
    // of them through the sub-query.
    QString limite;
    if (filas >= S && filas - S < S) {
        limite = QStringLiteral("(SELECT ") + K + de + QStringLiteral(" Order by ") + K +
                 QStringLiteral(" Desc OFFSET ") + QString::number(filas - S) +
                 QStringLiteral(" ROWS FETCH NEXT 1 ROWS ONLY)");
    } else {
        limite = QStringLiteral("(SELECT ") + K + de + QStringLiteral(" ") + OrdenPaginas() +
                 QStringLiteral(" OFFSET ") + QString::number(S - 1) + QStringLiteral(" ROWS FETCH NEXT 1 ROWS ONLY)");
    }
    // NOT IN leaves no row once the keys it names hold a Null; Nulls come
    // first in the key order, so that is when the first key is Null.
    return K + QStringLiteral(" > ") + limite + QStringLiteral(" and (SELECT TOP 1 ") + K + de +
           QStringLiteral(" Order by ") + K + QStringLiteral(" ) IS NOT NULL");
}

int64_t ConsultaPaginada::FilasPorClave() const
{
    const QString T = TablaPaginas();
    // A statement that is the table with the page's WHERE part counted its rows already.
    const QString cabeza = QStringLiteral("SELECT * FROM ") + T;
    const QString t = text::Trim(sql);
    if (FiltroBusqueda.isEmpty() && t.startsWith(cabeza, Qt::CaseInsensitive) &&
        text::EqualsNoCase(text::Trim(t.mid(cabeza.size())), text::Trim(WhereEfectivo))) {
        return TotalRegistros;
    }
    return m_filasPorClaveDe == T + u'\n' + WhereEfectivo ? m_filasPorClave : -1;
}

QString ConsultaPaginada::SentenciaFilasPorClave(int64_t pagina) const
{
    const int64_t S = (pagina - 1) * int64_t(PageSize);
    if (!PaginaPorClave() || S <= 0 || 2 * S <= int64_t(TotalRegistros) || FilasPorClave() >= 0) {
        return QString();
    }
    return QStringLiteral("SELECT COUNT(*) FROM ") + TablaPaginas() + QStringLiteral(" ") + WhereEfectivo;
}

void ConsultaPaginada::FijarFilasPorClave(int64_t filas)
{
    m_filasPorClave = filas;
    m_filasPorClaveDe = TablaPaginas() + u'\n' + WhereEfectivo;
}

void ConsultaPaginada::FijarTotal(int64_t filas)
{
    TotalRegistros = int32_t(filas);
    m_filasPorClave = -1;
}

QString ConsultaPaginada::ArmarPaginacion(int64_t pagina)
{
    if (SinPaginacion()) {
        return QString();
    }
    const QString T = TablaPaginas();
    if (PrimaryKey.isEmpty()) {
        PrimaryKey = QStringLiteral("ID");
    }
    const QString& K = PrimaryKey;
    const int64_t S = pagina * int64_t(PageSize) - int64_t(PageSize);
    const QString& W = WhereEfectivo;
    const QString O = OrdenPaginas();
    const bool oracle = dialecto == Dialecto::Oracle;

    QString R;
    if (PaginaPorClave()) {
        // The rows after the key of the last row of the earlier pages: what
        // NOT IN leaves when the pages are ordered by key, without reading the
        // earlier rows twice.
        QStringList condiciones = CondicionesInternas();
        if (S > 0) {
            condiciones.prepend(LimiteClave(T, S));
        }
        R = QStringLiteral(" FROM (SELECT TOP ") + QString::number(PageSize) + QStringLiteral(" *  FROM ") + T;
        if (!condiciones.isEmpty()) {
            R += QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" and "));
        }
        R += QStringLiteral(" ") + O + QStringLiteral(") AS Paginacion ");
        return R;
    }
    if (!oracle) {
        R = QStringLiteral(" FROM (SELECT TOP ") + QString::number(PageSize) + QStringLiteral(" *  FROM ") + T +
            QStringLiteral(" WHERE ") + K + QStringLiteral(" NOT IN (SELECT TOP ") + QString::number(S) +
            QStringLiteral(" ") + K + QStringLiteral(" FROM ") + T + QStringLiteral(" ") + W + QStringLiteral(" ") + O +
            QStringLiteral(") ");
    } else {
        // Oracle refuses an ORDER BY in the sub-query of NOT IN: the key order
        // that the grid adds orders the inline view and the page only.
        const QString ordenInterno = OrdenPorClave() ? QString() : O;
        const QString X = text::Trim(W).isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        R = QStringLiteral(" FROM (SELECT *  FROM ") + T + QStringLiteral(" WHERE ROWNUM<=") +
            QString::number(PageSize) + QStringLiteral(" AND ") + K + QStringLiteral(" NOT IN (SELECT ") + K +
            QStringLiteral(" FROM ") + T + QStringLiteral(" ") + W + X + QStringLiteral(" ROWNUM<=") +
            QString::number(S) + QStringLiteral(" ") + ordenInterno + QStringLiteral(") ");
    }
    for (const QString& condicion : CondicionesInternas()) {
        R += QStringLiteral(" and ") + condicion;
    }
    R += QStringLiteral(" ") + O;
    R += oracle ? QStringLiteral(")  Paginacion ") : QStringLiteral(") AS Paginacion ");
    return R;
}

QString ConsultaPaginada::SentenciaPagina(int64_t pagina)
{
    QString s = QStringLiteral("SELECT ");
    if (!CamposSel.isEmpty()) {
        CamposSel.replace(u',', u'|');
    } else {
        Campos = reemplazar(Campos, u"Decimal(10,2)", u"Decimal(14â2)");
        Campos.replace(u',', u'|');
        Campos.replace(u'â', u',');
    }
    QString lista = CamposSel.isEmpty() ? Campos : CamposSel;
    // "|" separates the fields while the list is expanded; it becomes "," in
    // the list only, never in the literals of the WHERE part.
    s += QStringLiteral(" ") + ArmarListaCampos(lista).replace(u'|', u',');
    s += QStringLiteral(" ") + ArmarPaginacion(pagina);
    s += QStringLiteral(" ") + WhereEfectivo + QStringLiteral(" ") + OrdenPaginas();
    return s;
}

// ------------------------------------------------------------------ ordering

void ConsultaPaginada::ArmarOrden(int columna, const QString& titulo)
{
    ColumnaOrden = columna;
    if (OrdenSent == 3) {
        return; // the host's OrderBy stays
    }
    if (OrdenSent == 0) {
        if (text::Contains(sql, u"Order by")) {
            // A clause not preceded by a blank (a line break) cannot be cut: OrderBy stays.
            const qsizetype p = buscar(sql, u" Order by");
            if (p >= 0) {
                OrderBy = sql.mid(p);
            }
        } else {
            OrderBy.clear();
        }
        return;
    }
    // The ordinal column and a column without heading name nothing to order by.
    if (columna < 1 || text::Trim(titulo).isEmpty()) {
        return;
    }
    const QString d = OrdenSent == 1 ? QStringLiteral(" Asc ") : QStringLiteral(" Desc ");
    const QString e = EquiCampo(corchetes(titulo), 0);
    if (Order == 1 || text::Trim(OrderBy).isEmpty()) {
        OrderBy = QStringLiteral(" Order by ") + e + d;
        return;
    }
    for (const QString& fin : {QStringLiteral(" Asc "), QStringLiteral(" Desc ")}) {
        const QString sinFin = text::RTrim(fin);
        for (const QString& quitar :
             {e + fin.left(fin.size() - 1) + QStringLiteral(" ,"), QStringLiteral(", ") + e + fin,
              QStringLiteral(", ") + e + sinFin, QStringLiteral(" ") + e + fin, QStringLiteral(" ") + e + sinFin}) {
            OrderBy = reemplazar(OrderBy, quitar, u"");
        }
    }
    const bool soloClausula = text::EqualsNoCase(text::Trim(OrderBy), u"Order by");
    OrderBy += (soloClausula ? QStringLiteral(" ") : QStringLiteral(", ")) + e + d;
}

} // namespace controls
