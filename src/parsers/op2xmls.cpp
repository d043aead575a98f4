#include "parsers/op2xmls.h"

#include <array>
#include <cctype>

namespace tarnwell {

namespace {

// Token kinds only this lexer produces: it splits operators and literals into tokens.
constexpr token_kind tk_bad_char = 14;
constexpr token_kind tk_bad_charlit = 16;
constexpr token_kind tk_open_string = 17;
constexpr token_kind tk_comma = 24;
constexpr token_kind tk_dot = 25;
constexpr token_kind tk_lparen = 27;
constexpr token_kind tk_rparen = 28;
constexpr token_kind tk_lbracket = 29;
constexpr token_kind tk_rbracket = 30;
constexpr token_kind tk_assign = 31;
constexpr token_kind tk_equal = 32;
constexpr token_kind tk_not_equal = 33;
constexpr token_kind tk_greater = 34;
constexpr token_kind tk_greater_equal = 35;
constexpr token_kind tk_less = 36;
constexpr token_kind tk_less_equal = 37;
constexpr token_kind tk_plus = 38;
constexpr token_kind tk_minus = 39;
constexpr token_kind tk_slash = 40;
constexpr token_kind tk_star = 41;
constexpr token_kind tk_integer = 42;
constexpr token_kind tk_real = 43;
constexpr token_kind tk_charlit = 45;
constexpr token_kind tk_hex = 46;

constexpr std::uint8_t err_syntax = 32;
constexpr std::uint8_t err_semicolon = 33;

constexpr std::array<keyword_entry, 23> pascal_keywords{{
    {"CASE", tk_case},         {"OF", tk_of},         {"IF", tk_if},
    {"THEN", tk_then},         {"ELSE", tk_else},     {"FOR", tk_for},
    {"WHILE", tk_while},       {"DO", tk_do},         {"LABEL", tk_label},
    {"GOTO", tk_goto},         {"TRY", tk_try},       {"FINALLY", tk_finally},
    {"EXCEPT", tk_handler},    {"REPEAT", tk_repeat}, {"UNTIL", tk_until},
    {"WITH", tk_with},         {"ON", tk_on},         {"BREAK", tk_break},
    {"CONTINUE", tk_continue}, {"BEGIN", tk_begin},   {"END", tk_end},
    {"EXIT", tk_exit},         {"END.", tk_end_dot},
}};

bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_hex_digit(char c) {
    return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// "@x" is a word; "a.b.c" and "END." are single words.
bool is_word_start(char c) {
    return is_letter(c) || c == '_' || c == '@';
}

bool is_word_continuation(char c) {
    return is_letter(c) || is_digit(c) || c == '_' || c == '.';
}

bool is_space(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool is_line_end(char c) {
    return c == '\n' || c == '\r' || c == '\001';
}

// Where a statement ends: a structure's body or branch as well as a plain statement.
bool ends_statement(token_kind k) {
    return k == tk_semicolon || k == tk_else || k == tk_end || k == tk_end_dot || k == tk_until ||
           k == tk_handler || k == tk_finally;
}

// The marked text may stop after a statement's last token, before its ";" or END: the end of
// the text ends the statement and every structure around it.
bool ends_statement_or_text(token_kind k) {
    return ends_statement(k) || k == tk_eof;
}

bool is_identifier_character(char c) {
    return is_letter(c) || is_digit(c) || c == '_' || c == '@' || c == '.' || c == '$' || c == '%';
}

bool is_word_at(std::string_view text, std::size_t index, std::string_view word) {
    if (index + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[index + i])) != word[i]) return false;
    }
    const bool starts = index == 0 || !is_identifier_character(text[index - 1]);
    const bool ends =
        index + word.size() == text.size() || !is_identifier_character(text[index + word.size()]);
    return starts && ends;
}

}  // namespace

Topsparser::Topsparser() : tsparser(pascal_keywords) {}

void Topsparser::scan() {
    tsparser::scan();
    const char c = at(token_pos);
    token_len = 1;
    if (is_word_start(c)) {
        scan_word();
        return;
    }
    if (is_digit(c)) {
        scan_number();
        return;
    }
    const char next = at(token_pos + 1);
    switch (c) {
        case '\001':
            kind = tk_eof;
            set_error(err_unexpected_eof);
            return;
        case '\t':
        case '\n':
        case '\r':
        case ' ':
            while (is_space(at(token_pos + token_len))) ++token_len;
            kind = tk_space;
            return;
        case '$':
            while (is_hex_digit(at(token_pos + token_len))) ++token_len;
            kind = tk_hex;
            return;
        case '\'':
            scan_string();
            return;
        case '#':
            scan_char_literal();
            return;
        case '=':
            kind = tk_equal;
            return;
        case '>':
            kind = next == '=' ? tk_greater_equal : tk_greater;
            token_len = next == '=' ? 2 : 1;
            return;
        case '<':
            kind = next == '=' ? tk_less_equal : next == '>' ? tk_not_equal : tk_less;
            token_len = kind == tk_less ? 1 : 2;
            return;
        case '(':
            if (next == '*') {
                scan_comment_to("*)", token_pos + 2);
            } else {
                kind = tk_lparen;
            }
            return;
        case ')':
            kind = tk_rparen;
            return;
        case '[':
            kind = tk_lbracket;
            return;
        case ']':
            kind = tk_rbracket;
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
            kind = next == '=' ? tk_assign : tk_colon;
            token_len = next == '=' ? 2 : 1;
            return;
        case '+':
            kind = tk_plus;
            return;
        case '-':
            kind = tk_minus;
            return;
        case '*':
            kind = tk_star;
            return;
        case '/':
            if (next == '/') {
                scan_line_comment();
            } else {
                kind = tk_slash;
            }
            return;
        case '{':
            scan_comment_to("}", token_pos + 1);
            return;
        default:
            kind = tk_bad_char;
            set_error(err_syntax);
            return;
    }
}

void Topsparser::scan_word() {
    kind = tk_word;
    token_len = word_length(token_pos, is_word_continuation);
    if (token_len == 3 && is_word_at(text, static_cast<std::size_t>(token_pos) - 1, "ASM")) {
        scan_assembler_block();
        return;
    }
    if (lookup_keyword()) {
        if (kind == tk_with) scan_with_clause();
        return;
    }
    const std::int32_t start = token_pos;
    const std::int32_t len = token_len;
    if (colon_follows(start + len)) {
        kind = tk_label;
        token_len = token_pos - start + 1;
    } else {
        kind = tk_word;
        token_len = len;
    }
    token_pos = start;
}

// "ASM ... END" holds assembler, not Pascal: the block through its END is one plain word, so
// it charts as one statement and its END closes nothing. Comments in the assembler may hold
// an "end"; without an END before the end of the text ASM stays an ordinary word.
void Topsparser::scan_assembler_block() {
    const std::string_view source(text);
    std::size_t index = static_cast<std::size_t>(token_pos) - 1 + 3;
    const std::size_t last = static_cast<std::size_t>(text_size) - 1;
    while (index < last) {
        const char c = source[index];
        std::size_t close = std::string_view::npos;
        if (c == '{') {
            close = source.find('}', index + 1);
        } else if (c == '(' && source[index + 1] == '*') {
            close = source.find("*)", index + 2);
            if (close != std::string_view::npos) ++close;
        } else if (c == '/' && source[index + 1] == '/') {
            close = source.find_first_of("\r\n\001", index + 2);
        } else if (is_word_at(source, index, "END")) {
            token_len = static_cast<std::int32_t>(index + 3) - token_pos + 1;
            return;
        } else {
            ++index;
            continue;
        }
        if (close == std::string_view::npos || close >= last) return;
        index = close + 1;
    }
}

// Digits with at most one "."; "10:" (but not "10:=") is a numeric label.
void Topsparser::scan_number() {
    std::int32_t end = token_pos;
    while (is_digit(at(end))) ++end;
    kind = tk_integer;
    if (at(end) == '.') {
        kind = tk_real;
        ++end;
        while (is_digit(at(end))) ++end;
    }
    if (at(end) == ':' && at(end + 1) != '=') {
        kind = tk_label;
        ++end;
    }
    token_len = end - token_pos;
}

// A string may not span lines: a line end or the end of the text stops it, and the token
// then includes the stopping character.
void Topsparser::scan_string() {
    std::int32_t pos = token_pos + 1;
    while (at(pos) != '\'' && !is_line_end(at(pos))) ++pos;
    token_len = pos - token_pos + 1;
    if (at(pos) == '\'') {
        kind = tk_string;
    } else {
        kind = tk_open_string;
        set_error(17);
    }
}

// "#13" or "#$0D"; a letter or "_" glued to the digits makes it malformed.
void Topsparser::scan_char_literal() {
    std::int32_t end = token_pos + 1;
    bool malformed;
    if (at(end) == '$') {
        ++end;
        while (is_letter(at(end)) || is_digit(at(end))) ++end;
        malformed = at(end) == '_';
    } else {
        while (is_digit(at(end))) ++end;
        malformed = is_letter(at(end)) || at(end) == '_';
    }
    if (malformed) {
        kind = tk_bad_charlit;
        token_len = end - token_pos + 1;
        set_error(err_syntax);
        return;
    }
    kind = tk_charlit;
    token_len = end - token_pos;
}

void Topsparser::scan_comment_to(std::string_view close, std::int32_t from) {
    for (std::int32_t pos = from;; ++pos) {
        if (at(pos) == '\001') {
            kind = tk_bad_comment;
            token_len = pos - token_pos;
            set_error(err_syntax);
            return;
        }
        if (at(pos) == close.front() && (close.size() == 1 || at(pos + 1) == close.back())) {
            kind = tk_comment;
            token_len = pos + static_cast<std::int32_t>(close.size()) - token_pos;
            return;
        }
    }
}

void Topsparser::scan_line_comment() {
    std::int32_t end = token_pos + 2;
    while (!is_line_end(at(end))) ++end;
    kind = tk_comment;
    token_len = end - token_pos;
}

// A word followed by ":" is a label. The token after it decides, and only a WITH clause can
// change which token that is (the clause reads as white space); other words are never a ":",
// so the look-ahead steps over them without their own look-ahead and never nests. The
// cursor is left at the last token looked at.
bool Topsparser::colon_follows(std::int32_t pos) {
    for (;;) {
        if (is_word_start(at(pos))) {
            if (keyword_at(pos, word_length(pos, is_word_continuation)) != tk_with) return false;
            scan_with_clause();
            if (kind != tk_space) return false;
        } else {
            token_pos = pos;
            scan();
            if (kind != tk_space && kind != tk_comment) return kind == tk_colon;
        }
        pos = token_pos + token_len;
    }
}

// "WITH r DO" reads as one white-space token from WITH through DO, so the statement after it
// simply continues the sequence; without a DO before the end of the text WITH stays a keyword.
void Topsparser::scan_with_clause() {
    scan_keyword_pair(tk_do, tk_space, is_word_start, is_word_continuation);
}

bool Topsparser::parse_statements(bool block) {
    nesting_guard guard(*this);
    bool single = false;
    // A TRY that is the one statement of a branch or a loop body makes the sequence a block
    // that the END of that try statement closes. `open_tries` counts the try statements of
    // such a block whose handler or finally part is still to come, that first one included.
    int open_tries = 0;
    if (!block) {
        if (kind == tk_try) {
            open_tries = 1;
            advance();
        } else if (kind == tk_handler || kind == tk_space || kind == tk_begin) {
            advance();
        } else {
            single = true;
        }
    }
    whole_range("<statement>");
    int depth = 0;
    bool charted = false;
    pending_code code;
    for (;;) {
        // A single statement ends where a plain statement would, also after a structure.
        if (single && ends_statement(kind)) return close_sequence(code);
        charted = charted || (kind != tk_space && kind != tk_comment && kind != tk_eof);
        switch (kind) {
            case tk_bad_char:
            case tk_bad_comment:
            case tk_space:
            case tk_comment:
            case tk_semicolon:
            case tk_else:
                advance();
                break;
            case tk_try:
                // A try statement leaves no item: its protected part stays in this sequence.
                if (open_tries > 0) ++open_tries;
                advance();
                break;
            case tk_until:
                return close_sequence(code);
            case tk_end:
            case tk_end_dot:
                if (depth > 0) {
                    advance();
                    --depth;
                    break;
                }
                close_sequence(code);
                advance();
                return true;
            case tk_eof:
                if (single && !charted) {
                    set_error(err_in_statement);
                    close_sequence(code);
                    return false;
                }
                return close_sequence(code);
            case tk_begin:
                advance();
                ++depth;
                break;
            case tk_finally:
                // The finally part's statements stay in this sequence and its END closes a
                // depth, unless the try statement is the one this block stands for.
                advance();
                if (open_tries > 0 && --open_tries == 0 && depth == 0) break;
                ++depth;
                break;
            case tk_exit:
                if (!jump(code, "<exit/>")) return false;
                break;
            case tk_break:
                if (!jump(code, "<break/>")) return false;
                break;
            case tk_continue:
                if (!jump(code, "<continue/>")) return false;
                break;
            case tk_label:
                write_label(code);
                break;
            case tk_goto:
                if (!write_jump(code, "<goto/>", 5)) return false;
                break;
            case tk_on:
            case tk_with:
                flush(code);
                if (skip_until(2) == 0) return false;
                advance();
                break;
            case tk_word:
                open_code(code);
                code.end = statement_end();
                break;
            case tk_handler:
                if (!handler(code)) return false;
                if (open_tries > 0 && --open_tries == 0 && depth == 0) {
                    return close_sequence(code);
                }
                break;
            case tk_if:
                if (!conditional(code)) return false;
                break;
            case tk_for:
                if (!loop_tested_before(code, "<for>") || !body_ended()) return false;
                whole_range("</for>");
                break;
            case tk_while:
                // Closed over whatever token ends the body, checked after.
                if (!loop_tested_before(code, "<whiledo>")) return false;
                whole_range("</whiledo>");
                if (!body_ended()) return false;
                break;
            case tk_repeat:
                if (!loop_tested_after(code)) return false;
                break;
            case tk_case:
                if (!selection(code)) return false;
                break;
            default:
                set_error(err_in_statement);
                advance();
                break;
        }
    }
}

bool Topsparser::body_ended() {
    if (ends_statement_or_text(kind)) return true;
    set_error(err_semicolon);
    return false;
}

// EXIT, BREAK and CONTINUE; "Exit(Result)" hands a value back, and the value belongs to the
// jump rather than starting a statement of its own.
bool Topsparser::jump(pending_code& code, std::string_view tag) {
    flush(code);
    open_range(tag);
    std::int32_t end = token_end();
    if (advance() == tk_lparen) {
        int depth = 0;
        do {
            if (ends_statement_or_text(kind)) break;
            if (kind == tk_lparen) ++depth;
            if (kind == tk_rparen) --depth;
            end = token_end();
            advance();
        } while (depth > 0);
    }
    append_position(end);
    return true;
}

bool Topsparser::conditional(pending_code& code) {
    flush(code);
    open_range("<if>");
    if (!close_by_skip(1)) return false;
    advance();
    if (!parse_statements(false) || !body_ended()) return false;
    if (kind == tk_else) {
        advance();
        if (!parse_statements(false) || !body_ended()) return false;
    }
    whole_range("</if>");
    return true;
}

// FOR and WHILE: the header through DO, then the body.
bool Topsparser::loop_tested_before(pending_code& code, std::string_view open) {
    flush(code);
    open_range(open);
    if (!close_by_skip(2)) return false;
    advance();
    return parse_statements(false);
}

// REPEAT ... UNTIL: the body is a block that UNTIL closes.
bool Topsparser::loop_tested_after(pending_code& code) {
    flush(code);
    whole_range("<dountil>");
    kind = tk_begin;
    if (!parse_statements(false)) return false;
    if (kind != tk_until) {
        set_error(4);
        return false;
    }
    open_range("</dountil>");
    advance();
    append_position(statement_end());
    return true;
}

// The character before the token that ends the statement at the current token.
std::int32_t Topsparser::statement_end() {
    while (!ends_statement_or_text(kind)) advance();
    return token_pos - 1;
}

// CASE ... OF with its branches; an ELSE branch runs up to the END of the selection.
bool Topsparser::selection(pending_code& code) {
    flush(code);
    open_range("<switch>");
    if (!close_by_skip(3)) return false;
    advance();
    if (!selection_branch()) return false;
    bool default_branch = false;
    while (kind != tk_end) {
        if (kind == tk_else) {
            whole_range("<else/>");
            kind = tk_begin;
            if (!parse_statements(false)) return false;
            default_branch = true;
            break;
        }
        if (!selection_branch()) return false;
    }
    if (!default_branch) advance();
    whole_range("</switch>");
    return body_ended();
}

bool Topsparser::selection_branch() {
    open_range("<case/>");
    if (!close_by_skip(4)) return false;
    advance();
    if (!parse_statements(false)) return false;
    if (kind != tk_semicolon && kind != tk_else && kind != tk_end) {
        set_error(err_semicolon);
        return false;
    }
    if (kind == tk_semicolon) advance();
    return true;
}

// EXCEPT: the handler block runs to the END of the try statement.
bool Topsparser::handler(pending_code& code) {
    flush(code);
    whole_range("<except>");
    if (!parse_statements(false) || !body_ended()) return false;
    whole_range("</except>");
    return true;
}

}  // namespace tarnwell
