#include "officeexport/docx_document.h"

#include <algorithm>
#include <cmath>

#include "officeexport/drawingml_writer.h"
#include "officeexport/ooxml_fragment.h"
#include "officeexport/ooxml_placeholders.h"
#include "officeexport/ooxml_text.h"

namespace tarnwell {

namespace {

constexpr const char* document_type =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr const char* group_uri =
    "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup";
constexpr const char* shape_uri =
    "http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
constexpr const char* markup_compatibility =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";
constexpr double twips_per_point = 20.0;
constexpr page_size letter = {612, 792};

const xmlChar* w_name(const char* name) {
    return BAD_CAST name;
}

xmlNs* word_namespace(xmlNode* node) {
    return xmlSearchNsByHref(node->doc, node, BAD_CAST ooxml_ns::wordprocessingml);
}

std::string word_attribute(xmlNode* node, const char* name) {
    return xml_attribute(node, name, ooxml_ns::wordprocessingml);
}

void set_word_attribute(xmlNode* node, const char* name, const std::string& value) {
    xmlSetNsProp(node, word_namespace(node), w_name(name), BAD_CAST value.c_str());
}

xmlNode* word_child(xmlNode* parent, const char* name, bool at_start = false) {
    if (xmlNode* found = xml_first_child(parent, ooxml_ns::wordprocessingml, name)) return found;
    xmlNode* child = xmlNewDocNode(parent->doc, word_namespace(parent), w_name(name), nullptr);
    if (at_start && parent->children) return xmlAddPrevSibling(parent->children, child);
    return xmlAddChild(parent, child);
}

std::string twips(double points) {
    return std::to_string(std::llround(points * twips_per_point));
}

double points_of(const std::string& twips_text, double otherwise) {
    try {
        const double value = std::stod(twips_text) / twips_per_point;
        return value > 0 ? value : otherwise;
    } catch (...) {
        return otherwise;
    }
}

}  // namespace

std::unique_ptr<docx_document> docx_document::open(ooxml_package package, std::string& error) {
    std::unique_ptr<docx_document> document(new docx_document);
    if (!document->load(std::move(package), document_type, error)) return nullptr;
    xmlDoc* main = document->edit(document->main_part(), error);
    if (!main) return nullptr;
    document->body_ =
        xml_first_child(xmlDocGetRootElement(main), ooxml_ns::wordprocessingml, "body");
    if (!document->body_) {
        error = "the document has no body";
        return nullptr;
    }
    document->text_roots_.push_back(document->body_);
    for (const package_relationship& relationship :
         document->package().relationships(document->main_part())) {
        const std::string_view type = relationship.type;
        if (type.ends_with("/relationships/header") || type.ends_with("/relationships/footer")) {
            xmlDoc* part = document->edit(relationship.target, error);
            if (!part) return nullptr;
            document->text_roots_.push_back(xmlDocGetRootElement(part));
        }
    }
    // The page is the last section's: the sectPr that closes the body.
    xmlNode* section = nullptr;
    for (xmlNode* child = document->body_->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) section = child;
    }
    if (!xml_is(section, ooxml_ns::wordprocessingml, "sectPr")) {
        section = xmlAddChild(document->body_, xmlNewDocNode(main, word_namespace(document->body_),
                                                             w_name("sectPr"), nullptr));
    }
    document->page_size_ = word_child(section, "pgSz", true);
    if (word_attribute(document->page_size_, "w").empty()) {
        set_word_attribute(document->page_size_, "w", twips(letter.width));
        set_word_attribute(document->page_size_, "h", twips(letter.height));
    }
    xmlNode* margins = xml_first_child(section, ooxml_ns::wordprocessingml, "pgMar");
    if (!margins) {
        margins = xmlNewDocNode(section->doc, word_namespace(section), w_name("pgMar"), nullptr);
        xmlAddNextSibling(document->page_size_, margins);
        for (const char* side : {"top", "right", "bottom", "left", "header", "footer", "gutter"}) {
            set_word_attribute(margins, side, "1440");
        }
        set_word_attribute(margins, "gutter", "0");
    }
    document->page_margins_ = margins;
    return document;
}

int docx_document::replace_text(std::string_view placeholder, std::string_view replacement) {
    const std::string text = office_text(replacement);
    int replaced = 0;
    for (xmlNode* root : text_roots_) {
        replaced +=
            replace_in_paragraphs(root, ooxml_ns::wordprocessingml, "p", "t", placeholder, text);
    }
    return replaced;
}

page_size docx_document::page() const {
    return {points_of(word_attribute(page_size_, "w"), letter.width),
            points_of(word_attribute(page_size_, "h"), letter.height)};
}

void docx_document::set_page(page_size size) {
    const page_size limits = page_limits();
    const double width = std::clamp(size.width, 72.0, limits.width);
    const double height = std::clamp(size.height, 72.0, limits.height);
    set_word_attribute(page_size_, "w", twips(width));
    set_word_attribute(page_size_, "h", twips(height));
    if (width > height) {
        set_word_attribute(page_size_, "orient", "landscape");
    } else if (xmlAttr* orient = xmlHasNsProp(page_size_, BAD_CAST "orient",
                                              BAD_CAST ooxml_ns::wordprocessingml)) {
        xmlRemoveProp(orient);
    }
}

void docx_document::set_page_margins(double points) {
    for (const char* side : {"top", "right", "bottom", "left"}) {
        set_word_attribute(page_margins_, side, twips(points));
    }
    set_word_attribute(page_margins_, "gutter", "0");
}

void docx_document::place_drawing(const office_drawing& drawing) {
    // docPr ids are unique across the document and its headers; the shapes of the group take
    // the ids after the group's own.
    long long highest = 0;
    for (xmlNode* root : text_roots_) {
        highest =
            std::max(highest, xml_highest_id(root, ooxml_ns::wordprocessing_drawing, "docPr"));
        highest = std::max(highest, xml_highest_id(root, shape_uri, "cNvPr"));
    }
    const long long group_id = highest + 1;
    const office_box box = drawing.bounds();
    const std::string width = std::to_string(emu(box.width));
    const std::string height = std::to_string(emu(box.height));
    const std::string run =
        "<w:r><mc:AlternateContent><mc:Choice Requires=\"wpg\"><w:drawing>"
        "<wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" simplePos=\"0\" "
        "relativeHeight=\"251659264\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" "
        "allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/>"
        "<wp:positionH relativeFrom=\"page\"><wp:posOffset>" +
        std::to_string(emu(box.left)) +
        "</wp:posOffset></wp:positionH><wp:positionV relativeFrom=\"page\"><wp:posOffset>" +
        std::to_string(emu(box.top)) + "</wp:posOffset></wp:positionV><wp:extent cx=\"" + width +
        "\" cy=\"" + height +
        "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:wrapNone/><wp:docPr id=\"" +
        std::to_string(group_id) + "\" name=\"Flowchart " + std::to_string(group_id) +
        "\"/><wp:cNvGraphicFramePr/><a:graphic><a:graphicData uri=\"" + group_uri +
        "\"><wpg:wgp><wpg:cNvGrpSpPr/><wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        width + "\" cy=\"" + height + "\"/><a:chOff x=\"" + std::to_string(emu(box.left)) +
        "\" y=\"" + std::to_string(emu(box.top)) + "\"/><a:chExt cx=\"" + width + "\" cy=\"" +
        height + "\"/></a:xfrm></wpg:grpSpPr>" +
        drawing_elements(drawing, drawing_flavour::wordprocessing, group_id + 1) +
        "</wpg:wgp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice>"
        "</mc:AlternateContent></w:r>";

    // The prefixes the choice requires must be declared where it stands: on the root, where the
    // template has not bound their namespaces already.
    xmlNode* root = xmlDocGetRootElement(body_->doc);
    const std::vector<namespace_binding> namespaces = {{"w", ooxml_ns::wordprocessingml},
                                                       {"wp", ooxml_ns::wordprocessing_drawing},
                                                       {"a", ooxml_ns::drawingml},
                                                       {"wpg", group_uri},
                                                       {"wps", shape_uri},
                                                       {"mc", markup_compatibility}};
    for (const auto& [prefix, uri] : namespaces) {
        if (!xmlSearchNsByHref(root->doc, root, BAD_CAST uri)) {
            xmlNewNs(root, BAD_CAST uri, BAD_CAST prefix);
        }
    }
    xmlNode* paragraph = xml_first_child(body_, ooxml_ns::wordprocessingml, "p");
    if (!paragraph) {
        paragraph = xmlNewDocNode(body_->doc, word_namespace(body_), w_name("p"), nullptr);
        paragraph = body_->children ? xmlAddPrevSibling(body_->children, paragraph)
                                    : xmlAddChild(body_, paragraph);
    }
    append_fragment(paragraph, nullptr, run, namespaces);
    // The template may bind the group namespace to a prefix of its own.
    const xmlNs* group = xmlSearchNsByHref(root->doc, root, BAD_CAST group_uri);
    if (!group || !group->prefix) return;
    for (xmlNode* choice : xml_descendants(paragraph, markup_compatibility, "Choice")) {
        xmlSetProp(choice, BAD_CAST "Requires", group->prefix);
    }
}

}  // namespace tarnwell
