// Go to Line from the keyboard: Ctrl+G asks for a line of the current document and puts the
// caret at its start; Escape leaves the caret where it was.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "scripted_notifier.h"
#include "tab_walk.h"
#include "temp_dir.h"
#include "workspace/GotoLineDialog.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

class GotoLine : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<TMainform>(data_, program_paths{TARNWELL_DATA_DIR, dir_.path()},
                                              std::make_unique<scripted_notifier>());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        const std::filesystem::path file = dir_.path() / "ten.c";
        std::ofstream(file, std::ios::binary) << "a;\nb;\nc;\nd;\ne;\nf;\ng;\nh;\ni;\nj;\n";
        editor_ = window_->open_file(QString::fromStdString(file.string()));
        ASSERT_NE(editor_, nullptr);
    }
    void TearDown() override { window_.reset(); }

    // Presses Ctrl+G and answers the dialog with the keys `typed` once it is up.
    void go_to(const char* typed, Qt::Key ending) {
        // The window is active again, as it is when the user comes back to it.
        show_active(*window_);
        const auto asked = std::make_shared<bool>(false);
        const auto waiting = std::make_shared<bool>(true);
        answer_when_shown(waiting, [asked, typed, ending](TdlgGotoLine& dialog) {
            *asked = true;
            QTest::keyClicks(dialog.line_field(), typed);
            QTest::keyClick(dialog.line_field(), ending);
        });
        QTest::keyClick(editor_, Qt::Key_G, Qt::ControlModifier);
        *waiting = false;
        EXPECT_TRUE(*asked);
    }

    // Looks for the dialog now and then while `waiting`: how soon a modal dialog shows depends
    // on the platform and the build.
    static void answer_when_shown(std::shared_ptr<bool> waiting,
                                  std::function<void(TdlgGotoLine&)> answer) {
        QTimer::singleShot(10, [waiting, answer] {
            if (!*waiting) return;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<TdlgGotoLine*>(widget);
                if (dialog != nullptr && dialog->isVisible()) {
                    answer(*dialog);
                    return;
                }
            }
            answer_when_shown(waiting, answer);
        });
    }

    temp_dir dir_;
    TeditorDataModule data_;
    std::unique_ptr<TMainform> window_;
    TMySynEdit* editor_ = nullptr;
};

TEST_F(GotoLine, CtrlGMovesTheCaretToTheTypedLine) {
    const struct {
        const char* typed;
        Qt::Key ending;
        int line;
    } cases[] = {
        {"7", Qt::Key_Return, 7},
        // The proposed number is selected, so what is typed replaces it.
        {"3", Qt::Key_Enter, 3},
        // A number beyond the last line (11) cannot be typed: the field keeps what fits.
        {"99", Qt::Key_Return, 9},
        // Escape keeps the caret where the last answer put it.
        {"5", Qt::Key_Escape, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        go_to(c.typed, c.ending);
        EXPECT_EQ(editor_->caret().line, c.line);
        EXPECT_EQ(editor_->caret().column, 1);
    }
}

TEST_F(GotoLine, TheDialogIsReadInTabOrder) {
    TdlgGotoLine dialog(1, 10);
    expect_tab_follows_reading(dialog, "Go to Line");
}

}  // namespace
}  // namespace tarnwell
