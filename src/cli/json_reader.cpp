#include "cli/json_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tarnwell::cli {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

void append_utf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

void json_reader::fail(std::string_view what) const {
    const std::string_view before = text_.substr(0, pos_);
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const std::size_t line_start = before.find_last_of('\n');
    const std::size_t column = line_start == std::string_view::npos ? pos_ + 1 : pos_ - line_start;
    throw json_error("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
                     std::string(what));
}

std::string json_reader::found() const {
    if (pos_ >= text_.size()) return ", found the end of the input";
    const auto c = static_cast<unsigned char>(text_[pos_]);
    if (c < 0x20 || c >= 0x7F) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02x", static_cast<unsigned>(c));
        return std::string(", found byte ") + code;
    }
    return std::string(", found '") + static_cast<char>(c) + "'";
}

void json_reader::skip_space() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\r'))
        ++pos_;
}

char json_reader::peek() {
    skip_space();
    return pos_ < text_.size() ? text_[pos_] : '\0';
}

void json_reader::expect(char c, std::string_view what) {
    if (peek() != c) fail("expected " + std::string(what) + found());
    ++pos_;
}

void json_reader::begin(char open) {
    expect(open, open == '{' ? "an object" : "an array");
    first_.push_back(true);
}

bool json_reader::next(char close, std::string_view what) {
    if (peek() == close) {
        ++pos_;
        first_.pop_back();
        return false;
    }
    if (!first_.back()) expect(',', what);
    first_.back() = false;
    return true;
}

void json_reader::begin_object() {
    begin('{');
}

bool json_reader::next_member(std::string& key) {
    if (!next('}', "',' or '}'")) return false;
    key = read_string();
    expect(':', "':'");
    return true;
}

void json_reader::begin_array() {
    begin('[');
}

bool json_reader::next_element() {
    return next(']', "',' or ']'");
}

std::int64_t json_reader::read_integer(std::int64_t minimum, std::int64_t maximum) {
    const auto expected = [&] {
        return "expected an integer from " + std::to_string(minimum) + " to " +
               std::to_string(maximum);
    };
    skip_space();
    const std::size_t start = pos_;
    std::size_t end = pos_;
    if (end < text_.size() && text_[end] == '-') ++end;
    const std::size_t digits = end;
    while (end < text_.size() && is_digit(text_[end])) ++end;
    const bool leading_zero = end - digits > 1 && text_[digits] == '0';
    if (end == digits || leading_zero ||
        (end < text_.size() && (text_[end] == '.' || text_[end] == 'e' || text_[end] == 'E'))) {
        fail(expected() + found());
    }
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(text_.data() + start, text_.data() + end, value);
    if (error != std::errc() || stop != text_.data() + end || value < minimum || value > maximum)
        fail(expected() + ", found " + std::string(text_.substr(start, end - start)));
    pos_ = end;
    return value;
}

bool json_reader::read_bool() {
    skip_space();
    for (const bool value : {true, false}) {
        const std::string_view word = value ? "true" : "false";
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return value;
        }
    }
    fail("expected true or false" + found());
}

std::uint32_t json_reader::read_hex4() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i, ++pos_) {
        const char c = pos_ < text_.size() ? text_[pos_] : '\0';
        std::uint32_t digit = 0;
        if (is_digit(c)) {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            fail("expected four hexadecimal digits after \\u" + found());
        }
        value = value * 16 + digit;
    }
    return value;
}

std::string json_reader::read_string() {
    expect('"', "a string");
    std::string out;
    for (;;) {
        if (pos_ >= text_.size()) fail("unterminated string");
        const char c = text_[pos_];
        if (c == '"') {
            ++pos_;
            return out;
        }
        if (static_cast<unsigned char>(c) < 0x20) fail("control character in a string");
        if (c != '\\') {
            out += c;
            ++pos_;
            continue;
        }
        ++pos_;
        const char escape = pos_ < text_.size() ? text_[pos_] : '\0';
        constexpr std::string_view from = "\"\\/bfnrt";
        constexpr std::string_view to = "\"\\/\b\f\n\r\t";
        if (const std::size_t k = from.find(escape); k != from.npos) {
            out += to[k];
            ++pos_;
            continue;
        }
        if (escape != 'u') fail("unknown escape" + found());
        ++pos_;
        std::uint32_t code = read_hex4();
        if (code >= 0xDC00 && code <= 0xDFFF) fail("lone low surrogate in a string");
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (text_.substr(pos_, 2) != "\\u") fail("lone high surrogate in a string");
            pos_ += 2;
            const std::uint32_t low = read_hex4();
            if (low < 0xDC00 || low > 0xDFFF) fail("lone high surrogate in a string");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        append_utf8(out, code);
    }
}

void json_reader::finish() {
    skip_space();
    if (pos_ < text_.size()) fail("expected the end of the input" + found());
}

}  // namespace tarnwell::cli
