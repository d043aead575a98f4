#include "flowview/cell_painter.h"

#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace tarnwell {

QRect to_qrect(const pixel_rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

const QImage& cell_painter::picture(const std::string& file) {
    const QString name = QString::fromStdString(file);
    const QFileInfo info(name);
    cached_picture& entry = pictures_[file];
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (entry.size != size || entry.modified != modified) {
        entry.modified = modified;
        entry.size = size;
        entry.image = size < 0 ? QImage() : QImage(name);
    }
    return entry.image;
}

void cell_painter::paint_content(QPainter& painter, const broxgrid_model& grid, grid_point cell,
                                 const QRect& rect, const QFont& label_font) {
    switch (grid.look(cell.column, cell.row)) {
        case cell_look::corner:
        case cell_look::empty:
            return;
        case cell_look::picture: {
            const QImage& image = picture(grid.picture_file(cell.column, cell.row));
            if (!image.isNull()) painter.drawImage(rect, image);
            return;
        }
        case cell_look::label_text: {
            const std::optional<std::string> text = grid.label_text(cell.column, cell.row);
            if (text) paint_label(painter, *text, rect, label_font);
            return;
        }
    }
}

void cell_painter::paint_label(QPainter& painter, const std::string& text, const QRect& rect,
                               const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(label_text_colour));
    // Plain drawText shows "&" as itself: no mnemonic flag is given.
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromStdString(text));
    painter.restore();
    paint_frame(painter, rect, label_frame_colour, 1, 2);
}

void cell_painter::paint_frame(QPainter& painter, const QRect& rect, QRgb colour, int thin,
                               int thick) {
    // Corners on the cell's outer pixel edges, as a pen centred on the cell border draws them.
    const int left = rect.left(), top = rect.top();
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(colour), thin, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPolyline(QPolygon{QPoint(left, bottom), QPoint(left, top), QPoint(right, top)});
    painter.setPen(QPen(QColor(colour), thick, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPolyline(QPolygon{QPoint(left, bottom), QPoint(right, bottom), QPoint(right, top)});
    painter.restore();
}

void cell_painter::paint_selection_frame(QPainter& painter, const QRect& cell,
                                         const QRect& bounds) {
    const int w = selection_width;
    const int x = cell.x(), y = cell.y(), width = cell.width(), height = cell.height();
    struct band {
        QRect outside;
        QPoint inward;
    };
    const band bands[] = {
        {QRect(x - w, y - w, width + 2 * w, w), QPoint(0, w)},
        {QRect(x - w, y + height, width + 2 * w, w), QPoint(0, -w)},
        {QRect(x - w, y - w, w, height + 2 * w), QPoint(w, 0)},
        {QRect(x + width, y - w, w, height + 2 * w), QPoint(-w, 0)},
    };
    for (const band& b : bands) {
        // Only the band's own direction decides: a corner outside the view does not count.
        const bool room =
            b.inward.y() != 0
                ? b.outside.top() >= bounds.top() && b.outside.bottom() <= bounds.bottom()
                : b.outside.left() >= bounds.left() && b.outside.right() <= bounds.right();
        const QRect drawn = room ? b.outside : b.outside.translated(b.inward);
        painter.fillRect(drawn, QColor(highlight_colour));
    }
}

}  // namespace tarnwell
