// What the grid layout and the export layout share besides the reader: the parser slots whose
// selections end one way or the other, the count that bounds their nesting, and the look-up of
// a construct's row in a table of constructs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwell {

// PHP, the C family, Perl and C# close a selection with one end symbol below its last branch.
inline bool closes_selection_below(int parser_slot) {
    return parser_slot == 2 || parser_slot == 3 || parser_slot == 4 || parser_slot == 6 ||
           parser_slot == 8;
}

// The Basic family, PowerBuilder and Pascal close each branch of a selection.
inline bool basic_like_selection(int parser_slot) {
    return parser_slot == 1 || parser_slot == 5 || parser_slot == 7 || parser_slot == 9 ||
           parser_slot == 10 || parser_slot == 13;
}

// Counts the sequences being laid out for as long as it lives.
class nesting_count {
  public:
    explicit nesting_count(int& nesting) : nesting_(nesting) { ++nesting_; }
    ~nesting_count() { --nesting_; }
    nesting_count(const nesting_count&) = delete;
    nesting_count& operator=(const nesting_count&) = delete;

  private:
    int& nesting_;
};

// The row of a table of constructs that an opening item selects, or nullptr.
template <typename Row, std::size_t size>
const Row* opened_by(const Row (&table)[size], std::uint8_t code) {
    for (const Row& row : table) {
        if (row.opening == code) return &row;
    }
    return nullptr;
}

}  // namespace tarnwell
