#include "officeexport/ooxml_package.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

class PackageFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("ooxml_package_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    // A zip file with the given entries, written by libzip directly.
    std::string zip_with(const std::vector<std::pair<std::string, std::string>>& entries) {
        const std::string path = (folder_ / "made.zip").string();
        int error = 0;
        zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        for (const auto& [name, bytes] : entries) {
            zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
            zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        }
        zip_close(archive);
        return path;
    }
    fs::path folder_;
};

TEST_F(PackageFiles, AWrittenPackageReadsBackPartForPart) {
    ooxml_package package;
    package.set_part("[Content_Types].xml", "<Types/>");
    package.set_part("word/document.xml", std::string("bytes \0 kept", 12));
    const std::string path = (folder_ / "out.docx").string();
    std::string error;
    ASSERT_TRUE(package.write(path, error)) << error;
    const auto read = ooxml_package::read(path, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->parts(), package.parts());
    // Nothing but the document is left in the folder, and it is readable like any new file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_read, fs::perms::none);
}

TEST_F(PackageFiles, AFailedSaveLeavesNothingBehind) {
    ooxml_package package;
    package.set_part("a.xml", "<a/>");
    std::string error;
    EXPECT_FALSE(package.write((folder_ / "missing" / "out.pptx").string(), error));
    EXPECT_FALSE(error.empty());
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(folder_.c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights to any folder";
    EXPECT_FALSE(package.write((folder_ / "out.pptx").string(), error));
    fs::permissions(folder_, fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(PackageFiles, AnExistingDocumentIsReplacedWhole) {
    const std::string path = (folder_ / "out.pptx").string();
    std::string error;
    ooxml_package first;
    first.set_part("a.xml", std::string(5000, 'a'));
    ASSERT_TRUE(first.write(path, error));
    ooxml_package second;
    second.set_part("b.xml", "<b/>");
    ASSERT_TRUE(second.write(path, error));
    EXPECT_EQ(ooxml_package::read(path, error)->parts(), second.parts());
}

TEST_F(PackageFiles, PackagesThatCouldHarmAreRefused) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> entries;
    } cases[] = {
        {"a name climbing out", {{"../evil.xml", "<a/>"}}},
        {"an absolute name", {{"/etc/evil.xml", "<a/>"}}},
        {"a backslash", {{"word\\document.xml", "<a/>"}}},
        {"a dot segment", {{"word/./document.xml", "<a/>"}}},
        {"a part past the size cap",
         {{"big.xml", std::string(ooxml_package::max_part_size + 1, ' ')}}},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ooxml_package::read(zip_with(c.entries), error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    std::string error;
    const std::string text = (folder_ / "text.pptx").string();
    FILE* file = std::fopen(text.c_str(), "w");
    std::fputs("not a zip file", file);
    std::fclose(file);
    EXPECT_FALSE(ooxml_package::read(text, error));
    EXPECT_FALSE(ooxml_package::read((folder_ / "none.pptx").string(), error));
}

TEST(PartNames, RelationshipTargetsResolveInsideThePackage) {
    const struct {
        const char* source;
        const char* target;
        std::optional<std::string> part;
    } cases[] = {
        {"", "ppt/presentation.xml", "ppt/presentation.xml"},
        {"ppt/presentation.xml", "slides/slide1.xml", "ppt/slides/slide1.xml"},
        {"ppt/slides/slide1.xml", "../slideLayouts/slideLayout1.xml",
         "ppt/slideLayouts/slideLayout1.xml"},
        {"word/document.xml", "/word/header1.xml", "word/header1.xml"},
        {"word/document.xml", "./styles.xml", "word/styles.xml"},
        {"word/document.xml", "../../etc/passwd", std::nullopt},
        {"", "..", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resolved_part_name(c.source, c.target), c.part) << c.source << " " << c.target;
    }
}

TEST(PackageParts, RelationshipsAndContentTypesComeFromTheirParts) {
    ooxml_package package;
    package.set_part("[Content_Types].xml",
                     R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="XML" ContentType="application/xml"/>
<Override PartName="/Word/Document.xml" ContentType="main"/></Types>)");
    package.set_part(
        "_rels/.rels",
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="r0" Type="t/external" Target="http://example.com/x" TargetMode="External"/>
<Relationship Id="r1" Type="t/missing" Target="nowhere.xml"/>
<Relationship Id="r2" Type="t/officeDocument" Target="word/document.xml"/>
</Relationships>)");
    package.set_part("word/document.xml", "<d/>");
    package.set_part("word/other.xml", "<o/>");
    const auto relationships = package.relationships("");
    ASSERT_EQ(relationships.size(), 1u);  // external and dangling targets are left out
    EXPECT_EQ(relationships[0].target, "word/document.xml");
    EXPECT_EQ(package.relationship("", "/officeDocument")->id, "r2");
    EXPECT_FALSE(package.relationship("", "/styles"));
    EXPECT_EQ(package.content_type("word/document.xml"), "main");
    EXPECT_EQ(package.content_type("word/other.xml"), "application/xml");
    EXPECT_EQ(package.content_type("word/image.png"), "");
}

}  // namespace
}  // namespace tarnwell
