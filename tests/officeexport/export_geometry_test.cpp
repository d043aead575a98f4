#include "officeexport/export_geometry.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

// Cells at the given places with the given ranges of `source`; one connector between the
// first two, so that the layout is drawn.
export_cells layout_of(std::vector<export_cell> cells, int column_count, int row_count) {
    export_cells layout;
    layout.cells = std::move(cells);
    layout.connectors = {{layout.cells[0].column, layout.cells[0].row, anchor::bottom,
                          layout.cells[1].column, layout.cells[1].row, anchor::top, 27}};
    layout.column_count = column_count;
    layout.row_count = row_count;
    layout.column_offset = 99;
    return layout;
}

geometry_measures visio_like() {
    geometry_measures m;
    m.line_height = 0.12;
    m.extra_height = 0.15;
    m.character_width = 0.07;
    m.shape_width = 1;
    m.shape_height = 0.4;
    m.vertical_space = 0.3;
    m.horizontal_space = 0.81;
    return m;
}

TEST(ExportGeometry, SymbolModeSizesOccupiedRowsAndColumnsByTheShape) {
    // An occupied row 0 and an empty row 1: centres 0.2 and 0.55.
    const cell_table table = cell_table::build(
        layout_of({{100, 0, export_statements, "1-1"}, {100, 2, export_end, "1-1"}}, 4, 5), {"x"},
        -1);
    const export_geometry g = compute_geometry(table, visio_like(), {true, true, false});
    ASSERT_EQ(g.row_sizes.size(), 5u);
    EXPECT_DOUBLE_EQ(g.row_sizes[0], 0.4);
    EXPECT_DOUBLE_EQ(g.row_sizes[1], 0.3);
    EXPECT_DOUBLE_EQ(g.row_centres[0], 0.2);
    EXPECT_DOUBLE_EQ(g.row_centres[1], 0.55);
    EXPECT_DOUBLE_EQ(g.row_centres[2], 0.9);
    ASSERT_EQ(g.column_sizes.size(), 4u);
    EXPECT_DOUBLE_EQ(g.column_sizes[0], 0.81);
    EXPECT_DOUBLE_EQ(g.column_sizes[1], 1);
    EXPECT_DOUBLE_EQ(g.column_centres[0], 0.405);
    EXPECT_DOUBLE_EQ(g.column_centres[1], 1.31);
    EXPECT_DOUBLE_EQ(g.column_centres[3], 0.81 + 1 + 0.81 + 0.405);
}

TEST(ExportGeometry, TextModeSizesByTheTallestAndWidestText) {
    const std::string source = "a = 1;\r\nlonger_name = 2;\r\nz;\r\n";
    const cell_table table = cell_table::build(
        layout_of({{100, 1, export_statements, "1-24"},  // two lines, the second 16 wide
                   {100, 3, export_end, "27-28"},        // one short line
                   {101, 3, export_statements, "25-25"}},
                  5, 6),
        {source}, -1);
    const geometry_measures m = visio_like();
    struct mode_case {
        display_options options;
        double row1;
    };
    const mode_case cases[] = {
        {{true, true, true}, 0.12 * (2 + 2) + 0.15},
        {{false, false, true}, 0.12 * 2 + 0.15},
    };
    for (const mode_case& c : cases) {
        const export_geometry g = compute_geometry(table, m, c.options);
        EXPECT_DOUBLE_EQ(g.row_sizes[1], c.row1);
        EXPECT_DOUBLE_EQ(g.row_sizes[0], 0.3);  // no cell
        EXPECT_DOUBLE_EQ(g.column_sizes[1], 0.07 * 16);
        EXPECT_DOUBLE_EQ(g.column_sizes[2], 0.81);  // one character is narrower than the space
    }
    const export_geometry g = compute_geometry(table, m, {true, true, true});
    EXPECT_DOUBLE_EQ(g.row_sizes[3], 0.12 * (1 + 2) + 0.15);
}

TEST(ExportGeometry, AColumnOfJunctionsAndSwitchEndsIsAsNarrowAsTheSpace) {
    const cell_table table = cell_table::build(layout_of({{100, 1, export_statements, "1-30"},
                                                          {101, 1, export_junction, "1-30"},
                                                          {101, 3, export_switch_end, "1-30"}},
                                                         5, 6),
                                               {std::string(40, 'w')}, -1);
    for (const bool text_mode : {true, false}) {
        const export_geometry g = compute_geometry(table, visio_like(), {true, true, text_mode});
        EXPECT_DOUBLE_EQ(g.column_sizes[2], 0.81) << text_mode;
        EXPECT_DOUBLE_EQ(g.row_sizes[3], 0.3) << text_mode;
        EXPECT_GT(g.column_sizes[1], 0.81) << text_mode;
    }
}

TEST(ExportGeometry, MeasuresAreInInchesForVisioAndPointsForTheOthers) {
    const geometry_measures visio =
        geometry_measures_of(default_export_parameters(export_application::visio, "/opt/tarnwell"));
    EXPECT_DOUBLE_EQ(visio.line_height, 0.12);
    EXPECT_DOUBLE_EQ(visio.extra_height, 0.15);
    EXPECT_DOUBLE_EQ(visio.character_width, 0.07);
    EXPECT_DOUBLE_EQ(visio.shape_width, 1);
    EXPECT_DOUBLE_EQ(visio.horizontal_space, 0.81);
    for (const export_application application :
         {export_application::word, export_application::excel, export_application::powerpoint}) {
        export_parameters p = default_export_parameters(application, "/opt/tarnwell");
        p.font.size = 10;
        const geometry_measures m = geometry_measures_of(p);
        EXPECT_DOUBLE_EQ(m.line_height, 13);
        EXPECT_DOUBLE_EQ(m.extra_height, 11);
        EXPECT_DOUBLE_EQ(m.character_width, 5);
        EXPECT_DOUBLE_EQ(m.shape_width, 1.2 * 72);
        EXPECT_DOUBLE_EQ(m.shape_height, 0.55 * 72);
        EXPECT_DOUBLE_EQ(m.vertical_space, 0.3 * 72);
        EXPECT_DOUBLE_EQ(m.horizontal_space, 0.81 * 72);
    }
}

}  // namespace
}  // namespace tarnwell
