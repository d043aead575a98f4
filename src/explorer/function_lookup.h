// Functions of a text found by name or by line, from the list its language's procedure scanner
// gives: what lets a chart start from a function's name instead of two line numbers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

struct listed_function {
    int declaration = 0;
    int begin = 0;  // the lines a click in the code explorer marks
    int end = 0;
    std::string tag;
    std::string name;  // qualified by class, namespace, impl or module
};

// The functions of a scanner's result lines "decl-begin-end|tag|name"; lines of another form
// are passed over.
std::vector<listed_function> read_listing(std::string_view result_text);

// The functions of a text as its language's scanner lists them, in text order; nothing for a
// language no scanner lists.
std::optional<std::vector<listed_function>> list_functions(int language, std::string text);

// The functions a name chooses: a plain name (`push`) or one qualified by any of its last
// scopes (`Stack.push`, `Stack::push`, `store::Stack::push`), in text order.
std::vector<std::size_t> functions_named(const std::vector<listed_function>& functions,
                                         std::string_view name);

// The innermost function whose marked lines hold a line.
std::optional<std::size_t> function_at(const std::vector<listed_function>& functions, int line);

// Up to `most` names of the list nearest to a name, nearest first, for a name that chooses
// nothing.
std::vector<std::string> names_near(const std::vector<listed_function>& functions,
                                    std::string_view name, std::size_t most = 10);

}  // namespace tarnwell
