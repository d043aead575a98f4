// The model tree: "Packages" with each package's classes and interfaces, "All classes", and
// under each class its ancestor, interfaces and subclasses, each level in dictionary order.
// Choosing a node makes its entity the one the views follow.
#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <array>

#include "classmodel/uListeners.h"
#include "classmodel/uViewIntegrator.h"

namespace tarnwell {

class TObjectModel;

class TTreeViewIntegrator : public QTreeWidget, public TViewIntegrator, public IModelAfterListener {
    Q_OBJECT
  public:
    enum Picture { PlainPicture, PackagePicture, ClassPicture, InterfacePicture };

    TTreeViewIntegrator(TObjectModel& model, QWidget* parent = nullptr);
    ~TTreeViewIntegrator() override;

    void AfterChange(TModelEntity* sender) override;
    void CurrentEntityChanged(TModelEntity* entity) override;

    static TModelEntity* EntityOf(const QTreeWidgetItem* item);
    static bool IsPrimary(const QTreeWidgetItem* item);
    static int PictureOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* FirstPrimaryNode(const TModelEntity* entity) const;
    void Rebuild();

  signals:
    // A secondary node was double-clicked: the class page should come forward.
    void ShowClassPage();
    // A class or interface read from source was double-clicked: show its declaration.
    void OpenSource(const QString& file, int line);

  private:
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, TModelEntity* entity,
                             bool primary);
    void AddClassifierNode(QTreeWidgetItem* parent, TModelEntity* classifier);
    void NodeSelected();
    void NodeDoubleClicked(QTreeWidgetItem* item);

    TObjectModel& model_;
    std::array<QIcon, 4> icons_;
    bool following_ = false;
};

}  // namespace tarnwell
