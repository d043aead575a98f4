#include "flowview/flowchart_commands.h"

#include <gtest/gtest.h>

#include "layout/xmls2script.h"
#include "parsers/parser_registry.h"
#include "worked_example.h"
#include "workspace/document.h"

namespace tarnwell {
namespace {

// The body of a C function: an assignment, an if with an else, a return. Depth 2.
constexpr std::string_view c_body =
    "    a = 1;\n    if (a > 0) {\n        a = 2;\n    } else {\n        a = 3;\n    }\n"
    "    return a;\n";

class LayOut : public ::testing::Test {
  protected:
    document charted(int expand_level) {
        document doc;
        doc.parser_slot = 3;
        doc.flowchart.marked_text = std::string(c_body);
        doc.flowchart.expand_level = expand_level;
        return doc;
    }

    parser_registry parsers_;
    txml2script engine_;
};

TEST_F(LayOut, RefreshParsesAndKeepsTheLevelButNotPastTheDepth) {
    document doc = charted(6);
    const layout_outcome outcome = lay_out(doc, level_refresh, parsers_, engine_);
    ASSERT_TRUE(outcome.parse);
    EXPECT_TRUE(outcome.parse->ok) << outcome.parse->message;
    EXPECT_EQ(doc.flowchart.markup, outcome.parse->markup);
    EXPECT_EQ(doc.flowchart.depth, 2);
    EXPECT_EQ(doc.flowchart.expand_level, 3);
    // The cells handed on to the grid are the ones the stored script holds.
    EXPECT_EQ(doc.flowchart.grid_script, write_grid_script(outcome.script));
    EXPECT_NE(doc.flowchart.grid_script.find("P_return"), std::string::npos);
    EXPECT_EQ(doc.flowchart.column_offset, 98);
    EXPECT_EQ(outcome.mode, match_mode::containing);

    // A level below the cap stays; every level stays every level.
    doc.flowchart.expand_level = 2;
    lay_out(doc, level_refresh, parsers_, engine_);
    EXPECT_EQ(doc.flowchart.expand_level, 2);
    doc.flowchart.expand_level = level_all;
    lay_out(doc, level_refresh, parsers_, engine_);
    EXPECT_EQ(doc.flowchart.expand_level, level_all);
}

TEST_F(LayOut, ALevelLaysTheStoredMarkupOutWithoutParsing) {
    document doc = charted(4);
    lay_out(doc, level_refresh, parsers_, engine_);
    // The marked text changes, but a level only lays out the markup already there.
    doc.flowchart.marked_text = "    broken (;\n";
    const std::string markup = doc.flowchart.markup;
    const layout_outcome outcome = lay_out(doc, 2, parsers_, engine_);
    EXPECT_FALSE(outcome.parse);
    EXPECT_EQ(doc.flowchart.markup, markup);
    EXPECT_EQ(doc.flowchart.expand_level, 2);
    EXPECT_NE(doc.flowchart.grid_script.find("p_if2"), std::string::npos);
    EXPECT_EQ(doc.flowchart.column_offset, 99);
}

TEST_F(LayOut, AMarkupTooShortToHoldAnItemIsParsedAgain) {
    document doc = charted(4);
    doc.flowchart.markup = "\001";
    const layout_outcome outcome = lay_out(doc, level_all, parsers_, engine_);
    ASSERT_TRUE(outcome.parse);
    EXPECT_GT(doc.flowchart.markup.size(), 10u);
    EXPECT_EQ(doc.flowchart.expand_level, level_all);
}

TEST_F(LayOut, NoSelectedItemLaysOutTheFirstLevel) {
    document doc = charted(4);
    lay_out(doc, -1, parsers_, engine_);
    EXPECT_EQ(doc.flowchart.expand_level, 2);
}

TEST_F(LayOut, MatchesInsideOnlyWhenTheChartShowsMoreLevelsThanBefore) {
    struct mode_case {
        int stored;
        int chosen;
        match_mode mode;
    };
    const mode_case cases[] = {
        {2, level_all, match_mode::inside},
        {level_all, level_all, match_mode::inside},
        {2, 3, match_mode::inside},
        {3, 2, match_mode::containing},
        {3, 3, match_mode::containing},
        {level_all, 2, match_mode::containing},
        {3, level_refresh, match_mode::containing},
    };
    for (const mode_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + " -> " + std::to_string(c.chosen));
        document doc = charted(c.stored);
        doc.flowchart.markup.clear();
        lay_out(doc, level_refresh, parsers_, engine_);
        doc.flowchart.expand_level = c.stored;
        EXPECT_EQ(lay_out(doc, c.chosen, parsers_, engine_).mode, c.mode);
    }
}

TEST_F(LayOut, AFailedParseStillLeavesTheChartOfWhatItRead) {
    document doc = charted(4);
    doc.flowchart.marked_text = "    a = 1;\n    if (a > 0 {\n";
    const layout_outcome outcome = lay_out(doc, level_refresh, parsers_, engine_);
    ASSERT_TRUE(outcome.parse);
    EXPECT_FALSE(outcome.parse->ok);
    EXPECT_EQ(parse_error_text(*outcome.parse), "There are errors.\r\n" + outcome.parse->message);
    EXPECT_NE(doc.flowchart.grid_script.find("P_code,5-10"), std::string::npos);
}

TEST_F(LayOut, ALanguageWithoutAParserReportsItAsAParseFailure) {
    document doc = charted(4);
    doc.parser_slot = 4;
    ASSERT_EQ(parsers_.parser_at(4), nullptr);
    const layout_outcome outcome = lay_out(doc, level_refresh, parsers_, engine_);
    ASSERT_TRUE(outcome.parse);
    EXPECT_FALSE(outcome.parse->ok);
    EXPECT_FALSE(outcome.parse->message.empty());
    EXPECT_TRUE(doc.flowchart.markup.empty());
}

TEST(SettleParserSlot, GivesADocumentWithoutOneTheDefaultParser) {
    document doc;
    settle_parser_slot(doc);
    EXPECT_EQ(doc.parser_slot, 3);
    doc.parser_slot = 8;
    settle_parser_slot(doc);
    EXPECT_EQ(doc.parser_slot, 8);
}

TEST(FindMatchingCell, FindsTheFirstCellInsideOrContainingTheHighlight) {
    const auto script = read_grid_script(worked_example_script);
    ASSERT_TRUE(script);
    struct match_case {
        const char* highlight;
        match_mode mode;
        std::optional<grid_point> cell;
        const char* range;
    };
    const match_case cases[] = {
        // The diamond is written before its branch arrow with the same range.
        {"9-52", match_mode::inside, grid_point{2, 4}, "9-18"},
        {"9-18", match_mode::containing, grid_point{2, 4}, "9-18"},
        {"28-30", match_mode::containing, grid_point{1, 5}, "27-32"},
        {"3-3", match_mode::containing, grid_point{2, 2}, "1-6"},
        {"19-26", match_mode::containing, std::nullopt, ""},
        {"19-26", match_mode::inside, std::nullopt, ""},
        {"18-9", match_mode::containing, std::nullopt, ""},  // not a range
        {"", match_mode::inside, std::nullopt, ""},
    };
    for (const match_case& c : cases) {
        SCOPED_TRACE(c.highlight);
        const std::optional<matched_cell> found = find_matching_cell(*script, c.highlight, c.mode);
        ASSERT_EQ(found.has_value(), c.cell.has_value());
        if (!found) continue;
        EXPECT_EQ(found->cell, *c.cell);
        EXPECT_EQ(found->range, c.range);
    }
}

TEST(SelectChartCell, MapsTheCellRangeIntoTheEditorText) {
    const auto script = read_grid_script(
        "colcount4rowcount6script98(100,2,P_code,5-10)(100,2,p_if,1-1)(101,3,P_vline,)"
        "(100,4,P_code,9-3)\001");
    ASSERT_TRUE(script);
    // Marks on lines 3 and 9, line 3 starting at position 41: "5-10" is 45 to 50.
    const auto code = select_chart_cell(*script, {2, 2}, 98, 40);
    ASSERT_TRUE(code);
    EXPECT_EQ(code->range, "5-10");
    ASSERT_TRUE(code->editor_range);
    EXPECT_EQ(code->editor_range->start, 45);
    EXPECT_EQ(code->editor_range->end, 50);
    // A cell without a valid range still gives its range text.
    for (const grid_point cell : {grid_point{3, 3}, grid_point{2, 4}}) {
        const auto plain = select_chart_cell(*script, cell, 98, 40);
        ASSERT_TRUE(plain);
        EXPECT_FALSE(plain->editor_range);
    }
    EXPECT_FALSE(select_chart_cell(*script, {2, 5}, 98, 40));
    EXPECT_FALSE(select_chart_cell(*script, {2, 2}, 97, 40));  // another column offset
}

TEST(LevelLists, OfferEveryLevelOfTheMarkup) {
    EXPECT_EQ(level_list_items(3), (std::vector<std::string>{"All", "Refresh", "1", "2", "3"}));
    EXPECT_EQ(level_list_items(0), (std::vector<std::string>{"All", "Refresh", "1"}));
    EXPECT_TRUE(level_item_visible(3, 3));
    EXPECT_FALSE(level_item_visible(4, 3));
    EXPECT_TRUE(level_item_visible(1, 0));
}

TEST(BitmapFileName, NamesTheLevelLessOne) {
    EXPECT_EQ(chart_file_name("/src/Main.java", 4, ".bmp"), "/src/Main.java.layer3.bmp");
    EXPECT_EQ(chart_file_name("/src/Main.java", level_all, ".bmp"), "/src/Main.java.layer-1.bmp");
    EXPECT_EQ(chart_file_name("/src/Main.java", 2, ".pdf"), "/src/Main.java.layer1.pdf");
}

TEST(PositionRange, IsTheRangeOfOnePosition) {
    EXPECT_EQ(position_range(42), "42-42");
    EXPECT_FALSE(range_of(position_range(-3)));
}

TEST(ScriptColumnOffset, IsTheNumberBetweenScriptAndTheFirstParenthesis) {
    struct offset_case {
        const char* script;
        std::optional<int> offset;
    };
    const offset_case cases[] = {
        {"colcount6rowcount12script98(100,1,p_start,1-2)\001", 98},
        {"colcount4rowcount7script-2(1,1,p_start,1-2)\001", -2},
        {"colcount4rowcount7script0(", 0},
        {"colcount4rowcount7script(100,1,p_start,1-2)", std::nullopt},
        {"colcount4rowcount7script9x(100,1,p_start,1-2)", std::nullopt},
        {"colcount4rowcount7script98", std::nullopt},
        {"(1,2,x,1-1)script98", std::nullopt},
        {"", std::nullopt},
    };
    for (const offset_case& c : cases) {
        EXPECT_EQ(script_column_offset(c.script), c.offset) << c.script;
    }
}

}  // namespace
}  // namespace tarnwell
