#include "classmodel/uRtfdDiagram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace tarnwell {
namespace {

// Every character 7 pixels wide, every line 13 high.
struct fixed_measure : ITextMeasure {
    TTextSize Measure(const std::string& text, TDiagramFont) const override {
        return {7 * static_cast<int>(text.size()), 13};
    }
};
const fixed_measure measure;

std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_text(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A folder of its own per test, emptied first.
std::filesystem::path fresh_folder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / ("rtfd_" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

TClass* add_class(TUnitPackage& package, const std::string& name, TClass* ancestor = nullptr) {
    TClass* c = package.AddClass(name);
    c->SetAncestor(ancestor);
    return c;
}

TAttribute* add_attribute(TClassifier& owner, const std::string& name, TVisibility visibility,
                          TClassifier* type = nullptr) {
    TAttribute* a = static_cast<TClass&>(owner).AddAttribute(name);
    a->SetVisibility(visibility);
    a->SetTypeClassifier(type);
    return a;
}

TOperation* add_operation(TClass& owner, const std::string& name, TVisibility visibility,
                          TOperationType type = TOperationType::Procedure) {
    TOperation* o = owner.AddOperation(name);
    o->SetVisibility(visibility);
    o->SetOperationType(type);
    return o;
}

struct box_view {
    std::string name;
    TRect bounds;
    bool visible;
    friend bool operator==(const box_view&, const box_view&) = default;
};

std::ostream& operator<<(std::ostream& out, const box_view& b) {
    return out << b.name << " (" << b.bounds.Left << "," << b.bounds.Top << "," << b.bounds.Right
               << "," << b.bounds.Bottom << ")" << (b.visible ? "" : " hidden");
}

std::vector<box_view> boxes_of(const TRtfdDiagram& diagram) {
    std::vector<box_view> boxes;
    for (std::size_t i = 0; i < diagram.Boxes().size(); ++i) {
        const TManagedObject& object = diagram.Surface().Object(i);
        boxes.push_back({diagram.Boxes()[i].Entity->FullName(), object.Bounds, object.Visible});
    }
    return boxes;
}

TDiagramDefaults always_save() {
    TDiagramDefaults defaults;
    defaults.Save = 0;
    return defaults;
}

TEST(RtfdDiagram, TheRootShowsItsPackagesAndASinglePackageShowsItsClasses) {
    TObjectModel model;
    for (const char* name : {"a", "b", "c"}) model.ModelRoot()->AddUnitPackage(name);
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.InitFromModel();
    EXPECT_EQ(diagram.Package(), model.ModelRoot());
    EXPECT_EQ(diagram.Title(), "");
    // Unconnected boxes are numbered last first: c stands leftmost.
    EXPECT_EQ(boxes_of(diagram), (std::vector<box_view>{{"::a", {430, 40, 615, 85}, true},
                                                        {"::b", {225, 40, 410, 85}, true},
                                                        {"::c", {20, 40, 205, 85}, true}}));
    EXPECT_EQ(diagram.GetDiagramSize(), (TPoint{665, 150}));
    EXPECT_TRUE(diagram.Surface().GetConnections().empty());

    // Opening a package box shows its classes under the package's title.
    auto* b = static_cast<TUnitPackage*>(model.ModelRoot()->FindUnitPackage("b", true, {}));
    add_class(*b, "Lonely");
    diagram.Surface().Select(1);
    ASSERT_TRUE(diagram.OpenSelectedPackage());
    EXPECT_EQ(diagram.Package(), b);
    EXPECT_EQ(CurrentEntity(), b);
    EXPECT_EQ(diagram.Title(), "   ::b");
    EXPECT_EQ(boxes_of(diagram), (std::vector<box_view>{{"::b::Lonely", {20, 40, 205, 81}, true}}));
    EXPECT_EQ(diagram.GetDiagramSize(), (TPoint{300, 150}));
    SetCurrentEntity(nullptr);

    TObjectModel single;
    add_class(*single.ModelRoot()->AddUnitPackage("only"), "A");
    TRtfdDiagram direct(single, measure, {}, "");
    direct.InitFromModel();
    EXPECT_EQ(direct.Package()->FullName(), "::only");
}

TEST(RtfdDiagram, SeventeenUnconnectedClassesFillALayerAndStartTheNext) {
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    for (int i = 0; i < 17; ++i) add_class(*p, "C" + std::to_string(100 + i));
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.InitFromModel();
    const std::vector<box_view> boxes = boxes_of(diagram);
    ASSERT_EQ(boxes.size(), 17u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const int left = i == 0 ? 20 : 20 + 205 * (16 - static_cast<int>(i));
        const int top = i == 0 ? 121 : 40;
        EXPECT_EQ(boxes[i].bounds, (TRect{left, top, left + 185, top + 41})) << boxes[i];
    }
    EXPECT_EQ(diagram.GetDiagramSize(), (TPoint{20 + 205 * 15 + 185 + 50, 121 + 41 + 50}));
}

TEST(RtfdDiagram, BoxSizesFollowTheMembersTheFilterLetsThrough) {
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* full = add_class(*p, "Full");
    for (TVisibility v : {TVisibility::Public, TVisibility::Private, TVisibility::Protected}) {
        const std::string suffix = std::to_string(static_cast<int>(v));
        add_attribute(*full, "field" + suffix, v, full);
        add_operation(*full, "run" + suffix, v);
    }
    TClass* secretive = add_class(*p, "Secretive");
    add_attribute(*secretive, "hidden", TVisibility::Private);
    add_operation(*secretive, "inner", TVisibility::Private);
    add_class(*p, "Empty");
    TClass* wide = add_class(*p, "Wide");
    add_attribute(*wide, "aVeryLongAttributeNameThatNeedsRoom", TVisibility::Public, full);

    struct filter_case {
        std::uint8_t filter;
        int full_height;  // name 13 + separators 16 + members 13 each + 10
        int secretive_height;
        int wide_width;
    };
    // "aVeryLongAttributeNameThatNeedsRoom : Full" is 42 characters: 14 + 294 + 10.
    const filter_case cases[] = {
        {0, 13 + 16 + 39 + 16 + 39 + 10, 13 + 16 + 13 + 16 + 13 + 10, 318},
        {1, 13 + 16 + 26 + 16 + 26 + 10, 41, 318},
        {2, 13 + 16 + 13 + 16 + 13 + 10, 41, 318},
        {3, 41, 41, 185},
        {4, 41, 41, 185},
    };
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.InitFromModel();
    for (const filter_case& c : cases) {
        diagram.SetVisibilityFilter(c.filter);
        const auto size_of = [&](const char* name) {
            const TRect& b = diagram.Surface()
                                 .Object(*diagram.BoxOf(
                                     p->FindClassifier(name, true, TCompareMode::CaseSensitive)))
                                 .Bounds;
            return TPoint{b.Width(), b.Height()};
        };
        const int filter = c.filter;
        EXPECT_EQ(size_of("Full"), (TPoint{185, c.full_height})) << filter;
        EXPECT_EQ(size_of("Secretive"), (TPoint{185, c.secretive_height})) << filter;
        EXPECT_EQ(size_of("Empty"), (TPoint{185, 41})) << filter;
        EXPECT_EQ(size_of("Wide").X, c.wide_width) << filter;
    }
    // Under "Hide private" a class with only private members shows its name alone.
    diagram.SetVisibilityFilter(1);
    const TRtfdBox& box = diagram.Boxes()[*diagram.BoxOf(secretive)];
    ASSERT_EQ(box.Labels.size(), 1u);
    EXPECT_EQ(box.Labels[0].Kind, TLabelKind::ClassName);
    // Members by visibility, then name; each its own icon.
    diagram.SetVisibilityFilter(0);
    std::vector<std::string> texts;
    for (const TRtfdLabel& label : diagram.Boxes()[*diagram.BoxOf(full)].Labels)
        texts.push_back(label.Kind == TLabelKind::Separator ? "--" : label.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Full", "--", "field0 : Full", "field1 : Full",
                                               "field2 : Full", "--", "run0(...)", "run1(...)",
                                               "run2(...)"}));
}

TEST(RtfdDiagram, LabelsShowNamesKindsAndLooks) {
    TObjectModel model;
    TUnitPackage* other = model.ModelRoot()->AddUnitPackage("other");
    TClass* base = add_class(*other, "Base");
    TInterface* runnable = other->AddInterface("Runnable");
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* shape = add_class(*p, "Shape", base);
    shape->AddImplements(runnable);
    add_operation(*shape, "Shape", TVisibility::Public, TOperationType::Constructor);
    add_operation(*shape, "free", TVisibility::Public, TOperationType::Destructor);
    add_operation(*shape, "area", TVisibility::Public, TOperationType::Function)
        ->SetIsAbstract(true);
    add_attribute(*shape, "untyped", TVisibility::Protected);
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.SetPackage(p);
    diagram.InitFromModel();

    const TRtfdBox& ancestor = diagram.Boxes()[*diagram.BoxOf(base)];
    EXPECT_EQ(ancestor.Labels[0].Text, "::other::Base");
    const TRtfdBox& interface_box = diagram.Boxes()[*diagram.BoxOf(runnable)];
    ASSERT_EQ(interface_box.Labels.size(), 2u);
    EXPECT_EQ(interface_box.Labels[0].Text, "<<interface>>");
    EXPECT_EQ(interface_box.Labels[1].Text, "::other::Runnable");
    const TRtfdBox& box = diagram.Boxes()[*diagram.BoxOf(shape)];
    ASSERT_EQ(box.Labels.size(), 7u);
    EXPECT_EQ(box.Labels[0].Text, "Shape");
    EXPECT_EQ(box.Labels[0].Font, TDiagramFont::BoldItalic) << "an abstract operation";
    EXPECT_EQ(box.Labels[2].Text, "untyped");
    EXPECT_EQ(box.Labels[2].Icon, TVisibility::Protected);
    const auto op = [&](std::size_t i) {
        return std::pair(box.Labels[i].Text, box.Labels[i].Colour);
    };
    EXPECT_EQ(op(4), std::pair(std::string("area(...)"), rtfd::FunctionColour));
    EXPECT_EQ(box.Labels[4].Font, TDiagramFont::Italic);
    EXPECT_EQ(op(5), std::pair(std::string("free(...)"), rtfd::DestructorColour));
    EXPECT_EQ(op(6), std::pair(std::string("Shape(...)"), rtfd::ConstructorColour));

    // Inheritance thick with a closed head, realisation dashed.
    std::vector<std::tuple<std::string, std::string, TLineStyle, TArrowHead>> lines;
    for (const TConnection& c : diagram.Surface().GetConnections())
        lines.emplace_back(diagram.Boxes()[c.FromBox].Entity->Name(),
                           diagram.Boxes()[c.ToBox].Entity->Name(), c.LineStyle, c.ArrowHead);
    EXPECT_EQ(lines, (std::vector<std::tuple<std::string, std::string, TLineStyle, TArrowHead>>{
                         {"Shape", "Base", TLineStyle::ThickSolid, TArrowHead::Closed},
                         {"Shape", "Runnable", TLineStyle::ThinDashed, TArrowHead::Closed}}));
}

TEST(RtfdDiagram, AssociationsBringTheirBoxesAndInheritanceOnlyDropsThem) {
    TObjectModel model;
    TUnitPackage* other = model.ModelRoot()->AddUnitPackage("other");
    TClass* engine = add_class(*other, "Engine");
    TClass* unknown_type = add_class(*model.UnknownPackage(), "Mystery");
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TClass* car = add_class(*p, "Car");
    TClass* wheel = add_class(*p, "Wheel");
    add_attribute(*car, "engine", TVisibility::Private, engine);
    add_attribute(*car, "front", TVisibility::Private, wheel);
    add_attribute(*car, "back", TVisibility::Private, wheel);
    add_attribute(*car, "self", TVisibility::Private, car);
    add_attribute(*car, "mystery", TVisibility::Private, unknown_type);

    TDiagramDefaults defaults;
    defaults.ShowAssoc = true;
    TRtfdDiagram diagram(model, measure, defaults, "");
    diagram.SetPackage(p);
    diagram.InitFromModel();
    EXPECT_TRUE(diagram.BoxOf(engine).has_value());
    EXPECT_FALSE(diagram.BoxOf(unknown_type).has_value());
    int to_wheel = 0;
    for (const TConnection& c : diagram.Surface().GetConnections()) {
        EXPECT_EQ(c.LineStyle, TLineStyle::ThinSolid);
        EXPECT_EQ(c.ArrowHead, TArrowHead::Open);
        to_wheel += c.ToBox == *diagram.BoxOf(wheel);
    }
    EXPECT_EQ(to_wheel, 2) << "two attributes of one type, two lines";
    EXPECT_EQ(diagram.Surface().GetConnections().size(), 3u);

    diagram.ChooseShowAssoc(false);
    diagram.SetPackage(nullptr);
    diagram.SetPackage(p);
    diagram.InitFromModel();
    EXPECT_FALSE(diagram.BoxOf(engine).has_value());
    EXPECT_TRUE(diagram.Surface().GetConnections().empty());
    EXPECT_EQ(diagram.Boxes().size(), 2u);
}

// Package "p" with classes A to E (B and C inherit from A) and its settings file in a folder.
struct stored_model {
    explicit stored_model(const std::string& name) : folder(fresh_folder(name)) {
        model.ModelRoot()->SetConfigFile((folder / "First.java").string());
        p = model.ModelRoot()->AddUnitPackage("p");
        TClass* a = add_class(*p, "A");
        add_class(*p, "B", a);
        add_class(*p, "C", a);
        add_class(*p, "D");
        add_class(*p, "E");
    }
    std::filesystem::path file() const { return folder / "First.vixModel"; }

    std::filesystem::path folder;
    TObjectModel model;
    TUnitPackage* p = nullptr;
};

TEST(RtfdDiagram, TheSettingsFileIsWrittenSectionBySectionAndReadBack) {
    stored_model stored("store");
    std::vector<std::string> statuses;
    TDiagramEvents events;
    events.ShowStatus = [&](const std::string& text) { statuses.push_back(text); };
    std::vector<box_view> laid_out;
    {
        TRtfdDiagram diagram(stored.model, measure, always_save(), "", events);
        diagram.SetPackage(stored.p);
        diagram.InitFromModel();
        EXPECT_TRUE(statuses.empty()) << "nothing was stored: laid out";
        diagram.Surface().Object(3).Bounds = {700, 640, 885, 681};  // D
        diagram.Surface().Select(4);                                // E
        diagram.HideSelectedBoxes();
        diagram.SetVisibilityFilter(2);
        diagram.View() = {0, 0, 100, 100};
        diagram.ScrollTo(30, 500);
        laid_out = boxes_of(diagram);
        ASSERT_TRUE(diagram.SaveDiagramSettings());
    }
    const auto box = [&](std::size_t i) {
        return "X=" + std::to_string(laid_out[i].bounds.Left) +
               "\nY=" + std::to_string(laid_out[i].bounds.Top) + "\n";
    };
    const std::string expected = "[Box: ::p - ::p::A]\n" + box(0) + "\n[Box: ::p - ::p::B]\n" +
                                 box(1) + "\n[Box: ::p - ::p::C]\n" + box(2) +
                                 "\n[Box: ::p - ::p::D]\nX=700\nY=640\n"
                                 "\n[Box: ::p - ::p::E]\n" +
                                 box(4) + "Visible=0\n" +
                                 "\n[Diagram: ::p]\nOffsetX=500\nOffsetY=30\nVisibility=2\n"
                                 "ShowAssoc=0\n";
    EXPECT_EQ(read_text(stored.file()), expected);

    // Read back: every box where it was, E still hidden, no layout.
    TRtfdDiagram again(stored.model, measure, always_save(), "", events);
    again.View() = {0, 0, 100, 100};
    again.SetPackage(stored.p);
    again.InitFromModel();
    EXPECT_EQ(boxes_of(again), laid_out);
    EXPECT_TRUE(again.HasHiddenElements());
    EXPECT_EQ(again.VisibilityFilter(), 2);
    // The scroll position counts once the surface is large enough for it.
    EXPECT_EQ(again.View().Left, 30);
    EXPECT_EQ(again.View().Top, 500);
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0],
              "Diagram layout and settings were read from file: " + stored.file().string());
    again.UnHideElements();
    EXPECT_FALSE(again.HasHiddenElements());
    EXPECT_TRUE(again.Surface().Object(4).Visible);

    // A second save rewrites the same sections in place of the old ones.
    again.SetPackage(nullptr);
    const std::string rewritten = read_text(stored.file());
    EXPECT_EQ(rewritten.find("Visible"), std::string::npos);
    EXPECT_EQ(rewritten.size(), expected.size() - std::string("Visible=0\n").size());
}

TEST(RtfdDiagram, TwoBoxesMissingFromTheFileCascadeMoreLayTheDiagramOutAgain) {
    for (const int missing : {1, 2, 3}) {
        stored_model stored("cascade" + std::to_string(missing));
        std::string text;
        // A, B and C stored far apart; D and E (and C when three are missing) are not.
        const std::vector<std::pair<std::string, TPoint>> places = {
            {"A", {900, 900}}, {"B", {1200, 300}}, {"C", {600, 1500}}, {"D", {10, 2000}}};
        for (std::size_t i = 0; i + missing < 5; ++i)
            text += "[Box: ::p - ::p::" + places[i].first +
                    "]\nX=" + std::to_string(places[i].second.X) +
                    "\nY=" + std::to_string(places[i].second.Y) + "\n";
        write_text(stored.file(), text);
        TRtfdDiagram diagram(stored.model, measure, {}, "");
        diagram.SetPackage(stored.p);
        diagram.InitFromModel();
        const std::vector<box_view> boxes = boxes_of(diagram);
        if (missing <= 2) {
            for (std::size_t i = 0; i + missing < 5; ++i)
                EXPECT_EQ(boxes[i].bounds.Left, places[i].second.X) << missing;
            for (int k = 0; k < missing; ++k) {
                const box_view& cascaded = boxes[static_cast<std::size_t>(5 - missing + k)];
                EXPECT_EQ(cascaded.bounds.Left, 50 + 25 * k) << missing;
                EXPECT_EQ(cascaded.bounds.Top, 50 + 25 * k) << missing;
            }
        } else {
            EXPECT_EQ(boxes[0].bounds.Top, 40) << "A on top, laid out";
            EXPECT_EQ(boxes[1].bounds.Top, 121);
        }
    }
}

TEST(RtfdDiagram, StoredConnectionsChoiceComesBeforeTheBoxesAndTheUsersChoiceWins) {
    stored_model stored("assoc");
    TUnitPackage* other = stored.model.ModelRoot()->AddUnitPackage("other");
    TClass* engine = add_class(*other, "Engine");
    TClass* a = static_cast<TClass*>(stored.p->FindClassifier("A", true, {}));
    add_attribute(*a, "engine", TVisibility::Private, engine);
    write_text(stored.file(), "[Diagram: ::p]\nShowAssoc=1\nVisibility=3\n");

    TRtfdDiagram diagram(stored.model, measure, {}, "");
    diagram.SetPackage(stored.p);
    diagram.InitFromModel();
    EXPECT_TRUE(diagram.ShowAssoc());
    EXPECT_TRUE(diagram.BoxOf(engine).has_value()) << "the box exists only for the association";
    EXPECT_EQ(diagram.Surface().GetConnections().size(), 3u);
    EXPECT_EQ(diagram.VisibilityFilter(), 3);

    diagram.ChooseShowAssoc(false);
    diagram.ChooseVisibilityFilter(0);
    diagram.SetPackage(nullptr);
    diagram.SetPackage(stored.p);
    diagram.InitFromModel();
    EXPECT_FALSE(diagram.ShowAssoc());
    EXPECT_FALSE(diagram.BoxOf(engine).has_value());
    EXPECT_EQ(diagram.VisibilityFilter(), 0);
}

TEST(RtfdDiagram, CorruptSettingsFilesLoadWithoutHarm) {
    std::mt19937 random(17);
    std::string junk;
    for (int i = 0; i < 4000; ++i) junk += static_cast<char>(random() % 256);
    std::string junk_with_sections = junk;
    junk_with_sections.insert(100, "\n[Box: ::p - ::p::A]\nX=\x01\xff\nY=12\x00 3\n");
    struct corrupt_case {
        const char* name;
        std::string text;
    };
    const corrupt_case cases[] = {
        {"bad numbers",
         "[Box: ::p - ::p::A]\nX=abc\nY=1e5\nVisible=yes\n[Box: ::p - ::p::B]\nX=\nY=-\n"
         "[Box: ::p - ::p::C]\nX=0x10\nY= 7 \n[Diagram: ::p]\nOffsetX=?\nVisibility=x\n"
         "ShowAssoc=maybe\n"},
        {"huge numbers",
         "[Box: ::p - ::p::A]\nX=99999999999999999999\nY=2147483647\n[Box: ::p - ::p::B]\n"
         "X=-2147483648\nY=-5\n[Box: ::p - ::p::C]\nX=100001\nY=2147483000\n[Diagram: ::p]\n"
         "OffsetX=2147483647\nOffsetY=-2147483648\nVisibility=2147483647\nShowAssoc=-1\n"},
        {"missing sections", "[Diagram: ::p]\n"},
        {"sections without names", "[]\nX=1\n[\nY=2\n]\n[Box: ::p - ::p::A\nX=5\n"},
        {"binary junk", junk},
        {"junk around a section", junk_with_sections},
        {"empty", ""},
    };
    for (const corrupt_case& c : cases) {
        stored_model stored(std::string("corrupt_") + std::to_string(&c - cases));
        write_text(stored.file(), c.text);
        TRtfdDiagram diagram(stored.model, measure, {}, "");
        diagram.View() = {0, 0, 200, 100};
        diagram.SetPackage(stored.p);
        diagram.InitFromModel();
        EXPECT_EQ(diagram.Boxes().size(), 5u) << c.name;
        EXPECT_LE(diagram.VisibilityFilter(), 4) << c.name;
        for (const box_view& b : boxes_of(diagram)) {
            EXPECT_GE(b.bounds.Left, 0) << c.name << " " << b;
            EXPECT_GE(b.bounds.Top, 0) << c.name << " " << b;
            EXPECT_LE(b.bounds.Left, rtfd::MaxCoordinate) << c.name << " " << b;
            EXPECT_LE(b.bounds.Top, rtfd::MaxCoordinate) << c.name << " " << b;
        }
        EXPECT_LE(diagram.GetDiagramSize().X, rtfd::MaxCoordinate + 2000) << c.name;
        EXPECT_GE(diagram.View().Left, 0) << c.name;
        EXPECT_LE(diagram.View().Top, diagram.GetDiagramSize().Y) << c.name;
    }
}

TEST(RtfdDiagram, ViewsWithoutAFileOfTheirOwnUseTheUsersConfigurationFolder) {
    struct storage_case {
        const char* xdg;
        const char* home;
        std::string expected;
    };
    const storage_case cases[] = {
        {"/x/config", "/home/u", "/x/config/tarnwell/tarnwell.vixModel"},
        {nullptr, "/home/u", "/home/u/.config/tarnwell/tarnwell.vixModel"},
        {"", "/home/u", "/home/u/.config/tarnwell/tarnwell.vixModel"},
        {"relative/config", "/home/u", "/home/u/.config/tarnwell/tarnwell.vixModel"},
        {nullptr, nullptr, ""},
    };
    for (const storage_case& c : cases)
        EXPECT_EQ(DefaultDiagramStorage(c.xdg, c.home), c.expected) << (c.xdg ? c.xdg : "null");

    stored_model stored("fallback");
    const std::string fallback = (stored.folder / "user" / "tarnwell.vixModel").string();
    TRtfdDiagram diagram(stored.model, measure, always_save(), fallback);
    diagram.SetPackage(stored.p);
    EXPECT_EQ(diagram.GetStorage(), stored.file().string());
    diagram.SetPackage(AllClassesView());
    diagram.InitFromModel();
    EXPECT_TRUE(diagram.ShowsAllClasses());
    EXPECT_EQ(diagram.GetStorage(), fallback);
    EXPECT_EQ(diagram.Boxes().size(), 5u);
    diagram.SetModified();
    diagram.SetPackage(nullptr);
    EXPECT_NE(read_text(fallback).find("[Box:  - ::p::A]"), std::string::npos);
}

TEST(RtfdDiagram, TheDiagramFollowsTheModelAndTheCurrentEntity) {
    TObjectModel model;
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.View() = {0, 0, 300, 100};
    // An import: the model locks, fills and unlocks; the diagram rebuilds itself.
    model.Lock();
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    TUnitPackage* q = model.ModelRoot()->AddUnitPackage("q");
    for (int i = 0; i < 20; ++i) add_class(*p, "P" + std::to_string(100 + i));
    TClass* target = add_class(*q, "Target");
    model.Unlock();
    EXPECT_EQ(diagram.Package(), model.ModelRoot());
    EXPECT_EQ(diagram.Boxes().size(), 2u);

    // Choosing a class elsewhere opens its package and brings its box into view.
    SetCurrentEntity(p->FindClassifier("P119", true, TCompareMode::CaseSensitive));
    EXPECT_EQ(diagram.Package(), p);
    const TRect& box = diagram.Surface().Object(diagram.Boxes().size() - 1).Bounds;
    EXPECT_EQ(diagram.View().Left, std::max(0, box.Left + box.Width() / 2 - 150));
    EXPECT_LE(diagram.View().Top, box.Top);
    SetCurrentEntity(target);
    EXPECT_EQ(diagram.Package(), q);
    SetCurrentEntity(nullptr);

    // A class added to the shown package gets a box at once.
    TClass* late = add_class(*q, "Late");
    ASSERT_TRUE(diagram.BoxOf(late).has_value());
    EXPECT_EQ(diagram.Surface().Object(*diagram.BoxOf(late)).Bounds.Left, 50);
    EXPECT_TRUE(diagram.IsModified());

    // Before a model change the diagram lets go of everything.
    model.Lock();
    EXPECT_EQ(diagram.Package(), nullptr);
    EXPECT_TRUE(diagram.Boxes().empty());
    model.Clear();
    model.Unlock();
    EXPECT_EQ(diagram.Package(), model.ModelRoot());
    EXPECT_TRUE(diagram.Boxes().empty());
}

TEST(RtfdDiagram, ChoosingTheSameViewAgainAfterAnImportShowsIt) {
    TObjectModel model;
    TRtfdDiagram diagram(model, measure, {}, "");
    const auto import = [&model] {
        model.Lock();
        model.Clear();
        add_class(*model.ModelRoot()->AddUnitPackage("p"), "A");
        add_class(*model.ModelRoot()->AddUnitPackage("q"), "B");
        model.Unlock();
    };
    import();
    SetCurrentEntity(AllClassesView());
    ASSERT_TRUE(diagram.ShowsAllClasses());
    // The import shows the root again and forgets what was chosen among the old entities.
    import();
    EXPECT_EQ(diagram.Package(), model.ModelRoot());
    EXPECT_EQ(CurrentEntity(), nullptr);
    SetCurrentEntity(AllClassesView());
    EXPECT_TRUE(diagram.ShowsAllClasses());
    EXPECT_EQ(diagram.Boxes().size(), 2u);
    SetCurrentEntity(nullptr);
}

TEST(RtfdDiagram, ABoxHintsAtTheSummaryOfItsDocumentation) {
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    add_class(*p, "Told")
        ->Documentation()
        .SetDescription("/** Keeps the totals. Nothing else is said here. */");
    add_class(*p, "Silent");
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.InitFromModel();
    const auto hint_in = [&](const char* name) {
        const TRect& b =
            diagram.Surface().Object(*diagram.BoxOf(p->FindClassifier(name, false, {}))).Bounds;
        return diagram.HintAt({b.Left + 5, b.Top + 5});
    };
    EXPECT_EQ(hint_in("Told"), "Keeps the totals.");
    EXPECT_EQ(hint_in("Silent"), "");
    EXPECT_EQ(diagram.HintAt({diagram.GetDiagramSize().X - 1, diagram.GetDiagramSize().Y - 1}), "");
}

TEST(RtfdDiagram, TheOverviewScalesTheSurfaceAndScrollsTheView) {
    TObjectModel model;
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("p");
    for (int i = 0; i < 17; ++i) add_class(*p, "C" + std::to_string(100 + i));
    TRtfdDiagram diagram(model, measure, {}, "");
    diagram.InitFromModel();
    // The surface is 3330 x 212.
    diagram.View() = {0, 0, 333, 106};
    const TOverviewPicture picture = diagram.PaintOverview(333, 200);
    EXPECT_DOUBLE_EQ(picture.Scale, 0.1);
    EXPECT_EQ(picture.Diagram, (TRect{0, 0, 333, 21}));
    ASSERT_EQ(picture.Boxes.size(), 17u);
    EXPECT_EQ(picture.Boxes[0], (TRect{2, 12, 20, 16}));
    EXPECT_EQ(picture.Viewport, (TRect{0, 0, 33, 11}));
    EXPECT_TRUE(picture.ShowViewport);
    diagram.ScrollFromOverview(100, 5, 333, 200);
    // f = 10: 10 * (100 - 16) = 840 across; 10 * (5 - 5) = 0 down.
    EXPECT_EQ(diagram.View().Left, 840);
    EXPECT_EQ(diagram.View().Top, 0);
    diagram.ScrollFromOverview(330, 200, 333, 200);
    EXPECT_EQ(diagram.View().Left, 3330 - 333) << "kept within the range";
    EXPECT_EQ(diagram.View().Top, 212 - 106);
    EXPECT_EQ(diagram.GetClickAreas().front().Text, "20,121,205,162");
}

}  // namespace
}  // namespace tarnwell
