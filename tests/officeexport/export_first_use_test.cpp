// The export commands as a new user meets them: a fresh installation with default options, a
// document in any language, marks set the wrong way round, a result no application opens.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <fstream>

#include "flowview/flowchart_actions.h"
#include "flowview/office_export_actions.h"
#include "officeexport/export_options_dialog.h"
#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/datamod.h"
#include "workspace/ini_file.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

constexpr int hint_panel = TMainform::status_panel_count - 1;

class ExportFirstUse : public ::testing::Test {
  protected:
    void SetUp() override {
        auto messages = std::make_unique<scripted_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(
            data_, program_paths{program_.path(), settings_.path()}, std::move(messages));
        new flowchart_actions(*window_);
        actions_ = new office_export_actions(*window_, output_dir());
    }
    void TearDown() override { window_.reset(); }

    // The default output folder, not there before the first export.
    std::string output_dir() const {
        return (documents_.path() / "Documents" / "Tarnwell").string() + "/";
    }

    TMySynEdit* open(const std::string& name, const std::string& text, int begin, int end) {
        const fs::path file = program_.path() / name;
        std::ofstream(file) << text;
        TMySynEdit* editor = window_->open_file(QString::fromStdString(file.string()));
        EXPECT_NE(editor, nullptr);
        editor->set_bookmark(begin_mark, {1, begin});
        editor->set_bookmark(end_mark, {1, end});
        window_->update_actions();
        return editor;
    }

    // Runs the command and presses "Start" in its dialog.
    void start(export_application application) {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TfmExportOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->start();
            dialog->reject();
        });
        actions_->export_to(application);
    }

    bool said(const QString& start) const {
        for (const QString& message : notes_->messages) {
            if (message.startsWith(start)) return true;
        }
        return false;
    }

    temp_dir program_;
    temp_dir settings_;
    temp_dir documents_;
    TeditorDataModule data_;
    scripted_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
    office_export_actions* actions_ = nullptr;
};

const char* const sum_c =
    "int sum(int n)\n{\n    int s = 0;\n    while (n > 0) {\n        s += n--;\n    }\n"
    "    return s;\n}\n";

const char* const sum_java =
    "class Sum {\n    int sum(int n) {\n        int s = 0;\n        while (n > 0) {\n"
    "            s += n--;\n        }\n        return s;\n    }\n}\n";

TEST_F(ExportFirstUse, DefaultOptionsWriteEveryFormatIntoTheDocumentsFolder) {
    open("sum.c", sum_c, 3, 7);
    for (const export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        const std::string name = "sum.c-" + std::string(document_extension(application));
        SCOPED_TRACE(name);
        notes_->answers.push_back(user_answer::no);  // not opened
        start(application);
        EXPECT_TRUE(fs::is_regular_file(output_dir() + name));
        EXPECT_FALSE(said("Output path does not exist"));
    }
    // Only "Open it now?" was asked: the default folder was made without a question.
    EXPECT_EQ(notes_->questions.size(), 4U);
}

TEST_F(ExportFirstUse, AnyLanguageExportsToVisio) {
    TMySynEdit* editor = open("Sum.java", sum_java, 3, 7);
    EXPECT_NE(editor->doc.language, 1);  // not C/C++
    QAction* visio = actions_->action(export_application::visio);
    ASSERT_NE(visio, nullptr);
    EXPECT_TRUE(visio->isEnabled());
    notes_->answers.push_back(user_answer::no);
    start(export_application::visio);
    EXPECT_TRUE(fs::is_regular_file(output_dir() + "Sum.java-.vsdx"));
    EXPECT_FALSE(said("Only support"));
}

TEST_F(ExportFirstUse, ABeginMarkBelowTheEndMarkIsNamedAndNothingIsWritten) {
    open("sum.c", sum_c, 7, 3);
    start(export_application::powerpoint);
    EXPECT_TRUE(said("The begin mark (line 7) stands below the end mark (line 3)"));
    EXPECT_NE(window_->status_panel(hint_panel), " Exporting flowchart...");
    EXPECT_FALSE(fs::exists(output_dir() + "sum.c-.pptx"));
}

TEST_F(ExportFirstUse, TheResultNamesBothFilesAndSaysWhenNothingOpensThem) {
    open("sum.c", sum_c, 3, 7);
    notes_->answers.push_back(user_answer::yes);  // open it
    notes_->pages_open = false;
    start(export_application::powerpoint);
    ASSERT_EQ(notes_->questions.size(), 1U);
    const QString& written = notes_->questions[0];
    std::string stamped;
    for (const auto& entry : fs::directory_iterator(output_dir())) {
        if (entry.path().filename() != "sum.c-.pptx") stamped = entry.path().string();
    }
    ASSERT_FALSE(stamped.empty());
    EXPECT_TRUE(written.contains(QString::fromStdString(output_dir() + "sum.c-.pptx")));
    EXPECT_TRUE(written.contains(QString::fromStdString(stamped))) << written.toStdString();
    ASSERT_EQ(notes_->pages.size(), 1U);
    EXPECT_TRUE(said("No application could be started to open "));
}

TEST_F(ExportFirstUse, ReplacingAnExistingOutputWritesItAnew) {
    open("sum.c", sum_c, 3, 7);
    fs::create_directories(output_dir());
    const std::string output = output_dir() + "sum.c-.docx";
    std::ofstream(output) << "an older file";
    notes_->answers = {user_answer::yes, user_answer::no};  // replace it, do not open it
    start(export_application::word);
    std::ifstream in(output, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "PK");
    ASSERT_FALSE(notes_->questions.empty());
    EXPECT_EQ(notes_->questions.front(), "sum.c-.docx already exists. Replace it?");
    // Nothing is left of the write beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(output_dir())) ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(ExportFirstUse, TheDialogsSettingsReachTheSettingsFileWhenItCloses) {
    open("sum.c", sum_c, 3, 7);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfmExportOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    actions_->export_to(export_application::word);
    const ini_file stored = ini_file::load(window_->paths().ini_file());
    EXPECT_EQ(stored.value("word", "output"), output_dir());
}

}  // namespace
}  // namespace tarnwell
