#include "classmodel/uZoomFrame.h"

#include <QMouseEvent>
#include <QPainter>

#include "classmodel/uDiagramFrame.h"

namespace tarnwell {

namespace {

QRect ToQRect(const TRect& r) {
    return {r.Left, r.Top, r.Width(), r.Height()};
}

}  // namespace

TZoomFrame::TZoomFrame(TDiagramFrame& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
    setMinimumSize(60, 60);
    connect(&frame_, &TDiagramFrame::ZoomChanged, this, qOverload<>(&QWidget::update));
}

void TZoomFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const TOverviewPicture picture = frame_.Diagram().PaintOverview(width(), height());
    if (picture.Scale <= 0) return;
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(ToQRect(picture.Diagram));
    painter.setBrush(QColor(rtfd::BoxColour.R, rtfd::BoxColour.G, rtfd::BoxColour.B));
    painter.setPen(QPen(QColor(rtfd::ShadowColour.R, rtfd::ShadowColour.G, rtfd::ShadowColour.B)));
    for (const TRect& box : picture.Boxes) painter.drawRect(ToQRect(box));
    if (!picture.ShowViewport) return;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(ToQRect(picture.Viewport));
}

void TZoomFrame::ScrollTo(QPoint point) {
    frame_.Diagram().ScrollFromOverview(point.x(), point.y(), width(), height());
    update();
}

void TZoomFrame::mousePressEvent(QMouseEvent* event) {
    dragging_ = true;
    ScrollTo(event->position().toPoint());
}

void TZoomFrame::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) ScrollTo(event->position().toPoint());
}

void TZoomFrame::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

}  // namespace tarnwell
