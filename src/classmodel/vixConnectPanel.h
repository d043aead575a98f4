// The diagram surface: movable boxes and the lines between them, the selection and the drag
// of the selection, without any drawing. The widget that shows it only paints and passes
// the mouse on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwell {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left and top inclusive, right and bottom exclusive, as a control's bounds.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The rectangle with its corners in order.
TRect Normalized(TRect rect);
// The smallest rectangle holding both; an empty one adds nothing.
TRect Union(const TRect& a, const TRect& b);

enum class TLineStyle : std::uint8_t { ThinSolid = 0, ThickSolid = 1, ThinDashed = 2 };
enum class TArrowHead : std::uint8_t { Open = 0, Closed = 1, None = 2 };

// A line from one managed box to another; the head is drawn at `ToBox`.
struct TConnection {
    std::size_t FromBox = 0;
    std::size_t ToBox = 0;
    TLineStyle LineStyle = TLineStyle::ThinSolid;
    TArrowHead ArrowHead = TArrowHead::Open;
};

// Where the border of `rect` meets the line from its centre towards `towards`.
TPoint BorderPoint(const TRect& rect, TPoint towards);

// The two ends of a connection: on the border of each box, towards the other's centre.
struct TConnectionEnds {
    TPoint From;
    TPoint To;
};
TConnectionEnds ConnectionEnds(const TRect& from, const TRect& to);

// The head of a line from `from` to `to`, drawn at `to`: an open head is the polyline of the
// three points, a closed one the triangle. No points when there is no head to draw.
std::vector<TPoint> ArrowHeadPoints(TPoint from, TPoint to, TArrowHead head);

// The visible part of the surface inside its scroll box.
struct TScrollView {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

enum class TMouseButton : std::uint8_t { Left, Right, Middle };

struct TManagedObject {
    TRect Bounds;
    bool Visible = true;
    bool Selected = false;
};

class TvixConnectPanel {
  public:
    // The half size of the squares that mark a selected box's corners.
    static constexpr int SelectionMark = 5;
    // The distance the mouse must travel, |dx| + |dy|, before a press becomes a drag.
    static constexpr int DragThreshold = 5;
    // The room kept right of and below the boxes.
    static constexpr int Margin = 50;

    // A new box, shown; grows the surface to hold it. Answers its index.
    std::size_t AddManagedObject(const TRect& bounds);
    void ClearManagedObjects();
    void ClearConnections() { connections_.clear(); }
    // False when a box is unknown or both are the same box; else the connection is appended.
    bool ConnectObjects(std::size_t from, std::size_t to, TArrowHead head, TLineStyle style);

    const std::vector<TManagedObject>& GetManagedObjects() const { return objects_; }
    const std::vector<TConnection>& GetConnections() const { return connections_; }
    TManagedObject& Object(std::size_t index) { return objects_.at(index); }
    const TManagedObject& Object(std::size_t index) const { return objects_.at(index); }
    // Box indices from the back to the front, as they are painted.
    const std::vector<std::size_t>& PaintOrder() const { return z_order_; }

    std::vector<std::size_t> GetSelectedControls() const;
    std::optional<std::size_t> GetFirstSelected() const;
    void ClearSelection();
    // Selects the box and brings it to the front.
    void Select(std::size_t index);
    // Adds every visible box lying wholly inside the rectangle to the selection.
    void SelectInRect(TRect rect);
    // The frontmost visible box under the point.
    std::optional<std::size_t> BoxAt(TPoint point) const;

    // The surface just holds the visible boxes: at least 300 x 150.
    void RecalcSize();
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);

    // While on, the unselected boxes are hidden (and shown again when it goes off).
    void SetSelectedOnly(bool on);
    bool SelectedOnly() const { return selected_only_; }

    // The mouse, in surface coordinates. A press on a box selects it (adding to the
    // selection with Ctrl); a press on the empty surface starts a rubber band.
    void MousePress(TPoint point, TMouseButton button, bool ctrl);
    // With the left button held, a press on a box becomes a drag of the selection once the
    // mouse has travelled past the threshold; the view follows the dragged boxes. Answers
    // how far the view moved.
    TPoint MouseMove(TPoint point, bool left_held, TScrollView& view);
    // Ends a drag or a rubber band; a release on the empty surface without Ctrl first clears
    // the selection, as the click that comes with it does. Answers the box under the point.
    std::optional<std::size_t> MouseRelease(TPoint point, bool ctrl);

    bool IsMoving() const { return is_moving_; }
    bool InBandSelect() const { return in_band_select_; }
    // The rubber band while one is being drawn.
    TRect BandRect() const {
        return Normalized({band_start_.X, band_start_.Y, band_end_.X, band_end_.Y});
    }

    bool IsModified = false;

  private:
    void Grow(const TRect& bounds);
    void BringToFront(std::size_t index);

    std::vector<TManagedObject> objects_;
    std::vector<std::size_t> z_order_;
    std::vector<TConnection> connections_;
    std::vector<std::size_t> temporarily_hidden_;
    int width_ = 0;
    int height_ = 0;
    bool selected_only_ = false;
    bool is_moving_ = false;
    bool in_band_select_ = false;
    bool pressed_on_box_ = false;
    TPoint last_mouse_;
    TPoint band_start_;
    TPoint band_end_;
};

// How the view moves to keep the dragged boxes (`moved`, their union) in sight after a move
// by dx, dy; the caller moves the cursor back by the same amount.
TScrollView AutoScroll(TScrollView view, const TRect& moved, int dx, int dy);

}  // namespace tarnwell
