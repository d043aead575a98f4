// Placeholders are found whatever the letter case the template's author wrote them in
// ("#FunctionName#"): the spellings of a placeholder a text holds, each then replaced as it
// stands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The distinct pieces of `text` that equal `placeholder` when ASCII letter case is ignored, in
// the order they first occur. Empty for an empty placeholder.
std::vector<std::string> placeholder_spellings(std::string_view text, std::string_view placeholder);

// Where the first piece of `text` from `from` on that equals a non-empty `placeholder`, ASCII
// letter case ignored, starts; npos when there is none.
std::size_t find_placeholder(std::string_view text, std::string_view placeholder,
                             std::size_t from = 0);

}  // namespace tarnwell
