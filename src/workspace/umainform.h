// The main window: one editor per tab page, the language list, the file, edit, bookmark and
// help commands, the status bar, and the settings kept in "tarnwell.ini".
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "workspace/ini_file.h"
#include "workspace/notifier.h"
#include "workspace/print_settings.h"
#include "workspace/program_paths.h"
#include "workspace/reopen_list.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;

namespace tarnwell {

class TeditorDataModule;
class TMySynEdit;
class search_commands;
class print_commands;

class TMainform : public QMainWindow {
    Q_OBJECT
  public:
    static inline const QString program_title = QStringLiteral("Tarnwell V2.0 Build 0421");
    static constexpr int status_panel_count = 5;

    // Without a notifier the window asks through real message boxes and dialogs.
    TMainform(TeditorDataModule& data, program_paths paths,
              std::unique_ptr<notifier> messages = nullptr);
    ~TMainform() override;

    // Opens a file in a new page, or brings forward the page that already shows it.
    TMySynEdit* open_file(const QString& path);
    TMySynEdit* new_document();
    TMySynEdit* current_document() const;
    TMySynEdit* document_at(int index) const;
    int document_count() const;
    QString tab_caption(int index) const;

    // False when the document was not saved (cancelled, or the write failed).
    bool save(TMySynEdit* editor);
    bool save_as(TMySynEdit* editor);
    void save_all();
    void close_current();
    // Closes the document of a page, asking to save it first; false when the user cancelled.
    // When the last one closes the sample opens, so that a document is always shown.
    bool close_document(int index);
    // Close Others and Close All of the tabs' popup menu; a cancelled save stops them.
    void close_other_documents(int index);
    void close_all_documents();
    // The tabs' popup menu: Close, Close Others and Close All for the page it was opened on.
    QMenu* tab_popup() const { return tab_popup_; }
    user_answer ask_to_save(TMySynEdit* editor);
    void display_sample();
    void set_language(TMySynEdit* editor, int language);

    // Enables and ticks the commands for the current document; runs when the application
    // turns idle after a change, and can be run at once.
    void update_actions();
    QString status_panel(int index) const;

    const program_paths& paths() const { return paths_; }
    // "tarnwell.ini" as the window keeps it; it is written when the window closes.
    ini_file& settings_file() { return ini_; }
    const reopen_list& reopened() const { return reopen_; }
    const print_settings& printing() const;
    print_commands& printer_commands() const { return *print_; }
    search_commands& searches() const { return *search_; }
    const QString& picture_folder() const { return picture_folder_; }
    // The folder the flowchart draws its symbols from; the small set is the one in "photo2/".
    void set_picture_folder(const QString& folder) { picture_folder_ = folder; }
    bool small_pictures() const;

    // What the flowchart side builds on: the shared services, the menus it adds to, the
    // status panels it writes, and the place of its panel.
    TeditorDataModule& data() const { return data_; }
    notifier& messages() const { return *notifier_; }
    QMenu* editor_popup() const { return editor_popup_; }
    QToolBar* tool_bar() const { return tools_; }
    QMenu* view_menu() const { return view_menu_; }
    QMenu* file_menu() const { return file_menu_; }
    // The last panel, the hint, holds a message about the current document: it is cleared when
    // another document is chosen. A message about the program as a whole stays.
    void set_status_panel(int index, const QString& text);
    void set_program_hint(const QString& text);
    // Docks the flowchart panel at the right, as wide as the settings last kept it.
    void dock_graphpanel(QDockWidget* panel);
    QDockWidget* graphpanel() const { return graphpanel_; }
    void set_graphpanel_width(int width);

  signals:
    // The tab-change steps ran for this document: after a page change, open, new, close and
    // save as.
    void document_activated(TMySynEdit* editor);
    // The user picked a language for the current document in the language list.
    void language_chosen(TMySynEdit* editor);
    // The window has just enabled its commands for the current document (nullptr when there
    // is none); the commands of the flowchart side follow.
    void actions_updating(TMySynEdit* editor);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    enum class code_format { html, rtf };

    QAction* make_action(const char* name, const QString& caption, const QKeySequence& shortcut,
                         void (TMainform::*handler)());
    void create_actions();
    void create_menus();
    void create_status_bar();
    TMySynEdit* add_editor_page(const QString& caption);
    void editorPageControlChange();
    void show_tab_popup(const QPoint& position);
    void keep_a_document_open();
    void cbxHighlighterChange(int index);
    void editor_changed(TMySynEdit* editor);
    void schedule_update();
    void update_status();
    void fill_reopen_menu();
    void bookmarkclick();
    void export_code(code_format format);
    void open_page(const QString& path);
    void restore_window_state();
    void store_settings();

    void FileNewExecute();
    void fileopenExecute();
    void filesaveExecute();
    void filesaveasExecute();
    void EditPasteNewExecute();
    void EditDateTimeExecute();
    void ShowLineNoExecute();

    TeditorDataModule& data_;
    program_paths paths_;
    std::unique_ptr<notifier> notifier_;
    std::unique_ptr<search_commands> search_;
    ini_file ini_;
    reopen_list reopen_;
    std::unique_ptr<print_commands> print_;
    QString picture_folder_;

    QTabWidget* editorPageControl_ = nullptr;
    QComboBox* cbxHighlighter_ = nullptr;
    QToolBar* tools_ = nullptr;
    QDockWidget* graphpanel_ = nullptr;
    QMenu* editor_popup_ = nullptr;
    QMenu* tab_popup_ = nullptr;
    int tab_popup_index_ = -1;
    QMenu* reopen_menu_ = nullptr;
    QMenu* view_menu_ = nullptr;
    QMenu* file_menu_ = nullptr;
    QMenu* toggle_menu_ = nullptr;
    QMenu* goto_menu_ = nullptr;
    std::array<QLabel*, status_panel_count> panels_{};
    // The document the hint speaks of; null for a message about the program.
    QPointer<TMySynEdit> hint_document_;
    bool hint_of_document_ = false;
    std::array<QAction*, 8> tgbookmark_{};
    std::array<QAction*, 10> gotobookmark_{};
    QAction* FileNew_ = nullptr;
    QAction* fileopen_ = nullptr;
    QAction* filesave_ = nullptr;
    QAction* filesaveas_ = nullptr;
    QAction* filesaveall_ = nullptr;
    QAction* FileClose_ = nullptr;
    QAction* Quit_ = nullptr;
    QAction* EditUndo_ = nullptr;
    QAction* EditRedo_ = nullptr;
    QAction* EditCut_ = nullptr;
    QAction* EditCopy_ = nullptr;
    QAction* EditPaste_ = nullptr;
    QAction* EditselectAll_ = nullptr;
    QAction* EditPasteNew_ = nullptr;
    QAction* EditCopyAll_ = nullptr;
    QAction* EditDateTime_ = nullptr;
    QAction* ShowLineNo_ = nullptr;
    QAction* EditFind_ = nullptr;
    QAction* EditFindNext_ = nullptr;
    QAction* EditReplace_ = nullptr;
    QAction* SearchGotoLine_ = nullptr;
    QAction* FilePageSetup_ = nullptr;
    QAction* FilePrinterSetupCmd_ = nullptr;
    QAction* FilePrintPreviewCmd_ = nullptr;
    QAction* FilePrintCmd_ = nullptr;
    QAction* ac_htm_ = nullptr;
    QAction* ac_rtf_ = nullptr;
    QAction* ac_sample_ = nullptr;
    QAction* ac_help_ = nullptr;
    QAction* ac_homepage_ = nullptr;
    QAction* ac_feedback_ = nullptr;
    bool update_pending_ = false;
    bool first_show_ = true;
};

}  // namespace tarnwell
