#include "officeexport/xlsx_document.h"

#include <algorithm>
#include <cmath>

#include "officeexport/drawingml_writer.h"
#include "officeexport/ooxml_fragment.h"
#include "officeexport/ooxml_placeholders.h"
#include "officeexport/ooxml_text.h"
#include "officeexport/placeholder_spelling.h"

namespace tarnwell {

namespace {

constexpr const char* workbook_type =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr const char* worksheet_type =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr const char* drawing_type = "application/vnd.openxmlformats-officedocument.drawing+xml";
constexpr const char* spreadsheetml = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* spreadsheet_drawing =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
constexpr const char* drawing_relationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";

long long number_of(const std::string& text, long long otherwise) {
    try {
        return std::stoll(text);
    } catch (...) {
        return otherwise;
    }
}

// Replaces the placeholder in a string item (`si`) or inline string (`is`).
int replace_in_string_item(xmlNode* item, const char* element, std::string_view placeholder,
                           const std::string& replacement) {
    return replace_in_paragraphs(item, spreadsheetml, element, "t", placeholder, replacement);
}

// The cells of a sheet that show a shared string.
std::vector<xmlNode*> shared_string_cells(xmlNode* worksheet) {
    std::vector<xmlNode*> cells;
    for (xmlNode* row : xml_children(xml_first_child(worksheet, spreadsheetml, "sheetData"),
                                     spreadsheetml, "row")) {
        for (xmlNode* cell : xml_children(row, spreadsheetml, "c")) {
            if (xml_attribute(cell, "t") == "s") cells.push_back(cell);
        }
    }
    return cells;
}

// Where `<drawing>` goes in a worksheet: before the first of the elements that follow it.
xmlNode* first_child_after_drawing(xmlNode* worksheet) {
    static const char* const later[] = {"legacyDrawing",   "legacyDrawingHF", "drawingHF",
                                        "picture",         "oleObjects",      "controls",
                                        "webPublishItems", "tableParts",      "extLst"};
    for (xmlNode* child = worksheet->children; child; child = child->next) {
        for (const char* name : later) {
            if (xml_is(child, spreadsheetml, name)) return child;
        }
    }
    return nullptr;
}

std::string glue(const char* end, std::int64_t shape_id, shape_side side) {
    return std::string("<a:") + end + " id=\"" + std::to_string(shape_id) + "\" idx=\"" +
           std::to_string(connection_site_index(side)) + "\"/>";
}

// A connector of a sheet as the straight pieces of its path, the first glued to the shape it
// leaves and carrying the begin arrowhead, the last glued to the shape it enters with the end
// arrowhead. Sheet readers do not draw a bent connector's stored path: they route it afresh
// between its frame's corners, and the lines then miss the shapes.
std::string connector_pieces(const office_drawing& drawing, const office_connector& connector,
                             std::int64_t first_shape_id, std::int64_t& id) {
    const std::vector<route_point> path = drawing.route(connector);
    std::string xml;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const route_point from = path[i];
        const route_point to = path[i + 1];
        const bool first = i == 0;
        const bool last = i + 2 == path.size();
        std::string glued;
        if (first) {
            glued += glue("stCxn", first_shape_id + static_cast<std::int64_t>(connector.from),
                          connector.from_side);
        }
        if (last) {
            glued += glue("endCxn", first_shape_id + static_cast<std::int64_t>(connector.to),
                          connector.to_side);
        }
        std::string frame = "<a:xfrm";
        if (to.x < from.x) frame += " flipH=\"1\"";
        if (to.y < from.y) frame += " flipV=\"1\"";
        frame += "><a:off x=\"" + std::to_string(emu(std::min(from.x, to.x))) + "\" y=\"" +
                 std::to_string(emu(std::min(from.y, to.y))) + "\"/><a:ext cx=\"" +
                 std::to_string(emu(std::fabs(to.x - from.x))) + "\" cy=\"" +
                 std::to_string(emu(std::fabs(to.y - from.y))) + "\"/></a:xfrm>";
        std::string line =
            "<a:ln w=\"9525\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill><a:round/>";
        if (first && connector.begin != arrowhead::none) {
            line += std::string("<a:headEnd type=\"") +
                    (connector.begin == arrowhead::oval ? "oval" : "triangle") +
                    "\" w=\"med\" len=\"med\"/>";
        }
        if (last && connector.end != arrowhead::none) {
            line += std::string("<a:tailEnd type=\"") +
                    (connector.end == arrowhead::oval ? "oval" : "triangle") +
                    "\" w=\"med\" len=\"med\"/>";
        }
        line += "</a:ln>";
        const std::string number = std::to_string(id++);
        xml += "<xdr:cxnSp macro=\"\"><xdr:nvCxnSpPr><xdr:cNvPr id=\"" + number +
               "\" name=\"Connector " + number + "\"/><xdr:cNvCxnSpPr>" + glued +
               "</xdr:cNvCxnSpPr></xdr:nvCxnSpPr><xdr:spPr>" + frame +
               "<a:prstGeom prst=\"straightConnector1\"><a:avLst/></a:prstGeom><a:noFill/>" + line +
               "</xdr:spPr></xdr:cxnSp>";
    }
    return xml;
}

}  // namespace

std::unique_ptr<xlsx_document> xlsx_document::open(ooxml_package package, std::string& error) {
    std::unique_ptr<xlsx_document> document(new xlsx_document);
    if (!document->load(std::move(package), workbook_type, error)) return nullptr;
    xmlDoc* workbook = document->edit(document->main_part(), error);
    if (!workbook) return nullptr;
    xmlNode* root = xmlDocGetRootElement(workbook);
    const std::vector<xmlNode*> sheets =
        xml_children(xml_first_child(root, spreadsheetml, "sheets"), spreadsheetml, "sheet");
    const long long active =
        number_of(xml_attribute(xml_first_child(xml_first_child(root, spreadsheetml, "bookViews"),
                                                spreadsheetml, "workbookView"),
                                "activeTab"),
                  0);
    if (active < 0 || static_cast<std::size_t>(active) >= sheets.size()) {
        error = "the workbook has no active sheet";
        return nullptr;
    }
    const std::vector<package_relationship> relationships =
        document->package().relationships(document->main_part());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string id = xml_attribute(sheets[i], "id", ooxml_ns::relationships);
        for (const package_relationship& relationship : relationships) {
            if (relationship.id != id) continue;
            if (i == static_cast<std::size_t>(active)) {
                document->sheet_part_ = relationship.target;
            } else {
                document->other_sheet_parts_.push_back(relationship.target);
            }
        }
    }
    if (document->sheet_part_.empty() ||
        document->package().content_type(document->sheet_part_) != worksheet_type) {
        error = "the active sheet of the workbook is not a worksheet";
        return nullptr;
    }
    if (!document->edit(document->sheet_part_, error)) return nullptr;
    if (const std::optional<package_relationship> strings =
            document->package().relationship(document->main_part(), "/sharedStrings")) {
        if (!document->edit(strings->target, error)) return nullptr;
        document->strings_part_ = strings->target;
    }
    return document;
}

std::set<long long> xlsx_document::strings_of_other_sheets() {
    std::set<long long> used;
    for (const std::string& part : other_sheet_parts_) {
        std::string error;
        // A sheet that does not parse shows nothing we could change under it.
        xmlDoc* sheet = edit(part, error);
        if (!sheet) continue;
        for (xmlNode* cell : shared_string_cells(xmlDocGetRootElement(sheet))) {
            used.insert(number_of(xml_text(xml_first_child(cell, spreadsheetml, "v")), -1));
        }
    }
    return used;
}

int xlsx_document::replace_text(std::string_view placeholder, std::string_view replacement) {
    std::string error;
    xmlNode* worksheet = xmlDocGetRootElement(edit(sheet_part_, error));
    const std::string text = office_text(replacement);
    int replaced = 0;
    for (xmlNode* row : xml_children(xml_first_child(worksheet, spreadsheetml, "sheetData"),
                                     spreadsheetml, "row")) {
        for (xmlNode* cell : xml_children(row, spreadsheetml, "c")) {
            if (xml_attribute(cell, "t") == "inlineStr") {
                if (xmlNode* inline_string = xml_first_child(cell, spreadsheetml, "is")) {
                    replaced += replace_in_string_item(inline_string, "is", placeholder, text);
                }
            }
        }
    }
    if (strings_part_.empty()) return replaced;

    xmlNode* table = xmlDocGetRootElement(edit(strings_part_, error));
    std::vector<xmlNode*> items = xml_children(table, spreadsheetml, "si");
    std::set<long long> elsewhere;
    bool elsewhere_known = false;
    std::map<long long, long long> copies;  // string index -> the active sheet's own copy
    std::set<long long> done;
    for (xmlNode* cell : shared_string_cells(worksheet)) {
        xmlNode* value = xml_first_child(cell, spreadsheetml, "v");
        const long long index = number_of(xml_text(value), -1);
        if (index < 0 || static_cast<std::size_t>(index) >= items.size()) continue;
        if (const auto copy = copies.find(index); copy != copies.end()) {
            xmlNodeSetContent(value, BAD_CAST std::to_string(copy->second).c_str());
            continue;
        }
        if (done.count(index)) continue;
        xmlNode* item = items[static_cast<std::size_t>(index)];
        if (find_placeholder(xml_text(item), placeholder) == std::string::npos) continue;
        if (!elsewhere_known) {
            elsewhere = strings_of_other_sheets();
            elsewhere_known = true;
        }
        if (elsewhere.count(index)) {
            xmlNode* copy = xmlDocCopyNode(item, item->doc, 1);
            xmlAddChild(table, copy);
            items.push_back(copy);
            const auto copy_index = static_cast<long long>(items.size() - 1);
            copies[index] = copy_index;
            xmlSetProp(table, BAD_CAST "uniqueCount",
                       BAD_CAST std::to_string(items.size()).c_str());
            xmlNodeSetContent(value, BAD_CAST std::to_string(copy_index).c_str());
            item = copy;
        } else {
            done.insert(index);
        }
        replaced += replace_in_string_item(item, "si", placeholder, text);
    }
    return replaced;
}

xmlNode* xlsx_document::sheet_drawing(std::string& error) {
    xmlNode* worksheet = xmlDocGetRootElement(edit(sheet_part_, error));
    if (xmlNode* element = xml_first_child(worksheet, spreadsheetml, "drawing")) {
        const std::string id = xml_attribute(element, "id", ooxml_ns::relationships);
        for (const package_relationship& relationship : package().relationships(sheet_part_)) {
            if (relationship.id == id &&
                package().content_type(relationship.target) == drawing_type) {
                xmlDoc* drawing = edit(relationship.target, error);
                return drawing ? xmlDocGetRootElement(drawing) : nullptr;
            }
        }
        error = "the drawing of the active sheet is missing";
        return nullptr;
    }
    // A drawing part of our own beside those of the other sheets, under a free name.
    std::string part;
    for (int n = 1; part.empty() || package().part(part); ++n) {
        part = "xl/drawings/drawing" + std::to_string(n) + ".xml";
    }
    package().set_part(part, std::string(xml_declaration) + "<xdr:wsDr xmlns:xdr=\"" +
                                 spreadsheet_drawing + "\" xmlns:a=\"" + ooxml_ns::drawingml +
                                 "\"/>");
    const std::string id =
        add_relationship(sheet_part_, drawing_relationship,
                         "../drawings/" + part.substr(part.rfind('/') + 1), error);
    if (id.empty() || !set_content_type(part, drawing_type, error)) return nullptr;
    append_fragment(worksheet, first_child_after_drawing(worksheet),
                    "<s:drawing r:id=\"" + id + "\"/>",
                    {{"s", spreadsheetml}, {"r", ooxml_ns::relationships}});
    return xmlDocGetRootElement(edit(part, error));
}

void xlsx_document::place_drawing(const office_drawing& drawing) {
    std::string error;
    xmlNode* sheet_drawing_root = sheet_drawing(error);
    if (!sheet_drawing_root) return;
    long long highest = 1;
    for (xmlNode* properties : xml_descendants(sheet_drawing_root, spreadsheet_drawing, "cNvPr")) {
        highest = std::max(highest, number_of(xml_attribute(properties, "id"), 0));
    }
    xmlNode* last = xmlGetLastChild(sheet_drawing_root);
    // The slide shapes of a presentation are, element for element, the floating shapes of a
    // sheet drawing but for their non-visual `nvPr`, which a sheet does not have.
    office_drawing shapes;
    for (const office_shape& shape : drawing.shapes()) {
        shapes.shape(shapes.add_shape(shape.preset, shape.box)) = shape;
    }
    const std::int64_t first_id = highest + 1;
    std::int64_t id = first_id + static_cast<std::int64_t>(drawing.shapes().size());
    std::string elements = drawing_elements(shapes, drawing_flavour::presentation, first_id);
    for (const office_connector& connector : drawing.connectors()) {
        elements += connector_pieces(drawing, connector, first_id, id);
    }
    append_fragment(sheet_drawing_root, nullptr, elements,
                    {{"p", spreadsheet_drawing},
                     {"xdr", spreadsheet_drawing},
                     {"a", ooxml_ns::drawingml},
                     {"r", ooxml_ns::relationships}});
    for (xmlNode* node = last ? last->next : sheet_drawing_root->children; node;) {
        xmlNode* next = node->next;
        for (xmlNode* extra : xml_descendants(node, spreadsheet_drawing, "nvPr")) {
            xmlUnlinkNode(extra);
            xmlFreeNode(extra);
        }
        if (xml_is(node, spreadsheet_drawing, "sp") || xml_is(node, spreadsheet_drawing, "cxnSp")) {
            xmlSetProp(node, BAD_CAST "macro", BAD_CAST "");
            // Each object floats in an anchor of its own at the position of its frame.
            xmlNode* frame = xml_descendants(node, ooxml_ns::drawingml, "xfrm").front();
            xmlNode* offset = xml_first_child(frame, ooxml_ns::drawingml, "off");
            xmlNode* extent = xml_first_child(frame, ooxml_ns::drawingml, "ext");
            xmlNode* anchor = xmlNewNode(node->ns, BAD_CAST "absoluteAnchor");
            xmlAddPrevSibling(node, anchor);
            xmlNode* position = xmlNewChild(anchor, node->ns, BAD_CAST "pos", nullptr);
            xmlSetProp(position, BAD_CAST "x", BAD_CAST xml_attribute(offset, "x").c_str());
            xmlSetProp(position, BAD_CAST "y", BAD_CAST xml_attribute(offset, "y").c_str());
            xmlNode* size = xmlNewChild(anchor, node->ns, BAD_CAST "ext", nullptr);
            xmlSetProp(size, BAD_CAST "cx", BAD_CAST xml_attribute(extent, "cx").c_str());
            xmlSetProp(size, BAD_CAST "cy", BAD_CAST xml_attribute(extent, "cy").c_str());
            xmlUnlinkNode(node);
            xmlAddChild(anchor, node);
            xmlNewChild(anchor, node->ns, BAD_CAST "clientData", nullptr);
        }
        node = next;
    }
    const office_box chart = drawing.bounds();
    covered_ = {std::max(covered_.width, chart.left + chart.width),
                std::max(covered_.height, chart.top + chart.height)};
}

}  // namespace tarnwell
