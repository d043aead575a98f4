// The whole flowchart road from arbitrary bytes: every parser, the layout of its markup at a
// level taken from the input, and the grid script read back as the view reads it. No input
// may crash or hang, and a successful layout must read back complete with every cell inside
// the counts its script declares.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "layout/grid_script.h"
#include "layout/xmls2script.h"
#include "parsers/parser_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const tarnwell::parser_registry registry;
    static tarnwell::txml2script engine;
    // The first byte picks the level code: 0 (everything), 1 (one box) or a nesting depth.
    const int level = data[0] % 6;
    const std::string_view source(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (int slot = 0; slot < tarnwell::parser_registry::slot_count; ++slot) {
        tarnwell::tsparser* parser = registry.parser_at(slot);
        if (parser == nullptr) continue;
        engine.markup = parser->parse(source).markup;
        engine.parser_slot = slot;
        const bool laid_out = engine.make_script(level);
        if (engine.depth() < 1) std::abort();
        const auto script = tarnwell::read_grid_script(engine.grid_script());
        if (!script) std::abort();
        if (!laid_out) continue;
        if (!script->complete) std::abort();
        for (const tarnwell::grid_cell& cell : script->cells) {
            const int column = cell.column - script->column_offset;
            if (column < 0 || column >= script->column_count || cell.row < 0 ||
                cell.row >= script->row_count) {
                std::abort();
            }
        }
    }
    return 0;
}
