#include "cli/sibling_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

namespace tarnwell::cli {

int hand_over(std::string_view program, char** argv) {
    std::error_code error;
    // The folder of the executable itself, whatever name or link it was started by.
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    std::string path = (self.parent_path() / program).string();
    if (!error) {
        argv[0] = path.data();
        execv(path.c_str(), argv);
        error = std::error_code(errno, std::generic_category());
    }
    std::cerr << "tarnwell-cli " << argv[1] << ": cannot start " << path << ": " << error.message()
              << '\n';
    return 2;
}

}  // namespace tarnwell::cli
