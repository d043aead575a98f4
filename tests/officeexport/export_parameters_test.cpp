#include "officeexport/export_parameters.h"

#include <gtest/gtest.h>

#include "workspace/ini_file.h"

namespace tarnwell {
namespace {

const std::filesystem::path program_dir = "/opt/tarnwell";

TEST(ExportParameters, EachApplicationStartsFromItsOwnDefaults) {
    struct expected {
        export_application application;
        const char* template_file;
        double width;
        double height;
        bool show_source_code;
        int character_limit;
        int page_width;
        int page_height;
        bool fits_page;
    };
    const expected cases[] = {
        {export_application::visio, "/opt/tarnwell/stencil/korvel.vsdx", 1, 0.4, true, 2000, -1, -1,
         true},
        {export_application::word, "/opt/tarnwell/stencil/hollin.docx", 1.2, 0.55, false, 2000, 8,
         11, true},
        {export_application::excel, "/opt/tarnwell/stencil/hollin.xlsx", 1.2, 0.55, true, 2000, -1,
         -1, false},
        {export_application::powerpoint, "/opt/tarnwell/stencil/hollin.pptx", 1.2, 0.55, true, 2000,
         -1, -1, true},
    };
    for (const expected& c : cases) {
        SCOPED_TRACE(section_name(c.application));
        const export_parameters p = default_export_parameters(c.application, program_dir);
        EXPECT_EQ(p.template_file, c.template_file);
        EXPECT_EQ(p.output_dir, "");
        EXPECT_EQ(p.shape_width, c.width);
        EXPECT_EQ(p.shape_height, c.height);
        EXPECT_EQ(p.vertical_space, 0.3);
        EXPECT_EQ(p.horizontal_space, 0.81);
        EXPECT_EQ(p.header_height, 0.5);
        EXPECT_EQ(p.show_source_code, c.show_source_code);
        EXPECT_TRUE(p.show_keyword && p.show_line_range);
        EXPECT_EQ(p.character_limit(), c.character_limit);
        EXPECT_EQ(p.page_width_inches(), c.page_width);
        EXPECT_EQ(p.page_height_inches(), c.page_height);
        EXPECT_EQ(p.set_page_height && p.only_height && p.set_page_width && p.only_width,
                  c.fits_page);
        EXPECT_FALSE(p.center_drawing);
        EXPECT_EQ(p.keywords, default_keywords());
    }
    const export_parameters visio =
        default_export_parameters(export_application::visio, program_dir);
    EXPECT_EQ(visio.stencil_file, "/opt/tarnwell/stencil/korvel.vssx");
    EXPECT_EQ(visio.font_height, 0.12);
    EXPECT_EQ(visio.font_width, 0.07);
    const export_parameters word = default_export_parameters(export_application::word, program_dir);
    EXPECT_EQ(word.font, (export_font{"Arial", 8, false, 0}));
    EXPECT_EQ(word.fill_colour, 166u + 202u * 256u + 240u * 65536u);
}

TEST(ExportParameters, KeywordListHasTheCaptionsAndDefaultTexts) {
    EXPECT_EQ(keyword_caption(0), "Start");
    EXPECT_EQ(keyword_caption(10), "For2");
    EXPECT_EQ(keyword_caption(24), "IF2");
    EXPECT_EQ(keyword_caption(29), "False Line");
    EXPECT_EQ(keyword_caption(30), "");
    EXPECT_EQ(keyword_caption(-1), "");
    const keyword_list& k = default_keywords();
    EXPECT_EQ(k[10], "For");
    EXPECT_EQ(k[19], "Switch");
    EXPECT_EQ(k[22], "Default");
    for (const int empty : {23, 26, 27, 30, 31, 32}) EXPECT_EQ(k[empty], "") << empty;
    EXPECT_EQ(k[28], "True");
    EXPECT_EQ(k[29], "False");
    EXPECT_EQ(keyword_of(k, 33), "");
    EXPECT_EQ(keyword_of(k, 25), "IF");
}

TEST(ExportParameters, StartCellShowsTheFunctionNameWhenThereIsOne) {
    export_parameters p = default_export_parameters(export_application::word, program_dir);
    EXPECT_EQ(p.export_keywords()[0], "Start");
    p.function_name = "indexOfLargestEven";
    EXPECT_EQ(p.export_keywords()[0], "indexOfLargestEven");
    EXPECT_EQ(p.keywords[0], "Start");
}

TEST(ExportParameters, WhatIsSavedLoadsBackInEverySection) {
    for (const export_application application :
         {export_application::visio, export_application::word, export_application::excel,
          export_application::powerpoint}) {
        SCOPED_TRACE(section_name(application));
        export_parameters p = default_export_parameters(application, program_dir);
        p.keywords[0] = "Begin";
        p.keywords[22] = "Otherwise";
        p.keywords[28] = "";
        p.stencil_file = application == export_application::visio ? "/s/own.vssx" : "";
        p.template_file = "/t/own template.pptx";
        p.output_dir = "/home/u/charts/";
        p.shape_width = 1.75;
        p.shape_height = 0.3333;
        p.vertical_space = 0.25;
        p.horizontal_space = 1e-3;
        p.header_height = 0;
        p.char_limit = 150;
        p.font_height = 0.2;
        p.font_width = 0.11;
        p.font.name = "DejaVu Sans";
        p.font.size = 11;
        p.font.bold = true;
        p.font.colour = 0xC81E0A;
        p.page_width = 30;
        p.page_height = 40;
        p.fill_colour = 0x123456;
        ini_file ini;
        save_export_parameters(p, ini);
        const ini_file reread = ini_file::parse(ini.text());
        const export_parameters loaded = load_export_parameters(application, reread, program_dir);
        EXPECT_EQ(loaded.keywords, p.keywords);
        EXPECT_EQ(loaded.stencil_file, p.stencil_file);
        EXPECT_EQ(loaded.template_file, p.template_file);
        EXPECT_EQ(loaded.output_dir, "/home/u/charts/");
        EXPECT_EQ(loaded.shape_width, 1.75);
        EXPECT_EQ(loaded.shape_height, 0.3333);
        EXPECT_EQ(loaded.vertical_space, 0.25);
        EXPECT_EQ(loaded.horizontal_space, 1e-3);
        EXPECT_EQ(loaded.header_height, 0);
        EXPECT_EQ(loaded.char_limit, 150);
        if (application == export_application::visio) {
            EXPECT_EQ(loaded.font_height, 0.2);
            EXPECT_EQ(loaded.font_width, 0.11);
            EXPECT_EQ(reread.value("visio", "hfont"), "0.2");
        } else {
            EXPECT_EQ(loaded.font.name, "DejaVu Sans");
            EXPECT_EQ(loaded.font.size, 11);
            EXPECT_TRUE(loaded.font.bold);
            EXPECT_EQ(loaded.font.colour, 0xC81E0Au);
            EXPECT_EQ(loaded.fill_colour, 0x123456u);
            EXPECT_EQ(reread.value(section_name(application), "hfont"), "DejaVu Sans");
        }
        const bool page_keys = application == export_application::word ||
                               application == export_application::powerpoint;
        EXPECT_EQ(loaded.page_width, page_keys ? 30 : 8);
        EXPECT_EQ(loaded.page_height, page_keys ? 40 : 11);
        EXPECT_EQ(reread.value(section_name(application), "pagewidth").has_value(), page_keys);
        // Numbers are written with a point whatever the locale, and every slot has its key.
        EXPECT_EQ(reread.value(section_name(application), "width"), "1.75");
        EXPECT_EQ(reread.value(section_name(application), "32"), "");
    }
}

TEST(ExportParameters, SectionsAreKeptApart) {
    ini_file ini = ini_file::parse("[word]\nwidth=2\n[powerpoint]\nwidth=3\n");
    export_parameters word = load_export_parameters(export_application::word, ini, program_dir);
    EXPECT_EQ(word.shape_width, 2);
    word.shape_width = 2.5;
    save_export_parameters(word, ini);
    EXPECT_EQ(load_export_parameters(export_application::powerpoint, ini, program_dir).shape_width,
              3);
    EXPECT_EQ(load_export_parameters(export_application::excel, ini, program_dir).shape_width, 1.2);
    EXPECT_EQ(load_export_parameters(export_application::word, ini, program_dir).shape_width, 2.5);
}

TEST(ExportParameters, NumbersReadWithPointOrCommaAndCorruptValuesKeepTheDefault) {
    struct read_case {
        const char* line;
        double width;  // expected shape width of the PowerPoint section
    };
    const read_case cases[] = {
        {"width=0.75", 0.75}, {"width=0,75", 0.75}, {"width= 2 ", 2},     {"width=1e0", 1},
        {"width=", 1.2},      {"width=abc", 1.2},   {"width=1.2.3", 1.2}, {"width=0,5,5", 1.2},
        {"width=nan", 1.2},   {"width=inf", 1.2},   {"width=1.5cm", 1.2}, {"width=-0.5", -0.5},
    };
    for (const read_case& c : cases) {
        const ini_file ini = ini_file::parse(std::string("[powerpoint]\n") + c.line + "\n");
        EXPECT_EQ(
            load_export_parameters(export_application::powerpoint, ini, program_dir).shape_width,
            c.width)
            << c.line;
    }

    const ini_file corrupt = ini_file::parse(
        "[word]\ncharlimit=12.5\nwfont=0\nbgcolor=-1\npagewidth=x\nhfont=  \n"
        "[excel]\nbgcolor=16777216\nwfont=9,5\n"
        "[visio]\nhfont=Arial\nwfont=0,09\ncharlimit=99999999999\n");
    const export_parameters word =
        load_export_parameters(export_application::word, corrupt, program_dir);
    EXPECT_EQ(word.char_limit, 2000);
    EXPECT_EQ(word.font.size, 8);
    EXPECT_EQ(word.fill_colour, 15780518u);
    EXPECT_EQ(word.page_width, 8);
    EXPECT_EQ(word.font.name, "Arial");
    const export_parameters excel =
        load_export_parameters(export_application::excel, corrupt, program_dir);
    EXPECT_EQ(excel.fill_colour, 15780518u);
    EXPECT_EQ(excel.font.size, 8);
    const export_parameters visio =
        load_export_parameters(export_application::visio, corrupt, program_dir);
    EXPECT_EQ(visio.font_height, 0.12);
    EXPECT_EQ(visio.font_width, 0.09);
    EXPECT_EQ(visio.char_limit, 2000);
}

TEST(ExportParameters, SlotsPastTheSymbolCodesStayEmpty) {
    const ini_file ini = ini_file::parse("[excel]\n30=stray\n32=more\n7=Marke\n");
    const export_parameters p = load_export_parameters(export_application::excel, ini, program_dir);
    EXPECT_EQ(p.keywords[7], "Marke");
    EXPECT_EQ(p.keywords[30], "");
    EXPECT_EQ(p.keywords[32], "");
}

}  // namespace
}  // namespace tarnwell
