// The flowchart commands without a window: laying a document's marked code out at an expand
// level, finding the cell that follows the user's last selection when a chart is loaded,
// mapping a cell to the source characters it stands for, and the lists, names and texts the
// commands show. The panel and the main window's actions sit on top of these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flowview/broxgrid_model.h"
#include "layout/grid_script.h"
#include "parsers/xmls.h"

namespace tarnwell {

struct document;
class parser_registry;
class txml2script;

inline constexpr std::string_view mark_message =
    "Please use popup menu of editor to mark the begin line and end line of code that you "
    "want to parse. All marked code must be in the same function ,and don't include the line "
    "of function name.";
inline constexpr std::string_view parse_error_heading = "There are errors.\r\n";

// Item indexes of the level list, which are also the tags of the level commands and the
// expand levels they choose: 0 every level, 1 the refresh item, k >= 2 level k - 1.
inline constexpr int level_all = 0;
inline constexpr int level_refresh = 1;
// Show flowchart with this index only reloads the stored chart.
inline constexpr int level_reload = 99;
// The grid's popup menu offers levels 1 to this one.
inline constexpr int popup_level_count = 18;

// How a loaded chart finds the cell of the previous selection: the first cell whose range
// lies inside the stored highlight range (the chart grew a level), or the first whose range
// contains it.
enum class match_mode { inside, containing };

// What Lay out did besides storing the new chart in the document.
struct layout_outcome {
    std::optional<parser_result> parse;  // the parse, when it ran
    match_mode mode = match_mode::containing;
    grid_script script;  // the cells laid out, handed on so that the grid need not read the text
};

// A document without a parser slot charts with the default parser.
void settle_parser_slot(document& doc);

// Lay out (level): parses the stored marked text again when the level is the refresh item or
// the stored markup is too short to be one, lays the markup out, and stores the depth, the
// expand level, the grid script and its column offset. The refresh item keeps the stored level
// but not beyond what the markup has (depth + 1); no item (a negative level) gives level 1.
layout_outcome lay_out(document& doc, int level, const parser_registry& parsers,
                       txml2script& engine);

// Charting a document of no language, whose code no parser reads.
inline constexpr std::string_view no_language_message =
    "No language is chosen for this file, so its code cannot be charted. Choose the language "
    "in the tool bar's language list.";

// The message box of a failed parse.
std::string parse_error_text(const parser_result& result);

// The number between the first "script" and the first "(" of a grid script: its column
// offset. Nothing when either is missing or the text between is not a number.
std::optional<int> script_column_offset(std::string_view script);

// The first cell of a script, in script order, whose valid range matches a valid highlight
// range; its position on the grid (column less the column offset) and its range text.
struct matched_cell {
    grid_point cell;
    std::string range;
};
std::optional<matched_cell> find_matching_cell(const grid_script& script,
                                               std::string_view highlight_range, match_mode mode);

// What a click on a grid cell selects: the range text of the script's cell at that position
// (the new highlight range) and, when the range is valid, the editor characters it stands for
// (positions + offset, 1-based and inclusive). Nothing when the script has no such cell.
struct editor_span {
    std::int64_t start = 0;
    std::int64_t end = 0;
};
struct cell_selection {
    std::string range;
    std::optional<editor_span> editor_range;
};
std::optional<cell_selection> select_chart_cell(const grid_script& script, grid_point cell,
                                                int column_offset, std::int32_t offset);

// The highlight range of a single position, as Highlight related flowchart stores it.
std::string position_range(std::int64_t position);

// The items of the level list for a markup of this depth: "All", "Refresh", "1" ... depth.
std::vector<std::string> level_list_items(int depth);
// Whether the popup item of a level number (1 to 18) is shown for a markup of this depth.
bool level_item_visible(int level_number, int depth);

// The name an export of the chart suggests: the document's path, ".layer", the expand level
// less one, and the extension (".bmp" for Export flowchart as Bitmap, ".pdf" for PDF).
std::string chart_file_name(std::string_view document_path, int expand_level,
                            std::string_view extension);

// The width the panel is widened to, at least, before it shows a chart in a set.
int panel_min_width(bool small_set);

}  // namespace tarnwell
