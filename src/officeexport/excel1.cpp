#include "officeexport/excel1.h"

#include <algorithm>

namespace tarnwell {

namespace {

constexpr double points_per_inch = 72;

}  // namespace

void excel_export(office_drawing drawing, const export_parameters& parameters,
                  office_document& workbook) {
    workbook.replace_text("#filename#", parameters.file_name);
    workbook.replace_text("#functionname#", parameters.function_name);
    if (drawing.shapes().empty()) return;
    for (std::size_t i = 0; i < drawing.shapes().size(); ++i) {
        office_shape& shape = drawing.shape(i);
        if (!shape.frame.auto_size) continue;
        shape.frame.left = shape.frame.top = shape.frame.right = shape.frame.bottom = 0;
        drawing.fit_to_text(i);
    }
    // The cell geometry starts at the sheet's top left; a text box wider than its column may
    // reach past the left edge, and a sheet has nothing there.
    const office_box chart = drawing.bounds();
    const double header = parameters.header_height * points_per_inch;
    drawing.move_to(std::max(chart.left, 0.0), chart.top + header);
    workbook.place_drawing(drawing);
}

}  // namespace tarnwell
