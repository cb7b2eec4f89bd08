#include "platform/db/Backend.h"

namespace platform::db {

namespace {

// Reads one value from `pos`: {braced} (a doubled "}" stands for one),
// "quoted" or 'quoted' (a doubled quote stands for one), or plain up to the
// next ";". Leaves `pos` on the ";" that ends the pair, or at the end.
QString readValue(const QString& text, qsizetype& pos)
{
    const qsizetype n = text.size();
    while (pos < n && text.at(pos).isSpace())
        ++pos;
    if (pos < n && (text.at(pos) == u'{' || text.at(pos) == u'"' || text.at(pos) == u'\'')) {
        const QChar close = text.at(pos) == u'{' ? QChar(u'}') : text.at(pos);
        QString value;
        ++pos;
        while (pos < n) {
            const QChar c = text.at(pos);
            if (c == close) {
                if (pos + 1 < n && text.at(pos + 1) == close) {
                    value += c;
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            value += c;
            ++pos;
        }
        // Anything between the closing mark and the ";" is ignored.
        while (pos < n && text.at(pos) != u';')
            ++pos;
        return value;
    }
    const qsizetype start = pos;
    while (pos < n && text.at(pos) != u';')
        ++pos;
    return text.mid(start, pos - start).trimmed();
}

} // namespace

ConnectionString ConnectionString::parse(const QString& text)
{
    ConnectionString result;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype eq = text.indexOf(u'=', pos);
        const qsizetype semi = text.indexOf(u';', pos);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // A part without "=" carries no setting.
            if (semi < 0)
                break;
            pos = semi + 1;
            continue;
        }
        const QString key = text.mid(pos, eq - pos).trimmed().toLower();
        pos = eq + 1;
        const QString value = readValue(text, pos);
        if (!key.isEmpty() && !result.m_values.contains(key))
            result.m_values.insert(key, value);
        if (pos < n)
            ++pos; // the ";"
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
        const auto it = m_values.constFind(QString::fromUtf8(key).toLower());
        if (it != m_values.cend())
            return it.value();
    }
    return fallback;
}

} // namespace platform::db
