#include "common/Formatos.h"

#include "common/MensajeError.h"
#include "common/ValoresCorrida.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_Utilidades.h"
#include "platform/util/FileNameCase.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace common {

namespace {

using platform::Currency;
using platform::Variant;

// The whole number at the start of a text, as Val reads it
// (blanks, sign, digits, "." and digits), rounded half to even; 0 when the
// text does not start with a number.
int64_t leadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?[0-9]*(\\.[0-9]*)?)"));
    const QRegularExpressionMatch m = number.match(text);
    const std::optional<Currency> c = Currency::parse(m.captured(1));
    return c ? c->toWhole() : 0;
}

int64_t numericValue(const Variant& v)
{
    if (v.type() == platform::VariantType::Text) {
        return leadingNumber(v.toText());
    }
    return v.toInteger().value_or(0);
}

QString grouped(const QString& digits, const QString& sign)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += sign;
        }
        out += digits[i];
    }
    return out;
}

} // namespace

int DigitosMonedaLocale()
{
    const QLocale locale;
    const QString sample = locale.toCurrencyString(0.0);
    const QString decimal = locale.decimalPoint();
    if (decimal.isEmpty()) {
        return 2;
    }
    int digits = 0;
    for (qsizetype at = sample.indexOf(decimal); at >= 0; at = sample.indexOf(decimal, at + decimal.size())) {
        int run = 0;
        for (qsizetype i = at + decimal.size(); i < sample.size() && sample[i].isDigit(); ++i) {
            ++run;
        }
        if (run > 0) {
            digits = run;
        }
    }
    return digits;
}

namespace {

// The count of decimals that `decimales` asks for (see FmtMoneda); nullopt
// for -3, which leaves the value text as it is.
std::optional<int> decimalCount(const Variant& decimales)
{
    int64_t count = numericValue(decimales);
    if (count == -3) {
        return std::nullopt;
    }
    if (count == -1) {
        count = leadingNumber(valoresCorrida().DecimalesMoneda);
    }
    if (count == 0) {
        count = DigitosMonedaLocale();
    }
    if (count == -2) {
        count = 0;
    }
    return int(std::clamp<int64_t>(count, 0, 28));
}

QString formatAmount(Currency amount, int decimals, bool agrupar, int ancho)
{
    QString fixed = amount.toFixed(std::min(decimals, 4));
    const bool negative = fixed.startsWith(u'-');
    if (negative) {
        fixed.remove(0, 1);
    }
    const qsizetype point = fixed.indexOf(u'.');
    const QString whole = point < 0 ? fixed : fixed.left(point);
    QString fraction = point < 0 ? QString() : fixed.mid(point + 1);
    fraction += QString(decimals - fraction.size(), u'0');

    const QLocale locale;
    QString text = negative ? QStringLiteral("-") : QString();
    text += agrupar ? grouped(whole, locale.groupSeparator()) : whole;
    if (decimals > 0) {
        text += locale.decimalPoint() + fraction;
    }
    if (ancho > 0) {
        text = platform::Dll_Utilidades::shared().RellenarIzquierda(text, std::min(ancho, 25));
    }
    return text;
}

} // namespace

QString FmtMoneda(const QString& valor, const Variant& decimales, bool agrupar, int ancho)
{
    const std::optional<int> decimals = decimalCount(decimales);
    if (!decimals) {
        return valor;
    }
    if (valor.trimmed().isEmpty()) {
        return {};
    }
    std::optional<Currency> amount;
    while (!(amount = platform::Dll_Utilidades::shared().TextoAMoneda(valor))) {
        const platform::ErrObject mismatch(13, QStringLiteral("No coinciden los tipos"),
                                           platform::Runtime::instance().programName());
        if (MensajeError(mismatch, std::nullopt, QStringLiteral("FmtMoneda")) != platform::msgbox::Retry) {
            return {};
        }
    }
    return formatAmount(*amount, *decimals, agrupar, ancho);
}

QString FmtMoneda(Currency valor, const Variant& decimales, bool agrupar, int ancho)
{
    const std::optional<int> decimals = decimalCount(decimales);
    return decimals ? formatAmount(valor, *decimals, agrupar, ancho) : valor.toString();
}

QString FechaHoraCorta()
{
    return QStringLiteral("dd/mm/yy hh:mm");
}

QString FechaCorta()
{
    return QStringLiteral("dd/mm/yy");
}

QString HoraCorta()
{
    return QStringLiteral("hh:mm");
}

bool ExisteArchivo(const QString& ruta)
{
    QString path = ruta;
    path.remove(u'"');
    if (path.isEmpty()) {
        return false;
    }
    path = platform::resolveFileNoCase(path);
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

void AbrirConShell(const QString& destino, const Variant& minimizado)
{
    QString target = destino;
    if (target.contains(u' ') && !target.contains(u'"')) {
        target = u'"' + target + u'"';
    }
    const long show = minimizado.toBoolean().value_or(false) ? 6 : 1;
    platform::Dll_ApiWindows::shared().EjecutarShell(0, QString(), target, QString(), QString(), show);
}

} // namespace common
