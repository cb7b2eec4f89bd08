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

// The numeric patterns are written digit by digit: as Qt writes them.
TEST(DateTime, NumericPatternsWriteWhatQtWrites)
{
    const char* patterns[] = {"dd/mm/yyyy hh:nn:ss", "d/m/yy h:n:s", "yyyymmdd_hhnnss", "hh:nn:ss.fff",
                              "dd mmm yyyy",         "hh:nn AM/PM",  "'x'dd",           "yyyy-mm-dd hh:nn:ss"};
    const DateTime dates[] = {DateTime(QDate(2026, 3, 7), QTime(9, 45, 12, 30)),
                              DateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999)),
                              DateTime(QDate(2024, 1, 1), QTime(0, 0)), DateTime(QDate(812, 5, 4), QTime(7, 8, 9))};
    for (const char* pattern : patterns) {
        for (const DateTime& d : dates) {
            const QString p = QString::fromUtf8(pattern);
            EXPECT_EQ(d.format(p), QDateTime(d.date(), d.time()).toString(formatPattern(p))) << pattern;
        }
    }
}

TEST(DateTime, StorageTextShowsMillisecondsOnlyWhenPresent)
{
    EXPECT_EQ(DateTime(QDate(2026, 1, 2), QTime(3, 4, 5)).toStorageText(), u"2026-01-02 03:04:05");
    EXPECT_EQ(DateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 999)).toStorageText(), u"2026-01-02 03:04:05.999");
    // Early years as Qt writes them.
    EXPECT_EQ(DateTime(QDate(812, 5, 4), QTime(7, 8, 9)).toStorageText(),
              QDateTime(QDate(812, 5, 4), QTime(7, 8, 9)).toString(u"yyyy-MM-dd HH:mm:ss"));
}
