#include "layout/cell_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwell {
namespace {

using enum symbol;

std::string cells_of(const cell_script& script) {
    std::vector<grid_cell> cells;
    script.collect(cells);
    std::string out;
    for (const grid_cell& c : cells) {
        out += "(" + std::to_string(c.column) + "," + std::to_string(c.row) + "," + c.name + "," +
               c.range + ")";
    }
    return out;
}

std::string name_at(const cell_script& script, int column, int row) {
    return std::string(symbol_name(script.cell_name(column, row)));
}

TEST(CellScript, WritesCellsInOrderAndFindsTheEarliestOfAPosition) {
    cell_script script;
    script.add_cell(100, 1, p_start, "1-2");
    script.add_cell(15, 3, P_code, "4-9");
    script.add_cell(5, 3, P_hline, "a");
    script.add_cell(5, 3, P_vline, "b");
    // Column 5 is not found inside column 15.
    EXPECT_EQ(name_at(script, 5, 3), "P_hline");
    EXPECT_EQ(name_at(script, 5, 4), "");
    EXPECT_EQ(cells_of(script),
              "(100,1,p_start,1-2)(15,3,P_code,4-9)(5,3,P_hline,a)(5,3,P_vline,b)");
}

TEST(CellScript, SetCellActsOnTheEarlierOfTwoCellsOnly) {
    cell_script script;
    script.add_cell(7, 2, P_hline, "first");
    script.add_cell(7, 2, P_downarrow, "second");
    script.set_cell(7, 2, P_leftturn);
    EXPECT_EQ(cells_of(script), "(7,2,P_leftturn,first)(7,2,P_downarrow,second)");
    script.set_cell(7, 2, p_connect, "third");
    EXPECT_EQ(cells_of(script), "(7,2,p_connect,third)(7,2,P_downarrow,second)");
    script.remove_cell(7, 2);
    EXPECT_EQ(cells_of(script), "(7,2,P_downarrow,second)");
    EXPECT_EQ(name_at(script, 7, 2), "P_downarrow");
    script.remove_cell(7, 2);
    script.set_cell(7, 2, P_vline);
    script.remove_cell(7, 2);
    EXPECT_EQ(cells_of(script), "");
}

TEST(CellScript, LinesOfEachKindAndTheirDirections) {
    const cell_context context{"t", 0, 0};
    cell_script script;
    script.draw_line(3, 1, 5, 1, line_kind::plain_horizontal, context);
    script.draw_line(8, 2, 8, 3, line_kind::plain_vertical, context);
    EXPECT_EQ(cells_of(script),
              "(3,1,P_hline,t)(4,1,P_hline,t)(5,1,P_hline,t)(8,2,P_vline,t)(8,3,P_vline,t)");

    // A line from d + 2 to d + 1, an upward one, a slanted one: nothing.
    cell_script none;
    none.draw_line(102, 4, 101, 4, line_kind::plain_horizontal, context);
    none.draw_line(102, 4, 101, 4, line_kind::crossing, context);
    none.draw_line(5, 9, 5, 8, line_kind::plain_vertical, context);
    none.draw_line(5, 1, 6, 2, line_kind::plain_horizontal, context);
    none.draw_line(5, 1, 6, 2, line_kind::plain_vertical, context);
    EXPECT_EQ(cells_of(none), "");
}

TEST(CellScript, CrossingLineJoinsTheTurnsItMeets) {
    const cell_context context{"x", 0, 0};
    cell_script script;
    script.add_cell(2, 5, P_rightturn, "r");
    script.add_cell(3, 5, P_hline, "h");
    script.add_cell(5, 5, P_leftturn, "l");
    script.draw_line(1, 5, 5, 5, line_kind::crossing, context);
    EXPECT_EQ(cells_of(script),
              "(2,5,p_connect,r)(3,5,P_hline,h)(5,5,p_connect,l)(1,5,P_hline,x)(4,5,P_hline,x)");
}

TEST(CellScript, PlainLinesDrawOverWhatever) {
    const cell_context context{"x", 0, 0};
    cell_script script;
    script.add_cell(2, 5, P_code, "c");
    script.draw_line(2, 5, 2, 5, line_kind::plain_horizontal, context);
    EXPECT_EQ(cells_of(script), "(2,5,P_code,c)(2,5,P_hline,x)");
}

// Mode 1 on `p_leftdownturnarrow` at the merge row: the join of an inner conditional that only
// its right branch fed now turns right.
TEST(CellScript, LeftBranchReroutesThroughTheInnerCorner) {
    cell_script script;
    script.add_cell(10, 6, p_leftdownturnarrow, "j");
    script.add_cell(11, 6, P_hline, "h");
    script.add_cell(12, 6, P_hline, "h");
    script.add_cell(13, 6, P_rightturn, "corner");
    script.add_cell(15, 6, P_rightturn, "further");
    const cell_context context{"now", 0, 16};
    EXPECT_EQ(script.merge_cell(10, 6, 1, 6, context), 1);
    EXPECT_EQ(cells_of(script),
              "(13,6,P_leftturn,corner)(15,6,p_connect,further)(14,6,P_hline,now)"
              "(16,6,P_hline,now)");
}

// Mode 2 on `p_rightdownturnarrow` at the merge row: the walk left.
TEST(CellScript, RightBranchWalksLeftToTheCornerOfTheInnerBranch) {
    cell_script script;
    script.add_cell(4, 6, P_leftturn, "outer");
    script.add_cell(6, 6, P_rightturn, "corner");
    script.add_cell(7, 6, P_hline, "h");
    script.add_cell(8, 6, P_hline, "h");
    script.add_cell(9, 6, p_rightdownturnarrow, "join");
    const cell_context context{"now", 3, 12};
    EXPECT_EQ(script.merge_cell(9, 6, 2, 6, context), 1);
    EXPECT_EQ(cells_of(script),
              "(4,6,p_connect,outer)(6,6,P_rightturn,corner)(3,6,P_hline,now)"
              "(5,6,P_hline,now)");
}

TEST(CellScript, RightBranchWalkThroughHorizontalPiecesOnlyDrawsNothing) {
    cell_script script;
    script.add_cell(5, 6, P_hline, "h");
    script.add_cell(6, 6, P_hline, "h");
    script.add_cell(7, 6, p_rightdownturnarrow, "join");
    const cell_context context{"now", 5, 7};
    EXPECT_EQ(script.merge_cell(7, 6, 2, 6, context), 1);
    EXPECT_EQ(cells_of(script), "");
}

// An empty position stops the walk: there is nothing to rename, and the crossing line starts
// left of it.
TEST(CellScript, RightBranchWalkStopsAtAnEmptyPosition) {
    cell_script script;
    script.add_cell(6, 6, P_hline, "h");
    script.add_cell(7, 6, p_rightdownturnarrow, "join");
    const cell_context context{"now", 3, 7};
    script.merge_cell(7, 6, 2, 6, context);
    EXPECT_EQ(cells_of(script), "(3,6,P_hline,now)(4,6,P_hline,now)");
}

TEST(CellScript, ReroutingTurnsAtTheFirstCornerAndCrossesAfterIt) {
    cell_script script;
    script.add_cell(2, 4, P_hline, "a");
    script.add_cell(3, 4, P_rightturn, "b");
    script.add_cell(4, 4, P_hline, "c");
    script.add_cell(5, 4, P_rightturn, "d");
    script.draw_line(1, 4, 6, 4, line_kind::rerouting, {"r", 0, 0});
    EXPECT_EQ(cells_of(script),
              "(3,4,P_leftturn,b)(4,4,P_hline,c)(5,4,p_connect,d)(1,4,P_hline,r)"
              "(6,4,P_hline,r)");
    cell_script stop;
    stop.add_cell(2, 4, P_hline, "a");
    stop.add_cell(3, 4, p_connect, "b");
    stop.add_cell(4, 4, P_hline, "c");
    stop.draw_line(2, 4, 4, 4, line_kind::rerouting, {"r", 0, 0});
    EXPECT_EQ(cells_of(stop), "(3,4,p_connect,b)(4,4,P_hline,c)");
}

TEST(CellScript, FalsePathIntoAnEmptyBottomCell) {
    cell_script script;
    EXPECT_EQ(script.merge_cell(100, 7, 0, 0, {"12-12", 100, 102}), 1);
    EXPECT_EQ(cells_of(script),
              "(100,7,p_leftdownturnarrow,12-12)(101,7,P_hline,12-12)(102,7,P_hline,12-12)");
}

TEST(CellScript, FalsePathIntoADownArrowTakesTheItemText) {
    cell_script script;
    script.add_cell(100, 7, P_downarrow, "3-4");
    script.merge_cell(100, 7, 0, 0, {"12-12", 100, 100});
    EXPECT_EQ(cells_of(script), "(100,7,p_leftanddownarrow,12-12)");
}

TEST(CellScript, JunctionAtTheStartSymbolChangesNothing) {
    cell_script script;
    script.add_cell(100, 1, p_start, "1-2");
    EXPECT_EQ(script.merge_cell(100, 1, 4, 0, {"x", 90, 110}), 3);
    EXPECT_EQ(cells_of(script), "(100,1,p_start,1-2)");
}

// Every row of the merge tables. The cell stands at (10, 5) between the lowest column 7 and
// the highest column 13, each of which holds a `P_rightturn`, so a line shows its kind where
// it ends: a plain line leaves the turn as it is, a crossing line joins it, a rerouting line
// turns it the other way.
enum class drawn { nothing, plain, crossing, rerouting };

struct merge_case {
    int mode;
    int argument;  // modes 1 and 2: the merge row (5 at the merge row, 6 above it)
    symbol holds;
    symbol becomes;  // none: removed, or still empty
    drawn line;
    int result;
};

class MergeTable : public ::testing::TestWithParam<merge_case> {};

TEST_P(MergeTable, FollowsTheRow) {
    const merge_case& c = GetParam();
    cell_script script;
    script.add_cell(7, 5, P_rightturn, "low");
    script.add_cell(13, 5, P_rightturn, "high");
    if (c.holds != none) script.add_cell(10, 5, c.holds, "held");
    EXPECT_EQ(script.merge_cell(10, 5, c.mode, c.argument, {"item", 7, 13}), c.result);
    EXPECT_EQ(name_at(script, 10, 5), symbol_name(c.becomes));

    const bool rightwards = c.mode == 0 || c.mode == 1;
    const int end = rightwards ? 13 : 7;
    const int inside = rightwards ? 12 : 8;
    const char* end_name = c.line == drawn::crossing    ? "p_connect"
                           : c.line == drawn::rerouting ? "P_leftturn"
                                                        : "P_rightturn";
    EXPECT_EQ(name_at(script, end, 5), end_name);
    EXPECT_EQ(name_at(script, inside, 5), c.line == drawn::nothing ? "" : "P_hline");
    EXPECT_EQ(name_at(script, rightwards ? 8 : 12, 5), "");
}

constexpr int at_merge = 5;
constexpr int above = 6;

// clang-format off
const merge_case false_path_rows[] = {
    {0, 0, P_downarrow,          p_leftanddownarrow,  drawn::plain,    1},
    {0, 0, none,                 p_leftdownturnarrow, drawn::plain,    1},
    {0, 0, p_rightdownturnarrow, p_threearrow,        drawn::plain,    1},
    {0, 0, P_truearrow,          P_lefttruearrow,     drawn::plain,    1},
    {0, 0, P_falsearrow,         P_leftfalsearrow,    drawn::plain,    1},
    {0, 0, p_leftdownturnarrow,  p_leftdownturnarrow, drawn::crossing, 1},
    {0, 0, p_leftanddownarrow,   p_leftanddownarrow,  drawn::crossing, 1},
    {0, 0, p_threearrow,         p_threearrow,        drawn::crossing, 1},
    {0, 0, P_lefttruearrow,      P_lefttruearrow,     drawn::crossing, 1},
    {0, 0, P_leftfalsearrow,     P_leftfalsearrow,    drawn::crossing, 1},
    {0, 0, P_code,               P_code,              drawn::nothing,  1},
};

const merge_case left_branch_rows[] = {
    {1, at_merge, P_downarrow,          P_leftturn,          drawn::plain,     1},
    {1, above,    P_downarrow,          P_vline,             drawn::nothing,   1},
    {1, at_merge, none,                 none,                drawn::nothing,   0},
    {1, above,    none,                 none,                drawn::nothing,   0},
    {1, at_merge, p_leftdownturnarrow,  none,                drawn::rerouting, 1},
    {1, above,    p_leftdownturnarrow,  P_leftupturn,        drawn::nothing,   1},
    {1, at_merge, p_leftanddownarrow,   P_leftturn,          drawn::crossing,  1},
    {1, above,    p_leftanddownarrow,   p_rightcrossarrow,   drawn::nothing,   1},
    {1, at_merge, p_rightdownturnarrow, P_hline,             drawn::plain,     1},
    {1, above,    p_rightdownturnarrow, P_rightdownturn,     drawn::nothing,   1},
    {1, at_merge, p_threearrow,         P_hline,             drawn::crossing,  1},
    {1, above,    p_threearrow,         p_leftandrightarrow, drawn::nothing,   1},
    {1, at_merge, P_truearrow,          p_leftturntrue,      drawn::plain,     1},
    {1, above,    P_truearrow,          p_truehline,         drawn::nothing,   1},
    {1, at_merge, P_falsearrow,         p_leftturnfalse,     drawn::plain,     1},
    {1, above,    P_falsearrow,         p_falsehline,        drawn::nothing,   1},
    {1, at_merge, P_lefttruearrow,      p_leftturntrue,      drawn::crossing,  1},
    {1, above,    P_lefttruearrow,      p_lefttruehline,     drawn::nothing,   1},
    {1, at_merge, P_leftfalsearrow,     p_leftturnfalse,     drawn::crossing,  1},
    {1, above,    P_leftfalsearrow,     p_leftfalsehline,    drawn::nothing,   1},
    {1, at_merge, P_return,             P_return,            drawn::nothing,   1},
};

const merge_case right_branch_rows[] = {
    {2, at_merge, P_downarrow,          P_rightturn,         drawn::plain,    1},
    {2, above,    P_downarrow,          P_vline,             drawn::nothing,  1},
    {2, at_merge, none,                 none,                drawn::nothing,  0},
    {2, above,    none,                 none,                drawn::nothing,  0},
    {2, at_merge, p_leftdownturnarrow,  P_hline,             drawn::plain,    1},
    {2, above,    p_leftdownturnarrow,  P_leftupturn,        drawn::nothing,  1},
    {2, at_merge, p_leftanddownarrow,   p_connect,           drawn::plain,    1},
    {2, above,    p_leftanddownarrow,   p_rightcrossarrow,   drawn::nothing,  1},
    {2, above,    p_rightdownturnarrow, P_rightdownturn,     drawn::nothing,  1},
    {2, at_merge, p_threearrow,         P_hline,             drawn::crossing, 1},
    {2, above,    p_threearrow,         p_leftandrightarrow, drawn::nothing,  1},
    {2, at_merge, P_truearrow,          p_rightturnuptrue,   drawn::plain,    1},
    {2, above,    P_truearrow,          p_truehline,         drawn::nothing,  1},
    {2, at_merge, P_falsearrow,         p_rightturnupfalse,  drawn::plain,    1},
    {2, above,    P_falsearrow,         p_falsehline,        drawn::nothing,  1},
    {2, at_merge, P_lefttruearrow,      p_connecttrue,       drawn::plain,    1},
    {2, above,    P_lefttruearrow,      p_lefttruehline,     drawn::nothing,  1},
    {2, at_merge, P_leftfalsearrow,     p_connecfalse,       drawn::plain,    1},
    {2, above,    P_leftfalsearrow,     p_leftfalsehline,    drawn::nothing,  1},
};

const merge_case loop_bottom_rows[] = {
    {3, 0, P_downarrow,          P_rightturn,        drawn::plain,    1},
    {3, 0, none,                 none,               drawn::nothing,  0},
    {3, 0, p_leftdownturnarrow,  P_hline,            drawn::plain,    1},
    {3, 0, p_leftanddownarrow,   p_connect,          drawn::plain,    1},
    {3, 0, p_rightdownturnarrow, none,               drawn::crossing, 1},
    {3, 0, p_threearrow,         P_hline,            drawn::crossing, 1},
    {3, 0, P_truearrow,          p_rightturnuptrue,  drawn::plain,    1},
    {3, 0, P_falsearrow,         p_rightturnupfalse, drawn::plain,    1},
    {3, 0, P_lefttruearrow,      p_connecttrue,      drawn::plain,    1},
    {3, 0, P_leftfalsearrow,     p_connecfalse,      drawn::plain,    1},
    {3, 0, p_label,              p_label,            drawn::nothing,  1},
};

const merge_case junction_rows[] = {
    {4, 0, P_downarrow,             p_rightanddownarrow,  drawn::nothing, 1},
    {4, 0, none,                    p_rightdownturnarrow, drawn::nothing, 0},
    {4, 0, p_leftdownturnarrow,     p_connectarrow,       drawn::nothing, 1},
    {4, 0, p_leftanddownarrow,      p_threearrow,         drawn::nothing, 1},
    {4, 0, p_leftdownturntruearrow, p_connecttruearrow,   drawn::nothing, 1},
    {4, 0, p_rightdownturnarrow,    P_rightdownturn,      drawn::nothing, 2},
    {4, 0, p_threearrow,            p_leftandrightarrow,  drawn::nothing, 2},
    {4, 0, P_truearrow,             p_truehline,          drawn::nothing, 2},
    {4, 0, P_falsearrow,            p_falsehline,         drawn::nothing, 2},
    {4, 0, P_lefttruearrow,         p_lefttruehline,      drawn::nothing, 2},
    {4, 0, P_leftfalsearrow,        p_leftfalsehline,     drawn::nothing, 2},
    {4, 0, p_rightanddownarrow,     p_rightarrowhline,    drawn::nothing, 2},
    {4, 0, p_start,                 p_start,              drawn::nothing, 3},
    {4, 0, p_rightdownturnfalsearrow, p_rightdownturnfalsearrow, drawn::nothing, 1},
};

const merge_case crossing_and_rerouting_rows[] = {
    {6, 0, none,        P_hline,     drawn::nothing, 1},
    {6, 0, P_leftturn,  p_connect,   drawn::nothing, 1},
    {6, 0, P_rightturn, p_connect,   drawn::nothing, 1},
    {6, 0, P_hline,     P_hline,     drawn::nothing, 1},
    {8, 0, p_connect,   p_connect,   drawn::nothing, 3},
    {8, 1, p_connect,   p_connect,   drawn::nothing, 1},
    {8, 0, none,        P_hline,     drawn::nothing, 1},
    {8, 1, none,        P_hline,     drawn::nothing, 1},
    {8, 0, P_hline,     none,        drawn::nothing, 1},
    {8, 1, P_hline,     P_hline,     drawn::nothing, 1},
    {8, 0, P_rightturn, P_leftturn,  drawn::nothing, 3},
    {8, 1, P_rightturn, p_connect,   drawn::nothing, 1},
    {8, 0, P_vline,     P_vline,     drawn::nothing, 1},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(FalsePath, MergeTable, ::testing::ValuesIn(false_path_rows));
INSTANTIATE_TEST_SUITE_P(LeftBranch, MergeTable, ::testing::ValuesIn(left_branch_rows));
INSTANTIATE_TEST_SUITE_P(RightBranch, MergeTable, ::testing::ValuesIn(right_branch_rows));
INSTANTIATE_TEST_SUITE_P(LoopBottom, MergeTable, ::testing::ValuesIn(loop_bottom_rows));
INSTANTIATE_TEST_SUITE_P(Junction, MergeTable, ::testing::ValuesIn(junction_rows));
INSTANTIATE_TEST_SUITE_P(CrossingAndRerouting, MergeTable,
                         ::testing::ValuesIn(crossing_and_rerouting_rows));

}  // namespace
}  // namespace tarnwell
