#pragma once

#include "platform/core/Variant.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

// The platform's dictionary: texts to values, keys compared exactly, entries
// kept in the order they were added. A Variant holds one by reference, as the
// platform's objects are held, so copies of that Variant share it.
class Dictionary
{
public:
    struct Entry
    {
        QString key;
        Variant value;
        bool operator==(const Entry&) const = default;
    };

    qsizetype count() const { return qsizetype(m_entries.size()); }
    bool contains(const QString& key) const { return indexOf(key) >= 0; }
    // The value under `key`; Empty when the key is absent.
    Variant value(const QString& key) const;
    // Adds the pair at the end; false, with nothing changed, when the key is present.
    bool add(const QString& key, const Variant& value);
    // Replaces the value under `key`, or adds the pair at the end.
    void insert(const QString& key, const Variant& value);
    QStringList keys() const;

    std::vector<Entry>::const_iterator begin() const { return m_entries.begin(); }
    std::vector<Entry>::const_iterator end() const { return m_entries.end(); }

    // Same keys in the same order with equal values.
    bool operator==(const Dictionary& o) const { return m_entries == o.m_entries; }

private:
    qsizetype indexOf(const QString& key) const;

    std::vector<Entry> m_entries;
    // Key positions, kept once the dictionary outgrows a short scan.
    QHash<QString, qsizetype> m_index;
};

} // namespace platform
