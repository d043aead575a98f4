// Pascal routine bodies of any length that use every construct the Pascal parser charts.
#pragma once

#include <string>

namespace tarnwell::bench {

// A "begin ... end;" routine body of about `lines` lines, CR LF line ends.
std::string generated_pascal_routine(int lines);

}  // namespace tarnwell::bench
