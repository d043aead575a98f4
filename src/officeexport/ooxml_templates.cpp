#include "officeexport/ooxml_templates.h"

namespace tarnwell {

ooxml_package builtin_template(office_kind kind) {
    ooxml_package package;
    const auto& parts = kind == office_kind::presentation ? builtin_presentation_parts
                                                          : builtin_word_document_parts;
    for (const template_part& part : parts) package.set_part(part.name, std::string(part.text));
    return package;
}

}  // namespace tarnwell
