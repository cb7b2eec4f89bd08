#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace platform::ui {

// The container's store of a user control's settings: named entries (letter
// case of names ignored) kept in the order they were first written. A read
// gives its default when the entry is absent; a write whose value equals its
// default stores nothing (and drops an entry of that name). The writer's and
// the reader's defaults are independent.
class PropertyBag
{
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    // Without a default (an invalid QVariant) the value is always stored.
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    bool contains(const QString& name) const;
    // The stored names, in writing order.
    QStringList names() const;
    int count() const { return int(m_entries.size()); }
    void clear() { m_entries.clear(); }

private:
    std::vector<std::pair<QString, QVariant>>::const_iterator find(const QString& name) const;

    std::vector<std::pair<QString, QVariant>> m_entries;
};

} // namespace platform::ui
