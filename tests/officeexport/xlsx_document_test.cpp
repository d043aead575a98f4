#include "officeexport/xlsx_document.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "officeexport/excel1.h"
#include "officeexport/ooxml_templates.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

// A file of this process in the temporary folder: ctest runs tests side by side.
fs::path temporary(const std::string& name) {
    return fs::temp_directory_path() / (std::to_string(::getpid()) + "_" + name);
}

constexpr const char* main_ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* xdr_ns =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
constexpr const char* a_ns = "http://schemas.openxmlformats.org/drawingml/2006/main";

const char* const worksheet_type =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

std::string sheet_xml(const std::string& cells, const std::string& after = {}) {
    return "<?xml version=\"1.0\"?><worksheet xmlns=\"" + std::string(main_ns) +
           "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
           "relationships\"><sheetData><row r=\"1\">" +
           cells +
           "</row></sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" "
           "bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>" +
           after + "</worksheet>";
}

// The built-in workbook with a second sheet "Notes" that shows the same shared strings; the
// first sheet has no drawing yet, and the active tab is `active`.
ooxml_package two_sheet_workbook(int active, const std::string& first_sheet) {
    ooxml_package package = builtin_template(office_kind::workbook);
    package.set_part("xl/workbook.xml",
                     "<?xml version=\"1.0\"?><workbook xmlns=\"" + std::string(main_ns) +
                         "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                         "relationships\"><bookViews><workbookView activeTab=\"" +
                         std::to_string(active) +
                         "\"/></bookViews><sheets><sheet name=\"Chart\" sheetId=\"1\" "
                         "r:id=\"rId1\"/><sheet name=\"Notes\" sheetId=\"2\" "
                         "r:id=\"rId4\"/></sheets></workbook>");
    std::string rels = *package.part("xl/_rels/workbook.xml.rels");
    rels.insert(rels.rfind("</Relationships>"),
                "<Relationship Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/"
                "officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet2.xml\"/>");
    package.set_part("xl/_rels/workbook.xml.rels", rels);
    std::string types = *package.part("[Content_Types].xml");
    types.insert(types.rfind("</Types>"),
                 "<Override PartName=\"/xl/worksheets/sheet2.xml\" "
                 "ContentType=\"" +
                     std::string(worksheet_type) + "\"/>");
    package.set_part("[Content_Types].xml", types);
    package.set_part("xl/worksheets/sheet1.xml", first_sheet);
    package.set_part("xl/worksheets/_rels/sheet1.xml.rels",
                     "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats."
                     "org/package/2006/relationships\"/>");
    package.set_part("xl/worksheets/sheet2.xml",
                     sheet_xml("<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"));
    return package;
}

struct saved_workbook {
    ooxml_package package;
    xml_document part(const std::string& name) const {
        std::string error;
        const std::string* bytes = package.part(name);
        return bytes ? parse_xml_part(*bytes, error) : xml_document();
    }
    // The texts a sheet's cells show, in cell order.
    std::vector<std::string> cell_texts(const std::string& sheet) const {
        const xml_document strings = part("xl/sharedStrings.xml");
        const std::vector<xmlNode*> items =
            xml_children(xmlDocGetRootElement(strings.get()), main_ns, "si");
        const xml_document doc = part(sheet);
        std::vector<std::string> texts;
        for (xmlNode* cell : xml_descendants(xmlDocGetRootElement(doc.get()), main_ns, "c")) {
            if (xml_attribute(cell, "t") == "s") {
                texts.push_back(
                    xml_text(items.at(std::stoul(xml_text(xml_first_child(cell, main_ns, "v"))))));
            } else {
                texts.push_back(xml_text(xml_first_child(cell, main_ns, "is")));
            }
        }
        return texts;
    }
};

saved_workbook saved(const office_document& document) {
    const fs::path path = temporary("tarnwell_xlsx_document_test.xlsx");
    std::string error;
    EXPECT_TRUE(document.save(path.string(), error)) << error;
    std::optional<ooxml_package> package = ooxml_package::read(path.string(), error);
    fs::remove(path);
    EXPECT_TRUE(package) << error;
    return {package ? std::move(*package) : ooxml_package()};
}

std::unique_ptr<xlsx_document> opened(ooxml_package package) {
    std::string error;
    auto document = xlsx_document::open(std::move(package), error);
    EXPECT_TRUE(document) << error;
    return document;
}

TEST(XlsxDocument, ReplacesPlaceholdersInTheActiveSheetOnlyCopyingSharedStrings) {
    const std::string cells =
        "<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"inlineStr\"><is><t>in #FILENAME#</t></is></c>"
        "<c r=\"D1\" t=\"s\"><v>0</v></c><c r=\"E1\"><v>7</v></c>";
    struct row {
        int active;
        std::vector<std::string> chart;  // the first sheet afterwards
        std::vector<std::string> notes;  // the second
    };
    const row rows[] = {
        {0,
         {"Array.java", "indexOfLargestEven", "in Array.java", "Array.java", ""},
         {"#filename#", "#functionname#"}},
        {1,
         {"#filename#", "#functionname#", "in #FILENAME#", "#filename#", ""},
         {"Array.java", "indexOfLargestEven"}},
    };
    for (const row& r : rows) {
        auto document = opened(two_sheet_workbook(r.active, sheet_xml(cells)));
        ASSERT_TRUE(document);
        const int files = document->replace_text("#filename#", "Array.java");
        document->replace_text("#functionname#", "indexOfLargestEven");
        EXPECT_EQ(files, r.active == 0 ? 2 : 1) << r.active;
        const saved_workbook out = saved(*document);
        EXPECT_EQ(out.cell_texts("xl/worksheets/sheet1.xml"), r.chart) << r.active;
        EXPECT_EQ(out.cell_texts("xl/worksheets/sheet2.xml"), r.notes) << r.active;
    }
}

TEST(XlsxDocument, ASharedStringNoOtherSheetShowsIsChangedInPlace) {
    auto document = opened(builtin_template(office_kind::workbook));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->replace_text("#FileName#", "A.java"), 1);
    const saved_workbook out = saved(*document);
    EXPECT_EQ(out.cell_texts("xl/worksheets/sheet1.xml"),
              (std::vector<std::string>{"A.java", "#functionname#"}));
    const xml_document strings = out.part("xl/sharedStrings.xml");
    EXPECT_EQ(xml_children(xmlDocGetRootElement(strings.get()), main_ns, "si").size(), 2u);
}

TEST(XlsxDocument, RefusesWhatIsNoWorkbookWithAnActiveWorksheet) {
    ooxml_package no_active = builtin_template(office_kind::workbook);
    std::string workbook = *no_active.part("xl/workbook.xml");
    workbook.replace(workbook.find("activeTab=\"0\""), 13, "activeTab=\"3\"");
    no_active.set_part("xl/workbook.xml", workbook);
    std::string error;
    EXPECT_FALSE(xlsx_document::open(std::move(no_active), error));
    EXPECT_EQ(error, "the workbook has no active sheet");
    EXPECT_FALSE(xlsx_document::open(builtin_template(office_kind::presentation), error));
    EXPECT_NE(error.find("is not of the type"), std::string::npos) << error;
}

office_drawing two_boxes(const std::string& text) {
    office_drawing drawing;
    drawing.add_shape("flowChartProcess", {100, 0, 80, 40});
    drawing.add_shape("flowChartDecision", {200, 100, 80, 40});
    drawing.shape(0).text = text;
    // Down out of the first, into the second's left side: a bent path.
    drawing.add_connector(
        {0, shape_side::bottom, 1, shape_side::left, arrowhead::oval, arrowhead::triangle});
    return drawing;
}

TEST(XlsxDocument, ASheetWithoutDrawingGetsOneWithEveryShapeAnchored) {
    // A table part after the page margins: the drawing element must go before it.
    auto document = opened(two_sheet_workbook(
        0, sheet_xml("<c r=\"A1\" t=\"s\"><v>0</v></c>", "<tableParts count=\"0\"/>")));
    ASSERT_TRUE(document);
    std::string long_text;
    for (int i = 0; i < 45; ++i) long_text += "0123456789";
    document->place_drawing(two_boxes(long_text));
    const saved_workbook out = saved(*document);
    const std::vector<package_relationship> rels =
        out.package.relationships("xl/worksheets/sheet1.xml");
    ASSERT_EQ(rels.size(), 1u);
    EXPECT_EQ(out.package.content_type(rels[0].target),
              "application/vnd.openxmlformats-officedocument.drawing+xml");
    const xml_document sheet = out.part("xl/worksheets/sheet1.xml");
    xmlNode* drawing_element =
        xml_first_child(xmlDocGetRootElement(sheet.get()), main_ns, "drawing");
    ASSERT_TRUE(drawing_element);
    EXPECT_EQ(xml_attribute(drawing_element, "id",
                            "http://schemas.openxmlformats.org/officeDocument/2006/relationships"),
              rels[0].id);
    ASSERT_TRUE(drawing_element->next);
    EXPECT_TRUE(xml_is(xmlNextElementSibling(drawing_element), main_ns, "tableParts"));

    const xml_document drawing = out.part(rels[0].target);
    xmlNode* root = xmlDocGetRootElement(drawing.get());
    const std::vector<xmlNode*> anchors = xml_children(root, xdr_ns, "absoluteAnchor");
    // Two shapes and the connector's pieces: down, across.
    ASSERT_EQ(anchors.size(), 4u);
    for (xmlNode* anchor : anchors) {
        EXPECT_TRUE(xml_first_child(anchor, xdr_ns, "clientData"));
        EXPECT_TRUE(xml_descendants(anchor, xdr_ns, "nvPr").empty());
    }
    // The 450 characters arrive whole.
    EXPECT_EQ(xml_text(xml_descendants(anchors[0], a_ns, "t").at(0)), long_text);
    EXPECT_EQ(xml_attribute(xml_first_child(anchors[1], xdr_ns, "pos"), "x"),
              std::to_string(200 * 12700));
}

TEST(XlsxDocument, AConnectorIsAChainOfStraightPiecesGluedAtItsTwoEnds) {
    auto document = opened(builtin_template(office_kind::workbook));
    ASSERT_TRUE(document);
    const office_drawing drawing = two_boxes("a");
    document->place_drawing(drawing);
    const saved_workbook out = saved(*document);
    const xml_document part = out.part("xl/drawings/drawing1.xml");
    const std::vector<xmlNode*> pieces =
        xml_descendants(xmlDocGetRootElement(part.get()), xdr_ns, "cxnSp");
    const std::vector<route_point> path = drawing.route(drawing.connectors()[0]);
    ASSERT_EQ(pieces.size(), path.size() - 1);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        xmlNode* frame = xml_descendants(pieces[i], a_ns, "xfrm").at(0);
        xmlNode* offset = xml_first_child(frame, a_ns, "off");
        xmlNode* extent = xml_first_child(frame, a_ns, "ext");
        const bool flip_h = xml_attribute(frame, "flipH") == "1";
        const bool flip_v = xml_attribute(frame, "flipV") == "1";
        const double left = std::stod(xml_attribute(offset, "x")) / 12700;
        const double top = std::stod(xml_attribute(offset, "y")) / 12700;
        const double width = std::stod(xml_attribute(extent, "cx")) / 12700;
        const double height = std::stod(xml_attribute(extent, "cy")) / 12700;
        EXPECT_TRUE(width == 0 || height == 0) << i;
        EXPECT_NEAR(flip_h ? left + width : left, path[i].x, 0.01) << i;
        EXPECT_NEAR(flip_v ? top + height : top, path[i].y, 0.01) << i;
        EXPECT_NEAR(flip_h ? left : left + width, path[i + 1].x, 0.01) << i;
        EXPECT_NEAR(flip_v ? top : top + height, path[i + 1].y, 0.01) << i;
        const bool first = i == 0;
        const bool last = i + 1 == pieces.size();
        EXPECT_EQ(xml_descendants(pieces[i], a_ns, "stCxn").size(), first ? 1u : 0u) << i;
        EXPECT_EQ(xml_descendants(pieces[i], a_ns, "endCxn").size(), last ? 1u : 0u) << i;
        EXPECT_EQ(xml_descendants(pieces[i], a_ns, "headEnd").size(), first ? 1u : 0u) << i;
        EXPECT_EQ(xml_descendants(pieces[i], a_ns, "tailEnd").size(), last ? 1u : 0u) << i;
    }
    // The template's drawing was empty: the shapes took ids 2 and 3.
    xmlNode* start = xml_descendants(pieces.front(), a_ns, "stCxn").at(0);
    xmlNode* end = xml_descendants(pieces.back(), a_ns, "endCxn").at(0);
    EXPECT_EQ(xml_attribute(start, "id"), "2");
    EXPECT_EQ(xml_attribute(start, "idx"),
              std::to_string(connection_site_index(shape_side::bottom)));
    EXPECT_EQ(xml_attribute(end, "id"), "3");
    EXPECT_EQ(xml_attribute(end, "idx"), std::to_string(connection_site_index(shape_side::left)));
}

TEST(ExcelExport, MovesTheChartBelowTheHeaderAndFitsTextBoxesWithoutMargins) {
    export_parameters parameters = default_export_parameters(export_application::excel, "/opt");
    parameters.header_height = 1.5;
    parameters.file_name = "A.java";
    office_drawing drawing;
    const std::size_t box = drawing.add_text_box({20, 0, 100, 10});
    drawing.shape(box).text = "int a = 1;";
    drawing.shape(box).frame = {1, 1, 1, 1, false, true, false};
    drawing.fit_to_text(box);
    auto document = opened(builtin_template(office_kind::workbook));
    ASSERT_TRUE(document);
    excel_export(drawing, parameters, *document);
    const saved_workbook out = saved(*document);
    EXPECT_EQ(out.cell_texts("xl/worksheets/sheet1.xml"), (std::vector<std::string>{"A.java", ""}));
    const xml_document part = out.part("xl/drawings/drawing1.xml");
    xmlNode* root = xmlDocGetRootElement(part.get());
    // The box was centred 5 points down the cell geometry; it is centred 108 points lower.
    xmlNode* position = xml_descendants(root, xdr_ns, "pos").at(0);
    xmlNode* extent = xmlNextElementSibling(position);
    EXPECT_NEAR(
        (std::stod(xml_attribute(position, "y")) + std::stod(xml_attribute(extent, "cy")) / 2) /
            12700,
        113, 0.01);
    xmlNode* body = xml_descendants(root, a_ns, "bodyPr").at(0);
    for (const char* inset : {"lIns", "tIns", "rIns", "bIns"}) {
        EXPECT_EQ(xml_attribute(body, inset), "0") << inset;
    }
    EXPECT_TRUE(xml_first_child(body, a_ns, "spAutoFit"));
    EXPECT_GT(document->page().height, 108);
}

}  // namespace
}  // namespace tarnwell
