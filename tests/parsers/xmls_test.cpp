#include "parsers/xmls.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "parsers/parser_registry.h"

namespace tarnwell {
namespace {

// A lexer made for exercising the framework: every run of one letter is one token whose
// kind the letter names, so a test text spells out a token sequence with exact positions.
class probe_parser : public tsparser {
  public:
    probe_parser() : tsparser(probe_keywords) {}

    using tsparser::advance;
    using tsparser::error_code;
    using tsparser::error_pos;
    using tsparser::kind;
    using tsparser::lookup_keyword;
    using tsparser::match_parens;
    using tsparser::output;
    using tsparser::skip_until;
    using tsparser::text;
    using tsparser::text_size;
    using tsparser::token_len;
    using tsparser::token_pos;

    // Loads a text and makes its first token current, as `parse` does before the grammar.
    void load(const std::string& source) {
        text = source + '\001';
        text_size = static_cast<std::int32_t>(text.size());
        token_pos = 1;
        scan();
    }
    // Makes the token at a position current.
    void go_to(std::int32_t pos) {
        token_pos = pos;
        scan();
    }

  protected:
    void scan() override {
        tsparser::scan();
        const char c = at(token_pos);
        if (c == '"') {
            std::int32_t end = token_pos + 1;
            while (at(end) != '"' && at(end) != '\001') ++end;
            const bool complete = at(end) == '"';
            token_len = end - token_pos + (complete ? 1 : 0);
            kind = complete ? tk_string : tk_bad_literal;
            if (!complete) set_error(17);
            return;
        }
        if (c == '/' && at(token_pos + 1) == '*') {
            std::int32_t end = token_pos + 2;
            while (!(at(end) == '*' && at(end + 1) == '/') && at(end) != '\001') ++end;
            kind = at(end) == '\001' ? tk_bad_comment : tk_comment;
            token_len = end - token_pos + (kind == tk_comment ? 2 : 0);
            return;
        }
        if (c == '&' && at(token_pos + 1) == '_') {
            kind = tk_space;  // a line continuation
            token_len = 2;
            return;
        }
        std::int32_t end = token_pos + 1;
        if (c != ' ') {
            while (at(end) == c && c != '\001') ++end;
        }
        token_len = end - token_pos;
        kind = kind_of(c);
        if (kind == tk_word) lookup_keyword();
        if (kind == tk_eof) set_error(err_unexpected_eof);
    }
    bool parse_statements(bool) override { return true; }

  private:
    static token_kind kind_of(char c) {
        switch (c) {
            case '\001':
                return tk_eof;
            case ' ':
                return tk_space;
            case ';':
                return tk_semicolon;
            case ':':
                return tk_colon;
            case '{':
                return tk_open_brace;
            case 'B':
                return tk_begin;
            case 'D':
                return tk_do;
            case 'E':
                return tk_else;
            case 'F':
                return tk_finally;
            case 'G':
                return tk_goto;
            case 'H':
                return tk_handler;
            case 'I':
                return tk_if;
            case 'K':
                return tk_loop;
            case 'L':
                return tk_label;
            case 'N':
                return tk_newline;
            case 'O':
                return tk_of;
            case 'P':
                return tk_parens;
            case 'Q':
                return tk_sql;
            case 'T':
                return tk_then;
            case 'U':
                return tk_until;
            case 'Y':
                return tk_end_dot;
            case 'Z':
                return tk_end;
            case 'w':
                return tk_word;
            default:
                return tk_other;
        }
    }
    static constexpr std::array<keyword_entry, 4> probe_keywords{{
        {"WWW", tk_while},
        {"WWWW", tk_until},
        {"WWWW", tk_then},                 // a second entry for the same text is never found
        {"WWWWWWWWWWWWWWWWWWWWW", tk_if},  // 21 letters: too long to be a keyword
    }};
};

struct skip_case {
    int skip;
    const char* text;  // the first token is current when the scan starts
    std::int32_t gives;
    std::uint8_t error;  // 27 when the scan succeeds
};

// Stop tokens are spelled with several letters where "end" and "before" positions differ.
const skip_case skip_cases[] = {
    {0, "xx ;;", 5, 27},                           // end of the ";" run
    {0, ";", 1, 27},                               // the current token already stops the scan
    {0, "xx", 0, 33},                              // the end of the text
    {1, "x TT", 4, 27},     {1, "x ; TT", 0, 22},  // guarded: a ";" fails the scan
    {2, "x DD", 4, 27},     {2, "x", 0, 1},
    {3, "x OO", 4, 27},     {3, "x ;", 0, 2},
    {4, "x :", 3, 27},      {4, "x LLL", 5, 27},  // a label token also ends a case label
    {4, "x ;", 0, 3},       {5, "x EE", 2, 27},   // gives the character before the stop token
    {5, "x UU", 2, 27},     {5, "x ; Z", 2, 27},  // ";" is a stop kind here, not a failure
    {5, "x YY", 2, 27},                           // "END." ends a statement as END does
    {5, "x x", 0, 33},      {6, "x NN", 2, 27},
    {6, "x EE ZZ", 5, 27},  // ELSE does not stop it, END does
    {7, "x LL", 4, 27},     {7, "x NN", 4, 27},
    {7, "x x", 0, 10},      {8, "x ; NN", 6, 27},  // unguarded: a ";" is passed over
    {8, "x", 0, 10},        {9, "x ;", 3, 27},
    {10, "x TT", 4, 27},    {10, "x N TT", 0, 22},  // a line end fails it
    {10, "x ; TT", 0, 22},  {11, "x GG", 4, 27},
    {11, "x N GG", 0, 22},  {12, "x PPP", 5, 27},
    {12, "x ; PPP", 0, 21}, {13, "x KK", 4, 27},
    {13, "x", 0, 15},       {14, "x QQ", 2, 27},   // before the SQL keyword
    {14, "x ; QQ", 0, 16},  {15, "x x I", 3, 27},  // the end of the token before IF
    {15, "x ; x B", 5, 27},                        // runs over ";" up to BEGIN
    {15, "x x H", 3, 27},                          // BEGIN CATCH starts a statement too
    {15, "xx", 2, 24},     // the end of the text stops it (and the lexer records it)
    {16, "x yyy", 5, 27},  // one step: the end of the next token
    {17, "x {{", 4, 27},    {17, "x ; {", 0, 6},
    {18, "x ;", 0, 28},  // no such scan
    {-1, "x ;", 0, 28},
};

TEST(SkipUntil, StopsFailsAndGivesAsItsTableSays) {
    probe_parser parser;
    for (const skip_case& c : skip_cases) {
        SCOPED_TRACE(testing::Message() << "skip " << c.skip << " over \"" << c.text << "\"");
        parser.load(c.text);
        parser.error_code = err_none;
        EXPECT_EQ(parser.skip_until(c.skip), c.gives);
        EXPECT_EQ(parser.error_code, c.error);
    }
}

TEST(SkipUntil, FifteenLeavesTheLastTokenOfTheStatementCurrent) {
    probe_parser parser;
    parser.load("x ww I");
    EXPECT_EQ(parser.skip_until(15), 4);
    EXPECT_EQ(parser.token_pos, 3);
    EXPECT_EQ(parser.token_len, 2);
    EXPECT_EQ(parser.kind, tk_word);
}

TEST(KeywordLookup, IgnoresCaseAndTakesTheFirstEntry) {
    struct lookup_case {
        const char* text;
        bool found;
        token_kind kind;
    };
    const lookup_case cases[] = {
        {"www", true, tk_while},
        {"wwww", true, tk_until},  // the later entry with the same text is never found
        {"ww", false, tk_word},
        {"wwwwwwwwwwwwwwwwwwwww", false, tk_word},
    };
    probe_parser parser;
    for (const lookup_case& c : cases) {
        SCOPED_TRACE(c.text);
        parser.load(c.text);
        parser.kind = tk_word;
        EXPECT_EQ(parser.lookup_keyword(), c.found);
        EXPECT_EQ(parser.kind, c.kind);
    }
}

TEST(MatchParens, MeasuresGroupsAndReportsWhereTheyBreakOff) {
    struct group_case {
        const char* text;
        std::int32_t gives;
        token_kind kind_after;  // tk_other: the kind at the call is restored
        std::int32_t token_pos_after;
        std::int32_t token_len_after;
    };
    const group_case cases[] = {
        {"(a)", 3, tk_other, 1, 0},
        {"(a(b)c)", 7, tk_other, 1, 0},
        {"(a\")\"b)", 7, tk_other, 1, 0},  // a ")" inside a string does not count
        {"(a&_b)", 6, tk_other, 1, 0},     // a line continuation is passed over whole
        {"(a;b)", 0, tk_bad_group, 1, 2},
        {"(ab\r\n)", 0, tk_bad_group, 1, 3},
        {"(ab", 0, tk_bad_group, 1, 3},
        {"(a(b;", 0, tk_bad_group, 1, 4},    // the inner break-off covers the outer group too
        {"(a\"b", 0, tk_bad_literal, 3, 2},  // the lexer's unterminated string stands
        {"(a&b)", 0, tk_other, 3, 1},        // an "&" that is no continuation fails the check
    };
    probe_parser parser;
    for (const group_case& c : cases) {
        SCOPED_TRACE(c.text);
        parser.load(c.text);
        parser.kind = tk_other;
        parser.token_len = 0;
        EXPECT_EQ(parser.match_parens(1), c.gives);
        EXPECT_EQ(parser.kind, c.kind_after);
        EXPECT_EQ(parser.token_pos, c.token_pos_after);
        if (c.gives == 0) {
            EXPECT_EQ(parser.token_len, c.token_len_after);
        }
    }
}

TEST(MatchParens, PassesACommentOverWithoutChangingTheText) {
    probe_parser parser;
    parser.load("(a/*)*/b)c");
    EXPECT_EQ(parser.match_parens(1), 9);
    EXPECT_EQ(parser.text, std::string("(a/*)*/b)c\001"));
    EXPECT_EQ(parser.text_size, 11);
}

TEST(MatchParens, ReportsAGroupCutShortWithErrorNineteen) {
    probe_parser parser;
    parser.load("(ab;");
    parser.match_parens(1);
    EXPECT_EQ(parser.error_code, 19);
    EXPECT_EQ(parser.error_pos, 4);
}

TEST(Advance, PassesOverSpaceCommentsAndStopsAtTheEnd) {
    probe_parser parser;
    parser.load("x  /* c */ y");
    EXPECT_EQ(parser.advance(), tk_other);
    EXPECT_EQ(parser.token_pos, 12);
    EXPECT_EQ(parser.advance(), tk_eof);
    EXPECT_EQ(parser.token_pos, 13);
    // Past the end the position check puts the cursor back on the sentinel.
    EXPECT_EQ(parser.advance(), tk_eof);
    EXPECT_EQ(parser.token_pos, 13);
    EXPECT_EQ(parser.error_code, err_unexpected_eof);
    EXPECT_EQ(parser.error_pos, 14);
}

TEST(TagCode, LowerCasesAndKnowsAllTwentyEightTags) {
    const std::array<const char*, 28> by_code{
        "<statement>", "</statement>", "<break/>",   "<comment/>", "<label/>",   "<goto/>",
        "<continue/>", "<return/>",    "<exit/>",    "<if>",       "</if>",      "<switch>",
        "<case/>",     "<else/>",      "</switch>",  "<for>",      "</for>",     "<dountil>",
        "</dountil>",  "<untildo>",    "</untildo>", "<dowhile>",  "</dowhile>", "<whiledo>",
        "</whiledo>",  "<except>",     "</except>",  "<code/>",
    };
    for (std::size_t code = 0; code < by_code.size(); ++code) {
        EXPECT_EQ(tsparser::tag_code(by_code[code]), code) << by_code[code];
    }
    EXPECT_EQ(tsparser::tag_code("<IF>"), 9);
    EXPECT_EQ(tsparser::tag_code("<if >"), 29);
    EXPECT_EQ(tsparser::tag_code("<foo/>"), 29);
    EXPECT_EQ(tsparser::tag_code(""), 29);
}

TEST(ErrorMessages, HaveTheirFixedTextsAndNoneForUnusedCodes) {
    EXPECT_EQ(tsparser::message_of(24), "Unexpected End Of File");
    EXPECT_EQ(tsparser::message_of(27), "yeah!! NO error");
    EXPECT_EQ(tsparser::message_of(33), "here should be \";\"");
    EXPECT_EQ(tsparser::message_of(7), tsparser::message_of(20));
    EXPECT_EQ(tsparser::message_of(35), "here should be end of code");
    for (int code : {0, 8, 36, 200, 255}) {
        EXPECT_EQ(tsparser::message_of(static_cast<std::uint8_t>(code)), "") << code;
    }
}

}  // namespace
}  // namespace tarnwell

namespace tarnwell {
namespace {

// Code left after the outermost sequence has closed fails the parse at the first token of
// that code; what closes a routine's own text (its brace, "END name;", PHP's "?>") and blanks
// and comments after it do not.
struct trailing_case {
    const char* name;
    int slot;
    std::string source;
    bool ok;
    std::int32_t error_pos;  // checked on failure: just past the first token not charted
};

void PrintTo(const trailing_case& c, std::ostream* os) {
    *os << c.name;
}

class TrailingCodeTest : public testing::TestWithParam<trailing_case> {};

TEST_P(TrailingCodeTest, FailsOnlyWhenCodeFollowsTheClosedSequence) {
    static const parser_registry registry;
    const trailing_case& c = GetParam();
    const parser_result result = registry.parser_at(c.slot)->parse(c.source);
    EXPECT_EQ(result.ok, c.ok) << result.message;
    if (c.ok) {
        EXPECT_EQ(result.message, "yeah!! NO error");
    } else {
        EXPECT_EQ(result.message, "here should be end of code");
        EXPECT_EQ(result.error_pos, c.error_pos);
        // The chart of what came before stays, closed as always.
        EXPECT_NE(result.markup.find("</statement>"), std::string::npos);
        EXPECT_EQ(result.markup.back(), '\001');
    }
}

constexpr int c_slot = 3;
constexpr int php_slot = 2;
constexpr int perl_slot = 6;
constexpr int cs_slot = 8;
constexpr int pascal_slot = 13;
constexpr int plsql_slot = 11;

const trailing_case trailing_cases[] = {
    {"code_after_a_stray_brace", c_slot, "x = 1;\n}\ny = 2;\nreturn y;", false, 11},
    {"own_brace_then_blanks", c_slot, "x = 1;\n}\n\n", true, 0},
    {"own_brace_then_comments", c_slot, "x = 1;\n} /* end */\n// done\n#endif\n", true, 0},
    {"own_brace_then_terminator", c_slot, "x = 1;\n};\n", true, 0},
    {"word_after_own_brace", c_slot, "x = 1;\n} g;", false, 11},
    {"cs_code_after_brace", cs_slot, "f();\n}\nreturn 1;", false, 14},
    {"php_end_tag_after_brace", php_slot, "$x = 1;\n}\n?>\n<p>page</p>", true, 0},
    {"php_code_after_brace", php_slot, "$x = 1;\n}\n$y = 2;", false, 13},
    {"perl_code_after_brace", perl_slot, "$x = 1;\n}\n$y = 2;", false, 13},
    {"pascal_end_then_terminator", pascal_slot, "x := 1;\nend;\n", true, 0},
    {"pascal_code_after_end", pascal_slot, "x; end; y;", false, 10},
    {"plsql_end_with_name", plsql_slot, "x := 1;\nEND f;\n", true, 0},
};

INSTANTIATE_TEST_SUITE_P(Rule, TrailingCodeTest, testing::ValuesIn(trailing_cases),
                         [](const testing::TestParamInfo<trailing_case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tarnwell
