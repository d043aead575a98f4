#include "officeexport/powerpoint1.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "officeexport/export_geometry.h"

namespace tarnwell {

namespace {

constexpr double points_per_inch = 72;
// Margins around the chart: PowerPoint's slide gets 4 points beside it and 12 below.
constexpr double side_margin = 4;
constexpr double bottom_margin = 12;

struct shape_type_row {
    int type;
    std::initializer_list<int> codes;
};

constexpr int connector_type = 2;

// Bits 0xBBGGRR of a colour value to 0xRRGGBB.
std::uint32_t rgb_of(std::uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

office_font font_of(const export_font& font) {
    return {font.name, static_cast<double>(font.size), font.bold, rgb_of(font.colour)};
}

// A caption of a true or false line, beside the line where it leaves its cell.
void add_line_caption(office_drawing& drawing, const office_connector& connector,
                      const std::string& caption, const office_font& font) {
    const route_point start = drawing.site(connector.from, connector.from_side);
    const std::size_t index = drawing.add_text_box({start.x, start.y, 0, 0});
    office_shape& label = drawing.shape(index);
    label.text = caption;
    label.font = font;
    label.line = false;
    label.frame = {0, 0, 0, 0, false, true, true};
    drawing.fit_to_text(index);
    office_box& box = label.box;
    // A caption has neither fill nor line: room to spare costs nothing, and a reader whose
    // font runs wider than the measure must not cut the word.
    box.width *= 1.5;
    constexpr double gap = 2;
    switch (connector.from_side) {
        case shape_side::left:
            box.left = start.x - gap - box.width;
            box.top = start.y - gap - box.height;
            break;
        case shape_side::right:
            box.left = start.x + gap;
            box.top = start.y - gap - box.height;
            break;
        case shape_side::bottom:
            box.left = start.x + gap;
            box.top = start.y + gap;
            break;
        case shape_side::top:
            box.left = start.x + gap;
            box.top = start.y - gap - box.height;
            break;
    }
}

}  // namespace

int office_shape_type(int code) {
    static const shape_type_row table[] = {
        {72, {0, 20}},  {65, {1, 10, 13, 15, 17, 18, 19, 24}},
        {61, {2, 26}},  {62, {3, 4, 5, 6}},
        {83, {7}},      {67, {8}},
        {66, {9}},      {75, {11}},
        {6, {12}},      {70, {14, 16, 21, 22}},
        {63, {23, 25}}, {connector_type, {27, 28, 29}},
    };
    for (const shape_type_row& row : table) {
        if (std::find(row.codes.begin(), row.codes.end(), code) != row.codes.end()) return row.type;
    }
    return 1;
}

const char* preset_of_shape_type(int type) {
    switch (type) {
        // The end symbol. An octagon has no connection site in the middle of its top, so the
        // line into it would end at a corner; it is drawn as the grid view draws the end, a
        // terminal, whose sites sit in the middles of its sides.
        case 6:
            return "flowChartTerminator";
        case 61:
            return "flowChartProcess";
        case 62:
            return "flowChartAlternateProcess";
        case 63:
            return "flowChartDecision";
        case 65:
            return "flowChartPredefinedProcess";
        case 66:
            return "flowChartInternalStorage";
        case 67:
            return "flowChartDocument";
        case 70:
            return "flowChartPreparation";
        case 72:
            return "flowChartManualOperation";
        case 75:
            return "flowChartPunchedCard";
        case 83:
            return "flowChartOnlineStorage";
        default:
            return "rect";
    }
}

office_drawing draw_flowchart(const cell_table& table, const export_parameters& parameters) {
    office_drawing drawing;
    if (table.empty()) return drawing;
    const display_options options{parameters.show_keyword, parameters.show_line_range,
                                  parameters.show_source_code};
    const export_geometry geometry =
        compute_geometry(table, geometry_measures_of(parameters), options);
    const keyword_list keywords = parameters.export_keywords();
    const double width = parameters.shape_width * points_per_inch;
    const double height = parameters.shape_height * points_per_inch;
    const office_font font = font_of(parameters.font);
    const std::uint32_t fill = rgb_of(parameters.fill_colour);
    drawing.stub = parameters.vertical_space * points_per_inch / 2;

    std::map<std::pair<int, int>, std::size_t> shape_at;
    std::map<std::size_t, int> code_of_shape;
    for (const cell_table::placed_entry& placed : table.entries()) {
        const auto column = static_cast<std::size_t>(placed.column_index);
        const auto row = static_cast<std::size_t>(placed.row);
        if (column >= geometry.column_centres.size() || row >= geometry.row_centres.size()) {
            continue;
        }
        const double x = geometry.column_centres[column];
        const double y = geometry.row_centres[row];
        const int code = placed.entry.code;
        const char* preset = preset_of_shape_type(office_shape_type(code));
        std::size_t index = 0;
        if (code == export_junction || code == export_switch_end) {
            const double side = code == export_junction ? 4 : 10;
            index = drawing.add_shape(preset, {x - side / 2, y - side / 2, side, side});
            drawing.shape(index).fill = fill;
        } else {
            index = parameters.show_source_code
                        ? drawing.add_text_box({x - 50, y - 5, 100, 10})
                        : drawing.add_shape(preset, {x - width / 2, y - height / 2, width, height});
            office_shape& shape = drawing.shape(index);
            shape.fill = fill;
            shape.text = trimmed_display_text(display_text(keywords, placed.entry, options));
            shape.font = font;
            if (parameters.show_source_code) {
                shape.frame = {1, 1, 1, 1, false, true, false};
                drawing.fit_to_text(index);
            } else {
                shape.frame = {0, 0, 0, 0, false, false, true};
            }
        }
        shape_at[{placed.column_index, placed.row}] = index;
        code_of_shape[index] = code;
    }

    for (const export_connector& line : table.connectors()) {
        const auto from = shape_at.find({table.column_index(line.first_column), line.first_row});
        const auto to = shape_at.find({table.column_index(line.second_column), line.second_row});
        // A line whose end cell was not drawn is not drawn either.
        if (from == shape_at.end() || to == shape_at.end()) continue;
        office_connector connector;
        connector.from = from->second;
        connector.from_side = side_of(line.first_anchor);
        connector.to = to->second;
        connector.to_side = side_of(line.second_anchor);
        connector.end = arrowhead::triangle;
        connector.begin = line.code == export_true_line ? arrowhead::oval : arrowhead::none;
        drawing.add_connector(connector);
        const std::string& caption = keywords[static_cast<std::size_t>(line.code)];
        const bool leaves_decision = code_of_shape[connector.from] != export_junction;
        if (parameters.show_keyword && leaves_decision && !caption.empty() &&
            (line.code == export_true_line || line.code == export_false_line)) {
            add_line_caption(drawing, connector, caption, font);
        }
    }
    return drawing;
}

void powerpoint_export(office_drawing drawing, const export_parameters& parameters,
                       office_document& presentation) {
    const int page_width = parameters.page_width_inches();
    const int page_height = parameters.page_height_inches();
    if (page_width > 0 && page_height > 0) {
        presentation.set_page({page_width * points_per_inch, page_height * points_per_inch});
    }
    page_size slide = presentation.page();
    presentation.replace_text("#filename#", parameters.file_name);
    presentation.replace_text("#functionname#", parameters.function_name);
    if (drawing.shapes().empty()) return;

    const double header = parameters.header_height * points_per_inch;
    office_box chart = drawing.bounds();
    const bool fit_width =
        parameters.set_page_width && (!parameters.only_width || slide.width < chart.width);
    const bool fit_height =
        parameters.set_page_height && (!parameters.only_height || slide.height < chart.height);
    // A slide may not pass 56 inches a side: a chart that would need more is scaled down to fit.
    const page_size limits = presentation.page_limits();
    double factor = 1;
    if (fit_width && chart.width + side_margin > limits.width) {
        factor = std::min(factor, (limits.width - side_margin) / chart.width);
    }
    if (fit_height && chart.height + bottom_margin + header > limits.height) {
        factor =
            std::min(factor, std::max(limits.height - bottom_margin - header, 1.0) / chart.height);
    }
    if (factor < 1) {
        drawing.scale(factor);
        chart = drawing.bounds();
    }
    if (fit_width) slide.width = chart.width + side_margin;
    if (fit_height) slide.height = chart.height + bottom_margin + header;
    if (fit_width || fit_height) {
        presentation.set_page(slide);
        slide = presentation.page();
    }
    const double top = parameters.center_drawing ? (slide.height - chart.height) * 0.5 : header;
    drawing.move_to((slide.width - chart.width) * 0.5, top);
    presentation.place_drawing(drawing);
}

}  // namespace tarnwell
