#pragma once

#include <QString>

#include <ostream>

// Shows texts as text in GoogleTest's failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
