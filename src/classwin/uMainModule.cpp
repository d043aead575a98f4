#include "classwin/uMainModule.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "classmodel/uDiagramFrame.h"
#include "classmodel/uDocDiagramPictures.h"
#include "classmodel/uHtmlDocGen.h"
#include "classmodel/uRtfdPainter.h"
#include "classmodel/uXmiExportArgoUML.h"
#include "classmodel/uZoomFrame.h"
#include "classwin/uConfig.h"
#include "classwin/uPellamProgress.h"
#include "classwin/uSettingsForm.h"
#include "classwin/uTraceForm.h"
#include "classwin/uTreeViewIntegrator.h"
#include "cmdline/model_import.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {

namespace {

QString Shown(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// "All types (*.a;*.b)|*.a;*.b|A (*.a)|*.a" as the file dialogs of this toolkit take it.
QString DialogFilter(const std::string& filter_text) {
    const QStringList parts = QString::fromStdString(filter_text).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        entries << caption.replace(QLatin1Char(';'), QLatin1Char(' '));
    }
    return entries.join(QStringLiteral(";;"));
}

// Sets a flag for as long as it lives.
class busy_scope {
  public:
    explicit busy_scope(bool& flag) : flag_(flag) { flag_ = true; }
    ~busy_scope() { flag_ = false; }
    busy_scope(const busy_scope&) = delete;
    busy_scope& operator=(const busy_scope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

// The documentation's surroundings in the window: the folder dialog, the progress window and
// the browser.
class TMainModule::doc_host : public IDocGenHost {
  public:
    explicit doc_host(TMainModule& module) : module_(module) {}
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        return module_.choose_folder_(start);
    }
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption,
                                                  int maximum) override {
        return module_.OpenProgress(caption, maximum);
    }
    void OpenDocument(const std::string& file) override {
        if (!module_.window_.messages().show_page(QUrl::fromLocalFile(Shown(file))))
            module_.window_.messages().message(QObject::tr("Cannot open ") + Shown(file));
    }

  private:
    TMainModule& module_;
};

TMainModule::TMainModule(TMainform& window, std::unique_ptr<TConfig> config, std::string entry_file)
    : QObject(&window),
      window_(window),
      config_(std::move(config)),
      entry_file_(std::move(entry_file)),
      integrators_(cli::program_integrators(this)),
      doc_host_(std::make_unique<doc_host>(*this)) {
    setObjectName(QStringLiteral("MainModule"));
    choose_folder_ = [this](const std::string& start) -> std::optional<std::string> {
        const QString chosen =
            QFileDialog::getExistingDirectory(&window_, tr("Select folder"), Shown(start));
        if (chosen.isEmpty()) return std::nullopt;
        return Local(chosen);
    };
    choose_open_folder_ = [this]() -> std::optional<TOpenFolderChoice> {
        if (open_folder_form_.isNull()) {
            QStringList types;
            for (const TImportIntegratorClass& importer : integrators_.Get())
                types << QStringLiteral("*") +
                             QString::fromStdString(importer.FileExtensions.front().Extension);
            open_folder_form_ = new TOpenFolderForm(types, &window_);
        }
        return open_folder_form_->Choose();
    };
    choose_picture_name_ = [this](const QString& start,
                                  const QString& filters) -> std::optional<TPictureName> {
        QString filter;
        const QString chosen = QFileDialog::getSaveFileName(
            &window_, QString(), start, filters, &filter, QFileDialog::DontConfirmOverwrite);
        if (chosen.isEmpty()) return std::nullopt;
        return TPictureName{chosen, filter};
    };
    settings_dialog_ = [this] {
        TSettingsForm form(*config_, entry_file_, Local(QApplication::applicationFilePath()),
                           &window_);
        form.exec();
    };

    class_page_ = new QDockWidget(tr("Class"), &window_);
    class_page_->setObjectName(QStringLiteral("ClassPage"));
    auto* page = new QSplitter(Qt::Horizontal, class_page_);
    auto* left = new QSplitter(Qt::Vertical, page);
    left->setObjectName(QStringLiteral("TreePanel"));
    tree_ = new TTreeViewIntegrator(model_, left);
    diagram_ = new TDiagramFrame(
        model_, config_->Defaults(),
        DefaultDiagramStorage(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
        window_.messages(), page);
    diagram_->setObjectName(QStringLiteral("DiagramPanel"));
    diagram_->SetStatusSink(
        [this](const QString& text) { window_.set_program_hint(QStringLiteral(" ") + text); });
    zoom_ = new TZoomFrame(*diagram_, left);
    zoom_->setObjectName(QStringLiteral("ZoomPanel"));
    left->addWidget(tree_);
    left->addWidget(zoom_);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 1);
    page->addWidget(left);
    page->addWidget(diagram_);
    page->setStretchFactor(1, 3);
    class_page_->setWidget(page);
    window_.addDockWidget(Qt::BottomDockWidgetArea, class_page_);
    connect(tree_, &TTreeViewIntegrator::ShowClassPage, this, [this] {
        class_page_->show();
        class_page_->raise();
    });
    connect(tree_, &TTreeViewIntegrator::OpenSource, this, &TMainModule::ShowSource);

    CloseTimer_ = new QTimer(this);
    CloseTimer_->setInterval(200);
    CloseTimer_->setSingleShot(true);
    connect(CloseTimer_, &QTimer::timeout, &window_, &QWidget::close);

    CreateActions();
    CreateMenus();
    RebuildReopenMenu();
    window_.installEventFilter(this);
    connect(diagram_, &TDiagramFrame::ZoomChanged, this, &TMainModule::UpdateActions);
    UpdateActions();
}

TMainModule::~TMainModule() {
    config_->StoreRecentFiles();
    TErrorHandler::Instance().SetSink(nullptr);
    TErrorHandler::Instance().SetTracing(false);
    // The tree and the diagram listen to the model, which goes with this object: they go first.
    delete class_page_;
}

void TMainModule::CreateActions() {
    const auto make = [this](const char* name, const QString& caption, void (TMainModule::*run)()) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        if (run != nullptr) connect(action, &QAction::triggered, this, run);
        return action;
    };
    FileOpenAction_ = make("FileOpenAction", tr("&Open..."), nullptr);
    // The editor's Open keeps Ctrl+O; the model's Open takes the shifted key.
    FileOpenAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    FileOpenAction_->setStatusTip(tr("Open..."));
    FileOpenAction_->setToolTip(tr("Open..."));
    OpenFolderAction_ = make("OpenFolderAction", tr("Open folder..."), &TMainModule::OpenFolder);
    SettingsAction_ =
        make("SettingsAction", tr("Change settings..."), &TMainModule::ChangeSettings);
    LayoutDiagramAction_ = make("LayoutDiagramAction", tr("Layout diagram"), nullptr);
    LayoutDiagramAction_->setToolTip(tr("Layout"));
    LayoutDiagramAction_->setStatusTip(tr("Layout"));
    UnhideElementsAction_ =
        make("UnhideElementsAction", tr("Show hidden diagram elements"), nullptr);
    CopyDiagramClipboardAction_ =
        make("CopyDiagramClipboardAction", tr("Copy diagram to clipboard"),
             &TMainModule::CopyDiagramToClipboard);
    SaveDiagramAction_ =
        make("SaveDiagramAction", tr("Save as picture..."), &TMainModule::SaveDiagramAsPicture);
    ExportXmiAction_ = make("ExportXmiAction", tr("Export model to XMI-file"), nullptr);
    DocGenPreviewAction_ = make("DocGenPreviewAction", tr("Preview project report"), nullptr);
    DocGenAction_ = make("DocGenAction", tr("Generate project report"), nullptr);

    connect(FileOpenAction_, &QAction::triggered, this, [this] {
        Import(window_.messages().choose_open_files(DialogFilter(FilterText(integrators_))));
    });
    connect(LayoutDiagramAction_, &QAction::triggered, this, [this] { diagram_->DoLayout(); });
    connect(UnhideElementsAction_, &QAction::triggered, this, [this] {
        diagram_->UnHideElements();
        UpdateActions();
    });
    connect(ExportXmiAction_, &QAction::triggered, this, [this] { ExportXmi({}); });
    connect(DocGenPreviewAction_, &QAction::triggered, this,
            [this] { GenerateDocumentation({}, true); });
    connect(DocGenAction_, &QAction::triggered, this, [this] { GenerateDocumentation({}, false); });
}

void TMainModule::CreateMenus() {
    QMenuBar* bar = window_.menuBar();
    const QList<QAction*> menus = bar->actions();
    // The model's file commands sit in a submenu of File, apart from the editor's own Open
    // and Reopen, which keep their captions and keys.
    QMenu* file = window_.file_menu();
    auto* model = new QMenu(tr("Class &model"), file);
    model->setObjectName(QStringLiteral("modelFileMenu"));
    file->insertMenu(file->actions().value(1), model);
    model->addAction(FileOpenAction_);
    reopen_menu_ = model->addMenu(tr("Reopen"));
    reopen_menu_->setObjectName(QStringLiteral("modelReopenMenu"));
    model->addAction(OpenFolderAction_);
    model->addAction(SettingsAction_);

    QAction* before = menus.isEmpty() ? nullptr : menus.back();
    auto* diagram = new QMenu(tr("&Diagram"), bar);
    diagram->setObjectName(QStringLiteral("diagramMenu"));
    bar->insertMenu(before, diagram);
    for (QAction* action : {LayoutDiagramAction_, UnhideElementsAction_,
                            CopyDiagramClipboardAction_, SaveDiagramAction_, ExportXmiAction_}) {
        diagram->addAction(action);
    }
    QMenu* doc = bar->findChild<QMenu*>(QStringLiteral("exportMenu"));
    if (doc == nullptr) {
        doc = new QMenu(tr("E&xport"), bar);
        doc->setObjectName(QStringLiteral("exportMenu"));
        bar->insertMenu(before, doc);
    }
    doc->addAction(DocGenPreviewAction_);
    doc->addAction(DocGenAction_);
    window_.view_menu()->addAction(class_page_->toggleViewAction());
}

void TMainModule::RebuildReopenMenu() {
    reopen_menu_->clear();
    const QStringList& recent = config_->RecentFiles();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString file = recent[i];
        QAction* item = reopen_menu_->addAction(QStringLiteral("&%1 %2").arg(i).arg(file));
        connect(item, &QAction::triggered, this, [this, file] { Import({file}); });
    }
    reopen_menu_->setEnabled(!recent.isEmpty() && !busy_);
}

void TMainModule::UpdateActions() {
    const bool ready = imported_ && !busy_;
    for (QAction* action : {LayoutDiagramAction_, CopyDiagramClipboardAction_, SaveDiagramAction_,
                            ExportXmiAction_, DocGenPreviewAction_, DocGenAction_}) {
        action->setEnabled(ready);
    }
    UnhideElementsAction_->setEnabled(!busy_ && diagram_->Diagram().HasHiddenElements());
    for (QAction* action : {FileOpenAction_, OpenFolderAction_, SettingsAction_})
        action->setEnabled(!busy_);
    reopen_menu_->setEnabled(!config_->RecentFiles().isEmpty() && !busy_);
    tree_->setEnabled(!busy_);
}

bool TMainModule::IsImportable(const QString& file) const {
    const std::string extension = LowerExtension(Local(file));
    for (const TImportIntegratorClass& importer : integrators_.Get()) {
        for (const TFileExtension& known : importer.FileExtensions)
            if (known.Extension == extension) return true;
    }
    return false;
}

bool TMainModule::Import(const QStringList& files) {
    if (busy_ || files.isEmpty()) return false;
    // Files no importer reads ahead of the sources, such as a read-me dropped with them, leave
    // the choice of the importer to the first source.
    std::vector<std::string> list;
    for (const QString& file : files) {
        if (!list.empty() || IsImportable(file)) list.push_back(Local(file));
    }
    bool found = false;
    imported_sources_.clear();
    {
        const busy_scope busy(busy_);
        UpdateActions();
        found = ImportFileList(integrators_, model_, list, *this);
    }
    if (imported_sources_.size() <= max_opened_sources) {
        for (const std::string& file : imported_sources_) window_.open_file(Shown(file));
    }
    imported_sources_.clear();
    if (found) {
        imported_ = true;
        for (const std::string& file : list) config_->AddRecentFile(Shown(file));
        config_->StoreRecentFiles();
        RebuildReopenMenu();
    }
    // What no importer reads is still a text for the editor.
    for (const QString& file : files) {
        if (!IsImportable(file)) window_.open_file(file);
    }
    UpdateActions();
    return found;
}

void TMainModule::ShowStatus(const std::string& text) {
    // The model's lines are about the program, not the document shown: they stay when the
    // sources of an import open in the editor.
    window_.set_program_hint(QStringLiteral(" ") + QString::fromStdString(text));
}

void TMainModule::ShowMessage(const std::string& text) {
    ++messages_;
    window_.messages().message(QString::fromStdString(text));
}

std::unique_ptr<IProgressWindow> TMainModule::OpenProgress(const std::string& caption,
                                                           int maximum) {
    return std::make_unique<TPellamProgress>(QString::fromStdString(caption), maximum, &window_);
}

void TMainModule::SetBusy(bool busy) {
    if (busy)
        window_.messages().begin_wait();
    else
        window_.messages().end_wait();
}

void TMainModule::OpenDocument(const std::string& file) {
    imported_sources_.push_back(file);
}

void TMainModule::ShowSource(const QString& file, int line) {
    TMySynEdit* editor = window_.open_file(file);
    if (editor == nullptr) return;
    editor->set_caret({1, line});
    editor->setFocus();
}

QString TMainModule::StartFolder() const {
    const std::string config = model_.ModelRoot()->GetConfigFile();
    return config.empty() ? QDir::homePath() : QFileInfo(Shown(config)).absolutePath();
}

void TMainModule::GenerateDocumentation(const std::string& folder, bool preview) {
    if (busy_) return;
    {
        const busy_scope busy(busy_);
        UpdateActions();
        // The documentation's diagrams take the defaults of new diagrams, as they are now.
        TDocDiagramPictures pictures(
            model_, diagram_->Fonts(), config_->Defaults(),
            DefaultDiagramStorage(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
        THtmlDocGen generator(model_, *doc_host_, temp_folders_, pictures);
        try {
            const wait_cursor wait(window_.messages());
            generator.Generate(folder, preview);
        } catch (const std::exception& error) {
            failed_ = true;
            window_.messages().message(QString::fromStdString(error.what()));
        }
    }
    UpdateActions();
}

bool TMainModule::ExportXmi(const std::string& file) {
    std::string target = file;
    if (target.empty()) {
        const QString suggested = StartFolder() + QStringLiteral("/model.xmi");
        const std::optional<QString> chosen =
            window_.messages().choose_save_file(suggested, tr("Xmi files (*.xmi);;All files (*)"));
        if (!chosen) return false;
        QString name = *chosen;
        if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".xmi");
        if (QFileInfo::exists(name) &&
            window_.messages().ask(tr("Warning"),
                                   name + tr(" already exists.\nDo you want to replace it?"),
                                   false) != user_answer::yes)
            return false;
        target = Local(name);
    }
    TXMIExporterArgoUML exporter(model_, this);
    try {
        const wait_cursor wait(window_.messages());
        exporter.Export();
        exporter.SaveToFile(target);
    } catch (const std::exception& error) {
        failed_ = true;
        window_.messages().message(QString::fromStdString(error.what()));
        return false;
    }
    return true;
}

void TMainModule::OpenFolder() {
    if (busy_) return;
    const std::optional<TOpenFolderChoice> choice = choose_open_folder_();
    if (!choice) return;
    const std::vector<std::string> files = CollectFolderFiles(*choice);
    if (files.empty()) {
        window_.messages().message(tr("No files found"));
        return;
    }
    QStringList names;
    for (const std::string& file : files) names << Shown(file);
    Import(names);
}

void TMainModule::SaveDiagramAsPicture() {
    const QString svg_filter = tr("SVG files (*.svg)");
    const std::optional<TPictureName> chosen =
        choose_picture_name_(StartFolder() + QStringLiteral("/"),
                             tr("PNG files (*.png);;") + svg_filter + tr(";;All files (*)"));
    if (!chosen) return;
    QString name = chosen->File;
    // A name without extension takes the one of the chosen type; PNG for all files.
    if (QFileInfo(name).suffix().isEmpty())
        name += chosen->Filter == svg_filter ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (QFileInfo::exists(name) &&
        window_.messages().ask(tr("Warning"),
                               name + tr(" already exists.\nDo you want to replace it?"),
                               false) != user_answer::yes)
        return;
    diagram_->SaveAsPicture(name);
}

void TMainModule::CopyDiagramToClipboard() {
    TRtfdDiagram& diagram = diagram_->Diagram();
    const TPoint size = diagram.GetDiagramSize();
    const bool selection = !diagram.Surface().GetSelectedControls().empty();
    const TRect part = selection ? diagram.GetSelectedRect() : TRect{0, 0, size.X, size.Y};
    const int width = std::max(part.Width(), 1);
    const int height = std::max(part.Height(), 1);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintTo(painter, diagram, diagram_->Fonts(), -part.Left, -part.Top, selection);
    }
    QByteArray svg;
    {
        QBuffer buffer(&svg);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        QPainter painter(&generator);
        PaintTo(painter, diagram, diagram_->Fonts(), -part.Left, -part.Top, selection);
    }
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setData(QStringLiteral("image/svg+xml"), svg);
    QApplication::clipboard()->setMimeData(data);
}

void TMainModule::ChangeSettings() {
    if (busy_) return;
    settings_dialog_();
}

void TMainModule::Start(std::span<const std::string_view> args) {
    if (args.empty()) {
        window_.display_sample();
        Import({Shown(window_.paths().sample_file())});
        return;
    }
    RunCommandLine(ReadCommandLine(args));
}

void TMainModule::RunCommandLine(const TCommandLine& line) {
    if (line.Trace) {
        trace_ = new TTraceForm(&window_);
        TErrorHandler::Instance().SetSink(trace_);
        TErrorHandler::Instance().SetTracing(true);
    }
    if (line.ShowSyntax) {
        window_.messages().message(QString::fromStdString(CommandLineSyntax(
            Local(QFileInfo(QApplication::applicationFilePath()).completeBaseName()))));
    }
    for (const std::string& message : line.Messages) {
        window_.messages().message(QString::fromStdString(message));
    }
    if (line.ShowAssoc) config_->Defaults().ShowAssoc = *line.ShowAssoc;
    if (line.VisibilityFilter) {
        config_->Defaults().VisibilityFilter = static_cast<std::uint8_t>(*line.VisibilityFilter);
    }
    if (line.ShowAssoc || line.VisibilityFilter) {
        diagram_->Diagram().SetShowAssoc(config_->Defaults().ShowAssoc);
        diagram_->Diagram().SetVisibilityFilter(config_->Defaults().VisibilityFilter);
    }
    const int messages_before = messages_;
    if (!line.Files.empty()) {
        QStringList files;
        for (const std::string& file : line.Files) files << Shown(file);
        if (!Import(files) && line.ClosesAfterwards()) failed_ = true;
    } else if (window_.document_count() == 0) {
        window_.display_sample();
    }
    if (messages_ != messages_before || !line.Messages.empty())
        failed_ = failed_ || line.ClosesAfterwards();
    if (line.DocFolder) GenerateDocumentation(*line.DocFolder, false);
    if (line.XmiFile) ExportXmi(*line.XmiFile);
    if (line.ClosesAfterwards()) CloseTimer_->start();
}

bool TMainModule::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::Close && busy_) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList files;
            for (const QUrl& url : drop->mimeData()->urls()) {
                if (url.isLocalFile()) files << url.toLocalFile();
            }
            if (std::any_of(files.begin(), files.end(),
                            [this](const QString& file) { return IsImportable(file); })) {
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                Import(files);
                return true;
            }
            if (busy_) return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tarnwell
