#include "classmodel/uDiagramFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include "classmodel/uDiagramText.h"
#include "workspace/notifier.h"

namespace tarnwell {

namespace {

TPoint ToPoint(const QPoint& p) {
    return {p.x(), p.y()};
}

TMouseButton ButtonOf(Qt::MouseButton button) {
    if (button == Qt::RightButton) return TMouseButton::Right;
    if (button == Qt::MiddleButton) return TMouseButton::Middle;
    return TMouseButton::Left;
}

bool CtrlHeld(const QMouseEvent* event) {
    return event->modifiers().testFlag(Qt::ControlModifier);
}

// Whether the model holds a package of its own (not only "<<Unknown>>").
bool HasUnitPackage(const TObjectModel& model) {
    return model.ModelRoot()->GetAllUnitPackages()->Count() > 0;
}

std::optional<int> WholeNumber(const QSettings& settings, const char* key) {
    const QVariant value = settings.value(QLatin1String(key));
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!value.isValid() || !ok) return std::nullopt;
    return number;
}

}  // namespace

TDiagramDefaults ReadDiagramDefaults(const QSettings& settings) {
    TDiagramDefaults defaults;
    if (const auto save = WholeNumber(settings, "DiSave"); save && *save >= 0)
        defaults.Save = static_cast<std::uint8_t>(std::min(*save, 2));
    if (const auto assoc = WholeNumber(settings, "DiShowAssoc");
        assoc && (*assoc == 0 || *assoc == 1))
        defaults.ShowAssoc = *assoc == 1;
    if (const auto filter = WholeNumber(settings, "DiVisibilityFilter");
        filter && *filter >= 0 && *filter <= 3)
        defaults.VisibilityFilter = static_cast<std::uint8_t>(*filter);
    return defaults;
}

TDiagramCanvas::TDiagramCanvas(TRtfdDiagram& diagram, const TDiagramFonts& fonts,
                               QScrollArea& scroll, QWidget* parent)
    : QWidget(parent), diagram_(diagram), fonts_(fonts), scroll_(scroll) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void TDiagramCanvas::SyncSize() {
    const TPoint size = diagram_.GetDiagramSize();
    resize(std::max(size.X, 1), std::max(size.Y, 1));
}

TScrollView TDiagramCanvas::CurrentView() const {
    return {scroll_.horizontalScrollBar()->value(), scroll_.verticalScrollBar()->value(),
            scroll_.viewport()->width(), scroll_.viewport()->height()};
}

bool TDiagramCanvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::string hint = diagram_.HintAt(ToPoint(help->pos()));
    if (hint.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromStdString(hint), this);
    }
    return true;
}

void TDiagramCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    TPaintOptions options;
    options.Clip = TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    PaintDiagram(painter, diagram_, fonts_, options);
    TvixConnectPanel& surface = diagram_.Surface();
    if (surface.InBandSelect()) {
        const TRect band = surface.BandRect();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(QColor(192, 192, 192), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band.Left, band.Top, band.Width(), band.Height());
    }
}

void TDiagramCanvas::mousePressEvent(QMouseEvent* event) {
    diagram_.Surface().MousePress(ToPoint(event->position().toPoint()), ButtonOf(event->button()),
                                  CtrlHeld(event));
    update();
}

void TDiagramCanvas::mouseMoveEvent(QMouseEvent* event) {
    TvixConnectPanel& surface = diagram_.Surface();
    TScrollView view = CurrentView();
    const TPoint shift = surface.MouseMove(ToPoint(event->position().toPoint()),
                                           event->buttons().testFlag(Qt::LeftButton), view);
    if (surface.IsMoving()) {
        SyncSize();
        scroll_.horizontalScrollBar()->setValue(view.Left);
        scroll_.verticalScrollBar()->setValue(view.Top);
        if (shift.X != 0 || shift.Y != 0)
            QCursor::setPos(QCursor::pos() - QPoint(shift.X, shift.Y));
        emit Moved();
    }
    update();
}

void TDiagramCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<std::size_t> box =
        diagram_.Surface().MouseRelease(ToPoint(event->position().toPoint()), CtrlHeld(event));
    update();
    if (box && event->button() == Qt::RightButton)
        emit BoxMenuRequested(*box, event->globalPosition().toPoint());
}

void TDiagramCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const auto box = diagram_.Surface().BoxAt(ToPoint(event->position().toPoint())))
        emit BoxDoubleClicked(*box);
}

TDiagramFrame::TDiagramFrame(TObjectModel& model, TDiagramDefaults defaults,
                             std::string fallback_storage, notifier& notifier, QWidget* parent)
    : QWidget(parent), notifier_(notifier), model_(model) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* toolbar = new QToolBar(this);
    layout_action_ = toolbar->addAction(QStringLiteral("Layout diagram"));
    layout_action_->setToolTip(QStringLiteral("Layout"));
    toolbar->addSeparator();
    toolbar->addWidget(new QLabel(QStringLiteral("Connections "), toolbar));
    connections_combo_ = new QComboBox(toolbar);
    connections_combo_->addItems(
        {QStringLiteral("Inheritance and associations"), QStringLiteral("Inheritance only")});
    toolbar->addWidget(connections_combo_);
    toolbar->addWidget(new QLabel(QStringLiteral(" Filter "), toolbar));
    visibility_combo_ = new QComboBox(toolbar);
    visibility_combo_->addItems({QStringLiteral("Show all members"), QStringLiteral("Hide private"),
                                 QStringLiteral("Hide private + protected"),
                                 QStringLiteral("Hide all members")});
    toolbar->addWidget(visibility_combo_);
    toolbar->addSeparator();
    // The view as text, for a README or a wiki page that draws Mermaid.
    QAction* mermaid = toolbar->addAction(QStringLiteral("Copy diagram as Mermaid"));
    mermaid->setObjectName(QStringLiteral("ac_copymermaid"));
    connect(mermaid, &QAction::triggered, this, [this] {
        QApplication::clipboard()->setText(QString::fromStdString(MermaidClassDiagram(*diagram_)));
    });
    layout->addWidget(toolbar);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(false);
    scroll_->setBackgroundRole(QPalette::Base);
    layout->addWidget(scroll_, 1);

    TDiagramEvents events;
    events.OnUpdateToolbar = [this] { UpdateToolbar(); };
    events.OnUpdateZoom = [this] {
        ApplyView();
        emit ZoomChanged();
    };
    events.ConfirmSave = [this] {
        return notifier_.ask(QStringLiteral("Confirm"), QStringLiteral("Save changed layout?"),
                             false) == user_answer::yes;
    };
    events.ShowMessage = [this](const std::string& text) {
        notifier_.message(QString::fromStdString(text));
    };
    events.ShowStatus = [this](const std::string& text) {
        if (status_) status_(QString::fromStdString(text));
    };
    diagram_ = std::make_unique<TRtfdDiagram>(model, fonts_, defaults, std::move(fallback_storage),
                                              std::move(events));
    canvas_ = new TDiagramCanvas(*diagram_, fonts_, *scroll_, scroll_);
    scroll_->setWidget(canvas_);

    connect(layout_action_, &QAction::triggered, this, &TDiagramFrame::DoLayout);
    connect(connections_combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        TAbstractPackage* package = diagram_->Package();
        diagram_->ChooseShowAssoc(index == 0);
        diagram_->SetPackage(nullptr);
        diagram_->SetPackage(package);
        diagram_->InitFromModel();
        Refresh();
    });
    connect(visibility_combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        // The last entry hides every member: filter 4.
        const int filter = index == 3 ? rtfd::HideAllMembers : std::max(index, 0);
        diagram_->ChooseVisibilityFilter(static_cast<std::uint8_t>(filter));
        Refresh();
    });
    connect(canvas_, &TDiagramCanvas::Moved, this, [this] { emit ZoomChanged(); });
    connect(canvas_, &TDiagramCanvas::BoxMenuRequested, this, &TDiagramFrame::ShowBoxMenu);
    connect(canvas_, &TDiagramCanvas::BoxDoubleClicked, this, [this](std::size_t box) {
        if (diagram_->Boxes()[box].Kind == TBoxKind::UnitPackage) OpenSelectedPackage();
    });
    for (QScrollBar* bar : {scroll_->horizontalScrollBar(), scroll_->verticalScrollBar()}) {
        bar->setTracking(true);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (applying_view_) return;
            diagram_->View() = {scroll_->horizontalScrollBar()->value(),
                                scroll_->verticalScrollBar()->value(), scroll_->viewport()->width(),
                                scroll_->viewport()->height()};
            emit ZoomChanged();
        });
    }
    UpdateToolbar();
}

TDiagramFrame::~TDiagramFrame() {
    // The diagram may store its layout, asking the user, while the frame still stands.
    diagram_.reset();
}

void TDiagramFrame::UpdateToolbar() {
    const QSignalBlocker block_connections(connections_combo_);
    const QSignalBlocker block_visibility(visibility_combo_);
    connections_combo_->setCurrentIndex(diagram_->ShowAssoc() ? 0 : 1);
    visibility_combo_->setCurrentIndex(std::min<int>(diagram_->VisibilityFilter(), 3));
    const bool enabled = HasUnitPackage(model_);
    connections_combo_->setEnabled(enabled);
    visibility_combo_->setEnabled(enabled);
}

void TDiagramFrame::ApplyView() {
    // A canvas of a new size pulls the scroll bars into its range, which must not count as
    // the user's scrolling: the position the diagram asks for wins.
    applying_view_ = true;
    canvas_->SyncSize();
    TScrollView& view = diagram_->View();
    view.Width = scroll_->viewport()->width();
    view.Height = scroll_->viewport()->height();
    scroll_->horizontalScrollBar()->setValue(view.Left);
    scroll_->verticalScrollBar()->setValue(view.Top);
    // The scroll bars know the real range; the diagram keeps what they took.
    view.Left = scroll_->horizontalScrollBar()->value();
    view.Top = scroll_->verticalScrollBar()->value();
    applying_view_ = false;
    canvas_->update();
}

void TDiagramFrame::Refresh() {
    ApplyView();
    UpdateToolbar();
    emit ZoomChanged();
}

void TDiagramFrame::DoLayout() {
    const wait_cursor wait(notifier_);
    diagram_->DoLayout();
    Refresh();
}

void TDiagramFrame::HideSelectedBoxes() {
    diagram_->HideSelectedBoxes();
    Refresh();
}

void TDiagramFrame::UnHideElements() {
    diagram_->UnHideElements();
    Refresh();
}

void TDiagramFrame::OpenSelectedPackage() {
    if (diagram_->OpenSelectedPackage()) Refresh();
}

bool TDiagramFrame::SaveAsPicture(const QString& file_name) {
    const wait_cursor wait(notifier_);
    const std::string error = tarnwell::SaveAsPicture(*diagram_, fonts_, file_name.toStdString());
    canvas_->update();
    if (error.empty()) return true;
    notifier_.message(QString::fromStdString(error));
    return false;
}

void TDiagramFrame::ShowBoxMenu(std::size_t box, QPoint global) {
    QMenu menu(this);
    if (diagram_->Boxes()[box].Kind == TBoxKind::UnitPackage) {
        connect(menu.addAction(QStringLiteral("Open selected package in diagram")),
                &QAction::triggered, this, &TDiagramFrame::OpenSelectedPackage);
    }
    connect(menu.addAction(QStringLiteral("Hide")), &QAction::triggered, this,
            &TDiagramFrame::HideSelectedBoxes);
    menu.exec(global);
}

}  // namespace tarnwell
