// A workbook as the Excel export fills it: the placeholders are replaced in the cells of the
// active sheet, and the drawing's shapes float over that sheet, each at an absolute position
// in its drawing part (made when the sheet has none). A sheet has no page to size: the page is
// the area the drawing covers.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "officeexport/ooxml_document.h"

namespace tarnwell {

class xlsx_document : public ooxml_document {
  public:
    // Nothing, with `error` set, when the package is not a workbook whose active sheet is a
    // worksheet.
    static std::unique_ptr<xlsx_document> open(ooxml_package package, std::string& error);

    // In the active sheet's cells only, ignoring letter case. A shared string that another
    // sheet shows too is copied for the active sheet, so the other sheet keeps its text.
    int replace_text(std::string_view placeholder, std::string_view replacement) override;
    page_size page() const override { return covered_; }
    void set_page(page_size) override {}
    // The largest sheet a drawing may cover: Excel's last column and row at default sizes.
    page_size page_limits() const override { return {16384 * 48.0, 1048576 * 15.0}; }
    void set_page_margins(double) override {}
    void place_drawing(const office_drawing& drawing) override;

  private:
    // Shared string indexes the cells of the other sheets show.
    std::set<long long> strings_of_other_sheets();
    // The drawing part of the active sheet, made and related when the sheet has none.
    xmlNode* sheet_drawing(std::string& error);

    std::string sheet_part_;
    std::string strings_part_;  // empty when the workbook has no shared strings
    std::vector<std::string> other_sheet_parts_;
    page_size covered_;
};

}  // namespace tarnwell
