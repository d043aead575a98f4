// The parser of C#: the C-family parser with C#'s keywords, words and line ends.
#pragma once

#include "parsers/cpp2xmls.h"

namespace tarnwell {

class Tcsparser : public Tcppsparser {
  public:
    Tcsparser();
};

}  // namespace tarnwell
