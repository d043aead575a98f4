// The settings of the class half: stored values, the recent list, the settings dialog and the
// file manager's entry.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "classwin/uConfig.h"
#include "classwin/uRegisterExtension.h"
#include "classwin/uSettingsForm.h"
#include "temp_dir.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

class ClassSettings : public ::testing::Test {
  protected:
    std::unique_ptr<TConfig> Load() const {
        return std::make_unique<TConfig>(
            std::make_unique<QSettings>(QString::fromStdString(File()), QSettings::IniFormat));
    }
    std::string File() const { return (dir_.path() / "tarnwell.conf").string(); }

    temp_dir dir_;
};

TEST_F(ClassSettings, StoredValuesOfTheWrongKindKeepTheirDefaults) {
    struct value_case {
        const char* text;
        int save;
        bool assoc;
        int filter;
    };
    const value_case cases[] = {
        {"", 1, false, 0},
        {"[General]\nDiSave=0\nDiShowAssoc=1\nDiVisibilityFilter=3\n", 0, true, 3},
        {"[General]\nDiSave=7\nDiShowAssoc=2\nDiVisibilityFilter=4\n", 2, false, 0},
        {"[General]\nDiSave=never\nDiShowAssoc=yes\nDiVisibilityFilter=-1\n", 1, false, 0},
    };
    int n = 0;
    for (const value_case& c : cases) {
        SCOPED_TRACE(c.text);
        // One file per case: the settings of a file read once in this process are kept while
        // its size and time look unchanged.
        const std::string file = (dir_.path() / ("case" + std::to_string(++n) + ".conf")).string();
        std::ofstream(file) << c.text;
        const std::unique_ptr<TConfig> config = std::make_unique<TConfig>(
            std::make_unique<QSettings>(QString::fromStdString(file), QSettings::IniFormat));
        EXPECT_EQ(config->Defaults().Save, c.save);
        EXPECT_EQ(config->Defaults().ShowAssoc, c.assoc);
        EXPECT_EQ(config->Defaults().VisibilityFilter, c.filter);
    }
}

TEST_F(ClassSettings, RecentFilesAreAListNewestFirstOfTenWithCaseKept) {
    std::unique_ptr<TConfig> config = Load();
    for (int i = 0; i < 11; ++i) config->AddRecentFile(QStringLiteral("/src/F%1.java").arg(i));
    EXPECT_EQ(config->RecentFiles().size(), TConfig::RecentCapacity);
    EXPECT_EQ(config->RecentFiles().front(), QStringLiteral("/src/F10.java"));
    EXPECT_FALSE(config->RecentFiles().contains(QStringLiteral("/src/F0.java")));
    config->AddRecentFile(QStringLiteral("/src/F5.java"));
    EXPECT_EQ(config->RecentFiles().front(), QStringLiteral("/src/F5.java"));
    EXPECT_EQ(config->RecentFiles().count(QStringLiteral("/src/F5.java")), 1);
    // Names that differ only in case are different files here.
    config->AddRecentFile(QStringLiteral("/src/f5.java"));
    EXPECT_EQ(config->RecentFiles().mid(0, 2),
              QStringList({QStringLiteral("/src/f5.java"), QStringLiteral("/src/F5.java")}));
    // A comma is part of a name, not a separator.
    config->AddRecentFile(QStringLiteral("/src/a,b.java"));
    const QStringList kept = config->RecentFiles();
    config->StoreRecentFiles();
    EXPECT_EQ(Load()->RecentFiles(), kept);

    std::unique_ptr<TConfig> single = std::make_unique<TConfig>(std::make_unique<QSettings>(
        QString::fromStdString((dir_.path() / "one.conf").string()), QSettings::IniFormat));
    single->AddRecentFile(QStringLiteral("/src/x,y.java"));
    single->StoreRecentFiles();
    single.reset();
    const TConfig reread(std::make_unique<QSettings>(
        QString::fromStdString((dir_.path() / "one.conf").string()), QSettings::IniFormat));
    EXPECT_EQ(reread.RecentFiles(), QStringList{QStringLiteral("/src/x,y.java")});
}

TEST_F(ClassSettings, DialogStoresOnOkOnlyAndWritesTheEntryWhenItsBoxIsClicked) {
    const std::string entry = (dir_.path() / "apps" / "tarnwell-model-diagram.desktop").string();
    {
        std::unique_ptr<TConfig> config = Load();
        TSettingsForm form(*config, entry, "/opt/my tools/tarnwell");
        EXPECT_FALSE(form.ShellCheck()->isChecked());
        EXPECT_EQ(form.DiSaveCombo()->currentIndex(), 1);
        EXPECT_EQ(form.DiSaveCombo()->count(), 3);
        EXPECT_EQ(form.VisibilityCombo()->itemText(2), QStringLiteral("Hide private + protected"));
        form.DiSaveCombo()->setCurrentIndex(2);
        form.ShowAssocCheck()->setChecked(true);
        form.VisibilityCombo()->setCurrentIndex(3);
        form.reject();
        EXPECT_EQ(Load()->Defaults().Save, 1);
        EXPECT_FALSE(fs::exists(entry));
    }
    {
        std::unique_ptr<TConfig> config = Load();
        TSettingsForm form(*config, entry, "/opt/my tools/tarnwell");
        form.DiSaveCombo()->setCurrentIndex(0);
        form.ShowAssocCheck()->setChecked(true);
        form.VisibilityCombo()->setCurrentIndex(2);
        QTest::mouseClick(form.ShellCheck(), Qt::LeftButton, {},
                          QPoint(4, form.ShellCheck()->height() / 2));
        EXPECT_TRUE(form.ShellCheck()->isChecked());
        form.accept();
        EXPECT_EQ(config->Defaults().VisibilityFilter, 2);
    }
    const std::unique_ptr<TConfig> reread = Load();
    EXPECT_EQ(reread->Defaults().Save, 0);
    EXPECT_TRUE(reread->Defaults().ShowAssoc);
    EXPECT_EQ(reread->Defaults().VisibilityFilter, 2);
    ASSERT_TRUE(IsModelDiagramEntryRegistered(entry));
    std::stringstream text;
    text << std::ifstream(entry).rdbuf();
    EXPECT_NE(text.str().find("Exec=\"/opt/my tools/tarnwell\" %F\n"), std::string::npos);
    EXPECT_NE(text.str().find("Name=View as model diagram\n"), std::string::npos);

    // The box starts ticked now; clicking it off and OK removes the entry.
    const std::unique_ptr<TConfig> last = Load();
    TSettingsForm again(*last, entry, "/opt/my tools/tarnwell");
    EXPECT_TRUE(again.ShellCheck()->isChecked());
    QTest::mouseClick(again.ShellCheck(), Qt::LeftButton, {},
                      QPoint(4, again.ShellCheck()->height() / 2));
    again.accept();
    EXPECT_FALSE(fs::exists(entry));
}

TEST(ModelDiagramEntry, ProgramPathIsQuotedAndEscaped) {
    struct path_case {
        const char* program;
        const char* exec;
    };
    const path_case cases[] = {
        {"/usr/bin/tarnwell", "Exec=\"/usr/bin/tarnwell\" %F\n"},
        {"/a\"b/$x`y", "Exec=\"/a\\\\\"b/\\\\$x\\\\`y\" %F\n"},
        {"/a\\b", "Exec=\"/a\\\\\\\\b\" %F\n"},
    };
    for (const path_case& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_NE(ModelDiagramEntry(c.program).find(c.exec), std::string::npos)
            << ModelDiagramEntry(c.program);
    }
    EXPECT_EQ(ModelDiagramEntryFile("/x/data", "/home/u"),
              "/x/data/applications/tarnwell-model-diagram.desktop");
    EXPECT_EQ(ModelDiagramEntryFile(nullptr, "/home/u"),
              "/home/u/.local/share/applications/tarnwell-model-diagram.desktop");
    EXPECT_EQ(ModelDiagramEntryFile("relative", nullptr), "");
}

}  // namespace
}  // namespace tarnwell
