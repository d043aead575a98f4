// Handing a command over to another program of tarnwell-cli installed beside it, so that each
// program loads only the libraries its commands use and the quick ones start without Qt.
#pragma once

#include <string_view>

namespace tarnwell::cli {

// Replaces this process with `program` from this executable's folder, with the same
// arguments, so that its output and exit status are the command's own. Returns only when the
// program cannot be started, having said why on stderr: exit status 2.
int hand_over(std::string_view program, char** argv);

}  // namespace tarnwell::cli
