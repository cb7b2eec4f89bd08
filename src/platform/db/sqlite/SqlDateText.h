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

// How a text reads as a date-time.
enum class DateReading {
    Date,       // a date-time
    OutOfRange, // written as one, but no such day or time (SQL Server's error 242)
    NotADate,   // no form of date-time (SQL Server's error 241)
};

struct DateText
{
    DateReading reading = DateReading::NotADate;
    SqlDateTime value;
    // The text names a day (not only a time of day, not blank).
    bool hasDay = false;
};

// Reads a date-time text as SQL Server reads it for a date-time with a
// day-first login: "dd/mm/yyyy", "dd-mm-yyyy" or "dd.mm.yyyy" (or month
// first when `monthFirst`), two-digit years with the cut-off 2049 (49 is
// 2049, 50 is 1950), "yyyymmdd", the storage form and ISO "yyyy-mm-dd"
// (also with "T" before the time), each with an optional time
// "hh:nn[:ss[.fff]]" (or ":fff", thousandths) and AM or PM; a time alone is on day 0, and a blank
// text is day 0 itself. Blanks around the text are allowed. Years before 1753
// are out of range, as for SQL Server's datetime.
DateText readDateText(QStringView text, bool monthFirst = false);

// The date-time of a text that reads as one.
std::optional<SqlDateTime> parseSqlDateTime(QStringView text, bool monthFirst = false);

// True when `text` is exactly in the storage form (as values read from a
// date-time column are).
bool isStorageDateTime(QStringView text);

} // namespace platform::db::sqlite
