// Times the flex grid with a full page of the paged grid: 2,000 rows of 20
// columns filled cell by cell, bound at once, banded through the current
// cell, and painted.
#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>

#include <utility>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 2000;
constexpr int kCols = 20;

void report(const char* step, const QElapsedTimer& timer)
{
    std::printf("%-44s %8.1f ms\n", step, double(timer.nsecsElapsed()) / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    platform::ui::FlexGrid grid;
    grid.resize(1200, 700);
    grid.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    grid.setRedraw(false);
    grid.setRows(kRows + 1);
    grid.setCols(kCols + 1);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= kCols; ++c) {
            grid.setTextMatrix(r, c, QStringLiteral("R%1C%2").arg(r).arg(c));
        }
    }
    grid.setRedraw(true);
    report("fill 2000 x 20 by TextMatrix (Redraw off)", timer);

    QStringList fields;
    for (int c = 1; c <= kCols; ++c) {
        fields << QStringLiteral("Campo%1").arg(c);
    }
    std::vector<QStringList> records(kRows);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            records[std::size_t(r)] << QStringLiteral("R%1C%2").arg(r).arg(c);
        }
    }
    timer.restart();
    grid.BindRows(fields, std::move(records));
    report("bind 2000 x 20 at once", timer);

    timer.restart();
    for (int r = 1; r <= kRows; ++r) {
        grid.setTextMatrix(r, 0, QString::number(r));
        if (r % 2 == 0) {
            grid.setRow(r);
            for (int c = 1; c <= kCols; ++c) {
                grid.setCol(c);
                grid.setCellBackColor(0x8000000Fu);
            }
        }
    }
    report("number and band through the current cell", timer);

    timer.restart();
    for (int i = 0; i < 20; ++i) {
        grid.setRow(1 + i * 100);
        (void)grid.viewport()->grab();
    }
    report("paint the visible page 20 times", timer);
    return 0;
}
