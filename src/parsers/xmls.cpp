#include "parsers/xmls.h"

#include <array>
#include <cctype>

namespace tarnwell {

namespace {

struct tag_entry {
    std::uint8_t code;
    std::string_view text;
};

// Table order as the markup reader has always searched it; all texts differ, so the order
// never changes a result.
constexpr std::array<tag_entry, 28> tag_table{{
    {27, "<code/>"},    {0, "<statement>"}, {1, "</statement>"}, {2, "<break/>"},
    {8, "<exit/>"},     {3, "<comment/>"},  {4, "<label/>"},     {5, "<goto/>"},
    {6, "<continue/>"}, {7, "<return/>"},   {9, "<if>"},         {10, "</if>"},
    {11, "<switch>"},   {12, "<case/>"},    {13, "<else/>"},     {14, "</switch>"},
    {15, "<for>"},      {16, "</for>"},     {17, "<dountil>"},   {18, "</dountil>"},
    {19, "<untildo>"},  {20, "</untildo>"}, {21, "<dowhile>"},   {22, "</dowhile>"},
    {23, "<whiledo>"},  {24, "</whiledo>"}, {25, "<except>"},    {26, "</except>"},
}};

constexpr std::uint8_t unknown_tag = 29;

constexpr std::array<std::string_view, 36> error_messages{
    "",                                             // 0
    "here should be \"do\"",                        // 1
    "here should be \"of\"",                        // 2
    "here should be \":\"",                         // 3
    "here should be \"until\"",                     // 4
    "here should be \"while\"",                     // 5
    "here should be \"{\"",                         // 6
    "here should be \"}\"",                         // 7
    "",                                             // 8
    "here should be \"end if\"",                    // 9
    "here should be enter",                         // 10
    "here should be \"next\"",                      // 11
    "here should be \"case\"",                      // 12
    "here should be \"end choose\"",                // 13
    "here should be \"*/\"",                        // 14
    "here should be \"loop\"",                      // 15
    "here should be \"update,insert or delete \"",  // 16
    "here should be quotation mark",                // 17
    "here should be \"]\"",                         // 18
    "here should be \")\"",                         // 19
    "here should be \"}\"",                         // 20
    "here should be parameter of function",         // 21
    "here should be \"then\"",                      // 22
    "here should be \"=\"",                         // 23
    "Unexpected End Of File",                       // 24
    "Error In Statement",                           // 25
    "Error In Expression",                          // 26
    "yeah!! NO error",                              // 27
    "unknown error",                                // 28
    "here should be \"end\"",                       // 29
    "here should be Identifier",                    // 30
    "here should be \"to\"",                        // 31
    "syntax error",                                 // 32
    "here should be \";\"",                         // 33
    "here should be \".\"",                         // 34
    "here should be end of code",                   // 35
};

// The stop kinds and the failure rule of one skip scan.
struct skip_rule {
    std::array<token_kind, 7> stops;
    int stop_count;
    bool guarded;           // fails also at ";" (any `not_at_end` false), not only at the end
    bool fails_at_newline;  // fails at a line end as well
    std::uint8_t error;
    bool gives_before;  // the character before the stop token instead of its last one
};

const skip_rule* skip_rule_of(int skip) {
    static const std::array<skip_rule, 15> rules{{
        {{tk_semicolon}, 1, false, false, 33, false},      // 0
        {{tk_then}, 1, true, false, 22, false},            // 1
        {{tk_do}, 1, true, false, 1, false},               // 2
        {{tk_of}, 1, true, false, 2, false},               // 3
        {{tk_colon, tk_label}, 2, true, false, 3, false},  // 4
        // "END." closes a program's main block as END closes any other.
        {{tk_handler, tk_semicolon, tk_else, tk_end, tk_until, tk_finally, tk_end_dot},
         7,
         false,
         false,
         33,
         true},  // 5
        {{tk_handler, tk_semicolon, tk_end, tk_until, tk_finally, tk_newline},
         6,
         false,
         false,
         33,
         true},                                                              // 6
        {{tk_semicolon, tk_newline, tk_label}, 3, false, false, 10, false},  // 7
        {{tk_newline}, 1, false, false, 10, false},                          // 8
        {{tk_semicolon}, 1, false, false, 33, false},                        // 9
        {{tk_then}, 1, true, true, 22, false},                               // 10
        {{tk_then, tk_goto}, 2, true, true, 22, false},                      // 11
        {{tk_parens}, 1, true, false, 21, false},                            // 12
        {{tk_loop}, 1, true, false, 15, false},                              // 13
        {{tk_sql}, 1, true, false, 16, true},                                // 14
    }};
    static const skip_rule open_brace_rule{{tk_open_brace}, 1, true, false, 6, false};  // 17
    if (skip >= 0 && skip < static_cast<int>(rules.size())) return &rules[skip];
    if (skip == 17) return &open_brace_rule;
    return nullptr;
}

}  // namespace

tsparser::tsparser(std::span<const keyword_entry> table) : keywords(table.begin(), table.end()) {}

parser_result tsparser::parse(std::string_view source) {
    parser_result result;
    text.assign(source);
    text.push_back('\001');
    text_size = static_cast<std::int32_t>(text.size());
    output.clear();
    aux_text.clear();
    forget_measured_tokens();
    nesting_ = 0;
    set_error(err_none);
    token_pos = 1;
    try {
        scan();
        if (parse_statements(true) && only_blanks_follow()) {
            set_error(err_none);
            result.ok = true;
        }
    } catch (const nesting_overflow&) {
        set_error(err_in_statement);
    }
    result.message = std::string(error_message());
    result.error_pos = error_pos;
    result.error_len = token_len < 5 ? 5 : token_len;
    result.markup = output;
    result.markup.push_back('\001');
    // The text may be large; a parser instance lives for the whole run.
    forget_measured_tokens();
    measured_len_.shrink_to_fit();
    measured_kind_.shrink_to_fit();
    return result;
}

bool tsparser::only_blanks_follow() {
    if (kind == tk_eof) return true;
    const std::int32_t closing_pos = token_pos;
    const std::int32_t closing_len = token_len;
    const token_kind closing_kind = kind;
    const std::uint8_t saved_error = error_code;
    const std::int32_t saved_error_pos = error_pos;
    std::int32_t line_end = token_end() + 1;
    while (at(line_end) != '\n' && at(line_end) != '\r' && at(line_end) != '\001') ++line_end;
    advance();
    // The routine's own closing line may still name it and end with a terminator
    // ("END name;").
    if (closing_kind == tk_end) {
        while (token_pos < line_end && kind == tk_word) advance();
    }
    if (closing_kind != tk_semicolon && token_pos < line_end && kind == tk_semicolon) advance();
    while (kind == tk_newline) advance();
    if (!ends_code()) {
        // A sequence closed early (a construct misread, or a stray closing token) must not
        // pass for the whole chart: the code after it was never charted.
        set_error(err_code_follows);
        return false;
    }
    token_pos = closing_pos;
    token_len = closing_len;
    kind = closing_kind;
    error_code = saved_error;
    error_pos = saved_error_pos;
    return true;
}

bool tsparser::ends_unterminated_statement(token_kind k) {
    switch (k) {
        case tk_eof:
        case tk_begin:
        case tk_try:      // BEGIN TRY
        case tk_handler:  // BEGIN CATCH
        case tk_else:
        case tk_end:
        case tk_if:
        case tk_set:
        case tk_while:
        case tk_break:
        case tk_sql_update:
        case tk_return:
        case tk_continue:
        case tk_label:
        case tk_goto:
        case tk_raise:
        case tk_sql:
            return true;
        default:
            return false;
    }
}

std::uint8_t tsparser::tag_code(std::string_view tag) {
    // The layout engine asks this for every item of a long markup: compared in place, the
    // tags are not copied.
    const auto same = [](std::string_view ours, std::string_view given) {
        if (ours.size() != given.size()) return false;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(given[i]);
            const char lowered = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a')
                                                      : static_cast<char>(c);
            if (ours[i] != lowered) return false;
        }
        return true;
    };
    for (const tag_entry& entry : tag_table) {
        if (same(entry.text, tag)) return entry.code;
    }
    return unknown_tag;
}

std::string_view tsparser::message_of(std::uint8_t code) {
    return code < error_messages.size() ? error_messages[code] : std::string_view{};
}

void tsparser::scan() {
    if (token_pos >= 1 && token_pos <= text_size) return;
    token_pos = text_size;
    kind = tk_eof;
    token_len = 1;
    set_error(err_unexpected_eof);
}

token_kind tsparser::advance() {
    do {
        token_pos += token_len;
        scan();
    } while (kind == tk_space || kind == tk_comment || kind == tk_directive);
    return kind;
}

bool tsparser::lookup_keyword() {
    if (token_len <= 0 || token_len > 20) return false;
    const std::size_t start = static_cast<std::size_t>(token_pos) - 1;
    const std::size_t len = static_cast<std::size_t>(token_len);
    if (start + len > text.size()) return false;
    char upper[20];
    for (std::size_t i = 0; i < len; ++i) {
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[start + i])));
    }
    const std::string_view word(upper, len);
    for (const keyword_entry& entry : keywords) {
        if (entry.text == word) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

void tsparser::set_error(std::uint8_t code) {
    error_code = code;
    error_pos = token_pos + token_len;
    ++error_serial_;
}

void tsparser::append_position(std::int32_t pos) {
    output += std::to_string(pos);
}

void tsparser::open_range(std::string_view tag) {
    output += tag;
    append_position(token_pos);
    output += '-';
}

void tsparser::whole_range(std::string_view tag) {
    open_range(tag);
    append_position(token_end());
}

bool tsparser::close_by_skip(int skip) {
    const std::int32_t end = skip_until(skip);
    if (end == 0) return false;
    append_position(end);
    return true;
}

std::int32_t tsparser::skip_until(int skip) {
    if (skip == 15) {
        std::int32_t pos = token_pos;
        std::int32_t len = token_len;
        token_kind k = kind;
        while (!ends_unterminated_statement(advance())) {
            pos = token_pos;
            len = token_len;
            k = kind;
        }
        token_pos = pos;
        token_len = len;
        kind = k;
        return token_end();
    }
    if (skip == 16) {
        advance();
        return token_end();
    }
    const skip_rule* rule = skip_rule_of(skip);
    if (rule == nullptr) {
        set_error(err_unknown);
        return 0;
    }
    for (;;) {
        for (int i = 0; i < rule->stop_count; ++i) {
            if (kind == rule->stops[static_cast<std::size_t>(i)])
                return rule->gives_before ? token_pos - 1 : token_end();
        }
        const bool fails = kind == tk_eof || (rule->guarded && !not_at_end()) ||
                           (rule->fails_at_newline && kind == tk_newline);
        if (fails) {
            set_error(rule->error);
            return 0;
        }
        advance();
    }
}

std::int32_t tsparser::match_parens(std::int32_t start) {
    nesting_guard guard(*this);
    const token_kind saved_kind = kind;
    const std::int32_t saved_pos = token_pos;
    std::int32_t length = 1;
    std::int32_t pos = start + 1;
    for (;;) {
        const char c = at(pos);
        if (c == ')') {
            kind = saved_kind;
            token_pos = saved_pos;
            return length + 1;
        }
        if (c == '(') {
            const std::int32_t inner = match_parens(pos);
            if (inner == 0) {
                // The bad group runs from this group's "(" to where the inner one broke off.
                token_pos = start;
                token_len += length;
                return 0;
            }
            length += inner;
            pos += inner;
        } else if (c == '\001' || c == '\n' || c == '\r' || c == ';') {
            kind = tk_bad_group;
            token_pos = start;
            token_len = pos - start;
            set_error(19);
            return 0;
        } else if (c == '"' || c == '\'') {
            token_pos = pos;
            scan();
            if (kind != tk_string) return 0;
            length += token_len;
            pos += token_len;
        } else {
            std::int32_t passed = 1;
            if (!check_character(pos, passed)) return 0;
            length += passed;
            pos += passed;
        }
    }
}

bool tsparser::check_character(std::int32_t pos, std::int32_t& passed) {
    const std::int32_t saved_pos = token_pos;
    const char c = at(pos);
    if (c == '&') {
        token_pos = pos;
        scan();
        if (kind != tk_space) return false;
        passed = token_len;
        token_pos = saved_pos;
        return true;
    }
    if (c == '/' && at(pos + 1) == '*') {
        token_pos = pos;
        scan();
        if (kind != tk_comment) return false;
        // Passed over whole, the text left as it is: positions written later still point at
        // the source characters they stand for.
        passed = token_len;
        token_pos = saved_pos;
        return true;
    }
    passed = 1;
    return true;
}

void tsparser::open_code(pending_code& code) {
    if (code.end == 0) open_range("<code/>");
}

void tsparser::flush(pending_code& code) {
    if (code.end > 0) {
        append_position(code.end);
        code.end = 0;
    }
}

void tsparser::write_label(pending_code& code) {
    flush(code);
    whole_range("<label/>");
    advance();
}

bool tsparser::write_jump(pending_code& code, std::string_view tag, int skip) {
    flush(code);
    open_range(tag);
    return close_by_skip(skip);
}

bool tsparser::close_sequence(pending_code& code) {
    flush(code);
    whole_range("</statement>");
    return true;
}

tsparser::nesting_guard::nesting_guard(tsparser& parser) : parser_(parser) {
    if (++parser_.nesting_ > max_nesting) {
        --parser_.nesting_;
        throw nesting_overflow();
    }
}

bool tsparser::recall_token() {
    if (token_pos < 1 || static_cast<std::size_t>(token_pos) >= measured_len_.size()) return false;
    const auto index = static_cast<std::size_t>(token_pos);
    const std::int32_t len = measured_len_[index];
    if (len == 0) return false;
    kind = measured_kind_[index];
    token_len = len > 0 ? len : -len;
    if (len < 0) {
        const recorded_error& error = measured_errors_.at(token_pos);
        error_code = error.code;
        error_pos = error.pos;
        ++error_serial_;
    }
    return true;
}

void tsparser::remember_token(std::uint64_t errors_before) {
    if (token_pos < 1 || token_pos > text_size || token_len <= 0) return;
    if (measured_len_.empty()) {
        measured_len_.assign(static_cast<std::size_t>(text_size) + 1, 0);
        measured_kind_.assign(static_cast<std::size_t>(text_size) + 1, tk_eof);
    }
    const auto index = static_cast<std::size_t>(token_pos);
    const bool recorded = error_serial_ != errors_before;
    measured_len_[index] = recorded ? -token_len : token_len;
    measured_kind_[index] = kind;
    if (recorded) measured_errors_[token_pos] = recorded_error{error_code, error_pos};
}

void tsparser::remember_measured(std::int32_t pos, std::int32_t len, token_kind measured) {
    token_pos = pos;
    token_len = len;
    kind = measured;
    remember_token(error_serial_);
}

std::int32_t tsparser::word_length(std::int32_t pos, bool (*continues_word)(char)) const {
    std::int32_t end = pos + 1;
    while (continues_word(at(end))) ++end;
    return end - pos;
}

token_kind tsparser::keyword_at(std::int32_t pos, std::int32_t len) {
    token_pos = pos;
    token_len = len;
    kind = tk_word;
    lookup_keyword();
    return kind;
}

void tsparser::scan_keyword_pair(token_kind closing, token_kind joined, bool (*starts_word)(char),
                                 bool (*continues_word)(char)) {
    if (recall_token()) return;
    const token_kind opening = kind;
    const std::int32_t start = token_pos;
    const std::uint8_t saved_error = error_code;
    const std::int32_t saved_error_pos = error_pos;
    struct open_keyword {
        std::int32_t pos;
        std::int32_t len;
    };
    std::vector<open_keyword> open{{start, token_len}};
    std::int32_t pos = start + token_len;
    while (!open.empty()) {
        if (!starts_word(at(pos))) {
            token_pos = pos;
            scan();
            if (kind == tk_eof) break;
            pos = token_pos + token_len;
            continue;
        }
        const std::int32_t len = word_length(pos, continues_word);
        const token_kind k = keyword_at(pos, len);
        if (k == opening && recall_token()) {
            pos += token_len;
            continue;
        }
        if (k == opening) {
            open.push_back({pos, len});
        } else if (k == closing) {
            remember_measured(open.back().pos, pos + len - open.back().pos, joined);
            open.pop_back();
        }
        pos += len;
    }
    for (const open_keyword& unmatched : open) {
        remember_measured(unmatched.pos, unmatched.len, opening);
    }
    error_code = saved_error;
    error_pos = saved_error_pos;
    token_pos = start;
    recall_token();
}

void tsparser::forget_measured_tokens() {
    measured_len_.clear();
    measured_kind_.clear();
    measured_errors_.clear();
}

}  // namespace tarnwell
