// tarnwell-cli cells: the export layout of a source text or of a structure markup (the cell
// list with each cell's text, the connector list and the counts), as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_cells(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
