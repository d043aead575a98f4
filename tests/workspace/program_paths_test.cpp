#include "workspace/program_paths.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

class ProgramPaths : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "share" / "tarnwell" / "sample");
    }

    temp_dir temp_;
    const fs::path& root_ = temp_.path();
};

TEST_F(ProgramPaths, DataBesideTheProgramComesFirst) {
    fs::create_directories(root_ / "bin" / "sample");
    const program_paths paths = resolve_program_paths(root_ / "bin", nullptr, "/home/u");
    EXPECT_EQ(paths.program_dir, root_ / "bin");
    EXPECT_EQ(paths.sample_file(), (root_ / "bin" / "sample" / "Array.java").string());
    EXPECT_EQ(paths.picture_folder(), (root_ / "bin" / "photo1").string() + "/");
    EXPECT_EQ(paths.ini_file(), (root_ / "bin" / "tarnwell.ini").string());
}

TEST_F(ProgramPaths, InstalledDataLiesInShare) {
    const program_paths paths = resolve_program_paths(root_ / "bin", nullptr, "/home/u");
    EXPECT_EQ(paths.program_dir, root_ / "share" / "tarnwell");
    EXPECT_EQ(paths.help_file(), (root_ / "share" / "tarnwell" / "help" / "index.html").string());
}

// A program folder the program cannot write to (here one that is not there at all) sends
// the settings to the user's configuration folder.
TEST_F(ProgramPaths, SettingsGoToTheConfigurationFolderWhenTheProgramFolderIsClosed) {
    const fs::path closed = root_ / "missing";
    EXPECT_EQ(resolve_program_paths(closed, "/cfg", "/home/u").ini_file(),
              "/cfg/tarnwell/tarnwell.ini");
    EXPECT_EQ(resolve_program_paths(closed, nullptr, "/home/u").ini_file(),
              "/home/u/.config/tarnwell/tarnwell.ini");
    EXPECT_EQ(resolve_program_paths(closed, "relative", "/home/u").ini_file(),
              "/home/u/.config/tarnwell/tarnwell.ini");
}

}  // namespace
}  // namespace tarnwell
