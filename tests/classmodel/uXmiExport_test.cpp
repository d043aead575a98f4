#include "classmodel/uXmiExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "classmodel/uJavaClassImport.h"
#include "classmodel/uXmiExportArgoUML.h"
#include "test_support.h"

namespace tarnwell {
namespace {

using test::data_path;
using test::read_file;
using test::recording_feedback;
using test::well_formed;

// Two packages of shapes: an interface implemented by two classes, one of them in another
// package; an ancestor with two descendants; names that XML must escape; two data types whose
// names differ only in letter case.
struct shapes_model {
    shapes_model() {
        TUnitPackage* unknown = model.UnknownPackage();
        TDataType* real = unknown->AddDataType("double");
        TDataType* upper = unknown->AddDataType("DOUBLE");
        TClass* string = unknown->AddClass("java.lang.String");

        TUnitPackage* shapes = model.ModelRoot()->AddUnitPackage("shapes");
        TInterface* shape = shapes->AddInterface("Shape");
        shape->SetVisibility(TVisibility::Public);
        TOperation* area = shape->AddOperation("area");
        area->SetVisibility(TVisibility::Public);
        area->SetReturnValue(real);
        area->SetOperationType(TOperationType::Function);

        TClass* figure = shapes->AddClass("Figure");
        figure->SetVisibility(TVisibility::Public);
        TAttribute* name = figure->AddAttribute("name");
        name->SetVisibility(TVisibility::Protected);
        name->SetTypeClassifier(string);

        circle = shapes->AddClass("Circle");
        circle->SetVisibility(TVisibility::Public);
        circle->SetAncestor(figure);
        circle->AddImplements(shape);
        TAttribute* radius = circle->AddAttribute("radius");
        radius->SetTypeClassifier(upper);
        TOperation* constructor = circle->AddOperation("Circle");
        constructor->SetVisibility(TVisibility::Public);
        constructor->AddParameter("r")->SetTypeClassifier(real);
        TOperation* odd = circle->AddOperation("scale<T> & \"fit\"\t'\x01' caf\xE9 caf\xC3\xA9");
        odd->SetVisibility(TVisibility::Published);
        odd->SetOperationType(TOperationType::Procedure);
        odd->AddParameter("factor");

        TUnitPackage* util = model.ModelRoot()->AddUnitPackage("util");
        TClass* square = util->AddClass("Square");
        square->SetAncestor(figure);
        square->AddImplements(shape);
        model.ModelRoot()->SetConfigFile("/work/shapes.java");
    }

    TObjectModel model;
    TClass* circle = nullptr;
};

using exporter_factory = std::function<std::unique_ptr<TXMIWriter>(TObjectModel&, IStatusLine*)>;

const exporter_factory simple = [](TObjectModel& model, IStatusLine* status) {
    return std::make_unique<TXMIExporter>(model, status);
};
const exporter_factory argouml = [](TObjectModel& model, IStatusLine* status) {
    return std::make_unique<TXMIExporterArgoUML>(model, status);
};

TEST(XmiExport, BothFormsOfTheShapesMatchTheirFiles) {
    struct form_case {
        exporter_factory make;
        std::string expected;
    };
    const form_case cases[] = {
        {simple, "xmi/shapes.simple.xmi"},
        {argouml, "xmi/shapes.argouml.xmi"},
    };
    for (const form_case& c : cases) {
        SCOPED_TRACE(c.expected);
        shapes_model shapes;
        const auto exporter = c.make(shapes.model, nullptr);
        exporter->Export();
        const std::string expected = read_file(data_path(c.expected));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(exporter->XMI(), expected);
        EXPECT_TRUE(well_formed(exporter->XMI()));
    }
}

TEST(XmiExport, ASecondExportGivesTheSameText) {
    for (const exporter_factory& make : {simple, argouml}) {
        shapes_model shapes;
        const auto exporter = make(shapes.model, nullptr);
        exporter->Export();
        const std::string first = exporter->XMI();
        const std::size_t classifiers = shapes.model.UnknownPackage()->GetClassifiers()->Count();
        exporter->Export();
        EXPECT_EQ(exporter->XMI(), first);
        const auto again = make(shapes.model, nullptr);
        again->Export();
        EXPECT_EQ(again->XMI(), first);
        EXPECT_EQ(shapes.model.UnknownPackage()->GetClassifiers()->Count(), classifiers);
    }
}

TEST(XmiExport, OperationsWithoutAResultReturnVoidFoundInAnyLetterCase) {
    shapes_model shapes;
    TUnitPackage* unknown = shapes.model.UnknownPackage();
    const std::size_t before = unknown->GetClassifiers()->Count();
    TXMIExporterArgoUML first(shapes.model);
    first.Export();
    ASSERT_EQ(unknown->GetClassifiers()->Count(), before + 1);
    EXPECT_NE(
        unknown->FindClassifier("void", false, TCompareMode::CaseSensitive, TEntityKind::DataType),
        nullptr);

    shapes_model own_void;
    own_void.model.UnknownPackage()->AddClass("Void");
    const std::size_t with_void = own_void.model.UnknownPackage()->GetClassifiers()->Count();
    TXMIExporterArgoUML second(own_void.model);
    second.Export();
    EXPECT_EQ(own_void.model.UnknownPackage()->GetClassifiers()->Count(), with_void);
    // Only the constructor and "scale" return nothing, and only "void" is a class among the
    // types of parameters.
    EXPECT_EQ(second.XMI().find("<Foundation.Core.ModelElement.name>void<"), std::string::npos);
    EXPECT_NE(second.XMI().find("<Foundation.Core.Parameter.type>\r\n<Foundation.Core.Class "),
              std::string::npos);
}

TEST(XmiExport, IdentifiersFollowFullNamesWithoutRegardToCase) {
    shapes_model shapes;
    TXMIExporter exporter(shapes.model);
    exporter.Export();
    TUnitPackage* unknown = shapes.model.UnknownPackage();
    const auto* real = unknown->FindClassifier("double", true, TCompareMode::CaseSensitive);
    const auto* upper = unknown->FindClassifier("DOUBLE", true, TCompareMode::CaseSensitive);
    EXPECT_EQ(exporter.GetXMIId(*real), exporter.GetXMIId(*upper));
    EXPECT_NE(exporter.GetXMIId(*real), exporter.GetXMIId(*shapes.circle));
    EXPECT_NE(exporter.XMI().find("<Foundation.Core.Class xmi.id=\"" +
                                  exporter.GetXMIId(*shapes.circle) + "\">"),
              std::string::npos);
}

TEST(XmiExport, StatusLinesNameEveryPackage) {
    shapes_model shapes;
    recording_feedback status;
    TXMIExporter exporter(shapes.model, &status);
    exporter.Export();
    EXPECT_EQ(status.statuses,
              (std::vector<std::string>{"XMI generating package ...",
                                        "XMI generating package <<Unknown>>...",
                                        "XMI generating package shapes...",
                                        "XMI generating package util...", "XMI finished."}));
}

TEST(XmiExport, NamesAreWrittenSoThatTheFileStaysWellFormed) {
    struct name_case {
        std::string name;
        std::string text;
    };
    const name_case cases[] = {
        {"<<Unknown>>", "((Unknown))"},
        {"List<String>", "List(String)"},
        {"a&b", "a&amp;b"},
        {"\"'", "&quot;&apos;"},
        {"\t\n\r", "&#x9;&#xA;&#xD;"},
        {std::string("\x01\x1F\0", 3), "&#xFFFD;&#xFFFD;&#xFFFD;"},
        {"caf\xE9", "caf&#xE9;"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"\xC0\x80", "&#xC0;&#x80;"},
        {"\xED\xA0\x80", "&#xED;&#xA0;&#x80;"},
        {"\xEF\xBF\xBE", "&#xEF;&#xBF;&#xBE;"},
        {"\xE2\x82", "&#xE2;&#x82;"},
        {"\xF4\x90\x80\x80", "&#xF4;&#x90;&#x80;&#x80;"},
        {"plain_name$1", "plain_name$1"},
    };
    for (const name_case& c : cases) {
        EXPECT_EQ(TXMIWriter::XmlName(c.name), c.text) << c.name;
        EXPECT_TRUE(well_formed("<a>" + TXMIWriter::XmlName(c.name) + "</a>")) << c.name;
    }
}

TEST(XmiExport, UuidsCountDownFromTheModel) {
    const std::string prefix = "-84-17-1--58:11e4a7c2d9b:-";
    struct uuid_case {
        unsigned number;
        std::string digits;
    };
    const uuid_case cases[] = {
        {1, "8000"}, {2, "7FFF"}, {32765, "0004"}, {32769, "0000"}, {32770, "FFFFFFFF"},
    };
    for (const uuid_case& c : cases) {
        EXPECT_EQ(TXMIExporterArgoUML::Uuid(c.number), prefix + c.digits) << c.number;
    }
}

TEST(XmiExport, ImportedClassFilesExportWellFormed) {
    TIntegrators integrators;
    integrators.Register(TJavaClassImporter::Class());
    std::vector<std::string> files{data_path("classfiles/classes.jar"),
                                   data_path("classfiles/Modern.class")};
    TObjectModel model;
    recording_feedback feedback;
    ASSERT_TRUE(ImportFileList(integrators, model, files, feedback));
    for (const exporter_factory& make : {simple, argouml}) {
        const auto exporter = make(model, nullptr);
        exporter->Export();
        EXPECT_TRUE(well_formed(exporter->XMI()));
        EXPECT_NE(exporter->XMI().find("caf&#xE9;"), std::string::npos);
    }
}

TEST(XmiExport, SavingWritesTheTextOrRaises) {
    shapes_model shapes;
    TXMIExporterArgoUML exporter(shapes.model);
    exporter.Export();
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "tarnwell-saved.xmi";
    exporter.SaveToFile(file.string());
    EXPECT_EQ(read_file(file.string()), exporter.XMI());
    std::filesystem::remove(file);
    EXPECT_THROW(exporter.SaveToFile("/nonexistent-folder/x.xmi"), std::system_error);
}

}  // namespace
}  // namespace tarnwell
