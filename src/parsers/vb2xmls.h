// The parser of Visual Basic and VBScript, and the line grammar that the other line-based
// dialects (Visual Basic .NET, BASIC, FoxPro, PowerBuilder) build on.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell {

// What the line grammar does with a token that starts a statement.
enum class line_action : std::uint8_t {
    reject,          // "Error In Statement", then passed over
    pass,            // passed over: blanks, comments, tokens the lexer already complained about
    separator,       // a line end or statement separator
    label,           // a `<label/>` item
    closer,          // ends the sequence and stays current for the structure that waits for it
    jump,            // a jump item over the keyword token alone
    jump_statement,  // a jump item through the end of its statement
    code,            // a plain statement up to the end of its line
    sql,             // an embedded SQL statement up to its ";"
    conditional,
    counted_loop,
    selection,
    pretest_loop,
    posttest_loop,
    try_open,
    try_end,
    try_finally,
    try_handler,
};

// One row of a dialect's statement table.
struct line_rule {
    token_kind kind;
    line_action action;
    std::string_view tag{};        // jumps: the item; loops tested first: the opening tag
    std::string_view close_tag{};  // loops tested first: the closing tag
    token_kind closer = 0;         // loops tested first: the token that must end the body,
    std::uint8_t error = 0;        // and the error recorded when another one does
};

// Where the dialects of the line grammar differ.
struct line_dialect {
    std::span<const line_rule> rules;    // rows over the rows all dialects share
    std::span<const line_rule> changes;  // rows that replace rows of `rules`
    bool entry_passes_separator;  // a nested sequence starts by passing its line end or label
    int statement_skip;           // the skip that finds the end of a plain statement or jump
    int header_skip;              // the skip that finds the end of a FOR or loop header line
    int for_close_skip;           // the skip that ends `</for>`; `token_only`: NEXT alone
    int select_skip;              // the skip that ends the selection header
    int case_skip;                // the skip that ends a CASE label
    char else_separator;          // what a one-line IF's ELSE becomes while its THEN part parses
    token_kind else_separator_kind;
    bool plain_loop_closes_do;  // a bare LOOP closes DO (as `<dowhile>`)
};

class Tvbsparser : public tsparser {
  public:
    Tvbsparser();

    // Kinds the line-based lexers make beyond the shared ones.
    static constexpr token_kind tk_end_try = 8;
    static constexpr token_kind tk_bad_char = 14;
    static constexpr token_kind tk_bad_string = 91;
    static constexpr token_kind tk_choose_case = 127;
    static constexpr token_kind tk_do_until = 134;
    static constexpr token_kind tk_do_while = 136;
    static constexpr token_kind tk_loop_until = 137;
    static constexpr token_kind tk_loop_while = 138;

    static constexpr int token_only = -1;

    // The grammar settings of Visual Basic, which the other Basic dialects change.
    static const line_dialect& visual_basic_dialect();

    // A keyword table that ends with the block keywords Visual Basic and BASIC list last.
    template <std::size_t N>
    static constexpr std::array<keyword_entry, N + 14> with_block_keywords(
        const std::array<keyword_entry, N>& head) {
        constexpr std::array<keyword_entry, 14> block_keywords{{
            {"DO", tk_do},
            {"UNTIL", tk_until},
            {"LOOP", tk_loop},
            {"WHILE", tk_while},
            {"WEND", tk_wend},
            {"IF", tk_if},
            {"THEN", tk_then},
            {"ELSE", tk_else},
            {"ELSEIF", tk_elseif},
            {"ENDIF", tk_endif},
            {"FOR", tk_for},
            {"NEXT", tk_next},
            {"SELECT", tk_select},
            {"CASE", tk_case},
        }};
        std::array<keyword_entry, N + 14> table{};
        for (std::size_t i = 0; i < N; ++i) table[i] = head[i];
        for (std::size_t i = 0; i < 14; ++i) table[N + i] = block_keywords[i];
        return table;
    }

  protected:
    // A token as the lexer reads it before the keyword combination step.
    struct raw_token {
        std::int32_t pos;
        std::int32_t len;
        token_kind kind;
        std::int32_t end() const { return pos + len - 1; }
    };
    // How far a keyword that looked at the next token reaches: itself alone, through the end
    // of the next token, or up to the start of the next token.
    enum class reach : std::uint8_t { keyword, through_next, up_to_next };
    struct combination {
        token_kind kind;
        reach extent;
    };

    Tvbsparser(std::span<const keyword_entry> table, const line_dialect& dialect);

    // The lexer: the dialect's `scan_raw`, then the combination step for keywords that look
    // at the token after them.
    void scan() final;
    bool parse_statements(bool block) final;

    // The dialect's lexer without the combination step.
    virtual void scan_raw();
    virtual bool is_word_start(char c) const;
    virtual bool is_word_continuation(char c) const;
    // Whether a raw token is a keyword that looks at the next significant token.
    virtual bool combines(const raw_token& keyword) const;
    // The combination table of the dialect; `next` is the next significant raw token.
    virtual combination combine_with(const raw_token& keyword, const raw_token& next);
    virtual bool conditional(pending_code& code);

    // Lexer pieces the dialects share.
    static bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static bool is_digit(char c) { return c >= '0' && c <= '9'; }
    static bool is_blank(char c) { return c == ' ' || c == '\t'; }
    static bool is_line_break(char c) { return c == '\r' || c == '\n'; }
    std::int32_t line_break_length(std::int32_t pos) const;
    std::int32_t line_end(std::int32_t pos) const;
    void scan_eof();
    void scan_blanks();
    void scan_newline();
    void scan_continuation();
    void scan_string(bool tilde_escapes);
    void scan_comment(char carry, bool blanks_before_break);
    void scan_word(bool labels);
    void scan_bad_char();
    raw_token peek_after(const raw_token& token);
    token_kind combined_kind(const raw_token& token);
    bool keyword_text_is(const raw_token& token, std::string_view upper) const;
    // CASE ELSE, DO WHILE/UNTIL and LOOP WHILE/UNTIL, read alike by all that combine them.
    combination combine_block_keyword(const raw_token& keyword, const raw_token& next);

    // The ELSE branch of a block conditional, up to END IF.
    bool else_part();

  private:
    const line_rule& rule_of(token_kind k) const { return *rules_[k]; }
    bool close_sequence(pending_code& code);
    bool one_line_conditional();
    bool look_ahead_for_else();
    bool counted_loop(pending_code& code);
    bool selection(pending_code& code);
    bool pretest_loop(pending_code& code, const line_rule& rule);
    bool posttest_loop(pending_code& code);
    bool handler(pending_code& code);

    line_dialect dialect_;
    std::array<const line_rule*, 256> rules_{};
    // The last ELSE look-ahead of a one-line IF passed the tokens from `from` and stopped at
    // `stop`; a nested one-line IF on the same line starts in between and stops there too.
    struct else_lookahead {
        std::int32_t from = 0;
        std::int32_t stop = 0;
    };
    else_lookahead last_lookahead_;
};

}  // namespace tarnwell
