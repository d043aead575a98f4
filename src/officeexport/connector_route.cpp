#include "officeexport/connector_route.h"

#include <algorithm>
#include <cmath>

namespace tarnwell {

namespace {

constexpr double tolerance = 1e-6;
constexpr double adjust_unit = 100000.0;
// Beyond this an adjust value says more about rounding than about the path.
constexpr double largest_adjust = 1e9;

route_point direction_of(shape_side side) {
    switch (side) {
        case shape_side::top:
            return {0, -1};
        case shape_side::left:
            return {-1, 0};
        case shape_side::bottom:
            return {0, 1};
        case shape_side::right:
            return {1, 0};
    }
    return {};
}

bool near(double a, double b) {
    return std::fabs(a - b) < tolerance;
}
bool same_point(route_point a, route_point b) {
    return near(a.x, b.x) && near(a.y, b.y);
}

// Drops repeated points and merges collinear pieces; nothing when the path doubles back.
std::optional<std::vector<route_point>> simplified(const std::vector<route_point>& points) {
    std::vector<route_point> path;
    for (const route_point& p : points) {
        if (path.empty() || !same_point(path.back(), p)) path.push_back(p);
    }
    std::vector<route_point> merged;
    for (const route_point& p : path) {
        if (merged.size() >= 2) {
            const route_point a = merged[merged.size() - 2];
            const route_point b = merged.back();
            const bool vertical = near(a.x, b.x) && near(b.x, p.x);
            const bool horizontal = near(a.y, b.y) && near(b.y, p.y);
            if (vertical || horizontal) {
                const double along =
                    vertical ? (b.y - a.y) * (p.y - b.y) : (b.x - a.x) * (p.x - b.x);
                if (along < 0) return std::nullopt;
                merged.back() = p;
                continue;
            }
        }
        merged.push_back(p);
    }
    return merged;
}

// Quarter turns clockwise on a page whose y axis points down.
route_point turned(route_point v, int quarter_turns) {
    switch (((quarter_turns % 4) + 4) % 4) {
        case 1:
            return {-v.y, v.x};
        case 2:
            return {-v.x, -v.y};
        case 3:
            return {v.y, -v.x};
        default:
            return v;
    }
}

// The points of a bent or straight connector preset in its own box.
std::vector<route_point> preset_points(const connector_form& form) {
    const double w = form.width;
    const double h = form.height;
    const auto adj = [&](std::size_t i, double side) {
        return i < form.adjust.size() ? side * static_cast<double>(form.adjust[i]) / adjust_unit
                                      : side / 2;
    };
    if (form.preset == "bentConnector2") return {{0, 0}, {w, 0}, {w, h}};
    if (form.preset == "bentConnector3") {
        const double x1 = adj(0, w);
        return {{0, 0}, {x1, 0}, {x1, h}, {w, h}};
    }
    if (form.preset == "bentConnector4") {
        const double x1 = adj(0, w);
        const double y2 = adj(1, h);
        return {{0, 0}, {x1, 0}, {x1, y2}, {w, y2}, {w, h}};
    }
    if (form.preset == "bentConnector5") {
        const double x1 = adj(0, w);
        const double y2 = adj(1, h);
        const double x3 = adj(2, w);
        return {{0, 0}, {x1, 0}, {x1, y2}, {x3, y2}, {x3, h}, {w, h}};
    }
    return {{0, 0}, {w, h}};
}

}  // namespace

std::vector<route_point> orthogonal_route(route_point start, shape_side start_side, route_point end,
                                          shape_side end_side, double stub) {
    const route_point out = direction_of(start_side);
    const route_point in = direction_of(end_side);
    // Facing stubs share the gap between the shapes rather than crossing each other.
    const double ahead = (end.x - start.x) * out.x + (end.y - start.y) * out.y;
    const double behind = (start.x - end.x) * in.x + (start.y - end.y) * in.y;
    const double a = ahead > 0 ? std::min(stub, ahead / 2) : stub;
    const double b = behind > 0 ? std::min(stub, behind / 2) : stub;
    const route_point p{start.x + out.x * a, start.y + out.y * a};
    const route_point q{end.x + in.x * b, end.y + in.y * b};
    const route_point middle{(p.x + q.x) / 2, (p.y + q.y) / 2};

    const std::vector<std::vector<route_point>> candidates = {
        {start, p, {p.x, q.y}, q, end},
        {start, p, {q.x, p.y}, q, end},
        {start, p, {p.x, middle.y}, {q.x, middle.y}, q, end},
        {start, p, {middle.x, p.y}, {middle.x, q.y}, q, end},
    };
    std::optional<std::vector<route_point>> best;
    for (const auto& candidate : candidates) {
        std::optional<std::vector<route_point>> path = simplified(candidate);
        if (path && (!best || path->size() < best->size())) best = std::move(path);
    }
    if (best) return *best;
    return {start, end};
}

std::optional<connector_form> connector_form_of(const std::vector<route_point>& path) {
    if (path.size() < 2 || path.size() > 6) return std::nullopt;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (!near(path[i].x, path[i - 1].x) && !near(path[i].y, path[i - 1].y)) {
            return std::nullopt;
        }
    }
    const std::size_t segments = path.size() - 1;
    const route_point start = path.front();
    const route_point end = path.back();
    const route_point centre{(start.x + end.x) / 2, (start.y + end.y) / 2};

    for (int quarter_turns = 0; quarter_turns < 4; ++quarter_turns) {
        const route_point u = turned({start.x - centre.x, start.y - centre.y}, -quarter_turns);
        connector_form form;
        form.quarter_turns = quarter_turns;
        form.width = 2 * std::fabs(u.x);
        form.height = 2 * std::fabs(u.y);
        form.flip_h = u.x > tolerance;
        form.flip_v = u.y > tolerance;
        form.left = centre.x - form.width / 2;
        form.top = centre.y - form.height / 2;
        std::vector<route_point> local;
        for (const route_point& p : path) {
            const route_point v = turned({p.x - centre.x, p.y - centre.y}, -quarter_turns);
            const double fx = v.x + form.width / 2;
            const double fy = v.y + form.height / 2;
            local.push_back(
                {form.flip_h ? form.width - fx : fx, form.flip_v ? form.height - fy : fy});
        }
        if (segments == 1) {
            form.preset = "straightConnector1";
            return form;
        }
        // Bent presets start across: a path that starts up or down needs a quarter turn.
        if (!near(local[1].y, 0) || near(local[1].x, 0)) continue;
        const double w = form.width;
        const double h = form.height;
        const auto adjust = [&](double coordinate, double side) -> std::optional<long long> {
            if (side < tolerance) return std::nullopt;
            const double value = std::round(coordinate / side * adjust_unit);
            if (std::fabs(value) > largest_adjust) return std::nullopt;
            return static_cast<long long>(value);
        };
        bool fits = true;
        std::vector<std::optional<long long>> values;
        if (segments == 2) {
            fits = near(local[1].x, w);
        } else if (segments == 3) {
            values = {adjust(local[1].x, w)};
        } else if (segments == 4) {
            values = {adjust(local[1].x, w), adjust(local[2].y, h)};
        } else {
            values = {adjust(local[1].x, w), adjust(local[2].y, h), adjust(local[3].x, w)};
        }
        for (const auto& value : values) {
            if (!value)
                fits = false;
            else
                form.adjust.push_back(*value);
        }
        if (!fits) continue;
        form.preset = "bentConnector" + std::to_string(segments);
        // The adjust values are rounded; the drawn path must still be the path asked for.
        const std::vector<route_point> drawn = path_of(form);
        bool same = drawn.size() == path.size();
        for (std::size_t i = 0; same && i < path.size(); ++i) {
            same = std::fabs(drawn[i].x - path[i].x) < 0.01 &&
                   std::fabs(drawn[i].y - path[i].y) < 0.01;
        }
        if (same) return form;
    }
    return std::nullopt;
}

std::vector<route_point> path_of(const connector_form& form) {
    const route_point centre{form.left + form.width / 2, form.top + form.height / 2};
    std::vector<route_point> points;
    for (const route_point& local : preset_points(form)) {
        const double fx = form.flip_h ? form.width - local.x : local.x;
        const double fy = form.flip_v ? form.height - local.y : local.y;
        const route_point v =
            turned({fx - form.width / 2, fy - form.height / 2}, form.quarter_turns);
        points.push_back({centre.x + v.x, centre.y + v.y});
    }
    return points;
}

}  // namespace tarnwell
