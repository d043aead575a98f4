#include "officeexport/export_parameters.h"

#include <optional>

#include "layout/export_cells.h"
#include "officeexport/option_text.h"
#include "workspace/ini_file.h"

namespace tarnwell {

namespace {

bool is_visio(export_application application) {
    return application == export_application::visio;
}

bool sets_page_size(export_application application) {
    return application == export_application::word || application == export_application::powerpoint;
}

// Reads the keys of one section over the defaults.
class section_reader {
  public:
    section_reader(const ini_file& ini, std::string_view section) : ini_(ini), section_(section) {}

    void text(std::string_view key, std::string& field) const {
        if (auto value = ini_.value(section_, key)) field = std::move(*value);
    }
    void number(std::string_view key, double& field) const {
        if (const auto value = ini_.value(section_, key)) {
            if (const auto number = read_decimal(*value)) field = *number;
        }
    }
    void whole(std::string_view key, int& field, std::int64_t least, std::int64_t most) const {
        if (const auto value = ini_.value(section_, key)) {
            if (const auto number = read_whole_number(*value);
                number && *number >= least && *number <= most) {
                field = static_cast<int>(*number);
            }
        }
    }

    // A colour as the number of its blue, green and red bytes.
    void colour(std::string_view key, std::uint32_t& field) const {
        int value = static_cast<int>(field);
        whole(key, value, 0, 0xFFFFFF);
        field = static_cast<std::uint32_t>(value);
    }

  private:
    const ini_file& ini_;
    std::string_view section_;
};

constexpr std::int64_t largest_int = 2147483647;

}  // namespace

std::string_view section_name(export_application application) {
    switch (application) {
        case export_application::visio:
            return "visio";
        case export_application::word:
            return "word";
        case export_application::excel:
            return "excel";
        case export_application::powerpoint:
            return "powerpoint";
    }
    return "powerpoint";
}

int export_parameters::character_limit() const {
    return application == export_application::excel || limit_code_text ? char_limit : -1;
}

int export_parameters::page_width_inches() const {
    return sets_page_size(application) && default_page_size ? page_width : -1;
}

int export_parameters::page_height_inches() const {
    return sets_page_size(application) && default_page_size ? page_height : -1;
}

keyword_list export_parameters::export_keywords() const {
    keyword_list list = keywords;
    if (!function_name.empty()) list[export_start] = function_name;
    return list;
}

export_parameters default_export_parameters(export_application application,
                                            const std::filesystem::path& program_dir) {
    export_parameters p;
    p.application = application;
    const std::filesystem::path stencil = program_dir / "stencil";
    p.stencil_file = is_visio(application) ? (stencil / "korvel.vssx").string() : std::string();
    switch (application) {
        case export_application::visio:
            p.template_file = (stencil / "korvel.vsdx").string();
            break;
        case export_application::word:
            p.template_file = (stencil / "hollin.docx").string();
            break;
        case export_application::excel:
            p.template_file = (stencil / "hollin.xlsx").string();
            break;
        case export_application::powerpoint:
            p.template_file = (stencil / "hollin.pptx").string();
            break;
    }
    if (is_visio(application)) {
        p.shape_width = 1;
        p.shape_height = 0.4;
    }
    // The check boxes each dialog starts with; Excel's dialog has no limit box (it always
    // limits) and no page boxes, Visio's no page size box.
    p.show_source_code = application != export_application::word;
    const bool fits_page = application != export_application::excel;
    p.limit_code_text = fits_page;
    p.set_page_height = p.only_height = p.set_page_width = p.only_width = fits_page;
    p.center_drawing = false;
    p.default_page_size = application == export_application::word;
    return p;
}

export_parameters load_export_parameters(export_application application, const ini_file& ini,
                                         const std::filesystem::path& program_dir) {
    export_parameters p = default_export_parameters(application, program_dir);
    const section_reader read(ini, section_name(application));
    // Slots past the symbol codes have no field: they stay empty whatever the file holds.
    for (int slot = 0; slot <= export_false_line; ++slot) {
        read.text(std::to_string(slot), p.keywords[slot]);
    }
    if (is_visio(application)) read.text("stencil", p.stencil_file);
    read.text("template", p.template_file);
    read.text("output", p.output_dir);
    read.number("width", p.shape_width);
    read.number("height", p.shape_height);
    read.number("distance", p.vertical_space);
    read.number("hdistance", p.horizontal_space);
    read.number("contentheight", p.header_height);
    read.whole("charlimit", p.char_limit, -largest_int, largest_int);
    if (is_visio(application)) {
        read.number("hfont", p.font_height);
        read.number("wfont", p.font_width);
    } else {
        std::string name = p.font.name;
        read.text("hfont", name);
        if (!trimmed_text(name).empty()) p.font.name = std::string(trimmed_text(name));
        read.whole("wfont", p.font.size, 1, 1638);
        int bold = p.font.bold ? 1 : 0;
        read.whole("fontbold", bold, 0, 1);
        p.font.bold = bold != 0;
        read.colour("fontcolor", p.font.colour);
        read.colour("bgcolor", p.fill_colour);
    }
    if (sets_page_size(application)) {
        read.whole("pagewidth", p.page_width, -largest_int, largest_int);
        read.whole("pageheight", p.page_height, -largest_int, largest_int);
    }
    return p;
}

void save_export_parameters(const export_parameters& p, ini_file& ini) {
    const std::string_view section = section_name(p.application);
    const auto put = [&](std::string_view key, std::string_view value) {
        ini.set_value(section, key, value);
    };
    for (int slot = 0; slot < keyword_slot_count; ++slot) {
        put(std::to_string(slot),
            slot <= export_false_line ? std::string_view(p.keywords[slot]) : "");
    }
    if (is_visio(p.application)) put("stencil", p.stencil_file);
    put("template", p.template_file);
    put("output", p.output_dir);
    put("width", decimal_text(p.shape_width));
    put("height", decimal_text(p.shape_height));
    put("distance", decimal_text(p.vertical_space));
    put("hdistance", decimal_text(p.horizontal_space));
    put("contentheight", decimal_text(p.header_height));
    put("charlimit", std::to_string(p.char_limit));
    if (is_visio(p.application)) {
        put("hfont", decimal_text(p.font_height));
        put("wfont", decimal_text(p.font_width));
    } else {
        put("hfont", p.font.name);
        put("wfont", std::to_string(p.font.size));
        put("fontbold", p.font.bold ? "1" : "0");
        put("fontcolor", std::to_string(p.font.colour));
        put("bgcolor", std::to_string(p.fill_colour));
    }
    if (sets_page_size(p.application)) {
        put("pagewidth", std::to_string(p.page_width));
        put("pageheight", std::to_string(p.page_height));
    }
}

}  // namespace tarnwell
