#pragma once

#include "platform/core/Variant.h"

#include <QString>

// The JSON reader. It turns a JSON text into a tree of platform values:
// objects into platform::Dictionary (insertion order kept, keys compared
// exactly), arrays into platform::Collection, strings into texts, numbers into
// platform::Decimal, true and false into Booleans and null into Null.
//
// It is lenient: "(" and ")" count as blanks, comments of both C forms are
// skipped, commas between members are optional, strings and keys may be
// quoted with double or single quotes or, for keys, not at all. It never
// raises: each problem becomes a line of the error text, ended by CR LF,
// which the caller reads with LastParseErrors() after the parse; a string
// longer than the string builder holds ("Overflow") and memory running out
// ("Out of memory") fail the value being read like any other problem. The error
// text is one module-wide value, so the reader is not reentrant.
namespace json {

// The object or array at the start of `str` (blanks and comments skipped),
// or Empty ("nothing") with the error text "Invalid JSON" when the text
// starts with anything else. Whatever follows the top-level value is not
// examined. A failed value ends the parse; what was read up to it is kept.
platform::Variant ParseDocument(const QString& str);

// The error lines of the last parse; empty after a clean one.
QString LastParseErrors();

// Containers nest at most this deep; a deeper one fails the parse.
inline constexpr int kMaxNesting = 1000;

} // namespace json
