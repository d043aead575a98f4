#include "workspace/code_export.h"

#include <gtest/gtest.h>

#include <vector>

#include "workspace/text_bytes.h"

namespace tarnwell {
namespace {

const export_style page{0x000000, 0xECE9D8, false, false};
const std::vector<export_style> table = {
    {0x000000, 0xECE9D8, false, false},
    {0x000080, 0xECE9D8, true, false},
    {0x008000, 0xECE9D8, false, true},
};

styled_source source_of(std::string_view text, const std::vector<std::uint8_t>& styles) {
    return {"A<b>.java", text, styles, table, page};
}

TEST(CodeExport, HtmlColoursEveryRunAndEscapesTheText) {
    const std::string text = "if (a<b) // \"x\" & y\n";
    std::vector<std::uint8_t> styles(text.size(), 0);
    styles[0] = styles[1] = 1;
    for (std::size_t i = 9; i < text.size() - 1; ++i) styles[i] = 2;
    const std::string html = export_html(source_of(text, styles));
    EXPECT_NE(html.find("<title>A&lt;b&gt;.java</title>"), std::string::npos);
    EXPECT_NE(html.find(".s1 { color: #000080; background-color: #ece9d8; font-weight: bold; }"),
              std::string::npos);
    EXPECT_NE(html.find(".s2 { color: #008000; background-color: #ece9d8; font-style: italic; }"),
              std::string::npos);
    EXPECT_NE(html.find("font-family: 'Courier New', monospace; font-size: 10pt;"),
              std::string::npos);
    EXPECT_NE(html.find("<pre><span class=\"s1\">if</span><span class=\"s0\"> (a&lt;b) </span>"
                        "<span class=\"s2\">// &quot;x&quot; &amp; y</span>"
                        "<span class=\"s0\">\n</span></pre>"),
              std::string::npos)
        << html;
}

TEST(CodeExport, HtmlIsAsciiForLatin1AndUtf8Sources) {
    struct encoding_case {
        std::string text;
        const char* reference;
    };
    const encoding_case cases[] = {
        {"caf\xe9", "caf&#233;"},      // Latin-1
        {"caf\xc3\xa9", "caf&#233;"},  // UTF-8
        {"\xe2\x82\xac\xf0\x9f\x98\x80", "&#8364;&#128512;"},
        {std::string("a\0b", 3), "a&#xfffd;b"},
    };
    for (const encoding_case& c : cases) {
        const std::vector<std::uint8_t> styles(c.text.size(), 0);
        const std::string html = export_html(source_of(c.text, styles));
        EXPECT_NE(html.find(c.reference), std::string::npos) << c.reference;
        for (char ch : html) ASSERT_LT(static_cast<unsigned char>(ch), 0x80) << c.reference;
    }
}

TEST(CodeExport, RtfEscapesBreaksAndCharacters) {
    const std::string text = "{a}\\\tb\r\nc\rd\ne\xe9";
    const std::vector<std::uint8_t> styles(text.size(), 1);
    const std::string rtf = export_rtf(source_of(text, styles));
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi", 0), 0u);
    EXPECT_NE(rtf.find("Courier New"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs20"), std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl;\\red0\\green0\\blue0;\\red236\\green233\\blue216;"
                       "\\red0\\green0\\blue128;}"),
              std::string::npos)
        << rtf;
    EXPECT_NE(
        rtf.find("{\\cf3\\cb2\\highlight2\\b \\{a\\}\\\\\\tab b\\par\nc\\par\nd\\par\ne\\'e9}"),
        std::string::npos)
        << rtf;
    const std::string utf8 = "\xe2\x82\xac\xf0\x9f\x98\x80";
    const std::string wide = export_rtf(source_of(utf8, std::vector<std::uint8_t>(utf8.size(), 0)));
    EXPECT_NE(wide.find("\\u8364?\\u-10179?\\u-8704?"), std::string::npos) << wide;
}

TEST(TextBytes, TellsUtf8AndLineBreaks) {
    EXPECT_TRUE(is_valid_utf8("plain"));
    EXPECT_TRUE(is_valid_utf8("caf\xc3\xa9 \xf0\x9f\x98\x80"));
    EXPECT_FALSE(is_valid_utf8("caf\xe9"));
    EXPECT_FALSE(is_valid_utf8("\xc0\xaf"));          // overlong
    EXPECT_FALSE(is_valid_utf8("\xed\xa0\x80"));      // surrogate
    EXPECT_FALSE(is_valid_utf8("\xf4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(is_valid_utf8("\xe2\x82"));          // cut short
    EXPECT_EQ(first_line_break("a\r\nb\n"), line_break::crlf);
    EXPECT_EQ(first_line_break("a\rb\r\n"), line_break::cr);
    EXPECT_EQ(first_line_break("a\nb\r\n"), line_break::lf);
    EXPECT_EQ(first_line_break("a"), line_break::lf);
    EXPECT_EQ(first_line_break("a\r"), line_break::cr);
}

}  // namespace
}  // namespace tarnwell
