// Source functions of any length that use every construct a language's parser charts.
#pragma once

#include <string>

namespace tarnwell::bench {

// A C-family function body of about `lines` lines, CR LF line ends.
std::string generated_cpp_function(int lines);

}  // namespace tarnwell::bench
