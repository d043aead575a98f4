#include "classmodel/uModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classmodel/uError.h"

namespace tarnwell {
namespace {

// Records every call as "<operation> <sender>[ <child>]".
class recorder : public virtual IEntityListener {
  public:
    void Changed(TModelEntity* sender) override { calls.push_back("Changed " + sender->Name()); }
    void ChildAdded(TModelEntity* sender, TModelEntity* child) override {
        calls.push_back("ChildAdded " + sender->Name() + " " + child->Name());
    }
    void Removing(TModelEntity* sender) override { calls.push_back("Removing " + sender->Name()); }
    void PropertyChanged(TModelEntity* sender) override {
        calls.push_back("PropertyChanged " + sender->Name());
    }
    std::vector<std::string> calls;
};

// Hears the after-events of classes and operations, nothing else.
struct class_and_operation_listener : recorder, IClassAfterListener, IOperationAfterListener {};

// Refuses every before-event of classes and unit packages.
struct refusing_listener : recorder, IClassBeforeListener, IUnitPackageBeforeListener {
    void ChildAdded(TModelEntity* sender, TModelEntity* child) override {
        recorder::ChildAdded(sender, child);
        throw model_error("refused " + child->Name());
    }
    void PropertyChanged(TModelEntity* sender) override {
        recorder::PropertyChanged(sender);
        throw model_error("refused " + sender->Name());
    }
};

struct model_listener : IModelBeforeListener, IModelAfterListener {
    void BeforeChange(TModelEntity* sender) override {
        EXPECT_EQ(sender, nullptr);
        ++before;
    }
    void AfterChange(TModelEntity* sender) override {
        EXPECT_EQ(sender, nullptr);
        ++after;
    }
    int before = 0;
    int after = 0;
};

TEST(ObjectModel, FreshModelHoldsOnlyTheUnknownPackage) {
    TObjectModel model;
    const auto packages = model.ModelRoot()->GetPackages();
    ASSERT_EQ(packages->Count(), 1u);
    TModelEntity* only = packages->Next();
    EXPECT_EQ(only, model.UnknownPackage());
    EXPECT_EQ(only->Name(), "<<Unknown>>");
    EXPECT_FALSE(packages->HasNext());
    EXPECT_EQ(model.ModelRoot()->GetAllUnitPackages()->Count(), 0u);
    EXPECT_EQ(model.ModelRoot()->GetAllClassifiers()->Count(), 0u);
    EXPECT_EQ(model.ModelRoot()->Owner(), nullptr);
    EXPECT_EQ(model.ModelRoot()->Visibility(), TVisibility::Private);
}

TEST(ObjectModel, FullNamesRunFromTheNamelessRoot) {
    TObjectModel model;
    TUnitPackage* bar = model.ModelRoot()->AddUnitPackage("bar");
    TClass* foo = bar->AddClass("Foo");
    TOperation* run = foo->AddOperation("run");
    TParameter* x = run->AddParameter("x");
    EXPECT_EQ(model.ModelRoot()->FullName(), "");
    EXPECT_EQ(bar->FullName(), "::bar");
    EXPECT_EQ(foo->FullName(), "::bar::Foo");
    EXPECT_EQ(x->FullName(), "::bar::Foo::run::x");
    EXPECT_EQ(x->Root(), model.ModelRoot());
    EXPECT_EQ(AllClassesView()->FullName(), "");
    EXPECT_EQ(AllClassesView()->Owner(), nullptr);
}

TEST(ObjectModel, LookupsCompareNamesByMode) {
    TObjectModel model;
    TUnitPackage* util = model.ModelRoot()->AddUnitPackage("java.util");
    TClass* string = util->AddClass("String");
    TInterface* list = util->AddInterface("List");
    TLogicPackage* root = model.ModelRoot();
    struct lookup_case {
        const char* name;
        TCompareMode mode;
        std::optional<TEntityKind> kind;
        TModelEntity* expected_classifier;
    };
    const lookup_case cases[] = {
        {"String", TCompareMode::CaseSensitive, std::nullopt, string},
        {"string", TCompareMode::CaseSensitive, std::nullopt, nullptr},
        {"string", TCompareMode::CaseInsensitive, std::nullopt, string},
        {"LIST", TCompareMode::CaseInsensitive, TEntityKind::Interface, list},
        {"List", TCompareMode::CaseSensitive, TEntityKind::Class, nullptr},
        {"List", TCompareMode::CaseSensitive, TEntityKind::Classifier, list},
        {"Lis", TCompareMode::CaseInsensitive, std::nullopt, nullptr},
    };
    for (const lookup_case& c : cases) {
        EXPECT_EQ(util->FindClassifier(c.name, false, c.mode, c.kind), c.expected_classifier)
            << c.name;
    }
    EXPECT_EQ(root->FindUnitPackage("JAVA.UTIL", false, TCompareMode::CaseInsensitive), util);
    EXPECT_EQ(root->FindUnitPackage("JAVA.UTIL", false, TCompareMode::CaseSensitive), nullptr);

    try {
        root->FindUnitPackage("java.io", true, TCompareMode::CaseInsensitive);
        FAIL() << "no error raised";
    } catch (const model_error& error) {
        EXPECT_STREQ(error.what(), "TLogicPackage.FindUnitPackage failed: java.io");
    }
    try {
        util->FindClassifier("string", true, TCompareMode::CaseSensitive);
        FAIL() << "no error raised";
    } catch (const model_error& error) {
        EXPECT_STREQ(error.what(), "TUnitPackage.FindClassifier failed: string");
    }
}

TEST(ObjectModel, LookupsFollowRenamesAndKeepInsertionOrder) {
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* first = p->AddClass("Inner");
    TClass* second = p->AddClass("inner");
    EXPECT_EQ(p->FindClassifier("INNER", false, TCompareMode::CaseInsensitive), first);
    first->SetName("Outer.Inner");
    EXPECT_EQ(p->FindClassifier("INNER", false, TCompareMode::CaseInsensitive), second);
    EXPECT_EQ(p->FindClassifier("outer.inner", false, TCompareMode::CaseInsensitive), first);
    second->SetName("OUTER.INNER");
    first->SetName("Inner");
    first->SetName("outer.inner");
    // Both now fold to the same name: the one added first still comes first.
    EXPECT_EQ(p->FindClassifier("Outer.Inner", false, TCompareMode::CaseInsensitive), first);
    EXPECT_EQ(p->FindClassifier("OUTER.INNER", false, TCompareMode::CaseSensitive), second);
    p->SetName("q");
    EXPECT_EQ(model.ModelRoot()->FindUnitPackage("Q", false, TCompareMode::CaseInsensitive), p);
    EXPECT_EQ(model.ModelRoot()->FindUnitPackage("p", false, TCompareMode::CaseInsensitive),
              nullptr);
}

TEST(Documentation, DescriptionDropsTheCommentOpening) {
    struct doc_case {
        std::string text;
        std::string description;
        std::string short_description;
    };
    const std::string hundred(100, 'x');
    const doc_case cases[] = {
        {"/**\n * Returns the size. More.", "Returns the size. More.", "Returns the size."},
        {"\r\n__//* No full stop", "No full stop", "No full stop"},
        {"\tA tab stays. Yes.", "\tA tab stays. Yes.", "\tA tab stays."},
        {hundred, hundred, std::string(80, 'x')},
        {std::string(85, 'y') + ". End.", std::string(85, 'y') + ". End.", std::string(80, 'y')},
        {"", "", ""},
        {" * ", "", ""},
    };
    for (const doc_case& c : cases) {
        TDocumentation documentation;
        documentation.SetDescription(c.text);
        EXPECT_EQ(documentation.Description(), c.description) << c.text;
        EXPECT_EQ(documentation.ShortDescription(), c.short_description) << c.text;
    }
}

// Listeners are declared before the model: a model tells its classes' listeners when it goes.
TEST(Listeners, EventsReachOnlyTheDeclaredIdentities) {
    class_and_operation_listener listener;
    TObjectModel model;
    TClass* foo = model.ModelRoot()->AddUnitPackage("p")->AddClass("Foo");
    foo->AddListener(&listener);
    foo->AddListener(&listener);
    TOperation* run = foo->AddOperation("run");
    run->AddListener(&listener);
    TAttribute* size = foo->AddAttribute("size");
    size->AddListener(&listener);

    foo->SetVisibility(TVisibility::Public);
    run->SetOperationType(TOperationType::Function);
    run->SetOperationType(TOperationType::Function);  // unchanged: no event
    size->SetTypeClassifier(foo);                     // attribute identities: not declared
    foo->Fire(TListenerCallback::BeforeChange);       // before identity: not declared
    foo->Fire(TListenerCallback::AfterChange);
    foo->Fire(TListenerCallback::AfterRemoving);
    EXPECT_EQ(listener.calls,
              (std::vector<std::string>{"ChildAdded Foo run", "ChildAdded Foo size",
                                        "PropertyChanged Foo", "PropertyChanged run", "Changed Foo",
                                        "Removing Foo"}));
}

TEST(Listeners, ARefusingBeforeListenerUndoesTheChange) {
    refusing_listener refuser;
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* base = p->AddClass("Base");
    TClass* foo = p->AddClass("Foo");
    TInterface* runnable = p->AddInterface("Runnable");
    p->AddListener(&refuser);
    foo->AddListener(&refuser);

    const auto expect_refused = [](auto&& change, const std::string& text) {
        try {
            change();
            ADD_FAILURE() << "no error for " << text;
        } catch (const model_error& error) {
            EXPECT_EQ(error.what(), text);
        }
    };
    expect_refused([&] { foo->SetName("Bar"); }, "refused Bar");
    EXPECT_EQ(foo->Name(), "Foo");
    EXPECT_EQ(p->FindClassifier("Foo", false, TCompareMode::CaseSensitive), foo);
    EXPECT_EQ(p->FindClassifier("Bar", false, TCompareMode::CaseSensitive), nullptr);
    expect_refused([&] { foo->SetVisibility(TVisibility::Published); }, "refused Foo");
    EXPECT_EQ(foo->Visibility(), TVisibility::Private);
    expect_refused([&] { foo->SetAncestor(base); }, "refused Foo");
    EXPECT_EQ(foo->Ancestor(), nullptr);
    expect_refused([&] { p->AddClass("Extra"); }, "refused Extra");
    EXPECT_EQ(p->GetClassifiers()->Count(), 3u);
    EXPECT_EQ(p->FindClassifier("Extra", false, TCompareMode::CaseSensitive), nullptr);
    expect_refused([&] { foo->AddImplements(runnable); }, "refused Runnable");
    EXPECT_TRUE(foo->Implements().empty());
    EXPECT_EQ(runnable->Name(), "Runnable");  // not owned: left alone
    EXPECT_EQ(refuser.calls.size(), 5u);
}

TEST(Listeners, LockedModelIsSilentAndUnlockAnnouncesOnce) {
    model_listener views;
    class_and_operation_listener listener;
    TObjectModel model;
    model.AddListener(&views);
    model.AddListener(&views);
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* foo = p->AddClass("Foo");
    foo->AddListener(&listener);

    model.Lock();
    model.Lock();
    EXPECT_TRUE(foo->IsLocked());
    foo->AddOperation("run");
    foo->SetName("Bar");
    EXPECT_TRUE(listener.calls.empty());
    EXPECT_EQ(views.before, 1);
    EXPECT_EQ(views.after, 0);
    model.Unlock();
    EXPECT_EQ(views.after, 1);
    EXPECT_FALSE(foo->IsLocked());
    foo->SetName("Baz");
    EXPECT_EQ(listener.calls, std::vector<std::string>{"PropertyChanged Baz"});

    model.Clear();
    EXPECT_EQ(views.before, 2);
    EXPECT_EQ(views.after, 2);
    EXPECT_EQ(model.ModelRoot()->GetPackages()->Count(), 1u);
    EXPECT_EQ(model.UnknownPackage()->Name(), "<<Unknown>>");
    model.RemoveListener(&views);
    model.Lock();
    model.Unlock();
    EXPECT_EQ(views.after, 2);
}

TEST(Listeners, DestroyingAClassAnnouncesItUnlessLocked) {
    class_and_operation_listener after_only;
    struct class_before : recorder, IClassBeforeListener {
    } before;
    {
        TObjectModel model;
        TClass* foo = model.ModelRoot()->AddUnitPackage("p")->AddClass("Foo");
        foo->AddListener(&before);
        foo->AddListener(&after_only);
        TClass* locked = model.ModelRoot()->AddUnitPackage("q")->AddClass("Locked");
        locked->AddListener(&before);
        locked->SetLocked(true);
    }
    EXPECT_EQ(before.calls, std::vector<std::string>{"Removing Foo"});
    EXPECT_TRUE(after_only.calls.empty());

    TObjectModel model;
    TClass* cleared = model.ModelRoot()->AddUnitPackage("p")->AddClass("Cleared");
    cleared->AddListener(&before);
    model.Clear();
    EXPECT_EQ(before.calls.size(), 1u);
}

TEST(Listeners, UnknownCodesAndKindsWithoutIdentitiesRaise) {
    recorder listener;
    TObjectModel model;
    TClass* foo = model.ModelRoot()->AddUnitPackage("p")->AddClass("Foo");
    foo->AddListener(&listener);
    try {
        foo->Fire(static_cast<TListenerCallback>(8));
        FAIL() << "no error raised";
    } catch (const model_error& error) {
        EXPECT_STREQ(error.what(), "TClass Eventmethod not recognized.");
    }
    TAbstractPackage* view = AllClassesView();
    view->AddListener(&listener);
    try {
        view->Fire(TListenerCallback::BeforeChange);
        FAIL() << "no error raised";
    } catch (const model_error& error) {
        EXPECT_STREQ(error.what(), "TAbstractPackage.GetBeforeListener");
    }
    try {
        view->Fire(TListenerCallback::AfterChange);
        FAIL() << "no error raised";
    } catch (const model_error& error) {
        EXPECT_STREQ(error.what(), "TAbstractPackage.GetAfterListener");
    }
    view->RemoveListener(&listener);
    view->Fire(TListenerCallback::AfterChange);
    EXPECT_TRUE(listener.calls.empty());
}

TEST(ObjectModel, DescendantsAndImplementorsSpanAllPackages) {
    TObjectModel model;
    TUnitPackage* a = model.ModelRoot()->AddUnitPackage("a");
    TUnitPackage* b = model.ModelRoot()->AddUnitPackage("b");
    TClass* base = a->AddClass("Base");
    TInterface* shape = a->AddInterface("Shape");
    TClass* circle = b->AddClass("Circle");
    TClass* square = a->AddClass("Square");
    TClass* hidden = model.UnknownPackage()->AddClass("Hidden");
    for (TClass* c : {circle, square, hidden}) {
        c->SetAncestor(base);
        c->AddImplements(shape);
    }
    const auto names = [](std::unique_ptr<IModelIterator> it) {
        std::vector<std::string> result;
        while (it->HasNext()) result.push_back(it->Next()->Name());
        return result;
    };
    const std::vector<std::string> expected{"Square", "Circle"};
    EXPECT_EQ(names(base->GetDescendants()), expected);
    EXPECT_EQ(names(shape->GetImplementingClasses()), expected);
    EXPECT_EQ(names(model.ModelRoot()->GetAllClassifiers()),
              (std::vector<std::string>{"Base", "Shape", "Square", "Circle"}));
}

TEST(ObjectModel, SettingsFileFollowsTheFirstSourceFile) {
    TObjectModel model;
    TLogicPackage* root = model.ModelRoot();
    TUnitPackage* p = root->AddUnitPackage("p");
    EXPECT_EQ(p->GetConfigFile(), "");
    root->SetConfigFile("/src/v1.2/Shape.java");
    EXPECT_EQ(root->GetConfigFile(), "/src/v1.2/Shape.vixModel");
    EXPECT_EQ(p->GetConfigFile(), "/src/v1.2/Shape.vixModel");
    root->SetConfigFile("");
    EXPECT_EQ(root->GetConfigFile(), "/src/v1.2/Shape.vixModel");
    root->SetConfigFile("/src/v1.2/Makefile");
    EXPECT_EQ(root->GetConfigFile(), "/src/v1.2/Makefile.vixModel");
}

TEST(ErrorHandler, TraceFollowsTheSwitch) {
    const std::vector<std::string_view> on{"A.java", "-TraceOn"};
    const std::vector<std::string_view> off{"A.java", "-traceonly", "traceon"};
    EXPECT_TRUE(TErrorHandler::TraceSwitchGiven(on));
    EXPECT_FALSE(TErrorHandler::TraceSwitchGiven(off));
}

}  // namespace
}  // namespace tarnwell
