// Swift for the syntax-tree reader.
#pragma once

#include "parsers/tree_grammar.h"

namespace tarnwell {

const tree_grammar& swift_grammar();

}  // namespace tarnwell
