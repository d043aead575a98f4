#include "officeexport/pptx_document.h"

#include <algorithm>
#include <cmath>

#include "officeexport/drawingml_writer.h"
#include "officeexport/ooxml_fragment.h"
#include "officeexport/ooxml_placeholders.h"
#include "officeexport/ooxml_text.h"

namespace tarnwell {

namespace {

constexpr const char* presentation_type =
    "application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml";
constexpr const char* slide_type =
    "application/vnd.openxmlformats-officedocument.presentationml.slide+xml";
constexpr double emu_per_point = 12700.0;

double points_of(const std::string& emu_text) {
    try {
        return std::stod(emu_text) / emu_per_point;
    } catch (...) {
        return 0;
    }
}

}  // namespace

std::unique_ptr<pptx_document> pptx_document::open(ooxml_package package, std::string& error) {
    std::unique_ptr<pptx_document> document(new pptx_document);
    if (!document->load(std::move(package), presentation_type, error)) return nullptr;
    xmlDoc* presentation = document->edit(document->main_part(), error);
    if (!presentation) return nullptr;
    xmlNode* root = xmlDocGetRootElement(presentation);
    document->slide_size_ = xml_first_child(root, ooxml_ns::presentationml, "sldSz");
    xmlNode* first_slide =
        xml_first_child(xml_first_child(root, ooxml_ns::presentationml, "sldIdLst"),
                        ooxml_ns::presentationml, "sldId");
    if (!document->slide_size_ || !first_slide) {
        error = "the presentation has no slide size or no slide";
        return nullptr;
    }
    const std::string slide_id = xml_attribute(first_slide, "id", ooxml_ns::relationships);
    std::string slide_part;
    for (const package_relationship& relationship :
         document->package().relationships(document->main_part())) {
        if (relationship.id == slide_id) slide_part = relationship.target;
    }
    if (slide_part.empty() || document->package().content_type(slide_part) != slide_type) {
        error = "the first slide of the presentation is missing";
        return nullptr;
    }
    xmlDoc* slide = document->edit(slide_part, error);
    if (!slide) return nullptr;
    document->shape_tree_ = xml_first_child(
        xml_first_child(xmlDocGetRootElement(slide), ooxml_ns::presentationml, "cSld"),
        ooxml_ns::presentationml, "spTree");
    if (!document->shape_tree_) {
        error = "the first slide has no shape tree";
        return nullptr;
    }
    return document;
}

int pptx_document::replace_text(std::string_view placeholder, std::string_view replacement) {
    return replace_in_paragraphs(shape_tree_, ooxml_ns::drawingml, "p", "t", placeholder,
                                 office_text(replacement));
}

page_size pptx_document::page() const {
    return {points_of(xml_attribute(slide_size_, "cx")),
            points_of(xml_attribute(slide_size_, "cy"))};
}

void pptx_document::set_page(page_size size) {
    const page_size limits = page_limits();
    const auto emu_text = [](double points, double most) {
        return std::to_string(std::llround(std::clamp(points, 72.0, most) * emu_per_point));
    };
    xmlSetProp(slide_size_, BAD_CAST "cx", BAD_CAST emu_text(size.width, limits.width).c_str());
    xmlSetProp(slide_size_, BAD_CAST "cy", BAD_CAST emu_text(size.height, limits.height).c_str());
    // A named size ("screen4x3") no longer holds.
    xmlUnsetProp(slide_size_, BAD_CAST "type");
}

void pptx_document::place_drawing(const office_drawing& drawing) {
    const long long highest =
        std::max(1LL, xml_highest_id(shape_tree_, ooxml_ns::presentationml, "cNvPr"));
    append_fragment(shape_tree_, nullptr,
                    drawing_elements(drawing, drawing_flavour::presentation, highest + 1),
                    {{"p", ooxml_ns::presentationml},
                     {"a", ooxml_ns::drawingml},
                     {"r", ooxml_ns::relationships}});
}

}  // namespace tarnwell
