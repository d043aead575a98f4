// What the syntax-tree reader knows of one language: the tree-sitter grammar, the role each
// node type plays in a chart, and the framings that make a marked piece of code parse.
#pragma once

#include <span>
#include <string_view>

struct TSLanguage;

namespace tarnwell {

// The part a node of the syntax tree plays in the structure markup. Node types a grammar does
// not list are plain statements.
enum class tree_role {
    code,         // a plain statement: joins the run of plain statements around it
    sequence,     // a block of statements; nested ones add nothing and are read as their statements
    wrapper,      // a statement around one expression: charted as that expression when it is a
                  // construct (a Rust `if` or `match`, a `return` expression), else as code;
                  // with `body`, the expression is that field and what follows it (a Bash
                  // redirect) is charted in the construct's closing item
    inline_body,  // a header that is plain code followed by a body read in the enclosing
                  // sequence (Python's `with`, Rust's `unsafe` block)
    definition,   // a function, class or closure: one code box of its own
    decorator,    // a decorator the grammar sets before its definition, not in it: charted
                  // in that definition's box
    if_,          // a conditional; `body` is the branch taken, `alternative` names the others
    guard,        // a conditional whose body runs when the condition fails (Swift's `guard`,
                  // Ruby's `unless`): the branch taken is its `alternative`, else empty, and
                  // the body is the other
    else_if,      // a branch of a chain that carries its own condition (Python's `elif`)
    else_list,    // the else-ifs of a conditional gathered in one node (PowerShell's): read as
                  // the branches it holds
    else_,        // the other branch; its body is `body` or its one statement, or the
                  // statements after its `label_end`; an else that is a keyword alone (Swift's)
                  // is followed by its branch. Among a selection's cases, its default branch
    while_,       // a loop tested before its body
    until_,       // a loop tested before its body, repeated until the test holds
    do_while,     // a loop tested after its body (`body`, then the test)
    do_until,     // a loop tested after its body, repeated until the test holds
    for_,         // a counted, iterating or endless loop
    switch_,      // a selection; `body` holds its cases, else the node itself does
    case_,        // a branch of a selection: its label runs to `label_end`, then its
                  // statements; with `body`, its label runs up to that body
    default_,     // the default branch of a selection
    try_,         // exception handling: its protected and final blocks stand in the sequence
    handler,      // an exception handler: its header, then its body (in a try, or standing
                  // in a sequence as Ruby's method-level `rescue`)
    finally_,     // a block run in any case: its statements stand in the sequence
    labeled,      // a label with its colon, then the statement it labels
    label,        // a label standing alone
    return_,
    break_,
    continue_,
    throw_,   // raise, throw: leaves the routine
    goto_,    // goto, and Go's fallthrough into the next case
    comment,  // passed over
    misread,  // what the grammar reads without error only outside the framing the language
              // needs (Ruby's `rescue` at the top of a program, read as a call): a framing under
              // which it stands is passed over as if the text held an error there
};

// One node type of a grammar and how it is charted. A construct whose body stands before its
// header in the text (Ruby's `x += 1 while c`) has a header of what follows the body.
struct tree_rule {
    std::string_view type;
    tree_role role;
    // The field of the body (the branch taken, the loop's body, a definition's body, the
    // block of a selection's cases); empty when it is the last named child. Fields joined by
    // "." lead through a child to its own field (a call's `block.body`).
    std::string_view body = {};
    // The field of the other branches of a conditional, or of a loop's `else:` block. Without
    // it, the children that are else-ifs or elses are the other branches.
    std::string_view alternative = {};
    // The token that ends a case label (":" or "=>"). On a conditional, a branch, a loop or a
    // handler, the token that ends its header when its body is no node of its own but the
    // statements after that token, up to the next branch or closing token (Bash's `then`,
    // Swift's `{`).
    std::string_view label_end = {};
    // A node that leads to a function's body when the marked text is that node alone: the
    // function itself, an export or a declaration around it. Its `body` field (else its last
    // named child) is followed until a block is reached.
    bool charts_body = false;
    // The rule holds only for a node whose name reads `name`: the text of its `name_field`
    // child, else its first token; with `name_field` "*", any keyword among its children (a
    // PowerShell `do` loop's `until`). A call of `loop` is a loop, one of `puts` plain code; a
    // grammar that gives `return` and `break` one node type tells them apart by it. The rules
    // with a name come before the one without for the same type.
    std::string_view name_field = {};
    std::string_view name = {};
};

// A text put around the marked code so that it parses as the grammar's source file would:
// a body of statements inside a function, a method inside a class.
struct tree_framing {
    std::string_view prefix;
    std::string_view suffix;
};

struct tree_grammar {
    std::string_view name;
    const TSLanguage* (*language)();
    std::span<const tree_rule> rules;
    // Tried in order; the first under which the text parses without an error is used.
    std::span<const tree_framing> framings;
};

}  // namespace tarnwell
