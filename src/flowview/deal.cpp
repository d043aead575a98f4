#include "flowview/deal.h"

#include <QApplication>
#include <QStringList>
#include <cstdlib>

#include "explorer/explorer_actions.h"
#include "flowview/flowchart_actions.h"
#include "officeexport/office_export_actions.h"
#include "workspace/datamod.h"
#include "workspace/program_paths.h"
#include "workspace/umainform.h"

namespace tarnwell {

explorer_actions* add_code_explorer(TMainform& window, flowchart_actions& flowchart) {
    auto* explorer = new explorer_actions(
        window, [&flowchart](int declaration_line, int begin_line, int end_line, bool move_caret) {
            flowchart.procedure_chosen(declaration_line, begin_line, end_line, move_caret);
        });
    QObject::connect(&flowchart, &flowchart_actions::marks_made_valid, explorer,
                     &explorer_actions::select_procedure_at_line);
    return explorer;
}

int program_entry(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QApplication::setOrganizationName(QStringLiteral("broxsoft"));

    TeditorDataModule data;
    const program_paths paths =
        resolve_program_paths(QApplication::applicationDirPath().toStdString(),
                              std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    TMainform main_window(data, paths);
    // All are owned by the window; the export commands go into the flowchart menu.
    add_code_explorer(main_window, *new flowchart_actions(main_window));
    new office_export_actions(main_window);
    main_window.show();

    const QStringList files = QApplication::arguments().mid(1);
    for (const QString& file : files) main_window.open_file(file);
    if (main_window.document_count() == 0) main_window.display_sample();
    if (main_window.document_count() == 0) main_window.new_document();
    return QApplication::exec();
}

}  // namespace tarnwell
