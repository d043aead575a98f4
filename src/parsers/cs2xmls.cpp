#include "parsers/cs2xmls.h"

#include <array>

namespace tarnwell {

namespace {

constexpr std::array<keyword_entry, 16> cs_keywords{{
    {"RETURN", tk_return},
    {"TRY", tk_try},
    {"CATCH", tk_handler},
    {"FINALLY", tk_finally},
    {"GOTO", tk_goto},
    {"BREAK", tk_break},
    {"CONTINUE", tk_continue},
    {"IF", tk_if},
    {"ELSE", tk_else},
    {"FOR", tk_for},
    {"FOREACH", tk_for},
    {"WHILE", tk_while},
    {"DO", tk_do},
    {"SWITCH", tk_switch},
    {"CASE", tk_case},
    {"DEFAULT", tk_default},
}};

constexpr brace_profile cs_profile{
    .keywords = cs_keywords,
    // "&", "*" and "_" start no word: "_name" reads as the stray "_" and the word "name".
    .word_start = make_byte_set("+-@", true),
    .word_continuation = make_byte_set("._", true, true),
    .scope_token = false,
    .unfinished_comment = tk_bad_literal,
    // A plain statement always runs to its ";", across line ends and statement keywords.
    .statement_start_set = false,
    .case_labels = true,
    .bare_catch = true,
    .elseif_if_offset = 0,
    // TRY and FINALLY leave no item: the statements of both blocks stay in the sequence.
    .silent_kinds = make_kind_set(
        {tk_try, tk_finally, tk_other, tk_bad_literal, tk_space, tk_comment, tk_directive}),
};

}  // namespace

Tcsparser::Tcsparser() : Tcppsparser(cs_profile) {}

}  // namespace tarnwell
