#include "flowview/chart_pages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <tuple>

#include "flowview/symbol_joins.h"

namespace tarnwell {

namespace {

constexpr double points_per_mm = 72.0 / 25.4;

std::string lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

std::optional<double> millimetres(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!(value >= 50 && value <= 2000)) return std::nullopt;
    return value;
}

// A flow line between two cells of the chart that a cut may separate.
struct flow_link {
    grid_point from;  // above or to the left
    grid_point to;
    bool vertical;
};

std::vector<flow_link> flow_links(const chart_cells& chart) {
    std::vector<flow_link> links;
    for (const chart_cell& cell : chart.cells) {
        for (const bool vertical : {true, false}) {
            const grid_point next = vertical ? grid_point{cell.at.column, cell.at.row + 1}
                                             : grid_point{cell.at.column + 1, cell.at.row};
            const chart_cell* neighbour = chart.at(next);
            if (neighbour != nullptr && cells_joined(cell.name, neighbour->name, vertical)) {
                links.push_back({cell.at, next, vertical});
            }
        }
    }
    return links;
}

// Cuts [first, end) into spans of at most `per_page`; each cut lies in the last quarter of
// its span where `crossings` (indexed by the first cell after the cut) is least.
std::vector<cell_span> cut_spans(int first, int end, int per_page,
                                 const std::map<int, int>& crossings) {
    std::vector<cell_span> spans;
    per_page = std::max(1, per_page);
    for (int start = first; start < end;) {
        if (end - start <= per_page) {
            spans.push_back({start, end});
            break;
        }
        const int latest = start + per_page;
        const int earliest = start + std::max(1, per_page - per_page / 4);
        int best = latest;
        int fewest = crossings.count(latest) ? crossings.at(latest) : 0;
        for (int cut = latest - 1; cut >= earliest && fewest > 0; --cut) {
            const auto found = crossings.find(cut);
            const int n = found == crossings.end() ? 0 : found->second;
            if (n < fewest) {
                fewest = n;
                best = cut;
            }
        }
        spans.push_back({start, best});
        start = best;
    }
    return spans;
}

int span_index(const std::vector<cell_span>& spans, int i) {
    const auto found = std::upper_bound(spans.begin(), spans.end(), i,
                                        [](int v, const cell_span& s) { return v < s.end; });
    return static_cast<int>(found - spans.begin());
}

}  // namespace

std::optional<page_format> read_page_format(std::string_view text) {
    const std::string name = lower(text);
    if (name == "a4") return page_format{210, 297};
    if (name == "a3") return page_format{297, 420};
    if (name == "letter") return page_format{215.9, 279.4};
    constexpr std::string_view unit = "-mm";
    if (name.size() <= unit.size() || name.compare(name.size() - unit.size(), unit.size(), unit))
        return std::nullopt;
    const std::string_view size = std::string_view(name).substr(0, name.size() - unit.size());
    const std::size_t times = size.find('x');
    if (times == std::string_view::npos) return std::nullopt;
    const std::optional<double> w = millimetres(size.substr(0, times));
    const std::optional<double> h = millimetres(size.substr(times + 1));
    if (!w || !h) return std::nullopt;
    return page_format{*w, *h};
}

page_geometry page_layout(page_format format, double cell_width, double cell_height) {
    page_geometry g;
    g.width = format.width_mm * points_per_mm;
    g.height = format.height_mm * points_per_mm;
    g.margin = 10 * points_per_mm;
    g.header = 26;
    // An off-page connector and its page reference fit beside the cut edge.
    g.gutter_x = 40;
    g.gutter_y = 30;
    g.chart_left = g.margin + g.gutter_x;
    g.chart_top = g.margin + g.header + g.gutter_y;
    const double area_width = g.width - 2 * g.chart_left;
    const double area_height = g.height - g.chart_top - g.margin - g.gutter_y;
    g.columns = std::max(1, static_cast<int>(std::floor(area_width / cell_width)));
    g.rows = std::max(1, static_cast<int>(std::floor(area_height / cell_height)));
    return g;
}

page_plan cut_into_pages(const chart_cells& chart, int columns, int rows) {
    page_plan plan;
    if (chart.cells.empty()) {
        plan.pages.push_back({});
        return plan;
    }
    int first_column = chart.cells.front().at.column, end_column = first_column + 1;
    const int first_row = chart.cells.front().at.row;
    const int end_row = chart.cells.back().at.row + 1;
    for (const chart_cell& cell : chart.cells) {
        first_column = std::min(first_column, cell.at.column);
        end_column = std::max(end_column, cell.at.column + 1);
    }
    const std::vector<flow_link> links = flow_links(chart);
    std::map<int, int> row_crossings, column_crossings;
    for (const flow_link& link : links) {
        if (link.vertical) {
            ++row_crossings[link.to.row];
        } else {
            ++column_crossings[link.to.column];
        }
    }
    const std::vector<cell_span> row_bands = cut_spans(first_row, end_row, rows, row_crossings);
    const std::vector<cell_span> column_bands =
        cut_spans(first_column, end_column, columns, column_crossings);

    // Pages are numbered in reading order among the bands that hold a cell.
    std::map<std::pair<int, int>, int> page_of_band;
    for (const chart_cell& cell : chart.cells) {
        page_of_band.emplace(
            std::pair{span_index(row_bands, cell.at.row), span_index(column_bands, cell.at.column)},
            0);
    }
    for (auto& [band, page] : page_of_band) {
        page = static_cast<int>(plan.pages.size());
        plan.pages.push_back({column_bands[static_cast<std::size_t>(band.second)],
                              row_bands[static_cast<std::size_t>(band.first)]});
    }
    const auto page_at = [&](grid_point p) {
        return page_of_band.at({span_index(row_bands, p.row), span_index(column_bands, p.column)});
    };

    std::vector<std::tuple<int, int, int, const flow_link*>> cut_links;
    for (const flow_link& link : links) {
        const int from_page = page_at(link.from);
        if (from_page != page_at(link.to)) {
            cut_links.emplace_back(from_page, link.from.row, link.from.column, &link);
        }
    }
    std::sort(cut_links.begin(), cut_links.end());
    int number = 0;
    for (const auto& [from_page, row, column, link] : cut_links) {
        ++number;
        const int to_page = page_at(link->to);
        plan.connectors.push_back({number, from_page, link->from,
                                   link->vertical ? page_side::bottom : page_side::right, to_page});
        plan.connectors.push_back({number, to_page, link->to,
                                   link->vertical ? page_side::top : page_side::left, from_page});
    }
    return plan;
}

}  // namespace tarnwell
