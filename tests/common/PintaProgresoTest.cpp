#include "common/PintaProgreso.h"

#include "common/PictureBox.h"

#include <QPalette>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<common::PictureBox> makeBox()
{
    auto box = std::make_unique<common::PictureBox>();
    QPalette p = box->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    box->setPalette(p);
    box->resize(200, 20);
    return box;
}

constexpr long kBlue = 0xFF0000; // red in the low byte: pure blue

} // namespace

TEST(PintaProgreso, Text)
{
    EXPECT_EQ(common::TextoProgreso(QStringLiteral("Exportando"), 0), QStringLiteral("Exportando %"));
    EXPECT_EQ(common::TextoProgreso(QStringLiteral("Exportando"), 45.5), QStringLiteral("Exportando 46%"));
    EXPECT_EQ(common::TextoProgreso(QStringLiteral("Exportando"), 100), QStringLiteral("Exportando 100%"));
    EXPECT_EQ(common::TextoProgreso(QString(), 7), QStringLiteral(" 7%"));
}

TEST(PintaProgreso, BarCoversThePercentageOfTheWidth)
{
    auto box = makeBox();
    common::PintaProgreso(box.get(), 25, kBlue, QStringLiteral("Cargando"));
    const QImage& img = box->picture();
    // Corners are clear of the centred text: bar colour inside, background outside.
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(Qt::blue));
    EXPECT_EQ(QColor(img.pixel(49, 19)), QColor(Qt::blue));
    EXPECT_EQ(QColor(img.pixel(50, 0)), QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(199, 19)), QColor(Qt::white));
}

TEST(PintaProgreso, TextUnderTheBarIsInverted)
{
    auto box = makeBox();
    common::PintaProgreso(box.get(), 100, kBlue, QStringLiteral("MMMMMMMM"));
    const QImage& img = box->picture();
    bool inverted = false;
    for (int x = 0; x < img.width() && !inverted; ++x) {
        for (int y = 0; y < img.height() && !inverted; ++y) {
            inverted = QColor(img.pixel(x, y)) == QColor(Qt::yellow); // not(blue xor black)
        }
    }
    EXPECT_TRUE(inverted);
}

TEST(PintaProgreso, ZeroDrawsNoBarAndRepaintClearsTheOldOne)
{
    auto box = makeBox();
    common::PintaProgreso(box.get(), 80, kBlue, QStringLiteral("x"));
    common::PintaProgreso(box.get(), 0, kBlue, QStringLiteral("x"));
    const QImage& img = box->picture();
    for (int x = 0; x < img.width(); ++x) {
        for (int y = 0; y < img.height(); ++y) {
            const QColor c(img.pixel(x, y));
            ASSERT_EQ(c.red(), c.blue()) << x << "," << y; // only grey text on white, no blue
        }
    }
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(Qt::white));
    common::PintaProgreso(nullptr, 50, kBlue, QStringLiteral("x"));
}
