// GridBench [server folder]
// Times the paged grid over the million-row price history: the first page of
// a 2,000-row-page statement (probe, count, page list and page) and page 50,
// and the resident memory before and after. Without a folder it builds the
// million-row demo server first (see MillionRowDemo.h).
#include "MillionRowDemo.h"
#include "controls/grid/BkDbGrid.h"
#include "data/DB_Dll.h"
#include "Medidas.h"
#include "demo/DemoBuilder.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

void report(const char* step, const QElapsedTimer& timer)
{
    std::printf("%-40s %10.1f ms   RSS %8ld kB\n", step, double(timer.nsecsElapsed()) / 1e6, bench::residentKb());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    platform::Runtime::instance().setOperator(std::make_unique<bench::AbortingOperator>());

    const QString connection = bench::millionRowConnection(argc, argv);
    if (connection.isEmpty()) {
        return 1;
    }

    std::printf("RSS before the grid: %ld kB\n", bench::residentKb());
    QElapsedTimer timer;
    {
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

        timer.start();
        grid.LoadBkDBGrid();
        report("first page (probe, count, page list)", timer);
        std::printf("  %d pages, first ordinal %s\n", grid.UltimaPagina(),
                    qPrintable(grid.MsFlexGrid->TextMatrix(1, 0)));

        timer.restart();
        grid.CargarPagina(50);
        report("page 50", timer);
        std::printf("  page %d, first ordinal %s, %d rows\n", grid.PaginaActual(),
                    qPrintable(grid.MsFlexGrid->TextMatrix(1, 0)), grid.MsFlexGrid->Rows() - 1);

        timer.restart();
        grid.CargarPagina(grid.UltimaPagina());
        report("last page", timer);
    }
    std::printf("RSS after the grid is gone: %ld kB\n", bench::residentKb());
    return 0;
}
