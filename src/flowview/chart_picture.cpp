#include "flowview/chart_picture.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSvgGenerator>
#include <QtGlobal>
#include <algorithm>

#include "flowview/cell_painter.h"
#include "flowview/symbol_painter.h"

namespace tarnwell {

namespace {

// Larger charts are refused rather than risk exhausting memory (2^27 pixels, 512 MiB).
constexpr qint64 max_pixels = qint64{1} << 27;

bool has_picture_size(const broxgrid_model& grid) {
    const qint64 w = grid.bitmap_width(), h = grid.bitmap_height();
    return grid.drawing_enabled() && w > 0 && h > 0 && w * h <= max_pixels;
}

// Calls `paint` for every non-empty cell of the image area; the last column and row lie
// outside it.
template <typename Paint>
void for_each_drawn_cell(const broxgrid_model& grid, Paint paint) {
    for (int r = 0; r < grid.row_count() - 1; ++r) {
        for (int c = 0; c < grid.col_count() - 1; ++c) {
            const cell_look look = grid.look(c, r);
            if (look == cell_look::picture || look == cell_look::label_text) {
                paint(grid_point{c, r}, look, to_qrect(grid.cell_rect({c, r}, {})));
            }
        }
    }
}

}  // namespace

QList<QRgb> chart_palette() {
    static const QList<QRgb> palette = [] {
        std::vector<std::pair<QRgb, QRgb>> blends = symbol_colour_blends();
        const QRgb white = qRgb(255, 255, 255);
        for (QRgb ink : {cell_painter::highlight_colour, cell_painter::label_frame_colour,
                         cell_painter::label_text_colour}) {
            if (std::find(blends.begin(), blends.end(), std::pair{white, ink}) == blends.end())
                blends.emplace_back(white, ink);
        }
        const int steps = static_cast<int>(256 / blends.size());
        QList<QRgb> colours;
        const auto mix = [&](int from, int to, int i) {
            return from + (to - from) * i / (steps - 1);
        };
        for (const auto& [back, ink] : blends) {
            for (int i = 0; i < steps; ++i) {
                const QRgb c =
                    qRgb(mix(qRed(back), qRed(ink), i), mix(qGreen(back), qGreen(ink), i),
                         mix(qBlue(back), qBlue(ink), i));
                if (!colours.contains(c)) colours.append(c);
            }
        }
        return colours;
    }();
    return palette;
}

QImage to_indexed8(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> seen;
    for (int y = 0; y < rgb.height() && seen.size() <= 256; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width() && seen.size() <= 256; ++x) seen.insert(line[x]);
    }
    QList<QRgb> table;
    if (seen.size() <= 256) {
        table = QList<QRgb>(seen.begin(), seen.end());
        std::sort(table.begin(), table.end());
    } else {
        table = chart_palette();
    }
    return rgb.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

QImage grid_bitmap(const broxgrid_model& grid, cell_painter& cells) {
    if (!has_picture_size(grid)) return {};
    QImage canvas(grid.bitmap_width(), grid.bitmap_height(), QImage::Format_RGB32);
    if (canvas.isNull()) return {};
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const QFont font;
    for_each_drawn_cell(grid, [&](grid_point cell, cell_look, const QRect& rect) {
        cells.paint_content(painter, grid, cell, rect, font);
    });
    painter.end();
    return to_indexed8(canvas);
}

bool write_grid_svg(const broxgrid_model& grid, const QString& file) {
    if (!has_picture_size(grid)) return false;
    const QSize size(grid.bitmap_width(), grid.bitmap_height());
    QBuffer document;
    QSvgGenerator svg;
    svg.setOutputDevice(&document);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Flowchart"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const symbol_set set = grid.small_set() ? symbol_set::small : symbol_set::large;
    // In pixels, so that viewers draw the labels as large as the bitmap does.
    QFont font;
    font.setPixelSize(QFontInfo(font).pixelSize());
    for_each_drawn_cell(grid, [&](grid_point cell, cell_look look, const QRect& rect) {
        if (look == cell_look::picture) {
            paint_symbol(painter, QRectF(rect), grid.cell(cell.column, cell.row), set);
        } else if (const auto text = grid.label_text(cell.column, cell.row)) {
            cell_painter::paint_label(painter, *text, rect, font);
        }
    });
    if (!painter.end()) return false;
    // The generator gives the size in millimetres at its own resolution, which viewers turn
    // into different pixel sizes; in pixels the drawing has the size of the bitmap.
    QByteArray text = document.data();
    static const QRegularExpression millimetres(
        QStringLiteral(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")"));
    const QRegularExpressionMatch header = millimetres.match(QString::fromLatin1(text.left(300)));
    if (header.hasMatch()) {
        text.replace(header.capturedStart(), header.capturedLength(),
                     QStringLiteral(R"(<svg width="%1" height="%2")")
                         .arg(size.width())
                         .arg(size.height())
                         .toLatin1());
    }
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
}

void use_offscreen_without_display() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

}  // namespace tarnwell
