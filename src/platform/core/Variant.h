#pragma once

#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"
#include "platform/core/Decimal.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

namespace platform {

class Collection;
class Dictionary;

enum class VariantType {
    Empty,
    Null,
    Boolean,
    Integer,
    Double,
    Currency,
    Text,
    Date,
    Binary,
    Decimal,
    Dictionary,
    Collection
};

// The program's general value: Empty (never assigned) and Null (no value in
// the data base) are distinct states. Conversions follow the program's rules:
// toText() gives "" for Empty and Null and "True"/"False" for Booleans; the
// numeric conversions return nullopt where the value is not a number.
// Dictionaries and collections are held by reference, as the platform holds
// its objects: copying the Variant shares the object; their text is empty.
class Variant
{
public:
    Variant() = default;
    Variant(bool v) : m_value(v) {}
    Variant(int v) : m_value(int64_t(v)) {}
    Variant(int64_t v) : m_value(v) {}
    Variant(double v) : m_value(v) {}
    Variant(Currency v) : m_value(v) {}
    Variant(const QString& v) : m_value(v) {}
    Variant(const char* v) : m_value(QString::fromUtf8(v)) {}
    Variant(const char16_t* v) : m_value(QString::fromUtf16(v)) {}
    Variant(DateTime v) : m_value(v) {}
    Variant(const QByteArray& v) : m_value(v) {}
    Variant(Decimal v) : m_value(v) {}
    Variant(std::shared_ptr<Dictionary> v) : m_value(std::move(v)) {}
    Variant(std::shared_ptr<Collection> v) : m_value(std::move(v)) {}
    static Variant null();

    VariantType type() const { return static_cast<VariantType>(m_value.index()); }
    bool isEmpty() const { return type() == VariantType::Empty; }
    bool isNull() const { return type() == VariantType::Null; }
    // Empty or Null.
    bool isBlank() const { return isEmpty() || isNull(); }
    bool isNumber() const;

    QString toText() const;
    std::optional<int64_t> toInteger() const;
    std::optional<double> toDouble() const;
    std::optional<Currency> toCurrency() const;
    std::optional<bool> toBoolean() const;
    std::optional<DateTime> toDate() const;
    QByteArray toBinary() const;
    std::optional<Decimal> toDecimal() const;
    // The object held, or null when the value is not of that kind.
    std::shared_ptr<Dictionary> toDictionary() const;
    std::shared_ptr<Collection> toCollection() const;

    // Same state and same value; texts compare exactly, dictionaries and
    // collections by their contents.
    bool operator==(const Variant& o) const;

private:
    struct NullTag
    {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, bool, int64_t, double, Currency, QString, DateTime, QByteArray, Decimal,
                 std::shared_ptr<Dictionary>, std::shared_ptr<Collection>>
        m_value;
};

} // namespace platform
