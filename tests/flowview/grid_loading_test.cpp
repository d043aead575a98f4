#include "flowview/grid_loading.h"

#include <gtest/gtest.h>

#include "worked_example.h"

namespace tarnwell {
namespace {

TEST(GridLoading, WorkedExampleLandsInGridColumnsFromOne) {
    const auto script = read_grid_script(worked_example_script);
    ASSERT_TRUE(script);
    broxgrid_model grid;
    grid.set_script("(1,1,stale)");
    ASSERT_TRUE(load_grid(grid, *script, "", 0));
    EXPECT_EQ(grid.col_count(), 6);
    EXPECT_EQ(grid.row_count(), 12);
    int occupied = 0;
    for (int r = 0; r < grid.row_count(); ++r) {
        for (int c = 0; c < grid.col_count(); ++c) occupied += !grid.cell(c, r).empty();
    }
    EXPECT_EQ(occupied, 13);
    for (const example_cell& c : worked_example_cells) {
        EXPECT_EQ(grid.cell(c.column, c.row), c.name) << c.column << "," << c.row;
    }
    EXPECT_EQ(grid.script(), "");
    EXPECT_FALSE(grid.drawing_enabled());  // the caller's to switch on
}

TEST(GridLoading, LabelTextsComeFromTheSourceAndTheLastCellOfAPositionWins) {
    const std::string source = "x\n  again:\t\n  goto again;\n";
    const auto script = read_grid_script(
        "colcount4rowcount9script99(100,1,p_start,1-2)(100,2,P_code,1-1)(100,2,p_label,2-11)"
        "(100,4,p_goto,12-26)(100,5,p_label,9-3)(100,6,p_goto,x)(100,7,p_end,27-27)\001");
    ASSERT_TRUE(script);
    broxgrid_model grid;
    ASSERT_TRUE(load_grid(grid, *script, source, 0));
    EXPECT_EQ(grid.cell(1, 2), "p_label");
    EXPECT_EQ(grid.script(), "(1,2,again:)(1,4,goto again;)");

    // With an offset the ranges count from the start of the marked region.
    ASSERT_TRUE(load_grid(grid, *script, "prefix" + source, 6));
    EXPECT_EQ(grid.label_text(1, 4), "goto again;");
}

TEST(GridLoading, RangesOutsideTheTextAndCountsTooLargeAreHarmless) {
    EXPECT_EQ(label_source_text("abc", 0, {2, 99}), "bc");
    EXPECT_EQ(label_source_text("abc", 5, {1, 4}), "");
    EXPECT_EQ(label_source_text("abc", -10, {1, 11}), "a");
    EXPECT_EQ(label_source_text(" \x01 a b\x7f ", 0, {1, 9}), "a b\x7f");

    broxgrid_model grid;
    const auto huge =
        read_grid_script("colcount2000000rowcount3000000script0(1,1,p_start,1-2)\001");
    ASSERT_TRUE(huge);
    EXPECT_FALSE(load_grid(grid, *huge, "", 0));
    EXPECT_EQ(grid.col_count(), broxgrid_model::initial_columns);

    // Cells left of grid column 0 or beyond the counts are not shown.
    const auto wide = read_grid_script(
        "colcount3rowcount3script100(99,1,P_code,1-1)(-2147483647,1,P_code,1-1)(104,1,p_goto,1-1)"
        "(101,1,p_start,1-2)\001");
    ASSERT_TRUE(wide);
    ASSERT_TRUE(load_grid(grid, *wide, "abc", 0));
    EXPECT_EQ(grid.cell(1, 1), "p_start");
    EXPECT_EQ(grid.script(), "");
}

}  // namespace
}  // namespace tarnwell
