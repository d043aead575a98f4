#include "workspace/DTestPrintPreview.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "workspace/print_engine.h"

namespace tarnwell {

namespace {

constexpr int page_gap = 16;  // pixels around the page

// The part of a hint after "|", shown in the status bar; the part before is the tool tip.
QString long_hint(const QString& hint) {
    const qsizetype bar = hint.indexOf('|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString short_hint(const QString& hint) {
    const qsizetype bar = hint.indexOf('|');
    return bar < 0 ? hint : hint.left(bar);
}

}  // namespace

preview_page::preview_page(const print_engine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine) {
    setObjectName(QStringLiteral("previewPage"));
}

void preview_page::show_page(int page, double scale) {
    page_ = page;
    scale_ = scale;
    const QSizeF paper = engine_.page_size() * scale;
    setFixedSize(static_cast<int>(std::ceil(paper.width())) + 2 * page_gap,
                 static_cast<int>(std::ceil(paper.height())) + 2 * page_gap);
    update();
}

void preview_page::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QSizeF paper = engine_.page_size() * scale_;
    painter.fillRect(QRectF(page_gap + 3, page_gap + 3, paper.width(), paper.height()),
                     Qt::darkGray);
    painter.translate(page_gap, page_gap);
    painter.scale(scale_, scale_);
    engine_.draw_page(painter, page_);
}

void preview_page::mousePressEvent(QMouseEvent* event) {
    emit clicked(event->button() == Qt::LeftButton);
}

TTestPrintPreviewDlg::TTestPrintPreviewDlg(const print_engine& engine, const QString& printer_name,
                                           QWidget* parent)
    : QDialog(parent), engine_(engine) {
    setWindowTitle(tr("Print Preview"));
    setObjectName(QStringLiteral("TestPrintPreviewDlg"));
    resize(720, 820);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(tools);

    QStyle* look = style();
    first_ = add_command("tbFirst", tr("First"), tr("First page|Go to first page"),
                         QKeySequence(Qt::ALT | Qt::Key_F));
    first_->setIcon(look->standardIcon(QStyle::SP_MediaSkipBackward));
    prior_ = add_command("tbPrior", tr("Previous"), tr("Previous page|Go to previous page"),
                         QKeySequence(Qt::ALT | Qt::Key_P));
    prior_->setIcon(look->standardIcon(QStyle::SP_MediaSeekBackward));
    next_ = add_command("tbNext", tr("Next"), tr("Next page|Go to next page"),
                        QKeySequence(Qt::ALT | Qt::Key_N));
    next_->setIcon(look->standardIcon(QStyle::SP_MediaSeekForward));
    last_ = add_command("tbLast", tr("Last"), tr("Last page|Go to last page"),
                        QKeySequence(Qt::ALT | Qt::Key_L));
    last_->setIcon(look->standardIcon(QStyle::SP_MediaSkipForward));
    QAction* zoom = add_command("tbZoom", tr("Zoom"), tr("Zoom|Zoom In/Out"),
                                QKeySequence(Qt::ALT | Qt::Key_Z));
    zoom->setIcon(look->standardIcon(QStyle::SP_FileDialogContentsView));
    print_ = add_command("tbPrint", tr("Print"), tr("Print|Print the document"),
                         QKeySequence(Qt::CTRL | Qt::Key_P));
    print_->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
    if (!printer_name.isEmpty()) {
        const QString hint = tr("Print (%1)|Print the document on %1").arg(printer_name);
        print_->setToolTip(short_hint(hint));
        print_->setStatusTip(long_hint(hint));
    }
    QAction* close = add_command("tbClose", tr("Close"), tr("Close|Close Print Preview"),
                                 QKeySequence(Qt::ALT | Qt::Key_C));
    close->setIcon(look->standardIcon(QStyle::SP_DialogCloseButton));

    auto* zoom_menu = new QMenu(this);
    zoom_menu->setObjectName(QStringLiteral("zoomMenu"));
    connect(zoom_menu->addAction(tr("Whole page")), &QAction::triggered, this, [this] {
        set_zoom({zoom_mode::whole_page, 100});
    });
    connect(zoom_menu->addAction(tr("Page width")), &QAction::triggered, this, [this] {
        set_zoom({zoom_mode::page_width, 100});
    });
    for (int percent : {25, 50, 100, 200, 400}) {
        connect(zoom_menu->addAction(QStringLiteral("%1%").arg(percent)), &QAction::triggered, this,
                [this, percent] {
                    set_zoom({zoom_mode::percent, percent});
                });
    }
    zoom->setMenu(zoom_menu);
    for (QAction* action : {first_, prior_, next_, last_}) tools->addAction(action);
    tools->addSeparator();
    tools->addAction(zoom);
    if (auto* button = qobject_cast<QToolButton*>(tools->widgetForAction(zoom))) {
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    tools->addSeparator();
    tools->addAction(print_);
    tools->addAction(close);

    connect(first_, &QAction::triggered, this, [this] { go_to_page(1); });
    connect(prior_, &QAction::triggered, this, [this] { go_to_page(page_ - 1); });
    connect(next_, &QAction::triggered, this, [this] { go_to_page(page_ + 1); });
    connect(last_, &QAction::triggered, this, [this] { go_to_page(page_count()); });
    connect(zoom, &QAction::triggered, this, [this] { set_zoom({zoom_mode::whole_page, 100}); });
    connect(print_, &QAction::triggered, this, &TTestPrintPreviewDlg::print_requested);
    connect(close, &QAction::triggered, this, &QDialog::accept);

    scroller_ = new QScrollArea(this);
    scroller_->setAlignment(Qt::AlignCenter);
    scroller_->setBackgroundRole(QPalette::Dark);
    sheet_ = new preview_page(engine_, scroller_);
    scroller_->setWidget(sheet_);
    connect(sheet_, &preview_page::clicked, this, &TTestPrintPreviewDlg::click_page);
    layout->addWidget(scroller_, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    for (int i = 0; i < status_panel_count; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status->addWidget(panels_[i], i == 0 ? 1 : 0);
    }
    panels_[1]->setMinimumWidth(100);
    layout->addWidget(status);
    show_hint(QString());
    refresh();
}

QAction* TTestPrintPreviewDlg::add_command(const char* name, const QString& caption,
                                           const QString& hint, const QKeySequence& key) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setToolTip(short_hint(hint));
    action->setStatusTip(long_hint(hint));
    connect(action, &QAction::hovered, this, [this, action] { show_hint(action->statusTip()); });
    addAction(action);
    return action;
}

int TTestPrintPreviewDlg::page_count() const {
    return engine_.page_count();
}

QString TTestPrintPreviewDlg::status_panel(int index) const {
    return index >= 0 && index < status_panel_count ? panels_[index]->text() : QString();
}

void TTestPrintPreviewDlg::show_hint(const QString& hint) {
    panels_[0]->setText(QStringLiteral("  ") + hint);
}

void TTestPrintPreviewDlg::go_to_page(int page) {
    page_ = std::clamp(page, 1, std::max(1, page_count()));
    refresh();
}

void TTestPrintPreviewDlg::set_zoom(const preview_zoom& zoom) {
    zoom_ = zoom;
    refresh();
}

void TTestPrintPreviewDlg::click_page(bool left_button) {
    set_zoom(zoom_after_click(zoom_, shown_percent(), left_button));
}

double TTestPrintPreviewDlg::scale_for_percent(int percent) const {
    const double screen_dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    return percent / 100.0 * screen_dpi / print_engine::resolution;
}

int TTestPrintPreviewDlg::shown_percent() const {
    if (zoom_.mode == zoom_mode::percent) return zoom_.percent;
    const QSizeF paper = engine_.page_size() * scale_for_percent(100);
    const QSize room = scroller_->viewport()->size() - QSize(2 * page_gap, 2 * page_gap);
    double fit = room.width() / paper.width();
    if (zoom_.mode == zoom_mode::whole_page) fit = std::min(fit, room.height() / paper.height());
    return std::max(1, static_cast<int>(fit * 100));
}

void TTestPrintPreviewDlg::refresh() {
    sheet_->show_page(page_, scale_for_percent(shown_percent()));
    panels_[1]->setText(tr(" Page: ") + QString::number(page_));
    first_->setEnabled(page_ > 1);
    prior_->setEnabled(page_ > 1);
    next_->setEnabled(page_ < page_count());
    last_->setEnabled(page_ < page_count());
}

void TTestPrintPreviewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    go_to_page(1);
}

void TTestPrintPreviewDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (zoom_.mode != zoom_mode::percent) refresh();
}

}  // namespace tarnwell
