#include "flowview/deal.h"

#include <QApplication>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "classwin/uConfig.h"
#include "classwin/uMainModule.h"
#include "classwin/uRegisterExtension.h"
#include "explorer/explorer_actions.h"
#include "flowview/flowchart_actions.h"
#include "flowview/office_export_actions.h"
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

TMainModule* add_class_model(TMainform& window) {
    auto config = std::make_unique<TConfig>(
        std::make_unique<QSettings>(QStringLiteral("broxsoft"), QStringLiteral("tarnwell")));
    return new TMainModule(
        window, std::move(config),
        ModelDiagramEntryFile(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
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
    TMainModule* classes = add_class_model(main_window);
    main_window.show();

    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    classes->Start(views);
    if (main_window.document_count() == 0) main_window.new_document();
    const int status = QApplication::exec();
    // -d and -x tell a script whether they succeeded.
    return status != 0 ? status : classes->Failed() ? 1 : 0;
}

}  // namespace tarnwell
