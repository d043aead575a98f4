// The class half attached to the main window with every other half: its commands, menus,
// recent files, drops, command line, open folder, tree and the import's feedback.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "classmodel/uDiagramFrame.h"
#include "classwin/uConfig.h"
#include "classwin/uMainModule.h"
#include "classwin/uTraceForm.h"
#include "classwin/uTreeViewIntegrator.h"
#include "flowview/deal.h"
#include "flowview/flowchart_actions.h"
#include "flowview/office_export_actions.h"
#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

// Runs a step of the test's own each time the window shows a message.
class watching_notifier : public scripted_notifier {
  public:
    void message(const QString& text) override {
        scripted_notifier::message(text);
        if (on_message) on_message();
    }
    std::function<void()> on_message;
};

class MainModule : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir_.path() / "config").string()));
        auto messages = std::make_unique<watching_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(
            data_, program_paths{fs::path(TARNWELL_DATA_DIR), dir_.path()}, std::move(messages));
        add_code_explorer(*window_, *new flowchart_actions(*window_));
        new office_export_actions(*window_);
        module_ = new TMainModule(*window_, Config(), (dir_.path() / "entry.desktop").string());
        window_->resize(1000, 700);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        // In the folder of its subclass, where the import finds it by its name.
        Write("q/Base.java", "package p;\npublic class Base {\n  private int hidden;\n}\n");
        Write("q/Derived.java",
              "package q;\nimport p.Base;\npublic class Derived extends Base {\n"
              "  protected int kept;\n}\n");
        Write("q/Other.java", "package q;\npublic class Other {\n  Derived part;\n}\n");
    }
    void TearDown() override {
        window_.reset();
        qunsetenv("XDG_CONFIG_HOME");
    }
    std::unique_ptr<TConfig> Config() const {
        return std::make_unique<TConfig>(std::make_unique<QSettings>(
            QString::fromStdString((dir_.path() / "tarnwell.conf").string()),
            QSettings::IniFormat));
    }
    QString Write(const std::string& name, const std::string& text) const {
        const fs::path file = dir_.path() / "src" / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return QString::fromStdString(file.string());
    }
    QString At(const std::string& name) const {
        return QString::fromStdString((dir_.path() / "src" / name).string());
    }
    QAction* Action(const char* name) const {
        auto* found = window_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QStringList ReopenCaptions() const {
        QStringList captions;
        for (const QAction* item : module_->ReopenMenu()->actions()) captions << item->text();
        return captions;
    }
    QStringList Documents() const {
        QStringList names;
        for (int i = 0; i < window_->document_count(); ++i) names << window_->tab_caption(i);
        return names;
    }

    temp_dir dir_;
    TeditorDataModule data_;
    watching_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
    TMainModule* module_ = nullptr;
};

TEST_F(MainModule, CommandsHaveTheirCaptionsKeysMenusAndEnabling) {
    struct command_case {
        const char* name;
        const char* caption;
        QKeySequence key;
        const char* menu;
        bool enabled_at_start;
    };
    const command_case cases[] = {
        {"FileOpenAction", "&Open...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
         "modelFileMenu", true},
        {"OpenFolderAction", "Open folder...", {}, "modelFileMenu", true},
        {"SettingsAction", "Change settings...", {}, "modelFileMenu", true},
        {"LayoutDiagramAction", "Layout diagram", {}, "diagramMenu", false},
        {"UnhideElementsAction", "Show hidden diagram elements", {}, "diagramMenu", false},
        {"CopyDiagramClipboardAction", "Copy diagram to clipboard", {}, "diagramMenu", false},
        {"SaveDiagramAction", "Save as picture...", {}, "diagramMenu", false},
        {"ExportXmiAction", "Export model to XMI-file", {}, "diagramMenu", false},
        {"DocGenPreviewAction", "Preview project report", {}, "exportMenu", false},
        {"DocGenAction", "Generate project report", {}, "exportMenu", false},
    };
    for (const command_case& c : cases) {
        SCOPED_TRACE(c.name);
        QAction* command = Action(c.name);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(command->shortcut(), c.key);
        EXPECT_EQ(command->isEnabled(), c.enabled_at_start);
        auto* menu = window_->findChild<QMenu*>(QString::fromLatin1(c.menu));
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->actions().contains(command));
    }
    EXPECT_EQ(Action("FileOpenAction")->toolTip(), QStringLiteral("Open..."));
    EXPECT_EQ(Action("LayoutDiagramAction")->toolTip(), QStringLiteral("Layout"));
    // The editor's Open keeps its key.
    EXPECT_EQ(Action("fileopen")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));

    ASSERT_TRUE(module_->Import({At("q/Derived.java")}));
    for (const char* name :
         {"LayoutDiagramAction", "CopyDiagramClipboardAction", "SaveDiagramAction",
          "ExportXmiAction", "DocGenPreviewAction", "DocGenAction"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }
}

TEST_F(MainModule, NoTwoCommandsOfTheWholeWindowShareAKey) {
    QList<QKeySequence> keys;
    for (const QAction* command : window_->findChildren<QAction*>()) {
        for (const QKeySequence& key : command->shortcuts()) {
            EXPECT_FALSE(keys.contains(key))
                << key.toString().toStdString() << " " << command->objectName().toStdString();
            keys << key;
        }
    }
    EXPECT_GT(keys.size(), 20);
}

TEST_F(MainModule, OpenImportsRecentListOrdersAndReopens) {
    notes_->open_files = {At("q/Derived.java"), At("q/Other.java")};
    Action("FileOpenAction")->trigger();
    EXPECT_EQ(ReopenCaptions(), QStringList({QStringLiteral("&0 ") + At("q/Other.java"),
                                             QStringLiteral("&1 ") + At("q/Derived.java")}));
    // The Java importer shows each source of the list in the editor; Base.java, pulled in by
    // its name, is read but not shown.
    EXPECT_TRUE(Documents().contains(QStringLiteral("Derived.java")));
    EXPECT_FALSE(Documents().contains(QStringLiteral("Base.java")));
    EXPECT_TRUE(Documents().contains(QStringLiteral("Other.java")));
    EXPECT_EQ(window_->status_panel(TMainform::status_panel_count - 1),
              QStringLiteral(" 3 files read."));

    module_->ReopenMenu()->actions().at(1)->trigger();
    EXPECT_EQ(ReopenCaptions().front(), QStringLiteral("&0 ") + At("q/Derived.java"));
    EXPECT_EQ(module_->ReopenMenu()->actions().size(), 2);
    // The list outlives the program.
    EXPECT_EQ(Config()->RecentFiles(), QStringList({At("q/Derived.java"), At("q/Other.java")}));

    for (int i = 0; i < 11; ++i) {
        module_->Import({Write("r/F" + std::to_string(i) + ".java",
                               "package r;\nclass F" + std::to_string(i) + " {}\n")});
    }
    EXPECT_EQ(ReopenCaptions().size(), 10);
    EXPECT_EQ(ReopenCaptions().front(), QStringLiteral("&0 ") + At("r/F10.java"));
    EXPECT_FALSE(ReopenCaptions().contains(QStringLiteral("&9 ") + At("q/Derived.java")));
}

TEST_F(MainModule, FirstFileChoosesTheImporterOthersGoToTheEditor) {
    const QString notes = Write("notes.txt", "just text\n");
    std::ofstream(dir_.path() / "src" / "B.class") << "not a class file";
    EXPECT_TRUE(module_->Import({At("q/Other.java"), At("B.class"), notes}));
    EXPECT_TRUE(Documents().contains(QStringLiteral("notes.txt")));
    EXPECT_FALSE(Documents().contains(QStringLiteral("B.class")));
    EXPECT_EQ(Config()->RecentFiles(), QStringList{At("q/Other.java")});
    // A first file no importer reads imports nothing and enables nothing.
    MainModule::TearDown();
    MainModule::SetUp();
    EXPECT_FALSE(module_->Import({Write("more.txt", "x\n")}));
    EXPECT_FALSE(Action("LayoutDiagramAction")->isEnabled());
    EXPECT_TRUE(Documents().contains(QStringLiteral("more.txt")));
}

TEST_F(MainModule, ALargeImportOpensNoSourceAndTheTreeOpensOneAtItsDeclaration) {
    QStringList eleven;
    for (int i = 0; i < 11; ++i) {
        const std::string n = std::to_string(i);
        eleven << Write("many/M" + n + ".java",
                        "package many;\n\n/** Number " + n + ". */\npublic class M" + n + " {}\n");
    }
    const int before = window_->document_count();
    ASSERT_TRUE(module_->Import(eleven));
    EXPECT_EQ(window_->document_count(), before);
    ASSERT_TRUE(module_->Import(eleven.mid(0, 10)));
    EXPECT_EQ(window_->document_count(), before + 10);

    ASSERT_TRUE(module_->Import(eleven));
    QTreeWidgetItem* node = nullptr;
    for (QTreeWidgetItem* found :
         module_->Tree()->findItems(QStringLiteral("M10"), Qt::MatchExactly | Qt::MatchRecursive)) {
        if (TTreeViewIntegrator::IsPrimary(found)) node = found;
    }
    ASSERT_NE(node, nullptr);
    emit module_->Tree()->itemDoubleClicked(node, 0);
    EXPECT_EQ(window_->tab_caption(window_->document_count() - 1), QStringLiteral("M10.java"));
    ASSERT_NE(window_->current_document(), nullptr);
    EXPECT_EQ(window_->current_document()->caret(), (bookmark_pos{1, 4}));
}

TEST_F(MainModule, AFirstFileNoImporterReadsLeavesTheChoiceToTheNext) {
    const QString notes = Write("notes.txt", "read me\n");
    EXPECT_TRUE(module_->Import({notes, At("q/Other.java")}));
    EXPECT_TRUE(Action("LayoutDiagramAction")->isEnabled());
    EXPECT_TRUE(Documents().contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(Config()->RecentFiles(), QStringList{At("q/Other.java")});
}

TEST_F(MainModule, TheDiagramFollowsTheTreeAfterAnotherImport) {
    ASSERT_TRUE(module_->Import({At("q/Derived.java"), At("q/Other.java")}));
    TTreeViewIntegrator* tree = module_->Tree();
    TRtfdDiagram& diagram = module_->Diagram()->Diagram();
    tree->setCurrentItem(tree->topLevelItem(1));
    ASSERT_TRUE(diagram.ShowsAllClasses());
    ASSERT_TRUE(module_->Import({At("q/Derived.java"), At("q/Other.java")}));
    EXPECT_FALSE(diagram.ShowsAllClasses());
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_TRUE(diagram.ShowsAllClasses());
}

TEST_F(MainModule, DroppedFilesAreImported) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(At("q/Derived.java"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Config()->RecentFiles(), QStringList{At("q/Derived.java")});
    EXPECT_TRUE(Action("SaveDiagramAction")->isEnabled());
    delete data;
}

TEST_F(MainModule, InputThatCouldPullTheModelAwayWaitsForTheImport) {
    Write("q/Later.java", "package q;\nclass Later {}\n");
    bool closed_during = true;
    bool second_import = true;
    bool tree_enabled = true;
    bool open_enabled = true;
    bool tried = false;
    notes_->on_message = [&] {
        if (std::exchange(tried, true)) return;
        closed_during = window_->close();
        second_import = module_->Import({At("q/Other.java")});
        tree_enabled = module_->Tree()->isEnabled();
        open_enabled = Action("FileOpenAction")->isEnabled();
    };
    EXPECT_TRUE(module_->Import({At("q/Missing.java"), At("q/Later.java")}));
    ASSERT_FALSE(notes_->messages.empty());
    EXPECT_FALSE(closed_during);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(second_import);
    EXPECT_FALSE(tree_enabled);
    EXPECT_FALSE(open_enabled);
    // Afterwards everything answers again, and the file after the broken one was read.
    EXPECT_TRUE(module_->Tree()->isEnabled());
    EXPECT_TRUE(Action("FileOpenAction")->isEnabled());
    EXPECT_NE(module_->Tree()->findItems(QStringLiteral("Later"), Qt::MatchRecursive).size(), 0);
}

TEST_F(MainModule, CommandLineSwitchesAndMessages) {
    const std::string derived = At("q/Derived.java").toStdString();
    const std::vector<std::string_view> args = {"-v2", "-a-", "-Q", derived};
    module_->Start(args);
    EXPECT_EQ(notes_->messages,
              std::vector<QString>{QStringLiteral("Ignoring unknown switch: -Q")});
    TRtfdDiagram& diagram = module_->Diagram()->Diagram();
    EXPECT_EQ(diagram.VisibilityFilter(), 2);
    EXPECT_FALSE(diagram.ShowAssoc());
    EXPECT_EQ(Config()->RecentFiles(), QStringList{At("q/Derived.java")});
    // In memory only.
    EXPECT_EQ(Config()->Defaults().VisibilityFilter, 0);
    EXPECT_FALSE(module_->Failed());
    EXPECT_TRUE(window_->isVisible());

    notes_->messages.clear();
    const std::vector<std::string_view> help = {"-help"};
    module_->Start(help);
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_TRUE(notes_->messages[0].startsWith(QStringLiteral("Syntax: \t")));
    EXPECT_TRUE(notes_->messages[0].contains(QStringLiteral(" [options] [@list] [files...]")));
}

TEST_F(MainModule, ExportSwitchWritesAndClosesWithItsStatus) {
    struct export_case {
        std::string target;
        std::string file;
        bool failed;
        bool written;
    };
    const export_case cases[] = {
        {(dir_.path() / "out.xmi").string(), At("q/Other.java").toStdString(), false, true},
        {(dir_.path() / "no" / "such" / "out.xmi").string(), At("q/Other.java").toStdString(), true,
         false},
        // Nothing was imported: the (empty) model is still written, and the run failed.
        {(dir_.path() / "none.xmi").string(), (dir_.path() / "src" / "x.txt").string(), true, true},
    };
    for (const export_case& c : cases) {
        SCOPED_TRACE(c.target);
        MainModule::TearDown();
        MainModule::SetUp();
        const std::string option = "-x" + c.target;
        const std::vector<std::string_view> args = {option, c.file};
        module_->Start(args);
        EXPECT_EQ(module_->Failed(), c.failed);
        EXPECT_EQ(fs::exists(c.target), c.written);
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 3000);
    }
}

TEST_F(MainModule, TraceSwitchShowsTheTraceWindow) {
    const std::string other = At("q/Other.java").toStdString();
    const std::vector<std::string_view> args = {"-traceon", other, other};
    module_->Start(args);
    ASSERT_NE(module_->TraceWindow(), nullptr);
    EXPECT_TRUE(module_->TraceWindow()->isVisible());
    EXPECT_TRUE(module_->TraceWindow()->Text().contains(
        QStringLiteral("Skipping file, already parsed: ") + At("q/Other.java")));
}

TEST_F(MainModule, OpenFolderTakesSortedFilesAndSurvivesLinkLoops) {
    fs::create_directory_symlink(dir_.path() / "src", dir_.path() / "src" / "q" / "loop");
    module_->SetOpenFolderChooser([&] {
        return TOpenFolderChoice{(dir_.path() / "src").string(), ".java", true};
    });
    Action("OpenFolderAction")->trigger();
    EXPECT_EQ(Config()->RecentFiles(),
              QStringList({At("q/Other.java"), At("q/Derived.java"), At("q/Base.java")}));

    module_->SetOpenFolderChooser([&] {
        return TOpenFolderChoice{(dir_.path() / "src").string(), ".class", true};
    });
    Action("OpenFolderAction")->trigger();
    EXPECT_EQ(notes_->messages, std::vector<QString>{QStringLiteral("No files found")});
}

TEST_F(MainModule, TreeShowsPackagesAndAncestorsAndLeadsTheDiagram) {
    ASSERT_TRUE(module_->Import({At("q/Derived.java"), At("q/Other.java")}));
    TTreeViewIntegrator* tree = module_->Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* packages = tree->topLevelItem(0);
    EXPECT_EQ(packages->text(0), QStringLiteral("Packages"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("All classes"));
    QStringList names;
    for (int i = 0; i < packages->childCount(); ++i) names << packages->child(i)->text(0);
    EXPECT_EQ(names, QStringList({QStringLiteral("<<Unknown>>"), QStringLiteral("p"),
                                  QStringLiteral("q")}));
    EXPECT_EQ(TTreeViewIntegrator::PictureOf(packages->child(2)),
              TTreeViewIntegrator::PackagePicture);

    QTreeWidgetItem* derived = packages->child(2)->child(0);
    ASSERT_EQ(derived->text(0), QStringLiteral("Derived"));
    EXPECT_EQ(TTreeViewIntegrator::PictureOf(derived), TTreeViewIntegrator::ClassPicture);
    tree->setCurrentItem(derived);
    EXPECT_EQ(module_->Diagram()->Diagram().Package()->Name(), "q");

    QTreeWidgetItem* ancestor = derived->child(0);
    ASSERT_EQ(ancestor->text(0), QStringLiteral("Ancestor: Base"));
    EXPECT_FALSE(TTreeViewIntegrator::IsPrimary(ancestor));
    module_->ClassPage()->hide();
    emit tree->itemDoubleClicked(ancestor, 0);
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Base"));
    EXPECT_EQ(tree->currentItem()->parent()->text(0), QStringLiteral("p"));
    EXPECT_EQ(module_->Diagram()->Diagram().Package()->Name(), "p");
    EXPECT_TRUE(module_->ClassPage()->isVisible());

    QTreeWidgetItem* base = tree->currentItem();
    ASSERT_EQ(base->childCount(), 1);
    EXPECT_EQ(base->child(0)->text(0), QStringLiteral("subclasses"));
    EXPECT_EQ(base->child(0)->child(0)->text(0), QStringLiteral("Derived"));
}

TEST_F(MainModule, SaveAsPictureAddsTheChosenTypesExtensionAndCopyPutsAPictureOnTheClipboard) {
    ASSERT_TRUE(module_->Import({At("q/Other.java")}));
    const QString png = QStringLiteral("PNG files (*.png)");
    const QString svg = QStringLiteral("SVG files (*.svg)");
    const QString all = QStringLiteral("All files (*)");
    struct picture_case {
        const char* name;
        QString filter;
        const char* written;
    };
    const picture_case cases[] = {
        {"first", png, "first.png"},
        {"second", svg, "second.svg"},
        {"third", all, "third.png"},
        // A name with an extension keeps it, whatever the filter.
        {"fourth.svg", png, "fourth.svg"},
    };
    QStringList offered;
    std::optional<TMainModule::TPictureName> answer;
    module_->SetPictureNameChooser([&](const QString&, const QString& filters) {
        offered = filters.split(QStringLiteral(";;"));
        return answer;
    });
    for (const picture_case& c : cases) {
        SCOPED_TRACE(c.name);
        answer = TMainModule::TPictureName{QString::fromStdString((dir_.path() / c.name).string()),
                                           c.filter};
        Action("SaveDiagramAction")->trigger();
        EXPECT_TRUE(fs::exists(dir_.path() / c.written));
        EXPECT_TRUE(offered.contains(c.filter));
    }
    EXPECT_FALSE(fs::exists(dir_.path() / "second.png"));
    EXPECT_EQ(offered.front(), png);
    // An existing file is replaced only when the user says so.
    const auto before = fs::last_write_time(dir_.path() / "first.png");
    answer = TMainModule::TPictureName{QString::fromStdString((dir_.path() / "first.png").string()),
                                       png};
    notes_->answers = {user_answer::no};
    Action("SaveDiagramAction")->trigger();
    EXPECT_EQ(fs::last_write_time(dir_.path() / "first.png"), before);

    Action("CopyDiagramClipboardAction")->trigger();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasImage());
    EXPECT_TRUE(copied->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
}

TEST_F(MainModule, ReportsAreWrittenToTheChosenOrAPrivateFolderAndOpened) {
    ASSERT_TRUE(module_->Import({At("q/Derived.java"), At("q/Other.java")}));
    const fs::path chosen = dir_.path() / "docs";
    fs::create_directory(chosen);
    std::vector<std::string> starts;
    module_->SetFolderChooser([&](const std::string& start) -> std::optional<std::string> {
        starts.push_back(start);
        return chosen.string();
    });
    Action("DocGenAction")->trigger();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], (dir_.path() / "src" / "q").string());
    for (const char* file :
         {"overview.html", "styles.css", "p_overview.png", "p_overview_diagram.html"}) {
        EXPECT_TRUE(fs::exists(chosen / file)) << file;
    }
    ASSERT_EQ(notes_->pages.size(), 1u);
    EXPECT_EQ(notes_->pages[0],
              QUrl::fromLocalFile(QString::fromStdString((chosen / "overview.html").string())));
    EXPECT_TRUE(notes_->messages.empty());

    // A cancelled choice writes nothing and says nothing.
    module_->SetFolderChooser([](const std::string&) { return std::nullopt; });
    Action("DocGenAction")->trigger();
    EXPECT_EQ(notes_->pages.size(), 1u);

    Action("DocGenPreviewAction")->trigger();
    ASSERT_EQ(module_->TempFolders().Folders().size(), 1u);
    const fs::path preview = module_->TempFolders().Folders().front();
    EXPECT_TRUE(fs::exists(preview / "overview.html"));
    ASSERT_EQ(notes_->pages.size(), 2u);
    EXPECT_EQ(notes_->pages[1].toLocalFile(),
              QString::fromStdString((preview / "overview.html").string()));
    EXPECT_TRUE(Action("DocGenAction")->isEnabled());
}

}  // namespace
}  // namespace tarnwell
