#include "flowview/chart_picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <string>

#include "flowview/cell_painter.h"
#include "flowview/symbol_painter.h"
#include "layout/grid_script.h"
#include "picture_checks.h"
#include "worked_example.h"

namespace tarnwell {
namespace {

const QString pictures = TARNWELL_PICTURES;

// The edges whose midpoints each symbol's lines reach (T top, B bottom, L left, R right):
// the joins of the connector pieces, and where the flow enters and leaves each node.
const std::map<std::string, std::string> symbol_edges = {
    {"p_start", "B"},
    {"p_end", "T"},
    {"p_statement", "TB"},
    {"P_code", "TB"},
    {"P_return", "T"},
    {"P_exit", "T"},
    {"P_break", "T"},
    {"P_continue", "T"},
    {"p_label", "TB"},
    {"p_goto", "T"},
    {"p_except", "TB"},
    {"p_if", "TBLR"},
    {"p_if2", "TB"},
    {"P_switch", "TB"},
    {"p_switch2", "TB"},
    {"P_case", "TRB"},
    {"p_else", "TRB"},
    {"P_diamond", "TB"},
    {"P_for", "TBLR"},
    {"p_for2", "TB"},
    {"P_WHILE", "TBLR"},
    {"p_whiledo", "TB"},
    {"p_dowhile", "TB"},
    {"P_until", "TBLR"},
    {"p_untildo", "TB"},
    {"p_dountil", "TB"},
    {"P_downarrow", "TB"},
    {"P_truearrow", "TB"},
    {"P_falsearrow", "TB"},
    {"P_vline", "TB"},
    {"p_truehline", "TB"},
    {"p_falsehline", "TB"},
    {"P_hline", "LR"},
    {"P_trueline", "LR"},
    {"P_falseline", "LR"},
    {"P_leftarrow", "LR"},
    {"P_rightarrow", "LR"},
    {"P_leftturn", "TR"},
    {"p_leftturntrue", "TR"},
    {"p_leftturnfalse", "TR"},
    {"P_rightturn", "TL"},
    {"p_rightturnuptrue", "TL"},
    {"p_rightturnupfalse", "TL"},
    {"p_rightarrowturn", "TL"},
    {"P_rightdownturn", "LB"},
    {"p_rightturntrue", "LB"},
    {"p_rightturnfalse", "LB"},
    {"p_rightdownturnarrow", "LB"},
    {"p_rightdownturnfalsearrow", "LB"},
    {"P_leftupturn", "RB"},
    {"p_rightturnarrow", "RB"},
    {"p_leftdownturnarrow", "RB"},
    {"p_leftdownturntruearrow", "RB"},
    {"p_rightanddownarrow", "TLB"},
    {"p_rightarrowhline", "TLB"},
    {"p_leftcross", "TLB"},
    {"p_leftcrossarrow", "TLB"},
    {"p_leftanddownarrow", "TRB"},
    {"P_lefttruearrow", "TRB"},
    {"P_leftfalsearrow", "TRB"},
    {"p_rightcrossarrow", "TRB"},
    {"p_lefttruehline", "TRB"},
    {"p_leftfalsehline", "TRB"},
    {"p_threearrow", "LRB"},
    {"p_connectarrow", "LRB"},
    {"p_connecttruearrow", "LRB"},
    {"p_leftandrightarrow", "LRB"},
    {"p_connect", "TLR"},
    {"p_connecttrue", "TLR"},
    {"p_connecfalse", "TLR"},
};

bool dark(QRgb c) {
    return qGray(c) < 128;
}

TEST(SymbolPictures, EverySymbolReachesExactlyTheEdgeMidpointsItJoins) {
    ASSERT_EQ(symbol_edges.size(), 70u);
    for (const char* folder : {"photo1", "photo2"}) {
        const QSize size = folder == std::string("photo1") ? QSize(65, 33) : QSize(27, 21);
        for (int i = 1; i <= symbol_count; ++i) {
            const std::string_view name = symbol_name(static_cast<symbol>(i));
            SCOPED_TRACE(std::string(folder) + "/" + std::string(name));
            const auto expected = symbol_edges.find(std::string(name));
            ASSERT_NE(expected, symbol_edges.end());
            const QImage file(pictures + folder + "/" +
                              QString::fromLatin1(name.data(), name.size()) + ".bmp");
            ASSERT_EQ(file.size(), size);
            EXPECT_EQ(file.format(), QImage::Format_Indexed8);
            const int w = size.width(), h = size.height();
            // The lines are one pixel wide and sit on the midpoint pixel of the edge they reach.
            const std::map<char, bool> reached = {
                {'T', dark(file.pixel(w / 2, 0))},
                {'B', dark(file.pixel(w / 2, h - 1))},
                {'L', dark(file.pixel(0, h / 2))},
                {'R', dark(file.pixel(w - 1, h / 2))},
            };
            for (const auto& [edge, inked] : reached) {
                SCOPED_TRACE(std::string(1, edge));
                EXPECT_EQ(inked, expected->second.find(edge) != std::string::npos);
            }
        }
    }
}

TEST(SymbolPainter, DrawsIntoAnyRectangleAndRefusesUnknownNames) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_FALSE(
        paint_symbol(painter, QRectF(0, 0, 200, 100), "p_connectfalse", symbol_set::large));
    EXPECT_FALSE(paint_symbol(painter, QRectF(0, 0, 200, 100), "", symbol_set::small));
    EXPECT_TRUE(region_is_white(image, image.rect()));
    EXPECT_TRUE(paint_symbol(painter, QRectF(50, 20, 130, 66), "P_hline", symbol_set::large));
    painter.end();
    // Stretched to twice the large cell: the line runs across the whole target at mid height.
    EXPECT_TRUE(dark(image.pixel(51, 53)));
    EXPECT_TRUE(dark(image.pixel(178, 53)));
    EXPECT_EQ(image.pixel(49, 53), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(181, 53), qRgb(255, 255, 255));
}

TEST(ChartPalette, HoldsTheColoursOfSymbolsFramesAndLabels) {
    const QList<QRgb> palette = chart_palette();
    EXPECT_LE(palette.size(), 256);
    for (QRgb c : {qRgb(255, 255, 255), qRgb(0, 0, 0), cell_painter::highlight_colour,
                   cell_painter::label_frame_colour, cell_painter::label_text_colour}) {
        EXPECT_TRUE(palette.contains(c)) << std::hex << c;
    }
}

TEST(ChartPalette, EightBitCopiesKeepFewColoursExactlyAndMapManyToTheNearest) {
    QImage few(4, 1, QImage::Format_RGB32);
    const QRgb odd = qRgb(17, 130, 201);
    few.setPixel(0, 0, qRgb(255, 255, 255));
    few.setPixel(1, 0, odd);
    few.setPixel(2, 0, qRgb(1, 2, 3));
    few.setPixel(3, 0, odd);
    const QImage exact = to_indexed8(few);
    EXPECT_EQ(exact.format(), QImage::Format_Indexed8);
    EXPECT_EQ(exact.convertToFormat(QImage::Format_RGB32), few);

    QImage many(300, 1, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x) many.setPixel(x, 0, qRgb(x % 256, 255 - x % 256, x / 2));
    many.setPixel(0, 0, qRgb(250, 2, 3));  // nearest palette colour: pure red
    const QImage mapped = to_indexed8(many);
    EXPECT_EQ(mapped.format(), QImage::Format_Indexed8);
    EXPECT_EQ(mapped.colorTable(), chart_palette());
    EXPECT_EQ(mapped.pixel(0, 0), qRgb(255, 0, 0));
}

class ChartPictures : public testing::Test {
  protected:
    void SetUp() override {
        grid.set_path((pictures + "photo1/").toStdString());
        grid.resize(6, 12);
        for (const example_cell& c : worked_example_cells) grid.set_cell(c.column, c.row, c.name);
        grid.set_cell(3, 7, "p_label");
        grid.set_script("(3,7,again & again)");
        grid.set_drawing(true);
    }

    broxgrid_model grid;
    cell_painter cells;
    QTemporaryDir dir;
};

TEST_F(ChartPictures, BitmapOfTheLargeSetDrawsLabelsAsFramedText) {
    const QImage image = grid_bitmap(grid, cells).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(325, 363));
    const QRect label(3 * 65, 7 * 33, 65, 33);
    EXPECT_GT(count_colour(image, label, cell_painter::label_text_colour), 0);
    EXPECT_EQ(image.pixel(label.left(), label.top() + 10), cell_painter::label_frame_colour);

    grid.set_drawing(false);
    EXPECT_TRUE(grid_bitmap(grid, cells).isNull());
    grid.set_drawing(true);
    grid.resize(1, 12);  // an image 0 pixels wide: nothing to save
    EXPECT_TRUE(grid_bitmap(grid, cells).isNull());
}

TEST_F(ChartPictures, SvgIsAVectorDrawingWithTheLabelsAsText) {
    const QString file = dir.filePath("chart.svg");
    ASSERT_TRUE(write_grid_svg(grid, file));
    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<text"));
    EXPECT_TRUE(text.contains("again &amp;"));
    EXPECT_TRUE(text.contains(R"(<svg width="325" height="363")"));
    EXPECT_TRUE(text.contains(">if<"));  // the diamond's caption
    EXPECT_FALSE(text.contains("<image"));
    const QSvgRenderer renderer(file);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(325, 363));

    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    const QString png = dir.filePath("chart.png");
    const std::string command =
        "rsvg-convert -o '" + png.toStdString() + "' '" + file.toStdString() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(QImage(png).size(), QSize(325, 363));
}

TEST_F(ChartPictures, SvgIsRefusedWithoutDrawingOrAWritableFile) {
    grid.set_drawing(false);
    EXPECT_FALSE(write_grid_svg(grid, dir.filePath("off.svg")));
    grid.set_drawing(true);
    EXPECT_FALSE(write_grid_svg(grid, dir.filePath("no/such/folder/chart.svg")));
}

}  // namespace
}  // namespace tarnwell
