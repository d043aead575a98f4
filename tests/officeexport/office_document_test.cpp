#include "officeexport/office_automation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "officeexport/ooxml_package.h"
#include "officeexport/ooxml_templates.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

const char* const a_ns = "http://schemas.openxmlformats.org/drawingml/2006/main";
const char* const p_ns = "http://schemas.openxmlformats.org/presentationml/2006/main";
const char* const wps_ns = "http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
const char* const wp_ns = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
const char* const mc_ns = "http://schemas.openxmlformats.org/markup-compatibility/2006";

office_drawing two_shapes() {
    office_drawing drawing;
    const std::size_t a = drawing.add_shape("flowChartProcess", {100, 50, 80, 40});
    const std::size_t b = drawing.add_shape("flowChartDecision", {20, 150, 80, 40});
    drawing.shape(a).text = "int a = 1;\r\nb < c && \x93q\x94";
    drawing.shape(a).fill = 0xA6CAF0;
    drawing.add_connector({a, shape_side::bottom, b, shape_side::top});
    return drawing;
}

class Documents : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("office_document_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Saves and reads back: every XML part must parse; returns the parsed part `name`.
    xml_document saved_part(const office_document& document, const std::string& name) {
        std::string error;
        EXPECT_TRUE(document.save(path("saved"), error)) << error;
        const auto package = ooxml_package::read(path("saved"), error);
        EXPECT_TRUE(package) << error;
        if (!package) return nullptr;
        for (const auto& [part, bytes] : package->parts()) {
            if (part.ends_with(".xml") || part.ends_with(".rels")) {
                EXPECT_TRUE(parse_xml_part(bytes, error)) << part << ": " << error;
            }
        }
        const std::string* bytes = package->part(name);
        EXPECT_TRUE(bytes) << name;
        return bytes ? parse_xml_part(*bytes, error) : nullptr;
    }

    fs::path folder_;
};

TEST_F(Documents, APresentationGetsItsShapesWithUniqueIdsAndGluedConnectors) {
    std::string message;
    auto document = open_office_document(office_kind::presentation, "", message);
    EXPECT_EQ(message, "");
    EXPECT_DOUBLE_EQ(document->page().width, 720);
    EXPECT_DOUBLE_EQ(document->page().height, 540);
    EXPECT_EQ(document->replace_text("#filename#", "Array.java"), 1);
    EXPECT_EQ(document->replace_text("#functionname#", "indexOfLargestEven"), 1);
    document->place_drawing(two_shapes());
    const xml_document slide = saved_part(*document, "ppt/slides/slide1.xml");
    ASSERT_TRUE(slide);
    std::set<std::string> ids;
    for (xmlNode* node : xml_descendants(xmlDocGetRootElement(slide.get()), p_ns, "cNvPr")) {
        EXPECT_TRUE(ids.insert(xml_attribute(node, "id")).second) << "id used twice";
    }
    EXPECT_EQ(ids.size(), 5u);  // group, title, two shapes, one connector
    const auto glued = [&](const char* name) {
        const auto found = xml_descendants(xmlDocGetRootElement(slide.get()), a_ns, name);
        EXPECT_EQ(found.size(), 1u);
        return found.empty() ? std::string() : xml_attribute(found[0], "id");
    };
    EXPECT_TRUE(ids.count(glued("stCxn")));
    EXPECT_TRUE(ids.count(glued("endCxn")));
    const std::string text = serialised(slide.get());
    EXPECT_NE(text.find("indexOfLargestEven"), std::string::npos);
    EXPECT_NE(text.find("b &lt; c &amp;&amp; \xE2\x80\x9Cq\xE2\x80\x9D"), std::string::npos);
    EXPECT_EQ(text.find("#filename#"), std::string::npos);
}

TEST_F(Documents, TheSlideStaysWithinOneTo56Inches) {
    std::string message;
    auto document = open_office_document(office_kind::presentation, "", message);
    document->set_page({5000, 20});
    EXPECT_DOUBLE_EQ(document->page().width, 4032);
    EXPECT_DOUBLE_EQ(document->page().height, 72);
}

TEST_F(Documents, AWordPageStaysWithin22InchesAndTurnsWithItsShape) {
    std::string message;
    auto document = open_office_document(office_kind::word_document, "", message);
    EXPECT_DOUBLE_EQ(document->page().width, 612);
    document->set_page({2000, 300.5});
    EXPECT_DOUBLE_EQ(document->page().width, 1584);
    EXPECT_DOUBLE_EQ(document->page().height, 300.5);
    document->set_page_margins(0);
    const xml_document body = saved_part(*document, "word/document.xml");
    ASSERT_TRUE(body);
    const std::string text = serialised(body.get());
    EXPECT_NE(text.find("w:orient=\"landscape\""), std::string::npos);
    EXPECT_NE(text.find("w:top=\"0\""), std::string::npos);
    EXPECT_NE(text.find("w:gutter=\"0\""), std::string::npos);
}

TEST_F(Documents, AWordDrawingIsOneAnchoredGroupWhosePrefixesTheChoiceCanRequire) {
    // A template that binds the group namespace to a prefix of its own.
    ooxml_package package = builtin_template(office_kind::word_document);
    std::string body = *package.part("word/document.xml");
    body.replace(body.find("<w:document "), 12,
                 "<w:document xmlns:g=\"http://schemas.microsoft.com/office/word/2010/"
                 "wordprocessingGroup\" ");
    body.replace(body.find("<w:body>"), 8,
                 "<w:body><w:p><w:r><w:drawing><wp:inline xmlns:wp=\"" + std::string(wp_ns) +
                     "\"><wp:docPr id=\"7\" name=\"old\"/></wp:inline></w:drawing></w:r></w:p>");
    package.set_part("word/document.xml", body);
    std::string error;
    ASSERT_TRUE(package.write(path("template.docx"), error)) << error;

    std::string message;
    auto document =
        open_office_document(office_kind::word_document, path("template.docx"), message);
    EXPECT_EQ(message, "");
    EXPECT_EQ(document->replace_text("#filename#", "a.c"), 1);
    document->place_drawing(two_shapes());
    const xml_document saved = saved_part(*document, "word/document.xml");
    ASSERT_TRUE(saved);
    xmlNode* root = xmlDocGetRootElement(saved.get());
    const auto choices = xml_descendants(root, mc_ns, "Choice");
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(xml_attribute(choices[0], "Requires"), "g");
    std::set<std::string> ids;
    for (xmlNode* node : xml_descendants(root, wp_ns, "docPr"))
        ids.insert(xml_attribute(node, "id"));
    EXPECT_EQ(ids, (std::set<std::string>{"7", "8"}));
    std::set<std::string> shape_ids;
    for (xmlNode* node : xml_descendants(root, wps_ns, "cNvPr")) {
        EXPECT_TRUE(shape_ids.insert(xml_attribute(node, "id")).second);
        EXPECT_FALSE(ids.count(xml_attribute(node, "id")));
    }
    for (const char* glue : {"stCxn", "endCxn"}) {
        for (xmlNode* node : xml_descendants(root, a_ns, glue)) {
            EXPECT_TRUE(shape_ids.count(xml_attribute(node, "id"))) << glue;
        }
    }
    // The drawing went into the first paragraph, the one the template's drawing is in.
    const auto anchors = xml_descendants(root, wp_ns, "anchor");
    ASSERT_EQ(anchors.size(), 1u);
}

TEST_F(Documents, AnUnusableTemplateGivesTheBuiltInDocumentAndSaysWhy) {
    const auto write = [&](const std::string& name, ooxml_package package) {
        std::string error;
        EXPECT_TRUE(package.write(path(name), error)) << error;
        return path(name);
    };
    ooxml_package dtd = builtin_template(office_kind::presentation);
    dtd.set_part("ppt/presentation.xml",
                 "<?xml version=\"1.0\"?><!DOCTYPE p [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
                 "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><p>&b;</p>");
    ooxml_package broken = builtin_template(office_kind::presentation);
    broken.set_part("ppt/slides/slide1.xml", "<p:sld xmlns:p=\"x\"><unclosed></p:sld>");
    ooxml_package no_slide = builtin_template(office_kind::presentation);
    no_slide.set_part("ppt/_rels/presentation.xml.rels",
                      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                      "relationships\"/>");
    ooxml_package outside = builtin_template(office_kind::presentation);
    outside.set_part("ppt/_rels/presentation.xml.rels",
                     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                     "relationships\"><Relationship Id=\"rId2\" Type=\"x/slide\" "
                     "Target=\"../../../../etc/passwd\"/></Relationships>");
    const std::string cases[] = {
        path("missing.pptx"),
        write("word.pptx", builtin_template(office_kind::word_document)),
        write("dtd.pptx", dtd),
        write("broken.pptx", broken),
        write("no_slide.pptx", no_slide),
        write("outside.pptx", outside),
    };
    for (const std::string& template_path : cases) {
        std::string message;
        auto document = open_office_document(office_kind::presentation, template_path, message);
        ASSERT_TRUE(document) << template_path;
        EXPECT_TRUE(message.starts_with("template does not exist, use default page"))
            << template_path << ": " << message;
        EXPECT_EQ(document->replace_text("#filename#", "x"), 1) << template_path;
    }
}

}  // namespace
}  // namespace tarnwell
