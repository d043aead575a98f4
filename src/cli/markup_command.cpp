#include "cli/markup_command.h"

#include <ostream>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "cli/parse_request.h"

namespace tarnwell::cli {

int run_markup(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options = parse_options(args, opt_lang | opt_lines | opt_function | opt_at);
    const parse_outcome parsed = parse_request(options);
    out << json_object()
               .field("ok", parsed.result.ok)
               .field("message", parsed.result.message)
               .field("markup", parsed.result.markup)
               .field("error_pos", parsed.result.error_pos)
               .field("error_len", parsed.result.error_len)
               .field("offset", parsed.offset)
               .str()
        << '\n';
    return parsed.result.ok ? 0 : 1;
}

}  // namespace tarnwell::cli
