#include "workspace/umainform.h"

#include <gtest/gtest.h>

#include <Qsci/qscilexer.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/datamod.h"
#include "workspace/file_store.h"
#include "workspace/ini_file.h"
#include "workspace/mysynedit.h"
#include "workspace/search_commands.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;
using base = QsciScintillaBase;

class Mainform : public ::testing::Test {
  protected:
    void SetUp() override {
        auto messages = std::make_unique<scripted_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(data_, test_paths(), std::move(messages));
    }
    void TearDown() override { window_.reset(); }

    program_paths test_paths() const { return {TARNWELL_DATA_DIR, dir_}; }
    QString path(const std::string& name) const {
        return QString::fromStdString((dir_ / name).string());
    }
    QString put(const std::string& name, const std::string& bytes) const {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream((dir_ / name).string(), std::ios::binary) << bytes;
        return path(name);
    }
    std::string get(const std::string& name) const {
        const file_read read = read_file((dir_ / name).string());
        EXPECT_TRUE(read.ok) << read.error;
        return read.bytes;
    }
    QAction* action(const char* name) const {
        QAction* found = window_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void type(TMySynEdit* editor, const char* text) {
        editor->SendScintilla(base::SCI_ADDTEXT, static_cast<unsigned long>(std::strlen(text)),
                              text);
    }

    temp_dir temp_;
    const fs::path& dir_ = temp_.path();
    TeditorDataModule data_;
    scripted_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
};

TEST_F(Mainform, StartsWithItsCaptionPathsAndPrintDefaults) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tarnwell V2.0 Build 0421"));
    EXPECT_EQ(window_->picture_folder(),
              QString::fromStdString(std::string(TARNWELL_DATA_DIR) + "/photo1/"));
    ASSERT_EQ(window_->printing().header.size(), 4u);
    EXPECT_EQ(window_->printing().header[3].text, "Print Date: $DATE$. Time: $TIME$");
    EXPECT_EQ(window_->printing().header[3].font.size, 6);
    ASSERT_EQ(window_->printing().footer.size(), 2u);
    EXPECT_EQ(window_->printing().footer[1].text, "Printed by Tarnwell");
}

TEST_F(Mainform, OpeningTheSameFileTwiceBringsItsPageForward) {
    const QString file = put("src/a.cpp", "int a;\n");
    put("src/A.CPP", "int b;\n");
    fs::create_symlink(dir_ / "src" / "a.cpp", dir_ / "link.cpp");
    TMySynEdit* first = window_->open_file(file);
    ASSERT_NE(first, nullptr);
    window_->new_document();
    EXPECT_EQ(window_->open_file(path("src/../src/a.cpp")), first);
    EXPECT_EQ(window_->open_file(path("link.cpp")), first);
    EXPECT_EQ(window_->current_document(), first);
    EXPECT_EQ(window_->document_count(), 2);
    // On a case-sensitive file system "A.CPP" is another file, with a page of its own.
    TMySynEdit* other = window_->open_file(path("src/A.CPP"));
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->bytes(), "int b;\n");
    EXPECT_EQ(window_->document_count(), 3);
}

TEST_F(Mainform, MissingFileIsReported) {
    EXPECT_EQ(window_->open_file(path("none.c")), nullptr);
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_EQ(notes_->messages[0], QStringLiteral("file not found:") + path("none.c"));
    EXPECT_EQ(window_->document_count(), 0);
}

TEST_F(Mainform, NewDocumentsAreNamedByThePageCount) {
    window_->open_file(put("one.java", "class One {}\n"));
    TMySynEdit* second = window_->new_document();
    EXPECT_EQ(window_->tab_caption(1), QStringLiteral("New2"));
    EXPECT_EQ(second->doc.language, 1);
    EXPECT_EQ(second->doc.parser_slot, 3);
    EXPECT_EQ(second->doc.file_path, "");
    window_->new_document();
    EXPECT_EQ(window_->tab_caption(2), QStringLiteral("New3"));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tarnwell V2.0 Build 0421 - "));
}

TEST_F(Mainform, OpenedFilesGetTheLanguageOfTheirExtension) {
    struct open_case {
        const char* name;
        const char* text;
        int language;
        int parser_slot;
        const char* highlighter;
    };
    const open_case cases[] = {
        {"script.p", "print 1;\n", 5, 6, "Perl"},
        {"common.inc", "<?php echo 1; ?>\n", 8, 2, "HTML"},
        {"pkg.sql", "BEGIN\n  NULL;\nEND;\n", 14, 11, "SQL"},
        {"query.sql", "SELECT 1\nGO\n", 15, 12, "T-SQL"},
        {"form.frm", "Dim a\n", 2, 7, "Visual Basic"},
        {"main.prg", "* c\n", 7, 5, "FoxPro"},
        {"Main.java", "class Main {}\n", 3, 3, "Java"},
        {"tool.py", "print(1)\n", 16, 14, "Python"},
        {"app.ts", "let a = 1;\n", 17, 15, "TypeScript"},
        {"view.tsx", "let a = <b/>;\n", 18, 16, "TSX"},
        {"main.go", "package main\n", 19, 17, "Go"},
        {"lib.rs", "fn main() {}\n", 20, 18, "Rust"},
        {"notes.txt", "x := 1\n", 0, 0, "general"},
    };
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    auto* combo = window_->findChild<QComboBox*>(QStringLiteral("cbxHighlighter"));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isVisible());
    for (const open_case& c : cases) {
        TMySynEdit* editor = window_->open_file(put(c.name, c.text));
        ASSERT_NE(editor, nullptr) << c.name;
        EXPECT_EQ(editor->doc.language, c.language) << c.name;
        EXPECT_EQ(editor->doc.parser_slot, c.parser_slot) << c.name;
        EXPECT_STREQ(editor->lexer()->language(), c.highlighter) << c.name;
        EXPECT_EQ(combo->currentIndex(), c.language) << c.name;
        EXPECT_EQ(window_->windowTitle(),
                  QStringLiteral("Tarnwell V2.0 Build 0421 - ") + path(c.name));
    }
    // The user overrides the language from the list.
    combo->activated(6);
    TMySynEdit* current = window_->current_document();
    EXPECT_EQ(current->doc.language, 6);
    EXPECT_EQ(current->doc.parser_slot, 13);
    EXPECT_STREQ(current->lexer()->language(), "Pascal");
}

TEST_F(Mainform, SaveKeepsTheOldVersionAsVbak) {
    TMySynEdit* editor = window_->open_file(put("prog.java", "one\n"));
    type(editor, "two ");
    EXPECT_EQ(window_->tab_caption(0), QStringLiteral("prog.java *"));
    EXPECT_TRUE(editor->doc.flowchart.flowchart_stale);
    ASSERT_TRUE(window_->save(editor));
    EXPECT_EQ(get("prog.java"), "two one\n");
    EXPECT_EQ(get("prog.vbak"), "one\n");
    EXPECT_EQ(window_->tab_caption(0), QStringLiteral("prog.java"));
    EXPECT_FALSE(editor->isModified());
    editor->set_caret({1, 1});
    type(editor, "three ");
    ASSERT_TRUE(window_->save(editor));
    EXPECT_EQ(get("prog.java"), "three two one\n");
    EXPECT_EQ(get("prog.vbak"), "two one\n");
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(Mainform, SaveAsToAnExistingNameAnsweredNoAsksAgainAndSavesOnce) {
    const QString existing = put("taken.cpp", "keep me\n");
    TMySynEdit* editor = window_->new_document();
    type(editor, "begin\nend;\n");
    notes_->save_names = {existing, path("fresh.sql")};
    notes_->answers = {user_answer::no};
    ASSERT_TRUE(window_->save_as(editor));
    ASSERT_EQ(notes_->questions.size(), 1u);
    EXPECT_EQ(notes_->questions[0],
              QStringLiteral("Do you want to overwrite the existing file :") + existing);
    EXPECT_TRUE(notes_->save_names.empty());
    EXPECT_EQ(get("taken.cpp"), "keep me\n");
    EXPECT_EQ(get("fresh.sql"), "begin\nend;\n");
    EXPECT_FALSE(fs::exists(dir_ / "fresh.vbak"));
    EXPECT_EQ(window_->tab_caption(0), QStringLiteral("fresh.sql"));
    EXPECT_EQ(editor->doc.language, 14);                 // the text has "end;"
    EXPECT_TRUE(editor->doc.flowchart.flowchart_stale);  // parser slot 3 became 11

    notes_->save_names = {existing};
    notes_->answers = {user_answer::cancel};
    EXPECT_FALSE(window_->save_as(editor));
    EXPECT_EQ(get("taken.cpp"), "keep me\n");
    EXPECT_EQ(editor->doc.file_path, (dir_ / "fresh.sql").string());
}

TEST_F(Mainform, ClosingTheWindowAsksOncePerModifiedDocument) {
    window_->show();
    TMySynEdit* a = window_->open_file(put("a.c", "a\n"));
    window_->open_file(put("b.c", "b\n"));
    TMySynEdit* c = window_->open_file(put("c.c", "c\n"));
    type(a, "x");
    type(c, "y");
    notes_->answers = {user_answer::no, user_answer::no};
    EXPECT_TRUE(window_->close());
    ASSERT_EQ(notes_->questions.size(), 2u);
    EXPECT_EQ(notes_->questions[0], QStringLiteral("Save to '%1'?").arg(path("a.c")));
    EXPECT_EQ(notes_->questions[1], QStringLiteral("Save to '%1'?").arg(path("c.c")));
    EXPECT_EQ(get("a.c"), "a\n");
    // The settings file now holds the reopen list, newest first.
    const ini_file ini = ini_file::load((dir_ / "tarnwell.ini").string());
    EXPECT_EQ(ini.value("main", "reopen1"), (dir_ / "c.c").string());
    EXPECT_EQ(ini.value("main", "reopen2"), (dir_ / "b.c").string());
}

TEST_F(Mainform, CancelOrAFailedSaveKeepsTheWindowOpen) {
    window_->show();
    TMySynEdit* a = window_->open_file(put("a.c", "a\n"));
    type(a, "x");
    TMySynEdit* fresh = window_->new_document();
    type(fresh, "y");
    notes_->answers = {user_answer::cancel};
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(notes_->questions.size(), 1u);

    // Yes to a new document whose save dialog is cancelled: nothing was saved, so nothing
    // may be thrown away.
    notes_->questions.clear();
    notes_->answers = {user_answer::no, user_answer::yes};
    notes_->save_names = {std::nullopt};
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(notes_->questions.size(), 2u);
    EXPECT_EQ(notes_->questions[1], QStringLiteral("Save to 'new file'?"));
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(Mainform, ClosingTheLastDocumentOpensTheSample) {
    window_->open_file(put("a.c", "a\n"));
    window_->close_current();
    ASSERT_EQ(window_->document_count(), 1);
    EXPECT_EQ(window_->tab_caption(0), QStringLiteral("Array.java"));
    EXPECT_EQ(window_->current_document()->doc.language, 3);
}

TEST_F(Mainform, TabPopupClosesItsPageTheOthersOrAll) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    for (const char* name : {"a.c", "b.c", "c.c", "d.c"}) window_->open_file(put(name, "x\n"));
    type(window_->document_at(1), "y");
    QTabBar* tabs = window_->findChild<QTabWidget*>(QStringLiteral("editorPageControl"))->tabBar();
    const auto choose = [&](int tab, const QString& caption) {
        emit tabs->customContextMenuRequested(tabs->tabRect(tab).center());
        ASSERT_TRUE(window_->tab_popup()->isVisible());
        for (QAction* item : window_->tab_popup()->actions()) {
            if (item->text() == caption) item->trigger();
        }
        window_->tab_popup()->hide();
    };
    const auto captions = [&] {
        QStringList shown;
        for (int i = 0; i < window_->document_count(); ++i) shown << window_->tab_caption(i);
        return shown;
    };

    // The page clicked closes, not the current one.
    choose(0, QStringLiteral("Close"));
    EXPECT_EQ(captions(), QStringList({"b.c *", "c.c", "d.c"}));
    // A cancelled save stops Close Others where it is.
    notes_->answers = {user_answer::cancel};
    choose(1, QStringLiteral("Close Others"));
    EXPECT_EQ(captions(), QStringList({"b.c *", "c.c"}));
    notes_->answers = {user_answer::no};
    choose(1, QStringLiteral("Close Others"));
    EXPECT_EQ(captions(), QStringList({"c.c"}));
    window_->open_file(path("a.c"));
    choose(0, QStringLiteral("Close All"));
    EXPECT_EQ(captions(), QStringList({"Array.java"}));
    EXPECT_EQ(get("b.c"), "x\n");
}

TEST_F(Mainform, SavedFilesKeepEveryByte) {
    struct round_trip {
        const char* what;
        std::string bytes;
    };
    const round_trip cases[] = {
        {"CR LF", "int a;\r\nint b;\r\n"},
        {"LF", "int a;\nint b;\n"},
        {"lone CR", "int a;\rint b;\r"},
        {"mixed", "a\r\nb\nc\rd"},
        {"no final newline", "int a;\nint b;"},
        {"Latin-1", "// caf\xe9 na\xefve\n\xff\xfe\n"},
        {"UTF-8", "// caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\n"},
        {"NUL", std::string("a\0b\n", 4)},
        {"empty", ""},
    };
    int n = 0;
    for (const round_trip& c : cases) {
        const std::string name = "trip" + std::to_string(n++) + ".c";
        TMySynEdit* editor = window_->open_file(put(name, c.bytes));
        ASSERT_NE(editor, nullptr) << c.what;
        // An edit that is taken back leaves the text as it was, but modified.
        type(editor, "x");
        editor->SendScintilla(base::SCI_DELETEBACK);
        ASSERT_TRUE(editor->isModified()) << c.what;
        ASSERT_TRUE(window_->save(editor)) << c.what;
        EXPECT_EQ(get(name), c.bytes) << c.what;
    }
}

TEST_F(Mainform, StatusPanelsShowLinesAndCaret) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_EQ(window_->status_panel(0), QString());
    EXPECT_EQ(window_->status_panel(4), QStringLiteral(" "));
    TMySynEdit* editor = window_->open_file(put("p.c", "one\ntwo\nthree"));
    EXPECT_EQ(window_->status_panel(0), QStringLiteral("3"));
    editor->set_caret({4, 3});
    QApplication::processEvents();
    EXPECT_EQ(window_->status_panel(1), QStringLiteral("4:3"));
    EXPECT_EQ(window_->status_panel(2), QString());
    EXPECT_EQ(window_->status_panel(3), QString());
}

TEST_F(Mainform, CommandsFollowTheCurrentDocument) {
    TMySynEdit* editor = window_->open_file(put("p.c", "one\ntwo\n"));
    window_->update_actions();
    EXPECT_FALSE(action("filesave")->isEnabled());
    EXPECT_FALSE(action("EditCopy")->isEnabled());
    EXPECT_FALSE(action("EditUndo")->isEnabled());
    EXPECT_FALSE(action("gotobookmark8")->isEnabled());
    type(editor, "x");
    editor->SendScintilla(base::SCI_SETSEL, 0L, 2L);
    editor->set_bookmark(begin_mark, {1, 2});
    window_->update_actions();
    EXPECT_TRUE(action("filesave")->isEnabled());
    EXPECT_TRUE(action("filesaveall")->isEnabled());
    EXPECT_TRUE(action("EditCopy")->isEnabled());
    EXPECT_TRUE(action("EditCut")->isEnabled());
    EXPECT_TRUE(action("EditUndo")->isEnabled());
    EXPECT_TRUE(action("gotobookmark8")->isEnabled());
    EXPECT_FALSE(action("gotobookmark9")->isEnabled());

    action("filesaveall")->trigger();
    EXPECT_EQ(get("p.c"), "xone\ntwo\n");
    EXPECT_FALSE(action("filesaveall")->isEnabled());

    action("EditCopyAll")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("xone\ntwo\n"));
    action("EditPasteNew")->trigger();
    EXPECT_EQ(window_->current_document()->bytes(), "xone\ntwo\n");
    EXPECT_EQ(window_->tab_caption(1), QStringLiteral("New2 *"));
    action("EditDateTime")->trigger();
    EXPECT_EQ(
        window_->current_document()->bytes(),
        "xone\ntwo\n" + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString());
}

TEST_F(Mainform, FindNextWaitsForSomethingToLookFor) {
    TMySynEdit* editor = window_->open_file(put("p.c", "one two one\n"));
    window_->update_actions();
    EXPECT_FALSE(action("EditFindNext")->isEnabled());
    // A selection of two or more is what Find Next would look for.
    editor->SendScintilla(base::SCI_SETSEL, 0L, 1L);
    window_->update_actions();
    EXPECT_FALSE(action("EditFindNext")->isEnabled());
    editor->SendScintilla(base::SCI_SETSEL, 0L, 3L);
    window_->update_actions();
    EXPECT_TRUE(action("EditFindNext")->isEnabled());
    editor->SendScintilla(base::SCI_SETEMPTYSELECTION, 0L);
    window_->update_actions();
    EXPECT_FALSE(action("EditFindNext")->isEnabled());
    window_->searches().find(editor, QStringLiteral("two"), {});
    editor->SendScintilla(base::SCI_SETEMPTYSELECTION, 0L);
    window_->update_actions();
    EXPECT_TRUE(action("EditFindNext")->isEnabled());
}

// The window's shortcuts win over the editor's own keystrokes: Ctrl+L shows line numbers
// rather than cutting the line.
TEST_F(Mainform, ShortcutsReachTheWindowsCommands) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    TMySynEdit* editor = window_->open_file(put("p.c", "one\ntwo\n"));
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(action("ShowLineNo")->isChecked());
    EXPECT_EQ(editor->bytes(), "one\ntwo\n");
    EXPECT_GT(editor->marginWidth(1), 0);
    QTest::keyClick(editor, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window_->document_count(), 2);
    EXPECT_GT(window_->current_document()->marginWidth(1), 0);
}

TEST_F(Mainform, ExportsTheHighlightedCode) {
    window_->open_file(put("Main.java", "public class Main { // \xe9\n}\n"));
    notes_->save_names = {path("out")};
    action("ac_htm")->trigger();
    const std::string html = get("out.html");
    EXPECT_NE(html.find("<title>Main.java</title>"), std::string::npos);
    EXPECT_NE(html.find("background-color: #ece9d8"), std::string::npos);
    EXPECT_NE(html.find(">public</span>"), std::string::npos) << html;
    EXPECT_NE(html.find("// &#233;\n</span>"), std::string::npos) << html;

    // A second export to the same name asks first; No leaves the file alone.
    notes_->save_names = {path("out.html")};
    notes_->answers = {user_answer::no};
    put("out.html", "mine");
    action("ac_htm")->trigger();
    EXPECT_EQ(notes_->question_captions.back(), QStringLiteral("Warning"));
    EXPECT_EQ(get("out.html"), "mine");

    notes_->save_names = {path("code.rtf")};
    action("ac_rtf")->trigger();
    const std::string rtf = get("code.rtf");
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("\\b public}"), std::string::npos) << rtf;
    EXPECT_EQ(notes_->waits, 0);
}

TEST_F(Mainform, HelpPagesOpenFromTheProgramFolder) {
    action("ac_help")->trigger();
    action("ac_homepage")->trigger();
    action("ac_feedback")->trigger();
    ASSERT_EQ(notes_->pages.size(), 3u);
    for (const QUrl& page : notes_->pages) {
        EXPECT_TRUE(QFile::exists(page.toLocalFile())) << page.toString().toStdString();
    }
}

}  // namespace
}  // namespace tarnwell
