// "Open folder": the dialog that picks a folder and a file type, and the files it collects.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace tarnwell {

struct TOpenFolderChoice {
    std::string Folder;
    // With its dot: ".java".
    std::string Extension;
    bool IncludeSubDirectories = false;
};

// The files of the folder whose extension is the chosen one (letter case aside), in name order,
// sub-folders after the files of their folder when asked for. Hidden entries are not seen and
// links to folders are not followed, so a link back to a parent cannot loop.
std::vector<std::string> CollectFolderFiles(const TOpenFolderChoice& choice);

class TOpenFolderForm : public QDialog {
    Q_OBJECT
  public:
    // `file_types` are "*.class", "*.java", ...; the last one is chosen at first.
    TOpenFolderForm(const QStringList& file_types, QWidget* parent);
    // None when cancelled or no folder is chosen.
    std::optional<TOpenFolderChoice> Choose();

  private:
    QFileSystemModel* folders_ = nullptr;
    QTreeView* tree_ = nullptr;
    QComboBox* file_type_ = nullptr;
    QCheckBox* sub_directories_ = nullptr;
};

}  // namespace tarnwell
