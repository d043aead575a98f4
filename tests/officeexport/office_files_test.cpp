// The Office documents tarnwell-cli writes, checked the way a user's reader takes them: whole
// zip packages of well-formed parts, connectors glued to shapes that exist, and, converted by
// LibreOffice, a page of the computed size showing the chart's texts with no placeholder left.
// A workbook has no page of its own: its drawing floats over the sheet, printed on as many
// pages as it covers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include <unistd.h>

#include "generated_source.h"
#include "officeexport/ooxml_package.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

const char* const a_ns = "http://schemas.openxmlformats.org/drawingml/2006/main";
const char* const visio_ns = "http://schemas.microsoft.com/office/visio/2012/main";

struct command_result {
    int status = -1;
    std::string output;
};

command_result run(const std::string& command) {
    command_result result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
        result.output.append(buffer, read);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string shell_quoted(const std::string& text) {
    return "'" + text + "'";
}

bool have(const char* program) {
    return run(std::string("command -v ") + program + " >/dev/null").status == 0;
}

struct chart_case {
    std::string name;
    std::string file;
    std::string lines;
    std::string function;
    std::string level;
    std::vector<std::string> slide_texts;     // text mode: the cells' source lines show
    std::vector<std::string> document_texts;  // symbol mode: keywords and line ranges show
};

// One exported file and what its answer said.
struct exported {
    const chart_case* source;
    std::string format;
    std::string path;
    std::string answer;
    bool converted = true;  // given to LibreOffice
    double page_width = 0;
    double page_height = 0;
};

class OfficeFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // ctest runs each test in a process of its own, two at a time: a folder each.
        folder_ =
            fs::temp_directory_path() / ("tarnwell_office_files_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "pdf");
        const std::string data = TARNWELL_TEST_DATA;
        const std::string longest = (folder_ / "longest.c").string();
        std::ofstream(longest, std::ios::binary) << "void longest()\r\n{\r\n"
                                                 << bench::generated_cpp_function(2000) << "}\r\n";
        int longest_lines = 0;
        for (std::ifstream in(longest); in.ignore(1 << 20, '\n');) ++longest_lines;
        cases_ = {
            {"array",
             std::string(TARNWELL_SAMPLE),
             "19-38",
             "indexOfLargestEven",
             "0",
             {"int best = -1;", "best = i;", "continue;", "return best;"},
             {"Switch", "Case", "Default", "While", "Return", "24-24"}},
            {"wordcount",
             data + "/wordcount.c",
             "3-22",
             "count_words",
             "0",
             {"inside = 0;", "words++;", "text++;", "return words;"},
             {"While", "Switch", "Case", "Default", "Return", "12-12"}},
            {"bisect",
             data + "/bisect.pas",
             "4-15",
             "Bisect",
             "0",
             {"Mid := (Lo + Hi) div 2", "Settle(Mid)", "Bisect := Lo"},
             {"Until", "For", "IF", "Code", "6-6"}},
            {"tally",
             data + "/tally.vb",
             "2-19",
             "Tally",
             "0",
             {"Total = Total + 10", "Tally = Total"},
             {"Switch", "Case", "Default", "For", "IF", "Until", "5-5"}},
            {"longest",
             longest,
             "3-" + std::to_string(longest_lines - 1),
             "longest",
             "0",
             {"step(queue);", "report(e);"},
             {"While", "Switch", "Code"}},
            // LibreOffice Writer lays text boxes of a group out in time that grows with the
            // square of their number: the 3,000 shapes of the whole chart take it hours. Its
            // document at every level is checked above; Writer gets it with the top sequence
            // collapsed.
            {"longest-collapsed",
             longest,
             "3-" + std::to_string(longest_lines - 1),
             "longest",
             "1",
             {"Statement"},
             {"Statement", "3-" + std::to_string(longest_lines - 1)}},
        };
        for (const chart_case& c : cases_) {
            for (const std::string format : {"pptx", "docx", "xlsx", "vsdx"}) {
                exported e{&c, format, (folder_ / (c.name + "-" + format + "." + format)).string()};
                const command_result answer =
                    run(std::string(TARNWELL_CLI) + " export --to " + format + " --lines " +
                        c.lines + " --level " + c.level + " --function " + c.function + " -o " +
                        shell_quoted(e.path) + " " + shell_quoted(c.file));
                e.answer = answer.output;
                const std::regex page(R"re("page":\{"width":([0-9.]+),"height":([0-9.]+)\})re");
                std::smatch match;
                if (answer.status == 0 && std::regex_search(e.answer, match, page)) {
                    e.page_width = std::stod(match[1]);
                    e.page_height = std::stod(match[2]);
                }
                // Calc draws the 5,000 objects of the long chart's sheet in minutes: that
                // workbook is converted once, by the test of its own below.
                e.converted = !(c.name == "longest" && (format == "docx" || format == "xlsx"));
                files_.push_back(e);
            }
        }
    }
    // One LibreOffice run converts them all: it starts slowly. Its profile is private.
    static command_result convert_all() {
        std::string files;
        for (const exported& e : files_) {
            if (e.converted) files += " " + shell_quoted(e.path);
        }
        return run("soffice -env:UserInstallation=file://" + (folder_ / "profile").string() +
                   " --headless --convert-to pdf --outdir " +
                   shell_quoted((folder_ / "pdf").string()) + files);
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static std::string pdf_of(const exported& e) {
        return (folder_ / "pdf" / (fs::path(e.path).stem().string() + ".pdf")).string();
    }

    static fs::path folder_;
    static std::vector<chart_case> cases_;
    static std::vector<exported> files_;
};

fs::path OfficeFiles::folder_;
std::vector<chart_case> OfficeFiles::cases_;
std::vector<exported> OfficeFiles::files_;

TEST_F(OfficeFiles, EveryExportSucceedsAndNamesItsPage) {
    for (const exported& e : files_) {
        EXPECT_NE(e.answer.find("\"ok\":true,\"layout_ok\":true"), std::string::npos)
            << e.path << ": " << e.answer;
        EXPECT_GT(e.page_width, 0) << e.path;
        EXPECT_GT(e.page_height, 0) << e.path;
    }
}

TEST_F(OfficeFiles, PackagesAreWholeAndEveryPartIsWellFormed) {
    for (const exported& e : files_) {
        const command_result test = run("unzip -t " + shell_quoted(e.path));
        EXPECT_EQ(test.status, 0) << e.path << "\n" << test.output;
        const fs::path unpacked = folder_ / "unpacked" / fs::path(e.path).stem();
        fs::create_directories(unpacked);
        ASSERT_EQ(
            run("unzip -q -o " + shell_quoted(e.path) + " -d " + shell_quoted(unpacked.string()))
                .status,
            0);
        std::string parts;
        for (const auto& entry : fs::recursive_directory_iterator(unpacked)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".xml" || extension == ".rels") {
                parts += " " + shell_quoted(entry.path().string());
            }
        }
        ASSERT_FALSE(parts.empty()) << e.path;
        const command_result lint = run("xmllint --noout --nonet" + parts);
        EXPECT_EQ(lint.status, 0) << e.path << "\n" << lint.output;
    }
}

// Visio glues a connector twice over: formulas in its end cells that name the shape and its
// connection point, and the page's connect records, one per end.
void expect_visio_glue(const exported& e, const ooxml_package& package) {
    std::string error;
    const std::string* page = package.part("visio/pages/page1.xml");
    ASSERT_TRUE(page) << e.path;
    const xml_document doc = parse_xml_part(*page, error);
    ASSERT_TRUE(doc) << e.path << ": " << error;
    xmlNode* root = xmlDocGetRootElement(doc.get());
    std::set<std::string> ids;
    std::map<std::string, std::string> master_of;
    std::map<std::string, xmlNode*> connectors;
    for (xmlNode* shape : xml_descendants(root, visio_ns, "Shape")) {
        const std::string id = xml_attribute(shape, "ID");
        EXPECT_TRUE(ids.insert(id).second) << e.path << ": shape " << id << " twice";
        for (xmlNode* cell : xml_children(shape, visio_ns, "Cell")) {
            if (xml_attribute(cell, "N") == "BeginX") connectors[id] = shape;
        }
    }
    std::map<std::string, std::set<std::string>> ends;
    for (xmlNode* connect : xml_descendants(root, visio_ns, "Connect")) {
        const std::string from = xml_attribute(connect, "FromSheet");
        const std::string to = xml_attribute(connect, "ToSheet");
        EXPECT_TRUE(connectors.count(from)) << e.path << ": connect from " << from;
        EXPECT_TRUE(ids.count(to) && !connectors.count(to)) << e.path << ": connect to " << to;
        EXPECT_TRUE(ends[from].insert(xml_attribute(connect, "FromCell")).second)
            << e.path << ": end glued twice";
    }
    const std::regex count(R"re("connectors":([0-9]+))re");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(e.answer, match, count)) << e.answer;
    EXPECT_EQ(connectors.size(), std::stoul(match[1])) << e.path;
    EXPECT_GT(connectors.size(), 0u) << e.path;
    const std::regex glue(
        R"re(PAR\(PNT\(Sheet\.([0-9]+)!Connections\.Align(top|bottom|left|right)\.X,)re");
    for (const auto& [id, shape] : connectors) {
        EXPECT_EQ(ends[id], (std::set<std::string>{"BeginX", "EndX"})) << e.path << ": " << id;
        for (xmlNode* cell : xml_children(shape, visio_ns, "Cell")) {
            const std::string name = xml_attribute(cell, "N");
            if (name != "BeginX" && name != "EndX") continue;
            const std::string formula = xml_attribute(cell, "F");
            std::smatch named;
            EXPECT_TRUE(std::regex_search(formula, named, glue) && ids.count(named[1]))
                << e.path << ": " << name << " of " << id << " is " << formula;
        }
    }
}

TEST_F(OfficeFiles, EveryConnectorGluesToShapesThatExist) {
    for (const exported& e : files_) {
        std::string error;
        const auto package = ooxml_package::read(e.path, error);
        ASSERT_TRUE(package) << e.path << ": " << error;
        if (e.format == "vsdx") {
            expect_visio_glue(e, *package);
            continue;
        }
        const std::map<std::string, std::string> drawing_parts = {
            {"pptx", "ppt/slides/slide1.xml"},
            {"docx", "word/document.xml"},
            {"xlsx", "xl/drawings/drawing1.xml"}};
        const std::string* drawing_part = package->part(drawing_parts.at(e.format));
        ASSERT_TRUE(drawing_part) << e.path;
        const xml_document doc = parse_xml_part(*drawing_part, error);
        ASSERT_TRUE(doc) << e.path << ": " << error;
        xmlNode* root = xmlDocGetRootElement(doc.get());
        // Shape ids: p:cNvPr on a slide, wps:cNvPr in a Word group, xdr:cNvPr on a sheet; all
        // are cNvPr elements.
        std::set<std::string> ids;
        for (const char* ns :
             {"http://schemas.openxmlformats.org/presentationml/2006/main",
              "http://schemas.microsoft.com/office/word/2010/wordprocessingShape",
              "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing"}) {
            for (xmlNode* node : xml_descendants(root, ns, "cNvPr")) {
                EXPECT_TRUE(ids.insert(xml_attribute(node, "id")).second)
                    << e.path << ": id " << xml_attribute(node, "id") << " twice";
            }
        }
        std::size_t glued = 0;
        for (const char* end : {"stCxn", "endCxn"}) {
            for (xmlNode* node : xml_descendants(root, a_ns, end)) {
                EXPECT_TRUE(ids.count(xml_attribute(node, "id")))
                    << e.path << ": " << end << " names " << xml_attribute(node, "id");
                ++glued;
            }
        }
        const std::regex connectors(R"re("connectors":([0-9]+))re");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(e.answer, match, connectors)) << e.answer;
        EXPECT_EQ(glued, 2 * std::stoul(match[1])) << e.path;
        EXPECT_GT(glued, 0u) << e.path;
    }
}

// LibreOffice shows each document on one page of the computed size, with the cells' texts, the
// captions and the function name, and no placeholder left.
TEST_F(OfficeFiles, LibreOfficeShowsThePageAndTheTexts) {
    if (!have("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const command_result converted = convert_all();
    for (const exported& e : files_) {
        if (!e.converted) continue;
        const command_result info = run("pdfinfo " + shell_quoted(pdf_of(e)));
        ASSERT_EQ(info.status, 0) << e.path << " was not converted:\n" << converted.output;
        if (e.format == "xlsx") continue;
        const std::regex size(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(info.output, match, size)) << info.output;
        // Readers keep page sizes in their own units (hundredths of a millimetre): within a
        // point of what was written.
        EXPECT_NEAR(std::stod(match[1]), e.page_width, 1.0) << e.path;
        EXPECT_NEAR(std::stod(match[2]), e.page_height, 1.0) << e.path;
        EXPECT_TRUE(std::regex_search(info.output, std::regex("Pages:\\s+1\n"))) << e.path << "\n"
                                                                                 << info.output;
    }
    for (const exported& e : files_) {
        if (!e.converted) continue;
        const command_result text = run("pdftotext -layout " + shell_quoted(pdf_of(e)) + " -");
        ASSERT_EQ(text.status, 0) << e.path << "\n" << converted.output;
        // Words the layout spreads out come back with runs of blanks, and a chart scaled down to
        // its page has characters so small that blanks come back inside words: compare without
        // any blanks.
        const auto squeezed = [](std::string s) {
            return std::regex_replace(s, std::regex("\\s+"), "");
        };
        const std::string shown = squeezed(text.output);
        std::vector<std::string> expected =
            e.format == "docx" ? e.source->document_texts : e.source->slide_texts;
        expected.push_back(e.source->function);
        // A chart drawn as one box has no branches to caption.
        if (e.source->level != "1") expected.insert(expected.end(), {"True", "False"});
        for (const std::string& wanted : expected) {
            EXPECT_NE(shown.find(squeezed(wanted)), std::string::npos)
                << e.path << " lacks \"" << wanted << "\"";
        }
        EXPECT_FALSE(std::regex_search(text.output, std::regex("#[A-Za-z]+#"))) << e.path;
        // The title line names the file.
        EXPECT_NE(shown.find(fs::path(e.source->file).filename().string()), std::string::npos)
            << e.path;
    }
}

TEST_F(OfficeFiles, AFileThatCannotBeWrittenExitsWithTwoAndLeavesNothing) {
    const fs::path missing = folder_ / "no such folder";
    for (const std::string format : {"pptx", "docx", "xlsx", "vsdx"}) {
        const std::string output = (missing / ("out." + format)).string();
        const command_result answer =
            run(std::string(TARNWELL_CLI) + " export --to " + format + " --lines 19-38 -o " +
                shell_quoted(output) + " " + TARNWELL_SAMPLE);
        EXPECT_EQ(answer.status, 2) << format << ": " << answer.output;
        EXPECT_NE(answer.output.find("tarnwell-cli export: "), std::string::npos) << format;
        EXPECT_EQ(answer.output.find("\"ok\""), std::string::npos) << format;
        EXPECT_FALSE(fs::exists(missing)) << format;
    }
}

TEST_F(OfficeFiles, LibreOfficeCalcOpensTheLongWorkbook) {
    if (!have("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const auto found = std::find_if(files_.begin(), files_.end(), [](const exported& e) {
        return e.source->name == "longest" && e.format == "xlsx";
    });
    ASSERT_NE(found, files_.end());
    const fs::path out = folder_ / "long-pdf";
    const command_result converted =
        run("soffice -env:UserInstallation=file://" + (folder_ / "long-profile").string() +
            " --headless --convert-to pdf --outdir " + shell_quoted(out.string()) + " " +
            shell_quoted(found->path));
    const command_result text =
        run("pdftotext " + shell_quoted((out / "longest-xlsx.pdf").string()) + " -");
    ASSERT_EQ(text.status, 0) << converted.output;
    for (const std::string& wanted : {"step(queue);", "report(e);", "True", "False", "longest"}) {
        EXPECT_NE(text.output.find(wanted), std::string::npos) << "lacks \"" << wanted << "\"";
    }
    EXPECT_FALSE(std::regex_search(text.output, std::regex("#[A-Za-z]+#")));
}

}  // namespace
}  // namespace tarnwell
