#include "officeexport/export_options_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <deque>
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
        fs::create_directories(output());
        for (const char* name : {"korvel.vssx", "korvel.vsdx", "hollin.docx", "hollin.pptx"}) {
            std::ofstream(dir.path() / "stencil" / name) << "x";
        }
    }
    std::string input_ini() const { return (dir.path() / "input.ini").string(); }
    std::string settings_file() const { return (dir.path() / "tarnwell.ini").string(); }
    // The default output folder, not the old one beside the program.
    std::string output() const { return (dir.path() / "Documents" / "Tarnwell").string() + "/"; }
    export_dialog_places places() const {
        return {dir.path(), output(), settings_file(), input_ini()};
    }
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
    Tfmword dialog(f.places(), f.settings, f.messages, f.recorder());
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
    Tfmvisio dialog(f.places(), f.settings, f.messages, f.recorder());
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
    Tfmpowerpoint dialog(f.places(), f.settings, f.messages, f.recorder());
    QTimer::singleShot(0, &dialog, [&] {
        dialog.findChild<QCheckBox*>()->setChecked(false);  // "Display keyword"
        dialog.start();
        dialog.accept();
    });
    EXPECT_TRUE(dialog.show_for("a.c", "main", 4));
    ASSERT_EQ(f.runs.size(), 1U);
    const start_outcome& run = f.runs[0];
    const std::string output = f.output();
    EXPECT_EQ(run.parameters.output_file, output + "a.c-main.pptx");
    EXPECT_EQ(run.stamped_file.rfind(output, 0), 0U);
    EXPECT_FALSE(run.parameters.show_keyword);
    EXPECT_EQ(run.parameters.function_name, "main");
    EXPECT_EQ(run.parameters.expand_level, 4);
    EXPECT_EQ(run.parameters.export_keywords()[0], "main");
}

TEST(ExportOptionsDialog, AnExistingOutputFileIsReplacedOnYesAndNamedAgainOnNo) {
    dialog_fixture f;
    Tfmpowerpoint dialog(f.places(), f.settings, f.messages, f.recorder());
    const std::string output = f.output() + "a.c-main.pptx";
    std::ofstream(output) << "x";
    f.messages.answers = {user_answer::no, user_answer::yes};
    QTimer::singleShot(0, &dialog, [&] {
        dialog.start();
        EXPECT_TRUE(focused_on(dialog, option_field::output_name));
        EXPECT_TRUE(f.runs.empty());
        dialog.start();
        dialog.accept();
    });
    EXPECT_TRUE(dialog.show_for("a.c", "main", 4));
    EXPECT_EQ(f.messages.questions,
              std::vector<QString>(2, "a.c-main.pptx already exists. Replace it?"));
    EXPECT_TRUE(f.messages.messages.empty());
    ASSERT_EQ(f.runs.size(), 1U);
    EXPECT_EQ(f.runs[0].parameters.output_file, output);
}

// A fresh installation writes to the default folder, made without a question; a folder the
// user named is made only when the user agrees.
TEST(ExportOptionsDialog, AMissingOutputFolderIsMadeForTheDefaultAndOfferedForAnother) {
    dialog_fixture f;
    export_dialog_places places = f.places();
    places.output_dir = (f.dir.path() / "Documents" / "Tarnwell").string() + "/";
    const std::string typed = (f.dir.path() / "mine").string();
    const struct {
        std::string folder;
        std::deque<user_answer> answers;
        bool made;
    } cases[] = {
        {places.output_dir, {}, true},
        {typed, {user_answer::no}, false},
        {typed, {user_answer::yes}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        f.runs.clear();
        f.messages.answers = c.answers;
        f.messages.questions.clear();
        Tfmword dialog(places, f.settings, f.messages, f.recorder());
        QTimer::singleShot(0, &dialog, [&] {
            qobject_cast<QComboBox*>(dialog.field_widget(option_field::output_dir))
                ->setEditText(QString::fromStdString(c.folder));
            dialog.start();
            if (!c.made) EXPECT_TRUE(focused_on(dialog, option_field::output_dir));
            dialog.accept();
        });
        dialog.show_for("a.c", "main", 0);
        EXPECT_EQ(fs::is_directory(c.folder), c.made);
        EXPECT_EQ(f.runs.size(), c.made ? 1U : 0U);
        EXPECT_EQ(f.messages.questions.size(), c.answers.size());
        EXPECT_TRUE(f.messages.messages.empty()) << f.messages.messages.front().toStdString();
    }
}

TEST(ExportOptionsDialog, TheFourDialogsShareTheDefaultOutputFolder) {
    dialog_fixture f;
    for (const export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        TfmExportOptions dialog(application, f.places(), f.settings, f.messages, f.recorder());
        QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
        dialog.show_for("a.c", "main", 0);
        EXPECT_EQ(dialog.fields().output_dir, f.output()) << dialog.windowTitle().toStdString();
    }
    // A folder the user chose is kept over the default.
    f.settings.set_value("excel", "output", "/home/u/charts/");
    Tfmexcel excel(f.places(), f.settings, f.messages, f.recorder());
    QTimer::singleShot(0, &excel, [&] { excel.reject(); });
    excel.show_for("a.c", "main", 0);
    EXPECT_EQ(excel.fields().output_dir, "/home/u/charts/");
}

// Clicks the font colour button of a dialog that is showing and picks red 200, green 30, blue 10
// in the colour dialog it opens.
void choose_font_colour(TfmExportOptions& dialog) {
    auto* button = dialog.findChild<QToolButton*>("fontColour");
    ASSERT_NE(button, nullptr);
    QTimer::singleShot(0, [] {
        auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        picker->setCurrentColor(QColor(200, 30, 10));
        picker->accept();
    });
    button->click();
}

constexpr std::uint32_t chosen_colour = 200U | 30U << 8 | 10U << 16;

TEST(ExportOptionsDialog, TheFontColourIsChosenAndReachesTheExport) {
    dialog_fixture f;
    Tfmword dialog(f.places(), f.settings, f.messages, f.recorder());
    QTimer::singleShot(0, &dialog, [&] {
        choose_font_colour(dialog);
        dialog.start();
        dialog.accept();
    });
    dialog.show_for("a.c", "main", 0);
    ASSERT_EQ(f.runs.size(), 1U);
    EXPECT_EQ(f.runs[0].parameters.font.colour, chosen_colour);
}

// The font chosen in one run of the program is the font of the next: the settings file is all
// that the two share.
TEST(ExportOptionsDialog, TheChosenFontColourComesBackAfterARestart) {
    dialog_fixture f;
    {
        Tfmpowerpoint dialog(f.places(), f.settings, f.messages, f.recorder());
        QTimer::singleShot(0, &dialog, [&] {
            choose_font_colour(dialog);
            dialog.reject();
        });
        dialog.show_for("a.c", "main", 0);
    }
    ini_file restarted = ini_file::load(f.settings_file());
    Tfmpowerpoint dialog(f.places(), restarted, f.messages, f.recorder());
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    dialog.show_for("a.c", "main", 0);
    EXPECT_EQ(dialog.settings().font.colour, chosen_colour);
    EXPECT_NE(dialog.findChild<QToolButton*>("fontColour")->styleSheet().indexOf("#c81e0a"), -1);
}

TEST(ExportOptionsDialog, ClosingWritesTheSettingsFile) {
    dialog_fixture f;
    Tfmexcel dialog(f.places(), f.settings, f.messages, f.recorder());
    QTimer::singleShot(0, &dialog, [&] {
        edit(dialog, option_field::width)->setText("2.25");
        dialog.reject();
    });
    dialog.show_for("a.c", "main", 0);
    EXPECT_EQ(ini_file::load(f.settings_file()).value("excel", "width"), "2.25");
}

}  // namespace
}  // namespace tarnwell
