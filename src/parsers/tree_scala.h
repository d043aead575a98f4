// Scala for the syntax-tree reader.
#pragma once

#include "parsers/tree_grammar.h"

namespace tarnwell {

const tree_grammar& scala_grammar();

}  // namespace tarnwell
