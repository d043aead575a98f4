// The part of a text between a begin-marked and an end-marked line, as the editor's marks
// cut it for a parse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell::cli {

struct marked_region {
    std::string
        text;  // from the start of the begin line to the start of the line after the end line
    std::int32_t offset;  // the number of characters before the begin line
};

// Lines are counted from 1 and separated by LF. Empty when begin is not below end or a line
// lies past the text.
std::optional<marked_region> cut_marked_lines(std::string_view text, int begin_line, int end_line);

}  // namespace tarnwell::cli
