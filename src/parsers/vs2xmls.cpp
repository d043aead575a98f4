#include "parsers/vs2xmls.h"

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 25> vs_keywords{{
    {"EXIT", tk_exit},
    {"SUB", tk_sub},
    {"FUNCTION", tk_function},
    {"PROPERTY", tk_property},
    {"STOP", tk_exit},
    {"GOTO", tk_goto},
    {"END", tk_end},
    {"REM", tk_comment},
    {"RETURN", tk_return},
    {"TRY", tk_try},
    {"CATCH", tk_handler},
    {"FINALLY", tk_finally},
    {"DO", tk_do},
    {"UNTIL", tk_until},
    {"LOOP", tk_loop},
    {"WHILE", tk_while},
    {"IF", tk_if},
    {"THEN", tk_then},
    {"ELSE", tk_else},
    {"ELSEIF", tk_elseif},
    {"ENDIF", tk_endif},
    {"FOR", tk_for},
    {"NEXT", tk_next},
    {"SELECT", tk_select},
    {"CASE", tk_case},
}};

// The rows of TRY are among the rows every dialect shares.
constexpr line_rule vs_changes[] = {
    {tk_exit, line_action::jump, "<exit/>"},
};

line_dialect vs_dialect() {
    line_dialect dialect = Tvbsparser::visual_basic_dialect();
    dialect.changes = vs_changes;
    return dialect;
}

}  // namespace

Tvsparser::Tvsparser() : Tvbsparser(vs_keywords, vs_dialect()) {}

// "_" continues the line only when nothing but blanks, and perhaps a comment, follows it on
// its line; anywhere else it starts a name ("_count = 0", "If _stop Then").
void Tvsparser::scan_raw() {
    if (at(token_pos) == '_' && !continues_line(token_pos)) {
        scan_word(true);
        return;
    }
    Tvbsparser::scan_raw();
}

bool Tvsparser::continues_line(std::int32_t underscore) const {
    std::int32_t pos = underscore + 1;
    while (is_blank(at(pos))) ++pos;
    const char c = at(pos);
    return is_line_break(c) || c == '\001' || c == '\'';
}

// Generic type arguments such as "List<T>" stay one word.
bool Tvsparser::is_word_continuation(char c) const {
    return c == '<' || c == '>' || Tvbsparser::is_word_continuation(c);
}

Tvsparser::combination Tvsparser::combine_with(const raw_token& keyword, const raw_token& next) {
    if (keyword.kind == tk_end && next.kind == tk_while) return {tk_wend, reach::through_next};
    if (keyword.kind == tk_end && next.kind == tk_try) return {tk_end_try, reach::through_next};
    if (keyword.kind == tk_exit && next.kind == tk_try) return {tk_goto, reach::through_next};
    return Tvbsparser::combine_with(keyword, next);
}

}  // namespace tarnwell
