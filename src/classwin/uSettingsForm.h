// The "Settings" dialog: the file manager entry and the defaults of new diagrams.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;

namespace tarnwell {

class TConfig;

class TSettingsForm : public QDialog {
    Q_OBJECT
  public:
    // `entry_file` is where the file manager's entry lives; `program` is what it starts.
    TSettingsForm(TConfig& config, std::string entry_file, std::string program,
                  QWidget* parent = nullptr);

    QCheckBox* ShellCheck() const { return shell_check_; }
    QComboBox* DiSaveCombo() const { return di_save_combo_; }
    QCheckBox* ShowAssocCheck() const { return show_assoc_check_; }
    QComboBox* VisibilityCombo() const { return visibility_combo_; }

    // OK stores the defaults and, when the entry's box was clicked, adds or removes it.
    void accept() override;

  private:
    TConfig& config_;
    std::string entry_file_;
    std::string program_;
    bool shell_clicked_ = false;
    QCheckBox* shell_check_ = nullptr;
    QComboBox* di_save_combo_ = nullptr;
    QCheckBox* show_assoc_check_ = nullptr;
    QComboBox* visibility_combo_ = nullptr;
};

}  // namespace tarnwell
