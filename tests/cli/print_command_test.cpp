// tarnwell-cli print, read back with the PDF tools a user has: pdfinfo for the page count,
// pdftotext for the header, footer and body texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// What a shell command writes on standard output; its exit status in `status`.
std::string output_of(const std::string& command, int* status = nullptr) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        const int code = pclose(pipe);
        if (status != nullptr) *status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    }
    return out;
}

int pdf_pages(const fs::path& pdf) {
    std::smatch found;
    const std::string info = output_of("pdfinfo '" + pdf.string() + "'");
    return std::regex_search(info, found, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(found[1])
                                                                          : -1;
}

// The text of one page (from 1), as pdftotext reads it in reading order.
std::string page_text(const fs::path& pdf, int page) {
    const std::string n = std::to_string(page);
    return output_of("pdftotext -f " + n + " -l " + n + " '" + pdf.string() + "' -");
}

class PrintCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        // One folder per test: ctest runs the tests of this suite side by side.
        dir_ = fs::path(::testing::TempDir()) /
               (std::string("tarnwell-print-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path put(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return dir_ / name;
    }
    int print(const fs::path& source, const fs::path& pdf, const std::string& options = "") {
        int status = -1;
        printed_ = output_of(std::string(TARNWELL_CLI) + " print " + options + " -o '" +
                                 pdf.string() + "' '" + source.string() + "' 2>/dev/null",
                             &status);
        return status;
    }
    fs::path dir_;
    std::string printed_;
};

TEST_F(PrintCommand, PrintsTheSampleWithHeaderAndFooter) {
    const fs::path pdf = dir_ / "sample.pdf";
    ASSERT_EQ(print(TARNWELL_SAMPLE, pdf), 0);
    EXPECT_EQ(printed_, "1 page\n");
    EXPECT_EQ(pdf_pages(pdf), 1);
    const std::string text = page_text(pdf, 1);
    for (const char* expected :
         {"This is the first line in the header", "Page: 1 of 1", "Array.java",
          "Print Date: ", ". Time: ", "Printed by Tarnwell", "1/1", "public class Array {",
          "private int[] items = new int[4];"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
}

// Every line on exactly one page, in order, and every page told its number and the count
// that the pagination knew before page one was drawn.
TEST_F(PrintCommand, NumbersEveryPageOfALongFile) {
    std::string source;
    for (int i = 1; i <= 300; ++i) source += "int line_" + std::to_string(1000 + i) + ";\n";
    const fs::path pdf = dir_ / "long.pdf";
    ASSERT_EQ(print(put("long.c", source), pdf), 0);
    const int pages = pdf_pages(pdf);
    ASSERT_GT(pages, 2);
    EXPECT_EQ(printed_, std::to_string(pages) + " pages\n");
    int next_line = 1;
    for (int page = 1; page <= pages; ++page) {
        const std::string text = page_text(pdf, page);
        const std::string count = std::to_string(pages);
        EXPECT_NE(text.find("Page: " + std::to_string(page) + " of " + count), std::string::npos)
            << page;
        EXPECT_NE(text.find(std::to_string(page) + "/" + count), std::string::npos) << page;
        std::size_t at = 0;
        while ((at = text.find("int line_", at)) != std::string::npos) {
            EXPECT_EQ(text.substr(at + 9, 4), std::to_string(1000 + next_line)) << page;
            ++next_line;
            at += 9;
        }
    }
    EXPECT_EQ(next_line, 301);
}

TEST_F(PrintCommand, PrintsATitleThatLooksLikeAMacroAsItIs) {
    const fs::path pdf = dir_ / "macro.pdf";
    ASSERT_EQ(print(put("$PAGECOUNT$.c", "int a;\n"), pdf, "--lang c"), 0);
    const std::string text = page_text(pdf, 1);
    EXPECT_NE(text.find("$PAGECOUNT$.c"), std::string::npos) << text;
    EXPECT_NE(text.find("Page: 1 of 1"), std::string::npos) << text;
}

TEST_F(PrintCommand, RefusesWhatItCannotDo) {
    EXPECT_EQ(print(dir_ / "missing.c", dir_ / "out.pdf"), 2);
    EXPECT_EQ(print(put("a.c", "int a;\n"), dir_ / "no" / "such" / "folder" / "out.pdf"), 2);
    EXPECT_FALSE(fs::exists(dir_ / "out.pdf"));
    int status = -1;
    output_of(std::string(TARNWELL_CLI) + " print '" + (dir_ / "a.c").string() + "' 2>/dev/null",
              &status);
    EXPECT_EQ(status, 2);
}

}  // namespace
