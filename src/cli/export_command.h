// tarnwell-cli export: the chart of the marked code as an Office document, drawn by the
// document exporters with the settings of an ini file's section for the application.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_export(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
