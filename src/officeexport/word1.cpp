#include "officeexport/word1.h"

#include <algorithm>

namespace tarnwell {

namespace {

constexpr double points_per_inch = 72;
constexpr double largest_page = 1584;  // 22 inches
constexpr double largest_drawing = 1580;
constexpr double page_margin = 4;
constexpr double top_gap = 2;

}  // namespace

void word_export(office_drawing drawing, const export_parameters& parameters,
                 office_document& document) {
    document.replace_text("#filename#", parameters.file_name);
    document.replace_text("#functionname#", parameters.function_name);
    const int page_width = parameters.page_width_inches();
    const int page_height = parameters.page_height_inches();
    if (page_width > 0 && page_height > 0) {
        document.set_page({page_width * points_per_inch, page_height * points_per_inch});
    }
    document.set_page_margins(0);
    page_size page = document.page();
    if (drawing.shapes().empty()) return;

    const double header = parameters.header_height * points_per_inch;
    office_box chart = drawing.bounds();
    const bool fit_width =
        parameters.set_page_width && (!parameters.only_width || page.width < chart.width);
    const bool fit_height = parameters.set_page_height &&
                            (!parameters.only_height || chart.height + header > page.height);
    // The drawing keeps its proportions when it has to shrink to the largest page.
    double factor = 1;
    if (fit_width && chart.width >= largest_drawing) {
        factor = std::min(factor, largest_drawing / chart.width);
    }
    if (fit_height && chart.height + header > largest_drawing) {
        factor = std::min(factor, std::max(largest_drawing - header, 1.0) / chart.height);
    }
    if (factor < 1) {
        drawing.scale(factor);
        chart = drawing.bounds();
    }
    if (fit_width) {
        page.width = chart.width < largest_drawing ? chart.width + page_margin : largest_page;
    }
    if (fit_height) {
        page.height = chart.height + header > largest_drawing - 1e-9
                          ? largest_page
                          : chart.height + header + page_margin;
    }
    if (fit_width || fit_height) {
        document.set_page(page);
        page = document.page();
    }
    const double top =
        parameters.center_drawing ? (page.height - chart.height) * 0.5 : header + top_gap;
    drawing.move_to((page.width - chart.width) * 0.5, top);
    document.place_drawing(drawing);
}

}  // namespace tarnwell
