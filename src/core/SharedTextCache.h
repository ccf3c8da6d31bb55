#pragma once

#include <QString>

#include <array>
#include <cstddef>

// Remembers a result per cell text, for the loops over every cell. Cells of equal scores share
// one string, so a lookup by the string's address costs a few instructions where hashing the
// text costs a hundred. Each entry holds its string, so while it is remembered its address
// cannot come back for another text. A miss only means the result is worked out again.
template <typename Value, std::size_t Slots = 256> class SharedTextCache {
public:
    const Value* find(const QString& text) const {
        const std::size_t first = slotOf(text);
        for (std::size_t i = 0; i < Probes; ++i) {
            const Entry& e = m_entries[(first + i) % Slots];
            if (!e.used) return nullptr;
            if (e.text.constData() == text.constData() && e.text.size() == text.size())
                return &e.value;
        }
        return nullptr;
    }
    const Value& remember(const QString& text, Value value) {
        const std::size_t first = slotOf(text);
        std::size_t at = first;
        for (std::size_t i = 0; i < Probes; ++i) {
            const std::size_t slot = (first + i) % Slots;
            if (!m_entries[slot].used) {
                at = slot;
                break;
            }
        }
        Entry& e = m_entries[at];
        e = {text, std::move(value), true};
        return e.value;
    }

private:
    static constexpr std::size_t Probes = 4;
    struct Entry {
        QString text;
        Value value{};
        bool used = false;
    };
    // Fibonacci hashing spreads the addresses, which are multiples of the allocator's alignment.
    static std::size_t slotOf(const QString& text) {
        return std::size_t((quint64(quintptr(text.constData())) * 0x9E3779B97F4A7C15ull) >> 40) %
               Slots;
    }
    std::array<Entry, Slots> m_entries;
};
