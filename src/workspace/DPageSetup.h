// The "Page Setup" dialog: margins and print options on one page, the three-part header and
// footer with their fonts, macros and frames on the other.
#pragma once

#include <QDialog>
#include <QSizeF>
#include <array>

#include "workspace/print_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTextEdit;
class QPushButton;

namespace tarnwell {

class notifier;

class TPageSetupDlg : public QDialog {
    Q_OBJECT
  public:
    // `paper_mm` is the paper of the printer, against which the margins must leave room.
    TPageSetupDlg(notifier& messages, QSizeF paper_mm, QWidget* parent = nullptr);

    void load(const print_settings& settings);
    // Writes the dialog back; a margin field that is not a number shows "Invalid number!".
    void store(print_settings& settings);

    QLineEdit* margin_field(margin_field field) const {
        return margin_fields_[static_cast<int>(field)];
    }
    QComboBox* units() const { return cbUnits_; }
    // The rich-text field of the header or the footer for an alignment.
    QTextEdit* text_field(bool header, print_alignment alignment) const;
    // Puts a macro at the caret of the field that had the focus last.
    void insert_macro(const QString& macro);
    // Toggles a style of the line at the caret of the last focused field.
    enum class line_style { bold, italic, underline };
    void toggle_style(line_style style);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct part_controls {
        std::array<QTextEdit*, 3> fields{};  // left, centre, right
        QCheckBox* mirror = nullptr;
        QCheckBox* line = nullptr;
        QCheckBox* box = nullptr;
        QCheckBox* shadow = nullptr;
        QPushButton* line_colour = nullptr;
        QPushButton* shadow_colour = nullptr;
        print_frame frame;
        print_font default_font;
    };
    QWidget* margins_page();
    QWidget* header_footer_page();
    QWidget* part_box(part_controls& part, const QString& title, const QString& line_caption);
    void show_margins(margin_unit unit);
    void unit_changed(int index);
    void choose_colour(part_controls& part, bool shading);
    void choose_font();
    static void load_part(part_controls& part, const std::vector<print_text_item>& items,
                          const print_frame& frame, const print_font& default_font);
    static std::vector<print_text_item> items_of(const part_controls& part);
    void paint_swatches(part_controls& part);

    notifier& messages_;
    QSizeF paper_mm_;
    print_margins margins_;
    margin_unit shown_unit_ = margin_unit::mm;
    std::array<QLineEdit*, margin_field_count> margin_fields_{};
    QComboBox* cbUnits_ = nullptr;
    QCheckBox* cbMirrorMargins_ = nullptr;
    QCheckBox* cbLineNumbers_ = nullptr;
    QCheckBox* cbLineNumbersInMargin_ = nullptr;
    QCheckBox* cbHighlight_ = nullptr;
    QCheckBox* cbColors_ = nullptr;
    QCheckBox* cbWrap_ = nullptr;
    part_controls header_;
    part_controls footer_;
    QTextEdit* focused_ = nullptr;
};

}  // namespace tarnwell
