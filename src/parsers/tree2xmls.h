// The syntax-tree reader: charts the languages that tree-sitter grammars read (Python,
// TypeScript, Go, Rust, ...) by walking the tree of the marked text and writing the markup of
// each node the language's table names.
#pragma once

#include "parsers/tree_syntax.h"
#include "parsers/xmls.h"

namespace tarnwell {

class Ttreesparser : public tsparser {
  public:
    explicit Ttreesparser(const tree_grammar& grammar);
    ~Ttreesparser() override;

    const tree_grammar& grammar() const { return grammar_; }

  protected:
    void scan() override;
    bool parse_statements(bool block) override;

  private:
    class walk;

    const tree_grammar& grammar_;
    tree_rule_index rules_;
    syntax_tree_parser parser_;
};

}  // namespace tarnwell
