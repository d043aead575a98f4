// The small progress window of imports and documentation runs: a bar 390 x 22 pixels in a
// window without border icons, centred over the screen, repainted at every step.
#pragma once

#include <QDialog>

#include "classmodel/uIntegrator.h"

class QProgressBar;

namespace tarnwell {

class TPellamProgress : public QDialog, public IProgressWindow {
    Q_OBJECT
  public:
    TPellamProgress(const QString& caption, int maximum, QWidget* owner);
    void Tick() override;
    int Position() const;

  private:
    QProgressBar* bar_ = nullptr;
};

}  // namespace tarnwell
