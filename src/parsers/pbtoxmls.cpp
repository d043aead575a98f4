#include "parsers/pbtoxmls.h"

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 46> pb_keywords{{
    {"CALL", tk_call},      {"DESTROY", tk_destroy},
    {"POST", tk_post},      {"RETURN", tk_return},
    {"HALT", tk_halt},      {"CONSTANT", tk_constant},
    {"EXIT", tk_break},     {"CONTINUE", tk_continue},
    {"AND", tk_and},        {"NOT", tk_not},
    {"OR", tk_or},          {"GOTO", tk_goto},
    {"NEXT", tk_next},      {"STEP", tk_step},
    {"ELSEIF", tk_elseif},  {"LOOP", tk_loop},
    {"DO", tk_do},          {"ELSE", tk_else},
    {"CASE", tk_case},      {"FOR", tk_for},
    {"IF", tk_if},          {"THEN", tk_then},
    {"TO", tk_to},          {"ENDIF", tk_endif},
    {"TRY", tk_try},        {"CATCH", tk_handler},
    {"WHILE", tk_while},    {"UNTIL", tk_until},
    {"END", tk_end},        {"CHOOSE", tk_select},
    {"EVENT", tk_sub},      {"SELECT", tk_sql},
    {"INSERT", tk_sql},     {"DELETE", tk_sql},
    {"UPDATE", tk_sql},     {"DECLARE", tk_sql},
    {"FETCH", tk_sql},      {"OPEN", tk_sql},
    {"CLOSE", tk_close},    {"COMMIT", tk_sql},
    {"CONNECT", tk_sql},    {"DISCONNECT", tk_sql},
    {"EXECUTE", tk_sql},    {"ROLLBACK", tk_sql},
    {"SELECTBLOB", tk_sql}, {"UPDATEBLOB", tk_sql},
}};

using act = line_action;
using vb = Tvbsparser;
using pb = Tpbsparser;

constexpr line_rule pb_rules[] = {
    {pb::tk_bad_bracket, act::pass},
    {pb::tk_bad_brace, act::pass},
    {tk_exit, act::jump, "<exit/>"},  // HALT
    {tk_call, act::code},
    {tk_post, act::code},
    {tk_destroy, act::code},
    {tk_constant, act::code},
    // Embedded SQL statements run over lines up to their ";".
    {tk_sql, act::sql},
    {tk_close, act::sql},
    {vb::tk_choose_case, act::selection},
};

// Headers end at their line end; the one-line IF's ELSE becomes the ";" separator; only
// LOOP WHILE and LOOP UNTIL close a DO.
constexpr line_dialect pb_dialect{
    .rules = pb_rules,
    .changes = {},
    .entry_passes_separator = false,
    .statement_skip = 7,
    .header_skip = 8,
    .for_close_skip = Tvbsparser::token_only,
    .select_skip = 8,
    .case_skip = 8,
    .else_separator = ';',
    .else_separator_kind = tk_semicolon,
    .plain_loop_closes_do = false,
};

}  // namespace

Tpbsparser::Tpbsparser() : Tvbsparser(pb_keywords, pb_dialect) {}

void Tpbsparser::scan_raw() {
    const char c = at(token_pos);
    token_len = 1;
    switch (c) {
        case '\001':
            scan_eof();
            return;
        case ' ':
        case '\t':
            scan_blanks();
            return;
        case '&':
            scan_continuation();
            return;
        case '\r':
        case '\n':
            scan_newline();
            return;
        case '+':
            scan_operator(tk_plus, {{'=', tk_plus_assign}, {'+', tk_increment}});
            return;
        case '-':
            scan_operator(tk_dash, {{'=', tk_minus_assign}, {'-', tk_decrement}});
            return;
        case '*':
            scan_operator(tk_star, {{'=', tk_star_assign}});
            return;
        case '^':
            scan_operator(tk_caret, {{'=', tk_caret_assign}});
            return;
        case '/':
            scan_slash();
            return;
        case ',':
            kind = tk_comma;
            return;
        case '.':
            kind = tk_dot;
            return;
        case ';':
            kind = tk_semicolon;
            return;
        case ':':
            kind = tk_colon;
            return;
        case '=':
            kind = tk_equal;
            return;
        case '>':
            scan_operator(tk_greater, {{'=', tk_greater_equal}});
            return;
        case '<':
            scan_operator(tk_less, {{'=', tk_less_equal}, {'>', tk_not_equal}});
            return;
        case '[':
            scan_group(token_pos, token_pos, ']', tk_brackets, tk_bad_bracket, 18);
            return;
        case '{':
            scan_group(token_pos, token_pos, '}', tk_braces, tk_bad_brace, 20);
            return;
        case '(':
            scan_parens();
            return;
        case '"':
        case '\'':
            scan_string(true);
            return;
        default:
            break;
    }
    if (is_digit(c)) {
        scan_number();
    } else if (is_word_start(c)) {
        scan_pb_word();
    } else {
        scan_bad_char();
    }
}

bool Tpbsparser::is_word_start(char c) const {
    return is_letter(c) || c == '_';
}

bool Tpbsparser::is_word_continuation(char c) const {
    return is_letter(c) || is_digit(c) || c == '#' || c == '$' || c == '%' || c == '-' ||
           c == '.' || c == ':' || c == '_';
}

// An array element ("a[i]", "a[i].b") is one word with its index group.
void Tpbsparser::scan_pb_word() {
    scan_word(true);
    if (kind == tk_label) return;
    const std::int32_t open = token_pos + token_len;
    if (at(open) == '[') {
        scan_group(token_pos, open, ']', tk_word, tk_bad_bracket, 18);
        if (kind == tk_word && at(token_pos + token_len) == '.') ++token_len;
        return;
    }
    lookup_keyword();
}

// An operator of one character, or of two when a listed second character follows.
void Tpbsparser::scan_operator(token_kind alone,
                               std::initializer_list<std::pair<char, token_kind>> pairs) {
    for (const auto& [second, pair_kind] : pairs) {
        if (at(token_pos + 1) == second) {
            kind = pair_kind;
            token_len = 2;
            return;
        }
    }
    kind = alone;
    token_len = 1;
}

void Tpbsparser::scan_slash() {
    const char next = at(token_pos + 1);
    if (next == '*') {
        std::int32_t pos = token_pos + 2;
        while (!(at(pos) == '*' && at(pos + 1) == '/') && at(pos) != '\001') ++pos;
        if (at(pos) == '\001') {
            kind = tk_bad_comment;
            token_len = pos - token_pos;
            set_error(14);
        } else {
            kind = tk_comment;
            token_len = pos + 2 - token_pos;
        }
    } else if (next == '/') {
        const std::int32_t end = line_end(token_pos);
        token_len = end - token_pos;
        // A line comment on the last line without a line break leaves the text without the
        // line end every statement needs.
        if (at(end) == '\001') {
            kind = tk_bad_comment;
            set_error(10);
        } else {
            kind = tk_comment;
        }
    } else {
        scan_operator(tk_slash, {{'=', tk_slash_assign}});
    }
}

void Tpbsparser::scan_number() {
    std::int32_t end = token_pos + 1;
    bool real = false;
    for (;;) {
        if (is_digit(at(end))) {
            ++end;
        } else if (at(end) == '.' && !real) {
            real = true;
            ++end;
        } else {
            break;
        }
    }
    kind = real ? tk_real : tk_integer;
    token_len = end - token_pos;
}

// The whole group is one token, measured by characters; when the measure fails, the token is
// what it left: as a rule the group cut short, else the string or comment that broke it.
void Tpbsparser::scan_parens() {
    const std::int32_t length = match_parens(token_pos);
    if (length > 0) {
        kind = tk_parens;
        token_len = length;
    }
}

// A "[" or "{" group opening at `open` (the token starts at `start`, before it when a word
// carries the group) through `close`. Cut short by a line end, ";" or the end of the text it is a
// `bad` token with `error`; a continuation or comment inside that fails the character check cuts it
// short at that token's end, whose error the lexer has already recorded.
void Tpbsparser::scan_group(std::int32_t start, std::int32_t open, char close, token_kind good,
                            token_kind bad, std::uint8_t error) {
    std::int32_t pos = open + 1;
    for (;;) {
        const char c = at(pos);
        if (c == close) {
            kind = good;
            token_pos = start;
            token_len = pos - start + 1;
            return;
        }
        const bool cut = is_line_break(c) || c == ';' || c == '\001';
        std::int32_t passed = 1;
        if (cut || !check_character(pos, passed)) {
            if (!cut) pos = token_pos + token_len;
            kind = bad;
            token_pos = start;
            token_len = pos - start;
            if (cut) set_error(error);
            return;
        }
        pos += passed;
    }
}

bool Tpbsparser::combines(const raw_token& keyword) const {
    switch (keyword.kind) {
        case tk_halt:
        case tk_case:
        case tk_do:
        case tk_loop:
        case tk_end:
        case tk_select:
            return true;
        default:
            return false;
    }
}

Tpbsparser::combination Tpbsparser::combine_with(const raw_token& keyword, const raw_token& next) {
    switch (keyword.kind) {
        case tk_halt:
            return {tk_exit, next.kind == tk_close ? reach::through_next : reach::keyword};
        case tk_end:
            switch (next.kind) {
                case tk_sub:
                    return {tk_exit, reach::through_next};
                case tk_if:
                    return {tk_endif, reach::through_next};
                case tk_try:
                    return {tk_end_try, reach::through_next};
                case tk_select:
                    if (combined_kind(next) == tk_select) return {tk_endcase, reach::through_next};
                    return {tk_end, reach::keyword};
                default:
                    return {tk_end, reach::keyword};
            }
        case tk_select:  // CHOOSE
            if (next.kind == tk_case && combined_kind(next) == tk_case) {
                return {tk_choose_case, reach::through_next};
            }
            return {tk_select, reach::keyword};
        default:
            return combine_block_keyword(keyword, next);
    }
}

}  // namespace tarnwell
