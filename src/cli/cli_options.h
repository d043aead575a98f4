// The options the commands of tarnwell-cli share, and reading their input file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "cmdline/usage_error.h"

namespace tarnwell::cli {

struct cli_options {
    std::optional<int> language;
    std::optional<std::pair<int, int>> lines;
    int level = 0;
    bool small = false;
    bool markup = false;  // FILE holds structure markup, not source
    bool json = false;    // answer in JSON instead of lines
    std::string output_path;
    std::int32_t budget = 3000;  // milliseconds
    std::string file;
    std::string export_to;       // the document format of export
    std::string function_name;   // the function to chart without --lines; the chart's name
    std::optional<int> at_line;  // chart the function around this line without --lines
    std::string template_path;
    std::string ini_path;
};

// Options a command accepts, as flags.
enum option_set : unsigned {
    opt_lang = 1u << 0,
    opt_lines = 1u << 1,
    opt_level = 1u << 2,
    opt_small = 1u << 3,
    opt_output = 1u << 4,
    opt_budget = 1u << 5,
    opt_markup = 1u << 6,
    opt_to = 1u << 7,
    opt_function = 1u << 8,
    opt_template = 1u << 9,
    opt_ini = 1u << 10,
    opt_at = 1u << 11,
    opt_json = 1u << 12,
};

// Reads the options and the one FILE argument; throws usage_error on anything else.
cli_options parse_options(std::span<const std::string_view> args, unsigned accepted);

// The bytes of FILE, or of standard input for "-".
std::string read_input(const std::string& file);

// The language of the call: --lang, else detected from the file name's extension.
int language_of(const cli_options& options, std::string_view text);

}  // namespace tarnwell::cli
