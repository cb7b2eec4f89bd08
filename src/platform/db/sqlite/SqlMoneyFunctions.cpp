// Money as SQL Server computes it: exact to four decimals through
// conversion, arithmetic, SUM and AVG, rounded half away from zero; a
// division by zero and an amount out of range fail with SQL Server's errors.

#include "platform/db/sqlite/SqlExtensionFunctions.h"

#include "platform/db/sqlite/SqlExtensionValues.h"
#include "platform/db/sqlite/SqlMoneyText.h"

#include <QString>

namespace platform::db::sqlite::extensions {

namespace {

constexpr Currency::Rounding kAway = Currency::Rounding::HalfAwayFromZero;

void overflow(sqlite3_context* ctx)
{
    resultError(ctx, serverError::ArithmeticOverflow, {QStringLiteral("expression"), QStringLiteral("money")});
}

// A value as money; false (the error set) when it is none.
bool moneyOf(sqlite3_context* ctx, sqlite3_value* v, Currency& out)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: {
        const int64_t whole = sqlite3_value_int64(v);
        if (!Currency::holds(whole)) {
            overflow(ctx);
            return false;
        }
        out = Currency::fromInt(whole);
        return true;
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_value_double(v);
        if (const std::optional<Currency> end = moneyRangeEnd(d)) {
            out = *end;
            return true;
        }
        if (!Currency::holds(d)) {
            overflow(ctx);
            return false;
        }
        out = *Currency::parse(QString::number(d, 'f', 10), u'.', kAway);
        return true;
    }
    default: {
        const MoneyText m = readMoneyText(textArg(v));
        if (m.reading == MoneyReading::Amount) {
            out = m.value;
            return true;
        }
        if (m.reading == MoneyReading::Overflow)
            overflow(ctx);
        else
            resultError(ctx, serverError::NotMoney);
        return false;
    }
    }
}

// Money as SQLite stores it: a whole number, or a real of at most four decimals.
void resultMoney(sqlite3_context* ctx, Currency amount)
{
    if (amount.units() % Currency::kScale == 0)
        sqlite3_result_int64(ctx, amount.units() / Currency::kScale);
    else
        sqlite3_result_double(ctx, amount.toDouble());
}

// tsql_money(x): CONVERT or CAST to money, and a value written into a money column.
void moneyFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    Currency m;
    if (!nullResultOnNull(ctx, argc, argv) && moneyOf(ctx, argv[0], m))
        resultMoney(ctx, m);
}

// tsql_money_op(a, b, operation [, c, operation]...): + (0), - (1), * (2),
// / (3) and % (4) between money (and whole numbers), folded from the left over
// the operands, exactly, as the nested operations of one per operator
// would give: Null once an operand is Null, each conversion, overflow and
// division by zero in turn.
void operationFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    Currency total;
    const auto step = [&](int i, int64_t operation) {
        if (operation < 0 || operation > 4) {
            resultError(ctx, QStringLiteral("A money operation is one of 0 to 4."));
            return false;
        }
        Currency next;
        if ((i == 1 && !moneyOf(ctx, argv[0], total)) || !moneyOf(ctx, argv[i], next))
            return false;
        if (operation >= 3 && next == Currency()) {
            resultError(ctx, serverError::DivideByZero);
            return false;
        }
        try {
            total = operation == 0   ? total + next
                    : operation == 1 ? total - next
                    : operation == 2 ? total.multipliedBy(next, kAway)
                    : operation == 3 ? total.dividedBy(next, kAway)
                    // The rest takes the dividend's sign; by -0.0001 it is 0 (and no overflow).
                    : next.units() == -1 ? Currency()
                                         : Currency::fromUnits(total.units() % next.units());
        } catch (const CurrencyError&) {
            overflow(ctx);
            return false;
        }
        return true;
    };
    if (foldSteps(ctx, argc, argv, "A money operation", step))
        resultMoney(ctx, total);
}

// SUM and AVG of money: the exact total of ten-thousandths (SQLite's memory
// for it is zeroed and only 8-byte aligned).
struct Total
{
    int64_t units;
    int64_t count;
    bool failed;
};

void totalStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* total = static_cast<Total*>(sqlite3_aggregate_context(ctx, sizeof(Total)));
    if (!total || total->failed || isNull(argv[0]))
        return;
    Currency m;
    if (!moneyOf(ctx, argv[0], m)) {
        total->failed = true;
        return;
    }
    if (__builtin_add_overflow(total->units, m.units(), &total->units)) {
        total->failed = true;
        overflow(ctx);
        return;
    }
    ++total->count;
}

template <bool Average> void totalFinal(sqlite3_context* ctx)
{
    auto* total = static_cast<Total*>(sqlite3_aggregate_context(ctx, 0));
    if (!total || total->count == 0) {
        sqlite3_result_null(ctx);
        return;
    }
    if (total->failed)
        return;
    const Currency sum = Currency::fromUnits(total->units);
    resultMoney(ctx, Average ? sum.dividedBy(Currency::fromInt(total->count), kAway) : sum);
}

// Thousands commas in the whole part of a fixed text.
QString grouped(const QString& fixed)
{
    const qsizetype point = fixed.indexOf(u'.');
    qsizetype end = point < 0 ? fixed.size() : point;
    const qsizetype start = fixed.startsWith(u'-') ? 1 : 0;
    QString out = fixed;
    for (qsizetype k = end - 3; k > start; k -= 3)
        out.insert(k, u',');
    return out;
}

// tsql_money_text(value, style, length): CONVERT or CAST of money to a
// character type: style 0 two decimals, 1 with thousands commas, 2 and 126
// four decimals.
void moneyTextFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    Currency m;
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!moneyOf(ctx, argv[0], m))
        return;
    const int style = isNull(argv[1]) ? 0 : sqlite3_value_int(argv[1]);
    QString text;
    switch (style) {
    case 0:
        text = m.toFixed(2, kAway);
        break;
    case 1:
        text = grouped(m.toFixed(2, kAway));
        break;
    case 2:
    case 126:
        text = m.toFixed(4);
        break;
    default:
        resultError(ctx, serverError::BadStyle, {QString::number(style), QStringLiteral("money")});
        return;
    }
    const int length = sqlite3_value_int(argv[2]);
    if (length > 0 && text.size() > length) {
        resultError(ctx, serverError::NoRoomForMoney, {QStringLiteral("varchar")});
        return;
    }
    resultText(ctx, text);
}

} // namespace

// The fold is registered for one and two steps too, as the number functions' folds are.
std::span<const FunctionDef> moneyFunctions()
{
    static const FunctionDef functions[] = {
        {"tsql_money", 1, &moneyFunction, true},
        {"tsql_money_op", 3, &operationFunction, true},
        {"tsql_money_op", 5, &operationFunction, true},
        {"tsql_money_op", -1, &operationFunction, true},
        {"tsql_money_text", 3, &moneyTextFunction, true},
        {"tsql_money_sum", 1, nullptr, true, &totalStep, &totalFinal<false>},
        {"tsql_money_avg", 1, nullptr, true, &totalStep, &totalFinal<true>},
    };
    return functions;
}

} // namespace platform::db::sqlite::extensions
