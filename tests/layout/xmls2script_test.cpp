#include "layout/xmls2script.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "layout/grid_script.h"
#include "markup_generator.h"
#include "parsers/cpp2xmls.h"

namespace tarnwell {
namespace {

// The markup of the first worked example: an assignment, an `if` with an `else`, a `return`.
const std::string first_example =
    "<statement>1-1<code/>1-6<if>9-18<statement>27-27<code/>27-32</statement>35-35"
    "<statement>47-47<code/>47-52</statement>52-52</if>52-52<return/>55-63</statement>66-66\001";

struct script_case {
    const char* name;
    std::string markup;
    int level;
    int parser_slot;
    bool ok;
    std::string script;  // without the closing "\001"
};

class MakeScript : public ::testing::TestWithParam<script_case> {};

TEST_P(MakeScript, GivesTheScriptAndResult) {
    const script_case& c = GetParam();
    txml2script engine;
    engine.markup = c.markup;
    engine.parser_slot = c.parser_slot;
    EXPECT_EQ(engine.make_script(c.level), c.ok);
    EXPECT_EQ(engine.grid_script(), c.script.empty() ? "" : c.script + "\001");
}

const std::string selection_markup =
    "<statement>1-1<switch>1-5<case/>6-8<statement>9-9<code/>9-10</statement>11-11<case/>11-13"
    "<statement>14-14<code/>14-15</statement>16-16</switch>16-16</statement>17-17\001";

const script_case script_cases[] = {
    {"worked_example_all_levels", first_example, 0, 3, true,
     "colcount6rowcount12script98(100,1,p_start,1-2)(100,2,P_code,1-6)(100,3,P_downarrow,1-6)"
     "(100,4,p_if,9-18)(99,4,p_leftdownturntruearrow,9-18)(99,5,P_code,27-32)"
     "(99,6,P_leftturn,27-32)(101,4,p_rightdownturnfalsearrow,35-35)(101,5,P_code,47-52)"
     "(101,6,P_rightturn,47-52)(100,6,p_threearrow,52-52)(100,7,P_return,55-63)"
     "(100,9,p_end,66-66)"},
    {"worked_example_nested_blocks_collapsed", first_example, 2, 3, true,
     "colcount4rowcount11script99(100,1,p_start,1-2)(100,2,P_code,1-6)(100,3,P_downarrow,1-6)"
     "(100,4,p_if2,9-52)(100,5,P_downarrow,9-52)(100,6,P_return,55-63)(100,8,p_end,66-66)"},
    {"worked_example_one_box", first_example, 1, 3, true,
     "colcount4rowcount7script99(100,1,p_start,1-2)(100,2,p_statement,1-66)"
     "(100,3,P_downarrow,1-66)(100,4,p_end,1-66)"},
    {"empty_sequence", "<statement>1-1</statement>5-5\001", 0, 3, true,
     "colcount4rowcount5script99(100,1,p_start,1-2)(100,2,p_end,5-5)"},
    {"conditional_without_else",
     "<statement>1-1<if>1-5<statement>7-7<code/>7-12</statement>13-13</if>13-13"
     "</statement>20-20\001",
     0, 3, true,
     "colcount5rowcount9script99(100,1,p_start,1-2)(100,2,p_if,1-5)(100,3,P_truearrow,1-5)"
     "(100,4,P_code,7-12)(100,5,p_leftanddownarrow,13-13)(101,2,p_rightturnfalse,13-13)"
     "(101,5,P_rightturn,13-13)(101,3,P_vline,13-13)(101,4,P_vline,13-13)(100,6,p_end,20-20)"},
    {"true_branch_returns",
     "<statement>1-1<if>1-2<statement>3-3<return/>3-9</statement>9-9<statement>15-15"
     "<code/>15-16</statement>16-16</if>16-16</statement>18-18\001",
     0, 3, true,
     "colcount6rowcount8script98(100,1,p_start,1-2)(100,2,p_if,1-2)"
     "(99,2,p_leftdownturntruearrow,1-2)(99,3,P_return,3-9)(101,2,p_rightdownturnfalsearrow,9-9)"
     "(101,3,P_code,15-16)(101,4,P_rightturn,15-16)(100,4,p_leftdownturnarrow,16-16)"
     "(100,5,p_end,18-18)"},
    {"both_branches_return",
     "<statement>1-1<if>1-2<statement>3-3<return/>3-9</statement>9-9<statement>10-10"
     "<return/>10-16</statement>16-16</if>16-16</statement>18-18\001",
     0, 3, true,
     "colcount6rowcount8script98(100,1,p_start,1-2)(100,2,p_if,1-2)"
     "(99,2,p_leftdownturntruearrow,1-2)(99,3,P_return,3-9)(101,2,p_rightdownturnfalsearrow,9-9)"
     "(101,3,P_return,10-16)(100,5,p_end,18-18)"},
    {"loop_body_returns",
     "<statement>1-5<whiledo>1-9<statement>13-13<return/>13-19</statement>21-21</whiledo>21-21"
     "</statement>24-24\001",
     0, 3, true,
     "colcount5rowcount10script99(100,1,p_start,1-2)(100,2,P_WHILE,1-9)(100,3,P_truearrow,1-9)"
     "(100,4,P_return,13-19)(101,2,p_rightturnfalse,21-21)(100,6,p_leftdownturnarrow,21-21)"
     "(101,6,P_rightturn,21-21)(101,3,P_vline,21-21)(101,4,P_vline,21-21)(101,5,P_vline,21-21)"
     "(100,7,p_end,24-24)"},
    {"loop_tested_after_follows_the_start",
     "<statement>1-2<dowhile>1-2<statement>6-6<code/>6-7</statement>9-9</dowhile>11-20"
     "</statement>23-23\001",
     0, 3, true,
     "colcount5rowcount9script98(100,1,p_start,1-2)(100,2,P_code,6-7)(100,3,P_downarrow,6-7)"
     "(100,4,P_WHILE,11-20)(99,4,p_leftturntrue,11-20)(99,2,P_vline,11-20)(99,3,P_vline,11-20)"
     "(99,1,p_rightturnarrow,11-20)(100,5,P_falsearrow,11-20)(100,6,p_end,23-23)"},
    {"selection_c_family", selection_markup, 0, 3, true,
     "colcount5rowcount17script99(100,1,p_start,1-2)(100,2,P_switch,1-5)(100,3,P_leftturn,1-5)"
     "(100,4,P_case,6-8)(100,5,P_downarrow,6-8)(100,6,P_code,9-10)(100,7,P_downarrow,9-10)"
     "(100,8,P_case,11-13)(100,9,P_downarrow,11-13)(100,10,P_code,14-15)"
     "(100,11,P_downarrow,14-15)(100,12,P_diamond,16-16)(100,13,P_downarrow,16-16)"
     "(101,3,P_rightdownturn,16-16)(101,4,p_leftcrossarrow,16-16)(101,5,P_vline,16-16)"
     "(101,6,P_vline,16-16)(101,7,P_vline,16-16)(101,8,p_rightarrowturn,16-16)"
     "(100,14,p_end,17-17)"},
    {"selection_visual_basic_leaves_a_row_before_the_next_label", selection_markup, 0, 7, true,
     "colcount5rowcount18script99(100,1,p_start,1-2)(100,2,P_switch,1-5)(100,3,P_leftturn,1-5)"
     "(100,4,P_case,6-8)(100,5,P_downarrow,6-8)(100,6,P_code,9-10)(100,7,P_downarrow,9-10)"
     "(100,9,P_case,11-13)(100,10,P_downarrow,11-13)(100,11,P_code,14-15)"
     "(100,12,P_downarrow,14-15)(100,13,P_diamond,16-16)(100,14,P_downarrow,16-16)"
     "(101,3,P_rightdownturn,16-16)(101,4,p_leftcrossarrow,16-16)(101,5,P_vline,16-16)"
     "(101,6,P_vline,16-16)(101,7,P_vline,16-16)(101,8,P_vline,16-16)"
     "(101,9,p_rightarrowturn,16-16)(100,15,p_end,17-17)"},
    {"handler_collapsed_at_every_level",
     "<statement>1-1<except>1-5<statement>6-6<code/>6-7</statement>8-8</except>8-8"
     "</statement>9-9\001",
     0, 3, true,
     "colcount4rowcount7script99(100,1,p_start,1-2)(100,2,p_except,1-8)(100,3,P_downarrow,1-8)"
     "(100,4,p_end,9-9)"},
    // A failed parse: the collapse reaches the end of the markup.
    {"collapse_past_the_end", "<statement>1-1<if>1-5<statement>7-7<code/>7-9\001", 2, 3, false,
     "colcount4rowcount5script99(100,1,p_start,1-2)(100,2,p_end,7-9)"},
    // The same markup expanded: the trial of the branch fails and its cells stay, in a grid
    // that is one column wider to the left so that they show (column 99 is grid column 1).
    {"failed_trial_keeps_its_cells", "<statement>1-1<if>1-5<statement>7-7<code/>7-9\001", 0, 3,
     false,
     "colcount5rowcount8script98(100,1,p_start,1-2)(100,2,p_if,1-5)(99,3,P_code,7-9)"
     "(99,4,P_downarrow,7-9)(99,5,p_end,7-9)"},
    {"conditional_without_sequence", "<statement>1-1<if>1-5<code/>7-9\001", 0, 3, false,
     "colcount4rowcount5script99(100,1,p_start,1-2)(100,2,p_if,1-5)(100,2,p_end,7-9)"},
    {"more_after_the_top_sequence", "<statement>1-1</statement>5-5<code/>1-1\001", 0, 3, false,
     "colcount4rowcount5script99(100,1,p_start,1-2)(100,2,p_end,5-5)"},
    {"no_terminator", "<statement>1-1</statement>5-5", 0, 3, true,
     "colcount4rowcount5script99(100,1,p_start,1-2)(100,2,p_end,5-5)"},
    {"not_a_sequence", "<code/>1-1<statement>1-1</statement>5-5\001", 0, 3, false, ""},
    {"empty_markup", "", 0, 3, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Layouts, MakeScript, ::testing::ValuesIn(script_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Depth, CountsNestedSequences) {
    const std::pair<std::string, int> cases[] = {
        {first_example, 2},
        {"<statement>1-1<if>1-2<statement>3-3<for>3-4<statement>5-5</statement>6-6</for>6-6"
         "</statement>7-7</if>7-7</statement>8-8\001",
         3},
        {"<statement>1-1<code/>1-4</statement>5-5\001", 1},
        {"<statement>1-1<if>1-2<statement>3-3<code/>3-4\001", 2},
        {"", 1},
        {"<<<<\001", 1},
    };
    txml2script engine;
    for (const auto& [markup, depth] : cases) {
        engine.markup = markup;
        EXPECT_EQ(engine.depth(), depth) << markup;
    }
}

TEST(Reader, ReadsItemsTagsAndStrayCharacters) {
    struct read_case {
        std::string markup;
        std::int32_t position;
        std::uint8_t code;
        std::int32_t length;
        std::string text;  // "old" when the item leaves the text as it was
    };
    const read_case cases[] = {
        {"\001", 1, item_end_of_markup, 1, "old"},
        {"<IF>12-3<", 1, item_if, 8, "12-3"},
        {"<if >1-2\001", 1, item_unknown_tag, 8, "1-2"},
        {"<foo/>1-2\001", 1, item_unknown_tag, 9, "1-2"},
        {"<code/>1-6", 1, item_code, 10, "1-6"},
        {"x<if>", 1, item_malformed, 1, "old"},
        {"<if1-2\001", 1, item_malformed, 6, "old"},
        {"<if1-2", 1, item_malformed, 6, "old"},
        {"<code/>1-6\001", 12, item_end_of_markup, 0, "old"},
        {"<code/>1-6\001", 0, item_end_of_markup, 0, "old"},
        {"<code/>1-6\001", 3, item_malformed, 1, "old"},
    };
    txml2script engine;
    for (const read_case& c : cases) {
        engine.markup = c.markup;
        engine.item.position = c.position;
        engine.item.text = "old";
        engine.read_item();
        EXPECT_EQ(engine.item.code, c.code) << c.markup;
        EXPECT_EQ(engine.item.length, c.length) << c.markup;
        EXPECT_EQ(engine.item.text, c.text) << c.markup;
    }
}

// Text after a tag is its range text up to the next tag, whatever it holds; only text before
// the first tag is read as stray characters.
TEST(Reader, NextItemStepsOverTheItem) {
    txml2script engine;
    engine.markup = "x<code/>1-6y<return/>8-9\001";
    engine.item.position = 1;
    engine.read_item();
    EXPECT_EQ(engine.item.code, item_malformed);
    engine.next_item();
    EXPECT_EQ(engine.item.code, item_code);
    EXPECT_EQ(engine.item.text, "1-6y");
    engine.next_item();
    EXPECT_EQ(engine.item.code, item_return);
    EXPECT_EQ(engine.item.position, 13);
    engine.next_item();
    EXPECT_EQ(engine.item.code, item_end_of_markup);
}

TEST(Reader, SkipBlockCollapsesNestedConstructsOfTheSameKind) {
    txml2script engine;
    engine.markup = "<if>9-18<if>20-21<code/>22-23</if>24-25<for>26-27</if>40-52<code/>1-1\001";
    engine.item.position = 1;
    engine.read_item();
    ASSERT_TRUE(engine.skip_block(item_end_if));
    EXPECT_EQ(engine.item.code, item_end_if);
    EXPECT_EQ(engine.item.text, "9-52");
    EXPECT_EQ(engine.item.position, 50);
}

TEST(Reader, SkipBlockFailures) {
    txml2script engine;
    engine.markup = "<if>9-18<if>20-21</if>24-25\001";
    engine.item.position = 1;
    engine.read_item();
    EXPECT_FALSE(engine.skip_block(item_end_if));
    EXPECT_EQ(engine.item.code, item_end_of_markup);
    // The inner conditional was collapsed before the end was reached.
    EXPECT_EQ(engine.item.text, "20-25");

    engine.item.position = 1;
    engine.read_item();
    EXPECT_FALSE(engine.skip_block(item_case));
}

TEST(Reader, CollapsedRangeOfItemsWithoutEnds) {
    txml2script engine;
    engine.markup = "<if>9<code/>1-1</if>52\001";
    engine.item.position = 1;
    engine.read_item();
    ASSERT_TRUE(engine.skip_block(item_end_if));
    EXPECT_EQ(engine.item.text, "9-");
}

// Positions that hold a node symbol and another cell: one of the two is lost in the grid.
std::vector<std::pair<int, int>> nodes_drawn_over(const std::string& text) {
    static const std::set<std::string> nodes = {
        "p_start",    "p_statement", "P_code",    "P_return", "P_exit",    "P_break",
        "P_continue", "p_label",     "p_goto",    "p_except", "p_if",      "p_if2",
        "P_switch",   "p_switch2",   "P_case",    "p_else",   "P_for",     "p_for2",
        "P_WHILE",    "p_whiledo",   "p_dowhile", "P_until",  "p_untildo", "p_dountil"};
    const auto script = read_grid_script(text);
    std::map<std::pair<int, int>, std::vector<std::string>> at;
    for (const grid_cell& cell : script->cells) at[{cell.column, cell.row}].push_back(cell.name);
    std::vector<std::pair<int, int>> over;
    for (const auto& [position, names] : at) {
        if (names.size() < 2) continue;
        for (const std::string& name : names) {
            if (nodes.count(name) != 0) over.push_back(position);
        }
    }
    return over;
}

// The trials measure each branch on cells of its own. Measured among the cells of the other
// branch's trial, the else branch below came out a row short, and the join line of the
// conditional was drawn over the test of its loop.
TEST(Conditional, BranchesAreMeasuredAsTheyWillBeLaidOut) {
    Tcppsparser parser;
    const parser_result parsed = parser.parse(
        "if (a) {\n    while (x) {\n    }\n}\nelse if (b) {\n    if (x > 1) {\n    }\n"
        "    do {\n    }\n    while (y);\n}\nelse {\n}\n");
    ASSERT_TRUE(parsed.ok);
    txml2script engine;
    engine.markup = parsed.markup;
    ASSERT_TRUE(engine.make_script(0));
    EXPECT_TRUE(nodes_drawn_over(engine.grid_script()).empty()) << engine.grid_script();
    EXPECT_NE(engine.grid_script().find("(102,7,P_WHILE,90-99)"), std::string::npos);
    EXPECT_NE(engine.grid_script().find("(100,8,p_threearrow,110-110)"), std::string::npos);
}

TEST(Conditional, LongElseIfChainLaysOutOnce) {
    std::string source = "if (a0) x0();\n";
    for (int i = 1; i < 200; ++i) {
        source += "else if (a" + std::to_string(i) + ") x" + std::to_string(i) + "();\n";
    }
    Tcppsparser parser;
    txml2script engine;
    engine.markup = parser.parse(source).markup;
    EXPECT_EQ(engine.depth(), 201);
    ASSERT_TRUE(engine.make_script(0));
    const auto script = read_grid_script(engine.grid_script());
    ASSERT_TRUE(script);
    int conditions = 0;
    for (const grid_cell& cell : script->cells) conditions += cell.name == "p_if";
    EXPECT_EQ(conditions, 200);
    EXPECT_TRUE(nodes_drawn_over(engine.grid_script()).empty());
}

std::string nested_loops(int depth) {
    std::string markup = "<statement>1-1";
    for (int i = 0; i < depth; ++i) markup += "<if>1-1<statement>1-1";
    markup += "<code/>1-1";
    for (int i = 0; i < depth; ++i)
        markup += "</statement>1-1<statement>1-1</statement>1-1</if>1-1";
    return markup + "</statement>1-1\001";
}

TEST(Nesting, DeepMarkupFailsTheLayoutInsteadOfTheStack) {
    txml2script engine;
    engine.markup = nested_loops(txml2script::max_nesting - 1);
    EXPECT_TRUE(engine.make_script(0));
    engine.markup = nested_loops(txml2script::max_nesting + 50);
    EXPECT_FALSE(engine.make_script(0));
    EXPECT_EQ(engine.grid_script().substr(0, 8), "colcount");
}

// From a level code of depth + 1 on, every sequence is expanded.
TEST(Levels, BeyondTheDepthEverythingIsExpanded) {
    std::mt19937 rng(7);
    txml2script engine;
    for (int i = 0; i < 200; ++i) {
        engine.markup = testing::random_markup(rng, 1 + i % 5);
        const int depth = engine.depth();
        ASSERT_TRUE(engine.make_script(0));
        const std::string expanded = engine.grid_script();
        ASSERT_TRUE(engine.make_script(depth + 1));
        EXPECT_EQ(engine.grid_script(), expanded);
    }
}

// Any bytes: a script that starts with the header and ends with the terminator, or none.
TEST(Malformed, AnyMarkupGivesAScriptOrNone) {
    std::mt19937 rng(3);
    const std::string alphabet = "<>/-0123456789\001 statementcodeifwhdrxpuns";
    txml2script engine;
    for (int i = 0; i < 3000; ++i) {
        std::string markup = "<statement>1-1";
        for (int n = static_cast<int>(rng() % 60); n > 0; --n) {
            markup += alphabet[rng() % alphabet.size()];
        }
        if (i % 3 == 0) markup = markup.substr(11);
        engine.markup = markup;
        engine.depth();
        engine.make_script(static_cast<int>(rng() % 4));
        const std::string& script = engine.grid_script();
        if (markup.rfind("<statement>", 0) == 0) {
            EXPECT_EQ(script.rfind("colcount", 0), 0u) << markup;
            EXPECT_EQ(script.back(), '\001') << markup;
        } else if (markup.rfind("<STATEMENT>", 0) != 0) {
            EXPECT_EQ(script, "") << markup;
        }
    }
}

// Cells a failed layout leaves where the extent it went back to does not reach, and random item
// sequences: every cell stays inside the grid with the margins of a whole layout, so that the
// grid shows each one.
TEST(Malformed, CellsOfAFailedLayoutStayInsideTheGrid) {
    std::vector<std::string> markups = {
        "<statement>1-1<if>5-6<statement>1-1<goto/>8-8</if>7-7</statement>2-2<statement>1-1"
        "<code/>3-4</if>7-7<else/>8-8</switch>3-3</statement>2-2</whiledo>10-10</if>7-7\001",
        "<statement>1-1<if>5-6<statement>1-1<if>5-6<statement>1-1<code/>3-4<dountil>11-11"
        "<return/>7-7<code/>3-4<if>5-6</dountil>12-12</if>7-7<dountil>11-11</switch>3-3\001",
        "<statement>1-1<if>5-6<statement>1-1<if>5-6<if>5-6<dountil>11-11<label/>9-9<break/>6-6"
        "</if>7-7<return/>7-7</for>5-5</if>7-7<goto/>8-8</dountil>12-12</statement>2-2"
        "<statement>1-1</statement>2-2\001",
    };
    const char* items[] = {"<statement>1-1", "</statement>2-2", "<code/>3-4", "<if>5-6",
                           "</if>7-7",       "<else/>8-8",      "<whiledo>9-9", "</whiledo>10-10",
                           "<dountil>11-11", "</dountil>12-12", "<switch>1-1", "<case/>2-2",
                           "</switch>3-3",   "<for>4-4",        "</for>5-5",    "<break/>6-6",
                           "<return/>7-7",   "<goto/>8-8",      "<label/>9-9",  "<continue/>1-1"};
    std::mt19937 rng(5);
    for (int i = 0; i < 5000; ++i) {
        std::string markup = "<statement>1-1";
        for (int n = 1 + static_cast<int>(rng() % 30); n > 0; --n) {
            markup += items[rng() % std::size(items)];
        }
        markups.push_back(markup + "\001");
    }
    txml2script engine;
    int failed = 0;
    for (const std::string& markup : markups) {
        engine.markup = markup;
        for (int level = 0; level <= 3; ++level) {
            if (!engine.make_script(level)) ++failed;
            const grid_script& script = engine.script();
            for (const grid_cell& cell : script.cells) {
                const int column = cell.column - script.column_offset;
                ASSERT_TRUE(column >= 1 && column <= script.column_count - 3 && cell.row >= 1 &&
                            cell.row <= script.row_count - 3)
                    << cell.column << "," << cell.row << " " << cell.name << " level " << level
                    << " in " << engine.grid_script() << "\nfrom " << markup;
            }
        }
    }
    EXPECT_GT(failed, 0);
}

}  // namespace
}  // namespace tarnwell
