#include "workspace/umainform.h"

#include <Qsci/qscilexer.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "parsers/language_table.h"
#include "workspace/GotoLineDialog.h"
#include "workspace/code_export.h"
#include "workspace/datamod.h"
#include "workspace/file_store.h"
#include "workspace/highlighters.h"
#include "workspace/history_list.h"
#include "workspace/mysynedit.h"
#include "workspace/print_commands.h"
#include "workspace/search_commands.h"

namespace tarnwell {

namespace {

constexpr std::string_view main_section = "main";
constexpr std::string_view graphpanel_width_key = "flowchart panel width";
constexpr int sample_panel_width = 250;
constexpr int small_sample_panel_width = 150;

std::string local_path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shown_path(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Two paths name one document when they lead to the same file, however they are spelled.
bool same_file(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

TMainform::TMainform(TeditorDataModule& data, program_paths paths,
                     std::unique_ptr<notifier> messages)
    : data_(data), paths_(std::move(paths)), notifier_(std::move(messages)) {
    if (!notifier_) notifier_ = std::make_unique<dialog_notifier>(this);
    setObjectName(QStringLiteral("Mainform"));
    setWindowTitle(QStringLiteral("Tarnwell V2.0"));
    setAcceptDrops(true);

    editorPageControl_ = new QTabWidget(this);
    editorPageControl_->setObjectName(QStringLiteral("editorPageControl"));
    editorPageControl_->setDocumentMode(true);
    setCentralWidget(editorPageControl_);
    connect(editorPageControl_, &QTabWidget::currentChanged, this,
            &TMainform::editorPageControlChange);
    QTabBar* tabs = editorPageControl_->tabBar();
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabs, &QWidget::customContextMenuRequested, this, &TMainform::show_tab_popup);

    create_actions();
    create_menus();
    create_status_bar();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TMainform::schedule_update);

    ini_ = ini_file::load(paths_.ini_file());
    reopen_.load(ini_);
    picture_folder_ = shown_path(paths_.picture_folder());
    cbxHighlighter_->setCurrentIndex(0);
    setWindowTitle(program_title);
    restore_window_state();
}

TMainform::~TMainform() = default;

const print_settings& TMainform::printing() const {
    return print_->settings();
}

QAction* TMainform::make_action(const char* name, const QString& caption,
                                const QKeySequence& shortcut, void (TMainform::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    if (handler != nullptr) connect(action, &QAction::triggered, this, handler);
    return action;
}

void TMainform::create_actions() {
    const auto on_editor = [this](void (QsciScintilla::*operation)()) {
        return [this, operation] {
            if (TMySynEdit* editor = current_document()) (editor->*operation)();
        };
    };
    FileNew_ = make_action("FileNew", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
                           &TMainform::FileNewExecute);
    fileopen_ = make_action("fileopen", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                            &TMainform::fileopenExecute);
    filesave_ = make_action("filesave", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                            &TMainform::filesaveExecute);
    filesaveas_ =
        make_action("filesaveas", tr("S&ave As..."), QKeySequence(), &TMainform::filesaveasExecute);
    filesaveall_ =
        make_action("filesaveall", tr("Save A&ll"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                    &TMainform::save_all);
    FileClose_ =
        make_action("FileClose", tr("Close File"), QKeySequence(), &TMainform::close_current);
    Quit_ = make_action("Quit", tr("E&xit"), QKeySequence(), nullptr);
    connect(Quit_, &QAction::triggered, this, &QWidget::close);

    EditUndo_ = make_action("EditUndo", tr("&Undo"), QKeySequence::Undo, nullptr);
    connect(EditUndo_, &QAction::triggered, this, on_editor(&QsciScintilla::undo));
    EditRedo_ = make_action("EditRedo", tr("Red&o"), QKeySequence::Redo, nullptr);
    connect(EditRedo_, &QAction::triggered, this, on_editor(&QsciScintilla::redo));
    EditCut_ = make_action("EditCut", tr("Cu&t"), QKeySequence::Cut, nullptr);
    connect(EditCut_, &QAction::triggered, this, on_editor(&QsciScintilla::cut));
    EditCopy_ = make_action("EditCopy", tr("&Copy"), QKeySequence::Copy, nullptr);
    connect(EditCopy_, &QAction::triggered, this, on_editor(&QsciScintilla::copy));
    EditPaste_ = make_action("EditPaste", tr("&Paste"), QKeySequence::Paste, nullptr);
    connect(EditPaste_, &QAction::triggered, this, on_editor(&QsciScintilla::paste));
    EditselectAll_ =
        make_action("EditselectAll", tr("Select &All"), QKeySequence::SelectAll, nullptr);
    connect(EditselectAll_, &QAction::triggered, this, [this] {
        if (TMySynEdit* editor = current_document()) editor->selectAll();
    });
    EditPasteNew_ = make_action("EditPasteNew", tr("Paste in new &editor"),
                                QKeySequence(Qt::Key_F5), &TMainform::EditPasteNewExecute);
    EditCopyAll_ = make_action("EditCopyAll", tr("Copy &All"),
                               QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), nullptr);
    connect(EditCopyAll_, &QAction::triggered, this, [this] {
        if (TMySynEdit* editor = current_document()) editor->copy_all();
    });
    EditDateTime_ = make_action("EditDateTime", tr("&Date/Time"), QKeySequence(Qt::Key_F6),
                                &TMainform::EditDateTimeExecute);
    ShowLineNo_ = make_action("ShowLineNo", tr("Show &Line Number"),
                              QKeySequence(Qt::CTRL | Qt::Key_L), &TMainform::ShowLineNoExecute);
    ShowLineNo_->setCheckable(true);
    search_ = std::make_unique<search_commands>(
        *notifier_, (paths_.settings_dir / input_ini_name).string(), this);
    EditFind_ =
        make_action("EditFind", tr("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F), nullptr);
    connect(EditFind_, &QAction::triggered, this, [this] {
        search_->EditFindExecute(current_document());
        schedule_update();
    });
    EditFindNext_ =
        make_action("EditFindNext", tr("Find &Next"), QKeySequence(Qt::Key_F3), nullptr);
    connect(EditFindNext_, &QAction::triggered, this,
            [this] { search_->EditFindNextExecute(current_document()); });
    EditReplace_ =
        make_action("EditReplace", tr("&Replace..."), QKeySequence(Qt::CTRL | Qt::Key_R), nullptr);
    connect(EditReplace_, &QAction::triggered, this,
            [this] { search_->EditReplaceExecute(current_document()); });
    SearchGotoLine_ = make_action("SearchGotoLine", tr("&Go to Line..."),
                                  QKeySequence(Qt::CTRL | Qt::Key_G), nullptr);
    connect(SearchGotoLine_, &QAction::triggered, this, [this] {
        if (TMySynEdit* editor = current_document()) TdlgGotoLine::go_to_line(*editor, this);
    });
    print_ = std::make_unique<print_commands>(*notifier_, this);
    const auto current_caption = [this] {
        return editorPageControl_->tabText(editorPageControl_->currentIndex());
    };
    FilePageSetup_ = make_action("FilePageSetup", tr("Page Setup"), QKeySequence(), nullptr);
    connect(FilePageSetup_, &QAction::triggered, this, [this] { print_->FilePageSetupExecute(); });
    FilePrinterSetupCmd_ =
        make_action("FilePrinterSetupCmd", tr("Printer &Setup"), QKeySequence(), nullptr);
    connect(FilePrinterSetupCmd_, &QAction::triggered, this,
            [this] { print_->FilePrinterSetupCmdExecute(); });
    FilePrintPreviewCmd_ =
        make_action("FilePrintPreviewCmd", tr("Print Preview"), QKeySequence(), nullptr);
    connect(FilePrintPreviewCmd_, &QAction::triggered, this, [this, current_caption] {
        print_->FilePrintPreviewCmdExecute(current_document(), current_caption());
    });
    FilePrintCmd_ =
        make_action("FilePrintCmd", tr("&Print Code"), QKeySequence(Qt::CTRL | Qt::Key_P), nullptr);
    connect(FilePrintCmd_, &QAction::triggered, this, [this, current_caption] {
        print_->FilePrintCmdExecute(current_document(), current_caption());
    });

    ac_htm_ = make_action("ac_htm", tr("Export Code as HTML"), QKeySequence(), nullptr);
    connect(ac_htm_, &QAction::triggered, this, [this] { export_code(code_format::html); });
    ac_rtf_ = make_action("ac_rtf", tr("Export Code as RTF"), QKeySequence(), nullptr);
    connect(ac_rtf_, &QAction::triggered, this, [this] { export_code(code_format::rtf); });
    ac_sample_ =
        make_action("ac_sample", tr("Display &Sample"), QKeySequence(), &TMainform::display_sample);
    ac_help_ = make_action("ac_help", tr("&Contents"), QKeySequence(Qt::Key_F1), nullptr);
    connect(ac_help_, &QAction::triggered, this,
            [this] { open_page(shown_path(paths_.help_file())); });
    ac_homepage_ = make_action("ac_homepage", tr("Tarnwell &HomePage"), QKeySequence(), nullptr);
    connect(ac_homepage_, &QAction::triggered, this,
            [this] { open_page(shown_path(paths_.help_page("about.html"))); });
    ac_feedback_ = make_action("ac_feedback", tr("&Feedback and Support"), QKeySequence(), nullptr);
    connect(ac_feedback_, &QAction::triggered, this,
            [this] { open_page(shown_path(paths_.help_page("feedback.html"))); });

    for (int n = 0; n < static_cast<int>(tgbookmark_.size()); ++n) {
        QAction* toggle = make_action(
            "tgbookmark", tr("Bookmark &%1").arg(n),
            QKeySequence(Qt::CTRL | Qt::SHIFT | static_cast<Qt::Key>(Qt::Key_0 + n)), nullptr);
        toggle->setObjectName(QStringLiteral("tgbookmark%1").arg(n));
        toggle->setCheckable(true);
        connect(toggle, &QAction::triggered, this, [this, n] {
            if (TMySynEdit* editor = current_document()) editor->toggle_bookmark(n);
            schedule_update();
        });
        tgbookmark_[static_cast<std::size_t>(n)] = toggle;
    }
    for (int n = 0; n < static_cast<int>(gotobookmark_.size()); ++n) {
        QString caption = tr("Goto Bookmark &%1").arg(n);
        QKeySequence shortcut(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n));
        if (n == begin_mark) {
            caption = tr("G&oto begin line of code");
            shortcut = QKeySequence(Qt::ALT | Qt::Key_A);
        } else if (n == end_mark) {
            caption = tr("Goto e&nd line of code");
            shortcut = QKeySequence(Qt::ALT | Qt::Key_S);
        }
        QAction* go = make_action("gotobookmark", caption, shortcut, nullptr);
        go->setObjectName(QStringLiteral("gotobookmark%1").arg(n));
        go->setCheckable(n < begin_mark);
        connect(go, &QAction::triggered, this, [this, n] {
            if (TMySynEdit* editor = current_document()) editor->goto_bookmark(n);
            schedule_update();
        });
        gotobookmark_[static_cast<std::size_t>(n)] = go;
    }
}

void TMainform::create_menus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file_menu_ = file;
    file->addAction(FileNew_);
    file->addAction(fileopen_);
    reopen_menu_ = file->addMenu(tr("&Reopen"));
    connect(reopen_menu_, &QMenu::aboutToShow, this, &TMainform::fill_reopen_menu);
    file->addAction(filesave_);
    file->addAction(filesaveas_);
    file->addAction(filesaveall_);
    file->addAction(FileClose_);
    file->addSeparator();
    file->addAction(ac_htm_);
    file->addAction(ac_rtf_);
    file->addSeparator();
    file->addAction(FilePageSetup_);
    file->addAction(FilePrinterSetupCmd_);
    file->addAction(FilePrintPreviewCmd_);
    // The menu names the print command its own way; the key stays with the command.
    QAction* print_source = file->addAction(tr("Print &SourceCode"));
    print_source->setObjectName(QStringLiteral("FilePrintSourceCode"));
    connect(print_source, &QAction::triggered, FilePrintCmd_, &QAction::trigger);
    connect(FilePrintCmd_, &QAction::changed, print_source,
            [this, print_source] { print_source->setEnabled(FilePrintCmd_->isEnabled()); });
    addAction(FilePrintCmd_);
    file->addSeparator();
    file->addAction(Quit_);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    for (QAction* action : {EditUndo_, EditRedo_}) edit->addAction(action);
    edit->addSeparator();
    for (QAction* action :
         {EditCut_, EditCopy_, EditPaste_, EditPasteNew_, EditCopyAll_, EditselectAll_}) {
        edit->addAction(action);
    }
    edit->addSeparator();
    edit->addAction(EditDateTime_);
    edit->addSeparator();
    toggle_menu_ = edit->addMenu(tr("Toggle &Bookmarks"));
    for (QAction* action : tgbookmark_) toggle_menu_->addAction(action);
    goto_menu_ = edit->addMenu(tr("&Goto Bookmarks"));
    for (QAction* action : gotobookmark_) goto_menu_->addAction(action);
    connect(toggle_menu_, &QMenu::aboutToShow, this, &TMainform::bookmarkclick);
    connect(goto_menu_, &QMenu::aboutToShow, this, &TMainform::bookmarkclick);

    QMenu* search = menuBar()->addMenu(tr("&Search"));
    for (QAction* action : {EditFind_, EditReplace_, EditFindNext_}) search->addAction(action);
    search->addSeparator();
    search->addAction(SearchGotoLine_);

    view_menu_ = menuBar()->addMenu(tr("&View"));
    view_menu_->addAction(ShowLineNo_);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    for (QAction* action : {ac_help_, ac_sample_, ac_homepage_, ac_feedback_}) {
        help->addAction(action);
    }

    tab_popup_ = new QMenu(this);
    tab_popup_->setObjectName(QStringLiteral("tabPopup"));
    connect(tab_popup_->addAction(tr("Close")), &QAction::triggered, this,
            [this] { close_document(tab_popup_index_); });
    connect(tab_popup_->addAction(tr("Close Others")), &QAction::triggered, this,
            [this] { close_other_documents(tab_popup_index_); });
    connect(tab_popup_->addAction(tr("Close All")), &QAction::triggered, this,
            &TMainform::close_all_documents);

    editor_popup_ = new QMenu(this);
    editor_popup_->setObjectName(QStringLiteral("editorPopup"));
    for (QAction* action : {EditUndo_, EditRedo_}) editor_popup_->addAction(action);
    editor_popup_->addSeparator();
    for (QAction* action : {EditCut_, EditCopy_, EditPaste_, EditselectAll_, EditCopyAll_}) {
        editor_popup_->addAction(action);
    }
    editor_popup_->addSeparator();
    editor_popup_->addMenu(toggle_menu_);
    editor_popup_->addMenu(goto_menu_);

    QToolBar* tools = addToolBar(tr("Tools"));
    tools_ = tools;
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setMovable(false);
    QStyle* look = style();
    FileNew_->setIcon(look->standardIcon(QStyle::SP_FileIcon));
    fileopen_->setIcon(look->standardIcon(QStyle::SP_DialogOpenButton));
    filesave_->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
    EditUndo_->setIcon(look->standardIcon(QStyle::SP_ArrowBack));
    EditRedo_->setIcon(look->standardIcon(QStyle::SP_ArrowForward));
    for (QAction* action : {FileNew_, fileopen_, filesave_}) tools->addAction(action);
    tools->addSeparator();
    for (QAction* action : {EditUndo_, EditRedo_}) tools->addAction(action);
    tools->addSeparator();
    cbxHighlighter_ = new QComboBox(tools);
    cbxHighlighter_->setObjectName(QStringLiteral("cbxHighlighter"));
    cbxHighlighter_->setToolTip(tr("Select program language here"));
    for (int language = 0; language < language_count; ++language) {
        cbxHighlighter_->addItem(TeditorDataModule::language_caption(language));
    }
    connect(cbxHighlighter_, &QComboBox::activated, this, &TMainform::cbxHighlighterChange);
    tools->addWidget(cbxHighlighter_);
}

void TMainform::create_status_bar() {
    const char* names[status_panel_count] = {"total line", "txt pos", "grid pos", "h txt pos",
                                             "hint"};
    const int widths[status_panel_count] = {90, 90, 90, 110, 0};
    for (int i = 0; i < status_panel_count; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QString::fromLatin1(names[i]));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (widths[i] > 0) panel->setMinimumWidth(widths[i]);
        statusBar()->addWidget(panel, widths[i] > 0 ? 0 : 1);
        panels_[static_cast<std::size_t>(i)] = panel;
    }
}

TMySynEdit* TMainform::add_editor_page(const QString& caption) {
    auto* editor = new TMySynEdit;
    editor->set_popup_menu(editor_popup_);
    QList<QKeySequence> keys;
    for (const QAction* action : findChildren<QAction*>()) keys << action->shortcuts();
    editor->give_up_keys(keys);
    editor->show_line_numbers(ShowLineNo_->isChecked());
    // Any change of the text, an undo back to the saved state included, outdates its chart.
    connect(editor, &QsciScintilla::textChanged, this, [this, editor] {
        editor->doc.flowchart.flowchart_stale = true;
        editor_changed(editor);
    });
    connect(editor, &QsciScintilla::modificationChanged, this,
            [this, editor] { editor_changed(editor); });
    connect(editor, &QsciScintilla::cursorPositionChanged, this, &TMainform::update_status);
    connect(editor, &QsciScintilla::cursorPositionChanged, this, &TMainform::schedule_update);
    connect(editor, &QsciScintilla::selectionChanged, this, &TMainform::schedule_update);
    connect(editor, &QsciScintilla::marginClicked, this, &TMainform::schedule_update);
    const int index = editorPageControl_->addTab(editor, caption);
    editorPageControl_->setCurrentIndex(index);
    return editor;
}

TMySynEdit* TMainform::new_document() {
    TMySynEdit* editor = add_editor_page(
        QString::fromStdString(new_document_caption(editorPageControl_->count() + 1)));
    set_language(editor, language_c);
    editor->setModified(false);
    editorPageControlChange();
    return editor;
}

TMySynEdit* TMainform::open_file(const QString& path) {
    if (path.isEmpty()) return nullptr;
    const std::string file = local_path(path);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        notifier_->message(tr("file not found:") + path);
        return nullptr;
    }
    for (int i = 0; i < document_count(); ++i) {
        TMySynEdit* open = document_at(i);
        if (!open->doc.file_path.empty() && same_file(open->doc.file_path, file)) {
            editorPageControl_->setCurrentIndex(i);
            return open;
        }
    }
    const file_read read = read_file(file);
    if (!read.ok) {
        notifier_->message(shown_path(read.error));
        return nullptr;
    }
    const std::string absolute = std::filesystem::absolute(file, ec).lexically_normal().string();
    TMySynEdit* editor = add_editor_page(shown_path(file_name_of(absolute)));
    editor->doc.file_path = absolute;
    {
        wait_cursor busy(*notifier_);
        set_language(editor, language_of_file(absolute, read.bytes));
        editor->load_bytes(read.bytes);
    }
    editor->doc.flowchart = flowchart_state{};
    reopen_.add(absolute);
    editorPageControlChange();
    editor->setFocus();
    return editor;
}

TMySynEdit* TMainform::current_document() const {
    return qobject_cast<TMySynEdit*>(editorPageControl_->currentWidget());
}

TMySynEdit* TMainform::document_at(int index) const {
    return qobject_cast<TMySynEdit*>(editorPageControl_->widget(index));
}

int TMainform::document_count() const {
    return editorPageControl_->count();
}

QString TMainform::tab_caption(int index) const {
    return editorPageControl_->tabText(index);
}

void TMainform::set_language(TMySynEdit* editor, int language) {
    if (editor == nullptr || language < 0 || language >= language_count) return;
    set_document_language(editor->doc, language);
    editor->set_highlighter(data_.highlighter(language, TMySynEdit::background, editor));
    if (editor == current_document()) cbxHighlighter_->setCurrentIndex(language);
}

void TMainform::editorPageControlChange() {
    TMySynEdit* editor = current_document();
    if (editor == nullptr) return;
    cbxHighlighter_->setCurrentIndex(editor->doc.language);
    setWindowTitle(program_title + QStringLiteral(" - ") + shown_path(editor->doc.file_path));
    if (hint_of_document_ && hint_document_ != editor) set_program_hint(QString());
    update_status();
    schedule_update();
    emit document_activated(editor);
}

void TMainform::cbxHighlighterChange(int index) {
    TMySynEdit* editor = current_document();
    if (editor == nullptr) return;
    set_language(editor, index);
    editor->setFocus();
    emit language_chosen(editor);
}

void TMainform::editor_changed(TMySynEdit* editor) {
    const int index = editorPageControl_->indexOf(editor);
    if (index < 0) return;
    const std::string caption = editorPageControl_->tabText(index).toStdString();
    editorPageControl_->setTabText(
        index, QString::fromStdString(caption_with_modified_mark(caption, editor->isModified())));
    update_status();
    schedule_update();
}

user_answer TMainform::ask_to_save(TMySynEdit* editor) {
    if (editor == nullptr || !editor->isModified()) return user_answer::no;
    const QString name =
        editor->doc.file_path.empty() ? tr("new file") : shown_path(editor->doc.file_path);
    const user_answer answer = notifier_->ask(QString(), tr("Save to '%1'?").arg(name), true);
    // A save that did not happen must not let the changes be thrown away.
    if (answer == user_answer::yes && !save(editor)) return user_answer::cancel;
    return answer;
}

bool TMainform::save(TMySynEdit* editor) {
    if (editor == nullptr) return false;
    if (editor->doc.file_path.empty()) return save_as(editor);
    const std::string error = save_with_backup(editor->doc.file_path, editor->bytes());
    if (!error.empty()) {
        notifier_->message(shown_path(error));
        return false;
    }
    editor->setModified(false);
    editor_changed(editor);
    return true;
}

bool TMainform::save_as(TMySynEdit* editor) {
    if (editor == nullptr) return false;
    QString chosen;
    for (;;) {
        const std::optional<QString> name = notifier_->choose_save_file(
            shown_path(editor->doc.file_path), TeditorDataModule::file_filter());
        if (!name) return false;
        std::error_code ec;
        if (!std::filesystem::exists(local_path(*name), ec)) {
            chosen = *name;
            break;
        }
        const user_answer answer = notifier_->ask(
            QString(), tr("Do you want to overwrite the existing file :") + *name, true);
        if (answer == user_answer::cancel) return false;
        if (answer == user_answer::yes) {
            chosen = *name;
            break;
        }
    }
    const int index = editorPageControl_->indexOf(editor);
    const std::string previous_path = editor->doc.file_path;
    const QString previous_caption = editorPageControl_->tabText(index);
    std::error_code ec;
    editor->doc.file_path =
        std::filesystem::absolute(local_path(chosen), ec).lexically_normal().string();
    editorPageControl_->setTabText(index, shown_path(file_name_of(editor->doc.file_path)));
    if (!save(editor)) {
        editor->doc.file_path = previous_path;
        editorPageControl_->setTabText(index, previous_caption);
        return false;
    }
    const int previous_slot = editor->doc.parser_slot;
    set_language(editor, language_of_file(editor->doc.file_path, editor->bytes()));
    editor->doc.flowchart = flowchart_state{};
    editor->doc.flowchart.flowchart_stale = editor->doc.parser_slot != previous_slot;
    editorPageControlChange();
    return true;
}

void TMainform::save_all() {
    bool left_modified = false;
    for (int i = 0; i < document_count(); ++i) {
        TMySynEdit* editor = document_at(i);
        if (editor->isModified() && !save(editor)) left_modified = true;
    }
    if (!left_modified) filesaveall_->setEnabled(false);
}

void TMainform::close_current() {
    close_document(editorPageControl_->currentIndex());
}

bool TMainform::close_document(int index) {
    TMySynEdit* editor = document_at(index);
    if (editor == nullptr) return true;
    if (ask_to_save(editor) == user_answer::cancel) return false;
    editorPageControl_->removeTab(index);
    editor->deleteLater();
    keep_a_document_open();
    editorPageControlChange();
    return true;
}

void TMainform::keep_a_document_open() {
    if (document_count() > 0) return;
    display_sample();
    // Without its sample the program still keeps one document open.
    if (document_count() == 0) new_document();
}

void TMainform::close_other_documents(int index) {
    TMySynEdit* kept = document_at(index);
    if (kept == nullptr) return;
    for (int i = document_count() - 1; i >= 0; --i) {
        if (document_at(i) != kept && !close_document(i)) return;
    }
}

void TMainform::close_all_documents() {
    // From the last page down, so that the sample opened when the first one closes stays.
    for (int i = document_count() - 1; i >= 0; --i) {
        if (!close_document(i)) return;
    }
}

void TMainform::show_tab_popup(const QPoint& position) {
    QTabBar* tabs = editorPageControl_->tabBar();
    tab_popup_index_ = tabs->tabAt(position);
    if (tab_popup_index_ < 0) return;
    tab_popup_->popup(tabs->mapToGlobal(position));
}

void TMainform::display_sample() {
    open_file(shown_path(paths_.sample_file()));
    // The sample brings its own panel width only until the user has kept one.
    if (!ini_.value(main_section, graphpanel_width_key)) {
        set_graphpanel_width(small_pictures() ? small_sample_panel_width : sample_panel_width);
    }
}

bool TMainform::small_pictures() const {
    return picture_folder_.endsWith(QStringLiteral("photo2/"));
}

void TMainform::dock_graphpanel(QDockWidget* panel) {
    graphpanel_ = panel;
    addDockWidget(Qt::RightDockWidgetArea, panel);
    set_graphpanel_width(ini_.int_value(main_section, graphpanel_width_key, sample_panel_width));
}

void TMainform::set_graphpanel_width(int width) {
    if (graphpanel_ == nullptr) return;
    resizeDocks({graphpanel_}, {std::clamp(width, 50, 5000)}, Qt::Horizontal);
}

void TMainform::FileNewExecute() {
    new_document();
}

void TMainform::fileopenExecute() {
    const QStringList files = notifier_->choose_open_files(TeditorDataModule::file_filter());
    for (const QString& file : files) open_file(file);
}

void TMainform::filesaveExecute() {
    save(current_document());
}

void TMainform::filesaveasExecute() {
    save_as(current_document());
}

void TMainform::EditPasteNewExecute() {
    new_document()->paste();
}

void TMainform::EditDateTimeExecute() {
    if (TMySynEdit* editor = current_document()) {
        editor->replaceSelectedText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }
}

void TMainform::ShowLineNoExecute() {
    for (int i = 0; i < document_count(); ++i) {
        document_at(i)->show_line_numbers(ShowLineNo_->isChecked());
    }
}

void TMainform::export_code(code_format format) {
    TMySynEdit* editor = current_document();
    if (editor == nullptr) return;
    const bool html = format == code_format::html;
    const QString filter =
        html ? tr("HTML Document (*.htm *.html)") : tr("Rich Text Format (*.rtf)");
    const QString suggested = editor->doc.file_path.empty()
                                  ? QString()
                                  : shown_path(editor->doc.file_path) +
                                        (html ? QStringLiteral(".html") : QStringLiteral(".rtf"));
    const std::optional<QString> chosen = notifier_->choose_save_file(suggested, filter);
    if (!chosen) return;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty()) {
        name += html ? QStringLiteral(".html") : QStringLiteral(".rtf");
    }
    std::error_code ec;
    if (std::filesystem::exists(local_path(name), ec) &&
        notifier_->ask(tr("Warning"), tr("Do you want to overwrite the existing file :") + name,
                       false) != user_answer::yes) {
        return;
    }
    wait_cursor busy(*notifier_);
    const std::string text = editor->bytes();
    const std::vector<std::uint8_t> styles = editor->style_bytes();
    const std::vector<export_style> table = export_styles(*editor->lexer());
    const std::string title =
        editorPageControl_->tabText(editorPageControl_->indexOf(editor)).toStdString();
    const QColor page = TMySynEdit::background;
    const styled_source source{title, text, styles, table,
                               export_style{0x000000, page.rgb() & 0xFFFFFFu, false, false}};
    const std::string error =
        write_file(local_path(name), html ? export_html(source) : export_rtf(source));
    if (!error.empty()) notifier_->message(shown_path(error));
}

void TMainform::open_page(const QString& path) {
    if (!notifier_->show_page(QUrl::fromLocalFile(path))) {
        notifier_->message(tr("Cannot open ") + path);
    }
}

void TMainform::fill_reopen_menu() {
    reopen_menu_->clear();
    for (const std::string& path : reopen_.entries()) {
        const QString shown = shown_path(path);
        connect(reopen_menu_->addAction(shown), &QAction::triggered, this,
                [this, shown] { open_file(shown); });
    }
}

void TMainform::bookmarkclick() {
    TMySynEdit* editor = current_document();
    for (int n = 0; n < static_cast<int>(gotobookmark_.size()); ++n) {
        const bool set = editor != nullptr && editor->bookmark(n).has_value();
        if (n < static_cast<int>(tgbookmark_.size())) {
            tgbookmark_[static_cast<std::size_t>(n)]->setChecked(set);
        }
        gotobookmark_[static_cast<std::size_t>(n)]->setChecked(set);
    }
}

void TMainform::schedule_update() {
    if (update_pending_) return;
    update_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        update_pending_ = false;
        update_actions();
    });
}

void TMainform::update_actions() {
    TMySynEdit* editor = current_document();
    const bool has = editor != nullptr;
    EditCopy_->setEnabled(has && editor->hasSelectedText());
    EditCut_->setEnabled(has && editor->hasSelectedText() && !editor->isReadOnly());
    EditPaste_->setEnabled(has && editor->SendScintilla(QsciScintillaBase::SCI_CANPASTE) != 0);
    EditUndo_->setEnabled(has && editor->isUndoAvailable());
    EditRedo_->setEnabled(has && editor->isRedoAvailable());
    filesave_->setEnabled(has && editor->isModified());
    for (QAction* action :
         {EditFind_, EditReplace_, SearchGotoLine_, FilePrintPreviewCmd_, FilePrintCmd_}) {
        action->setEnabled(has);
    }
    // Find Next has something to look for once a Find ran, or in a selection it would take.
    EditFindNext_->setEnabled(has &&
                              (!search_->last().text.empty() || editor->selectedText().size() > 1));
    if (has && editor->isModified()) filesaveall_->setEnabled(true);
    gotobookmark_[begin_mark]->setEnabled(has && editor->bookmark(begin_mark).has_value());
    gotobookmark_[end_mark]->setEnabled(has && editor->bookmark(end_mark).has_value());
    update_status();
    emit actions_updating(editor);
}

void TMainform::update_status() {
    TMySynEdit* editor = current_document();
    if (editor == nullptr) return;
    const bookmark_pos caret = editor->caret();
    panels_[0]->setText(QString::number(editor->line_count()));
    panels_[1]->setText(QStringLiteral("%1:%2").arg(caret.column).arg(caret.line));
}

QString TMainform::status_panel(int index) const {
    if (index < 0 || index >= status_panel_count) return QString();
    return panels_[static_cast<std::size_t>(index)]->text();
}

void TMainform::set_status_panel(int index, const QString& text) {
    if (index < 0 || index >= status_panel_count) return;
    panels_[static_cast<std::size_t>(index)]->setText(text);
    if (index == status_panel_count - 1) {
        hint_document_ = current_document();
        hint_of_document_ = true;
    }
}

void TMainform::set_program_hint(const QString& text) {
    panels_.back()->setText(text);
    hint_document_ = nullptr;
    hint_of_document_ = false;
}

void TMainform::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!first_show_) return;
    first_show_ = false;
    for (int i = 0; i < status_panel_count - 1; ++i) panels_[static_cast<std::size_t>(i)]->clear();
    panels_[status_panel_count - 1]->setText(QStringLiteral(" "));
}

void TMainform::closeEvent(QCloseEvent* event) {
    for (int i = 0; i < document_count(); ++i) {
        if (ask_to_save(document_at(i)) == user_answer::cancel) {
            event->ignore();
            return;
        }
    }
    store_settings();
    event->accept();
}

void TMainform::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainform::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) open_file(url.toLocalFile());
    }
}

void TMainform::restore_window_state() {
    const int width = ini_.int_value(main_section, "width", 900);
    const int height = ini_.int_value(main_section, "height", 650);
    resize(std::clamp(width, 300, 10000), std::clamp(height, 200, 10000));
    const int left = ini_.int_value(main_section, "left", -1);
    const int top = ini_.int_value(main_section, "top", -1);
    if (left >= 0 && top >= 0) move(left, top);
    if (ini_.int_value(main_section, "maximized", 0) != 0) setWindowState(Qt::WindowMaximized);
}

void TMainform::store_settings() {
    const QRect frame = normalGeometry();
    ini_.set_value(main_section, "left", std::to_string(frame.x()));
    ini_.set_value(main_section, "top", std::to_string(frame.y()));
    ini_.set_value(main_section, "width", std::to_string(frame.width()));
    ini_.set_value(main_section, "height", std::to_string(frame.height()));
    ini_.set_value(main_section, "maximized", isMaximized() ? "1" : "0");
    if (graphpanel_ != nullptr) {
        ini_.set_value(main_section, graphpanel_width_key, std::to_string(graphpanel_->width()));
    }
    reopen_.store(ini_);
    const std::string error = ini_.save(paths_.ini_file());
    if (!error.empty()) notifier_->message(shown_path(error));
}

}  // namespace tarnwell
