#include "cli/script_command.h"

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "cli/parse_request.h"
#include "layout/xmls2script.h"

namespace tarnwell::cli {

int run_script(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options =
        parse_options(args, opt_lang | opt_lines | opt_level | opt_markup | opt_function | opt_at);
    const parse_outcome parsed = parse_request_or_markup(options);
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
