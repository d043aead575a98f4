// The categories list of the explorer options dialog, read from the options and written back.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "explorer/explorer_categories.h"

namespace tarnwell {

// One item of the list: a category's display name, its check (visible) and its state
// (expanded).
struct category_option {
    std::string name;
    bool visible = true;
    bool expanded = false;

    bool operator==(const category_option&) const = default;
};

// The list as the dialog shows it: the categories in the stored order (names the order does
// not hold keep their places after the ordered ones), each with its check and state.
std::vector<category_option> load_category_options(const TCodeExplorerProperties& properties);

// Takes the order, the checks and the states of the list into the options.
void save_category_options(std::span<const category_option> list,
                           TCodeExplorerProperties& properties);

}  // namespace tarnwell
