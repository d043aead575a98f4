#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <string>

#include "chart_fixtures.h"
#include "command_output.h"
#include "flowview/cell_painter.h"
#include "flowview/chart_picture.h"
#include "flowview/grid_loading.h"
#include "render_cli.h"
#include "worked_example.h"

namespace tarnwell {
namespace {

const std::string example = TARNWELL_TEST_DATA "/cli/example.c";
const std::string jumps = TARNWELL_TEST_DATA "/flowview/jumps.c";

class Render : public testing::Test {
  protected:
    std::string out(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(Render, BitmapIsTheGridsSaveToBitmapOfTheChart) {
    ASSERT_EQ(render("--lines 2-7 -o " + out("chart.bmp") + " " + example), 0);
    const QImage bitmap(QString::fromStdString(out("chart.bmp")));
    ASSERT_EQ(bitmap.size(), QSize(325, 363));
    EXPECT_EQ(bitmap.format(), QImage::Format_Indexed8);

    broxgrid_model grid;
    grid.set_path(TARNWELL_PICTURES "photo1/");
    ASSERT_TRUE(load_grid(grid, *read_grid_script(worked_example_script), "", 0));
    grid.set_drawing(true);
    cell_painter cells;
    const QImage expected = grid_bitmap(grid, cells);
    EXPECT_EQ(bitmap.convertToFormat(QImage::Format_RGB32),
              expected.convertToFormat(QImage::Format_RGB32));

    ASSERT_EQ(render("--lines 2-7 -o " + out("chart.png") + " " + example), 0);
    const QImage png(QString::fromStdString(out("chart.png")));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              bitmap.convertToFormat(QImage::Format_RGB32));
}

TEST_F(Render, SmallSetAndLevelsChangeThePicture) {
    ASSERT_EQ(render("--small --lines 2-7 -o " + out("small.png") + " " + example), 0);
    EXPECT_EQ(QImage(QString::fromStdString(out("small.png"))).size(), QSize(5 * 27, 11 * 21));
    // Level code 1: start, one block, end in a grid of 4 x 7.
    ASSERT_EQ(render("--level 1 --lines 2-7 -o " + out("block.bmp") + " " + example), 0);
    EXPECT_EQ(QImage(QString::fromStdString(out("block.bmp"))).size(), QSize(3 * 65, 6 * 33));
}

TEST_F(Render, SvgIsAVectorDrawingWithLabelTexts) {
    ASSERT_EQ(render("-o " + out("jumps.svg") + " " + jumps), 0);
    QFile file(QString::fromStdString(out("jumps.svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_TRUE(svg.contains(">again:<"));
    EXPECT_TRUE(svg.contains(">goto<"));  // "goto again;" broken at the space
    EXPECT_TRUE(svg.contains(">again;<"));
    EXPECT_FALSE(svg.contains("<image"));
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    // The boxes carry their code as titles that a browser shows on hover.
    EXPECT_TRUE(svg.contains("<title>"));
}

TEST_F(Render, PdfPagesOfTheChosenFormat) {
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    struct page_case {
        std::string page;
        std::string size;
    };
    const page_case cases[] = {
        {"", "595 x 842 pts (A4)"},
        {"--page letter ", "612 x 792 pts (letter)"},
        {"--page=A3 ", "842 x 1191 pts (A3)"},
        {"--page 100x150-mm ", "283 x 425 pts"},
    };
    for (const page_case& c : cases) {
        SCOPED_TRACE(c.page);
        ASSERT_EQ(render(c.page + "-o " + out("chart.pdf") + " " + jumps), 0);
        const std::string info = output_of("pdfinfo " + out("chart.pdf"));
        EXPECT_NE(info.find("Page size:       " + c.size), std::string::npos) << info;
        EXPECT_NE(info.find("Pages:           "), std::string::npos) << info;
    }
}

TEST_F(Render, ChartTooLargeForOneBitmapIsToldWithItsSizeAndWritesNothing) {
    // About 32,000 lines charted at every level: far taller than a bitmap may be.
    const std::string source = out("long.c");
    QFile file(QString::fromStdString(source));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(c_function_body(1600)));
    file.close();
    for (const char* picture : {"long.png", "long.bmp"}) {
        SCOPED_TRACE(picture);
        const std::string message =
            output_of("env -u DISPLAY " + std::string(TARNWELL_CLI) + " render -o " + out(picture) +
                      " " + source + " 2>&1; echo status $?");
        EXPECT_NE(message.find("pixels, too large for one bitmap"), std::string::npos) << message;
        EXPECT_NE(message.find("--level"), std::string::npos);
        EXPECT_NE(message.find("status 2"), std::string::npos);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(out(picture))));
    }
}

TEST_F(Render, WrongCallsWriteNothing) {
    struct call_case {
        std::string arguments;
        int status;
    };
    const call_case cases[] = {
        {"-o " + out("chart.gif") + " " + example, 2},
        {example, 2},
        {"-o " + out("no/such/folder/chart.png") + " " + example, 2},
        {"-o " + out("chart.png") + " " + out("missing.c"), 2},
        {"--lines 7-2 -o " + out("chart.png") + " " + example, 2},
        {"--page a5 -o " + out("chart.pdf") + " " + example, 2},
        {"--page a4 -o " + out("chart.png") + " " + example, 2},
        {"--page -o " + out("chart.pdf") + " " + example, 2},
    };
    for (const call_case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(render(c.arguments), c.status);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("chart.png"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("chart.gif"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("chart.pdf"))));
}

TEST_F(Render, ParseErrorStillDrawsWhatWasLaidOut) {
    const std::string source = out("broken.c");
    QFile file(QString::fromStdString(source));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x = 1;\nwhile (x) {\n  y();\n");
    file.close();
    EXPECT_EQ(render("--lang c -o " + out("broken.png") + " " + source), 1);
    EXPECT_FALSE(QImage(QString::fromStdString(out("broken.png"))).isNull());
}

}  // namespace
}  // namespace tarnwell
