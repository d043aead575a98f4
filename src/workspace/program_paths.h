// Where the program finds its data folders and keeps its settings files, wherever it was
// started from.
#pragma once

#include <filesystem>
#include <string>

namespace tarnwell {

struct program_paths {
    // The folder that holds sample/, photo1/, photo2/, stencil/ and help/.
    std::filesystem::path program_dir;
    // The folder of "tarnwell.ini" and "input.ini".
    std::filesystem::path settings_dir;

    std::string ini_file() const { return (settings_dir / "tarnwell.ini").string(); }
    std::string sample_file() const { return (program_dir / "sample" / "Array.java").string(); }
    std::string picture_folder() const { return (program_dir / "photo1").string() + "/"; }
    std::string help_file() const { return (program_dir / "help" / "index.html").string(); }
    std::string help_page(const std::string& name) const {
        return (program_dir / "help" / name).string();
    }
};

// The data folders lie beside the executable, else in "../share/tarnwell/" from it. The
// settings files live beside the executable when that folder is writable, else in
// "$XDG_CONFIG_HOME/tarnwell/" ("$HOME/.config/tarnwell/" when the variable is unset).
program_paths resolve_program_paths(const std::filesystem::path& executable_dir,
                                    const char* xdg_config_home, const char* home);

}  // namespace tarnwell
