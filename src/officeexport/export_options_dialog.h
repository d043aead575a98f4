// The options dialogs of the four Office exports: a "General" page of sizes, paths and display
// options and a "Keywords" page with the caption of every symbol. The dialog only shows the
// fields; the checks, the names and the defaults are export_options'.
#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "officeexport/export_options.h"
#include "officeexport/export_parameters.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace tarnwell {

class TBROXComboBox;
class ini_file;
class notifier;

// Where a dialog finds its files and keeps its settings.
struct export_dialog_places {
    std::filesystem::path program_dir;  // the default stencil and templates, in "stencil/"
    std::string output_dir;             // the output folder of a fresh installation
    std::string settings_file;          // "tarnwell.ini", written whenever a dialog closes
    std::string input_ini;              // the history lists of the path fields
};

// The output folder the four dialogs start with: "Tarnwell" in the user's documents folder,
// made when an export first writes there.
std::string documents_output_folder();

class TfmExportOptions : public QDialog {
    Q_OBJECT
  public:
    // Runs the export the checks have cleared; false when it failed (it has told the user).
    using export_runner = std::function<bool(const start_outcome&)>;

    // `settings` is the program's "tarnwell.ini" as the main window keeps it.
    TfmExportOptions(export_application application, export_dialog_places places,
                     ini_file& settings, notifier& messages, export_runner run,
                     QWidget* parent = nullptr);

    // Shows the dialog modally for a document's chart: the "General" page, the proposed output
    // name. Answers whether an export ran.
    bool show_for(const std::string& file_name, const std::string& function_name, int expand_level);

    export_application application() const { return application_; }
    // The fields as they stand, and the settings beyond them; for the tests.
    export_option_fields fields() const;
    const export_parameters& settings() const { return parameters_; }
    QWidget* field_widget(option_field field) const;

    // The "Start" button's action: the checks, making a missing output folder and replacing an
    // existing output file when the user agrees, then the export.
    void start();
    void default_group(int group);

  protected:
    void done(int result) override;

  private:
    QWidget* make_general_page();
    QWidget* make_keywords_page();
    void load_settings();
    void save_settings();
    void show_fields(const export_option_fields& fields);
    void read_check_boxes();
    void show_font();
    void choose_font();
    void choose_font_colour();
    void choose_colour();
    start_outcome run_checks(bool replace_existing);
    bool make_output_folder(const std::string& folder);
    void focus_field(option_field field);

    export_application application_;
    export_dialog_places places_;
    ini_file& settings_;
    notifier& messages_;
    export_runner run_;
    export_parameters parameters_;
    bool ran_ = false;

    QTabWidget* pages_ = nullptr;
    TBROXComboBox* stencil_ = nullptr;
    TBROXComboBox* template_ = nullptr;
    TBROXComboBox* output_dir_ = nullptr;
    TBROXComboBox* output_name_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* distance_ = nullptr;
    QLineEdit* hdistance_ = nullptr;
    QLineEdit* contentheight_ = nullptr;
    QLineEdit* charlimit_ = nullptr;
    QLineEdit* font_height_ = nullptr;
    QLineEdit* font_width_ = nullptr;
    QLineEdit* page_width_ = nullptr;
    QLineEdit* page_height_ = nullptr;
    QLabel* font_label_ = nullptr;
    QToolButton* font_colour_ = nullptr;
    QToolButton* colour_ = nullptr;
    QCheckBox* cb_keyword_ = nullptr;
    QCheckBox* cb_lineno_ = nullptr;
    QCheckBox* cb_statement_ = nullptr;
    QCheckBox* cb_charlimit_ = nullptr;
    QCheckBox* cb_setpheight_ = nullptr;
    QCheckBox* cb_onlyheight_ = nullptr;
    QCheckBox* cb_setpwidth_ = nullptr;
    QCheckBox* cb_onlywidth_ = nullptr;
    QCheckBox* cb_centerdraw_ = nullptr;
    QCheckBox* cb_pagesize_ = nullptr;
    std::array<QLineEdit*, keyword_slot_count> keywords_{};
};

// The four dialogs, each with its caption.
class Tfmvisio : public TfmExportOptions {
  public:
    Tfmvisio(export_dialog_places places, ini_file& settings, notifier& messages, export_runner run,
             QWidget* parent = nullptr);
};

class Tfmword : public TfmExportOptions {
  public:
    Tfmword(export_dialog_places places, ini_file& settings, notifier& messages, export_runner run,
            QWidget* parent = nullptr);
};

class Tfmexcel : public TfmExportOptions {
  public:
    Tfmexcel(export_dialog_places places, ini_file& settings, notifier& messages, export_runner run,
             QWidget* parent = nullptr);
};

class Tfmpowerpoint : public TfmExportOptions {
  public:
    Tfmpowerpoint(export_dialog_places places, ini_file& settings, notifier& messages,
                  export_runner run, QWidget* parent = nullptr);
};

}  // namespace tarnwell
