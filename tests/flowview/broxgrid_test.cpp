#include "flowview/broxgrid.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "picture_checks.h"
#include "worked_example.h"

namespace tarnwell {
namespace {

const QString pictures = TARNWELL_PICTURES;  // holds photo1/ and photo2/
const QRgb red = qRgb(255, 0, 0);
const QRgb green = qRgb(0, 128, 0);

QImage picture(const QString& folder, const char* name) {
    return QImage(pictures + folder + "/" + name + ".bmp");
}

class Broxgrid : public testing::Test {
  protected:
    void SetUp() override {
        // Fixed scroll bars keep the viewport the size the geometry below expects.
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.resize(6 * 65, 12 * 33);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void load_example(const QString& folder) {
        grid.set_path((folder.endsWith('/') ? folder : folder + "/").toStdString());
        grid.resize_grid(6, 12);
        for (const example_cell& c : worked_example_cells) grid.set_cell(c.column, c.row, c.name);
        grid.set_drawing(true, true);
    }

    QImage shot() {
        return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QRect cell(int column, int row) const { return QRect(column * 65, row * 33, 65, 33); }

    tbroxgrid grid;
};

TEST_F(Broxgrid, PaintsTheWorkedExampleFromItsPicturesAndFramesTheDiamond) {
    load_example(pictures + "photo1");
    QImage image = shot();
    for (const example_cell& c : worked_example_cells) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(region_equals(image, cell(c.column, c.row), picture("photo1", c.name)));
    }
    EXPECT_TRUE(region_is_white(image, cell(2, 5)));
    EXPECT_TRUE(region_is_white(image, cell(4, 4)));
    EXPECT_EQ(count_colour(image, image.rect(), red), 0);

    grid.set_x(2);
    grid.set_y(4);
    grid.viewport()->repaint();
    image = shot();
    // An even band three pixels wide around the cell; the symbol inside keeps its outline.
    const QRect diamond = cell(2, 4);
    EXPECT_TRUE(region_equals(image, diamond, picture("photo1", "p_if")));
    const QPoint middle = diamond.center();
    for (int d : {1, 2, 3}) {
        EXPECT_EQ(image.pixel(diamond.left() - d, middle.y()), red) << d;
        EXPECT_EQ(image.pixel(diamond.right() + d, middle.y()), red) << d;
        EXPECT_EQ(image.pixel(middle.x(), diamond.top() - d), red) << d;
        EXPECT_EQ(image.pixel(middle.x(), diamond.bottom() + d), red) << d;
        EXPECT_EQ(image.pixel(diamond.right() + d, diamond.bottom() + d), red) << d;
    }
    for (const QPoint beyond :
         {QPoint(diamond.left() - 4, middle.y()), QPoint(diamond.right() + 4, middle.y()),
          QPoint(middle.x(), diamond.top() - 4), QPoint(middle.x(), diamond.bottom() + 4)}) {
        EXPECT_NE(image.pixel(beyond), red) << beyond.x() << "," << beyond.y();
    }

    // At the edge of the view the frame's outer side is drawn just inside the cell.
    grid.set_cell(0, 0, "P_code");
    grid.set_x(0);
    grid.set_y(0);
    grid.viewport()->repaint();
    image = shot();
    const QRect corner = cell(0, 0);
    for (int d : {0, 1, 2}) {
        EXPECT_EQ(image.pixel(corner.left() + d, corner.center().y()), red) << d;
        EXPECT_EQ(image.pixel(corner.center().x(), corner.top() + d), red) << d;
    }
    EXPECT_EQ(image.pixel(corner.right() + 1, corner.center().y()), red);
    EXPECT_EQ(count_colour(image, cell(2, 4).adjusted(-3, -3, 3, 3), red), 0);
}

TEST_F(Broxgrid, ClicksOnOccupiedCellsOnlyRaiseTheEvent) {
    load_example(pictures + "photo1");
    QSignalSpy clicks(&grid, &tbroxgrid::Oncellclick);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell(2, 5).center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell(0, 0).center());
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell(2, 4).center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 4);
    // The grid itself moves no highlight: that is the owner's answer to the event.
    EXPECT_EQ(grid.x(), -1);
    EXPECT_EQ(grid.y(), -1);
}

TEST_F(Broxgrid, SaveToBitmapIsAnEightBitImageWithoutTheHighlight) {
    load_example(pictures + "photo1");
    grid.set_x(2);
    grid.set_y(4);
    const QTemporaryDir dir;
    const QString file = dir.filePath("chart.layer3.bmp");
    ASSERT_TRUE(grid.save_to_bitmap(file));

    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray header = raw.read(54);
    ASSERT_EQ(header.size(), 54);
    EXPECT_EQ(header.left(2), "BM");
    const auto le32 = [&](int at) {
        return static_cast<qint32>(static_cast<quint8>(header[at]) |
                                   static_cast<quint8>(header[at + 1]) << 8 |
                                   static_cast<quint8>(header[at + 2]) << 16 |
                                   static_cast<quint32>(static_cast<quint8>(header[at + 3])) << 24);
    };
    EXPECT_EQ(le32(18), 325);
    EXPECT_EQ(std::abs(le32(22)), 363);
    EXPECT_EQ(static_cast<quint8>(header[28]), 8);  // bits per pixel

    const QImage saved(file);
    ASSERT_EQ(saved.size(), QSize(325, 363));
    for (const example_cell& c : worked_example_cells) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(region_equals(saved, cell(c.column, c.row), picture("photo1", c.name)));
    }
    EXPECT_EQ(count_colour(saved.convertToFormat(QImage::Format_RGB32), saved.rect(), red), 0);
}

TEST_F(Broxgrid, SmallSetPaintsJumpLabelsFromPictures) {
    load_example(pictures + "photo1");
    grid.set_cell(3, 7, "p_label");
    grid.set_cell(1, 7, "p_goto");
    grid.set_cell(3, 9, "p_label");  // no entry in the label texts
    grid.set_script("(3,7,again:)(1,7,goto again)");
    QImage image = shot();
    EXPECT_GT(count_colour(image, cell(3, 7), qRgb(0, 0, 255)), 0);
    EXPECT_EQ(image.pixel(cell(3, 7).left(), cell(3, 7).center().y()), green);
    EXPECT_GT(count_colour(image, cell(1, 7), qRgb(0, 0, 255)), 0);
    EXPECT_TRUE(region_is_white(image, cell(3, 9).adjusted(2, 2, -2, -2)));

    grid.set_path((pictures + "photo2/").toStdString());
    grid.set_cell_size(27, 21);
    image = shot();
    const auto small = [](int c, int r) { return QRect(c * 27, r * 21, 27, 21); };
    EXPECT_TRUE(region_equals(image, small(3, 7), picture("photo2", "p_label")));
    EXPECT_TRUE(region_equals(image, small(1, 7), picture("photo2", "p_goto")));
    EXPECT_TRUE(region_equals(image, small(3, 9), picture("photo2", "p_label")));
    EXPECT_TRUE(region_equals(image, small(2, 4), picture("photo2", "p_if")));
}

TEST_F(Broxgrid, UnreadablePicturesLeaveTheirCellsEmptyAndChangedOnesAreReadAgain) {
    const QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(pictures + "photo1/p_if.bmp", dir.filePath("p_if.bmp")));
    QFile garbage(dir.filePath("P_code.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM not a bitmap");
    garbage.close();
    load_example(dir.path());
    QImage image = shot();
    EXPECT_TRUE(region_equals(image, cell(2, 4), picture("photo1", "p_if")));
    EXPECT_TRUE(region_is_white(image, cell(2, 2)));
    EXPECT_TRUE(region_is_white(image, cell(2, 1)));

    // A user who replaces a picture sees the new one at the next paint.
    QFile::remove(dir.filePath("p_if.bmp"));
    ASSERT_TRUE(QFile::copy(pictures + "photo1/P_case.bmp", dir.filePath("p_if.bmp")));
    QFile replaced(dir.filePath("p_if.bmp"));
    ASSERT_TRUE(replaced.open(QIODevice::ReadWrite));
    ASSERT_TRUE(replaced.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                     QFileDevice::FileModificationTime));
    replaced.close();
    grid.viewport()->repaint();
    image = shot();
    EXPECT_TRUE(region_equals(image, cell(2, 4), picture("photo1", "P_case")));
}

TEST_F(Broxgrid, NothingIsDrawnOrSavedWhileDrawingIsDisabled) {
    load_example(pictures + "photo1");
    grid.set_drawing(false, true);
    EXPECT_TRUE(region_is_white(shot(), QRect(0, 0, 6 * 65, 12 * 33)));
    const QTemporaryDir dir;
    EXPECT_FALSE(grid.save_to_bitmap(dir.filePath("chart.bmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("chart.bmp")));

    grid.set_drawing(true, false);
    grid.resize_grid(0, 3);  // refused: the cells stay
    EXPECT_EQ(grid.cell(2, 4), "p_if");
    grid.resize_grid(6, 12);
    EXPECT_EQ(grid.cell(2, 4), "");
    EXPECT_TRUE(grid.drawing_enabled());
}

TEST_F(Broxgrid, ScrollsByWholeCellsWithTheWheelAndCentreOn) {
    load_example(pictures + "photo1");
    grid.resize(2 * 65, 4 * 33);  // 2 of 6 columns and 4 of 12 rows visible
    grid.center_on(4, 9);
    EXPECT_EQ(grid.scroll(), (scroll_position{3, 7}));
    grid.center_on(0, 0);
    EXPECT_EQ(grid.scroll(), (scroll_position{0, 0}));

    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(10, 10), grid.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    };
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(grid.scroll().top_row, 2);
    wheel(120);
    EXPECT_EQ(grid.scroll().top_row, 1);
    for (int i = 0; i < 20; ++i) wheel(-120);
    EXPECT_EQ(grid.scroll().top_row, 8);  // rows 8 to 11 fill the view

    // Scrolled, a click still lands on the cell under the mouse.
    QSignalSpy clicks(&grid, &tbroxgrid::Oncellclick);
    grid.center_on(2, 4);
    const scroll_position at = grid.scroll();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      QPoint((2 - at.left_column) * 65 + 30, (4 - at.top_row) * 33 + 15));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 4);
}

}  // namespace
}  // namespace tarnwell
