#include "cli/docs_command.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli_run.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

std::set<std::string> files_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string text_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One package of two classes: the documentation's whole file set, and a map whose areas lead
// to the anchors of the package page.
TEST(DocsCommand, OnePackageGivesItsPagesPicturesAndMaps) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    std::ofstream(folder / "Shape.java")
        << "package geo;\npublic interface Shape { double area(); }\n";
    std::ofstream(folder / "Circle.java")
        << "package geo;\npublic class Circle implements Shape {\n"
           "  private double r;\n  public double area() { return r * r; }\n}\n";
    const fs::path out = folder / "docs";
    std::string printed;
    ASSERT_EQ(test::run_cli("docs -o " + out.string() + " " + (folder / "Circle.java").string() +
                                " " + (folder / "Shape.java").string(),
                            &printed),
              0);
    EXPECT_EQ(printed, out.string() + "/overview.html\n");

    // The package's identifier is the one its page is named after.
    std::string id;
    for (const std::string& name : files_in(out)) {
        if (name.starts_with("p_xmi_") && name.ends_with("_diagram.html")) {
            id = name.substr(2, name.size() - 2 - 13);
        }
    }
    ASSERT_FALSE(id.empty());
    const std::set<std::string> expected = {"styles.css",
                                            "overview.html",
                                            "p_overview.png",
                                            "p_overview_diagram.html",
                                            "p_" + id + ".html",
                                            "p_" + id + ".png",
                                            "p_" + id + "_diagram.html"};
    EXPECT_EQ(files_in(out), expected);

    const std::string map = text_of(out / ("p_" + id + "_diagram.html"));
    EXPECT_EQ(map.rfind("<html> <body>\n<img src=\"p_" + id +
                            ".png\" usemap=\"#map1\">\n"
                            "<map name=\"map1\">\n",
                        0),
              0U);
    const std::string page = text_of(out / ("p_" + id + ".html"));
    int areas = 0;
    for (std::size_t at = map.find("<area href=\"p_" + id + ".html#"); at != std::string::npos;
         at = map.find("<area href=\"p_" + id + ".html#", at + 1)) {
        ++areas;
        const std::size_t start = map.find('#', at) + 1;
        const std::string anchor = map.substr(start, map.find('"', start) - start);
        EXPECT_NE(page.find("<a name=\"" + anchor + "\">"), std::string::npos) << anchor;
    }
    EXPECT_EQ(areas, 2);
    // The picture is a real PNG.
    EXPECT_EQ(text_of(out / ("p_" + id + ".png")).substr(1, 3), "PNG");
}

TEST(DocsCommand, FailedFilesAndUnwritableFolders) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    std::ofstream(folder / "Good.java") << "package p;\npublic class Good {}\n";
    std::ofstream(folder / "Bad.class") << "not a class file";
    std::ofstream(folder / "blocker") << "a file where the folder should be";
    // A folder where a picture should be: the picture is written after its page, on another
    // thread, and its failure still ends the run with the message.
    fs::create_directories(folder / "out3" / "p_overview.png");
    struct call_case {
        std::string arguments;
        int status;
    };
    const call_case cases[] = {
        // A file that cannot be read: the rest is documented all the same.
        {"docs -o " + (folder / "out1").string() + " " + (folder / "Bad.class").string(), 1},
        {"docs -o " + (folder / "blocker" / "sub").string() + " " + (folder / "Good.java").string(),
         2},
        {"docs " + (folder / "Good.java").string(), 2},
        {"docs -o " + (folder / "out2").string(), 2},
        {"docs -o " + (folder / "out3").string() + " " + (folder / "Good.java").string(), 2},
    };
    for (const call_case& c : cases) {
        EXPECT_EQ(test::run_cli(c.arguments), c.status) << c.arguments;
    }
    EXPECT_TRUE(fs::exists(folder / "out1" / "overview.html"));
}

}  // namespace
}  // namespace tarnwell
