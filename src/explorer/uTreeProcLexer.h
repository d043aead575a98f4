// The procedure scanner of the syntax-tree languages (Python, TypeScript, TSX, Go, Rust): the
// functions and methods their trees hold, named with their class, impl, receiver or module,
// with the line of the name and the lines of the body's statements.
#pragma once

#include <tree_sitter/api.h>

#include <string>
#include <string_view>

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
    // Lists `node` when it is a function; gives the qualifier of what it holds.
    std::string examine(TSNode node, std::string_view text, std::string_view grammar_name,
                        std::string_view separator, const std::string& qualifier);

    const tree_grammar& grammar_;
};

}  // namespace tarnwell
