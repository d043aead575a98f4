// tarnwell-cli model: imports Java sources, class files or jars into the class model and prints
// the model as JSON.
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

// The packages of the model in model order, each with its classifiers and their features.
void write_model_json(const TObjectModel& model, const std::vector<std::string>& files,
                      std::ostream& out);

}  // namespace tarnwell::cli
