// The languages a document can have: the combo text, the file extensions that select it,
// and the parser slot that charts it.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tarnwell {

struct language_row {
    int number;
    std::string_view combo_text;  // empty for the two SQL rows, which have no combo item
    std::string_view short_name;  // the name the command line accepts
    int detection_step;           // 0: never detected
    std::string_view extensions;
    std::string_view highlighter;
    int parser_slot;
};

inline constexpr int language_count = 28;
inline constexpr int language_general = 0;
inline constexpr int language_c = 1;
inline constexpr int language_java = 3;
inline constexpr int language_plsql = 14;
inline constexpr int language_tsql = 15;

const std::array<language_row, language_count>& language_table();

// The language of a file name's extension pattern (such as ".cpp"), by substring search in
// detection order; `text` decides between the two SQL dialects. A name without an extension is
// C/C++; an extension no language claims is General, which charts nothing.
int detect_language(std::string_view extension_pattern, std::string_view text);

// The language of a file path: by its extension, or by its whole name for a name without one
// (a file that starts with a dot has none).
int detect_language_of_file(std::string_view path, std::string_view text);

// The parser slot that serves a language number; 0 for numbers outside the table.
int parser_slot_of_language(int language);

// The parser slot whose layout a parser slot's charts follow: the slots of the syntax-tree
// languages borrow the layout of the older language their selections behave like.
int layout_slot_of(int parser_slot);

// A language given by number ("0" to "27") or by short name ("cpp", "tsql", ...).
std::optional<int> language_by_name(std::string_view name);

}  // namespace tarnwell
