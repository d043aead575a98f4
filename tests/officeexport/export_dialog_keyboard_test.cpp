// The four export options dialogs worked from the keyboard: Tab goes through every control of
// both pages in the order they are read.
#include <gtest/gtest.h>

#include "officeexport/export_options_dialog.h"
#include "scripted_notifier.h"
#include "tab_walk.h"
#include "temp_dir.h"
#include "workspace/ini_file.h"

namespace tarnwell {
namespace {

TEST(ExportDialogKeyboard, TabGoesThroughBothPagesInReadingOrder) {
    temp_dir dir;
    ini_file settings;
    scripted_notifier notes;
    const std::string input_ini = (dir.path() / "input.ini").string();
    for (const export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        TfmExportOptions dialog(application, {dir.path(), "", "", input_ini}, settings, notes,
                                [](const start_outcome&) { return false; });
        expect_tab_follows_reading(dialog, dialog.windowTitle().toStdString());
    }
}

}  // namespace
}  // namespace tarnwell
