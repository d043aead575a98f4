// tarnwell-cli diagram: imports Java sources, class files or jars and draws one view of the
// model as a class diagram picture (PNG or SVG), optionally describing it as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell {
class TRtfdDiagram;
}

namespace tarnwell::cli {

int run_diagram(std::span<const std::string_view> args, std::ostream& out);

// The view as JSON: the surface size, the boxes in surface order (name, kind, rectangle,
// visible, labels) and the connections (boxes by index, style, head, end points).
void write_diagram_json(const TRtfdDiagram& diagram, std::ostream& out);

}  // namespace tarnwell::cli
