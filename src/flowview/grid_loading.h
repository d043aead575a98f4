// Filling the grid view's cells from a read grid script: the cells at their grid columns and
// the label texts of the jump cells, cut from the editor text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "flowview/broxgrid_model.h"
#include "layout/grid_script.h"

namespace tarnwell {

// The characters of the editor text from position `start` to `end` (1-based and inclusive), cut
// to the text.
std::string_view editor_characters(std::string_view editor_text, std::int64_t start,
                                   std::int64_t end);

// The text a label or jump cell shows: the characters of its range (positions + offset, 1-based
// and inclusive, cut to the text), without white space and control characters at either end.
std::string label_source_text(std::string_view editor_text, std::int32_t offset,
                              source_range range);

// Resizes the grid to the script's counts (false, and the grid untouched, when it refuses
// them), writes every cell at (column - column offset, row) in script order so that the last
// cell of a position is the one shown, and gives the grid the label texts of the p_label and
// p_goto cells whose range is valid. The drawing flag is left to the caller.
bool load_grid(broxgrid_model& grid, const grid_script& script, std::string_view editor_text,
               std::int32_t offset);

}  // namespace tarnwell
