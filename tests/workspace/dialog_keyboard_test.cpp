// The workspace's dialogs worked from the keyboard: Tab goes through every control in the order
// the dialog is read, and a replace typed without the mouse replaces what was typed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "scripted_notifier.h"
#include "tab_walk.h"
#include "temp_dir.h"
#include "workspace/DPageSetup.h"
#include "workspace/FindDialog.h"
#include "workspace/ReplaceDialog.h"
#include "workspace/ReplacePromptDialog.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

TEST(DialogKeyboard, TabGoesThroughEveryDialogInReadingOrder) {
    temp_dir dir;
    const std::string input_ini = (dir.path() / "input.ini").string();
    scripted_notifier notes;
    const struct {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
    } dialogs[] = {
        {"Find", [&] { return std::make_unique<TdlgFind>(input_ini); }},
        {"Replace", [&] { return std::make_unique<TdlgReplace>(input_ini); }},
        {"Replace Prompt", [] { return std::make_unique<TdlgReplacePrompt>("x"); }},
        {"Page Setup", [&] { return std::make_unique<TPageSetupDlg>(notes, QSizeF(210, 297)); }},
    };
    for (const auto& d : dialogs) {
        const std::unique_ptr<QDialog> dialog = d.make();
        expect_tab_follows_reading(*dialog, d.name);
    }
}

class ReplaceByKeyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        auto messages = std::make_unique<scripted_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(data_, program_paths{TARNWELL_DATA_DIR, dir_.path()},
                                              std::move(messages));
    }
    void TearDown() override { window_.reset(); }

    // Runs Replace with the search and replace texts typed, Tab between them, and the dialog
    // ended by the button captioned `button`.
    void replace_typed(const QString& search, const QString& replacement, const char* button) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TdlgReplace*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            show_active(*dialog);
            QWidget* typing = QApplication::focusWidget();
            ASSERT_NE(typing, nullptr);
            QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(typing, search);
            QTest::keyClick(typing, Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), replacement);
            for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
                if (b->text() == QLatin1String(button)) b->click();
            }
        });
        window_->findChild<QAction*>(QStringLiteral("EditReplace"))->trigger();
    }

    temp_dir dir_;
    TeditorDataModule data_;
    scripted_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
};

TEST_F(ReplaceByKeyboard, ReplaceAllPutsTheTypedReplacementAndCountsIt) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        const char* result;
        const char* status;
    } cases[] = {
        {"x = x + x;\n", "x", "total", "total = total + total;\n", " 3 occurrences replaced"},
        {"n = 0;\n", "n", "count", "count = 0;\n", " 1 occurrence replaced"},
    };
    for (const auto& c : cases) {
        TMySynEdit* editor = window_->new_document();
        editor->setText(QString::fromLatin1(c.text));
        replace_typed(c.search, c.replacement, "Replace &All");
        EXPECT_EQ(editor->bytes(), c.result) << c.search;
        EXPECT_EQ(window_->status_panel(TMainform::status_panel_count - 1).toStdString(), c.status)
            << c.search;
        EXPECT_TRUE(notes_->messages.empty());
    }
}

}  // namespace
}  // namespace tarnwell
