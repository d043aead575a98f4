#include "explorer/uPasProcLexer.h"

#include <string_view>

namespace tarnwell {

namespace {

bool is_routine_keyword(pas_token kind) {
    return is_any_of(kind, {pas_keyword("Function"), pas_keyword("Procedure"),
                            pas_keyword("Constructor"), pas_keyword("Destructor")});
}

bool is_type_keyword(pas_token kind) {
    return is_any_of(kind, {pas_keyword("Class"), pas_keyword("Object")});
}

// Tokens inside a class type that show that it has a body and is not a forward declaration.
bool marks_member(pas_token kind) {
    return is_any_of(kind,
                     {pas_token::identifier, pas_keyword("Function"), pas_keyword("Procedure"),
                      pas_keyword("Property"), pas_keyword("Private"), pas_keyword("Protected"),
                      pas_keyword("Public"), pas_keyword("Published")});
}

bool is_layout(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// Runs of tabs, line ends and spaces become one space; none are left at either end.
std::string collapse_layout(std::string_view text) {
    std::string out;
    bool pending_space = false;
    for (const char c : text) {
        if (is_layout(c)) {
            pending_space = !out.empty();
        } else {
            if (pending_space) out += ' ';
            pending_space = false;
            out += c;
        }
    }
    return out;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && is_layout(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_layout(text.back())) text.remove_suffix(1);
    return text;
}

bool starts_with_class(std::string_view text) {
    constexpr std::string_view prefix = "CLASS ";
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) != prefix[i]) return false;
    }
    return true;
}

// The routine's name from its heading text: "procedure TForm1.Button1Click(Sender: TObject);"
// gives "TForm1.Button1Click".
std::string routine_name(std::string_view heading_text) {
    const std::string collapsed = collapse_layout(heading_text);
    std::string_view name = collapsed;
    if (starts_with_class(name)) name.remove_prefix(6);
    const std::size_t space = name.find(' ');
    if (space != std::string_view::npos) name.remove_prefix(space + 1);
    name = name.substr(0, name.find('('));
    name = name.substr(0, name.find(':'));
    if (!name.empty() && name.back() == ';') name.remove_suffix(1);
    return std::string(trim(name));
}

std::string_view routine_tag(pas_token keyword, bool class_prefix) {
    if (keyword == pas_keyword("Function")) return tag_function;
    if (keyword == pas_keyword("Procedure")) return tag_procedure;
    if (class_prefix) return tag_unknown;
    return keyword == pas_keyword("Constructor") ? tag_constructor : tag_destructor;
}

}  // namespace

void TPasProcLexer::step() {
    lexer_.next();
    if (budget_exceeded()) stopped_ = true;
}

void TPasProcLexer::step_significant() {
    lexer_.next_significant();
    if (budget_exceeded()) stopped_ = true;
}

void TPasProcLexer::execute() {
    stopped_ = false;
    lexer_.set_origin(source_text());
    if (find_start()) scan_routines();
}

// Puts the lexer where routines are looked for: after the program heading, after the
// implementation keyword of a unit, or at the start of a text that has neither (an include
// file). False when there is nothing to scan.
bool TPasProcLexer::find_start() {
    while (!at_end() && lexer_.kind() != pas_keyword("Program") &&
           lexer_.kind() != pas_keyword("Unit")) {
        step();
    }
    if (stopped_) return false;
    if (lexer_.kind() == pas_keyword("Unit")) {
        while (!at_end() && lexer_.kind() != pas_keyword("Implementation")) step();
        if (stopped_) return false;
        if (lexer_.kind() == pas_token::end_of_text) {
            fail(std::string(implementation_not_found));
            return false;
        }
        step();
    } else if (lexer_.kind() == pas_token::end_of_text) {
        lexer_.set_origin(source_text());
    }
    return true;
}

void TPasProcLexer::scan_routines() {
    bool in_class = false;
    bool member_seen = false;
    // The parenthesis depth of the class keyword: the ancestors in "class(TBase)" stand deeper
    // and are no members, so "EFoo = class(Exception);" is a complete declaration.
    int class_depth = 0;
    bool class_prefix = false;
    while (!at_end()) {
        if (!in_class && is_routine_keyword(lexer_.kind())) {
            const heading h = read_heading(class_prefix);
            if (h.named) {
                const body_lines lines = find_body();
                if (!stopped_ && lines.has_body) report(h, lines);
            }
        }
        const pas_token kind = lexer_.kind();
        if (is_type_keyword(kind) && lexer_.type_body()) {
            in_class = true;
            member_seen = false;
            class_depth = lexer_.paren_depth();
        } else if (in_class) {
            if (marks_member(kind) && lexer_.paren_depth() == class_depth) {
                member_seen = true;
            } else if (kind == pas_keyword("End") ||
                       (kind == pas_token::semicolon && !member_seen)) {
                in_class = false;
            }
        }
        class_prefix = is_type_keyword(kind);
        if (class_prefix) {
            step_significant();
        } else {
            step();
        }
    }
}

// Reads from the routine keyword to the ";" that ends the heading outside its parameter list.
TPasProcLexer::heading TPasProcLexer::read_heading(bool class_prefix) {
    heading h;
    h.keyword = lexer_.kind();
    h.class_prefix = class_prefix;
    h.line = line();
    bool in_parameters = false;
    bool ended_on_semicolon = false;
    for (; !at_end(); step()) {
        const pas_token kind = lexer_.kind();
        if (is_any_of(kind, {pas_token::identifier, pas_keyword("Register")})) h.named = true;
        if (kind == pas_token::paren_close) {
            in_parameters = false;
        } else if (kind == pas_token::paren_open) {
            // "procedure(Sender: TObject) of object" is a type, not a routine.
            if (!h.named) break;
            in_parameters = true;
        } else if (kind == pas_token::semicolon && !in_parameters) {
            ended_on_semicolon = true;
            break;
        }
        if (!is_any_of(kind, {pas_token::line_break, pas_token::line_break_in_comment})) {
            h.text += lexer_.token();
        }
    }
    if (ended_on_semicolon) h.text += ';';
    if (class_prefix) h.text.insert(0, "class ");
    return h;
}

// Finds the begin and end lines of the routine whose heading was just read. Routines
// declared before its begin are nested ones: each takes the next begin-end block, and the
// routine's own block comes after all of theirs. A forward or external routine has no block
// of its own; an assembler block (asm ... end) counts like begin ... end.
TPasProcLexer::body_lines TPasProcLexer::find_body() {
    int nested = 0;
    for (;;) {
        step_significant();
        if (at_end()) return {};
        const pas_token kind = lexer_.kind();
        if (is_any_of(kind, {pas_keyword("Function"), pas_keyword("Procedure")})) {
            ++nested;
        } else if (is_any_of(kind, {pas_keyword("Forward"), pas_keyword("External")})) {
            if (nested == 0) return {.has_body = false};
            --nested;
        } else if (is_any_of(kind, {pas_keyword("Begin"), pas_keyword("Asm")})) {
            const int begin = line();
            const int end = find_end();
            if (nested == 0) return {begin, end};
            if (end < 0) return {};
            --nested;
        }
    }
}

// From a Begin, the line of the End that closes it; -1 when the text ends first.
int TPasProcLexer::find_end() {
    int depth = 0;
    for (;;) {
        step_significant();
        if (at_end()) return -1;
        const pas_token kind = lexer_.kind();
        if (is_any_of(kind, {pas_keyword("Begin"), pas_keyword("Case"), pas_keyword("Try")})) {
            ++depth;
        } else if (kind == pas_keyword("End") && --depth < 0) {
            return line();
        }
    }
}

void TPasProcLexer::report(const heading& h, body_lines lines) {
    const std::string name = routine_name(h.text);
    if (name.empty()) return;
    append_result(h.line, lines.begin, lines.end, routine_tag(h.keyword, h.class_prefix), name);
}

}  // namespace tarnwell
