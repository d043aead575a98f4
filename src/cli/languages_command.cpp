#include "cli/languages_command.h"

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "parsers/language_table.h"

namespace tarnwell::cli {

int run_languages(std::span<const std::string_view> args, std::ostream& out) {
    if (!args.empty()) throw usage_error("languages takes no arguments");
    std::string rows = "[";
    for (const language_row& row : language_table()) {
        if (rows.size() > 1) rows += ",\n ";
        rows += json_object()
                    .field("number", row.number)
                    .field("name", row.short_name)
                    .field("combo_text", row.combo_text)
                    .field("detection_step", row.detection_step)
                    .field("extensions", row.extensions)
                    .field("highlighter", row.highlighter)
                    .field("parser_slot", row.parser_slot)
                    .str();
    }
    rows += "]";
    out << json_object().raw_field("languages", rows).str() << '\n';
    return 0;
}

}  // namespace tarnwell::cli
