// Cutting a chart into printed pages: the page formats, how many cells a page holds, the cuts
// between symbol rows and columns (never through a symbol), and the numbered off-page
// connectors that end a flow line at a page edge and start it again on the page it goes on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flowview/chart_cells.h"

namespace tarnwell {

// A page size in millimetres, portrait.
struct page_format {
    double width_mm = 0;
    double height_mm = 0;
};

// "a4", "letter", "a3" (any case) or "WxH-mm" with W and H from 50 to 2000; nothing otherwise.
std::optional<page_format> read_page_format(std::string_view text);

// Where things stand on a page, in points (1/72 inch) from its top-left corner.
struct page_geometry {
    double width = 0, height = 0;          // the whole page
    double margin = 0;                     // white border on every side
    double header = 0;                     // height of the header line: file, function, page n of m
    double gutter_x = 0;                   // room for connectors beside the chart, left and right
    double gutter_y = 0;                   // above and below
    double chart_left = 0, chart_top = 0;  // the chart area's first cell
    int columns = 1, rows = 1;             // cells that fit the chart area, at least one each
};

// A page of a format for cells of this size in points.
page_geometry page_layout(page_format format, double cell_width, double cell_height);

// A run of cells [first, end).
struct cell_span {
    int first = 0;
    int end = 0;
    bool contains(int i) const { return first <= i && i < end; }
    friend bool operator==(const cell_span&, const cell_span&) = default;
};

struct chart_page {
    cell_span columns;
    cell_span rows;
};

enum class page_side { top, bottom, left, right };

// One end of a flow line cut by a page edge. Both ends carry the same number.
struct offpage_connector {
    int number = 0;
    int page = 0;                        // the page it is drawn on, an index into the pages
    grid_point cell;                     // the cell at the page edge that the line leaves or enters
    page_side side = page_side::bottom;  // the edge of the chart area it stands at
    int other_page = 0;                  // the page where the line goes on
};

struct page_plan {
    std::vector<chart_page> pages;  // in reading order: bands of rows, in each band left to right
    std::vector<offpage_connector> connectors;  // by number, the two ends of a number together
};

// Cuts the used cells of a chart into pages of at most `columns` x `rows` cells. Bands of rows
// and of columns end, within their last quarter, where the fewest flow lines cross; pages
// without a cell are left out. A chart with no cell gives one empty page.
page_plan cut_into_pages(const chart_cells& chart, int columns, int rows);

}  // namespace tarnwell
