#include "officeexport/export_options.h"

#include <array>
#include <cstdio>
#include <system_error>

#include "officeexport/option_text.h"

namespace tarnwell {

namespace {

namespace fs = std::filesystem;

bool is_visio(export_application application) {
    return application == export_application::visio;
}

bool sets_page_size(export_application application) {
    return application == export_application::word || application == export_application::powerpoint;
}

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A file a dialog may start from: it exists, and it is not one of the binary formats of older
// versions, whose names stored settings may still carry.
bool usable_file(const std::string& path) {
    static constexpr std::array<std::string_view, 5> binary = {".vss", ".vsd", ".doc", ".xls",
                                                               ".ppt"};
    for (std::string_view extension : binary) {
        if (ends_with(path, extension)) return false;
    }
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

std::string time_text(const std::tm& now, bool seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d-%d-%d-%d-%d", (now.tm_year + 1900) % 100,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min);
    std::string text = buffer;
    if (seconds) text += "-" + std::to_string(now.tm_sec);
    return text;
}

// The number in a field; a field that does not read counts as `unreadable`.
double field_number(const std::string& field, double unreadable) {
    return read_decimal(field).value_or(unreadable);
}

std::int64_t field_whole(const std::string& field) {
    return read_whole_number(field).value_or(0);
}

// Runs the checks of one "Start" in order; the first failure ends them.
class start_checks {
  public:
    start_checks(const export_option_fields& fields, const export_parameters& settings,
                 const fs::path& program_dir, const std::tm& now, bool replace_existing)
        : program_dir_(program_dir), now_(now), replace_existing_(replace_existing) {
        result_.fields = fields;
        result_.parameters = settings;
    }

    start_outcome run() {
        if (is_visio(application())) {
            run_visio();
        } else {
            run_office();
        }
        return std::move(result_);
    }

  private:
    export_application application() const { return result_.parameters.application; }
    export_parameters& parameters() { return result_.parameters; }
    export_option_fields& fields() { return result_.fields; }

    bool fail(std::string text, option_field field) {
        result_.failure = option_message{std::move(text), field};
        return false;
    }

    // A length that must be at least `least` inches.
    bool length(const std::string& field_text, double unreadable, double least, double& target,
                const char* message, option_field field) {
        target = field_number(field_text, unreadable);
        return target >= least || fail(message, field);
    }

    // A start file: the trimmed field, or the default after a notice when it is not usable.
    void start_file(std::string& field_text, const std::string& fallback, const char* notice,
                    option_field field, std::string& target) {
        std::string path(trimmed_text(field_text));
        if (!usable_file(path)) {
            if (!path.empty() || is_visio(application())) {
                result_.notices.push_back({notice, field});
            }
            path = fallback;
        }
        field_text = path;
        target = path;
    }

    bool sizes(const char* width_message, const char* height_message) {
        return length(fields().width, 0, 0.01, parameters().shape_width, width_message,
                      option_field::width) &&
               length(fields().height, 0, 0.01, parameters().shape_height, height_message,
                      option_field::height);
    }

    bool spaces() {
        return length(fields().distance, 0, 0.01, parameters().vertical_space,
                      "Vertical space between two shapes error, please reset it",
                      option_field::distance) &&
               length(fields().hdistance, 0, 0.01, parameters().horizontal_space,
                      "Horizontal space between two shapes error, please reset it",
                      option_field::hdistance);
    }

    bool header() {
        return length(fields().contentheight, -1, 0, parameters().header_height,
                      "Height of header area of page error, please reset it",
                      option_field::contentheight);
    }

    bool char_limit(bool checked, bool capped) {
        if (!checked) return true;
        const std::int64_t limit = field_whole(fields().charlimit);
        if (limit < 1)
            return fail("Maximal code text limit error, please reset it", option_field::charlimit);
        if (capped && limit > 2000) {
            return fail("Can't Put more than 2000 characters in a shape, please reset it",
                        option_field::charlimit);
        }
        parameters().char_limit = static_cast<int>(limit);
        return true;
    }

    bool page_size() {
        if (!sets_page_size(application()) || !parameters().default_page_size) return true;
        const std::int64_t height = field_whole(fields().page_height);
        if (height < 1 || height > 2147483647) {
            return fail("Page Height error, please reset it", option_field::page_height);
        }
        const std::int64_t width = field_whole(fields().page_width);
        if (width < 1 || width > 2147483647) {
            return fail("Page Width error, please reset it", option_field::page_width);
        }
        parameters().page_height = static_cast<int>(height);
        parameters().page_width = static_cast<int>(width);
        return true;
    }

    // The output folder, with its "/" written back; it must exist.
    bool output_folder() {
        std::string dir(trimmed_text(fields().output_dir));
        if (!dir.empty() && dir.back() != '/') dir += '/';
        fields().output_dir = dir;
        std::error_code error;
        if (dir.empty() || !fs::is_directory(dir, error)) {
            // Without its "/": a file of that name is no missing folder.
            result_.missing_folder =
                !dir.empty() && !fs::exists(fs::path(dir).parent_path(), error);
            return fail("Output path does not exist, please reset it", option_field::output_dir);
        }
        parameters().output_dir = dir;
        return true;
    }

    // The output name with its extension written back, the files it gives, and the question
    // when the output file exists.
    bool output_file() {
        std::string name(trimmed_text(fields().output_name));
        if (name.empty()) return fail("please input output file name ", option_field::output_name);
        const std::string_view extension = document_extension(application());
        if (!ends_with(name, extension)) name += extension;
        fields().output_name = name;
        const std::string& dir = parameters().output_dir;
        parameters().output_file = dir + name;
        std::error_code error;
        if (!replace_existing_ && fs::exists(parameters().output_file, error)) {
            result_.overwrite_question = true;
            return fail(replace_question(name), option_field::output_name);
        }
        if (application() != export_application::word) {
            // The copy is named to the second; should one be there already, it is left alone.
            const std::string stamped = dir + time_text(now_, true) + "-" + name;
            if (!fs::exists(stamped, error)) result_.stamped_file = stamped;
        }
        return true;
    }

    void run_visio() {
        const fs::path stencil = program_dir_ / "stencil";
        start_file(fields().stencil, (stencil / "korvel.vssx").string(),
                   "stencil does not exist, use default stencil", option_field::stencil,
                   parameters().stencil_file);
        start_file(fields().template_path, (stencil / "korvel.vsdx").string(),
                   "template does not exist, use default template ", option_field::template_path,
                   parameters().template_file);
        const char* width =
            "Max width of visio master shape in current stencil error, please reset it";
        const char* height =
            "Max height of visio master shape in current stencil error, please reset it";
        (void)(output_folder() && sizes(width, height) && spaces() && header() &&
               length(fields().font_height, -1, 0, parameters().font_height,
                      "Height of font in text shape error, please reset it",
                      option_field::font_height) &&
               length(fields().font_width, -1, 0, parameters().font_width,
                      "Width of font in text shape error, please reset it",
                      option_field::font_width) &&
               char_limit(parameters().limit_code_text, false) && output_file());
    }

    void run_office() {
        const bool excel = application() == export_application::excel;
        if (!(sizes("Width of shape is error, please reset it",
                    "Height of shape is error, please reset it") &&
              char_limit(excel || parameters().limit_code_text, excel) && page_size() && spaces() &&
              header())) {
            return;
        }
        const std::string fallback =
            default_export_parameters(application(), program_dir_).template_file;
        start_file(fields().template_path, fallback, "template does not exist, use default page",
                   option_field::template_path, parameters().template_file);
        (void)(output_folder() && output_file());
    }

    fs::path program_dir_;
    std::tm now_;
    bool replace_existing_;
    start_outcome result_;
};

}  // namespace

export_option_fields fields_of(const export_parameters& p) {
    export_option_fields f;
    f.stencil = p.stencil_file;
    f.template_path = p.template_file;
    f.output_dir = p.output_dir;
    f.width = decimal_text(p.shape_width);
    f.height = decimal_text(p.shape_height);
    f.distance = decimal_text(p.vertical_space);
    f.hdistance = decimal_text(p.horizontal_space);
    f.contentheight = decimal_text(p.header_height);
    f.charlimit = std::to_string(p.char_limit);
    f.font_height = decimal_text(p.font_height);
    f.font_width = decimal_text(p.font_width);
    f.page_width = std::to_string(p.page_width);
    f.page_height = std::to_string(p.page_height);
    return f;
}

export_parameters settings_from_fields(const export_option_fields& f,
                                       const export_parameters& current) {
    export_parameters p = current;
    p.stencil_file = f.stencil;
    p.template_file = f.template_path;
    p.output_dir = f.output_dir;
    const std::pair<const std::string*, double*> numbers[] = {
        {&f.width, &p.shape_width},           {&f.height, &p.shape_height},
        {&f.distance, &p.vertical_space},     {&f.hdistance, &p.horizontal_space},
        {&f.contentheight, &p.header_height}, {&f.font_height, &p.font_height},
        {&f.font_width, &p.font_width},
    };
    for (const auto& [text, target] : numbers) {
        if (const auto value = read_decimal(*text)) *target = *value;
    }
    const std::pair<const std::string*, int*> wholes[] = {{&f.charlimit, &p.char_limit},
                                                          {&f.page_width, &p.page_width},
                                                          {&f.page_height, &p.page_height}};
    for (const auto& [text, target] : wholes) {
        const auto value = read_whole_number(*text);
        if (value && *value >= -2147483647 && *value <= 2147483647)
            *target = static_cast<int>(*value);
    }
    return p;
}

std::string_view document_extension(export_application application) {
    switch (application) {
        case export_application::visio:
            return ".vsdx";
        case export_application::word:
            return ".docx";
        case export_application::excel:
            return ".xlsx";
        case export_application::powerpoint:
            return ".pptx";
    }
    return ".pptx";
}

std::string proposed_output_name(export_application application, const std::string& file_name,
                                 const std::string& function_name, const std::tm& now) {
    const std::string_view extension = document_extension(application);
    if (file_name.empty() && function_name.empty())
        return time_text(now, false) + std::string(extension);
    return file_name + "-" + function_name + std::string(extension);
}

void apply_default_group(export_application application, int group, const fs::path& program_dir,
                         export_option_fields& fields, export_parameters& parameters) {
    const export_parameters d = default_export_parameters(application, program_dir);
    const export_option_fields df = fields_of(d);
    if (group == 1) {
        if (is_visio(application)) fields.stencil = df.stencil;
        fields.width = df.width;
        fields.height = df.height;
        if (application == export_application::excel) fields.charlimit = df.charlimit;
        if (application == export_application::powerpoint) parameters.fill_colour = d.fill_colour;
        if (!is_visio(application)) parameters.font = d.font;
        return;
    }
    if (is_visio(application)) {
        fields.template_path = df.template_path;
        fields.font_height = df.font_height;
        fields.font_width = df.font_width;
    }
    fields.distance = df.distance;
    fields.hdistance = df.hdistance;
    fields.contentheight = df.contentheight;
}

start_outcome check_start(const export_option_fields& fields, const export_parameters& settings,
                          const fs::path& program_dir, const std::tm& now, bool replace_existing) {
    return start_checks(fields, settings, program_dir, now, replace_existing).run();
}

std::string replace_question(const std::string& output_name) {
    return output_name + " already exists. Replace it?";
}

}  // namespace tarnwell
