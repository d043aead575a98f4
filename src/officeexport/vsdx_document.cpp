#include "officeexport/vsdx_document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "officeexport/ooxml_text.h"
#include "officeexport/placeholder_spelling.h"

namespace tarnwell {

namespace {

constexpr const char* visio_ns = "http://schemas.microsoft.com/office/visio/2012/main";
constexpr const char* visio_relationships =
    "http://schemas.microsoft.com/visio/2010/relationships/";
constexpr const char* drawing_type = "application/vnd.ms-visio.drawing.main+xml";
constexpr const char* stencil_type = "application/vnd.ms-visio.stencil.main+xml";
constexpr const char* masters_type = "application/vnd.ms-visio.masters+xml";
constexpr const char* master_type = "application/vnd.ms-visio.master+xml";
constexpr double points_per_inch = 72;

std::string inches(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string out = text;
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out == "-0" ? "0" : out;
}

double number_of(const std::string& text, double otherwise) {
    try {
        return std::stod(text);
    } catch (...) {
        return otherwise;
    }
}

xmlNode* cell_of(xmlNode* parent, const char* name) {
    for (xmlNode* cell : xml_children(parent, visio_ns, "Cell")) {
        if (xml_attribute(cell, "N") == name) return cell;
    }
    return nullptr;
}

double cell_value(xmlNode* parent, const char* name, double otherwise = 0) {
    xmlNode* cell = cell_of(parent, name);
    return cell ? number_of(xml_attribute(cell, "V"), otherwise) : otherwise;
}

// Sets a cell's value, and its formula when one is given (else the formula is dropped, so a
// value of ours is not recalculated from a master's formula).
void set_cell(xmlNode* parent, const char* name, const std::string& value,
              const std::string& formula = {}) {
    xmlNode* cell = cell_of(parent, name);
    if (!cell) {
        cell = xmlNewNode(parent->ns, BAD_CAST "Cell");
        // Cells come before the sections of a sheet.
        xmlNode* first_section = xml_first_child(parent, visio_ns, "Section");
        if (!first_section) first_section = xml_first_child(parent, visio_ns, "Text");
        if (first_section) {
            xmlAddPrevSibling(first_section, cell);
        } else {
            xmlAddChild(parent, cell);
        }
        xmlSetProp(cell, BAD_CAST "N", BAD_CAST name);
    }
    xmlSetProp(cell, BAD_CAST "V", BAD_CAST value.c_str());
    xmlUnsetProp(cell, BAD_CAST "U");
    if (formula.empty()) {
        xmlUnsetProp(cell, BAD_CAST "F");
    } else {
        xmlSetProp(cell, BAD_CAST "F", BAD_CAST formula.c_str());
    }
}

xmlNode* section_of(xmlNode* shape, const char* name) {
    for (xmlNode* section : xml_children(shape, visio_ns, "Section")) {
        if (xml_attribute(section, "N") == name) return section;
    }
    return nullptr;
}

// Scales the points of a section's rows from the master's size to the instance's.
void scale_rows(xmlNode* section, double x_factor, double y_factor) {
    if (!section) return;
    for (xmlNode* row : xml_children(section, visio_ns, "Row")) {
        for (xmlNode* cell : xml_children(row, visio_ns, "Cell")) {
            const std::string name = xml_attribute(cell, "N");
            const bool across = name == "X" || name == "A" || name == "C";
            const bool up = name == "Y" || name == "B" || name == "D";
            if (!across && !up) continue;
            const double value = number_of(xml_attribute(cell, "V"), 0);
            xmlSetProp(cell, BAD_CAST "V",
                       BAD_CAST inches(value * (across ? x_factor : y_factor)).c_str());
        }
    }
}

// The text of a shape: its lines as paragraphs of one character and paragraph format.
void set_text(xmlNode* shape, const std::string& text) {
    if (xmlNode* old = xml_first_child(shape, visio_ns, "Text")) {
        xmlUnlinkNode(old);
        xmlFreeNode(old);
    }
    if (text.empty()) return;
    std::string lines;
    const std::string whole = office_text(text);
    for (const std::string_view line : text_paragraphs(whole)) {
        if (!lines.empty()) lines += '\n';
        lines += line;
    }
    xmlNode* element = xmlNewChild(shape, shape->ns, BAD_CAST "Text", nullptr);
    xmlSetProp(xmlNewChild(element, shape->ns, BAD_CAST "cp", nullptr), BAD_CAST "IX",
               BAD_CAST "0");
    xmlSetProp(xmlNewChild(element, shape->ns, BAD_CAST "pp", nullptr), BAD_CAST "IX",
               BAD_CAST "0");
    xmlNodeAddContentLen(element, reinterpret_cast<const xmlChar*>(lines.data()),
                         static_cast<int>(lines.size()));
}

// The connection row of a master's shape named after a side ("Aligntop"): its index.
int connection_row(xmlNode* shape, const std::string& name) {
    int index = 0;
    for (xmlNode* row : xml_children(section_of(shape, "Connection"), visio_ns, "Row")) {
        if (xml_attribute(row, "N") == name) return index;
        ++index;
    }
    return -1;
}

const char* point_name(shape_side side) {
    switch (side) {
        case shape_side::top:
            return "Aligntop";
        case shape_side::bottom:
            return "Alignbottom";
        case shape_side::left:
            return "Alignleft";
        case shape_side::right:
            return "Alignright";
    }
    return "Aligntop";
}

}  // namespace

std::unique_ptr<vsdx_document> vsdx_document::open(ooxml_package package, std::string& error) {
    std::unique_ptr<vsdx_document> document(new vsdx_document);
    if (!document->load(std::move(package), drawing_type, error,
                        "/visio/2010/relationships/document")) {
        return nullptr;
    }
    const std::optional<package_relationship> pages =
        document->package().relationship(document->main_part(), "/relationships/pages");
    xmlDoc* page_list = pages ? document->edit(pages->target, error) : nullptr;
    if (!page_list) {
        if (!pages) error = "the drawing has no pages";
        return nullptr;
    }
    document->page_entry_ = xml_first_child(xmlDocGetRootElement(page_list), visio_ns, "Page");
    document->page_sheet_ = xml_first_child(document->page_entry_, visio_ns, "PageSheet");
    const std::string id = xml_attribute(xml_first_child(document->page_entry_, visio_ns, "Rel"),
                                         "id", ooxml_ns::relationships);
    std::string page_part;
    for (const package_relationship& relationship :
         document->package().relationships(pages->target)) {
        if (relationship.id == id) page_part = relationship.target;
    }
    if (!document->page_sheet_ || page_part.empty()) {
        error = "the first page of the drawing is missing";
        return nullptr;
    }
    xmlDoc* page = document->edit(page_part, error);
    if (!page) return nullptr;
    document->contents_ = xmlDocGetRootElement(page);
    if (!xml_is(document->contents_, visio_ns, "PageContents")) {
        error = "the first page of the drawing holds no page contents";
        return nullptr;
    }
    if (const std::optional<package_relationship> masters =
            document->package().relationship(document->main_part(), "/relationships/masters")) {
        document->masters_part_ = masters->target;
    }
    return document;
}

bool vsdx_document::use_stencil(const ooxml_package& stencil, std::string& error) {
    const std::optional<package_relationship> main =
        stencil.relationship("", "/visio/2010/relationships/document");
    if (!main || stencil.content_type(main->target) != stencil_type) {
        error = "the file is no Visio stencil";
        return false;
    }
    const std::optional<package_relationship> masters =
        stencil.relationship(main->target, "/relationships/masters");
    if (!masters) {
        error = "the stencil has no masters";
        return false;
    }
    const xml_document list = parse_xml_part(*stencil.part(masters->target), error);
    if (!list) return false;
    const std::vector<package_relationship> parts = stencil.relationships(masters->target);
    stencil_.clear();
    for (xmlNode* entry : xml_children(xmlDocGetRootElement(list.get()), visio_ns, "Master")) {
        const std::string name = xml_attribute(entry, "NameU");
        const std::string id =
            xml_attribute(xml_first_child(entry, visio_ns, "Rel"), "id", ooxml_ns::relationships);
        for (const package_relationship& part : parts) {
            if (part.id != id || name.empty() || stencil_.count(name)) continue;
            std::string why;
            xml_document contents = parse_xml_part(*stencil.part(part.target), why);
            if (!contents) continue;
            xml_document alone(xmlNewDoc(BAD_CAST "1.0"));
            xmlDocSetRootElement(alone.get(), xmlDocCopyNode(entry, alone.get(), 1));
            stencil_[name] = {std::move(contents), std::move(alone)};
        }
    }
    if (stencil_.empty()) {
        error = "the stencil has no masters";
        return false;
    }
    return true;
}

outline_span vsdx_document::text_span(const std::string& name, double band) const {
    const auto master = stencil_.find(name);
    if (master == stencil_.end()) return {};
    const std::vector<xmlNode*> shapes =
        xml_descendants(xmlDocGetRootElement(master->second.contents.get()), visio_ns, "Shape");
    if (shapes.empty()) return {};
    const double width = cell_value(shapes.front(), "Width");
    const double height = cell_value(shapes.front(), "Height");
    if (width <= 0 || height <= 0) return {};
    std::vector<outline_point> outline;
    for (xmlNode* section : xml_children(shapes.front(), visio_ns, "Section")) {
        if (xml_attribute(section, "N") != "Geometry") continue;
        for (xmlNode* row : xml_children(section, visio_ns, "Row")) {
            const std::string kind = xml_attribute(row, "T");
            if (kind != "MoveTo" && kind != "LineTo") return {};
            outline.push_back({cell_value(row, "X") / width, cell_value(row, "Y") / height});
        }
        break;  // the first outline is the one the text sits in
    }
    return span_across_band(outline, band);
}

void vsdx_document::set_page_name(const std::string& name) {
    const std::string text = office_text(name);
    xmlSetProp(page_entry_, BAD_CAST "NameU", BAD_CAST text.c_str());
    xmlSetProp(page_entry_, BAD_CAST "Name", BAD_CAST text.c_str());
}

int vsdx_document::replace_text(std::string_view placeholder, std::string_view replacement) {
    const std::string text = office_text(replacement);
    int replaced = 0;
    for (xmlNode* element : xml_descendants(contents_, visio_ns, "Text")) {
        for (xmlNode* node = element->children; node; node = node->next) {
            if (node->type != XML_TEXT_NODE) continue;
            std::string content = xml_text(node);
            bool changed = false;
            for (const std::string& spelling : placeholder_spellings(content, placeholder)) {
                for (std::size_t at = content.find(spelling); at != std::string::npos;
                     at = content.find(spelling, at + text.size())) {
                    content.replace(at, spelling.size(), text);
                    changed = true;
                    ++replaced;
                }
            }
            // A text node's content is taken as it is: no escaping.
            if (changed) xmlNodeSetContent(node, BAD_CAST content.c_str());
        }
    }
    return replaced;
}

page_size vsdx_document::page() const {
    return {cell_value(page_sheet_, "PageWidth") * points_per_inch,
            cell_value(page_sheet_, "PageHeight") * points_per_inch};
}

void vsdx_document::set_page(page_size size) {
    const page_size limits = page_limits();
    const double old_height = page().height;
    set_cell(page_sheet_, "PageWidth", inches(std::clamp(size.width, 7.2, limits.width) / 72));
    set_cell(page_sheet_, "PageHeight", inches(std::clamp(size.height, 7.2, limits.height) / 72));
    move_page_shapes(0, old_height - page().height);
}

std::vector<xmlNode*> vsdx_document::top_shapes() const {
    return xml_children(xml_first_child(contents_, visio_ns, "Shapes"), visio_ns, "Shape");
}

office_box vsdx_document::page_shapes_bounds() const {
    const double page_height = page().height;
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    for (xmlNode* shape : top_shapes()) {
        const double width = std::fabs(cell_value(shape, "Width")) * points_per_inch;
        const double height = std::fabs(cell_value(shape, "Height")) * points_per_inch;
        const double x =
            (cell_value(shape, "PinX") - cell_value(shape, "LocPinX")) * points_per_inch;
        const double y =
            page_height -
            (cell_value(shape, "PinY") - cell_value(shape, "LocPinY")) * points_per_inch - height;
        left = any ? std::min(left, x) : x;
        top = any ? std::min(top, y) : y;
        right = any ? std::max(right, x + width) : x + width;
        bottom = any ? std::max(bottom, y + height) : y + height;
        any = true;
    }
    return {left, top, right - left, bottom - top};
}

void vsdx_document::move_page_shapes(double dx, double dy) {
    for (xmlNode* shape : top_shapes()) {
        for (const auto& [name, by] : {std::pair{"PinX", dx},
                                       {"PinY", -dy},
                                       {"BeginX", dx},
                                       {"BeginY", -dy},
                                       {"EndX", dx},
                                       {"EndY", -dy}}) {
            if (xmlNode* cell = cell_of(shape, name)) {
                xmlSetProp(
                    cell, BAD_CAST "V",
                    BAD_CAST inches(number_of(xml_attribute(cell, "V"), 0) + by / points_per_inch)
                        .c_str());
            }
        }
    }
}

std::string vsdx_document::master_id(const std::string& name, std::string& error) {
    if (const auto found = copied_.find(name); found != copied_.end()) return found->second;
    const auto master = stencil_.find(name);
    if (master == stencil_.end()) {
        error = "stencil " + name + " do not exists";
        return {};
    }
    ooxml_package& parts = package();
    if (masters_part_.empty()) {
        masters_part_ = "visio/masters/masters.xml";
        parts.set_part(masters_part_, std::string(xml_declaration) + "<Masters xmlns=\"" +
                                          visio_ns + "\" xmlns:r=\"" + ooxml_ns::relationships +
                                          "\"/>");
        if (!set_content_type(masters_part_, masters_type, error)) return {};
        const std::string folder = main_part().substr(0, main_part().rfind('/') + 1);
        if (add_relationship(main_part(), std::string(visio_relationships) + "masters",
                             masters_part_.substr(folder.size()), error)
                .empty()) {
            return {};
        }
    }
    xmlDoc* list = edit(masters_part_, error);
    if (!list) return {};
    xmlNode* list_root = xmlDocGetRootElement(list);
    long long highest = 0;
    for (xmlNode* entry : xml_children(list_root, visio_ns, "Master")) {
        highest =
            std::max(highest, static_cast<long long>(number_of(xml_attribute(entry, "ID"), 0)));
    }
    std::string part;
    for (int n = 1; part.empty() || parts.part(part); ++n) {
        part = "visio/masters/master" + std::to_string(n) + ".xml";
    }
    parts.set_part(part, serialised(master->second.contents.get()));
    if (!set_content_type(part, master_type, error)) return {};
    const std::string relationship_id =
        add_relationship(masters_part_, std::string(visio_relationships) + "master",
                         part.substr(part.rfind('/') + 1), error);
    if (relationship_id.empty()) return {};
    xmlNode* entry = xmlDocCopyNode(xmlDocGetRootElement(master->second.entry.get()), list, 1);
    xmlAddChild(list_root, entry);
    xmlReconciliateNs(list, entry);
    const std::string id = std::to_string(highest + 1);
    xmlSetProp(entry, BAD_CAST "ID", BAD_CAST id.c_str());
    if (xmlNode* rel = xml_first_child(entry, visio_ns, "Rel")) {
        xmlSetNsProp(rel, xmlSearchNsByHref(list, rel, BAD_CAST ooxml_ns::relationships),
                     BAD_CAST "id", BAD_CAST relationship_id.c_str());
    }
    copied_[name] = id;
    return id;
}

xmlNode* vsdx_document::instance(const std::string& name, long long id, std::string& error) {
    const std::string master = master_id(name, error);
    if (master.empty()) return nullptr;
    xmlNode* source =
        xml_descendants(xmlDocGetRootElement(stencil_.at(name).contents.get()), visio_ns, "Shape")
            .front();
    xmlNode* shapes = xml_first_child(contents_, visio_ns, "Shapes");
    if (!shapes) {
        shapes = xmlNewNode(contents_->ns, BAD_CAST "Shapes");
        if (contents_->children) {
            xmlAddPrevSibling(contents_->children, shapes);
        } else {
            xmlAddChild(contents_, shapes);
        }
    }
    xmlNode* shape = xmlDocCopyNode(source, contents_->doc, 1);
    xmlAddChild(shapes, shape);
    xmlReconciliateNs(contents_->doc, shape);
    const std::string number = std::to_string(id);
    xmlSetProp(shape, BAD_CAST "ID", BAD_CAST number.c_str());
    xmlSetProp(shape, BAD_CAST "NameU", BAD_CAST(name + "." + number).c_str());
    xmlSetProp(shape, BAD_CAST "Name", BAD_CAST(name + "." + number).c_str());
    xmlSetProp(shape, BAD_CAST "Master", BAD_CAST master.c_str());
    return shape;
}

void vsdx_document::place_drawing(const office_drawing& drawing) {
    place_drawing(drawing, {});
}

void vsdx_document::place_drawing(const office_drawing& drawing,
                                  const std::vector<visio_line_look>& lines) {
    long long highest = 0;
    for (xmlNode* shape : xml_descendants(contents_, visio_ns, "Shape")) {
        highest =
            std::max(highest, static_cast<long long>(number_of(xml_attribute(shape, "ID"), 0)));
    }
    const double page_height = cell_value(page_sheet_, "PageHeight");
    // Inches on the page: x from the left, y up from the bottom.
    const auto page_x = [](double x) { return x / points_per_inch; };
    const auto page_y = [&](double y) { return page_height - y / points_per_inch; };

    std::vector<long long> shape_ids(drawing.shapes().size(), 0);
    std::vector<xmlNode*> placed(drawing.shapes().size(), nullptr);
    std::string error;
    for (std::size_t i = 0; i < drawing.shapes().size(); ++i) {
        const office_shape& look = drawing.shapes()[i];
        xmlNode* shape = instance(look.preset, highest + 1, error);
        if (!shape) continue;
        shape_ids[i] = ++highest;
        placed[i] = shape;
        const office_box& box = look.box;
        const double width = box.width / points_per_inch;
        const double height = box.height / points_per_inch;
        const double master_width = cell_value(shape, "Width", width);
        const double master_height = cell_value(shape, "Height", height);
        set_cell(shape, "PinX", inches(page_x(box.left + box.width / 2)));
        set_cell(shape, "PinY", inches(page_y(box.top + box.height / 2)));
        set_cell(shape, "Width", inches(width));
        set_cell(shape, "Height", inches(height));
        set_cell(shape, "LocPinX", inches(width / 2), "Width*0.5");
        set_cell(shape, "LocPinY", inches(height / 2), "Height*0.5");
        const double x_factor = master_width > 0 ? width / master_width : 1;
        const double y_factor = master_height > 0 ? height / master_height : 1;
        for (xmlNode* section : xml_children(shape, visio_ns, "Section")) {
            const std::string kind = xml_attribute(section, "N");
            if (kind == "Geometry" || kind == "Connection") scale_rows(section, x_factor, y_factor);
        }
        if (xmlNode* character = section_of(shape, "Character")) {
            if (xmlNode* row = xml_first_child(character, visio_ns, "Row")) {
                set_cell(row, "Size", inches(look.font.size / points_per_inch));
            }
        }
        set_cell(shape, "LeftMargin", inches(look.frame.left / points_per_inch));
        set_cell(shape, "TopMargin", inches(look.frame.top / points_per_inch));
        set_cell(shape, "RightMargin", inches(look.frame.right / points_per_inch));
        set_cell(shape, "BottomMargin", inches(look.frame.bottom / points_per_inch));
        set_text(shape, look.text);
    }

    xmlNode* connects = xml_first_child(contents_, visio_ns, "Connects");
    const auto connect = [&](long long from, const char* from_cell, const char* from_part,
                             long long to, int row) {
        if (!connects)
            connects = xmlNewChild(contents_, contents_->ns, BAD_CAST "Connects", nullptr);
        xmlNode* record = xmlNewChild(connects, connects->ns, BAD_CAST "Connect", nullptr);
        xmlSetProp(record, BAD_CAST "FromSheet", BAD_CAST std::to_string(from).c_str());
        xmlSetProp(record, BAD_CAST "FromCell", BAD_CAST from_cell);
        xmlSetProp(record, BAD_CAST "FromPart", BAD_CAST from_part);
        xmlSetProp(record, BAD_CAST "ToSheet", BAD_CAST std::to_string(to).c_str());
        xmlSetProp(record, BAD_CAST "ToCell",
                   BAD_CAST("Connections.X" + std::to_string(row + 1)).c_str());
        xmlSetProp(record, BAD_CAST "ToPart", BAD_CAST std::to_string(100 + row).c_str());
    };
    for (std::size_t i = 0; i < drawing.connectors().size(); ++i) {
        const office_connector& line = drawing.connectors()[i];
        if (!placed[line.from] || !placed[line.to]) continue;
        const visio_line_look look = i < lines.size() ? lines[i] : visio_line_look{};
        const int from_row = connection_row(placed[line.from], point_name(line.from_side));
        const int to_row = connection_row(placed[line.to], point_name(line.to_side));
        if (from_row < 0 || to_row < 0) continue;
        xmlNode* shape = instance(look.master, highest + 1, error);
        if (!shape) continue;
        const long long id = ++highest;
        const std::vector<route_point> path = drawing.route(line);
        const double begin_x = page_x(path.front().x);
        const double begin_y = page_y(path.front().y);
        const double end_x = page_x(path.back().x);
        const double end_y = page_y(path.back().y);
        const auto glue = [&](long long to, const char* point) {
            const std::string sheet = "Sheet." + std::to_string(to) + "!Connections." + point;
            return "PAR(PNT(" + sheet + ".X," + sheet + ".Y))";
        };
        const std::string begin_glue = glue(shape_ids[line.from], point_name(line.from_side));
        const std::string end_glue = glue(shape_ids[line.to], point_name(line.to_side));
        set_cell(shape, "BeginX", inches(begin_x), begin_glue);
        set_cell(shape, "BeginY", inches(begin_y), begin_glue);
        set_cell(shape, "EndX", inches(end_x), end_glue);
        set_cell(shape, "EndY", inches(end_y), end_glue);
        set_cell(shape, "BegTrigger", "2",
                 "_XFTRIGGER(Sheet." + std::to_string(shape_ids[line.from]) + "!EventXFMod)");
        set_cell(shape, "EndTrigger", "2",
                 "_XFTRIGGER(Sheet." + std::to_string(shape_ids[line.to]) + "!EventXFMod)");
        set_cell(shape, "PinX", inches((begin_x + end_x) / 2), "(BeginX+EndX)/2");
        set_cell(shape, "PinY", inches((begin_y + end_y) / 2), "(BeginY+EndY)/2");
        set_cell(shape, "Width", inches(end_x - begin_x), "EndX-BeginX");
        set_cell(shape, "Height", inches(end_y - begin_y), "EndY-BeginY");
        set_cell(shape, "LocPinX", inches((end_x - begin_x) / 2), "Width*0.5");
        set_cell(shape, "LocPinY", inches((end_y - begin_y) / 2), "Height*0.5");
        // The path itself, in the connector's own coordinates (its begin is the origin).
        xmlNode* geometry = section_of(shape, "Geometry");
        if (!geometry) {
            geometry = xmlNewChild(shape, shape->ns, BAD_CAST "Section", nullptr);
            xmlSetProp(geometry, BAD_CAST "N", BAD_CAST "Geometry");
            xmlSetProp(geometry, BAD_CAST "IX", BAD_CAST "0");
        }
        for (xmlNode* row : xml_children(geometry, visio_ns, "Row")) {
            xmlUnlinkNode(row);
            xmlFreeNode(row);
        }
        for (std::size_t k = 0; k < path.size(); ++k) {
            xmlNode* row = xmlNewChild(geometry, geometry->ns, BAD_CAST "Row", nullptr);
            xmlSetProp(row, BAD_CAST "T", BAD_CAST(k == 0 ? "MoveTo" : "LineTo"));
            xmlSetProp(row, BAD_CAST "IX", BAD_CAST std::to_string(k + 1).c_str());
            set_cell(row, "X", inches(page_x(path[k].x) - begin_x));
            set_cell(row, "Y", inches(page_y(path[k].y) - begin_y));
        }
        // The text beside the first piece of the path, a little out from the shape it leaves.
        if (!look.text.empty() && path.size() > 1) {
            const double dx = page_x(path[1].x) - begin_x;
            const double dy = page_y(path[1].y) - begin_y;
            const double length = std::hypot(dx, dy);
            const double along = length > 0 ? std::min(0.15, length / 2) / length : 0;
            const bool across = std::fabs(dx) > std::fabs(dy);
            set_cell(shape, "TxtPinX", inches(dx * along + (across ? 0 : 0.2)));
            set_cell(shape, "TxtPinY", inches(dy * along + (across ? 0.1 : 0)));
            set_cell(shape, "TxtWidth", "0.4");
            set_cell(shape, "TxtHeight", "0.16");
            set_cell(shape, "TxtLocPinX", "0.2", "TxtWidth*0.5");
            set_cell(shape, "TxtLocPinY", "0.08", "TxtHeight*0.5");
        }
        set_text(shape, look.text);
        connect(id, "BeginX", "9", shape_ids[line.from], from_row);
        connect(id, "EndX", "12", shape_ids[line.to], to_row);
    }
}

}  // namespace tarnwell
