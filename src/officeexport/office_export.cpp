#include "officeexport/office_export.h"

#include "officeexport/excel1.h"
#include "officeexport/powerpoint1.h"
#include "officeexport/visio1.h"
#include "officeexport/word1.h"

namespace tarnwell {

namespace {

using assembly = void (*)(office_drawing, const export_parameters&, office_document&);
using writer = bool (*)(const cell_table&, const export_parameters&, const std::string&,
                        office_export_summary&, std::string&, std::string&);

// The documents that take the drawing engine's shapes and connectors, put in by the assembly of
// their application.
template <office_kind kind, assembly assemble>
bool write_drawing_document(const cell_table& table, const export_parameters& parameters,
                            const std::string& output, office_export_summary& summary,
                            std::string& notice, std::string& error) {
    office_drawing drawing = draw_flowchart(table, parameters);
    summary.shapes = drawing.shapes().size();
    summary.connectors = drawing.connectors().size();
    const std::unique_ptr<office_document> document =
        open_office_document(kind, parameters.template_file, notice);
    assemble(std::move(drawing), parameters, *document);
    summary.page = document->page();
    return document->save(output, error);
}

struct export_writer {
    export_application application;
    writer write;
};

// The applications whose documents can be written.
constexpr export_writer writers[] = {
    {export_application::powerpoint,
     write_drawing_document<office_kind::presentation, powerpoint_export>},
    {export_application::word, write_drawing_document<office_kind::word_document, word_export>},
    {export_application::excel, write_drawing_document<office_kind::workbook, excel_export>},
    {export_application::visio, write_visio_export},
};

const export_writer* writer_of(export_application application) {
    for (const export_writer& row : writers) {
        if (row.application == application) return &row;
    }
    return nullptr;
}

}  // namespace

bool office_export_available(export_application application) {
    return writer_of(application) != nullptr;
}

bool write_office_export(const cell_table& table, const export_parameters& parameters,
                         const std::string& output, office_export_summary& summary,
                         std::string& notice, std::string& error) {
    const export_writer* row = writer_of(parameters.application);
    if (row == nullptr) {
        error = "This kind of document cannot be written";
        return false;
    }
    return row->write(table, parameters, output, summary, notice, error);
}

}  // namespace tarnwell
