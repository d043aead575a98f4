// The "Go to Line" dialog: a line number of the current document, from 1 to its last line,
// proposed at the caret's line.
#pragma once

#include <QDialog>
#include <optional>

class QSpinBox;

namespace tarnwell {

class TMySynEdit;

class TdlgGotoLine : public QDialog {
    Q_OBJECT
  public:
    TdlgGotoLine(int current_line, int last_line, QWidget* parent = nullptr);

    QSpinBox* line_field() const { return line_; }
    int line() const;

    // Asks for a line of `editor` and moves its caret there; false when the user cancelled.
    static bool go_to_line(TMySynEdit& editor, QWidget* parent);

  private:
    QSpinBox* line_;
};

}  // namespace tarnwell
