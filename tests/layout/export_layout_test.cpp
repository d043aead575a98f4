#include "layout/export_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/xmls2script.h"

namespace tarnwell {
namespace {

// The markup of the first worked example: an assignment, an `if` with an `else`, a `return`.
const std::string first_example =
    "<statement>1-1<code/>1-6<if>9-18<statement>27-27<code/>27-32</statement>35-35"
    "<statement>47-47<code/>47-52</statement>52-52</if>52-52<return/>55-63</statement>66-66\001";

// Cells as "column,row,code,range"; connectors as "column,row,side>column,row,side,code" with
// the sides t, b, l and r.
std::vector<std::string> listed(const export_cells& cells) {
    std::vector<std::string> out;
    for (const export_cell& c : cells.cells) {
        out.push_back(std::to_string(c.column) + "," + std::to_string(c.row) + "," +
                      std::to_string(c.code) + "," + c.range);
    }
    const auto side = [](anchor a) { return std::string(1, "tblr"[static_cast<int>(a)]); };
    for (const export_connector& c : cells.connectors) {
        out.push_back(std::to_string(c.first_column) + "," + std::to_string(c.first_row) + "," +
                      side(c.first_anchor) + ">" + std::to_string(c.second_column) + "," +
                      std::to_string(c.second_row) + "," + side(c.second_anchor) + "," +
                      std::to_string(c.code));
    }
    return out;
}

struct cells_case {
    const char* name;
    std::string markup;
    int level;
    int parser_slot;
    bool ok;
    int column_count;
    int row_count;
    int column_offset;
    std::vector<std::string> lists;  // the cells, then the connectors
};

class MakeCells : public ::testing::TestWithParam<cells_case> {};

TEST_P(MakeCells, GivesTheListsCountsAndResult) {
    const cells_case& c = GetParam();
    txml2script engine;
    engine.markup = c.markup;
    engine.parser_slot = c.parser_slot;
    EXPECT_EQ(engine.make_cells(c.level), c.ok);
    EXPECT_EQ(engine.cells().column_count, c.column_count);
    EXPECT_EQ(engine.cells().row_count, c.row_count);
    EXPECT_EQ(engine.cells().column_offset, c.column_offset);
    EXPECT_EQ(listed(engine.cells()), c.lists);
}

const std::string selection_markup =
    "<statement>1-1<switch>3-5<case/>7-8<statement>9-9<code/>9-10</statement>11-11"
    "<case/>12-13<statement>14-14<code/>14-15</statement>16-16</switch>17-17</statement>18-18\001";

INSTANTIATE_TEST_SUITE_P(
    ExportLayout, MakeCells,
    ::testing::Values(
        cells_case{
            "worked_example",
            first_example,
            0,
            3,
            true,
            6,
            13,
            98,
            {"100,1,0,1-2", "100,3,2,1-6", "100,5,25,9-18", "99,6,2,27-32", "101,6,2,47-52",
             "100,8,3,55-63", "100,10,12,66-66", "100,1,b>100,3,t,27", "100,3,b>100,5,t,27",
             "100,5,l>99,6,t,28", "99,6,b>100,8,t,27", "100,5,r>101,6,t,29", "101,6,b>100,8,t,27"}},
        cells_case{"worked_example_one_box",
                   first_example,
                   1,
                   3,
                   true,
                   4,
                   8,
                   99,
                   {"100,1,0,1-2", "100,3,1,1-66", "100,5,12,1-66", "100,1,b>100,3,t,27",
                    "100,3,b>100,5,t,27"}},
        cells_case{
            "worked_example_conditional_collapsed",
            first_example,
            2,
            3,
            true,
            4,
            12,
            99,
            {"100,1,0,1-2", "100,3,2,1-6", "100,5,24,9-52", "100,7,3,55-63", "100,9,12,66-66",
             "100,1,b>100,3,t,27", "100,3,b>100,5,t,27", "100,5,b>100,7,t,27"}},
        // The false path leaves the head's right side for a junction right of the branch, one
        // row above the cell that follows, and comes back into that cell's top.
        cells_case{"conditional_without_else",
                   "<statement>1-1<if>3-5<statement>7-7<code/>7-9</statement>10-10</if>10-10"
                   "</statement>12-12\001",
                   0,
                   3,
                   true,
                   5,
                   10,
                   99,
                   {"100,1,0,1-2", "100,3,25,3-5", "100,5,2,7-9", "101,6,26,10-10",
                    "100,7,12,12-12", "100,1,b>100,3,t,27", "100,3,b>100,5,t,28",
                    "100,5,b>100,7,t,27", "100,3,r>101,6,t,29", "101,6,l>100,7,t,29"}},
        // A body that ends with a return does not flow back to the head: no back edge.
        cells_case{"loop_body_ends_with_return",
                   "<statement>1-1<whiledo>3-9<statement>11-11<return/>11-19</statement>20-20"
                   "</whiledo>20-20</statement>22-22\001",
                   0,
                   3,
                   true,
                   5,
                   11,
                   99,
                   {"100,1,0,1-2", "100,3,16,3-9", "100,5,3,11-19", "101,7,26,20-20",
                    "100,8,12,22-22", "100,1,b>100,3,t,27", "100,3,b>100,5,t,28",
                    "100,3,r>101,7,t,29", "101,7,l>100,8,t,29"}},
        cells_case{
            "loop_body_flows_back",
            "<statement>1-1<whiledo>3-9<statement>11-11<code/>11-19</statement>20-20"
            "</whiledo>20-20</statement>22-22\001",
            0,
            3,
            true,
            6,
            11,
            98,
            {"100,1,0,1-2", "100,3,16,3-9", "100,5,2,11-19", "99,6,26,20-20", "101,7,26,20-20",
             "100,8,12,22-22", "100,1,b>100,3,t,27", "100,3,b>100,5,t,28", "100,5,b>99,6,r,27",
             "99,6,t>100,3,l,27", "100,3,r>101,7,t,29", "101,7,l>100,8,t,29"}},
        cells_case{
            "do_until_back_edge_and_exit",
            "<statement>1-1<dountil>3-4<statement>6-6<code/>6-9</statement>10-10"
            "</dountil>10-20</statement>22-22\001",
            0,
            3,
            true,
            5,
            10,
            98,
            {"100,1,0,1-2", "100,3,2,6-9", "100,5,14,10-20", "100,7,12,22-22", "100,1,b>100,3,t,27",
             "100,3,b>100,5,t,27", "100,5,l>100,3,t,29", "100,5,b>100,7,t,28"}},
        // The C family closes a selection once, after its last branch.
        cells_case{"selection_c_family",
                   selection_markup,
                   0,
                   3,
                   true,
                   5,
                   18,
                   99,
                   {"100,1,0,1-2", "100,3,20,3-5", "100,5,21,7-8", "100,7,2,9-10", "100,9,21,12-13",
                    "100,11,2,14-15", "100,13,23,17-17", "101,4,26,17-17", "100,15,12,18-18",
                    "100,1,b>100,3,t,27", "100,5,b>100,7,t,27", "100,7,b>100,9,t,27",
                    "100,9,b>100,11,t,27", "100,11,b>100,13,t,27", "100,13,b>100,15,t,27",
                    "100,3,b>101,4,l,27", "101,4,b>100,5,r,27", "101,4,b>100,9,r,27"}},
        // Visual Basic closes every branch with its own end cell.
        cells_case{
            "selection_basic",
            selection_markup,
            0,
            7,
            true,
            5,
            20,
            99,
            {"100,1,0,1-2", "100,3,20,3-5", "100,5,21,7-8", "100,7,2,9-10", "100,9,23,11-11",
             "100,11,21,12-13", "100,13,2,14-15", "100,15,23,16-16", "101,4,26,17-17",
             "100,17,12,18-18", "100,1,b>100,3,t,27", "100,5,b>100,7,t,27", "100,7,b>100,9,t,27",
             "100,11,b>100,13,t,27", "100,13,b>100,15,t,27", "100,15,b>100,17,t,27",
             "100,3,b>101,4,l,27", "101,4,b>100,5,r,27", "101,4,b>100,11,r,27"}},
        // Blanks and line ends around the markup are trimmed and its end is added.
        cells_case{"trimmed_and_terminated",
                   " \r\n<statement>1-1</statement>5-5\r\n",
                   0,
                   3,
                   true,
                   4,
                   6,
                   99,
                   {"100,1,0,1-2", "100,3,12,5-5", "100,1,b>100,3,t,27"}},
        // A failed parse leaves a cut markup: what was placed stays; the end cell would go
        // where the conditional is, so it is not added.
        cells_case{"cut_after_the_conditional_head",
                   "<statement>1-1<code/>1-5<if>7-9\001",
                   0,
                   3,
                   false,
                   4,
                   8,
                   99,
                   {"100,1,0,1-2", "100,3,2,1-5", "100,5,25,7-9", "100,1,b>100,3,t,27",
                    "100,3,b>100,5,t,27"}},
        cells_case{"no_sequence_first", "<code/>1-5</statement>6-6\001", 0, 3, false, 0, 0, 0, {}},
        cells_case{"something_after_the_top_sequence",
                   "<statement>1-1</statement>5-5<code/>6-7\001",
                   0,
                   3,
                   false,
                   4,
                   6,
                   99,
                   {"100,1,0,1-2", "100,3,12,5-5", "100,1,b>100,3,t,27"}}),
    [](const ::testing::TestParamInfo<cells_case>& info) { return std::string(info.param.name); });

TEST(ExportLayout, LeavesTheTrimmedMarkupInTheEngine) {
    txml2script engine;
    engine.markup = "\t<statement>1-1</statement>5-5\001\r\n";
    engine.make_cells(0);
    EXPECT_EQ(engine.markup, "<statement>1-1</statement>5-5\001");
}

TEST(ExportLayout, ListsOfAFailedLayoutAreReplacedByTheNext) {
    txml2script engine;
    engine.markup = first_example;
    ASSERT_TRUE(engine.make_cells(0));
    engine.markup = "junk";
    EXPECT_FALSE(engine.make_cells(0));
    EXPECT_TRUE(engine.cells().cells.empty());
    EXPECT_TRUE(engine.cells().connectors.empty());
}

TEST(ExportLayout, AnchorNames) {
    EXPECT_EQ(anchor_name(anchor::top), "Aligntop");
    EXPECT_EQ(anchor_name(anchor::bottom), "Alignbottom");
    EXPECT_EQ(anchor_name(anchor::left), "Alignleft");
    EXPECT_EQ(anchor_name(anchor::right), "Alignright");
}

// An else-if chain lays every branch out once per layout: its cells and connectors grow by the
// same amount with every branch, and a deep chain gives as many cells as branches need.
TEST(ExportLayout, ElseIfChainGrowsWithItsBranches) {
    const auto chain = [](int branches) {
        std::string markup = "<statement>1-1";
        for (int i = 0; i < branches; ++i) {
            markup += "<if>2-3<statement>4-4<code/>4-5</statement>6-6<statement>7-7";
        }
        markup += "<code/>8-9";
        for (int i = 0; i < branches; ++i) markup += "</statement>10-10</if>11-11";
        return markup + "</statement>13-13\001";
    };
    txml2script engine;
    std::vector<std::size_t> cells;
    for (const int branches : {10, 11, 300}) {
        engine.markup = chain(branches);
        EXPECT_TRUE(engine.make_cells(0)) << branches;
        cells.push_back(engine.cells().cells.size());
    }
    EXPECT_EQ(cells[1] - cells[0], 2u);  // a conditional and its true branch
    EXPECT_EQ(cells[2], cells[0] + 2 * 290);
}

}  // namespace
}  // namespace tarnwell
