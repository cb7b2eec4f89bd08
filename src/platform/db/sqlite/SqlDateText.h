#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace platform::db::sqlite {

// A date-time of the embedded engine: a day and the milliseconds into it.
// Stored as text "yyyy-mm-dd hh:mm:ss", with ".fff" only when the
// milliseconds are not zero, so that text order is time order.
struct SqlDateTime
{
    QDate date;
    int msOfDay = 0;

    // Milliseconds since SQL Server's day 0, 1900-01-01 00:00:00.
    int64_t msSinceDayZero() const;
    static SqlDateTime fromMsSinceDayZero(int64_t ms);
    QString toStorageText() const;
};

// SQL Server's day 0.
QDate dayZero();

// Reads a date-time text in one of the forms the program sends: the storage
// form and ISO ("yyyy-mm-dd[ hh:nn[:ss[.fff]]]", also with "T"),
// "yyyymmdd[ hh:nn[:ss[.fff]]]", and day first "dd/mm/yyyy[ ...]" or
// "dd-mm-yyyy[ ...]" (or month first when `monthFirst`). Leading and
// trailing blanks are allowed. Returns nothing for any other text or for a
// day that does not exist.
std::optional<SqlDateTime> parseSqlDateTime(QStringView text, bool monthFirst = false);

// True when `text` is exactly in the storage form (as values read from a
// date-time column are).
bool isStorageDateTime(QStringView text);

} // namespace platform::db::sqlite
