// The parser of T-SQL code: statements without terminators, ended where the next statement
// keyword begins.
#pragma once

#include "parsers/pl2xmls.h"

namespace tarnwell {

class Ttsqlsparser : public sql_family_parser {
  public:
    Ttsqlsparser();

  protected:
    void scan_dialect_token(char c) override;
    bool parse_statements(bool block) override;

  private:
    void scan_word();
    void scan_group();
    std::int32_t next_significant(std::int32_t pos);
    void combine_begin();
    void scan_update_head();
    std::int32_t end_of_set(std::int32_t pos);

    void conditional(pending_code& code);
    void loop(pending_code& code);
};

}  // namespace tarnwell
