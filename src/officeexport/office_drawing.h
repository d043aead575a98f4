// A drawing of shapes and glued connectors in points, built by an exporter before it goes into a
// document: what the automation layer's shape, text, connector and group operations act on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "layout/export_cells.h"
#include "officeexport/connector_route.h"

namespace tarnwell {

// The side of a shape a connector of the export layout is glued to.
shape_side side_of(anchor side);

struct office_box {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct office_font {
    std::string name = "Arial";
    double size = 8;  // points
    bool bold = false;
    std::uint32_t colour = 0x000000;  // 0xRRGGBB
};

struct text_frame {
    double left = 7.2, top = 3.6, right = 7.2, bottom = 3.6;  // margins, points
    bool wrap = true;
    bool auto_size = false;  // the shape takes the size of its text
    bool centred = true;     // centred lines in the middle of the shape, else from the top left
};

enum class arrowhead { none, triangle, oval };

struct office_shape {
    std::string preset = "rect";  // DrawingML preset geometry
    bool text_box = false;
    office_box box;
    std::optional<std::uint32_t> fill;  // 0xRRGGBB; none = not filled
    bool line = true;
    std::string text;  // bytes as in the source; line breaks start paragraphs
    office_font font;
    text_frame frame;
};

struct office_connector {
    std::size_t from = 0;
    shape_side from_side = shape_side::bottom;
    std::size_t to = 0;
    shape_side to_side = shape_side::top;
    arrowhead begin = arrowhead::none;
    arrowhead end = arrowhead::triangle;
};

class office_drawing {
  public:
    std::size_t add_shape(std::string preset, office_box box);
    std::size_t add_text_box(office_box box);
    office_shape& shape(std::size_t index) { return shapes_.at(index); }
    const std::vector<office_shape>& shapes() const { return shapes_; }
    // Sizes an auto-sized shape to its text around its centre, measured with fixed character
    // constants (a character half the font size wide, a line 3 points taller than the font),
    // so that every machine writes the same document whatever fonts it has.
    void fit_to_text(std::size_t index);

    // False (and nothing added) when an end names no shape.
    bool add_connector(const office_connector& connector);
    const std::vector<office_connector>& connectors() const { return connectors_; }
    // Where a connector glued to that side of the shape meets it.
    route_point site(std::size_t index, shape_side side) const;
    // The orthogonal path of a connector between its two sites.
    std::vector<route_point> route(const office_connector& connector) const;

    // The box around every shape and connector path; empty for an empty drawing.
    office_box bounds() const;
    // Moves the whole drawing so that its bounds start at (left, top).
    void move_to(double left, double top);
    // Scales the whole drawing about the top left of its bounds: shapes, texts, margins, lines.
    void scale(double factor);

    // How far a connector runs out of a side before it turns, points.
    double stub = 10.8;
    // Every outline and connector, points; arrowheads are sized from it.
    double line_width = 0.75;

  private:
    std::vector<office_shape> shapes_;
    std::vector<office_connector> connectors_;
};

// The DrawingML connection site on that side (the index `stCxn`/`endCxn` name).
int connection_site_index(shape_side side);

}  // namespace tarnwell
