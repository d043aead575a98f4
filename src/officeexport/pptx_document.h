// A presentation as the PowerPoint export fills it: the first slide of the template holds the
// placeholders and receives the drawing's shapes; the slide size is the page.
#pragma once

#include <memory>

#include "officeexport/ooxml_document.h"

namespace tarnwell {

class pptx_document : public ooxml_document {
  public:
    // Nothing, with `error` set, when the package is not a presentation with a first slide.
    static std::unique_ptr<pptx_document> open(ooxml_package package, std::string& error);

    int replace_text(std::string_view placeholder, std::string_view replacement) override;
    page_size page() const override;
    void set_page(page_size size) override;
    // One to 56 inches a side.
    page_size page_limits() const override { return {4032, 4032}; }
    void set_page_margins(double) override {}
    void place_drawing(const office_drawing& drawing) override;

  private:
    xmlNode* slide_size_ = nullptr;  // p:sldSz of the presentation
    xmlNode* shape_tree_ = nullptr;  // p:spTree of the first slide
};

}  // namespace tarnwell
