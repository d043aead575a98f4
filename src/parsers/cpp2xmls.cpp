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
    if (c == '#' && !first_on_line(token_pos)) {
        // A private member ("this.#count"): only a "#" that begins its line is a directive.
        kind = tk_word;
        token_len = word_length(token_pos);
        return;
    }
    if (scan_common(c, white_space, tk_bad_literal, tk_directive)) return;
    if (c == '(') {
        scan_group();
    } else if (c == '`') {
        scan_template();
    } else if (c == '/' && at(token_pos + 1) == '*') {
        scan_block_comment();
    } else if (c == '/' && at(token_pos + 1) == '/') {
        scan_line_comment();
    } else if (c == '/' && scan_regular_expression()) {
        return;
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

bool Tcppsparser::first_on_line(std::int32_t pos) const {
    while (pos > 1 && (at(pos - 1) == ' ' || at(pos - 1) == '\t')) --pos;
    return pos == 1 || at(pos - 1) == '\n' || at(pos - 1) == '\r';
}

// A template literal runs to its closing backquote; each "${" opens an expression, read token
// by token up to its matching "}", so strings, comments and templates inside it are whole.
void Tcppsparser::scan_template() {
    if (recall_token()) return;
    const std::uint64_t errors_before = errors_recorded();
    nesting_guard guard(*this);
    const std::int32_t start = token_pos;
    std::int32_t pos = start + 1;
    for (;;) {
        const char c = at(pos);
        if (c == '\001') {
            kind = tk_bad_literal;
            token_pos = start;
            token_len = pos - start;
            set_error(17);
            break;
        }
        if (c == '`') {
            kind = tk_string;
            token_pos = start;
            token_len = pos - start + 1;
            break;
        }
        if (c == '\\') {
            pos += at(pos + 1) == '\001' ? 1 : 2;
            continue;
        }
        if (c != '$' || at(pos + 1) != '{') {
            ++pos;
            continue;
        }
        int depth = 0;
        token_pos = pos + 1;
        for (;;) {
            scan();
            if (kind == tk_eof) break;
            if (kind == tk_open_brace) ++depth;
            if (kind == tk_close_brace && --depth == 0) break;
            token_pos += token_len;
        }
        pos = token_pos + token_len;
    }
    remember_token(errors_before);
}

// A "/" where no operand stands before it begins a regular expression literal, which ends at
// the next "/" on its line outside a character class. In C, C++ and Java a division always
// has an operand before it, so only JavaScript's literals are read this way.
bool Tcppsparser::scan_regular_expression() {
    std::int32_t before = token_pos - 1;
    while (before >= 1 && white_space[static_cast<unsigned char>(at(before))]) --before;
    static constexpr byte_set operand_expected = make_byte_set("(,=:[!&|?{};");
    const bool after_return =
        before >= 6 &&
        std::string_view(text).substr(static_cast<std::size_t>(before) - 6, 6) == "return";
    if (before >= 1 && !operand_expected[static_cast<unsigned char>(at(before))] && !after_return) {
        return false;
    }
    bool in_class = false;
    for (std::int32_t pos = token_pos + 1;; ++pos) {
        const char c = at(pos);
        if (line_end(c)) return false;
        if (c == '\\') {
            ++pos;
            if (line_end(at(pos))) return false;
        } else if (c == '[') {
            in_class = true;
        } else if (c == ']') {
            in_class = false;
        } else if (c == '/' && !in_class) {
            kind = tk_string;
            token_len = pos - token_pos + 1;
            while (is_letter(at(token_pos + token_len))) ++token_len;  // the flags
            return true;
        }
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
    code.in_block = !single;
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
            return jump(code, "<return/>");
        case tk_exit:
            return jump(code, "<exit/>");
        case tk_break:
            return jump(code, "<break/>");
        case tk_continue:
            return jump(code, "<continue/>");
        case tk_goto:
            return jump(code, "<goto/>");
        default:
            // A try statement leaves no item: its blocks stay in this sequence.
            return stray_token();
    }
}

bool Tcppsparser::jump(pending_code& code, std::string_view tag) {
    flush(code);
    open_range(tag);
    // The keyword itself is no place for a line to end the statement: "return" with its value
    // on the next line returns that value. At the end of the text the jump has ended with its
    // line only when a line end follows it; without one the text was cut short.
    const std::int32_t end = statement_end(text_end::after_line_end, {token_pos, 0});
    if (end == 0) return false;
    append_position(end);
    return true;
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
    if (kind == tk_word && !profile_.statement_start_set && block_header_ends(code)) return true;
    if (kind == tk_parens || !profile_.statement_start_set) {
        code.end = statement_end(code.in_block ? text_end::ends : text_end::fails, {token_pos, 0});
        return code.end != 0;
    }
    passed_token last{token_pos, token_len};
    if (advance() == tk_parens) {
        last = {token_pos, token_len};
        advance();
    }
    if (kind == tk_eof) {
        if (code.in_block) {
            // The last statement of the text, a macro call or a statement written without
            // ";", ends with its last token.
            code.end = last.pos + last.len - 1;
            return true;
        }
        // The statement lacks its ";"; the end-of-text error of the lexer stands.
        code.end = token_end();
        return false;
    }
    if (kind == tk_semicolon) {
        code.end = token_pos;
    } else if (starts_statement(kind)) {
        code.end = token_pos - 1;
    } else {
        code.end = statement_end(code.in_block ? text_end::ends : text_end::fails, last);
        return code.end != 0;
    }
    return true;
}

// A word and a group before a block ("using (...) {", "lock (...) {", "fixed (...) {") head
// that block: the header is a plain statement of its own and the block's statements stay in
// the sequence, as those of a TRY do. The code ends at the group, which is left current as
// the header's ";"; otherwise nothing moves.
bool Tcppsparser::block_header_ends(pending_code& code) {
    const std::int32_t word_pos = token_pos;
    const std::int32_t word_len = token_len;
    const token_kind word_kind = kind;
    if (advance() == tk_parens) {
        const std::int32_t group_pos = token_pos;
        const std::int32_t group_len = token_len;
        if (advance() == tk_open_brace) {
            token_pos = group_pos;
            token_len = group_len;
            kind = tk_semicolon;
            code.end = token_end();
            return true;
        }
    }
    token_pos = word_pos;
    token_len = word_len;
    kind = word_kind;
    return false;
}

bool Tcppsparser::expression_may_end_with(char c) {
    static constexpr byte_set open_operators = make_byte_set("=+-*/%&|^!~<>?:,.([{\\");
    return !open_operators[static_cast<unsigned char>(c)];
}

bool Tcppsparser::begins_new_statement() const {
    if (starts_statement(kind) || kind == tk_else || kind == tk_while || kind == tk_try) {
        return true;
    }
    if (kind != tk_word) return false;
    const char c = at(token_pos);
    if (!is_letter(c) && c != '_' && c != '$') return false;
    // Operators spelled as words continue the expression of the line before.
    return !word_is("in") && !word_is("of") && !word_is("instanceof") && !word_is("as");
}

bool Tcppsparser::word_is(std::string_view word) const {
    return kind == tk_word &&
           std::string_view(text).substr(static_cast<std::size_t>(token_pos) - 1,
                                         static_cast<std::size_t>(token_len)) == word;
}

bool Tcppsparser::line_break_between(std::int32_t from, std::int32_t to) const {
    for (std::int32_t pos = from; pos < to; ++pos) {
        if (at(pos) == '\n' || at(pos) == '\r') return true;
    }
    return false;
}

std::int32_t Tcppsparser::statement_end(text_end at_text_end, passed_token last) {
    if (!profile_.statement_start_set) return skip_until_semicolon_outside_braces();
    // A statement of the brace languages that may leave out ";" (JavaScript) ends with its
    // line when the next line begins another statement, at a "}" that closes the enclosing
    // block, and at the end of the text; braces opened inside it (an object literal, a
    // function expression) hold whatever they hold. The token that ends such a statement
    // becomes current and is treated as its ";".
    int depth = 0;
    bool cut_short = false;  // a literal or group the end of the text cut short was passed
    for (;;) {
        const std::int32_t last_end = last.pos + last.len - 1;
        if (depth == 0 && last.len > 0) {
            const bool unterminated =
                kind == tk_close_brace ||
                (kind == tk_eof && !cut_short && ends_here(at_text_end, last_end)) ||
                (line_break_between(last_end + 1, token_pos) && begins_new_statement() &&
                 expression_may_end_with(at(last_end)));
            if (unterminated) {
                token_pos = last.pos;
                token_len = last.len;
                kind = tk_semicolon;
                return last_end;
            }
        }
        if (kind == tk_eof) {
            set_error(33);
            return 0;
        }
        if (kind == tk_semicolon && depth == 0) return token_pos;
        if (kind == tk_open_brace) ++depth;
        if (kind == tk_close_brace) --depth;
        cut_short = cut_short || kind == tk_bad_literal || kind == tk_bad_comment ||
                    kind == tk_bad_group || kind == tk_bad_string;
        last = {token_pos, token_len};
        advance();
    }
}

bool Tcppsparser::ends_here(text_end rule, std::int32_t last_end) const {
    return rule == text_end::ends ||
           (rule == text_end::after_line_end && line_break_between(last_end + 1, token_pos));
}

std::int32_t Tcppsparser::skip_until_semicolon_outside_braces() {
    int depth = 0;
    for (;;) {
        if (kind == tk_eof) {
            set_error(33);
            return 0;
        }
        if (kind == tk_semicolon && depth == 0) return token_pos;
        if (kind == tk_open_brace) ++depth;
        if (kind == tk_close_brace && depth > 0) --depth;
        advance();
    }
}

bool Tcppsparser::condition(bool words_before) {
    if (words_before) {
        if (!close_by_skip(12)) return false;
    } else {
        // Words may stand before the group: "if constexpr", "for await", or a macro that
        // expands to such a word.
        while (advance() == tk_word) {
        }
        if (kind != tk_parens) {
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
    // Declarations before the first label ("int n;") belong to no branch.
    while (declaration_follows()) {
        if (skip_until_semicolon_outside_braces() == 0) return false;
        advance();
    }
    while (kind != tk_close_brace) {
        if (kind == tk_default) {
            open_range("<else/>");
        } else if (kind == tk_case) {
            open_range("<case/>");
        } else {
            set_error(12);
            return false;
        }
        if (!case_label_end()) return false;
        if (kind == tk_colon || kind == tk_label) {
            if (!parse_statements(false)) return false;
        } else if (!arrow_branch()) {
            return false;
        }
        if (kind != tk_case && kind != tk_default && kind != tk_close_brace) {
            set_error(7);
            return false;
        }
    }
    whole_range("</switch>");
    kind = tk_semicolon;
    return true;
}

// A declaration begins with two words (its type and its name); the cursor stays.
bool Tcppsparser::declaration_follows() {
    if (kind != tk_word) return false;
    const std::int32_t word_pos = token_pos;
    const std::int32_t word_len = token_len;
    const token_kind second = advance();
    const bool two_words = second == tk_word || second == tk_scope;
    token_pos = word_pos;
    token_len = word_len;
    kind = tk_word;
    return two_words;
}

// Closes the label's range at its colon, or at the arrow of a label that takes one statement
// or block ("case 1 -> f();"); the colon, label token or arrow is left current.
bool Tcppsparser::case_label_end() {
    for (;;) {
        if (kind == tk_colon || kind == tk_label) {
            append_position(token_end());
            return true;
        }
        if (kind == tk_word && at(token_pos) == '-' && at(token_pos + 1) == '>') {
            // The arrow may have been read together with the word after it ("->f").
            token_len = 2;
            append_position(token_end());
            return true;
        }
        if (!not_at_end()) {
            set_error(3);
            return false;
        }
        advance();
    }
}

// The branch of an arrow label: one statement, or a block, then the next label or the end.
bool Tcppsparser::arrow_branch() {
    advance();
    if (!parse_statements(false)) return false;
    if (!at_body_end()) {
        set_error(7);
        return false;
    }
    advance();
    return true;
}

bool Tcppsparser::handler(pending_code& code) {
    flush(code);
    open_range("<except>");
    advance();
    if (kind == tk_parens) {
        std::int32_t header_end = token_end();
        advance();
        if (word_is("when")) {
            // An exception filter belongs to the handler's header.
            if (advance() != tk_parens) {
                set_error(21);
                return false;
            }
            header_end = token_end();
            advance();
        }
        append_position(header_end);
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
