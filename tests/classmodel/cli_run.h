// Runs the built tarnwell-cli as a user would, without a display: its exit status and what it
// wrote on standard output.
#pragma once

#include <string>

namespace tarnwell::test {

// `arguments` starts with the command ("diagram ...", "docs ..."); standard error is dropped.
int run_cli(const std::string& arguments, std::string* out = nullptr);

}  // namespace tarnwell::test
