// tarnwell-cli languages: the language table, as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_languages(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
