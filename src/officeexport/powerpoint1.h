// The PowerPoint export: the drawing engine that draws a flowchart's cell table as shapes and
// glued connectors, and the assembly that puts the drawing on the template's slide, fills its
// placeholders and fits the slide to the chart. The Word export uses the same engine.
#pragma once

#include "officeexport/cell_table.h"
#include "officeexport/export_parameters.h"
#include "officeexport/office_automation.h"
#include "officeexport/office_drawing.h"

namespace tarnwell {

// The AutoShape type of a symbol code (connector type 2 for the three line codes).
int office_shape_type(int code);
// The preset geometry that draws an AutoShape type.
const char* preset_of_shape_type(int type);

// Draws every cell of the table at the centre of its column and row, and every connector
// whose two cells were drawn, with true and false captions beside the lines that leave a
// decision. An empty table draws nothing.
office_drawing draw_flowchart(const cell_table& table, const export_parameters& parameters);

// The assembly into an opened presentation: slide size, placeholders, the drawing fitted,
// scaled down where the slide would pass 56 inches, and placed under the header.
void powerpoint_export(office_drawing drawing, const export_parameters& parameters,
                       office_document& presentation);

}  // namespace tarnwell
