// The parser framework: the base class of every language parser, the token cursor, the
// markup writers, the skip scans and the error table.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwell {

// Token kinds are bytes shared by all languages so that keyword tables and skip scans speak
// the same codes; a code's meaning beyond this list is fixed only within one language.
using token_kind = std::uint8_t;

inline constexpr token_kind tk_handler = 0;
inline constexpr token_kind tk_default = 1;
inline constexpr token_kind tk_switch = 2;
inline constexpr token_kind tk_scope = 3;
inline constexpr token_kind tk_open_brace = 5;
inline constexpr token_kind tk_close_brace = 6;
inline constexpr token_kind tk_wend = 7;
inline constexpr token_kind tk_sub = 9;
inline constexpr token_kind tk_property = 10;
inline constexpr token_kind tk_bad_literal = 13;
inline constexpr token_kind tk_bad_comment = 15;
inline constexpr token_kind tk_other = 18;
inline constexpr token_kind tk_eof = 19;
inline constexpr token_kind tk_space = 20;
inline constexpr token_kind tk_comment = 21;
inline constexpr token_kind tk_word = 22;
inline constexpr token_kind tk_semicolon = 23;
inline constexpr token_kind tk_colon = 26;
inline constexpr token_kind tk_string = 44;
inline constexpr token_kind tk_and = 47;
inline constexpr token_kind tk_begin = 48;
inline constexpr token_kind tk_case = 49;
inline constexpr token_kind tk_do = 52;
inline constexpr token_kind tk_else = 54;
inline constexpr token_kind tk_end = 55;
inline constexpr token_kind tk_for = 56;
inline constexpr token_kind tk_function = 57;
inline constexpr token_kind tk_if = 58;
inline constexpr token_kind tk_not = 61;
inline constexpr token_kind tk_of = 62;
inline constexpr token_kind tk_on = 63;
inline constexpr token_kind tk_or = 64;
inline constexpr token_kind tk_endproc = 65;
inline constexpr token_kind tk_repeat = 67;
inline constexpr token_kind tk_set = 68;
inline constexpr token_kind tk_then = 72;
inline constexpr token_kind tk_to = 73;
inline constexpr token_kind tk_until = 75;
inline constexpr token_kind tk_while = 78;
inline constexpr token_kind tk_with = 79;
inline constexpr token_kind tk_exit = 81;
inline constexpr token_kind tk_break = 82;
inline constexpr token_kind tk_end_dot = 83;
inline constexpr token_kind tk_try = 84;
inline constexpr token_kind tk_finally = 85;
inline constexpr token_kind tk_quit = 86;
inline constexpr token_kind tk_sql_try = 87;
inline constexpr token_kind tk_sql_catch = 88;
inline constexpr token_kind tk_transaction = 89;
inline constexpr token_kind tk_sql_update = 90;
inline constexpr token_kind tk_bad_group = 93;
inline constexpr token_kind tk_directive = 95;
inline constexpr token_kind tk_forall = 97;
inline constexpr token_kind tk_parens = 104;
inline constexpr token_kind tk_newline = 106;
inline constexpr token_kind tk_call = 116;
inline constexpr token_kind tk_destroy = 117;
inline constexpr token_kind tk_post = 118;
inline constexpr token_kind tk_return = 119;
inline constexpr token_kind tk_halt = 120;
inline constexpr token_kind tk_constant = 122;
inline constexpr token_kind tk_continue = 123;
inline constexpr token_kind tk_label = 124;
inline constexpr token_kind tk_goto = 125;
inline constexpr token_kind tk_select = 126;
inline constexpr token_kind tk_endcase = 128;
inline constexpr token_kind tk_otherwise = 129;
inline constexpr token_kind tk_step = 130;
inline constexpr token_kind tk_next = 131;
inline constexpr token_kind tk_endif = 132;
inline constexpr token_kind tk_elseif = 133;
inline constexpr token_kind tk_loop = 135;
inline constexpr token_kind tk_raise = 139;
inline constexpr token_kind tk_when = 140;
inline constexpr token_kind tk_sql = 142;
inline constexpr token_kind tk_close = 143;

// Error codes the framework itself records; the language grammars name the rest by number,
// as the message table does.
inline constexpr std::uint8_t err_unexpected_eof = 24;
inline constexpr std::uint8_t err_in_statement = 25;
inline constexpr std::uint8_t err_none = 27;
inline constexpr std::uint8_t err_unknown = 28;
// The outermost sequence closed while significant code of the marked text still follows.
inline constexpr std::uint8_t err_code_follows = 35;

// What one parse gives: the markup (always ending with "\001") and the final error.
struct parser_result {
    bool ok = false;
    std::string message;
    std::string markup;
    std::int32_t error_pos = 0;
    std::int32_t error_len = 0;
};

// One row of a language's keyword table: the keyword in upper case (at most 20 characters)
// and the token kind it gives.
struct keyword_entry {
    std::string_view text;
    token_kind kind;
};

// Base of all language parsers: owns the text, the token cursor, the error and the markup,
// and gives the grammars the shared machinery. Subclasses supply `scan` and
// `parse_statements`.
class tsparser {
  public:
    virtual ~tsparser() = default;
    tsparser(const tsparser&) = delete;
    tsparser& operator=(const tsparser&) = delete;

    // Turns a marked source text into structure markup. Never throws on any input.
    parser_result parse(std::string_view source);

    // The tag lookup of the markup reader: the code of the tag, 29 for an unknown text.
    static std::uint8_t tag_code(std::string_view tag);
    // The fixed message of an error code; empty for codes without one.
    static std::string_view message_of(std::uint8_t code);

    // Deepest nesting of statement sequences and bracketed groups a parse follows before it
    // gives up with "Error In Statement"; real code stays far below it.
    static constexpr int max_nesting = 1000;

  protected:
    explicit tsparser(std::span<const keyword_entry> table);

    // The lexer: reads the token at `token_pos`, sets `kind` and `token_len`. The base
    // version only performs the position check every lexer starts with.
    virtual void scan();
    // The grammar: parses one statement sequence from the current token and writes it.
    virtual bool parse_statements(bool block) = 0;

    token_kind advance();
    // After the outermost sequence has closed at the current token: true when nothing but
    // blanks, comments, directives and line ends follows it, besides words and terminators on
    // the closing token's own line (the cursor is left as it was); otherwise records "here
    // should be end of code" at the first token that follows.
    bool only_blanks_follow();
    // Whether the current token ends the code of the text: the end of the text, or a
    // language's own end-of-code mark.
    virtual bool ends_code() const { return kind == tk_eof; }
    bool lookup_keyword();
    bool not_at_end() const { return kind != tk_semicolon && kind != tk_eof; }
    void set_error(std::uint8_t code);
    std::string_view error_message() const { return message_of(error_code); }

    void open_range(std::string_view tag);
    void whole_range(std::string_view tag);
    bool close_by_skip(int skip);
    std::int32_t skip_until(int skip);
    // The kinds that end a statement without a terminator: skip 15 stops at them.
    static bool ends_unterminated_statement(token_kind k);
    std::int32_t match_parens(std::int32_t start);

    // The character at a 1-based position; positions outside the text read as the sentinel.
    char at(std::int32_t pos) const {
        return pos >= 1 && pos <= text_size ? text[static_cast<std::size_t>(pos) - 1] : '\001';
    }
    // Appends a position to the markup (the end of a range opened before).
    void append_position(std::int32_t pos);
    std::int32_t token_end() const { return token_pos + token_len - 1; }

    // The run of plain statements of one sequence that is still open in the markup: its end
    // is written only when a structure, a jump or the end of the sequence follows.
    struct pending_code {
        std::int32_t end = 0;
        bool in_block = true;  // false while a single statement is parsed (a bare loop body)
    };
    void open_code(pending_code& code);
    void flush(pending_code& code);
    // A label item over the current token, which ends the run of plain statements before it;
    // the cursor moves past the label.
    void write_label(pending_code& code);
    // A jump item from its keyword through the end that skip scan `skip` finds, ending the run
    // of plain statements before it; false when the scan fails.
    bool write_jump(pending_code& code, std::string_view tag, int skip);
    // Ends the sequence at the current token: flushes its run of plain statements and writes
    // `</statement>` over the token, which stays current. Gives true.
    bool close_sequence(pending_code& code);

    // Counts one level of nesting for as long as it lives; past `max_nesting` the parse is
    // abandoned and `parse` reports "Error In Statement" with the markup written so far.
    class nesting_guard {
      public:
        explicit nesting_guard(tsparser& parser);
        ~nesting_guard() { --parser_.nesting_; }
        nesting_guard(const nesting_guard&) = delete;
        nesting_guard& operator=(const nesting_guard&) = delete;

      private:
        tsparser& parser_;
    };

    // For lexers whose token at a position depends on the text alone: tokens that are costly
    // to measure (groups, words with a look-ahead) are measured once per parse.
    // `recall_token` restores a measurement made before at `token_pos`, with the last error
    // it recorded; `remember_token` stores the current token as that measurement. They last
    // for one parse.
    bool recall_token();
    void remember_token(std::uint64_t errors_before);
    std::uint64_t errors_recorded() const { return error_serial_; }
    // Stores a measurement of the token at `pos`, made without an error, for `recall_token`.
    void remember_measured(std::int32_t pos, std::int32_t len, token_kind measured);

    // The length of the word that starts at `pos`, given which characters continue a word.
    std::int32_t word_length(std::int32_t pos, bool (*continues_word)(char)) const;
    // The kind the keyword table gives the `len` characters at `pos`, tk_word when they are
    // no keyword; for look-aheads over words. The cursor is left on those characters.
    token_kind keyword_at(std::int32_t pos, std::int32_t len);
    // For a keyword that reads as one token together with the next closing keyword after
    // it, pairs nested inside included (Pascal's WITH ... DO, T-SQL's CASE ... END): the
    // keyword at `token_pos` becomes a `joined` token through its closing keyword, or stays
    // as it is when the end of the text comes first. Words are read with the keyword table
    // only, everything else with `scan`; the pairs are matched with a stack, not with nested
    // scans, and each is measured once per parse. Errors met on the way are not kept: the
    // grammar records them when it reads those tokens.
    void scan_keyword_pair(token_kind closing, token_kind joined, bool (*starts_word)(char),
                           bool (*continues_word)(char));

    // The check every character inside a bracketed group passes: an "&" must be a line
    // continuation and a "/*" a complete comment; both are passed over whole (`passed` is set
    // to their length). On failure the token the lexer read there stays current.
    bool check_character(std::int32_t pos, std::int32_t& passed);

    std::string aux_text;
    std::vector<keyword_entry> keywords;
    token_kind kind = tk_eof;
    std::int32_t token_len = 0;
    std::int32_t token_pos = 0;
    std::string text;
    std::int32_t text_size = 0;
    std::uint8_t error_code = err_none;
    std::int32_t error_pos = 0;
    std::string output;

  private:
    struct nesting_overflow : std::runtime_error {
        nesting_overflow() : std::runtime_error("nesting too deep") {}
    };
    struct recorded_error {
        std::uint8_t code;
        std::int32_t pos;
    };
    void forget_measured_tokens();

    int nesting_ = 0;
    std::uint64_t error_serial_ = 0;
    // Measured tokens by position: the length (0 when not measured; negative when measuring
    // recorded an error, which is kept aside) and the kind. Dense, because lookups happen for
    // nearly every word and follow the text from left to right.
    std::vector<std::int32_t> measured_len_;
    std::vector<token_kind> measured_kind_;
    std::unordered_map<std::int32_t, recorded_error> measured_errors_;
};

}  // namespace tarnwell
