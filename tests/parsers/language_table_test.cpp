#include "parsers/language_table.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

TEST(LanguageTable, DetectsByExtensionInStepOrder) {
    struct detect_case {
        const char* pattern;
        const char* text;
        int language;
    };
    const detect_case cases[] = {
        {".c", "", 1},
        {".CPP", "", 1},
        {".h", "", 1},
        {".hpp", "", 1},
        {".bas", "", 2},
        {".frm", "", 2},
        {".java", "", 3},
        {".cs", "", 11},
        {".vb", "", 12},
        {".pl", "", 5},
        {".pm", "", 5},
        {".p", "", 5},  // a prefix of ".pl"
        {".prg", "", 7},
        {".php", "", 8},
        {".inc", "", 8},  // PHP's step comes first
        {".pas", "", 6},
        {".dpr", "", 6},
        {".js", "", 9},
        {".vbs", "", 10},
        {".pb", "", 13},
        {".txt", "", 0},  // claimed by no language
        {"", "", 1},
        {".sql", "begin null; end;", 14},
        {".SQL", "BEGIN NULL; END;", 14},
        {".sql", "select 1", 15},
        {".sql", "End;", 15},  // only "end;" and "END;" count
        {".py", "", 16},
        {".PYW", "", 16},
        {".ts", "", 17},
        {".mts", "", 17},
        {".tsx", "", 18},
        {".go", "", 19},
        {".rs", "", 20},
        {".kt", "", 21},
        {".kts", "", 21},
        {".swift", "", 22},
        {".rb", "", 23},
        {".rake", "", 23},
        {".scala", "", 24},
        {".sc", "", 24},
        {".lua", "", 25},
        {".sh", "", 26},
        {".bash", "", 26},
        {".ps1", "", 27},
        {".psm1", "", 27},
        {".k", "", 0},
        {".m", "", 0},  // part of "*.mts", but the newer languages match whole extensions
        {".t", "", 0},
    };
    for (const detect_case& c : cases) {
        EXPECT_EQ(detect_language(c.pattern, c.text), c.language) << c.pattern << " " << c.text;
    }
}

TEST(LanguageTable, MapsEveryLanguageToItsParserSlot) {
    const int slots[language_count] = {0,  3,  7,  3,  1,  6,  13, 5,  2,  3,  7,  8,  9,  10,
                                       11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
    for (int language = 0; language < language_count; ++language) {
        EXPECT_EQ(parser_slot_of_language(language), slots[language]) << language;
        EXPECT_EQ(language_table()[static_cast<std::size_t>(language)].number, language);
    }
    EXPECT_EQ(parser_slot_of_language(-1), 0);
    EXPECT_EQ(parser_slot_of_language(28), 0);
}

TEST(LanguageTable, SyntaxTreeLanguagesFollowTheLayoutOfTheirSelections) {
    // Python's match, Go's switch, Rust's match and the selections of Kotlin to PowerShell end
    // each branch; TypeScript falls through.
    const int layout_slots[][2] = {{14, 7}, {15, 3}, {16, 3}, {17, 7}, {18, 7},
                                   {19, 7}, {25, 7}, {3, 3},  {9, 9}};
    for (const auto& [slot, layout] : layout_slots) EXPECT_EQ(layout_slot_of(slot), layout) << slot;
}

TEST(LanguageTable, NamesLanguagesByNumberOrShortName) {
    EXPECT_EQ(language_by_name("c"), 1);
    EXPECT_EQ(language_by_name("cpp"), 1);
    EXPECT_EQ(language_by_name("java"), 3);
    EXPECT_EQ(language_by_name("tsql"), 15);
    EXPECT_EQ(language_by_name("0"), 0);
    EXPECT_EQ(language_by_name("15"), 15);
    EXPECT_EQ(language_by_name("python"), 16);
    EXPECT_EQ(language_by_name("rust"), 20);
    EXPECT_EQ(language_by_name("20"), 20);
    EXPECT_EQ(language_by_name("powershell"), 27);
    EXPECT_EQ(language_by_name("27"), 27);
    EXPECT_EQ(language_by_name("28"), std::nullopt);
    EXPECT_EQ(language_by_name("-1"), std::nullopt);
    EXPECT_EQ(language_by_name("cobol"), std::nullopt);
    EXPECT_EQ(language_by_name(""), std::nullopt);
}

}  // namespace
}  // namespace tarnwell
