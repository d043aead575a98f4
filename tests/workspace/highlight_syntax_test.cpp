#include "workspace/highlight_syntax.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwell {
namespace {

// One letter per byte: p plain, c comment, k keyword, s string, n number, d directive,
// o operator.
std::string letters(const std::vector<std::uint8_t>& styles) {
    std::string out;
    for (std::uint8_t style : styles) out += "pcksndo"[style];
    return out;
}

std::string styled(std::string_view highlighter, std::string_view text) {
    std::vector<std::uint8_t> styles;
    std::vector<int> states;
    style_text(text, *custom_syntax(highlighter), 0, styles, states);
    return letters(styles);
}

TEST(HighlightSyntax, StylesEachLanguagesConstructs) {
    struct style_case {
        const char* highlighter;
        const char* text;
        const char* styles;
    };
    const style_case cases[] = {
        {"Visual Basic", "If x Then ' note", "kkpppkkkkpcccccc"},
        {"Visual Basic", "REM all\nremark = 1", "cccccccppppppppopn"},
        {"Visual Basic", "s = \"a\"\"b\" & c", "ppopsssssspopp"},
        {"Visual Basic", "#If Win32", "ddddddddd"},
        {"VBScript", "Dim a: a = \"x", "kkkppopppopss"},
        {"VB.NET", "Imports System", "kkkkkkkppppppp"},
        {"FoxPro", "* note\nx = 1 && c\n  NOTE y",
         "cccccc"
         "p"
         "ppopnpcccc"
         "p"
         "ppcccccc"},
        {"FoxPro", "y = a * b", "ppopppopp"},
        {"PowerBuilder", "if a then // c\nls_a = \"~\"x\"",
         "kkpppkkkkpcccc"
         "p"
         "pppppopsssss"},
        {"general", "x /* a\nb */ y # z",
         "ppcccc"
         "p"
         "ccccppp"
         "ccc"},
    };
    for (const style_case& c : cases) {
        EXPECT_EQ(styled(c.highlighter, c.text), c.styles) << c.highlighter << ": " << c.text;
    }
}

TEST(HighlightSyntax, NamesOnlyTheHighlightersItServes) {
    for (const char* name :
         {"general", "Visual Basic", "VBScript", "VB.NET", "FoxPro", "PowerBuilder"}) {
        EXPECT_NE(custom_syntax(name), nullptr) << name;
    }
    for (const char* name : {"C++", "Java", "PHP", "PL/SQL", "T-SQL", ""}) {
        EXPECT_EQ(custom_syntax(name), nullptr) << name;
    }
}

// The editor styles from the line where a change starts, carrying the state of the line
// before: styling in pieces must give what one pass gives.
TEST(HighlightSyntax, LineStatesCarryBlockCommentsAcrossPieces) {
    const std::string text = "a /* one\r\ntwo\rthree */ b\n/* open\nstill";
    const highlight_syntax& syntax = *custom_syntax("PowerBuilder");
    std::vector<std::uint8_t> whole;
    std::vector<int> whole_states;
    EXPECT_EQ(style_text(text, syntax, 0, whole, whole_states), 1);
    EXPECT_EQ(whole_states, (std::vector<int>{1, 1, 0, 1, 1}));

    const std::size_t third_line = text.find("three");
    std::vector<std::uint8_t> head;
    std::vector<int> head_states;
    const int carried =
        style_text(std::string_view(text).substr(0, third_line), syntax, 0, head, head_states);
    std::vector<std::uint8_t> tail;
    std::vector<int> tail_states;
    style_text(std::string_view(text).substr(third_line), syntax, carried, tail, tail_states);
    head.insert(head.end(), tail.begin(), tail.end());
    EXPECT_EQ(head, whole);
}

TEST(HighlightSyntax, AnyBytesAreStyledWithoutFault) {
    std::string bytes;
    for (int i = 0; i < 512; ++i) bytes += static_cast<char>((i * 37 + 11) % 256);
    bytes += "\"unterminated ~";
    for (const char* name : {"general", "Visual Basic", "FoxPro", "PowerBuilder"}) {
        std::vector<std::uint8_t> styles;
        std::vector<int> states;
        style_text(bytes, *custom_syntax(name), 99, styles, states);
        EXPECT_EQ(styles.size(), bytes.size()) << name;
    }
}

}  // namespace
}  // namespace tarnwell
