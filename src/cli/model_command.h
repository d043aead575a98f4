// tarnwell-cli model: imports Java sources into the class model and prints the model as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {
class TObjectModel;
}

namespace tarnwell::cli {

int run_model(std::span<const std::string_view> args, std::ostream& out);

// The files the arguments name, in order: "@LIST" reads LIST and takes each of its non-empty
// lines as an argument in turn; a name is made absolute with the current folder; "*" and "?" in
// the last part of a name match the visible files of its folder, in name order. Throws
// usage_error on a list that cannot be read or that names itself.
std::vector<std::string> expand_file_arguments(std::span<const std::string_view> args);

// The packages of the model in model order, each with its classifiers and their features.
void write_model_json(const TObjectModel& model, const std::vector<std::string>& files,
                      std::ostream& out);

}  // namespace tarnwell::cli
