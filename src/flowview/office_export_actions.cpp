#include "flowview/office_export_actions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include "flowview/flowchart_commands.h"
#include "flowview/marked_region.h"
#include "officeexport/cell_table.h"
#include "officeexport/export_options_dialog.h"
#include "officeexport/office_export.h"
#include "parsers/language_table.h"
#include "workspace/datamod.h"
#include "workspace/history_list.h"
#include "workspace/mysynedit.h"
#include "workspace/notifier.h"
#include "workspace/umainform.h"

namespace tarnwell {

namespace {

constexpr int hint_panel = 4;

struct command {
    export_application application;
    const char* name;
    const char* caption;
};

constexpr command commands[] = {
    {export_application::visio, "ac_visio", "Export flowchart to Visio"},
    {export_application::word, "ac_word", "Export flowchart to Word"},
    {export_application::excel, "ac_excel", "Export flowchart to Excel"},
    {export_application::powerpoint, "ac_powerpoint", "Export flowchart to PowerPoint"},
};

std::size_t index_of(export_application application) {
    return static_cast<std::size_t>(application);
}

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

// Why a document gives no code to chart: no language is chosen for it, or its marks.
QString chart_problem(const TMySynEdit& editor) {
    if (editor.doc.language == language_general) return text_of(std::string(no_language_message));
    const bookmark_set marks = editor.bookmarks();
    const std::optional<bookmark_pos>& begin = marks[begin_mark];
    const std::optional<bookmark_pos>& end = marks[end_mark];
    if (begin && end && begin->line > end->line) {
        return QObject::tr(
                   "The begin mark (line %1) stands below the end mark (line %2). Put the "
                   "begin mark on the first line of the code to chart and the end mark on "
                   "its last line.")
            .arg(begin->line)
            .arg(end->line);
    }
    return text_of(std::string(mark_message));
}

}  // namespace

std::optional<cell_table> marked_chart_table(TMainform& window, int level, int limit) {
    TMySynEdit* editor = window.current_document();
    // No parser reads a document of no language; the default one would chart it as C.
    if (editor == nullptr || editor->doc.language == language_general) return std::nullopt;
    const std::string text = editor->bytes();
    const std::optional<marked_region> region = marked_text(text, editor->bookmarks());
    if (!region) return std::nullopt;
    document& doc = editor->doc;
    settle_parser_slot(doc);
    parser_result parsed;
    if (tsparser* parser = window.data().parsers().parser_at(doc.parser_slot)) {
        parsed = parser->parse(region->text);
    } else {
        parsed.message = "No parser charts this language.";
    }
    // As on the screen, what parsed before an error is still charted.
    if (!parsed.ok) window.messages().message(text_of(parse_error_text(parsed)));
    txml2script& engine = window.data().layout_engine();
    engine.parser_slot = doc.parser_slot;
    engine.markup = parsed.markup;
    engine.make_cells(level);
    const charted_text charted{text, region->offset,
                               static_cast<std::int64_t>(region->text.size())};
    return cell_table::build(engine.cells(), charted, limit);
}

office_export_actions::office_export_actions(TMainform& window, std::string output_dir)
    : QObject(&window), window_(window), output_dir_(std::move(output_dir)) {
    QMenu* menu = window.menuBar()->findChild<QMenu*>(QStringLiteral("flowchartMenu"));
    if (menu != nullptr) menu->addSeparator();
    for (const command& c : commands) {
        if (!office_export_available(c.application)) continue;
        auto* action = new QAction(tr(c.caption), this);
        action->setObjectName(QString::fromLatin1(c.name));
        action->setEnabled(false);
        connect(action, &QAction::triggered, this,
                [this, application = c.application] { export_to(application); });
        actions_[index_of(c.application)] = action;
        if (menu != nullptr) menu->addAction(action);
    }
    connect(&window, &TMainform::actions_updating, this, &office_export_actions::update_actions);
}

office_export_actions::~office_export_actions() = default;

QAction* office_export_actions::action(export_application application) const {
    return actions_[index_of(application)];
}

void office_export_actions::update_actions(TMySynEdit* editor) {
    // The same rule as the bitmap export: the document has both marks.
    bool marked = false;
    if (editor != nullptr) {
        const bookmark_set marks = editor->bookmarks();
        marked = marks[begin_mark].has_value() && marks[end_mark].has_value();
    }
    for (QAction* action : actions_) {
        if (action != nullptr) action->setEnabled(marked);
    }
}

TfmExportOptions& office_export_actions::dialog(export_application application) {
    std::unique_ptr<TfmExportOptions>& slot = dialogs_[index_of(application)];
    if (!slot) {
        const program_paths& paths = window_.paths();
        export_dialog_places places{paths.program_dir, output_dir_, paths.ini_file(),
                                    (paths.settings_dir / std::string(input_ini_name)).string()};
        slot = std::make_unique<TfmExportOptions>(
            application, std::move(places), window_.settings_file(), window_.messages(),
            [this](const start_outcome& start) { return run(start); }, &window_);
    }
    return *slot;
}

void office_export_actions::export_to(export_application application) {
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return;
    // Refused before the options are filled in, as the flowchart refuses it.
    if (editor->doc.language == language_general) {
        window_.messages().message(text_of(std::string(no_language_message)));
        return;
    }
    dialog(application)
        .show_for(file_name_of(editor->doc.file_path), editor->doc.flowchart.function_name,
                  editor->doc.flowchart.expand_level);
}

bool office_export_actions::run(const start_outcome& start) {
    notifier& messages = window_.messages();
    TMySynEdit* editor = window_.current_document();
    if (editor == nullptr) return false;
    const std::optional<cell_table> table = marked_chart_table(
        window_, start.parameters.expand_level, start.parameters.character_limit());
    if (!table) {
        messages.message(chart_problem(*editor));
        return false;
    }
    window_.set_status_panel(hint_panel, tr(" Exporting flowchart..."));

    const auto write = [&](const export_parameters& parameters, const std::string& file) {
        office_export_summary summary;
        std::string notice;
        std::string error;
        const bool written = write_office_export(*table, parameters, file, summary, notice, error);
        if (!notice.empty()) messages.message(text_of(notice));
        if (!written) messages.message(tr("Cannot write ") + text_of(file) + "\n" + text_of(error));
        return written;
    };
    bool stamped_written = false;
    if (!start.stamped_file.empty()) {
        export_parameters inverted = start.parameters;
        inverted.show_source_code = !inverted.show_source_code;
        stamped_written = write(inverted, start.stamped_file);
    }
    const std::string& output = start.parameters.output_file;
    if (!write(start.parameters, output)) {
        window_.set_status_panel(hint_panel, QStringLiteral(" "));
        return false;
    }
    window_.set_status_panel(hint_panel, tr(" Exported to ") + text_of(output));
    QString written = tr("The flowchart was written to ") + text_of(output);
    if (stamped_written) {
        written += tr("\nand, with \"Display source code\" the other way, to ") +
                   text_of(start.stamped_file);
    }
    if (messages.ask(tr("Export"), written + tr(".\nOpen it now?"), false) == user_answer::yes &&
        !messages.show_page(QUrl::fromLocalFile(text_of(output)))) {
        messages.message(tr("No application could be started to open ") + text_of(output) +
                         tr(". Open it from the file manager."));
    }
    return true;
}

}  // namespace tarnwell
