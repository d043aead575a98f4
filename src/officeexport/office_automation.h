// The automation layer the exporters drive: a document opened from a template (or the built-in
// one), whose text placeholders, page and drawing they set before it is saved. The drawing
// itself (shapes, texts, connectors, grouping, move and scale) is an `office_drawing`.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "officeexport/office_drawing.h"

namespace tarnwell {

struct page_size {
    double width = 0;  // points
    double height = 0;
};

class office_document {
  public:
    virtual ~office_document() = default;

    // Replaces every occurrence of `placeholder` in the text of the document's page (also where
    // formatting splits it over several runs) by `replacement`, which is bytes as in the source.
    // Returns how many were replaced.
    virtual int replace_text(std::string_view placeholder, std::string_view replacement) = 0;

    virtual page_size page() const = 0;
    // Sets the page (slide) size, kept within what the format allows: `page_limits()`.
    virtual void set_page(page_size size) = 0;
    virtual page_size page_limits() const = 0;
    // Sets the four page margins and the gutter; a slide has none.
    virtual void set_page_margins(double points) = 0;

    // Puts the drawing on the page where its coordinates say, as one group where the format
    // keeps a drawing together, else as separate shapes. The first id it takes follows every
    // id already on the page.
    virtual void place_drawing(const office_drawing& drawing) = 0;

    // Writes the document to `path` through a temporary file in the same folder; on failure
    // nothing is left at `path` and `error` says why.
    virtual bool save(const std::string& path, std::string& error) const = 0;
};

// The kinds of document the exporters write.
// A Visio stencil is no document of its own: it only lends the drawing its masters.
enum class office_kind { presentation, word_document, workbook, visio_drawing, visio_stencil };

// Opens a template of the kind. An empty path gives the built-in document silently; a template
// that cannot be used (missing, not a package of the kind, broken XML, beyond the size caps)
// gives the built-in document and `message` says why.
std::unique_ptr<office_document> open_office_document(office_kind kind,
                                                      const std::string& template_path,
                                                      std::string& message);

}  // namespace tarnwell
