#include "parsers/bas2xmls.h"

namespace tarnwell {

namespace {

constexpr auto bas_keywords = Tvbsparser::with_block_keywords<10>({{
    {"EXIT", tk_exit},
    {"RETURN", tk_return},
    {"SUB", tk_sub},
    {"DEF", tk_sub},
    {"FUNCTION", tk_function},
    {"PROPERTY", tk_property},
    {"STOP", tk_exit},
    {"GOTO", tk_goto},
    {"END", tk_end},
    {"REM", tk_comment},
}});

constexpr line_rule bas_changes[] = {
    {tk_exit, line_action::jump, "<exit/>"},
    {tk_return, line_action::jump, "<return/>"},
};

line_dialect bas_dialect() {
    line_dialect dialect = Tvbsparser::visual_basic_dialect();
    dialect.changes = bas_changes;
    // ":" is a line end here, so a nested sequence needs no separator passed at its start, and
    // the one-line IF's ELSE becomes a line end.
    dialect.entry_passes_separator = false;
    dialect.select_skip = 7;
    dialect.else_separator_kind = tk_newline;
    return dialect;
}

}  // namespace

Tbasparser::Tbasparser() : Tvbsparser(bas_keywords, bas_dialect()) {}

void Tbasparser::scan_raw() {
    if (at(token_pos) == ':') {
        kind = tk_newline;
        token_len = 1;
        return;
    }
    Tvbsparser::scan_raw();
}

// "#" starts a word (file numbers such as "#1"), so BASIC has no directive token.
bool Tbasparser::is_word_start(char c) const {
    return is_letter(c) || c == '#' || c == '[';
}

// Type suffixes "!", "#", "$", "%" and "&" belong to the word; ":" never does, so BASIC has no
// label token.
bool Tbasparser::is_word_continuation(char c) const {
    return is_letter(c) || is_digit(c) || c == '!' || c == '#' || c == '$' || c == '%' ||
           c == '&' || c == '.' || c == '_';
}

}  // namespace tarnwell
