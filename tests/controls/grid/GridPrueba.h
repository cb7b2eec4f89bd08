#pragma once

#include "controls/grid/BkDbGrid.h"
#include "platform/db/Backend.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

// Readable texts in the tests' failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace controls {

// The tests' window on the grid's private state and statement texts.
struct BkDbGridAcceso
{
    static QString& sql(BkDbGrid& g) { return g.m_sql; }
    static QString& campos(BkDbGrid& g) { return g.m_campos; }
    static QString& camposSel(BkDbGrid& g) { return g.m_camposSel; }
    static QString& camposTodos(BkDbGrid& g) { return g.CamposTodos; }
    static QString& orderBy(BkDbGrid& g) { return g.m_orderBy; }
    static QString& filtro(BkDbGrid& g) { return g.FiltroBusqueda; }
    static QString& whereEfectivo(BkDbGrid& g) { return g.WhereEfectivo; }
    static QString& consultaCompleta(BkDbGrid& g) { return g.ConsultaCompleta; }
    static QString& tablaConsulta(BkDbGrid& g) { return g.TablaConsulta; }
    static int& find(BkDbGrid& g) { return g.m_find; }
    static int& ordenSent(BkDbGrid& g) { return g.m_ordenSent; }
    static int32_t& totalRegistros(BkDbGrid& g) { return g.TotalRegistros; }
    static int32_t& paginaActual(BkDbGrid& g) { return g.m_paginaActual; }
    static bool cargaCancelada(BkDbGrid& g) { return g.CargaCancelada; }
    static int alias(BkDbGrid& g) { return int(g.TablaAlias.size()); }
    static QString expresion(BkDbGrid& g, int i) { return g.TablaAlias.at(std::size_t(i)).Expresion; }
    static QString aliasDe(BkDbGrid& g, int i) { return g.TablaAlias.at(std::size_t(i)).Alias; }

    static void Equias(BkDbGrid& g) { g.Equias(); }
    static void ArmarWhere(BkDbGrid& g) { g.ArmarWhere(); }
    static QString ArmarPaginacion(BkDbGrid& g) { return g.ArmarPaginacion(); }
    static QString SentenciaPrueba(BkDbGrid& g, bool conSeleccion) { return g.SentenciaPrueba(conSeleccion); }
    static QString SentenciaCompleta(BkDbGrid& g) { return g.SentenciaCompleta(); }
    static QString SentenciaPagina(BkDbGrid& g) { return g.SentenciaPagina(); }
    // Fills the page list with pages 1..n and selects `actual` without loading.
    static void paginas(BkDbGrid& g, int n, int actual);
};

} // namespace controls

namespace grid_tests {

// Every statement that reached a backend, in order.
struct Sentencias
{
    QStringList lista;
    // The statements that begin with `inicio` (letter case ignored).
    QStringList queEmpiezan(const QString& inicio) const;
};

// Records every statement of the backends created from now on (until the test ends).
std::shared_ptr<Sentencias> grabarSentencias();

// Builds the small demo server in the test's folder and returns the
// connection string of its main data base.
QString servidorDemo();

// A data base "GRID" in the test's folder with the table T (ID, a) holding
// `filas` rows (ID 1..filas, a = 1); returns its connection string.
QString servidorNumeros(int filas);

} // namespace grid_tests
