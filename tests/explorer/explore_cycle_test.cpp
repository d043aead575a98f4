#include "explorer/explore_cycle.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

const int first_document = 1;
const int second_document = 2;

scan_subject subject(const void* document, std::string text = "int f() {}", int kind = 2) {
    return {document, kind, std::move(text)};
}

TEST(ExploreCycle, OneScanAtATime) {
    explore_cycle cycle;
    EXPECT_FALSE(cycle.busy());
    EXPECT_TRUE(cycle.request());
    EXPECT_TRUE(cycle.busy());
    EXPECT_FALSE(cycle.request());
    EXPECT_TRUE(cycle.busy());
    cycle.abandon();
    EXPECT_FALSE(cycle.busy());
    EXPECT_TRUE(cycle.request());
}

TEST(ExploreCycle, AResultCountsOnlyForItsDocumentLanguageAndText) {
    struct end_case {
        const char* what;
        scan_subject current;
        bool apply;
    };
    const scan_subject started = subject(&first_document);
    const end_case cases[] = {
        {"unchanged", subject(&first_document), true},
        {"another tab", subject(&second_document), false},
        {"the text edited", subject(&first_document, "int g() {}"), false},
        {"another language", subject(&first_document, "int f() {}", 4), false},
        {"no document", subject(nullptr, "", 0), false},
    };
    for (const end_case& c : cases) {
        SCOPED_TRACE(c.what);
        explore_cycle cycle;
        ASSERT_TRUE(cycle.request());
        EXPECT_FALSE(cycle.request());
        const explore_cycle::scan_end end = cycle.finish(started, c.current);
        EXPECT_FALSE(cycle.busy());
        EXPECT_EQ(end.apply_result, c.apply);
        // A stale result is replaced by a scan of what is shown now.
        EXPECT_EQ(end.explore_again, !c.apply);
    }
}

TEST(ExploreCycle, ASelectionMadeDuringTheScanWaitsForAResultOfItsDocument) {
    explore_cycle cycle;
    ASSERT_TRUE(cycle.request());
    cycle.defer_selection(&first_document, 7);
    cycle.defer_selection(&first_document, 9);
    // The text changed during the scan: the selection waits for the next one.
    explore_cycle::scan_end end =
        cycle.finish(subject(&first_document), subject(&first_document, "edited"));
    EXPECT_FALSE(end.select_line.has_value());
    ASSERT_TRUE(cycle.request());
    end = cycle.finish(subject(&first_document, "edited"), subject(&first_document, "edited"));
    EXPECT_EQ(end.select_line, 9);
    ASSERT_TRUE(cycle.request());
    end = cycle.finish(subject(&first_document), subject(&first_document));
    EXPECT_FALSE(end.select_line.has_value());

    // Another tab came forward: the selection of the first document is dropped.
    ASSERT_TRUE(cycle.request());
    cycle.defer_selection(&first_document, 3);
    end = cycle.finish(subject(&first_document), subject(&second_document));
    ASSERT_TRUE(cycle.request());
    end = cycle.finish(subject(&second_document), subject(&second_document));
    EXPECT_FALSE(end.select_line.has_value());
}

}  // namespace
}  // namespace tarnwell
