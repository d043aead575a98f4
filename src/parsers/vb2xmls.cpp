#include "parsers/vb2xmls.h"

#include <cctype>

namespace tarnwell {

namespace {

constexpr auto vb_keywords = Tvbsparser::with_block_keywords<10>({{
    {"EXIT", tk_exit},
    {"WSCRIPT.QUIT", tk_quit},
    {"SUB", tk_sub},
    {"FUNCTION", tk_function},
    {"PROPERTY", tk_property},
    {"STOP", tk_exit},
    {"GOTO", tk_goto},
    {"RESUME", tk_goto},
    {"END", tk_end},
    {"REM", tk_comment},
}});

using act = line_action;
using vb = Tvbsparser;

// The rows all the line dialects share. A row for a kind that a dialect's lexer never makes
// (a TRY in Visual Basic, a WEND in PowerBuilder) stays inert there.
constexpr line_rule shared_rules[] = {
    {vb::tk_bad_char, act::pass},
    {vb::tk_bad_string, act::pass},
    {tk_bad_comment, act::pass},
    {tk_bad_group, act::pass},
    {tk_space, act::pass},
    {tk_comment, act::pass},
    {tk_directive, act::pass},
    {tk_semicolon, act::separator},
    {tk_newline, act::separator},
    {tk_label, act::label},
    {tk_wend, act::closer},
    {tk_eof, act::closer},
    {tk_case, act::closer},
    {tk_else, act::closer},
    {tk_endcase, act::closer},
    {tk_otherwise, act::closer},
    {tk_next, act::closer},
    {tk_endif, act::closer},
    {tk_elseif, act::closer},
    {tk_loop, act::closer},
    {vb::tk_loop_until, act::closer},
    {vb::tk_loop_while, act::closer},
    {tk_break, act::jump, "<break/>"},
    {tk_continue, act::jump, "<continue/>"},
    {tk_goto, act::jump_statement, "<goto/>"},
    {tk_return, act::jump_statement, "<return/>"},
    {tk_word, act::code},
    {tk_if, act::conditional},
    {tk_for, act::counted_loop},
    {vb::tk_do_until, act::pretest_loop, "<untildo>", "</untildo>", tk_loop, 15},
    {vb::tk_do_while, act::pretest_loop, "<whiledo>", "</whiledo>", tk_loop, 15},
    {tk_do, act::posttest_loop},
    {tk_try, act::try_open},
    {vb::tk_end_try, act::try_end},
    {tk_finally, act::try_finally},
    {tk_handler, act::try_handler},
};

constexpr line_rule vb_rules[] = {
    {tk_exit, act::jump_statement, "<exit/>"},
    {tk_quit, act::jump_statement, "<exit/>"},
    {tk_select, act::selection},
    // A WHILE body that ends elsewhere than at WEND records code 0, which has no message.
    {tk_while, act::pretest_loop, "<whiledo>", "</whiledo>", tk_wend, 0},
};

constexpr line_dialect vb_dialect{
    .rules = vb_rules,
    .changes = {},
    .entry_passes_separator = true,
    .statement_skip = 7,
    .header_skip = 7,
    .for_close_skip = 7,
    .select_skip = 8,
    .case_skip = 7,
    .else_separator = ':',
    .else_separator_kind = tk_semicolon,
    .plain_loop_closes_do = true,
};

constexpr line_rule reject_rule{0, line_action::reject};

// The loop tags of DO ... LOOP are written before the LOOP that decides between them is read,
// and overwritten in place when LOOP UNTIL closes the loop.
constexpr std::string_view dowhile_tag = "<dowhile>";
constexpr std::string_view dountil_tag = "<dountil>";
static_assert(dowhile_tag.size() == dountil_tag.size());

}  // namespace

Tvbsparser::Tvbsparser() : Tvbsparser(vb_keywords, vb_dialect) {}

Tvbsparser::Tvbsparser(std::span<const keyword_entry> table, const line_dialect& dialect)
    : tsparser(table), dialect_(dialect) {
    rules_.fill(&reject_rule);
    for (const line_rule& rule : shared_rules) rules_[rule.kind] = &rule;
    for (const line_rule& rule : dialect_.rules) rules_[rule.kind] = &rule;
    for (const line_rule& rule : dialect_.changes) rules_[rule.kind] = &rule;
}

const line_dialect& Tvbsparser::visual_basic_dialect() {
    return vb_dialect;
}

// ---------------------------------------------------------------------------------------------
// Lexer

void Tvbsparser::scan() {
    tsparser::scan();
    scan_raw();
    const raw_token keyword{token_pos, token_len, kind};
    if (!combines(keyword)) return;
    // A keyword that takes in the next token takes it in as that token itself combines, and
    // so on along a run of such keywords ("End End End x" is one word). The run is followed
    // in a loop, not by nested look-aheads, so that it costs one pass whatever its length.
    raw_token current = keyword;
    raw_token next = peek_after(current);
    const combination first = combine_with(current, next);
    combination step = first;
    std::int32_t end = current.end();
    for (;;) {
        if (step.extent == reach::keyword) {
            end = current.end();
            break;
        }
        if (step.extent == reach::up_to_next) {
            end = next.pos - 1;
            break;
        }
        if (!combines(next)) {
            end = next.end();
            break;
        }
        current = next;
        next = peek_after(current);
        step = combine_with(current, next);
    }
    token_pos = keyword.pos;
    token_len = end - keyword.pos + 1;
    kind = first.kind;
}

void Tvbsparser::scan_raw() {
    const char c = at(token_pos);
    if (c == '\001') {
        scan_eof();
    } else if (is_blank(c)) {
        scan_blanks();
    } else if (is_line_break(c)) {
        scan_newline();
    } else if (c == '_') {
        scan_continuation();
    } else if (c == '"') {
        scan_string(false);
    } else if (c == '\'') {
        scan_comment('_', true);
    } else if (is_word_start(c)) {
        scan_word(true);
        if (kind == tk_word && lookup_keyword() && kind == tk_comment) {
            scan_comment('_', true);  // REM
        }
    } else if (c == '#') {
        // Directives and date literals. An LF ends the directive as a CR does: on text with
        // LF line ends the directive would otherwise run on into the lines below it.
        std::int32_t end = token_pos + 1;
        while (!is_line_break(at(end)) && at(end) != '#' && at(end) != '\001') ++end;
        kind = tk_directive;
        token_len = end - token_pos + (at(end) == '#' ? 1 : 0);
    } else if (c == ':') {
        kind = tk_semicolon;
        token_len = 1;
    } else {
        scan_bad_char();
    }
}

bool Tvbsparser::is_word_start(char c) const {
    return is_letter(c) || c == '[';
}

bool Tvbsparser::is_word_continuation(char c) const {
    return is_letter(c) || is_digit(c) || c == '#' || c == '$' || c == '%' || c == '-' ||
           c == '.' || c == ':' || c == ']' || c == '_';
}

bool Tvbsparser::combines(const raw_token& keyword) const {
    switch (keyword.kind) {
        case tk_end:
        case tk_case:
        case tk_do:
        case tk_loop:
            return true;
        case tk_exit:
            return keyword_text_is(keyword, "EXIT");  // STOP has the same kind
        default:
            return false;
    }
}

Tvbsparser::combination Tvbsparser::combine_with(const raw_token& keyword, const raw_token& next) {
    const bool line_ends =
        next.kind == tk_eof || next.kind == tk_semicolon || next.kind == tk_newline;
    if (keyword.kind == tk_end) {
        switch (next.kind) {
            case tk_function:
            case tk_sub:
            case tk_property:
                return {tk_exit, reach::through_next};
            case tk_if:
                return {tk_endif, reach::through_next};
            case tk_select:
                return {tk_endcase, reach::through_next};
            default:
                return line_ends ? combination{tk_exit, reach::keyword}
                                 : combination{tk_word, reach::through_next};
        }
    }
    if (keyword.kind == tk_exit) {
        if (next.kind == tk_for || (next.kind == tk_do && combined_kind(next) == tk_do)) {
            return {tk_break, reach::through_next};
        }
        return {tk_exit, line_ends ? reach::keyword : reach::through_next};
    }
    return combine_block_keyword(keyword, next);
}

Tvbsparser::combination Tvbsparser::combine_block_keyword(const raw_token& keyword,
                                                          const raw_token& next) {
    if (keyword.kind == tk_case) {
        return next.kind == tk_else ? combination{tk_otherwise, reach::through_next}
                                    : combination{tk_case, reach::keyword};
    }
    const bool is_do = keyword.kind == tk_do;
    if (next.kind == tk_while) return {is_do ? tk_do_while : tk_loop_while, reach::through_next};
    if (next.kind == tk_until) return {is_do ? tk_do_until : tk_loop_until, reach::through_next};
    return {keyword.kind, reach::keyword};
}

Tvbsparser::raw_token Tvbsparser::peek_after(const raw_token& token) {
    token_pos = token.pos + token.len;
    for (;;) {
        tsparser::scan();
        scan_raw();
        if (kind != tk_space && kind != tk_comment && kind != tk_directive) break;
        token_pos += token_len;
    }
    return {token_pos, token_len, kind};
}

// The kind a keyword gets from its own combination step. Called only for the keyword a
// combination rule names, so the look-aheads nest a fixed number of times at most.
token_kind Tvbsparser::combined_kind(const raw_token& token) {
    return combines(token) ? combine_with(token, peek_after(token)).kind : token.kind;
}

bool Tvbsparser::keyword_text_is(const raw_token& token, std::string_view upper) const {
    if (token.len != static_cast<std::int32_t>(upper.size())) return false;
    for (std::int32_t i = 0; i < token.len; ++i) {
        const auto c = static_cast<unsigned char>(at(token.pos + i));
        if (std::toupper(c) != static_cast<unsigned char>(upper[static_cast<std::size_t>(i)])) {
            return false;
        }
    }
    return true;
}

std::int32_t Tvbsparser::line_break_length(std::int32_t pos) const {
    if (!is_line_break(at(pos))) return 0;
    return is_line_break(at(pos + 1)) ? 2 : 1;
}

std::int32_t Tvbsparser::line_end(std::int32_t pos) const {
    while (!is_line_break(at(pos)) && at(pos) != '\001') ++pos;
    return pos;
}

void Tvbsparser::scan_eof() {
    kind = tk_eof;
    token_len = 1;
    set_error(err_unexpected_eof);
}

void Tvbsparser::scan_blanks() {
    std::int32_t end = token_pos + 1;
    while (is_blank(at(end))) ++end;
    kind = tk_space;
    token_len = end - token_pos;
}

void Tvbsparser::scan_newline() {
    kind = tk_newline;
    token_len = line_break_length(token_pos);
}

// A continuation character joins the next line: the rest of this line and its line break
// are white space.
void Tvbsparser::scan_continuation() {
    const std::int32_t end = line_end(token_pos);
    kind = tk_space;
    token_len = end - token_pos + line_break_length(end);
}

void Tvbsparser::scan_string(bool tilde_escapes) {
    const char quote = at(token_pos);
    std::int32_t pos = token_pos + 1;
    for (;;) {
        const char c = at(pos);
        if (is_line_break(c) || c == '\001') {
            kind = tk_bad_string;
            token_len = pos - token_pos;
            set_error(17);
            return;
        }
        if (tilde_escapes && c == '~' && at(pos + 1) == quote) {
            pos += 2;
        } else if (c == quote && !tilde_escapes && at(pos + 1) == quote) {
            pos += 2;
        } else if (c == quote) {
            kind = tk_string;
            token_len = pos - token_pos + 1;
            return;
        } else {
            ++pos;
        }
    }
}

// A comment runs to the end of its line; `carry` (after optional blanks when allowed)
// directly before the line break carries it over onto the next line.
void Tvbsparser::scan_comment(char carry, bool blanks_before_break) {
    std::int32_t pos = token_pos;
    for (;;) {
        const char c = at(pos);
        if (is_line_break(c) || c == '\001') break;
        if (c == carry) {
            std::int32_t after = pos + 1;
            if (blanks_before_break) {
                while (is_blank(at(after))) ++after;
            }
            const std::int32_t line_break = line_break_length(after);
            if (line_break > 0) {
                pos = after + line_break;
                continue;
            }
        }
        ++pos;
    }
    kind = tk_comment;
    token_len = pos - token_pos;
}

// A word, not yet looked up. With `labels`, a ":" inside it that is not half of a "::" ends
// it as a label.
void Tvbsparser::scan_word(bool labels) {
    std::int32_t end = token_pos + 1;
    while (is_word_continuation(at(end))) {
        if (labels && at(end) == ':') {
            if (at(end + 1) != ':') {
                kind = tk_label;
                token_len = end - token_pos + 1;
                return;
            }
            ++end;
        }
        ++end;
    }
    kind = tk_word;
    token_len = end - token_pos;
}

void Tvbsparser::scan_bad_char() {
    kind = tk_bad_char;
    token_len = 1;
    set_error(32);
}

// ---------------------------------------------------------------------------------------------
// Grammar

bool Tvbsparser::parse_statements(bool block) {
    nesting_guard guard(*this);
    // Nothing is written before the outermost sequence opens: a new parse starts here.
    if (output.empty()) last_lookahead_ = {};
    whole_range("<statement>");
    bool single = !block;
    if (dialect_.entry_passes_separator) {
        if (kind == tk_semicolon || kind == tk_newline || kind == tk_label) {
            advance();
            single = false;
        }
    } else if (kind == tk_newline) {
        single = false;
    }
    pending_code code;
    int try_depth = 0;
    for (;;) {
        const line_rule& rule = rule_of(kind);
        switch (rule.action) {
            case line_action::pass:
                advance();
                break;
            case line_action::separator:
                if (single) return close_sequence(code);
                advance();
                break;
            case line_action::label:
                write_label(code);
                break;
            case line_action::closer:
                return close_sequence(code);
            case line_action::jump:
                flush(code);
                whole_range(rule.tag);
                advance();
                break;
            case line_action::jump_statement:
                flush(code);
                open_range(rule.tag);
                if (!close_by_skip(dialect_.statement_skip)) return false;
                break;
            case line_action::code:
            case line_action::sql:
                open_code(code);
                code.end =
                    skip_until(rule.action == line_action::sql ? 9 : dialect_.statement_skip);
                if (code.end == 0) return false;
                break;
            case line_action::conditional:
                if (!conditional(code)) return false;
                break;
            case line_action::counted_loop:
                if (!counted_loop(code)) return false;
                break;
            case line_action::selection:
                if (!selection(code)) return false;
                break;
            case line_action::pretest_loop:
                if (!pretest_loop(code, rule)) return false;
                break;
            case line_action::posttest_loop:
                if (!posttest_loop(code)) return false;
                break;
            case line_action::try_open:
                ++try_depth;
                advance();
                break;
            case line_action::try_end:
                if (try_depth == 0) return close_sequence(code);
                --try_depth;
                advance();
                break;
            case line_action::try_finally:
                // The finally block's statements stay in this sequence.
                if (try_depth == 0) return close_sequence(code);
                advance();
                break;
            case line_action::try_handler:
                if (try_depth == 0) return close_sequence(code);
                if (!handler(code)) return false;
                break;
            case line_action::reject:
                set_error(err_in_statement);
                advance();
                break;
        }
    }
}

bool Tvbsparser::close_sequence(pending_code& code) {
    flush(code);
    whole_range("</statement>");
    return true;
}

bool Tvbsparser::conditional(pending_code& code) {
    flush(code);
    open_range("<if>");
    if (!close_by_skip(10)) return false;
    if (advance() != tk_newline) return one_line_conditional();
    const auto ends_branch = [this] {
        if (kind == tk_else || kind == tk_elseif || kind == tk_endif) return true;
        set_error(9);
        return false;
    };
    if (!parse_statements(false) || !ends_branch()) return false;
    // Each ELSEIF opens an else-branch holding one conditional; all of them close at END IF.
    int else_ifs = 0;
    while (kind == tk_elseif) {
        ++else_ifs;
        const std::int32_t p = token_pos;
        output += "<statement>" + std::to_string(p + 4) + "-" + std::to_string(p + 6) + "<if>" +
                  std::to_string(p + 4) + "-";
        if (!close_by_skip(10)) return false;
        if (advance() != tk_newline) {
            set_error(10);
            return false;
        }
        if (!parse_statements(false) || !ends_branch()) return false;
    }
    if (kind == tk_else && !else_part()) return false;
    const std::string range = std::to_string(token_pos) + "-" + std::to_string(token_end());
    for (int i = 0; i < else_ifs; ++i) output += "</if>" + range + "</statement>" + range;
    output += "</if>" + range;
    advance();
    return true;
}

bool Tvbsparser::else_part() {
    advance();
    if (!parse_statements(kind != tk_newline)) return false;
    if (kind != tk_endif) {
        set_error(9);
        return false;
    }
    return true;
}

// IF ... THEN with statements on the same line. An ELSE on the line is turned into a
// statement separator while the THEN part parses, so that the THEN part ends there.
bool Tvbsparser::one_line_conditional() {
    const raw_token first{token_pos, token_len, kind};
    if (!look_ahead_for_else()) return false;
    const bool has_else = kind == tk_else;
    const std::int32_t else_pos = token_pos;
    const char else_char = at(else_pos);
    const auto else_index = static_cast<std::size_t>(else_pos) - 1;
    if (has_else) text[else_index] = dialect_.else_separator;
    token_pos = first.pos;
    token_len = first.len;
    kind = first.kind;
    const bool then_part = parse_statements(false);
    if (has_else) text[else_index] = else_char;
    if (!then_part) return false;
    if (has_else) {
        if (kind != dialect_.else_separator_kind || token_pos != else_pos) {
            set_error(err_in_statement);
            return false;
        }
        token_len = 4;  // the ELSE
        advance();
        if (!parse_statements(false)) return false;
    }
    if (kind != tk_semicolon && kind != tk_newline) {
        set_error(10);
        return false;
    }
    whole_range("</if>");
    return true;
}

// Moves to the ELSE, statement separator or line end that ends the line's THEN part. Nested
// one-line IFs on one line would each scan the same rest of the line; a look-ahead that starts
// inside the last one's span goes straight to where that one stopped.
bool Tvbsparser::look_ahead_for_else() {
    const std::int32_t from = token_pos;
    if (last_lookahead_.from > 0 && last_lookahead_.from <= from && from <= last_lookahead_.stop) {
        token_pos = last_lookahead_.stop;
        scan();
    }
    while (kind != tk_semicolon && kind != tk_newline && kind != tk_else) {
        if (kind == tk_eof) {
            set_error(err_unexpected_eof);
            return false;
        }
        advance();
    }
    last_lookahead_ = {from, token_pos};
    return true;
}

bool Tvbsparser::counted_loop(pending_code& code) {
    flush(code);
    open_range("<for>");
    if (!close_by_skip(dialect_.header_skip) || !parse_statements(false)) return false;
    if (kind != tk_next) {
        set_error(11);
        return false;
    }
    if (dialect_.for_close_skip == token_only) {
        whole_range("</for>");
    } else {
        open_range("</for>");
        if (!close_by_skip(dialect_.for_close_skip)) return false;
    }
    advance();
    return true;
}

bool Tvbsparser::selection(pending_code& code) {
    flush(code);
    open_range("<switch>");
    if (!close_by_skip(dialect_.select_skip)) return false;
    while (kind == tk_newline) advance();
    if (kind != tk_case) {
        set_error(12);
        return false;
    }
    while (kind == tk_case) {
        open_range("<case/>");
        if (!close_by_skip(dialect_.case_skip) || !parse_statements(false)) return false;
    }
    if (kind == tk_otherwise) {
        whole_range("<else/>");
        if (advance() != tk_newline) {
            set_error(10);
            return false;
        }
        if (!parse_statements(false)) return false;
    }
    if (kind != tk_endcase) {
        set_error(13);
        return false;
    }
    whole_range("</switch>");
    advance();
    return true;
}

bool Tvbsparser::pretest_loop(pending_code& code, const line_rule& rule) {
    flush(code);
    open_range(rule.tag);
    if (!close_by_skip(dialect_.header_skip) || !parse_statements(false)) return false;
    if (kind != rule.closer) {
        set_error(rule.error);
        return false;
    }
    whole_range(rule.close_tag);
    advance();
    return true;
}

// DO on a line of its own: the LOOP line decides whether the loop repeats while or until its
// test holds. The DO range ends one past the keyword.
bool Tvbsparser::posttest_loop(pending_code& code) {
    flush(code);
    const std::int32_t do_pos = token_pos;
    const std::int32_t do_end = token_pos + token_len;
    if (advance() != tk_newline) {
        set_error(10);
        return false;
    }
    const std::size_t tag_at = output.size();
    output += dowhile_tag;
    output += std::to_string(do_pos) + "-" + std::to_string(do_end);
    if (!parse_statements(false)) return false;
    const bool until = kind == tk_loop_until;
    if (!until && kind != tk_loop_while && !(kind == tk_loop && dialect_.plain_loop_closes_do)) {
        set_error(15);
        return false;
    }
    if (until) output.replace(tag_at, dountil_tag.size(), dountil_tag);
    open_range(until ? "</dountil>" : "</dowhile>");
    return close_by_skip(dialect_.statement_skip);
}

// CATCH inside a TRY: the handler body runs to the next CATCH, FINALLY or END TRY, and its
// closing range is that token's position followed by the position before it.
bool Tvbsparser::handler(pending_code& code) {
    flush(code);
    open_range("<except>");
    if (!close_by_skip(dialect_.statement_skip) || !parse_statements(false)) return false;
    open_range("</except>");
    append_position(token_pos - 1);
    return true;
}

}  // namespace tarnwell
