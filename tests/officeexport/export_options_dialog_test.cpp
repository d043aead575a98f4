#include "officeexport/export_options_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <fstream>

#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/broxcombobox.h"
#include "workspace/ini_file.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

struct dialog_fixture {
    dialog_fixture() {
        fs::create_directories(dir.path() / "stencil");
        fs::create_directories(dir.path() / "output");
        for (const char* name : {"korvel.vssx", "korvel.vsdx", "hollin.docx", "hollin.pptx"}) {
            std::ofstream(dir.path() / "stencil" / name) << "x";
        }
    }
    std::string input_ini() const { return (dir.path() / "input.ini").string(); }
    TfmExportOptions::export_runner recorder() {
        return [this](const start_outcome& start) {
            runs.push_back(start);
            return true;
        };
    }

    temp_dir dir;
    ini_file settings;
    scripted_notifier messages;
    std::vector<start_outcome> runs;
};

// The widget the dialog's focus is on is the field or, for a combo box, its text line.
bool focused_on(TfmExportOptions& dialog, option_field field) {
    QWidget* widget = dialog.field_widget(field);
    QWidget* focused = dialog.focusWidget();
    return widget != nullptr && (focused == widget || focused == widget->focusProxy());
}

QLineEdit* edit(TfmExportOptions& dialog, option_field field) {
    return qobject_cast<QLineEdit*>(dialog.field_widget(field));
}

TEST(ExportOptionsDialog, ShowsTheStoredSettingsAndKeepsThemOnClose) {
    dialog_fixture f;
    f.settings.set_value("word", "width", "2,5");
    f.settings.set_value("word", "22", "Otherwise");
    f.settings.set_value("word", "hfont", "DejaVu Sans");
    Tfmword dialog(f.dir.path(), f.settings, f.input_ini(), f.messages, f.recorder());
    EXPECT_EQ(dialog.windowTitle(), "Options of Microsoft Word output");
    EXPECT_EQ(dialog.fields().width, "2.5");
    EXPECT_EQ(dialog.settings().keywords[22], "Otherwise");
    EXPECT_EQ(dialog.settings().font.name, "DejaVu Sans");
    EXPECT_EQ(dialog.field_widget(option_field::stencil), nullptr);
    // The hidden keyword fields keep their texts all the same.
    const auto hidden = dialog.findChildren<QLineEdit*>();
    EXPECT_GE(hidden.size(), 30);

    edit(dialog, option_field::height)->setText("0.75");
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    EXPECT_FALSE(dialog.show_for("a.c", "main", 3));
    EXPECT_EQ(f.settings.value("word", "height"), "0.75");
    EXPECT_EQ(f.settings.value("word", "22"), "Otherwise");
    // The output name proposed on opening went into its history on closing.
    const ini_file input = ini_file::load(f.input_ini());
    EXPECT_EQ(input.value("OUTNAME", "BROX_0"), "a.c-main.docx");
    EXPECT_EQ(input.value("TEMLPATH", "BROX_0"),
              (f.dir.path() / "stencil" / "hollin.docx").string());
    EXPECT_TRUE(f.runs.empty());
}

TEST(ExportOptionsDialog, StartShowsTheFirstFailureAndFocusesItsField) {
    dialog_fixture f;
    Tfmvisio dialog(f.dir.path(), f.settings, f.input_ini(), f.messages, f.recorder());
    QTimer::singleShot(0, &dialog, [&] {
        edit(dialog, option_field::distance)->setText("0");
        edit(dialog, option_field::font_width)->setText("-1");
        dialog.start();
        EXPECT_TRUE(focused_on(dialog, option_field::distance));
        dialog.reject();
    });
    EXPECT_FALSE(dialog.show_for("a.c", "main", 0));
    ASSERT_EQ(f.messages.messages.size(), 1U);
    EXPECT_EQ(f.messages.messages[0], "Vertical space between two shapes error, please reset it");
    EXPECT_TRUE(f.runs.empty());
    EXPECT_EQ(f.messages.waits, 0);
}

TEST(ExportOptionsDialog, StartHandsTheCheckedExportToTheRunner) {
    dialog_fixture f;
    Tfmpowerpoint dialog(f.dir.path(), f.settings, f.input_ini(), f.messages, f.recorder());
    QTimer::singleShot(0, &dialog, [&] {
        dialog.findChild<QCheckBox*>()->setChecked(false);  // "Display keyword"
        dialog.start();
        dialog.accept();
    });
    EXPECT_TRUE(dialog.show_for("a.c", "main", 4));
    ASSERT_EQ(f.runs.size(), 1U);
    const start_outcome& run = f.runs[0];
    const std::string output = (f.dir.path() / "output").string() + "/";
    EXPECT_EQ(run.parameters.output_file, output + "a.c-main.pptx");
    EXPECT_EQ(run.stamped_file.rfind(output, 0), 0U);
    EXPECT_FALSE(run.parameters.show_keyword);
    EXPECT_EQ(run.parameters.function_name, "main");
    EXPECT_EQ(run.parameters.expand_level, 4);
    EXPECT_EQ(run.parameters.export_keywords()[0], "main");

    // The same name again: the file is there now, so the dialog asks and exports nothing.
    std::ofstream(run.parameters.output_file) << "x";
    f.messages.answers.push_back(user_answer::yes);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.start();
        EXPECT_TRUE(focused_on(dialog, option_field::output_name));
        dialog.reject();
    });
    EXPECT_FALSE(dialog.show_for("a.c", "main", 4));
    EXPECT_EQ(f.messages.question_captions, std::vector<QString>{"Warning"});
    EXPECT_EQ(f.runs.size(), 1U);
}

}  // namespace
}  // namespace tarnwell
