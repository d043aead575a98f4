// The parser of the brace languages without their own parser (C, C++, Java, JavaScript), and
// the shared lexer and grammar steps of the brace languages that differ from them in details
// (C#, PHP, Perl).
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell {

// A set of bytes (characters, or token kinds), looked up by value.
using byte_set = std::array<bool, 256>;

constexpr byte_set make_byte_set(std::string_view members, bool letters = false,
                                 bool digits = false) {
    byte_set set{};
    for (char c : members) set[static_cast<unsigned char>(c)] = true;
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if ((letters && letter) || (digits && c >= '0' && c <= '9')) set[c] = true;
    }
    return set;
}

constexpr byte_set make_kind_set(std::initializer_list<token_kind> kinds) {
    byte_set set{};
    for (token_kind k : kinds) set[k] = true;
    return set;
}

inline constexpr byte_set white_space = make_byte_set("\t\n\r ");

constexpr bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Where the brace languages part ways while their lexers and grammars share the steps.
struct brace_profile {
    std::span<const keyword_entry> keywords;
    byte_set word_start;
    byte_set word_continuation;
    bool scope_token;               // "::" is one token rather than two colons
    token_kind unfinished_comment;  // a block comment that the end of the text cuts short
    bool statement_start_set;       // a plain statement ends before a statement keyword
    bool case_labels;               // a nested sequence opened by ":" is a case branch
    bool bare_catch;                // a handler may open its block with no parameter
    std::int32_t elseif_if_offset;  // where "if" stands inside ELSEIF; 0: no such keyword
    byte_set silent_kinds;          // stray kinds passed over without "Error In Statement"
};

class Tcppsparser : public tsparser {
  public:
    Tcppsparser();

    // Kinds that several brace lexers give and the C family does not.
    static constexpr token_kind tk_bad_char = 14;
    static constexpr token_kind tk_bad_string = 91;

  protected:
    explicit Tcppsparser(const brace_profile& profile);

    void scan() override;
    bool parse_statements(bool block) override;
    // One statement at the current token, for every kind the sequence itself does not handle
    // (";", braces, case labels, the end of the text and labels).
    virtual bool statement(pending_code& code);
    // The label look-ahead asks this of each position it passes: a lexer whose words may
    // begin with a character that starts something else there says so here.
    virtual bool word_starts_at(std::int32_t pos) const;

    bool word_start(char c) const { return profile_.word_start[static_cast<unsigned char>(c)]; }
    // What every brace lexer reads alike: the end of the text, a run of `spaces`, a quoted
    // string, a "#" line and a word. False when the character starts none of them.
    bool scan_common(char c, const byte_set& spaces, token_kind unfinished_string,
                     token_kind hash_line);
    // ":", "::", ";", "{" and "}"; false for any other character.
    bool scan_punctuation(char c);
    void scan_run(const byte_set& members, token_kind k);
    void scan_string(token_kind unfinished, bool escapes = true);
    std::int32_t word_length(std::int32_t pos) const;
    // A group read token by token from `first` (past the "(" and whatever the language reads
    // before the group's tokens); remembered for the rest of the parse.
    void measure_group(std::int32_t first, token_kind unfinished);
    void scan_block_comment();
    void scan_to_line_end(token_kind k);
    // The position of the first CR, LF or end of the text from `pos` on.
    std::int32_t end_of_line(std::int32_t pos) const;

    // `open_range` at a position other than the current token's.
    void open_item(std::string_view tag, std::int32_t pos);
    bool at_body_end() const { return kind == tk_close_brace || kind == tk_semicolon; }
    bool body();
    // A keyword, its parenthesised header and its body, as IF's then-branch or a loop. With
    // `words_before`, words (a loop variable) may stand between the keyword and the group.
    bool headed_block(pending_code& code, std::string_view open, std::string_view close,
                      bool words_before = false);
    bool conditional(pending_code& code);
    bool loop_tested_after(pending_code& code, std::int32_t do_pos, std::int32_t do_end);
    bool stray_token();

  private:
    static bool line_end(char c) { return c == '\n' || c == '\r' || c == '\001'; }
    void scan_eof();
    void scan_word();
    void scan_label_lookahead();
    void scan_group();
    void scan_line_comment();
    bool first_on_line(std::int32_t pos) const;
    void scan_template();
    bool scan_regular_expression();

    // A token the statement scan has passed.
    struct passed_token {
        std::int32_t pos;
        std::int32_t len;  // 0: nothing passed yet
    };
    bool plain_statement(pending_code& code);
    bool jump(pending_code& code, std::string_view tag);
    // The end of the statement whose tokens up to `last` have been passed; 0 after an error.
    // Whether the end of the text ends a statement that has no ";".
    enum class text_end { fails, ends, after_line_end };
    std::int32_t statement_end(text_end at_text_end, passed_token last);
    bool ends_here(text_end rule, std::int32_t last_end) const;
    std::int32_t skip_until_semicolon_outside_braces();
    bool begins_new_statement() const;
    bool block_header_ends(pending_code& code);
    bool word_is(std::string_view word) const;
    bool declaration_follows();
    bool case_label_end();
    bool arrow_branch();
    bool line_break_between(std::int32_t from, std::int32_t to) const;
    static bool expression_may_end_with(char c);
    bool condition(bool words_before);
    bool selection(pending_code& code);
    bool handler(pending_code& code);

    const brace_profile& profile_;
};

}  // namespace tarnwell
