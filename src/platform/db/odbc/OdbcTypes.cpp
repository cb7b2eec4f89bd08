// ODBC's types and ADO's: field type codes, reading values, binding parameters.
#include "platform/db/odbc/OdbcInternal.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace platform::db::odbc {

namespace {

bool isMoneyName(const QString& typeName)
{
    return typeName.compare(u"money", Qt::CaseInsensitive) == 0 ||
           typeName.compare(u"smallmoney", Qt::CaseInsensitive) == 0;
}

// Reads a column piece by piece (long texts and binaries arrive in parts).
template <typename Unit>
SQLRETURN readChunks(SQLHSTMT stmt, SQLUSMALLINT index, SQLSMALLINT cType, std::basic_string<Unit>& out, bool& isNull)
{
    constexpr SQLLEN kUnits = 2048;
    // Text arrives with a terminating zero in every part; binaries without.
    constexpr SQLLEN kTerminator = std::is_same_v<Unit, char16_t> ? 1 : 0;
    Unit buffer[kUnits];
    isNull = false;
    out.clear();
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, index, cType, buffer, sizeof(buffer), &indicator);
        if (rc == SQL_NO_DATA) {
            return SQL_SUCCESS;
        }
        if (!SQL_SUCCEEDED(rc)) {
            return rc;
        }
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            return SQL_SUCCESS;
        }
        const SQLLEN room = kUnits - kTerminator;
        SQLLEN units = indicator == SQL_NO_TOTAL ? room : qMin<SQLLEN>(indicator / SQLLEN(sizeof(Unit)), room);
        out.append(buffer, std::size_t(units));
        // Success without truncation means this was the last part.
        if (rc == SQL_SUCCESS || (indicator != SQL_NO_TOTAL && indicator / SQLLEN(sizeof(Unit)) <= room)) {
            return SQL_SUCCESS;
        }
    }
}

template <typename Whole>
SQLRETURN readWholeNumber(SQLHSTMT stmt, SQLUSMALLINT index, SQLSMALLINT cType, Variant& value)
{
    Whole v = 0;
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(stmt, index, cType, &v, sizeof(v), &indicator);
    if (SQL_SUCCEEDED(rc)) {
        value = indicator == SQL_NULL_DATA ? Variant::null() : Variant(int64_t(v));
    }
    return rc;
}

} // namespace

DataTypeEnum adoTypeOf(const SqlColumn& column)
{
    switch (column.sqlType) {
    case SQL_INTEGER:
        return adInteger;
    case SQL_SMALLINT:
        return adSmallInt;
    case SQL_TINYINT:
        return adTinyInt;
    case SQL_BIGINT:
        return adBigInt;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL:
        return adDouble;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        // SQL Server's money arrives as a decimal with four places; its type
        // name tells it apart from a declared decimal(19,4).
        if (isMoneyName(column.typeName) ||
            (column.typeName.isEmpty() && column.scale == 4 && (column.size == 19 || column.size == 10))) {
            return adCurrency;
        }
        return adNumeric;
    case SQL_BIT:
        return adBoolean;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_DATETIME:
        return adDBTimeStamp;
    case SQL_CHAR:
        return adChar;
    case SQL_WCHAR:
        return adWChar;
    case SQL_VARCHAR:
        return adVarChar;
    case SQL_WVARCHAR:
        return adVarWChar;
    case SQL_LONGVARCHAR:
        return adLongVarChar;
    case SQL_WLONGVARCHAR:
        return adLongVarWChar;
    case SQL_BINARY:
        return adBinary;
    case SQL_VARBINARY:
        return adVarBinary;
    case SQL_LONGVARBINARY:
        return adLongVarBinary;
    case SQL_GUID:
        return adGUID;
    default:
        // Anything else (times, XML, driver-specific types) is read as text.
        return adVarWChar;
    }
}

SQLRETURN readValue(SQLHSTMT stmt, SQLUSMALLINT index, const SqlColumn& column, DataTypeEnum adoType, Variant& value)
{
    SQLLEN indicator = 0;
    SQLRETURN rc = SQL_SUCCESS;
    switch (adoType) {
    case adInteger:
    case adSmallInt:
    case adTinyInt:
        // These hold 32 bits at most; MDB Tools converts its whole numbers to no wider type.
        return readWholeNumber<SQLINTEGER>(stmt, index, SQL_C_SLONG, value);
    case adBigInt:
        return readWholeNumber<SQLBIGINT>(stmt, index, SQL_C_SBIGINT, value);
    case adDouble: {
        double v = 0;
        rc = SQLGetData(stmt, index, SQL_C_DOUBLE, &v, sizeof(v), &indicator);
        if (SQL_SUCCEEDED(rc)) {
            value = indicator == SQL_NULL_DATA ? Variant::null() : Variant(v);
        }
        return rc;
    }
    case adBoolean: {
        unsigned char v = 0;
        rc = SQLGetData(stmt, index, SQL_C_BIT, &v, sizeof(v), &indicator);
        if (SQL_SUCCEEDED(rc)) {
            value = indicator == SQL_NULL_DATA ? Variant::null() : Variant(v != 0);
        }
        return rc;
    }
    case adDBTimeStamp: {
        SQL_TIMESTAMP_STRUCT v{};
        rc = SQLGetData(stmt, index, SQL_C_TYPE_TIMESTAMP, &v, sizeof(v), &indicator);
        if (SQL_SUCCEEDED(rc)) {
            if (indicator == SQL_NULL_DATA) {
                value = Variant::null();
            } else {
                // The fraction is in nanoseconds; the program keeps milliseconds.
                value = Variant(DateTime(QDate(v.year, v.month, v.day),
                                         QTime(v.hour, v.minute, v.second, int(v.fraction / 1000000))));
            }
        }
        return rc;
    }
    case adBinary:
    case adVarBinary:
    case adLongVarBinary: {
        std::basic_string<char> bytes;
        bool isNull = false;
        rc = readChunks(stmt, index, SQL_C_BINARY, bytes, isNull);
        if (SQL_SUCCEEDED(rc)) {
            value = isNull ? Variant::null() : Variant(QByteArray(bytes.data(), qsizetype(bytes.size())));
        }
        return rc;
    }
    default:
        break;
    }
    // Texts, and the exact numbers, which are read from their text so that
    // no digit passes through a double.
    std::u16string text;
    bool isNull = false;
    rc = readChunks(stmt, index, SQL_C_WCHAR, text, isNull);
    if (!SQL_SUCCEEDED(rc)) {
        return rc;
    }
    if (isNull) {
        value = Variant::null();
        return rc;
    }
    const QString s = QString::fromStdU16String(text);
    value = adoType == adCurrency || adoType == adNumeric ? exactNumber(s, adoType, column.scale) : Variant(s);
    return rc;
}

Variant exactNumber(const QString& text, DataTypeEnum adoType, int scale)
{
    const QString s = text.trimmed();
    if (scale == 0 && adoType != adCurrency) {
        bool ok = false;
        const qlonglong whole = s.toLongLong(&ok);
        if (ok) {
            return Variant(int64_t(whole));
        }
    }
    if (scale <= 4 || adoType == adCurrency) {
        if (const auto money = Currency::parse(s)) {
            return Variant(*money);
        }
    }
    bool ok = false;
    const double d = s.toDouble(&ok);
    return ok ? Variant(d) : Variant(text);
}

std::optional<ErrorInfo> diagnosticEntry(const QString& sqlState, int32_t nativeError, QString message,
                                         const QString& source, bool stripVendor, bool fromStatement)
{
    if (sqlState.startsWith(u"01") ||
        message.contains(QStringLiteral("changed database context"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    static const QRegularExpression vendorPrefix(QStringLiteral("^(\\[[^\\]]*\\])+\\s*"));
    if (stripVendor) {
        message.remove(vendorPrefix);
    }
    ErrorInfo info;
    info.Description = message;
    info.Source = source;
    info.SQLState = sqlState;
    info.NativeError = nativeError;
    if (sqlState.startsWith(u"08")) {
        info.Number = adErr::Generic;
        // A broken link is reported with the number the program looks for.
        info.NativeError = native::LostLink;
    } else if (sqlState == u"HYT00" || sqlState == u"HYT01") {
        info.Number = adErr::Timeout;
    } else if (sqlState == u"42S02") {
        info.Number = adErr::NoSuchObject;
    } else if (sqlState.startsWith(u"42") || sqlState.startsWith(u"37")) {
        info.Number = adErr::Syntax;
    } else if (sqlState.startsWith(u"22")) {
        info.Number = adErr::TypeMismatch;
    } else if (sqlState.startsWith(u"23")) {
        info.Number = adErr::Constraint;
    } else if (sqlState.startsWith(u"28")) {
        info.Number = adErr::AuthenticationFailed;
    } else {
        // The provider reports any other failure of a statement as an error
        // in the command; only the link itself (and the driver manager,
        // before a link exists) gives the generic number.
        info.Number = fromStatement ? adErr::Syntax : adErr::Generic;
    }
    return info;
}

SQLRETURN Parameters::bind(SQLHSTMT stmt, const std::vector<Variant>& values)
{
    m_slots.clear();
    SQLUSMALLINT marker = 0;
    for (const Variant& v : values) {
        ++marker;
        Slot& slot = m_slots.emplace_back();
        SQLRETURN rc = SQL_SUCCESS;
        switch (v.type()) {
        case VariantType::Empty:
        case VariantType::Null:
            slot.indicator = SQL_NULL_DATA;
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0,
                                  &slot.indicator);
            break;
        case VariantType::Boolean:
            slot.bit = v.toBoolean().value_or(false) ? 1 : 0;
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 1, 0, &slot.bit, 0,
                                  &slot.indicator);
            break;
        case VariantType::Integer:
            slot.integer = v.toInteger().value_or(0);
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 19, 0, &slot.integer, 0,
                                  &slot.indicator);
            break;
        case VariantType::Double:
            slot.real = v.toDouble().value_or(0);
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &slot.real, 0,
                                  &slot.indicator);
            break;
        case VariantType::Currency: {
            // Money goes as its exact decimal text with four places.
            slot.text = v.toCurrency().value_or(Currency()).toFixed(4).toStdU16String();
            slot.indicator = SQLLEN(slot.text.size() * sizeof(char16_t));
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_DECIMAL, 19, 4, slot.text.data(),
                                  slot.indicator, &slot.indicator);
            break;
        }
        case VariantType::Date: {
            const DateTime d = v.toDate().value_or(DateTime());
            slot.timestamp.year = SQLSMALLINT(d.date().year());
            slot.timestamp.month = SQLUSMALLINT(d.date().month());
            slot.timestamp.day = SQLUSMALLINT(d.date().day());
            slot.timestamp.hour = SQLUSMALLINT(d.time().hour());
            slot.timestamp.minute = SQLUSMALLINT(d.time().minute());
            slot.timestamp.second = SQLUSMALLINT(d.time().second());
            slot.timestamp.fraction = SQLUINTEGER(d.time().msec()) * 1000000u;
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3,
                                  &slot.timestamp, sizeof(slot.timestamp), &slot.indicator);
            break;
        }
        case VariantType::Binary: {
            slot.bytes = v.toBinary();
            slot.indicator = SQLLEN(slot.bytes.size());
            const SQLSMALLINT sqlType = slot.bytes.size() > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY;
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_BINARY, sqlType,
                                  SQLULEN(qMax<qsizetype>(1, slot.bytes.size())), 0, slot.bytes.data(), slot.indicator,
                                  &slot.indicator);
            break;
        }
        case VariantType::Decimal:
        case VariantType::Text: {
            slot.text = v.toText().toStdU16String();
            slot.indicator = SQLLEN(slot.text.size() * sizeof(char16_t));
            const SQLSMALLINT sqlType = slot.text.size() > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
            rc = SQLBindParameter(stmt, marker, SQL_PARAM_INPUT, SQL_C_WCHAR, sqlType,
                                  SQLULEN(qMax<std::size_t>(1, slot.text.size())), 0, slot.text.data(), slot.indicator,
                                  &slot.indicator);
            break;
        }
        case VariantType::Dictionary:
        case VariantType::Collection:
            // Objects are no parameter values.
            rc = SQL_ERROR;
            break;
        }
        if (!SQL_SUCCEEDED(rc)) {
            return rc;
        }
    }
    return SQL_SUCCESS;
}

} // namespace platform::db::odbc
