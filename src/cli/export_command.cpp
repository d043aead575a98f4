#include "cli/export_command.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "cli/parse_request.h"
#include "layout/xmls2script.h"
#include "officeexport/cell_table.h"
#include "officeexport/export_parameters.h"
#include "officeexport/office_export.h"
#include "workspace/ini_file.h"
#include "workspace/program_paths.h"

namespace tarnwell::cli {

namespace {

// The formats `--to` names: one row each.
struct export_format {
    std::string_view name;
    export_application application;
};

constexpr export_format formats[] = {
    {"pptx", export_application::powerpoint},
    {"docx", export_application::word},
    {"xlsx", export_application::excel},
    {"vsdx", export_application::visio},
};

const export_format& format_named(std::string_view name) {
    std::string names;
    for (const export_format& format : formats) {
        if (format.name == name) return format;
        names += (names.empty() ? "" : "|") + std::string(format.name);
    }
    throw usage_error("--to takes " + names + ", not \"" + std::string(name) + "\"");
}

std::filesystem::path program_dir() {
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    return resolve_program_paths(executable.parent_path(), std::getenv("XDG_CONFIG_HOME"),
                                 std::getenv("HOME"))
        .program_dir;
}

std::string file_name_of(const std::string& path) {
    if (path == "-") return {};
    return std::filesystem::path(path).filename().string();
}

std::string points(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
}

}  // namespace

int run_export(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options =
        parse_options(args, opt_lang | opt_lines | opt_level | opt_output | opt_to | opt_function |
                                opt_at | opt_template | opt_ini);
    if (options.export_to.empty()) throw usage_error("--to FORMAT is missing");
    const export_format& format = format_named(options.export_to);

    if (!options.ini_path.empty() && ::access(options.ini_path.c_str(), R_OK) != 0) {
        throw usage_error("cannot read " + options.ini_path);
    }
    export_parameters parameters =
        options.ini_path.empty()
            ? default_export_parameters(format.application, program_dir())
            : load_export_parameters(format.application, ini_file::load(options.ini_path),
                                     program_dir());
    if (!options.template_path.empty()) parameters.template_file = options.template_path;
    parameters.expand_level = options.level;
    parameters.file_name = file_name_of(options.file);
    parameters.function_name = options.function_name;
    parameters.output_file = options.output_path;

    const parse_outcome parsed = parse_request(options);
    txml2script engine;
    engine.markup = parsed.result.markup;
    engine.parser_slot = parsed.parser_slot;
    const bool layout_ok = engine.make_cells(options.level);
    const charted_text charted{parsed.source, parsed.offset,
                               static_cast<std::int64_t>(parsed.text.size())};
    const cell_table table =
        cell_table::build(engine.cells(), charted, parameters.character_limit());

    office_export_summary summary;
    std::string notice;
    std::string error;
    if (!write_office_export(table, parameters, options.output_path, summary, notice, error)) {
        throw usage_error(error);
    }
    if (!notice.empty()) std::cerr << "tarnwell-cli export: " << notice << '\n';
    out << json_object()
               .field("ok", parsed.result.ok)
               .field("layout_ok", layout_ok)
               .field("file", options.output_path)
               .field("shapes", static_cast<std::int64_t>(summary.shapes))
               .field("connectors", static_cast<std::int64_t>(summary.connectors))
               .raw_field("page", "{\"width\":" + points(summary.page.width) +
                                      ",\"height\":" + points(summary.page.height) + "}")
               .str()
        << '\n';
    return parsed.result.ok && layout_ok ? 0 : 1;
}

}  // namespace tarnwell::cli
