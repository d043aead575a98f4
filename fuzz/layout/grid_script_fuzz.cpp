// The grid script reader on arbitrary bytes, as the view reads a stored script: no input may
// crash, hang or read out of bounds, and whatever it accepts must hold together.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "layout/grid_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto script = tarnwell::read_grid_script(text);
    if (!script) return 0;
    if (script->column_count < 1 || script->row_count < 1) std::abort();
    for (const tarnwell::grid_cell& cell : script->cells) {
        if (tarnwell::find_cell(*script, cell.column, cell.row) == nullptr) std::abort();
        if (const auto range = tarnwell::range_of(cell.range); range && range->start > range->end) {
            std::abort();
        }
    }
    return 0;
}
