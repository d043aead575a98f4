#include "classwin/uPellamProgress.h"

#include <QApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace tarnwell {

TPellamProgress::TPellamProgress(const QString& caption, int maximum, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("PellamProgress"));
    setWindowTitle(caption);
    setModal(false);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, std::max(maximum, 0));
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setFixedSize(390, 22);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_);
    setFixedSize(390, 22);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TPellamProgress::Tick() {
    bar_->setValue(std::min(bar_->value() + 1, bar_->maximum()));
    // Only painting runs here: a click now could pull the model away from the importer.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int TPellamProgress::Position() const {
    return bar_->value();
}

}  // namespace tarnwell
