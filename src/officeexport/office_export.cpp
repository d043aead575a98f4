#include "officeexport/office_export.h"

#include "officeexport/powerpoint1.h"
#include "officeexport/word1.h"

namespace tarnwell {

namespace {

using assembly = void (*)(office_drawing, const export_parameters&, office_document&);

struct drawing_format {
    export_application application;
    office_kind kind;
    assembly assemble;
};

// The applications whose documents take the drawing engine's shapes and connectors.
constexpr drawing_format drawing_formats[] = {
    {export_application::powerpoint, office_kind::presentation, powerpoint_export},
    {export_application::word, office_kind::word_document, word_export},
};

const drawing_format* format_of(export_application application) {
    for (const drawing_format& format : drawing_formats) {
        if (format.application == application) return &format;
    }
    return nullptr;
}

}  // namespace

bool office_export_available(export_application application) {
    return format_of(application) != nullptr;
}

bool write_office_export(const cell_table& table, const export_parameters& parameters,
                         const std::string& output, office_export_summary& summary,
                         std::string& notice, std::string& error) {
    const drawing_format* format = format_of(parameters.application);
    if (format == nullptr) {
        error = "This kind of document cannot be written";
        return false;
    }
    office_drawing drawing = draw_flowchart(table, parameters);
    summary.shapes = drawing.shapes().size();
    summary.connectors = drawing.connectors().size();
    const std::unique_ptr<office_document> document =
        open_office_document(format->kind, parameters.template_file, notice);
    format->assemble(std::move(drawing), parameters, *document);
    summary.page = document->page();
    return document->save(output, error);
}

}  // namespace tarnwell
