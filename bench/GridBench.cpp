// GridBench [server folder]
// Times the paged grid over the million-row price history: the first page of
// a 2,000-row-page statement (probe, count, page list and page) and page 50,
// and the resident memory before and after. Without a folder it builds the
// million-row demo server first (see MillionRowDemo.h).
#include "MillionRowDemo.h"
#include "controls/grid/BkDbGrid.h"
#include "data/DB_Dll.h"
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

// Answers every question with Abort (or a cancel) and prints it, so that a
// failure shows in the output instead of waiting for a person.
class AbortingOperator final : public platform::Operator
{
public:
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        std::printf("question: %s\n", qPrintable(prompt));
        return platform::msgbox::Abort;
    }
    void TimedMsgBox(const QString& prompt, int, const QString&, int) override
    {
        std::printf("message: %s\n", qPrintable(prompt));
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

// Resident set size in kB, from /proc/self/status.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

void report(const char* step, const QElapsedTimer& timer)
{
    std::printf("%-40s %10.1f ms   RSS %8ld kB\n", step, double(timer.nsecsElapsed()) / 1e6, residentKb());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    platform::Runtime::instance().setOperator(std::make_unique<AbortingOperator>());

    const QString folder = bench::millionRowDemo(argc, argv);
    if (folder.isEmpty())
        return 1;
    platform::Runtime::instance().setProgramFolder(QDir(folder).absoluteFilePath(QStringLiteral("..")));
    const QString connection = QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=x;Pwd=y;Connect Timeout=5;")
                                   .arg(QDir(folder).absolutePath(), QString::fromLatin1(demo::kMainDatabase));

    std::printf("RSS before the grid: %ld kB\n", residentKb());
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
    std::printf("RSS after the grid is gone: %ld kB\n", residentKb());
    return 0;
}
