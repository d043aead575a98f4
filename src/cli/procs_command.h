// tarnwell-cli procs: the procedures of a C, C++, Java, C# or Pascal text, one result line
// each, as the code explorer's scanner reports them.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_procs(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
