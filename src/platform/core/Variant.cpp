#include "platform/core/Variant.h"

#include "platform/core/Collection.h"
#include "platform/core/Dictionary.h"
#include "platform/core/NumberText.h"

#include <cmath>
#include <cstdint>

namespace platform {

// Record sets hold millions of values: decimals and objects add nothing to
// the size that texts already take.
static_assert(sizeof(Variant) <= sizeof(QString) + sizeof(void*));

namespace {

// QString::number(d, 'g', 15) for an amount of at most six decimals between
// 10^-4 and 10^15: the double is the one nearest its shortest decimal, whose
// digits are then its fifteen significant ones with the trailing zeros
// dropped; a grid page writes thousands of them. Anything else gets Qt's text.
QString textOfDouble(double d)
{
    const double magnitude = std::fabs(d);
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        double power = 1;
        for (int decimals = 0; decimals <= 6; ++decimals, power *= 10) {
            const double scaled = std::round(magnitude * power);
            if (scaled >= 1e15)
                break;
            // The fewest decimals that give the double back: the last one is not a zero.
            if (scaled / power != magnitude)
                continue;
            return scaledText(d < 0, static_cast<uint64_t>(scaled), decimals);
        }
    }
    return QString::number(d, 'g', 15);
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.m_value = NullTag{};
    return v;
}

bool Variant::isNumber() const
{
    switch (type()) {
    case VariantType::Integer:
    case VariantType::Double:
    case VariantType::Currency:
    case VariantType::Decimal:
        return true;
    case VariantType::Text:
        return toDouble().has_value();
    default:
        return false;
    }
}

QString Variant::toText() const
{
    switch (type()) {
    case VariantType::Empty:
    case VariantType::Null:
        return {};
    case VariantType::Boolean:
        return std::get<bool>(m_value) ? QStringLiteral("True") : QStringLiteral("False");
    case VariantType::Integer:
        return QString::number(std::get<int64_t>(m_value));
    case VariantType::Double:
        return textOfDouble(std::get<double>(m_value));
    case VariantType::Currency:
        return std::get<Currency>(m_value).toString();
    case VariantType::Text:
        return std::get<QString>(m_value);
    case VariantType::Date:
        return std::get<DateTime>(m_value).toStorageText();
    case VariantType::Binary:
        return QString::fromUtf8(std::get<QByteArray>(m_value));
    case VariantType::Decimal:
        return std::get<Decimal>(m_value).toString();
    case VariantType::Dictionary:
    case VariantType::Collection:
        return {};
    }
    return {};
}

std::optional<int64_t> Variant::toInteger() const
{
    switch (type()) {
    case VariantType::Boolean:
        return std::get<bool>(m_value) ? -1 : 0;
    case VariantType::Integer:
        return std::get<int64_t>(m_value);
    case VariantType::Double: {
        const double d = std::get<double>(m_value);
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18) {
            return std::nullopt;
        }
        return static_cast<int64_t>(std::nearbyint(d));
    }
    case VariantType::Currency:
        return std::get<Currency>(m_value).toWhole();
    case VariantType::Decimal:
        return std::get<Decimal>(m_value).toInt64();
    case VariantType::Text: {
        if (auto c = Currency::parse(std::get<QString>(m_value))) {
            return c->toWhole();
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> Variant::toDouble() const
{
    switch (type()) {
    case VariantType::Boolean:
        return std::get<bool>(m_value) ? -1.0 : 0.0;
    case VariantType::Integer:
        return double(std::get<int64_t>(m_value));
    case VariantType::Double:
        return std::get<double>(m_value);
    case VariantType::Currency:
        return std::get<Currency>(m_value).toDouble();
    case VariantType::Decimal:
        return std::get<Decimal>(m_value).toDouble();
    case VariantType::Text: {
        bool ok = false;
        const double d = std::get<QString>(m_value).trimmed().toDouble(&ok);
        return ok ? std::optional<double>(d) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<Currency> Variant::toCurrency() const
{
    switch (type()) {
    case VariantType::Boolean:
    case VariantType::Integer: {
        const int64_t whole = *toInteger();
        return Currency::holds(whole) ? std::optional(Currency::fromInt(whole)) : std::nullopt;
    }
    case VariantType::Double: {
        const double d = std::get<double>(m_value);
        return Currency::holds(d) ? std::optional(Currency::fromDouble(d)) : std::nullopt;
    }
    case VariantType::Currency:
        return std::get<Currency>(m_value);
    case VariantType::Decimal:
    case VariantType::Text:
        return Currency::parse(toText());
    default:
        return std::nullopt;
    }
}

std::optional<bool> Variant::toBoolean() const
{
    switch (type()) {
    case VariantType::Boolean:
        return std::get<bool>(m_value);
    case VariantType::Integer:
    case VariantType::Double:
    case VariantType::Currency:
        return *toDouble() != 0.0;
    case VariantType::Decimal:
        return !std::get<Decimal>(m_value).isZero();
    case VariantType::Text: {
        const QString t = std::get<QString>(m_value).trimmed();
        if (t.compare(u"True", Qt::CaseInsensitive) == 0) {
            return true;
        }
        if (t.compare(u"False", Qt::CaseInsensitive) == 0) {
            return false;
        }
        if (auto d = toDouble()) {
            return *d != 0.0;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<DateTime> Variant::toDate() const
{
    if (type() == VariantType::Date) {
        return std::get<DateTime>(m_value);
    }
    if (type() == VariantType::Text) {
        const QString t = std::get<QString>(m_value).trimmed();
        for (const auto* f : {u"yyyy-MM-dd HH:mm:ss.zzz", u"yyyy-MM-dd HH:mm:ss", u"yyyy-MM-dd", u"dd/MM/yyyy HH:mm:ss",
                              u"dd/MM/yyyy HH:mm", u"dd/MM/yyyy"}) {
            const QDateTime d = QDateTime::fromString(t, QString::fromUtf16(f));
            if (d.isValid()) {
                return DateTime::fromQDateTime(d);
            }
        }
    }
    return std::nullopt;
}

QByteArray Variant::toBinary() const
{
    if (type() == VariantType::Binary) {
        return std::get<QByteArray>(m_value);
    }
    return toText().toUtf8();
}

std::optional<Decimal> Variant::toDecimal() const
{
    switch (type()) {
    case VariantType::Boolean:
    case VariantType::Integer:
        return Decimal::fromInt(*toInteger());
    case VariantType::Double:
        // The fifteen digits a double carries.
        return Decimal::parse(QString::number(std::get<double>(m_value), 'g', 15));
    case VariantType::Currency:
    case VariantType::Text:
        return Decimal::parse(toText());
    case VariantType::Decimal:
        return std::get<Decimal>(m_value);
    default:
        return std::nullopt;
    }
}

std::shared_ptr<Dictionary> Variant::toDictionary() const
{
    const auto* d = std::get_if<std::shared_ptr<Dictionary>>(&m_value);
    return d ? *d : nullptr;
}

std::shared_ptr<Collection> Variant::toCollection() const
{
    const auto* c = std::get_if<std::shared_ptr<Collection>>(&m_value);
    return c ? *c : nullptr;
}

bool Variant::operator==(const Variant& o) const
{
    if (const auto a = toDictionary(), b = o.toDictionary(); a && b) {
        return a == b || *a == *b;
    }
    if (const auto a = toCollection(), b = o.toCollection(); a && b) {
        return a == b || *a == *b;
    }
    return m_value == o.m_value;
}

} // namespace platform
