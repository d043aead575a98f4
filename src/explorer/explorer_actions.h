// The code explorer in the main window: its panel at the lower left, the View menu's command
// that shows and hides it, and the window's events that it follows.
#pragma once

#include <QObject>

#include "explorer/ufrmCodeExplorer.h"

class QAction;
class QDockWidget;

namespace tarnwell {

class TMainform;

class explorer_actions : public QObject {
    Q_OBJECT
  public:
    // Docks the explorer in the window; `chosen` charts the procedure the user picks.
    explorer_actions(TMainform& window, TfrmCodeExplorer::procedure_chosen_handler chosen);

    TfrmCodeExplorer* explorer() const { return explorer_; }
    QDockWidget* panel() const { return explorerpanel_; }

    // The marks became valid: the explorer selects the procedure that holds the begin mark.
    void select_procedure_at_line(int line) { explorer_->select_procedure_at_line(line); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TfrmCodeExplorer* explorer_ = nullptr;
    QDockWidget* explorerpanel_ = nullptr;
    QAction* ac_explorer_ = nullptr;
};

}  // namespace tarnwell
