#include "workspace/program_paths.h"

#include <unistd.h>

namespace tarnwell {

namespace fs = std::filesystem;

namespace {

bool holds_data(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / "sample", ec);
}

}  // namespace

program_paths resolve_program_paths(const fs::path& executable_dir, const char* xdg_config_home,
                                    const char* home) {
    program_paths paths;
    const fs::path installed = executable_dir / ".." / "share" / "tarnwell";
    if (!holds_data(executable_dir) && holds_data(installed)) {
        paths.program_dir = installed.lexically_normal();
    } else {
        paths.program_dir = executable_dir;
    }
    if (::access(executable_dir.c_str(), W_OK) == 0) {
        paths.settings_dir = executable_dir;
    } else if (xdg_config_home != nullptr && xdg_config_home[0] == '/') {
        paths.settings_dir = fs::path(xdg_config_home) / "tarnwell";
    } else if (home != nullptr && home[0] != '\0') {
        paths.settings_dir = fs::path(home) / ".config" / "tarnwell";
    } else {
        paths.settings_dir = fs::temp_directory_path() / "tarnwell";
    }
    return paths;
}

}  // namespace tarnwell
