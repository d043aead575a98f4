// PL/SQL and T-SQL procedure bodies of any length that use every construct their parsers
// chart.
#pragma once

#include <string>

namespace tarnwell::bench {

// A PL/SQL "BEGIN ... END;" block of about `lines` lines, LF line ends.
std::string generated_plsql_block(int lines);

// A T-SQL procedure of about `lines` lines, LF line ends.
std::string generated_tsql_procedure(int lines);

}  // namespace tarnwell::bench
