#include "classmodel/uDiagramText.h"

#include <gtest/gtest.h>

#include "classmodel/uRtfdDiagram.h"

namespace tarnwell {
namespace {

struct fixed_measure : ITextMeasure {
    TTextSize Measure(const std::string& text, TDiagramFont) const override {
        return {7 * static_cast<int>(text.size()), 13};
    }
};
const fixed_measure measure;

// A package "shapes": an interface, an abstract class and a class that extends it, implements
// the interface and holds a reference to another class; members of every visibility.
struct shapes {
    shapes() {
        package = model.ModelRoot()->AddUnitPackage("shapes");
        TInterface* shape = package->AddInterface("Shape");
        TOperation* area = shape->AddOperation("area");
        area->SetVisibility(TVisibility::Public);
        TClass* figure = package->AddClass("Figure");
        TOperation* draw = figure->AddOperation("draw");
        draw->SetVisibility(TVisibility::Public);
        draw->SetIsAbstract(true);
        TClass* point = package->AddClass("Point");
        TClass* circle = package->AddClass("Circle");
        circle->SetAncestor(figure);
        circle->AddImplements(shape);
        TAttribute* centre = circle->AddAttribute("centre");
        centre->SetTypeClassifier(point);
        centre->SetVisibility(TVisibility::Private);
        TAttribute* list = circle->AddAttribute("tags");
        list->SetTypeClassifier(model.UnknownPackage()->AddClass("List<String>"));
        list->SetVisibility(TVisibility::Protected);
        TOperation* scale = circle->AddOperation("scale");
        scale->SetVisibility(TVisibility::Public);
        scale->AddParameter("by")->SetTypeClassifier(model.UnknownPackage()->AddDataType("double"));
        scale->SetReturnValue(circle);
    }
    TObjectModel model;
    TUnitPackage* package = nullptr;
};

TEST(DiagramText, TextIsSafeInsideEachSyntax) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"List<String>", "List~String~", "List<String>"},
        {"say \"hi\"", "say 'hi'", "say 'hi'"},
        {"a{b}", "a(b)", "a(b)"},
        {"line\nbreak\x01", "line break ", "line break "},
        {"caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},
    };
    for (const auto& [text, mermaid, plantuml] : cases) {
        EXPECT_EQ(MermaidText(text), mermaid);
        EXPECT_EQ(PlantUmlText(text), plantuml);
    }
}

TEST(DiagramText, APackageAsMermaidAndPlantUml) {
    shapes s;
    TRtfdDiagram diagram(s.model, measure, {}, "");
    diagram.SetPackage(s.package);
    diagram.ChooseShowAssoc(true);
    diagram.InitFromModel();
    const std::string mermaid = MermaidClassDiagram(diagram);
    const std::string plantuml = PlantUmlClassDiagram(diagram);
    // Ids follow the boxes; find them by name.
    const auto id_of = [&](const char* name) {
        const auto box =
            diagram.BoxOf(s.package->FindClassifier(name, true, TCompareMode::CaseSensitive));
        return "c" + std::to_string(*box);
    };
    const std::string circle = id_of("Circle");
    const std::string figure = id_of("Figure");
    const std::string shape = id_of("Shape");
    const std::string point = id_of("Point");

    EXPECT_EQ(mermaid.rfind("classDiagram\n    namespace shapes {\n", 0), 0U) << mermaid;
    EXPECT_NE(mermaid.find("class " + circle +
                           "[\"Circle\"] {\n"
                           "            -centre : Point\n"
                           "            #tags : List~String~\n"
                           "            +scale(double by) : Circle\n"
                           "        }\n"),
              std::string::npos)
        << mermaid;
    EXPECT_NE(mermaid.find("class " + shape + "[\"Shape\"] {\n            <<interface>>\n"),
              std::string::npos);
    EXPECT_NE(mermaid.find("<<abstract>>\n            +draw()*\n"), std::string::npos);
    EXPECT_NE(mermaid.find("    " + figure + " <|-- " + circle + "\n"), std::string::npos);
    EXPECT_NE(mermaid.find("    " + shape + " <|.. " + circle + "\n"), std::string::npos);
    EXPECT_NE(mermaid.find("    " + circle + " --> " + point + "\n"), std::string::npos);

    EXPECT_EQ(plantuml.rfind("@startuml\n", 0), 0U);
    EXPECT_EQ(plantuml.substr(plantuml.size() - 8), "@enduml\n");
    EXPECT_NE(plantuml.find("package \"shapes\" {\n"), std::string::npos);
    EXPECT_NE(plantuml.find("interface \"Shape\" as " + shape), std::string::npos);
    EXPECT_NE(plantuml.find("abstract class \"Figure\" as " + figure +
                            " {\n"
                            "        {abstract} +draw()\n"),
              std::string::npos)
        << plantuml;
    EXPECT_NE(plantuml.find(figure + " <|-- " + circle + "\n"), std::string::npos);
    EXPECT_NE(plantuml.find(shape + " <|.. " + circle + "\n"), std::string::npos);
    EXPECT_NE(plantuml.find(circle + " --> " + point + "\n"), std::string::npos);
}

TEST(DiagramText, TheFilterAndTheConnectionsOfThePictureHold) {
    shapes s;
    TRtfdDiagram diagram(s.model, measure, {}, "");
    diagram.SetPackage(s.package);
    diagram.ChooseShowAssoc(false);
    diagram.InitFromModel();
    diagram.SetVisibilityFilter(2);  // public members only
    const std::string mermaid = MermaidClassDiagram(diagram);
    EXPECT_EQ(mermaid.find("centre"), std::string::npos);
    EXPECT_EQ(mermaid.find("tags"), std::string::npos);
    EXPECT_NE(mermaid.find("+scale(double by) : Circle"), std::string::npos);
    EXPECT_EQ(mermaid.find(" --> "), std::string::npos);

    // A hidden box and its lines are left out.
    diagram.Surface()
        .Object(
            *diagram.BoxOf(s.package->FindClassifier("Shape", true, TCompareMode::CaseSensitive)))
        .Selected = true;
    diagram.HideSelectedBoxes();
    const std::string hidden = MermaidClassDiagram(diagram);
    EXPECT_EQ(hidden.find("Shape"), std::string::npos);
    EXPECT_EQ(hidden.find("<|.."), std::string::npos);
}

TEST(DiagramText, TheRootShowsItsPackages) {
    shapes s;
    s.model.ModelRoot()->AddUnitPackage("util");
    TRtfdDiagram diagram(s.model, measure, {}, "");
    diagram.SetPackage(s.model.ModelRoot());
    diagram.InitFromModel();
    const std::string mermaid = MermaidClassDiagram(diagram);
    EXPECT_NE(mermaid.find("[\"shapes\"] {\n        <<package>>\n"), std::string::npos) << mermaid;
    EXPECT_NE(mermaid.find("[\"util\"] {\n        <<package>>\n"), std::string::npos);
    const std::string plantuml = PlantUmlClassDiagram(diagram);
    EXPECT_NE(plantuml.find("package \"util\" as c"), std::string::npos) << plantuml;
}

}  // namespace
}  // namespace tarnwell
