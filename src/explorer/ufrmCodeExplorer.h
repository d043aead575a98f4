// The code explorer window: a tree of the procedures of the current document under their
// category roots, filled by a background scan; choosing a procedure marks its body for the
// flowchart.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "explorer/explore_cycle.h"
#include "explorer/explorer_categories.h"
#include "explorer/explorer_tree.h"
#include "explorer/uKestrinProcLexer.h"

class QMenu;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarnwell {

class TMainform;
class TMySynEdit;

class TfrmCodeExplorer : public QWidget {
    Q_OBJECT
  public:
    // The flowchart side's reply to a chosen procedure: declaration, begin and end line, and
    // whether to move the caret to the declaration.
    using procedure_chosen_handler =
        std::function<void(int declaration_line, int begin_line, int end_line, bool move_caret)>;
    // Makes the scanner of a language number; none when the language is not scanned.
    using scanner_factory = std::function<std::unique_ptr<TKestrinProcLexer>(int language)>;

    static constexpr int scan_budget_ms = 3000;
    static constexpr int timer_interval_ms = 2000;

    enum class origin { none, begin_mark };

    TfrmCodeExplorer(TMainform& window, procedure_chosen_handler chosen, QWidget* parent = nullptr);
    // Waits for a scan that still runs; its result is dropped.
    ~TfrmCodeExplorer() override;

    void set_scanner_factory(scanner_factory factory) { make_scanner_ = std::move(factory); }
    TCodeExplorerProperties& properties() { return properties_; }

    // Another document came forward (or the same one changed its name or language): roots
    // for its language, then a scan.
    void document_changed();
    // Rebuilds the category roots for the current document and explores it.
    void build_roots();
    // Scans the current document; while a scan runs, its end settles the request.
    void explore();
    // Selects the procedure that holds a line, once the running scan (if any) has ended.
    void select_procedure_at_line(int line);
    // The timer's step: explores again after the current document was edited, keeping the
    // roots expanded or collapsed as they are.
    void timer_step();
    // The selected procedure node was chosen: the document takes its name and, unless the
    // begin mark led here, its body is marked and charted.
    void node_chosen(origin from);
    // The options dialog; OK rebuilds the tree.
    void show_options();

    bool busy() const { return cycle_.busy(); }
    QTreeWidget* tree() const { return treCodeExplorer_; }
    QMenu* popup() const { return popCodeExplorer_; }
    const explorer_tree& model() const { return model_; }
    // The document whose procedures the tree shows or is about to show.
    const QString& explored_path() const { return path_; }

  signals:
    // The explorer asks to be put away ("Close" of its popup menu).
    void close_requested();
    // A scan's result was applied or dropped.
    void scan_ended();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void create_popup();
    void set_busy_view(bool busy);
    scan_subject current_subject() const;
    void result_processing(std::uint64_t scan);
    void apply_result(const std::string& result_text);
    void show_failure(const std::exception& error);
    void select_now(int line);
    void show_model();
    QTreeWidgetItem* item_of(node_ref node) const;
    std::optional<node_ref> node_of(QTreeWidgetItem* item) const;
    int absolute_index_of(QTreeWidgetItem* item) const;
    void watch_edits(TMySynEdit* editor);

    TMainform& window_;
    procedure_chosen_handler chosen_;
    scanner_factory make_scanner_;
    TCodeExplorerProperties properties_;
    explorer_tree model_;
    explore_cycle cycle_;

    // The running scan and what it was started for.
    std::unique_ptr<TKestrinProcLexer> scanner_;
    scan_subject scanned_;
    std::uint64_t scan_number_ = 0;

    QString path_;
    int saved_top_ = -1;
    int saved_selected_ = -1;
    bool re_explore_ = false;
    // The roots' expansion as the user left it, for a rescan after an edit.
    std::optional<std::array<bool, category_count>> kept_expansion_;
    QPointer<TMySynEdit> watched_editor_;
    QMetaObject::Connection edit_watch_;

    QTreeWidget* treCodeExplorer_ = nullptr;
    QMenu* popCodeExplorer_ = nullptr;
    QTimer* tmrCodeExplorer_ = nullptr;
};

}  // namespace tarnwell
