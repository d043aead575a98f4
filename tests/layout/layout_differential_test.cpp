// The engine against the straightforward reference layouts, on generated markups: the same
// grid scripts byte for byte, the same cell and connector lists, the same results and depths.
// TARNWELL_LAYOUT_CASES sets the number of markups and TARNWELL_LAYOUT_SEED their seed, for a
// longer local run such as TARNWELL_LAYOUT_CASES=100000 TARNWELL_LAYOUT_SEED=2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "layout/grid_script.h"
#include "layout/xmls2script.h"
#include "markup_generator.h"
#include "parsers/cpp2xmls.h"
#include "reference_export_layout.h"
#include "reference_layout.h"

namespace tarnwell {
namespace {

int setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::atoi(text) : fallback;
}

std::string printable(const std::string& s) {
    std::string out;
    for (const char c : s) out += c == '\001' ? std::string("\\001") : std::string(1, c);
    return out;
}

// The reference's script with its columns and rows widened to every cell it holds, as the
// engine does for a layout that stopped at a fault and left cells outside its extent; a
// complete layout never does, and its script is unchanged.
std::string taking_in_every_cell(const std::string& script) {
    std::optional<grid_script> read = read_grid_script(script);
    if (!read) return script;
    int lowest = read->column_offset + 1;
    int highest = read->column_offset + read->column_count - 3;
    int last_row = read->row_count - 3;
    for (const grid_cell& cell : read->cells) {
        lowest = std::min(lowest, cell.column);
        highest = std::max(highest, cell.column);
        last_row = std::max(last_row, cell.row);
    }
    read->column_offset = lowest - 1;
    read->column_count = highest - lowest + 4;
    read->row_count = last_row + 3;
    return write_grid_script(*read);
}

// The i-th markup of a run: complete ones, cut ones, damaged ones and parses of C sources.
std::string generated_markup(std::mt19937& rng, int i, Tcppsparser& parser) {
    const int depth = 1 + static_cast<int>(rng() % 6);
    switch (i % 5) {
        case 0:
        case 1:
            return testing::random_markup(rng, depth);
        case 2:
            return testing::cut_markup(rng, testing::random_markup(rng, depth));
        case 3:
            return testing::damaged_markup(rng, testing::random_markup(rng, depth));
        default:
            return parser.parse(testing::random_c_source(rng, depth)).markup;
    }
}

// The parser slot (read only by selections) turns with the level, so each markup meets all
// four kinds of selection ending.
int slot_for(int i, int level) {
    constexpr int slots[] = {1, 3, 7, 11};
    return slots[(i + level) % 4];
}

std::string listed(const export_cells& cells) {
    std::string out = "columns " + std::to_string(cells.column_count) + " rows " +
                      std::to_string(cells.row_count) + " offset " +
                      std::to_string(cells.column_offset) + "\n";
    for (const export_cell& c : cells.cells) {
        out += "  cell " + std::to_string(c.column) + "," + std::to_string(c.row) + " " +
               std::to_string(c.code) + " " + printable(c.range) + "\n";
    }
    for (const export_connector& c : cells.connectors) {
        out += "  connector " + std::to_string(c.first_column) + "," + std::to_string(c.first_row) +
               " " + std::string(anchor_name(c.first_anchor)) + " -> " +
               std::to_string(c.second_column) + "," + std::to_string(c.second_row) + " " +
               std::string(anchor_name(c.second_anchor)) + " " + std::to_string(c.code) + "\n";
    }
    return out;
}

bool same_cells(const export_cells& a, const export_cells& b) {
    return a.cells == b.cells && a.connectors == b.connectors && a.column_count == b.column_count &&
           a.row_count == b.row_count && a.column_offset == b.column_offset;
}

TEST(LayoutDifferential, EngineMatchesTheReferenceOnGeneratedMarkups) {
    std::mt19937 rng(static_cast<std::mt19937::result_type>(setting("TARNWELL_LAYOUT_SEED", 1)));
    Tcppsparser parser;
    txml2script engine;
    testing::reference_layout reference;
    const int cases = setting("TARNWELL_LAYOUT_CASES", 800);
    int failures = 0;
    for (int i = 0; i < cases && failures < 5; ++i) {
        const std::string markup = generated_markup(rng, i, parser);
        engine.markup = reference.markup = markup;
        ASSERT_EQ(engine.depth(), reference.depth()) << printable(markup);
        for (int level = 0; level <= 6; ++level) {
            const int slot = slot_for(i, level);
            engine.parser_slot = reference.parser_slot = slot;
            const bool engine_ok = engine.make_script(level);
            const bool reference_ok = reference.make_script(level);
            const std::string expected = reference_ok
                                             ? reference.grid_script()
                                             : taking_in_every_cell(reference.grid_script());
            if (engine_ok != reference_ok || engine.grid_script() != expected) {
                ADD_FAILURE() << "markup " << printable(markup) << "\nlevel " << level << " slot "
                              << slot << "\nengine    " << engine_ok << " "
                              << printable(engine.grid_script()) << "\nreference " << reference_ok
                              << " " << printable(expected);
                ++failures;
            }
        }
    }
}

TEST(LayoutDifferential, ExportLayoutMatchesTheReferenceOnGeneratedMarkups) {
    std::mt19937 rng(static_cast<std::mt19937::result_type>(setting("TARNWELL_LAYOUT_SEED", 1)));
    Tcppsparser parser;
    txml2script engine;
    testing::reference_export_layout reference;
    const int cases = setting("TARNWELL_LAYOUT_CASES", 800);
    int failures = 0;
    for (int i = 0; i < cases && failures < 5; ++i) {
        const std::string markup = generated_markup(rng, i, parser);
        for (int level = 0; level <= 6; ++level) {
            const int slot = slot_for(i, level);
            engine.parser_slot = reference.parser_slot = slot;
            engine.markup = reference.markup = markup;
            const bool engine_ok = engine.make_cells(level);
            const bool reference_ok = reference.make_cells(level);
            if (engine_ok != reference_ok || !same_cells(engine.cells(), reference.cells())) {
                ADD_FAILURE() << "markup " << printable(markup) << "\nlevel " << level << " slot "
                              << slot << "\nengine " << engine_ok << " " << listed(engine.cells())
                              << "reference " << reference_ok << " " << listed(reference.cells());
                ++failures;
            }
        }
    }
}

}  // namespace
}  // namespace tarnwell
