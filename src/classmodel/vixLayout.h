// The automatic layout of a diagram, and the plain graph of boxes and connections it works on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnwell {

// A box of the diagram surface as the layout sees it. The layout writes `Left` and `Top` of
// visible boxes and leaves hidden ones as they are.
struct TLayoutBox {
    int Width = 0;
    int Height = 0;
    bool Visible = true;
    std::int64_t Left = 0;
    std::int64_t Top = 0;
};

// A connection line from one box to another, by index in the box list. For an inheritance
// connection `From` is the descendant and `To` the ancestor, as the surface draws it.
struct TLayoutConnection {
    std::size_t From = 0;
    std::size_t To = 0;
    bool Inheritance = false;
};

// The surface's boxes and connections, each in surface order.
struct TLayoutGraph {
    std::vector<TLayoutBox> Boxes;
    std::vector<TLayoutConnection> Connections;
};

// How a layout ended: when not `Ok`, `Message` is the text the user sees and every box kept
// its position.
struct TLayoutResult {
    bool Ok = true;
    std::string Message;
};

class TVixLayout {
  public:
    virtual ~TVixLayout() = default;
    virtual TLayoutResult Execute() = 0;

    // The layout of a surface's graph; the graph must outlive the layout.
    static std::unique_ptr<TVixLayout> CreateLayout(TLayoutGraph& graph);
};

}  // namespace tarnwell
