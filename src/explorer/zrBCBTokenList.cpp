#include "explorer/zrBCBTokenList.h"

#include "explorer/keyword_index.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace tarnwell {

namespace {

constexpr bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool is_word_char(char c) {
    return is_letter(c) || is_digit(c) || c == '_';
}
constexpr bool is_blank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b != 0 && b != '\n' && b != '\r' && b <= ' ';
}
constexpr bool is_line_end(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

struct operator_entry {
    std::string_view text;
    bcb_token kind;
};

// The operators of two and three characters, longest first so that the first match is the
// longest one.
constexpr operator_entry operators[] = {
    {"->*", bcb_token::arrow_star},
    {"...", bcb_token::ellipsis},
    {"<<=", bcb_token::shift_left_equal},
    {">>=", bcb_token::shift_right_equal},
    {"!=", bcb_token::not_equal},
    {"%=", bcb_token::percent_equal},
    {"&&", bcb_token::and_and},
    {"&=", bcb_token::and_equal},
    {"()", bcb_token::parens},
    {"**", bcb_token::star_star},
    {"*/", bcb_token::comment_close},
    {"*=", bcb_token::star_equal},
    {"++", bcb_token::plus_plus},
    {"+=", bcb_token::plus_equal},
    {"--", bcb_token::minus_minus},
    {"-=", bcb_token::minus_equal},
    {"->", bcb_token::arrow},
    {".*", bcb_token::point_star},
    {"..", bcb_token::point_point},
    {"::", bcb_token::colon_colon},
    {"<<", bcb_token::shift_left},
    {"<=", bcb_token::less_equal},
    {"==", bcb_token::equal_equal},
    {">=", bcb_token::greater_equal},
    {">>", bcb_token::shift_right},
    {"?:", bcb_token::question_colon},
    {"[]", bcb_token::brackets},
    {"^=", bcb_token::caret_equal},
    {"{}", bcb_token::braces},
    {"|=", bcb_token::unknown},
    {"||", bcb_token::unknown},
};

// The kinds of the one-character operators; every other character is unknown.
constexpr std::array<bcb_token, 256> single_kinds = [] {
    std::array<bcb_token, 256> kinds{};
    kinds.fill(bcb_token::unknown);
    kinds['{'] = bcb_token::brace_open;
    kinds['}'] = bcb_token::brace_close;
    kinds['('] = bcb_token::paren_open;
    kinds[')'] = bcb_token::paren_close;
    kinds['['] = bcb_token::bracket_open;
    kinds[']'] = bcb_token::bracket_close;
    kinds[':'] = bcb_token::colon;
    kinds[';'] = bcb_token::semicolon;
    kinds['<'] = bcb_token::less;
    kinds['>'] = bcb_token::greater;
    kinds[','] = bcb_token::comma;
    kinds['='] = bcb_token::assign;
    kinds['!'] = bcb_token::bang;
    kinds['%'] = bcb_token::percent;
    kinds['&'] = bcb_token::ampersand;
    kinds['*'] = bcb_token::star;
    kinds['+'] = bcb_token::plus;
    kinds['-'] = bcb_token::minus;
    kinds['.'] = bcb_token::point;
    kinds['/'] = bcb_token::slash;
    kinds['?'] = bcb_token::question;
    kinds['^'] = bcb_token::caret;
    return kinds;
}();

constexpr std::size_t longest_keyword = [] {
    std::size_t longest = 0;
    for (const std::string_view keyword : bcb_keywords) longest = std::max(longest, keyword.size());
    return longest;
}();

// Byte sums of words no longer than the longest keyword stay below this.
constexpr std::size_t sum_slots = longest_keyword * 256;

constexpr std::size_t byte_sum(std::string_view word) {
    std::size_t sum = 0;
    for (const char c : word) sum += static_cast<unsigned char>(c);
    return sum;
}

constexpr auto keyword_sums = make_keyword_index<sum_slots>(bcb_keywords, byte_sum);

constexpr bcb_token keyword_kind(std::size_t k) {
    return static_cast<bcb_token>(static_cast<std::size_t>(bcb_token::keyword_first) + k);
}

}  // namespace

void TLongIntList::add(std::int32_t value) {
    if (items_.size() == items_.capacity()) {
        constexpr std::size_t step = 1024;
        items_.reserve(items_.capacity() + std::max(step, items_.capacity()));
    }
    items_.push_back(value);
}

TBCBTokenList::TBCBTokenList() {
    static const std::string empty;
    load(empty);
}

void TBCBTokenList::load(const std::string& text) {
    constexpr auto limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    text_ = text.c_str();
    size_ = 0;
    while (size_ < text.size() && text_[size_] != '\0') ++size_;
    if (size_ >= limit) throw std::length_error("the text is too large to scan");

    boundaries_.clear();
    boundaries_.add(0);
    for (std::size_t p = 0; p < size_;) {
        p = token_end(p);
        boundaries_.add(static_cast<std::int32_t>(p));
    }
    boundaries_.add(static_cast<std::int32_t>(size_));

    line_starts_.assign(1, 0);
    for (std::size_t p = 0; p < size_; ++p) {
        if (at(p) == '\n' || (at(p) == '\r' && at(p + 1) != '\n')) {
            line_starts_.push_back(static_cast<std::int32_t>(p + 1));
        }
    }
    cursor_ = 0;
}

std::size_t TBCBTokenList::token_end(std::size_t start) const {
    const char c = at(start);
    std::size_t p = start + 1;
    if (is_blank(c)) {
        while (is_blank(at(p))) ++p;
    } else if (c == '\r') {
        if (at(p) == '\n') ++p;
    } else if (c == '\n') {
    } else if (is_letter(c) || c == '_' || c == '~') {
        while (is_word_char(at(p))) ++p;
    } else if (is_digit(c)) {
        while (is_digit(at(p)) || at(p) == 'E' || at(p) == 'e' ||
               (at(p) == '.' && at(p + 1) != '.')) {
            ++p;
        }
    } else if (c == '"') {
        // A backslash escapes the character after it, so a quote after an odd run of
        // backslashes does not close the string.
        while (at(p) != '\0' && at(p) != '"') p += at(p) == '\\' && at(p + 1) != '\0' ? 2 : 1;
        if (at(p) == '"') ++p;
    } else if (c == '\'') {
        if (at(p) == '\\' && at(p + 1) != '\0' && at(p + 2) == '\'') {
            p += 3;
        } else if (at(p) != '\0' && at(p + 1) == '\'') {
            p += 2;
        }
    } else if (c == '/' && at(p) == '*') {
        for (p = start + 2; at(p) != '\0'; ++p) {
            if (at(p) == '*' && at(p + 1) == '/') return p + 2;
        }
    } else if (c == '/' && at(p) == '/') {
        while (!is_line_end(at(p))) ++p;
    } else if (c == '#') {
        if (is_letter(at(p))) return directive_end(start);
        if (at(p) == '#') ++p;
    } else if (c == '\\') {
        if (at(p) == '\r')
            p += at(p + 1) == '\n' ? 2 : 1;
        else if (at(p) == '\n')
            ++p;
    } else {
        for (const operator_entry& op : operators) {
            if (op.text[0] == c && at(p) == op.text[1] &&
                (op.text.size() == 2 || at(p + 1) == op.text[2])) {
                return start + op.text.size();
            }
        }
    }
    return p;
}

// A directive runs to the end of its line and on over every line that ends with a backslash.
std::size_t TBCBTokenList::directive_end(std::size_t start) const {
    std::size_t p = start;
    for (;;) {
        while (!is_line_end(at(p))) ++p;
        if (at(p) == '\0' || at(p - 1) != '\\') return p;
        p += at(p) == '\r' && at(p + 1) == '\n' ? 2 : 1;
    }
}

bcb_token TBCBTokenList::kind(std::size_t i) const {
    const std::size_t start = static_cast<std::size_t>(boundaries_[i]);
    const std::size_t length = static_cast<std::size_t>(boundaries_[i + 1]) - start;
    const char c = at(start);
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\0') return bcb_token::end_of_text;
    if (c == '\r' || c == '\n') return bcb_token::line_break;
    if (is_blank(c)) return bcb_token::blank;
    if (is_letter(c) || c == '_' || c == '~') return word_kind(start, length);
    if (is_digit(c)) {
        const std::string_view number(text_ + start, length);
        return number.find_first_of(".Ee") == std::string_view::npos ? bcb_token::number
                                                                     : bcb_token::real_number;
    }
    if (c == '"') return bcb_token::string;
    if (c == '\'') return bcb_token::character;
    if (c == '/' && length > 1) {
        return at(start + 1) == '*' ? bcb_token::block_comment : bcb_token::line_comment;
    }
    if (c == '#') {
        if (length == 1) return bcb_token::hash;
        return at(start + 1) == '#' ? bcb_token::double_hash : bcb_token::line_comment;
    }
    if (c == '\\') return length > 1 ? bcb_token::line_continuation : bcb_token::unknown;
    if (c == '$' || c == '|' || byte >= 127) return bcb_token::unknown;
    if (length == 1) return single_kinds[byte];
    const std::string_view text(text_ + start, length);
    for (const operator_entry& op : operators) {
        if (op.text == text) return op.kind;
    }
    return bcb_token::unknown;
}

bcb_token TBCBTokenList::word_kind(std::size_t start, std::size_t length) const {
    if (length > longest_keyword) return bcb_token::identifier;
    const std::string_view word(text_ + start, length);
    for (const std::size_t k : keyword_sums.keywords_at(byte_sum(word))) {
        if (bcb_keywords[k] == word)
            return word == "foreach" ? bcb_keyword("for") : keyword_kind(k);
    }
    return bcb_token::identifier;
}

std::string_view TBCBTokenList::token(std::size_t i) const {
    const auto start = static_cast<std::size_t>(boundaries_[i]);
    return {text_ + start, static_cast<std::size_t>(boundaries_[i + 1]) - start};
}

void TBCBTokenList::next() {
    const std::size_t last = count() - 1;
    while (cursor_ < last) {
        ++cursor_;
        if (is_significant(kind(cursor_))) return;
    }
}

bool TBCBTokenList::previous() {
    for (std::size_t i = cursor_; i > 0;) {
        --i;
        if (is_significant(kind(i))) {
            cursor_ = i;
            return true;
        }
    }
    return false;
}

bool TBCBTokenList::raw_next() {
    if (cursor_ + 1 >= count()) return false;
    ++cursor_;
    return true;
}

bool TBCBTokenList::raw_previous() {
    if (cursor_ == 0) return false;
    --cursor_;
    return true;
}

void TBCBTokenList::next_non_comment() {
    const std::size_t last = count() - 1;
    while (cursor_ < last) {
        ++cursor_;
        if (!is_comment(kind(cursor_))) return;
    }
}

int TBCBTokenList::line_of(std::int32_t position) const {
    if (position < 0 || static_cast<std::size_t>(position) > size_) return -1;
    const auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), position);
    return static_cast<int>(after - line_starts_.begin());
}

}  // namespace tarnwell
