// The parser of the brace languages without their own parser: C, C++, Java, JavaScript.
#pragma once

#include "parsers/xmls.h"

namespace tarnwell {

class Tcppsparser : public tsparser {
  public:
    Tcppsparser();

  protected:
    void scan() override;
    bool parse_statements(bool block) override;

  private:
    void scan_string();
    void scan_word();
    void scan_label_lookahead();
    void scan_group();
    void scan_block_comment();
    void scan_line_comment();
    void scan_to_line_end(token_kind k);
    std::int32_t word_length(std::int32_t pos) const;

    bool plain_statement(pending_code& code);
    bool condition_and_body();
    bool conditional(pending_code& code);
    bool loop_tested_before(pending_code& code, std::string_view open, std::string_view close);
    bool loop_tested_after(pending_code& code);
    bool selection(pending_code& code);
    bool handler(pending_code& code);
    bool jump(pending_code& code, std::string_view tag);
};

}  // namespace tarnwell
