#pragma once

#include "platform/core/Variant.h"

#include <vector>

namespace platform {

// The platform's collection: values in the order they were added, counted
// from 1. A Variant holds one by reference, as it holds a Dictionary.
class Collection
{
public:
    qsizetype count() const { return qsizetype(m_items.size()); }
    void add(const Variant& value) { m_items.push_back(value); }
    // The value at 1-based `index`; RunTimeError 9 outside 1 to count().
    const Variant& item(qsizetype index) const;

    std::vector<Variant>::const_iterator begin() const { return m_items.begin(); }
    std::vector<Variant>::const_iterator end() const { return m_items.end(); }

    bool operator==(const Collection& o) const { return m_items == o.m_items; }

private:
    std::vector<Variant> m_items;
};

} // namespace platform
