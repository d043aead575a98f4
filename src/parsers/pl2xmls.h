// The parser of PL/SQL code, and the lexing the two procedural SQL dialects share.
#pragma once

#include "parsers/xmls.h"

namespace tarnwell {

// Base of the PL/SQL and T-SQL parsers: the tokens both dialects read alike (the end of the
// text, white space, strings, comments, "-", "/", stray characters) and their words.
class sql_family_parser : public tsparser {
  protected:
    using tsparser::tsparser;

    // Token kinds both SQL lexers produce besides the framework's.
    static constexpr token_kind tk_bad_char = 14;
    static constexpr token_kind tk_minus = 39;
    static constexpr token_kind tk_slash = 40;
    static constexpr token_kind tk_bad_string = 91;

    // Reads the shared tokens and leaves the rest to the dialect.
    void scan() final;
    // Reads the token at `token_pos`, which starts with `c`, a character that starts none of
    // the shared tokens.
    virtual void scan_dialect_token(char c) = 0;
    // Reads the token at `token_pos` when the character there starts one of the shared
    // tokens; false (nothing read) otherwise.
    bool scan_shared_token();
    void scan_bad_char();
    // Whether the current token is the word `upper`, in any case.
    bool token_is(std::string_view upper) const;

  private:
    void scan_string();
    void scan_block_comment();
};

class Tplsparser : public sql_family_parser {
  public:
    Tplsparser();

  protected:
    void scan_dialect_token(char c) override;
    bool parse_statements(bool block) override;

  private:
    void scan_label();

    std::int32_t statement_end();
    bool exit_statement(pending_code& code, std::string_view tag);
    bool conditional(pending_code& code);
    bool branch(bool handler);
    bool selection(pending_code& code);
    bool loop_with_header(pending_code& code, std::string_view open, std::string_view close);
    bool plain_loop(pending_code& code);
    bool loop_body(std::uint8_t error, std::string_view close);
    bool forall(pending_code& code);
    bool exception_part(pending_code& code);
};

}  // namespace tarnwell
