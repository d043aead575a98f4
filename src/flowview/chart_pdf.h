// A chart on printed pages: each page a piece of the chart cut between symbol rows and
// columns, numbered off-page connectors where flow lines leave and enter, and a header with
// the file, the function and "page n of m". Written as PDF, where every symbol carries the
// code behind it as a note that viewers show on hover, or painted on a printer.
#pragma once

#include <QRectF>
#include <QString>
#include <string>
#include <vector>

#include "flowview/chart_cells.h"
#include "flowview/chart_pages.h"

class QPainter;
class QPagedPaintDevice;

namespace tarnwell {

class chart_print {
  public:
    // Cell sizes on paper, in points: a pixel of the grid is three quarters of a point.
    static constexpr double points_per_pixel = 0.75;

    chart_print(const chart_cells& chart, bool small_set, page_format format, std::string file,
                std::string function);

    int page_count() const { return static_cast<int>(plan_.pages.size()); }
    const page_geometry& geometry() const { return geometry_; }
    const page_plan& plan() const { return plan_; }
    page_format format() const { return format_; }

    // Paints page `page` (from 0) in points from the page's top-left corner.
    void paint_page(QPainter& painter, int page) const;

    // The symbols of a page that carry code, with their rectangles in points.
    struct code_area {
        QRectF rect;
        std::string code;
    };
    std::vector<code_area> code_areas(int page) const;

    // Paints every page on a paged device (a PDF writer or a printer) whose pages have this
    // print's format and no margins; false when painting cannot start.
    bool paint_on(QPagedPaintDevice& device) const;

  private:
    // Calls `visit` for each cell of a page, by row then column.
    template <typename Visit>
    void for_each_cell(const chart_page& page, Visit visit) const;
    QRectF cell_rect(const chart_page& page, grid_point cell) const;
    void paint_connector(QPainter& painter, const chart_page& page,
                         const offpage_connector& connector) const;

    const chart_cells& chart_;
    bool small_set_;
    page_format format_;
    std::string file_;
    std::string function_;
    double cell_width_, cell_height_;
    page_geometry geometry_;
    page_plan plan_;
};

// Writes the print as a PDF file, each symbol with code carrying it as a note (a square
// annotation without border whose contents viewers show on hover). False when the file
// cannot be written.
bool write_chart_pdf(const chart_print& print, const QString& file);

}  // namespace tarnwell
