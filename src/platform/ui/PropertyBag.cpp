#include "platform/ui/PropertyBag.h"

#include <algorithm>

namespace platform::ui {

std::vector<std::pair<QString, QVariant>>::const_iterator PropertyBag::find(const QString& name) const
{
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [&name](const auto& entry) { return entry.first.compare(name, Qt::CaseInsensitive) == 0; });
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const auto it = find(name);
    return it == m_entries.end() ? defaultValue : it->second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    const auto it = find(name);
    if (defaultValue.isValid() && value == defaultValue) {
        if (it != m_entries.end()) {
            m_entries.erase(it);
        }
        return;
    }
    if (it != m_entries.end()) {
        m_entries[std::size_t(it - m_entries.begin())].second = value;
    } else {
        m_entries.emplace_back(name, value);
    }
}

bool PropertyBag::contains(const QString& name) const
{
    return find(name) != m_entries.end();
}

QStringList PropertyBag::names() const
{
    QStringList result;
    for (const auto& entry : m_entries) {
        result << entry.first;
    }
    return result;
}

} // namespace platform::ui
