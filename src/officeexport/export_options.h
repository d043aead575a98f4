// What the four export options dialogs decide without a window: the fields as text, the
// proposed output name, the "Default" buttons, and the checks behind "Start" with their
// messages, the field each one focuses, and the files an export writes.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "officeexport/export_parameters.h"

namespace tarnwell {

// The text fields of a dialog, as the user typed them.
struct export_option_fields {
    std::string stencil;  // Visio only
    std::string template_path;
    std::string output_dir;
    std::string output_name;
    std::string width;
    std::string height;
    std::string distance;       // vertical space
    std::string hdistance;      // horizontal space
    std::string contentheight;  // header height
    std::string charlimit;
    std::string font_height;  // Visio only
    std::string font_width;   // Visio only
    std::string page_width;   // Word, PowerPoint
    std::string page_height;  // Word, PowerPoint
    bool operator==(const export_option_fields&) const = default;
};

enum class option_field {
    stencil,
    template_path,
    output_dir,
    output_name,
    width,
    height,
    distance,
    hdistance,
    contentheight,
    charlimit,
    font_height,
    font_width,
    page_width,
    page_height,
};

// The fields showing the stored settings (numbers written with ".").
export_option_fields fields_of(const export_parameters& parameters);

// The settings a dialog keeps when it closes: `current` with what the fields hold over it,
// whether or not it would pass the checks; a number that does not read keeps its old value.
export_parameters settings_from_fields(const export_option_fields& fields,
                                       const export_parameters& current);

// The extension of the application's documents: ".vsdx", ".docx", ".xlsx" or ".pptx".
std::string_view document_extension(export_application application);

// The output name a dialog proposes when it opens: "<file>-<function><extension>", or the time
// "yy-m-d-h-n" and the extension when both names are empty.
std::string proposed_output_name(export_application application, const std::string& file_name,
                                 const std::string& function_name, const std::tm& now);

// The two "Default" buttons of a dialog (group 1 or 2): they reset their fields and, for the
// font and the fill colour, the parameters.
void apply_default_group(export_application application, int group,
                         const std::filesystem::path& program_dir, export_option_fields& fields,
                         export_parameters& parameters);

// A message of the checks and the field it puts the focus on.
struct option_message {
    std::string text;
    option_field field;
    bool operator==(const option_message&) const = default;
};

// What "Start" comes to.
struct start_outcome {
    // Notices shown on the way that do not stop the export ("template does not exist, ...").
    std::vector<option_message> notices;
    // The message that stopped the export; none when it goes ahead.
    std::optional<option_message> failure;
    // The failure is the question whether the existing output file is to be replaced; Yes
    // runs the checks again with `replace_existing`.
    bool overwrite_question = false;
    // The failure is an output folder that is named but not there; the dialog offers to make
    // it and runs the checks again.
    bool missing_folder = false;
    // The fields with the trimmed and corrected paths and name written back.
    export_option_fields fields;
    // The export to the output file: the dialog's settings read from the fields, the template
    // to start from, and `output_file` set.
    export_parameters parameters;
    // The time-stamped copy beside the output file, exported with "Display source code"
    // inverted first (Visio, Excel, PowerPoint); empty when there is none.
    std::string stamped_file;
};

// The checks behind "Start", in the dialog's order; `settings` carries what the fields do not
// (keywords, check boxes, font, colour, the document's names and expand level). An existing
// output file stops them unless the user agreed to `replace_existing` it.
start_outcome check_start(const export_option_fields& fields, const export_parameters& settings,
                          const std::filesystem::path& program_dir, const std::tm& now,
                          bool replace_existing = false);

// The question an existing output file raises.
std::string replace_question(const std::string& output_name);

}  // namespace tarnwell
