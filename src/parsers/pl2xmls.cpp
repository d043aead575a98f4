#include "parsers/pl2xmls.h"

#include <array>
#include <cctype>
#include <string>

namespace tarnwell {

namespace {

constexpr token_kind tk_lparen = 27;
constexpr token_kind tk_rparen = 28;
// "<", and a "<<" that opens no label.
constexpr token_kind tk_less = 37;
// A WHEN of an exception part, read as the IF of the handler chain.
constexpr token_kind tk_handler_when = 96;

constexpr std::uint8_t err_end_if = 9;
// The CASE of END CASE.
constexpr std::uint8_t err_end_case = 12;
constexpr std::uint8_t err_loop = 15;
constexpr std::uint8_t err_end = 29;
constexpr std::uint8_t err_syntax = 32;
constexpr std::uint8_t err_semicolon = 33;

constexpr std::array<keyword_entry, 19> plsql_keywords{{
    {"BEGIN", tk_begin},   {"END", tk_end},     {"EXCEPTION", tk_handler}, {"IF", tk_if},
    {"THEN", tk_then},     {"ELSE", tk_else},   {"ELSIF", tk_elseif},      {"LOOP", tk_loop},
    {"EXIT", tk_break},    {"WHEN", tk_when},   {"WHILE", tk_while},       {"FOR", tk_for},
    {"FORALL", tk_forall}, {"RAISE", tk_raise}, {"RETURN", tk_return},     {"GOTO", tk_goto},
    {"DELETE", tk_sql},    {"UPDATE", tk_sql},  {"INSERT", tk_sql},
}};

bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool continues_plsql_word(char c) {
    return is_letter(c) || (c >= '0' && c <= '9') || c == '_' || c == '#' || c == '$' || c == '.';
}

bool is_space(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool is_line_end(char c) {
    return c == '\n' || c == '\r' || c == '\001';
}

// Where a label's name stops: the label is complete when ">>" stands there.
bool ends_label_name(char c) {
    return is_line_end(c) || c == '>';
}

// Where a loop body or a branch may end.
bool ends_body(token_kind k) {
    return k == tk_semicolon || k == tk_else || k == tk_end || k == tk_elseif;
}

bool ends_branch(token_kind k) {
    return k == tk_else || k == tk_end || k == tk_elseif;
}

}  // namespace

void sql_family_parser::scan() {
    tsparser::scan();
    if (!scan_shared_token()) scan_dialect_token(at(token_pos));
}

bool sql_family_parser::scan_shared_token() {
    const char c = at(token_pos);
    const char next = at(token_pos + 1);
    token_len = 1;
    switch (c) {
        case '\001':
            kind = tk_eof;
            set_error(err_unexpected_eof);
            return true;
        case '\t':
        case '\n':
        case '\r':
        case ' ':
            while (is_space(at(token_pos + token_len))) ++token_len;
            kind = tk_space;
            return true;
        case '"':
        case '\'':
            scan_string();
            return true;
        case '-':
            if (next == '-') {
                while (!is_line_end(at(token_pos + token_len))) ++token_len;
                kind = tk_comment;
            } else {
                kind = tk_minus;
            }
            return true;
        case '/':
            if (next == '*') {
                scan_block_comment();
            } else {
                kind = tk_slash;
            }
            return true;
        default:
            return false;
    }
}

bool sql_family_parser::token_is(std::string_view upper) const {
    if (token_len != static_cast<std::int32_t>(upper.size())) return false;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const char c = at(token_pos + static_cast<std::int32_t>(i));
        if (std::toupper(static_cast<unsigned char>(c)) != upper[i]) return false;
    }
    return true;
}

void sql_family_parser::scan_bad_char() {
    kind = tk_bad_char;
    token_len = 1;
    set_error(err_syntax);
}

// A string may span lines; a doubled quote stands for one quote character.
void sql_family_parser::scan_string() {
    const char quote = at(token_pos);
    std::int32_t pos = token_pos + 1;
    for (;;) {
        const char c = at(pos);
        if (c == '\001') {
            kind = tk_bad_string;
            token_len = pos - token_pos;
            set_error(17);
            return;
        }
        if (c == quote) {
            if (at(pos + 1) != quote) break;
            ++pos;
        }
        ++pos;
    }
    kind = tk_string;
    token_len = pos - token_pos + 1;
}

void sql_family_parser::scan_block_comment() {
    std::int32_t pos = token_pos + 2;
    while (at(pos) != '\001' && !(at(pos) == '*' && at(pos + 1) == '/')) ++pos;
    if (at(pos) == '\001') {
        kind = tk_bad_comment;
        token_len = pos - token_pos;
        set_error(14);
        return;
    }
    kind = tk_comment;
    token_len = pos + 2 - token_pos;
}

Tplsparser::Tplsparser() : sql_family_parser(plsql_keywords) {}

void Tplsparser::scan_dialect_token(char c) {
    if (is_letter(c)) {
        kind = tk_word;
        token_len = word_length(token_pos, continues_plsql_word);
        lookup_keyword();
        return;
    }
    switch (c) {
        case '(':
            kind = tk_lparen;
            return;
        case ')':
            kind = tk_rparen;
            return;
        case ';':
            kind = tk_semicolon;
            return;
        case '<':
            scan_label();
            return;
        default:
            scan_bad_char();
            return;
    }
}

// "<<name>>" is a label. The name is read up to the next line end or ">"; when no ">>"
// stands there, the "<<" is an operator, and so is every other "<<" up to that point, which
// is measured at once so that a long run of them is read in one pass.
void Tplsparser::scan_label() {
    kind = tk_less;
    token_len = 1;
    if (at(token_pos + 1) != '<' || recall_token()) return;
    const std::int32_t start = token_pos;
    std::int32_t stop = start + 2;
    while (!ends_label_name(at(stop))) ++stop;
    if (at(stop) == '>' && at(stop + 1) == '>') {
        kind = tk_label;
        token_len = stop + 2 - start;
        return;
    }
    for (std::int32_t pos = start + 2; pos < stop; ++pos) {
        if (at(pos) == '<' && at(pos + 1) == '<') remember_measured(pos, 2, tk_less);
    }
    token_pos = start;
    kind = tk_less;
    token_len = 2;
}

// Every sequence is a block: it ends at END, ELSE, ELSIF, a WHEN of a handler chain or the
// end of the text, and the structure that called it checks which.
bool Tplsparser::parse_statements(bool) {
    nesting_guard guard(*this);
    whole_range("<statement>");
    int depth = 0;
    pending_code code;
    for (;;) {
        switch (kind) {
            case tk_bad_char:
            case tk_bad_comment:
            case tk_bad_string:
            case tk_space:
            case tk_comment:
            case tk_semicolon:
                advance();
                break;
            case tk_eof:
            case tk_else:
            case tk_elseif:
                return close_sequence(code);
            case tk_when:
                // Another handler of an exception part closes the one before it.
                close_sequence(code);
                kind = tk_elseif;
                return true;
            case tk_end:
                if (depth > 0) {
                    // "END name;" names the block it closes.
                    if (advance() == tk_word) advance();
                    --depth;
                    break;
                }
                return close_sequence(code);
            case tk_begin:
                advance();
                ++depth;
                break;
            case tk_word:
                if (token_is("CASE")) {
                    if (!selection(code)) return false;
                    break;
                }
                if (token_is("FOREACH")) {
                    // PL/pgSQL's loop over the elements of an array.
                    if (!loop_with_header(code, "<for>", "</for>")) return false;
                    break;
                }
                if (token_is("CONTINUE")) {
                    if (!exit_statement(code, "<continue/>")) return false;
                    break;
                }
                [[fallthrough]];
            case tk_raise:
            case tk_sql:
                // DELETE, UPDATE and INSERT are plain statements like any other.
                open_code(code);
                code.end = statement_end();
                if (code.end == 0) return false;
                break;
            case tk_return:
                if (!write_jump(code, "<return/>", 0)) return false;
                break;
            case tk_goto:
                if (!write_jump(code, "<goto/>", 0)) return false;
                break;
            case tk_label:
                write_label(code);
                break;
            case tk_break:
                if (!exit_statement(code, "<break/>")) return false;
                break;
            case tk_handler:
                if (!exception_part(code)) return false;
                if (depth == 0) {
                    // The marked text may end inside the exception part, before the END of
                    // its block.
                    if (kind == tk_eof) {
                        whole_range("</statement>");
                        return true;
                    }
                    open_range("</statement>");
                    return close_by_skip(0);
                }
                advance();
                if (skip_until(0) == 0) return false;
                --depth;
                break;
            case tk_if:
            case tk_handler_when:
                if (!conditional(code)) return false;
                break;
            case tk_for:
                if (!loop_with_header(code, "<for>", "</for>")) return false;
                break;
            case tk_while:
                if (!loop_with_header(code, "<whiledo>", "</whiledo>")) return false;
                break;
            case tk_loop:
                if (!plain_loop(code)) return false;
                break;
            case tk_forall:
                if (!forall(code)) return false;
                break;
            default:
                set_error(err_in_statement);
                advance();
                break;
        }
    }
}

// A plain statement ends with its ";"; the header of a routine without declarations
// ("FUNCTION f RETURN NUMBER IS") has none and ends before the BEGIN of the routine's body.
std::int32_t Tplsparser::statement_end() {
    std::int32_t last = token_end();
    while (kind != tk_semicolon && kind != tk_begin) {
        if (kind == tk_eof) {
            set_error(err_semicolon);
            return 0;
        }
        last = token_end();
        advance();
    }
    return kind == tk_semicolon ? token_end() : last;
}

// EXIT leaves the loop, or the loop its label names, and CONTINUE starts its next round;
// EXIT WHEN and CONTINUE WHEN are conditionals that hold the jump.
bool Tplsparser::exit_statement(pending_code& code, std::string_view tag) {
    flush(code);
    const std::int32_t start = token_pos;
    std::int32_t end = token_end();
    if (advance() == tk_word) {
        end = token_end();
        advance();
    }
    const std::string range = std::to_string(start) + "-" + std::to_string(end);
    if (kind != tk_when) {
        output += std::string(tag) + range;
        return true;
    }
    open_range("<if>");
    if (!close_by_skip(0)) return false;
    output += "<statement>" + range + std::string(tag) + range + "</statement>" + range;
    whole_range("</if>");
    return true;
}

// IF ... THEN with its ELSIF and ELSE branches up to END IF; or the chain of handlers of an
// exception part, where each WHEN after the first reads as an ELSIF and the END of the block
// closes the chain.
bool Tplsparser::conditional(pending_code& code) {
    const bool handler_chain = kind == tk_handler_when;
    flush(code);
    open_range("<if>");
    if (!close_by_skip(1)) return false;
    advance();
    if (!branch(handler_chain)) return false;
    int elsifs = 0;
    while (kind == tk_elseif) {
        ++elsifs;
        // Written from the third character of the keyword on, as the chart has always shown it.
        const std::string from = std::to_string(token_pos + 3);
        output += "<statement>" + from + "-" + std::to_string(token_pos + 5) + "<if>" + from + "-";
        if (!close_by_skip(1)) return false;
        advance();
        if (!branch(handler_chain)) return false;
    }
    if (kind == tk_else) {
        advance();
        if (!parse_statements(false)) return false;
        if (kind != tk_end) {
            set_error(err_end_if);
            return false;
        }
    }
    if (!handler_chain && advance() != tk_if) {
        set_error(err_end_if);
        return false;
    }
    for (int i = 0; i < elsifs; ++i) {
        whole_range("</if>");
        whole_range("</statement>");
    }
    whole_range("</if>");
    if (!handler_chain) advance();
    return true;
}

bool Tplsparser::branch(bool handler) {
    if (!parse_statements(false)) return false;
    if (ends_branch(kind) || (handler && kind == tk_eof)) return true;
    set_error(err_end_if);
    return false;
}

// CASE with its WHEN branches and an ELSE up to END CASE, a selection: "CASE x WHEN 1
// THEN" compares x, "CASE WHEN x > 1 THEN" tests each condition. A CASE inside an expression
// is part of its statement and never comes here.
bool Tplsparser::selection(pending_code& code) {
    flush(code);
    open_range("<switch>");
    std::int32_t end = token_end();
    while (advance() != tk_when) {
        if (!not_at_end()) {
            set_error(err_in_statement);
            return false;
        }
        end = token_end();
    }
    append_position(end);
    // A branch that ends at the next WHEN gives that WHEN back as an ELSIF.
    while (kind == tk_when || kind == tk_elseif) {
        open_range("<case/>");
        if (!close_by_skip(1)) return false;
        advance();
        if (!parse_statements(false)) return false;
    }
    if (kind == tk_else) {
        whole_range("<else/>");
        advance();
        if (!parse_statements(false)) return false;
    }
    if (kind != tk_end || advance() != tk_word || !token_is("CASE")) {
        set_error(err_end_case);
        return false;
    }
    whole_range("</switch>");
    advance();
    return true;
}

// FOR ... LOOP and WHILE ... LOOP, closed by END LOOP.
bool Tplsparser::loop_with_header(pending_code& code, std::string_view open,
                                  std::string_view close) {
    flush(code);
    open_range(open);
    if (!close_by_skip(13)) return false;
    advance();
    return loop_body(err_end, close);
}

// LOOP ... END LOOP: a loop left from inside, by EXIT.
bool Tplsparser::plain_loop(pending_code& code) {
    flush(code);
    whole_range("<dountil>");
    advance();
    return loop_body(err_semicolon, "</dountil>");
}

bool Tplsparser::loop_body(std::uint8_t error, std::string_view close) {
    if (!parse_statements(false)) return false;
    if (!ends_body(kind)) {
        set_error(error);
        return false;
    }
    if (advance() != tk_loop) {
        set_error(err_loop);
        return false;
    }
    whole_range(close);
    // "END LOOP outer;" names the loop it closes.
    if (advance() == tk_word) advance();
    return true;
}

// FORALL ... followed by the one DELETE, UPDATE or INSERT it repeats.
bool Tplsparser::forall(pending_code& code) {
    flush(code);
    open_range("<for>");
    if (!close_by_skip(14)) return false;
    whole_range("<statement>");
    open_range("<code/>");
    if (!close_by_skip(0)) return false;
    whole_range("</statement>");
    whole_range("</for>");
    return true;
}

// EXCEPTION and its handlers, up to the END of the block; the caller deals with that END.
bool Tplsparser::exception_part(pending_code& code) {
    flush(code);
    whole_range("<except>");
    while (advance() != tk_when && kind != tk_end && kind != tk_eof) {
    }
    if (kind == tk_when) {
        kind = tk_handler_when;
        if (!parse_statements(false)) return false;
    }
    whole_range("</except>");
    return true;
}

}  // namespace tarnwell
