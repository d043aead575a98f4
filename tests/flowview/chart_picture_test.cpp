#include "flowview/chart_picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <string>

#include "chart_fixtures.h"
#include "flowview/cell_painter.h"
#include "flowview/grid_loading.h"
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

TEST_F(ChartPictures, BandsPaintTheSameImageAsOneCanvas) {
    // Frames and antialiased lines reach into the next cell row, so a band that painted only
    // its own rows would differ at band edges.
    const std::string text = c_function_body(3);
    const std::optional<grid_script> script = read_grid_script(c_chart_script(text, 0));
    ASSERT_TRUE(script);
    for (const char* set : {"photo1/", "photo2/"}) {
        SCOPED_TRACE(set);
        broxgrid_model chart;
        chart.set_path((pictures + set).toStdString());
        if (set == std::string("photo2/")) {
            chart.set_cell_size(broxgrid_model::small_width, broxgrid_model::small_height);
        }
        ASSERT_TRUE(load_grid(chart, *script, text, 0));
        chart.set_drawing(true);
        const QImage whole = grid_bitmap(chart, cells, chart.row_count());
        ASSERT_FALSE(whole.isNull());
        for (const int band : {1, 2, 7}) {
            const QImage banded = grid_bitmap(chart, cells, band);
            EXPECT_EQ(banded.colorTable(), whole.colorTable()) << band;
            EXPECT_EQ(banded, whole) << band;
        }
    }
    const QImage label_whole = grid_bitmap(grid, cells, grid.row_count());
    EXPECT_EQ(grid_bitmap(grid, cells, 1), label_whole);
}

TEST(BitmapSize, ChartsTooLargeForOneBitmapAreToldWithTheirSizeAndTheWaysOut) {
    struct size_case {
        qint64 width, height;
        bool fits;
    };
    const size_case cases[] = {
        {325, 363, true},      {520, 247'995, true},  {455, 1'625'184, false}, {1, 1'000'000, true},
        {1, 1'000'001, false}, {1'000'001, 1, false}, {8192, 16384, true},     {8192, 16385, false},
        {0, 10, false},        {10, 0, false},
    };
    for (const size_case& c : cases) {
        EXPECT_EQ(fits_one_bitmap(c.width, c.height), c.fits) << c.width << " x " << c.height;
    }
    const std::string cli = bitmap_too_large_message(455, 1'625'184, true);
    EXPECT_NE(cli.find("455 x 1625184 pixels"), std::string::npos) << cli;
    EXPECT_NE(cli.find("--level"), std::string::npos);
    EXPECT_NE(cli.find("SVG"), std::string::npos);
    EXPECT_NE(cli.find("PDF"), std::string::npos);
    const std::string desktop = bitmap_too_large_message(455, 1'625'184, false);
    EXPECT_EQ(desktop.find("--level"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("expand level"), std::string::npos);
}

// The chart cells of the fixture grid, as the vector pictures take them.
chart_cells cells_of(const broxgrid_model& grid) {
    chart_cells chart;
    chart.column_count = grid.col_count();
    chart.row_count = grid.row_count();
    for (int r = 0; r < grid.row_count(); ++r) {
        for (int c = 0; c < grid.col_count(); ++c) {
            if (grid.cell(c, r).empty()) continue;
            chart_cell cell{{c, r}, grid.cell(c, r), grid.label_text(c, r).value_or(""), {}};
            if (has_code_hint(cell.name)) cell.hint = "code of " + cell.name + " <&>";
            chart.cells.push_back(cell);
        }
    }
    return chart;
}

TEST_F(ChartPictures, SvgDrawsEachSymbolOnceAndTitlesEachCellWithItsCode) {
    const QString file = dir.filePath("chart.svg");
    ASSERT_TRUE(write_chart_svg(cells_of(grid), false, file));
    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<text"));
    EXPECT_TRUE(text.contains("again &amp;"));
    EXPECT_TRUE(text.contains(R"(width="325" height="363")"));
    EXPECT_TRUE(text.contains(">if<"));  // the diamond's caption
    EXPECT_FALSE(text.contains("<image"));
    // Three process boxes, one definition; each box a titled use of it.
    EXPECT_EQ(text.count(R"(<g id="s_P_code">)"), 1);
    EXPECT_EQ(text.count(R"(<use xlink:href="#s_P_code"/>)"), 3);
    EXPECT_EQ(text.count("<title>code of P_code &lt;&amp;&gt;</title>"), 3);
    EXPECT_TRUE(text.contains(R"x(<g transform="translate(130,132)"><title>code of p_if)x"));
    EXPECT_FALSE(text.contains("code of P_downarrow")) << "flow lines carry no code";
    QSvgRenderer renderer(file);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(325, 363));
    QImage drawn(325, 363, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    // The diamond of (2, 4) is drawn where the bitmap has it.
    EXPECT_FALSE(region_is_white(drawn, QRect(2 * 65 + 20, 4 * 33 + 10, 25, 13)));
    EXPECT_TRUE(region_is_white(drawn, QRect(4 * 65 + 2, 1 * 33 + 2, 60, 28)));

    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    const QString png = dir.filePath("chart.png");
    const std::string command =
        "rsvg-convert -o '" + png.toStdString() + "' '" + file.toStdString() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(QImage(png).size(), QSize(325, 363));
}

TEST_F(ChartPictures, SvgIsRefusedWithoutAWritableFile) {
    EXPECT_FALSE(write_chart_svg(cells_of(grid), false, dir.filePath("no/such/folder/chart.svg")));
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/chart.svg")));
}

}  // namespace
}  // namespace tarnwell
