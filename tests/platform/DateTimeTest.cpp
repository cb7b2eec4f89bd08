#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

using platform::DateTime;
using platform::formatPattern;

TEST(DateTime, SystemPatternsKeepMonthsAndMinutesApart)
{
    const DateTime t(QDate(2026, 3, 7), QTime(9, 45, 12, 30));
    struct Case
    {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"dd/mm/yy hh:mm", "07/03/26 09:45"},
        {"dd/mm/yy", "07/03/26"},
        {"hh:mm", "09:45"},
        {"dd/mm/yyyy hh:nn:ss", "07/03/2026 09:45:12"},
        {"dd-mm-yyyy hh:nn:ss", "07-03-2026 09:45:12"},
        {"yyyymmdd_hhnnss", "20260307_094512"},
        {"mm-dd-yyyy", "03-07-2026"},
        {"hh:mm:ss", "09:45:12"},
        {"yyyy-mm-dd hh:nn:ss", "2026-03-07 09:45:12"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.format(QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected)) << c.pattern;
    }
}

TEST(DateTime, StorageTextShowsMillisecondsOnlyWhenPresent)
{
    EXPECT_EQ(DateTime(QDate(2026, 1, 2), QTime(3, 4, 5)).toStorageText(), u"2026-01-02 03:04:05");
    EXPECT_EQ(DateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 999)).toStorageText(), u"2026-01-02 03:04:05.999");
}
