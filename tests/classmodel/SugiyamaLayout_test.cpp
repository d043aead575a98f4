#include "classmodel/SugiyamaLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tarnwell {
namespace {

using namespace sugiyama;
using position = std::pair<std::int64_t, std::int64_t>;  // left, top

TLayoutBox box(int width, int height = 41) {
    return {width, height, true, 0, 0};
}
TLayoutBox hidden(std::int64_t left, std::int64_t top) {
    return {185, 41, false, left, top};
}
TLayoutConnection inherits(std::size_t from, std::size_t to) {
    return {from, to, true};
}
TLayoutConnection uses(std::size_t from, std::size_t to) {
    return {from, to, false};
}

TLayoutResult lay_out(TLayoutGraph& graph) {
    return TVixLayout::CreateLayout(graph)->Execute();
}

std::vector<position> positions(const TLayoutGraph& graph) {
    std::vector<position> result;
    for (const TLayoutBox& b : graph.Boxes) result.emplace_back(b.Left, b.Top);
    return result;
}

// The positions after a layout that must succeed.
std::vector<position> laid_out(TLayoutGraph graph) {
    const TLayoutResult result = lay_out(graph);
    EXPECT_TRUE(result.Ok) << result.Message;
    return positions(graph);
}

TEST(SugiyamaLayout, AClassStandsAboveItsTwoSubclassesCentredOverThem) {
    // The subclasses come out of the topological numbering last first. The class's first move
    // is 102.5 rounded to the even 102; the subclasses' forces of 102 and -103 cancel.
    EXPECT_EQ(laid_out({{box(185), box(185), box(185)}, {inherits(1, 0), inherits(2, 0)}}),
              (std::vector<position>{{122, 40}, {225, 121}, {20, 121}}));
}

TEST(SugiyamaLayout, AnEdgeOverTwoLayersLeavesADummyTakingRoomInTheMiddleLayer) {
    // 0 <- 1 <- 2 by inheritance, and 0 uses 2: the dummy (200 wide) stands right of box 1, so
    // the boxes above and below are centred over the pair.
    const TLayoutGraph graph{{box(185), box(185, 60), box(185)},
                             {inherits(1, 0), inherits(2, 1), uses(0, 2)}};
    EXPECT_EQ(laid_out(graph), (std::vector<position>{{126, 40}, {20, 121}, {126, 221}}));
}

TEST(SugiyamaLayout, SixteenUnconnectedBoxesFillALayerAndTheSeventeenthStartsTheNext) {
    // The topological numbering pops unconnected nodes last first, so the first box comes
    // seventeenth.
    TLayoutGraph graph;
    std::vector<position> expected;
    for (int i = 0; i < 17; ++i) {
        graph.Boxes.push_back(box(100, 50));
        expected.emplace_back(i == 0 ? 20 : 20 + 120 * (16 - i), i == 0 ? 130 : 40);
    }
    EXPECT_EQ(laid_out(graph), expected);
}

TEST(SugiyamaLayout, UnconnectedBoxesJoinTheSmallestLayerFromTheTop) {
    // Layers of 3, 1 and 2 connected nodes; the unconnected boxes 9, 8, 7 and 6, in the order
    // of their numbering, go to layers 1, 1, 2 and 0.
    TLayoutGraph graph{{box(10), box(10), box(10), box(10), box(10), box(10)},
                       {uses(0, 3), uses(1, 3), uses(2, 3), uses(3, 4), uses(3, 5)}};
    for (int i = 0; i < 4; ++i) graph.Boxes.push_back(box(10));
    TNodeList nodes = LoadGraph(graph);
    RemoveCycles(nodes);
    AssignLayers(nodes);
    InsertDummies(nodes);
    const TLayerList layers = BuildLayers(nodes);
    ASSERT_EQ(layers.size(), 3u);
    std::vector<int> layer_of_box(graph.Boxes.size(), -1);
    for (std::size_t i = 0; i < layers.size(); ++i)
        for (const TNode* node : layers[i])
            layer_of_box[static_cast<std::size_t>(node->Box - graph.Boxes.data())] =
                static_cast<int>(i);
    EXPECT_EQ(layer_of_box, (std::vector<int>{0, 0, 0, 1, 2, 2, 0, 2, 1, 1}));
}

TEST(SugiyamaLayout, TwoClassesInheritingFromEachOtherAreLaidOutAfterOneReversal) {
    // The edge from box 1 to box 0 is reversed, so box 0 stands above box 1 and box 1 moves
    // under its centre.
    EXPECT_EQ(laid_out({{box(185), box(100)}, {inherits(0, 1), inherits(1, 0)}}),
              (std::vector<position>{{20, 40}, {62, 121}}));
}

TEST(SugiyamaLayout, CycleRemovalReversesAnEdgeOfTheCycleEvenWhenAllScoreBadly) {
    // Boxes 0 and 1 use each other and three boxes each, so both edges of the cycle score -2.
    // Reversing 1 -> 0, the first edge inside the cycle, keeps every other edge pointing down.
    TLayoutGraph graph{{box(50), box(50)}, {uses(0, 1)}};
    for (std::size_t i = 2; i < 8; ++i) {
        graph.Boxes.push_back(box(50));
        graph.Connections.push_back(uses(i < 5 ? 0 : 1, i));
    }
    graph.Connections.push_back(uses(1, 0));
    const std::vector<position> placed = laid_out(graph);
    for (const TLayoutConnection& c : graph.Connections) {
        if (c.From == 1 && c.To == 0) continue;
        EXPECT_LT(placed[c.From].second, placed[c.To].second) << c.From << " -> " << c.To;
    }
}

TEST(SugiyamaLayout, HiddenBoxesKeepTheirPlaceAndTheirConnectionsAreIgnored) {
    const TLayoutGraph graph{{box(185), hidden(777, 888), box(185)},
                             {inherits(2, 0), inherits(1, 0), uses(2, 1), uses(1, 2)}};
    EXPECT_EQ(laid_out(graph), (std::vector<position>{{20, 40}, {777, 888}, {20, 121}}));
}

TEST(SugiyamaLayout, FailuresLeaveEveryBoxWhereItWas) {
    struct failure_case {
        const char* name;
        TLayoutGraph graph;
        const char* message;
    };
    // A star whose centre and each leaf use each other: every pass reverses one pair.
    const auto star = [](std::size_t leaves) {
        TLayoutGraph graph{{hidden(5, 6), box(50)}, {}};
        for (std::size_t i = 0; i < leaves; ++i) {
            graph.Boxes.push_back(box(50));
            graph.Connections.push_back(uses(1, i + 2));
            graph.Connections.push_back(uses(i + 2, 1));
        }
        return graph;
    };
    std::vector<failure_case> cases = {
        {"no boxes", {}, "empty layout or connection-cycles"},
        {"all hidden",
         {{hidden(1, 2), hidden(3, 4)}, {uses(0, 1)}},
         "empty layout or connection-cycles"},
        {"only a box using itself", {{box(10)}, {uses(0, 0)}}, "empty layout or connection-cycles"},
        {"a box using itself", {{box(10), box(10)}, {uses(0, 0)}}, "connection-cycles"},
    };
    // A chain of 2,000 boxes with 600 edges from its top to its bottom would need 1.2 million
    // dummies.
    TLayoutGraph long_edges;
    for (std::size_t i = 0; i < 2000; ++i) {
        long_edges.Boxes.push_back(box(10));
        if (i > 0) long_edges.Connections.push_back(uses(i - 1, i));
    }
    for (int i = 0; i < 600; ++i) long_edges.Connections.push_back(uses(0, 1999));
    cases.push_back({"too many dummies", long_edges, "Layout failed."});
    for (failure_case& c : cases) {
        for (std::size_t i = 0; i < c.graph.Boxes.size(); ++i) {
            c.graph.Boxes[i].Left = static_cast<std::int64_t>(i) + 1000;
            c.graph.Boxes[i].Top = -static_cast<std::int64_t>(i);
        }
        const std::vector<position> before = positions(c.graph);
        const TLayoutResult result = lay_out(c.graph);
        EXPECT_FALSE(result.Ok) << c.name;
        EXPECT_EQ(result.Message, c.message) << c.name;
        EXPECT_EQ(positions(c.graph), before) << c.name;
    }
    TLayoutGraph twenty_nine = star(29);
    EXPECT_TRUE(lay_out(twenty_nine).Ok);
}

TEST(SugiyamaLayout, GraphsWithMoreCyclesThanThirtyPassesRemoveAreLaidOut) {
    // A star whose centre and each leaf use each other needs a pass per leaf (1,500 leaves
    // need more passes than the work budget allows, and the rest go in one search); a thousand
    // classes with hundreds of random associations form components of hundreds of cycles,
    // which thirty passes of one reversal per component do not break.
    const auto star = [](std::size_t leaves) {
        TLayoutGraph graph{{box(50)}, {}};
        for (std::size_t i = 0; i < leaves; ++i) {
            graph.Boxes.push_back(box(50));
            graph.Connections.push_back(uses(0, i + 1));
            graph.Connections.push_back(uses(i + 1, 0));
        }
        return graph;
    };
    // Three classes in four inherit from an earlier one (with `depth`, from one of the `depth`
    // classes just before, which makes long chains); associations join any two classes.
    const auto classes = [](std::size_t depth, int associations) {
        std::mt19937 random(1000);
        const auto below = [&](std::size_t n) {
            return static_cast<std::size_t>(random() % static_cast<std::uint32_t>(n));
        };
        TLayoutGraph graph;
        for (std::size_t i = 0; i < 1000; ++i) {
            graph.Boxes.push_back(box(185, 41 + static_cast<int>(below(100))));
            if (i == 0 || below(4) == 0) continue;
            const std::size_t lowest = depth == 0 || i < depth ? 0 : i - depth;
            graph.Connections.push_back(inherits(i, lowest + below(i - lowest)));
        }
        for (int k = 0; k < associations; ++k) {
            const std::size_t from = below(1000);
            graph.Connections.push_back(uses(from, (from + 1 + below(999)) % 1000));
        }
        return graph;
    };
    const std::vector<std::pair<const char*, TLayoutGraph>> cases = {
        {"thirty pairs", star(30)},
        {"1,500 pairs", star(1500)},
        {"1,000 classes, 400 associations", classes(0, 400)},
        {"1,000 classes in long chains, 600 associations", classes(3, 600)},
        {"1,000 classes, 1,000 associations", classes(0, 1000)}};
    for (const auto& [name, graph] : cases) {
        TLayoutGraph placed = graph;
        const TLayoutResult result = lay_out(placed);
        EXPECT_TRUE(result.Ok) << name << ": " << result.Message;
        if (!result.Ok) continue;
        // Every box has a place of its own in a row.
        std::set<std::pair<std::int64_t, std::int64_t>> places;
        for (const TLayoutBox& b : placed.Boxes) {
            EXPECT_GE(b.Left, 20) << name;
            EXPECT_GE(b.Top, 40) << name;
            places.emplace(b.Top, b.Left);
        }
        EXPECT_EQ(places.size(), placed.Boxes.size()) << name;
    }
}

TEST(SugiyamaLayout, AChainOfFiftyThousandBoxesEndingInACycleIsLaidOut) {
    // The component search walks down the whole chain before it finds the cycle at its end; it
    // must not recurse that deep.
    constexpr std::size_t count = 50'000;
    TLayoutGraph graph;
    for (std::size_t i = 0; i < count; ++i) {
        graph.Boxes.push_back(box(100, 10));
        if (i > 0) graph.Connections.push_back(uses(i - 1, i));
    }
    graph.Connections.push_back(uses(count - 1, count - 2));
    const TLayoutResult result = lay_out(graph);
    ASSERT_TRUE(result.Ok) << result.Message;
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(graph.Boxes[i].Top, 40 + 50 * static_cast<std::int64_t>(i)) << i;
}

// Random graphs: a forest of inheritance plus associations that may close cycles, repeat
// connections or join hidden boxes.
TLayoutGraph random_graph(std::mt19937& random, std::size_t boxes, bool associations) {
    TLayoutGraph graph;
    const auto below = [&](std::size_t n) {
        return static_cast<std::size_t>(random() % static_cast<std::uint32_t>(n));
    };
    for (std::size_t i = 0; i < boxes; ++i) {
        TLayoutBox b = box(60 + static_cast<int>(below(200)), 30 + static_cast<int>(below(90)));
        b.Visible = !associations || below(10) != 0;
        graph.Boxes.push_back(b);
        if (i > 0 && below(5) != 0) graph.Connections.push_back(inherits(i, below(i)));
    }
    for (std::size_t k = 0; associations && k < boxes / 2; ++k)
        graph.Connections.push_back(uses(below(boxes), below(boxes)));
    return graph;
}

TEST(SugiyamaLayout, BoxesOfARowStandApartAndTreesHaveNoCrossings) {
    std::mt19937 random(11);
    for (int round = 0; round < 30; ++round) {
        const bool associations = round % 2 == 1;
        TLayoutGraph graph =
            random_graph(random, 5 + static_cast<std::size_t>(round) * 4, associations);
        for (TLayoutConnection& c : graph.Connections)
            if (c.From == c.To) c.To = (c.To + 1) % graph.Boxes.size();
        const TLayoutResult result = lay_out(graph);
        ASSERT_TRUE(result.Ok) << result.Message;
        // Sorted by row, then left: neighbours in a row keep the gap of 20.
        std::vector<const TLayoutBox*> placed;
        for (const TLayoutBox& b : graph.Boxes)
            if (b.Visible) placed.push_back(&b);
        std::sort(placed.begin(), placed.end(), [](const TLayoutBox* a, const TLayoutBox* b) {
            return std::pair(a->Top, a->Left) < std::pair(b->Top, b->Left);
        });
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_GE(placed[i]->Left, 20);
            if (i > 0 && placed[i - 1]->Top == placed[i]->Top) {
                EXPECT_GE(placed[i]->Left, placed[i - 1]->Left + placed[i - 1]->Width + 20);
            }
        }
        if (associations) continue;
        // A forest: every class one row below its ancestor, and no two lines cross.
        const auto& boxes = graph.Boxes;
        for (const TLayoutConnection& a : graph.Connections) {
            EXPECT_GT(boxes[a.From].Top, boxes[a.To].Top);
            for (const TLayoutConnection& b : graph.Connections) {
                if (boxes[a.From].Top != boxes[b.From].Top) continue;
                const auto order = [](std::int64_t x, std::int64_t y) { return (x > y) - (x < y); };
                EXPECT_GE(order(boxes[a.From].Left, boxes[b.From].Left) *
                              order(boxes[a.To].Left, boxes[b.To].Left),
                          0);
            }
        }
    }
}

// Crossings by looking at every pair of edges between adjacent layers.
std::int64_t crossings_by_pairs(const TLayerList& layers) {
    std::int64_t crossings = 0;
    const auto place = [&](const TNode* node) {
        const auto& layer = layers[static_cast<std::size_t>(node->Layer)];
        return std::find(layer.begin(), layer.end(), node) - layer.begin();
    };
    for (std::size_t i = 0; i + 1 < layers.size(); ++i) {
        std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> edges;
        for (const TNode* node : layers[i])
            for (const TEdge& e : node->OutEdges) edges.emplace_back(place(node), place(e.ToNode));
        for (std::size_t a = 0; a < edges.size(); ++a)
            for (std::size_t b = a + 1; b < edges.size(); ++b)
                if ((edges[a].first - edges[b].first) * (edges[a].second - edges[b].second) < 0)
                    ++crossings;
    }
    return crossings;
}

TEST(SugiyamaLayout, CrossingsAreCountedPairByPairInEveryOrder) {
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round) {
        TLayoutGraph graph = random_graph(random, 4 + static_cast<std::size_t>(round) * 2, true);
        for (TLayoutBox& b : graph.Boxes) b.Visible = true;
        std::erase_if(graph.Connections, [](const TLayoutConnection& c) { return c.From == c.To; });
        TNodeList nodes = LoadGraph(graph);
        RemoveCycles(nodes);
        AssignLayers(nodes);
        InsertDummies(nodes);
        TLayerList layers = BuildLayers(nodes);
        for (int shuffle = 0; shuffle < 3; ++shuffle) {
            for (auto& layer : layers) std::shuffle(layer.begin(), layer.end(), random);
            const std::int64_t expected = crossings_by_pairs(layers);
            EXPECT_EQ(CountCrossings(layers), expected) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace tarnwell
