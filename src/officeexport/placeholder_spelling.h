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

}  // namespace tarnwell
