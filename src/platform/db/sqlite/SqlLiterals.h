#pragma once

#include <QString>

#include <optional>

namespace platform::db::sqlite::translation {

// A name between double quotes, for SQLite.
QString quoteName(const QString& name);

// A text between apostrophes, apostrophes inside doubled.
QString quoteText(const QString& text);

// A literal that holds a date in one of the program's forms becomes the
// storage form, so that it compares as a date. "yyyymmdd" alone stays a
// text: it cannot be told from a numeric code (the date functions read it
// as a date all the same).
std::optional<QString> dateLiteral(const QString& text);

} // namespace platform::db::sqlite::translation
