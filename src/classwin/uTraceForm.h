// The trace window of "-traceon": the trace lines of the class half, kept on screen beside the
// main window.
#pragma once

#include <QWidget>

#include "classmodel/uError.h"

class QPlainTextEdit;

namespace tarnwell {

class TTraceForm : public QWidget, public ITraceSink {
    Q_OBJECT
  public:
    explicit TTraceForm(QWidget* owner);
    void TraceLine(std::string_view line) override;
    QString Text() const;

  private:
    QPlainTextEdit* lines_ = nullptr;
};

}  // namespace tarnwell
