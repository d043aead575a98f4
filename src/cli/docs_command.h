// tarnwell-cli docs: the HTML documentation of the class model of Java sources, class files
// and jars, with the diagram pictures and their image maps.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tarnwell::cli {

// docs -o DIR FILES... | @LIST. Exit 0, 1 when a file could not be imported (the rest is
// still documented), 2 for a wrong call or a folder that cannot be written.
int run_docs(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
