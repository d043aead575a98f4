#include "parsers/cpp2xmls.h"

#include <array>
#include <vector>

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 19> cpp_keywords{{
    {"RETURN", tk_return},     {"ABORT", tk_exit},
    {"EXIT", tk_exit},         {"TRY", tk_try},
    {"__TRY", tk_try},         {"CATCH", tk_handler},
    {"__EXCEPT", tk_handler},  {"__FINALLY", tk_finally},
    {"GOTO", tk_goto},         {"BREAK", tk_break},
    {"CONTINUE", tk_continue}, {"IF", tk_if},
    {"ELSE", tk_else},         {"FOR", tk_for},
    {"WHILE", tk_while},       {"DO", tk_do},
    {"SWITCH", tk_switch},     {"CASE", tk_case},
    {"DEFAULT", tk_default},
}};

constexpr brace_profile cpp_profile{
    .keywords = cpp_keywords,
    // "a->b", "x-1", "n--" and "&x" are single words; "++" is two.
    .word_start = make_byte_set("&*+-_", true),
    .word_continuation = make_byte_set("*-.>_", true, true),
    .scope_token = true,
    .unfinished_comment = tk_bad_comment,
    .statement_start_set = true,
    .case_labels = true,
    .bare_catch = true,
    .elseif_if_offset = 0,
    .silent_kinds = make_kind_set(
        {tk_try, tk_finally, tk_other, tk_bad_literal, tk_space, tk_comment, tk_directive}),
};

// Tokens that end a plain statement which has no ";" before them.
bool starts_statement(token_kind k) {
    switch (k) {
        case tk_handler:
        case tk_default:
        case tk_switch:
        case tk_open_brace:
        case tk_close_brace:
        case tk_case:
        case tk_do:
        case tk_for:
        case tk_if:
        case tk_exit:
        case tk_break:
        case tk_return:
        case tk_continue:
        case tk_label:
        case tk_goto:
            return true;
        default:
            return false;
    }
}

}  // namespace

Tcppsparser::Tcppsparser() : Tcppsparser(cpp_profile) {}

Tcppsparser::Tcppsparser(const brace_profile& profile)
    : tsparser(profile.keywords), profile_(profile) {}

void Tcppsparser::scan() {
    tsparser::scan();
    const char c = at(token_pos);
    if (scan_common(c, white_space, tk_bad_literal, tk_directive)) return;
    if (c == '(') {
        scan_group();
    } else if (c == '/' && at(token_pos + 1) == '*') {
        scan_block_comment();
    } else if (c == '/' && at(token_pos + 1) == '/') {
        scan_line_comment();
    } else if (!scan_punctuation(c)) {
        kind = tk_other;
        token_len = 1;
    }
}

bool Tcppsparser::scan_common(char c, const byte_set& spaces, token_kind unfinished_string,
                              token_kind hash_line) {
    if (c == '\001') {
        scan_eof();
    } else if (spaces[static_cast<unsigned char>(c)]) {
        scan_run(spaces, tk_space);
    } else if (c == '"' || c == '\'') {
        scan_string(unfinished_string);
    } else if (c == '#') {
        scan_to_line_end(hash_line);
    } else if (word_start(c)) {
        scan_word();
    } else {
        return false;
    }
    return true;
}

bool Tcppsparser::scan_punctuation(char c) {
    token_len = 1;
    switch (c) {
        case ':':
            kind = tk_colon;
            if (profile_.scope_token && at(token_pos + 1) == ':') {
                kind = tk_scope;
                token_len = 2;
            }
            return true;
        case ';':
            kind = tk_semicolon;
            return true;
        case '{':
            kind = tk_open_brace;
            return true;
        case '}':
            kind = tk_close_brace;
            return true;
        default:
            return false;
    }
}

bool Tcppsparser::word_starts_at(std::int32_t pos) const {
    return word_start(at(pos));
}

void Tcppsparser::scan_eof() {
    kind = tk_eof;
    token_len = 1;
    set_error(err_unexpected_eof);
}

void Tcppsparser::scan_run(const byte_set& members, token_kind k) {
    std::int32_t end = token_pos + 1;
    while (members[static_cast<unsigned char>(at(end))]) ++end;
    kind = k;
    token_len = end - token_pos;
}

void Tcppsparser::scan_string(token_kind unfinished, bool escapes) {
    const char quote = at(token_pos);
    std::int32_t pos = token_pos + 1;
    for (;;) {
        const char c = at(pos);
        if (c == '\001') {
            kind = unfinished;
            token_len = pos - token_pos;
            set_error(17);
            return;
        }
        if (c == quote) {
            kind = tk_string;
            token_len = pos - token_pos + 1;
            return;
        }
        pos += (escapes && c == '\\' && (at(pos + 1) == '\\' || at(pos + 1) == quote)) ? 2 : 1;
    }
}

std::int32_t Tcppsparser::word_length(std::int32_t pos) const {
    std::int32_t end = pos + 1;
    while (profile_.word_continuation[static_cast<unsigned char>(at(end))]) ++end;
    return end - pos;
}

void Tcppsparser::scan_word() {
    kind = tk_word;
    token_len = word_length(token_pos);
    if (lookup_keyword() || recall_token()) return;
    scan_label_lookahead();
}

// A word is a label when the next significant token is a ":". That token may itself be a word
// whose own look-ahead is still open, and so on: "a b c d ..." would nest one look-ahead per
// word. The chain is followed in a loop instead, and every word of it is remembered, so the
// result, the errors recorded on the way and the order they are recorded in stay those of the
// nested look-aheads.
void Tcppsparser::scan_label_lookahead() {
    struct link {
        std::int32_t pos;
        std::int32_t len;
        std::uint64_t errors_before;
    };
    std::vector<link> chain{{token_pos, token_len, errors_recorded()}};
    bool extended = true;
    while (extended) {
        extended = false;
        token_pos = chain.back().pos + chain.back().len;
        for (;;) {
            if (word_starts_at(token_pos)) {
                kind = tk_word;
                token_len = word_length(token_pos);
                if (!lookup_keyword() && !recall_token()) {
                    chain.push_back({token_pos, token_len, errors_recorded()});
                    extended = true;
                }
                break;
            }
            scan();
            if (kind != tk_space && kind != tk_comment && kind != tk_directive) break;
            token_pos += token_len;
        }
    }
    const bool colon_follows = kind == tk_colon;
    const std::int32_t colon_end = token_end();
    for (std::size_t i = chain.size(); i-- > 0;) {
        token_pos = chain[i].pos;
        if (colon_follows && i + 1 == chain.size()) {
            kind = tk_label;
            token_len = colon_end - token_pos + 1;
        } else {
            kind = tk_word;
            token_len = chain[i].len;
        }
        // A lone word's look-ahead costs one token; only chains are worth remembering.
        if (chain.size() > 1) remember_token(chain[i].errors_before);
    }
}

void Tcppsparser::scan_group() {
    if (recall_token()) return;
    measure_group(token_pos + 1, tk_bad_literal);
}

void Tcppsparser::measure_group(std::int32_t first, token_kind unfinished) {
    const std::uint64_t errors_before = errors_recorded();
    nesting_guard guard(*this);
    const std::int32_t start = token_pos;
    token_pos = first;
    for (;;) {
        scan();
        if (kind == tk_eof) {
            kind = unfinished;
            token_len = token_pos - start;
            token_pos = start;
            set_error(19);
            break;
        }
        if (at(token_pos) == ')') {
            kind = tk_parens;
            token_len = token_pos - start + 1;
            token_pos = start;
            break;
        }
        token_pos += token_len;
    }
    remember_token(errors_before);
}

void Tcppsparser::scan_block_comment() {
    std::int32_t pos = token_pos + 2;
    for (;;) {
        const char c = at(pos);
        if (c == '\001') {
            kind = profile_.unfinished_comment;
            token_len = pos - token_pos;
            set_error(14);
            return;
        }
        if (c == '*' && at(pos + 1) == '/') {
            kind = tk_comment;
            token_len = pos + 2 - token_pos;
            return;
        }
        ++pos;
    }
}

void Tcppsparser::scan_line_comment() {
    std::int32_t pos = token_pos + 2;
    while (!line_end(at(pos))) {
        // A backslash before CR continues the comment over the line end; never over the
        // sentinel, though.
        if (at(pos) == '\\' && at(pos + 1) == '\r') {
            pos += at(pos + 2) == '\001' ? 2 : 3;
        } else {
            ++pos;
        }
    }
    kind = tk_comment;
    token_len = pos - token_pos;
}

void Tcppsparser::scan_to_line_end(token_kind k) {
    kind = k;
    token_len = end_of_line(token_pos + 1) - token_pos;
}

std::int32_t Tcppsparser::end_of_line(std::int32_t pos) const {
    while (!line_end(at(pos))) ++pos;
    return pos;
}

bool Tcppsparser::parse_statements(bool block) {
    nesting_guard guard(*this);
    bool single = false;
    bool case_mode = false;
    if (!block) {
        if (kind == tk_open_brace || kind == tk_space) {
            advance();
        } else if (kind == tk_colon || (kind == tk_label && profile_.case_labels)) {
            advance();
            case_mode = profile_.case_labels;
        } else {
            single = true;
        }
    }
    whole_range("<statement>");
    int brace_depth = 0;
    pending_code code;
    for (;;) {
        switch (kind) {
            case tk_semicolon:
                if (single) {
                    flush(code);
                    whole_range("</statement>");
                    return true;
                }
                advance();
                break;
            case tk_open_brace:
                advance();
                ++brace_depth;
                break;
            case tk_close_brace:
                if (!single && brace_depth > 0) {
                    advance();
                    --brace_depth;
                    break;
                }
                flush(code);
                whole_range("</statement>");
                return true;
            case tk_case:
            case tk_default:
                if (case_mode) {
                    flush(code);
                    whole_range("</statement>");
                    return true;
                }
                advance();
                break;
            case tk_eof: {
                if (single) set_error(err_in_statement);
                flush(code);
                whole_range("</statement>");
                return !single;
            }
            case tk_label:
                write_label(code);
                break;
            default:
                if (!statement(code)) return false;
                break;
        }
    }
}

bool Tcppsparser::statement(pending_code& code) {
    switch (kind) {
        case tk_word:
        case tk_parens:
            return plain_statement(code);
        case tk_if:
            return conditional(code);
        case tk_for:
            return headed_block(code, "<for>", "</for>");
        case tk_while:
            return headed_block(code, "<whiledo>", "</whiledo>");
        case tk_do: {
            const std::int32_t do_pos = token_pos;
            const std::int32_t do_end = token_end();
            advance();
            return loop_tested_after(code, do_pos, do_end);
        }
        case tk_switch:
            return selection(code);
        case tk_handler:
            return handler(code);
        case tk_return:
            return write_jump(code, "<return/>", 0);
        case tk_exit:
            return write_jump(code, "<exit/>", 0);
        case tk_break:
            return write_jump(code, "<break/>", 0);
        case tk_continue:
            return write_jump(code, "<continue/>", 0);
        case tk_goto:
            return write_jump(code, "<goto/>", 0);
        default:
            // A try statement leaves no item: its blocks stay in this sequence.
            return stray_token();
    }
}

void Tcppsparser::open_item(std::string_view tag, std::int32_t pos) {
    output += tag;
    append_position(pos);
    output += '-';
}

bool Tcppsparser::stray_token() {
    if (!profile_.silent_kinds[kind]) set_error(err_in_statement);
    advance();
    return true;
}

bool Tcppsparser::plain_statement(pending_code& code) {
    open_code(code);
    if (kind == tk_parens || !profile_.statement_start_set) {
        code.end = skip_until(0);
        return code.end != 0;
    }
    if (advance() == tk_parens) advance();
    if (kind == tk_eof) {
        // The statement lacks its ";"; the end-of-text error of the lexer stands.
        code.end = token_end();
        return false;
    }
    if (kind == tk_semicolon) {
        code.end = token_pos;
    } else if (starts_statement(kind)) {
        code.end = token_pos - 1;
    } else {
        code.end = skip_until(0);
        if (code.end == 0) return false;
    }
    return true;
}

bool Tcppsparser::condition(bool words_before) {
    if (words_before) {
        if (!close_by_skip(12)) return false;
    } else {
        if (advance() != tk_parens) {
            set_error(21);
            return false;
        }
        append_position(token_end());
    }
    advance();
    return true;
}

bool Tcppsparser::body() {
    if (!parse_statements(false)) return false;
    if (!at_body_end()) {
        set_error(33);
        return false;
    }
    return true;
}

bool Tcppsparser::headed_block(pending_code& code, std::string_view open, std::string_view close,
                               bool words_before) {
    flush(code);
    open_range(open);
    if (!condition(words_before) || !body()) return false;
    whole_range(close);
    kind = tk_semicolon;
    return true;
}

bool Tcppsparser::conditional(pending_code& code) {
    flush(code);
    open_range("<if>");
    if (!condition(false) || !body()) return false;
    const token_kind branch_end_kind = kind;
    const std::int32_t branch_end_pos = token_pos;
    advance();
    if (kind == tk_else || kind == tk_elseif) {
        if (kind == tk_else) {
            advance();
        } else {
            // The rest of the keyword is the "if" of the else-branch's single conditional.
            kind = tk_if;
            token_pos += profile_.elseif_if_offset;
            token_len = 2;
        }
        if (!body()) return false;
    } else {
        kind = branch_end_kind;
        token_pos = branch_end_pos;
        token_len = 1;
    }
    whole_range("</if>");
    kind = tk_semicolon;
    return true;
}

// The body of DO is current. WHILE repeats it while the closing test holds; UNTIL, in the
// languages that have it, until the test holds. Which of the two closes the loop shows only
// after the body; both opening tags have the same length, so the one written first is
// overwritten in place.
bool Tcppsparser::loop_tested_after(pending_code& code, std::int32_t do_pos, std::int32_t do_end) {
    flush(code);
    const std::size_t tag_at = output.size();
    open_item("<dowhile>", do_pos);
    append_position(do_end);
    if (!parse_statements(false)) return false;
    if (!at_body_end()) {
        set_error(20);
        return false;
    }
    advance();
    if (kind == tk_until) {
        output.replace(tag_at, std::string_view("<dountil>").size(), "<dountil>");
        open_range("</dountil>");
    } else if (kind == tk_while) {
        open_range("</dowhile>");
    } else {
        set_error(5);
        return false;
    }
    advance();
    return close_by_skip(0);
}

bool Tcppsparser::selection(pending_code& code) {
    flush(code);
    open_range("<switch>");
    if (!close_by_skip(17)) return false;
    advance();
    while (kind != tk_close_brace) {
        if (kind == tk_default) {
            open_range("<else/>");
        } else if (kind == tk_case) {
            open_range("<case/>");
        } else {
            set_error(12);
            return false;
        }
        if (!close_by_skip(4)) return false;
        if (!parse_statements(false)) return false;
        if (kind != tk_case && kind != tk_default && kind != tk_close_brace) {
            set_error(7);
            return false;
        }
    }
    whole_range("</switch>");
    kind = tk_semicolon;
    return true;
}

bool Tcppsparser::handler(pending_code& code) {
    flush(code);
    open_range("<except>");
    advance();
    if (kind == tk_parens) {
        append_position(token_end());
        advance();
    } else if (kind == tk_open_brace && profile_.bare_catch) {
        append_position(token_pos - 1);
    } else {
        set_error(21);
        return false;
    }
    if (!body()) return false;
    whole_range("</except>");
    kind = tk_semicolon;
    return true;
}

}  // namespace tarnwell
