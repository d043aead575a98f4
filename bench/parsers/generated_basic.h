// Procedures of any length in the line-based dialects, each using every construct its parser
// charts.
#pragma once

#include <string>

namespace tarnwell::bench {

// A procedure body of about `lines` lines, CR LF line ends.
std::string generated_vb_function(int lines);
std::string generated_vbnet_function(int lines);
std::string generated_basic_program(int lines);
std::string generated_foxpro_function(int lines);
std::string generated_powerbuilder_script(int lines);

}  // namespace tarnwell::bench
