// One chart written as an Office document: the exporter of the parameters' application draws
// the cell table into a document opened from the template and saves it. Shared by the desktop
// program's export commands and the command line.
#pragma once

#include <cstddef>
#include <string>

#include "officeexport/cell_table.h"
#include "officeexport/export_parameters.h"
#include "officeexport/office_automation.h"

namespace tarnwell {

// What an export drew and the page it ended on.
struct office_export_summary {
    std::size_t shapes = 0;
    std::size_t connectors = 0;
    page_size page;
};

// Whether the application's documents can be written.
bool office_export_available(export_application application);

// Writes the chart to `output` through a temporary file beside it; false with `error` set when
// the file cannot be written (nothing is left at `output` then). `notice` tells of a template
// that could not be used, the built-in one taking its place.
bool write_office_export(const cell_table& table, const export_parameters& parameters,
                         const std::string& output, office_export_summary& summary,
                         std::string& notice, std::string& error);

}  // namespace tarnwell
