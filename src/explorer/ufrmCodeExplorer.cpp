#include "explorer/ufrmCodeExplorer.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>
#include <exception>

#include "explorer/proc_scanner_choice.h"
#include "explorer/ufrmExplorerOptions.h"
#include "workspace/mysynedit.h"
#include "workspace/notifier.h"
#include "workspace/umainform.h"

namespace tarnwell {

namespace {

constexpr int entry_role = Qt::UserRole;

QString text_of(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The picture of a category's procedures: a letter on a coloured square, drawn the other
// way round when the node is selected.
QIcon category_icon(int category) {
    static const std::array<QColor, category_count> colours = {
        QColor(128, 128, 128), QColor(32, 96, 176),  QColor(96, 64, 160), QColor(64, 128, 128),
        QColor(40, 128, 56),   QColor(176, 112, 16), QColor(168, 40, 40)};
    static const std::array<char, category_count> letters = {'M', 'F', 'S', 'T', 'P', 'C', 'D'};
    const QColor colour = colours[static_cast<std::size_t>(category)];
    const auto draw = [&](bool selected) {
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(colour.darker(140));
        painter.setBrush(selected ? QColor(Qt::white) : colour);
        painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
        QFont font = painter.font();
        font.setPixelSize(10);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(selected ? colour : QColor(Qt::white));
        painter.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter,
                         QString(QChar::fromLatin1(letters[static_cast<std::size_t>(category)])));
        return picture;
    };
    QIcon icon;
    icon.addPixmap(draw(false), QIcon::Normal);
    icon.addPixmap(draw(true), QIcon::Selected);
    return icon;
}

}  // namespace

TfrmCodeExplorer::TfrmCodeExplorer(TMainform& window, procedure_chosen_handler chosen,
                                   QWidget* parent)
    : QWidget(parent),
      window_(window),
      chosen_(std::move(chosen)),
      make_scanner_(make_proc_scanner) {
    setObjectName(QStringLiteral("frmCodeExplorer"));
    setWindowTitle(tr("Exploring"));
    resize(142, 217);
    treCodeExplorer_ = new QTreeWidget(this);
    treCodeExplorer_->setObjectName(QStringLiteral("treCodeExplorer"));
    treCodeExplorer_->setHeaderHidden(true);
    treCodeExplorer_->setIndentation(19);
    treCodeExplorer_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treCodeExplorer_->setSelectionMode(QAbstractItemView::SingleSelection);
    treCodeExplorer_->setContextMenuPolicy(Qt::CustomContextMenu);
    treCodeExplorer_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(treCodeExplorer_);

    connect(treCodeExplorer_, &QTreeWidget::itemClicked, this,
            [this] { node_chosen(origin::none); });
    connect(treCodeExplorer_, &QTreeWidget::itemDoubleClicked, this,
            [this] { node_chosen(origin::none); });
    create_popup();
    connect(treCodeExplorer_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        popCodeExplorer_->popup(treCodeExplorer_->viewport()->mapToGlobal(at));
    });

    tmrCodeExplorer_ = new QTimer(this);
    tmrCodeExplorer_->setInterval(timer_interval_ms);
    connect(tmrCodeExplorer_, &QTimer::timeout, this, &TfrmCodeExplorer::timer_step);
    build_roots();
}

TfrmCodeExplorer::~TfrmCodeExplorer() {
    // The scanner's thread ends before the explorer; the result it posts dies with the explorer.
    scanner_.reset();
}

void TfrmCodeExplorer::create_popup() {
    popCodeExplorer_ = new QMenu(this);
    popCodeExplorer_->setObjectName(QStringLiteral("popCodeExplorer"));
    auto* view_editor = new QAction(tr("View Editor"), this);
    view_editor->setObjectName(QStringLiteral("mniViewEditor"));
    view_editor->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    view_editor->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(view_editor, &QAction::triggered, this, [this] {
        if (TMySynEdit* editor = window_.current_document()) editor->setFocus();
    });
    // The key works wherever the explorer has the focus, not only in the open menu.
    addAction(view_editor);
    auto* close = new QAction(tr("Close"), this);
    close->setObjectName(QStringLiteral("mniClose"));
    connect(close, &QAction::triggered, this, &TfrmCodeExplorer::close_requested);
    auto* options = new QAction(tr("Properties"), this);
    options->setObjectName(QStringLiteral("mniCodeExpProp"));
    connect(options, &QAction::triggered, this, &TfrmCodeExplorer::show_options);
    popCodeExplorer_->addAction(view_editor);
    popCodeExplorer_->addAction(close);
    popCodeExplorer_->addSeparator();
    popCodeExplorer_->addAction(options);
}

void TfrmCodeExplorer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tmrCodeExplorer_->start();
}

bool TfrmCodeExplorer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == treCodeExplorer_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            node_chosen(origin::none);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmCodeExplorer::document_changed() {
    TMySynEdit* editor = window_.current_document();
    path_ = editor != nullptr ? QFile::decodeName(QByteArray::fromStdString(editor->doc.file_path))
                              : QString();
    watch_edits(editor);
    treCodeExplorer_->setCurrentItem(nullptr);
    treCodeExplorer_->clearSelection();
    treCodeExplorer_->verticalScrollBar()->setValue(0);
    build_roots();
}

void TfrmCodeExplorer::watch_edits(TMySynEdit* editor) {
    if (editor == watched_editor_) return;
    disconnect(edit_watch_);
    watched_editor_ = editor;
    re_explore_ = false;
    if (editor != nullptr) {
        edit_watch_ =
            connect(editor, &QsciScintilla::textChanged, this, [this] { re_explore_ = true; });
    }
}

void TfrmCodeExplorer::build_roots() {
    kept_expansion_.reset();
    const TMySynEdit* editor = window_.current_document();
    const int kind = editor != nullptr ? explorer_language_kind(editor->doc.language) : 0;
    model_.build_roots(kind, properties_);
    show_model();
    explore();
}

void TfrmCodeExplorer::explore() {
    if (!cycle_.request()) return;
    setWindowTitle(tr("Exploring") + QStringLiteral(" ") + path_);
    set_busy_view(true);
    saved_top_ = absolute_index_of(treCodeExplorer_->itemAt(0, 0));
    saved_selected_ = absolute_index_of(treCodeExplorer_->currentItem());
    model_.clear_procedures();
    show_model();

    scanned_ = current_subject();
    const TMySynEdit* editor = window_.current_document();
    try {
        std::unique_ptr<TKestrinProcLexer> scanner = editor != nullptr && !scanned_.text.empty()
                                                         ? make_scanner_(editor->doc.language)
                                                         : nullptr;
        if (!scanner) {
            cycle_.abandon();
            set_busy_view(false);
            return;
        }
        scanner->set_source_text(scanned_.text);
        scanner->set_time_budget(scan_budget_ms);
        const std::uint64_t scan = ++scan_number_;
        // The scanner's thread only posts the news; the result is read on this thread.
        scanner->start([this, scan](TKestrinProcLexer&) {
            QMetaObject::invokeMethod(
                this, [this, scan] { result_processing(scan); }, Qt::QueuedConnection);
        });
        scanner_ = std::move(scanner);
    } catch (const std::exception& error) {
        cycle_.abandon();
        set_busy_view(false);
        show_failure(error);
    }
}

scan_subject TfrmCodeExplorer::current_subject() const {
    const TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return {};
    return {editor, explorer_language_kind(editor->doc.language), editor->bytes()};
}

void TfrmCodeExplorer::result_processing(std::uint64_t scan) {
    if (!scanner_ || scan != scan_number_) return;
    scanner_->wait();
    const std::unique_ptr<TKestrinProcLexer> finished = std::move(scanner_);
    const explore_cycle::scan_end end = cycle_.finish(scanned_, current_subject());
    try {
        if (end.apply_result) {
            apply_result(finished->result_text());
            if (end.select_line) select_now(*end.select_line);
        }
    } catch (const std::exception& error) {
        show_failure(error);
    }
    set_busy_view(false);
    emit scan_ended();
    if (end.explore_again) explore();
}

void TfrmCodeExplorer::show_failure(const std::exception& error) {
    window_.messages().message(tr("The procedures cannot be listed: ") + text_of(error.what()));
}

void TfrmCodeExplorer::apply_result(const std::string& result_text) {
    TCodeExplorerProperties shape = properties_;
    if (kept_expansion_) shape.CategoryExpanded = *kept_expansion_;
    kept_expansion_.reset();
    model_.add_result(result_text, shape);
    re_explore_ = false;
    show_model();
    if (const std::optional<node_ref> selected =
            saved_selected_ >= 0 ? model_.node_at(static_cast<std::size_t>(saved_selected_))
                                 : std::nullopt) {
        treCodeExplorer_->setCurrentItem(item_of(*selected));
    }
    if (const std::optional<node_ref> top =
            saved_top_ >= 0 ? model_.node_at(static_cast<std::size_t>(saved_top_)) : std::nullopt) {
        treCodeExplorer_->scrollToItem(item_of(*top), QAbstractItemView::PositionAtTop);
    }
}

void TfrmCodeExplorer::set_busy_view(bool busy) {
    treCodeExplorer_->setUpdatesEnabled(!busy);
}

void TfrmCodeExplorer::show_model() {
    treCodeExplorer_->clear();
    const QIcon root_icon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const explorer_root& root : model_.roots()) {
        auto* root_item = new QTreeWidgetItem(treCodeExplorer_, {text_of(root.text)});
        root_item->setIcon(0, root_icon);
        root_item->setData(0, entry_role, -1);
        const QIcon icon = category_icon(root.category);
        for (const std::size_t entry : root.children) {
            auto* item = new QTreeWidgetItem(root_item, {text_of(model_.entries()[entry].name)});
            item->setIcon(0, icon);
            item->setData(0, entry_role, static_cast<qulonglong>(entry));
        }
        root_item->setExpanded(root.expanded);
    }
}

QTreeWidgetItem* TfrmCodeExplorer::item_of(node_ref node) const {
    QTreeWidgetItem* root = treCodeExplorer_->topLevelItem(static_cast<int>(node.root));
    if (root == nullptr || !node.child) return root;
    return root->child(static_cast<int>(*node.child));
}

std::optional<node_ref> TfrmCodeExplorer::node_of(QTreeWidgetItem* item) const {
    if (item == nullptr) return std::nullopt;
    if (QTreeWidgetItem* root = item->parent()) {
        return node_ref{static_cast<std::size_t>(treCodeExplorer_->indexOfTopLevelItem(root)),
                        static_cast<std::size_t>(root->indexOfChild(item))};
    }
    const int root = treCodeExplorer_->indexOfTopLevelItem(item);
    if (root < 0) return std::nullopt;
    return node_ref{static_cast<std::size_t>(root), std::nullopt};
}

int TfrmCodeExplorer::absolute_index_of(QTreeWidgetItem* item) const {
    const std::optional<node_ref> node = node_of(item);
    if (!node) return -1;
    const std::optional<std::size_t> index = model_.absolute_index(*node);
    return index ? static_cast<int>(*index) : -1;
}

void TfrmCodeExplorer::select_procedure_at_line(int line) {
    // No waiting here: the tab may change or close before a running scan ends, so the end of
    // the scan makes the selection if the document is still the current one.
    if (cycle_.busy()) {
        cycle_.defer_selection(window_.current_document(), line);
        return;
    }
    select_now(line);
}

void TfrmCodeExplorer::select_now(int line) {
    const std::optional<std::size_t> entry = model_.procedure_at_line(line);
    if (!entry) return;
    const std::optional<node_ref> node = model_.node_of_entry(*entry);
    QTreeWidgetItem* item = node ? item_of(*node) : nullptr;
    if (item == nullptr || item == treCodeExplorer_->currentItem()) return;
    treCodeExplorer_->setCurrentItem(item);
    node_chosen(origin::begin_mark);
}

void TfrmCodeExplorer::timer_step() {
    if (!re_explore_ || cycle_.busy()) return;
    std::array<bool, category_count> expansion = properties_.CategoryExpanded;
    for (std::size_t r = 0; r < model_.roots().size(); ++r) {
        if (const QTreeWidgetItem* root = treCodeExplorer_->topLevelItem(static_cast<int>(r))) {
            expansion[static_cast<std::size_t>(model_.roots()[r].category)] = root->isExpanded();
        }
    }
    kept_expansion_ = expansion;
    explore();
}

void TfrmCodeExplorer::node_chosen(origin from) {
    const std::optional<node_ref> node = node_of(treCodeExplorer_->currentItem());
    const std::optional<std::size_t> entry = node ? model_.entry_of(*node) : std::nullopt;
    if (!entry) return;
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    const procedure_entry& procedure = model_.entries()[*entry];
    editor->doc.flowchart.function_name = procedure.name;
    if (from == origin::begin_mark) return;
    procedure_lines lines = parse_position(procedure.position);
    if (lists_whole_definitions(editor->doc.language) && lines.declaration == lines.begin) {
        // The flowchart side leaves out a begin line that holds the name, as the other
        // scanners begin at the opening of the body; here the begin line opens the definition
        // that is charted whole. The caret goes to the name here instead.
        if (from == origin::none && lines.declaration > 0) {
            editor->set_caret({1, lines.declaration});
        }
        lines.declaration = 0;
    }
    if (chosen_) chosen_(lines.declaration, lines.begin, lines.end, from == origin::none);
    // The chart may have taken the focus and the document may have gone meanwhile.
    if (TMySynEdit* shown = window_.current_document()) {
        shown->SendScintilla(QsciScintillaBase::SCI_VERTICALCENTRECARET);
        shown->setFocus();
    }
}

void TfrmCodeExplorer::show_options() {
    TfrmExplorerOptions dialog(this);
    dialog.load(properties_);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.save(properties_);
    build_roots();
}

}  // namespace tarnwell
