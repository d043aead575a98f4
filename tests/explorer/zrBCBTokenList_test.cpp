#include "explorer/zrBCBTokenList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tarnwell {
namespace {

using kinded = std::pair<bcb_token, std::string>;

// The tokens of `source` other than blanks, line breaks and the end of the text.
std::vector<kinded> tokens_of(const std::string& source) {
    TBCBTokenList list;
    list.load(source);
    std::vector<kinded> tokens;
    for (std::size_t i = 0; i + 1 < list.count(); ++i) {
        const bcb_token kind = list.kind(i);
        if (kind != bcb_token::blank && kind != bcb_token::line_break) {
            tokens.emplace_back(kind, std::string(list.token(i)));
        }
    }
    return tokens;
}

constexpr bcb_token ident = bcb_token::identifier;

struct token_case {
    const char* name;
    std::string source;
    std::vector<kinded> tokens;
};

class BcbTokens : public testing::TestWithParam<token_case> {};

TEST_P(BcbTokens, SplitsTheTextIntoTheseTokens) {
    EXPECT_EQ(tokens_of(GetParam().source), GetParam().tokens);
}

const token_case token_cases[] = {
    {"conditional_expression_has_a_colon",
     "a = b ? c : d;",
     {{ident, "a"},
      {bcb_token::assign, "="},
      {ident, "b"},
      {bcb_token::question, "?"},
      {ident, "c"},
      {bcb_token::colon, ":"},
      {ident, "d"},
      {bcb_token::semicolon, ";"}}},
    {"qualified_name",
     "std::string",
     {{ident, "std"}, {bcb_token::colon_colon, "::"}, {ident, "string"}}},
    {"continued_define_is_one_directive",
     "#define X \\\r\n  1\nint",
     {{bcb_token::line_comment, "#define X \\\r\n  1"}, {bcb_keyword("int"), "int"}}},
    {"destructor_name_and_empty_lists",
     "~Foo() {} []",
     {{ident, "~Foo"},
      {bcb_token::parens, "()"},
      {bcb_token::braces, "{}"},
      {bcb_token::brackets, "[]"}}},
    {"character_literals",
     "'x' '\\n' '\\'' 'ab'",
     {{bcb_token::character, "'x'"},
      {bcb_token::character, "'\\n'"},
      {bcb_token::character, "'\\''"},
      {bcb_token::character, "'"},
      {ident, "ab"},
      {bcb_token::character, "'"}}},
    {"strings_with_escapes",
     "\"a\\\"b\" \"c\\\\\" d \"open",
     {{bcb_token::string, "\"a\\\"b\""},
      {bcb_token::string, "\"c\\\\\""},
      {ident, "d"},
      {bcb_token::string, "\"open"}}},
    {"comments",
     "/* a\n b */ x // y\n/* open",
     {{bcb_token::block_comment, "/* a\n b */"},
      {ident, "x"},
      {bcb_token::line_comment, "// y"},
      {bcb_token::block_comment, "/* open"}}},
    {"longest_operator_wins",
     "p->*q ... <<= >>= -> .* ?: || |= | ## # x",
     {{ident, "p"},
      {bcb_token::arrow_star, "->*"},
      {ident, "q"},
      {bcb_token::ellipsis, "..."},
      {bcb_token::shift_left_equal, "<<="},
      {bcb_token::shift_right_equal, ">>="},
      {bcb_token::arrow, "->"},
      {bcb_token::point_star, ".*"},
      {bcb_token::question_colon, "?:"},
      {bcb_token::unknown, "||"},
      {bcb_token::unknown, "|="},
      {bcb_token::unknown, "|"},
      {bcb_token::double_hash, "##"},
      {bcb_token::hash, "#"},
      {ident, "x"}}},
    {"numbers",
     "1..2 1.5e3 42",
     {{bcb_token::number, "1"},
      {bcb_token::point_point, ".."},
      {bcb_token::number, "2"},
      {bcb_token::real_number, "1.5e3"},
      {bcb_token::number, "42"}}},
    {"words",
     "foreach throws synchronized const Const __fastcall",
     {{bcb_keyword("for"), "foreach"},
      {ident, "throws"},
      {ident, "synchronized"},
      {bcb_keyword("const"), "const"},
      {ident, "Const"},
      {bcb_keyword("__fastcall"), "__fastcall"}}},
    {"odd_characters",
     "$ @ ` \\ \\\r\n \x7f\xff",
     {{bcb_token::unknown, "$"},
      {bcb_token::unknown, "@"},
      {bcb_token::unknown, "`"},
      {bcb_token::unknown, "\\"},
      {bcb_token::line_continuation, "\\\r\n"},
      {bcb_token::unknown, "\x7f"},
      {bcb_token::unknown, "\xff"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BcbTokens, testing::ValuesIn(token_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BcbTokenList, KnowsEveryKeywordOnlyAsAWholeWord) {
    for (std::size_t k = 0; k < bcb_keywords.size(); ++k) {
        const std::string word(bcb_keywords[k]);
        const auto tokens = tokens_of(word + " " + word + "1 q" + word);
        ASSERT_EQ(tokens.size(), 3u) << word;
        const auto expected =
            word == "foreach"
                ? bcb_keyword("for")
                : static_cast<bcb_token>(static_cast<std::size_t>(bcb_token::keyword_first) + k);
        EXPECT_EQ(tokens[0].first, expected) << word;
        EXPECT_EQ(tokens[1].first, ident) << word << "1";
        EXPECT_EQ(tokens[2].first, ident) << "q" << word;
    }
}

TEST(BcbTokenList, StepsOverBlanksCommentsAndDirectivesBothWays) {
    TBCBTokenList list;
    const std::string source = "a /* c */\n#if X\nb // d\n c";
    list.load(source);
    std::vector<std::string> forward;
    for (; list.kind() != bcb_token::end_of_text; list.next()) forward.emplace_back(list.token());
    EXPECT_EQ(forward, (std::vector<std::string>{"a", "b", "c"}));
    list.next();
    EXPECT_EQ(list.kind(), bcb_token::end_of_text);

    std::vector<std::string> backward;
    while (list.previous()) backward.emplace_back(list.token());
    EXPECT_EQ(backward, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(list.token(), "a");
    EXPECT_EQ(list.cursor(), 0u);
}

TEST(BcbTokenList, RawStepsStopAtBothEnds) {
    TBCBTokenList list;
    const std::string source = "a b";
    list.load(source);
    ASSERT_EQ(list.count(), 4u);
    EXPECT_FALSE(list.raw_previous());
    EXPECT_TRUE(list.raw_next());
    EXPECT_EQ(list.kind(), bcb_token::blank);
    EXPECT_TRUE(list.raw_next());
    EXPECT_TRUE(list.raw_next());
    EXPECT_EQ(list.kind(), bcb_token::end_of_text);
    EXPECT_FALSE(list.raw_next());
    EXPECT_EQ(list.cursor(), 3u);
    EXPECT_TRUE(list.raw_previous());
    EXPECT_EQ(list.token(), "b");
}

TEST(BcbTokenList, PreviousFailsWithOnlyCommentsBefore) {
    TBCBTokenList list;
    const std::string source = "// x\n  y";
    list.load(source);
    list.next();
    EXPECT_EQ(list.token(), "y");
    const std::size_t y = list.cursor();
    EXPECT_FALSE(list.previous());
    EXPECT_EQ(list.cursor(), y);
}

TEST(BcbTokenList, NonCommentStepStopsAtBlanks) {
    TBCBTokenList list;
    const std::string source = ";/* a *//* b */ x";
    list.load(source);
    list.next_non_comment();
    EXPECT_EQ(list.kind(), bcb_token::blank);
    EXPECT_EQ(list.position(), 15);
}

TEST(BcbTokenList, LineOfAPositionCountsEachKindOfLineEnd) {
    TBCBTokenList list;
    const std::string source = "a\r\nb\rc\nd\n\re";
    list.load(source);
    const std::vector<std::pair<std::int32_t, int>> cases = {
        {0, 1}, {1, 1}, {3, 2}, {5, 3}, {7, 4}, {10, 6}, {11, 6}, {12, -1}, {-1, -1}};
    for (const auto& [position, line] : cases) EXPECT_EQ(list.line_of(position), line) << position;
}

TEST(BcbTokenList, AnyBytesSplitIntoTokensThatCoverTheTextUpToItsFirstNul) {
    std::mt19937 random(7);
    const std::string alphabet = "{}()[]:;<>#/*'\"\\\r\n \tab1_~.|$\x80\xff";
    for (int round = 0; round < 400; ++round) {
        std::string source(static_cast<std::size_t>(random() % 120), '\0');
        for (char& c : source) {
            c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                  : alphabet[random() % alphabet.size()];
        }
        const std::string text = source.substr(0, source.find('\0'));
        TBCBTokenList list;
        list.load(source);
        std::string joined;
        for (std::size_t i = 0; i + 1 < list.count(); ++i) {
            ASSERT_FALSE(list.token(i).empty());
            ASSERT_NE(list.kind(i), bcb_token::end_of_text);
            joined += list.token(i);
        }
        EXPECT_EQ(joined, text);
        EXPECT_EQ(list.kind(list.count() - 1), bcb_token::end_of_text);
    }
}

}  // namespace
}  // namespace tarnwell
