// The "Print Preview" dialog: the pages of a print engine at a chosen zoom, with page
// commands, a print button and a status bar of hint and page number.
#pragma once

#include <QDialog>
#include <QWidget>

#include "workspace/preview_zoom.h"

class QAction;
class QLabel;
class QScrollArea;

namespace tarnwell {

class print_engine;

// One page of the preview, painted at the preview's scale.
class preview_page : public QWidget {
    Q_OBJECT
  public:
    preview_page(const print_engine& engine, QWidget* parent);
    void show_page(int page, double scale);

  signals:
    void clicked(bool left_button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    const print_engine& engine_;
    int page_ = 1;
    double scale_ = 1;
};

class TTestPrintPreviewDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int status_panel_count = 2;

    // The engine must outlive the dialog. An empty printer name leaves the print button's
    // hint as it is.
    TTestPrintPreviewDlg(const print_engine& engine, const QString& printer_name,
                         QWidget* parent = nullptr);

    int page() const { return page_; }
    int page_count() const;
    const preview_zoom& zoom() const { return zoom_; }
    // The scale the page is shown at now, in percent.
    int shown_percent() const;
    QString status_panel(int index) const;

    void go_to_page(int page);
    void set_zoom(const preview_zoom& zoom);
    void click_page(bool left_button);

  signals:
    void print_requested();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QAction* add_command(const char* name, const QString& caption, const QString& hint,
                         const QKeySequence& key);
    void show_hint(const QString& hint);
    void refresh();
    double scale_for_percent(int percent) const;

    const print_engine& engine_;
    int page_ = 1;
    preview_zoom zoom_;
    QScrollArea* scroller_ = nullptr;
    preview_page* sheet_ = nullptr;
    QLabel* panels_[status_panel_count] = {};
    QAction* first_ = nullptr;
    QAction* prior_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
    QAction* print_ = nullptr;
};

}  // namespace tarnwell
