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
    static ConsultaPaginada& consulta(BkDbGrid& g) { return g.m_consulta; }
    static bool cargaCancelada(BkDbGrid& g) { return g.CargaCancelada; }
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
