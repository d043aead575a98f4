// The Excel export: the drawing engine's shapes and glued connectors float over the active
// sheet below its header area, after the placeholders in the sheet's cells are replaced.
#pragma once

#include "officeexport/export_parameters.h"
#include "officeexport/office_automation.h"
#include "officeexport/office_drawing.h"

namespace tarnwell {

// Text boxes lose their margins and take the size of their text again; the drawing goes where
// the cell geometry puts it, moved down by the header height; nothing is fitted or centred.
void excel_export(office_drawing drawing, const export_parameters& parameters,
                  office_document& workbook);

}  // namespace tarnwell
