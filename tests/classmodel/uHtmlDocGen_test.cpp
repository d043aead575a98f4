#include "classmodel/uHtmlDocGen.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "classmodel/uDocGenResources.h"
#include "classmodel/uXslTransform.h"
#include "test_support.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;
using test::read_file;

void write_file(const std::string& file, const std::string& text) {
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

// A package "shapes" with an interface, a class hierarchy and a type of the "<<Unknown>>"
// package, and a second package whose class inherits across packages.
struct doc_model {
    doc_model() {
        TClass* string = model.UnknownPackage()->AddClass("String");
        shapes = model.ModelRoot()->AddUnitPackage("shapes");
        shape = shapes->AddInterface("Shape");
        figure = shapes->AddClass("Figure");
        figure->AddAttribute("name")->SetTypeClassifier(string);
        circle = shapes->AddClass("Circle");
        circle->SetAncestor(figure);
        circle->AddImplements(shape);
        circle->AddOperation("scale")->AddParameter("factor")->SetTypeClassifier(figure);
        TUnitPackage* extra = model.ModelRoot()->AddUnitPackage("extra");
        square = extra->AddClass("Square");
        square->SetAncestor(figure);
    }

    TObjectModel model;
    TUnitPackage* shapes = nullptr;
    TInterface* shape = nullptr;
    TClass* figure = nullptr;
    TClass* circle = nullptr;
    TClass* square = nullptr;
};

// Writes a token picture and answers a box for every entity of the package plus, in package
// diagrams, a box of an entity of "<<Unknown>>" that has no page.
struct fake_pictures : IDiagramPictureWriter {
    explicit fake_pictures(TObjectModel& model) : model(model) {}
    std::vector<TDiagramArea> WritePicture(TAbstractPackage& package,
                                           const std::string& png_file) override {
        write_file(png_file, "png");
        std::vector<TDiagramArea> areas;
        int top = 10;
        auto add = [&](TModelEntity* entity) {
            areas.push_back({20, top, 120, top + 40, entity});
            top += 60;
        };
        if (&package == model.ModelRoot()) {
            auto packages = model.ModelRoot()->GetPackages();
            while (packages->HasNext()) add(packages->Next());
        } else {
            auto classifiers = static_cast<TUnitPackage&>(package).GetClassifiers();
            while (classifiers->HasNext()) add(classifiers->Next());
            auto unknown = model.UnknownPackage()->GetClassifiers();
            if (unknown->HasNext()) add(unknown->Next());
        }
        pictures.push_back(fs::path(png_file).filename().string());
        return areas;
    }
    void Flush() override {}

    TObjectModel& model;
    std::vector<std::string> pictures;
};

struct recording_host : IDocGenHost {
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        asked_from.push_back(start);
        return choice;
    }
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string& caption,
                                                  int maximum) override {
        captions.push_back(caption + " " + std::to_string(maximum));
        return nullptr;
    }
    void OpenDocument(const std::string& file) override { opened.push_back(file); }

    std::optional<std::string> choice;
    std::vector<std::string> asked_from;
    std::vector<std::string> captions;
    std::vector<std::string> opened;
};

struct scratch_dir {
    scratch_dir() {
        path = fs::temp_directory_path() /
               ("tarnwell-docgen-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~scratch_dir() { fs::remove_all(path); }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    static inline int counter = 0;
    fs::path path;
};

// The href values and the anchor names of an HTML page, read by libxml2's HTML parser.
struct page_links {
    std::vector<std::string> hrefs;
    std::set<std::string> anchors;
};

page_links read_links(const std::string& file) {
    page_links links;
    const std::string text = read_file(file);
    htmlDocPtr doc = htmlReadMemory(text.data(), static_cast<int>(text.size()), file.c_str(),
                                    "UTF-8", HTML_PARSE_NONET | HTML_PARSE_NOERROR);
    EXPECT_NE(doc, nullptr) << file;
    if (doc == nullptr) return links;
    xmlXPathContextPtr context = xmlXPathNewContext(doc);
    for (const char* query : {"//@href", "//a/@name"}) {
        xmlXPathObjectPtr found =
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(query), context);
        for (int i = 0; found->nodesetval != nullptr && i < found->nodesetval->nodeNr; ++i) {
            xmlChar* value = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
            const std::string text_value = reinterpret_cast<const char*>(value);
            xmlFree(value);
            if (query[3] == 'h') {
                links.hrefs.push_back(text_value);
            } else {
                links.anchors.insert(text_value);
            }
        }
        xmlXPathFreeObject(found);
    }
    xmlXPathFreeContext(context);
    xmlFreeDoc(doc);
    return links;
}

TEST(HtmlDocGen, WritesTheFileSetAndImageMapsOfAModel) {
    doc_model m;
    scratch_dir out;
    recording_host host;
    TDocTempFolders temp;
    fake_pictures pictures(m.model);
    THtmlDocGen generator(m.model, host, temp, pictures);
    generator.Generate(out.path.string(), false);

    TXMIExporter ids(m.model);
    ids.Export();
    const std::string shapes = ids.GetXMIId(*m.shapes);
    const std::string extra = ids.GetXMIId(*m.square->Owner());
    const std::set<std::string> expected = {"styles.css",
                                            "overview.html",
                                            "p_overview.png",
                                            "p_overview_diagram.html",
                                            "p_" + shapes + ".html",
                                            "p_" + shapes + ".png",
                                            "p_" + shapes + "_diagram.html",
                                            "p_" + extra + ".html",
                                            "p_" + extra + ".png",
                                            "p_" + extra + "_diagram.html"};
    EXPECT_EQ(out.files(), expected);
    EXPECT_EQ(read_file((out.path / "styles.css").string()), DocGenResource("css_file"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Generating documentation... 2"});
    EXPECT_EQ(host.opened, std::vector<std::string>{out.path.string() + "/overview.html"});
    EXPECT_TRUE(host.asked_from.empty());

    // The root's map links the two documented packages and not "<<Unknown>>"; a package's map
    // links its classifiers to their anchors and leaves the placeholder type out.
    EXPECT_EQ(read_file((out.path / "p_overview_diagram.html").string()),
              "<html> <body>\n<img src=\"p_overview.png\" usemap=\"#map1\">\n"
              "<map name=\"map1\">\n"
              "<area href=\"p_" +
                  shapes +
                  ".html\" shape=\"rect\" coords=\"20,70,120,110\">\n"
                  "<area href=\"p_" +
                  extra +
                  ".html\" shape=\"rect\" coords=\"20,130,120,170\">\n"
                  "</map>\n</body> </html>\n");
    const std::string package_map =
        read_file((out.path / ("p_" + shapes + "_diagram.html")).string());
    EXPECT_NE(package_map.find("<area href=\"p_" + shapes + ".html#" + ids.GetXMIId(*m.circle) +
                               "\" shape=\"rect\" coords=\"20,130,120,170\">"),
              std::string::npos);
    EXPECT_EQ(std::count(package_map.begin(), package_map.end(), '\n'), 8);
}

TEST(HtmlDocGen, EveryLinkLeadsToAWrittenPageAndAnchor) {
    doc_model m;
    scratch_dir out;
    recording_host host;
    TDocTempFolders temp;
    fake_pictures pictures(m.model);
    THtmlDocGen(m.model, host, temp, pictures).Generate(out.path.string(), false);

    std::map<std::string, page_links> pages;
    for (const std::string& name : out.files()) {
        if (name.ends_with(".html")) pages[name] = read_links((out.path / name).string());
    }
    int fragments = 0;
    for (const auto& [name, links] : pages) {
        for (const std::string& href : links.hrefs) {
            SCOPED_TRACE(name + " -> " + href);
            const std::string file = href.substr(0, href.find('#'));
            ASSERT_TRUE(fs::exists(out.path / file));
            if (href.find('#') != std::string::npos) {
                ++fragments;
                ASSERT_TRUE(pages.count(file));
                EXPECT_TRUE(pages[file].anchors.count(href.substr(href.find('#') + 1)));
            }
        }
    }
    EXPECT_GT(fragments, 4);

    // The placeholder type is named but not linked; the cross-package ancestor is linked.
    TXMIExporter ids(m.model);
    ids.Export();
    const std::string shapes_page =
        read_file((out.path / ("p_" + ids.GetXMIId(*m.shapes) + ".html")).string());
    EXPECT_NE(shapes_page.find(">String<"), std::string::npos);
    EXPECT_EQ(
        shapes_page.find("#" + ids.GetXMIId(*m.model.UnknownPackage()->GetClassifiers()->Next())),
        std::string::npos);
    EXPECT_NE(shapes_page.find("Subclasses: "), std::string::npos);
    EXPECT_NE(shapes_page.find("Implementing classes: "), std::string::npos);
    const std::string overview = read_file((out.path / "overview.html").string());
    EXPECT_EQ(overview.find("Unknown"), std::string::npos);
    EXPECT_LT(overview.find(">extra<"), overview.find(">shapes<"));
}

TEST(HtmlDocGen, AskedFolderAndPreviews) {
    doc_model m;
    m.model.ModelRoot()->SetConfigFile("/somewhere/src/Main.java");
    recording_host host;
    TDocTempFolders temp;
    fake_pictures pictures(m.model);
    {
        // Cancelling the folder choice writes nothing and opens nothing.
        THtmlDocGen generator(m.model, host, temp, pictures);
        generator.Generate("", false);
        EXPECT_EQ(host.asked_from, std::vector<std::string>{"/somewhere/src"});
        EXPECT_TRUE(host.opened.empty());
        EXPECT_TRUE(pictures.pictures.empty());
    }
    std::vector<std::string> folders;
    scratch_dir outside;
    {
        TDocTempFolders previews;
        for (int run = 0; run < 2; ++run) {
            THtmlDocGen generator(m.model, host, previews, pictures);
            generator.Generate("", true);
            EXPECT_TRUE(fs::exists(generator.OutputDir() + "overview.html"));
        }
        folders = previews.Folders();
        ASSERT_EQ(folders.size(), 2U);
        EXPECT_NE(folders[0], folders[1]);
        for (const std::string& folder : folders) {
            EXPECT_NE(folder.find("Vixmodel"), std::string::npos);
            EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
        }
        // A link inside a preview folder is removed, not followed.
        fs::create_symlink(outside.path, fs::path(folders[0]) / "link");
        write_file((outside.path / "kept").string(), "x");
        folders.push_back((outside.path / "kept").string());
    }
    EXPECT_FALSE(fs::exists(folders[0]));
    EXPECT_FALSE(fs::exists(folders[1]));
    EXPECT_TRUE(fs::exists(folders[2]));
}

TEST(HtmlDocGen, AnUnwritableFolderRaisesTheSystemsError) {
    doc_model m;
    recording_host host;
    TDocTempFolders temp;
    fake_pictures pictures(m.model);
    THtmlDocGen generator(m.model, host, temp, pictures);
    EXPECT_THROW(generator.Generate("/nonexistent-folder/docs", false), std::system_error);
}

// Stylesheets and documents from outside read nothing beyond what they are given.
TEST(XslTransform, HostileInputReadsNothingOutside) {
    scratch_dir dir;
    const std::string secret = (dir.path / "secret.txt").string();
    write_file(secret, "TOPSECRET");
    const std::string copy_all =
        "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
        "<xsl:output method='text'/><xsl:template match='/'><xsl:value-of select='.'/>"
        "</xsl:template></xsl:stylesheet>";
    const TXslTransform identity(copy_all);

    // An external entity is neither fetched nor substituted.
    const std::string with_entity =
        "<?xml version='1.0'?><!DOCTYPE x [<!ENTITY e SYSTEM 'file://" + secret + "'>]><x>&e;</x>";
    try {
        const std::string out = identity.Apply(TXmlDocument(with_entity));
        EXPECT_EQ(out.find("TOPSECRET"), std::string::npos);
    } catch (const model_error&) {
    }

    // document() of a local file is forbidden.
    const std::string reader =
        "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
        "<xsl:output method='text'/><xsl:template match='/'>"
        "<xsl:value-of select=\"document('" +
        secret + "')\"/></xsl:template></xsl:stylesheet>";
    try {
        const std::string out = TXslTransform(reader).Apply(TXmlDocument("<x/>"));
        EXPECT_EQ(out.find("TOPSECRET"), std::string::npos);
    } catch (const model_error&) {
    }

    // Writing a file from a stylesheet is forbidden.
    const std::string written = (dir.path / "written.txt").string();
    const std::string writer =
        "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform' "
        "xmlns:exsl='http://exslt.org/common' extension-element-prefixes='exsl'>"
        "<xsl:template match='/'><exsl:document href='" +
        written + "' method='text'>x</exsl:document></xsl:template></xsl:stylesheet>";
    EXPECT_THROW(TXslTransform(writer).Apply(TXmlDocument("<x/>")), model_error);
    EXPECT_FALSE(fs::exists(written));

    // An import of another stylesheet reaches nothing.
    const std::string importer =
        "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
        "<xsl:import href='file://" +
        secret + "'/></xsl:stylesheet>";
    EXPECT_THROW(TXslTransform{importer}, model_error);
}

TEST(XslTransform, DeepOrBrokenInputEndsWithAnError) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    EXPECT_THROW(TXmlDocument{deep}, model_error);
    EXPECT_THROW(TXmlDocument{"<x>"}, model_error);
    EXPECT_THROW(TXslTransform{"<x/>"}, model_error);

    // A stylesheet that recurses forever stops at the template depth limit.
    const std::string endless =
        "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
        "<xsl:template match='/'><xsl:call-template name='r'/></xsl:template>"
        "<xsl:template name='r'><xsl:call-template name='r'/></xsl:template>"
        "</xsl:stylesheet>";
    EXPECT_THROW(TXslTransform(endless).Apply(TXmlDocument("<x/>")), model_error);

    // Of a pages result only pages with an identifier and an element are written, each as a
    // document of its own; a model without packages has no pages.
    const std::string pages =
        "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
        "<xsl:output method='html' doctype-public='-//W3C//DTD HTML 4.01//EN'/>"
        "<xsl:template match='/'><pages>"
        "<page id='a'><html><body>first</body></html></page>"
        "<page><html><body>no id</body></html></page>"
        "<page id='b'>text only</page>"
        "<other id='c'><html/></other>"
        "<page id='d'>lead<html><body>second</body></html><html>third</html></page>"
        "</pages></xsl:template></xsl:stylesheet>";
    const std::map<std::string, std::string> written =
        TXslTransform(pages).ApplyPages(TXmlDocument("<x/>"));
    ASSERT_EQ(written.size(), 2u);
    for (const auto& [id, text] : written) {
        EXPECT_EQ(text.rfind("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", 0), 0u)
            << text;
    }
    EXPECT_NE(written.at("a").find("<body>first</body>"), std::string::npos);
    EXPECT_NE(written.at("d").find("<body>second</body>"), std::string::npos);
    EXPECT_EQ(written.at("d").find("third"), std::string::npos);
    EXPECT_TRUE(TXslTransform(DocGenResource("p_detail_xsl_file"))
                    .ApplyPages(TXmlDocument("<XMI/>"))
                    .empty());
}

}  // namespace
}  // namespace tarnwell
