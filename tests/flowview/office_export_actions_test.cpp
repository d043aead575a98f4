#include "flowview/office_export_actions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "flowview/flowchart_actions.h"
#include "flowview/flowchart_commands.h"
#include "officeexport/export_options_dialog.h"
#include "parsers/language_table.h"
#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

class OfficeExportActions : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(program_.path() / "output");
        auto messages = std::make_unique<scripted_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(
            data_, program_paths{program_.path(), settings_.path()}, std::move(messages));
        new flowchart_actions(*window_);
        actions_ = new office_export_actions(*window_, (program_.path() / "output").string() + "/");
        const fs::path file = program_.path() / "sum.c";
        std::ofstream(file) << "int sum(int n)\n{\n    int s = 0;\n    while (n > 0) {\n"
                               "        s += n--;\n    }\n    return s;\n}\n";
        editor_ = window_->open_file(QString::fromStdString(file.string()));
        ASSERT_NE(editor_, nullptr);
    }
    void TearDown() override { window_.reset(); }

    // Runs the command; `in_dialog` acts on the dialog while it is open.
    void run_command(export_application application,
                     const std::function<void(TfmExportOptions&)>& in_dialog) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TfmExportOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            in_dialog(*dialog);
            dialog->reject();
        });
        actions_->export_to(application);
    }

    temp_dir program_;
    temp_dir settings_;
    TeditorDataModule data_;
    scripted_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
    office_export_actions* actions_ = nullptr;
    TMySynEdit* editor_ = nullptr;
};

TEST_F(OfficeExportActions, EnabledOnlyWithBothMarks) {
    QAction* powerpoint = actions_->action(export_application::powerpoint);
    ASSERT_NE(powerpoint, nullptr);
    EXPECT_EQ(powerpoint->text(), "Export flowchart to PowerPoint");
    window_->update_actions();
    EXPECT_FALSE(powerpoint->isEnabled());
    editor_->set_bookmark(begin_mark, {1, 3});
    window_->update_actions();
    EXPECT_FALSE(powerpoint->isEnabled());
    editor_->set_bookmark(end_mark, {1, 7});
    window_->update_actions();
    EXPECT_TRUE(powerpoint->isEnabled());
    EXPECT_TRUE(actions_->action(export_application::word)->isEnabled());
}

TEST_F(OfficeExportActions, DefaultOptionsWriteTheChartAndItsStampedCopy) {
    editor_->set_bookmark(begin_mark, {1, 3});
    editor_->set_bookmark(end_mark, {1, 7});
    notes_->answers.push_back(user_answer::yes);  // open the result
    notes_->answers.push_back(user_answer::no);
    run_command(export_application::powerpoint, [](TfmExportOptions& dialog) { dialog.start(); });
    const fs::path output = program_.path() / "output" / "sum.c-.pptx";
    ASSERT_TRUE(fs::exists(output))
        << (notes_->messages.empty() ? "" : notes_->messages[0].toStdString());
    std::ifstream in(output, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "PK");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(program_.path() / "output")) {
        ++files;
        EXPECT_TRUE(entry.path().filename().string().ends_with("sum.c-.pptx"));
    }
    EXPECT_EQ(files, 2);  // the output and its time-stamped copy
    ASSERT_EQ(notes_->pages.size(), 1U);
    EXPECT_EQ(notes_->pages[0], QUrl::fromLocalFile(QString::fromStdString(output.string())));
    EXPECT_EQ(notes_->waits, 0);

    // Word writes one document; Excel and Visio, like PowerPoint, a time-stamped copy too.
    run_command(export_application::word, [](TfmExportOptions& dialog) { dialog.start(); });
    EXPECT_TRUE(fs::exists(program_.path() / "output" / "sum.c-.docx"));
    for (const auto& [application, name] : {std::pair{export_application::excel, "sum.c-.xlsx"},
                                            {export_application::visio, "sum.c-.vsdx"}}) {
        notes_->answers.push_back(user_answer::no);  // not opened
        run_command(application, [](TfmExportOptions& dialog) { dialog.start(); });
        EXPECT_TRUE(fs::exists(program_.path() / "output" / name))
            << name << ": "
            << (notes_->messages.empty() ? "" : notes_->messages.back().toStdString());
    }
}

TEST_F(OfficeExportActions, AFileOfNoLanguageIsRefusedAsTheFlowchartRefusesIt) {
    // Read as C, Go's `x := f()` would be exported as a goto label.
    const fs::path file = program_.path() / "notes.txt";
    std::ofstream(file) << "x := f()\nif x > 0 {\n  y()\n}\n";
    TMySynEdit* editor = window_->open_file(QString::fromStdString(file.string()));
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->doc.language, language_general);
    editor->set_bookmark(begin_mark, {1, 1});
    editor->set_bookmark(end_mark, {1, 4});
    for (const export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        notes_->messages.clear();
        bool dialog_shown = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<TfmExportOptions*>(QApplication::activeModalWidget())) {
                dialog_shown = true;
                dialog->start();
                dialog->reject();
            }
        });
        actions_->export_to(application);
        QCoreApplication::processEvents();
        EXPECT_FALSE(dialog_shown) << static_cast<int>(application);
        ASSERT_EQ(notes_->messages.size(), 1U) << static_cast<int>(application);
        EXPECT_EQ(notes_->messages[0].toStdString(), no_language_message);
    }
    EXPECT_TRUE(fs::is_empty(program_.path() / "output"));

    // Once a language is chosen the same marks export.
    window_->set_language(editor, language_c);
    notes_->answers.push_back(user_answer::no);  // not opened
    run_command(export_application::word, [](TfmExportOptions& dialog) { dialog.start(); });
    EXPECT_TRUE(fs::exists(program_.path() / "output" / "notes.txt-.docx"));
}

TEST_F(OfficeExportActions, AnUnwritableOutputIsReported) {
    editor_->set_bookmark(begin_mark, {1, 3});
    editor_->set_bookmark(end_mark, {1, 7});
    // A name in a folder that is not there: the write fails whoever runs the test.
    run_command(export_application::word, [](TfmExportOptions& dialog) {
        qobject_cast<QComboBox*>(dialog.field_widget(option_field::output_name))
            ->setEditText("no-such-folder/chart");
        dialog.start();
    });
    ASSERT_FALSE(notes_->messages.empty());
    EXPECT_TRUE(notes_->messages.back().startsWith("Cannot write "))
        << notes_->messages.back().toStdString();
    EXPECT_TRUE(notes_->pages.empty());
    EXPECT_FALSE(fs::exists(program_.path() / "output" / "no-such-folder"));
}

}  // namespace
}  // namespace tarnwell
