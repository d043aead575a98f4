#include "cli/script_command.h"

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "cli/parse_request.h"
#include "layout/xmls2script.h"
#include "parsers/language_table.h"
#include "parsers/parser_registry.h"

namespace tarnwell::cli {

namespace {

// A markup given as FILE: its text up to and including its terminator, laid out for the parser
// slot of --lang (default 3). There is no parse, so the parse fields report success.
parse_outcome given_markup(const cli_options& options) {
    if (options.lines) {
        throw usage_error("--lines marks source lines; it does not go with --markup");
    }
    const std::string text = read_input(options.file);
    parse_outcome outcome;
    outcome.result.ok = true;
    outcome.result.markup = text.substr(0, text.find('\001') + 1);
    if (outcome.result.markup.empty()) outcome.result.markup = text;
    if (options.language) outcome.parser_slot = parser_slot_of_language(*options.language);
    if (outcome.parser_slot == 0) outcome.parser_slot = parser_registry::default_slot;
    return outcome;
}

}  // namespace

int run_script(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options = parse_options(args, opt_lang | opt_lines | opt_level | opt_markup);
    const parse_outcome parsed = options.markup ? given_markup(options) : parse_request(options);
    txml2script engine;
    engine.markup = parsed.result.markup;
    engine.parser_slot = parsed.parser_slot;
    const int depth = engine.depth();
    const bool layout_ok = engine.make_script(options.level);
    out << json_object()
               .field("ok", parsed.result.ok)
               .field("message", parsed.result.message)
               .field("error_pos", parsed.result.error_pos)
               .field("error_len", parsed.result.error_len)
               .field("layout_ok", layout_ok)
               .field("depth", depth)
               .field("level", options.level)
               .field("offset", parsed.offset)
               .field("script", engine.grid_script())
               .str()
        << '\n';
    return parsed.result.ok && layout_ok ? 0 : 1;
}

}  // namespace tarnwell::cli
