#include "parsers/tree_languages.h"

#include "parsers/tree_bash.h"
#include "parsers/tree_go.h"
#include "parsers/tree_kotlin.h"
#include "parsers/tree_lua.h"
#include "parsers/tree_powershell.h"
#include "parsers/tree_python.h"
#include "parsers/tree_ruby.h"
#include "parsers/tree_rust.h"
#include "parsers/tree_scala.h"
#include "parsers/tree_swift.h"
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
        case 21:
            return &kotlin_grammar();
        case 22:
            return &swift_grammar();
        case 23:
            return &ruby_grammar();
        case 24:
            return &scala_grammar();
        case 25:
            return &lua_grammar();
        case 26:
            return &bash_grammar();
        case 27:
            return &powershell_grammar();
        default:
            return nullptr;
    }
}

}  // namespace tarnwell
