// Checks the tests of the line-based parsers share: a worked example with its exact result,
// and the robustness every parser owes to any input.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell::test_support {

// A text and the result its parse must give; the markup is written without its "\001".
struct markup_case {
    const char* name;
    std::string source;
    bool ok;
    std::string message;
    std::string markup;
};

inline const std::string no_error = "yeah!! NO error";

void expect_result(tsparser& parser, const markup_case& c);

std::string repeated(std::string_view piece, int times);

// The first token of a text as a parser's lexer reads it: kind, position, length and the
// error the lexer recorded (27 for none).
struct token_case {
    std::string source;
    token_kind kind;
    std::int32_t pos;
    std::int32_t len;
    std::uint8_t error;
};

template <class Parser>
class lexer_probe : public Parser {
  public:
    void read(const std::string& source) {
        this->text = source + '\001';
        this->text_size = static_cast<std::int32_t>(this->text.size());
        this->error_code = err_none;
        this->token_pos = 1;
        this->scan();
    }
    using Parser::error_code;
    using Parser::kind;
    using Parser::token_len;
    using Parser::token_pos;
};

template <class Parser>
void expect_tokens(std::span<const token_case> cases) {
    lexer_probe<Parser> lexer;
    for (const token_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.source));
        lexer.read(c.source);
        EXPECT_EQ(static_cast<int>(lexer.kind), static_cast<int>(c.kind));
        EXPECT_EQ(lexer.token_pos, c.pos);
        EXPECT_EQ(lexer.token_len, c.len);
        EXPECT_EQ(static_cast<int>(lexer.error_code), static_cast<int>(c.error));
    }
}

// Reads a complete markup as the layout reads it and checks it against the structure rules:
// sequences, conditionals, selections, loops and handlers properly nested and closed, every
// range inside the text. Gives the number of items of each tag.
std::map<std::string, int> check_structure(const std::string& markup, std::size_t text_length);

// The text of a file under tests/data.
std::string test_data(const std::string& name);

// A whole program of the test data parses with success, and its markup holds the structures
// a reader of the program counts: `expected` gives the number of each structure and jump tag
// (those not named must not occur).
void expect_program(tsparser& parser, const std::string& name,
                    const std::map<std::string, int>& expected);

// Deeply nested structures end in a failed result with "Error In Statement", never a crash.
void expect_nesting_fails_cleanly(tsparser& parser, const std::string& source);

// Control bytes, NUL, the sentinel character inside the text, lone CRs, invalid UTF-8,
// unterminated strings, groups and comments, and truncated structures: every parse ends with
// a markup closed by "\001" and an error length of at least 5.
void expect_any_bytes_parse(tsparser& parser);

}  // namespace tarnwell::test_support
