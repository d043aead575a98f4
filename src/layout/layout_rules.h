// What the grid layout and the export layout share besides the reader: the compound items and
// what they collapse into, the parser slots whose selections end one way or the other, the
// count that bounds their nesting, and the look-up of a construct's row in a table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layout/cell_script.h"
#include "layout/export_cells.h"
#include "layout/xmls2script.h"
#include "parsers/language_table.h"

namespace tarnwell {

// The compound items a level code of 2 shows collapsed: the grid symbol and the export cell.
struct collapsed_construct {
    std::uint8_t opening;
    std::uint8_t closing;
    symbol collapsed;
    int collapsed_code;
};

inline constexpr collapsed_construct collapsed_constructs[] = {
    {item_if, item_end_if, symbol::p_if2, export_if_collapsed},
    {item_switch, item_end_switch, symbol::p_switch2, export_switch_collapsed},
    {item_for, item_end_for, symbol::p_for2, export_for_collapsed},
    {item_dountil, item_end_dountil, symbol::p_dountil, export_dountil_collapsed},
    {item_untildo, item_end_untildo, symbol::p_untildo, export_untildo_collapsed},
    {item_dowhile, item_end_dowhile, symbol::p_dowhile, export_dowhile_collapsed},
    {item_whiledo, item_end_whiledo, symbol::p_whiledo, export_whiledo_collapsed},
};

// PHP, the C family, Perl and C# close a selection with one end symbol below its last branch.
inline bool closes_selection_below(int slot) {
    const int parser_slot = layout_slot_of(slot);
    return parser_slot == 2 || parser_slot == 3 || parser_slot == 4 || parser_slot == 6 ||
           parser_slot == 8;
}

// The Basic family, PowerBuilder and Pascal close each branch of a selection.
inline bool basic_like_selection(int slot) {
    const int parser_slot = layout_slot_of(slot);
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
