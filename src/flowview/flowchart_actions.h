// The flowchart commands of the main window: the actions of the "Flow&chart" menu, of the
// editor's popup menu and of the grid's popup menu, the flowchart panel they drive, and the
// handlers that chart the current document's marked code and tie its cells to its text.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "flowview/chart_cells.h"

#include "flowview/flowchart_commands.h"
#include "layout/grid_script.h"

class QAction;
class QPrinter;

namespace tarnwell {

class TMainform;
class TMySynEdit;
class graphpanel;

class flowchart_actions : public QObject {
    Q_OBJECT
  public:
    // The status panels the commands write.
    static constexpr int grid_pos_panel = 2;
    static constexpr int text_pos_panel = 3;
    static constexpr int hint_panel = 4;

    // Docks the panel in the window and adds the commands to its menus and tool bar.
    explicit flowchart_actions(TMainform& window);

    graphpanel* panel() const { return panel_; }
    // The source characters of the cell last clicked; "Copy highlighted code" copies them.
    const QString& highlighted_code() const { return highlighted_code_; }

    // Create or Refresh flowchart with an item index: 1 parses again and keeps the level,
    // 0 shows every level, k >= 2 shows level k - 1.
    void create_or_refresh(int index);
    // Show flowchart: lays the marked code out at an item index, or with 99 only reloads the
    // grid from the stored chart.
    // False when it parsed and the parse failed.
    bool show_flowchart(int index);
    // The cell click handler, for a grid position.
    void cell_click(int column, int row);
    void highlight_related();
    // Display mode 0 (large symbols) or 1 (small), shown in the mode list and the popup.
    void display_mode(int mode);
    // Mark 8 (begin) or 9 (end) on the caret line, or take it away when it stands there.
    void mark(int n);
    void mark_all();
    // Marks the lines of the selection (tag 0) or of the highlight (tag 1) and charts them.
    void parse_selection(int tag);
    // The code explorer chose a procedure: its declaration, begin and end lines.
    void procedure_chosen(int declaration_line, int begin_line, int end_line, bool move_caret);
    void export_bitmap();
    // Export flowchart as PDF: the chart on A4 pages, each symbol with its code as a note.
    void export_pdf();
    // Print flowchart: the same pages on the printer chosen in the print dialog.
    void print_chart();
    // The code behind the symbol a grid cell shows, as its hint shows it; empty for none.
    QString cell_hint(int column, int row) const;

    // Shows the print dialog for a printer; false when the user cancels. Tests choose a
    // printer without a dialog.
    using printer_chooser = std::function<bool(QPrinter& printer)>;
    void set_printer_chooser(printer_chooser chooser) { choose_printer_ = std::move(chooser); }
    void copy_highlighted_code();
    // The marked code's chart as Mermaid text on the clipboard, for documentation.
    void copy_mermaid();
    void toggle_panel();

  signals:
    // A mark command made the marked code valid; the begin mark stands on this line.
    void marks_made_valid(int begin_line);

  private:
    QAction* make_action(const char* name, const QString& caption, const QKeySequence& shortcut);
    void create_actions();
    void add_to_menus();
    void open_panel();
    // Sets the marks on two lines and charts them when they mark valid code.
    void chart_lines(TMySynEdit& editor, int begin_line, int end_line);
    void load_chart(match_mode mode, std::optional<grid_script> script);
    void highlight_code(std::int64_t start, std::int64_t end);
    void clear_grid();
    void refill_levels();
    void refresh_if_stale();
    void document_activated(TMySynEdit* editor);
    void update_actions(TMySynEdit* editor);
    // The current document when the grid shows its chart; otherwise nothing, and the user is
    // told so.
    TMySynEdit* drawn_chart_document(const QString& without_chart);
    // The cells of the chart shown, with their labels and code, for the paged outputs.
    chart_cells shown_chart() const;
    // What page headers name: the document's file and its charted function (or lines).
    std::string document_name(const TMySynEdit& editor) const;
    std::string function_title(const TMySynEdit& editor) const;
    // The file a save dialog chose, when it may be written (a new file, or overwriting allowed).
    std::optional<QString> chosen_export_file(const QString& suggested, const QString& filter);

    TMainform& window_;
    graphpanel* panel_ = nullptr;
    // The script the grid shows, read once when it was loaded; clicks look their cells up in it.
    grid_script shown_;
    QString highlighted_code_;

    QAction* ac_layer_ = nullptr;
    QAction* Mark_start_ = nullptr;
    QAction* Mark_end_ = nullptr;
    QAction* ac_markall_ = nullptr;
    QAction* ac_parsesel_ = nullptr;
    QAction* ac_prhighlight_ = nullptr;
    QAction* ac_hlrelate_ = nullptr;
    QAction* ac_bmp_ = nullptr;
    QAction* ac_pdf_ = nullptr;
    QAction* ac_print_ = nullptr;
    QAction* ac_mermaid_ = nullptr;
    printer_chooser choose_printer_;
    QAction* ac_copyhighlight_ = nullptr;
    QAction* ac_flowwindow_ = nullptr;
};

}  // namespace tarnwell
