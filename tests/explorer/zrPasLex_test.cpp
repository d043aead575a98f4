#include "explorer/zrPasLex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tarnwell {
namespace {

struct lexed {
    pas_token kind;
    std::string text;
    int line;  // 1-based
};

// Every token of `source` up to the end of the text, with the line the lexer stands on after
// reading it (a line break already counts).
std::vector<lexed> lex_all(const std::string& source) {
    TzrPasLex lexer;
    lexer.set_origin(source);
    std::vector<lexed> tokens;
    while (lexer.kind() != pas_token::end_of_text) {
        tokens.push_back({lexer.kind(), std::string(lexer.token()), lexer.line_counter() + 1});
        lexer.next();
    }
    return tokens;
}

std::vector<lexed> significant(const std::string& source) {
    std::vector<lexed> tokens;
    for (const lexed& t : lex_all(source)) {
        if (t.kind != pas_token::blank && t.kind != pas_token::line_break) tokens.push_back(t);
    }
    return tokens;
}

constexpr pas_token ident = pas_token::identifier;

struct token_case {
    const char* name;
    std::string source;
    std::vector<std::pair<pas_token, std::string>> tokens;  // blanks and line breaks left out
};

class PasLexTokens : public testing::TestWithParam<token_case> {};

TEST_P(PasLexTokens, CutsTheTextIntoTheseTokens) {
    const token_case& c = GetParam();
    std::vector<std::pair<pas_token, std::string>> actual;
    for (const lexed& t : significant(c.source)) actual.emplace_back(t.kind, t.text);
    EXPECT_EQ(actual, c.tokens);
}

const token_case token_cases[] = {
    {"end_dot_and_words_that_only_begin_like_end",
     "END. End1 End_ end Ends",
     {{pas_keyword("End"), "END"},
      {pas_token::point, "."},
      {ident, "End1"},
      {ident, "End_"},
      {pas_keyword("End"), "end"},
      {ident, "Ends"}}},
    {"read_as_property_name_and_as_accessor",
     "property Read: Integer read FValue;",
     {{pas_keyword("Property"), "property"},
      {ident, "Read"},
      {pas_token::colon, ":"},
      {ident, "Integer"},
      {pas_keyword("Read"), "read"},
      {ident, "FValue"},
      {pas_token::semicolon, ";"}}},
    {"context_words_look_past_blanks_on_their_line",
     "Name (x) Index 3 Write  ; public\nPublished\t=",
     {{ident, "Name"},
      {pas_token::paren_open, "("},
      {ident, "x"},
      {pas_token::paren_close, ")"},
      {pas_keyword("Index"), "Index"},
      {pas_token::number, "3"},
      {ident, "Write"},
      {pas_token::semicolon, ";"},
      {pas_keyword("Public"), "public"},
      {ident, "Published"},
      {pas_token::equal, "="}}},
    {"numbers_and_ranges",
     "1..5 1.5 2E10 $1aF #13'x'",
     {{pas_token::number, "1"},
      {pas_token::range, ".."},
      {pas_token::number, "5"},
      {pas_token::real_number, "1.5"},
      {pas_token::number, "2E10"},
      {pas_token::hex_number, "$1aF"},
      {pas_token::char_code, "#13"},
      {pas_token::string, "'x'"}}},
    {"operators",
     ":= : <= <> < >= > @@ @ ^ (. .) [ ] / * + - , =",
     {{pas_token::assign, ":="},       {pas_token::colon, ":"},
      {pas_token::less_equal, "<="},   {pas_token::not_equal, "<>"},
      {pas_token::less, "<"},          {pas_token::greater_equal, ">="},
      {pas_token::greater, ">"},       {pas_token::double_address, "@@"},
      {pas_token::address, "@"},       {pas_token::caret, "^"},
      {pas_token::bracket_open, "(."}, {pas_token::bracket_close, ".)"},
      {pas_token::bracket_open, "["},  {pas_token::bracket_close, "]"},
      {pas_token::slash, "/"},         {pas_token::star, "*"},
      {pas_token::plus, "+"},          {pas_token::minus, "-"},
      {pas_token::comma, ","},         {pas_token::equal, "="}}},
    {"comments_and_directives",
     "{a} {$R+} (* b *) (*$I x*) // c\n}",
     {{pas_token::brace_comment, "{a}"},
      {pas_token::directive, "{$R+}"},
      {pas_token::paren_star_comment, "(* b *)"},
      {pas_token::directive, "(*$I x*)"},
      {pas_token::slash_comment, "// c"},
      {pas_token::stray_brace, "}"}}},
    {"strings_end_at_the_line_end",
     "'it''s' 'open\nx",
     {{pas_token::string, "'it'"},
      {pas_token::string, "'s'"},
      {pas_token::string, "'open"},
      {ident, "x"}}},
    {"unknown_characters",
     "! ~ | \x7f\xe9",
     {{pas_token::unknown_symbol, "!"},
      {pas_token::unknown_symbol, "~"},
      {pas_token::unknown_high, "|"},
      {pas_token::unknown_high, "\x7f"},
      {pas_token::unknown_high, "\xe9"}}},
    {"unclosed_comment_at_the_end",
     "x { no end",
     {{ident, "x"}, {pas_token::brace_comment, "{ no end"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PasLexTokens, testing::ValuesIn(token_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PasLex, KnowsEveryKeywordInAnyCaseAndOnlyAsAWholeWord) {
    for (std::size_t k = 0; k < pas_keywords.size(); ++k) {
        const std::string word(pas_keywords[k]);
        std::string upper = word;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const auto keyword =
            static_cast<pas_token>(static_cast<std::size_t>(pas_token::keyword_first) + k);
        for (const std::string& spelling : {word, upper}) {
            const auto tokens =
                significant(spelling + " x " + spelling + "1 " + spelling + "_ " + spelling + "q");
            ASSERT_EQ(tokens.size(), 5u) << word;
            EXPECT_EQ(tokens[0].kind, keyword) << spelling;
            EXPECT_EQ(tokens[2].kind, ident) << spelling << "1";
            EXPECT_EQ(tokens[3].kind, ident) << spelling << "_";
            EXPECT_EQ(tokens[4].kind, ident) << spelling << "q";
        }
    }
}

TEST(PasLex, CountsLinesThroughACommentOfThreeLines) {
    const auto tokens = lex_all("a { one\r\ntwo\rthree } b\nc");
    const std::vector<std::pair<pas_token, int>> expected = {
        {ident, 1},
        {pas_token::blank, 1},
        {pas_token::brace_comment, 1},
        {pas_token::line_break_in_comment, 2},
        {pas_token::brace_comment, 2},
        {pas_token::line_break_in_comment, 3},
        {pas_token::brace_comment, 3},
        {pas_token::blank, 3},
        {ident, 3},
        {pas_token::line_break, 4},
        {ident, 4},
    };
    std::vector<std::pair<pas_token, int>> actual;
    for (const lexed& t : tokens) actual.emplace_back(t.kind, t.line);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(tokens[6].text, "three }");
}

TEST(PasLex, ParenStarCommentAndDirectiveContinueOnTheNextLine) {
    const auto tokens = significant("(* a\n b *) x {$IFDEF\n Y} z");
    ASSERT_EQ(tokens.size(), 8u);
    EXPECT_EQ(tokens[1].kind, pas_token::line_break_in_comment);
    EXPECT_EQ(tokens[2].kind, pas_token::paren_star_comment);
    EXPECT_EQ(tokens[2].text, " b *)");
    EXPECT_EQ(tokens[4].kind, pas_token::directive);
    EXPECT_EQ(tokens[6].kind, pas_token::brace_comment);
    EXPECT_EQ(tokens[6].text, " Y}");
    EXPECT_EQ(tokens[7].text, "z");
    EXPECT_EQ(tokens[7].line, 3);
}

TEST(PasLex, MarksTheTypeBodiesThatClassAndObjectOpen) {
    struct body_case {
        const char* source;
        bool type_body;
    };
    const body_case cases[] = {
        {"TFoo = class(TBase)", true},
        {"TFoo = class\n", true},
        {"TFoo = class;", true},
        {"TFoo =   class", true},
        {"TFoo = class of TBar;", false},
        {"class function F: Integer;", false},
        {"TFoo = {c} class(TBase)", false},
        {"TFoo = object", true},
        {"TFoo = abstract object;", true},
        {"TEvent = procedure of object;", false},
    };
    for (const body_case& c : cases) {
        TzrPasLex lexer;
        const std::string source = c.source;
        lexer.set_origin(source);
        while (lexer.kind() != pas_keyword("Class") && lexer.kind() != pas_keyword("Object")) {
            ASSERT_NE(lexer.kind(), pas_token::end_of_text) << c.source;
            lexer.next();
        }
        EXPECT_EQ(lexer.type_body(), c.type_body) << c.source;
    }
}

TEST(PasLex, PreviousKindPassesOverBlanksOnly) {
    TzrPasLex lexer;
    const std::string source = "a  b {c}d";
    lexer.set_origin(source);
    lexer.next_significant();
    EXPECT_EQ(lexer.token(), "b");
    EXPECT_EQ(lexer.previous_kind(), ident);
    lexer.next_significant();
    EXPECT_EQ(lexer.token(), "d");
    EXPECT_EQ(lexer.previous_kind(), pas_token::brace_comment);
}

TEST(PasLex, TracksParenthesisAndBracketDepth) {
    TzrPasLex lexer;
    const std::string source = "((a)[b(.c";
    lexer.set_origin(source);
    std::vector<std::pair<int, int>> depths;
    while (lexer.kind() != pas_token::end_of_text) {
        depths.emplace_back(lexer.paren_depth(), lexer.bracket_depth());
        lexer.next();
    }
    const std::vector<std::pair<int, int>> expected = {{1, 0}, {2, 0}, {2, 0}, {1, 0},
                                                       {1, 1}, {1, 1}, {1, 2}, {1, 2}};
    EXPECT_EQ(depths, expected);
}

TEST(PasLex, StartsOverAtTheOriginOutsideAnyComment) {
    TzrPasLex lexer;
    const std::string unclosed = "a\n{ open\nb";
    lexer.set_origin(unclosed);
    while (lexer.kind() != pas_token::end_of_text) lexer.next();
    EXPECT_EQ(lexer.line_counter(), 2);
    const std::string next_text = "x\ny";
    lexer.set_origin(next_text);
    EXPECT_EQ(lexer.kind(), ident);
    lexer.next_significant();
    EXPECT_EQ(lexer.kind(), ident);
    EXPECT_EQ(lexer.token(), "y");
    EXPECT_EQ(lexer.line_counter(), 1);
}

TEST(PasLex, AnyBytesEndInAFiniteRunOfTokensThatCoverTheText) {
    std::mt19937 random(12);
    for (int round = 0; round < 300; ++round) {
        std::string source(static_cast<std::size_t>(random() % 200), '\0');
        for (char& c : source) c = static_cast<char>(random() % 256);
        const std::size_t end = source.find('\0');
        const std::size_t text_size = end == std::string::npos ? source.size() : end;
        TzrPasLex lexer;
        lexer.set_origin(source);
        std::size_t covered = 0;
        std::size_t steps = 0;
        while (lexer.kind() != pas_token::end_of_text) {
            ASSERT_EQ(lexer.token_position(), covered);
            ASSERT_FALSE(lexer.token().empty());
            covered += lexer.token().size();
            ASSERT_LE(++steps, text_size);
            lexer.next();
        }
        EXPECT_EQ(covered, text_size);
        lexer.next();
        EXPECT_EQ(lexer.kind(), pas_token::end_of_text);
    }
}

}  // namespace
}  // namespace tarnwell
