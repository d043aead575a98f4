#include "cli/json_writer.h"

#include <cstdio>

namespace tarnwell::cli {

namespace {

// Length of the valid UTF-8 sequence that starts at `i`, or 0.
std::size_t utf8_sequence_length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t len = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        len = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        len = 4;
    else
        return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if (lead == 0xE0 && byte(i + 1) < 0xA0) return 0;
    if (lead == 0xED && byte(i + 1) > 0x9F) return 0;
    if (lead == 0xF0 && byte(i + 1) < 0x90) return 0;
    if (lead == 0xF4 && byte(i + 1) > 0x8F) return 0;
    return len;
}

void append_escape(std::string& out, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", value);
    out += buffer;
}

}  // namespace

std::string json_string(std::string_view bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            const std::size_t len = utf8_sequence_length(bytes, i);
            if (len == 0) {
                append_escape(out, c);
                ++i;
            } else {
                out.append(bytes.substr(i, len));
                i += len;
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F)
                    append_escape(out, c);
                else
                    out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
    return out;
}

void json_object::key(std::string_view name) {
    if (text_.size() > 1) text_ += ',';
    text_ += json_string(name);
    text_ += ':';
}

json_object& json_object::field(std::string_view name, std::string_view value) {
    key(name);
    text_ += json_string(value);
    return *this;
}

json_object& json_object::field(std::string_view name, std::int64_t value) {
    key(name);
    text_ += std::to_string(value);
    return *this;
}

json_object& json_object::field(std::string_view name, bool value) {
    key(name);
    text_ += value ? "true" : "false";
    return *this;
}

json_object& json_object::raw_field(std::string_view name, std::string_view json) {
    key(name);
    text_ += json;
    return *this;
}

}  // namespace tarnwell::cli
