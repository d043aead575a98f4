// Paints the content of grid cells, shared by the grid view and the chart pictures: symbol
// pictures read from the picture folder, label texts with their frame, and highlight frames.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <string>
#include <unordered_map>

#include "flowview/broxgrid_model.h"

class QFont;
class QPainter;

namespace tarnwell {

QRect to_qrect(const pixel_rect& r);

class cell_painter {
  public:
    // Paints a cell as its look says: the symbol picture stretched over `rect`, or the label
    // text with the green frame. A picture that cannot be read leaves the cell empty.
    void paint_content(QPainter& painter, const broxgrid_model& grid, grid_point cell,
                       const QRect& rect, const QFont& label_font);

    // A label text, centred and broken at word boundaries, in the green frame.
    static void paint_label(QPainter& painter, const std::string& text, const QRect& rect,
                            const QFont& font);

    // A frame drawn as two polylines: bottom-left, top-left, top-right with the thin pen,
    // then bottom-left, bottom-right, top-right with the thick one.
    static void paint_frame(QPainter& painter, const QRect& rect, QRgb colour, int thin, int thick);

    // The frame of the chosen symbol: an even band around the cell, not on it, so that the
    // symbol's own outline stays in sight. A side with no room inside `bounds` is drawn just
    // inside the cell instead.
    static void paint_selection_frame(QPainter& painter, const QRect& cell, const QRect& bounds);

    // The width of the selection frame; the view repaints that margin around a cell.
    static constexpr int selection_width = broxgrid_model::selection_margin;
    static constexpr QRgb highlight_colour = qRgb(255, 0, 0);
    static constexpr QRgb label_frame_colour = qRgb(0, 128, 0);
    static constexpr QRgb label_text_colour = qRgb(0, 0, 255);

  private:
    // The picture of a file as it is on disk now: read again when its modification time or
    // size changed; a null image when it cannot be read.
    const QImage& picture(const std::string& file);

    struct cached_picture {
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    std::unordered_map<std::string, cached_picture> pictures_;
};

}  // namespace tarnwell
