#include "classmodel/vixConnectPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tarnwell {

namespace {

// Nearest integer, halves to even (the default rounding mode).
int Nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Lines longer than this on either axis get no head: the geometry is meaningless there.
constexpr int LongestHeadedLine = 20000;
constexpr int HeadLength = 10;

}  // namespace

TRect Normalized(TRect rect) {
    if (rect.Left > rect.Right) std::swap(rect.Left, rect.Right);
    if (rect.Top > rect.Bottom) std::swap(rect.Top, rect.Bottom);
    return rect;
}

TRect Union(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

TPoint BorderPoint(const TRect& rect, TPoint towards) {
    const int w = rect.Width();
    const int h = rect.Height();
    const double dx = static_cast<double>(towards.X) - (rect.Left + w / 2);
    const double dy = static_cast<double>(towards.Y) - (rect.Top + h / 2);
    const double theta = std::atan2(w * dy, h * dx);
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    int x = 0;
    if (std::abs(s) > 0.001) {
        x = std::clamp(Nearest((c / std::abs(s) + 1) / 2 * w), 0, w);
    } else {
        x = c >= 0 ? w : 0;
    }
    int y = 0;
    if (std::abs(c) > 0.001) {
        y = std::clamp(Nearest((s / std::abs(c) + 1) / 2 * h), 0, h);
    } else {
        y = s >= 0 ? h : 0;
    }
    return {rect.Left + x, rect.Top + y};
}

TConnectionEnds ConnectionEnds(const TRect& from, const TRect& to) {
    const TPoint from_centre{from.Left + from.Width() / 2, from.Top + from.Height() / 2};
    const TPoint to_centre{to.Left + to.Width() / 2, to.Top + to.Height() / 2};
    return {BorderPoint(from, to_centre), BorderPoint(to, from_centre)};
}

std::vector<TPoint> ArrowHeadPoints(TPoint from, TPoint to, TArrowHead head) {
    if (head != TArrowHead::Open && head != TArrowHead::Closed) return {};
    const double dx = static_cast<double>(to.X) - from.X;
    const double dy = static_cast<double>(to.Y) - from.Y;
    if ((dx == 0 && dy == 0) || std::abs(dx) > LongestHeadedLine ||
        std::abs(dy) > LongestHeadedLine)
        return {};
    const double length = std::sqrt(dx * dx + dy * dy);
    const TPoint base{to.X - Nearest(HeadLength * dx / length),
                      to.Y - Nearest(HeadLength * dy / length)};
    const TPoint normal{Nearest(HeadLength * dy / length), Nearest(-HeadLength * dx / length)};
    const TPoint left{base.X + normal.X, base.Y + normal.Y};
    const TPoint right{base.X - normal.X, base.Y - normal.Y};
    if (head == TArrowHead::Open) return {left, to, right};
    return {to, left, right};
}

std::size_t TvixConnectPanel::AddManagedObject(const TRect& bounds) {
    objects_.push_back({bounds, true, false});
    z_order_.push_back(objects_.size() - 1);
    Grow(bounds);
    return objects_.size() - 1;
}

void TvixConnectPanel::ClearManagedObjects() {
    connections_.clear();
    objects_.clear();
    z_order_.clear();
    temporarily_hidden_.clear();
    width_ = height_ = 0;
    selected_only_ = is_moving_ = in_band_select_ = pressed_on_box_ = false;
    IsModified = false;
}

bool TvixConnectPanel::ConnectObjects(std::size_t from, std::size_t to, TArrowHead head,
                                      TLineStyle style) {
    if (from >= objects_.size() || to >= objects_.size() || from == to) return false;
    connections_.push_back({from, to, style, head});
    return true;
}

std::vector<std::size_t> TvixConnectPanel::GetSelectedControls() const {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].Selected) selected.push_back(i);
    return selected;
}

std::optional<std::size_t> TvixConnectPanel::GetFirstSelected() const {
    for (std::size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].Selected) return i;
    return std::nullopt;
}

void TvixConnectPanel::ClearSelection() {
    for (TManagedObject& object : objects_) object.Selected = false;
}

void TvixConnectPanel::Select(std::size_t index) {
    objects_.at(index).Selected = true;
    BringToFront(index);
}

void TvixConnectPanel::SelectInRect(TRect rect) {
    rect = Normalized(rect);
    for (TManagedObject& object : objects_) {
        const TRect& b = object.Bounds;
        if (object.Visible && b.Left >= rect.Left && b.Top >= rect.Top && b.Right <= rect.Right &&
            b.Bottom <= rect.Bottom)
            object.Selected = true;
    }
}

std::optional<std::size_t> TvixConnectPanel::BoxAt(TPoint point) const {
    for (auto it = z_order_.rbegin(); it != z_order_.rend(); ++it) {
        const TManagedObject& object = objects_[*it];
        const TRect& b = object.Bounds;
        if (object.Visible && point.X >= b.Left && point.X < b.Right && point.Y >= b.Top &&
            point.Y < b.Bottom)
            return *it;
    }
    return std::nullopt;
}

void TvixConnectPanel::RecalcSize() {
    width_ = 300;
    height_ = 150;
    for (const TManagedObject& object : objects_) {
        if (!object.Visible) continue;
        width_ = std::max(width_, object.Bounds.Right + Margin);
        height_ = std::max(height_, object.Bounds.Bottom + Margin);
    }
}

void TvixConnectPanel::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
}

void TvixConnectPanel::SetSelectedOnly(bool on) {
    if (on == selected_only_) return;
    selected_only_ = on;
    if (on) {
        for (std::size_t i = 0; i < objects_.size(); ++i) {
            if (objects_[i].Visible && !objects_[i].Selected) {
                objects_[i].Visible = false;
                temporarily_hidden_.push_back(i);
            }
        }
    } else {
        for (std::size_t i : temporarily_hidden_) objects_[i].Visible = true;
        temporarily_hidden_.clear();
    }
}

void TvixConnectPanel::MousePress(TPoint point, TMouseButton button, bool ctrl) {
    is_moving_ = false;
    in_band_select_ = false;
    last_mouse_ = point;
    const std::optional<std::size_t> box = BoxAt(point);
    pressed_on_box_ = box.has_value();
    if (box) {
        if (!objects_[*box].Selected && !ctrl) ClearSelection();
        Select(*box);
    } else if (button == TMouseButton::Left) {
        in_band_select_ = true;
        band_start_ = band_end_ = point;
    }
}

TPoint TvixConnectPanel::MouseMove(TPoint point, bool left_held, TScrollView& view) {
    if (in_band_select_) {
        band_end_ = point;
        return {};
    }
    if (!left_held || !pressed_on_box_) return {};
    const int dx = point.X - last_mouse_.X;
    const int dy = point.Y - last_mouse_.Y;
    if (std::abs(dx) + std::abs(dy) <= DragThreshold && !is_moving_) return {};
    last_mouse_ = point;
    is_moving_ = true;
    TRect moved;
    for (TManagedObject& object : objects_) {
        if (!object.Selected) continue;
        TRect& b = object.Bounds;
        if (b.Left + dx >= 0) {
            b.Left += dx;
            b.Right += dx;
        }
        if (b.Top + dy >= 0) {
            b.Top += dy;
            b.Bottom += dy;
        }
        Grow(b);
        moved = Union(moved, b);
        IsModified = true;
    }
    const TScrollView before = view;
    view = AutoScroll(view, moved, dx, dy);
    RecalcSize();
    return {view.Left - before.Left, view.Top - before.Top};
}

std::optional<std::size_t> TvixConnectPanel::MouseRelease(TPoint point, bool ctrl) {
    const bool was_moving = is_moving_;
    is_moving_ = false;
    pressed_on_box_ = false;
    const std::optional<std::size_t> box = BoxAt(point);
    if (in_band_select_) {
        in_band_select_ = false;
        band_end_ = point;
        if (!ctrl) ClearSelection();
        SelectInRect(BandRect());
        return std::nullopt;
    }
    if (!box && !was_moving && !ctrl) ClearSelection();
    return box;
}

void TvixConnectPanel::Grow(const TRect& bounds) {
    width_ = std::max(width_, bounds.Right + Margin);
    height_ = std::max(height_, bounds.Bottom + Margin);
}

void TvixConnectPanel::BringToFront(std::size_t index) {
    const auto at = std::find(z_order_.begin(), z_order_.end(), index);
    if (at == z_order_.end()) return;
    z_order_.erase(at);
    z_order_.push_back(index);
}

TScrollView AutoScroll(TScrollView view, const TRect& moved, int dx, int dy) {
    if (moved.IsEmpty()) return view;
    if (dx > 0 && moved.Right >= view.Left + view.Width) view.Left = moved.Right - view.Width;
    if (dy > 0 && moved.Bottom >= view.Top + view.Height) view.Top = moved.Bottom - view.Height;
    if (dx < 0 && view.Left >= moved.Left) view.Left = moved.Left;
    if (dy < 0 && view.Top >= moved.Top) view.Top = moved.Top;
    view.Left = std::max(view.Left, 0);
    view.Top = std::max(view.Top, 0);
    return view;
}

}  // namespace tarnwell
