// The parser of Pascal and Delphi code.
#pragma once

#include "parsers/xmls.h"

namespace tarnwell {

class Topsparser : public tsparser {
  public:
    Topsparser();

  protected:
    void scan() override;
    bool parse_statements(bool block) override;

  private:
    void scan_word();
    void scan_number();
    void scan_string();
    void scan_char_literal();
    void scan_comment_to(std::string_view close, std::int32_t from);
    void scan_line_comment();
    void scan_with_clause();
    void scan_assembler_block();
    bool colon_follows(std::int32_t pos);

    bool body_ended();
    std::int32_t statement_end();
    bool jump(pending_code& code, std::string_view tag);
    bool conditional(pending_code& code);
    bool loop_tested_before(pending_code& code, std::string_view open);
    bool loop_tested_after(pending_code& code);
    bool selection(pending_code& code);
    bool selection_branch();
    bool handler(pending_code& code);
};

}  // namespace tarnwell
