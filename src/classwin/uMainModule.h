// The class half in the main window: the object model, the "Class" page with the model tree,
// the overview and the diagram, the commands of the File, Diagram and Export menus that concern
// the model, the recent files, dropped files, the command line, and the import's feedback.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classmodel/uDocGen.h"
#include "classmodel/uIntegrator.h"
#include "classmodel/uJavaParser.h"
#include "classmodel/uModel.h"
#include "classmodel/uRtfdDiagram.h"
#include "classwin/uCommandLine.h"
#include "classwin/uOpenFolder.h"

class QAction;
class QDockWidget;
class QMenu;
class QTimer;

namespace tarnwell {

class TConfig;
class TDiagramFrame;
class TMainform;
class TTraceForm;
class TTreeViewIntegrator;
class TZoomFrame;

class TMainModule : public QObject, public IImportFeedback, public IDocumentOpener {
    Q_OBJECT
  public:
    // The folder picked for documentation, starting at a folder; none when cancelled.
    using FolderChooser = std::function<std::optional<std::string>(const std::string&)>;
    using OpenFolderChooser = std::function<std::optional<TOpenFolderChoice>()>;
    // A file name for a picture and the filter chosen with it; none when cancelled.
    struct TPictureName {
        QString File;
        QString Filter;
    };
    using PictureNameChooser =
        std::function<std::optional<TPictureName>(const QString& start, const QString& filters)>;

    // A larger import shows none of its sources in the editor: a folder of them would open
    // hundreds of pages. The model tree opens a class's source on a double click.
    static constexpr std::size_t max_opened_sources = 10;

    // Attaches the class half to the window, which owns it. `entry_file` is the file manager's
    // "View as model diagram" entry (see uRegisterExtension).
    TMainModule(TMainform& window, std::unique_ptr<TConfig> config, std::string entry_file);
    ~TMainModule() override;

    // The command line after the program's name; without arguments the sample is imported.
    void Start(std::span<const std::string_view> args);
    // Imports a list of files as Open, drop, Reopen and the command line do; files of a type
    // no importer reads open in the editor, and so do the sources read unless there are more
    // than `max_opened_sources`. False while another run is going.
    bool Import(const QStringList& files);
    void GenerateDocumentation(const std::string& folder, bool preview);
    // Into `file`, or into a file the user picks when it is empty. False on failure.
    bool ExportXmi(const std::string& file);
    void OpenFolder();
    void SaveDiagramAsPicture();
    void CopyDiagramToClipboard();
    void ChangeSettings();

    // True while an import or a documentation run goes: input that could pull the model away
    // is held off and the window does not close.
    bool Busy() const { return busy_; }
    // Something failed during the command line's runs (-d, -x): the program's exit status is 1.
    bool Failed() const { return failed_; }

    TObjectModel& Model() { return model_; }
    TConfig& Config() { return *config_; }
    TDiagramFrame* Diagram() const { return diagram_; }
    TTreeViewIntegrator* Tree() const { return tree_; }
    TZoomFrame* Overview() const { return zoom_; }
    QDockWidget* ClassPage() const { return class_page_; }
    QMenu* ReopenMenu() const { return reopen_menu_; }
    TTraceForm* TraceWindow() const { return trace_; }
    const TIntegrators& Integrators() const { return integrators_; }
    TDocTempFolders& TempFolders() { return temp_folders_; }

    void SetFolderChooser(FolderChooser chooser) { choose_folder_ = std::move(chooser); }
    void SetOpenFolderChooser(OpenFolderChooser chooser) {
        choose_open_folder_ = std::move(chooser);
    }
    void SetPictureNameChooser(PictureNameChooser chooser) {
        choose_picture_name_ = std::move(chooser);
    }
    // Replaces the settings dialog, which is modal, by a step of the caller's.
    void SetSettingsDialog(std::function<void()> dialog) { settings_dialog_ = std::move(dialog); }

    // IImportFeedback
    void ShowStatus(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption, int maximum) override;
    void SetBusy(bool busy) override;
    // IDocumentOpener: an imported source is kept for the editor (see `Import`).
    void OpenDocument(const std::string& file) override;
    // Opens a source in the editor with the caret at the start of a line, from 1.
    void ShowSource(const QString& file, int line);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class doc_host;

    void CreateActions();
    void CreateMenus();
    void RebuildReopenMenu();
    void UpdateActions();
    void RunCommandLine(const TCommandLine& line);
    QString StartFolder() const;
    bool IsImportable(const QString& file) const;

    TMainform& window_;
    std::unique_ptr<TConfig> config_;
    std::string entry_file_;
    TObjectModel model_;
    TIntegrators integrators_;
    TDocTempFolders temp_folders_;
    std::unique_ptr<doc_host> doc_host_;

    QDockWidget* class_page_ = nullptr;
    TTreeViewIntegrator* tree_ = nullptr;
    TDiagramFrame* diagram_ = nullptr;
    TZoomFrame* zoom_ = nullptr;
    TTraceForm* trace_ = nullptr;
    QMenu* reopen_menu_ = nullptr;
    QTimer* CloseTimer_ = nullptr;
    QPointer<TOpenFolderForm> open_folder_form_;

    QAction* FileOpenAction_ = nullptr;
    QAction* OpenFolderAction_ = nullptr;
    QAction* SettingsAction_ = nullptr;
    QAction* LayoutDiagramAction_ = nullptr;
    QAction* UnhideElementsAction_ = nullptr;
    QAction* CopyDiagramClipboardAction_ = nullptr;
    QAction* SaveDiagramAction_ = nullptr;
    QAction* ExportXmiAction_ = nullptr;
    QAction* DocGenPreviewAction_ = nullptr;
    QAction* DocGenAction_ = nullptr;

    FolderChooser choose_folder_;
    OpenFolderChooser choose_open_folder_;
    PictureNameChooser choose_picture_name_;
    std::function<void()> settings_dialog_;
    std::vector<std::string> imported_sources_;
    bool imported_ = false;
    bool busy_ = false;
    bool failed_ = false;
    int messages_ = 0;
};

}  // namespace tarnwell
