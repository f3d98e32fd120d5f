#pragma once

// For Each over a snapshot of values, the way the library's collections enumerate: changes to
// the collection during the loop do not disturb it.

#include "vbscript/Object.h"

#include <vector>

namespace vbscript {

class ValueListEnumerator final : public Enumerator {
public:
    explicit ValueListEnumerator(std::vector<Value> values) : m_values(std::move(values)) {}
    bool next(Value& out) override {
        if (m_next >= m_values.size())
            return false;
        out = m_values[m_next++];
        return true;
    }

private:
    std::vector<Value> m_values;
    size_t m_next = 0;
};

} // namespace vbscript
