// What the presentation and the word-processing document share: the package, its main part
// checked against the kind, the XML parts being changed, and saving them back.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "officeexport/office_automation.h"
#include "officeexport/ooxml_package.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell {

class ooxml_document : public office_document {
  public:
    bool save(const std::string& path, std::string& error) const override;

  protected:
    // Takes the package; false with `error` set when its main part (the target of the package
    // relationship whose type ends in `main_relationship`) is missing or is not of the content
    // type `main_type`.
    bool load(
        ooxml_package package, std::string_view main_type, std::string& error,
        std::string_view main_relationship = "/officeDocument/2006/relationships/officeDocument");
    // A part parsed once and kept for changes; saved back with the package. Null with `error`
    // set when it is missing or broken.
    xmlDoc* edit(const std::string& part, std::string& error);
    const std::string& main_part() const { return main_part_; }
    const ooxml_package& package() const { return package_; }
    // For parts a document adds (a drawing a sheet did not have yet); a part already taken by
    // `edit` is saved from its parsed form.
    ooxml_package& package() { return package_; }
    // Relates `target` (written as the relationship says it, relative to the folder of
    // `source`) to `source` by a relationship of `type`, making the source's relationships part
    // when it has none. The new id; empty with `error` set when those relationships are broken.
    std::string add_relationship(const std::string& source, const std::string& type,
                                 const std::string& target, std::string& error);
    // Gives a new part its content type; false with `error` set when the content types are
    // broken.
    bool set_content_type(const std::string& part, const std::string& type, std::string& error);

  private:
    ooxml_package package_;
    std::string main_part_;
    std::map<std::string, xml_document, std::less<>> edited_;
};

}  // namespace tarnwell
