#include "explorer/explorer_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "explorer/proc_scanner_choice.h"

namespace tarnwell {
namespace {

std::vector<std::string> root_texts(const explorer_tree& tree) {
    std::vector<std::string> texts;
    for (const explorer_root& root : tree.roots()) texts.push_back(root.text);
    return texts;
}

std::vector<std::string> children_of(const explorer_tree& tree, const std::string& root_text) {
    std::vector<std::string> names;
    for (const explorer_root& root : tree.roots()) {
        if (root.text != root_text) continue;
        for (const std::size_t entry : root.children) names.push_back(tree.entries()[entry].name);
    }
    return names;
}

TEST(ExplorerTree, RootsFollowTheLanguageKindTheOrderAndTheVisibility) {
    struct roots_case {
        const char* what;
        int language;
        std::string order;
        std::vector<int> hidden;
        std::vector<std::string> roots;
    };
    const std::vector<std::string> scanned = {"Functions", "Procedures", "Constructors",
                                              "Destructors"};
    const roots_case cases[] = {
        {"C/C++", 1, "", {}, scanned},
        {"Java", 3, "", {}, scanned},
        {"C#", 11, "", {}, scanned},
        {"Pascal", 6, "", {}, scanned},
        {"PHP has no scanner", 8, "", {}, {"Functions", "Subroutines", "Tasks"}},
        {"General", 0, "", {}, {"Functions", "Subroutines", "Tasks"}},
        {"order",
         8,
         "Tasks;Macros;Functions;Subroutines",
         {},
         {"Tasks", "Functions", "Subroutines"}},
        {"unknown and wrongly spelled names are skipped",
         1,
         "Destructors;Nothing;functions;Procedures",
         {},
         {"Destructors", "Procedures"}},
        {"a name listed twice gives two roots",
         1,
         "Functions;Procedures;Functions",
         {},
         {"Functions", "Procedures", "Functions"}},
        {"hidden categories", 1, "", {1, 6}, {"Procedures", "Constructors"}},
    };
    for (const roots_case& c : cases) {
        SCOPED_TRACE(c.what);
        TCodeExplorerProperties properties;
        properties.CategoryOrder = c.order;
        for (const int hidden : c.hidden) properties.CategoryVisible[hidden] = false;
        explorer_tree tree;
        tree.build_roots(explorer_language_kind(c.language), properties);
        EXPECT_EQ(root_texts(tree), c.roots);
    }
}

const std::string result =
    "3-4-9|void|zeta\r\n"
    "11-11-20|proc|Alpha\r\n"
    "12-13-15|void|beta\r\n"
    "22-22-30|cons|Foo\r\n"
    "31-31-33|des|~Foo\r\n"
    "40-41-44|Unknown|TFoo.Create\r\n"
    "50-50-60|void|Gamma|with|bars\r\n"
    "garbage without bars\r\n"
    "\r\n"
    "70-71--1|void|open\n";

TEST(ExplorerTree, ResultLinesGoUnderTheRootOfTheirTagInScannerOrder) {
    TCodeExplorerProperties properties;
    explorer_tree tree;
    tree.build_roots(2, properties);
    tree.add_result(result, properties);
    EXPECT_EQ(children_of(tree, "Functions"),
              (std::vector<std::string>{"zeta", "beta", "Gamma|with|bars", "open"}));
    EXPECT_EQ(children_of(tree, "Procedures"), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(children_of(tree, "Constructors"), std::vector<std::string>{"Foo"});
    EXPECT_EQ(children_of(tree, "Destructors"), std::vector<std::string>{"~Foo"});
    // The node position list keeps the scanner's order, without the dropped lines.
    ASSERT_EQ(tree.entries().size(), 7u);
    EXPECT_EQ(tree.entries()[1].position, "11-11-20");
    EXPECT_EQ(tree.entries()[6].position, "70-71--1");
    for (const explorer_root& root : tree.roots()) EXPECT_FALSE(root.expanded);
}

TEST(ExplorerTree, AlphaSortAndExpansionApplyWhenTheResultIsIn) {
    TCodeExplorerProperties properties;
    properties.AlphaSort = true;
    properties.CategoryExpanded[1] = true;
    explorer_tree tree;
    tree.build_roots(2, properties);
    tree.add_result(result, properties);
    // Sorted without regard to case; the position list still has the scanner's order.
    EXPECT_EQ(children_of(tree, "Functions"),
              (std::vector<std::string>{"beta", "Gamma|with|bars", "open", "zeta"}));
    EXPECT_EQ(tree.entries()[0].name, "zeta");
    EXPECT_TRUE(tree.roots()[0].expanded);
    EXPECT_FALSE(tree.roots()[1].expanded);
}

TEST(ExplorerTree, TheSecondRootOfANameListedTwiceTakesTheProcedures) {
    TCodeExplorerProperties properties;
    properties.CategoryOrder = "Functions;Procedures;Functions";
    explorer_tree tree;
    tree.build_roots(2, properties);
    tree.add_result("1-1-2|void|f\r\n", properties);
    EXPECT_TRUE(tree.roots()[0].children.empty());
    EXPECT_EQ(tree.roots()[2].children.size(), 1u);
    EXPECT_EQ(tree.category_root(1), 2u);
}

TEST(ExplorerTree, AbsoluteIndicesCountEveryNodeInTreeOrder) {
    TCodeExplorerProperties properties;
    explorer_tree tree;
    tree.build_roots(2, properties);
    tree.add_result(result, properties);
    // Functions(0) zeta beta Gamma open(4) Procedures(5) Alpha Constructors(7) Foo
    // Destructors(9) ~Foo(10)
    ASSERT_EQ(tree.node_count(), 11u);
    for (std::size_t i = 0; i < tree.node_count(); ++i) {
        const std::optional<node_ref> node = tree.node_at(i);
        ASSERT_TRUE(node.has_value()) << i;
        EXPECT_EQ(tree.absolute_index(*node), i);
    }
    EXPECT_EQ(tree.node_at(5), (node_ref{1, std::nullopt}));
    EXPECT_EQ(tree.node_at(10), (node_ref{3, 0}));
    EXPECT_FALSE(tree.node_at(11).has_value());
    EXPECT_FALSE(tree.absolute_index(node_ref{1, 1}).has_value());
    // Functions holds entries 0, 2, 5 and 6 of the position list.
    EXPECT_EQ(tree.entry_of(node_ref{0, 2}), 5u);
    EXPECT_EQ(tree.node_of_entry(6), (node_ref{0, 3}));
    EXPECT_FALSE(tree.entry_of(node_ref{0, std::nullopt}).has_value());

    tree.clear_procedures();
    EXPECT_EQ(tree.node_count(), 4u);
    EXPECT_TRUE(tree.entries().empty());
}

TEST(ExplorerTree, ProcedureAtLineTakesTheFirstReportedThatHoldsIt) {
    TCodeExplorerProperties properties;
    explorer_tree tree;
    tree.build_roots(2, properties);
    // An outer function reported before a local class's method inside it.
    tree.add_result(
        "1-2-20|void|outer\r\n5-5-8|proc|inner\r\n30-31--1|void|unclosed\r\n40-40-45|void|last\r\n",
        properties);
    struct line_case {
        int line;
        std::optional<std::size_t> entry;
    };
    const line_case cases[] = {
        {1, 0},  {6, 0},  {20, 0},          {21, std::nullopt}, {31, std::nullopt},
        {40, 3}, {45, 3}, {0, std::nullopt}};
    for (const line_case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(tree.procedure_at_line(c.line), c.entry);
    }
}

TEST(ExplorerTree, PositionTextsGiveThreeLinesAndMinusOneWhereNoNumberStands) {
    struct position_case {
        const char* text;
        procedure_lines lines;
    };
    const position_case cases[] = {
        {"12-14-20", {12, 14, 20}}, {"12-14--1", {12, 14, -1}}, {"5--1--1", {5, -1, -1}},
        {"5--1-7", {5, -1, 7}},     {"x-3-4", {-1, 3, 4}},      {"3-y-4", {3, -1, 4}},
        {"12", {12, -1, -1}},       {"", {-1, -1, -1}},         {"99999999999-3-4", {-1, 3, 4}},
    };
    for (const position_case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parse_position(c.text), c.lines);
    }
}

TEST(ProcScannerChoice, KindsAndScannersOfTheLanguages) {
    for (int language = -1; language <= 28; ++language) {
        SCOPED_TRACE(language);
        const int kind = explorer_language_kind(language);
        const std::unique_ptr<TKestrinProcLexer> scanner = make_proc_scanner(language);
        switch (language) {
            case 1:
                EXPECT_EQ(kind, 2);
                break;
            case 3:
            case 11:
                EXPECT_EQ(kind, 4);
                break;
            case 6:
                EXPECT_EQ(kind, 3);
                break;
            case 16:
            case 17:
            case 18:
            case 19:
            case 20:
            case 21:
            case 22:
            case 23:
            case 24:
            case 25:
            case 26:
            case 27:
                EXPECT_EQ(kind, 5);
                break;
            default:
                EXPECT_EQ(kind, 0);
        }
        ASSERT_EQ(scanner != nullptr, kind != 0);
        if (scanner) {
            EXPECT_EQ(scanner->language_kind(), kind);
        }
    }
}

}  // namespace
}  // namespace tarnwell
