#include "flowview/chart_pdf.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

#include "flowview/cell_painter.h"
#include "flowview/symbol_painter.h"

namespace tarnwell {

namespace {

constexpr QRgb connector_ink = qRgb(0, 0, 0);
constexpr QRgb connector_fill = qRgb(0xFF, 0xF2, 0xC2);
constexpr QRgb header_ink = qRgb(0x40, 0x40, 0x40);

QString text_of(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Pages are painted in points, so a font's size in painter units is its size in points.
QFont sans(int points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(points);
    font.setBold(bold);
    return font;
}

// The off-page connector: a pentagon like a house plate, pointing the way the flow goes.
QPolygonF pentagon(const QRectF& box, page_side towards) {
    const double tip = box.height() * 0.3;
    switch (towards) {
        case page_side::bottom:
            return {{box.left(), box.top()},
                    {box.right(), box.top()},
                    {box.right(), box.bottom() - tip},
                    {box.center().x(), box.bottom()},
                    {box.left(), box.bottom() - tip}};
        case page_side::top:
            return {{box.center().x(), box.top()},
                    {box.right(), box.top() + tip},
                    {box.right(), box.bottom()},
                    {box.left(), box.bottom()},
                    {box.left(), box.top() + tip}};
        case page_side::right:
            return {{box.left(), box.top()},
                    {box.right() - tip, box.top()},
                    {box.right(), box.center().y()},
                    {box.right() - tip, box.bottom()},
                    {box.left(), box.bottom()}};
        case page_side::left:
            break;
    }
    return {{box.left(), box.center().y()},
            {box.left() + tip, box.top()},
            {box.right(), box.top()},
            {box.right(), box.bottom()},
            {box.left() + tip, box.bottom()}};
}

// A PDF text string in UTF-16 with its byte order mark, written in hex.
std::string pdf_text(const std::string& utf8) {
    const QString text = text_of(utf8);
    std::string hex = "<FEFF";
    char digits[8];
    for (const QChar c : text) {
        std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(c.unicode()));
        hex += digits;
    }
    return hex + ">";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The object numbers the /Kids array of the page tree lists, in page order.
std::vector<int> page_objects(const QByteArray& pdf) {
    std::vector<int> pages;
    const qsizetype kids = pdf.indexOf("/Kids");
    if (kids < 0) return pages;
    const qsizetype open = pdf.indexOf('[', kids), close = pdf.indexOf(']', kids);
    if (open < 0 || close < open) return pages;
    const QList<QByteArray> words = pdf.mid(open + 1, close - open - 1).simplified().split(' ');
    for (qsizetype i = 0; i + 2 < words.size(); i += 3) {
        if (words[i + 2] != "R") return {};
        pages.push_back(words[i].toInt());
    }
    return pages;
}

// Where each object starts, from the cross-reference table that startxref points to.
using object_offsets = std::vector<qsizetype>;
object_offsets read_offsets(const QByteArray& pdf) {
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0) return {};
    qsizetype at = pdf.mid(startxref + 9, 30).trimmed().split('\n').value(0).trimmed().toLongLong();
    if (at <= 0 || !pdf.mid(at, 4).startsWith("xref")) return {};
    at = pdf.indexOf('\n', at) + 1;
    const QList<QByteArray> head = pdf.mid(at, 40).split('\n').value(0).trimmed().split(' ');
    const long long first = head.value(0).toLongLong(), count = head.value(1).toLongLong();
    if (first != 0 || count <= 0) return {};
    at = pdf.indexOf('\n', at) + 1;
    object_offsets offsets(static_cast<std::size_t>(count), -1);
    for (long long n = 0; n < count; ++n, at += 20) {
        const QByteArray entry = pdf.mid(at, 20);
        if (entry.size() < 18) return {};
        if (entry[17] == 'n') offsets[static_cast<std::size_t>(n)] = entry.left(10).toLongLong();
    }
    return offsets;
}

// The text of object `n` between "n 0 obj" and "endobj".
QByteArray object_text(const QByteArray& pdf, const object_offsets& offsets, long long n) {
    if (n < 0 || n >= static_cast<long long>(offsets.size())) return {};
    const qsizetype at = offsets[static_cast<std::size_t>(n)];
    const QByteArray head = QByteArray::number(n) + " 0 obj";
    if (at < 0 || !pdf.mid(at, head.size()).startsWith(head)) return {};
    const qsizetype start = at + head.size();
    const qsizetype end = pdf.indexOf("endobj", start);
    return end < 0 ? QByteArray() : pdf.mid(start, end - start);
}

// The dictionary of object `n`, from its "<<" to its last ">>".
QByteArray object_dictionary(const QByteArray& pdf, const object_offsets& offsets, long long n) {
    const QByteArray text = object_text(pdf, offsets, n);
    const qsizetype start = text.indexOf("<<"), end = text.lastIndexOf(">>");
    return start < 0 || end < start ? QByteArray() : text.mid(start, end + 2 - start);
}

// The number after a key in the last trailer, e.g. "/Size".
std::optional<long long> trailer_number(const QByteArray& pdf, const QByteArray& key) {
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    if (trailer < 0) return std::nullopt;
    const qsizetype at = pdf.indexOf(key, trailer);
    if (at < 0) return std::nullopt;
    bool ok = false;
    const long long value =
        pdf.mid(at + key.size()).trimmed().split(' ').value(0).split('\n').value(0).toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// Appends the notes to a finished PDF as an incremental update: one annotation object per
// note, and each page that gets notes written again with its /Annots. Empty when the PDF is
// not laid out as expected.
QByteArray notes_update(const QByteArray& pdf,
                        const std::vector<std::vector<chart_print::code_area>>& notes,
                        double page_height) {
    const std::vector<int> pages = page_objects(pdf);
    const object_offsets offsets_before = read_offsets(pdf);
    const std::optional<long long> size = trailer_number(pdf, "/Size");
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (pages.size() != notes.size() || !size || startxref < 0) return {};
    const long long previous =
        pdf.mid(startxref + 9).trimmed().split('\n').value(0).trimmed().toLongLong();
    const qsizetype root_at = pdf.indexOf("/Root", pdf.lastIndexOf("trailer"));
    const qsizetype info_at = pdf.indexOf("/Info", pdf.lastIndexOf("trailer"));
    const auto reference = [&](qsizetype at) {
        const QList<QByteArray> words = pdf.mid(at, 40).simplified().split(' ');
        return words.size() >= 3 ? words[0] + " " + words[1] + " " + words[2] : QByteArray();
    };
    QByteArray update = "\n";
    std::vector<std::pair<long long, qsizetype>> offsets;  // object number, offset
    long long next = *size;
    const auto begin_object = [&](long long n) {
        offsets.emplace_back(n, pdf.size() + update.size());
        update += QByteArray::number(n) + " 0 obj\n";
    };
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (notes[p].empty()) continue;
        QByteArray refs;
        for (const chart_print::code_area& note : notes[p]) {
            const long long n = next++;
            begin_object(n);
            const QRectF& r = note.rect;
            update +=
                "<< /Type /Annot /Subtype /Square /Rect [" +
                QByteArray::fromStdString(number(r.left()) + " " +
                                          number(page_height - r.bottom()) + " " +
                                          number(r.right()) + " " + number(page_height - r.top())) +
                "] /BS << /W 0 >> /F 4 /T " + QByteArray::fromStdString(pdf_text("code")) +
                " /Contents " + QByteArray::fromStdString(pdf_text(note.code)) + " >>\nendobj\n";
            refs += QByteArray::number(n) + " 0 R ";
        }
        const QByteArray dictionary = object_dictionary(pdf, offsets_before, pages[p]);
        if (dictionary.isEmpty()) return {};
        const qsizetype annots = dictionary.indexOf("/Annots");
        if (annots < 0) {
            begin_object(pages[p]);
            update +=
                dictionary.left(dictionary.size() - 2) + "/Annots [ " + refs + "]\n>>\nendobj\n";
            continue;
        }
        // The writer keeps each page's annotations in an array object of its own, empty
        // here; that array is written again with the notes.
        const QList<QByteArray> words = dictionary.mid(annots + 7, 40).simplified().split(' ');
        bool ok = false;
        const long long array = words.value(0).toLongLong(&ok);
        if (!ok || words.value(2) != "R") return {};
        const QByteArray old_array = object_text(pdf, offsets_before, array);
        if (old_array.isEmpty() || old_array.simplified() != "[ ]") return {};
        begin_object(array);
        update += "[ " + refs + "]\nendobj\n";
    }
    std::sort(offsets.begin(), offsets.end());
    const qsizetype xref = pdf.size() + update.size();
    update += "xref\n";
    char entry[32];
    for (const auto& [n, offset] : offsets) {
        std::snprintf(entry, sizeof entry, "%lld 1\n%010lld 00000 n\r\n", n,
                      static_cast<long long>(offset));
        update += entry;
    }
    update += "trailer\n<< /Size " + QByteArray::number(next) + " /Root " + reference(root_at + 5);
    if (info_at >= 0) update += " /Info " + reference(info_at + 5);
    update += " /Prev " + QByteArray::number(previous) + " >>\nstartxref\n" +
              QByteArray::number(xref) + "\n%%EOF\n";
    return update;
}

}  // namespace

chart_print::chart_print(const chart_cells& chart, bool small_set, page_format format,
                         std::string file, std::string function)
    : chart_(chart),
      small_set_(small_set),
      format_(format),
      file_(std::move(file)),
      function_(std::move(function)) {
    const QSize cell = symbol_cell_size(small_set ? symbol_set::small : symbol_set::large);
    cell_width_ = cell.width() * points_per_pixel;
    cell_height_ = cell.height() * points_per_pixel;
    geometry_ = page_layout(format, cell_width_, cell_height_);
    plan_ = cut_into_pages(chart, geometry_.columns, geometry_.rows);
}

template <typename Visit>
void chart_print::for_each_cell(const chart_page& page, Visit visit) const {
    const auto first =
        std::lower_bound(chart_.cells.begin(), chart_.cells.end(), page.rows.first,
                         [](const chart_cell& c, int row) { return c.at.row < row; });
    for (auto cell = first; cell != chart_.cells.end() && cell->at.row < page.rows.end; ++cell) {
        if (page.columns.contains(cell->at.column)) visit(*cell);
    }
}

QRectF chart_print::cell_rect(const chart_page& page, grid_point cell) const {
    return {geometry_.chart_left + (cell.column - page.columns.first) * cell_width_,
            geometry_.chart_top + (cell.row - page.rows.first) * cell_height_, cell_width_,
            cell_height_};
}

void chart_print::paint_connector(QPainter& painter, const chart_page& page,
                                  const offpage_connector& connector) const {
    const QRectF cell = cell_rect(page, connector.cell);
    const bool vertical = connector.side == page_side::top || connector.side == page_side::bottom;
    const double size = std::min(18.0, (vertical ? cell_width_ : cell_height_) - 2);
    const double stub = 6;
    QPointF edge;
    QRectF box;
    switch (connector.side) {
        case page_side::bottom:
            edge = {cell.center().x(), cell.bottom()};
            box = QRectF(edge.x() - size / 2, edge.y() + stub, size, size);
            break;
        case page_side::top:
            edge = {cell.center().x(), cell.top()};
            box = QRectF(edge.x() - size / 2, edge.y() - stub - size, size, size);
            break;
        case page_side::right:
            edge = {cell.right(), cell.center().y()};
            box = QRectF(edge.x() + stub, edge.y() - size / 2, size, size);
            break;
        case page_side::left:
            edge = {cell.left(), cell.center().y()};
            box = QRectF(edge.x() - stub - size, edge.y() - size / 2, size, size);
            break;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(connector_ink), 0.75));
    const QPointF near_edge =
        vertical ? QPointF(edge.x(), connector.side == page_side::bottom ? box.top() : box.bottom())
                 : QPointF(connector.side == page_side::right ? box.left() : box.right(), edge.y());
    painter.drawLine(edge, near_edge);
    painter.setBrush(QColor(connector_fill));
    // The flow leaves a page at its bottom or right, and comes in at the top or left.
    page_side towards = connector.side;
    if (connector.side == page_side::top) towards = page_side::bottom;
    if (connector.side == page_side::left) towards = page_side::right;
    painter.drawPolygon(pentagon(box, towards));
    painter.setFont(sans(connector.number >= 1000 ? 5 : connector.number >= 100 ? 6 : 7, true));
    const QRectF label = towards == page_side::bottom ? box.adjusted(0, 0, 0, -size * 0.3)
                                                      : box.adjusted(0, 0, -size * 0.3, 0);
    painter.drawText(label, Qt::AlignCenter, QString::number(connector.number));
    // Where the line goes on, beside the connector.
    painter.setFont(sans(6));
    const QString where = QStringLiteral("p. %1").arg(connector.other_page + 1);
    if (vertical) {
        painter.drawText(QRectF(box.right() + 2, box.top(), 30, size),
                         Qt::AlignLeft | Qt::AlignVCenter, where);
    } else {
        painter.drawText(QRectF(box.left() - 8, box.bottom(), size + 16, 8), Qt::AlignCenter,
                         where);
    }
    painter.restore();
}

void chart_print::paint_page(QPainter& painter, int index) const {
    const chart_page& page = plan_.pages.at(static_cast<std::size_t>(index));
    const page_geometry& g = geometry_;
    painter.save();
    painter.setPen(QColor(header_ink));
    painter.setFont(sans(9, true));
    const QRectF header(g.margin, g.margin, g.width - 2 * g.margin, g.header - 6);
    const QString pages = QStringLiteral("page %1 of %2").arg(index + 1).arg(page_count());
    const double pages_width = QFontMetricsF(painter.font()).horizontalAdvance(pages) + 12;
    QString title = text_of(file_);
    if (!function_.empty()) title += QStringLiteral("  \u2013  ") + text_of(function_);
    title = QFontMetricsF(painter.font())
                .elidedText(title, Qt::ElideMiddle, header.width() - pages_width);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, pages);
    painter.setPen(QPen(QColor(header_ink), 0.5));
    painter.drawLine(QPointF(g.margin, g.margin + g.header - 3),
                     QPointF(g.width - g.margin, g.margin + g.header - 3));
    painter.restore();

    const symbol_set set = small_set_ ? symbol_set::small : symbol_set::large;
    // Label texts are drawn in the grid's pixels, as large as the grid shows them.
    QFont label_font = sans(9);
    label_font.setPixelSize(12);
    for_each_cell(page, [&](const chart_cell& c) {
        const chart_cell* cell = &c;
        const QRectF rect = cell_rect(page, cell->at);
        if (small_set_ || !is_jump_label(cell->name)) {
            paint_symbol(painter, rect, cell->name, set);
        } else if (!cell->label.empty()) {
            painter.save();
            painter.translate(rect.topLeft());
            painter.scale(points_per_pixel, points_per_pixel);
            const QSize size = symbol_cell_size(set);
            cell_painter::paint_label(painter, cell->label, QRect(QPoint(0, 0), size), label_font);
            painter.restore();
        }
    });
    for (const offpage_connector& connector : plan_.connectors) {
        if (connector.page == index) paint_connector(painter, page, connector);
    }
}

std::vector<chart_print::code_area> chart_print::code_areas(int index) const {
    std::vector<code_area> areas;
    const chart_page& page = plan_.pages.at(static_cast<std::size_t>(index));
    for_each_cell(page, [&](const chart_cell& cell) {
        if (!cell.hint.empty()) areas.push_back({cell_rect(page, cell.at), cell.hint});
    });
    return areas;
}

bool chart_print::paint_on(QPagedPaintDevice& device) const {
    device.setPageLayout(
        QPageLayout(QPageSize(QSizeF(format_.width_mm, format_.height_mm), QPageSize::Millimeter),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double scale = device.logicalDpiX() / 72.0;
    for (int page = 0; page < page_count(); ++page) {
        if (page > 0 && !device.newPage()) return false;
        painter.save();
        painter.scale(scale, scale);
        paint_page(painter, page);
        painter.restore();
    }
    return painter.end();
}

bool write_chart_pdf(const chart_print& print, const QString& file) {
    QTemporaryFile drawn;
    if (!drawn.open()) return false;
    {
        QPdfWriter writer(&drawn);
        writer.setResolution(720);
        writer.setCreator(QStringLiteral("Tarnwell"));
        writer.setTitle(QStringLiteral("Flowchart"));
        if (!print.paint_on(writer)) return false;
    }
    if (!drawn.seek(0)) return false;
    const QByteArray pdf = drawn.readAll();
    std::vector<std::vector<chart_print::code_area>> notes;
    for (int page = 0; page < print.page_count(); ++page) notes.push_back(print.code_areas(page));
    const bool any_notes =
        std::any_of(notes.begin(), notes.end(), [](const auto& page) { return !page.empty(); });
    const QByteArray update =
        any_notes ? notes_update(pdf, notes, print.geometry().height) : QByteArray();
    QSaveFile out(file);
    return (!any_notes || !update.isEmpty()) && out.open(QIODevice::WriteOnly) &&
           out.write(pdf) == pdf.size() && out.write(update) == update.size() && out.commit();
}

}  // namespace tarnwell
