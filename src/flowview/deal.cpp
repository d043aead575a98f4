#include "flowview/deal.h"

#include <QApplication>
#include <QStringList>
#include <cstdlib>

#include "flowview/flowchart_actions.h"
#include "officeexport/office_export_actions.h"
#include "workspace/datamod.h"
#include "workspace/program_paths.h"
#include "workspace/umainform.h"

namespace tarnwell {

int program_entry(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QApplication::setOrganizationName(QStringLiteral("broxsoft"));

    TeditorDataModule data;
    const program_paths paths =
        resolve_program_paths(QApplication::applicationDirPath().toStdString(),
                              std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    TMainform main_window(data, paths);
    new flowchart_actions(main_window);      // owned by the window
    new office_export_actions(main_window);  // after the flowchart menu it adds to
    main_window.show();

    const QStringList files = QApplication::arguments().mid(1);
    for (const QString& file : files) main_window.open_file(file);
    if (main_window.document_count() == 0) main_window.display_sample();
    if (main_window.document_count() == 0) main_window.new_document();
    return QApplication::exec();
}

}  // namespace tarnwell
