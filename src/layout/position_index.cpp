#include "layout/position_index.h"

#include <algorithm>
#include <bit>

namespace tarnwell {

namespace {

constexpr position_cells empty_cells{-1, -1};
constexpr std::size_t smallest_capacity = 16;

bool occupied(const position_cells& cells) {
    return cells.first >= 0;
}

}  // namespace

std::uint64_t position_index::key_of(int column, int row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) |
           static_cast<std::uint32_t>(row);
}

std::size_t position_index::home(std::uint64_t key) const {
    // A layout works down a column a few rows at a time, so eight rows of a column share one
    // run of slots (the table stays in the cache where it is being written); the runs are
    // spread over the table by Fibonacci hashing.
    constexpr int run_bits = 3;
    const std::uint64_t run = (key & ~std::uint64_t{(1 << run_bits) - 1}) * 0x9e3779b97f4a7c15ULL;
    const int table_bits = std::countr_zero(slots_.size());
    const std::size_t start = static_cast<std::size_t>(run >> (64 - table_bits)) << run_bits;
    return (start | static_cast<std::size_t>(key & ((1 << run_bits) - 1))) & (slots_.size() - 1);
}

std::size_t position_index::slot_of(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = home(key);
    while (occupied(slots_[at].cells) && slots_[at].key != key) at = (at + 1) & mask;
    return at;
}

position_cells* position_index::find(int column, int row) {
    if (used_ == 0) return nullptr;
    slot& found = slots_[slot_of(key_of(column, row))];
    return occupied(found.cells) ? &found.cells : nullptr;
}

const position_cells* position_index::find(int column, int row) const {
    if (used_ == 0) return nullptr;
    const slot& found = slots_[slot_of(key_of(column, row))];
    return occupied(found.cells) ? &found.cells : nullptr;
}

std::pair<position_cells*, bool> position_index::add(int column, int row, position_cells made) {
    // At most seven tenths full, so that probes stay short.
    if ((used_ + 1) * 10 > slots_.size() * 7) {
        grow_to(std::max(smallest_capacity, slots_.size() * 2));
    }
    const std::uint64_t key = key_of(column, row);
    slot& at = slots_[slot_of(key)];
    if (occupied(at.cells)) return {&at.cells, false};
    at = {key, made};
    ++used_;
    return {&at.cells, true};
}

void position_index::erase(int column, int row) {
    if (used_ == 0) return;
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = slot_of(key_of(column, row));
    if (!occupied(slots_[hole].cells)) return;
    // Entries after the hole that could not sit at their home move back into it, so that
    // every probe still finds its entry without a marker for removed ones.
    for (std::size_t next = (hole + 1) & mask; occupied(slots_[next].cells);
         next = (next + 1) & mask) {
        const std::size_t wanted = home(slots_[next].key);
        if (((next - wanted) & mask) >= ((next - hole) & mask)) {
            slots_[hole] = slots_[next];
            hole = next;
        }
    }
    slots_[hole].cells = empty_cells;
    --used_;
}

void position_index::reserve(std::size_t positions) {
    const std::size_t wanted = std::bit_ceil(std::max(smallest_capacity, positions * 10 / 7 + 1));
    if (wanted > slots_.size()) grow_to(wanted);
}

void position_index::clear() {
    for (slot& entry : slots_) entry.cells = empty_cells;
    used_ = 0;
}

void position_index::grow_to(std::size_t capacity) {
    std::vector<slot> old(capacity, slot{0, empty_cells});
    old.swap(slots_);
    for (const slot& entry : old) {
        if (occupied(entry.cells)) slots_[slot_of(entry.key)] = entry;
    }
}

}  // namespace tarnwell
