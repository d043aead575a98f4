// The model tree on its own: the order of its nodes and what a double click asks for.
#include "classwin/uTreeViewIntegrator.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "classmodel/uModel.h"

namespace tarnwell {
namespace {

QStringList ChildTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
    return texts;
}

TEST(TreeView, NamesSortAsInADictionaryWhateverTheirCase) {
    TObjectModel model;
    TTreeViewIntegrator tree(model);
    model.Lock();
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    model.ModelRoot()->AddUnitPackage("Zeta");
    model.ModelRoot()->AddUnitPackage("alpha");
    for (const char* name : {"beta", "Gamma", "alpha2", "Alpha", "Beta"}) p->AddClass(name);
    model.Unlock();
    const QStringList classes = {"Alpha", "alpha2", "Beta", "beta", "Gamma"};
    QTreeWidgetItem* packages = tree.topLevelItem(0);
    EXPECT_EQ(ChildTexts(packages), QStringList({"<<Unknown>>", "alpha", "p", "Zeta"}));
    EXPECT_EQ(ChildTexts(packages->child(2)), classes);
    EXPECT_EQ(ChildTexts(tree.topLevelItem(1)), classes);
}

TEST(TreeView, DoubleClickOnAClassFromSourceAsksForItsDeclaration) {
    TObjectModel model;
    TTreeViewIntegrator tree(model);
    QSignalSpy opened(&tree, &TTreeViewIntegrator::OpenSource);
    model.Lock();
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* read = p->AddClass("Read");
    read->SetSourceLocation("/src/p/Read.java", 12);
    TInterface* shape = p->AddInterface("Shape");
    shape->SetSourceLocation("/src/p/Shape.java", 3);
    read->AddImplements(shape);
    // From a class file: no source to show.
    p->AddClass("Compiled");
    model.Unlock();

    struct click_case {
        const char* node;
        const char* parent;
        QList<QVariant> asked;  // empty: nothing asked
    };
    const click_case cases[] = {
        {"Read", "p", {QStringLiteral("/src/p/Read.java"), 12}},
        {"Shape", "All classes", {QStringLiteral("/src/p/Shape.java"), 3}},
        {"Compiled", "p", {}},
        {"p", "Packages", {}},
        // A secondary node leads to the class's own node instead.
        {"Shape", "interfaces", {}},
    };
    for (const click_case& c : cases) {
        SCOPED_TRACE(c.node);
        QTreeWidgetItem* node = nullptr;
        for (QTreeWidgetItem* found :
             tree.findItems(QString::fromLatin1(c.node), Qt::MatchExactly | Qt::MatchRecursive)) {
            if (found->parent() != nullptr && found->parent()->text(0) == c.parent) node = found;
        }
        ASSERT_NE(node, nullptr);
        opened.clear();
        emit tree.itemDoubleClicked(node, 0);
        if (c.asked.isEmpty()) {
            EXPECT_EQ(opened.count(), 0);
        } else {
            ASSERT_EQ(opened.count(), 1);
            EXPECT_EQ(opened.front(), c.asked);
        }
    }
}

}  // namespace
}  // namespace tarnwell
