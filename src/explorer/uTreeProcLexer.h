// The procedure scanner of the syntax-tree languages (Python, TypeScript, Go, Rust, Kotlin, ...):
// the functions and methods their trees hold, named with their class, impl, receiver or module,
// with the line of the name and the lines of the whole definition.
#pragma once

#include <string>

#include "explorer/uKestrinProcLexer.h"
#include "parsers/tree_grammar.h"

namespace tarnwell {

class TTreeProcLexer : public TKestrinProcLexer {
  public:
    // `grammar` must be one of the syntax-tree grammars; it lives for the whole run.
    explicit TTreeProcLexer(const tree_grammar& grammar) : grammar_(grammar) {}
    ~TTreeProcLexer() override { wait(); }
    int language_kind() const override { return 5; }

  protected:
    void execute() override;

  private:
    // Lists a long text from pieces parsed in parallel; false when it must be listed whole.
    bool list_in_pieces(const std::string& text);

    const tree_grammar& grammar_;
};

}  // namespace tarnwell
