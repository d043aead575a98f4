// tarnwell-cli xmi: imports Java sources, class files or jars into the class model and writes
// the model as an XMI file, in the form of the desktop program's XMI export or, with --simple,
// the nested form of the documentation generator.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_xmi(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
