#include "classwin/uOpenFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "classmodel/uIntegrator.h"

namespace tarnwell {

namespace {

namespace fs = std::filesystem;

// Folders deeper than this are not entered; real source trees stay far below it.
constexpr int MaxFolderDepth = 64;

void CollectInto(const fs::path& folder, const TOpenFolderChoice& choice, int depth,
                 std::vector<std::string>& files) {
    std::vector<fs::path> found_files;
    std::vector<fs::path> sub_folders;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path& path = entries->path();
        if (path.filename().string().starts_with('.')) continue;
        std::error_code type_error;
        const fs::file_status own = entries->symlink_status(type_error);
        if (type_error) continue;
        if (fs::is_directory(own)) {
            sub_folders.push_back(path);
        } else if (entries->is_regular_file(type_error) &&
                   LowerExtension(path.filename().string()) == choice.Extension) {
            found_files.push_back(path);
        }
    }
    std::sort(found_files.begin(), found_files.end());
    for (const fs::path& file : found_files) files.push_back(file.string());
    if (!choice.IncludeSubDirectories || depth >= MaxFolderDepth) return;
    std::sort(sub_folders.begin(), sub_folders.end());
    for (const fs::path& sub : sub_folders) CollectInto(sub, choice, depth + 1, files);
}

}  // namespace

std::vector<std::string> CollectFolderFiles(const TOpenFolderChoice& choice) {
    std::vector<std::string> files;
    TOpenFolderChoice lower = choice;
    lower.Extension = LowerExtension("x" + choice.Extension.substr(0, 10));
    if (lower.Extension.empty()) return files;
    CollectInto(fs::path(choice.Folder), lower, 0, files);
    return files;
}

TOpenFolderForm::TOpenFolderForm(const QStringList& file_types, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OpenFolderForm"));
    setWindowTitle(tr("Open folder"));
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QDir::rootPath());
    tree_ = new QTreeView(this);
    tree_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->setHeaderHidden(true);
    tree_->setCurrentIndex(folders_->index(QDir::homePath()));
    file_type_ = new QComboBox(this);
    file_type_->setObjectName(QStringLiteral("FileTypeCombo"));
    file_type_->addItems(file_types);
    file_type_->setCurrentIndex(static_cast<int>(file_types.size()) - 1);
    sub_directories_ = new QCheckBox(tr("Include SubDirectory"), this);
    sub_directories_->setObjectName(QStringLiteral("SubDirCheck"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    auto* form = new QFormLayout;
    form->addRow(tr("File type"), file_type_);
    layout->addLayout(form);
    layout->addWidget(sub_directories_);
    layout->addWidget(buttons);
    resize(420, 480);
}

std::optional<TOpenFolderChoice> TOpenFolderForm::Choose() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    const QString folder = folders_->filePath(tree_->currentIndex());
    if (folder.isEmpty()) return std::nullopt;
    // The type's text from its second character: "*.java" gives ".java".
    return TOpenFolderChoice{QFile::encodeName(folder).toStdString(),
                             file_type_->currentText().mid(1).toStdString(),
                             sub_directories_->isChecked()};
}

}  // namespace tarnwell
