#include "flowview/flowchart_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <filesystem>

#include "flowview/broxgrid.h"
#include "flowview/chart_pdf.h"
#include "flowview/chart_picture.h"
#include "flowview/graphpanel.h"
#include "flowview/grid_loading.h"
#include "flowview/marked_region.h"
#include "flowview/office_export_actions.h"
#include "flowview/symbol_painter.h"
#include "officeexport/flowchart_text.h"
#include "parsers/language_table.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/notifier.h"
#include "workspace/umainform.h"

namespace tarnwell {

namespace {

std::string local_path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shown_path(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString text_of(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Editor text as the editor shows it: UTF-8, or one character per byte.
QString editor_string(const TMySynEdit& editor, std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    return editor.isUtf8() ? QString::fromUtf8(bytes.data(), size)
                           : QString::fromLatin1(bytes.data(), size);
}

// The paper of the user's country: Letter where lengths are in inches, A4 elsewhere.
QPageSize::PageSizeId local_paper() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                      : QPageSize::A4;
}

// The tool bar's picture of the command: a decision of the chart.
QIcon chart_icon() {
    QPixmap picture(27, 21);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint_symbol(painter, QRectF(0, 0, 27, 21), "p_if", symbol_set::small);
    return QIcon(picture);
}

}  // namespace

flowchart_actions::flowchart_actions(TMainform& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("flowchartActions"));
    panel_ = new graphpanel(&window);
    panel_->grid()->set_path(local_path(window.picture_folder()));
    panel_->show_mode(window.small_pictures() ? graphpanel::small_mode : graphpanel::big_mode);
    window.dock_graphpanel(panel_);
    create_actions();
    add_to_menus();

    connect(panel_->grid(), &tbroxgrid::Oncellclick, this, &flowchart_actions::cell_click);
    panel_->grid()->set_hint_source([this](int column, int row) { return cell_hint(column, row); });
    choose_printer_ = [&window](QPrinter& printer) {
        QPrintDialog dialog(&printer, &window);
        return dialog.exec() == QDialog::Accepted;
    };
    connect(panel_, &graphpanel::level_chosen, this, &flowchart_actions::create_or_refresh);
    connect(panel_, &graphpanel::mode_chosen, this, &flowchart_actions::display_mode);
    connect(panel_, &graphpanel::entered, this, &flowchart_actions::refresh_if_stale);
    connect(panel_, &graphpanel::grid_pressed, this, &flowchart_actions::refresh_if_stale);
    connect(&window, &TMainform::document_activated, this, &flowchart_actions::document_activated);
    connect(&window, &TMainform::actions_updating, this, &flowchart_actions::update_actions);
    connect(&window, &TMainform::language_chosen, this, [this](TMySynEdit* editor) {
        // Only a chart that can be drawn is refreshed: a language picked for unmarked code
        // has nothing to chart and no reason for the mark message.
        if (marked_text(editor->bytes(), editor->bookmarks())) create_or_refresh(level_refresh);
    });
}

QAction* flowchart_actions::make_action(const char* name, const QString& caption,
                                        const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void flowchart_actions::create_actions() {
    ac_layer_ = make_action("ac_layer", tr("Create or Refresh &flowchart "), Qt::Key_F2);
    ac_layer_->setIconText(tr("Create or Refresh flowchart "));
    ac_layer_->setToolTip(tr("Create or Refresh flowchart "));
    ac_layer_->setIcon(chart_icon());
    connect(ac_layer_, &QAction::triggered, this, [this] { create_or_refresh(level_refresh); });

    // Alt+A and Alt+S go to the marked lines; setting the marks has the keys beside them.
    Mark_start_ = make_action("Mark_start", tr("&Mark begin line of code"),
                              QKeySequence(Qt::ALT | Qt::Key_Q));
    Mark_end_ =
        make_action("Mark_end", tr("Mar&k end line of code"), QKeySequence(Qt::ALT | Qt::Key_W));
    for (QAction* mark_action : {Mark_start_, Mark_end_}) mark_action->setCheckable(true);
    connect(Mark_start_, &QAction::triggered, this, [this] { mark(begin_mark); });
    connect(Mark_end_, &QAction::triggered, this, [this] { mark(end_mark); });
    ac_markall_ = make_action("ac_markall", tr("Mark all code in editor"), QKeySequence());
    connect(ac_markall_, &QAction::triggered, this, &flowchart_actions::mark_all);

    ac_parsesel_ =
        make_action("ac_parsesel", tr("Parse &selected code"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(ac_parsesel_, &QAction::triggered, this, [this] { parse_selection(0); });
    ac_prhighlight_ = make_action("ac_prhighlight", tr("Parse highlighted co&de"),
                                  QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(ac_prhighlight_, &QAction::triggered, this, [this] { parse_selection(1); });
    ac_hlrelate_ = make_action("ac_hlrelate", tr("Highlight related flowchart"), Qt::Key_F4);
    connect(ac_hlrelate_, &QAction::triggered, this, &flowchart_actions::highlight_related);
    ac_bmp_ = make_action("ac_bmp", tr("Export flowchart as Bitmap"), QKeySequence());
    connect(ac_bmp_, &QAction::triggered, this, &flowchart_actions::export_bitmap);
    ac_pdf_ = make_action("ac_pdf", tr("Export flowchart as PDF"), QKeySequence());
    connect(ac_pdf_, &QAction::triggered, this, &flowchart_actions::export_pdf);
    ac_print_ = make_action("ac_printchart", tr("Print flowchart"), QKeySequence());
    connect(ac_print_, &QAction::triggered, this, &flowchart_actions::print_chart);
    ac_mermaid_ = make_action("ac_mermaid", tr("Copy flowchart as Mermaid"), QKeySequence());
    connect(ac_mermaid_, &QAction::triggered, this, &flowchart_actions::copy_mermaid);
    ac_copyhighlight_ = make_action("ac_copyhighlight", tr("Copy &highlighted code"),
                                    QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(ac_copyhighlight_, &QAction::triggered, this,
            &flowchart_actions::copy_highlighted_code);
    ac_flowwindow_ =
        make_action("ac_flowwindow", tr("Open/Close Flowchart Window"), QKeySequence());
    connect(ac_flowwindow_, &QAction::triggered, this, &flowchart_actions::toggle_panel);
}

void flowchart_actions::add_to_menus() {
    QMenuBar* bar = window_.menuBar();
    const QList<QAction*> menus = bar->actions();
    auto* chart = new QMenu(tr("Flow&chart"), bar);
    chart->setObjectName(QStringLiteral("flowchartMenu"));
    // The chart menu stands before the help menu, which is the last one.
    bar->insertMenu(menus.isEmpty() ? nullptr : menus.back(), chart);
    chart->addAction(ac_layer_);
    chart->addSeparator();
    for (QAction* action : {Mark_start_, Mark_end_, ac_markall_}) chart->addAction(action);
    chart->addSeparator();
    for (QAction* action : {ac_parsesel_, ac_prhighlight_, ac_hlrelate_, ac_copyhighlight_}) {
        chart->addAction(action);
    }
    chart->addSeparator();
    for (QAction* action : {ac_bmp_, ac_pdf_, ac_print_, ac_mermaid_}) chart->addAction(action);

    QMenu* popup = window_.editor_popup();
    popup->addSeparator();
    for (QAction* action : {ac_layer_, Mark_start_, Mark_end_, ac_markall_, ac_parsesel_,
                            ac_prhighlight_, ac_hlrelate_, ac_copyhighlight_}) {
        popup->addAction(action);
    }
    popup->addSeparator();
    popup->addAction(ac_flowwindow_);

    QMenu* grid_popup = panel_->grid_popup();
    QAction* first = grid_popup->actions().value(0);
    grid_popup->insertAction(first, ac_layer_);
    for (QAction* action : {ac_bmp_, ac_pdf_, ac_print_, ac_mermaid_}) {
        grid_popup->insertAction(first, action);
    }
    grid_popup->insertSeparator(first);

    QToolBar* tools = window_.tool_bar();
    tools->addSeparator();
    tools->addAction(ac_layer_);
}

void flowchart_actions::open_panel() {
    panel_->show_flowchart_page();
    if (panel_->isHidden()) panel_->show();
    const int least = panel_min_width(panel_->small_mode_shown());
    if (panel_->width() < least) window_.set_graphpanel_width(least);
}

void flowchart_actions::create_or_refresh(int index) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    open_panel();
    window_.set_status_panel(hint_panel, QStringLiteral(" "));
    flowchart_state& chart = editor->doc.flowchart;
    chart.flowchart_stale = false;
    if (editor->doc.language == language_general) {
        window_.messages().message(text_of(no_language_message));
        clear_grid();
        return;
    }
    const std::optional<marked_region> region = marked_text(editor->bytes(), editor->bookmarks());
    if (!region) {
        window_.messages().message(text_of(mark_message));
        clear_grid();
        return;
    }
    if (region->text != chart.marked_text) {
        chart.markup.clear();
        chart.marked_text = region->text;
    }
    const wait_cursor busy(window_.messages());
    const bool parsed = show_flowchart(index);
    editor->setFocus();
    // After a parse error the editor keeps showing the error's characters.
    if (parsed) cell_click(panel_->grid()->x(), panel_->grid()->y());
}

bool flowchart_actions::show_flowchart(int index) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return true;
    settle_parser_slot(editor->doc);
    bool parsed = true;
    if (index == level_reload) {
        load_chart(match_mode::containing, read_grid_script(editor->doc.flowchart.grid_script));
    } else {
        TeditorDataModule& data = window_.data();
        layout_outcome outcome = lay_out(editor->doc, index, data.parsers(), data.layout_engine());
        load_chart(outcome.mode, std::move(outcome.script));
        if (outcome.parse && !outcome.parse->ok) {
            parsed = false;
            const parser_result& failure = *outcome.parse;
            // The error's characters are shown before the box, so that it can be read with them.
            window_.set_status_panel(hint_panel, QStringLiteral(" ") + text_of(failure.message));
            const std::int64_t start =
                std::int64_t{marked_region_offset(editor->bytes(), editor->bookmarks())} +
                failure.error_pos;
            highlight_code(start, start + failure.error_len);
            window_.messages().message(text_of(parse_error_text(failure)));
        }
    }
    refill_levels();
    return parsed;
}

void flowchart_actions::load_chart(match_mode mode, std::optional<grid_script> script) {
    tbroxgrid* grid = panel_->grid();
    grid->set_drawing(false, false);
    grid->resize_grid(grid->col_count(), grid->row_count());
    shown_ = grid_script{};
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    flowchart_state& chart = editor->doc.flowchart;
    const std::string text = editor->bytes();
    if (chart.grid_script.empty() || text.empty() || !script) return;
    if (!grid->load(*script, text, marked_region_offset(text, editor->bookmarks()))) return;
    shown_ = std::move(*script);
    grid->center_on(2, 1);
    if (const std::optional<matched_cell> match =
            find_matching_cell(shown_, chart.highlight_range, mode)) {
        cell_click(match->cell.column, match->cell.row);
        grid->center_on(match->cell.column, match->cell.row);
        chart.highlight_range = match->range;
    }
    grid->set_drawing(true, true);
}

void flowchart_actions::cell_click(int column, int row) {
    TMySynEdit* editor = window_.current_document();
    if (column < 0 || row < 0 || editor == nullptr) return;
    window_.set_status_panel(grid_pos_panel, QStringLiteral("%1:%2").arg(column).arg(row));
    flowchart_state& chart = editor->doc.flowchart;
    const std::string text = editor->bytes();
    const std::optional<cell_selection> selection =
        select_chart_cell(shown_, {column, row}, chart.column_offset,
                          marked_region_offset(text, editor->bookmarks()));
    if (!selection) return;
    chart.highlight_range = selection->range;
    if (!selection->editor_range) return;
    const editor_span span = *selection->editor_range;
    window_.set_status_panel(text_pos_panel, QStringLiteral("%1:%2").arg(span.start).arg(span.end));
    tbroxgrid* grid = panel_->grid();
    grid->set_x(column);
    grid->set_y(row);
    highlighted_code_ = editor_string(*editor, editor_characters(text, span.start, span.end));
    highlight_code(span.start, span.end);
    grid->setFocus();
    grid->viewport()->update();
    window_.update_actions();
}

void flowchart_actions::highlight_code(std::int64_t start, std::int64_t end) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    const std::string text = editor->bytes();
    const text_point from = point_of(text, start);
    const text_point to = point_of(text, end);
    editor->set_highlight_range(from.line, to.line, to.column + 1, from.column);
    editor->set_caret({from.column, from.line});
}

void flowchart_actions::highlight_related() {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    open_panel();
    const std::string text = editor->bytes();
    const bookmark_pos caret = editor->caret();
    const std::int64_t position = character_index(text, caret.column - 1, caret.line) -
                                  marked_region_offset(text, editor->bookmarks());
    editor->doc.flowchart.highlight_range = position_range(position);
    show_flowchart(level_reload);
}

void flowchart_actions::display_mode(int mode) {
    if (mode != graphpanel::big_mode && mode != graphpanel::small_mode) return;
    // The panel is widened for the mode shown before a popup item changes it.
    open_panel();
    panel_->show_mode(mode);
    const bool small = mode == graphpanel::small_mode;
    const std::string folder =
        (window_.paths().program_dir / (small ? "photo2" : "photo1")).string() + "/";
    window_.set_picture_folder(shown_path(folder));
    tbroxgrid* grid = panel_->grid();
    grid->set_path(folder);
    if (small) {
        grid->set_cell_size(broxgrid_model::small_width, broxgrid_model::small_height);
    } else {
        grid->set_cell_size(broxgrid_model::large_width, broxgrid_model::large_height);
    }
}

void flowchart_actions::mark(int n) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    const bookmark_pos caret = editor->caret();
    const std::optional<bookmark_pos> existing = editor->bookmark(n);
    if (existing && existing->line == caret.line) {
        editor->clear_bookmark(n);
        clear_grid();
    } else {
        editor->set_bookmark(n, caret);
        if (marked_text(editor->bytes(), editor->bookmarks())) {
            create_or_refresh(level_refresh);
            if (const auto begin = editor->bookmark(begin_mark)) emit marks_made_valid(begin->line);
        } else {
            clear_grid();
        }
    }
    window_.update_actions();
}

void flowchart_actions::mark_all() {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    editor->set_caret({1, 1});
    mark(begin_mark);
    editor->set_caret({1, editor->line_count()});
    mark(end_mark);
}

void flowchart_actions::parse_selection(int tag) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    int first = 0;
    int last = 0;
    if (tag == 1) {
        first = editor->highlight().begin_line;
        last = editor->highlight().end_line;
    } else {
        int first_index = 0;
        int last_index = 0;
        editor->getSelection(&first, &first_index, &last, &last_index);
        ++first;
        ++last;
    }
    if (first < 1 || last < 1) return;
    chart_lines(*editor, first, last);
    window_.update_actions();
}

void flowchart_actions::chart_lines(TMySynEdit& editor, int begin_line, int end_line) {
    editor.set_bookmark(begin_mark, {1, begin_line});
    editor.set_bookmark(end_mark, {1, end_line});
    if (const auto region = marked_text(editor.bytes(), editor.bookmarks())) {
        editor.doc.flowchart.marked_text = region->text;
        create_or_refresh(level_refresh);
    }
}

void flowchart_actions::procedure_chosen(int declaration_line, int begin_line, int end_line,
                                         bool move_caret) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    if (move_caret && declaration_line > 0) editor->set_caret({1, declaration_line});
    if (begin_line < 1 || end_line < 1) {
        panel_->grid()->resize_grid(1, 1);
        editor->clear_bookmark(begin_mark);
        editor->clear_bookmark(end_mark);
    } else {
        // The line with the procedure's name is not part of its chart.
        chart_lines(*editor, declaration_line == begin_line ? begin_line + 1 : begin_line,
                    end_line);
    }
    window_.update_actions();
}

std::string flowchart_actions::document_name(const TMySynEdit& editor) const {
    // A document never saved is named by its tab.
    std::string name = editor.doc.file_path;
    for (int i = 0; name.empty() && i < window_.document_count(); ++i) {
        if (window_.document_at(i) == &editor) name = local_path(window_.tab_caption(i));
    }
    return name;
}

std::string flowchart_actions::function_title(const TMySynEdit& editor) const {
    const flowchart_state& chart = editor.doc.flowchart;
    if (!chart.function_name.empty()) return chart.function_name;
    const bookmark_set marks = editor.bookmarks();
    if (!marks[begin_mark] || !marks[end_mark]) return {};
    const int first = std::min(marks[begin_mark]->line, marks[end_mark]->line);
    const int last = std::max(marks[begin_mark]->line, marks[end_mark]->line);
    return "lines " + std::to_string(first) + "-" + std::to_string(last);
}

std::optional<QString> flowchart_actions::chosen_export_file(const QString& suggested,
                                                             const QString& filter) {
    notifier& messages = window_.messages();
    const std::optional<QString> chosen = messages.choose_save_file(suggested, filter);
    if (!chosen) return std::nullopt;
    std::error_code ec;
    if (std::filesystem::exists(local_path(*chosen), ec) &&
        messages.ask(tr("Warning"), tr("Do you want to overwrite the existing file :") + *chosen,
                     false) != user_answer::yes) {
        return std::nullopt;
    }
    return chosen;
}

TMySynEdit* flowchart_actions::drawn_chart_document(const QString& without_chart) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return nullptr;
    if (!panel_->grid()->drawing_enabled()) {
        window_.messages().message(without_chart);
        return nullptr;
    }
    return editor;
}

chart_cells flowchart_actions::shown_chart() const {
    const TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return {};
    const std::string text = editor->bytes();
    return collect_chart_cells(shown_, text, marked_region_offset(text, editor->bookmarks()));
}

void flowchart_actions::export_bitmap() {
    TMySynEdit* editor = drawn_chart_document(tr("There is no flowchart to save."));
    if (editor == nullptr) return;
    notifier& messages = window_.messages();
    tbroxgrid* grid = panel_->grid();
    const broxgrid_model& model = grid->model();
    if (!fits_one_bitmap(model.bitmap_width(), model.bitmap_height())) {
        messages.message(QString::fromStdString(
            bitmap_too_large_message(model.bitmap_width(), model.bitmap_height(), false)));
        return;
    }
    const std::optional<QString> chosen =
        chosen_export_file(shown_path(chart_file_name(document_name(*editor),
                                                      editor->doc.flowchart.expand_level, ".bmp")),
                           tr("Bitmap (*.bmp)"));
    if (!chosen) return;
    const wait_cursor busy(messages);
    if (!grid->save_to_bitmap(*chosen)) messages.message(tr("Cannot write ") + *chosen);
}

void flowchart_actions::export_pdf() {
    TMySynEdit* editor = drawn_chart_document(tr("There is no flowchart to save."));
    if (editor == nullptr) return;
    notifier& messages = window_.messages();
    const std::string name = document_name(*editor);
    const std::optional<QString> chosen = chosen_export_file(
        shown_path(chart_file_name(name, editor->doc.flowchart.expand_level, ".pdf")),
        tr("PDF (*.pdf)"));
    if (!chosen) return;
    const wait_cursor busy(messages);
    const chart_cells chart = shown_chart();
    const QSizeF paper = QPageSize(local_paper()).size(QPageSize::Millimeter);
    const chart_print print(
        chart, panel_->grid()->small_set(), page_format{paper.width(), paper.height()},
        std::filesystem::path(name).filename().string(), function_title(*editor));
    if (!write_chart_pdf(print, *chosen)) messages.message(tr("Cannot write ") + *chosen);
}

void flowchart_actions::print_chart() {
    TMySynEdit* editor = drawn_chart_document(tr("There is no flowchart to print."));
    if (editor == nullptr) return;
    notifier& messages = window_.messages();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(local_paper()));
    if (!choose_printer_(printer)) return;
    const wait_cursor busy(messages);
    // The pages are cut for the paper the dialog chose.
    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    const chart_cells chart = shown_chart();
    const chart_print print(
        chart, panel_->grid()->small_set(), page_format{paper.width(), paper.height()},
        std::filesystem::path(document_name(*editor)).filename().string(), function_title(*editor));
    if (!print.paint_on(printer)) messages.message(tr("The flowchart could not be printed."));
}

QString flowchart_actions::cell_hint(int column, int row) const {
    const TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return {};
    // The cell the grid shows is the last one the script wrote for its position.
    for (auto cell = shown_.cells.rbegin(); cell != shown_.cells.rend(); ++cell) {
        if (cell->row != row || std::int64_t{cell->column} - shown_.column_offset != column)
            continue;
        if (!has_code_hint(cell->name)) return {};
        const std::string text = editor->bytes();
        return editor_string(
            *editor, code_hint(text, marked_region_offset(text, editor->bookmarks()), cell->range));
    }
    return {};
}

void flowchart_actions::copy_highlighted_code() {
    QApplication::clipboard()->setText(highlighted_code_);
}

void flowchart_actions::copy_mermaid() {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    const std::optional<cell_table> table =
        marked_chart_table(window_, editor->doc.flowchart.expand_level, -1);
    if (!table) {
        window_.messages().message(tr("There is no flowchart to copy."));
        return;
    }
    keyword_list keywords = default_keywords();
    if (!editor->doc.flowchart.function_name.empty()) {
        keywords[export_start] = editor->doc.flowchart.function_name;
    }
    QApplication::clipboard()->setText(
        QString::fromStdString(mermaid_flowchart(chart_of_table(*table, keywords))));
}

void flowchart_actions::toggle_panel() {
    panel_->setVisible(panel_->isHidden());
}

void flowchart_actions::clear_grid() {
    tbroxgrid* grid = panel_->grid();
    grid->resize_grid(grid->col_count(), grid->row_count());
}

void flowchart_actions::refill_levels() {
    if (const TMySynEdit* editor = window_.current_document()) {
        panel_->fill_levels(editor->doc.flowchart.depth, editor->doc.flowchart.expand_level);
    }
}

void flowchart_actions::refresh_if_stale() {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr || !editor->doc.flowchart.flowchart_stale) return;
    // Without marks there is no chart to bring up to date, and the mark message would only
    // startle a user who moved the mouse.
    if (!marked_text(editor->bytes(), editor->bookmarks())) return;
    create_or_refresh(level_refresh);
}

void flowchart_actions::document_activated(TMySynEdit*) {
    // The frame, the status panels and the highlighted code belong to the chart of the page
    // before; the reload frames this document's own selection.
    tbroxgrid* grid = panel_->grid();
    grid->set_x(-1);
    grid->set_y(-1);
    window_.set_status_panel(grid_pos_panel, QString());
    window_.set_status_panel(text_pos_panel, QString());
    highlighted_code_.clear();
    show_flowchart(level_reload);
}

void flowchart_actions::update_actions(TMySynEdit* editor) {
    const bool has = editor != nullptr;
    const bookmark_set marks = has ? editor->bookmarks() : bookmark_set{};
    int first = -1;
    int first_index = -1;
    int last = -1;
    int last_index = -1;
    if (has) editor->getSelection(&first, &first_index, &last, &last_index);
    ac_parsesel_->setEnabled(has && first != last);
    ac_prhighlight_->setEnabled(has &&
                                editor->highlight().begin_line != editor->highlight().end_line);
    ac_copyhighlight_->setEnabled(!highlighted_code_.isEmpty());
    ac_hlrelate_->setEnabled(has && between_marks(marks, editor->caret().line));
    const bool marked = marks[begin_mark].has_value() && marks[end_mark].has_value();
    for (QAction* action : {ac_bmp_, ac_pdf_, ac_print_, ac_mermaid_}) action->setEnabled(marked);
    Mark_start_->setChecked(marks[begin_mark].has_value());
    Mark_end_->setChecked(marks[end_mark].has_value());
}

}  // namespace tarnwell
