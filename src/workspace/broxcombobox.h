// An editable combo box that offers the texts last entered in it, kept in a section of
// "input.ini" (see history_list).
#pragma once

#include <QComboBox>

#include "workspace/history_list.h"

namespace tarnwell {

class TBROXComboBox : public QComboBox {
    Q_OBJECT
  public:
    TBROXComboBox(std::string_view section, QWidget* parent = nullptr);

    // Fills the list from the section; the field's text stays as it is.
    void load_history(const ini_file& ini);
    // Puts the field's text at the top of the list, shows the list's top entry in the field
    // and writes the list into the section.
    void save_history(ini_file& ini);

  private:
    void show_entries();

    history_list history_;
};

}  // namespace tarnwell
