// The FILES arguments of the commands that import into the class model, taken as the desktop
// program's command line takes them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell::cli {

// The files the arguments name, in order: "@LIST" reads LIST and takes each of its non-empty
// lines as an argument in turn; a name is made absolute with the current folder; "*" and "?" in
// the last part of a name match the visible files of its folder, in name order. Throws
// usage_error on a list that cannot be read or that names itself.
std::vector<std::string> expand_file_arguments(std::span<const std::string_view> args);

}  // namespace tarnwell::cli
