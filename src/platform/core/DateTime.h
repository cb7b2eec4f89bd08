#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <compare>
#include <optional>

namespace platform {

// A wall-clock date and time without a time zone, to the millisecond, as the
// data base stores it. Held as a UTC QDateTime so that no daylight-saving
// rule can shift or reject a value.
class DateTime
{
public:
    DateTime() = default;
    DateTime(QDate date, QTime time = QTime(0, 0));
    static DateTime fromQDateTime(const QDateTime& local);

    bool isValid() const { return m_value.isValid(); }
    QDate date() const { return m_value.date(); }
    QTime time() const { return m_value.time(); }

    DateTime addMSecs(qint64 ms) const;
    DateTime addDays(qint64 days) const;
    DateTime addMonths(int months) const;
    DateTime addYears(int years) const;
    qint64 msecsTo(const DateTime& other) const { return m_value.msecsTo(other.m_value); }

    // The one storage form: "yyyy-MM-dd hh:mm:ss" with ".zzz" when there are milliseconds.
    QString toStorageText() const;
    // Formats with one of the program's patterns ("dd/mm/yyyy hh:nn:ss",
    // "yyyymmdd_hhnnss", ...), see formatPattern().
    QString format(const QString& systemPattern) const;

    auto operator<=>(const DateTime& o) const { return m_value.toMSecsSinceEpoch() <=> o.m_value.toMSecsSinceEpoch(); }
    bool operator==(const DateTime& o) const { return m_value == o.m_value; }

private:
    QDateTime m_value;
};

// Translates a date pattern of the program into Qt's. Letters mean: d day,
// y year, h hour, n minute, s second, m month, except that an "m" run right
// after an hour (blanks and ":" between) or right before a second is a
// minute, so "dd/mm/yy hh:mm" writes the month first and the minutes last.
// "am/pm" and "AM/PM" become Qt's "ap"/"AP"; "fff"/"zzz" are milliseconds.
QString formatPattern(const QString& systemPattern);

} // namespace platform
