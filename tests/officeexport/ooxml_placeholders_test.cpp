#include "officeexport/ooxml_placeholders.h"

#include <gtest/gtest.h>

#include "officeexport/ooxml_xml.h"

namespace tarnwell {
namespace {

const char* const w = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

std::string body(const std::string& paragraphs) {
    return std::string("<w:body xmlns:w=\"") + w + "\">" + paragraphs + "</w:body>";
}

// The texts of the document's paragraphs, one line each, as a reader shows them.
std::string shown(xmlDoc* doc) {
    std::string out;
    for (xmlNode* p : xml_descendants(xmlDocGetRootElement(doc), w, "p")) {
        for (xmlNode* t : xml_descendants(p, w, "t")) {
            // Only the paragraph's own texts: a nested paragraph is listed on its own.
            xmlNode* owner = t->parent;
            while (owner && !xml_is(owner, w, "p")) owner = owner->parent;
            if (owner == p) out += xml_text(t);
        }
        out += "|";
    }
    return out;
}

TEST(Placeholders, FoundWhereverTheRunsSplitThem) {
    const struct {
        const char* what;
        std::string paragraphs;
        int replaced;
        std::string text;
    } cases[] = {
        {"in one run", "<w:p><w:r><w:t>File #filename# here</w:t></w:r></w:p>", 1,
         "File Array.java here|"},
        {"over two runs", "<w:p><w:r><w:t>#file</w:t></w:r><w:r><w:t>name#</w:t></w:r></w:p>", 1,
         "Array.java|"},
        {"over three runs with formatting between",
         "<w:p><w:r><w:t>a #fi</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>len</w:t></w:r>"
         "<w:proofErr/><w:r><w:t>ame# b</w:t></w:r></w:p>",
         1, "a Array.java b|"},
        {"twice in a paragraph", "<w:p><w:r><w:t>#filename#/#filename#</w:t></w:r></w:p>", 2,
         "Array.java/Array.java|"},
        {"in two paragraphs",
         "<w:p><w:r><w:t>#filename#</w:t></w:r></w:p><w:p><w:r><w:t>#filename#</w:t></w:r></w:p>",
         2, "Array.java|Array.java|"},
        {"not across paragraphs",
         "<w:p><w:r><w:t>#file</w:t></w:r></w:p><w:p><w:r><w:t>name#</w:t></w:r></w:p>", 0,
         "#file|name#|"},
        {"in a paragraph nested in a text box, counted once",
         "<w:p><w:r><w:t>x</w:t><w:txbxContent><w:p><w:r><w:t>#filename#</w:t></w:r></w:p>"
         "</w:txbxContent></w:r></w:p>",
         1, "x|Array.java|"},
        {"a lone hash", "<w:p><w:r><w:t>#filename</w:t></w:r></w:p>", 0, "#filename|"},
        // Authors write placeholders as they like them to read.
        {"in capitals", "<w:p><w:r><w:t>#FileName# and #FILENAME#</w:t></w:r></w:p>", 2,
         "Array.java and Array.java|"},
        {"in capitals over two runs",
         "<w:p><w:r><w:t>#File</w:t></w:r><w:r><w:t>Name#</w:t></w:r></w:p>", 1, "Array.java|"},
    };
    for (const auto& c : cases) {
        std::string error;
        const xml_document doc = parse_xml_part(body(c.paragraphs), error);
        ASSERT_TRUE(doc) << c.what << ": " << error;
        EXPECT_EQ(replace_in_paragraphs(xmlDocGetRootElement(doc.get()), w, "p", "t", "#filename#",
                                        "Array.java"),
                  c.replaced)
            << c.what;
        EXPECT_EQ(shown(doc.get()), c.text) << c.what;
    }
}

TEST(Placeholders, ReplacementsWithMarkupCharactersStayText) {
    std::string error;
    const xml_document doc =
        parse_xml_part(body("<w:p><w:r><w:t>#functionname#</w:t></w:r></w:p>"), error);
    replace_in_paragraphs(xmlDocGetRootElement(doc.get()), w, "p", "t", "#functionname#",
                          " a<b & &amp; ");
    EXPECT_EQ(shown(doc.get()), " a<b & &amp; |");
    std::string reparse_error;
    const xml_document again = parse_xml_part(serialised(doc.get()), reparse_error);
    ASSERT_TRUE(again) << reparse_error;
    EXPECT_EQ(shown(again.get()), " a<b & &amp; |");
    // Word keeps the blanks at the ends of a text only when told to.
    EXPECT_NE(serialised(doc.get()).find("xml:space=\"preserve\""), std::string::npos);
}

}  // namespace
}  // namespace tarnwell
