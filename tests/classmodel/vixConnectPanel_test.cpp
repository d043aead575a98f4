#include "classmodel/vixConnectPanel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwell {
namespace {

TEST(vixConnectPanel, BorderPointsMeetTheBorderTowardsThePoint) {
    struct border_case {
        const char* name;
        TRect rect;
        TPoint towards;
        TPoint expected;
    };
    const TRect r{0, 0, 100, 50};  // centre (50, 25)
    const border_case cases[] = {
        {"right", r, {200, 25}, {100, 25}},
        {"left", r, {-100, 25}, {0, 25}},
        {"below", r, {50, 200}, {50, 50}},
        {"above", r, {50, -100}, {50, 0}},
        {"through the corner", r, {150, 75}, {100, 50}},
        {"through the upper left corner", r, {-50, -25}, {0, 0}},
        // tan = 0.5: y = (0.5 + 1) / 2 * 50 = 37.5, which halves to the even 38.
        {"half a pixel rounds to even", r, {150, 50}, {100, 38}},
        {"the centre itself", r, {50, 25}, {100, 25}},
        // Odd sizes halve toward zero: the centre of (10, 20, 5 x 3) is (12, 21).
        {"odd size, straight down", {10, 20, 15, 23}, {12, 100}, {12, 23}},
        {"odd size, straight right", {10, 20, 15, 23}, {100, 21}, {15, 22}},
    };
    for (const border_case& c : cases)
        EXPECT_EQ(BorderPoint(c.rect, c.towards), c.expected) << c.name;
}

TEST(vixConnectPanel, ConnectionsRunBetweenTheFacingSides) {
    struct ends_case {
        const char* name;
        TRect from;
        TRect to;
        TConnectionEnds expected;
    };
    const ends_case cases[] = {
        {"centres on one row", {0, 0, 100, 50}, {200, 0, 300, 50}, {{100, 25}, {200, 25}}},
        {"centres in one column", {0, 200, 100, 250}, {0, 0, 100, 50}, {{50, 200}, {50, 50}}},
        {"overlapping boxes", {0, 0, 100, 50}, {0, 0, 100, 50}, {{100, 25}, {100, 25}}},
    };
    for (const ends_case& c : cases) {
        const TConnectionEnds ends = ConnectionEnds(c.from, c.to);
        EXPECT_EQ(ends.From, c.expected.From) << c.name;
        EXPECT_EQ(ends.To, c.expected.To) << c.name;
    }
}

TEST(vixConnectPanel, ArrowHeadsStandTenPixelsBackFromTheTip) {
    struct head_case {
        const char* name;
        TPoint from;
        TPoint to;
        TArrowHead head;
        std::vector<TPoint> expected;
    };
    const head_case cases[] = {
        {"open, to the right", {0, 0}, {100, 0}, TArrowHead::Open, {{90, -10}, {100, 0}, {90, 10}}},
        {"closed, to the right",
         {0, 0},
         {100, 0},
         TArrowHead::Closed,
         {{100, 0}, {90, -10}, {90, 10}}},
        {"open, downwards", {0, 0}, {0, 100}, TArrowHead::Open, {{10, 90}, {0, 100}, {-10, 90}}},
        // u = (0.6, 0.8): the base is 6 and 8 back; the normal (0.8, -0.6) gives 8 and 6.
        {"closed, slanting", {0, 0}, {30, 40}, TArrowHead::Closed, {{30, 40}, {32, 26}, {16, 38}}},
        {"the longest line that has a head",
         {0, 0},
         {20000, 0},
         TArrowHead::Open,
         {{19990, -10}, {20000, 0}, {19990, 10}}},
        {"too long across", {0, 0}, {20001, 5}, TArrowHead::Open, {}},
        {"too long down", {5, -20001}, {0, 0}, TArrowHead::Closed, {}},
        {"no length", {7, 7}, {7, 7}, TArrowHead::Closed, {}},
        {"no head", {0, 0}, {100, 0}, TArrowHead::None, {}},
        {"an unknown head", {0, 0}, {100, 0}, static_cast<TArrowHead>(9), {}},
    };
    for (const head_case& c : cases)
        EXPECT_EQ(ArrowHeadPoints(c.from, c.to, c.head), c.expected) << c.name;
}

// Two boxes 185 x 41, at (100, 100) and (400, 100).
TvixConnectPanel two_boxes() {
    TvixConnectPanel panel;
    panel.AddManagedObject({100, 100, 285, 141});
    panel.AddManagedObject({400, 100, 585, 141});
    return panel;
}

TEST(vixConnectPanel, DragsStartPastFivePixelsAndThenCoverTheWholeWay) {
    struct drag_case {
        const char* name;
        TPoint box_at;  // the first box's top left
        std::vector<TPoint> moves;
        TPoint expected;
        bool moving;
    };
    const drag_case cases[] = {
        {"three pixels move nothing", {100, 100}, {{150, 120}, {152, 121}}, {100, 100}, false},
        {"five pixels move nothing", {100, 100}, {{153, 122}}, {100, 100}, false},
        {"on to six pixels, all six", {100, 100}, {{152, 121}, {154, 122}}, {104, 102}, true},
        {"after the start every pixel counts",
         {100, 100},
         {{156, 120}, {157, 120}},
         {107, 100},
         true},
        {"the left edge stops the box but not the vertical",
         {6, 100},
         {{144, 130}, {138, 140}},
         {0, 120},
         true},
        {"the top edge stops the box but not the horizontal",
         {100, 3},
         {{160, 110}, {170, 90}},
         {120, 3},
         true},
    };
    for (const drag_case& c : cases) {
        TvixConnectPanel panel = two_boxes();
        TRect& bounds = panel.Object(0).Bounds;
        bounds = {c.box_at.X, c.box_at.Y, c.box_at.X + 185, c.box_at.Y + 41};
        const TPoint press{c.box_at.X + 50, c.box_at.Y + 20};
        panel.MousePress(press, TMouseButton::Left, false);
        TScrollView view{0, 0, 2000, 2000};
        for (TPoint move : c.moves) {
            move.X += c.box_at.X - 100;
            move.Y += c.box_at.Y - 100;
            panel.MouseMove(move, true, view);
        }
        EXPECT_EQ((TPoint{panel.Object(0).Bounds.Left, panel.Object(0).Bounds.Top}), c.expected)
            << c.name;
        EXPECT_EQ(panel.Object(0).Bounds.Width(), 185) << c.name;
        EXPECT_EQ(panel.IsMoving(), c.moving) << c.name;
        EXPECT_EQ(panel.IsModified, c.moving) << c.name;
        EXPECT_EQ(panel.Object(1).Bounds, (TRect{400, 100, 585, 141})) << c.name;
    }
}

TEST(vixConnectPanel, ClicksCtrlClicksAndRubberBandsSelect) {
    using selection = std::vector<std::size_t>;
    TScrollView view{0, 0, 1000, 1000};
    TvixConnectPanel panel = two_boxes();
    const auto click = [&](TPoint p, bool ctrl) {
        panel.MousePress(p, TMouseButton::Left, ctrl);
        panel.MouseRelease(p, ctrl);
    };
    click({150, 120}, false);
    EXPECT_EQ(panel.GetSelectedControls(), selection{0});
    click({450, 120}, false);
    EXPECT_EQ(panel.GetSelectedControls(), selection{1});
    click({150, 120}, true);
    EXPECT_EQ(panel.GetSelectedControls(), (selection{0, 1}));
    // A press on a selected box keeps the selection: it may start a drag of all of it.
    panel.MousePress({150, 120}, TMouseButton::Left, false);
    EXPECT_EQ(panel.GetSelectedControls(), (selection{0, 1}));
    panel.MouseMove({170, 120}, true, view);
    panel.MouseRelease({170, 120}, false);
    EXPECT_EQ(panel.Object(0).Bounds.Left, 120);
    EXPECT_EQ(panel.Object(1).Bounds.Left, 420);
    click({50, 50}, true);
    EXPECT_EQ(panel.GetSelectedControls(), (selection{0, 1})) << "Ctrl-click on the surface";
    click({50, 50}, false);
    EXPECT_EQ(panel.GetSelectedControls(), selection{});

    const auto band = [&](TPoint from, TPoint to, bool ctrl) {
        panel.MousePress(from, TMouseButton::Left, ctrl);
        EXPECT_TRUE(panel.InBandSelect());
        panel.MouseMove(to, true, view);
        EXPECT_EQ(panel.BandRect(), Normalized({from.X, from.Y, to.X, to.Y}));
        panel.MouseRelease(to, ctrl);
        EXPECT_FALSE(panel.InBandSelect());
    };
    band({700, 200}, {410, 90}, false);  // drawn from the lower right, covering box 1 only
    EXPECT_EQ(panel.GetSelectedControls(), selection{1});
    band({110, 90}, {700, 200}, false);  // box 0 starts at 120: covered; box 1 wholly too
    EXPECT_EQ(panel.GetSelectedControls(), (selection{0, 1}));
    band({130, 90}, {700, 200}, false);  // only partly over box 0
    EXPECT_EQ(panel.GetSelectedControls(), selection{1});
    band({100, 90}, {310, 200}, true);  // Ctrl adds
    EXPECT_EQ(panel.GetSelectedControls(), (selection{0, 1}));
    panel.Object(0).Visible = false;
    band({0, 0}, {900, 900}, false);
    EXPECT_EQ(panel.GetSelectedControls(), selection{1}) << "hidden boxes are not selected";
    // The right button over the empty surface starts no band.
    panel.MousePress({50, 50}, TMouseButton::Right, false);
    EXPECT_FALSE(panel.InBandSelect());
}

TEST(vixConnectPanel, TheViewFollowsDraggedBoxesAndTheSurfaceGrows) {
    TvixConnectPanel panel = two_boxes();
    TScrollView view{0, 0, 300, 200};
    panel.MousePress({450, 120}, TMouseButton::Left, false);
    const TPoint shift = panel.MouseMove({470, 130}, true, view);
    // The box now ends at 605, past the view's right edge at 300.
    EXPECT_EQ(view.Left, 305);
    EXPECT_EQ(shift, (TPoint{305, 0}));
    EXPECT_EQ(panel.Width(), 655);
    EXPECT_EQ(panel.Height(), 201);

    struct scroll_case {
        const char* name;
        TScrollView view;
        TRect moved;
        int dx, dy;
        TScrollView expected;
    };
    const scroll_case cases[] = {
        {"right, still inside", {0, 0, 300, 200}, {10, 10, 100, 50}, 5, 0, {0, 0, 300, 200}},
        {"right, at the edge", {0, 0, 300, 200}, {200, 10, 300, 50}, 5, 0, {0, 0, 300, 200}},
        {"down, past the edge", {0, 0, 300, 200}, {10, 150, 100, 260}, 0, 5, {0, 60, 300, 200}},
        {"left, past the edge", {100, 0, 300, 200}, {90, 10, 150, 50}, -5, 0, {90, 0, 300, 200}},
        {"up, past the edge", {0, 100, 300, 200}, {10, 40, 100, 150}, 0, -5, {0, 40, 300, 200}},
        {"nothing moved", {0, 100, 300, 200}, {}, 0, -5, {0, 100, 300, 200}},
    };
    for (const scroll_case& c : cases) {
        const TScrollView after = AutoScroll(c.view, c.moved, c.dx, c.dy);
        EXPECT_EQ(after.Left, c.expected.Left) << c.name;
        EXPECT_EQ(after.Top, c.expected.Top) << c.name;
    }
}

TEST(vixConnectPanel, SurfaceSizeHoldsTheVisibleBoxesAndConnectionsNeedTwoBoxes) {
    TvixConnectPanel panel;
    panel.RecalcSize();
    EXPECT_EQ(panel.Width(), 300);
    EXPECT_EQ(panel.Height(), 150);
    const std::size_t a = panel.AddManagedObject({400, 200, 585, 241});
    EXPECT_EQ(panel.Width(), 635) << "adding grows the surface";
    const std::size_t b = panel.AddManagedObject({20, 900, 205, 941});
    panel.RecalcSize();
    EXPECT_EQ(panel.Width(), 635);
    EXPECT_EQ(panel.Height(), 991);
    panel.Object(b).Visible = false;
    panel.RecalcSize();
    EXPECT_EQ(panel.Height(), 291);

    EXPECT_FALSE(panel.ConnectObjects(a, a, TArrowHead::Open, TLineStyle::ThinSolid));
    EXPECT_FALSE(panel.ConnectObjects(a, 7, TArrowHead::Open, TLineStyle::ThinSolid));
    EXPECT_TRUE(panel.ConnectObjects(a, b, TArrowHead::Closed, TLineStyle::ThickSolid));
    ASSERT_EQ(panel.GetConnections().size(), 1u);

    panel.Select(a);
    panel.SetSelectedOnly(true);
    EXPECT_TRUE(panel.Object(a).Visible);
    panel.Object(b).Visible = true;
    panel.SetSelectedOnly(false);
    panel.SetSelectedOnly(true);
    EXPECT_FALSE(panel.Object(b).Visible) << "unselected boxes hide";
    panel.SetSelectedOnly(false);
    EXPECT_TRUE(panel.Object(b).Visible) << "and come back";

    panel.IsModified = true;
    panel.ClearManagedObjects();
    EXPECT_TRUE(panel.GetManagedObjects().empty());
    EXPECT_TRUE(panel.GetConnections().empty());
    EXPECT_EQ(panel.Width(), 0);
    EXPECT_FALSE(panel.IsModified);
}

}  // namespace
}  // namespace tarnwell
