#include "CanonicalForm.h"

#include "platform/core/Collection.h"
#include "platform/core/Dictionary.h"

namespace json_tests {

namespace {

using platform::Variant;
using platform::VariantType;

void appendQuoted(QString& out, const QString& text)
{
    out += u'"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            continue;
        case u'\\':
            out += QStringLiteral("\\\\");
            continue;
        case u'\b':
            out += QStringLiteral("\\b");
            continue;
        case u'\f':
            out += QStringLiteral("\\f");
            continue;
        case u'\n':
            out += QStringLiteral("\\n");
            continue;
        case u'\r':
            out += QStringLiteral("\\r");
            continue;
        case u'\t':
            out += QStringLiteral("\\t");
            continue;
        default:
            break;
        }
        const bool pairedHigh = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pairedHigh) {
            out += c;
            out += text[++i];
        } else if (c.unicode() < 0x20 || c.isSurrogate()) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    out += u'"';
}

void append(QString& out, const Variant& value)
{
    switch (value.type()) {
    case VariantType::Dictionary: {
        out += u'{';
        bool first = true;
        for (const auto& entry : *value.toDictionary()) {
            if (!first) {
                out += u',';
            }
            first = false;
            appendQuoted(out, entry.key);
            out += u':';
            append(out, entry.value);
        }
        out += u'}';
        return;
    }
    case VariantType::Collection: {
        out += u'[';
        bool first = true;
        for (const Variant& item : *value.toCollection()) {
            if (!first) {
                out += u',';
            }
            first = false;
            append(out, item);
        }
        out += u']';
        return;
    }
    case VariantType::Text:
        appendQuoted(out, value.toText());
        return;
    case VariantType::Decimal:
        out += value.toText();
        return;
    case VariantType::Boolean:
        out += *value.toBoolean() ? QStringLiteral("true") : QStringLiteral("false");
        return;
    case VariantType::Null:
        out += QStringLiteral("null");
        return;
    default:
        out += QStringLiteral("<%1:%2>").arg(int(value.type())).arg(value.toText());
        return;
    }
}

} // namespace

QString canonicalLine(const Variant& value)
{
    QString out;
    append(out, value);
    return out;
}

} // namespace json_tests
