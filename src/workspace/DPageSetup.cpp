#include "workspace/DPageSetup.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <map>

#include "workspace/notifier.h"

namespace tarnwell {

namespace {

const char* const margin_captions[margin_field_count] = {"Left:",
                                                         "Right:",
                                                         "Top:",
                                                         "Bottom:",
                                                         "Gutter",
                                                         "Header:",
                                                         "Footer:",
                                                         "HFInternalMargin:",
                                                         "LeftHFTextIndent:",
                                                         "RightHFTextIndent:"};

constexpr std::array<print_alignment, 3> field_alignments = {
    print_alignment::left, print_alignment::center, print_alignment::right};

QFont qt_font(const print_font& font) {
    QFont shown(QString::fromStdString(font.name));
    shown.setPointSizeF(font.size > 0 ? font.size : 10);
    shown.setBold(font.bold);
    shown.setItalic(font.italic);
    shown.setUnderline(font.underline);
    return shown;
}

QTextCharFormat format_of(const print_font& font) {
    QTextCharFormat format;
    format.setFont(qt_font(font));
    format.setForeground(QColor::fromRgb(static_cast<QRgb>(font.colour & 0xFFFFFFu)));
    return format;
}

print_font font_of(const QTextCharFormat& format) {
    const QFont shown = format.font();
    print_font font;
    font.name = shown.family().toStdString();
    font.size = shown.pointSizeF() > 0 ? shown.pointSizeF() : 10;
    font.bold = shown.bold();
    font.italic = shown.italic();
    font.underline = shown.underline();
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        font.colour = format.foreground().color().rgb() & 0xFFFFFFu;
    }
    return font;
}

// The format of a line: that of its first character, else the block's own.
QTextCharFormat line_format(const QTextBlock& block) {
    const QTextBlock::iterator first = block.begin();
    return first.atEnd() ? block.charFormat() : first.fragment().charFormat();
}

void select_line(QTextCursor& cursor) {
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
}

QIcon swatch(std::uint32_t rgb) {
    QPixmap picture(24, 14);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRect(1, 1, 22, 12), QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu)));
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(QRect(0, 0, 23, 13));
    return QIcon(picture);
}

}  // namespace

TPageSetupDlg::TPageSetupDlg(notifier& messages, QSizeF paper_mm, QWidget* parent)
    : QDialog(parent), messages_(messages), paper_mm_(paper_mm) {
    setWindowTitle(tr("Page Setup"));
    setObjectName(QStringLiteral("PageSetupDlg"));
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->addTab(margins_page(), tr("Margins && Options"));
    pages->addTab(header_footer_page(), tr("Header && Footer"));
    layout->addWidget(pages);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QWidget* TPageSetupDlg::margins_page() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    auto* margins = new QGroupBox(tr("Margins"), page);
    auto* form = new QFormLayout(margins);
    cbUnits_ = new QComboBox(margins);
    cbUnits_->setObjectName(QStringLiteral("cbUnits"));
    cbUnits_->addItems({tr("mm"), tr("cm"), tr("Inches"), tr("Thousandths Of Inches")});
    form->addRow(tr("Units:"), cbUnits_);
    for (int i = 0; i < margin_field_count; ++i) {
        margin_fields_[i] = new QLineEdit(margins);
        margin_fields_[i]->setMaximumWidth(90);
        form->addRow(tr(margin_captions[i]), margin_fields_[i]);
    }
    cbMirrorMargins_ = new QCheckBox(tr("Mirror margins"), margins);
    form->addRow(cbMirrorMargins_);
    connect(cbUnits_, &QComboBox::currentIndexChanged, this, &TPageSetupDlg::unit_changed);
    layout->addWidget(margins);

    auto* options = new QGroupBox(tr("Options"), page);
    auto* column = new QVBoxLayout(options);
    cbLineNumbers_ = new QCheckBox(tr("Line numbers"), options);
    cbLineNumbersInMargin_ = new QCheckBox(tr("Print line numbers in margin"), options);
    cbHighlight_ = new QCheckBox(tr("Syntax print"), options);
    cbColors_ = new QCheckBox(tr("Use colors"), options);
    cbWrap_ = new QCheckBox(tr("Wrap lines"), options);
    for (QCheckBox* box :
         {cbLineNumbers_, cbLineNumbersInMargin_, cbHighlight_, cbColors_, cbWrap_}) {
        column->addWidget(box);
    }
    column->addStretch();
    layout->addWidget(options, 1);
    return page;
}

QWidget* TPageSetupDlg::header_footer_page() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* macros = new QHBoxLayout;
    const std::pair<const char*, const char*> macro_buttons[] = {
        {"Page number", "$PAGENUM$"}, {"Num. pages", "$PAGECOUNT$"}, {"Time", "$TIME$"},
        {"Date", "$DATE$"},           {"Title", "$TITLE$"},
    };
    for (const auto& [caption, macro] : macro_buttons) {
        auto* button = new QPushButton(tr(caption), page);
        button->setFocusPolicy(Qt::NoFocus);
        const QString text = QString::fromLatin1(macro);
        connect(button, &QPushButton::clicked, this, [this, text] { insert_macro(text); });
        macros->addWidget(button);
    }
    macros->addSpacing(12);
    auto* font = new QPushButton(tr("Font"), page);
    font->setFocusPolicy(Qt::NoFocus);
    connect(font, &QPushButton::clicked, this, &TPageSetupDlg::choose_font);
    macros->addWidget(font);
    const std::pair<const char*, line_style> style_buttons[] = {
        {"Bold", line_style::bold},
        {"Italic", line_style::italic},
        {"Underline", line_style::underline}};
    for (const auto& [caption, style] : style_buttons) {
        auto* button = new QPushButton(tr(caption), page);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, s = style] { toggle_style(s); });
        macros->addWidget(button);
    }
    macros->addStretch();
    layout->addLayout(macros);
    layout->addWidget(part_box(header_, tr("Header"), tr("Line under")));
    layout->addWidget(part_box(footer_, tr("Footer"), tr("Line above")));
    return page;
}

QWidget* TPageSetupDlg::part_box(part_controls& part, const QString& title,
                                 const QString& line_caption) {
    auto* box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(box);
    const char* captions[3] = {"Left", "Center", "Right"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(tr(captions[i]), box), 0, i);
        part.fields[static_cast<std::size_t>(i)] = new QTextEdit(box);
        part.fields[static_cast<std::size_t>(i)]->setMinimumSize(170, 70);
        part.fields[static_cast<std::size_t>(i)]->setAcceptRichText(false);
        // A header line has no use for a tab character; Tab moves on to the next part.
        part.fields[static_cast<std::size_t>(i)]->setTabChangesFocus(true);
        part.fields[static_cast<std::size_t>(i)]->installEventFilter(this);
        grid->addWidget(part.fields[static_cast<std::size_t>(i)], 1, i);
    }
    part.mirror = new QCheckBox(tr("Mirror position"), box);
    grid->addWidget(part.mirror, 2, 0);
    auto* appearance = new QGroupBox(tr("Appearance"), box);
    auto* row = new QHBoxLayout(appearance);
    part.line = new QCheckBox(line_caption, appearance);
    part.box = new QCheckBox(tr("Box"), appearance);
    part.shadow = new QCheckBox(tr("Shadow"), appearance);
    part.line_colour = new QPushButton(tr("Line color"), appearance);
    part.shadow_colour = new QPushButton(tr("Shadow color"), appearance);
    for (QWidget* control : std::initializer_list<QWidget*>{part.line, part.box, part.shadow,
                                                            part.line_colour, part.shadow_colour}) {
        row->addWidget(control);
    }
    connect(part.line_colour, &QPushButton::clicked, this,
            [this, &part] { choose_colour(part, false); });
    connect(part.shadow_colour, &QPushButton::clicked, this,
            [this, &part] { choose_colour(part, true); });
    grid->addWidget(appearance, 3, 0, 1, 3);
    return box;
}

bool TPageSetupDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QTextEdit*>(watched)) focused_ = field;
    }
    return QDialog::eventFilter(watched, event);
}

QTextEdit* TPageSetupDlg::text_field(bool header, print_alignment alignment) const {
    const part_controls& part = header ? header_ : footer_;
    for (std::size_t i = 0; i < field_alignments.size(); ++i) {
        if (field_alignments[i] == alignment) return part.fields[i];
    }
    return nullptr;
}

void TPageSetupDlg::insert_macro(const QString& macro) {
    if (focused_ == nullptr) focused_ = header_.fields[0];
    focused_->textCursor().insertText(macro);
    focused_->setFocus();
}

void TPageSetupDlg::toggle_style(line_style style) {
    if (focused_ == nullptr) focused_ = header_.fields[0];
    QTextCursor cursor = focused_->textCursor();
    select_line(cursor);
    QFont font = line_format(cursor.block()).font();
    if (style == line_style::bold) font.setBold(!font.bold());
    if (style == line_style::italic) font.setItalic(!font.italic());
    if (style == line_style::underline) font.setUnderline(!font.underline());
    QTextCharFormat format;
    format.setFont(font);
    cursor.mergeCharFormat(format);
    cursor.mergeBlockCharFormat(format);
}

void TPageSetupDlg::choose_font() {
    if (focused_ == nullptr) focused_ = header_.fields[0];
    QTextCursor cursor = focused_->textCursor();
    select_line(cursor);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, line_format(cursor.block()).font(), this);
    if (!chosen) return;
    QTextCharFormat format;
    format.setFont(font);
    cursor.mergeCharFormat(format);
    cursor.mergeBlockCharFormat(format);
}

void TPageSetupDlg::choose_colour(part_controls& part, bool shading) {
    std::uint32_t& colour = shading ? part.frame.shading_colour : part.frame.line_colour;
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(static_cast<QRgb>(colour)), this);
    if (!chosen.isValid()) return;
    colour = chosen.rgb() & 0xFFFFFFu;
    paint_swatches(part);
}

void TPageSetupDlg::paint_swatches(part_controls& part) {
    part.line_colour->setIcon(swatch(part.frame.line_colour));
    part.shadow_colour->setIcon(swatch(part.frame.shading_colour));
}

void TPageSetupDlg::show_margins(margin_unit unit) {
    shown_unit_ = unit;
    for (int i = 0; i < margin_field_count; ++i) {
        margin_fields_[i]->setText(QString::fromStdString(margin_text(margins_.mm[i], unit)));
    }
}

void TPageSetupDlg::unit_changed(int index) {
    // Fields that hold no number keep their text; the others are shown in the new unit.
    for (int i = 0; i < margin_field_count; ++i) {
        bool number = false;
        const double value = margin_fields_[i]->text().trimmed().toDouble(&number);
        if (number && value >= 0) margins_.mm[i] = margin_in_mm(value, shown_unit_);
    }
    const auto unit = static_cast<margin_unit>(std::clamp(index, 0, 3));
    for (int i = 0; i < margin_field_count; ++i) {
        bool number = false;
        margin_fields_[i]->text().trimmed().toDouble(&number);
        if (number) {
            margin_fields_[i]->setText(QString::fromStdString(margin_text(margins_.mm[i], unit)));
        }
    }
    shown_unit_ = unit;
}

void TPageSetupDlg::load_part(part_controls& part, const std::vector<print_text_item>& items,
                              const print_frame& frame, const print_font& default_font) {
    part.frame = frame;
    part.default_font = default_font;
    for (std::size_t f = 0; f < field_alignments.size(); ++f) {
        QTextEdit* field = part.fields[f];
        field->clear();
        field->document()->setDefaultFont(qt_font(default_font));
        std::multimap<int, const print_text_item*> lines;
        for (const print_text_item& item : items) {
            if (item.alignment == field_alignments[f]) lines.emplace(item.line, &item);
        }
        // Each item on the line of its number; a second item for a taken line goes below.
        std::vector<const print_text_item*> rows;
        for (const auto& [number, item] : lines) {
            const std::size_t at = std::max<std::size_t>(std::max(number, 1) - 1, rows.size());
            rows.resize(at + 1, nullptr);
            rows[at] = item;
        }
        QTextCursor cursor(field->document());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i > 0) cursor.insertBlock();
            if (rows[i] == nullptr) continue;
            cursor.setBlockCharFormat(format_of(rows[i]->font));
            cursor.insertText(QString::fromStdString(rows[i]->text), format_of(rows[i]->font));
        }
    }
    part.mirror->setChecked(frame.mirror_position);
    part.line->setChecked(frame.line);
    part.box->setChecked(frame.box);
    part.shadow->setChecked(frame.shadow);
}

void TPageSetupDlg::load(const print_settings& settings) {
    margins_ = settings.margins;
    cbUnits_->blockSignals(true);
    cbUnits_->setCurrentIndex(static_cast<int>(settings.margins.unit));
    cbUnits_->blockSignals(false);
    show_margins(settings.margins.unit);
    cbMirrorMargins_->setChecked(settings.margins.mirror);
    cbLineNumbers_->setChecked(settings.line_numbers);
    cbLineNumbersInMargin_->setChecked(settings.line_numbers_in_margin);
    cbHighlight_->setChecked(settings.syntax_highlighting);
    cbColors_->setChecked(settings.colours);
    cbWrap_->setChecked(settings.wrap_lines);
    load_part(header_, settings.header, settings.header_frame, settings.header_font);
    load_part(footer_, settings.footer, settings.footer_frame, settings.footer_font);
    paint_swatches(header_);
    paint_swatches(footer_);
}

std::vector<print_text_item> TPageSetupDlg::items_of(const part_controls& part) {
    std::vector<print_text_item> items;
    for (std::size_t f = 0; f < field_alignments.size(); ++f) {
        int line = 1;
        for (QTextBlock block = part.fields[f]->document()->begin(); block.isValid();
             block = block.next(), ++line) {
            if (block.text().isEmpty()) continue;
            items.push_back({line, field_alignments[f], block.text().toStdString(),
                             font_of(line_format(block))});
        }
    }
    return items;
}

void TPageSetupDlg::store(print_settings& settings) {
    std::array<std::string, margin_field_count> texts;
    for (int i = 0; i < margin_field_count; ++i) {
        texts[static_cast<std::size_t>(i)] = margin_fields_[i]->text().toStdString();
    }
    const auto unit = static_cast<margin_unit>(std::clamp(cbUnits_->currentIndex(), 0, 3));
    if (write_margins(settings.margins, texts, unit, paper_mm_.width(), paper_mm_.height())) {
        messages_.message(QString::fromLatin1(invalid_number_message));
    }
    settings.margins.unit = unit;
    settings.margins.mirror = cbMirrorMargins_->isChecked();
    settings.line_numbers = cbLineNumbers_->isChecked();
    settings.line_numbers_in_margin = cbLineNumbersInMargin_->isChecked();
    settings.syntax_highlighting = cbHighlight_->isChecked();
    settings.colours = cbColors_->isChecked();
    settings.wrap_lines = cbWrap_->isChecked();
    settings.header = items_of(header_);
    settings.footer = items_of(footer_);
    for (part_controls* part : {&header_, &footer_}) {
        print_frame& frame = part == &header_ ? settings.header_frame : settings.footer_frame;
        frame = part->frame;
        frame.mirror_position = part->mirror->isChecked();
        frame.line = part->line->isChecked();
        frame.box = part->box->isChecked();
        frame.shadow = part->shadow->isChecked();
    }
}

}  // namespace tarnwell
