// The "Find" dialog: the search text with its history, and the search options, both kept in
// "input.ini" from one run of the program to the next.
#pragma once

#include <QDialog>
#include <string>

#include "workspace/ini_file.h"
#include "workspace/search_engine.h"

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QRadioButton;
class QVBoxLayout;

namespace tarnwell {

class TBROXComboBox;

class TdlgFind : public QDialog {
    Q_OBJECT
  public:
    // Reads the history and the option states from the file at `input_ini`.
    explicit TdlgFind(std::string input_ini, QWidget* parent = nullptr);

    QString search_text() const;
    void set_search_text(const QString& text);
    // Match case, whole word, backwards, selected only and entire scope as ticked.
    search_options options() const;

    TBROXComboBox* search_field() const { return cbSearchText_; }

    // Writes the history and the option states back, however the dialog ends.
    void done(int result) override;

  protected:
    struct captions {
        const char* title;
        const char* history_section;
        const char* options_section;
        const char* match_case;
        const char* entire_scope;
    };
    TdlgFind(const captions& texts, std::string input_ini, QWidget* parent);

    // The Replace dialog puts its own fields and buttons into these.
    QGridLayout* fields() const { return fields_; }
    QHBoxLayout* buttons() const { return buttons_; }
    QCheckBox* add_option(const QString& caption);
    // Reads the states after the controls of a subclass are in place.
    void load_settings();
    // Puts the controls, a subclass's included, in the Tab order the dialog is read in: the
    // text fields, the option groups row by row, the buttons.
    void order_tabs();
    virtual void load_extra(const ini_file&) {}
    virtual void store_extra(ini_file&) const {}
    // An option state of the dialog's section, "1" or "0".
    bool stored_flag(const ini_file& ini, std::string_view key) const;
    void store_flag(ini_file& ini, std::string_view key, bool on) const;

  private:
    std::string input_ini_;
    std::string options_section_;
    QGridLayout* fields_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QVBoxLayout* option_box_ = nullptr;
    TBROXComboBox* cbSearchText_ = nullptr;
    QCheckBox* cbSearchCaseSensitive_ = nullptr;
    QCheckBox* cbSearchWholeWords_ = nullptr;
    QRadioButton* rbForward_ = nullptr;
    QRadioButton* rbBackward_ = nullptr;
    QRadioButton* rbGlobal_ = nullptr;
    QRadioButton* rbSelectedOnly_ = nullptr;
    QRadioButton* rbFromCursor_ = nullptr;
    QRadioButton* rbEntireScope_ = nullptr;
};

}  // namespace tarnwell
