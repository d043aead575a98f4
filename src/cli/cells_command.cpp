#include "cli/cells_command.h"

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "cli/parse_request.h"
#include "layout/xmls2script.h"
#include "officeexport/cell_table.h"
#include "officeexport/export_parameters.h"

namespace tarnwell::cli {

namespace {

std::string cells_json(const export_cells& layout, const cell_table& table) {
    std::string json = "[";
    for (const export_cell& cell : layout.cells) {
        if (json.size() > 1) json += ',';
        json += json_object()
                    .field("column", cell.column)
                    .field("row", cell.row)
                    .field("code", cell.code)
                    .field("range", cell.range)
                    .field("text", table.at(table.column_index(cell.column), cell.row).text.text)
                    .str();
    }
    return json + "]";
}

std::string connectors_json(const export_cells& layout) {
    std::string json = "[";
    for (const export_connector& c : layout.connectors) {
        if (json.size() > 1) json += ',';
        json += json_object()
                    .field("first_column", c.first_column)
                    .field("first_row", c.first_row)
                    .field("first_anchor", anchor_name(c.first_anchor))
                    .field("second_column", c.second_column)
                    .field("second_row", c.second_row)
                    .field("second_anchor", anchor_name(c.second_anchor))
                    .field("code", c.code)
                    .str();
    }
    return json + "]";
}

}  // namespace

int run_cells(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options =
        parse_options(args, opt_lang | opt_lines | opt_level | opt_markup | opt_function | opt_at);
    const parse_outcome parsed = parse_request_or_markup(options);
    txml2script engine;
    engine.markup = parsed.result.markup;
    engine.parser_slot = parsed.parser_slot;
    const bool layout_ok = engine.make_cells(options.level);
    const export_cells& layout = engine.cells();
    // Cell texts as the exporters cut them by default; a markup given alone has no text.
    const int limit = export_parameters().char_limit;
    const cell_table table = cell_table::build(layout, {parsed.text}, limit);
    out << json_object()
               .field("ok", parsed.result.ok)
               .field("message", parsed.result.message)
               .field("layout_ok", layout_ok)
               .field("level", options.level)
               .field("column_count", layout.column_count)
               .field("row_count", layout.row_count)
               .field("column_offset", layout.column_offset)
               .raw_field("cells", cells_json(layout, table))
               .raw_field("connectors", connectors_json(layout))
               .str()
        << '\n';
    return parsed.result.ok && layout_ok ? 0 : 1;
}

}  // namespace tarnwell::cli
