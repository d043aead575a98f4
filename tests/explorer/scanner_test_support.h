// What the scanner tests share: made-up sources of any bytes, and reading a result text back.
#pragma once

#include <charconv>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

struct result_line {
    int declaration = 0;
    int begin = 0;
    int end = 0;
    std::string tag;
    std::string name;
};

// The lines of `text`, or nothing when a line is not "decl-begin-end|tag|name" CR LF with a
// known tag and a declaration line of 1 or more.
inline std::optional<std::vector<result_line>> parse_result_lines(std::string_view text) {
    std::vector<result_line> lines;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        result_line r;
        for (int* number : {&r.declaration, &r.begin, &r.end}) {
            const auto [next, error] =
                std::from_chars(line.data(), line.data() + line.size(), *number);
            if (error != std::errc() || next == line.data() + line.size()) return std::nullopt;
            line.remove_prefix(static_cast<std::size_t>(next - line.data()) + 1);
            if (line.data()[-1] != (number == &r.end ? '|' : '-')) return std::nullopt;
        }
        const std::size_t bar = line.find('|');
        if (bar == std::string_view::npos) return std::nullopt;
        r.tag = line.substr(0, bar);
        r.name = line.substr(bar + 1);
        if (r.declaration < 1 || (r.tag != "void" && r.tag != "proc" && r.tag != "cons" &&
                                  r.tag != "des" && r.tag != "Unknown")) {
            return std::nullopt;
        }
        lines.push_back(r);
    }
    return lines;
}

// Up to 40 pieces drawn from `pieces`, every fifth one or so a single byte of any value.
inline std::string random_source(std::mt19937& random, std::span<const std::string> pieces) {
    std::string source;
    const auto count = random() % 40;
    for (std::size_t i = 0; i < count; ++i) {
        source += random() % 5 == 0 ? std::string(1, static_cast<char>(random() % 256))
                                    : pieces[random() % pieces.size()];
    }
    return source;
}

}  // namespace tarnwell
