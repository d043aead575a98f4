// tbroxgrid: the flowchart grid view. A grid of equal cells without grid lines whose cell
// strings name symbols; it paints each from its picture, frames the highlighted cell in red,
// reports clicks on occupied cells, and saves the chart as a bitmap. The rules live in
// broxgrid_model; this class paints them and turns events into them.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QString>
#include <functional>
#include <string>

#include "flowview/broxgrid_model.h"
#include "flowview/cell_painter.h"
#include "layout/grid_script.h"

namespace tarnwell {

class tbroxgrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit tbroxgrid(QWidget* parent = nullptr);

    // The highlighted cell; -1 for none. These hide QWidget::x() and QWidget::y(): the
    // position of the widget is geometry().topLeft(). The setters do not repaint.
    int x() const { return model_.x(); }
    int y() const { return model_.y(); }
    void set_x(int column) { model_.set_x(column); }
    void set_y(int row) { model_.set_y(row); }

    const std::string& script() const { return model_.script(); }
    void set_script(std::string labels) { model_.set_script(std::move(labels)); }
    const std::string& path() const { return model_.path(); }
    void set_path(std::string folder) { model_.set_path(std::move(folder)); }
    bool small_set() const { return model_.small_set(); }

    bool drawing_enabled() const { return model_.drawing_enabled(); }
    void set_drawing(bool on, bool repaint);

    int col_count() const { return model_.col_count(); }
    int row_count() const { return model_.row_count(); }
    const std::string& cell(int column, int row) const { return model_.cell(column, row); }
    void set_cell(int column, int row, std::string_view name);
    void set_cell_size(int width, int height);

    // Resize: new counts and every cell cleared, when both counts are at least 1.
    void resize_grid(int columns, int rows);
    // Fills the cells and label texts from a read grid script (load_grid); the drawing flag
    // stays as it is.
    bool load(const grid_script& script, std::string_view editor_text, std::int32_t offset);
    // Center on: scrolls so that the cell stands in the middle where not all cells fit.
    void center_on(int column, int row);
    // Save to bitmap: false when drawing is disabled or the file cannot be written.
    bool save_to_bitmap(const QString& file);

    scroll_position scroll() const;
    const broxgrid_model& model() const { return model_; }
    // Asks to select a cell, as a click does: raises Oncellclick for an occupied cell.
    void select_cell(int column, int row);

    // What a cell's hint shows: the owner knows the code behind each cell; an empty text
    // shows no hint.
    using hint_source = std::function<QString(int column, int row)>;
    void set_hint_source(hint_source source) { hint_source_ = std::move(source); }

  signals:
    void Oncellclick(int column, int row);

  protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void update_scroll_ranges();
    void repaint_cell(grid_point cell);

    broxgrid_model model_;
    cell_painter cells_;
    QFont label_font_;
    hint_source hint_source_;
};

}  // namespace tarnwell
