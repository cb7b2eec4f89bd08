#include "platform/db/Backend.h"

namespace platform::db {

// "key=value" pairs separated by ";". Keys are trimmed and compared without
// regard to case; a value may be wrapped in {braces} ("}}" stands for "}")
// or in "quotes" ('""' stands for '"'), which keeps any ";" inside it.
ConnectionString ConnectionString::parse(const QString& text)
{
    ConnectionString result;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        const qsizetype semi = text.indexOf(u';', i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // A segment without "=" carries nothing.
            if (semi < 0) {
                break;
            }
            i = semi + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
        while (i < n && text[i].isSpace()) {
            ++i;
        }
        QString value;
        if (i < n && (text[i] == u'{' || text[i] == u'"')) {
            const QChar close = text[i] == u'{' ? u'}' : u'"';
            ++i;
            while (i < n) {
                if (text[i] == close) {
                    if (i + 1 < n && text[i + 1] == close) {
                        value += close;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            // Anything between the closing mark and the next ";" is ignored.
            const qsizetype next = text.indexOf(u';', i);
            i = next < 0 ? n : next + 1;
        } else {
            const qsizetype next = text.indexOf(u';', i);
            const qsizetype end = next < 0 ? n : next;
            value = text.mid(i, end - i).trimmed();
            i = end + 1;
        }
        if (!key.isEmpty() && !result.m_values.contains(key)) {
            result.m_values.insert(key, value);
        }
    }
    return result;
}

QString ConnectionString::value(const QString& key, const QString& fallback) const
{
    return m_values.value(key.trimmed().toLower(), fallback);
}

bool ConnectionString::has(const QString& key) const
{
    return m_values.contains(key.trimmed().toLower());
}

QString ConnectionString::first(std::initializer_list<const char*> keys, const QString& fallback) const
{
    for (const char* key : keys) {
        const auto it = m_values.constFind(QString::fromLatin1(key).toLower());
        if (it != m_values.constEnd()) {
            return it.value();
        }
    }
    return fallback;
}

} // namespace platform::db
