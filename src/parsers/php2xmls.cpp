#include "parsers/php2xmls.h"

#include <array>

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 24> php_keywords{{
    {"RETURN", tk_return},
    {"ABORT", tk_exit},
    {"EXIT", tk_exit},
    {"FOR", tk_for},
    {"IF", tk_if},
    {"ELSE", tk_else},
    {"LABEL", tk_label},
    {"GOTO", tk_goto},
    {"TRY", tk_try},
    {"ELSEIF", tk_elseif},
    {"FOREACH", tk_for},
    {"CATCH", tk_handler},
    {"_EXCEPT", tk_handler},
    {"__EXCEPT", tk_handler},
    {"FINALLY", tk_finally},
    {"_FINALLY", tk_finally},
    {"__FINALLY", tk_finally},
    {"WHILE", tk_while},
    {"DO", tk_do},
    {"BREAK", tk_break},
    {"CONTINUE", tk_continue},
    {"SWITCH", tk_switch},
    {"CASE", tk_case},
    {"DEFAULT", tk_default},
}};

constexpr token_kind tk_bad_char = Tcppsparser::tk_bad_char;
constexpr token_kind tk_bad_string = Tcppsparser::tk_bad_string;

constexpr brace_profile php_profile{
    .keywords = php_keywords,
    .word_start = make_byte_set("$+-_", true),
    .word_continuation = make_byte_set("*._", true, true),
    .scope_token = true,
    .unfinished_comment = tk_bad_comment,
    // A plain statement always runs to its ";", across line ends and statement keywords.
    .statement_start_set = false,
    .case_labels = true,
    // CATCH takes its parameter group as IF takes its condition.
    .bare_catch = false,
    // "elseif" is turned in place into the "if" of a conditional in the else-branch.
    .elseif_if_offset = 4,
    // What the lexer could not read is passed over quietly; its own record says what it was.
    .silent_kinds = make_kind_set({tk_try, tk_finally, tk_bad_char, tk_bad_comment, tk_bad_string,
                                   tk_bad_group, tk_space, tk_comment, tk_directive}),
};

}  // namespace

Tphpparser::Tphpparser() : Tcppsparser(php_profile) {}

void Tphpparser::scan() {
    tsparser::scan();
    const char c = at(token_pos);
    if (scan_common(c, white_space, tk_bad_string, tk_comment)) return;
    if (c == '(') {
        scan_group();
    } else if (c == '/') {
        scan_slash();
    } else if (c == '?') {
        kind = tk_question;
        token_len = 1;
    } else if (!scan_punctuation(c)) {
        kind = tk_bad_char;
        token_len = 1;
        set_error(32);
    }
}

bool Tphpparser::ends_code() const {
    return kind == tk_eof || (kind == tk_question && at(token_pos + 1) == '>');
}

void Tphpparser::scan_slash() {
    const char next = at(token_pos + 1);
    if (next == '*') {
        scan_block_comment();
    } else if (next == '/') {
        scan_to_line_end(tk_comment);
    } else if (next == '=') {
        kind = tk_slash_assign;
        token_len = 2;
    } else {
        kind = tk_slash;
        token_len = 1;
    }
}

// The group is read by characters; only what may hold a ")" of its own is read as a token,
// and when that token is cut short it becomes the result. Braces may stand inside it (a
// closure's body, `$s{0}`, `$o->{'name'}`); a group that never closes is reported at its first
// brace, where a ")" left out before a block shows.
void Tphpparser::scan_group() {
    nesting_guard guard(*this);
    const std::int32_t start = token_pos;
    std::int32_t first_brace = -1;
    std::int32_t pos = start + 1;
    for (;;) {
        const char c = at(pos);
        if (c == ')') {
            kind = tk_parens;
            token_pos = start;
            token_len = pos - start + 1;
            return;
        }
        if (c == '\001') {
            kind = tk_bad_group;
            token_pos = start;
            token_len = (first_brace >= 0 ? first_brace : pos) - start;
            set_error(19);
            return;
        }
        if (c == '{' && first_brace < 0) first_brace = pos;
        if ((c == '/' && at(pos + 1) == '/') || c == '#') {
            // A line comment may hold anything, an apostrophe or a parenthesis included.
            pos = end_of_line(pos);
            continue;
        }
        token_kind whole = tk_eof;
        if (c == '(') {
            whole = tk_parens;
        } else if (c == '"' || c == '\'') {
            whole = tk_string;
        } else if (c == '/' && at(pos + 1) == '*') {
            whole = tk_comment;
        }
        if (whole == tk_eof) {
            ++pos;
            continue;
        }
        token_pos = pos;
        scan();
        if (kind != whole) return;
        pos += token_len;
    }
}

}  // namespace tarnwell
