#include "parsers/perl2xmls.h"

#include <array>
#include <string>

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 17> perl_keywords{{
    {"RETURN", tk_return},
    {"DIE", tk_exit},
    {"EXIT", tk_exit},
    {"IF", tk_if},
    {"ELSE", tk_else},
    {"ELSIF", tk_elseif},
    {"UNLESS", tk_if},
    {"FOR", tk_for},
    {"FOREACH", tk_for},
    {"DO", tk_do},
    {"UNTIL", tk_until},
    {"WHILE", tk_while},
    {"GOTO", tk_goto},
    {"LAST", tk_break},
    {"CONTINUE", tk_continue},
    {"REDO", tk_continue},
    {"NEXT", tk_continue},
}};

constexpr token_kind tk_bad_char = Tcppsparser::tk_bad_char;
constexpr token_kind tk_bad_string = Tcppsparser::tk_bad_string;

constexpr brace_profile perl_profile{
    .keywords = perl_keywords,
    // "m", "s" and "t" start no word where a quote-like operator begins (`word_starts_at`).
    .word_start = make_byte_set("$%@", true),
    .word_continuation = make_byte_set("#_", true, true),
    .scope_token = true,
    .unfinished_comment = tk_bad_comment,
    // Plain statements, handlers and case labels are read by Perl's own steps, or not at all.
    .statement_start_set = false,
    .case_labels = false,
    .bare_catch = false,
    // "elsif" is turned in place into the "if" of a conditional in the else-branch.
    .elseif_if_offset = 3,
    .silent_kinds = make_kind_set({tk_bad_char, tk_bad_comment, tk_bad_string, tk_bad_group,
                                   tk_space, tk_comment, tk_directive}),
};

constexpr byte_set blanks = make_byte_set("\t ");
constexpr byte_set line_ends = make_byte_set("\n\r");

// The characters that, after "$", name a punctuation variable.
constexpr byte_set special_variable_name = make_byte_set("\"';,/\\!&`|.0");
// What may not delimit a quote-like operator's text: "s => 1", "y;" and "q)" are no quotes.
constexpr byte_set no_quote_delimiter = make_byte_set("=,;)}]>\t\n\r _\001", true, true);

constexpr std::string_view code_tag = "<code/>";
constexpr std::string_view continue_tag = "<continue/>";

}  // namespace

Tperlparser::Tperlparser() : Tcppsparser(perl_profile) {}

void Tperlparser::scan() {
    tsparser::scan();
    const char c = at(token_pos);
    if (line_ends[static_cast<unsigned char>(c)]) {
        scan_line_ends();
    } else if (const int closings = quote_like_slashes(token_pos)) {
        scan_pattern(token_pos + (c == 't' ? 2 : 1), closings);
    } else if (const quote_like quote = quote_like_at(token_pos); quote.parts > 0) {
        scan_quote_like(quote);
    } else if (c == '$' && special_variable_name[static_cast<unsigned char>(at(token_pos + 1))]) {
        // "$\"", "$;", "$/" and their kin are variables, not a "$" before a string or a ";".
        kind = tk_word;
        token_len = 2;
    } else if ((c == '*' && (is_letter(at(token_pos + 1)) || at(token_pos + 1) == '{')) ||
               (c >= '0' && c <= '9')) {
        // A typeglob ("*{$name}", "*STDOUT") or a number is an operand like a variable.
        kind = tk_word;
        token_len = c == '*' ? 1 : word_length(token_pos);
    } else if (!scan_common(c, blanks, tk_bad_string, tk_comment)) {
        token_len = 1;
        switch (c) {
            case '~':
                scan_tilde();
                break;
            case '/':
                kind = tk_regex_slash;
                break;
            case '<':
                scan_less();
                break;
            case '`':
                // A backslash escapes nothing inside backquotes.
                scan_string(tk_bad_string, false);
                break;
            case '\\':
                kind = tk_escape;
                if (!line_ends[static_cast<unsigned char>(at(token_pos + 1))] &&
                    at(token_pos + 1) != '\001') {
                    token_len = 2;
                }
                break;
            case '(':
                scan_group();
                break;
            case '=':
                kind = tk_equal;
                break;
            default:
                if (!scan_punctuation(c)) {
                    kind = tk_bad_char;
                    set_error(32);
                }
                break;
        }
    }
}

bool Tperlparser::word_starts_at(std::int32_t pos) const {
    return word_start(at(pos)) && quote_like_slashes(pos) == 0 && quote_like_at(pos).parts == 0;
}

// "m/" opens a pattern, "s/" a substitution and "tr/" a transliteration: the number of "/"
// that close each, 0 where none begins.
int Tperlparser::quote_like_slashes(std::int32_t pos) const {
    switch (at(pos)) {
        case 'm':
            return at(pos + 1) == '/' ? 1 : 0;
        case 's':
            return at(pos + 1) == '/' ? 2 : 0;
        case 't':
            return at(pos + 1) == 'r' && at(pos + 2) == '/' ? 2 : 0;
        default:
            return 0;
    }
}

Tperlparser::pattern_extent Tperlparser::pattern_end(std::int32_t slash, int closings) const {
    std::int32_t pos = slash + 1;
    for (;;) {
        const char c = at(pos);
        if (c == '\001') return {pos, false};
        if (c == '\\' && (at(pos + 1) == '/' || at(pos + 1) == '\\')) {
            pos += 2;
            continue;
        }
        ++pos;
        if (c == '/' && --closings == 0) return {pos, true};
    }
}

// The token runs from `token_pos` (the operator's letter, a "~" or the "/" itself) through
// the last closing "/" after `slash`.
void Tperlparser::scan_pattern(std::int32_t slash, int closings) {
    const pattern_extent extent = pattern_end(slash, closings);
    token_len = extent.end - token_pos;
    kind = tk_pattern;
    if (!extent.complete) {
        kind = tk_bad_string;
        set_error(17);
    }
}

// q, qq, qw, qr and m take one delimited text, s, tr and y two, with any delimiter; the
// bracket pairs nest.
Tperlparser::quote_like Tperlparser::quote_like_at(std::int32_t pos) const {
    const char before = at(pos - 1);
    if (pos > 1 && (is_letter(before) || before == '_' || before == '>' || before == '$' ||
                    before == '@' || before == '%' || before == '&' || before == ':' ||
                    before == '-' || (before >= '0' && before <= '9'))) {
        return {0, 0};
    }
    std::int32_t len = 0;
    while (is_letter(at(pos + len)) && len < 3) ++len;
    const std::string_view op = std::string_view(text).substr(static_cast<std::size_t>(pos) - 1,
                                                              static_cast<std::size_t>(len));
    int parts = 0;
    if (op == "q" || op == "qq" || op == "qw" || op == "qr" || op == "m") parts = 1;
    if (op == "s" || op == "tr" || op == "y") parts = 2;
    if (parts == 0 || no_quote_delimiter[static_cast<unsigned char>(at(pos + len))]) {
        return {0, 0};
    }
    return {len, parts};
}

// The end (one past it) of `count` texts delimited by the character at `pos`, which a bracket
// closes with its partner (nested pairs counted) and any other character with itself; 0 when
// the end of the text comes first.
std::int32_t Tperlparser::delimited_end(std::int32_t pos, int count) const {
    const char open = at(pos);
    const char close = open == '('   ? ')'
                       : open == '{' ? '}'
                       : open == '[' ? ']'
                       : open == '<' ? '>'
                                     : open;
    int depth = open == close ? count : 1;
    for (++pos; depth > 0; ++pos) {
        const char c = at(pos);
        if (c == '\001') return 0;
        if (c == '\\') {
            ++pos;
        } else if (c == close) {
            --depth;
        } else if (c == open) {
            ++depth;
        }
    }
    return pos;
}

void Tperlparser::scan_quote_like(quote_like quote) {
    std::int32_t pos = token_pos + quote.op_len;
    const bool bracketed = at(pos) == '(' || at(pos) == '{' || at(pos) == '[' || at(pos) == '<';
    pos = delimited_end(pos, bracketed ? 1 : quote.parts);
    if (pos != 0 && bracketed && quote.parts == 2) {
        // "s{a}{b}", "tr[a-z] [A-Z]": the second text has delimiters of its own.
        while (white_space[static_cast<unsigned char>(at(pos))]) ++pos;
        pos = delimited_end(pos, 1);
    }
    if (pos == 0) {
        kind = tk_bad_string;
        token_len = text_size - token_pos;
        set_error(17);
        return;
    }
    while (is_letter(at(pos))) ++pos;  // the flags
    kind = tk_pattern;
    token_len = pos - token_pos;
}

void Tperlparser::scan_tilde() {
    std::int32_t pos = token_pos + 1;
    while (white_space[static_cast<unsigned char>(at(pos))]) ++pos;
    if (at(pos) == '/') {
        scan_pattern(pos, 1);
    } else {
        kind = tk_tilde;
        token_len = 1;
    }
}

void Tperlparser::scan_less() {
    kind = tk_less;
    token_len = 1;
    // Right after an operand ("1<<f", "$n<<2") "<<" shifts; a here-document head stands where
    // an operand is expected.
    const char before = at(token_pos - 1);
    const bool after_operand =
        token_pos > 1 && (is_letter(before) || before == '_' || (before >= '0' && before <= '9') ||
                          before == ')' || before == ']' || before == '}');
    if (at(token_pos + 1) == '<' && (after_operand || !measure_heredoc_head())) {
        kind = tk_shift_left;
        token_len = 2;
    }
}

// "<<" followed by a word or a complete string announces a here-document whose body begins
// after the next line end; the word or the string's text is the line that ends the body.
// The word is taken as it stands, with no look for a ":" after it: a head of heads would
// otherwise look ahead through all of them, once for each.
bool Tperlparser::measure_heredoc_head() {
    const std::int32_t head = token_pos;
    const std::int32_t name = head + 2;
    const char c = at(name);
    token_pos = name;
    std::string_view terminator;
    if (c == '"' || c == '\'') {
        scan_string(tk_bad_string);
        if (kind == tk_string) {
            terminator = std::string_view(text).substr(static_cast<std::size_t>(name),
                                                       static_cast<std::size_t>(token_len - 2));
        }
    } else if (is_letter(c) && quote_like_slashes(name) == 0) {
        kind = tk_word;
        token_len = word_length(name);
        if (!lookup_keyword()) {
            terminator = std::string_view(text).substr(static_cast<std::size_t>(name) - 1,
                                                       static_cast<std::size_t>(token_len));
        }
    }
    const bool announced = kind == tk_string || kind == tk_word;
    if (announced) {
        aux_text.assign(terminator);
        kind = tk_heredoc;
        token_len = token_pos + token_len - head;
    }
    token_pos = head;
    return announced;
}

void Tperlparser::scan_line_ends() {
    // A line end read before may have taken a body; `aux_text` no longer says so.
    if (recall_token()) return;
    scan_run(line_ends, tk_space);
    if (aux_text.empty()) return;
    const std::uint64_t errors_before = errors_recorded();
    token_len = heredoc_body_end(token_pos + token_len) - token_pos;
    aux_text.clear();
    remember_token(errors_before);
}

// The body's lines up to and including the first that equals the terminator, with the line
// ends after it; the rest of the text when no such line comes.
std::int32_t Tperlparser::heredoc_body_end(std::int32_t pos) const {
    for (;;) {
        const std::int32_t line = pos;
        pos = end_of_line(pos);
        const bool last =
            std::string_view(text).substr(static_cast<std::size_t>(line) - 1,
                                          static_cast<std::size_t>(pos - line)) == aux_text;
        if (at(pos) == '\001') return pos;
        while (line_ends[static_cast<unsigned char>(at(pos))]) ++pos;
        if (last) return pos;
    }
}

// A "/" at the start of a group, after any blanks, opens a pattern, which may hold a ")".
void Tperlparser::scan_group() {
    if (recall_token()) return;
    std::int32_t first = token_pos + 1;
    while (blanks[static_cast<unsigned char>(at(first))]) ++first;
    first = at(first) == '/' ? pattern_end(first, 1).end : token_pos + 1;
    measure_group(first, tk_bad_group);
}

bool Tperlparser::statement(pending_code& code) {
    switch (kind) {
        case tk_word:
        case tk_parens:
        case tk_pattern:
            return simple_statement(code, code_tag);
        case tk_exit:
            return simple_statement(code, "<exit/>");
        case tk_break:
            return simple_statement(code, "<break/>");
        case tk_return:
            return simple_statement(code, "<return/>");
        case tk_continue:
            return simple_statement(code, continue_tag);
        case tk_goto:
            return simple_statement(code, "<goto/>");
        case tk_regex_slash:
            // A statement does not begin with a division: the "/" opens a pattern.
            scan_pattern(token_pos, 1);
            return true;
        case tk_equal:
            pod_block();
            return true;
        case tk_if:
            return conditional(code);
        case tk_for:
            return headed_block(code, "<for>", "</for>", true);
        case tk_while:
            return headed_block(code, "<whiledo>", "</whiledo>");
        case tk_until:
            return headed_block(code, "<untildo>", "</untildo>");
        case tk_do:
            return do_block(code);
        default:
            return stray_token();
    }
}

// A simple statement is read to its end before its item is written, so that a modifier
// after it can still wrap it in a conditional or a loop.
bool Tperlparser::simple_statement(pending_code& code, std::string_view tag) {
    const bool plain = tag == code_tag;
    if (!plain) flush(code);
    const token_range first{token_pos, token_end()};
    token_range last = first;
    advance();
    if (tag == continue_tag && kind == tk_open_brace) {
        // A CONTINUE block: the item runs through the block's closing brace.
        advance();
        if (!read_statement(statement_end::closing_brace, last)) return false;
        open_item(tag, first.pos);
        append_position(token_pos);
        kind = tk_semicolon;
        return true;
    }
    if (!read_statement(statement_end::semicolon_or_modifier, last)) return false;
    if (kind != tk_semicolon && kind != tk_close_brace && kind != tk_eof) {
        return modifier(code, tag, first, last);
    }
    const std::int32_t end = kind == tk_eof ? last.end : token_end();
    if (!plain) {
        open_item(tag, first.pos);
        append_position(end);
    } else {
        if (code.end == 0) open_item(tag, first.pos);
        code.end = end;
    }
    return true;
}

// Passes over tokens to the end of a statement. Braces the statement opens (a block of
// EVAL, SUB, MAP or a hash subscript) hold whatever they hold; a "}" that closes a brace
// opened before the statement ends it.
bool Tperlparser::read_statement(statement_end end, token_range& last) {
    int depth = 0;
    bool cut_short = false;
    for (;;) {
        switch (kind) {
            case tk_eof:
                // The last statement of the text may leave out its ";", unless a literal the
                // end of the text cut short is the reason it has none.
                if (depth == 0 && end != statement_end::closing_brace && last.end > 0 &&
                    !cut_short) {
                    return true;
                }
                set_error(33);
                return false;
            case tk_semicolon:
                if (depth == 0 && end != statement_end::closing_brace) return true;
                break;
            case tk_if:
            case tk_while:
            case tk_until:
                if (depth == 0 && end == statement_end::semicolon_or_modifier) return true;
                break;
            case tk_open_brace:
                ++depth;
                break;
            case tk_close_brace:
                if (depth == 0) return true;
                --depth;
                break;
            case tk_bad_char:
                break;
            default:
                cut_short = cut_short || kind == tk_bad_string || kind == tk_bad_group ||
                            kind == tk_bad_comment;
                break;
        }
        last = {token_pos, token_end()};
        advance();
    }
}

// The statement just read becomes the one-statement body of the modifier's conditional or
// loop, which runs from the modifier keyword to the end of its condition.
bool Tperlparser::modifier(pending_code& code, std::string_view tag, token_range first,
                           token_range last) {
    if (tag == code_tag) flush(code);
    const std::string item =
        std::string(tag) + std::to_string(first.pos) + "-" + std::to_string(last.end);
    std::string_view close = "</if>";
    if (kind == tk_if) {
        open_range("<if>");
    } else if (kind == tk_while) {
        open_range("<whiledo>");
        close = "</whiledo>";
    } else {
        open_range("<untildo>");
        close = "</untildo>";
    }
    token_range condition_last = last;
    if (!read_statement(statement_end::semicolon, condition_last)) return false;
    append_position(token_pos - 1);
    open_item("<statement>", first.pos);
    append_position(first.end);
    output += item;
    open_item("</statement>", last.pos);
    append_position(last.end);
    whole_range(close);
    return true;
}

bool Tperlparser::do_block(pending_code& code) {
    const std::int32_t do_pos = token_pos;
    // The range of DO runs one past the keyword.
    const std::int32_t do_end = token_pos + token_len;
    if (advance() == tk_open_brace) return loop_tested_after(code, do_pos, do_end);
    // DO with an expression (a file, a call) is a plain statement.
    if (code.end == 0) open_item(code_tag, do_pos);
    code.end = skip_until(9);
    return code.end != 0;
}

// A "=" at the start of a statement opens a POD block, which runs to the end of the first
// later line that begins with "=cut", or to the end of the text.
void Tperlparser::pod_block() {
    std::int32_t pos = end_of_line(token_pos);
    while (at(pos) != '\001') {
        while (line_ends[static_cast<unsigned char>(at(pos))]) ++pos;
        const bool cut =
            at(pos) == '=' && at(pos + 1) == 'c' && at(pos + 2) == 'u' && at(pos + 3) == 't';
        pos = end_of_line(pos);
        if (cut) break;
    }
    kind = tk_comment;
    token_len = pos - token_pos;
}

}  // namespace tarnwell
