// tarnwell-cli script: the grid script of a source text or of a structure markup, as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_script(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
