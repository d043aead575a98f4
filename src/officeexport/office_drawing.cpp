#include "officeexport/office_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "officeexport/ooxml_text.h"

namespace tarnwell {

shape_side side_of(anchor side) {
    switch (side) {
        case anchor::top:
            return shape_side::top;
        case anchor::bottom:
            return shape_side::bottom;
        case anchor::left:
            return shape_side::left;
        case anchor::right:
            return shape_side::right;
    }
    return shape_side::top;
}

namespace {

struct site_table {
    const char* preset;
    // Sites in DrawingML order: top, left, bottom, right as fractions of the shape's box.
    double top_x, left_x, bottom_y, right_x;
};

// The presets whose connection sites are not at the middles of the box's sides.
constexpr site_table uneven_sites[] = {
    {"flowChartManualOperation", 0.5, 0.1, 1.0, 0.9},
    {"flowChartDocument", 0.5, 0.0, 20172.0 / 21600.0, 1.0},
    {"flowChartOnlineStorage", 0.5, 0.0, 1.0, 17997.0 / 21600.0},
};

// Characters of a line as the reader counts them: one per UTF-8 character.
std::size_t characters(std::string_view line) {
    std::size_t count = 0;
    for (const char c : line) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace

int connection_site_index(shape_side side) {
    // The presets the exporters draw all list their sites top, left, bottom, right.
    switch (side) {
        case shape_side::top:
            return 0;
        case shape_side::left:
            return 1;
        case shape_side::bottom:
            return 2;
        case shape_side::right:
            return 3;
    }
    return 0;
}

std::size_t office_drawing::add_shape(std::string preset, office_box box) {
    office_shape shape;
    shape.preset = std::move(preset);
    shape.box = box;
    shapes_.push_back(std::move(shape));
    return shapes_.size() - 1;
}

std::size_t office_drawing::add_text_box(office_box box) {
    const std::size_t index = add_shape("rect", box);
    shapes_[index].text_box = true;
    return index;
}

void office_drawing::fit_to_text(std::size_t index) {
    office_shape& shape = shapes_.at(index);
    const std::string text = office_text(shape.text);
    const std::vector<std::string_view> lines = text_paragraphs(text);
    std::size_t widest = 0;
    for (const std::string_view line : lines) widest = std::max(widest, characters(line));
    const double width =
        static_cast<double>(widest) * shape.font.size * 0.5 + shape.frame.left + shape.frame.right;
    const double height = static_cast<double>(lines.size()) * (shape.font.size + 3) +
                          shape.frame.top + shape.frame.bottom;
    shape.box.left += (shape.box.width - width) / 2;
    shape.box.top += (shape.box.height - height) / 2;
    shape.box.width = width;
    shape.box.height = height;
}

bool office_drawing::add_connector(const office_connector& connector) {
    if (connector.from >= shapes_.size() || connector.to >= shapes_.size()) return false;
    connectors_.push_back(connector);
    return true;
}

route_point office_drawing::site(std::size_t index, shape_side side) const {
    const office_box& box = shapes_.at(index).box;
    double top_x = 0.5, left_x = 0.0, bottom_y = 1.0, right_x = 1.0;
    for (const site_table& table : uneven_sites) {
        if (shapes_[index].preset == table.preset) {
            top_x = table.top_x, left_x = table.left_x, bottom_y = table.bottom_y;
            right_x = table.right_x;
        }
    }
    switch (side) {
        case shape_side::top:
            return {box.left + box.width * top_x, box.top};
        case shape_side::left:
            return {box.left + box.width * left_x, box.top + box.height / 2};
        case shape_side::bottom:
            return {box.left + box.width / 2, box.top + box.height * bottom_y};
        case shape_side::right:
            return {box.left + box.width * right_x, box.top + box.height / 2};
    }
    return {};
}

std::vector<route_point> office_drawing::route(const office_connector& connector) const {
    return orthogonal_route(site(connector.from, connector.from_side), connector.from_side,
                            site(connector.to, connector.to_side), connector.to_side, stub);
}

office_box office_drawing::bounds() const {
    if (shapes_.empty()) return {};
    double left = std::numeric_limits<double>::max();
    double top = left;
    double right = std::numeric_limits<double>::lowest();
    double bottom = right;
    const auto take = [&](double x, double y) {
        left = std::min(left, x), top = std::min(top, y);
        right = std::max(right, x), bottom = std::max(bottom, y);
    };
    for (const office_shape& shape : shapes_) {
        take(shape.box.left, shape.box.top);
        take(shape.box.left + shape.box.width, shape.box.top + shape.box.height);
    }
    for (const office_connector& connector : connectors_) {
        for (const route_point& p : route(connector)) take(p.x, p.y);
    }
    return {left, top, right - left, bottom - top};
}

void office_drawing::move_to(double left, double top) {
    const office_box from = bounds();
    for (office_shape& shape : shapes_) {
        shape.box.left += left - from.left;
        shape.box.top += top - from.top;
    }
}

void office_drawing::scale(double factor) {
    const office_box from = bounds();
    for (office_shape& shape : shapes_) {
        shape.box.left = from.left + (shape.box.left - from.left) * factor;
        shape.box.top = from.top + (shape.box.top - from.top) * factor;
        shape.box.width *= factor;
        shape.box.height *= factor;
        shape.font.size *= factor;
        text_frame& frame = shape.frame;
        frame.left *= factor, frame.top *= factor, frame.right *= factor, frame.bottom *= factor;
    }
    stub *= factor;
    line_width *= factor;
}

}  // namespace tarnwell
