#include "explorer/ufrmExplorerOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>

namespace tarnwell {

namespace {

constexpr int expanded_role = Qt::UserRole;

// The 13 x 13 state pictures: a plus for a collapsed category, a minus for an expanded one.
QIcon state_icon(bool expanded) {
    QPixmap picture(13, 13);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, 12, 12);
    painter.setPen(Qt::black);
    painter.drawLine(3, 6, 9, 6);
    if (!expanded) painter.drawLine(6, 3, 6, 9);
    return QIcon(picture);
}

}  // namespace

TfrmExplorerOptions::TfrmExplorerOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmExplorerOptions"));
    setWindowTitle(tr("Explorer Options"));
    resize(379, 221);

    auto* pages = new QTabWidget(this);
    auto* page = new QWidget(pages);
    pages->addTab(page, tr("Explorer"));

    auto* options = new QGroupBox(tr("Explorer options"), page);
    chkAutoExplorer_ = new QCheckBox(tr("&Automatically show Explorer"), options);
    chkAutoExplorer_->setObjectName(QStringLiteral("chkAutoExplorer"));
    chkDeclarationSyntax_ = new QCheckBox(tr("Show &declaration syntax"), options);
    chkDeclarationSyntax_->setObjectName(QStringLiteral("chkDeclarationSyntax"));
    chkDeclarationSyntax_->setEnabled(false);
    auto* options_layout = new QVBoxLayout(options);
    options_layout->addWidget(chkAutoExplorer_);
    options_layout->addWidget(chkDeclarationSyntax_);

    auto* sorting = new QGroupBox(tr("Explorer sorting"), page);
    radAlphaSort_ = new QRadioButton(tr("Alpha&betical"), sorting);
    radAlphaSort_->setObjectName(QStringLiteral("radAlphaSort"));
    radSourceSort_ = new QRadioButton(tr("&Source"), sorting);
    radSourceSort_->setObjectName(QStringLiteral("radSourceSort"));
    auto* sorting_layout = new QVBoxLayout(sorting);
    sorting_layout->addWidget(radAlphaSort_);
    sorting_layout->addWidget(radSourceSort_);

    auto* pnlCategories = new QWidget(page);
    pnlCategories->setObjectName(QStringLiteral("pnlCategories"));
    auto* label = new QLabel(tr("Explorer ca&tegories:"), pnlCategories);
    lstExpOptions_ = new QListWidget(pnlCategories);
    lstExpOptions_->setObjectName(QStringLiteral("lstExpOptions"));
    lstExpOptions_->setIconSize(QSize(13, 13));
    lstExpOptions_->setMinimumWidth(150);
    lstExpOptions_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Items are put in order by dragging them within the list; nothing else may be dropped.
    lstExpOptions_->setDragDropMode(QAbstractItemView::InternalMove);
    lstExpOptions_->setDefaultDropAction(Qt::MoveAction);
    lstExpOptions_->viewport()->installEventFilter(this);
    label->setBuddy(lstExpOptions_);
    auto* categories_layout = new QVBoxLayout(pnlCategories);
    categories_layout->setContentsMargins(0, 0, 0, 0);
    categories_layout->addWidget(label);
    categories_layout->addWidget(lstExpOptions_);

    auto* left = new QVBoxLayout;
    left->addWidget(options);
    left->addWidget(sorting);
    left->addStretch();
    auto* page_layout = new QHBoxLayout(page);
    page_layout->addLayout(left);
    page_layout->addWidget(pnlCategories, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
}

void TfrmExplorerOptions::load(const TCodeExplorerProperties& properties) {
    chkAutoExplorer_->setChecked(properties.AutoShowExplorer);
    chkDeclarationSyntax_->setChecked(properties.ShowDeclarationSyntax);
    radAlphaSort_->setChecked(properties.AlphaSort);
    radSourceSort_->setChecked(!properties.AlphaSort);
    lstExpOptions_->clear();
    for (const category_option& option : load_category_options(properties)) {
        auto* item = new QListWidgetItem(QString::fromStdString(option.name), lstExpOptions_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsDragEnabled);
        item->setCheckState(option.visible ? Qt::Checked : Qt::Unchecked);
        set_expanded(item, option.expanded);
    }
}

void TfrmExplorerOptions::save(TCodeExplorerProperties& properties) const {
    save_category_options(category_list(), properties);
    properties.ShowDeclarationSyntax = chkDeclarationSyntax_->isChecked();
    properties.AutoShowExplorer = chkAutoExplorer_->isChecked();
    properties.AlphaSort = radAlphaSort_->isChecked();
}

std::vector<category_option> TfrmExplorerOptions::category_list() const {
    std::vector<category_option> list;
    for (int i = 0; i < lstExpOptions_->count(); ++i) {
        const QListWidgetItem* item = lstExpOptions_->item(i);
        list.push_back({item->text().toStdString(), item->checkState() == Qt::Checked,
                        item->data(expanded_role).toBool()});
    }
    return list;
}

void TfrmExplorerOptions::set_expanded(QListWidgetItem* item, bool expanded) {
    item->setData(expanded_role, expanded);
    item->setIcon(state_icon(expanded));
}

TfrmExplorerOptions::item_part TfrmExplorerOptions::part_at(QListWidgetItem* item,
                                                            QPoint at) const {
    QStyleOptionViewItem option;
    option.initFrom(lstExpOptions_);
    option.rect = lstExpOptions_->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator |
                      QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasDisplay;
    option.decorationSize = lstExpOptions_->iconSize();
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.icon = item->icon();
    option.text = item->text();
    option.checkState = item->checkState();
    QStyle* look = lstExpOptions_->style();
    if (look->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, lstExpOptions_)
            .contains(at)) {
        return item_part::check;
    }
    if (look->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, lstExpOptions_)
            .contains(at)) {
        return item_part::state;
    }
    return item_part::none;
}

bool TfrmExplorerOptions::eventFilter(QObject* watched, QEvent* event) {
    if (watched != lstExpOptions_->viewport()) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        QListWidgetItem* item = lstExpOptions_->itemAt(at);
        // Only the selected item's picture turns, so that a click that selects cannot.
        if (item != nullptr && item == lstExpOptions_->currentItem() &&
            part_at(item, at) == item_part::state) {
            set_expanded(item, !item->data(expanded_role).toBool());
            return true;
        }
    } else if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QListWidgetItem* item = lstExpOptions_->itemAt(help->pos());
        QString hint;
        if (item != nullptr) {
            switch (part_at(item, help->pos())) {
                case item_part::check:
                    hint = item->checkState() == Qt::Checked ? tr("Visible") : tr("Hidden");
                    break;
                case item_part::state:
                    hint = item->data(expanded_role).toBool() ? tr("Expanded") : tr("Collapsed");
                    break;
                case item_part::none:
                    break;
            }
        }
        if (hint.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), hint, lstExpOptions_);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tarnwell
