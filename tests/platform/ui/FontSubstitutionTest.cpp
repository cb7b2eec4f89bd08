#include "platform/ui/FontSubstitution.h"

#include "support/TextFit.h"

#include <QApplication>
#include <QFontInfo>

#include <gtest/gtest.h>

TEST(FontSubstitution, TheFormsFacesAreShownInFacesAsWide)
{
    const testing_support::DesignFonts fonts;
    for (const char* face : {"Arial", "Segoe UI", "MS Sans Serif", "Tahoma"}) {
        EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(face))).family(), QStringLiteral("Liberation Sans")) << face;
    }
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Calibri"))).family(), QStringLiteral("Carlito"));
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("Segoe UI"));
    EXPECT_EQ(QApplication::font().pointSize(), 9);
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Liberation Sans"));
}
