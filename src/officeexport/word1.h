// The Word export: the PowerPoint drawing engine's chart as one shape group in the document,
// under its filled-in title, with the page fitted to the chart.
#pragma once

#include "officeexport/export_parameters.h"
#include "officeexport/office_automation.h"
#include "officeexport/office_drawing.h"

namespace tarnwell {

// Fills the placeholders, sets the page size when the parameters give one, clears the margins,
// fits the page to the drawing (a page at most 22 inches a side: a larger chart is scaled down
// to 1580 points on its longer need) and places the drawing under the header.
void word_export(office_drawing drawing, const export_parameters& parameters,
                 office_document& document);

}  // namespace tarnwell
