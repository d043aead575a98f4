#include "flowview/broxgrid_model.h"

#include <gtest/gtest.h>

#include "worked_example.h"

namespace tarnwell {
namespace {

broxgrid_model worked_example_grid(std::string path = "/opt/tarnwell/photo1/") {
    broxgrid_model grid;
    grid.set_path(std::move(path));
    EXPECT_TRUE(grid.resize(6, 12));
    for (const example_cell& c : worked_example_cells) grid.set_cell(c.column, c.row, c.name);
    grid.set_drawing(true);
    return grid;
}

TEST(BroxgridModel, WorkedExamplePaintsThirteenCellsFromPictures) {
    const broxgrid_model grid = worked_example_grid();
    int pictures = 0;
    for (int r = 0; r < grid.row_count(); ++r) {
        for (int c = 0; c < grid.col_count(); ++c) {
            const cell_look look = grid.look(c, r);
            EXPECT_NE(look, cell_look::label_text);
            if (look == cell_look::picture) {
                ++pictures;
                EXPECT_EQ(grid.picture_file(c, r),
                          "/opt/tarnwell/photo1/" + grid.cell(c, r) + ".bmp");
            }
        }
    }
    EXPECT_EQ(pictures, 13);
    EXPECT_EQ(grid.look(0, 0), cell_look::corner);
    EXPECT_EQ(grid.cell(2, 4), "p_if");
    EXPECT_EQ(grid.cell(1, 4), "p_leftdownturntruearrow");
    EXPECT_EQ(grid.cell(2, 9), "p_end");
}

TEST(BroxgridModel, RedFrameOnlyOnAnOccupiedHighlightedCellWhileDrawing) {
    broxgrid_model grid = worked_example_grid();
    EXPECT_FALSE(grid.frame_cell());  // x and y start at -1
    grid.set_x(2);
    grid.set_y(4);
    EXPECT_EQ(grid.frame_cell(), (grid_point{2, 4}));
    grid.set_drawing(false);
    EXPECT_FALSE(grid.frame_cell());
    EXPECT_EQ(grid.look(2, 4), cell_look::empty);
    grid.set_drawing(true);
    grid.set_y(8);
    EXPECT_FALSE(grid.frame_cell());
}

TEST(BroxgridModel, SmallSetComesFromTheLastSevenCharactersOfThePath) {
    struct path_case {
        const char* path;
        bool small;
    };
    const path_case cases[] = {
        {"/usr/share/tarnwell/photo2/", true},
        {"photo2/", true},
        {"/x/myphoto2/", true},
        {"/usr/share/tarnwell/photo1/", false},
        {"/usr/share/tarnwell/photo2", false},
        {"hoto2/", false},
        {"", false},
    };
    for (const path_case& c : cases) {
        SCOPED_TRACE(c.path);
        broxgrid_model grid;
        grid.set_path(c.path);
        EXPECT_EQ(grid.small_set(), c.small);
    }
}

TEST(BroxgridModel, JumpLabelsAreTextInTheLargeSetAndPicturesInTheSmall) {
    for (const char* name : {"p_label", "p_goto"}) {
        SCOPED_TRACE(name);
        broxgrid_model grid = worked_example_grid();
        grid.set_cell(3, 7, name);
        EXPECT_EQ(grid.look(3, 7), cell_look::label_text);
        grid.set_path("/opt/tarnwell/photo2/");
        EXPECT_EQ(grid.look(3, 7), cell_look::picture);
        EXPECT_EQ(grid.picture_file(3, 7), std::string("/opt/tarnwell/photo2/") + name + ".bmp");
    }
}

TEST(BroxgridModel, LabelTextIsTheEntryOfExactlyThatCell) {
    broxgrid_model grid;
    grid.set_script("(12,4,again)(2,4,retry: & go)(2,5,unterminated");
    EXPECT_EQ(grid.label_text(2, 4), "retry: & go");
    EXPECT_EQ(grid.label_text(12, 4), "again");
    EXPECT_EQ(grid.label_text(2, 5), "unterminated");
    EXPECT_FALSE(grid.label_text(4, 2));
    EXPECT_FALSE(grid.label_text(1, 2));
    grid.set_script("");
    EXPECT_FALSE(grid.label_text(12, 4));
}

TEST(BroxgridModel, ResizeClearsTheCellsAndRefusesImpossibleCounts) {
    broxgrid_model grid = worked_example_grid();
    EXPECT_FALSE(grid.resize(0, 5));
    EXPECT_FALSE(grid.resize(5, -1));
    EXPECT_FALSE(grid.resize(100'000, 100'000));
    EXPECT_EQ(grid.col_count(), 6);
    EXPECT_EQ(grid.cell(2, 4), "p_if");

    EXPECT_TRUE(grid.resize(6, 12));  // the current size: only clears
    EXPECT_EQ(grid.cell(2, 4), "");
    EXPECT_TRUE(grid.drawing_enabled());

    EXPECT_TRUE(grid.resize(3, 2));
    grid.set_cell(2, 1, "P_code");
    grid.set_cell(3, 1, "P_code");  // outside: ignored
    grid.set_cell(-1, 0, "P_code");
    EXPECT_EQ(grid.cell(2, 1), "P_code");
    EXPECT_EQ(grid.cell(3, 1), "");
    EXPECT_EQ(grid.cell(-1, 0), "");
}

TEST(BroxgridModel, SelectionAnswersOnlyForOccupiedCells) {
    broxgrid_model grid = worked_example_grid();
    EXPECT_FALSE(grid.select(2, 5));  // empty: no event
    EXPECT_FALSE(grid.select(40, 40));
    EXPECT_EQ(grid.select(2, 4), (grid_point{-1, -1}));
    grid.set_x(2);
    grid.set_y(4);
    EXPECT_EQ(grid.select(1, 5), (grid_point{2, 4}));
}

TEST(BroxgridModel, CellGeometryFollowsScrollingAndTheCellSize) {
    broxgrid_model grid = worked_example_grid();
    EXPECT_EQ(grid.cell_rect({2, 4}, {}), (pixel_rect{130, 132, 195, 165}));
    EXPECT_EQ(grid.cell_rect({2, 4}, {1, 3}), (pixel_rect{65, 33, 130, 66}));
    EXPECT_EQ(grid.repaint_rect({2, 4}, {1, 3}), (pixel_rect{62, 30, 133, 69}));
    EXPECT_EQ(grid.cell_at(130, 132, {}), (grid_point{2, 4}));
    EXPECT_EQ(grid.cell_at(129, 131, {}), (grid_point{1, 3}));
    EXPECT_EQ(grid.cell_at(0, 0, {1, 3}), (grid_point{1, 3}));
    EXPECT_FALSE(grid.cell_at(6 * 65, 0, {}));
    EXPECT_FALSE(grid.cell_at(-1, 0, {}));

    grid.set_cell_size(broxgrid_model::small_width, broxgrid_model::small_height);
    EXPECT_EQ(grid.cell_rect({2, 4}, {}), (pixel_rect{54, 84, 81, 105}));
    grid.set_cell_size(0, 10);  // refused
    EXPECT_EQ(grid.cell_width(), 27);
}

TEST(BroxgridModel, BitmapLeavesOutTheLastColumnAndRow) {
    broxgrid_model grid = worked_example_grid();
    EXPECT_EQ(grid.bitmap_width(), 325);
    EXPECT_EQ(grid.bitmap_height(), 363);
    grid.set_cell_size(broxgrid_model::small_width, broxgrid_model::small_height);
    EXPECT_EQ(grid.bitmap_width(), 5 * 27);
    EXPECT_EQ(grid.bitmap_height(), 11 * 21);
}

TEST(BroxgridModel, CenterOnMovesOnlyWhatDoesNotFit) {
    const broxgrid_model grid = worked_example_grid();  // 6 x 12
    struct centre_case {
        grid_point cell;
        int visible_columns, visible_rows;
        scroll_position expected;
    };
    const centre_case cases[] = {
        {{2, 1}, 6, 12, {0, 0}},  // everything fits: nothing changes
        {{2, 1}, 4, 5, {0, 0}},   // max(0, 2 - 2), max(0, 1 - 2)
        {{5, 9}, 4, 5, {3, 7}},  {{5, 9}, 6, 5, {0, 7}}, {{4, 11}, 3, 12, {3, 0}},
    };
    for (const centre_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cell.column << "," << c.cell.row);
        EXPECT_EQ(grid.center_on(c.cell, {0, 0}, c.visible_columns, c.visible_rows), c.expected);
    }
    EXPECT_EQ(grid.visible_columns(1000, {}), 6);
    EXPECT_EQ(grid.visible_columns(200, {}), 3);
    EXPECT_EQ(grid.visible_rows(1000, {0, 10}), 2);
}

TEST(BroxgridModel, WheelScrollsOneRowWithinTheGrid) {
    const broxgrid_model grid = worked_example_grid();  // 12 rows
    EXPECT_EQ(grid.wheel(0, 5, true), 1);
    EXPECT_EQ(grid.wheel(6, 5, true), 7);
    EXPECT_EQ(grid.wheel(7, 5, true), 7);  // rows 7 to 11 are all visible
    EXPECT_EQ(grid.wheel(3, 5, false), 2);
    EXPECT_EQ(grid.wheel(0, 5, false), 0);
}

}  // namespace
}  // namespace tarnwell
