#include "layout/grid_script.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarnwell {
namespace {

const std::string worked_example =
    "colcount6rowcount12script98(100,1,p_start,1-2)(100,2,P_code,1-6)(100,3,P_downarrow,1-6)"
    "(100,4,p_if,9-18)(99,4,p_leftdownturntruearrow,9-18)(99,5,P_code,27-32)(99,6,P_leftturn,"
    "27-32)(101,4,p_rightdownturnfalsearrow,35-35)(101,5,P_code,47-52)(101,6,P_rightturn,47-52)"
    "(100,6,p_threearrow,52-52)(100,7,P_return,55-63)(100,9,p_end,66-66)\001";

TEST(GridScript, ReadsTheWorkedExample) {
    const std::optional<grid_script> script = read_grid_script(worked_example);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->column_count, 6);
    EXPECT_EQ(script->row_count, 12);
    EXPECT_EQ(script->column_offset, 98);
    EXPECT_TRUE(script->complete);
    ASSERT_EQ(script->cells.size(), 13u);
    const grid_cell& join = script->cells[10];
    EXPECT_EQ(join.column, 100);
    EXPECT_EQ(join.row, 6);
    EXPECT_EQ(join.name, "p_threearrow");
    EXPECT_EQ(join.range, "52-52");
    // Layout column 99 is grid column 1.
    EXPECT_EQ(script->cells[4].column - script->column_offset, 1);
}

TEST(GridScript, FindsTheEarliestCellOfAPosition) {
    const auto script = read_grid_script(
        "colcount4rowcount5script4(15,3,P_code,1-2)(5,3,P_hline,3-4)(5,3,P_vline,5-6)\001");
    ASSERT_TRUE(script);
    const grid_cell* cell = find_cell(*script, 5, 3);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->name, "P_hline");
    EXPECT_EQ(find_cell(*script, 15, 3)->range, "1-2");
    EXPECT_EQ(find_cell(*script, 5, 4), nullptr);
}

TEST(GridScript, ScriptsThatLoadNoCells) {
    const char* scripts[] = {
        "",
        "rowcount5script99(100,1,p_start,1-2)\001",
        "colcount4script99(100,1,p_start,1-2)\001",
        "colcount4rowcount5(100,1,p_start,1-2)\001",
        "colcount4rowcount5script99\001",
        "colcount0rowcount5script99(100,1,p_start,1-2)\001",
        "colcount4rowcount-1script99(100,1,p_start,1-2)\001",
        "colcountfourrowcount5script99(100,1,p_start,1-2)\001",
        "colcount4rowcount5script(100,1,p_start,1-2)\001",
    };
    for (const char* text : scripts) EXPECT_FALSE(read_grid_script(text)) << text;
}

TEST(GridScript, ReadsCellsUpToTheFirstOneThatDoesNotRead) {
    const char* broken_cells[] = {
        "(100,1,p_start,1-2)x(100,2,p_end,5-5)\001",
        "(100,1,p_start,1-2)(100,2,p_end,5-5\001",
        "(100,1,p_start,1-2)(100,x,p_end,5-5)\001",
        "(100,1,p_start,1-2)(100,2)\001",
        "(100,1,p_start,1-2)",
    };
    for (const char* cells : broken_cells) {
        const auto script = read_grid_script(std::string("colcount4rowcount5script99") + cells);
        ASSERT_TRUE(script) << cells;
        ASSERT_EQ(script->cells.size(), 1u) << cells;
        EXPECT_EQ(script->cells[0].name, "p_start");
        EXPECT_FALSE(script->complete);
    }
}

TEST(GridScript, ColumnsOfAVeryWideChartMayBeNegative) {
    const auto script = read_grid_script("colcount205rowcount5script-2(-1,2,P_code,1-2)\001");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->column_offset, -2);
    EXPECT_EQ(script->cells[0].column, -1);
}

TEST(GridScript, WritesTheTextItReads) {
    const std::string scripts[] = {
        worked_example,
        "colcount205rowcount5script-2(-1,2,P_code,1-2)\001",
        // Cut off before the terminator: written without it.
        "colcount4rowcount5script99(100,1,p_start,1-2)",
    };
    for (const std::string& text : scripts) {
        const auto script = read_grid_script(text);
        ASSERT_TRUE(script) << text;
        EXPECT_EQ(write_grid_script(*script), text);
    }
}

TEST(GridScript, RangesThatMapToSourceCharacters) {
    struct range_case {
        const char* text;
        bool valid;
        std::int32_t start;
        std::int32_t end;
    };
    const range_case cases[] = {
        {"27-32", true, 27, 32}, {"5-5", true, 5, 5},    {"12-", false, 0, 0},
        {"-12", false, 0, 0},    {"12", false, 0, 0},    {"7-3", false, 0, 0},
        {"a-b", false, 0, 0},    {"1-2-3", false, 0, 0}, {"99999999999-1", false, 0, 0},
        {"1--2", false, 0, 0},   {"", false, 0, 0},
    };
    for (const range_case& c : cases) {
        const std::optional<source_range> range = range_of(c.text);
        EXPECT_EQ(range.has_value(), c.valid) << c.text;
        if (range) {
            EXPECT_EQ(range->start, c.start);
            EXPECT_EQ(range->end, c.end);
        }
    }
}

}  // namespace
}  // namespace tarnwell
