#include "platform/ui/FlexGrid.h"

#include "ControlErrorOf.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/KeyCodes.h"
#include "support/LocaleScope.h"
#include "support/PaintCounter.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using platform::ui::FlexGrid;
using platform::ui::rgb;
using platform::ui::toQColor;
using ui_tests::errorOf;
namespace controlErr = platform::ui::controlErr;

namespace {

// A shown grid of 5 rows and 4 columns with texts "r,c" in every cell.
std::unique_ptr<FlexGrid> makeGrid(int rows = 5, int cols = 4)
{
    auto grid = std::make_unique<FlexGrid>();
    grid->setRows(rows);
    grid->setCols(cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            grid->setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        }
    }
    grid->resize(500, 300);
    grid->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    return grid;
}

// The centre of a cell in viewport coordinates, found through the grid's own hit test.
QPoint cellCentre(const FlexGrid& grid, int row, int col)
{
    const QWidget* view = grid.viewport();
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int y = 0; y < view->height(); ++y) {
        if (grid.rowAt(y) == row) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    for (int x = 0; x < view->width(); ++x) {
        if (grid.colAt(x) == col) {
            left = left < 0 ? x : left;
            right = x;
        }
    }
    EXPECT_GE(top, 0) << "row " << row << " not on screen";
    EXPECT_GE(left, 0) << "col " << col << " not on screen";
    return {(left + right) / 2, (top + bottom) / 2};
}

} // namespace

TEST(FlexGrid, StartsWithThePlatformsDefaults)
{
    FlexGrid grid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_TRUE(grid.Redraw());
}

TEST(FlexGrid, TextMatrixRoundTripsEveryCellIncludingFixedOnes)
{
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(3);
    grid.setTextMatrix(0, 0, QStringLiteral("corner"));
    grid.setTextMatrix(0, 2, QStringLiteral("Heading"));
    grid.setTextMatrix(2, 0, QStringLiteral("2"));
    grid.setTextMatrix(2, 2, QStringLiteral("Año ñ"));
    EXPECT_EQ(grid.TextMatrix(0, 0), u"corner");
    EXPECT_EQ(grid.TextMatrix(0, 2), u"Heading");
    EXPECT_EQ(grid.TextMatrix(2, 0), u"2");
    EXPECT_EQ(grid.TextMatrix(2, 2), u"Año ñ");
    EXPECT_EQ(grid.TextMatrix(1, 1), u"");
    grid.setRow(2);
    grid.setCol(2);
    EXPECT_EQ(grid.Text(), u"Año ñ");
    grid.setText(QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(2, 2), u"x");
}

TEST(FlexGrid, InvalidRowsAndColumnsRaiseThePlatformsErrors)
{
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(3);
    const struct
    {
        const char* what;
        std::function<void()> call;
        int32_t number;
    } cases[] = {
        {"TextMatrix row 3", [&] { grid.TextMatrix(3, 0); }, controlErr::InvalidRow},
        {"TextMatrix row -1", [&] { grid.setTextMatrix(-1, 0, {}); }, controlErr::InvalidRow},
        {"TextMatrix col 3", [&] { grid.TextMatrix(0, 3); }, controlErr::InvalidCol},
        {"Row 3", [&] { grid.setRow(3); }, controlErr::InvalidRow},
        {"Col 5", [&] { grid.setCol(5); }, controlErr::InvalidCol},
        {"ColWidth 3", [&] { grid.setColWidth(3, 100); }, controlErr::InvalidCol},
        {"RowSel 4", [&] { grid.setRowSel(4); }, controlErr::InvalidRow},
        {"CellAlignment 10", [&] { grid.setCellAlignment(10); }, controlErr::InvalidPropertyValue},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf(c.call), c.number) << c.what;
    }
    EXPECT_EQ(grid.Row(), 1) << "a failed move leaves the current cell";
}

TEST(FlexGrid, RowsAndColsKeepTheCellsThatRemain)
{
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(3);
    grid.setTextMatrix(1, 1, QStringLiteral("kept"));
    grid.setTextMatrix(2, 2, QStringLiteral("dropped"));
    grid.setCols(5);
    grid.setRows(6);
    EXPECT_EQ(grid.TextMatrix(1, 1), u"kept");
    EXPECT_EQ(grid.TextMatrix(2, 2), u"dropped");
    EXPECT_EQ(grid.TextMatrix(5, 4), u"");
    grid.setRow(5);
    grid.setCols(2);
    grid.setRows(2);
    EXPECT_EQ(grid.TextMatrix(1, 1), u"kept");
    EXPECT_EQ(grid.Row(), 1) << "the current cell moves inside the smaller grid";
    grid.setCols(5);
    EXPECT_EQ(grid.TextMatrix(1, 2), u"") << "a cell cut away does not come back";
}

TEST(FlexGrid, AddItemSplitsAtTabsAndClearKeepsTheShape)
{
    FlexGrid grid;
    grid.setCols(4);
    grid.AddItem(QStringLiteral("1\tA\tB\tC\textra"));
    grid.AddItem(QStringLiteral("0\tfirst"), 1);
    grid.AddItem(QStringLiteral("\tshort"));
    ASSERT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.TextMatrix(1, 1), u"first");
    EXPECT_EQ(grid.TextMatrix(3, 0), u"1");
    EXPECT_EQ(grid.TextMatrix(3, 3), u"C");
    EXPECT_EQ(grid.TextMatrix(4, 1), u"short");
    EXPECT_EQ(grid.TextMatrix(4, 2), u"");
    EXPECT_EQ(errorOf([&] { grid.AddItem({}, 9); }), controlErr::SubscriptOutOfRange);

    grid.setColWidth(2, 0);
    grid.setRow(3);
    grid.setCol(3);
    grid.setCellBackColor(rgb(1, 2, 3));
    grid.setCellFontBold(true);
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Cols(), 4);
    EXPECT_EQ(grid.ColWidth(2), 0);
    EXPECT_EQ(grid.TextMatrix(3, 3), u"");
    EXPECT_EQ(grid.CellBackColor(), 0u);
    EXPECT_FALSE(grid.CellFontBold());
}

TEST(FlexGrid, BindRowsPutsFieldNamesInTheHeadingRowAfterTheFixedColumn)
{
    FlexGrid grid;
    grid.setColWidth(1, 2000);
    grid.BindRows({QStringLiteral("Codigo"), QStringLiteral("Nombre")},
                  {{QStringLiteral("A1"), QStringLiteral("Uno")}, {QStringLiteral("B2"), QStringLiteral("Dos")}});
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 0), u"");
    EXPECT_EQ(grid.TextMatrix(0, 1), u"Codigo");
    EXPECT_EQ(grid.TextMatrix(0, 2), u"Nombre");
    EXPECT_EQ(grid.TextMatrix(2, 2), u"Dos");
    EXPECT_EQ(grid.ColWidth(1), 2000);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
}

TEST(FlexGrid, ColumnWidthsAreTwipsAndZeroHidesTheColumn)
{
    auto grid = makeGrid(5, 4);
    grid->setColWidth(1, 1500);
    grid->setColWidth(2, 20);
    EXPECT_EQ(grid->ColWidth(1), 1500);
    EXPECT_EQ(grid->ColWidth(2), 20) << "the width reads back as set, not rounded to pixels";
    grid->setColWidth(2, -1);
    EXPECT_EQ(grid->ColWidth(2), grid->ColWidth(3)) << "a negative width restores the default";

    // Column 0 is 64 px (960 twips), column 1 is 100 px.
    EXPECT_EQ(grid->colAt(64), 1);
    EXPECT_EQ(grid->colAt(163), 1);
    EXPECT_EQ(grid->colAt(164), 2);
    grid->setColWidth(2, 0);
    EXPECT_EQ(grid->colAt(164), 3) << "a hidden column takes no room";
    grid->setColWidth(0, 0);
    EXPECT_EQ(grid->colAt(0), 1) << "the fixed column can be hidden too";
}

TEST(FlexGrid, CellFormattingAppliesToTheCurrentCellAndReadsBack)
{
    auto grid = makeGrid();
    grid->setRow(2);
    grid->setCol(2);
    grid->setCellBackColor(rgb(192, 232, 232));
    grid->setCellFontBold(true);
    grid->setCellAlignment(FlexGrid::CenterCenter);
    grid->setRow(0);
    grid->setCol(1);
    grid->setCellBackColor(rgb(217, 246, 210));

    grid->setRow(3);
    EXPECT_EQ(grid->CellBackColor(), 0u) << "other cells keep the default";
    EXPECT_FALSE(grid->CellFontBold());
    EXPECT_EQ(grid->CellAlignment(), FlexGrid::General);
    grid->setRow(2);
    grid->setCol(2);
    EXPECT_EQ(grid->CellBackColor(), rgb(192, 232, 232));
    EXPECT_TRUE(grid->CellFontBold());
    EXPECT_EQ(grid->CellAlignment(), FlexGrid::CenterCenter);
    grid->setCellFontBold(false);
    EXPECT_FALSE(grid->CellFontBold());

    // The painted cells show the colours: a data cell and the heading cell.
    grid->setRow(4); // keep the current cell away from the painted ones
    QApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    const QPoint data = cellCentre(*grid, 2, 2);
    const QPoint heading = cellCentre(*grid, 0, 1);
    const QPoint plain = cellCentre(*grid, 3, 3);
    EXPECT_EQ(image.pixelColor(data.x() - 20, data.y()), QColor(192, 232, 232));
    EXPECT_EQ(image.pixelColor(heading.x() - 20, heading.y()), QColor(217, 246, 210));
    EXPECT_EQ(image.pixelColor(plain.x() - 20, plain.y()), toQColor(0x80000005u));
}

// General alignment puts numbers on the right and texts on the left; a
// number written with the user's decimal comma is a number too.
TEST(FlexGrid, GeneralAlignmentTellsNumbersInEitherFormFromTexts)
{
    const testing_support::LocaleScope espanol(QLocale(QLocale::Spanish, QLocale::Argentina));
    auto grid = makeGrid(5, 2);
    grid->setColWidth(1, 3000);
    const struct
    {
        int row;
        const char* text;
        bool right;
    } casos[] = {{1, "633.88", true}, {2, "633,88", true}, {3, "abc", false}, {4, "18/03/2024", false}};
    for (const auto& caso : casos) {
        grid->setTextMatrix(caso.row, 1, QString::fromUtf8(caso.text));
    }
    grid->setRow(0);
    QApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    for (const auto& caso : casos) {
        const QPoint centre = cellCentre(*grid, caso.row, 1);
        // The first column of the cell's middle line that is not its back colour.
        int ink = -1;
        for (int x = centre.x() - 90; x < centre.x() + 90 && ink < 0; ++x) {
            if (image.pixelColor(x, centre.y()) != image.pixelColor(centre.x() - 95, centre.y())) {
                ink = x;
            }
        }
        EXPECT_EQ(ink > centre.x(), caso.right) << caso.text << " starts at " << ink;
    }
}

TEST(FlexGrid, SystemColoursComeFromThePalette)
{
    EXPECT_EQ(toQColor(rgb(255, 0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0xFF0000u), QColor(0, 0, 255)) << "&HFF0000 is blue";
    EXPECT_EQ(toQColor(0xFFFFu), QColor(255, 255, 0)) << "&HFFFF is yellow";
    EXPECT_EQ(toQColor(0x8000000Fu), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(toQColor(0x80000005u), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(toQColor(0x8000000Du), QApplication::palette().color(QPalette::Highlight));
}

TEST(FlexGrid, RedrawOffSuspendsPaintingUntilSwitchedOn)
{
    auto grid = makeGrid();
    QApplication::processEvents();

    testing_support::PaintCounter counter(grid->viewport());

    grid->setRedraw(false);
    for (int r = 1; r < grid->Rows(); ++r) {
        grid->setRow(r);
        grid->setCellBackColor(rgb(200, 200, 200));
        grid->setTextMatrix(r, 1, QStringLiteral("changed"));
    }
    grid->AddItem(QStringLiteral("\tnew"));
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_FALSE(grid->Redraw());

    grid->setRedraw(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }));
    EXPECT_EQ(grid->TextMatrix(5, 1), u"new");
}

TEST(FlexGrid, RedrawPauseGivesBackTheRedrawItFound)
{
    auto grid = makeGrid();
    for (const bool before : {true, false}) {
        grid->setRedraw(before);
        {
            const platform::ui::RedrawPause pausa(*grid);
            EXPECT_FALSE(grid->Redraw());
        }
        EXPECT_EQ(grid->Redraw(), before);
    }
}

TEST(FlexGrid, MovingTheCurrentCellRaisesLeaveEnterAndRowColChange)
{
    auto grid = makeGrid();
    std::vector<QString> log;
    QObject::connect(grid.get(), &FlexGrid::LeaveCell,
                     [&] { log.push_back(QStringLiteral("leave %1,%2").arg(grid->Row()).arg(grid->Col())); });
    QObject::connect(grid.get(), &FlexGrid::EnterCell,
                     [&] { log.push_back(QStringLiteral("enter %1,%2").arg(grid->Row()).arg(grid->Col())); });
    QObject::connect(grid.get(), &FlexGrid::RowColChange, [&] { log.push_back(QStringLiteral("change")); });

    grid->setRow(3);
    grid->setRow(3); // no change, no events
    grid->setCol(2);
    const std::vector<QString> expected = {QStringLiteral("leave 1,1"), QStringLiteral("enter 3,1"),
                                           QStringLiteral("change"),    QStringLiteral("leave 3,1"),
                                           QStringLiteral("enter 3,2"), QStringLiteral("change")};
    EXPECT_EQ(log, expected);
    grid->setColSel(3);
    EXPECT_EQ(grid->ColSel(), 3);
    grid->setRow(1);
    EXPECT_EQ(grid->RowSel(), 1) << "moving the current cell collapses the selection";
    EXPECT_EQ(grid->ColSel(), 2);
}

TEST(FlexGrid, KeysReachTheHostBeforeTheGridAndTheCodeIsTakenBack)
{
    auto grid = makeGrid();
    grid->setFocus();
    std::vector<std::pair<int, int>> downs;
    int replaceWith = -1;
    QObject::connect(grid.get(), &FlexGrid::KeyDown, [&](int& keyCode, int shift) {
        // Shift and Ctrl have key-down events of their own (16, 17), as on the platform.
        if (keyCode == platform::ui::keys::Shift || keyCode == platform::ui::keys::Control) {
            return;
        }
        downs.emplace_back(keyCode, shift);
        if (replaceWith >= 0) {
            keyCode = replaceWith;
        }
    });
    std::vector<int> presses;
    QObject::connect(grid.get(), &FlexGrid::KeyPress, [&](int& keyAscii) { presses.push_back(keyAscii); });
    std::vector<int> ups;
    QObject::connect(grid.get(), &FlexGrid::KeyUp, [&](int& keyCode, int) { ups.push_back(keyCode); });

    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->Col(), 1) << "Shift extends the selection instead";
    EXPECT_EQ(grid->ColSel(), 2);

    replaceWith = 0;
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2) << "a host that clears the code stops the move";
    replaceWith = platform::ui::keys::Up;
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 1) << "a changed code is handled as the new key";
    replaceWith = -1;

    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 1) << "the first data row is the top";
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 3);

    QTest::keyClick(grid.get(), Qt::Key_A);
    QTest::keyClick(grid.get(), Qt::Key_Return);

    ASSERT_GE(downs.size(), 7u);
    EXPECT_EQ(downs[0], std::make_pair(40, 0));
    EXPECT_EQ(downs[1], std::make_pair(39, 1));
    EXPECT_EQ(downs[5], std::make_pair(35, 2));
    EXPECT_EQ(downs[6].first, 65);
    EXPECT_EQ(presses, (std::vector<int>{'a', 13}));
    EXPECT_EQ(ups.back(), 13);
}

TEST(FlexGrid, MouseButtonsMoveTheCellAndRaiseMouseDownAndClick)
{
    auto grid = makeGrid();
    struct Down
    {
        int button, shift;
        float x, y;
    };
    std::vector<Down> downs;
    int clicks = 0, doubles = 0;
    QObject::connect(grid.get(), &FlexGrid::MouseDown, [&](int button, int shift, float x, float y) {
        downs.push_back({button, shift, x, y});
    });
    QObject::connect(grid.get(), &FlexGrid::Click, [&] { ++clicks; });
    QObject::connect(grid.get(), &FlexGrid::DblClick, [&] { ++doubles; });

    const QPoint target = cellCentre(*grid, 3, 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, target);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 1);
    const QPoint inControl = grid->viewport()->mapTo(grid.get(), target);
    EXPECT_FLOAT_EQ(downs[0].x, float(inControl.x() * 15));
    EXPECT_FLOAT_EQ(downs[0].y, float(inControl.y() * 15));

    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, cellCentre(*grid, 1, 1));
    EXPECT_EQ(grid->Row(), 3) << "the right button does not move the cell";
    EXPECT_EQ(downs.back().button, 2);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(*grid, 0, 3));
    EXPECT_EQ(grid->Row(), 1) << "a heading selects its column";
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->RowSel(), 4);

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(*grid, 2, 1));
    EXPECT_EQ(doubles, 1);
}

TEST(FlexGrid, KeyboardMovesScrollTheCurrentRowIntoView)
{
    auto grid = makeGrid(200, 3);
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 199);
    QApplication::processEvents();
    const QPoint last = cellCentre(*grid, 199, 1);
    EXPECT_EQ(grid->rowAt(last.y()), 199);
    EXPECT_EQ(grid->rowAt(2), 0) << "the fixed row stays on top";
}
