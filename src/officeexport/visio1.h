// The Visio export: a drawing made from the template with a shape per cell, each an instance of
// the stencil's master for the cell's symbol (or its text master when source code is shown),
// connectors glued to the named points on the shapes' sides, the page named after the file and
// function, grown to the chart and the chart centred when the options say so.
#pragma once

#include <string>

#include "officeexport/cell_table.h"
#include "officeexport/export_parameters.h"
#include "officeexport/office_export.h"
#include "officeexport/vsdx_document.h"

namespace tarnwell {

// The master of a symbol code: in symbol mode its own, in text mode one of the three text
// masters (the junction and the switch end keep theirs). Empty for a code outside the table.
std::string visio_master(int code, bool text_mode);

// The names of the masters an export may drop, in slot order.
const std::vector<std::string>& visio_master_names();

// Draws the table into the drawing; what it drew and the page it ended on.
office_export_summary visio_export(const cell_table& table, const export_parameters& parameters,
                                   vsdx_document& drawing);

// The whole export to `output`: template and stencil (the built-in ones when none is given or
// the given one cannot be used, which `notice` then tells, as it tells each master the stencil
// lacks), the drawing, an atomic save. False with `error` set when the file cannot be written.
bool write_visio_export(const cell_table& table, const export_parameters& parameters,
                        const std::string& output, office_export_summary& summary,
                        std::string& notice, std::string& error);

}  // namespace tarnwell
