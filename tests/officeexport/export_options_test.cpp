#include "officeexport/export_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

const std::tm now = at(2024, 3, 5, 9, 7, 4);

// A program folder with the default stencil and templates, and an empty output folder.
struct program_folder {
    program_folder() {
        root = fs::temp_directory_path() / ("tarnwell-options-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "stencil");
        fs::create_directories(root / "output");
        for (const char* name :
             {"korvel.vssx", "korvel.vsdx", "hollin.docx", "hollin.xlsx", "hollin.pptx"}) {
            std::ofstream(root / "stencil" / name) << "x";
        }
    }
    ~program_folder() { fs::remove_all(root); }

    // The dialog's fields as a fresh installation shows them, with an output name.
    std::pair<export_option_fields, export_parameters> fresh(export_application application) const {
        export_parameters p = default_export_parameters(application, root);
        p.output_dir = (root / "output").string() + "/";
        p.file_name = "a.c";
        p.function_name = "main";
        export_option_fields f = fields_of(p);
        f.output_name = "chart";
        return {f, p};
    }
    fs::path root;
};

TEST(ExportOptions, ProposedOutputNames) {
    EXPECT_EQ(proposed_output_name(export_application::word, "", "", now), "24-3-5-9-7.docx");
    EXPECT_EQ(proposed_output_name(export_application::visio, "a.c", "main", now), "a.c-main.vsdx");
    EXPECT_EQ(proposed_output_name(export_application::excel, "a.c", "", now), "a.c-.xlsx");
    EXPECT_EQ(
        proposed_output_name(export_application::powerpoint, "", "", at(2007, 12, 31, 23, 59, 0)),
        "07-12-31-23-59.pptx");
}

TEST(ExportOptions, AFreshInstallationStartsAndNamesItsFiles) {
    program_folder folder;
    struct naming_case {
        export_application application;
        std::string name_typed;
        std::string name_written;
        bool stamped;
    };
    const naming_case cases[] = {
        // The extension test compares letter case exactly.
        {export_application::visio, "chart", "chart.vsdx", true},
        {export_application::visio, "chart.VSDX", "chart.VSDX.vsdx", true},
        {export_application::visio, "  chart.vsdx ", "chart.vsdx", true},
        {export_application::word, "chart", "chart.docx", false},
        {export_application::excel, "chart.xlsx", "chart.xlsx", true},
        {export_application::powerpoint, "chart", "chart.pptx", true},
    };
    for (const naming_case& c : cases) {
        SCOPED_TRACE(c.name_typed);
        auto [fields, settings] = folder.fresh(c.application);
        fields.output_name = c.name_typed;
        fields.output_dir = (folder.root / "output").string();
        const start_outcome start = check_start(fields, settings, folder.root, now);
        ASSERT_FALSE(start.failure) << start.failure->text;
        EXPECT_TRUE(start.notices.empty());
        EXPECT_EQ(start.fields.output_name, c.name_written);
        EXPECT_EQ(start.fields.output_dir, (folder.root / "output").string() + "/");
        EXPECT_EQ(start.parameters.output_file,
                  (folder.root / "output").string() + "/" + c.name_written);
        EXPECT_EQ(
            start.stamped_file,
            c.stamped ? (folder.root / "output").string() + "/24-3-5-9-7-4-" + c.name_written : "");
    }
}

// Each check with the field it names, in the order the dialog runs them: every case spoils its
// own field and the one of the next case, and must stop at its own.
TEST(ExportOptions, EachCheckStopsWithItsMessageAndField) {
    program_folder folder;
    using spoil = std::function<void(export_option_fields&)>;
    struct check_case {
        spoil apply;
        std::string message;
        option_field field;
    };
    const std::vector<check_case> visio = {
        {[](auto& f) { f.output_dir = " "; }, "Output path does not exist, please reset it",
         option_field::output_dir},
        {[](auto& f) { f.width = "0.009"; },
         "Max width of visio master shape in current stencil error, please reset it",
         option_field::width},
        {[](auto& f) { f.height = "abc"; },
         "Max height of visio master shape in current stencil error, please reset it",
         option_field::height},
        {[](auto& f) { f.distance = "0"; },
         "Vertical space between two shapes error, please reset it", option_field::distance},
        {[](auto& f) { f.hdistance = "-1"; },
         "Horizontal space between two shapes error, please reset it", option_field::hdistance},
        {[](auto& f) { f.contentheight = "x"; },
         "Height of header area of page error, please reset it", option_field::contentheight},
        {[](auto& f) { f.font_height = "-0.1"; },
         "Height of font in text shape error, please reset it", option_field::font_height},
        {[](auto& f) { f.font_width = ""; }, "Width of font in text shape error, please reset it",
         option_field::font_width},
        {[](auto& f) { f.charlimit = "0"; }, "Maximal code text limit error, please reset it",
         option_field::charlimit},
        {[](auto& f) { f.output_name = "  "; }, "please input output file name ",
         option_field::output_name},
    };
    const std::vector<check_case> excel = {
        {[](auto& f) { f.width = "0"; }, "Width of shape is error, please reset it",
         option_field::width},
        {[](auto& f) { f.height = "0,001"; }, "Height of shape is error, please reset it",
         option_field::height},
        {[](auto& f) { f.charlimit = "2001"; },
         "Can't Put more than 2000 characters in a shape, please reset it",
         option_field::charlimit},
        {[](auto& f) { f.distance = "0"; },
         "Vertical space between two shapes error, please reset it", option_field::distance},
        {[](auto& f) { f.hdistance = "0"; },
         "Horizontal space between two shapes error, please reset it", option_field::hdistance},
        {[](auto& f) { f.contentheight = "-2"; },
         "Height of header area of page error, please reset it", option_field::contentheight},
        {[](auto& f) { f.output_dir = "/no/such/folder"; },
         "Output path does not exist, please reset it", option_field::output_dir},
        {[](auto& f) { f.output_name = ""; }, "please input output file name ",
         option_field::output_name},
    };
    const std::vector<check_case> word = {
        {[](auto& f) { f.charlimit = "-3"; }, "Maximal code text limit error, please reset it",
         option_field::charlimit},
        {[](auto& f) { f.page_height = "1.5"; }, "Page Height error, please reset it",
         option_field::page_height},
        {[](auto& f) { f.page_width = "0"; }, "Page Width error, please reset it",
         option_field::page_width},
        {[](auto& f) { f.distance = "0"; },
         "Vertical space between two shapes error, please reset it", option_field::distance},
    };
    const std::pair<export_application, const std::vector<check_case>*> tables[] = {
        {export_application::visio, &visio},
        {export_application::excel, &excel},
        {export_application::word, &word},
    };
    for (const auto& [application, table] : tables) {
        for (std::size_t i = 0; i < table->size(); ++i) {
            SCOPED_TRACE((*table)[i].message);
            auto [fields, settings] = folder.fresh(application);
            (*table)[i].apply(fields);
            if (i + 1 < table->size()) (*table)[i + 1].apply(fields);
            const start_outcome start = check_start(fields, settings, folder.root, now);
            ASSERT_TRUE(start.failure);
            EXPECT_EQ(*start.failure, (option_message{(*table)[i].message, (*table)[i].field}));
            EXPECT_FALSE(start.overwrite_question);
        }
    }
}

TEST(ExportOptions, UncheckedLimitsAndPageSizesAreNotRead) {
    program_folder folder;
    auto [fields, settings] = folder.fresh(export_application::word);
    fields.charlimit = "nonsense";
    fields.page_width = "nonsense";
    settings.limit_code_text = false;
    settings.default_page_size = false;
    const start_outcome start = check_start(fields, settings, folder.root, now);
    ASSERT_FALSE(start.failure) << start.failure->text;
    EXPECT_EQ(start.parameters.character_limit(), -1);
    EXPECT_EQ(start.parameters.page_width_inches(), -1);

    // Checked, they reach the export as read.
    fields.charlimit = " 120 ";
    fields.page_width = "9";
    fields.page_height = "30";
    settings.limit_code_text = true;
    settings.default_page_size = true;
    const start_outcome checked = check_start(fields, settings, folder.root, now);
    ASSERT_FALSE(checked.failure) << checked.failure->text;
    EXPECT_EQ(checked.parameters.character_limit(), 120);
    EXPECT_EQ(checked.parameters.page_width_inches(), 9);
    EXPECT_EQ(checked.parameters.page_height_inches(), 30);
}

TEST(ExportOptions, MissingAndOldStartFilesFallBackToTheDefaults) {
    program_folder folder;
    struct fallback_case {
        export_application application;
        std::string stencil;
        std::string template_path;
        std::vector<option_message> notices;
    };
    const std::string stencil = (folder.root / "stencil").string() + "/";
    std::ofstream(folder.root / "stencil" / "old.vsd") << "binary";
    const fallback_case cases[] = {
        {export_application::visio,
         stencil + "gone.vssx",
         stencil + "old.vsd",
         {{"stencil does not exist, use default stencil", option_field::stencil},
          {"template does not exist, use default template ", option_field::template_path}}},
        {export_application::visio,
         " " + stencil + "korvel.vssx ",
         "",
         {{"template does not exist, use default template ", option_field::template_path}}},
        {export_application::word,
         "",
         stencil + "hollin.doc",
         {{"template does not exist, use default page", option_field::template_path}}},
        // An empty template field quietly takes the default.
        {export_application::powerpoint, "", "", {}},
    };
    for (const fallback_case& c : cases) {
        SCOPED_TRACE(c.template_path);
        auto [fields, settings] = folder.fresh(c.application);
        fields.stencil = c.stencil;
        fields.template_path = c.template_path;
        const start_outcome start = check_start(fields, settings, folder.root, now);
        ASSERT_FALSE(start.failure) << start.failure->text;
        EXPECT_EQ(start.notices, c.notices);
        const export_parameters defaults = default_export_parameters(c.application, folder.root);
        EXPECT_EQ(start.parameters.template_file, defaults.template_file);
        EXPECT_EQ(start.fields.template_path, defaults.template_file);
        if (c.application == export_application::visio) {
            EXPECT_EQ(start.parameters.stencil_file, defaults.stencil_file);
            EXPECT_EQ(start.fields.stencil, defaults.stencil_file);
        }
    }
}

TEST(ExportOptions, AnExistingOutputFileIsReplacedOnlyWhenTheUserAgrees) {
    program_folder folder;
    for (const export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        auto [fields, settings] = folder.fresh(application);
        const std::string name = "chart" + std::string(document_extension(application));
        std::ofstream(folder.root / "output" / name) << "mine";
        const start_outcome asked = check_start(fields, settings, folder.root, now);
        ASSERT_TRUE(asked.failure);
        EXPECT_EQ(*asked.failure, (option_message{name + " already exists. Replace it?",
                                                  option_field::output_name}));
        EXPECT_TRUE(asked.overwrite_question);
        EXPECT_FALSE(asked.missing_folder);

        const start_outcome agreed = check_start(fields, settings, folder.root, now, true);
        ASSERT_FALSE(agreed.failure) << agreed.failure->text;
        EXPECT_EQ(agreed.parameters.output_file, (folder.root / "output" / name).string());
        EXPECT_EQ(agreed.stamped_file.empty(), application == export_application::word);
    }
}

TEST(ExportOptions, OnlyAFolderThatIsNotThereCanBeMadeForTheOutput) {
    program_folder folder;
    std::ofstream(folder.root / "a-file") << "x";
    const struct {
        std::string output_dir;
        bool missing_folder;
    } cases[] = {
        {" ", false},
        {(folder.root / "new" / "charts").string(), true},
        {(folder.root / "a-file").string(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output_dir);
        for (const export_application application :
             {export_application::visio, export_application::powerpoint}) {
            auto [fields, settings] = folder.fresh(application);
            fields.output_dir = c.output_dir;
            const start_outcome start = check_start(fields, settings, folder.root, now);
            ASSERT_TRUE(start.failure);
            EXPECT_EQ(*start.failure, (option_message{"Output path does not exist, please reset it",
                                                      option_field::output_dir}));
            EXPECT_EQ(start.missing_folder, c.missing_folder);
        }
    }
}

TEST(ExportOptions, DefaultButtonsResetTheirGroups) {
    program_folder folder;
    for (export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        const export_parameters defaults = default_export_parameters(application, folder.root);
        const export_option_fields fresh = fields_of(defaults);
        export_option_fields spoiled;
        export_parameters settings = defaults;
        settings.font = {"Courier", 20, true, 0};
        settings.fill_colour = 1;
        apply_default_group(application, 1, folder.root, spoiled, settings);
        EXPECT_EQ(spoiled.width, fresh.width);
        EXPECT_EQ(spoiled.height, fresh.height);
        EXPECT_TRUE(spoiled.distance.empty());
        EXPECT_EQ(spoiled.charlimit, application == export_application::excel ? "2000" : "");
        EXPECT_EQ(spoiled.stencil, application == export_application::visio ? fresh.stencil : "");
        EXPECT_EQ(settings.font == defaults.font, application != export_application::visio);
        EXPECT_EQ(settings.fill_colour == defaults.fill_colour,
                  application == export_application::powerpoint);

        apply_default_group(application, 2, folder.root, spoiled, settings);
        EXPECT_EQ(spoiled.distance, "0.3");
        EXPECT_EQ(spoiled.hdistance, "0.81");
        EXPECT_EQ(spoiled.contentheight, "0.5");
        EXPECT_EQ(spoiled.font_width, application == export_application::visio ? "0.07" : "");
    }
}

}  // namespace
}  // namespace tarnwell
