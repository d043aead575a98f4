// Reading and writing source files byte for byte, and the save that keeps the previous
// version of a file as its ".vbak" backup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwell {

struct file_read {
    bool ok = false;
    std::string bytes;
    std::string error;  // the system's text, with the path, when not ok
};

// Files larger than this are refused rather than loaded into an editor.
inline constexpr std::uintmax_t max_file_size = std::uintmax_t{1} << 30;

file_read read_file(const std::string& path);

// The path with its extension replaced by ".vbak" ("prog.java" gives "prog.vbak").
std::string backup_path_of(std::string_view path);

// Writes a whole file so that a failure never leaves it half written: the bytes go to a new
// file beside it, which then takes the file's name. Empty on success, else the error text.
std::string write_file(const std::string& path, std::string_view bytes);

// Saves `bytes` to `path`; an existing file is kept under its backup name first, replacing
// an older backup. A write that fails leaves the file and its backup as they were and
// returns the error text; a backup that cannot be made is skipped silently.
std::string save_with_backup(const std::string& path, std::string_view bytes);

}  // namespace tarnwell
