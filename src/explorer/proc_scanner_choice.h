// Which procedure scanner serves a document language: one choice for the code explorer and
// the command line, so that both list the same procedures.
#pragma once

#include <memory>

#include "explorer/uKestrinProcLexer.h"

namespace tarnwell {

// The explorer's language kind of a language number: 2 for C/C++, 3 for Pascal, 4 for Java
// and C#, 5 for the syntax-tree languages (Python, TypeScript, Go, Rust, Kotlin, ...), 0 for every
// other language (none of them is scanned).
int explorer_language_kind(int language);

// Whether the scanner of a language lists a procedure from the first line of its definition,
// the line with its name, so that its begin and end line enclose it whole (the syntax-tree
// languages); the others begin at the line that opens the body.
bool lists_whole_definitions(int language);

// A new scanner for a language, not started; none for a language of kind 0.
std::unique_ptr<TKestrinProcLexer> make_proc_scanner(int language);

}  // namespace tarnwell
