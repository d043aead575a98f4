// The parser of BASIC: Visual Basic's grammar where ":" ends a line and "#" starts a word.
#pragma once

#include "parsers/vb2xmls.h"

namespace tarnwell {

class Tbasparser : public Tvbsparser {
  public:
    Tbasparser();

  protected:
    void scan_raw() override;
    bool is_word_start(char c) const override;
    bool is_word_continuation(char c) const override;
};

}  // namespace tarnwell
