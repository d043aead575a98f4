// The export geometry: one size and one centre per row and per column of the cell table, in
// the exporter's unit (inches for Visio, points for Word, Excel and PowerPoint). Shapes are
// placed with their centres on these coordinates.
#pragma once

#include <vector>

#include "officeexport/cell_table.h"
#include "officeexport/export_parameters.h"

namespace tarnwell {

// The measures the sizes are made of, in the exporter's unit.
struct geometry_measures {
    double line_height = 0;      // one line of cell text
    double extra_height = 0;     // added to a row's text height
    double character_width = 0;  // one character of cell text
    double shape_width = 0;
    double shape_height = 0;
    double vertical_space = 0;    // the least row size
    double horizontal_space = 0;  // the least column size
};

// Visio: inches, line height and character width from the font height and width options,
// extra height 0.15. The others: points (options in inches times 72), line height font size
// + 3, extra height 11, character width font size x 0.5.
geometry_measures geometry_measures_of(const export_parameters& parameters);

struct export_geometry {
    std::vector<double> row_sizes;     // indexed by row number, 0 to row count - 1
    std::vector<double> column_sizes;  // indexed by column index
    std::vector<double> row_centres;
    std::vector<double> column_centres;
};

// The centre of each of a run of sizes: the sizes before it plus half its own.
std::vector<double> centres_of(const std::vector<double>& sizes);

// Text mode (source code shown): rows as high as their tallest text, columns as wide as
// their widest, never less than the spaces. Symbol mode: shape size where an occupied entry
// is, else the space. Centres: the sizes before an index plus half its own.
export_geometry compute_geometry(const cell_table& table, const geometry_measures& measures,
                                 const display_options& options);

}  // namespace tarnwell
