// tarnwell-cli print: a source file printed into a PDF, as the desktop program prints it.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tarnwell::cli {

// print [--lang L] -o OUT.pdf FILE
int run_print(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
