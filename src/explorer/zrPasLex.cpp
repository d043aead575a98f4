#include "explorer/zrPasLex.h"

#include "explorer/keyword_index.h"

namespace tarnwell {

namespace {

// Keyword hashes are sums of letter values; every keyword sums to less than this, so a word
// reaching it is an identifier without any comparison.
constexpr std::size_t hash_slots = 192;

constexpr std::size_t letter_value(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<std::size_t>(c - 'A' + 1);
    if (c >= 'a' && c <= 'z') return static_cast<std::size_t>(c - 'a' + 1);
    return 0;
}

constexpr bool is_letter(char c) {
    return letter_value(c) != 0;
}
constexpr bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool is_word_char(char c) {
    return is_letter(c) || is_digit(c) || c == '_';
}
constexpr bool is_hex_digit(char c) {
    return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
constexpr bool is_blank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b != 0 && b != '\n' && b != '\r' && b <= ' ';
}
constexpr bool is_line_end(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

constexpr char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

constexpr std::size_t keyword_hash(std::string_view word) {
    std::size_t sum = 0;
    for (const char c : word) sum += letter_value(c);
    return sum;
}

constexpr auto keyword_slots = make_keyword_index<hash_slots>(pas_keywords, keyword_hash);

// Characters after Read, Write, Index, ... that make the word a plain identifier ("Read:",
// "Name(", "Index;").
bool ends_directive_word(char c) {
    constexpr std::string_view followers = "#$&'()*+,./:;<=>@[]^";
    return followers.find(c) != std::string_view::npos || static_cast<unsigned char>(c) == 150;
}

bool is_insignificant(pas_token kind) {
    switch (kind) {
        case pas_token::blank:
        case pas_token::line_break:
        case pas_token::line_break_in_comment:
        case pas_token::brace_comment:
        case pas_token::paren_star_comment:
        case pas_token::slash_comment:
            return true;
        default:
            return false;
    }
}

}  // namespace

const std::array<TzrPasLex::handler, 256>& TzrPasLex::dispatch_table() {
    static const std::array<handler, 256> table = [] {
        std::array<handler, 256> t{};
        for (std::size_t b = 0; b < t.size(); ++b) {
            const char c = static_cast<char>(b);
            if (b == 0) {
                t[b] = &TzrPasLex::end_of_text;
            } else if (c == '\r' || c == '\n') {
                t[b] = &TzrPasLex::line_break;
            } else if (is_blank(c)) {
                t[b] = &TzrPasLex::blank_run;
            } else if (is_letter(c) || c == '_') {
                t[b] = &TzrPasLex::word;
            } else if (is_digit(c)) {
                t[b] = &TzrPasLex::number;
            } else if (b == '|' || b >= 127) {
                t[b] = &TzrPasLex::unknown_high;
            } else if (std::string_view("=,;+-*^[]").find(c) != std::string_view::npos) {
                t[b] = &TzrPasLex::single_symbol;
            } else {
                switch (c) {
                    case '{':
                        t[b] = &TzrPasLex::open_brace;
                        break;
                    case '(':
                        t[b] = &TzrPasLex::open_paren;
                        break;
                    case ')':
                        t[b] = &TzrPasLex::close_paren;
                        break;
                    case '/':
                        t[b] = &TzrPasLex::slash_or_comment;
                        break;
                    case '$':
                        t[b] = &TzrPasLex::hex_number;
                        break;
                    case '#':
                        t[b] = &TzrPasLex::char_code;
                        break;
                    case '\'':
                        t[b] = &TzrPasLex::string_literal;
                        break;
                    case ':':
                        t[b] = &TzrPasLex::colon;
                        break;
                    case '<':
                        t[b] = &TzrPasLex::less;
                        break;
                    case '>':
                        t[b] = &TzrPasLex::greater;
                        break;
                    case '.':
                        t[b] = &TzrPasLex::point;
                        break;
                    case '@':
                        t[b] = &TzrPasLex::at_sign;
                        break;
                    case '}':
                        t[b] = &TzrPasLex::stray_brace;
                        break;
                    default:
                        t[b] = &TzrPasLex::unknown_symbol;
                        break;
                }
            }
        }
        return t;
    }();
    return table;
}

void TzrPasLex::set_origin(const std::string& text) {
    text_ = text.c_str();
    run_ = 0;
    token_start_ = 0;
    kind_ = pas_token::end_of_text;
    previous_kind_ = pas_token::end_of_text;
    line_counter_ = 0;
    line_start_ = 0;
    comment_ = comment_state::none;
    paren_depth_ = 0;
    bracket_depth_ = 0;
    type_body_ = false;
    next();
}

void TzrPasLex::next() {
    if (kind_ != pas_token::blank) previous_kind_ = kind_;
    token_start_ = run_;
    if (comment_ != comment_state::none) {
        comment_rest();
    } else {
        (this->*dispatch_table()[static_cast<unsigned char>(at(run_))])();
    }
}

void TzrPasLex::next_significant() {
    do {
        next();
    } while (is_insignificant(kind_));
}

void TzrPasLex::end_of_text() {
    kind_ = pas_token::end_of_text;
}

void TzrPasLex::blank_run() {
    while (is_blank(at(run_))) ++run_;
    kind_ = pas_token::blank;
}

void TzrPasLex::line_break() {
    run_ += at(run_) == '\r' && at(run_ + 1) == '\n' ? 2 : 1;
    kind_ =
        comment_ == comment_state::none ? pas_token::line_break : pas_token::line_break_in_comment;
    ++line_counter_;
    line_start_ = run_;
}

// A comment that continues from an earlier line: its rest up to the closing characters or
// the end of this line.
void TzrPasLex::comment_rest() {
    const char c = at(run_);
    if (c == '\0') {
        end_of_text();
    } else if (c == '\r' || c == '\n') {
        line_break();
    } else {
        const comment_state state = comment_;
        run_comment(state, run_);
        kind_ = state == comment_state::brace ? pas_token::brace_comment
                                              : pas_token::paren_star_comment;
    }
}

// Runs a comment body from `body_start` to its closing characters (the state returns to
// none) or to the end of the line (the state stays `state`).
void TzrPasLex::run_comment(comment_state state, std::size_t body_start) {
    std::size_t p = body_start;
    comment_ = state;
    while (!is_line_end(at(p))) {
        if (state == comment_state::brace && at(p) == '}') {
            run_ = p + 1;
            comment_ = comment_state::none;
            return;
        }
        if (state == comment_state::paren_star && at(p) == '*' && at(p + 1) == ')') {
            run_ = p + 2;
            comment_ = comment_state::none;
            return;
        }
        ++p;
    }
    run_ = p;
}

void TzrPasLex::open_brace() {
    const bool directive = at(run_ + 1) == '$';
    run_comment(comment_state::brace, run_ + 1);
    kind_ = directive ? pas_token::directive : pas_token::brace_comment;
}

void TzrPasLex::open_paren() {
    const char c = at(run_ + 1);
    if (c == '*') {
        const bool directive = at(run_ + 2) == '$';
        run_comment(comment_state::paren_star, run_ + 2);
        kind_ = directive ? pas_token::directive : pas_token::paren_star_comment;
    } else if (c == '.') {
        run_ += 2;
        ++bracket_depth_;
        kind_ = pas_token::bracket_open;
    } else {
        ++run_;
        ++paren_depth_;
        kind_ = pas_token::paren_open;
    }
}

void TzrPasLex::close_paren() {
    ++run_;
    --paren_depth_;
    kind_ = pas_token::paren_close;
}

void TzrPasLex::slash_or_comment() {
    if (at(run_ + 1) == '/') {
        run_ += 2;
        while (!is_line_end(at(run_))) ++run_;
        kind_ = pas_token::slash_comment;
    } else {
        ++run_;
        kind_ = pas_token::slash;
    }
}

void TzrPasLex::word() {
    std::size_t letters_end = run_;
    std::size_t hash = 0;
    while (is_letter(at(letters_end))) {
        if (hash < hash_slots) hash += letter_value(at(letters_end));
        ++letters_end;
    }
    const char after_letters = at(letters_end);
    const std::size_t letters = letters_end - run_;
    const std::size_t compared =
        letters + (is_digit(after_letters) || after_letters == '_' ? 1 : 0);
    std::size_t end = letters_end;
    while (is_word_char(at(end))) ++end;
    kind_ = hash < hash_slots ? keyword_or_identifier(hash, compared) : pas_token::identifier;
    run_ = end;
    if (kind_ != pas_token::identifier) kind_ = apply_context(kind_, end);
}

// The handler of one hash slot: the keyword of that slot spelled by the compared characters
// at the token start, in any case, else an identifier.
pas_token TzrPasLex::keyword_or_identifier(std::size_t hash, std::size_t compared) const {
    for (const std::size_t k : keyword_slots.keywords_at(hash)) {
        const std::string_view keyword = pas_keywords[k];
        if (keyword.size() != compared) continue;
        bool same = true;
        for (std::size_t j = 0; j < compared && same; ++j) {
            same = upper(at(token_start_ + j)) == upper(keyword[j]);
        }
        if (same) {
            return static_cast<pas_token>(static_cast<std::size_t>(pas_token::keyword_first) + k);
        }
    }
    return pas_token::identifier;
}

pas_token TzrPasLex::apply_context(pas_token keyword, std::size_t word_end) {
    std::size_t p = word_end;
    while (is_blank(at(p))) ++p;
    const char following = at(p);
    if (is_any_of(keyword,
                  {pas_keyword("Read"), pas_keyword("Write"), pas_keyword("Index"),
                   pas_keyword("Name"), pas_keyword("Private"), pas_keyword("Protected"),
                   pas_keyword("Public"), pas_keyword("Published"), pas_keyword("Automated")})) {
        return ends_directive_word(following) ? pas_token::identifier : keyword;
    }
    if (keyword == pas_keyword("Class")) {
        type_body_ = previous_kind_ == pas_token::equal && !is_word_char(following);
    } else if (keyword == pas_keyword("Object")) {
        type_body_ = is_any_of(previous_kind_, {pas_token::equal, pas_keyword("Abstract")}) &&
                     !is_word_char(following);
    }
    return keyword;
}

void TzrPasLex::number() {
    kind_ = pas_token::number;
    ++run_;
    for (;;) {
        const char c = at(run_);
        if (c == '.') {
            if (at(run_ + 1) == '.') break;
            kind_ = pas_token::real_number;
        } else if (!is_digit(c) && c != 'E' && c != 'e') {
            break;
        }
        ++run_;
    }
}

void TzrPasLex::hex_number() {
    ++run_;
    while (is_hex_digit(at(run_))) ++run_;
    kind_ = pas_token::hex_number;
}

void TzrPasLex::char_code() {
    ++run_;
    while (is_digit(at(run_))) ++run_;
    kind_ = pas_token::char_code;
}

void TzrPasLex::string_literal() {
    ++run_;
    while (!is_line_end(at(run_)) && at(run_) != '\'') ++run_;
    if (at(run_) == '\'') ++run_;
    kind_ = pas_token::string;
}

void TzrPasLex::colon() {
    const bool assign = at(run_ + 1) == '=';
    run_ += assign ? 2 : 1;
    kind_ = assign ? pas_token::assign : pas_token::colon;
}

void TzrPasLex::less() {
    const char c = at(run_ + 1);
    if (c == '=' || c == '>') {
        run_ += 2;
        kind_ = c == '=' ? pas_token::less_equal : pas_token::not_equal;
    } else {
        ++run_;
        kind_ = pas_token::less;
    }
}

void TzrPasLex::greater() {
    const bool equal = at(run_ + 1) == '=';
    run_ += equal ? 2 : 1;
    kind_ = equal ? pas_token::greater_equal : pas_token::greater;
}

void TzrPasLex::point() {
    const char c = at(run_ + 1);
    if (c == ')') {
        run_ += 2;
        --bracket_depth_;
        kind_ = pas_token::bracket_close;
    } else if (c == '.') {
        run_ += 2;
        kind_ = pas_token::range;
    } else {
        ++run_;
        kind_ = pas_token::point;
    }
}

void TzrPasLex::at_sign() {
    const bool twice = at(run_ + 1) == '@';
    run_ += twice ? 2 : 1;
    kind_ = twice ? pas_token::double_address : pas_token::address;
}

void TzrPasLex::single_symbol() {
    switch (at(run_)) {
        case '=':
            kind_ = pas_token::equal;
            break;
        case ',':
            kind_ = pas_token::comma;
            break;
        case ';':
            kind_ = pas_token::semicolon;
            break;
        case '+':
            kind_ = pas_token::plus;
            break;
        case '-':
            kind_ = pas_token::minus;
            break;
        case '*':
            kind_ = pas_token::star;
            break;
        case '^':
            kind_ = pas_token::caret;
            break;
        case '[':
            ++bracket_depth_;
            kind_ = pas_token::bracket_open;
            break;
        default:
            --bracket_depth_;
            kind_ = pas_token::bracket_close;
            break;
    }
    ++run_;
}

void TzrPasLex::stray_brace() {
    ++run_;
    kind_ = pas_token::stray_brace;
}

void TzrPasLex::unknown_high() {
    ++run_;
    kind_ = pas_token::unknown_high;
}

void TzrPasLex::unknown_symbol() {
    ++run_;
    kind_ = pas_token::unknown_symbol;
}

}  // namespace tarnwell
