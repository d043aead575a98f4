// The parser of Visual Basic .NET: Visual Basic with TRY ... CATCH ... FINALLY ... END TRY.
#pragma once

#include "parsers/vb2xmls.h"

namespace tarnwell {

class Tvsparser : public Tvbsparser {
  public:
    Tvsparser();

  protected:
    void scan_raw() override;
    bool is_word_continuation(char c) const override;
    combination combine_with(const raw_token& keyword, const raw_token& next) override;

  private:
    bool continues_line(std::int32_t underscore) const;
};

}  // namespace tarnwell
