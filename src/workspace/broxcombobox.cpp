#include "workspace/broxcombobox.h"

#include <QLineEdit>

namespace tarnwell {

TBROXComboBox::TBROXComboBox(std::string_view section, QWidget* parent)
    : QComboBox(parent), history_(section) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxCount(static_cast<int>(history_list::capacity));
}

void TBROXComboBox::load_history(const ini_file& ini) {
    const QString text = currentText();
    history_.load(ini);
    show_entries();
    setEditText(text);
}

void TBROXComboBox::save_history(ini_file& ini) {
    history_.add(currentText().toStdString());
    show_entries();
    if (!history_.entries().empty()) setEditText(QString::fromStdString(history_.entries()[0]));
    history_.store(ini);
}

void TBROXComboBox::show_entries() {
    clear();
    for (const std::string& entry : history_.entries()) addItem(QString::fromStdString(entry));
}

}  // namespace tarnwell
