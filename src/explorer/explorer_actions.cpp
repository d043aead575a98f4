#include "explorer/explorer_actions.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QMenu>

#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {

explorer_actions::explorer_actions(TMainform& window,
                                   TfrmCodeExplorer::procedure_chosen_handler chosen)
    : QObject(&window) {
    setObjectName(QStringLiteral("explorerActions"));
    explorerpanel_ = new QDockWidget(tr("Exploring"), &window);
    explorerpanel_->setObjectName(QStringLiteral("explorerpanel"));
    explorerpanel_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    explorer_ = new TfrmCodeExplorer(window, std::move(chosen), explorerpanel_);
    explorerpanel_->setWidget(explorer_);
    explorerpanel_->setWindowTitle(explorer_->windowTitle());
    connect(explorer_, &QWidget::windowTitleChanged, explorerpanel_, &QWidget::setWindowTitle);
    window.addDockWidget(Qt::LeftDockWidgetArea, explorerpanel_);
    explorerpanel_->installEventFilter(this);
    // Closing only puts the explorer away; the View menu brings it back.
    connect(explorer_, &TfrmCodeExplorer::close_requested, explorerpanel_, &QWidget::hide);

    ac_explorer_ = explorerpanel_->toggleViewAction();
    ac_explorer_->setObjectName(QStringLiteral("ac_explorer"));
    ac_explorer_->setText(tr("Code E&xplorer"));
    ac_explorer_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    window.view_menu()->addAction(ac_explorer_);

    connect(&window, &TMainform::document_activated, explorer_,
            &TfrmCodeExplorer::document_changed);
    // Another language has other categories and another scanner.
    connect(&window, &TMainform::language_chosen, explorer_, &TfrmCodeExplorer::build_roots);
}

bool explorer_actions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == explorerpanel_ && event->type() == QEvent::Enter) explorer_->timer_step();
    return QObject::eventFilter(watched, event);
}

}  // namespace tarnwell
