// Draws a document's pages for the printer, the preview and PDF files: the rows and pages
// are laid out first (so "$PAGECOUNT$" is known on page one), then each page is drawn with
// its header, footer, line numbers and the colours of the document's highlighter.
#pragma once

#include <QDateTime>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "workspace/code_export.h"
#include "workspace/print_pagination.h"
#include "workspace/print_settings.h"

class QPainter;
class QPagedPaintDevice;

namespace tarnwell {

// The text to print, one style byte per text byte, and the colours of the styles.
struct print_document {
    std::string text;
    std::vector<std::uint8_t> styles;
    std::vector<export_style> style_table;
    bool utf8 = true;  // else Latin-1
    // The background the editor shows the text on; styles on it print on the page colour.
    std::uint32_t paper = 0xFFFFFF;
};

class print_engine {
  public:
    // Layout units per inch: pages are laid out once in these units, whatever they are
    // drawn on, so the preview shows the pages the printer gets.
    static constexpr double resolution = 1200;

    print_engine(print_settings settings, print_document document, QSizeF page_mm,
                 QDateTime printed_at);

    // False when a page has no room for a row of text; nothing is printed then.
    bool ok() const { return !pages_.empty(); }
    QString error() const;
    int page_count() const { return static_cast<int>(pages_.size()); }
    // The paper in layout units.
    QSizeF page_size() const { return page_; }

    // Draws page `page` (from 1) in layout units.
    void draw_page(QPainter& painter, int page) const;
    // Prints pages `first` to `last` (from 1) on a device whose painting covers the whole
    // paper; empty on success, else what went wrong.
    QString print(QPagedPaintDevice& device, int first, int last) const;

  private:
    struct band_line {
        double top;
        double height;
        double ascent;
    };
    double units(double mm) const { return mm / 25.4 * resolution; }
    QFont font_of(const print_font& font) const;
    QFont text_font(std::uint8_t style) const;
    std::vector<double> byte_widths() const;
    void lay_out();
    void draw_band(QPainter& painter, const std::vector<print_text_item>& items,
                   const print_frame& frame, const print_font& default_font, bool header,
                   int page) const;
    void draw_rows(QPainter& painter, int page) const;
    QString shown(std::size_t begin, std::size_t end) const;
    // The left and right edges of the text on a page (from 1), mirrored on even pages.
    std::pair<double, double> edges(int page) const;

    print_settings settings_;
    print_document document_;
    QSizeF page_;
    QDateTime printed_at_;
    std::vector<double> widths_;
    std::vector<print_row> rows_;
    std::vector<print_page> pages_;
    double row_height_ = 0;
    double row_ascent_ = 0;
    double number_width_ = 0;
};

}  // namespace tarnwell
