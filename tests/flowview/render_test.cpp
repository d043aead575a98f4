#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <string>

#include "flowview/cell_painter.h"
#include "flowview/chart_picture.h"
#include "flowview/grid_loading.h"
#include "worked_example.h"

namespace tarnwell {
namespace {

// Runs tarnwell-cli render with `arguments`, with no display and no platform chosen (the
// program must choose off-screen painting itself), and gives its exit status.
int render(const std::string& arguments) {
    const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(TARNWELL_CLI) + " render " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
    };
    for (const call_case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(render(c.arguments), c.status);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("chart.png"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("chart.gif"))));
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
