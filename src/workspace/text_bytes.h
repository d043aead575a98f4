// Facts about a text taken as bytes: whether it reads as UTF-8, and which line break it
// uses, so that the editor shows it right and adds lines the way the file already has them.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarnwell {

bool is_valid_utf8(std::string_view text);

enum class line_break { lf, crlf, cr };

// The kind of the first line break in the text; LF when there is none.
line_break first_line_break(std::string_view text);

// Reads one UTF-8 sequence at `pos` of a text known to be valid UTF-8, advancing `pos`.
char32_t next_code_point(std::string_view text, std::size_t& pos);

}  // namespace tarnwell
