#include "platform/db/sqlite/SqlExtensionValues.h"

#include <QLocale>

#include <cmath>

namespace platform::db::sqlite::extensions {

namespace {

// The shortest text that reads back as the same double.
QString doubleText(double d)
{
    if (d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString textArg(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i]))
            return true;
    return false;
}

bool nullResultOnNull(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (!anyNull(argc, argv))
        return false;
    sqlite3_result_null(ctx);
    return true;
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

void resultError(sqlite3_context* ctx, const ServerError& error, const QStringList& values)
{
    resultError(ctx, serverMessage(error, values));
}

QString valueText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return doubleText(sqlite3_value_double(v));
    default:
        return textArg(v);
    }
}

} // namespace platform::db::sqlite::extensions
