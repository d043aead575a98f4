#include "officeexport/cell_table.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tarnwell {
namespace {

// Sixteen CR LF lines; lines 12 to 14 are a small block whose middle line is the longest.
const std::vector<std::string> lines = {"// one",          "// two",   "// three", "// four",
                                        "// five",         "// six",   "// seven", "// eight",
                                        "// nine",         "void f()", "{",        "int a = 1;",
                                        "if (a) { b(); }", "c();",     "}",        "// end"};

std::string document_text() {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The 1-based document position of a column (from 1) of a line (from 1).
std::int64_t position(int line, int column) {
    std::int64_t before = 0;
    for (int i = 0; i + 1 < line; ++i) before += static_cast<std::int64_t>(lines[i].size()) + 2;
    return before + column;
}

// The marked region runs from line 10 to the end of the document.
const std::string document = document_text();
const std::int64_t offset = position(10, 1) - 1;
const charted_text marked{document, offset, static_cast<std::int64_t>(document.size()) - offset};

std::string relative_range(int first_line, int first_column, int last_line, int last_column) {
    return std::to_string(position(first_line, first_column) - offset) + "-" +
           std::to_string(position(last_line, last_column) - offset);
}

TEST(CellText, ABlockOfThreeLinesKeepsItsLinesAndWidth) {
    const std::string range = relative_range(12, 1, 14, 4);
    const cell_text t = cell_text_of_range(marked, 2000, range);
    EXPECT_EQ(t.text, "int a = 1;\r\nif (a) { b(); }\r\nc();");
    EXPECT_EQ(t.line_range, "12-14");
    EXPECT_EQ(t.line_count, 3);
    EXPECT_EQ(t.width, 15 + 2);  // the middle line with its CR and LF
}

TEST(CellText, LimitCutsToExactlyThatManyCharactersAndAddsALine) {
    const std::string range = relative_range(12, 1, 14, 4);
    struct limit_case {
        int limit;
        const char* text;
        int line_count;
        int width;
    };
    const limit_case cases[] = {
        {14, "int a = 1;\r\nif\r\n ...", 3, 12},
        {3, "int\r\n ...", 2, 3},
        {1, "i\r\n ...", 2, 1},
        // At or above the range's length, or without a limit, nothing is cut.
        {33, "int a = 1;\r\nif (a) { b(); }\r\nc();", 3, 17},
        {-1, "int a = 1;\r\nif (a) { b(); }\r\nc();", 3, 17},
        {0, "int a = 1;\r\nif (a) { b(); }\r\nc();", 3, 17},
    };
    for (const limit_case& c : cases) {
        const cell_text t = cell_text_of_range(marked, c.limit, range);
        EXPECT_EQ(t.text, c.text) << c.limit;
        EXPECT_EQ(t.line_count, c.line_count) << c.limit;
        EXPECT_EQ(t.width, c.width) << c.limit;
        EXPECT_EQ(t.line_range, "12-14") << c.limit;  // the uncut lines
    }
}

TEST(CellText, WithoutABeginMarkRangesCountFromTheStartOfTheDocument) {
    const cell_text t = cell_text_of_range({document, 0, -1}, 2000, "4-6");
    EXPECT_EQ(t.text, "one");
    EXPECT_EQ(t.line_range, "1-1");
    EXPECT_EQ(t.line_count, 1);
    EXPECT_EQ(t.width, 3);
}

TEST(CellText, RangesThatDoNotSplitGiveNoText) {
    for (const char* range : {"", "-", "5", "-5", "5-", "7-5", "a-b", "5-x", "3--5", " 3-5", "3-5 ",
                              "99999999999999999999-1", "+3-5"}) {
        const cell_text t = cell_text_of_range(marked, 2000, range);
        EXPECT_EQ(t, (cell_text{"", range, 0, 0})) << range;
    }
}

TEST(CellText, PositionsAreClampedToTheMarkedRegion) {
    const auto region_length = static_cast<std::int64_t>(document.size()) - offset;
    const std::string past = std::to_string(region_length + 1);
    struct clamp_case {
        std::string range;
        const char* text;  // nullptr: the whole region
        const char* line_range;
    };
    const clamp_case cases[] = {
        // The end cell points one past the region.
        {past + "-" + past, "", "16-16"},
        // A stale markup points anywhere.
        {"100000-100005", "", "16-16"},
        {"1-9223372036854775807", nullptr, "10-16"},
        {std::to_string(region_length - 1) + "-" + std::to_string(region_length + 40), "\r\n",
         "16-16"},
        {"0-4", "void", "10-10"},
    };
    for (const clamp_case& c : cases) {
        const cell_text t = cell_text_of_range(marked, -1, c.range);
        const std::string whole_region = document.substr(static_cast<std::size_t>(offset));
        EXPECT_EQ(t.text, c.text != nullptr ? c.text : whole_region) << c.range;
        EXPECT_EQ(t.line_range, c.line_range) << c.range;
    }
    // A region that ends before the document does: the lines after it are not shown.
    const charted_text short_region{document, offset, position(13, 1) - 1 - offset};
    const cell_text t = cell_text_of_range(short_region, -1, relative_range(12, 1, 14, 4));
    EXPECT_EQ(t.text, "int a = 1;\r\n");
    EXPECT_EQ(t.line_range, "12-12");
    EXPECT_EQ(cell_text_of_range({"", 0, -1}, -1, "1-1"), (cell_text{"", "1-1", 1, 0}));
}

TEST(DisplayText, ShowsKeywordLineRangeAndCodeAsChosen) {
    keyword_list keywords = default_keywords();
    cell_entry entry;
    entry.occupied = true;
    entry.code = export_if;
    entry.text = {"if (a)", "4-4", 1, 6};
    struct display_case {
        display_options options;
        const char* untrimmed;
        const char* trimmed;
    };
    const display_case cases[] = {
        {{true, true, true}, "IF\r\n4-4\r\nif (a)", "IF\r\n4-4\r\nif (a)"},
        {{false, true, true}, "\r\n4-4\r\nif (a)", "4-4\r\nif (a)"},
        {{false, false, true}, "\r\nif (a)", "if (a)"},
        {{true, false, false}, "IF", "IF"},
        {{false, false, false}, "", ""},
    };
    for (const display_case& c : cases) {
        const std::string text = display_text(keywords, entry, c.options);
        EXPECT_EQ(text, c.untrimmed);
        EXPECT_EQ(trimmed_display_text(text), c.trimmed);
    }
    entry.text.text = "  x = 1;\t\r\n";
    EXPECT_EQ(trimmed_display_text(display_text(keywords, entry, {false, false, true})), "x = 1;");
    entry.code = 40;
    EXPECT_EQ(display_text(keywords, entry, {true, false, false}), "");
}

// The source of the first markup example and its export layout at level code 0.
const std::string example_source =
    "x = 0;\r\nif (a > 1) {\r\n    x = 1;\r\n} else\r\n    x = 2;\r\nreturn x;\r\n";

export_cells example_layout() {
    export_cells layout;
    layout.cells = {{100, 1, 0, "1-2"},    {100, 3, 2, "1-6"},   {100, 5, 25, "9-18"},
                    {99, 6, 2, "27-32"},   {101, 6, 2, "47-52"}, {100, 8, 3, "55-63"},
                    {100, 10, 12, "66-66"}};
    using enum anchor;
    layout.connectors = {{100, 1, bottom, 100, 3, top, 27}, {100, 3, bottom, 100, 5, top, 27},
                         {100, 5, left, 99, 6, top, 28},    {99, 6, bottom, 100, 8, top, 27},
                         {100, 5, right, 101, 6, top, 29},  {101, 6, bottom, 100, 8, top, 27}};
    layout.column_count = 6;
    layout.row_count = 13;
    layout.column_offset = 98;
    return layout;
}

TEST(CellTable, HoldsTheTextOfEveryCellAtItsColumnIndexAndRow) {
    const cell_table table = cell_table::build(example_layout(), {example_source, 0, -1}, 2000);
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table.column_count(), 6);
    EXPECT_EQ(table.row_count(), 13);
    EXPECT_EQ(table.column_offset(), 98);
    struct expected {
        int column_index;
        int row;
        int code;
        const char* text;
        const char* lines;
    };
    const expected cells[] = {
        {2, 1, 0, "x ", "1-1"},     {2, 3, 2, "x = 0;", "1-1"}, {2, 5, 25, "if (a > 1)", "2-2"},
        {1, 6, 2, "x = 1;", "3-3"}, {3, 6, 2, "x = 2;", "5-5"}, {2, 8, 3, "return x;", "6-6"},
        {2, 10, 12, "", "6-6"},
    };
    for (const expected& e : cells) {
        const cell_entry& entry = table.at(e.column_index, e.row);
        EXPECT_TRUE(entry.occupied) << e.text;
        EXPECT_EQ(entry.code, e.code);
        EXPECT_EQ(entry.text.text, e.text);
        EXPECT_EQ(entry.text.line_range, e.lines);
    }
    EXPECT_EQ(table.entries().size(), 7u);
    EXPECT_FALSE(table.at(2, 2).occupied);
    EXPECT_EQ(table.at(2, 2).code, -1);
    EXPECT_EQ(table.at(-5, 400).code, -1);
    EXPECT_EQ(table.connectors(), example_layout().connectors);
    EXPECT_EQ(table.dropped_connectors(), 0);
}

TEST(CellTable, NothingToDrawWithoutCellsConnectorsOrCounts) {
    export_cells no_connectors = example_layout();
    no_connectors.connectors.clear();
    export_cells no_cells = example_layout();
    no_cells.cells.clear();
    export_cells no_rows = example_layout();
    no_rows.row_count = 0;
    export_cells no_columns = example_layout();
    no_columns.column_count = -2;
    for (const export_cells& layout : {no_connectors, no_cells, no_rows, no_columns}) {
        const cell_table table = cell_table::build(layout, {example_source, 0, -1}, 2000);
        EXPECT_TRUE(table.empty());
        EXPECT_TRUE(table.entries().empty());
        EXPECT_TRUE(table.connectors().empty());
    }
}

TEST(CellTable, SpansTheCellsWhateverTheCountsSay) {
    // A failed layout gives the counts of the sequence that finished last.
    export_cells layout = example_layout();
    layout.column_count = 4;
    layout.column_offset = 99;
    layout.row_count = 5;
    layout.cells.push_back({96, 20, 26, "1-1"});
    const cell_table table = cell_table::build(layout, {example_source, 0, -1}, 2000);
    EXPECT_EQ(table.column_offset(), 95);
    EXPECT_EQ(table.column_index(96), 1);
    EXPECT_EQ(table.column_count(), 101 - 95 + 3);
    EXPECT_EQ(table.row_count(), 23);
    EXPECT_EQ(table.at(1, 20).code, 26);
    EXPECT_EQ(table.at(table.column_index(101), 6).text.text, "x = 2;");
}

TEST(CellTable, JunctionsAndSwitchEndsHoldNoText) {
    export_cells layout = example_layout();
    layout.cells.push_back({102, 7, export_junction, "9-18"});
    layout.cells.push_back({100, 12, export_switch_end, "1-6"});
    layout.cells.push_back({100, 3, export_return, "55-63"});  // a second cell at a place
    const cell_table table = cell_table::build(layout, {example_source, 0, -1}, 2000);
    for (const auto& [column, row, code] : {std::tuple{4, 7, 26}, std::tuple{2, 12, 23}}) {
        const cell_entry& entry = table.at(column, row);
        EXPECT_FALSE(entry.occupied);
        EXPECT_EQ(entry.code, code);
        EXPECT_EQ(entry.text, cell_text{});
    }
    EXPECT_EQ(table.at(2, 3).code, export_statements);
}

TEST(CellTable, ConnectorsToMissingCellsAreNotDrawn) {
    export_cells layout = example_layout();
    using enum anchor;
    layout.connectors.insert(layout.connectors.begin() + 2, {100, 5, right, 104, 9, top, 29});
    layout.connectors.push_back({100, 30, bottom, 100, 10, top, 27});
    const cell_table table = cell_table::build(layout, {example_source, 0, -1}, 2000);
    EXPECT_EQ(table.connectors(), example_layout().connectors);
    EXPECT_EQ(table.dropped_connectors(), 2);
}

}  // namespace
}  // namespace tarnwell
