// The parser of PHP: the C-family grammar over PHP's own lexer, with ELSEIF and a handler
// that needs its parameter.
#pragma once

#include "parsers/cpp2xmls.h"

namespace tarnwell {

class Tphpparser : public Tcppsparser {
  public:
    Tphpparser();

  protected:
    void scan() override;
    // "?>" leaves the code: what follows is the page's text.
    bool ends_code() const override;

  private:
    static constexpr token_kind tk_question = 4;
    static constexpr token_kind tk_slash = 40;
    static constexpr token_kind tk_slash_assign = 112;

    void scan_group();
    void scan_slash();
};

}  // namespace tarnwell
