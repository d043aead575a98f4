// C#, PHP and Perl function bodies of any length that use every construct their parsers
// chart.
#pragma once

#include <string>

namespace tarnwell::bench {

// Bodies of about `lines` lines, CR LF line ends.
std::string generated_cs_function(int lines);
std::string generated_php_function(int lines);
std::string generated_perl_function(int lines);

}  // namespace tarnwell::bench
