#include "flowview/graphpanel.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

#include "flowview/broxgrid.h"

namespace tarnwell {

namespace {

QString level_caption(int level_number) {
    // Levels 1 to 9 are picked by their digit.
    return level_number <= 9 ? QStringLiteral("Expand level &%1").arg(level_number)
                             : QStringLiteral("Expand level %1").arg(level_number);
}

}  // namespace

graphpanel::graphpanel(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("graphpanel"));
    setWindowTitle(tr("Flowchart"));
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    // The page tab names the panel; a title bar above it would only repeat it.
    setTitleBarWidget(new QWidget(this));

    pages_ = new QTabWidget(this);
    pages_->setDocumentMode(true);
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("flowchartPage"));
    pages_->addTab(page, tr("Flowchart"));
    setWidget(pages_);

    level_list_ = new QComboBox(page);
    level_list_->setObjectName(QStringLiteral("levelList"));
    level_list_->setToolTip(tr("Flowchart Expand Level"));
    level_list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    mode_list_ = new QComboBox(page);
    mode_list_->setObjectName(QStringLiteral("modeList"));
    mode_list_->setToolTip(tr("Display Mode"));
    mode_list_->addItems({QStringLiteral("BIG"), QStringLiteral("SMALL")});

    grid_ = new tbroxgrid(page);
    grid_->setObjectName(QStringLiteral("broxgrid"));
    grid_->viewport()->installEventFilter(this);

    auto* lists = new QHBoxLayout;
    lists->setContentsMargins(4, 4, 4, 4);
    lists->addWidget(level_list_);
    lists->addWidget(mode_list_);
    lists->addStretch();
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(lists);
    column->addWidget(grid_, 1);

    grid_popup_ = new QMenu(this);
    grid_popup_->setObjectName(QStringLiteral("gridPopup"));
    auto* mode_group = new QActionGroup(this);
    const std::array<QString, 2> mode_captions{tr("&Big Flowchart Mode"),
                                               tr("&Small Flowchart Mode")};
    for (const int mode : {small_mode, big_mode}) {
        QAction* item = grid_popup_->addAction(mode_captions[static_cast<std::size_t>(mode)]);
        item->setCheckable(true);
        mode_group->addAction(item);
        connect(item, &QAction::triggered, this, [this, mode] { emit mode_chosen(mode); });
        modes_[static_cast<std::size_t>(mode)] = item;
    }
    modes_[big_mode]->setChecked(true);
    grid_popup_->addSeparator();
    all_levels_ = grid_popup_->addAction(tr("Expand &All levels"));
    all_levels_->setCheckable(true);
    connect(all_levels_, &QAction::triggered, this, [this] { emit level_chosen(level_all); });
    for (int k = 1; k <= popup_level_count; ++k) {
        QAction* item = grid_popup_->addAction(level_caption(k));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, k] { emit level_chosen(k + 1); });
        levels_[static_cast<std::size_t>(k - 1)] = item;
    }
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { grid_popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    connect(level_list_, &QComboBox::activated, this, &graphpanel::level_chosen);
    connect(mode_list_, &QComboBox::activated, this, &graphpanel::mode_chosen);
    fill_levels(1, 4);
}

QAction* graphpanel::level_item(int tag) const {
    if (tag == level_all) return all_levels_;
    if (tag < 2 || tag > popup_level_count + 1) return nullptr;
    return levels_[static_cast<std::size_t>(tag - 2)];
}

QAction* graphpanel::mode_item(int mode) const {
    if (mode != big_mode && mode != small_mode) return nullptr;
    return modes_[static_cast<std::size_t>(mode)];
}

void graphpanel::show_flowchart_page() {
    pages_->setCurrentIndex(0);
}

bool graphpanel::small_mode_shown() const {
    return mode_list_->currentIndex() == small_mode;
}

void graphpanel::show_mode(int mode) {
    if (QAction* item = mode_item(mode)) {
        mode_list_->setCurrentIndex(mode);
        item->setChecked(true);
    }
}

void graphpanel::fill_levels(int depth, int expand_level) {
    level_list_->clear();
    for (const std::string& item : level_list_items(depth)) {
        level_list_->addItem(QString::fromStdString(item));
    }
    level_list_->setCurrentIndex(expand_level < level_list_->count() ? expand_level : -1);
    all_levels_->setChecked(false);
    for (int k = 1; k <= popup_level_count; ++k) {
        QAction* item = levels_[static_cast<std::size_t>(k - 1)];
        item->setChecked(false);
        item->setVisible(level_item_visible(k, depth));
    }
    if (QAction* ticked = level_item(expand_level)) ticked->setChecked(true);
}

void graphpanel::enterEvent(QEnterEvent* event) {
    QDockWidget::enterEvent(event);
    emit entered();
}

bool graphpanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
        emit grid_pressed();
    }
    return QDockWidget::eventFilter(watched, event);
}

}  // namespace tarnwell
