#include "flowview/chart_pages.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "chart_fixtures.h"
#include "flowview/symbol_joins.h"
#include "worked_example.h"

namespace tarnwell {
namespace {

chart_cells script_chart(const std::string& script) {
    return collect_chart_cells(*read_grid_script(script), "", 0);
}

// What every cut must give: each cell on exactly one page and inside its spans, pages within
// the capacity, bands that cover the chart without overlap, and each flow line that two pages
// part ending in a pair of connectors with one number, at the edges where it was cut.
void expect_sound_plan(const chart_cells& chart, const page_plan& plan, int columns, int rows) {
    ASSERT_FALSE(plan.pages.empty());
    for (const chart_page& page : plan.pages) {
        EXPECT_LE(page.columns.end - page.columns.first, columns);
        EXPECT_LE(page.rows.end - page.rows.first, rows);
        EXPECT_LT(page.columns.first, page.columns.end);
        EXPECT_LT(page.rows.first, page.rows.end);
    }
    for (const chart_cell& cell : chart.cells) {
        int holders = 0;
        for (const chart_page& page : plan.pages) {
            holders += page.columns.contains(cell.at.column) && page.rows.contains(cell.at.row);
        }
        EXPECT_EQ(holders, 1) << cell.name << " at " << cell.at.column << "," << cell.at.row;
    }
    const auto page_of = [&](grid_point p) {
        for (std::size_t i = 0; i < plan.pages.size(); ++i) {
            if (plan.pages[i].columns.contains(p.column) && plan.pages[i].rows.contains(p.row))
                return static_cast<int>(i);
        }
        return -1;
    };
    std::map<int, std::vector<offpage_connector>> by_number;
    for (const offpage_connector& c : plan.connectors) by_number[c.number].push_back(c);
    int expected_number = 1;
    for (const auto& [number, ends] : by_number) {
        EXPECT_EQ(number, expected_number++) << "numbers run from 1 without gaps";
        ASSERT_EQ(ends.size(), 2u) << "connector " << number;
        const offpage_connector& a = ends[0];
        const offpage_connector& b = ends[1];
        EXPECT_EQ(a.page, page_of(a.cell));
        EXPECT_EQ(b.page, page_of(b.cell));
        EXPECT_EQ(a.other_page, b.page);
        EXPECT_EQ(b.other_page, a.page);
        EXPECT_NE(a.page, b.page);
        const bool vertical = a.side == page_side::bottom;
        EXPECT_EQ(b.side, vertical ? page_side::top : page_side::left);
        EXPECT_EQ(b.cell.column - a.cell.column, vertical ? 0 : 1);
        EXPECT_EQ(b.cell.row - a.cell.row, vertical ? 1 : 0);
        EXPECT_TRUE(cells_joined(chart.at(a.cell)->name, chart.at(b.cell)->name, vertical));
        const chart_page& page = plan.pages[static_cast<std::size_t>(a.page)];
        EXPECT_EQ(vertical ? page.rows.end - 1 : page.columns.end - 1,
                  vertical ? a.cell.row : a.cell.column)
            << "the line leaves at the edge of its page";
    }
    // Every joined pair that two pages part has its connectors.
    std::size_t parted = 0;
    for (const chart_cell& cell : chart.cells) {
        for (const bool vertical : {true, false}) {
            const grid_point next = vertical ? grid_point{cell.at.column, cell.at.row + 1}
                                             : grid_point{cell.at.column + 1, cell.at.row};
            const chart_cell* other = chart.at(next);
            if (other && cells_joined(cell.name, other->name, vertical) &&
                page_of(cell.at) != page_of(next)) {
                ++parted;
            }
        }
    }
    EXPECT_EQ(by_number.size(), parted);
}

TEST(ChartPages, CutsAreSoundForChartsOfEverySizeAndPage) {
    const std::string long_text = c_function_body(12);
    const std::vector<std::pair<std::string, chart_cells>> charts{
        {"worked example", script_chart(std::string(worked_example_script))},
        {"straight 200", script_chart(straight_script(200))},
        {"C all levels", c_chart(long_text, 0)},
        {"C level 2", c_chart(long_text, 3)},
        {"C short", c_chart(c_function_body(2), 0)},
    };
    const std::vector<std::pair<int, int>> capacities{{9, 28}, {3, 5}, {1, 1}, {22, 45}, {2, 200}};
    for (const auto& [name, chart] : charts) {
        for (const auto& [columns, rows] : capacities) {
            SCOPED_TRACE(name + " in " + std::to_string(columns) + "x" + std::to_string(rows));
            expect_sound_plan(chart, cut_into_pages(chart, columns, rows), columns, rows);
        }
    }
}

TEST(ChartPages, PageCountsForChartSizesAndFormats) {
    struct page_case {
        const char* format;
        bool small;
        int rows;  // length of a straight chart
        int expected_pages;
    };
    // Large cells are 48.75 x 24.75 points: an A4 page holds 28 rows, A3 42, Letter 26; small
    // cells (20.25 x 15.75) 44 rows on A4.
    const page_case cases[] = {
        {"a4", false, 20, 1},  {"a4", false, 200, 8},
        {"A3", false, 200, 5}, {"letter", false, 200, 8},
        {"a4", true, 200, 5},  {"a4", false, 28, 1},
        {"a4", false, 29, 2},  {"1000x1000-mm", false, 200, 2},
    };
    for (const page_case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + std::to_string(c.rows));
        const page_geometry page = c.small ? page_layout(*read_page_format(c.format), 20.25, 15.75)
                                           : page_layout(*read_page_format(c.format), 48.75, 24.75);
        const chart_cells chart = script_chart(straight_script(c.rows));
        const page_plan plan = cut_into_pages(chart, page.columns, page.rows);
        EXPECT_EQ(static_cast<int>(plan.pages.size()), c.expected_pages);
        // A straight line is cut once per page break.
        EXPECT_EQ(plan.connectors.size(), 2u * static_cast<std::size_t>(c.expected_pages - 1));
    }
}

TEST(ChartPages, OnePageChartIsOnePageWithoutConnectors) {
    const chart_cells chart = script_chart(std::string(worked_example_script));
    const page_plan plan = cut_into_pages(chart, 9, 28);
    ASSERT_EQ(plan.pages.size(), 1u);
    EXPECT_EQ(plan.pages[0].columns, (cell_span{1, 4}));
    EXPECT_EQ(plan.pages[0].rows, (cell_span{1, 10}));
    EXPECT_TRUE(plan.connectors.empty());
    EXPECT_EQ(cut_into_pages(chart_cells{}, 9, 28).pages.size(), 1u);
}

TEST(ChartPages, CutPrefersARowNoLineCrosses) {
    // Rows 1-6 joined, row 7 empty after a return, rows 8-12 joined: with 8 rows a page the
    // cut goes by the empty row, where no line is cut, not after row 8.
    const chart_cells chart = script_chart(
        "colcount4rowcount15script99(100,1,p_start,1-2)(100,2,P_code,1-1)(100,3,P_downarrow,1-1)"
        "(100,4,P_code,1-1)(100,5,P_downarrow,1-1)(100,6,P_return,1-1)(100,8,P_code,1-1)"
        "(100,9,P_downarrow,1-1)(100,10,P_code,1-1)(100,11,P_downarrow,1-1)(100,12,p_end,1-1)"
        "\001");
    const page_plan plan = cut_into_pages(chart, 3, 8);
    ASSERT_EQ(plan.pages.size(), 2u);
    EXPECT_EQ(plan.pages[0].rows, (cell_span{1, 8}));
    EXPECT_TRUE(plan.connectors.empty());
}

TEST(ChartPages, WideChartsAreCutBetweenColumnsAndEmptyPagesLeftOut) {
    // A row of 12 horizontal pieces at row 1 and one box far below at the right: with 5
    // columns and 5 rows a page, the bands below the row hold nothing but that box.
    std::string script = "colcount16rowcount40script99";
    for (int c = 100; c < 112; ++c) script += "(" + std::to_string(c) + ",1,P_hline,1-1)";
    script += "(111,30,P_code,1-1)\001";
    const chart_cells chart = script_chart(script);
    const page_plan plan = cut_into_pages(chart, 5, 5);
    ASSERT_EQ(plan.pages.size(), 4u);  // three across the top, one for the box
    EXPECT_EQ(plan.pages[3].rows.first, 26);
    expect_sound_plan(chart, plan, 5, 5);
    ASSERT_EQ(plan.connectors.size(), 4u);
    EXPECT_EQ(plan.connectors[0].side, page_side::right);
    EXPECT_EQ(plan.connectors[1].side, page_side::left);
}

TEST(ChartPages, PageFormats) {
    struct format_case {
        const char* text;
        std::optional<std::pair<double, double>> size;
    };
    const format_case cases[] = {
        {"a4", std::pair{210.0, 297.0}},
        {"A4", std::pair{210.0, 297.0}},
        {"letter", std::pair{215.9, 279.4}},
        {"a3", std::pair{297.0, 420.0}},
        {"300x200-mm", std::pair{300.0, 200.0}},
        {"150.5x99-MM", std::pair{150.5, 99.0}},
        {"a5", std::nullopt},
        {"10x10-mm", std::nullopt},
        {"300x200mm", std::nullopt},
        {"x200-mm", std::nullopt},
        {"300x-mm", std::nullopt},
        {"3000x200-mm", std::nullopt},
        {"", std::nullopt},
        {"-mm", std::nullopt},
    };
    for (const format_case& c : cases) {
        const std::optional<page_format> format = read_page_format(c.text);
        ASSERT_EQ(format.has_value(), c.size.has_value()) << c.text;
        if (format) {
            EXPECT_DOUBLE_EQ(format->width_mm, c.size->first) << c.text;
            EXPECT_DOUBLE_EQ(format->height_mm, c.size->second) << c.text;
        }
    }
}

TEST(SymbolJoins, NeighboursShareALineOnlyWhereBothMeetTheEdge) {
    struct join_case {
        const char* first;
        const char* second;
        bool vertical;
        bool joined;
    };
    const join_case cases[] = {
        {"P_code", "P_downarrow", true, true},
        {"P_downarrow", "P_code", true, true},
        {"P_return", "P_downarrow", true, false},
        {"p_goto", "P_vline", true, false},
        {"P_downarrow", "p_start", true, false},
        {"P_hline", "P_hline", false, true},
        {"P_vline", "P_vline", false, false},
        {"P_code", "P_code", false, false},
        {"p_leftdownturntruearrow", "p_if", false, true},
        {"p_if", "p_rightdownturnfalsearrow", false, true},
        {"P_leftturn", "p_threearrow", false, true},
        {"P_rightdownturn", "P_code", true, true},
        {"P_leftturn", "P_code", true, false},
        {"P_code", "", true, false},
        {"no_such_symbol", "P_vline", true, false},
    };
    for (const join_case& c : cases) {
        EXPECT_EQ(cells_joined(c.first, c.second, c.vertical), c.joined)
            << c.first << " / " << c.second;
    }
}

}  // namespace
}  // namespace tarnwell
