// The program's command line and the files "Open folder" collects.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "classwin/uCommandLine.h"
#include "classwin/uOpenFolder.h"
#include "temp_dir.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

TCommandLine Read(std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> list(args);
    return ReadCommandLine(list);
}

TEST(ProgramCommandLine, SwitchesAreReadByTheirFirstTwoCharactersOrWhole) {
    struct switch_case {
        std::vector<std::string_view> args;
        std::optional<std::string> doc;
        std::optional<std::string> xmi;
        std::optional<bool> assoc;
        std::optional<int> filter;
        bool syntax;
        bool trace;
        std::vector<std::string> messages;
    };
    const switch_case cases[] = {
        {{"-v2", "-a-"}, {}, {}, false, 2, false, false, {}},
        {{"-a+"}, {}, {}, true, {}, false, false, {}},
        {{"-a"}, {}, {}, true, {}, false, false, {}},
        {{"-vx"}, {}, {}, {}, 0, false, false, {}},
        {{"-v"}, {}, {}, {}, 0, false, false, {}},
        {{"-v9"}, {}, {}, {}, 3, false, false, {}},
        {{"-xout.xmi"}, {}, "out.xmi", {}, {}, false, false, {}},
        {{"-d/tmp/docs"}, "/tmp/docs", {}, {}, {}, false, false, {}},
        {{"-d"}, "", {}, {}, {}, false, false, {}},
        {{"-dx", "-d/later"}, "/later", {}, {}, {}, false, false, {}},
        {{"-?"}, {}, {}, {}, {}, true, false, {}},
        {{"-help"}, {}, {}, {}, {}, true, false, {}},
        {{"-traceon"}, {}, {}, {}, {}, false, true, {}},
        {{"-Q"}, {}, {}, {}, {}, false, false, {"Ignoring unknown switch: -Q"}},
        // Letter case must match, and whole-word switches take nothing after them.
        {{"-HELP", "-TRACEON", "-helpme"},
         {},
         {},
         {},
         {},
         false,
         false,
         {"Ignoring unknown switch: -HELP", "Ignoring unknown switch: -TRACEON",
          "Ignoring unknown switch: -helpme"}},
        {{"-D/tmp"}, {}, {}, {}, {}, false, false, {"Ignoring unknown switch: -D/tmp"}},
    };
    for (const switch_case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const TCommandLine line = ReadCommandLine(c.args);
        EXPECT_EQ(line.DocFolder, c.doc);
        EXPECT_EQ(line.XmiFile, c.xmi);
        EXPECT_EQ(line.ShowAssoc, c.assoc);
        EXPECT_EQ(line.VisibilityFilter, c.filter);
        EXPECT_EQ(line.ShowSyntax, c.syntax);
        EXPECT_EQ(line.Trace, c.trace);
        EXPECT_EQ(line.Messages, c.messages);
        EXPECT_TRUE(line.Files.empty());
        EXPECT_EQ(line.ClosesAfterwards(), c.doc.has_value() || c.xmi.has_value());
    }
}

TEST(ProgramCommandLine, FilesListsAndWildcardsKeepTheirOrder) {
    const temp_dir dir;
    for (const char* name : {"B.java", "A.java", "C.txt", ".Hidden.java"})
        std::ofstream(dir.path() / name) << "class X {}";
    const std::string folder = dir.path().string();
    std::ofstream(dir.path() / "list") << folder + "/C.txt\r\n\n" + folder + "/*.java\n";
    const TCommandLine line =
        Read({"-a-", (folder + "/A.java").c_str(), ("@" + folder + "/list").c_str()});
    const std::vector<std::string> expected = {folder + "/A.java", folder + "/C.txt",
                                               folder + "/A.java", folder + "/B.java"};
    EXPECT_EQ(line.Files, expected);
    EXPECT_TRUE(line.Messages.empty());

    // A list that cannot be read, or that names itself, is told and the rest goes on.
    std::ofstream(dir.path() / "self") << "@" + folder + "/self\n";
    const TCommandLine broken =
        Read({("@" + folder + "/missing").c_str(), ("@" + folder + "/self").c_str(),
              (folder + "/B.java").c_str()});
    ASSERT_EQ(broken.Messages.size(), 2u);
    EXPECT_NE(broken.Messages[0].find("cannot read"), std::string::npos);
    EXPECT_NE(broken.Messages[1].find("names itself"), std::string::npos);
    EXPECT_EQ(broken.Files, std::vector<std::string>{folder + "/B.java"});
}

TEST(ProgramCommandLine, SyntaxMessage) {
    EXPECT_EQ(CommandLineSyntax("tarnwell"),
              "Syntax: \ttarnwell [options] [@list] [files...]\r\n\r\n"
              "Valid options are:\r\n\r\n"
              "    -d[path]\tGenerate documentation to the path specified\r\n"
              "    -a[+/-]\tShow associations on generated diagrams on/off\r\n"
              "    -v[0-3]\tVisibility filter for generated diagrams\r\n"
              "    -x[file]\tExport model to xmi file\r\n");
}

// a/ holds Z.java, b.JAVA, c.class, .h.java, sub/d.java, sub/up -> a (a loop), e/f.java and a
// link to e/; the links are not followed.
class FolderFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = dir_.path() / "a";
        fs::create_directories(root_ / "sub");
        fs::create_directories(root_ / "e");
        for (const fs::path& file :
             {root_ / "Z.java", root_ / "b.JAVA", root_ / "c.class", root_ / ".h.java",
              root_ / "sub" / "d.java", root_ / "e" / "f.java"}) {
            std::ofstream(file) << "class X {}";
        }
        fs::create_directory_symlink(root_, root_ / "sub" / "up");
        fs::create_directory_symlink(root_ / "e", root_ / "elink");
        fs::create_symlink(root_ / "Z.java", root_ / "zlink.java");
    }
    std::string At(const std::string& name) const { return (root_ / name).string(); }

    temp_dir dir_;
    fs::path root_;
};

TEST_F(FolderFiles, TakesTheChosenTypeSortedWithoutFollowingFolderLinks) {
    struct folder_case {
        std::string extension;
        bool sub;
        std::vector<std::string> files;
    };
    const folder_case cases[] = {
        {".java", false, {At("Z.java"), At("b.JAVA"), At("zlink.java")}},
        {".java",
         true,
         {At("Z.java"), At("b.JAVA"), At("zlink.java"), At("e/f.java"), At("sub/d.java")}},
        {".CLASS", true, {At("c.class")}},
        {".txt", true, {}},
        {"", true, {}},
    };
    for (const folder_case& c : cases) {
        SCOPED_TRACE(c.extension + (c.sub ? " with sub-folders" : ""));
        EXPECT_EQ(CollectFolderFiles({root_.string(), c.extension, c.sub}), c.files);
    }
    EXPECT_TRUE(CollectFolderFiles({(root_ / "none").string(), ".java", true}).empty());
}

}  // namespace
}  // namespace tarnwell
