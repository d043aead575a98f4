// A word-processing document as the Word export fills it: placeholders in the body, headers
// and footers; the last section's page size and margins; the drawing as one group anchored to
// the page in the first paragraph.
#pragma once

#include <memory>
#include <vector>

#include "officeexport/ooxml_document.h"

namespace tarnwell {

class docx_document : public ooxml_document {
  public:
    // Nothing, with `error` set, when the package is not a word-processing document.
    static std::unique_ptr<docx_document> open(ooxml_package package, std::string& error);

    int replace_text(std::string_view placeholder, std::string_view replacement) override;
    page_size page() const override;
    void set_page(page_size size) override;
    // One to 22 inches a side.
    page_size page_limits() const override { return {1584, 1584}; }
    void set_page_margins(double points) override;
    void place_drawing(const office_drawing& drawing) override;

  private:
    xmlNode* body_ = nullptr;
    xmlNode* page_size_ = nullptr;      // w:pgSz of the last section
    xmlNode* page_margins_ = nullptr;   // w:pgMar of the last section
    std::vector<xmlNode*> text_roots_;  // the body, then every header and footer
};

}  // namespace tarnwell
