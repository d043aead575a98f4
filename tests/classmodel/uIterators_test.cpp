#include "classmodel/uIterators.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classmodel/uError.h"
#include "classmodel/uModel.h"

namespace tarnwell {
namespace {

std::vector<std::string> names(IModelIterator& it) {
    std::vector<std::string> result;
    while (it.HasNext()) result.push_back(it.Next()->Name());
    return result;
}

// A class with features of every visibility, names in mixed case.
class IteratorTest : public testing::Test {
  protected:
    void SetUp() override {
        const std::pair<const char*, TVisibility> attributes[] = {
            {"zeta", TVisibility::Public},    {"Alpha", TVisibility::Private},
            {"beta", TVisibility::Protected}, {"Gamma", TVisibility::Public},
            {"delta", TVisibility::Private},  {"Omega", TVisibility::Published},
        };
        for (const auto& [name, visibility] : attributes) {
            foo->AddAttribute(name)->SetVisibility(visibility);
        }
        foo->AddOperation("Run")->SetVisibility(TVisibility::Protected);
    }

    TObjectModel model;
    TClass* foo = model.ModelRoot()->AddUnitPackage("p")->AddClass("Foo");
};

TEST_F(IteratorTest, SortsByVisibilityThenNameOrByNameAlone) {
    struct sort_case {
        TIterationSort sort;
        std::vector<std::string> order;
    };
    const sort_case cases[] = {
        {TIterationSort::Unsorted, {"zeta", "Alpha", "beta", "Gamma", "delta", "Omega", "Run"}},
        {TIterationSort::ByVisibilityAndName,
         {"Alpha", "delta", "beta", "Run", "Gamma", "zeta", "Omega"}},
        {TIterationSort::ByName, {"Alpha", "beta", "delta", "Gamma", "Omega", "Run", "zeta"}},
    };
    for (const sort_case& c : cases) {
        TModelIterator sorted(*foo->GetFeatures(), c.sort);
        EXPECT_EQ(names(sorted), c.order) << static_cast<int>(c.sort);
    }
}

TEST_F(IteratorTest, FiltersByKindAndMinimumVisibility) {
    struct filter_case {
        TEntityKind kind;
        TVisibility minimum;
        std::vector<std::string> kept;
    };
    const filter_case cases[] = {
        {TEntityKind::Attribute, TVisibility::Public, {"Gamma", "zeta", "Omega"}},
        {TEntityKind::Feature, TVisibility::Protected, {"beta", "Run", "Gamma", "zeta", "Omega"}},
        {TEntityKind::Operation, TVisibility::Private, {"Run"}},
        {TEntityKind::Classifier, TVisibility::Private, {}},
    };
    for (const filter_case& c : cases) {
        TModelIterator filtered(*foo->GetFeatures(), c.kind, c.minimum,
                                TIterationSort::ByVisibilityAndName);
        EXPECT_EQ(filtered.Count(), c.kept.size());
        EXPECT_EQ(names(filtered), c.kept);
    }
    EXPECT_EQ(foo->GetOperations()->Count(), 1u);
    EXPECT_EQ(foo->GetAttributes()->Count(), 6u);
}

TEST_F(IteratorTest, NextPastTheEndRaisesAndResetStartsAgain) {
    TModelIterator it(*foo->GetOperations(), TIterationSort::Unsorted);
    ASSERT_TRUE(it.HasNext());
    EXPECT_EQ(it.Next()->Name(), "Run");
    EXPECT_FALSE(it.HasNext());
    try {
        it.Next();
        FAIL() << "no error raised";
    } catch (const model_error& error) {
        EXPECT_STREQ(error.what(), "TModelIterator.Next at end");
    }
    it.Reset();
    EXPECT_EQ(names(it), std::vector<std::string>{"Run"});
}

TEST_F(IteratorTest, LiveListsSeeLaterAdditionsCopiesDoNot) {
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("q");
    p->AddClass("A");
    const auto live = p->GetClassifiers();
    const auto copy = model.ModelRoot()->GetAllClassifiers();
    const std::size_t copied = copy->Count();
    p->AddClass("B");
    EXPECT_EQ(live->Count(), 2u);
    EXPECT_EQ(names(*live), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(copy->Count(), copied);
}

TEST(IteratorFilters, EachAcceptsItsOwnEntities) {
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* base = p->AddClass("Base");
    TClass* child = p->AddClass("Child");
    TClass* other = p->AddClass("Other");
    TInterface* shape = p->AddInterface("Shape");
    child->SetAncestor(base);
    other->AddImplements(shape);

    const TEntitySkipFilter skip(child);
    const TClassDescendantFilter descendants(base);
    const TInterfaceImplementsFilter implementors(shape);
    struct filter_case {
        const IIteratorFilter* filter;
        std::vector<std::string> kept;
    };
    const filter_case cases[] = {
        {&skip, {"Base", "Other", "Shape"}},
        {&descendants, {"Child"}},
        {&implementors, {"Other"}},
        {nullptr, {"Base", "Child", "Other", "Shape"}},
    };
    for (const filter_case& c : cases) {
        TModelIterator filtered(*p->GetClassifiers(), c.filter);
        EXPECT_EQ(names(filtered), c.kept);
    }
}

}  // namespace
}  // namespace tarnwell
