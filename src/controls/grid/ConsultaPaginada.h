#pragma once

#include "platform/core/DateTime.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace controls {

// The query text and the paging state of the paged grid, free of widgets and
// of the data base: the host's statement and the properties that shape its
// queries, the alias table, the field lists taken from the probe, the search
// condition, the ordering, the counts, and the statements of the probe, the
// count and the page. The grid runs what this class builds and hands back what
// the data base answered (the probe's fields, the row count); the search, the
// stored layout, the column chooser and the export work on the same state.
//
// Text searches ignore letter case and find the first occurrence; replacements
// replace every occurrence without regard to case. Nothing here raises.
class ConsultaPaginada
{
public:
    // Where the statements go.
    enum class Dialecto {
        SqlServer, // the server counts by opening the rows; pages skip rows with NOT IN
        Oracle,    // the same with ROWNUM
        Embebido,  // the embedded engine: counts with COUNT(*), pages by key where it may
    };

    struct Alias
    {
        QString Expresion;
        QString Alias;
    };

    // A field of the probe: its name and its type code.
    struct CampoProbado
    {
        QString Nombre;
        int Tipo = 0;
    };

    // Properties of the grid that shape its queries (stored with the control).
    QString sql;
    QString PrimaryKey = QStringLiteral("ID");
    int Find = 2;
    int Order = 1;
    int32_t PageSize = 4000;
    QString CamposSel;
    QString Campos;
    QString OrdinalSel;
    QString OrderBy;
    int OrdenSent = 0;
    int FormatDate = 103;

    // State kept between loads.
    QString TablaConsulta;
    std::vector<Alias> TablaAlias{Alias{}};
    QString CamposTodos;
    QString CamposSelNombres;
    QString ColumnasFecha;
    QString FiltroBusqueda;
    QString WhereEfectivo;
    int ColumnaOrden = 0;
    int32_t TotalRegistros = 0;
    int32_t PaginaActual = 1;
    int32_t UltimaPagina = 0;
    QString ConsultaCompleta;
    Dialecto dialecto = Dialecto::SqlServer;

    // ---- the statement

    // Rebuilds TablaAlias from sql: a name behind its alias in brackets, a
    // select item that is more than a name (Costo * 2, CAST(x AS int)) as it
    // is written. Returns false when an " as " at the very end names nothing:
    // the table ends there.
    bool Equias();
    // Equivalencia 0: the expression behind the alias Campo; otherwise the
    // alias of the expression Campo; Campo itself when nothing matches.
    QString EquiCampo(const QString& Campo, int Equivalencia) const;
    // The select list with every aliased name replaced by "expression as name"
    // (also written back into the argument).
    QString ArmarListaCampos(QString& lista) const;
    // A new statement: sql gets its trailing blank, TablaConsulta is taken from
    // it and the state of the last load is reset.
    void PrepararCarga();
    // The statement has no page part (" join ", " group by ").
    bool SinPaginacion() const;
    // The page statement is the statement itself ("exec ", " join ", " group by ").
    bool SeEjecutaTalCual() const;
    // The key column: PrimaryKey, "ID" when empty.
    QString ClavePrimaria() const;

    // ---- field lists

    // A choice of columns is in force (CamposSel not blank).
    bool ConSeleccion() const;
    // The statement that probes the fields (one row where the statement allows).
    QString SentenciaPrueba(bool conSeleccion) const;
    // Builds Campos, CamposTodos and ColumnasFecha from the probe's fields
    // (Campos and CamposTodos emptied by the caller); returns the fields the
    // search offers after "Todos".
    QStringList CargarCamposTodos(const std::vector<CampoProbado>& campos, const QString& prueba);
    // The same for a choice of columns in force.
    QStringList CargarCamposSeleccion(const std::vector<CampoProbado>& campos);

    // ---- counting and the page list

    // The all-rows statement of the current search.
    QString SentenciaCompleta() const;
    // The statement that counts the rows of `completa` in one value, or an
    // empty text when its rows are to be opened and counted: every dialect
    // but the embedded engine, and any statement that is not one SELECT.
    QString SentenciaConteo(const QString& completa) const;
    // The pages of TotalRegistros rows: one per PageSize rows and one for the
    // rest; a size below 1 gives one page.
    int32_t Paginas() const;
    // After a count: UltimaPagina becomes the number of pages and PaginaActual
    // stays within it. Returns the entries of the page list ("1" when none).
    QStringList ArmarPaginas();
    // A count that did not finish: the rows are uncounted and there are no pages.
    void DescartarConteo();
    // The rows of a new count; the rows ranked by key are counted again when needed.
    void FijarTotal(int64_t filas);

    // ---- the page

    // Sets WhereEfectivo: the statement's own WHERE part and the search.
    void ArmarWhere();
    // Neither the statement nor OrderBy gives an order: the pages are ordered
    // by the key column.
    bool OrdenPorClave() const;
    // The ordering clause of the page statement: OrderBy, or the key column
    // when neither the statement nor OrderBy gives one.
    QString OrdenPaginas() const;
    // The embedded engine reaches the page by key: the pages are ordered by
    // key and the page's conditions are those of WhereEfectivo. The page is
    // then the first PageSize rows whose key is above the key at position S
    // of the key order (S the rows of the earlier pages): the rows that NOT IN
    // leaves, also when keys repeat or are Null.
    bool PaginaPorClave() const;
    // Reaching a page by key from the end needs the rows the keys rank (the
    // table and WhereEfectivo): the statement that counts them when the page
    // lies nearer the end and they are not counted yet, else an empty text.
    // The count goes to FijarFilasPorClave.
    QString SentenciaFilasPorClave(int64_t pagina) const;
    void FijarFilasPorClave(int64_t filas);
    // The paging part of the page statement for `pagina` (1-based).
    QString ArmarPaginacion(int64_t pagina);
    // The page statement for `pagina` as CargarGrid builds it, before the
    // choice of the plain statement. Turns the separators of CamposSel or
    // Campos into "|" (they stay so).
    QString SentenciaPagina(int64_t pagina);

    // ---- ordering

    // Rebuilds OrderBy for a load with the grid's current column (`columna`,
    // heading `titulo`) as OrdenSent and Order ask.
    void ArmarOrden(int columna, const QString& titulo);

    // ---- search on the server

    // The moments a date typed in the search box stands for: from `desde` up
    // to, not including, `hasta` (the day, or the minute or second typed).
    struct FechaBuscada
    {
        platform::DateTime desde;
        platform::DateTime hasta;
        bool conHora = false;
    };
    // The search text read as a date, day first ("dd/mm/yyyy", "dd-mm-yyyy",
    // "dd.mm.yyyy", "dd/mm" and "dd-mm"), year first ("yyyy-mm-dd", also with
    // "/" or "."), or with the month's name or its three letters in Spanish or
    // English ("5 de marzo de 2024", "05-mar", "March 5, 2024"), each with an
    // optional time "hh:nn[:ss]". Two-digit years up to 49 are of this century;
    // a date without a year is of the current year of the program's clock.
    // nullopt when it is no date.
    static std::optional<FechaBuscada> LeerFecha(const QString& texto);
    // The field (a probe's field name) is a date field: its position in the
    // probe's fields is one of ColumnasFecha.
    bool EsCampoFecha(const QString& nombre) const;
    // " CONVERT(NVARCHAR,e) LIKE '%texto%'" for the field's column expression
    // e; apostrophes doubled, "%" and "_" kept as the wildcards they are.
    QString TerminoTexto(const QString& nombre, const QString& texto) const;
    // " (e >= 'yyyymmdd' AND e < 'yyyymmdd')", with " hh:nn:ss" where a time
    // was typed: a form every server reads the same whatever its language.
    QString TerminoFecha(const QString& nombre, const FechaBuscada& fecha) const;
    // The condition of a search on every column: one term per heading of
    // the grid's columns (after the ordinal), joined by " or " in brackets;
    // empty when no column gives a term.
    QString CondicionTodos(const QStringList& titulos, const QString& texto) const;
    // The condition of a search on one field; nullopt when the field is a date
    // field and the text no date.
    std::optional<QString> CondicionCampo(const QString& campo, const QString& texto) const;
    // Adds a condition to FiltroBusqueda (" and " after the earlier ones).
    void AgregarBusqueda(const QString& condicion);

    // ---- stored column layout (the rows of TA_CONFIG_FORM)

    struct ClaveDiseno
    {
        QString Formulario;
        QString Usuario;
        QString Nombre;
    };
    // The key of a layout: the program's name followed by its argument text
    // with the value of @Password left out (cut to 100), the data-base login
    // (cut to 50) and the layout name, "@BKDBGRID" when empty (cut to 50).
    static ClaveDiseno ClaveDelDiseno(const QString& programa, const QString& argumentos, const QString& usuario,
                                      const QString& nombre);
    // The key that holds the whole argument text, password included, under
    // which layouts were stored before; read once where the key above has none.
    static ClaveDiseno ClaveAnteriorDelDiseno(const QString& programa, const QString& argumentos,
                                              const QString& usuario, const QString& nombre);
    static QString SentenciaLeerDiseno(const ClaveDiseno& clave);
    static QString SentenciaBorrarDiseno(const ClaveDiseno& clave);
    static QString SentenciaGrabarDiseno(const ClaveDiseno& clave, const QString& valor);
    // CamposSel as it is stored: "," becomes "|" and the blanks outside
    // brackets go ("[Precio Venta]" keeps its blank).
    QString CamposGuardados() const;
    // CamposSel from a stored value ("|" becomes ","), only when every entry
    // of it is one that the chooser writes for this statement: a column of the
    // last probe, bracketed or not and with letter case ignored as the server
    // compares names, the key column, or such a column converted as
    // "CONVERT(NVARCHAR,[c],n)AS[c]". Anything else in a stored row would run
    // in the page statement. Returns the first entry that is none, CamposSel
    // then keeping its value; nullopt when the value was taken.
    std::optional<QString> LeerCamposGuardados(const QString& valor);

    // ---- the column chooser

    // The chooser's list: every column of CamposTodos followed by "|", the key
    // column once and last (the chooser keeps the last entry out of its list).
    QString CamposParaElegir() const;
    // The statement that probes a choice ("*" when nothing was chosen): one
    // row of TablaConsulta with the chosen columns, aliases expanded.
    QString SentenciaEleccion(const QString& eleccion) const;
    // CamposSel and CamposSelNombres from the fields of that probe: every
    // field but the key column, dates converted with FormatDate, then the key
    // column once, unbracketed.
    void AplicarEleccion(const std::vector<CampoProbado>& campos);

private:
    // The table after "FROM " that the page statement reads.
    QString TablaPaginas() const;
    // The conditions of the page's rows besides the key: the search (unless
    // it only paints the page) and WhereEfectivo without its WHERE and search.
    QStringList CondicionesInternas() const;
    // The condition on the key that leaves the rows of the earlier pages (S of them) out.
    QString LimiteClave(const QString& T, int64_t S) const;
    // The rows the keys rank when known, else -1.
    int64_t FilasPorClave() const;
    // The column expression a search compares for a field name.
    QString ExpresionBusqueda(const QString& nombre) const;

    // The fields of the last probe, in its order (long fields included).
    std::vector<CampoProbado> m_camposProbados;
    // The rows ranked by key, and the table and WHERE part they were counted for (-1: not counted).
    int64_t m_filasPorClave = -1;
    QString m_filasPorClaveDe;
};

} // namespace controls
