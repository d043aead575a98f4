// Every package the Office export writes is valid against the ISO/IEC 29500 Transitional
// schemas (and a Visio drawing against the Visio package schema), its document properties
// included: each function of three languages charted into every format, from the built-in template
// and from a template on disk that already holds an export (its page full of shapes, its properties
// written), in text and in symbol mode.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "layout/xmls2script.h"
#include "markup_compatibility.h"
#include "officeexport/office_export.h"
#include "officeexport/ooxml_templates.h"
#include "package_validator.h"
#include "parsers/language_table.h"
#include "parsers/parser_registry.h"

namespace tarnwell::test {
namespace {

namespace fs = std::filesystem;

struct charted_function {
    const char* name;
    const char* language;
    const char* source;
};

// Loops, a selection and jumps in each.
const charted_function functions[] = {
    {"tally", "cpp",
     "int tally(const char *text, int limit)\r\n"
     "{\r\n"
     "    int total = 0;\r\n"
     "    for (int i = 0; text[i] != 0; i++) {\r\n"
     "        if (text[i] == ' ')\r\n"
     "            continue;\r\n"
     "        switch (text[i]) {\r\n"
     "        case 'a': total += 2; break;\r\n"
     "        case 'q': goto done;\r\n"
     "        default: total++;\r\n"
     "        }\r\n"
     "        while (total > limit) total -= limit;\r\n"
     "    }\r\n"
     "done:\r\n"
     "    do { total--; } while (total > 100);\r\n"
     "    return total < 0 ? 0 : total;\r\n"
     "}\r\n"},
    {"Settle", "pas",
     "function Settle(Lo, Hi: Integer): Integer;\r\n"
     "var Mid: Integer;\r\n"
     "begin\r\n"
     "  repeat\r\n"
     "    Mid := (Lo + Hi) div 2;\r\n"
     "    if Probe(Mid) < 0 then\r\n"
     "      Lo := Mid + 1\r\n"
     "    else if Probe(Mid) > 0 then\r\n"
     "      Hi := Mid - 1\r\n"
     "    else\r\n"
     "      Exit;\r\n"
     "  until Lo > Hi;\r\n"
     "  for Mid := Lo to Hi do\r\n"
     "    while Busy(Mid) do Wait;\r\n"
     "  Settle := Lo;\r\n"
     "end;\r\n"},
    {"first_even", "python",
     "def first_even(rows):\r\n"
     "    found = None\r\n"
     "    for row in rows:\r\n"
     "        if not row:\r\n"
     "            continue\r\n"
     "        while row and row[0] % 2:\r\n"
     "            row = row[1:]\r\n"
     "        if row:\r\n"
     "            found = row[0]\r\n"
     "            break\r\n"
     "    else:\r\n"
     "        return -1\r\n"
     "    return found\r\n"},
};

const export_application applications[] = {export_application::powerpoint, export_application::word,
                                           export_application::excel, export_application::visio};

const char* extension_of(export_application application) {
    switch (application) {
        case export_application::powerpoint:
            return "pptx";
        case export_application::word:
            return "docx";
        case export_application::excel:
            return "xlsx";
        case export_application::visio:
            break;
    }
    return "vsdx";
}

office_kind kind_of(export_application application) {
    switch (application) {
        case export_application::powerpoint:
            return office_kind::presentation;
        case export_application::word:
            return office_kind::word_document;
        case export_application::excel:
            return office_kind::workbook;
        case export_application::visio:
            break;
    }
    return office_kind::visio_drawing;
}

cell_table chart_of(const charted_function& function, int limit) {
    static const parser_registry registry;
    const std::optional<int> language = language_by_name(function.language);
    if (!language) return {};
    const int slot = parser_slot_of_language(*language);
    tsparser* parser = registry.parser_at(slot);
    if (parser == nullptr) return {};
    txml2script engine;
    engine.markup = parser->parse(function.source).markup;
    engine.parser_slot = slot;
    engine.make_cells(0);
    return cell_table::build(engine.cells(), charted_text{function.source}, limit);
}

class OoxmlSchema : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        validator_ = new package_validator(TARNWELL_OOXML_SCHEMAS "/all.xsd");
        folder_ = fs::temp_directory_path() / ("tarnwell_ooxml_schema_" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    static void TearDownTestSuite() {
        delete validator_;
        validator_ = nullptr;
        fs::remove_all(folder_);
    }
    void SetUp() override { ASSERT_TRUE(validator_->ready()) << validator_->load_error(); }

    // Exports the function and reads the package back; nothing when either fails.
    static std::optional<ooxml_package> exported(const charted_function& function,
                                                 const export_parameters& parameters,
                                                 const std::string& output) {
        const cell_table table = chart_of(function, parameters.character_limit());
        EXPECT_FALSE(table.empty()) << function.name << " does not chart";
        office_export_summary summary;
        std::string notice;
        std::string error;
        if (!write_office_export(table, parameters, output, summary, notice, error)) {
            ADD_FAILURE() << output << ": " << error;
            return std::nullopt;
        }
        EXPECT_EQ(notice, "") << output;
        EXPECT_GT(summary.shapes, 3u) << output;
        std::optional<ooxml_package> package = ooxml_package::read(output, error);
        EXPECT_TRUE(package) << output << ": " << error;
        // Validation judges the parts there are: the document properties must be among them.
        if (package) {
            EXPECT_TRUE(package->relationship("", "/metadata/core-properties")) << output;
            EXPECT_TRUE(package->relationship("", "/relationships/extended-properties")) << output;
        }
        return package;
    }

    static std::string joined(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += "\n  " + line;
        return text;
    }

    static package_validator* validator_;
    static fs::path folder_;
};

package_validator* OoxmlSchema::validator_ = nullptr;
fs::path OoxmlSchema::folder_;

TEST_F(OoxmlSchema, EveryExportFromTheBuiltInTemplateIsValid) {
    for (const export_application application : applications) {
        for (const charted_function& function : functions) {
            for (const bool text_mode : {true, false}) {
                export_parameters parameters = default_export_parameters(application, "/nowhere");
                parameters.template_file.clear();
                parameters.stencil_file.clear();
                parameters.show_source_code = text_mode;
                parameters.file_name = std::string(function.name) + "." + function.language;
                parameters.function_name = function.name;
                const std::string output =
                    (folder_ / (std::string(function.name) + (text_mode ? "-text." : "-symbols.") +
                                extension_of(application)))
                        .string();
                SCOPED_TRACE(output);
                const std::optional<ooxml_package> package = exported(function, parameters, output);
                if (!package) continue;
                const std::vector<std::string> problems = validator_->problems(*package);
                EXPECT_TRUE(problems.empty()) << joined(problems);
            }
        }
    }
}

// A template on disk takes the other road: read and checked from a file, its page already
// drawn on. Each function goes into the export of the one before it, with the stencil read from
// disk too.
TEST_F(OoxmlSchema, EveryExportIntoAnEarlierExportIsValid) {
    for (const export_application application : applications) {
        const std::string extension = extension_of(application);
        std::string template_file = (folder_ / ("template." + extension)).string();
        std::string error;
        ASSERT_TRUE(builtin_template(kind_of(application)).write(template_file, error)) << error;
        const std::string stencil_file = (folder_ / "stencil.vssx").string();
        ASSERT_TRUE(builtin_template(office_kind::visio_stencil).write(stencil_file, error))
            << error;
        for (const charted_function& function : functions) {
            export_parameters parameters = default_export_parameters(application, "/nowhere");
            parameters.template_file = template_file;
            if (application == export_application::visio) parameters.stencil_file = stencil_file;
            parameters.file_name = std::string(function.name) + "." + function.language;
            parameters.function_name = function.name;
            const std::string output =
                (folder_ / (std::string(function.name) + "-into." + extension)).string();
            SCOPED_TRACE(output);
            const std::optional<ooxml_package> package = exported(function, parameters, output);
            if (!package) continue;
            const std::vector<std::string> problems = validator_->problems(*package);
            EXPECT_TRUE(problems.empty()) << joined(problems);
            template_file = output;
        }
    }
}

// The check itself finds what a strict reader refuses: one fault put into an export each.
TEST_F(OoxmlSchema, AFaultInAnyPartIsReported) {
    struct broken_part {
        export_application application;
        const char* part;
        const char* find;
        const char* replace;
        const char* reported;  // in a problem of the part; empty when the change is no fault
    };
    const broken_part cases[] = {
        {export_application::powerpoint, "ppt/slides/slide1.xml", "<a:prstGeom prst=\"",
         "<a:prstGeom prst=\"box", "prst"},
        {export_application::word, "word/document.xml", "<w:color w:val=\"", "<w:color w:val=\"red",
         "red"},
        {export_application::excel, "xl/drawings/drawing1.xml", "<xdr:clientData/>",
         "<xdr:clientData/><xdr:clientData/>", "clientData"},
        {export_application::visio, "visio/pages/page1.xml", "<Shapes>", "<Shapes><Bogus/>",
         "Bogus"},
        // Only the root of a Visio part may carry xml:space.
        {export_application::visio, "visio/pages/page1.xml", "<Shapes>",
         "<Shapes xml:space=\"preserve\">", "space"},
        {export_application::powerpoint, "[Content_Types].xml",
         "PartName=\"/ppt/slides/slide1.xml\"", "PartName=\"/ppt/slides/slide9.xml\"",
         "/ppt/slides/slide9.xml"},
        {export_application::powerpoint, "ppt/_rels/presentation.xml.rels",
         "Target=\"slides/slide1.xml\"", "Target=\"slides/slide9.xml\"", "slides/slide9.xml"},
        {export_application::word, "word/document.xml", "<w:body>",
         "<w:body xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
         "mc:Ignorable=\"w99\">",
         "w99"},
        // An extension a reader does not know, marked ignorable, is dropped before validation.
        {export_application::word, "word/document.xml", "<w:body>",
         "<w:body xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
         "xmlns:later=\"urn:example:later\" mc:Ignorable=\"later\"><later:note/>",
         ""},
    };
    const charted_function& function = functions[0];
    for (const broken_part& c : cases) {
        export_parameters parameters = default_export_parameters(c.application, "/nowhere");
        parameters.template_file.clear();
        parameters.stencil_file.clear();
        const std::string output =
            (folder_ / (std::string("broken.") + extension_of(c.application))).string();
        std::optional<ooxml_package> package = exported(function, parameters, output);
        ASSERT_TRUE(package);
        SCOPED_TRACE(std::string(c.part) + ": " + c.replace);
        ASSERT_TRUE(validator_->problems(*package).empty());
        const std::string* bytes = package->part(c.part);
        ASSERT_NE(bytes, nullptr);
        std::string text = *bytes;
        const std::size_t at = text.find(c.find);
        ASSERT_NE(at, std::string::npos) << c.find;
        text.replace(at, std::string_view(c.find).size(), c.replace);
        package->set_part(c.part, text);
        const std::vector<std::string> problems = validator_->problems(*package);
        if (*c.reported == 0) {
            EXPECT_TRUE(problems.empty()) << joined(problems);
            continue;
        }
        const bool named = std::any_of(problems.begin(), problems.end(), [&](const std::string& p) {
            return p.rfind(std::string(c.part) + ": ", 0) == 0 &&
                   p.find(c.reported) != std::string::npos;
        });
        EXPECT_TRUE(named) << joined(problems);
    }
}

}  // namespace
}  // namespace tarnwell::test
