#include "officeexport/placeholder_spelling.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

TEST(PlaceholderSpelling, FindsEachSpellingOnceWhateverTheCase) {
    struct row {
        const char* text;
        std::vector<std::string> spellings;
    };
    const row rows[] = {
        {"#filename#", {"#filename#"}},
        {"In #FileName# and #FILENAME#, #filename# again #FileName#",
         {"#FileName#", "#FILENAME#", "#filename#"}},
        {"#file name# #filenam# filename#", {}},
        // Overlapping candidates: the first one found is taken, the rest starts after it.
        {"#filename#filename#", {"#filename#"}},
        {"", {}},
    };
    for (const row& r : rows) {
        EXPECT_EQ(placeholder_spellings(r.text, "#filename#"), r.spellings) << r.text;
    }
    EXPECT_TRUE(placeholder_spellings("anything", "").empty());
}

}  // namespace
}  // namespace tarnwell
