// Reads small JSON inputs of the command line, one value at a time, as the caller expects them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell::cli {

// Malformed or unexpected JSON; the text starts with "line L, column C: " when the fault has
// a place.
struct json_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A strict pull reader of RFC 8259 JSON (no comments, no trailing commas, no leading zeros, no
// raw control characters in strings); bytes from 0x80 up in strings are taken as they are. The
// caller walks the structure it expects; anything else raises json_error at its place.
// Nothing recurses and nothing is kept but the nesting, so any input is read in linear time.
class json_reader {
  public:
    explicit json_reader(std::string_view text) : text_(text) {}

    void begin_object();
    // Reads the next member's key and its ":"; false at the closing "}".
    bool next_member(std::string& key);
    void begin_array();
    // Steps to the next element; false at the closing "]".
    bool next_element();

    // An integer without fraction or exponent, from `minimum` to `maximum`.
    std::int64_t read_integer(std::int64_t minimum, std::int64_t maximum);
    bool read_bool();
    std::string read_string();
    // Only white space may follow the value read.
    void finish();

    // "line L, column C: " + what, at the current place.
    [[noreturn]] void fail(std::string_view what) const;

  private:
    void skip_space();
    char peek();
    void expect(char c, std::string_view what);
    void begin(char open);
    bool next(char close, std::string_view what);
    std::uint32_t read_hex4();
    std::string found() const;

    std::string_view text_;
    std::size_t pos_ = 0;
    // Per open object or array: whether no element was read from it yet.
    std::vector<bool> first_;
};

}  // namespace tarnwell::cli
