// The file dialogs' filters as Qt receives them.
#include "platform/ui/QtOperator.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilter, EachPatternAlsoMatchesTheOtherCase)
{
    struct Case
    {
        const char* filter;
        const char* qt;
    };
    const Case cases[] = {
        {"Base de Datos de Microsoft Access |*.MDB", "Base de Datos de Microsoft Access (*.MDB *.mdb)"},
        {"Libro de Excel|*.xlsx", "Libro de Excel (*.xlsx *.XLSX)"},
        {"Textos|*.txt;*.Csv|Todos|*.*", "Textos (*.txt *.TXT *.Csv *.csv *.CSV);;Todos (*.*)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::qtFileFilter(QString::fromUtf8(c.filter)), QString::fromUtf8(c.qt)) << c.filter;
    }
}

} // namespace
