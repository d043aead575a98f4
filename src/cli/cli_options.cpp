#include "cli/cli_options.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>
#include <utility>

#include "parsers/language_table.h"

namespace tarnwell::cli {

namespace {

int parse_number(std::string_view text, std::string_view option) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw usage_error(std::string(option) + " takes a number, not \"" + std::string(text) +
                          "\"");
    }
    return value;
}

std::pair<int, int> parse_lines(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) throw usage_error("--lines takes B-E, such as 3-17");
    const int begin = parse_number(text.substr(0, dash), "--lines");
    const int end = parse_number(text.substr(dash + 1), "--lines");
    if (begin < 1 || begin >= end) {
        throw usage_error("--lines B-E needs 1 <= B < E (a mark on a single line marks nothing)");
    }
    return {begin, end};
}

void require(unsigned accepted, option_set option, std::string_view name) {
    if ((accepted & option) == 0) throw usage_error("this command takes no " + std::string(name));
}

}  // namespace

cli_options parse_options(std::span<const std::string_view> args, unsigned accepted) {
    cli_options options;
    bool have_file = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        // "--option=value" is "--option value" written as one argument.
        std::optional<std::string_view> joined_value;
        if (const std::size_t equals = arg.find('=');
            arg.starts_with("--") && equals != std::string_view::npos) {
            joined_value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
            if (arg == "--small" || arg == "--markup" || arg == "--json") {
                throw usage_error(std::string(arg) + " takes no value");
            }
        }
        const auto value = [&]() -> std::string_view {
            if (joined_value) return *joined_value;
            if (i + 1 >= args.size()) throw usage_error(std::string(arg) + " needs a value");
            return args[++i];
        };
        if (arg == "--lang") {
            require(accepted, opt_lang, arg);
            const std::string_view name = value();
            options.language = language_by_name(name);
            if (!options.language)
                throw usage_error("unknown language \"" + std::string(name) + "\"");
        } else if (arg == "--lines") {
            require(accepted, opt_lines, arg);
            options.lines = parse_lines(value());
        } else if (arg == "--level") {
            require(accepted, opt_level, arg);
            options.level = parse_number(value(), arg);
            if (options.level < 0) throw usage_error("--level takes a level code of 0 or more");
        } else if (arg == "--budget") {
            require(accepted, opt_budget, arg);
            options.budget = parse_number(value(), arg);
            if (options.budget < 0) throw usage_error("--budget takes milliseconds, 0 or more");
        } else if (arg == "--small") {
            require(accepted, opt_small, arg);
            options.small = true;
        } else if (arg == "--markup") {
            require(accepted, opt_markup, arg);
            options.markup = true;
        } else if (arg == "--json") {
            require(accepted, opt_json, arg);
            options.json = true;
        } else if (arg == "--to") {
            require(accepted, opt_to, arg);
            options.export_to = std::string(value());
        } else if (arg == "--function") {
            require(accepted, opt_function, arg);
            options.function_name = std::string(value());
        } else if (arg == "--at") {
            require(accepted, opt_at, arg);
            options.at_line = parse_number(value(), arg);
            if (*options.at_line < 1) throw usage_error("--at takes a line number of 1 or more");
        } else if (arg == "--template") {
            require(accepted, opt_template, arg);
            options.template_path = std::string(value());
        } else if (arg == "--ini") {
            require(accepted, opt_ini, arg);
            options.ini_path = std::string(value());
        } else if (arg == "-o") {
            require(accepted, opt_output, arg);
            options.output_path = std::string(value());
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw usage_error("unknown option " + std::string(arg));
        } else if (have_file) {
            throw usage_error("only one FILE may be given");
        } else {
            options.file = std::string(arg);
            have_file = true;
        }
    }
    if (!have_file) throw usage_error("FILE is missing (\"-\" reads standard input)");
    if ((accepted & opt_output) != 0 && options.output_path.empty()) {
        throw usage_error("-o OUT is missing");
    }
    return options;
}

std::string read_input(const std::string& file) {
    std::ifstream named;
    if (file != "-") {
        // A folder opens like a file and reads as an empty one.
        std::error_code error;
        if (std::filesystem::is_directory(file, error)) {
            throw usage_error("cannot read " + file + ": it is a folder");
        }
        named.open(file, std::ios::binary);
        if (!named) throw usage_error("cannot read " + file);
    }
    std::istream& in = file == "-" ? std::cin : named;
    // Copied buffer by buffer: a byte at a time cost more than the layout of a small graph.
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) throw usage_error("cannot read " + file);
    return std::move(buffer).str();
}

int language_of(const cli_options& options, std::string_view text) {
    if (options.language) return *options.language;
    return detect_language_of_file(options.file, text);
}

}  // namespace tarnwell::cli
