// GridBench [server folder]
// Times the paged grid over the million-row price history with
// SELECT * FROM V_MV_PreciosHis and 2,000-row pages: the first page (probe,
// count, page list and page), page 50 and the last page, each beside the same
// rows read directly from the file with sqlite3 (every column of every row
// read as text), and the resident memory. Each of the grid's figures ends
// with the page painted. Without a folder it builds the
// million-row demo server first (see MillionRowDemo.h).
#include "controls/grid/BkDbGrid.h"
#include "data/DB_Dll.h"
#include "Medidas.h"
#include "MillionRowDemo.h"
#include "demo/DemoBuilder.h"
#include "platform/core/Runtime.h"
#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The main data base opened read-only with sqlite3 itself. The schema's text
// columns name the engine's collation; a plain one stands in for it, since
// the statements below compare no texts.
class Directo
{
public:
    explicit Directo(const QString& file)
    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        m_db.reset(raw);
        if (rc == SQLITE_OK) {
            sqlite3_create_collation(raw, "SQLSERVER", SQLITE_UTF8, nullptr,
                                     [](void*, int la, const void* a, int lb, const void* b) {
                                         const int c = std::memcmp(a, b, std::size_t(std::min(la, lb)));
                                         return c != 0 ? c : la - lb;
                                     });
        }
    }
    bool ok() const { return m_db != nullptr && sqlite3_errcode(m_db.get()) == SQLITE_OK; }

    // Steps through the statement reading every column as text; returns the
    // first column of the first row as a number.
    int64_t leer(const char* sql)
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), sql, -1, &raw, nullptr) != SQLITE_OK) {
            std::printf("direct statement failed: %s\n", sqlite3_errmsg(m_db.get()));
            return -1;
        }
        std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw, &sqlite3_finalize);
        int64_t primero = -1;
        while (sqlite3_step(raw) == SQLITE_ROW) {
            if (primero < 0) {
                primero = sqlite3_column_int64(raw, 0);
            }
            for (int i = 0; i < sqlite3_column_count(raw); ++i) {
                m_bytes += std::size_t(sqlite3_column_bytes(raw, i)) + (sqlite3_column_text(raw, i) ? 1 : 0);
            }
        }
        return primero;
    }

private:
    struct Cierre
    {
        void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    };
    std::unique_ptr<sqlite3, Cierre> m_db;
    std::size_t m_bytes = 0;
};

void fila(const char* figura, double grilla, double directo)
{
    std::printf("%-44s %9.1f ms %9.1f ms %8.1f\n", figura, grilla, directo, grilla / directo);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    platform::Runtime::instance().setOperator(std::make_unique<bench::AbortingOperator>());

    const QString folder = bench::millionRowDemo(argc, argv);
    if (folder.isEmpty())
        return 1;
    platform::Runtime::instance().setProgramFolder(QDir(folder).absoluteFilePath(QStringLiteral("..")));
    const QString connection = QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=x;Pwd=y;Connect Timeout=5;")
                                   .arg(QDir(folder).absolutePath(), QString::fromLatin1(demo::kMainDatabase));
    Directo directo(QDir(folder).filePath(QString::fromLatin1(demo::kMainDatabase) + QStringLiteral(".sqlite")));
    if (!directo.ok()) {
        std::printf("the data base file did not open\n");
        return 1;
    }

    const long antes = bench::residentKb();
    QElapsedTimer timer;
    controls::BkDbGrid grid;
    grid.resize(1200, 800);
    grid.show();
    QApplication::processEvents();
    grid.setConString(connection);
    if (!data::gDbPrincipal().gOpenFlag) {
        std::printf("the connection did not open\n");
        return 1;
    }
    grid.setPageSize(2000);
    grid.setSql(QStringLiteral("SELECT * FROM V_MV_PreciosHis"));

    std::printf("%-44s %12s %12s %8s\n", "figure", "grid", "direct", "ratio");

    // The probe's row, the count and the first 2,000 rows by key.
    timer.start();
    directo.leer("SELECT * FROM V_MV_PreciosHis LIMIT 1");
    const int64_t filas = directo.leer("SELECT COUNT(*) FROM V_MV_PreciosHis");
    directo.leer("SELECT * FROM V_MV_PreciosHis ORDER BY ID LIMIT 2000");
    const double primeraDirecta = milliseconds(timer);
    timer.restart();
    grid.LoadBkDBGrid();
    QApplication::processEvents();
    const double primera = milliseconds(timer);
    const long despues = bench::residentKb();
    fila("first page (probe, count, page list, page)", primera, primeraDirecta);

    // The rows after the key at row 98,000.
    timer.restart();
    directo.leer("SELECT * FROM V_MV_PreciosHis WHERE ID > (SELECT ID FROM V_MV_PreciosHis ORDER BY ID LIMIT 1 "
                 "OFFSET 97999) ORDER BY ID LIMIT 2000");
    const double pagina50Directa = milliseconds(timer);
    timer.restart();
    grid.CargarPagina(50);
    QApplication::processEvents();
    const double pagina50 = milliseconds(timer);
    const QString ordinal50 = grid.MsFlexGrid->TextMatrix(1, 0);
    fila("page 50", pagina50, pagina50Directa);

    // The last rows by key, read back in key order.
    const int64_t ultimas = filas - int64_t(grid.UltimaPagina() - 1) * 2000;
    const QByteArray ultimaSql = QStringLiteral("SELECT * FROM (SELECT * FROM V_MV_PreciosHis ORDER BY ID DESC LIMIT "
                                                "%1) ORDER BY ID")
                                     .arg(ultimas)
                                     .toUtf8();
    timer.restart();
    directo.leer(ultimaSql.constData());
    const double ultimaDirecta = milliseconds(timer);
    timer.restart();
    grid.CargarPagina(grid.UltimaPagina());
    QApplication::processEvents();
    const double ultima = milliseconds(timer);
    fila("last page", ultima, ultimaDirecta);

    std::printf("resident memory: %.1f MB before the grid, %.1f MB after the first page\n", antes / 1024.0,
                despues / 1024.0);
    std::printf("%lld rows, %d pages; page 50 starts at ordinal %s, the last page at %s with %d rows\n",
                static_cast<long long>(filas), grid.UltimaPagina(), qPrintable(ordinal50),
                qPrintable(grid.MsFlexGrid->TextMatrix(1, 0)), grid.MsFlexGrid->Rows() - 1);
    return 0;
}
