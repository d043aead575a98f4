#include "workspace/document.h"

#include <filesystem>

#include "parsers/language_table.h"

namespace tarnwell {

namespace {
constexpr std::string_view modified_mark = " *";
}

bool set_document_language(document& doc, int language) {
    const int slot = parser_slot_of_language(language);
    const bool slot_changed = slot != doc.parser_slot;
    doc.language = language;
    doc.parser_slot = slot;
    return slot_changed;
}

int language_of_file(std::string_view path, std::string_view text) {
    return detect_language_of_file(path, text);
}

std::string file_name_of(std::string_view path) {
    return std::filesystem::path(path).filename().string();
}

std::string new_document_caption(int page_count) {
    return "New" + std::to_string(page_count);
}

std::string caption_with_modified_mark(std::string_view caption, bool modified) {
    std::string result(caption);
    if (modified) {
        if (result.find('*') == std::string::npos) result += modified_mark;
    } else if (result.ends_with(modified_mark)) {
        result.erase(result.size() - modified_mark.size());
    }
    return result;
}

}  // namespace tarnwell
