#include "officeexport/visio1.h"

#include <algorithm>
#include <map>
#include <utility>

#include "officeexport/export_geometry.h"
#include "officeexport/ooxml_templates.h"
#include "officeexport/ooxml_text.h"

namespace tarnwell {

namespace {

constexpr double points_per_inch = 72;
// What the page keeps around a chart it was fitted to, each side, inches.
constexpr double fitted_margin = 0.1;

bool in(int code, std::initializer_list<int> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The stencil of the parameters, else the built-in one.
ooxml_package stencil_of(const export_parameters& parameters, std::string& notice) {
    if (!parameters.stencil_file.empty()) {
        std::string error;
        if (std::optional<ooxml_package> stencil =
                ooxml_package::read(parameters.stencil_file, error)) {
            return std::move(*stencil);
        }
        notice += "stencil does not exist, use default stencil (" + parameters.stencil_file + ": " +
                  error + ")\n";
    }
    return builtin_template(office_kind::visio_stencil);
}

// Where a run of `length` points that starts at `at` goes across a page of `page` points: where
// it is when it keeps inside the margins, else moved in from the edge it would run past (the
// margins narrowed when it only fits without them). A run the page cannot hold stays.
double kept_on_page(double at, double length, double page, double margin) {
    const double room = page - length;
    if (room < 0) return at;
    const double edge = std::min(margin, room / 2);
    return std::clamp(at, edge, room - edge);
}

// The display text as a shape shows it: untrimmed at its start, but without the empty last line
// a cell without source text would leave below its line range.
std::string shape_text(const keyword_list& keywords, const cell_entry& entry,
                       const display_options& options) {
    std::string text = display_text(keywords, entry, options);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

const std::vector<std::string>& visio_master_names() {
    static const std::vector<std::string> names = {
        "start",    "statement", "code",      "return",  "exit",    "break",   "continue",
        "label",    "goto",      "catch",     "for2",    "for",     "end",     "dountil",
        "until",    "dowhile",   "while",     "untildo", "whiledo", "switch2", "switch",
        "case",     "default",   "switchend", "if2",     "if",      "dot",     "connector",
        "trueline", "falseline", "text",      "text2",   "text3"};
    return names;
}

std::string visio_master(int code, bool text_mode) {
    if (code < 0 || code > export_false_line) return {};
    if (text_mode && code != export_switch_end && code != export_junction) {
        if (in(code, {0, 3, 4, 5, 6, 7, 8, 9, 12, 20})) return "text2";
        if (in(code, {11, 14, 16, 21, 22, 25})) return "text3";
        return "text";
    }
    return visio_master_names()[static_cast<std::size_t>(code)];
}

office_export_summary visio_export(const cell_table& table, const export_parameters& parameters,
                                   vsdx_document& drawing) {
    drawing.set_page_name(parameters.file_name + ":" + parameters.function_name);
    drawing.replace_text("#filename#", parameters.file_name);
    drawing.replace_text("#functionname#", parameters.function_name);
    office_export_summary summary;
    summary.page = drawing.page();
    if (table.empty()) return summary;

    const display_options options{parameters.show_keyword, parameters.show_line_range,
                                  parameters.show_source_code};
    export_geometry geometry = compute_geometry(table, geometry_measures_of(parameters), options);
    const keyword_list keywords = parameters.export_keywords();
    const int caption_lines = (options.show_keyword ? 1 : 0) + (options.show_line_range ? 1 : 0);

    // The shapes' sizes and texts first: a shape whose outline narrows around its text grows,
    // and its column with it.
    struct planned_shape {
        const cell_table::placed_entry* placed;
        std::string master;
        double width;  // inches
        double height;
        outline_span span;
    };
    std::vector<planned_shape> plans;
    std::vector<double> growth(geometry.column_sizes.size(), 0);
    for (const cell_table::placed_entry& placed : table.entries()) {
        const auto column = static_cast<std::size_t>(placed.column_index);
        const auto row = static_cast<std::size_t>(placed.row);
        std::string master = visio_master(placed.entry.code, parameters.show_source_code);
        if (column >= geometry.column_centres.size() || row >= geometry.row_sizes.size() ||
            master.empty() || !drawing.has_master(master)) {
            continue;
        }
        const int code = placed.entry.code;
        planned_shape plan{
            &placed, std::move(master), parameters.shape_width, parameters.shape_height, {}};
        if (code == export_junction || code == export_switch_end) {
            plan.width = plan.height = (code == export_junction ? 4 : 10) / points_per_inch;
            plans.push_back(std::move(plan));
            continue;
        }
        std::size_t widest = 0;
        std::size_t lines = 0;
        for (const std::string_view line :
             text_paragraphs(shape_text(keywords, placed.entry, options))) {
            widest = std::max(widest, line.size());
            ++lines;
        }
        const double text_width = parameters.font_width * static_cast<double>(widest) + 0.1;
        if (parameters.show_source_code) {
            plan.width = text_width;
            plan.height =
                parameters.font_height * (placed.entry.text.line_count + caption_lines) + 0.06;
        }
        plan.span = drawing.text_span(
            plan.master, parameters.font_height * static_cast<double>(lines) / plan.height);
        if (plan.span.width() > 0 && plan.span.width() * plan.width < text_width) {
            const double grown = text_width / plan.span.width();
            growth[column] = std::max(growth[column], grown - plan.width);
            plan.width = grown;
        }
        plans.push_back(std::move(plan));
    }
    for (std::size_t column = 0; column < growth.size(); ++column) {
        geometry.column_sizes[column] += growth[column];
    }
    geometry.column_centres = centres_of(geometry.column_sizes);

    // The start cell's column (column number 100) is centred on the page.
    const auto start_column = static_cast<std::size_t>(
        std::clamp(table.column_index(100), 0, std::max(table.column_count() - 1, 0)));
    const double shift =
        summary.page.width / points_per_inch / 2 -
        (start_column < geometry.column_centres.size() ? geometry.column_centres[start_column] : 0);

    office_drawing chart;
    chart.stub = parameters.vertical_space * points_per_inch / 2;
    std::map<std::pair<int, int>, std::size_t> shape_at;
    std::map<std::size_t, int> code_of_shape;
    for (const planned_shape& plan : plans) {
        const cell_table::placed_entry& placed = *plan.placed;
        const auto column = static_cast<std::size_t>(placed.column_index);
        const auto row = static_cast<std::size_t>(placed.row);
        const double x = (shift + geometry.column_centres[column]) * points_per_inch;
        const double y = (parameters.header_height + geometry.row_centres[row]) * points_per_inch;
        const double width = plan.width * points_per_inch;
        const double height = plan.height * points_per_inch;
        const std::size_t index =
            chart.add_shape(plan.master, {x - width / 2, y - height / 2, width, height});
        office_shape& shape = chart.shape(index);
        // The font height option is the height of a line; readers space lines a fifth wider
        // than the characters are high.
        shape.font.size = parameters.font_height * points_per_inch / 1.2;
        // The text keeps inside the outline: away from sides that slant in.
        shape.frame = {1.44 + plan.span.left * width,
                       0.72,
                       1.44 + (1 - plan.span.right) * width,
                       0.72,
                       true,
                       false,
                       true};
        const int code = placed.entry.code;
        if (code != export_junction && code != export_switch_end) {
            shape.text = shape_text(keywords, placed.entry, options);
        }
        shape_at[{placed.column_index, placed.row}] = index;
        code_of_shape[index] = code;
    }

    std::vector<visio_line_look> looks;
    for (const export_connector& line : table.connectors()) {
        const auto from = shape_at.find({table.column_index(line.first_column), line.first_row});
        const auto to = shape_at.find({table.column_index(line.second_column), line.second_row});
        const std::string master = visio_master(line.code, false);
        // A line whose end cell was not drawn is not drawn either.
        if (from == shape_at.end() || to == shape_at.end() || master.empty() ||
            !drawing.has_master(master)) {
            continue;
        }
        office_connector connector;
        connector.from = from->second;
        connector.from_side = side_of(line.first_anchor);
        connector.to = to->second;
        connector.to_side = side_of(line.second_anchor);
        if (!chart.add_connector(connector)) continue;
        // As on the grid view, only a line that leaves a decision is captioned: one that leaves a
        // junction merely continues it.
        const bool from_junction = code_of_shape[connector.from] == export_junction;
        looks.push_back({master, from_junction ? std::string()
                                               : keywords[static_cast<std::size_t>(line.code)]});
    }

    // Fitting: the page grows (or shrinks) to everything on it, the template's shapes and the
    // chart taken together, with a margin, and everything moves to it. A chart that would need a
    // page larger than drawing programs open is scaled down to fit the largest one.
    const office_box existing = drawing.page_shapes_bounds();
    const auto everything = [&](const office_box& chart_box) {
        if (existing.width <= 0 && existing.height <= 0) return chart_box;
        const double right =
            std::max(chart_box.left + chart_box.width, existing.left + existing.width);
        const double bottom =
            std::max(chart_box.top + chart_box.height, existing.top + existing.height);
        const double left = std::min(chart_box.left, existing.left);
        const double top = std::min(chart_box.top, existing.top);
        return office_box{left, top, right - left, bottom - top};
    };
    office_box chart_bounds = chart.bounds();
    office_box bounds = everything(chart_bounds);
    const double margin = fitted_margin * points_per_inch;
    page_size page = summary.page;
    const bool fit_width = parameters.set_page_width &&
                           (!parameters.only_width || page.width < bounds.width + 2 * margin);
    const bool fit_height = parameters.set_page_height &&
                            (!parameters.only_height || page.height < bounds.height + 2 * margin);
    const page_size limits = drawing.page_limits();
    double factor = 1;
    if (fit_width && bounds.width + 2 * margin > limits.width) {
        factor = std::min(factor, (limits.width - 2 * margin) / bounds.width);
    }
    if (fit_height && bounds.height + 2 * margin > limits.height) {
        factor = std::min(factor, (limits.height - 2 * margin) / bounds.height);
    }
    if (factor < 1) {
        chart.scale(factor);
        chart_bounds = chart.bounds();
        bounds = everything(chart_bounds);
    }
    double left = bounds.left;
    double top = bounds.top;
    if (fit_width) {
        page.width = bounds.width + 2 * margin;
        left = margin;
    }
    if (fit_height) {
        page.height = bounds.height + 2 * margin;
        top = margin;
    }
    drawing.set_page(page);
    summary.page = drawing.page();
    if (parameters.center_drawing) {
        left = (summary.page.width - bounds.width) / 2;
        top = (summary.page.height - bounds.height) / 2;
    } else {
        left = kept_on_page(left, bounds.width, summary.page.width, margin);
        top = kept_on_page(top, bounds.height, summary.page.height, margin);
    }
    drawing.move_page_shapes(left - bounds.left, top - bounds.top);
    chart.move_to(chart_bounds.left + left - bounds.left, chart_bounds.top + top - bounds.top);
    drawing.place_drawing(chart, looks);
    summary.shapes = chart.shapes().size();
    summary.connectors = chart.connectors().size();
    return summary;
}

bool write_visio_export(const cell_table& table, const export_parameters& parameters,
                        const std::string& output, office_export_summary& summary,
                        std::string& notice, std::string& error) {
    std::string message;
    std::unique_ptr<office_document> opened =
        open_office_document(office_kind::visio_drawing, parameters.template_file, message);
    if (!message.empty()) notice += message + "\n";
    // The kind asked for makes the document a Visio drawing.
    auto& drawing = static_cast<vsdx_document&>(*opened);
    std::string why;
    if (!drawing.use_stencil(stencil_of(parameters, notice), why)) {
        notice += "stencil does not exist, use default stencil (" + parameters.stencil_file + ": " +
                  why + ")\n";
        drawing.use_stencil(builtin_template(office_kind::visio_stencil), why);
    }
    for (const std::string& name : visio_master_names()) {
        if (!drawing.has_master(name)) notice += "stencil " + name + " do not exists\n";
    }
    if (!notice.empty() && notice.back() == '\n') notice.pop_back();
    summary = visio_export(table, parameters, drawing);
    return drawing.save(output, error);
}

}  // namespace tarnwell
