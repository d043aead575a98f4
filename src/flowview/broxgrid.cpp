#include "flowview/broxgrid.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "flowview/chart_picture.h"
#include "flowview/grid_loading.h"

namespace tarnwell {

tbroxgrid::tbroxgrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(true);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(colours);
    label_font_ = QFont(QStringLiteral("Arial"));
    label_font_.setStyleHint(QFont::SansSerif);
    label_font_.setBold(true);
    label_font_.setPixelSize(12);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    update_scroll_ranges();
}

void tbroxgrid::set_drawing(bool on, bool repaint) {
    model_.set_drawing(on);
    if (repaint) viewport()->update();
}

void tbroxgrid::set_cell(int column, int row, std::string_view name) {
    model_.set_cell(column, row, name);
    if (model_.drawing_enabled()) repaint_cell({column, row});
}

void tbroxgrid::set_cell_size(int width, int height) {
    model_.set_cell_size(width, height);
    update_scroll_ranges();
    viewport()->update();
}

void tbroxgrid::resize_grid(int columns, int rows) {
    if (model_.resize(columns, rows)) update_scroll_ranges();
}

bool tbroxgrid::load(const grid_script& script, std::string_view editor_text, std::int32_t offset) {
    const bool loaded = load_grid(model_, script, editor_text, offset);
    update_scroll_ranges();
    return loaded;
}

scroll_position tbroxgrid::scroll() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void tbroxgrid::center_on(int column, int row) {
    const scroll_position now = scroll();
    const scroll_position to =
        model_.center_on({column, row}, now, model_.visible_columns(viewport()->width(), now),
                         model_.visible_rows(viewport()->height(), now));
    horizontalScrollBar()->setValue(to.left_column);
    verticalScrollBar()->setValue(to.top_row);
}

bool tbroxgrid::save_to_bitmap(const QString& file) {
    const QImage image = grid_bitmap(model_, cells_);
    return !image.isNull() && image.save(file, "BMP");
}

void tbroxgrid::select_cell(int column, int row) {
    const std::optional<grid_point> previous = model_.select(column, row);
    if (!previous) return;
    emit Oncellclick(column, row);
    repaint_cell({column, row});
    repaint_cell(*previous);
}

void tbroxgrid::repaint_cell(grid_point cell) {
    viewport()->update(to_qrect(model_.repaint_rect(cell, scroll())));
}

void tbroxgrid::update_scroll_ranges() {
    // Scrolling moves by whole cells: a scroll bar value is the first visible column or row.
    const int columns = std::max(1, viewport()->width() / model_.cell_width());
    const int rows = std::max(1, viewport()->height() / model_.cell_height());
    horizontalScrollBar()->setRange(0, std::max(0, model_.col_count() - columns));
    horizontalScrollBar()->setPageStep(columns);
    verticalScrollBar()->setRange(0, std::max(0, model_.row_count() - rows));
    verticalScrollBar()->setPageStep(rows);
    viewport()->update();
}

void tbroxgrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const scroll_position at = scroll();
    const std::optional<grid_point> first = model_.cell_at(0, 0, at);
    if (!first) return;
    const int last_column = std::min(model_.col_count() - 1,
                                     at.left_column + viewport()->width() / model_.cell_width());
    const int last_row =
        std::min(model_.row_count() - 1, at.top_row + viewport()->height() / model_.cell_height());
    for (int r = first->row; r <= last_row; ++r) {
        for (int c = first->column; c <= last_column; ++c) {
            const QRect rect = to_qrect(model_.cell_rect({c, r}, at));
            if (!event->region().intersects(rect)) continue;
            if (model_.look(c, r) == cell_look::corner) {
                painter.fillRect(rect, Qt::white);
            } else {
                cells_.paint_content(painter, model_, {c, r}, rect, label_font_);
            }
        }
    }
    // The frame comes last so that neighbouring pictures do not cover its wide edges.
    if (const auto framed = model_.frame_cell()) {
        cell_painter::paint_selection_frame(painter, to_qrect(model_.cell_rect(*framed, at)),
                                            viewport()->rect());
    }
}

void tbroxgrid::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (const auto cell = model_.cell_at(at.x(), at.y(), scroll())) {
        select_cell(cell->column, cell->row);
    }
    event->accept();
}

void tbroxgrid::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    const scroll_position at = scroll();
    verticalScrollBar()->setValue(
        model_.wheel(at.top_row, model_.visible_rows(viewport()->height(), at), delta < 0));
    event->accept();
}

bool tbroxgrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<grid_point> cell =
        model_.cell_at(help->pos().x(), help->pos().y(), scroll());
    const QString code = cell && model_.drawing_enabled() &&
                                 !model_.cell(cell->column, cell->row).empty() && hint_source_
                             ? hint_source_(cell->column, cell->row)
                             : QString();
    if (code.isEmpty()) {
        QToolTip::hideText();
    } else {
        // As preformatted text: code keeps its lines and indentation, and its "<" stays text.
        QToolTip::showText(
            help->globalPos(),
            QStringLiteral("<pre>") + code.toHtmlEscaped() + QStringLiteral("</pre>"), viewport(),
            to_qrect(model_.cell_rect(*cell, scroll())));
    }
    return true;
}

void tbroxgrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_ranges();
}

}  // namespace tarnwell
