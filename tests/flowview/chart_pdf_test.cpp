#include "flowview/chart_pdf.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "chart_fixtures.h"
#include "command_output.h"
#include "worked_example.h"

namespace tarnwell {
namespace {

bool have_poppler() {
    return std::system(
               "command -v pdfinfo >/dev/null 2>&1 && command -v pdftotext >/dev/null "
               "2>&1") == 0;
}

class ChartPdf : public testing::Test {
  protected:
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(ChartPdf, PagesCarryHeadersConnectorsAndTheCodeOfEverySymbol) {
    if (!have_poppler()) GTEST_SKIP() << "poppler-utils is not installed";
    const std::string text = c_function_body(6);
    const chart_cells chart = c_chart(text, 0);
    const chart_print print(chart, false, *read_page_format("a4"), "long.c", "tally");
    ASSERT_GT(print.page_count(), 2);
    ASSERT_FALSE(print.plan().connectors.empty());
    const std::string file = path("chart.pdf");
    ASSERT_TRUE(write_chart_pdf(print, QString::fromStdString(file)));

    // The file, with its appended notes, reads without complaint.
    const auto [info_ok, info] = run_command("pdfinfo '" + file + "' 2>&1");
    ASSERT_TRUE(info_ok) << info;
    EXPECT_EQ(info.find("Error"), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           " + std::to_string(print.page_count())),
              std::string::npos)
        << info;

    for (int page = 0; page < print.page_count(); ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        const auto [ok, words] =
            run_command("pdftotext -layout -f " + std::to_string(page + 1) + " -l " +
                        std::to_string(page + 1) + " '" + file + "' - 2>/dev/null");
        ASSERT_TRUE(ok);
        EXPECT_NE(words.find("long.c"), std::string::npos);
        EXPECT_NE(words.find("tally"), std::string::npos);
        EXPECT_NE(words.find("page " + std::to_string(page + 1) + " of " +
                             std::to_string(print.page_count())),
                  std::string::npos);
        for (const offpage_connector& c : print.plan().connectors) {
            if (c.page != page) continue;
            EXPECT_NE(words.find(std::to_string(c.number)), std::string::npos) << c.number;
            EXPECT_NE(words.find("p. " + std::to_string(c.other_page + 1)), std::string::npos);
        }
    }

    // One note per symbol with code, holding that code.
    QFile pdf(QString::fromStdString(file));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    std::size_t with_code = 0;
    for (const chart_cell& cell : chart.cells) with_code += !cell.hint.empty();
    std::size_t areas = 0;
    for (int page = 0; page < print.page_count(); ++page) areas += print.code_areas(page).size();
    EXPECT_EQ(areas, with_code);
    EXPECT_EQ(static_cast<std::size_t>(bytes.count("/Subtype /Square")), with_code);
    const QString first_code = QString::fromStdString(print.code_areas(0).front().code);
    QByteArray utf16 = "<FEFF";
    for (const QChar c : first_code) {
        utf16 += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    }
    EXPECT_TRUE(bytes.contains(utf16 + ">"));
}

TEST_F(ChartPdf, ChartThatFitsIsOnePage) {
    if (!have_poppler()) GTEST_SKIP() << "poppler-utils is not installed";
    const chart_cells chart =
        collect_chart_cells(*read_grid_script(worked_example_script), std::string(70, 'x'), 0);
    for (const char* format : {"a4", "letter", "a3", "300x200-mm"}) {
        SCOPED_TRACE(format);
        const chart_print print(chart, true, *read_page_format(format), "example.c", "");
        EXPECT_EQ(print.page_count(), 1);
        const std::string file = path("one.pdf");
        ASSERT_TRUE(write_chart_pdf(print, QString::fromStdString(file)));
        const auto [ok, info] = run_command("pdfinfo '" + file + "' 2>&1");
        EXPECT_TRUE(ok) << info;
        EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    }
}

TEST_F(ChartPdf, UnwritableFileIsRefused) {
    const chart_cells chart =
        collect_chart_cells(*read_grid_script(worked_example_script), std::string(70, 'x'), 0);
    const chart_print print(chart, false, *read_page_format("a4"), "example.c", "");
    EXPECT_FALSE(write_chart_pdf(print, dir.filePath("no/such/folder/chart.pdf")));
}

}  // namespace
}  // namespace tarnwell
