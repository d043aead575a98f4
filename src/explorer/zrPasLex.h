// A table-driven Pascal lexer stepped one token at a time; it feeds the Pascal procedure
// scanner.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tarnwell {

// Token kinds. Keywords follow `keyword_first`, in the order of `pas_keywords`.
enum class pas_token : std::uint8_t {
    end_of_text,
    blank,
    line_break,
    line_break_in_comment,
    brace_comment,
    paren_star_comment,
    slash_comment,
    directive,
    identifier,
    number,
    real_number,
    hex_number,
    char_code,
    string,
    assign,
    colon,
    less_equal,
    not_equal,
    less,
    greater_equal,
    greater,
    point,
    range,
    address,
    double_address,
    equal,
    comma,
    semicolon,
    plus,
    minus,
    star,
    caret,
    bracket_open,
    bracket_close,
    paren_open,
    paren_close,
    slash,
    stray_brace,
    unknown_high,
    unknown_symbol,
    keyword_first = 64,
};

// clang-format off
inline constexpr std::array<std::string_view, 104> pas_keywords{
    "Absolute",        "Abstract",        "And",             "Array",           "As",
    "Asm",             "Assembler",       "At",              "Automated",       "Begin",
    "Case",            "Cdecl",           "Class",           "Const",           "Constructor",
    "Default",         "Destructor",      "Dispid",          "Dispinterface",   "Div",
    "Do",              "Downto",          "Dynamic",         "Else",            "End",
    "Except",          "Export",          "Exports",         "External",        "Far",
    "File",            "Finalization",    "Finally",         "For",             "Forward",
    "Function",        "Goto",            "If",              "Implementation",  "Implements",
    "In",              "Index",           "Inherited",       "Initialization",  "Inline",
    "Interface",       "Is",              "Label",           "Library",         "Message",
    "Mod",             "Name",            "Near",            "Nil",             "Nodefault",
    "Not",             "Object",          "Of",              "On",              "Or",
    "Out",             "overload",        "Override",        "Packed",          "Pascal",
    "Private",         "Procedure",       "Program",         "Property",        "Protected",
    "Public",          "Published",       "Raise",           "Read",            "Readonly",
    "Record",          "Register",        "Reintroduce",     "Repeat",          "Resident",
    "Resourcestring",  "Safecall",        "Set",             "Shl",             "Shr",
    "Stdcall",         "Stored",          "String",          "Stringresource",  "Then",
    "Threadvar",       "To",              "Try",             "Type",            "Unit",
    "Until",           "Uses",            "Var",             "Virtual",         "While",
    "With",            "Write",           "Writeonly",       "Xor",
};
// clang-format on

// The kind of a keyword, spelled as in `pas_keywords` in any case; a compile error for a
// word that is not one.
consteval pas_token pas_keyword(std::string_view word) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t k = 0; k < pas_keywords.size(); ++k) {
        const std::string_view keyword = pas_keywords[k];
        if (keyword.size() != word.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < word.size(); ++i)
            same = same && lower(keyword[i]) == lower(word[i]);
        if (same)
            return static_cast<pas_token>(static_cast<std::size_t>(pas_token::keyword_first) + k);
    }
    throw "not a Pascal keyword";
}

constexpr bool is_any_of(pas_token kind, std::initializer_list<pas_token> kinds) {
    for (const pas_token k : kinds) {
        if (k == kind) return true;
    }
    return false;
}

class TzrPasLex {
  public:
    // Starts over at the beginning of `text`, which must outlive the lexer, and reads the
    // first token. The text ends at its first NUL byte.
    void set_origin(const std::string& text);
    // Reads one token of any kind.
    void next();
    // Reads tokens until one that is not a blank run, a line break or a comment; directives
    // are returned.
    void next_significant();

    pas_token kind() const { return kind_; }
    // The kind of the last token before the current one that was not a blank run.
    pas_token previous_kind() const { return previous_kind_; }
    std::string_view token() const { return {text_ + token_start_, run_ - token_start_}; }
    std::size_t token_position() const { return token_start_; }
    // Line breaks passed so far; the current token stands on line `line_counter() + 1`.
    int line_counter() const { return line_counter_; }
    std::size_t line_start() const { return line_start_; }
    // Whether the last Class or Object keyword opened the body of a class or object type.
    bool type_body() const { return type_body_; }
    int paren_depth() const { return paren_depth_; }
    int bracket_depth() const { return bracket_depth_; }

  private:
    enum class comment_state : std::uint8_t { none, brace, paren_star };
    using handler = void (TzrPasLex::*)();

    static const std::array<handler, 256>& dispatch_table();

    char at(std::size_t offset) const { return text_[offset]; }
    void end_of_text();
    void blank_run();
    void line_break();
    void open_brace();
    void open_paren();
    void close_paren();
    void slash_or_comment();
    void word();
    void number();
    void hex_number();
    void char_code();
    void string_literal();
    void colon();
    void less();
    void greater();
    void point();
    void at_sign();
    void single_symbol();
    void stray_brace();
    void unknown_high();
    void unknown_symbol();
    void comment_rest();
    void run_comment(comment_state state, std::size_t body_start);
    pas_token keyword_or_identifier(std::size_t hash, std::size_t compared) const;
    pas_token apply_context(pas_token keyword, std::size_t word_end);

    const char* text_ = "";
    std::size_t run_ = 0;
    std::size_t token_start_ = 0;
    pas_token kind_ = pas_token::end_of_text;
    pas_token previous_kind_ = pas_token::end_of_text;
    int line_counter_ = 0;
    std::size_t line_start_ = 0;
    comment_state comment_ = comment_state::none;
    int paren_depth_ = 0;
    int bracket_depth_ = 0;
    bool type_body_ = false;
};

}  // namespace tarnwell
