// The engine against the straightforward reference layout, on generated markups: the same
// grid scripts byte for byte, the same results and depths. TARNWELL_LAYOUT_CASES sets the
// number of markups and TARNWELL_LAYOUT_SEED their seed, for a longer local run such as
// TARNWELL_LAYOUT_CASES=100000 TARNWELL_LAYOUT_SEED=2.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "layout/xmls2script.h"
#include "markup_generator.h"
#include "parsers/cpp2xmls.h"
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

TEST(LayoutDifferential, EngineMatchesTheReferenceOnGeneratedMarkups) {
    std::mt19937 rng(static_cast<std::mt19937::result_type>(setting("TARNWELL_LAYOUT_SEED", 1)));
    Tcppsparser parser;
    txml2script engine;
    testing::reference_layout reference;
    constexpr int slots[] = {1, 3, 7, 11};
    const int cases = setting("TARNWELL_LAYOUT_CASES", 800);
    int failures = 0;
    for (int i = 0; i < cases && failures < 5; ++i) {
        const int depth = 1 + static_cast<int>(rng() % 6);
        std::string markup;
        switch (i % 5) {
            case 0:
            case 1:
                markup = testing::random_markup(rng, depth);
                break;
            case 2:
                markup = testing::cut_markup(rng, testing::random_markup(rng, depth));
                break;
            case 3:
                markup = testing::damaged_markup(rng, testing::random_markup(rng, depth));
                break;
            default:
                markup = parser.parse(testing::random_c_source(rng, depth)).markup;
                break;
        }
        engine.markup = reference.markup = markup;
        ASSERT_EQ(engine.depth(), reference.depth()) << printable(markup);
        // Every level; the parser slot (read only by selections) turns with the level, so each
        // markup meets all four.
        for (int level = 0; level <= 6; ++level) {
            const int slot = slots[(i + level) % 4];
            engine.parser_slot = reference.parser_slot = slot;
            const bool engine_ok = engine.make_script(level);
            const bool reference_ok = reference.make_script(level);
            if (engine_ok != reference_ok || engine.grid_script() != reference.grid_script()) {
                ADD_FAILURE() << "markup " << printable(markup) << "\nlevel " << level << " slot "
                              << slot << "\nengine    " << engine_ok << " "
                              << printable(engine.grid_script()) << "\nreference " << reference_ok
                              << " " << printable(reference.grid_script());
                ++failures;
            }
        }
    }
}

}  // namespace
}  // namespace tarnwell
