#include "explorer/uCppProcLexer.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace tarnwell {

namespace {

bool is_brace(bcb_token kind) {
    return kind == bcb_token::brace_open || kind == bcb_token::braces;
}

// What may stand between a parameter list and the "{" of a body.
bool ends_heading(bcb_token kind) {
    return kind == bcb_token::paren_close || kind == bcb_token::parens ||
           kind == bcb_keyword("const") || kind == bcb_keyword("volatile");
}

bool ends_statement(bcb_token kind) {
    return kind == bcb_token::brace_close || kind == bcb_token::brace_open ||
           kind == bcb_token::braces || kind == bcb_token::semicolon;
}

// How far a token moves the depth of template argument lists ("<" opens, ">" and ">>" close).
int angle_depth_change(bcb_token kind) {
    switch (kind) {
        case bcb_token::less:
            return 1;
        case bcb_token::greater:
            return -1;
        case bcb_token::shift_right:
            return -2;
        default:
            return 0;
    }
}

std::string_view trim(std::string_view text) {
    const auto is_space = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
    return text;
}

// A declaration with no return type, or with only one of these words before the name, is
// that of a constructor or a destructor.
bool names_no_type(std::string_view type) {
    return type.empty() || type == "virtual" || type == "public" || type == "protected" ||
           type == "private";
}

}  // namespace

void TCppProcLexer::execute() {
    tokens_.load(source_text());
    match_brackets();
    std::size_t search_start = 0;
    for (bool first = true;; first = false) {
        tokens_.set_cursor(search_start);
        if (!first) tokens_.next();
        while (!is_brace(tokens_.kind()) && tokens_.kind() != bcb_token::end_of_text)
            tokens_.next();
        if (tokens_.kind() == bcb_token::end_of_text) return;
        const std::size_t brace = tokens_.cursor();
        examine(brace, search_start);
        search_start = brace;
        if (budget_exceeded()) return;
    }
}

void TCppProcLexer::match_brackets() {
    braces_.clear();
    parens_.clear();
    std::vector<std::size_t> open_braces;
    std::vector<std::size_t> open_parens;
    for (std::size_t i = 0; i < tokens_.count(); ++i) {
        switch (tokens_.kind(i)) {
            case bcb_token::brace_open:
                open_braces.push_back(braces_.size());
                braces_.push_back({i, none});
                break;
            case bcb_token::brace_close:
                if (!open_braces.empty()) {
                    braces_[open_braces.back()].partner = i;
                    open_braces.pop_back();
                }
                break;
            case bcb_token::paren_open:
                open_parens.push_back(i);
                parens_.push_back({i, i});
                break;
            case bcb_token::parens:
                parens_.push_back({i, i});
                break;
            case bcb_token::paren_close:
                parens_.push_back({i, open_parens.empty() ? none : open_parens.back()});
                if (!open_parens.empty()) open_parens.pop_back();
                break;
            default:
                break;
        }
    }
}

// A brace after a parameter list (or after const or volatile) may open a body; after a word
// it opens a scope such as a class or a namespace, and after anything else it is neither.
void TCppProcLexer::examine(std::size_t brace, std::size_t search_start) {
    std::size_t from = brace;
    if (java()) from = find_throws(brace, search_start).value_or(brace);
    tokens_.set_cursor(from);
    if (tokens_.previous() && ends_heading(tokens_.kind())) examine_body(brace);
}

void TCppProcLexer::examine_body(std::size_t brace) {
    const std::size_t start = declaration_start(brace);

    // The parameter list ends before an initialiser list's ":" or a Java "throws".
    tokens_.set_cursor(start);
    while (tokens_.cursor() < brace && tokens_.kind() != bcb_token::colon) tokens_.next();
    std::size_t after_parameters = tokens_.cursor();
    if (java()) after_parameters = find_throws(after_parameters, start).value_or(after_parameters);

    std::optional<std::size_t> open = parameter_list_open(after_parameters);
    if (!open) return;
    tokens_.set_cursor(*open);
    if (!java() && tokens_.previous() && tokens_.kind() == bcb_keyword("throw")) {
        // "f() throw(E) {": the list found is the exception specification.
        open = parameter_list_open(tokens_.cursor());
        if (!open) return;
    }
    tokens_.set_cursor(*open);
    if (!tokens_.previous() || tokens_.kind() != bcb_token::identifier) return;
    const std::size_t name_index = tokens_.cursor();
    const std::string_view name = tokens_.token();
    // In Java "synchronized (lock) {" is a block; the word is no keyword of the token list.
    if (java() && name == "synchronized") return;

    const std::string_view class_name = class_name_before(name_index, start);
    bool constructor = !class_name.empty() && name == class_name;
    bool destructor = !class_name.empty() && name.size() == class_name.size() + 1 &&
                      name.front() == '~' && name.substr(1) == class_name;
    const std::string type = return_type_text(start, name_index);
    const std::string_view trimmed = trim(type);
    if (names_no_type(trimmed)) {
        destructor = destructor || name.front() == '~';
        constructor = constructor || name.front() != '~';
    }
    std::string_view tag = tag_function;
    if (constructor) {
        tag = tag_constructor;
    } else if (destructor) {
        tag = tag_destructor;
    } else if (trimmed.find("void") != std::string_view::npos) {
        tag = tag_procedure;
    }
    const int begin_line = tokens_.line_of(tokens_.position(brace));
    append_result(tokens_.line_of(tokens_.position(name_index)), begin_line, end_line(brace), tag,
                  name);
}

// The first token of the declaration that ends at `brace`: after the statement, block or
// access label before it; a ":" after a parameter list starts an initialiser list and is
// passed over.
std::size_t TCppProcLexer::declaration_start(std::size_t brace) {
    tokens_.set_cursor(brace);
    for (;;) {
        if (!tokens_.previous()) {
            tokens_.set_cursor(0);
            if (!TBCBTokenList::is_significant(tokens_.kind())) tokens_.next();
            break;
        }
        const bcb_token kind = tokens_.kind();
        if (ends_statement(kind) || (kind == bcb_token::colon && !colon_after_parameters())) {
            tokens_.next_non_comment();
            break;
        }
        if (kind == bcb_token::hash) {
            while (tokens_.kind() != bcb_token::line_break && tokens_.raw_next()) {
            }
            tokens_.next();
            break;
        }
    }
    return std::min(tokens_.cursor(), brace);
}

bool TCppProcLexer::colon_after_parameters() {
    const std::size_t colon = tokens_.cursor();
    const bool after = tokens_.previous() && (tokens_.kind() == bcb_token::paren_close ||
                                              tokens_.kind() == bcb_token::parens);
    tokens_.set_cursor(colon);
    return after;
}

// The nearest "throws" before `from`, looking back no further than `down_to`.
std::optional<std::size_t> TCppProcLexer::find_throws(std::size_t from, std::size_t down_to) const {
    for (std::size_t i = from; i > down_to;) {
        --i;
        if (tokens_.token(i) == "throws") return i;
    }
    return std::nullopt;
}

// The "(" or "()" that opens the parameter list ending before `from`: the nearest "(" or
// "()" before it, or the "(" that matches the nearest ")".
std::optional<std::size_t> TCppProcLexer::parameter_list_open(std::size_t from) const {
    const auto after =
        std::lower_bound(parens_.begin(), parens_.end(), from,
                         [](const bracket_pair& p, std::size_t i) { return p.token < i; });
    if (after == parens_.begin() || std::prev(after)->partner == none) return std::nullopt;
    return std::prev(after)->partner;
}

// The class of a qualified name ("A" for "A::f", also for "A<T>::f"); empty when the name
// is not qualified. The qualifier is looked for no further back than the declaration start.
std::string_view TCppProcLexer::class_name_before(std::size_t name, std::size_t start) {
    tokens_.set_cursor(name);
    if (!tokens_.previous() || tokens_.kind() != bcb_token::colon_colon || !tokens_.previous() ||
        tokens_.cursor() < start) {
        return {};
    }
    const bcb_token kind = tokens_.kind();
    if ((kind == bcb_token::greater || kind == bcb_token::shift_right) &&
        !skip_template_arguments_back(start)) {
        return {};
    }
    return tokens_.kind() == bcb_token::identifier ? tokens_.token() : std::string_view{};
}

// From the ">" that closes a template argument list to the token before its "<".
bool TCppProcLexer::skip_template_arguments_back(std::size_t start) {
    int depth = 0;
    do {
        depth -= angle_depth_change(tokens_.kind());
        if (depth <= 0) return tokens_.previous() && tokens_.cursor() >= start;
    } while (tokens_.previous() && tokens_.cursor() >= start);
    return false;
}

// The declaration's text before the name, without comments, directives, the keyword template
// and template argument lists; line breaks read as spaces.
std::string TCppProcLexer::return_type_text(std::size_t from, std::size_t name) const {
    std::string type;
    for (std::size_t i = from; i < name; ++i) {
        const bcb_token kind = tokens_.kind(i);
        if (kind == bcb_token::less) {
            int depth = 0;
            for (; i < name; ++i) {
                depth += angle_depth_change(tokens_.kind(i));
                if (depth <= 0) break;
            }
        } else if (kind == bcb_token::line_break) {
            type += ' ';
        } else if (!TBCBTokenList::is_comment(kind) && kind != bcb_keyword("template")) {
            type += tokens_.token(i);
        }
    }
    return type;
}

// The line of the "}" that closes a body's "{"; a body written "{}" ends on its own line.
int TCppProcLexer::end_line(std::size_t brace) const {
    if (tokens_.kind(brace) == bcb_token::braces) return tokens_.line_of(tokens_.position(brace));
    const auto found =
        std::lower_bound(braces_.begin(), braces_.end(), brace,
                         [](const bracket_pair& p, std::size_t i) { return p.token < i; });
    if (found->partner == none) return -1;
    return tokens_.line_of(tokens_.position(found->partner));
}

}  // namespace tarnwell
