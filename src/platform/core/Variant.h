#pragma once

#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace platform {

enum class VariantType { Empty, Null, Boolean, Integer, Double, Currency, Text, Date, Binary };

// The program's general value: Empty (never assigned) and Null (no value in
// the data base) are distinct states. Conversions follow the program's rules:
// toText() gives "" for Empty and Null and "True"/"False" for Booleans; the
// numeric conversions return nullopt where the value is not a number.
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

    // Same state and same value; texts compare exactly.
    bool operator==(const Variant& o) const { return m_value == o.m_value; }

private:
    struct NullTag
    {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, bool, int64_t, double, Currency, QString, DateTime, QByteArray> m_value;
};

} // namespace platform
