#include "workspace/history_list.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

using texts = std::vector<std::string>;

struct add_case {
    const char* name;
    texts before;
    std::string added;
    bool stored;
    texts after;
};

const texts ten = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

TEST(HistoryList, AddingMovesToTheTopAndKeepsTenWithoutRepeats) {
    const add_case cases[] = {
        {"into an empty list", {}, "alpha", true, {"alpha"}},
        {"new text goes first", {"a", "b"}, "c", true, {"c", "a", "b"}},
        {"a listed text moves up", {"a", "b", "c"}, "c", true, {"c", "a", "b"}},
        {"the top entry stays alone", {"a", "b"}, "a", true, {"a", "b"}},
        {"letter case makes another entry", {"abc"}, "ABC", true, {"ABC", "abc"}},
        {"the eleventh drops the oldest",
         ten,
         "new",
         true,
         {"new", "0", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"a listed one in a full list",
         ten,
         "9",
         true,
         {"9", "0", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"empty text is not stored", {"a"}, "", false, {"a"}},
        {"line feed is not stored", {"a"}, "x\ny", false, {"a"}},
        {"carriage return is not stored", {"a"}, "x\r", false, {"a"}},
        {"blanks are kept as they are", {"a"}, "  a ", true, {"  a ", "a"}},
    };
    for (const add_case& c : cases) {
        history_list list("FIND");
        for (auto it = c.before.rbegin(); it != c.before.rend(); ++it) list.add(*it);
        ASSERT_EQ(list.entries(), c.before) << c.name;
        EXPECT_EQ(list.add(c.added), c.stored) << c.name;
        EXPECT_EQ(list.entries(), c.after) << c.name;
    }
}

TEST(HistoryList, WritesItsSectionInUpperCaseAndReadsItBack) {
    history_list list("findTxt");
    EXPECT_EQ(list.section(), "FINDTXT");
    for (const char* text : {"count", " lead", "trail\t", "\"quoted\"", "\"", "a = b"}) {
        list.add(text);
    }
    ini_file ini = ini_file::parse("[FINDTXT]\nBROX_0=old\nBROX_1=older\nBROX_2=oldest\n");
    list.store(ini);
    EXPECT_EQ(ini.text(),
              "[FINDTXT]\nBROX_0=a = b\nBROX_1=\"\nBROX_2=\"\"quoted\"\"\nBROX_3=\"trail\t\"\n"
              "BROX_4=\" lead\"\nBROX_5=count\n");

    history_list again("FINDTXT");
    again.load(ini_file::parse(ini.text()));
    EXPECT_EQ(again.entries(), list.entries());
}

TEST(HistoryList, LoadingTakesOnlyWhatTheListWouldHold) {
    struct load_case {
        const char* name;
        const char* file;
        texts entries;
    };
    const load_case cases[] = {
        {"no section", "[OTHER]\nBROX_0=x\n", {}},
        {"section name in any case", "[find]\nBROX_0=x\nBROX_1=y\n", {"x", "y"}},
        {"keys in list order, not file order",
         "[FIND]\nBROX_1=second\nBROX_0=first\n",
         {"first", "second"}},
        {"a gap is skipped", "[FIND]\nBROX_0=a\nBROX_2=c\nBROX_3=d\n", {"a", "c"}},
        {"empty and repeated entries are dropped",
         "[FIND]\nBROX_0=a\nBROX_1=\nBROX_2=a\nBROX_3=b\n",
         {"a", "b"}},
        {"at most ten",
         "[FIND]\nBROX_0=0\nBROX_1=1\nBROX_2=2\nBROX_3=3\nBROX_4=4\nBROX_5=5\nBROX_6=6\n"
         "BROX_7=7\nBROX_8=8\nBROX_9=9\nBROX_10=10\nBROX_11=11\n",
         ten},
    };
    for (const load_case& c : cases) {
        history_list list("FIND");
        list.add("left over");
        list.load(ini_file::parse(c.file));
        EXPECT_EQ(list.entries(), c.entries) << c.name;
    }
}

}  // namespace
}  // namespace tarnwell
