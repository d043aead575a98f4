#include "classwin/uTreeViewIntegrator.h"

#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <algorithm>

#include "classmodel/uIterators.h"
#include "classmodel/uModel.h"

namespace tarnwell {

namespace {

constexpr int EntityRole = Qt::UserRole;
constexpr int PictureRole = Qt::UserRole + 2;
constexpr int PrimaryRole = Qt::UserRole + 1;
}  // namespace

int TTreeViewIntegrator::PictureOf(const QTreeWidgetItem* item) {
    return item == nullptr ? PlainPicture : item->data(0, PictureRole).toInt();
}

namespace {

std::vector<TModelEntity*> SortedByName(std::unique_ptr<IModelIterator> entities) {
    std::vector<TModelEntity*> sorted;
    while (entities->HasNext()) sorted.push_back(entities->Next());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TModelEntity* a, const TModelEntity* b) {
                         return NameBefore(a->Name(), b->Name());
                     });
    return sorted;
}

QString NameOf(const TModelEntity& entity) {
    return QString::fromStdString(entity.Name());
}

}  // namespace

TTreeViewIntegrator::TTreeViewIntegrator(TObjectModel& model, QWidget* parent)
    : QTreeWidget(parent), model_(model) {
    setObjectName(QStringLiteral("tvModel"));
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // One icon per kind, shared by every node: a model of thousands of classes must not
    // make its pictures again for each.
    const QStyle::StandardPixmap pictures[] = {QStyle::SP_FileIcon, QStyle::SP_DirIcon,
                                               QStyle::SP_FileDialogDetailedView,
                                               QStyle::SP_FileDialogInfoView};
    for (std::size_t i = 0; i < icons_.size(); ++i) icons_[i] = style()->standardIcon(pictures[i]);
    model_.AddListener(this);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &TTreeViewIntegrator::NodeSelected);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &TTreeViewIntegrator::NodeDoubleClicked);
}

TTreeViewIntegrator::~TTreeViewIntegrator() {
    model_.RemoveListener(this);
}

TModelEntity* TTreeViewIntegrator::EntityOf(const QTreeWidgetItem* item) {
    return item == nullptr ? nullptr
                           : static_cast<TModelEntity*>(item->data(0, EntityRole).value<void*>());
}

bool TTreeViewIntegrator::IsPrimary(const QTreeWidgetItem* item) {
    return item != nullptr && item->data(0, PrimaryRole).toBool();
}

void TTreeViewIntegrator::AfterChange(TModelEntity*) {
    Rebuild();
}

QTreeWidgetItem* TTreeViewIntegrator::AddNode(QTreeWidgetItem* parent, const QString& text,
                                              TModelEntity* entity, bool primary) {
    auto* item = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
    item->setText(0, text);
    item->setData(0, EntityRole, QVariant::fromValue(static_cast<void*>(entity)));
    item->setData(0, PrimaryRole, primary);
    Picture picture = PlainPicture;
    if (entity != nullptr && entity->Is(TEntityKind::AbstractPackage)) picture = PackagePicture;
    if (entity != nullptr && entity->Is(TEntityKind::Class)) picture = ClassPicture;
    if (entity != nullptr && entity->Is(TEntityKind::Interface)) picture = InterfacePicture;
    item->setIcon(0, icons_[picture]);
    item->setData(0, PictureRole, static_cast<int>(picture));
    return item;
}

void TTreeViewIntegrator::AddClassifierNode(QTreeWidgetItem* parent, TModelEntity* classifier) {
    QTreeWidgetItem* node = AddNode(parent, NameOf(*classifier), classifier, true);
    const auto add_group = [&](const QString& caption, std::unique_ptr<IModelIterator> members) {
        const std::vector<TModelEntity*> sorted = SortedByName(std::move(members));
        if (sorted.empty()) return;
        QTreeWidgetItem* group = AddNode(node, caption, nullptr, false);
        for (TModelEntity* member : sorted) AddNode(group, NameOf(*member), member, false);
    };
    if (auto* cls = dynamic_cast<TClass*>(classifier)) {
        if (TClass* ancestor = cls->Ancestor())
            AddNode(node, tr("Ancestor: ") + NameOf(*ancestor), ancestor, false);
        add_group(tr("interfaces"), cls->GetImplements());
        add_group(tr("subclasses"), cls->GetDescendants());
    } else if (auto* intf = dynamic_cast<TInterface*>(classifier)) {
        if (TInterface* ancestor = intf->Ancestor())
            AddNode(node, tr("Ancestor: ") + NameOf(*ancestor), ancestor, false);
        add_group(tr("implementors"), intf->GetImplementingClasses());
    }
}

void TTreeViewIntegrator::Rebuild() {
    const QSignalBlocker quiet(this);
    clear();
    TLogicPackage* root = model_.ModelRoot();
    QTreeWidgetItem* packages = AddNode(nullptr, tr("Packages"), root, true);
    for (TModelEntity* package : SortedByName(root->GetPackages())) {
        QTreeWidgetItem* node = AddNode(packages, NameOf(*package), package, true);
        if (auto* unit = dynamic_cast<TUnitPackage*>(package)) {
            for (TModelEntity* classifier : SortedByName(unit->GetClassifiers())) {
                if (classifier->Is(TEntityKind::Class) || classifier->Is(TEntityKind::Interface))
                    AddClassifierNode(node, classifier);
            }
        }
    }
    packages->setExpanded(true);
    QTreeWidgetItem* all = AddNode(nullptr, tr("All classes"), AllClassesView(), true);
    for (TModelEntity* classifier : SortedByName(root->GetAllClassifiers())) {
        if (classifier->Is(TEntityKind::Class) || classifier->Is(TEntityKind::Interface))
            AddNode(all, NameOf(*classifier), classifier, true);
    }
}

QTreeWidgetItem* TTreeViewIntegrator::FirstPrimaryNode(const TModelEntity* entity) const {
    if (entity == nullptr) return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<TTreeViewIntegrator*>(this)); *it; ++it) {
        if (IsPrimary(*it) && EntityOf(*it) == entity) return *it;
    }
    return nullptr;
}

void TTreeViewIntegrator::CurrentEntityChanged(TModelEntity* entity) {
    if (following_) return;
    const QSignalBlocker quiet(this);
    QTreeWidgetItem* node = FirstPrimaryNode(entity);
    setCurrentItem(node);
    if (node == nullptr)
        clearSelection();
    else
        scrollToItem(node);
}

void TTreeViewIntegrator::NodeSelected() {
    const QList<QTreeWidgetItem*> chosen = selectedItems();
    if (chosen.isEmpty() || !IsPrimary(chosen.front())) return;
    following_ = true;
    SetCurrentEntity(EntityOf(chosen.front()));
    following_ = false;
}

void TTreeViewIntegrator::NodeDoubleClicked(QTreeWidgetItem* item) {
    if (IsPrimary(item)) {
        const auto* classifier = dynamic_cast<const TClassifier*>(EntityOf(item));
        if (classifier != nullptr && !classifier->SourceFile().empty()) {
            emit OpenSource(QFile::decodeName(QByteArray::fromStdString(classifier->SourceFile())),
                            classifier->SourceLine());
        }
        return;
    }
    QTreeWidgetItem* primary = FirstPrimaryNode(EntityOf(item));
    if (primary == nullptr) return;
    setCurrentItem(primary);
    emit ShowClassPage();
}

}  // namespace tarnwell
