#include "workspace/search_engine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "search_cases.h"

namespace tarnwell {
namespace {

using search_cases::command;

TEST(SearchEngine, RunsEveryFindAndReplaceCaseOnBytes) {
    for (const search_cases::search_case& c : search_cases::all()) {
        byte_search_text text(c.text, c.anchor, c.caret);
        std::size_t asked = 0;
        const replace_prompt ask = [&](byte_range occurrence) {
            EXPECT_EQ(text.text().substr(occurrence.begin, occurrence.end - occurrence.begin),
                      c.search)
                << c.name;
            EXPECT_EQ(text.anchor(), occurrence.begin) << c.name;
            EXPECT_EQ(text.caret(), occurrence.end) << c.name;
            return asked < c.answers.size() ? c.answers[asked++] : prompt_answer::cancel;
        };
        search_outcome outcome;
        if (c.run == command::find_next) {
            last_search last{c.search, c.options, {}};
            outcome = find_next(text, last);
        } else {
            outcome = search_replace(text, c.search, c.replacement, c.options, ask);
        }
        EXPECT_EQ(text.text(), c.result) << c.name;
        EXPECT_EQ(text.anchor(), c.result_anchor) << c.name;
        EXPECT_EQ(text.caret(), c.result_caret) << c.name;
        EXPECT_EQ(outcome.found, c.found) << c.name;
        EXPECT_EQ(outcome.replaced, c.replaced) << c.name;
        EXPECT_EQ(outcome.found == 0, c.not_found_message) << c.name;
        EXPECT_EQ(asked, c.answers.size()) << c.name;
    }
}

TEST(SearchEngine, FindNextRemembersTheSelectionAsItsText) {
    byte_search_text text("alpha beta alpha beta", 6, 10);
    search_options backwards;
    backwards.backwards = true;
    last_search last{"alpha", backwards, {}};
    const search_outcome outcome = find_next(text, last);
    EXPECT_EQ(last.text, "beta");
    EXPECT_EQ(outcome.found, 0);
}

TEST(SearchEngine, FindNextStaysInTheSelectionAFindSearched) {
    // "one" at 0, 8 and 16; each selection holds two of them, the third lies outside.
    struct scope_case {
        const char* name;
        long anchor;
        long caret;
        bool backwards;
        long first;
        long second;
    };
    const scope_case cases[] = {
        {"forwards", 0, 15, false, 0, 8},
        {"backwards", 4, 19, true, 16, 8},
    };
    for (const scope_case& c : cases) {
        SCOPED_TRACE(c.name);
        byte_search_text text(search_cases::words, c.anchor, c.caret);
        search_options options;
        options.selected_only = true;
        options.backwards = c.backwards;
        last_search last{"one", {}, {}};
        EXPECT_EQ(remembered_search(text, last, "one", {}, options).found, 1);
        EXPECT_EQ(std::min(text.anchor(), text.caret()), c.first);
        EXPECT_EQ(find_next(text, last).found, 1);
        EXPECT_EQ(std::min(text.anchor(), text.caret()), c.second);
        EXPECT_EQ(find_next(text, last).found, 0);
        EXPECT_EQ(std::min(text.anchor(), text.caret()), c.second);
        EXPECT_TRUE(last.options.selected_only);
    }
}

TEST(SearchEngine, InitialTextIsTheSelectionOrTheWordAtTheCaret) {
    struct initial_case {
        long anchor;
        long caret;
        std::string expected;
    };
    const std::string text = "int count_2 = a+b;";
    const initial_case cases[] = {
        {4, 4, "count_2"}, {7, 7, "count_2"}, {11, 11, "count_2"}, {4, 5, "count_2"},
        {5, 4, "count_2"}, {4, 6, "co"},      {6, 4, "co"},        {12, 12, ""},
        {14, 14, "a"},     {0, 18, text},     {99, 99, ""},        {13, 12, ""},
    };
    for (const initial_case& c : cases) {
        EXPECT_EQ(initial_search_text(text, c.anchor, c.caret), c.expected)
            << c.anchor << "," << c.caret;
    }
}

}  // namespace
}  // namespace tarnwell
