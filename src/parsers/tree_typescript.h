// TypeScript and TSX for the syntax-tree reader: one table, two grammars.
#pragma once

#include "parsers/tree_grammar.h"

namespace tarnwell {

const tree_grammar& typescript_grammar();
const tree_grammar& tsx_grammar();

}  // namespace tarnwell
