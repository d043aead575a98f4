#include "classwin/uSettingsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "classwin/uConfig.h"
#include "classwin/uRegisterExtension.h"

namespace tarnwell {

TSettingsForm::TSettingsForm(TConfig& config, std::string entry_file, std::string program,
                             QWidget* parent)
    : QDialog(parent),
      config_(config),
      entry_file_(std::move(entry_file)),
      program_(std::move(program)) {
    setObjectName(QStringLiteral("SettingsForm"));
    setWindowTitle(tr("Settings"));
    shell_check_ = new QCheckBox(tr("Shortcut on context menu for source files"), this);
    shell_check_->setObjectName(QStringLiteral("ShellCheck"));
    shell_check_->setChecked(IsModelDiagramEntryRegistered(entry_file_));
    connect(shell_check_, &QCheckBox::clicked, this, [this] { shell_clicked_ = true; });
    di_save_combo_ = new QComboBox(this);
    di_save_combo_->setObjectName(QStringLiteral("DiSaveCombo"));
    di_save_combo_->addItems({tr("always"), tr("ask"), tr("never")});
    di_save_combo_->setCurrentIndex(config_.Defaults().Save);
    show_assoc_check_ = new QCheckBox(tr("Show associations in diagrams as default"), this);
    show_assoc_check_->setObjectName(QStringLiteral("ShowAssocCheck"));
    show_assoc_check_->setChecked(config_.Defaults().ShowAssoc);
    visibility_combo_ = new QComboBox(this);
    visibility_combo_->setObjectName(QStringLiteral("VisibilityCombo"));
    visibility_combo_->addItems({tr("Show all members"), tr("Hide private"),
                                 tr("Hide private + protected"), tr("Hide all members")});
    visibility_combo_->setCurrentIndex(config_.Defaults().VisibilityFilter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(shell_check_);
    auto* form = new QFormLayout;
    form->addRow(tr("Save changed diagram layout"), di_save_combo_);
    form->addRow(show_assoc_check_);
    form->addRow(tr("Default diagram visibility filter"), visibility_combo_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TSettingsForm::accept() {
    // A failed registration leaves the box as the user set it and says nothing.
    if (shell_clicked_) {
        if (shell_check_->isChecked())
            RegisterModelDiagramEntry(entry_file_, program_);
        else
            UnregisterModelDiagramEntry(entry_file_);
    }
    TDiagramDefaults& defaults = config_.Defaults();
    defaults.Save = static_cast<std::uint8_t>(di_save_combo_->currentIndex());
    defaults.ShowAssoc = show_assoc_check_->isChecked();
    defaults.VisibilityFilter = static_cast<std::uint8_t>(visibility_combo_->currentIndex());
    config_.StoreDefaults();
    QDialog::accept();
}

}  // namespace tarnwell
