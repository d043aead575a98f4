// Keyword tables bucketed by a hash of the word, so that a lexer compares a word only with
// the few keywords that share its hash.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarnwell {

template <std::size_t Slots, std::size_t Count>
struct keyword_index {
    std::array<std::uint16_t, Slots + 1> first{};
    std::array<std::uint8_t, Count> by_slot{};

    // The numbers of the keywords whose hash is `slot`.
    constexpr std::span<const std::uint8_t> keywords_at(std::size_t slot) const {
        return std::span<const std::uint8_t>(by_slot).subspan(first[slot],
                                                              first[slot + 1] - first[slot]);
    }
};

// Buckets `keywords` by `hash`, which must give less than `Slots` for each of them.
template <std::size_t Slots, std::size_t Count, class Hash>
consteval keyword_index<Slots, Count> make_keyword_index(
    const std::array<std::string_view, Count>& keywords, Hash hash) {
    static_assert(Count < 256);
    keyword_index<Slots, Count> index;
    std::array<std::size_t, Slots + 1> next{};
    for (const std::string_view keyword : keywords) {
        if (hash(keyword) >= Slots) throw "keyword hash out of range";
        ++next[hash(keyword) + 1];
    }
    for (std::size_t s = 1; s <= Slots; ++s) next[s] += next[s - 1];
    for (std::size_t s = 0; s <= Slots; ++s) index.first[s] = static_cast<std::uint16_t>(next[s]);
    for (std::size_t k = 0; k < Count; ++k) {
        index.by_slot[next[hash(keywords[k])]++] = static_cast<std::uint8_t>(k);
    }
    return index;
}

}  // namespace tarnwell
