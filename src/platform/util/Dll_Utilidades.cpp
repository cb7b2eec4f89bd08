#include "platform/util/Dll_Utilidades.h"

#include "platform/core/LogFile.h"
#include "platform/core/ProgramWide.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

namespace platform {

namespace {

ProgramWide<Dll_Utilidades> g_shared;

bool allAsciiDigits(QStringView s)
{
    for (QChar ch : s) {
        if (ch.unicode() < '0' || ch.unicode() > '9') {
            return false;
        }
    }
    return true;
}

// Digits of the whole part with `group` allowed between groups of three;
// nullopt when the grouping is malformed.
std::optional<QString> wholeDigits(QStringView whole, const QString& group)
{
    if (group.isEmpty() || !whole.contains(group)) {
        return allAsciiDigits(whole) ? std::optional<QString>(whole.toString()) : std::nullopt;
    }
    const QList<QStringView> parts = whole.split(group);
    QString digits;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i];
        const bool sizeOk = i == 0 ? (part.size() >= 1 && part.size() <= 3) : part.size() == 3;
        if (!sizeOk || !allAsciiDigits(part)) {
            return std::nullopt;
        }
        digits += part;
    }
    return digits;
}

std::optional<Currency> parseAmount(QStringView body, bool negative, const QString& group, const QString& decimal)
{
    QStringView whole = body;
    QStringView fraction;
    const qsizetype at = body.indexOf(decimal);
    if (at >= 0) {
        whole = body.left(at);
        fraction = body.mid(at + decimal.size());
        if (fraction.contains(decimal) || !allAsciiDigits(fraction)) {
            return std::nullopt;
        }
    }
    if (whole.isEmpty() && fraction.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<QString> digits = wholeDigits(whole, group);
    if (!digits) {
        return std::nullopt;
    }
    QString canonical = negative ? QStringLiteral("-") : QString();
    canonical += digits->isEmpty() ? QStringLiteral("0") : *digits;
    if (!fraction.isEmpty()) {
        canonical += u'.' + fraction.toString();
    }
    return Currency::parse(canonical, u'.');
}

// CRC-16/CCITT of the plain bytes: the check that tells our cipher texts
// from foreign or damaged ones.
quint16 crc16(const QByteArray& bytes)
{
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= quint16(quint8(c)) << 8;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
        }
    }
    return crc;
}

// A fixed key stream (xorshift, seeded by the length), chained with the
// previous cipher byte, so that equal letters do not show as equal symbols.
class KeyStream
{
public:
    explicit KeyStream(qsizetype length) : m_state(0x9E3779B9u ^ quint32(length)) {}
    // The mask for the next byte, given the cipher byte before it.
    quint8 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return quint8(m_state >> 24) ^ m_previous;
    }
    void chain(quint8 cipherByte) { m_previous = cipherByte; }

private:
    quint32 m_state;
    quint8 m_previous = 0x5A;
};

QByteArray scramble(const QByteArray& plain)
{
    QByteArray out(plain.size(), '\0');
    KeyStream key(plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const quint8 c = quint8(plain[i]) ^ key.next();
        out[i] = char(c);
        key.chain(c);
    }
    return out;
}

QByteArray unscramble(const QByteArray& cipher)
{
    QByteArray out(cipher.size(), '\0');
    KeyStream key(cipher.size());
    for (qsizetype i = 0; i < cipher.size(); ++i) {
        const quint8 c = quint8(cipher[i]);
        out[i] = char(c ^ key.next());
        key.chain(c);
    }
    return out;
}

constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

} // namespace

Dll_Utilidades& Dll_Utilidades::shared()
{
    return g_shared.get();
}

QString Dll_Utilidades::RellenarIzquierda(const QString& text, int width) const
{
    if (text.size() >= width) {
        return text;
    }
    return QString(width - text.size(), u' ') + text;
}

QString Dll_Utilidades::AjustarLargo(const QString& text, int maximum) const
{
    if (maximum <= 0) {
        return {};
    }
    if (text.size() <= maximum) {
        return text;
    }
    qsizetype n = maximum;
    if (text[n - 1].isHighSurrogate()) {
        --n;
    }
    return text.left(n);
}

std::optional<Currency> Dll_Utilidades::TextoAMoneda(const QString& text) const
{
    const QLocale locale;
    QStringView body = QStringView(text).trimmed();
    bool negative = false;
    const QString localeMinus = locale.negativeSign();
    if (body.startsWith(u'-') || body.startsWith(u'+')) {
        negative = body.front() == u'-';
        body = body.mid(1);
    } else if (!localeMinus.isEmpty() && body.startsWith(localeMinus)) {
        negative = true;
        body = body.mid(localeMinus.size());
    }
    if (body.isEmpty()) {
        return std::nullopt;
    }
    if (auto v = parseAmount(body, negative, locale.groupSeparator(), locale.decimalPoint())) {
        return v;
    }
    return parseAmount(body, negative, QString(), QStringLiteral("."));
}

Variant Dll_Utilidades::ValorCampo(const Variant& field) const
{
    return field.isNull() ? Variant() : field;
}

int Dll_Utilidades::CantidadPalabras(const QString& text) const
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return int(text.split(blanks, Qt::SkipEmptyParts).size());
}

QString Dll_Utilidades::QuitarCaracteres(const QString& text, const QString& first, const QString& second,
                                         const QString& third) const
{
    QString r = text;
    for (const QString* piece : {&first, &second, &third}) {
        if (!piece->isEmpty()) {
            r.remove(*piece);
        }
    }
    return r;
}

QString Dll_Utilidades::Reemplazar(const QString& text, const QString& find, const QString& replacement) const
{
    return text::Replace(text, find, replacement, false);
}

void Dll_Utilidades::ServicioFormulario(QWidget* form, const Variant& option)
{
    // What the service does to a form is left to us, and the program reads
    // nothing back: every form already styles itself at load, so there is
    // nothing further to do here.
    Q_UNUSED(form);
    Q_UNUSED(option);
}

QString Dll_Utilidades::CodigoConCeros(const Variant& code, const Variant& width) const
{
    const QString trimmed = text::Trim(code.toText());
    const int64_t w = width.toInteger().value_or(0);
    if (w <= trimmed.size()) {
        return trimmed;
    }
    return QString(qsizetype(w) - trimmed.size(), u'0') + trimmed;
}

int Dll_Utilidades::MostrarError(const ErrObject& error, std::optional<int> buttons, const QString& routine)
{
    const QString prompt =
        QStringLiteral("Error ") + QString::number(error.Number) + QStringLiteral(": ") + text::Trim(error.Description);
    const QString title = routine.isEmpty() ? error.Source : error.Source + QStringLiteral(" - ") + routine;
    const int answer = op().MsgBox(prompt, buttons.value_or(msgbox::AbortRetryIgnore | msgbox::Critical), title);
    if (!m_archivoLog.isEmpty()) {
        const DateTime t = now();
        const QString line = t.date().toString(QStringLiteral("yyyy-MM-dd")) + u' ' +
                             t.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" | ") + routine +
                             QStringLiteral(" | ") + platform::text::FoldLineBreaks(prompt) + QStringLiteral(" | ") +
                             QString::number(answer);
        LogFile::appendLine(m_archivoLog, line);
    }
    return answer;
}

QString Dll_Utilidades::Encriptar(const QString& text) const
{
    if (text.isEmpty()) {
        return {};
    }
    const QByteArray plain = text.toUtf8();
    const quint16 check = crc16(plain);
    QByteArray payload;
    payload.reserve(plain.size() + 2);
    payload.append(char(check >> 8));
    payload.append(char(check & 0xFF));
    payload.append(plain);
    return QString::fromLatin1(scramble(payload).toBase64(kBase64));
}

std::optional<QString> Dll_Utilidades::TryDesencriptar(const QString& text) const
{
    if (text.isEmpty()) {
        return QString();
    }
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        const bool ok =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!ok) {
            return std::nullopt;
        }
    }
    const auto decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), kBase64 | QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok || decoded.decoded.size() < 3) {
        return std::nullopt;
    }
    const QByteArray payload = unscramble(decoded.decoded);
    const QByteArray plain = payload.mid(2);
    const quint16 check = quint16((quint8(payload[0]) << 8) | quint8(payload[1]));
    if (check != crc16(plain)) {
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString result = utf8.decode(plain);
    if (utf8.hasError()) {
        return std::nullopt;
    }
    // Only the one spelling that Encriptar writes is accepted.
    if (Encriptar(result) != text) {
        return std::nullopt;
    }
    return result;
}

QString Dll_Utilidades::Desencriptar(const QString& text) const
{
    return TryDesencriptar(text).value_or(QString());
}

QString Dll_Utilidades::CarpetaConBarra(const QString& folder) const
{
    if (folder.isEmpty() || folder.endsWith(u'/')) {
        return folder;
    }
    return folder + u'/';
}

} // namespace platform
