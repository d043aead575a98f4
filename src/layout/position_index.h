// The cells of each grid position while a layout writes them: which cell came first there and
// which last. A long chart adds a position for nearly every cell it writes, so the index keeps
// its entries in one table (open addressing, linear probing) rather than a node each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnwell {

struct position_cells {
    std::int32_t first;  // indices of cells; never below 0 in an entry
    std::int32_t last;
};

class position_index {
  public:
    // The entry of a position, or nullptr. Valid until the next `add` or `erase`.
    position_cells* find(int column, int row);
    const position_cells* find(int column, int row) const;
    // The entry of a position, made with `made` when there is none; true when it was made.
    std::pair<position_cells*, bool> add(int column, int row, position_cells made);
    void erase(int column, int row);
    // Room for about `positions` entries without growing.
    void reserve(std::size_t positions);
    // No entries, with the room kept.
    void clear();

  private:
    struct slot {
        std::uint64_t key;
        position_cells cells;  // `first` below 0 in an empty slot
    };

    static std::uint64_t key_of(int column, int row);
    std::size_t home(std::uint64_t key) const;
    std::size_t slot_of(std::uint64_t key) const;  // where the key is, or the empty slot ending its probe
    void grow_to(std::size_t capacity);

    std::vector<slot> slots_;
    std::size_t used_ = 0;
};

}  // namespace tarnwell
