// The texts the grid builds from the host's statement: the alias table, the
// probe and the field lists, the effective WHERE part, the paging part, the
// select list and the all-rows statement of the count.
#include "controls/grid/BkDbGrid.h"

#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>

namespace controls {

namespace pasos = common;
namespace text = platform::text;
using platform::db::adCmdUnspecified;
using platform::db::adLockReadOnly;
using platform::db::adOpenForwardOnly;

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

} // namespace

// ------------------------------------------------------------------ aliases

void BkDbGrid::Equias()
{
    TablaAlias.assign(1, Alias{});
    QString w = m_sql;
    const QString kAs = QStringLiteral(" as ");
    pasos::ConManejo(
        QStringLiteral("BkDbGrid"), QStringLiteral("Equias"), {[&] {
            for (qsizetype pos = buscar(w, kAs); pos >= 0; pos = buscar(w, kAs)) {
                const QString despues = w.mid(pos + kAs.size());
                const QString t = text::Trim(despues);
                if (t.isEmpty()) {
                    // An " as " at the very end names nothing: the table ends here.
                    common::MensajeError(platform::ErrObject(5, QStringLiteral("Invalid procedure call or argument"),
                                                             QStringLiteral("BkDbGrid")),
                                         std::nullopt, QStringLiteral("Equias"));
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

                const QString e = text::Trim(w.left(pos));
                QString exprCruda;
                if (e.endsWith(u']')) {
                    exprCruda = e.mid(std::max<qsizetype>(0, e.lastIndexOf(u'[')));
                } else {
                    const qsizetype coma = e.lastIndexOf(u',');
                    const qsizetype blanco = e.lastIndexOf(u' ');
                    exprCruda = (coma >= 0 && coma > blanco) ? e.mid(coma + 1) : e.mid(blanco + 1);
                }
                QString expresion = QString(exprCruda).remove(u',').remove(u'(').remove(u')');

                if (!alias.contains(u'[')) {
                    alias = QStringLiteral("[") + text::Trim(alias) + QStringLiteral("]");
                }
                if (!expresion.contains(u'[')) {
                    expresion = QStringLiteral("[") + text::Trim(expresion) + QStringLiteral("]");
                }
                TablaAlias.back() = Alias{expresion, alias};
                TablaAlias.push_back(Alias{});

                // Cut the clause where it was found, whatever blanks stand around
                // " as ", so that each pass consumes one alias; other occurrences
                // of the same text go too.
                const qsizetype finExpr = text::RTrim(w.left(pos)).size();
                const qsizetype inicioExpr = finExpr - exprCruda.size();
                const qsizetype inicioAlias = pos + kAs.size() + (despues.size() - text::LTrim(despues).size());
                const qsizetype finAlias = inicioAlias + aliasCrudo.size();
                w = w.left(inicioExpr) + QStringLiteral(" ") + w.mid(finAlias);
                w = reemplazar(w, QString(exprCruda + kAs + aliasCrudo), u" ");
            }
            return true;
        }});
}

QString BkDbGrid::EquiCampo(const QString& Campo, int Equivalencia) const
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

// ------------------------------------------------------------------ probe and lists

QString BkDbGrid::SentenciaPrueba(bool conSeleccion) const
{
    // A statement run by name is probed as it stands.
    if (text::Contains(m_sql, u"exec ")) {
        return m_sql;
    }
    const bool conTop = text::Contains(m_sql, u"SELECT TOP");
    const qsizetype orden = buscar(m_sql, u"Order by");
    if (orden >= 0 && (conSeleccion || !conTop)) {
        return unaFila(m_sql.left(orden));
    }
    // Without an order the probe still reads one row: the fields come out the same.
    return conTop ? m_sql : unaFila(m_sql);
}

void BkDbGrid::CargarCampos()
{
    data::DB_Dll& db = data::gDbPrincipal();
    data::RecordsetPtr rs;
    const QString clave = ClavePrimaria();
    const auto agregar = [](QString& lista, const QString& primero, const QString& siguiente) {
        lista += lista.isEmpty() ? primero : siguiente;
    };

    txtBuscar->setText(QStringLiteral("Ingrese el texto a buscar..."));
    CamposTodos.clear();
    CboFiltroCampo->clear();
    CboFiltroCampo->addItem(QStringLiteral("Todos"));

    if (text::Trim(m_camposSel).isEmpty()) {
        QString prueba;
        pasos::ConManejo(
            QStringLiteral("BkDbGrid"), std::nullopt,
            {[&] {
                 m_campos.clear();
                 prueba = SentenciaPrueba(false);
                 db.AbrirRecordset(prueba, rs, nullptr, adOpenForwardOnly, adLockReadOnly, adCmdUnspecified, true);
                 return true;
             },
             [&] {
                 for (int i = 0; i < rs->FieldCount(); ++i) {
                     platform::db::Field campo = rs->Fields(i);
                     const int tipo = campo.Type();
                     const QString N = campo.Name();
                     if (tipo == platform::db::adLongVarWChar || tipo == platform::db::adLongVarBinary) {
                         continue;
                     }
                     CboFiltroCampo->addItem(N);
                     const QString corchete = QStringLiteral("[") + N + QStringLiteral("]");
                     if (tipo == platform::db::adDBTimeStamp) {
                         ColumnasFecha += QStringLiteral("|") + QString::number(i) + QStringLiteral("|");
                         agregar(CamposTodos, corchete, QStringLiteral(",") + corchete);
                         const QString resto = N + QStringLiteral("],") + QString::number(m_formatDate) +
                                               QStringLiteral(") AS [") + N + QStringLiteral("]");
                         agregar(m_campos, QStringLiteral(" CONVERT(NVARCHAR,[") + resto,
                                 QStringLiteral(", CONVERT(NVARCHAR,[") + resto);
                     } else if (tipo == platform::db::adNumeric || tipo == platform::db::adCurrency) {
                         agregar(CamposTodos, corchete, QStringLiteral(",") + corchete);
                         if (text::Contains(prueba, QString(QStringLiteral(" AS ") + N)) ||
                             text::Contains(prueba, QString(QStringLiteral(" AS ") + corchete))) {
                             agregar(m_campos, corchete, QStringLiteral(", ") + corchete);
                         } else {
                             const QString resto = N + QStringLiteral("]) AS [") + N + QStringLiteral("]");
                             agregar(m_campos, QStringLiteral(" CONVERT(decimal(14â2),[") + resto,
                                     QStringLiteral(", CONVERT(Decimal(14â2),[") + resto);
                         }
                     } else {
                         agregar(CamposTodos, corchete, QStringLiteral(", ") + corchete);
                         agregar(m_campos, corchete, QStringLiteral(", ") + corchete);
                     }
                 }
                 return true;
             },
             [&] {
                 if (!CamposTodos.contains(u"[ID],") && !CamposTodos.contains(u", [ID]")) {
                     agregar(CamposTodos, clave, QStringLiteral(", ") + clave);
                     if (!text::Contains(m_campos, QString(QStringLiteral("[") + m_primaryKey + QStringLiteral("]")))) {
                         agregar(m_campos, clave, QStringLiteral(", ") + clave);
                     }
                 }
                 return true;
             },
             [&] {
                 db.CierraRecordset(rs);
                 return true;
             }});
        return;
    }

    pasos::ConManejo(QStringLiteral("BkDbGrid"), std::nullopt,
                     {[&] {
                          m_campos.clear();
                          db.AbrirRecordset(SentenciaPrueba(true), rs, nullptr, adOpenForwardOnly, adLockReadOnly,
                                            adCmdUnspecified, true);
                          return true;
                      },
                      [&] {
                          for (int i = 0; i < rs->FieldCount(); ++i) {
                              platform::db::Field campo = rs->Fields(i);
                              const int tipo = campo.Type();
                              const QString N = campo.Name();
                              if (tipo == platform::db::adLongVarWChar || tipo == platform::db::adLongVarBinary) {
                                  continue;
                              }
                              const QString corchete = QStringLiteral("[") + N + QStringLiteral("]");
                              if (tipo == platform::db::adDBTimeStamp) {
                                  agregar(CamposTodos, corchete, QStringLiteral(",") + corchete);
                                  const QString resto = N + QStringLiteral("],") + QString::number(m_formatDate) +
                                                        QStringLiteral(") as [") + N + QStringLiteral("]");
                                  agregar(m_campos, QStringLiteral("convert(nvarchar,[") + resto,
                                          QStringLiteral(",convert(nvarchar,[") + resto);
                              } else {
                                  agregar(CamposTodos, corchete, QStringLiteral(", ") + corchete);
                                  agregar(m_campos, corchete, QStringLiteral(", ") + corchete);
                              }
                          }
                          return true;
                      },
                      [&] {
                          if (!CamposTodos.contains(u"[ID],")) {
                              agregar(m_campos, clave, QStringLiteral(", ") + clave);
                              agregar(CamposTodos, clave, QStringLiteral(", ") + clave);
                          }
                          return true;
                      },
                      [&] {
                          db.CierraRecordset(rs);
                          return true;
                      },
                      [&] {
                          QString t = reemplazar(CamposSelNombres, u", ", u"|") + QStringLiteral("|");
                          while (!text::Trim(t).isEmpty()) {
                              const qsizetype barra = t.indexOf(u'|');
                              CboFiltroCampo->addItem(t.left(barra).remove(u'[').remove(u']'));
                              t = t.mid(barra + 1);
                          }
                          return true;
                      },
                      [&] {
                          if (CboFiltroCampo->count() > 0) {
                              CboFiltroCampo->removeItem(CboFiltroCampo->count() - 1);
                          }
                          return true;
                      }});
}

// ------------------------------------------------------------------ WHERE, paging, select list

void BkDbGrid::ArmarWhere()
{
    const QString& F = FiltroBusqueda;
    const qsizetype where = buscar(m_sql, u"WHERE");
    if (where < 0) {
        WhereEfectivo = F.isEmpty() ? QString() : QStringLiteral(" where ") + F;
        return;
    }
    const qsizetype orden = text::Contains(m_sql, u"ORDER BY") ? buscar(m_sql, u"order by") : -1;
    WhereEfectivo = orden > where ? m_sql.mid(where, orden - where) : m_sql.mid(where);
    if (!F.isEmpty()) {
        WhereEfectivo += QStringLiteral(" AND ") + F;
    }
}

QString BkDbGrid::ClavePrimaria() const
{
    return m_primaryKey.isEmpty() ? QStringLiteral("ID") : m_primaryKey;
}

QString BkDbGrid::OrdenPaginas() const
{
    if (!text::Trim(m_orderBy).isEmpty() || text::Contains(m_sql, u"order by")) {
        return m_orderBy;
    }
    return QStringLiteral(" Order by ") + ClavePrimaria() + QStringLiteral(" ");
}

QString BkDbGrid::ArmarPaginacion()
{
    if (text::Contains(m_sql, u" join ") || text::Contains(m_sql, u" group by ")) {
        return QString();
    }
    const qsizetype from = buscar(m_sql, u"FROM ");
    QString T = from >= 0 ? text::LTrim(m_sql.mid(from + 5)) : QString();
    if (const qsizetype blanco = T.indexOf(u' '); blanco >= 0) {
        T = T.left(blanco);
    }
    T = text::Trim(T);
    if (m_primaryKey.isEmpty()) {
        m_primaryKey = QStringLiteral("ID");
    }
    const QString& K = m_primaryKey;
    bool leido = false;
    int64_t pagina = cboPagSelect->currentText().trimmed().toLongLong(&leido);
    if (!leido) {
        pagina = m_paginaActual;
    }
    const int64_t S = pagina * int64_t(m_pageSize) - int64_t(m_pageSize);
    const QString& W = WhereEfectivo;
    const QString O = OrdenPaginas();
    const QString& F = FiltroBusqueda;
    const bool oracle = text::Contains(data::gDbPrincipal().gProveedor, u"ORACLE");

    QString R;
    if (!oracle) {
        R = QStringLiteral(" FROM (SELECT TOP ") + QString::number(m_pageSize) + QStringLiteral(" *  FROM ") + T +
            QStringLiteral(" WHERE ") + K + QStringLiteral(" NOT IN (SELECT TOP ") + QString::number(S) +
            QStringLiteral(" ") + K + QStringLiteral(" FROM ") + T + QStringLiteral(" ") + W + QStringLiteral(" ") + O +
            QStringLiteral(") ");
    } else {
        const QString X = text::Trim(W).isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        R = QStringLiteral(" FROM (SELECT *  FROM ") + T + QStringLiteral(" WHERE ROWNUM<=") +
            QString::number(m_pageSize) + QStringLiteral(" AND ") + K + QStringLiteral(" NOT IN (SELECT ") + K +
            QStringLiteral(" FROM ") + T + QStringLiteral(" ") + W + X + QStringLiteral(" ROWNUM<=") +
            QString::number(S) + QStringLiteral(" ") + O + QStringLiteral(") ");
    }
    if (m_find != 1 && !F.isEmpty()) {
        R += QStringLiteral(" and ") + F;
    }
    QString V = reemplazar(W, u"where ", u"");
    if (!text::Trim(F).isEmpty()) {
        V = reemplazar(V, QString(QStringLiteral(" and ") + F), u"");
        V = reemplazar(V, F, u"");
    }
    if (!text::Trim(V).isEmpty()) {
        R += QStringLiteral(" and ") + V;
    }
    R += QStringLiteral(" ") + O;
    R += oracle ? QStringLiteral(")  Paginacion ") : QStringLiteral(") AS Paginacion ");
    return R;
}

QString BkDbGrid::ArmarListaCampos(QString& lista)
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

QString BkDbGrid::SentenciaCompleta()
{
    if (FiltroBusqueda.isEmpty()) {
        return m_sql;
    }
    QString base;
    const qsizetype orden = buscar(m_sql, u"Order by");
    if (orden >= 0) {
        base = m_sql.left(orden);
    } else {
        QString lista = m_camposSel.isEmpty() ? m_campos : m_camposSel;
        // The separators and the comma of the decimal type belong to the field list only.
        const QString campos = ArmarListaCampos(lista).replace(u'|', u',').replace(u'â', u',');
        const qsizetype from = buscar(m_sql, u" FROM");
        base = QStringLiteral("SELECT ") + campos + (from >= 0 ? m_sql.mid(from) : QString());
    }
    return base + (text::Contains(m_sql, u"Where") ? QStringLiteral(" and ") : QStringLiteral(" where ")) +
           FiltroBusqueda;
}

QString BkDbGrid::SentenciaPagina()
{
    QString s = QStringLiteral("SELECT ");
    Pbar->setValue(30);
    if (!m_camposSel.isEmpty()) {
        m_camposSel.replace(u',', u'|');
    } else {
        m_campos = reemplazar(m_campos, u"Decimal(10,2)", u"Decimal(14â2)");
        m_campos.replace(u',', u'|');
        m_campos.replace(u'â', u',');
    }
    QString lista = m_camposSel.isEmpty() ? m_campos : m_camposSel;
    // "|" separates the fields while the list is expanded; it becomes "," in
    // the list only, never in the literals of the WHERE part.
    s += QStringLiteral(" ") + ArmarListaCampos(lista).replace(u'|', u',');
    Pbar->setValue(40);
    s += QStringLiteral(" ") + ArmarPaginacion();
    s += QStringLiteral(" ") + WhereEfectivo + QStringLiteral(" ") + OrdenPaginas();
    return s;
}

} // namespace controls
