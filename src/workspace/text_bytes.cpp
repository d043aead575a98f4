#include "workspace/text_bytes.h"

namespace tarnwell {

namespace {

// The length of the UTF-8 sequence that starts with this byte; 0 for a byte that cannot.
int sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

bool is_valid_utf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = sequence_length(lead);
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            if (!continuation(static_cast<unsigned char>(text[i + k]))) return false;
        }
        if (length >= 3) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            // Overlong forms, surrogates and code points past U+10FFFF.
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
                return false;
            }
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

line_break first_line_break(std::string_view text) {
    const std::size_t pos = text.find_first_of("\r\n");
    if (pos == std::string_view::npos || text[pos] == '\n') return line_break::lf;
    return pos + 1 < text.size() && text[pos + 1] == '\n' ? line_break::crlf : line_break::cr;
}

char32_t next_code_point(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = sequence_length(lead);
    if (length == 0 || pos + static_cast<std::size_t>(length) > text.size()) length = 1;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        code = (code << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    }
    pos += static_cast<std::size_t>(length);
    return code;
}

}  // namespace tarnwell
