#include "workspace/file_store.h"

#include "temp_dir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

class FileStore : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static void put(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& file) {
        const file_read read = read_file(file);
        EXPECT_TRUE(read.ok) << read.error;
        return read.bytes;
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    temp_dir temp_;
    const fs::path& dir_ = temp_.path();
};

TEST(BackupPath, ReplacesTheExtension) {
    EXPECT_EQ(backup_path_of("/src/prog.java"), "/src/prog.vbak");
    EXPECT_EQ(backup_path_of("/src/a.b.cpp"), "/src/a.b.vbak");
    EXPECT_EQ(backup_path_of("/src/Makefile"), "/src/Makefile.vbak");
    EXPECT_EQ(backup_path_of("/src.d/.profile"), "/src.d/.profile.vbak");
}

TEST_F(FileStore, SaveKeepsThePreviousVersionAsBackup) {
    const std::string prog = path("prog.java");
    put(prog, "one\n");
    ASSERT_EQ(save_with_backup(prog, "two\n"), "");
    EXPECT_EQ(get(prog), "two\n");
    EXPECT_EQ(get(path("prog.vbak")), "one\n");
    ASSERT_EQ(save_with_backup(prog, "three\n"), "");
    EXPECT_EQ(get(prog), "three\n");
    EXPECT_EQ(get(path("prog.vbak")), "two\n");
    EXPECT_EQ(entries(), 2u);  // no temporary file left behind
}

TEST_F(FileStore, SavingANewFileMakesNoBackup) {
    ASSERT_EQ(save_with_backup(path("new.cpp"), "int x;"), "");
    EXPECT_EQ(get(path("new.cpp")), "int x;");
    EXPECT_FALSE(fs::exists(path("new.vbak")));
}

TEST_F(FileStore, SaveKeepsPermissionsAndWritesThroughLinks) {
    const std::string target = path("real.c");
    put(target, "old");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink(target, path("link.c"));
    ASSERT_EQ(save_with_backup(path("link.c"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(path("link.c")));
    EXPECT_EQ(get(target), "new");
    EXPECT_EQ(get(path("real.vbak")), "old");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A write cut short (here by the file size limit, which holds even for root) leaves the file
// and its backup as they were and reports the system's text.
TEST_F(FileStore, FailedWriteLeavesFileAndBackupIntact) {
    const std::string prog = path("prog.java");
    put(prog, "original\n");
    put(path("prog.vbak"), "older\n");
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string error = save_with_backup(prog, std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_handler);

    EXPECT_NE(error.find(prog), std::string::npos) << error;
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_EQ(get(prog), "original\n");
    EXPECT_EQ(get(path("prog.vbak")), "older\n");
    EXPECT_EQ(entries(), 2u);
}

TEST_F(FileStore, ReadingReportsWhatIsWrong) {
    const file_read missing = read_file(path("missing.c"));
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;
    const file_read folder = read_file(dir_.string());
    EXPECT_FALSE(folder.ok);
    EXPECT_NE(folder.error.find("directory"), std::string::npos) << folder.error;
    const std::string bytes("a\0b\r\n\xff", 6);
    put(path("bytes.bin"), bytes);
    EXPECT_EQ(get(path("bytes.bin")), bytes);
}

TEST_F(FileStore, WriteIntoAMissingFolderFails) {
    EXPECT_NE(write_file(path("no/such/dir/file.html"), "x"), "");
}

}  // namespace
}  // namespace tarnwell
