// The Office export commands of the main window: "Export flowchart to Visio", "... Word",
// "... Excel" and "... PowerPoint" in the flowchart menu, each opening its options dialog and
// writing the current document's chart with the options chosen.
#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "officeexport/cell_table.h"
#include "officeexport/export_options.h"
#include "officeexport/export_options_dialog.h"

class QAction;

namespace tarnwell {

class TMainform;
class TMySynEdit;

// The export layout of the current document's marked code as a cell table, at a level code,
// texts cut at `limit` (-1: never); a parse error is shown as the chart shows it, and the
// table holds what was read before it. None without a document of a chosen language whose
// marks are valid.
std::optional<cell_table> marked_chart_table(TMainform& window, int level, int limit);

class office_export_actions : public QObject {
    Q_OBJECT
  public:
    // Adds the commands of the applications whose documents can be written to the window's
    // flowchart menu; their dialogs start with `output_dir` as the output folder.
    explicit office_export_actions(TMainform& window,
                                   std::string output_dir = documents_output_folder());
    ~office_export_actions() override;

    QAction* action(export_application application) const;
    // The command: its precondition, then its dialog.
    void export_to(export_application application);
    // Writes the current document's chart as the checked options say: the time-stamped copy
    // first, with the source code shown the other way, then the output file, and offers to
    // open it. False, having said why, when no language is chosen, the marks give no code to
    // chart or the output file could not be written.
    bool run(const start_outcome& start);

  private:
    TfmExportOptions& dialog(export_application application);
    void update_actions(TMySynEdit* editor);

    TMainform& window_;
    std::string output_dir_;
    std::array<QAction*, 4> actions_{};
    std::array<std::unique_ptr<TfmExportOptions>, 4> dialogs_;
};

}  // namespace tarnwell
