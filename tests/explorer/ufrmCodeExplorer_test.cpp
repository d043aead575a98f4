#include "explorer/ufrmCodeExplorer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "explorer/explorer_actions.h"
#include "explorer/proc_scanner_choice.h"
#include "explorer/uCppProcLexer.h"
#include "explorer/uPasProcLexer.h"
#include "explorer/ufrmExplorerOptions.h"
#include "flowview/broxgrid.h"
#include "flowview/deal.h"
#include "flowview/flowchart_actions.h"
#include "flowview/graphpanel.h"
#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;
using base = QsciScintillaBase;

const std::string fixtures = TARNWELL_TEST_DATA "/explorer/";

// The standard output of tarnwell-cli with these arguments.
std::string run_cli(const std::string& arguments) {
    const std::string command = std::string(TARNWELL_CLI) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

// Procedure nodes as "position|name", grouped under the texts of their roots.
using grouped_procedures = std::map<std::string, std::vector<std::string>>;

// A scan result grouped by the display names of its tags, in the order of the lines.
grouped_procedures group_by_tag(const std::string& result) {
    grouped_procedures groups;
    std::size_t start = 0;
    while (start < result.size()) {
        std::size_t end = result.find("\r\n", start);
        if (end == std::string::npos) end = result.size();
        const std::string line = result.substr(start, end - start);
        start = end + 2;
        const std::size_t bar = line.find('|');
        const std::size_t second = line.find('|', bar + 1);
        const std::optional<int> category =
            category_of_tag(std::string_view(line).substr(bar + 1, second - bar - 1));
        if (!category) continue;
        groups[std::string(explorer_categories()[static_cast<std::size_t>(*category)].display_name)]
            .push_back(line.substr(0, bar) + "|" + line.substr(second + 1));
    }
    return groups;
}

// A gate that scanners wait at until the test opens it.
class latch {
  public:
    void wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }
    void open() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// A real scanner that starts scanning only when its gate opens.
template <class Scanner>
class held_scanner : public Scanner {
  public:
    explicit held_scanner(latch& gate) : gate_(gate) {}
    ~held_scanner() override { this->wait(); }

  protected:
    void execute() override {
        gate_.wait();
        Scanner::execute();
    }

  private:
    latch& gate_;
};

class CodeExplorer : public ::testing::Test {
  protected:
    void SetUp() override {
        auto messages = std::make_unique<scripted_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(
            data_, program_paths{fs::path(TARNWELL_PICTURES), temp_.path()}, std::move(messages));
        flowchart_ = new flowchart_actions(*window_);
        actions_ = add_code_explorer(*window_, *flowchart_);
        window_->resize(1000, 700);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override {
        // A scanner still held would keep the window from closing.
        gate_.open();
        window_.reset();
    }

    TfrmCodeExplorer* explorer() const { return actions_->explorer(); }
    QTreeWidget* tree() const { return explorer()->tree(); }

    // Every scan from now on waits at the gate.
    void hold_scans() {
        explorer()->set_scanner_factory([this](int language) -> std::unique_ptr<TKestrinProcLexer> {
            switch (explorer_language_kind(language)) {
                case 2:
                    return std::make_unique<held_scanner<TCppProcLexer>>(gate_);
                case 3:
                    return std::make_unique<held_scanner<TPasProcLexer>>(gate_);
                case 4:
                    return std::make_unique<held_scanner<TJavaProcLexer>>(gate_);
                default:
                    return nullptr;
            }
        });
    }
    void wait_for_scans() const {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !explorer()->busy(); }, 10000));
        QApplication::processEvents();
    }

    TMySynEdit* open_fixture(const std::string& name) {
        TMySynEdit* editor = window_->open_file(QString::fromStdString(fixtures + name));
        EXPECT_NE(editor, nullptr) << name;
        return editor;
    }
    TMySynEdit* open_text(const std::string& name, const std::string& text) {
        const fs::path file = temp_.path() / name;
        std::ofstream(file, std::ios::binary) << text;
        TMySynEdit* editor = window_->open_file(QString::fromStdString(file.string()));
        EXPECT_NE(editor, nullptr) << name;
        return editor;
    }

    std::vector<std::string> root_texts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            texts.push_back(tree()->topLevelItem(i)->text(0).toStdString());
        }
        return texts;
    }
    // The tree as the window shows it, with each node's position from the explorer's list.
    grouped_procedures shown_procedures() const {
        grouped_procedures groups;
        for (int r = 0; r < tree()->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* root = tree()->topLevelItem(r);
            for (int c = 0; c < root->childCount(); ++c) {
                const std::optional<std::size_t> entry = explorer()->model().entry_of(
                    node_ref{static_cast<std::size_t>(r), static_cast<std::size_t>(c)});
                const std::string position =
                    entry ? explorer()->model().entries()[*entry].position : "?";
                groups[root->text(0).toStdString()].push_back(
                    position + "|" + root->child(c)->text(0).toStdString());
            }
        }
        return groups;
    }
    QTreeWidgetItem* node_named(const QString& name) const {
        const QList<QTreeWidgetItem*> found =
            tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.value(0);
    }
    // A click as the user makes it, on a node scrolled into view.
    void click(QTreeWidgetItem* item) const {
        if (QTreeWidgetItem* root = item->parent()) root->setExpanded(true);
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualItemRect(item).center());
    }
    static int mark_line(const TMySynEdit* editor, int n) {
        const std::optional<bookmark_pos> mark = editor->bookmark(n);
        return mark ? mark->line : 0;
    }
    bool grid_is_blank() const {
        const tbroxgrid* grid = flowchart_->panel()->grid();
        for (int r = 0; r < grid->row_count(); ++r) {
            for (int c = 0; c < grid->col_count(); ++c) {
                if (!grid->cell(c, r).empty()) return false;
            }
        }
        return true;
    }
    // Clicks the procedure `node` and checks what choosing it does: the marks on its body, the
    // caret on its declaration, and its chart under its name.
    void choose_and_expect_chart(TMySynEdit* editor, const char* node, int caret_line,
                                 int begin_line, int end_line) const {
        click(node_named(QString::fromLatin1(node)));
        EXPECT_EQ(mark_line(editor, begin_mark), begin_line);
        EXPECT_EQ(mark_line(editor, end_mark), end_line);
        EXPECT_EQ(editor->caret().line, caret_line);
        EXPECT_EQ(editor->doc.flowchart.function_name, node);
        EXPECT_FALSE(editor->doc.flowchart.grid_script.empty());
        EXPECT_FALSE(grid_is_blank());
    }
    QAction* action(const char* name) const {
        auto* found = window_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    temp_dir temp_;
    TeditorDataModule data_;
    scripted_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
    flowchart_actions* flowchart_ = nullptr;
    explorer_actions* actions_ = nullptr;
    latch gate_;
};

TEST_F(CodeExplorer, TheTreeListsWhatTheCommandLineListsGroupedByTag) {
    for (const char* name : {"shapes.cpp", "Ledger.java", "accounts.pas"}) {
        SCOPED_TRACE(name);
        open_fixture(name);
        wait_for_scans();
        EXPECT_EQ(root_texts(), (std::vector<std::string>{"Functions", "Procedures", "Constructors",
                                                          "Destructors"}));
        const grouped_procedures expected = group_by_tag(run_cli("procs " + fixtures + name));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(shown_procedures(), expected);
        EXPECT_TRUE(explorer()->explored_path().endsWith(QString::fromLatin1(name)));
        EXPECT_EQ(actions_->panel()->windowTitle(),
                  QStringLiteral("Exploring ") + explorer()->explored_path());
    }
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(CodeExplorer, ChoosingAProcedureMarksItsBodyAndChartsIt) {
    struct chosen_case {
        const char* file;
        const char* node;
        int caret_line;  // the declaration line
        int begin_mark;  // 0: no mark
        int end_mark;
    };
    const chosen_case cases[] = {
        // The brace on the declaration line: the chart starts on the line after it.
        {"Ledger.java", "largest", 31, 32, 39},
        {"shapes.cpp", "count_sides", 29, 30, 40},
        // Pascal bodies start at their "begin", after any nested routine.
        {"accounts.pas", "TAccount.Deposit", 32, 38, 41},
    };
    for (const chosen_case& c : cases) {
        SCOPED_TRACE(c.node);
        TMySynEdit* editor = open_fixture(c.file);
        wait_for_scans();
        choose_and_expect_chart(editor, c.node, c.caret_line, c.begin_mark, c.end_mark);
        EXPECT_TRUE(editor->hasFocus());
    }
    EXPECT_TRUE(notes_->messages.empty());
}

// A syntax-tree function is marked whole, from the line of its name; its body is charted.
TEST_F(CodeExplorer, ChoosingASyntaxTreeFunctionMarksItWholeAndChartsIt) {
    struct chosen_case {
        const char* file;
        std::string text;
        const char* node;
        int caret_line;
        int begin_mark;
        int end_mark;
        grouped_procedures procedures;
    };
    const chosen_case cases[] = {
        {"account.py",
         "class Account:\n"
         "    def __init__(self):\n"
         "        self.total = 0\n"
         "\n"
         "    @logged\n"
         "    def deposit(self, amount):\n"
         "        if amount > 0:\n"
         "            self.total += amount\n",
         "Account.deposit",
         6,
         6,
         8,
         {{"Functions", {"6-6-8|Account.deposit"}}, {"Constructors", {"2-2-3|Account.__init__"}}}},
        {"reader.go",
         "package store\n"
         "\n"
         "func (r *Reader) Read(p []byte) int {\n"
         "\tif p == nil {\n"
         "\t\treturn 0\n"
         "\t}\n"
         "\treturn len(p)\n"
         "}\n",
         "Reader.Read",
         3,
         3,
         8,
         {{"Functions", {"3-3-8|Reader.Read"}}}},
        {"handlers.ts",
         "export const\n"
         "  first = (n: number) => {\n"
         "    return n;\n"
         "  };\n",
         "first",
         2,
         1,
         4,
         {{"Functions", {"2-1-4|first"}}}},
    };
    for (const chosen_case& c : cases) {
        SCOPED_TRACE(c.node);
        TMySynEdit* editor = open_text(c.file, c.text);
        wait_for_scans();
        EXPECT_EQ(root_texts(), (std::vector<std::string>{"Functions", "Procedures", "Constructors",
                                                          "Destructors"}));
        EXPECT_EQ(shown_procedures(), c.procedures);
        choose_and_expect_chart(editor, c.node, c.caret_line, c.begin_mark, c.end_mark);
    }
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(CodeExplorer, AProcedureWithoutAnEndTakesTheMarksAway) {
    TMySynEdit* editor =
        open_text("open.c", "int done() {\n  return 1;\n}\n\nint open() {\n  x = 1;\n");
    wait_for_scans();
    editor->set_bookmark(begin_mark, {1, 2});
    editor->set_bookmark(end_mark, {1, 3});
    click(node_named(QStringLiteral("open")));
    EXPECT_EQ(mark_line(editor, begin_mark), 0);
    EXPECT_EQ(mark_line(editor, end_mark), 0);
    EXPECT_EQ(editor->caret().line, 5);
    EXPECT_EQ(flowchart_->panel()->grid()->col_count(), 1);

    // A root is no procedure: clicking it marks nothing; Enter on a procedure chooses it.
    click(node_named(QStringLiteral("Functions")));
    EXPECT_EQ(mark_line(editor, begin_mark), 0);
    tree()->setCurrentItem(node_named(QStringLiteral("done")));
    QTest::keyClick(tree(), Qt::Key_Return);
    EXPECT_EQ(mark_line(editor, begin_mark), 2);
    EXPECT_EQ(mark_line(editor, end_mark), 3);
}

TEST_F(CodeExplorer, MarkingCodeSelectsTheProcedureThatHoldsTheBeginMark) {
    TMySynEdit* editor = open_fixture("Ledger.java");
    wait_for_scans();
    editor->set_caret({1, 33});
    action("Mark_start")->trigger();
    editor->set_caret({1, 38});
    action("Mark_end")->trigger();
    ASSERT_NE(tree()->currentItem(), nullptr);
    EXPECT_EQ(tree()->currentItem()->text(0), QStringLiteral("largest"));
    EXPECT_EQ(editor->doc.flowchart.function_name, "largest");
    // The marks stay where the user put them.
    EXPECT_EQ(mark_line(editor, begin_mark), 33);
    EXPECT_EQ(mark_line(editor, end_mark), 38);
}

TEST_F(CodeExplorer, AScanEndingAfterATabChangeNeverFillsTheOtherTab) {
    hold_scans();
    TMySynEdit* shapes = open_fixture("shapes.cpp");
    ASSERT_TRUE(explorer()->busy());
    TMySynEdit* ledger = open_fixture("Ledger.java");
    // The request for the new tab waits for the running scan.
    EXPECT_TRUE(explorer()->busy());
    // A mark made meanwhile in the new tab asks for a selection that must wait as well.
    explorer()->select_procedure_at_line(21);
    gate_.open();
    wait_for_scans();
    EXPECT_EQ(shown_procedures(), group_by_tag(run_cli("procs " + fixtures + "Ledger.java")));
    ASSERT_NE(tree()->currentItem(), nullptr);
    EXPECT_EQ(tree()->currentItem()->text(0), QStringLiteral("post"));
    EXPECT_EQ(ledger->doc.flowchart.function_name, "post");
    EXPECT_EQ(shapes->doc.flowchart.function_name, "");
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(CodeExplorer, ASelectionForATabClosedDuringTheScanIsDropped) {
    TMySynEdit* shapes = open_fixture("shapes.cpp");
    wait_for_scans();
    hold_scans();
    open_fixture("Ledger.java");
    ASSERT_TRUE(explorer()->busy());
    explorer()->select_procedure_at_line(21);
    window_->close_current();
    ASSERT_EQ(window_->current_document(), shapes);
    gate_.open();
    wait_for_scans();
    EXPECT_EQ(shown_procedures(), group_by_tag(run_cli("procs " + fixtures + "shapes.cpp")));
    EXPECT_EQ(tree()->currentItem(), nullptr);
    EXPECT_EQ(shapes->doc.flowchart.function_name, "");
}

TEST_F(CodeExplorer, AnEditDuringTheScanGetsTheProceduresOfTheEditedText) {
    hold_scans();
    TMySynEdit* editor = open_text("edit.c", "int first() {\n}\n");
    ASSERT_TRUE(explorer()->busy());
    editor->SendScintilla(base::SCI_DOCUMENTEND);
    const char* added = "void second() {\n}\n";
    editor->SendScintilla(base::SCI_ADDTEXT, static_cast<unsigned long>(std::strlen(added)), added);
    gate_.open();
    wait_for_scans();
    EXPECT_EQ(shown_procedures(), (grouped_procedures{{"Functions", {"1-1-2|first"}},
                                                      {"Procedures", {"3-3-4|second"}}}));
}

TEST_F(CodeExplorer, AnEditIsExploredAtTheNextTimerStep) {
    TMySynEdit* editor = open_text("timer.c", "int first() {\n}\n");
    wait_for_scans();
    explorer()->timer_step();
    EXPECT_FALSE(explorer()->busy());
    editor->SendScintilla(base::SCI_DOCUMENTEND);
    const char* added = "int second() {\n}\n";
    editor->SendScintilla(base::SCI_ADDTEXT, static_cast<unsigned long>(std::strlen(added)), added);
    explorer()->timer_step();
    wait_for_scans();
    EXPECT_EQ(shown_procedures(),
              (grouped_procedures{{"Functions", {"1-1-2|first", "3-3-4|second"}}}));
}

TEST_F(CodeExplorer, AScannerThatCannotBeMadeGivesOneMessageAndLeavesTheExplorerIdle) {
    explorer()->set_scanner_factory([](int) -> std::unique_ptr<TKestrinProcLexer> {
        throw std::runtime_error("no threads left");
    });
    open_text("fails.c", "int f() {\n}\n");
    EXPECT_FALSE(explorer()->busy());
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_EQ(notes_->messages[0],
              QStringLiteral("The procedures cannot be listed: no threads left"));
    EXPECT_EQ(root_texts(),
              (std::vector<std::string>{"Functions", "Procedures", "Constructors", "Destructors"}));
}

TEST_F(CodeExplorer, AnEmptyDocumentShowsItsRootsWithoutAScan) {
    bool scanned = false;
    explorer()->set_scanner_factory([&scanned](int language) {
        scanned = true;
        return make_proc_scanner(language);
    });
    window_->new_document();
    EXPECT_FALSE(explorer()->busy());
    EXPECT_FALSE(scanned);
    EXPECT_EQ(root_texts(),
              (std::vector<std::string>{"Functions", "Procedures", "Constructors", "Destructors"}));
    EXPECT_TRUE(shown_procedures().empty());
}

TEST_F(CodeExplorer, AUnitWithoutImplementationShowsEmptyCategoriesAndNoMessage) {
    open_text("iface.pas", "unit Iface;\ninterface\nprocedure P;\n");
    wait_for_scans();
    EXPECT_EQ(root_texts(),
              (std::vector<std::string>{"Functions", "Procedures", "Constructors", "Destructors"}));
    EXPECT_TRUE(shown_procedures().empty());
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(CodeExplorer, ChangingTheLanguageRebuildsTheRoots) {
    open_text("lang.c", "procedure P;\nbegin\nend;\n\nint f() {\n}\n");
    wait_for_scans();
    EXPECT_EQ(shown_procedures(), (grouped_procedures{{"Functions", {"5-5-6|f"}}}));
    auto* languages = window_->findChild<QComboBox*>(QStringLiteral("cbxHighlighter"));
    ASSERT_NE(languages, nullptr);
    struct language_case {
        int language;
        std::vector<std::string> roots;
        grouped_procedures procedures;
    };
    const language_case cases[] = {
        {8, {"Functions", "Subroutines", "Tasks"}, {}},
        {6,
         {"Functions", "Procedures", "Constructors", "Destructors"},
         {{"Procedures", {"1-2-3|P"}}}},
    };
    for (const language_case& c : cases) {
        SCOPED_TRACE(c.language);
        languages->setCurrentIndex(c.language);
        emit languages->activated(c.language);
        wait_for_scans();
        EXPECT_EQ(root_texts(), c.roots);
        EXPECT_EQ(shown_procedures(), c.procedures);
    }
}

TEST_F(CodeExplorer, TheOptionsDialogSetsOrderVisibilityExpansionAndSorting) {
    open_fixture("Ledger.java");
    wait_for_scans();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = explorer()->findChild<TfrmExplorerOptions*>();
        ASSERT_NE(dialog, nullptr);
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Explorer Options"));
        dialog->findChild<QRadioButton*>(QStringLiteral("radAlphaSort"))->setChecked(true);
        QListWidget* list = dialog->categories();
        // As a drag would: Destructors to the top.
        list->insertItem(0, list->takeItem(list->count() - 1));
        list->findItems(QStringLiteral("Procedures"), Qt::MatchExactly)[0]->setCheckState(
            Qt::Unchecked);
        // The state picture turns only on the selected item.
        QListWidgetItem* functions =
            list->findItems(QStringLiteral("Functions"), Qt::MatchExactly)[0];
        const QPoint picture = list->visualItemRect(functions).topLeft() + QPoint(30, 8);
        list->setCurrentItem(functions);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, picture);
        EXPECT_TRUE(dialog->category_list()[2].expanded);
        dialog->accept();
    });
    explorer()->show_options();
    ASSERT_TRUE(shown);
    wait_for_scans();
    EXPECT_EQ(root_texts(), (std::vector<std::string>{"Destructors", "Functions", "Constructors"}));
    EXPECT_TRUE(tree()->topLevelItem(1)->isExpanded());
    EXPECT_FALSE(tree()->topLevelItem(2)->isExpanded());
    EXPECT_TRUE(explorer()->properties().AlphaSort);
    EXPECT_EQ(shown_procedures().at("Functions"),
              (std::vector<std::string>{"27-27-29|balance", "31-31-39|largest"}));

    // Cancel keeps the options.
    QTimer::singleShot(0, [&] {
        auto* dialog = explorer()->findChild<TfrmExplorerOptions*>();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QRadioButton*>(QStringLiteral("radSourceSort"))->setChecked(true);
        dialog->reject();
    });
    explorer()->show_options();
    EXPECT_TRUE(explorer()->properties().AlphaSort);
}

TEST_F(CodeExplorer, ARescanAfterAnEditKeepsTheSelectionAndTheExpansion) {
    TMySynEdit* editor = open_fixture("Ledger.java");
    wait_for_scans();
    click(node_named(QStringLiteral("balance")));
    ASSERT_TRUE(node_named(QStringLiteral("Functions"))->isExpanded());
    ASSERT_FALSE(node_named(QStringLiteral("Procedures"))->isExpanded());
    const QTreeWidgetItem* before = tree()->currentItem();
    ASSERT_NE(before, nullptr);
    editor->SendScintilla(base::SCI_DOCUMENTEND);
    editor->SendScintilla(base::SCI_ADDTEXT, 1ul, "\n");
    explorer()->timer_step();
    wait_for_scans();
    ASSERT_NE(tree()->currentItem(), nullptr);
    EXPECT_EQ(tree()->currentItem()->text(0), QStringLiteral("balance"));
    EXPECT_TRUE(node_named(QStringLiteral("Functions"))->isExpanded());
    EXPECT_FALSE(node_named(QStringLiteral("Procedures"))->isExpanded());

    // Another document gets the expansion of the options again.
    open_fixture("shapes.cpp");
    wait_for_scans();
    EXPECT_FALSE(node_named(QStringLiteral("Functions"))->isExpanded());
}

TEST_F(CodeExplorer, ThePanelItsMenusAndKeys) {
    QDockWidget* panel = actions_->panel();
    EXPECT_EQ(panel->objectName(), QStringLiteral("explorerpanel"));
    EXPECT_EQ(window_->dockWidgetArea(panel), Qt::LeftDockWidgetArea);
    QAction* toggle = action("ac_explorer");
    EXPECT_TRUE(window_->view_menu()->actions().contains(toggle));
    EXPECT_EQ(toggle->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));

    const QList<QAction*> popup = explorer()->popup()->actions();
    ASSERT_EQ(popup.size(), 4);
    EXPECT_EQ(popup[0]->text(), QStringLiteral("View Editor"));
    EXPECT_EQ(popup[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    EXPECT_EQ(popup[1]->text(), QStringLiteral("Close"));
    EXPECT_TRUE(popup[2]->isSeparator());
    EXPECT_EQ(popup[3]->text(), QStringLiteral("Properties"));

    // No two commands of the window answer one key.
    QList<QKeySequence> keys;
    for (const QAction* command : window_->findChildren<QAction*>()) {
        if (command->shortcut().isEmpty()) continue;
        EXPECT_FALSE(keys.contains(command->shortcut()))
            << command->shortcut().toString().toStdString();
        keys << command->shortcut();
    }

    TMySynEdit* editor = open_fixture("Ledger.java");
    wait_for_scans();
    popup[1]->trigger();
    EXPECT_TRUE(panel->isHidden());
    QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(panel->isHidden());
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(editor->hasFocus());
}

}  // namespace
}  // namespace tarnwell
