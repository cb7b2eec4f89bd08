#include "platform/db/sqlite/SqliteTypes.h"

#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlMoneyText.h"
#include "platform/db/sqlite/SqlWholeText.h"

#include <algorithm>
#include <cmath>

#include <sqlite3.h>

#include <limits>
#include <unordered_map>

namespace platform::db::sqlite {

namespace {

struct Declared
{
    QString base;
    QList<int> args;
    bool max = false;
};

Declared splitDeclared(const QString& declared)
{
    Declared d;
    QString t = declared.toLower();
    t.remove(u'[').remove(u']');
    t = t.trimmed();
    const qsizetype open = t.indexOf(u'(');
    d.base = (open < 0 ? t : t.left(open)).simplified();
    if (open >= 0) {
        const qsizetype close = t.indexOf(u')', open);
        const QString inner = t.mid(open + 1, close < 0 ? -1 : close - open - 1);
        for (const QString& part : inner.split(u',')) {
            const QString p = part.trimmed();
            if (p == u"max")
                d.max = true;
            else
                d.args.push_back(p.toInt());
        }
    }
    return d;
}

ColumnInfo make(const QString& name, DataTypeEnum type, int64_t size, int precision = 0, int scale = 0)
{
    ColumnInfo c;
    c.name = name;
    c.type = type;
    c.definedSize = size;
    c.precision = precision;
    c.scale = scale;
    return c;
}

std::optional<Currency> currencyOf(const Variant& stored)
{
    switch (stored.type()) {
    case VariantType::Integer:
        return stored.toCurrency();
    case VariantType::Double: {
        // Money is stored as a real of at most four decimals: scaled, it lies
        // within rounding of a whole number of ten-thousandths.
        const double value = *stored.toDouble();
        if (const std::optional<Currency> end = moneyRangeEnd(value))
            return end;
        const double scaled = value * Currency::kScale;
        const double units = std::nearbyint(scaled);
        if (std::isfinite(scaled) && std::fabs(units) < 9.0e15 &&
            std::fabs(scaled - units) <= 1e-6 * std::max(1.0, std::fabs(units)))
            return Currency::fromUnits(static_cast<int64_t>(units));
        if (auto c = Currency::parse(QString::number(value, 'f', 10)))
            return c;
        return stored.toCurrency();
    }
    case VariantType::Text:
        return Currency::parse(stored.toText().trimmed());
    default:
        return std::nullopt;
    }
}

} // namespace

namespace {

// The storage form "yyyy-mm-dd hh:mm:ss[.fff]" read by position: nearly every
// value read back has it, and the general patterns below cost far more.
std::optional<DateTime> parseStorageForm(const QString& t)
{
    if (t.size() != 19 && t.size() != 23)
        return std::nullopt;
    auto digits = [&t](int at, int n, int& out) {
        out = 0;
        for (int i = at; i < at + n; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9')
                return false;
            out = out * 10 + (c - u'0');
        }
        return true;
    };
    int y, mo, d, h, mi, sec, ms = 0;
    if (t[4] != u'-' || t[7] != u'-' || t[10] != u' ' || t[13] != u':' || t[16] != u':' ||
        (t.size() == 23 && t[19] != u'.'))
        return std::nullopt;
    if (!digits(0, 4, y) || !digits(5, 2, mo) || !digits(8, 2, d) || !digits(11, 2, h) || !digits(14, 2, mi) ||
        !digits(17, 2, sec) || (t.size() == 23 && !digits(20, 3, ms)))
        return std::nullopt;
    const QDate date(y, mo, d);
    const QTime time(h, mi, sec, ms);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return DateTime(date, time);
}

} // namespace

std::optional<DateTime> parseDateText(const QString& text)
{
    if (auto fast = parseStorageForm(text))
        return fast;
    const auto d = parseSqlDateTime(text);
    if (!d)
        return std::nullopt;
    return DateTime(d->date, QTime::fromMSecsSinceStartOfDay(d->msOfDay));
}

namespace {

ColumnInfo describedColumn(const QString& name, const QString& declared)
{
    if (declared.trimmed().isEmpty())
        return make(name, adEmpty, 0);
    const Declared d = splitDeclared(declared);
    const QString& b = d.base;
    const int n = d.args.isEmpty() ? 0 : d.args.front();
    if (b == u"int" || b == u"integer" || b == u"mediumint")
        return make(name, adInteger, 4, 10);
    if (b == u"smallint")
        return make(name, adSmallInt, 2, 5);
    if (b == u"tinyint")
        return make(name, adTinyInt, 1, 3);
    if (b == u"bigint")
        return make(name, adBigInt, 8, 19);
    if (b == u"float" || b == u"real" || b == u"double" || b == u"double precision")
        return make(name, adDouble, 8, 15);
    if (b == u"money" || b == u"smallmoney")
        return make(name, adCurrency, 8, 19, 4);
    if (b == u"decimal" || b == u"numeric") {
        const int precision = d.args.isEmpty() ? 18 : d.args.front();
        const int scale = d.args.size() > 1 ? d.args.at(1) : 0;
        return make(name, adNumeric, 19, precision, scale);
    }
    if (b == u"bit" || b == u"boolean")
        return make(name, adBoolean, 2);
    if (b == u"datetime" || b == u"smalldatetime" || b == u"date" || b == u"datetime2")
        return make(name, adDBTimeStamp, 16, 23, 3);
    if (b == u"varchar")
        return d.max ? make(name, adLongVarChar, 2147483647) : make(name, adVarChar, n > 0 ? n : 8000);
    if (b == u"nvarchar")
        return d.max ? make(name, adLongVarWChar, 1073741823) : make(name, adVarWChar, n > 0 ? n : 4000);
    if (b == u"char")
        return make(name, adChar, n > 0 ? n : 1);
    if (b == u"nchar")
        return make(name, adWChar, n > 0 ? n : 1);
    if (b == u"text")
        return make(name, adLongVarChar, 2147483647);
    if (b == u"ntext")
        return make(name, adLongVarWChar, 1073741823);
    if (b == u"image")
        return make(name, adLongVarBinary, 2147483647);
    if (b == u"varbinary")
        return d.max ? make(name, adLongVarBinary, 2147483647) : make(name, adVarBinary, n > 0 ? n : 8000);
    if (b == u"binary")
        return make(name, adBinary, n > 0 ? n : 1);
    if (b == u"uniqueidentifier")
        return make(name, adGUID, 16);
    // Other names follow SQLite's own affinity rules.
    if (b.contains(u"int"))
        return make(name, adBigInt, 8, 19);
    if (b.contains(u"char") || b.contains(u"clob") || b.contains(u"text"))
        return make(name, adVarWChar, n > 0 ? n : 4000);
    if (b.contains(u"blob"))
        return make(name, adLongVarBinary, 2147483647);
    if (b.contains(u"real") || b.contains(u"floa") || b.contains(u"doub"))
        return make(name, adDouble, 8, 15);
    return make(name, adNumeric, 19, 18, 4);
}

} // namespace

ColumnInfo columnForDeclaredType(const QString& name, const QString& declared)
{
    // A data base declares few types, and every statement reads them again.
    thread_local std::unordered_map<QString, ColumnInfo> described;
    auto known = described.find(declared);
    if (known == described.end()) {
        if (described.size() >= 1000)
            described.clear();
        known = described.emplace(declared, describedColumn(QString(), declared)).first;
    }
    ColumnInfo column = known->second;
    column.name = name;
    return column;
}

void typeFromValues(ColumnInfo& column, const std::vector<std::vector<Variant>>& rows, std::size_t index)
{
    bool integers = false, doubles = false, texts = false, binaries = false, wide = false, allDates = true;
    int64_t longest = 0;
    for (const auto& row : rows) {
        const Variant& v = row[index];
        switch (v.type()) {
        case VariantType::Integer: {
            integers = true;
            const int64_t i = *v.toInteger();
            wide = wide || i > std::numeric_limits<int32_t>::max() || i < std::numeric_limits<int32_t>::min();
            break;
        }
        case VariantType::Double:
            doubles = true;
            break;
        case VariantType::Text: {
            texts = true;
            const QString t = v.toText();
            longest = std::max<int64_t>(longest, t.size());
            allDates = allDates && isStorageDateTime(t);
            break;
        }
        case VariantType::Binary:
            binaries = true;
            longest = std::max<int64_t>(longest, v.toBinary().size());
            break;
        default:
            break;
        }
    }
    if (binaries)
        column.type = adLongVarBinary, column.definedSize = std::max<int64_t>(longest, 1);
    else if (texts && allDates && !integers && !doubles)
        column.type = adDBTimeStamp, column.definedSize = 16, column.precision = 23, column.scale = 3;
    else if (texts)
        column.type = adVarWChar, column.definedSize = std::max<int64_t>(longest, 1);
    else if (doubles)
        column.type = adDouble, column.definedSize = 8, column.precision = 15;
    else if (wide)
        column.type = adBigInt, column.definedSize = 8, column.precision = 19;
    else
        column.type = adInteger, column.definedSize = 4, column.precision = 10;
}

namespace {

// Hands a column's stored value, as its own type, to `take`. The value is
// looked up once and read through sqlite3_value_ calls, which SQLite allows
// while one thread at a time uses the connection.
template <typename Take> auto takeStorage(sqlite3_stmt* statement, int column, Take take)
{
    sqlite3_value* value = sqlite3_column_value(statement, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return take(int64_t(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return take(sqlite3_value_double(value));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return take(QString::fromUtf8(text, sqlite3_value_bytes(value)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_value_blob(value));
        return take(QByteArray(data, sqlite3_value_bytes(value)));
    }
    default:
        return take(Variant::null());
    }
}

} // namespace

Variant readStorage(sqlite3_stmt* statement, int column)
{
    return takeStorage(statement, column, [](auto&& value) { return Variant(std::forward<decltype(value)>(value)); });
}

void appendStorage(std::vector<Variant>& row, sqlite3_stmt* statement, int column)
{
    takeStorage(statement, column, [&row](auto&& value) { row.emplace_back(std::forward<decltype(value)>(value)); });
}

Variant fromStorage(const Variant& stored, const ColumnInfo& column)
{
    if (stored.isNull())
        return stored;
    switch (column.type) {
    case adInteger:
    case adSmallInt:
    case adTinyInt:
    case adBigInt:
        if (stored.type() == VariantType::Integer)
            return stored;
        if (stored.type() == VariantType::Double) {
            const double d = *stored.toDouble();
            return d == double(int64_t(d)) ? Variant(int64_t(d)) : stored;
        }
        if (auto c = Currency::parse(stored.toText().trimmed()); c && c->rounded(0) == *c)
            return Variant(c->units() / Currency::kScale);
        return stored;
    case adBoolean:
        if (auto b = stored.toBoolean())
            return Variant(*b);
        return stored;
    case adDouble:
    case adSingle:
        if (auto d = stored.toDouble())
            return Variant(*d);
        return stored;
    case adCurrency:
        if (auto c = currencyOf(stored))
            return Variant(*c);
        return stored;
    case adNumeric:
        // A whole number of a decimal without a fraction stays whole, as the
        // provider of SQL Server reads it.
        if (column.scale == 0 && stored.type() == VariantType::Integer)
            return stored;
        if (column.scale <= 4) {
            if (auto c = currencyOf(stored))
                return Variant(*c);
        } else if (auto d = stored.toDouble()) {
            return Variant(*d);
        }
        return stored;
    case adDBTimeStamp:
        if (stored.type() == VariantType::Text) {
            if (auto d = parseDateText(stored.toText()))
                return Variant(*d);
        }
        return stored;
    case adVarChar:
    case adVarWChar:
    case adChar:
    case adWChar:
    case adLongVarChar:
    case adLongVarWChar:
    case adGUID:
        return stored.type() == VariantType::Text ? stored : Variant(stored.toText());
    case adVarBinary:
    case adLongVarBinary:
    case adBinary:
        return stored.type() == VariantType::Binary ? stored : Variant(stored.toBinary());
    default:
        return stored;
    }
}

std::optional<Variant> toStorage(const Variant& value, const QString& declared)
{
    if (value.isBlank())
        return Variant::null();
    const ColumnInfo c = columnForDeclaredType(QString(), declared);
    switch (c.type) {
    case adInteger:
    case adSmallInt:
    case adTinyInt:
    case adBigInt: {
        if (value.type() == VariantType::Boolean)
            return Variant(int64_t(*value.toBoolean() ? 1 : 0));
        // Within the range of the column's type, as SQL Server keeps it.
        const WholeType& type = wholeType(c.type == adInteger    ? 32
                                          : c.type == adSmallInt ? 16
                                          : c.type == adTinyInt  ? 8
                                                                 : 64);
        if (auto i = value.toInteger(); i && *i >= type.low && *i <= type.high)
            return Variant(*i);
        return std::nullopt;
    }
    case adBoolean:
        if (auto b = value.toBoolean())
            return Variant(int64_t(*b ? 1 : 0));
        return std::nullopt;
    case adDouble:
        if (auto d = value.toDouble())
            return Variant(*d);
        return std::nullopt;
    case adCurrency:
    case adNumeric:
        if (c.type == adNumeric && c.scale > 4) {
            if (auto d = value.toDouble())
                return Variant(*d);
            return std::nullopt;
        }
        if (auto m = value.toCurrency())
            return Variant(*m);
        return std::nullopt;
    case adDBTimeStamp:
        if (value.type() == VariantType::Date)
            return value;
        if (value.type() == VariantType::Text) {
            if (auto d = parseDateText(value.toText()))
                return Variant(*d);
        }
        return std::nullopt;
    case adVarBinary:
    case adLongVarBinary:
    case adBinary:
        return Variant(value.toBinary());
    case adEmpty:
        return value;
    default:
        if (value.type() == VariantType::Text || value.type() == VariantType::Binary)
            return value;
        if (value.type() == VariantType::Boolean)
            return Variant(QStringLiteral("%1").arg(*value.toBoolean() ? 1 : 0));
        return Variant(value.toText());
    }
}

int bindStorage(sqlite3_stmt* statement, int index, const Variant& value)
{
    switch (value.type()) {
    case VariantType::Empty:
    case VariantType::Null:
        return sqlite3_bind_null(statement, index);
    case VariantType::Boolean:
        return sqlite3_bind_int64(statement, index, *value.toBoolean() ? 1 : 0);
    case VariantType::Integer:
        return sqlite3_bind_int64(statement, index, *value.toInteger());
    case VariantType::Double:
        return sqlite3_bind_double(statement, index, *value.toDouble());
    case VariantType::Binary: {
        const QByteArray b = value.toBinary();
        return sqlite3_bind_blob64(statement, index, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
    }
    case VariantType::Currency:
    case VariantType::Decimal:
    case VariantType::Text:
    case VariantType::Date: {
        // Currency and decimals as their exact text (the column's affinity
        // stores it as a number), dates in the one storage form.
        const QByteArray t = value.toText().toUtf8();
        return sqlite3_bind_text64(statement, index, t.constData(), sqlite3_uint64(t.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    case VariantType::Dictionary:
    case VariantType::Collection:
        return SQLITE_MISMATCH;
    }
    return SQLITE_MISUSE;
}

} // namespace platform::db::sqlite
