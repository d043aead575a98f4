// The export parameters: what an options dialog hands to its exporter, with the defaults of a
// fresh installation, and the part of them each application keeps in its section of
// "tarnwell.ini" ([visio], [word], [excel], [powerpoint]).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "officeexport/keyword_list.h"

namespace tarnwell {

class ini_file;

enum class export_application { visio, word, excel, powerpoint };

// The ini section of an application: "visio", "word", "excel" or "powerpoint".
std::string_view section_name(export_application application);

// The text font of the Word, Excel and PowerPoint exports.
struct export_font {
    std::string name = "Arial";
    int size = 8;  // points
    bool bold = false;
    std::uint32_t colour = 0;  // red in the low byte, then green, then blue
    bool operator==(const export_font&) const = default;
};

struct export_parameters {
    export_application application = export_application::powerpoint;

    // Stored in the application's ini section. Lengths are in inches.
    keyword_list keywords = default_keywords();  // keys "0" to "32"
    std::string stencil_file;                    // "stencil": Visio only
    std::string template_file;                   // "template"
    std::string output_dir;                      // "output": empty by default
    double shape_width = 1.2;                    // "width"
    double shape_height = 0.55;                  // "height"
    double vertical_space = 0.3;                 // "distance": between two shapes
    double horizontal_space = 0.81;              // "hdistance"
    double header_height = 0.5;                  // "contentheight": header area of the page
    int char_limit = 2000;                       // "charlimit": see character_limit()
    double font_height = 0.12;                   // "hfont": Visio only, inches
    double font_width = 0.07;                    // "wfont": Visio only, inches
    export_font font;      // "hfont" name, "wfont" size, "fontbold", "fontcolor": the others
    int page_width = 8;    // "pagewidth": whole inches, Word, PowerPoint
    int page_height = 11;  // "pageheight"
    std::uint32_t fill_colour = 15780518;  // "bgcolor": Word, Excel, PowerPoint

    // The dialogs' check boxes: not stored, they start from the application's defaults.
    bool show_keyword = true;
    bool show_line_range = true;
    bool show_source_code = true;
    bool limit_code_text = true;     // "Maximal code text limit "; Excel always limits
    bool set_page_height = true;     // "Reset Page height to fit content"
    bool only_height = true;         // "Only when Page height not enough"
    bool set_page_width = true;      // "Reset Page width to fit content"
    bool only_width = true;          // "Only when Page width not enough"
    bool center_drawing = false;     // "Center Drawing"
    bool default_page_size = false;  // "Default Page Size (inch)": Word, PowerPoint

    // Set for each export.
    int expand_level = 0;
    std::string output_file;    // empty: a new document
    std::string file_name;      // name part of the document's path
    std::string function_name;  // replaces the start cell's keyword when not empty

    // The character limit of a cell text: -1 when there is none.
    int character_limit() const;
    // The page size to set, in whole inches: -1 keeps the document's.
    int page_width_inches() const;
    int page_height_inches() const;
    // The keyword list of an export: the slots, the start slot showing the function name.
    keyword_list export_keywords() const;
};

// Every default of an application, with the stencil and template paths under the program
// directory ("stencil/"). The output folder is left empty: a folder beside the program is no
// place to write to once it is installed, so the desktop's dialogs give one of their own and
// the command line names its output file.
export_parameters default_export_parameters(export_application application,
                                            const std::filesystem::path& program_dir);

// The defaults with what the application's section holds over them. A value that does not read
// as its kind (a number written with "." or ",", a whole number, a colour) keeps the default.
export_parameters load_export_parameters(export_application application, const ini_file& ini,
                                         const std::filesystem::path& program_dir);

// Writes every stored key into the application's section; numbers are written with ".".
void save_export_parameters(const export_parameters& parameters, ini_file& ini);

}  // namespace tarnwell
