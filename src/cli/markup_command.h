// tarnwell-cli markup: the structure markup of a source text, as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_markup(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
