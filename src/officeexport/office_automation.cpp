#include "officeexport/office_automation.h"

#include "officeexport/docx_document.h"
#include "officeexport/ooxml_templates.h"
#include "officeexport/pptx_document.h"
#include "officeexport/vsdx_document.h"
#include "officeexport/xlsx_document.h"

namespace tarnwell {

namespace {

std::unique_ptr<office_document> opened(office_kind kind, ooxml_package package,
                                        std::string& error) {
    switch (kind) {
        case office_kind::presentation:
            return pptx_document::open(std::move(package), error);
        case office_kind::word_document:
            return docx_document::open(std::move(package), error);
        case office_kind::workbook:
            return xlsx_document::open(std::move(package), error);
        case office_kind::visio_drawing:
        case office_kind::visio_stencil:
            break;
    }
    return vsdx_document::open(std::move(package), error);
}

}  // namespace

std::unique_ptr<office_document> open_office_document(office_kind kind,
                                                      const std::string& template_path,
                                                      std::string& message) {
    if (!template_path.empty()) {
        std::string error;
        if (std::optional<ooxml_package> package = ooxml_package::read(template_path, error)) {
            if (auto document = opened(kind, std::move(*package), error)) return document;
        }
        message =
            "template does not exist, use default page (" + template_path + ": " + error + ")";
    }
    std::string error;
    return opened(kind, builtin_template(kind), error);
}

}  // namespace tarnwell
