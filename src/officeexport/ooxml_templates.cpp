#include "officeexport/ooxml_templates.h"

namespace tarnwell {

namespace {

const std::vector<template_part>& parts_of(office_kind kind) {
    switch (kind) {
        case office_kind::presentation:
            return builtin_presentation_parts;
        case office_kind::word_document:
            return builtin_word_document_parts;
        case office_kind::workbook:
            return builtin_workbook_parts;
        case office_kind::visio_drawing:
            return builtin_visio_drawing_parts;
        case office_kind::visio_stencil:
            break;
    }
    return builtin_visio_stencil_parts;
}

}  // namespace

ooxml_package builtin_template(office_kind kind) {
    ooxml_package package;
    for (const template_part& part : parts_of(kind)) {
        package.set_part(part.name, std::string(part.text));
    }
    return package;
}

}  // namespace tarnwell
