#include "officeexport/visio1.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "officeexport/ooxml_templates.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

// A file of this process in the temporary folder: ctest runs tests side by side.
fs::path temporary(const std::string& name) {
    return fs::temp_directory_path() / (std::to_string(::getpid()) + "_" + name);
}

constexpr const char* visio_ns = "http://schemas.microsoft.com/office/visio/2012/main";

TEST(VisioMaster, SymbolAndTextModeMasters) {
    struct row {
        int code;
        const char* symbol;
        const char* text;
    };
    const row rows[] = {
        {0, "start", "text2"},
        {2, "code", "text"},
        {11, "for", "text3"},
        {12, "end", "text2"},
        {19, "switch2", "text"},
        {20, "switch", "text2"},
        {23, "switchend", "switchend"},
        {25, "if", "text3"},
        {26, "dot", "dot"},
        {27, "connector", "text"},
        {29, "falseline", "text"},
        {-1, "", ""},
        {30, "", ""},
    };
    for (const row& r : rows) {
        EXPECT_EQ(visio_master(r.code, false), r.symbol) << r.code;
        EXPECT_EQ(visio_master(r.code, true), r.text) << r.code;
    }
    EXPECT_EQ(visio_master_names().size(), 33u);
}

// A loop with a decision in it: start, a while at 100/3 whose true branch goes down through a
// statement and back up its left side to a junction above it, its false branch right to the
// return, and the end.
export_cells loop_layout() {
    export_cells layout;
    layout.cells = {{100, 1, 0, "1-9"},   {100, 2, 26, ""},     {100, 3, 16, "1-13"},
                    {100, 5, 2, "16-21"}, {101, 6, 3, "24-32"}, {100, 8, 12, "33-33"}};
    layout.connectors = {
        {100, 1, anchor::bottom, 100, 2, anchor::top, export_plain_line},
        {100, 2, anchor::bottom, 100, 3, anchor::top, export_plain_line},
        {100, 3, anchor::bottom, 100, 5, anchor::top, export_true_line},
        {100, 5, anchor::left, 100, 2, anchor::left, export_plain_line},
        {100, 3, anchor::right, 101, 6, anchor::top, export_false_line},
        {101, 6, anchor::bottom, 100, 8, anchor::top, export_plain_line},
    };
    layout.column_count = 3;
    layout.row_count = 9;
    layout.column_offset = 99;
    return layout;
}

const std::string loop_source =
    "int f() {\r\n"
    "while (a) {\r\n"
    "    b();\r\n"
    "}\r\n"
    "return a;\r\n"
    "}\r\n";

cell_table loop_table() {
    return cell_table::build(loop_layout(), charted_text{loop_source, 0, -1}, 2000);
}

export_parameters visio_parameters() {
    export_parameters parameters = default_export_parameters(export_application::visio, "/opt");
    parameters.template_file.clear();
    parameters.stencil_file.clear();
    parameters.file_name = "loop.c";
    parameters.function_name = "f";
    return parameters;
}

struct visio_page {
    struct shape {
        std::string id;
        std::string master;
        double left = 0, bottom = 0, width = 0, height = 0;  // inches, y up
        std::string text;
        double left_margin = 0, right_margin = 0;
        double font_size = 0;                            // inches
        std::vector<std::pair<double, double>> outline;  // inches from the bottom left
    };
    struct line {
        std::string id;
        std::string text;
        std::vector<std::pair<double, double>> path;  // page inches
        std::map<std::string, std::string> formulas;  // BeginX, EndX
    };
    std::string name;
    double width = 0, height = 0;
    std::vector<shape> shapes;
    std::vector<line> lines;
    std::vector<std::map<std::string, std::string>> connects;
    std::map<std::string, std::string> master_names;  // master ID -> name
    ooxml_package package;

    double left() const {
        double least = 1e9;
        for (const shape& s : shapes) least = std::min(least, s.left);
        for (const line& l : lines) {
            for (const auto& point : l.path) least = std::min(least, point.first);
        }
        return least;
    }
    double right() const {
        double most = -1e9;
        for (const shape& s : shapes) most = std::max(most, s.left + s.width);
        for (const line& l : lines) {
            for (const auto& point : l.path) most = std::max(most, point.first);
        }
        return most;
    }
};

double cell(xmlNode* sheet, const char* name) {
    for (xmlNode* c : xml_children(sheet, visio_ns, "Cell")) {
        if (xml_attribute(c, "N") == name) return std::stod(xml_attribute(c, "V"));
    }
    return 0;
}

std::string formula(xmlNode* sheet, const char* name) {
    for (xmlNode* c : xml_children(sheet, visio_ns, "Cell")) {
        if (xml_attribute(c, "N") == name) return xml_attribute(c, "F");
    }
    return {};
}

visio_page read_page(const std::string& path) {
    visio_page page;
    std::string error;
    std::optional<ooxml_package> package = ooxml_package::read(path, error);
    EXPECT_TRUE(package) << error;
    if (!package) return page;
    page.package = std::move(*package);
    const xml_document pages = parse_xml_part(*page.package.part("visio/pages/pages.xml"), error);
    xmlNode* entry = xml_first_child(xmlDocGetRootElement(pages.get()), visio_ns, "Page");
    page.name = xml_attribute(entry, "NameU");
    xmlNode* sheet = xml_first_child(entry, visio_ns, "PageSheet");
    page.width = cell(sheet, "PageWidth");
    page.height = cell(sheet, "PageHeight");
    if (const std::string* masters = page.package.part("visio/masters/masters.xml")) {
        const xml_document list = parse_xml_part(*masters, error);
        for (xmlNode* m : xml_children(xmlDocGetRootElement(list.get()), visio_ns, "Master")) {
            page.master_names[xml_attribute(m, "ID")] = xml_attribute(m, "NameU");
        }
    }
    const xml_document contents =
        parse_xml_part(*page.package.part("visio/pages/page1.xml"), error);
    xmlNode* root = xmlDocGetRootElement(contents.get());
    for (xmlNode* s : xml_descendants(root, visio_ns, "Shape")) {
        xmlNode* text = xml_first_child(s, visio_ns, "Text");
        const std::string shown = text ? xml_text(text) : std::string();
        if (!formula(s, "BeginX").empty()) {
            visio_page::line l{xml_attribute(s, "ID"), shown, {}, {}};
            const double x = cell(s, "BeginX");
            const double y = cell(s, "BeginY");
            for (xmlNode* section : xml_children(s, visio_ns, "Section")) {
                if (xml_attribute(section, "N") != "Geometry") continue;
                for (xmlNode* row : xml_children(section, visio_ns, "Row")) {
                    l.path.emplace_back(x + cell(row, "X"), y + cell(row, "Y"));
                }
            }
            l.formulas = {{"BeginX", formula(s, "BeginX")}, {"EndX", formula(s, "EndX")}};
            page.lines.push_back(l);
            continue;
        }
        const double width = cell(s, "Width");
        const double height = cell(s, "Height");
        visio_page::shape found{xml_attribute(s, "ID"),
                                xml_attribute(s, "Master"),
                                cell(s, "PinX") - cell(s, "LocPinX"),
                                cell(s, "PinY") - cell(s, "LocPinY"),
                                width,
                                height,
                                shown,
                                cell(s, "LeftMargin"),
                                cell(s, "RightMargin")};
        for (xmlNode* section : xml_children(s, visio_ns, "Section")) {
            const std::string kind = xml_attribute(section, "N");
            if (kind == "Character") {
                found.font_size = cell(xml_first_child(section, visio_ns, "Row"), "Size");
            }
            if (kind != "Geometry" || !found.outline.empty()) continue;
            for (xmlNode* row : xml_children(section, visio_ns, "Row")) {
                found.outline.emplace_back(cell(row, "X"), cell(row, "Y"));
            }
        }
        page.shapes.push_back(found);
    }
    for (xmlNode* c : xml_descendants(root, visio_ns, "Connect")) {
        page.connects.push_back({{"from", xml_attribute(c, "FromSheet")},
                                 {"cell", xml_attribute(c, "FromCell")},
                                 {"to", xml_attribute(c, "ToSheet")},
                                 {"part", xml_attribute(c, "ToPart")}});
    }
    return page;
}

struct written {
    bool ok = false;
    office_export_summary summary;
    std::string notice;
    std::string error;
    visio_page page;
};

written write(const export_parameters& parameters, const cell_table& table) {
    const fs::path path = temporary("tarnwell_visio1_test.vsdx");
    written out;
    out.ok =
        write_visio_export(table, parameters, path.string(), out.summary, out.notice, out.error);
    if (out.ok) out.page = read_page(path.string());
    fs::remove(path);
    return out;
}

TEST(VisioExport, EveryLineIsGluedToTheNamedPointsOfShapesThatExist) {
    const written out = write(visio_parameters(), loop_table());
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.notice, "");
    const visio_page& page = out.page;
    EXPECT_EQ(page.name, "loop.c:f");
    // The template's title and the six cells.
    ASSERT_EQ(page.shapes.size(), 7u);
    EXPECT_EQ(page.shapes[0].text, "f in loop.c");
    std::map<std::string, std::string> master_of;
    for (const visio_page::shape& s : page.shapes) {
        const auto master = page.master_names.find(s.master);
        master_of[s.id] = master == page.master_names.end() ? "" : master->second;
    }
    std::multiset<std::string> masters;
    for (const auto& [id, name] : master_of) masters.insert(name);
    EXPECT_EQ(masters,
              (std::multiset<std::string>{"", "text2", "dot", "text3", "text", "text2", "text2"}));
    // One copy of each master the drawing uses.
    std::set<std::string> distinct;
    for (const auto& [id, name] : page.master_names) EXPECT_TRUE(distinct.insert(name).second);
    ASSERT_EQ(page.lines.size(), 6u);
    EXPECT_EQ(page.connects.size(), 12u);
    const std::regex glue(
        R"re(PAR\(PNT\(Sheet\.([0-9]+)!Connections\.Align(top|bottom|left|right)\.X,Sheet\.\1!Connections\.Align\2\.Y\)\))re");
    std::vector<std::string> texts;
    for (const visio_page::line& l : page.lines) {
        texts.push_back(l.text);
        for (const char* end : {"BeginX", "EndX"}) {
            std::smatch match;
            const std::string f = l.formulas.at(end);
            ASSERT_TRUE(std::regex_match(f, match, glue)) << f;
            EXPECT_TRUE(master_of.count(match[1])) << f;
            int records = 0;
            for (const auto& c : page.connects) {
                if (c.at("from") == l.id && c.at("cell") == end) {
                    ++records;
                    EXPECT_EQ(c.at("to"), match[1].str());
                }
            }
            EXPECT_EQ(records, 1) << l.id << " " << end;
        }
        // A path of straight pieces that turn at right angles.
        ASSERT_GE(l.path.size(), 2u);
        for (std::size_t i = 0; i + 1 < l.path.size(); ++i) {
            const bool across = std::fabs(l.path[i].second - l.path[i + 1].second) < 1e-6;
            const bool down = std::fabs(l.path[i].first - l.path[i + 1].first) < 1e-6;
            EXPECT_TRUE(across || down) << l.id;
        }
    }
    // Only the two branches of the while are captioned.
    EXPECT_EQ(texts, (std::vector<std::string>{"", "", "True", "", "False", ""}));
}

TEST(VisioExport, LinesStartAndEndOnTheSidesTheyAreGluedTo) {
    export_parameters parameters = visio_parameters();
    parameters.show_source_code = false;  // symbol mode: every shape the same size
    const written out = write(parameters, loop_table());
    ASSERT_TRUE(out.ok) << out.error;
    std::map<std::string, visio_page::shape> shapes;
    for (const visio_page::shape& s : out.page.shapes) shapes[s.id] = s;
    const std::regex glue(R"re(Sheet\.([0-9]+)!Connections\.Align(top|bottom|left|right)\.X)re");
    for (const visio_page::line& l : out.page.lines) {
        for (const auto& [end, point] :
             {std::pair{"BeginX", l.path.front()}, {"EndX", l.path.back()}}) {
            std::smatch match;
            const std::string f = l.formulas.at(end);
            ASSERT_TRUE(std::regex_search(f, match, glue));
            const visio_page::shape& s = shapes.at(match[1]);
            const std::string side = match[2];
            const double x = side == "left"    ? s.left
                             : side == "right" ? s.left + s.width
                                               : s.left + s.width / 2;
            const double y = side == "bottom" ? s.bottom
                             : side == "top"  ? s.bottom + s.height
                                              : s.bottom + s.height / 2;
            EXPECT_NEAR(point.first, x, 1e-4) << l.id << " " << end << " " << side;
            EXPECT_NEAR(point.second, y, 1e-4) << l.id << " " << end << " " << side;
        }
    }
}

TEST(VisioExport, FitsAndCentresThePageAsTheOptionsSay) {
    struct row {
        const char* name;
        bool set_width, only_width, set_height, only_height, centre;
        bool width_fitted, height_fitted;
    };
    const row rows[] = {
        {"both fitted", true, false, true, false, false, true, true},
        // The letter page is larger than the chart both ways: kept.
        {"only when not enough", true, true, true, true, false, false, false},
        {"no fitting", false, false, false, false, false, false, false},
        {"centred", false, false, false, false, true, false, false},
    };
    for (const row& r : rows) {
        export_parameters parameters = visio_parameters();
        parameters.set_page_width = r.set_width;
        parameters.only_width = r.only_width;
        parameters.set_page_height = r.set_height;
        parameters.only_height = r.only_height;
        parameters.center_drawing = r.centre;
        const written out = write(parameters, loop_table());
        ASSERT_TRUE(out.ok) << out.error;
        const visio_page& page = out.page;
        EXPECT_NEAR(out.summary.page.width / 72, page.width, 1e-4) << r.name;
        EXPECT_NEAR(out.summary.page.height / 72, page.height, 1e-4) << r.name;
        double top = -1e9, bottom = 1e9;
        for (const auto& s : page.shapes) {
            top = std::max(top, s.bottom + s.height);
            bottom = std::min(bottom, s.bottom);
        }
        for (const auto& l : page.lines) {
            for (const auto& point : l.path) {
                top = std::max(top, point.second);
                bottom = std::min(bottom, point.second);
            }
        }
        if (r.width_fitted) {
            EXPECT_NEAR(page.left(), 0.1, 1e-3) << r.name;
            EXPECT_NEAR(page.width - page.right(), 0.1, 1e-3) << r.name;
        } else {
            EXPECT_NEAR(page.width, 8.5, 1e-6) << r.name;
        }
        if (r.height_fitted) {
            EXPECT_NEAR(page.height - top, 0.1, 1e-3) << r.name;
            EXPECT_NEAR(bottom, 0.1, 1e-3) << r.name;
        } else {
            EXPECT_NEAR(page.height, 11, 1e-6) << r.name;
        }
        if (r.centre) {
            EXPECT_NEAR(page.left(), page.width - page.right(), 1e-3) << r.name;
            EXPECT_NEAR(bottom, page.height - top, 1e-3) << r.name;
        }
        if (!r.centre && !r.width_fitted) {
            // The start cell's column is centred on the page.
            const auto& start = page.shapes[1];
            EXPECT_NEAR(start.left + start.width / 2, page.width / 2, 1e-4) << r.name;
        }
    }
}

// A chart that reaches far to the right of its start: the start cell, then one step down and
// to the right for each further column.
cell_table staircase_table(int columns) {
    export_cells layout;
    layout.cells = {{100, 1, 0, "1-9"}};
    for (int k = 1; k < columns; ++k) {
        layout.cells.push_back({100 + k, 1 + k, 2, "16-21"});
        layout.connectors.push_back(
            {99 + k, k, anchor::right, 100 + k, 1 + k, anchor::top, export_plain_line});
    }
    layout.column_count = columns + 1;
    layout.row_count = columns + 2;
    layout.column_offset = 100;
    return cell_table::build(layout, charted_text{loop_source, 0, -1}, 2000);
}

// The drawing template without the title that spans its page.
fs::path untitled_template() {
    ooxml_package drawing = builtin_template(office_kind::visio_drawing);
    std::string error;
    const xml_document page = parse_xml_part(*drawing.part("visio/pages/page1.xml"), error);
    for (xmlNode* shape : xml_descendants(xmlDocGetRootElement(page.get()), visio_ns, "Shape")) {
        xmlUnlinkNode(shape);
        xmlFreeNode(shape);
    }
    drawing.set_part("visio/pages/page1.xml", serialised(page.get()));
    const fs::path path = temporary("tarnwell_visio1_untitled.vsdx");
    EXPECT_TRUE(drawing.write(path.string(), error)) << error;
    return path;
}

// The start column is centred on the page, but a chart the page can hold (as it is, or grown as
// the options allow) is never left running past one of its edges.
TEST(VisioExport, EverythingStaysOnThePage) {
    const fs::path untitled = untitled_template();
    struct row {
        const char* name;
        bool titled;
        int columns;
        bool fit;
    };
    const row rows[] = {
        {"the title and a chart reaching right", true, 5, true},
        {"a chart reaching far right", false, 7, true},
        {"a chart reaching far right, no fitting", false, 7, false},
        {"a chart wider than the page", false, 12, true},
    };
    for (const row& r : rows) {
        export_parameters parameters = visio_parameters();
        parameters.show_source_code = false;
        parameters.template_file = r.titled ? std::string() : untitled.string();
        parameters.set_page_width = parameters.set_page_height = r.fit;
        const written out = write(parameters, staircase_table(r.columns));
        ASSERT_TRUE(out.ok) << out.error;
        const visio_page& page = out.page;
        ASSERT_EQ(page.shapes.size(), static_cast<std::size_t>(r.columns + (r.titled ? 1 : 0)));
        EXPECT_GE(page.left(), 0) << r.name;
        EXPECT_LE(page.right(), page.width) << r.name;
        for (const visio_page::shape& s : page.shapes) {
            EXPECT_GE(s.bottom, 0) << r.name << " " << s.id;
            EXPECT_LE(s.bottom + s.height, page.height) << r.name << " " << s.id;
        }
        if (!r.fit) EXPECT_EQ(page.width, 8.5) << r.name;
    }
    fs::remove(untitled);
}

// Whether a point lies inside a convex outline (or on it).
bool inside(const std::vector<std::pair<double, double>>& outline, double x, double y) {
    int side = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const auto [ax, ay] = outline[i];
        const auto [bx, by] = outline[(i + 1) % outline.size()];
        const double cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        if (std::fabs(cross) < 1e-9) continue;
        const int sign = cross > 0 ? 1 : -1;
        if (side != 0 && sign != side) return false;
        side = sign;
    }
    return true;
}

// A decision whose text is long: a long condition, and far down a long file, a long line range.
cell_table decision_table(const std::string& source) {
    const std::size_t at = source.find("if (");
    const std::size_t end = source.find("\r\n", at);
    const int offset = static_cast<int>(source.find("int g"));
    export_cells layout;
    const auto range = [&](std::size_t from, std::size_t to) {
        return std::to_string(from + 1 - offset) + "-" + std::to_string(to - offset);
    };
    layout.cells = {{100, 1, 0, range(offset, offset + 9)},
                    {100, 3, 25, range(at, end)},
                    {100, 5, 2, range(end + 2, end + 10)},
                    {101, 5, 2, range(end + 2, end + 10)}};
    layout.connectors = {{100, 1, anchor::bottom, 100, 3, anchor::top, export_plain_line},
                         {100, 3, anchor::left, 100, 5, anchor::top, export_true_line},
                         {100, 3, anchor::right, 101, 5, anchor::top, export_false_line}};
    layout.column_count = 2;
    layout.row_count = 6;
    layout.column_offset = 100;
    return cell_table::build(layout, charted_text{source, offset, -1}, 2000);
}

// The text of every shape sits inside its outline, a decision's slanting sides included, and
// is as wide as its widest line needs; a shape too narrow for that grows.
TEST(VisioExport, EveryTextKeepsInsideItsShape) {
    std::string far_down;
    for (int line = 0; line < 120; ++line) far_down += "\r\n";
    const std::string decision =
        "int g() {\r\nif (first_condition && second_condition || the_third_one) {\r\n"
        "    b();\r\n}\r\n}\r\n";
    const double character_width = visio_parameters().font_width;
    for (const bool text_mode : {true, false}) {
        for (const cell_table& table :
             {loop_table(), decision_table(decision), decision_table(far_down + decision)}) {
            export_parameters parameters = visio_parameters();
            parameters.show_source_code = text_mode;
            const written out = write(parameters, table);
            ASSERT_TRUE(out.ok) << out.error;
            for (const visio_page::shape& s : out.page.shapes) {
                if (s.text.empty() || s.outline.empty()) continue;
                SCOPED_TRACE((text_mode ? "text mode: " : "symbol mode: ") + s.text);
                std::size_t widest = 0;
                std::size_t lines = 0;
                for (std::size_t start = 0; start <= s.text.size(); ++lines) {
                    const std::size_t end = std::min(s.text.find('\n', start), s.text.size());
                    widest = std::max(widest, end - start);
                    start = end + 1;
                }
                // Lines are a fifth taller than their characters; the text is in the middle.
                const double band = static_cast<double>(lines) * s.font_size * 1.2;
                const double low = (s.height - band) / 2;
                const double left = s.left_margin;
                const double right = s.width - s.right_margin;
                EXPECT_GE(right - left, character_width * static_cast<double>(widest));
                for (const auto& [x, y] : {std::pair{left, low},
                                           {left, low + band},
                                           {right, low},
                                           {right, low + band}}) {
                    EXPECT_TRUE(inside(s.outline, x, y))
                        << x << ", " << y << " of " << s.width << " x " << s.height;
                }
            }
        }
    }
}

TEST(VisioExport, AMissingMasterIsToldAndItsCellsAndLinesAreLeftOut) {
    ooxml_package stencil = builtin_template(office_kind::visio_stencil);
    std::string list = *stencil.part("visio/masters/masters.xml");
    const std::size_t at = list.find("NameU='text3'");
    ASSERT_NE(at, std::string::npos);
    list.replace(at, 13, "NameU='gone3'");
    stencil.set_part("visio/masters/masters.xml", list);
    const fs::path stencil_path = temporary("tarnwell_visio1_stencil.vssx");
    std::string error;
    ASSERT_TRUE(stencil.write(stencil_path.string(), error)) << error;
    export_parameters parameters = visio_parameters();
    parameters.stencil_file = stencil_path.string();
    const written out = write(parameters, loop_table());
    fs::remove(stencil_path);
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.notice, "stencil text3 do not exists");
    // The while (a text3 in text mode) is left out with its three lines.
    EXPECT_EQ(out.page.shapes.size(), 6u);
    EXPECT_EQ(out.page.lines.size(), 3u);
    EXPECT_EQ(out.page.connects.size(), 6u);
}

TEST(VisioExport, AnUnusableTemplateOrStencilFallsBackToTheBuiltInOnes) {
    const fs::path broken = temporary("tarnwell_visio1_broken.vsdx");
    std::ofstream(broken) << "not a zip";
    export_parameters parameters = visio_parameters();
    parameters.template_file = broken.string();
    parameters.stencil_file = temporary("tarnwell_no_such.vssx").string();
    const written out = write(parameters, loop_table());
    fs::remove(broken);
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.notice.rfind("template does not exist, use default page (" + broken.string(), 0),
              0u)
        << out.notice;
    EXPECT_NE(out.notice.find("\nstencil does not exist, use default stencil (" +
                              parameters.stencil_file),
              std::string::npos)
        << out.notice;
    EXPECT_EQ(out.page.lines.size(), 6u);
}

TEST(VisioExport, AFailedWriteIsReportedAndLeavesNoFile) {
    const fs::path folder = temporary("tarnwell_visio1_no_such_folder");
    fs::remove_all(folder);
    const std::string output = (folder / "out.vsdx").string();
    office_export_summary summary;
    std::string notice, error;
    EXPECT_FALSE(
        write_visio_export(loop_table(), visio_parameters(), output, summary, notice, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace tarnwell
