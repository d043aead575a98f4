// The class diagram on screen: a tool bar (layout, connections, filter) above a scroll area
// whose one canvas paints the diagram surface and passes the mouse to it.
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>

#include "classmodel/uRtfdDiagram.h"
#include "classmodel/uRtfdPainter.h"

class QAction;
class QComboBox;
class QMenu;
class QSettings;

namespace tarnwell {

class notifier;

// The defaults of new diagrams from the settings of the class half: "DiSave" (0 always, 1 ask,
// 2 never; above 2 reads as 2), "DiShowAssoc" (0 or 1) and "DiVisibilityFilter" (0 to 3). A
// value that is not a whole number, or out of range below, keeps its default.
TDiagramDefaults ReadDiagramDefaults(const QSettings& settings);

// Paints the surface and turns mouse events into the surface's press, move and release.
class TDiagramCanvas : public QWidget {
    Q_OBJECT
  public:
    TDiagramCanvas(TRtfdDiagram& diagram, const TDiagramFonts& fonts, QScrollArea& scroll,
                   QWidget* parent);
    // Takes the surface's size.
    void SyncSize();

  signals:
    // Right button released over a box.
    void BoxMenuRequested(std::size_t box, QPoint global);
    void BoxDoubleClicked(std::size_t box);
    // Boxes were moved.
    void Moved();

  protected:
    // Tool tips: the documentation summary of the box under the mouse.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    TScrollView CurrentView() const;

    TRtfdDiagram& diagram_;
    const TDiagramFonts& fonts_;
    QScrollArea& scroll_;
};

class TDiagramFrame : public QWidget {
    Q_OBJECT
  public:
    TDiagramFrame(TObjectModel& model, TDiagramDefaults defaults, std::string fallback_storage,
                  notifier& notifier, QWidget* parent = nullptr);
    ~TDiagramFrame() override;

    TRtfdDiagram& Diagram() { return *diagram_; }
    const TDiagramFonts& Fonts() const { return fonts_; }
    QAction* LayoutAction() const { return layout_action_; }
    QComboBox* ConnectionsCombo() const { return connections_combo_; }
    QComboBox* VisibilityCombo() const { return visibility_combo_; }
    TDiagramCanvas* Canvas() const { return canvas_; }
    QScrollArea* ScrollBox() const { return scroll_; }

    // The status line of the window that holds the frame.
    void SetStatusSink(std::function<void(const QString&)> sink) { status_ = std::move(sink); }

    void DoLayout();
    void HideSelectedBoxes();
    void UnHideElements();
    void OpenSelectedPackage();
    // Writes the picture; a failure is told to the user.
    bool SaveAsPicture(const QString& file_name);
    // Repaints after the diagram changed below the frame.
    void Refresh();

  signals:
    // The overview must be painted again.
    void ZoomChanged();

  private:
    void UpdateToolbar();
    void ApplyView();
    void ShowBoxMenu(std::size_t box, QPoint global);

    notifier& notifier_;
    TObjectModel& model_;
    TDiagramFonts fonts_;
    std::unique_ptr<TRtfdDiagram> diagram_;
    QAction* layout_action_ = nullptr;
    QComboBox* connections_combo_ = nullptr;
    QComboBox* visibility_combo_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    TDiagramCanvas* canvas_ = nullptr;
    std::function<void(const QString&)> status_;
    bool applying_view_ = false;
};

}  // namespace tarnwell
