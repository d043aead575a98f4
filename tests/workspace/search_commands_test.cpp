#include "workspace/search_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "scripted_notifier.h"
#include "search_cases.h"
#include "temp_dir.h"
#include "workspace/FindDialog.h"
#include "workspace/ReplaceDialog.h"
#include "workspace/broxcombobox.h"
#include "workspace/file_store.h"
#include "workspace/mysynedit.h"

namespace tarnwell {
namespace {

using base = QsciScintillaBase;
using search_cases::command;

long anchor_of(const TMySynEdit& editor) {
    return editor.SendScintilla(base::SCI_GETANCHOR);
}
long caret_of(const TMySynEdit& editor) {
    return editor.SendScintilla(base::SCI_GETCURRENTPOS);
}

class SearchCommands : public ::testing::Test {
  protected:
    std::string input_ini() const { return (dir_.path() / "input.ini").string(); }
    temp_dir dir_;
    scripted_notifier notes_;
};

// The same cases as on plain bytes, now through the editor's target range.
TEST_F(SearchCommands, RunEveryFindAndReplaceCaseInTheEditor) {
    for (const search_cases::search_case& c : search_cases::all()) {
        TMySynEdit editor;
        editor.load_bytes(c.text);
        editor.SendScintilla(base::SCI_SETSEL, c.anchor, c.caret);
        search_commands commands(notes_, input_ini(), nullptr);
        std::size_t asked = 0;
        commands.set_prompt([&](const QString& text) {
            EXPECT_EQ(text.toStdString(), c.search) << c.name;
            EXPECT_EQ(editor.selectedText().toStdString(), c.search) << c.name;
            return asked < c.answers.size() ? c.answers[asked++] : prompt_answer::cancel;
        });
        notes_.messages.clear();
        const QString search = QString::fromStdString(c.search);
        search_outcome outcome;
        if (c.run == command::find) {
            outcome = commands.find(&editor, search, c.options);
        } else if (c.run == command::replace) {
            outcome =
                commands.replace(&editor, search, QString::fromStdString(c.replacement), c.options);
        } else {
            commands.last() = {c.search, c.options, {}};
            outcome = commands.find_next(&editor);
        }
        EXPECT_EQ(editor.bytes(), c.result) << c.name;
        EXPECT_EQ(anchor_of(editor), c.result_anchor) << c.name;
        EXPECT_EQ(caret_of(editor), c.result_caret) << c.name;
        EXPECT_EQ(outcome.found, c.found) << c.name;
        EXPECT_EQ(outcome.replaced, c.replaced) << c.name;
        EXPECT_EQ(asked, c.answers.size()) << c.name;
        const std::vector<QString> expected_messages =
            c.not_found_message ? std::vector<QString>{QStringLiteral("string not found ")}
                                : std::vector<QString>{};
        EXPECT_EQ(notes_.messages, expected_messages) << c.name;
    }
}

TEST_F(SearchCommands, ReplaceAllIsOneStepToUndo) {
    TMySynEdit editor;
    editor.load_bytes("x = x + x;\n");
    search_commands commands(notes_, input_ini(), nullptr);
    search_options all;
    all.replace = all.replace_all = true;
    EXPECT_EQ(commands.replace(&editor, "x", "value", all).replaced, 3);
    EXPECT_EQ(editor.bytes(), "value = value + value;\n");
    editor.undo();
    EXPECT_EQ(editor.bytes(), "x = x + x;\n");
}

TEST_F(SearchCommands, FindNextSearchesWhatTheLastFindRemembered) {
    TMySynEdit editor;
    editor.load_bytes("Ab ab AB ab");
    search_commands commands(notes_, input_ini(), nullptr);
    search_options options;
    options.match_case = options.entire_scope = true;
    commands.find(&editor, "ab", options);
    EXPECT_EQ(commands.last().text, "ab");
    EXPECT_EQ(caret_of(editor), 5);
    editor.SendScintilla(base::SCI_SETEMPTYSELECTION, 5L);
    commands.find_next(&editor);
    EXPECT_EQ(anchor_of(editor), 9);
    EXPECT_TRUE(notes_.messages.empty());
}

TEST_F(SearchCommands, InitialTextKeepsTheSelection) {
    TMySynEdit editor;
    editor.load_bytes("int total = 1;");
    editor.SendScintilla(base::SCI_SETSEL, 6L, 7L);
    EXPECT_EQ(initial_search_text(editor), QStringLiteral("total"));
    EXPECT_EQ(anchor_of(editor), 6);
    EXPECT_EQ(caret_of(editor), 7);
    editor.SendScintilla(base::SCI_SETSEL, 11L, 4L);
    EXPECT_EQ(initial_search_text(editor), QStringLiteral("total ="));
}

// Answers the next modal dialog with `answer` once the event loop runs it.
template <typename Dialog, typename Answer>
void when_shown(Answer answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

TEST_F(SearchCommands, FindAndReplaceRunFromTheirDialogs) {
    TMySynEdit editor;
    editor.load_bytes("int count = 0;\ncount++;\nreturn count;\n");
    editor.SendScintilla(base::SCI_SETSEL, 6L, 5L);
    search_commands commands(notes_, input_ini(), nullptr);

    QString proposed;
    when_shown<TdlgFind>([&](TdlgFind& dialog) {
        proposed = dialog.search_text();
        dialog.accept();
    });
    commands.EditFindExecute(&editor);
    EXPECT_EQ(proposed, QStringLiteral("count"));
    EXPECT_EQ(anchor_of(editor), 15);
    EXPECT_EQ(caret_of(editor), 20);
    EXPECT_EQ(commands.last().text, "count");

    commands.EditFindNextExecute(&editor);
    EXPECT_EQ(anchor_of(editor), 31);

    int asked = 0;
    commands.set_prompt([&](const QString&) {
        ++asked;
        return prompt_answer::replace_all;
    });
    editor.SendScintilla(base::SCI_SETEMPTYSELECTION, 0L);
    when_shown<TdlgReplace>([](TdlgReplace& dialog) {
        dialog.set_search_text("count");
        dialog.replace_field()->setEditText("total");
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            if (box->text() == QLatin1String("&Prompt when Replace")) box->setChecked(true);
        }
        dialog.accept();
    });
    commands.EditReplaceExecute(&editor);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(editor.bytes(), "int total = 0;\ntotal++;\nreturn total;\n");

    when_shown<TdlgFind>([](TdlgFind& dialog) {
        dialog.set_search_text("count");
        dialog.reject();
    });
    commands.EditFindExecute(&editor);
    EXPECT_TRUE(notes_.messages.empty());
    when_shown<TdlgFind>([](TdlgFind& dialog) { dialog.accept(); });
    commands.EditFindExecute(&editor);
    EXPECT_EQ(notes_.messages, std::vector<QString>{QStringLiteral("string not found ")});
}

TEST_F(SearchCommands, DialogsStartWithTheirDefaults) {
    TdlgFind find(input_ini());
    EXPECT_EQ(find.windowTitle(), QStringLiteral("Find"));
    EXPECT_EQ(find.options(), search_options{});
    for (const char* caption : {"Forwar&d", "&Global", "&From Cursor"}) {
        bool checked = false;
        for (const QRadioButton* button : find.findChildren<QRadioButton*>()) {
            if (button->text() == QLatin1String(caption)) checked = button->isChecked();
        }
        EXPECT_TRUE(checked) << caption;
    }
    for (const QCheckBox* box : find.findChildren<QCheckBox*>()) EXPECT_FALSE(box->isChecked());

    TdlgReplace replace(input_ini());
    EXPECT_EQ(replace.windowTitle(), QStringLiteral("Replace"));
    search_options replacing;
    replacing.replace = true;
    EXPECT_EQ(replace.replace_options(), replacing);
}

TEST_F(SearchCommands, DialogsKeepHistoriesAndOptionsInInputIni) {
    {
        TdlgFind find(input_ini());
        find.set_search_text("needle");
        for (QCheckBox* box : find.findChildren<QCheckBox*>()) box->setChecked(true);
        for (QRadioButton* button : find.findChildren<QRadioButton*>()) {
            if (button->text() == QLatin1String("&Backward")) button->setChecked(true);
        }
        find.reject();
    }
    {
        TdlgReplace replace(input_ini());
        replace.set_search_text("old");
        replace.replace_field()->setEditText("new");
        for (QRadioButton* button : replace.findChildren<QRadioButton*>()) {
            if (button->text() == QLatin1String("&Entire Document")) button->setChecked(true);
        }
        for (QCheckBox* box : replace.findChildren<QCheckBox*>()) {
            if (box->text() == QLatin1String("&Prompt when Replace")) box->setChecked(true);
        }
        replace.done(TdlgReplace::replace_all_result);
        search_options chosen;
        chosen.replace = chosen.replace_all = chosen.prompt = chosen.entire_scope = true;
        EXPECT_EQ(replace.replace_options(), chosen);
    }
    const file_read stored = read_file(input_ini());
    ASSERT_TRUE(stored.ok);
    EXPECT_EQ(stored.bytes,
              "[FINDTXT]\nBROX_0=needle\n\n"
              "[FindOptions]\nMatchCase=1\nWholeWord=1\nBackward=1\nSelectedOnly=0\n"
              "EntireScope=0\n\n"
              "[FIND]\nBROX_0=old\n\n"
              "[ReplaceOptions]\nMatchCase=0\nWholeWord=0\nBackward=0\nSelectedOnly=0\n"
              "EntireScope=1\nPrompt=1\n\n"
              "[REPLACE]\nBROX_0=new\n");

    // Read back: the find dialog's history is its own, apart from the replace dialog's.
    TdlgFind find(input_ini());
    EXPECT_EQ(find.search_field()->count(), 1);
    EXPECT_EQ(find.search_field()->itemText(0), QStringLiteral("needle"));
    search_options remembered;
    remembered.match_case = remembered.whole_word = remembered.backwards = true;
    EXPECT_EQ(find.options(), remembered);
    TdlgReplace replace(input_ini());
    EXPECT_EQ(replace.search_field()->itemText(0), QStringLiteral("old"));
    EXPECT_EQ(replace.replace_field()->itemText(0), QStringLiteral("new"));
    remembered = {};
    remembered.replace = remembered.prompt = remembered.entire_scope = true;
    EXPECT_EQ(replace.replace_options(), remembered);
}

}  // namespace
}  // namespace tarnwell
