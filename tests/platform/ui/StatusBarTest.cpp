#include "platform/ui/StatusBar.h"

#include "ControlErrorOf.h"
#include "platform/core/Runtime.h"
#include "platform/ui/ControlError.h"

#include <QLabel>

#include <gtest/gtest.h>

using platform::ui::Panel;
using platform::ui::StatusBar;
using ui_tests::errorOf;
namespace controlErr = platform::ui::controlErr;

namespace {

// The seven panels of the main window's bar.
void addMainPanels(StatusBar& bar)
{
    for (const char* key : {"VERSION", "SERVER", "BASEDEDATOS", "USUARIO", "CAJA", "", "MENSAJE"}) {
        bar.AddPanel(QString::fromLatin1(key));
    }
}

} // namespace

TEST(StatusBar, PanelsAreReachedByKeyAndByPosition)
{
    StatusBar bar;
    addMainPanels(bar);
    ASSERT_EQ(bar.PanelCount(), 7);
    bar.Panels(QStringLiteral("SERVER")).setText(QStringLiteral("Srv: demo"));
    bar.Panels(QStringLiteral("mensaje")).setText(QStringLiteral("Listo"));
    EXPECT_EQ(bar.Panels(2).Text(), u"Srv: demo");
    EXPECT_EQ(bar.Panels(7).Text(), u"Listo");
    EXPECT_EQ(bar.Panels(QStringLiteral("Mensaje")).Index(), 7);
    EXPECT_EQ(bar.Panels(6).Key(), u"");
    EXPECT_EQ(bar.Panels(1).Text(), u"");

    bar.Panels(4).setToolTipText(QStringLiteral("Uid: demo"));
    EXPECT_EQ(bar.Panels(QStringLiteral("USUARIO")).ToolTipText(), u"Uid: demo");
}

TEST(StatusBar, MissingPanelsRaiseThePlatformsErrors)
{
    StatusBar bar;
    addMainPanels(bar);
    EXPECT_EQ(errorOf([&] { bar.Panels(QStringLiteral("FECHA")); }), controlErr::ElementNotFound);
    EXPECT_EQ(errorOf([&] { bar.Panels(QString()); }), controlErr::ElementNotFound) << "a panel without key";
    EXPECT_EQ(errorOf([&] { bar.Panels(0); }), controlErr::IndexOutOfBounds);
    EXPECT_EQ(errorOf([&] { bar.Panels(8); }), controlErr::IndexOutOfBounds);
    EXPECT_EQ(errorOf([&] { bar.AddPanel(QStringLiteral("caja")); }), controlErr::KeyNotUnique);
    EXPECT_EQ(bar.PanelCount(), 7);
}

TEST(StatusBar, WidthsAreTwips)
{
    StatusBar bar;
    addMainPanels(bar);
    bar.resize(800, 24);
    EXPECT_EQ(bar.Width(), 12000);
    const double shares[] = {0.05, 0.15, 0.15, 0.15, 0.10, 0.10, 0.30};
    for (int i = 1; i <= 7; ++i) {
        bar.Panels(i).setWidth(int(bar.Width() * shares[i - 1]));
    }
    EXPECT_EQ(bar.Panels(1).Width(), 600);
    EXPECT_EQ(bar.Panels(7).Width(), 3600);
    const auto labels = bar.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 7);
    EXPECT_EQ(labels.at(6)->width(), 240) << "3600 twips are 240 pixels";
}

TEST(StatusBar, DatePanelShowsTodayFromTheProgramClock)
{
    platform::Runtime::instance().setClock([] { return platform::DateTime(QDate(2025, 3, 7), QTime(10, 0)); });
    StatusBar bar;
    Panel& panel = bar.AddPanel();
    panel.setText(QStringLiteral("ignored"));
    panel.setStyle(Panel::Style::Date);
    const auto labels = bar.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.at(0)->text(), u"07/03/2025");
    panel.setStyle(Panel::Style::Text);
    EXPECT_EQ(labels.at(0)->text(), u"ignored");
}
