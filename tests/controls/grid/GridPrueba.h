#pragma once

#include "controls/grid/BkDbGrid.h"
#include "platform/db/Backend.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable texts in the tests' failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class QComboBox;

namespace platform::ui {
class FlexGrid;
}

namespace controls {

// The tests' window on the grid's private state and statement texts.
struct BkDbGridAcceso
{
    static ConsultaPaginada& consulta(BkDbGrid& g) { return g.m_consulta; }
    static bool cargaCancelada(BkDbGrid& g) { return g.CargaCancelada; }
    static void marcarFila(BkDbGrid& g, int fila) { g.MarcarFila(fila); }
    static void desmarcarFila(BkDbGrid& g, int fila) { g.DesmarcarFila(fila); }
};

} // namespace controls

namespace grid_tests {

// Every statement that reached a backend, in order.
struct Sentencias
{
    QStringList lista;
    // A statement that begins with this text (letter case ignored) fails as
    // the server fails a statement; empty: none fails.
    QString fallaQueEmpieza;
    // The statements that begin with `inicio` (letter case ignored).
    QStringList queEmpiezan(const QString& inicio) const;
};

// Records every statement of the backends created from now on (until the test ends).
std::shared_ptr<Sentencias> grabarSentencias();

// A text written in the source as UTF-8.
inline QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// A child widget by its object name; the test fails when there is none.
template <typename T> T* hijo(QWidget& padre, const char* nombre)
{
    T* w = padre.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(w, nullptr) << nombre;
    return w;
}

// The entries of a combo box.
QStringList entradas(const QComboBox* combo);
// The texts of one grid column, rows 1 to the last.
QStringList columna(const platform::ui::FlexGrid& g, int c);
// The headings of the grid's columns after the ordinal column.
QStringList titulos(const platform::ui::FlexGrid& g);

// Where a cell of the inner grid lies on its viewport; empty when it is not on screen.
QRect rectCelda(const platform::ui::FlexGrid& g, int fila, int col);
// The back colour a rendered cell shows, read off a corner that no text reaches.
QColor fondoCelda(const QImage& vista, const QRect& celda);
// The pixels of a rendered area dark enough to be text.
int tinta(const QImage& vista, const QRect& area);

// A grid on screen, connected through the program-wide data-access
// instance to `conexion`, with its page size and statement set (not loaded).
std::unique_ptr<controls::BkDbGrid> grillaConectada(const QString& conexion, int32_t pageSize, const QString& sql);

// A data base "GRID" in the test's folder with the table T (ID, a) holding
// `filas` rows (ID 1..filas, a = 1); returns its connection string.
QString servidorNumeros(int filas);

} // namespace grid_tests
