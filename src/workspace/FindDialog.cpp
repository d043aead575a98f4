#include "workspace/FindDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "workspace/broxcombobox.h"
#include "workspace/ini_file.h"

namespace tarnwell {

namespace {

QRadioButton* add_choice(QGroupBox* group, const QString& off, const QString& on,
                         QRadioButton*& off_button) {
    auto* layout = new QVBoxLayout(group);
    off_button = new QRadioButton(off, group);
    auto* on_button = new QRadioButton(on, group);
    layout->addWidget(off_button);
    layout->addWidget(on_button);
    off_button->setChecked(true);
    return on_button;
}

}  // namespace

bool TdlgFind::stored_flag(const ini_file& ini, std::string_view key) const {
    return ini.int_value(options_section_, key, 0) != 0;
}

void TdlgFind::store_flag(ini_file& ini, std::string_view key, bool on) const {
    ini.set_value(options_section_, key, on ? "1" : "0");
}

TdlgFind::TdlgFind(std::string input_ini, QWidget* parent)
    : TdlgFind({"Find", "FINDTXT", "FindOptions", "C&ase Sensitive", "&Entire document"},
               std::move(input_ini), parent) {
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons()->addWidget(ok);
    buttons()->addWidget(cancel);
    order_tabs();
    load_settings();
}

TdlgFind::TdlgFind(const captions& texts, std::string input_ini, QWidget* parent)
    : QDialog(parent), input_ini_(std::move(input_ini)), options_section_(texts.options_section) {
    setWindowTitle(tr(texts.title));
    auto* layout = new QVBoxLayout(this);
    fields_ = new QGridLayout;
    cbSearchText_ = new TBROXComboBox(texts.history_section, this);
    cbSearchText_->setObjectName(QStringLiteral("cbSearchText"));
    cbSearchText_->setMinimumWidth(280);
    auto* label = new QLabel(tr("Searc&h for:"), this);
    label->setBuddy(cbSearchText_);
    fields_->addWidget(label, 0, 0);
    fields_->addWidget(cbSearchText_, 0, 1);
    layout->addLayout(fields_);

    auto* groups = new QGridLayout;
    auto* options = new QGroupBox(tr("Options"), this);
    option_box_ = new QVBoxLayout(options);
    cbSearchCaseSensitive_ = add_option(tr(texts.match_case));
    cbSearchWholeWords_ = add_option(tr("&Whole Word"));
    auto* direction = new QGroupBox(tr("Direction"), this);
    rbBackward_ = add_choice(direction, tr("Forwar&d"), tr("&Backward"), rbForward_);
    auto* scope = new QGroupBox(tr("Scope"), this);
    rbSelectedOnly_ = add_choice(scope, tr("&Global"), tr("&Selection Text"), rbGlobal_);
    auto* origin = new QGroupBox(tr("Origin"), this);
    rbEntireScope_ = add_choice(origin, tr("&From Cursor"), tr(texts.entire_scope), rbFromCursor_);
    groups->addWidget(options, 0, 0);
    groups->addWidget(direction, 0, 1);
    groups->addWidget(scope, 1, 0);
    groups->addWidget(origin, 1, 1);
    layout->addLayout(groups);

    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    layout->addLayout(buttons_);
}

QCheckBox* TdlgFind::add_option(const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    option_box_->addWidget(box);
    return box;
}

void TdlgFind::order_tabs() {
    // Controls added by a subclass come last in the creation order, wherever they stand.
    std::vector<QWidget*> chain;
    const auto add_layout = [&chain](QLayout* layout) {
        for (int i = 0; i < layout->count(); ++i) {
            if (QWidget* widget = layout->itemAt(i)->widget()) chain.push_back(widget);
        }
    };
    for (int row = 0; row < fields_->rowCount(); ++row) {
        if (QLayoutItem* field = fields_->itemAtPosition(row, 1)) chain.push_back(field->widget());
    }
    add_layout(option_box_);
    chain.insert(chain.end(), {rbForward_, rbBackward_, rbGlobal_, rbSelectedOnly_, rbFromCursor_,
                               rbEntireScope_});
    add_layout(buttons_);
    for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TdlgFind::load_settings() {
    const ini_file ini = ini_file::load(input_ini_);
    cbSearchText_->load_history(ini);
    cbSearchCaseSensitive_->setChecked(stored_flag(ini, "MatchCase"));
    cbSearchWholeWords_->setChecked(stored_flag(ini, "WholeWord"));
    (stored_flag(ini, "Backward") ? rbBackward_ : rbForward_)->setChecked(true);
    (stored_flag(ini, "SelectedOnly") ? rbSelectedOnly_ : rbGlobal_)->setChecked(true);
    (stored_flag(ini, "EntireScope") ? rbEntireScope_ : rbFromCursor_)->setChecked(true);
    load_extra(ini);
}

QString TdlgFind::search_text() const {
    return cbSearchText_->currentText();
}

void TdlgFind::set_search_text(const QString& text) {
    cbSearchText_->setEditText(text);
    cbSearchText_->lineEdit()->selectAll();
}

search_options TdlgFind::options() const {
    search_options chosen;
    chosen.match_case = cbSearchCaseSensitive_->isChecked();
    chosen.whole_word = cbSearchWholeWords_->isChecked();
    chosen.backwards = rbBackward_->isChecked();
    chosen.selected_only = rbSelectedOnly_->isChecked();
    chosen.entire_scope = rbEntireScope_->isChecked();
    return chosen;
}

void TdlgFind::done(int result) {
    ini_file ini = ini_file::load(input_ini_);
    cbSearchText_->save_history(ini);
    const search_options chosen = options();
    store_flag(ini, "MatchCase", chosen.match_case);
    store_flag(ini, "WholeWord", chosen.whole_word);
    store_flag(ini, "Backward", chosen.backwards);
    store_flag(ini, "SelectedOnly", chosen.selected_only);
    store_flag(ini, "EntireScope", chosen.entire_scope);
    store_extra(ini);
    // A settings file that cannot be written loses only the remembered searches.
    ini.save(input_ini_);
    QDialog::done(result);
}

}  // namespace tarnwell
