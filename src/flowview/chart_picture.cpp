#include "flowview/chart_picture.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <set>
#include <unordered_map>

#include "flowview/cell_painter.h"
#include "flowview/symbol_painter.h"

namespace tarnwell {

namespace {

// Calls `paint` for every non-empty cell of rows [first_row, end_row) inside the image area;
// the last column and row lie outside it.
template <typename Paint>
void for_each_drawn_cell(const broxgrid_model& grid, int first_row, int end_row, Paint paint) {
    for (int r = std::max(0, first_row); r < std::min(end_row, grid.row_count() - 1); ++r) {
        for (int c = 0; c < grid.col_count() - 1; ++c) {
            const cell_look look = grid.look(c, r);
            if (look == cell_look::picture || look == cell_look::label_text) {
                paint(grid_point{c, r}, look, to_qrect(grid.cell_rect({c, r}, {})));
            }
        }
    }
}

// Builds an 8-bit image from RGB bands laid into it one after another. Colours get indices
// as they come; while there are at most 256 the image keeps them exactly, and the table is
// sorted at the end. The 257th colour maps what is there and all that follows to the nearest
// colour of chart_palette.
class indexed8_builder {
  public:
    explicit indexed8_builder(QImage& image) : image_(image) {}

    // Lays the first `rows` lines of an RGB32 band into the image from line `top` on.
    void add_band(const QImage& band, int top, int rows) {
        if (!to_palette_) {
            for (int y = 0; y < rows; ++y) {
                const auto* from = reinterpret_cast<const QRgb*>(band.constScanLine(y));
                uchar* to = image_.scanLine(top + y);
                for (int x = 0; x < band.width(); ++x) {
                    const QRgb colour = from[x] | 0xFF000000u;
                    if (colour != last_colour_ || !has_last_) {
                        const auto found = index_.find(colour);
                        if (found != index_.end()) {
                            last_index_ = found->second;
                        } else if (table_.size() < 256) {
                            last_index_ = static_cast<uchar>(table_.size());
                            index_.emplace(colour, last_index_);
                            table_.append(colour);
                        } else {
                            switch_to_palette(top + y);
                            add_band(band.copy(0, y, band.width(), rows - y), top + y, rows - y);
                            return;
                        }
                        last_colour_ = colour;
                        has_last_ = true;
                    }
                    to[x] = last_index_;
                }
            }
            return;
        }
        const QImage mapped =
            band.copy(0, 0, band.width(), rows)
                .convertToFormat(QImage::Format_Indexed8, chart_palette(), Qt::ThresholdDither);
        for (int y = 0; y < rows; ++y) {
            std::copy_n(mapped.constScanLine(y), band.width(), image_.scanLine(top + y));
        }
    }

    void finish() {
        if (to_palette_) {
            image_.setColorTable(chart_palette());
            return;
        }
        QList<QRgb> sorted = table_;
        std::sort(sorted.begin(), sorted.end());
        remap(table_, sorted, image_.height());
        image_.setColorTable(sorted);
    }

  private:
    // Lines [0, lines) hold indices into `from`; they get the indices of the same colours, or
    // of the nearest, in `to`.
    void remap(const QList<QRgb>& from, const QList<QRgb>& to, int lines) {
        QImage colours(static_cast<int>(from.size()), 1, QImage::Format_RGB32);
        for (qsizetype i = 0; i < from.size(); ++i)
            colours.setPixel(static_cast<int>(i), 0, from[i]);
        const QImage nearest =
            colours.convertToFormat(QImage::Format_Indexed8, to, Qt::ThresholdDither);
        std::array<uchar, 256> index{};
        for (qsizetype i = 0; i < from.size(); ++i)
            index[static_cast<std::size_t>(i)] = nearest.constScanLine(0)[i];
        for (int y = 0; y < lines; ++y) {
            uchar* line = image_.scanLine(y);
            for (int x = 0; x < image_.width(); ++x) line[x] = index[line[x]];
        }
    }

    void switch_to_palette(int lines_done) {
        remap(table_, chart_palette(), lines_done);
        to_palette_ = true;
    }

    QImage& image_;
    QList<QRgb> table_;
    std::unordered_map<QRgb, uchar> index_;
    bool to_palette_ = false;
    QRgb last_colour_ = 0;
    uchar last_index_ = 0;
    bool has_last_ = false;
};

QString xml_escaped(const std::string& text) {
    QString escaped;
    for (const QChar c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) {
        if (c == u'&') {
            escaped += QStringLiteral("&amp;");
        } else if (c == u'<') {
            escaped += QStringLiteral("&lt;");
        } else if (c == u'>') {
            escaped += QStringLiteral("&gt;");
        } else if (c.unicode() >= 0x20 || c == u'\n' || c == u'\t') {
            escaped += c;
        }
    }
    return escaped;
}

// What a painting puts into an SVG document, without the document around it.
template <typename Paint>
QByteArray svg_fragment(QSize size, Paint paint) {
    QBuffer document;
    QSvgGenerator svg;
    svg.setOutputDevice(&document);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    paint(painter);
    painter.end();
    const QByteArray& text = document.data();
    const qsizetype defs = text.indexOf("</defs>");
    const qsizetype start = defs < 0 ? -1 : text.indexOf('\n', defs) + 1;
    const qsizetype end = text.lastIndexOf("</svg>");
    if (start <= 0 || end < start) return {};
    return text.mid(start, end - start);
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
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed8_builder builder(indexed);
    builder.add_band(rgb, 0, rgb.height());
    builder.finish();
    return indexed;
}

bool fits_one_bitmap(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= max_bitmap_side && height <= max_bitmap_side &&
           width * height <= max_bitmap_pixels;
}

std::string bitmap_too_large_message(qint64 width, qint64 height, bool command_line) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    const std::string lower_level = command_line ? "a lower --level" : "a lower expand level";
    return "The flowchart is " + size + ", too large for one bitmap (at most " +
           std::to_string(max_bitmap_pixels) + " pixels, " + std::to_string(max_bitmap_side) +
           " a side). Draw it at " + lower_level + ", or export it as SVG or PDF, which have no " +
           "size limit.";
}

QImage grid_bitmap(const broxgrid_model& grid, cell_painter& cells, int band_rows) {
    const int width = grid.bitmap_width(), height = grid.bitmap_height();
    if (!grid.drawing_enabled() || !fits_one_bitmap(width, height)) return {};
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull()) return {};
    const int cell_height = grid.cell_height();
    if (band_rows < 1) band_rows = std::max(1, (1 << 20) / std::max(1, width * cell_height));
    QImage band(width, band_rows * cell_height, QImage::Format_RGB32);
    if (band.isNull()) return {};
    indexed8_builder builder(image);
    const QFont font;
    for (int first = 0; first * cell_height < height; first += band_rows) {
        const int top = first * cell_height;
        const int lines = std::min(band.height(), height - top);
        band.fill(Qt::white);
        QPainter painter(&band);
        painter.translate(0, -top);
        painter.setClipRect(QRect(0, top, width, lines));
        // Lines and frames reach a little beyond their cells, so the rows around the band
        // are painted too, in the order the whole image paints them.
        for_each_drawn_cell(grid, first - 1, first + band_rows + 1,
                            [&](grid_point cell, cell_look, const QRect& rect) {
                                cells.paint_content(painter, grid, cell, rect, font);
                            });
        painter.end();
        builder.add_band(band, top, lines);
    }
    builder.finish();
    return image;
}

bool write_chart_svg(const chart_cells& chart, bool small_set, const QString& file) {
    const symbol_set set = small_set ? symbol_set::small : symbol_set::large;
    const QSize cell = symbol_cell_size(set);
    const qint64 width = qint64{std::max(0, chart.column_count - 1)} * cell.width();
    const qint64 height = qint64{std::max(0, chart.row_count - 1)} * cell.height();
    const auto inside = [&](const chart_cell& c) {
        return c.at.column < chart.column_count - 1 && c.at.row < chart.row_count - 1;
    };
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    const auto write = [&](const QByteArray& text) { return out.write(text) == text.size(); };
    bool ok = write(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                   "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" "
                                   "width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">\n"
                                   "<title>Flowchart</title>\n<defs>\n")
                        .arg(width)
                        .arg(height)
                        .toUtf8());
    // Each symbol is drawn once; the cells use it.
    std::set<std::string> names;
    for (const chart_cell& c : chart.cells) {
        if (inside(c) && (small_set || !is_jump_label(c.name))) names.insert(c.name);
    }
    const QRectF whole(QPointF(0, 0), QSizeF(cell));
    for (const std::string& name : names) {
        const QByteArray drawing =
            svg_fragment(cell, [&](QPainter& painter) { paint_symbol(painter, whole, name, set); });
        ok = ok &&
             write("<g id=\"s_" + QByteArray::fromStdString(name) + "\">\n" + drawing + "</g>\n");
    }
    ok = ok && write(QStringLiteral("</defs>\n<rect width=\"%1\" height=\"%2\" fill=\"white\"/>\n")
                         .arg(width)
                         .arg(height)
                         .toUtf8());
    // In pixels, so that viewers draw the labels as large as the bitmap does.
    QFont font;
    font.setPixelSize(QFontInfo(font).pixelSize());
    for (const chart_cell& c : chart.cells) {
        if (!ok) break;
        if (!inside(c)) continue;
        QByteArray group = QStringLiteral("<g transform=\"translate(%1,%2)\">")
                               .arg(qint64{c.at.column} * cell.width())
                               .arg(qint64{c.at.row} * cell.height())
                               .toUtf8();
        if (!c.hint.empty()) group += "<title>" + xml_escaped(c.hint).toUtf8() + "</title>";
        if (small_set || !is_jump_label(c.name)) {
            group += "<use xlink:href=\"#s_" + QByteArray::fromStdString(c.name) + "\"/>";
        } else if (!c.label.empty()) {
            group += svg_fragment(cell, [&](QPainter& painter) {
                cell_painter::paint_label(painter, c.label, QRect(QPoint(0, 0), cell), font);
            });
        }
        ok = write(group + "</g>\n");
    }
    ok = ok && write("</svg>\n");
    return ok && out.commit();
}

void use_offscreen_without_display() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

}  // namespace tarnwell
