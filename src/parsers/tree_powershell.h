// PowerShell for the syntax-tree reader.
#pragma once

#include "parsers/tree_grammar.h"

namespace tarnwell {

const tree_grammar& powershell_grammar();

}  // namespace tarnwell
