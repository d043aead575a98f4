#include "classmodel/uFileProvider.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "test_support.h"

namespace tarnwell {
namespace {

using test::data_path;

struct status_lines : IStatusLine {
    void ShowStatus(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

TEST(FileProvider, SearchPathKeepsEachFolderOnceWithItsSlash) {
    TFileProvider provider(nullptr);
    for (const char* folder : {"/src/a", "/src/a/", "", "/src/A", "/src/b/"}) {
        provider.AddSearchPath(folder);
    }
    EXPECT_EQ(provider.SearchPath(), (std::vector<std::string>{"/src/a/", "/src/A/", "/src/b/"}));
}

TEST(FileProvider, LocateFileTakesTheFirstFolderThatHasTheFile) {
    const std::string a = data_path("locate/a/");
    const std::string b = data_path("locate/b/");
    struct locate_case {
        std::string name;
        std::string found;
    };
    const locate_case cases[] = {
        {"Shape.java", b + "Shape.java"},
        {"Both.java", a + "Both.java"},
        {"Missing.java", ""},
        {"Dir.java", ""},
        {"sub/Deep.java", b + "sub/Deep.java"},
        {b + "Shape.java", b + "Shape.java"},
        {a + "Shape.java", ""},
    };
    for (const locate_case& c : cases) {
        TFileProvider provider(nullptr);
        provider.AddSearchPath(a);
        provider.AddSearchPath(b);
        EXPECT_EQ(provider.LocateFile(c.name), c.found) << c.name;
    }
}

TEST(FileProvider, FoldersJoiningLaterAreSearchedAndWinnersJoin) {
    TFileProvider provider(nullptr);
    provider.AddSearchPath(data_path("locate/a"));
    EXPECT_EQ(provider.LocateFile("Shape.java"), "");
    provider.AddSearchPath(data_path("locate/b"));
    EXPECT_EQ(provider.LocateFile("Shape.java"), data_path("locate/b/Shape.java"));
    EXPECT_EQ(provider.LocateFile("sub/Deep.java"), data_path("locate/b/sub/Deep.java"));
    EXPECT_EQ(provider.SearchPath().back(), data_path("locate/b/sub/"));
}

TEST(FileProvider, LoadStreamCountsAndPostsStatusLines) {
    status_lines status;
    {
        TFileProvider provider(&status);
        const std::string shape = data_path("locate/b/Shape.java");
        const auto stream = provider.LoadStream(shape);
        ASSERT_NE(stream, nullptr);
        std::string first_line;
        std::getline(*stream, first_line);
        EXPECT_EQ(first_line, "package located.b;");
        EXPECT_EQ(provider.LoadStream(""), nullptr);
        for (const std::string& bad :
             {data_path("locate/Missing.java"), data_path("locate/a/Dir.java")}) {
            try {
                provider.LoadStream(bad);
                ADD_FAILURE() << "no error for " << bad;
            } catch (const std::system_error& error) {
                EXPECT_NE(std::string(error.what()).find(bad), std::string::npos) << error.what();
            }
        }
        EXPECT_EQ(provider.LoadedCount(), 3);
        EXPECT_EQ(provider.LoadedFiles(), std::vector<std::string>{shape});
        EXPECT_EQ(status.lines.size(), 3u);
        EXPECT_EQ(status.lines.front(), "Reading " + shape);
    }
    EXPECT_EQ(status.lines.back(), "3 files read.");
}

TEST(FileProvider, TheLastStatusLineCountsTheFilesOpened) {
    const std::string shape = data_path("locate/b/Shape.java");
    const std::pair<int, const char*> cases[] = {
        {0, "0 files read."}, {1, "1 file read."}, {2, "2 files read."}};
    for (const auto& [openings, line] : cases) {
        status_lines status;
        {
            TFileProvider provider(&status);
            for (int i = 0; i < openings; ++i) provider.LoadStream(shape);
        }
        EXPECT_EQ(status.lines.back(), line);
    }
}

}  // namespace
}  // namespace tarnwell
