// The parser of FoxPro: the line grammar of the Basic family with FoxPro's keywords, "*" and
// "&&" comments and ";" line continuations.
#pragma once

#include "parsers/vb2xmls.h"

namespace tarnwell {

class Tfoxproparser : public Tvbsparser {
  public:
    Tfoxproparser();

  protected:
    void scan_raw() override;
    bool is_word_start(char c) const override;
    bool combines(const raw_token& keyword) const override;
    combination combine_with(const raw_token& keyword, const raw_token& next) override;
    bool conditional(pending_code& code) override;

  private:
    bool starts_statement(std::int32_t pos) const;
    void scan_text_block();
};

}  // namespace tarnwell
