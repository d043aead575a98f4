#include "workspace/print_engine.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <map>

#include "workspace/print_macros.h"
#include "workspace/text_bytes.h"

namespace tarnwell {

namespace {

QColor colour_of(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu));
}

bool continues_character(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

print_engine::print_engine(print_settings settings, print_document document, QSizeF page_mm,
                           QDateTime printed_at)
    : settings_(std::move(settings)),
      document_(std::move(document)),
      page_(units(page_mm.width()), units(page_mm.height())),
      printed_at_(std::move(printed_at)) {
    document_.styles.resize(document_.text.size(), 0);
    expand_tabs(document_.text, document_.styles, settings_.tab_width);
    lay_out();
}

QString print_engine::error() const {
    return ok() ? QString() : QStringLiteral("The page has no room for a line of text.");
}

QFont print_engine::font_of(const print_font& font) const {
    QFont shown(QString::fromStdString(font.name));
    shown.setPixelSize(std::max(1, static_cast<int>(font.size * resolution / 72 + 0.5)));
    shown.setBold(font.bold);
    shown.setItalic(font.italic);
    shown.setUnderline(font.underline);
    // Code prints character by character: no ligatures, and the widths the rows were
    // broken by.
    shown.setStyleStrategy(QFont::PreferNoShaping);
    return shown;
}

QFont print_engine::text_font(std::uint8_t style) const {
    print_font font = settings_.text_font;
    if (settings_.syntax_highlighting && style < document_.style_table.size()) {
        font.bold = font.bold || document_.style_table[style].bold;
        font.italic = font.italic || document_.style_table[style].italic;
    }
    return font_of(font);
}

std::vector<double> print_engine::byte_widths() const {
    const std::string& text = document_.text;
    std::vector<double> widths(text.size(), 0.0);
    std::map<std::pair<std::uint8_t, char32_t>, double> known;
    std::map<std::uint8_t, QFontMetricsF> metrics;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t code =
            document_.utf8 ? next_code_point(text, i) : static_cast<unsigned char>(text[i++]);
        const std::uint8_t style = document_.styles[start];
        const auto key = std::make_pair(style, code);
        auto found = known.find(key);
        if (found == known.end()) {
            auto fm = metrics.find(style);
            if (fm == metrics.end())
                fm = metrics.emplace(style, QFontMetricsF(text_font(style))).first;
            found =
                known.emplace(key, fm->second.horizontalAdvance(QString::fromUcs4(&code, 1))).first;
        }
        widths[start] = std::max(found->second, 0.001);
    }
    return widths;
}

void print_engine::lay_out() {
    const QFontMetricsF metrics(text_font(0));
    row_height_ = metrics.lineSpacing();
    row_ascent_ = metrics.ascent();
    if (settings_.line_numbers) {
        const int lines =
            static_cast<int>(std::count(document_.text.begin(), document_.text.end(), '\n')) + 1;
        number_width_ = metrics.horizontalAdvance(QString(QString::number(lines).size() + 1, '0'));
    }
    const auto [left, right] = edges(1);
    const double reserved =
        settings_.line_numbers && !settings_.line_numbers_in_margin ? number_width_ : 0;
    const double width = right - left - reserved;
    widths_ = byte_widths();
    rows_ = print_rows(document_.text, widths_, width, settings_.wrap_lines);
    const double height =
        units(text_height_mm(settings_.margins, page_.height() / resolution * 25.4));
    pages_ = width > 0 ? paginate(rows_.size(), rows_per_page(height, row_height_))
                       : std::vector<print_page>{};
}

std::pair<double, double> print_engine::edges(int page) const {
    const print_margins& m = settings_.margins;
    double left = units(m[margin_field::left] + m[margin_field::gutter]);
    double right = page_.width() - units(m[margin_field::right]);
    if (m.mirror && page % 2 == 0) {
        left = units(m[margin_field::right]);
        right = page_.width() - units(m[margin_field::left] + m[margin_field::gutter]);
    }
    return {left, right};
}

QString print_engine::shown(std::size_t begin, std::size_t end) const {
    const char* bytes = document_.text.data() + begin;
    const auto size = static_cast<qsizetype>(end - begin);
    return document_.utf8 ? QString::fromUtf8(bytes, size) : QString::fromLatin1(bytes, size);
}

void print_engine::draw_page(QPainter& painter, int page) const {
    if (page < 1 || page > page_count()) return;
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), page_), colour_of(settings_.page_colour));
    draw_band(painter, settings_.header, settings_.header_frame, settings_.header_font, true, page);
    draw_band(painter, settings_.footer, settings_.footer_frame, settings_.footer_font, false,
              page);
    draw_rows(painter, page);
    painter.restore();
}

void print_engine::draw_band(QPainter& painter, const std::vector<print_text_item>& items,
                             const print_frame& frame, const print_font& default_font, bool header,
                             int page) const {
    if (items.empty()) return;
    int line_count = 0;
    for (const print_text_item& item : items) line_count = std::max(line_count, item.line);
    std::vector<band_line> lines(static_cast<std::size_t>(std::max(line_count, 0)));
    const double internal = units(settings_.margins[margin_field::hf_internal_margin]);
    double height = 2 * internal;
    for (int n = 1; n <= line_count; ++n) {
        band_line& line = lines[static_cast<std::size_t>(n - 1)];
        bool any = false;
        for (const print_text_item& item : items) {
            if (item.line != n) continue;
            const QFontMetricsF fm(font_of(item.font));
            line.height = std::max(line.height, fm.lineSpacing());
            line.ascent = std::max(line.ascent, fm.ascent());
            any = true;
        }
        if (!any) line.height = QFontMetricsF(font_of(default_font)).lineSpacing();
        height += line.height;
    }
    const double top = header ? units(settings_.margins[margin_field::header]) - height
                              : page_.height() - units(settings_.margins[margin_field::footer]);
    double y = top + internal;
    for (band_line& line : lines) {
        line.top = y;
        y += line.height;
    }
    const auto [left, right] = edges(page);
    const QRectF band(left, top, right - left, height);
    QPen pen(colour_of(frame.line_colour));
    pen.setWidthF(resolution / 254);  // a tenth of a millimetre
    painter.setPen(pen);
    if (frame.shadow) painter.fillRect(band, colour_of(frame.shading_colour));
    if (frame.box) painter.drawRect(band);
    if (frame.line) {
        const double at = header ? band.bottom() : band.top();
        painter.drawLine(QPointF(left, at), QPointF(right, at));
    }
    const print_macro_values values{
        page, page_count(), settings_.title,
        printed_at_.date().toString(QStringLiteral("yyyy-MM-dd")).toStdString(),
        printed_at_.time().toString(QStringLiteral("HH:mm")).toStdString()};
    const double left_indent = units(settings_.margins[margin_field::left_hf_text_indent]);
    const double right_indent = units(settings_.margins[margin_field::right_hf_text_indent]);
    for (const print_text_item& item : items) {
        if (item.line < 1) continue;
        const band_line& line = lines[static_cast<std::size_t>(item.line - 1)];
        const QFont font = font_of(item.font);
        const QString text = QString::fromStdString(expand_print_macros(item.text, values));
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        print_alignment alignment = item.alignment;
        if (frame.mirror_position && page % 2 == 0 && alignment != print_alignment::center) {
            alignment =
                alignment == print_alignment::left ? print_alignment::right : print_alignment::left;
        }
        double x = left + left_indent;
        if (alignment == print_alignment::right) x = right - right_indent - width;
        if (alignment == print_alignment::center) x = (left + right - width) / 2;
        painter.setFont(font);
        painter.setPen(colour_of(item.font.colour));
        painter.drawText(QPointF(x, line.top + line.ascent), text);
    }
}

void print_engine::draw_rows(QPainter& painter, int number) const {
    const print_page& page = pages_[static_cast<std::size_t>(number - 1)];
    const auto [left, right] = edges(number);
    const double top = units(settings_.margins[margin_field::top]);
    const bool numbers_inside = settings_.line_numbers && !settings_.line_numbers_in_margin;
    const double text_left = left + (numbers_inside ? number_width_ : 0);
    painter.save();
    const QFont plain = text_font(0);
    for (std::size_t r = 0; r < page.row_count; ++r) {
        const print_row& row = rows_[page.first_row + r];
        const double y = top + static_cast<double>(r) * row_height_;
        const double baseline = y + row_ascent_;
        if (settings_.line_numbers && row.first_of_line) {
            const QString number = QString::number(row.line);
            painter.setFont(plain);
            painter.setPen(Qt::black);
            const double number_right = numbers_inside ? text_left : left;
            painter.drawText(
                QPointF(number_right - QFontMetricsF(plain).horizontalAdvance(number + ' '),
                        baseline),
                number);
        }
        painter.setClipRect(QRectF(text_left, y, right - text_left, row_height_));
        double x = text_left;
        for (std::size_t begin = row.begin; begin < row.end;) {
            const std::uint8_t style = document_.styles[begin];
            std::size_t end = begin;
            double width = 0;
            while (end < row.end && document_.styles[end] == style) width += widths_[end++];
            while (end < row.end && continues_character(document_.text[end])) ++end;
            const bool coloured = settings_.syntax_highlighting && settings_.colours &&
                                  style < document_.style_table.size();
            const std::uint32_t background = document_.style_table[style].background;
            if (coloured && background != document_.paper && background != settings_.page_colour) {
                painter.fillRect(QRectF(x, y, width, row_height_), colour_of(background));
            }
            painter.setFont(text_font(style));
            painter.setPen(coloured ? colour_of(document_.style_table[style].foreground)
                                    : QColor(Qt::black));
            painter.drawText(QPointF(x, baseline), shown(begin, end));
            x += width;
            begin = end;
        }
        painter.setClipping(false);
    }
    painter.restore();
}

QString print_engine::print(QPagedPaintDevice& device, int first, int last) const {
    if (!ok()) return error();
    QPainter painter;
    if (!painter.begin(&device)) return QStringLiteral("The printer could not be started.");
    const QRectF paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const double scale = paper.width() / page_.width();
    painter.scale(scale, scale);
    first = std::max(first, 1);
    last = std::min(last, page_count());
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage()) {
            painter.end();
            return QStringLiteral("The printer stopped at page %1.").arg(page);
        }
        draw_page(painter, page);
    }
    return painter.end() ? QString() : QStringLiteral("The printer could not finish the job.");
}

}  // namespace tarnwell
