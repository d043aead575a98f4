// A C, C++, Java or C# text split once into tokens, with a cursor that steps forward and
// backward over them; it feeds the C-family procedure scanner.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// A growable array of 32-bit integers. It grows by at least 1024 entries at a time, and by
// its own size once it is larger, so that filling it stays linear on big texts.
class TLongIntList {
  public:
    void add(std::int32_t value);
    void clear() { items_.clear(); }
    std::size_t count() const { return items_.size(); }
    std::int32_t operator[](std::size_t i) const { return items_[i]; }

  private:
    std::vector<std::int32_t> items_;
};

// Token kinds. Keywords follow `keyword_first`, in the order of `bcb_keywords`.
enum class bcb_token : std::uint8_t {
    end_of_text,
    blank,
    line_break,
    identifier,
    number,
    real_number,
    string,
    character,
    block_comment,
    line_comment,  // "//" comments and directive lines
    brace_open,
    braces,  // "{}"
    brace_close,
    paren_open,
    parens,  // "()"
    paren_close,
    bracket_open,
    brackets,  // "[]"
    bracket_close,
    colon,
    colon_colon,
    semicolon,
    less,
    greater,
    comma,
    hash,
    double_hash,
    unknown,
    assign,
    bang,
    not_equal,
    percent,
    percent_equal,
    ampersand,
    and_and,
    and_equal,
    star,
    star_star,
    comment_close,  // "*/" outside a comment
    star_equal,
    plus,
    plus_plus,
    plus_equal,
    minus,
    minus_minus,
    minus_equal,
    arrow,
    arrow_star,
    point,
    point_star,
    point_point,
    ellipsis,
    slash,
    shift_left,
    shift_left_equal,
    less_equal,
    equal_equal,
    greater_equal,
    shift_right,
    shift_right_equal,
    question,
    question_colon,
    caret,
    caret_equal,
    line_continuation,  // a backslash before a line break
    keyword_first = 128,
};

// clang-format off
inline constexpr std::array<std::string_view, 121> bcb_keywords{
    "if",               "do",               "asm",              "for",              "new",
    "int",              "try",              "case",             "char",             "_asm",
    "else",             "bool",             "long",             "void",             "enum",
    "this",             "auto",             "goto",             "true",             "cdecl",
    "__asm",            "catch",            "break",            "false",            "float",
    "class",            "while",            "_M_IX86",          "__MT__",           "__try",
    "using",            "const",            "union",            "short",            "throw",
    "__int8",           "__DLL__",          "_cdecl",           "__int32",          "__TLS__",
    "__int16",          "delete",           "__int64",          "pascal",           "friend",
    "signed",           "double",           "public",           "inline",           "__rtti",
    "_WCHAR_T",         "static",           "typeid",           "sizeof",           "switch",
    "extern",           "__DATE__",         "__FILE__",         "return",           "__LINE__",
    "struct",           "__STDC__",         "__TIME__",         "__cdecl",          "__WIN32__",
    "_pascal",          "__CDECL__",        "foreach",          "default",          "wchar_t",
    "mutable",          "typedef",          "__BCOPT__",        "_import",          "private",
    "_export",          "__MSDOS__",        "virtual",          "_CPPUNWIND",       "__PASCAL__",
    "__pascal",         "__thread",         "__dispid",         "_stdcall",         "__except",
    "_Windows",         "__TURBOC__",       "__import",         "template",         "unsigned",
    "volatile",         "__export",         "explicit",         "typename",         "continue",
    "register",         "operator",         "__CONSOLE__",      "__classid",        "__stdcall",
    "_fastcall",        "namespace",        "__finally",        "__closure",        "__BORLANDC__",
    "protected",        "__declspec",       "__fastcall",       "__TEMPLATES__",    "const_cast",
    "_CHAR_UNSIGNED",   "__property",       "__published",      "__automated",      "__BCPLUSPLUS__",
    "static_cast",      "__TCPLUSPLUS__",   "__cplusplus",      "_WCHAR_T_DEFINED", "dynamic_cast",
    "reinterpret_cast",
};
// clang-format on

// The kind of a keyword; a compile error for a word that is not one.
consteval bcb_token bcb_keyword(std::string_view word) {
    for (std::size_t k = 0; k < bcb_keywords.size(); ++k) {
        if (bcb_keywords[k] == word) {
            return static_cast<bcb_token>(static_cast<std::size_t>(bcb_token::keyword_first) + k);
        }
    }
    throw "not a C-family keyword";
}

class TBCBTokenList {
  public:
    TBCBTokenList();

    // Splits `text`, which must outlive the list, and puts the cursor on token 0. The text
    // ends at its first NUL byte; the last token is always the end of the text. Throws
    // std::length_error for a text whose offsets do not fit 32 bits.
    void load(const std::string& text);

    // Tokens, the final end-of-text token included.
    std::size_t count() const { return boundaries_.count() - 1; }
    bcb_token kind(std::size_t i) const;
    std::string_view token(std::size_t i) const;
    std::int32_t position(std::size_t i) const { return boundaries_[i]; }

    std::size_t cursor() const { return cursor_; }
    void set_cursor(std::size_t i) { cursor_ = i < count() ? i : count() - 1; }
    bcb_token kind() const { return kind(cursor_); }
    std::string_view token() const { return token(cursor_); }
    std::int32_t position() const { return position(cursor_); }

    // Steps over blanks, line breaks, comments and directive lines; the forward step stops
    // at the end of the text, the backward step returns false (cursor unchanged) when no
    // such token comes before the cursor.
    void next();
    bool previous();
    // Steps by exactly one token; false (cursor unchanged) at either end.
    bool raw_next();
    bool raw_previous();
    // Steps forward over comments and directive lines only.
    void next_non_comment();

    // The 1-based line of a text offset (CR LF, a lone CR and a lone LF each end a line);
    // -1 outside the text.
    int line_of(std::int32_t position) const;

    static bool is_comment(bcb_token kind) {
        return kind == bcb_token::block_comment || kind == bcb_token::line_comment;
    }
    static bool is_significant(bcb_token kind) {
        return kind != bcb_token::blank && kind != bcb_token::line_break && !is_comment(kind);
    }

  private:
    char at(std::size_t offset) const { return text_[offset]; }
    std::size_t token_end(std::size_t start) const;
    std::size_t directive_end(std::size_t start) const;
    bcb_token word_kind(std::size_t start, std::size_t length) const;

    const char* text_ = "";
    std::size_t size_ = 0;
    TLongIntList boundaries_;
    std::vector<std::int32_t> line_starts_;
    std::size_t cursor_ = 0;
};

}  // namespace tarnwell
