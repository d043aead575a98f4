// The lines a chart marks when the call names a function (--function NAME, NAME#2 for the
// second of several) or a line inside one (--at LINE) instead of giving --lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "cli/cli_options.h"

namespace tarnwell::cli {

// The first and last line of the chosen function; nothing when the call chooses none. Throws
// usage_error when no function or several match, with the names near or the matches found.
std::optional<std::pair<int, int>> chosen_function_lines(const cli_options& options,
                                                         const std::string& source, int language);

}  // namespace tarnwell::cli
