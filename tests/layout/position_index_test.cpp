#include "layout/position_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

namespace tarnwell {
namespace {

// Adds, finds and erases at random on a small patch of positions, so that probes collide, the
// table grows several times and erasing moves entries back, and compares each answer with a
// map's.
TEST(PositionIndex, AnswersAsAMapThroughGrowthAndErasing) {
    position_index index;
    std::map<std::pair<int, int>, position_cells> expected;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> column(-3, 40);
    std::uniform_int_distribution<int> row(-1, 300);
    std::uniform_int_distribution<int> action(0, 9);
    for (std::int32_t step = 0; step < 60000; ++step) {
        const int c = column(random);
        const int r = row(random);
        const auto key = std::make_pair(c, r);
        const int what = action(random);
        if (what < 5) {
            const auto [entry, made] = index.add(c, r, position_cells{step, step});
            const auto [slot, fresh] = expected.try_emplace(key, position_cells{step, step});
            ASSERT_EQ(made, fresh) << c << "," << r;
            ASSERT_EQ(entry->first, slot->second.first);
            // Entries are changed through the pointer, as the cell list does.
            entry->last = step;
            slot->second.last = step;
        } else if (what < 8) {
            index.erase(c, r);
            expected.erase(key);
        } else {
            const position_cells* found = index.find(c, r);
            const auto known = expected.find(key);
            ASSERT_EQ(found != nullptr, known != expected.end()) << c << "," << r;
            if (found != nullptr) {
                EXPECT_EQ(found->first, known->second.first);
                EXPECT_EQ(found->last, known->second.last);
            }
        }
    }
    for (const auto& [key, cells] : expected) {
        const position_cells* found = index.find(key.first, key.second);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->first, cells.first);
    }
}

TEST(PositionIndex, AnEmptyIndexAndFarPositions) {
    position_index index;
    EXPECT_EQ(index.find(0, 0), nullptr);
    index.erase(0, 0);
    // Columns and rows that differ only in their high bits, and negative ones, stay apart.
    const std::pair<int, int> positions[] = {
        {0, 0}, {1 << 20, 0}, {0, 1 << 20}, {-1, -1}, {-1, 0}, {0, -1}, {INT32_MIN, INT32_MAX}};
    std::int32_t n = 0;
    for (const auto& [c, r] : positions) {
        EXPECT_TRUE(index.add(c, r, {n, n}).second);
        ++n;
    }
    n = 0;
    for (const auto& [c, r] : positions) {
        ASSERT_NE(index.find(c, r), nullptr);
        EXPECT_EQ(index.find(c, r)->first, n++);
    }
    // Cleared, it holds nothing and takes the positions anew.
    index.clear();
    for (const auto& [c, r] : positions) EXPECT_EQ(index.find(c, r), nullptr);
    EXPECT_TRUE(index.add(-1, -1, {9, 9}).second);
    EXPECT_EQ(index.find(-1, -1)->first, 9);
}

}  // namespace
}  // namespace tarnwell
