// Running a shell command from a test and reading what it printed.
#pragma once

#include <cstdio>
#include <string>
#include <utility>

namespace tarnwell {

// The standard output of a shell command, and whether it exited with status 0.
inline std::pair<bool, std::string> run_command(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {false, output};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    return {pclose(pipe) == 0, output};
}

inline std::string output_of(const std::string& command) {
    return run_command(command).second;
}

}  // namespace tarnwell
