// The seven procedure categories of the code explorer, and the options that shape its tree
// for as long as the program runs.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

inline constexpr int category_count = 7;

struct explorer_category {
    std::string_view tag;           // as the scanners write it in a result line
    std::string_view display_name;  // the text of the category's root node
};

// In index order: macros, functions, subroutines, tasks, procedures, constructors, destructors.
const std::array<explorer_category, category_count>& explorer_categories();

// Whether the explorer shows a category's root for a language kind (see
// explorer_language_kind): subroutines and tasks for the languages without a scanner,
// procedures, constructors and destructors for the scanned ones, functions for both, macros
// for none.
bool category_shown_for(int category, int language_kind);

// The display names in index order, joined with ";".
std::string default_category_order();

// The ";"-separated entries of a category order, empty entries included.
std::vector<std::string_view> split_category_order(std::string_view order);

// The category with exactly this display name or tag.
std::optional<int> category_of_name(std::string_view display_name);
std::optional<int> category_of_tag(std::string_view tag);

// The explorer's options; one record for the whole program, never written to disk.
struct TCodeExplorerProperties {
    // Display names in the order of the root nodes, ";"-separated; empty for the default order.
    std::string CategoryOrder;
    bool AutoShowExplorer = false;
    bool ShowDeclarationSyntax = false;
    // Procedures of each category sorted by name; otherwise in the order the scanner found them.
    bool AlphaSort = false;
    // A hidden category gets no root node. All are shown at first, as the options list shows.
    std::array<bool, category_count> CategoryVisible{true, true, true, true, true, true, true};
    std::array<bool, category_count> CategoryExpanded{};
};

}  // namespace tarnwell
