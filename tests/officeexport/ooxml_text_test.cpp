#include "officeexport/ooxml_text.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

TEST(OfficeText, BytesBecomeValidUtf8ThatXmlAccepts) {
    const struct {
        const char* what;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"ASCII as it is", "int a = 1;", "int a = 1;"},
        {"valid UTF-8 as it is", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"Latin bytes read as Windows-1252", "caf\xE9", "caf\xC3\xA9"},
        {"the euro sign of Windows-1252", "\x80", "\xE2\x82\xAC"},
        {"quotes of Windows-1252", "\x93x\x94", "\xE2\x80\x9Cx\xE2\x80\x9D"},
        {"a byte Windows-1252 leaves undefined", "a\x81z", "a\xEF\xBF\xBDz"},
        {"an overlong sequence is not UTF-8", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"a UTF-16 surrogate is not UTF-8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        {"a cut-off sequence", "ab\xE2\x82", "ab\xC3\xA2\xE2\x80\x9A"},
        {"controls XML forbids", std::string("a\0b\x01\x1F", 5),
         "a\xEF\xBF\xBD"
         "b\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"tab and line ends stay", "a\tb\r\nc", "a\tb\r\nc"},
        {"noncharacters XML forbids", "\xEF\xBF\xBE", "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) EXPECT_EQ(office_text(c.bytes), c.expected) << c.what;
}

TEST(OfficeText, EveryLineEndStartsAParagraph) {
    const struct {
        std::string text;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"", {""}},           {"one", {"one"}},       {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a", ""}}, {"\n\n", {"", "", ""}}, {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(text_paragraphs(c.text), c.lines) << c.text;
}

TEST(OfficeText, MarkupCharactersAreEscaped) {
    EXPECT_EQ(xml_escaped("if (a < b && c > \"d\") 'e'"),
              "if (a &lt; b &amp;&amp; c &gt; &quot;d&quot;) &apos;e&apos;");
}

}  // namespace
}  // namespace tarnwell
