#include "officeexport/option_text.h"

#include <charconv>
#include <cmath>

namespace tarnwell {

std::string_view trimmed_text(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> read_decimal(std::string_view text) {
    std::string digits(trimmed_text(text));
    if (const std::size_t comma = digits.find(','); comma != std::string::npos) digits[comma] = '.';
    double number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::int64_t> read_whole_number(std::string_view text) {
    const std::string_view digits = trimmed_text(text);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

std::string decimal_text(double number) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace tarnwell
