// What one editor page knows besides its text: the file behind it, its language, and the
// flowchart state that the chart commands keep with it.
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

// The chart of a document as the last flowchart request left it; a new or freshly loaded
// document starts from these values.
struct flowchart_state {
    std::string marked_text;
    std::string markup;
    std::string grid_script;
    int column_offset = 0;
    int expand_level = 4;
    int depth = 1;
    std::string highlight_range;  // "start-end", relative to the marked text
    std::string function_name;
    bool flowchart_stale = false;
};

struct document {
    std::string file_path;  // empty for a document never saved
    int language = 0;       // row of the language table
    int parser_slot = 0;    // 0 until a language sets it; the chart commands then use 3
    flowchart_state flowchart;
};

// Sets the language and its parser slot together; true when the parser slot changed.
bool set_document_language(document& doc, int language);

// The language a file gets from its name's extension and, for ".sql", from its text.
int language_of_file(std::string_view path, std::string_view text);

// The file name without its directory.
std::string file_name_of(std::string_view path);

// The caption of a new document when the page count includes it: "New3".
std::string new_document_caption(int page_count);

// A tab caption with the " *" of unsaved changes added or taken away.
std::string caption_with_modified_mark(std::string_view caption, bool modified);

}  // namespace tarnwell
