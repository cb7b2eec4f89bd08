#include "GridPrueba.h"

#include "data/DB_Dll.h"
#include "demo/DemoBuilder.h"
#include "platform/ui/FlexGrid.h"
#include "support/EmbeddedFixture.h"
#include "support/ForwardingBackend.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>

#include <gtest/gtest.h>

namespace grid_tests {

using namespace platform::db;

namespace {

class Grabadora : public testing_support::ForwardingBackend
{
public:
    Grabadora(std::unique_ptr<Backend> inner, std::shared_ptr<Sentencias> s)
        : ForwardingBackend(std::move(inner)), m_s(std::move(s))
    {
    }

    ResultSet execute(const QString& sql, std::vector<ErrorInfo>& errors) override
    {
        registrar(sql, errors);
        return inner().execute(sql, errors);
    }
    ResultSet executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors) override
    {
        registrar(sql, errors);
        return inner().executeUpdatable(sql, errors);
    }

private:
    void registrar(const QString& sql, std::vector<ErrorInfo>& errors) const
    {
        m_s->lista << sql;
        if (!m_s->fallaQueEmpieza.isEmpty() && sql.trimmed().startsWith(m_s->fallaQueEmpieza, Qt::CaseInsensitive)) {
            const ErrorInfo info{adErr::Generic, QStringLiteral("The statement failed."),
                                 QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("42000"),
                                 50000};
            errors.push_back(info);
            throw DbError(info);
        }
    }

    std::shared_ptr<Sentencias> m_s;
};

} // namespace

QStringList Sentencias::queEmpiezan(const QString& inicio) const
{
    QStringList out;
    for (const QString& s : lista) {
        if (s.trimmed().startsWith(inicio.trimmed(), Qt::CaseInsensitive)) {
            out << s;
        }
    }
    return out;
}

std::shared_ptr<Sentencias> grabarSentencias()
{
    auto s = std::make_shared<Sentencias>();
    setBackendWrapper([s](std::unique_ptr<Backend> inner) -> std::unique_ptr<Backend> {
        return std::make_unique<Grabadora>(std::move(inner), s);
    });
    return s;
}

QStringList entradas(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) {
        out << combo->itemText(i);
    }
    return out;
}

QStringList columna(const platform::ui::FlexGrid& g, int c)
{
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r) {
        out << g.TextMatrix(r, c);
    }
    return out;
}

QStringList titulos(const platform::ui::FlexGrid& g)
{
    QStringList out;
    for (int c = 1; c < g.Cols(); ++c) {
        out << g.TextMatrix(0, c);
    }
    return out;
}

namespace {

// The first and last of the positions 0 to largo - 1 that `en` places in
// `buscado`; (-1, -1) when none does.
template <typename En> std::pair<int, int> tramo(int largo, int buscado, En en)
{
    std::pair<int, int> t{-1, -1};
    for (int p = 0; p < largo; ++p) {
        if (en(p) == buscado) {
            t.first = t.first < 0 ? p : t.first;
            t.second = p;
        }
    }
    return t;
}

} // namespace

QRect rectCelda(const platform::ui::FlexGrid& g, int fila, int col)
{
    const QWidget* v = g.viewport();
    const auto [izquierda, derecha] = tramo(v->width(), col, [&](int x) { return g.colAt(x); });
    const auto [arriba, abajo] = tramo(v->height(), fila, [&](int y) { return g.rowAt(y); });
    if (izquierda < 0 || arriba < 0) {
        return {};
    }
    return QRect(QPoint(izquierda, arriba), QPoint(derecha, abajo));
}

QColor fondoCelda(const QImage& vista, const QRect& celda)
{
    return vista.pixelColor(celda.left() + 2, celda.top() + 2);
}

int tinta(const QImage& vista, const QRect& area)
{
    int n = 0;
    const QRect r = area & vista.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            n += qGray(vista.pixel(x, y)) < 110 ? 1 : 0;
        }
    }
    return n;
}

std::unique_ptr<controls::BkDbGrid> grillaConectada(const QString& conexion, int32_t pageSize, const QString& sql)
{
    auto g = std::make_unique<controls::BkDbGrid>();
    g->show();
    g->setConString(conexion);
    EXPECT_TRUE(data::gDbPrincipal().gOpenFlag);
    g->setPageSize(pageSize);
    g->setSql(sql);
    return g;
}

QString servidorNumeros(int filas)
{
    testing_support::EmbeddedFixture servidor;
    servidor.createDatabase(
        QStringLiteral("GRID"),
        QStringLiteral("CREATE TABLE T (ID integer PRIMARY KEY, a integer);"
                       "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1)"
                       " INSERT INTO T (ID, a) SELECT x, 1 FROM n;")
            .arg(filas));
    return servidor.connectionString(QStringLiteral("GRID"));
}

} // namespace grid_tests
