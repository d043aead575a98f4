#include "parsers/tree_languages.h"

#include "parsers/tree_go.h"
#include "parsers/tree_python.h"
#include "parsers/tree_rust.h"
#include "parsers/tree_typescript.h"

namespace tarnwell {

const tree_grammar* tree_grammar_of_language(int language) {
    switch (language) {
        case 16:
            return &python_grammar();
        case 17:
            return &typescript_grammar();
        case 18:
            return &tsx_grammar();
        case 19:
            return &go_grammar();
        case 20:
            return &rust_grammar();
        default:
            return nullptr;
    }
}

}  // namespace tarnwell
