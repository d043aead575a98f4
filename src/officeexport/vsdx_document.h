// A Visio drawing as the Visio export fills it: the first page of the template receives a shape
// per cell, each an instance of a master lent by a stencil and copied into the drawing, and a
// connector per line, glued at both ends: glue formulas and triggers for Visio, the page's
// connect records, and a stored path and position for readers that evaluate no formulas.
// Lengths are inches inside the file and points at the interface, y growing downwards from the
// top of the page as in every drawing of the automation layer.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "officeexport/ooxml_document.h"
#include "officeexport/outline_span.h"

namespace tarnwell {

// How a connector is drawn: the master it is an instance of and its text.
struct visio_line_look {
    std::string master = "connector";
    std::string text;
};

class vsdx_document : public ooxml_document {
  public:
    // Nothing, with `error` set, when the package is not a Visio drawing with a first page.
    static std::unique_ptr<vsdx_document> open(ooxml_package package, std::string& error);

    // Takes the masters of a stencil, by name; false with `error` set when the package is no
    // stencil with masters.
    bool use_stencil(const ooxml_package& stencil, std::string& error);
    bool has_master(const std::string& name) const { return stencil_.count(name) != 0; }
    // The span of the named master's outline across a band of text of `band` of its height; the
    // whole width for a master whose outline is not made of straight sides alone.
    outline_span text_span(const std::string& name, double band) const;

    void set_page_name(const std::string& name);
    // In the texts of the first page's shapes, ignoring letter case.
    int replace_text(std::string_view placeholder, std::string_view replacement) override;
    page_size page() const override;
    // The page grows or shrinks at its bottom: the shapes on it keep their distance from the top.
    void set_page(page_size size) override;
    // The box around the shapes already on the page (a template's title); empty when none.
    office_box page_shapes_bounds() const;
    void move_page_shapes(double dx, double dy);
    // A tenth of an inch to 200 inches a side, what drawing programs still open.
    page_size page_limits() const override { return {14400, 14400}; }
    void set_page_margins(double) override {}
    // Each shape is an instance of the master its `preset` names, sized to its box, with its
    // text, font size and text margins; a shape
    // whose master the stencil lacks is left out, with the connectors that end on it.
    void place_drawing(const office_drawing& drawing) override;
    // The same with a look per connector, in the order of the drawing's connectors.
    void place_drawing(const office_drawing& drawing, const std::vector<visio_line_look>& lines);

  private:
    struct stencil_master {
        xml_document contents;  // the master's MasterContents part
        xml_document entry;     // its entry of the stencil's master list, alone in a document
    };
    // The ID of the drawing's copy of a master, copied on first use.
    std::string master_id(const std::string& name, std::string& error);
    std::vector<xmlNode*> top_shapes() const;
    // A new shape on the page: a copy of the master's shape with a fresh ID.
    xmlNode* instance(const std::string& name, long long id, std::string& error);

    std::map<std::string, stencil_master, std::less<>> stencil_;
    std::map<std::string, std::string, std::less<>> copied_;  // master name -> ID in the drawing
    std::string masters_part_;
    xmlNode* page_entry_ = nullptr;  // the Page element of the page list
    xmlNode* page_sheet_ = nullptr;  // its PageSheet
    xmlNode* contents_ = nullptr;    // the page's PageContents
};

}  // namespace tarnwell
