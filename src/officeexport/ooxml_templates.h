// The built-in templates: the parts of hollin.pptx, hollin.docx, hollin.xlsx, korvel.vsdx and
// the stencil korvel.vssx compiled into the program, used when no template (stencil) is given or
// the given one cannot be used.
#pragma once

#include <string_view>
#include <vector>

#include "officeexport/office_automation.h"
#include "officeexport/ooxml_package.h"

namespace tarnwell {

struct template_part {
    const char* name;
    std::string_view text;
};

// Generated at build time from the template folders under tools/stencil.
extern const std::vector<template_part> builtin_presentation_parts;
extern const std::vector<template_part> builtin_word_document_parts;
extern const std::vector<template_part> builtin_workbook_parts;
extern const std::vector<template_part> builtin_visio_drawing_parts;
extern const std::vector<template_part> builtin_visio_stencil_parts;

ooxml_package builtin_template(office_kind kind);

}  // namespace tarnwell
