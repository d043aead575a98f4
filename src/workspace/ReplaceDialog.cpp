#include "workspace/ReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "workspace/broxcombobox.h"

namespace tarnwell {

TdlgReplace::TdlgReplace(std::string input_ini, QWidget* parent)
    : TdlgFind({"Replace", "FIND", "ReplaceOptions", "Case Sensi&tive", "&Entire Document"},
               std::move(input_ini), parent) {
    cbReplaceText_ = new TBROXComboBox("REPLACE", this);
    cbReplaceText_->setObjectName(QStringLiteral("cbReplaceText"));
    auto* label = new QLabel(tr("&Replace with:"), this);
    label->setBuddy(cbReplaceText_);
    fields()->addWidget(label, 1, 0);
    fields()->addWidget(cbReplaceText_, 1, 1);
    cbPrompt_ = add_option(tr("&Prompt when Replace"));

    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setDefault(true);
    auto* all = new QPushButton(tr("Replace &All"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(all, &QPushButton::clicked, this, [this] { done(replace_all_result); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* button : {ok, all, cancel}) buttons()->addWidget(button);
    order_tabs();
    load_settings();
}

QString TdlgReplace::replace_text() const {
    return cbReplaceText_->currentText();
}

search_options TdlgReplace::replace_options() const {
    search_options chosen = options();
    chosen.replace = true;
    chosen.prompt = cbPrompt_->isChecked();
    chosen.replace_all = result() == replace_all_result;
    return chosen;
}

void TdlgReplace::load_extra(const ini_file& ini) {
    cbReplaceText_->load_history(ini);
    cbPrompt_->setChecked(stored_flag(ini, "Prompt"));
}

void TdlgReplace::store_extra(ini_file& ini) const {
    cbReplaceText_->save_history(ini);
    store_flag(ini, "Prompt", cbPrompt_->isChecked());
}

}  // namespace tarnwell
