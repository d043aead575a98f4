// The overview of the diagram: the whole surface in miniature with the visible part marked;
// a press or a drag in it scrolls the diagram there.
#pragma once

#include <QWidget>

namespace tarnwell {

class TDiagramFrame;

class TZoomFrame : public QWidget {
    Q_OBJECT
  public:
    explicit TZoomFrame(TDiagramFrame& frame, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ScrollTo(QPoint point);

    TDiagramFrame& frame_;
    bool dragging_ = false;
};

}  // namespace tarnwell
