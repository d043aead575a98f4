// The parser of Perl: a brace language whose statements may carry a trailing modifier, read by
// a lexer that knows Perl's quoting.
#pragma once

#include <string_view>

#include "parsers/cpp2xmls.h"

namespace tarnwell {

class Tperlparser : public Tcppsparser {
  public:
    Tperlparser();

  protected:
    void scan() override;
    bool statement(pending_code& code) override;
    bool word_starts_at(std::int32_t pos) const override;

  private:
    static constexpr token_kind tk_equal = 32;
    static constexpr token_kind tk_less = 36;
    static constexpr token_kind tk_shift_left = 37;
    static constexpr token_kind tk_escape = 51;
    static constexpr token_kind tk_regex_slash = 99;
    static constexpr token_kind tk_tilde = 100;
    static constexpr token_kind tk_pattern = 114;
    static constexpr token_kind tk_heredoc = 122;

    struct token_range {
        std::int32_t pos;
        std::int32_t end;
    };
    // Where a statement's tokens end.
    enum class statement_end {
        semicolon_or_modifier,  // a statement that a modifier may follow
        semicolon,              // a modifier's condition
        closing_brace,          // a CONTINUE block
    };

    struct pattern_extent {
        std::int32_t end;  // one past the last closing "/", or the end of the text
        bool complete;
    };

    struct quote_like {
        std::int32_t op_len;  // length of the operator's name
        int parts;            // delimited texts that follow it; 0 where none begins
    };
    int quote_like_slashes(std::int32_t pos) const;
    quote_like quote_like_at(std::int32_t pos) const;
    std::int32_t delimited_end(std::int32_t pos, int count) const;
    void scan_quote_like(quote_like quote);
    void scan_pattern(std::int32_t slash, int closings);
    pattern_extent pattern_end(std::int32_t slash, int closings) const;
    void scan_tilde();
    void scan_less();
    bool measure_heredoc_head();
    void scan_line_ends();
    std::int32_t heredoc_body_end(std::int32_t pos) const;
    void scan_group();

    bool simple_statement(pending_code& code, std::string_view tag);
    bool read_statement(statement_end end, token_range& last);
    bool modifier(pending_code& code, std::string_view tag, token_range first, token_range last);
    bool do_block(pending_code& code);
    void pod_block();
};

}  // namespace tarnwell
