#include "platform/core/Dictionary.h"

namespace platform {

namespace {

// Below this many entries a scan is faster than hashing and costs no memory.
constexpr qsizetype kScanLimit = 8;

} // namespace

qsizetype Dictionary::indexOf(const QString& key) const
{
    if (!m_index.isEmpty()) {
        return m_index.value(key, -1);
    }
    for (qsizetype i = 0; i < count(); ++i) {
        if (m_entries[std::size_t(i)].key == key) {
            return i;
        }
    }
    return -1;
}

Variant Dictionary::value(const QString& key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? Variant() : m_entries[std::size_t(i)].value;
}

bool Dictionary::add(const QString& key, const Variant& value)
{
    if (contains(key)) {
        return false;
    }
    m_entries.push_back({key, value});
    if (!m_index.isEmpty()) {
        m_index.insert(key, count() - 1);
    } else if (count() > kScanLimit) {
        for (qsizetype i = 0; i < count(); ++i) {
            m_index.insert(m_entries[std::size_t(i)].key, i);
        }
    }
    return true;
}

void Dictionary::insert(const QString& key, const Variant& value)
{
    const qsizetype i = indexOf(key);
    if (i >= 0) {
        m_entries[std::size_t(i)].value = value;
    } else {
        add(key, value);
    }
}

QStringList Dictionary::keys() const
{
    QStringList out;
    out.reserve(count());
    for (const Entry& e : m_entries) {
        out.append(e.key);
    }
    return out;
}

} // namespace platform
