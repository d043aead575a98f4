#include "workspace/document.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

TEST(Document, LanguageOfAFileFollowsItsExtensionAndForSqlItsText) {
    struct file_case {
        const char* path;
        const char* text;
        int language;
    };
    const file_case cases[] = {
        {"/src/Main.java", "", 3},
        {"/src/script.p", "", 5},  // ".p" is the start of ".pl"
        {"/src/common.inc", "", 8},
        {"/src/pkg.sql", "BEGIN NULL; END;", 14},
        {"/src/query.sql", "SELECT 1", 15},
        {"/src/a.CPP", "", 1},
        {"/src/unit.pas", "", 6},
        {"/src/Makefile", "", 1},
        {"/src/.hidden", "", 1},
        {"/src.d/readme", "", 1},
        {"/src/Rakefile", "", 23},  // listed by its whole name
        {"/src/tasks.rake", "", 23},
        {"/src/rakefile.c", "", 1},
    };
    for (const file_case& c : cases) {
        EXPECT_EQ(language_of_file(c.path, c.text), c.language) << c.path;
    }
}

TEST(Document, LanguageAndParserSlotChangeTogether) {
    document doc;
    EXPECT_TRUE(set_document_language(doc, 3));
    EXPECT_EQ(doc.language, 3);
    EXPECT_EQ(doc.parser_slot, 3);
    EXPECT_FALSE(set_document_language(doc, 1));  // C/C++ has the same parser
    EXPECT_EQ(doc.language, 1);
    EXPECT_TRUE(set_document_language(doc, 6));
    EXPECT_EQ(doc.parser_slot, 13);
}

TEST(Document, CaptionsCarryTheModifiedMarkOnce) {
    EXPECT_EQ(new_document_caption(3), "New3");
    EXPECT_EQ(caption_with_modified_mark("a.cpp", true), "a.cpp *");
    EXPECT_EQ(caption_with_modified_mark("a.cpp *", true), "a.cpp *");
    EXPECT_EQ(caption_with_modified_mark("a.cpp *", false), "a.cpp");
    EXPECT_EQ(caption_with_modified_mark("a.cpp", false), "a.cpp");
}

}  // namespace
}  // namespace tarnwell
