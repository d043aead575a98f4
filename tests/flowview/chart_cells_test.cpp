#include "flowview/chart_cells.h"

#include <gtest/gtest.h>

#include "worked_example.h"

namespace tarnwell {
namespace {

TEST(ChartCells, HoldTheCellShownAtEachPositionWithLabelsAndHints) {
    const std::string text = "x = 1;\nloop:\n  if (a) goto loop;\n";
    // Two cells at (100,2): the grid shows the second. One cell lies beyond the column count.
    const std::string script =
        "colcount5rowcount8script99(100,1,p_start,1-2)(100,2,P_code,1-6)(100,2,p_label,8-12)"
        "(100,3,P_downarrow,1-6)(100,4,p_goto,23-32)(140,4,P_code,1-6)(100,5,p_end,30-30)\001";
    const chart_cells chart = collect_chart_cells(*read_grid_script(script), text, 0);
    ASSERT_EQ(chart.cells.size(), 5u);
    EXPECT_EQ(chart.column_count, 5);
    const chart_cell* label = chart.at({1, 2});
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->name, "p_label");
    EXPECT_EQ(label->label, "loop:");
    EXPECT_EQ(label->hint, "loop:");
    EXPECT_EQ(chart.at({1, 4})->label, "goto loop;");
    EXPECT_EQ(chart.at({1, 3})->hint, "") << "flow lines carry no hint";
    EXPECT_EQ(chart.at({1, 1})->hint, "") << "nor does the start terminal";
    EXPECT_EQ(chart.at({2, 2}), nullptr);
    EXPECT_EQ(chart.at({41, 4}), nullptr);
    for (std::size_t i = 1; i < chart.cells.size(); ++i) {
        const grid_point a = chart.cells[i - 1].at, b = chart.cells[i].at;
        EXPECT_TRUE(a.row < b.row || (a.row == b.row && a.column < b.column));
    }
}

TEST(ChartCells, WorkedExampleKeepsEveryCell) {
    const chart_cells chart =
        collect_chart_cells(*read_grid_script(worked_example_script), std::string(70, 'x'), 0);
    ASSERT_EQ(chart.cells.size(), worked_example_cells.size());
    for (const example_cell& cell : worked_example_cells) {
        const chart_cell* found = chart.at({cell.column, cell.row});
        ASSERT_NE(found, nullptr) << cell.name;
        EXPECT_EQ(found->name, cell.name);
    }
}

TEST(CodeHint, FirstLinesOfTheRangeCutToAReadableLength) {
    const std::string long_line = "call(" + std::string(100, 'a') + ");";
    const std::string seven = "a1;\n  a2;\n  a3;\n  a4;\n  a5;\n  a6;\n  a7;\n";
    struct hint_case {
        const char* what;
        std::string text;
        std::int32_t offset;
        std::string range;
        std::string hint;
    };
    const hint_case cases[] = {
        {"one line", "    x = 1;\n", 0, "5-10", "x = 1;"},
        {"offset moves the range", "ab\nx = 1;\n", 3, "1-6", "x = 1;"},
        {"indent kept relative, CR LF dropped",
         "if (a) {\r\n        b();\r\n            c();\r\n        }\r\n", 0, "1-60",
         "if (a) {\nb();\n    c();\n}"},
        {"tabs are four spaces", "if (a)\n\t\tb();\n\tc();\n", 0, "1-20", "if (a)\n    b();\nc();"},
        {"long line cut", long_line, 0, "1-200",
         std::string("call(") + std::string(75, 'a') + "..."},
        {"six lines then a mark", seven, 0, "1-200", "a1;\na2;\na3;\na4;\na5;\na6;\n..."},
        {"blank lines before are skipped", "\n\n  x;\n", 0, "1-6", "x;"},
        {"invalid range", "x = 1;", 0, "5-2", ""},
        {"range text without numbers", "x = 1;", 0, "-", ""},
        {"range beyond the text", "x;", 0, "1-99", "x;"},
        {"white space only", "   \n  \n", 0, "1-6", ""},
        {"UTF-8 not cut inside a character", std::string(79, 'a') + "\xC3\xA9" + "zz", 0, "1-90",
         std::string(79, 'a') + "..."},
    };
    for (const hint_case& c : cases) {
        EXPECT_EQ(code_hint(c.text, c.offset, c.range), c.hint) << c.what;
    }
}

}  // namespace
}  // namespace tarnwell
