// The whole flowchart road from arbitrary bytes: a parser, the layout of its markup at a
// level, the grid script read back as the view reads it, and the export cells. The first byte picks
// the parser slot and the level code, so each run costs one parse and one layout. No input may
// crash or hang, and a successful layout must read back complete with every cell inside the counts
// its script declares; so must the cells and connector ends of a successful export layout.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "layout/export_cells.h"
#include "layout/grid_script.h"
#include "layout/xmls2script.h"
#include "parsers/parser_registry.h"

namespace {

bool inside(int column, int row, int column_count, int row_count) {
    return column >= 0 && column < column_count && row >= 0 && row < row_count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const tarnwell::parser_registry registry;
    static tarnwell::txml2script engine;
    const int slot = data[0] % tarnwell::parser_registry::slot_count;
    // Level 0 is everything, 1 the top sequence as one box, n >= 2 n - 1 levels of nesting.
    const int level = data[0] / tarnwell::parser_registry::slot_count % 6;
    tarnwell::tsparser* parser = registry.parser_at(slot);
    if (parser == nullptr) return 0;
    const std::string_view source(reinterpret_cast<const char*>(data) + 1, size - 1);
    engine.markup = parser->parse(source).markup;
    engine.parser_slot = slot;
    const bool laid_out = engine.make_script(level);
    if (engine.depth() < 1) std::abort();
    const auto script = tarnwell::read_grid_script(engine.grid_script());
    if (!script) std::abort();
    if (laid_out) {
        if (!script->complete) std::abort();
        for (const tarnwell::grid_cell& cell : script->cells) {
            if (!inside(cell.column - script->column_offset, cell.row, script->column_count,
                        script->row_count)) {
                std::abort();
            }
        }
    }
    if (!engine.make_cells(level)) return 0;
    const tarnwell::export_cells& cells = engine.cells();
    const auto in_table = [&](int column, int row) {
        return inside(column - cells.column_offset, row, cells.column_count, cells.row_count);
    };
    for (const tarnwell::export_cell& cell : cells.cells) {
        if (!in_table(cell.column, cell.row)) std::abort();
    }
    for (const tarnwell::export_connector& line : cells.connectors) {
        if (!in_table(line.first_column, line.first_row) ||
            !in_table(line.second_column, line.second_row)) {
            std::abort();
        }
    }
    return 0;
}
