#include "cli/command_run.h"

#include <iostream>
#include <vector>

#include "cmdline/usage_error.h"

namespace tarnwell::cli {

int run_command(std::string_view name, command_function run, int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 2, argv + argc);
    try {
        return run(args, std::cout);
    } catch (const usage_error& error) {
        std::cerr << "tarnwell-cli " << name << ": " << error.what() << '\n';
        return 2;
    }
}

int run_named_command(std::span<const named_command> commands, int argc, char** argv) {
    const std::string_view name = argc < 2 ? std::string_view() : argv[1];
    for (const named_command& command : commands) {
        if (command.name == name) return run_command(name, command.run, argc, argv);
    }
    std::cerr << "tarnwell-cli: unknown command \"" << name << "\"; run it through tarnwell-cli\n";
    return 2;
}

}  // namespace tarnwell::cli
