// Running one command of tarnwell-cli in whichever of its programs holds it: a wrong call or
// unreadable input becomes one line on stderr and exit status 2.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

using command_function = int (*)(std::span<const std::string_view>, std::ostream&);

struct named_command {
    std::string_view name;
    command_function run;
};

// Runs `run` over the arguments after the command's name (argv[2] on), writing to stdout.
int run_command(std::string_view name, command_function run, int argc, char** argv);

// The main of a program that holds some of the commands: runs the one argv[1] names.
int run_named_command(std::span<const named_command> commands, int argc, char** argv);

}  // namespace tarnwell::cli
