// The parser of Visual Basic .NET: Visual Basic with TRY ... CATCH ... FINALLY ... END TRY.
#pragma once

#include "parsers/vb2xmls.h"

namespace tarnwell {

class Tvsparser : public Tvbsparser {
  public:
    Tvsparser();

  protected:
    bool is_word_continuation(char c) const override;
    combination combine_with(const raw_token& keyword, const raw_token& next) override;
};

}  // namespace tarnwell
