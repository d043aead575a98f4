// The grammar that reads each language of the syntax-tree reader, by language number.
#pragma once

#include "parsers/tree_grammar.h"

namespace tarnwell {

// The grammar of a language number; nullptr for a language no grammar reads.
const tree_grammar* tree_grammar_of_language(int language);

}  // namespace tarnwell
