#include "officeexport/export_options_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <ctime>
#include <optional>
#include <system_error>

#include "workspace/broxcombobox.h"
#include "workspace/ini_file.h"
#include "workspace/notifier.h"

namespace tarnwell {

namespace {

bool is_visio(export_application application) {
    return application == export_application::visio;
}

QString caption_of(export_application application) {
    switch (application) {
        case export_application::visio:
            return "Options of Microsoft Visio output";
        case export_application::word:
            return "Options of Microsoft Word output";
        case export_application::excel:
            return "Options of Microsoft Excel output";
        case export_application::powerpoint:
            return "Options of Microsoft PowerPoint output";
    }
    return {};
}

// Codes whose keyword field the Word, Excel and PowerPoint dialogs keep hidden: they still
// load, save and reach the export like the others.
bool hidden_keyword(export_application application, int slot) {
    if (is_visio(application)) return false;
    return slot == 23 || slot == 26 || slot == 27 || slot == 28 || slot == 29;
}

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}
std::string text_of(const QString& text) {
    return text.toStdString();
}

// Colours are kept with red in the low byte, then green, then blue.
QColor qt_colour(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QString colour_style(std::uint32_t colour) {
    return QString("background-color: %1;").arg(qt_colour(colour).name());
}

// The colour picked in the colour dialog; none when it was cancelled.
std::optional<std::uint32_t> chosen_colour(std::uint32_t current, const char* title,
                                           QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(qt_colour(current), parent, title);
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red()) |
           static_cast<std::uint32_t>(chosen.green()) << 8 |
           static_cast<std::uint32_t>(chosen.blue()) << 16;
}

std::tm local_now() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}

}  // namespace

std::string documents_output_folder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return text_of(documents + "/Tarnwell/");
}

TfmExportOptions::TfmExportOptions(export_application application, export_dialog_places places,
                                   ini_file& settings, notifier& messages, export_runner run,
                                   QWidget* parent)
    : QDialog(parent),
      application_(application),
      places_(std::move(places)),
      settings_(settings),
      messages_(messages),
      run_(std::move(run)),
      parameters_(default_export_parameters(application, places_.program_dir)) {
    parameters_.output_dir = places_.output_dir;
    setWindowTitle(caption_of(application));
    pages_ = new QTabWidget(this);
    pages_->addTab(make_general_page(), "General");
    pages_->addTab(make_keywords_page(), "Keywords");

    auto* buttons = new QHBoxLayout;
    for (int group = 1; group <= 2; ++group) {
        auto* reset = new QPushButton("Default", this);
        reset->setToolTip("Set default value");
        connect(reset, &QPushButton::clicked, this, [this, group] { default_group(group); });
        buttons->addWidget(reset);
    }
    buttons->addStretch();
    auto* start_button = new QPushButton("Start", this);
    start_button->setDefault(true);
    connect(start_button, &QPushButton::clicked, this, &TfmExportOptions::start);
    auto* cancel = new QPushButton("Cancel", this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(start_button);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    const ini_file input = ini_file::load(places_.input_ini);
    for (TBROXComboBox* combo : {stencil_, template_, output_dir_, output_name_}) {
        if (combo != nullptr) combo->load_history(input);
    }
    // Visio and Word read their settings once; Excel and PowerPoint each time they open.
    if (is_visio(application) || application == export_application::word) load_settings();
}

QWidget* TfmExportOptions::make_general_page() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout;
    const auto path_row = [&](const char* label, const char* section, bool folder) {
        auto* combo = new TBROXComboBox(section, page);
        combo->setObjectName(QString::fromLatin1(section));
        combo->setMinimumWidth(360);
        auto* browse = new QToolButton(page);
        browse->setText("...");
        connect(browse, &QToolButton::clicked, this, [this, combo, folder] {
            const QString chosen =
                folder ? QFileDialog::getExistingDirectory(this, QString(), combo->currentText())
                       : QFileDialog::getOpenFileName(this, QString(), combo->currentText());
            if (!chosen.isEmpty()) combo->setEditText(chosen);
        });
        auto* row = new QHBoxLayout;
        row->addWidget(combo, 1);
        row->addWidget(browse);
        form->addRow(label, row);
        return combo;
    };
    if (is_visio(application_)) stencil_ = path_row("Stencil file", "STENPATH", false);
    template_ = path_row("Template file", "TEMLPATH", false);
    output_dir_ = path_row("Output path", "OUTPATH", true);
    output_name_ = new TBROXComboBox("OUTNAME", page);
    form->addRow("Output file name", output_name_);

    const auto number_row = [&](const char* label) {
        auto* edit = new QLineEdit(page);
        edit->setMaximumWidth(120);
        form->addRow(label, edit);
        return edit;
    };
    const bool visio = is_visio(application_);
    width_ = number_row(visio ? "Max width of master shape (inch)" : "Width of shape (inch)");
    height_ = number_row(visio ? "Max height of master shape (inch)" : "Height of shape (inch)");
    distance_ = number_row("Vertical space between two shapes (inch)");
    hdistance_ = number_row("Horizontal space between two shapes (inch)");
    contentheight_ = number_row("Height of header area of page (inch)");
    if (visio) {
        font_height_ = number_row("Height of font in text shape (inch)");
        font_width_ = number_row("Width of font in text shape (inch)");
    }

    const bool excel = application_ == export_application::excel;
    charlimit_ = new QLineEdit(page);
    charlimit_->setMaximumWidth(120);
    form->addRow(excel ? "Maximal code text limit" : "Character limit", charlimit_);
    const bool page_size = !visio && !excel;
    if (page_size) {
        page_width_ = number_row("Page width (inch)");
        page_height_ = number_row("Page height (inch)");
    }
    if (!visio) {
        auto* font_row = new QHBoxLayout;
        auto* set_font = new QPushButton("Set Font", page);
        connect(set_font, &QPushButton::clicked, this, &TfmExportOptions::choose_font);
        font_colour_ = new QToolButton(page);
        font_colour_->setObjectName("fontColour");
        font_colour_->setToolTip("Select font color");
        font_colour_->setFixedSize(48, 22);
        connect(font_colour_, &QToolButton::clicked, this, &TfmExportOptions::choose_font_colour);
        font_label_ = new QLabel(page);
        font_row->addWidget(set_font);
        font_row->addWidget(font_colour_);
        font_row->addWidget(font_label_, 1);
        form->addRow("Font", font_row);
        colour_ = new QToolButton(page);
        colour_->setObjectName("fillColour");
        colour_->setToolTip("Select background color");
        colour_->setFixedSize(48, 22);
        connect(colour_, &QToolButton::clicked, this, &TfmExportOptions::choose_colour);
        form->addRow("Fill colour", colour_);
    }

    // Made after the fields above them, as Tab follows the order controls are made in.
    auto* options = new QGridLayout;
    int row = 0;
    const auto add_box = [&](const char* caption) {
        auto* box = new QCheckBox(caption, page);
        options->addWidget(box, row / 2, row % 2);
        ++row;
        return box;
    };
    cb_keyword_ = add_box("Display keyword");
    cb_lineno_ = add_box("Display line number");
    cb_statement_ = add_box("Display source code");
    if (!excel) {
        cb_charlimit_ = add_box("Maximal code text limit ");
        cb_setpheight_ = add_box("Reset Page height to fit content");
        cb_onlyheight_ = add_box("Only when Page height not enough");
        cb_setpwidth_ = add_box("Reset Page width to fit content");
        cb_onlywidth_ = add_box("Only when Page width not enough");
        cb_centerdraw_ = add_box("Center Drawing");
    }
    if (page_size) cb_pagesize_ = add_box("Default Page Size (inch)");

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    auto* group = new QGroupBox("Display", page);
    group->setLayout(options);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* TfmExportOptions::make_keywords_page() {
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    int shown = 0;
    for (int slot = 0; slot < keyword_slot_count; ++slot) {
        if (keyword_caption(slot).empty()) continue;  // slots past the symbol codes
        auto* box = new QGroupBox(QString::fromUtf8(keyword_caption(slot).data(),
                                                    static_cast<int>(keyword_caption(slot).size())),
                                  inner);
        auto* edit = new QLineEdit(box);
        auto* reset = new QToolButton(box);
        reset->setText("D");
        reset->setToolTip("Click to set default text");
        connect(reset, &QToolButton::clicked, this,
                [edit, slot] { edit->setText(text_of(default_keywords()[slot])); });
        // The button follows its field, so that Tab meets the field first.
        auto* row = new QHBoxLayout(box);
        row->addWidget(edit, 1);
        row->addWidget(reset);
        keywords_[slot] = edit;
        if (hidden_keyword(application_, slot)) {
            box->hide();
            continue;
        }
        grid->addWidget(box, shown / 3, shown % 3);
        ++shown;
    }
    auto* scroll = new QScrollArea(this);
    // Tab goes from the page's tab straight to the first keyword, not to the scroll area.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    return scroll;
}

void TfmExportOptions::load_settings() {
    export_parameters loaded = load_export_parameters(application_, settings_, places_.program_dir);
    if (loaded.output_dir.empty()) loaded.output_dir = places_.output_dir;
    // The check boxes are not stored: they keep their state for as long as the program runs.
    const export_parameters checks = parameters_;
    parameters_ = loaded;
    parameters_.show_keyword = checks.show_keyword;
    parameters_.show_line_range = checks.show_line_range;
    parameters_.show_source_code = checks.show_source_code;
    parameters_.limit_code_text = checks.limit_code_text;
    parameters_.set_page_height = checks.set_page_height;
    parameters_.only_height = checks.only_height;
    parameters_.set_page_width = checks.set_page_width;
    parameters_.only_width = checks.only_width;
    parameters_.center_drawing = checks.center_drawing;
    parameters_.default_page_size = checks.default_page_size;
    export_option_fields f = fields_of(parameters_);
    f.output_name = text_of(output_name_->currentText());
    show_fields(f);
    for (int slot = 0; slot < keyword_slot_count; ++slot) {
        if (keywords_[slot] != nullptr)
            keywords_[slot]->setText(text_of(parameters_.keywords[slot]));
    }
    const std::pair<QCheckBox*, bool> boxes[] = {
        {cb_keyword_, parameters_.show_keyword},
        {cb_lineno_, parameters_.show_line_range},
        {cb_statement_, parameters_.show_source_code},
        {cb_charlimit_, parameters_.limit_code_text},
        {cb_setpheight_, parameters_.set_page_height},
        {cb_onlyheight_, parameters_.only_height},
        {cb_setpwidth_, parameters_.set_page_width},
        {cb_onlywidth_, parameters_.only_width},
        {cb_centerdraw_, parameters_.center_drawing},
        {cb_pagesize_, parameters_.default_page_size},
    };
    for (const auto& [box, on] : boxes) {
        if (box != nullptr) box->setChecked(on);
    }
    show_font();
}

void TfmExportOptions::read_check_boxes() {
    const std::pair<QCheckBox*, bool*> boxes[] = {
        {cb_keyword_, &parameters_.show_keyword},
        {cb_lineno_, &parameters_.show_line_range},
        {cb_statement_, &parameters_.show_source_code},
        {cb_charlimit_, &parameters_.limit_code_text},
        {cb_setpheight_, &parameters_.set_page_height},
        {cb_onlyheight_, &parameters_.only_height},
        {cb_setpwidth_, &parameters_.set_page_width},
        {cb_onlywidth_, &parameters_.only_width},
        {cb_centerdraw_, &parameters_.center_drawing},
        {cb_pagesize_, &parameters_.default_page_size},
    };
    for (const auto& [box, target] : boxes) {
        if (box != nullptr) *target = box->isChecked();
    }
    for (int slot = 0; slot < keyword_slot_count; ++slot) {
        if (keywords_[slot] != nullptr)
            parameters_.keywords[slot] = text_of(keywords_[slot]->text());
    }
}

void TfmExportOptions::save_settings() {
    read_check_boxes();
    const export_parameters stored = settings_from_fields(fields(), parameters_);
    save_export_parameters(stored, settings_);

    // Written now, not when the main window closes: a crash or a second window must not lose
    // what the user just set.
    const std::string settings_error = settings_.save(places_.settings_file);
    if (!settings_error.empty()) messages_.message(text_of(settings_error));

    ini_file input = ini_file::load(places_.input_ini);
    for (TBROXComboBox* combo : {stencil_, template_, output_dir_, output_name_}) {
        if (combo != nullptr) combo->save_history(input);
    }
    const std::string error = input.save(places_.input_ini);
    if (!error.empty()) messages_.message(text_of(error));
}

bool TfmExportOptions::show_for(const std::string& file_name, const std::string& function_name,
                                int expand_level) {
    if (!is_visio(application_) && application_ != export_application::word) load_settings();
    pages_->setCurrentIndex(0);
    parameters_.file_name = file_name;
    parameters_.function_name = function_name;
    parameters_.expand_level = expand_level;
    output_name_->setEditText(
        text_of(proposed_output_name(application_, file_name, function_name, local_now())));
    if (is_visio(application_)) output_name_->setFocus();
    ran_ = false;
    exec();
    return ran_;
}

export_option_fields TfmExportOptions::fields() const {
    export_option_fields f;
    const auto combo = [](const TBROXComboBox* c) {
        return c ? text_of(c->currentText()) : std::string();
    };
    const auto edit = [](const QLineEdit* e) { return e ? text_of(e->text()) : std::string(); };
    f.stencil = combo(stencil_);
    f.template_path = combo(template_);
    f.output_dir = combo(output_dir_);
    f.output_name = combo(output_name_);
    f.width = edit(width_);
    f.height = edit(height_);
    f.distance = edit(distance_);
    f.hdistance = edit(hdistance_);
    f.contentheight = edit(contentheight_);
    f.charlimit = edit(charlimit_);
    f.font_height = edit(font_height_);
    f.font_width = edit(font_width_);
    f.page_width = edit(page_width_);
    f.page_height = edit(page_height_);
    return f;
}

void TfmExportOptions::show_fields(const export_option_fields& f) {
    const auto combo = [](TBROXComboBox* c, const std::string& text) {
        if (c != nullptr) c->setEditText(text_of(text));
    };
    const auto edit = [](QLineEdit* e, const std::string& text) {
        if (e != nullptr) e->setText(text_of(text));
    };
    combo(stencil_, f.stencil);
    combo(template_, f.template_path);
    combo(output_dir_, f.output_dir);
    combo(output_name_, f.output_name);
    edit(width_, f.width);
    edit(height_, f.height);
    edit(distance_, f.distance);
    edit(hdistance_, f.hdistance);
    edit(contentheight_, f.contentheight);
    edit(charlimit_, f.charlimit);
    edit(font_height_, f.font_height);
    edit(font_width_, f.font_width);
    edit(page_width_, f.page_width);
    edit(page_height_, f.page_height);
}

QWidget* TfmExportOptions::field_widget(option_field field) const {
    switch (field) {
        case option_field::stencil:
            return stencil_;
        case option_field::template_path:
            return template_;
        case option_field::output_dir:
            return output_dir_;
        case option_field::output_name:
            return output_name_;
        case option_field::width:
            return width_;
        case option_field::height:
            return height_;
        case option_field::distance:
            return distance_;
        case option_field::hdistance:
            return hdistance_;
        case option_field::contentheight:
            return contentheight_;
        case option_field::charlimit:
            return charlimit_;
        case option_field::font_height:
            return font_height_;
        case option_field::font_width:
            return font_width_;
        case option_field::page_width:
            return page_width_;
        case option_field::page_height:
            return page_height_;
    }
    return nullptr;
}

start_outcome TfmExportOptions::run_checks(bool replace_existing) {
    const wait_cursor busy(messages_);
    start_outcome checked =
        check_start(fields(), parameters_, places_.program_dir, local_now(), replace_existing);
    show_fields(checked.fields);
    return checked;
}

bool TfmExportOptions::make_output_folder(const std::string& folder) {
    const auto same = [](const std::string& a, const std::string& b) {
        return (std::filesystem::path(a) / "").lexically_normal() ==
               (std::filesystem::path(b) / "").lexically_normal();
    };
    // The default folder is made on first use without a word; a folder the user typed may be
    // a slip of the keyboard.
    if (!same(folder, places_.output_dir) &&
        messages_.ask("Output path", "The folder " + text_of(folder) + " does not exist. Make it?",
                      false) != user_answer::yes) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        messages_.message("Cannot make the folder " + text_of(folder) + ": " +
                          text_of(error.message()));
        return false;
    }
    return true;
}

void TfmExportOptions::focus_field(option_field field) {
    pages_->setCurrentIndex(0);
    if (QWidget* w = field_widget(field)) w->setFocus();
}

void TfmExportOptions::start() {
    read_check_boxes();
    start_outcome checked = run_checks(false);
    if (checked.missing_folder) {
        if (!make_output_folder(checked.fields.output_dir)) {
            focus_field(option_field::output_dir);
            return;
        }
        checked = run_checks(false);
    }
    if (checked.overwrite_question) {
        if (messages_.ask("Warning", text_of(checked.failure->text), false) != user_answer::yes) {
            focus_field(option_field::output_name);
            return;
        }
        checked = run_checks(true);
    }
    for (const option_message& notice : checked.notices) {
        messages_.message(text_of(notice.text));
        if (QWidget* w = field_widget(notice.field)) w->setFocus();
    }
    if (checked.failure) {
        messages_.message(text_of(checked.failure->text));
        focus_field(checked.failure->field);
        return;
    }
    const wait_cursor busy(messages_);
    ran_ = run_(checked) || ran_;
}

void TfmExportOptions::default_group(int group) {
    export_option_fields f = fields();
    apply_default_group(application_, group, places_.program_dir, f, parameters_);
    show_fields(f);
    show_font();
}

void TfmExportOptions::show_font() {
    if (font_label_ != nullptr) {
        font_label_->setText(
            QString("%1 %2").arg(text_of(parameters_.font.name)).arg(parameters_.font.size));
    }
    if (font_colour_ != nullptr) font_colour_->setStyleSheet(colour_style(parameters_.font.colour));
    if (colour_ != nullptr) colour_->setStyleSheet(colour_style(parameters_.fill_colour));
}

void TfmExportOptions::choose_font() {
    QFont current(text_of(parameters_.font.name), parameters_.font.size);
    current.setBold(parameters_.font.bold);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, current, this);
    if (!ok) return;
    parameters_.font.name = text_of(chosen.family());
    parameters_.font.size = chosen.pointSize() > 0 ? chosen.pointSize() : parameters_.font.size;
    parameters_.font.bold = chosen.bold();
    show_font();
}

void TfmExportOptions::choose_font_colour() {
    if (const auto chosen = chosen_colour(parameters_.font.colour, "Select font color", this)) {
        parameters_.font.colour = *chosen;
        show_font();
    }
}

void TfmExportOptions::choose_colour() {
    if (const auto chosen =
            chosen_colour(parameters_.fill_colour, "Select background color", this)) {
        parameters_.fill_colour = *chosen;
        show_font();
    }
}

void TfmExportOptions::done(int result) {
    // Closing by "Cancel" or the window's button keeps the settings and histories.
    save_settings();
    QDialog::done(result);
}

Tfmvisio::Tfmvisio(export_dialog_places places, ini_file& settings, notifier& messages,
                   export_runner run, QWidget* parent)
    : TfmExportOptions(export_application::visio, std::move(places), settings, messages,
                       std::move(run), parent) {}

Tfmword::Tfmword(export_dialog_places places, ini_file& settings, notifier& messages,
                 export_runner run, QWidget* parent)
    : TfmExportOptions(export_application::word, std::move(places), settings, messages,
                       std::move(run), parent) {}

Tfmexcel::Tfmexcel(export_dialog_places places, ini_file& settings, notifier& messages,
                   export_runner run, QWidget* parent)
    : TfmExportOptions(export_application::excel, std::move(places), settings, messages,
                       std::move(run), parent) {}

Tfmpowerpoint::Tfmpowerpoint(export_dialog_places places, ini_file& settings, notifier& messages,
                             export_runner run, QWidget* parent)
    : TfmExportOptions(export_application::powerpoint, std::move(places), settings, messages,
                       std::move(run), parent) {}

}  // namespace tarnwell
