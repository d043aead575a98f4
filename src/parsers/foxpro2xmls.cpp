#include "parsers/foxpro2xmls.h"

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 19> foxpro_keywords{{
    {"RETURN", tk_return},
    {"RETU", tk_return},
    {"ENDFUNC", tk_function},
    {"ENDPROC", tk_endproc},
    {"EXIT", tk_break},
    {"LOOP", tk_continue},
    {"IF", tk_if},
    {"ELSE", tk_else},
    {"ENDIF", tk_endif},
    {"FOR", tk_for},
    {"ENDFOR", tk_next},
    {"SCAN", tk_for},
    {"ENDSCAN", tk_next},
    {"ENDCASE", tk_endcase},
    {"ENDDO", tk_wend},
    {"OTHERWISE", tk_otherwise},
    {"DO", tk_do},
    {"WHILE", tk_while},
    {"CASE", tk_case},
}};

using act = line_action;
using vb = Tvbsparser;

constexpr line_rule foxpro_rules[] = {
    {tk_function, act::closer},  // ENDFUNC
    {tk_endproc, act::closer},
    {tk_select, act::selection},  // DO CASE
    // A DO WHILE body that ends elsewhere than at ENDDO records code 0, which has no message.
    {vb::tk_do_while, act::pretest_loop, "<whiledo>", "</whiledo>", tk_wend, 0},
};

// Every statement and header ends at its line end.
constexpr line_dialect foxpro_dialect{
    .rules = foxpro_rules,
    .changes = {},
    .entry_passes_separator = false,
    .statement_skip = 8,
    .header_skip = 8,
    .for_close_skip = 8,
    .select_skip = 8,
    .case_skip = 8,
    // FoxPro has neither a one-line IF nor a DO ... LOOP.
    .else_separator = ':',
    .else_separator_kind = tk_semicolon,
    .plain_loop_closes_do = false,
};

}  // namespace

Tfoxproparser::Tfoxproparser() : Tvbsparser(foxpro_keywords, foxpro_dialect) {}

void Tfoxproparser::scan_raw() {
    const char c = at(token_pos);
    const char next = at(token_pos + 1);
    if (c == '\001') {
        scan_eof();
    } else if (is_blank(c)) {
        scan_blanks();
    } else if (is_line_break(c)) {
        scan_newline();
    } else if (c == ';') {
        scan_continuation();
    } else if (c == '*' || c == '#' || (c == '&' && next == '&')) {
        // A ";" before the line break continues the comment as it continues a statement;
        // an LF line break counts as a CR does.
        scan_comment(';', false);
    } else if (c == '&') {
        kind = tk_bad_char;
        token_len = 1;
    } else if (c == '"' || c == '\'') {
        scan_string(false);
    } else if (c == '?' || c == '=') {
        // The print command and the assignment-like statement start plain statements.
        kind = tk_word;
        token_len = 1;
    } else if (is_word_start(c)) {
        scan_word(false);
        if (!starts_statement(token_pos)) {
            lookup_keyword();
        } else if (keyword_text_is({token_pos, token_len, tk_word}, "TEXT")) {
            scan_text_block();
        } else if (keyword_text_is({token_pos, token_len, tk_word}, "NEXT")) {
            // NEXT closes a FOR as ENDFOR does; elsewhere it is a scope ("REPLACE NEXT 5").
            kind = tk_next;
        } else {
            lookup_keyword();
        }
    } else {
        scan_bad_char();
    }
}

// Whether the token at `pos` is the first of a statement: only blanks stand before it on its
// line, and the line before does not continue onto it with ";".
bool Tfoxproparser::starts_statement(std::int32_t pos) const {
    while (is_blank(at(pos - 1))) --pos;
    if (pos == 1) return true;
    if (!is_line_break(at(pos - 1))) return false;
    --pos;
    if (at(pos) == '\n' && at(pos - 1) == '\r') --pos;
    while (is_blank(at(pos - 1))) --pos;
    return at(pos - 1) != ';';
}

// TEXT ... ENDTEXT holds lines of text, not statements: the block through ENDTEXT is one
// plain word. TEXT followed by anything but its clauses ("text = 1") is a name, and without
// an ENDTEXT line before the end of the text TEXT stays a word.
void Tfoxproparser::scan_text_block() {
    kind = tk_word;
    std::int32_t pos = token_pos + token_len;
    while (is_blank(at(pos))) ++pos;
    if (!is_line_break(at(pos)) && at(pos) != '\001' && !is_letter(at(pos)) && at(pos) != '&') {
        return;
    }
    for (;;) {
        pos = line_end(pos);
        if (at(pos) == '\001') return;
        pos += line_break_length(pos);
        while (is_blank(at(pos))) ++pos;
        std::int32_t end = pos;
        while (is_letter(at(end))) ++end;
        if (keyword_text_is({pos, end - pos, tk_word}, "ENDTEXT") &&
            !is_word_continuation(at(end))) {
            token_len = end - token_pos;
            return;
        }
    }
}

bool Tfoxproparser::is_word_start(char c) const {
    return is_letter(c) || c == '_';
}

bool Tfoxproparser::combines(const raw_token& keyword) const {
    return keyword.kind == tk_do;
}

// DO WHILE and DO CASE open structures; any other DO calls a procedure and is a plain word
// up to the next token.
Tfoxproparser::combination Tfoxproparser::combine_with(const raw_token&, const raw_token& next) {
    if (next.kind == tk_while) return {tk_do_while, reach::through_next};
    if (next.kind == tk_case) return {tk_select, reach::through_next};
    return {tk_word, reach::up_to_next};
}

// IF has no THEN and no one-line form; `</if>` stands on the token after ENDIF, as a rule the
// line end of the ENDIF line.
bool Tfoxproparser::conditional(pending_code& code) {
    flush(code);
    open_range("<if>");
    if (!close_by_skip(8) || !parse_statements(false)) return false;
    if (kind != tk_else && kind != tk_endif) {
        set_error(9);
        return false;
    }
    if (kind == tk_else && !else_part()) return false;
    advance();
    whole_range("</if>");
    return true;
}

}  // namespace tarnwell
