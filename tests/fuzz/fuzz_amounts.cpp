// Reads any text as the program reads typed or stored amounts, decimals and
// dates. None of the readers raises; a value read back from its own text is
// the same value, and an amount reads as the same decimal.
#include "FuzzSupport.h"

#include "controls/lookup/CalendarioBusqueda.h"
#include "platform/core/Currency.h"
#include "platform/core/Decimal.h"
#include "platform/core/Variant.h"
#include "platform/db/sqlite/SqlDateText.h"
#include "platform/db/sqlite/SqlMoneyText.h"
#include "platform/util/Dll_Utilidades.h"

using namespace platform;
using namespace platform::db::sqlite;

namespace {

void currencies(const QString& text)
{
    for (const QChar sign : {QChar(u'.'), QChar(u',')}) {
        const std::optional<Currency> c = Currency::parse(text, sign);
        if (!c)
            continue;
        if (Currency::parse(c->toString()) != c)
            fuzz_support::fault("an amount does not read back from its text", text);
        // Up to four decimals, the same text reads as the same decimal.
        const QString trimmed = text.trimmed();
        const qsizetype at = trimmed.indexOf(sign);
        if (sign == u'.' && (at < 0 || trimmed.size() - at - 1 <= 4)) {
            const std::optional<Decimal> d = Decimal::parse(text);
            if (!d || *d != *Decimal::parse(c->toString()))
                fuzz_support::fault("an amount and a decimal of the same text differ", text);
        }
    }
    if (const std::optional<Currency> c = Dll_Utilidades::shared().TextoAMoneda(text))
        if (Dll_Utilidades::shared().TextoAMoneda(c->toString()) != c)
            fuzz_support::fault("a typed amount does not read back from its text", text);
    const MoneyText money = readMoneyText(text);
    if (money.reading == MoneyReading::Amount) {
        const MoneyText again = readMoneyText(money.value.toString());
        if (again.reading != MoneyReading::Amount || again.value != money.value)
            fuzz_support::fault("a money text does not read back from its value", text);
    }
}

void decimals(const QString& text)
{
    if (const std::optional<Decimal> d = Decimal::parse(text)) {
        if (Decimal::parse(d->toString()) != d)
            fuzz_support::fault("a decimal does not read back from its text", text);
        (void)d->toInt64();
        (void)d->toDouble();
    }
}

void dates(const QString& text)
{
    for (const bool monthFirst : {false, true}) {
        const DateText read = readDateText(text, monthFirst);
        if (read.reading != DateReading::Date)
            continue;
        const QString stored = read.value.toStorageText();
        const std::optional<SqlDateTime> again = parseSqlDateTime(stored);
        if (!isStorageDateTime(stored) || !again || again->date != read.value.date ||
            again->msOfDay != read.value.msOfDay)
            fuzz_support::fault("a date-time does not read back from its storage text", text + u'\n' + stored);
        if (SqlDateTime::fromMsSinceDayZero(read.value.msSinceDayZero()).toStorageText() != stored)
            fuzz_support::fault("a date-time does not come back from its day-0 count", text);
    }
    (void)controls::busqueda::LeerFecha(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz_support::text(data, size);
    currencies(text);
    decimals(text);
    dates(text);
    const Variant v(text);
    (void)v.toInteger();
    (void)v.toDouble();
    (void)v.toCurrency();
    (void)v.toDecimal();
    (void)v.toDate();
    (void)v.toBoolean();
    return 0;
}
