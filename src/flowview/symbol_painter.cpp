#include "flowview/symbol_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>

#include "flowview/symbol_joins.h"
#include "layout/grid_script.h"

namespace tarnwell {

namespace {

constexpr unsigned top = edge_top, bottom = edge_bottom, left = edge_left, right = edge_right;
constexpr unsigned T = top, B = bottom, L = left, R = right;

enum class shape {
    start,      // terminal, flow leaves downwards
    end,        // terminal, flow arrives from above
    process,    // box
    collapsed,  // box with double sides: a construct or block drawn as one symbol
    stop,       // terminal that the flow does not leave
    octagon,    // program exit
    tag_right,  // pentagon pointing right: a jump forwards
    tag_left,   // pentagon pointing left: a jump back to the loop head
    rounded,    // jump label
    decision,   // diamond through the four edge midpoints
    loop_head,  // hexagon through the left and right midpoints, full height
    selection,  // trapezoid
    label_box,  // selection label: full width, entered from the right
    junction,   // narrow diamond through the top and bottom midpoints
};

enum class family { terminal, process, decision, loop, selection, jump, other };

struct node_symbol {
    symbol name;
    shape form;
    family colour;
    std::string_view caption;        // large set
    std::string_view short_caption;  // small set
};

constexpr std::array<node_symbol, 26> node_symbols{{
    {symbol::p_start, shape::start, family::terminal, "start", "start"},
    {symbol::p_end, shape::end, family::terminal, "end", "end"},
    {symbol::p_statement, shape::collapsed, family::process, "block", ""},
    {symbol::P_code, shape::process, family::process, "", ""},
    {symbol::P_return, shape::stop, family::jump, "return", "ret"},
    {symbol::P_exit, shape::octagon, family::jump, "exit", "exit"},
    {symbol::P_break, shape::tag_right, family::jump, "break", "brk"},
    {symbol::P_continue, shape::tag_left, family::jump, "continue", "cont"},
    {symbol::p_label, shape::rounded, family::other, "label", "lbl"},
    {symbol::p_goto, shape::tag_right, family::other, "goto", "go"},
    {symbol::p_except, shape::collapsed, family::other, "except", "exc"},
    {symbol::p_if, shape::decision, family::decision, "if", "if"},
    {symbol::p_if2, shape::collapsed, family::decision, "if", "if"},
    {symbol::P_switch, shape::selection, family::selection, "switch", "sw"},
    {symbol::p_switch2, shape::collapsed, family::selection, "switch", "sw"},
    {symbol::P_case, shape::label_box, family::selection, "case", "case"},
    {symbol::p_else, shape::label_box, family::selection, "default", "def"},
    {symbol::P_diamond, shape::junction, family::selection, "", ""},
    {symbol::P_for, shape::loop_head, family::loop, "for", "for"},
    {symbol::p_for2, shape::collapsed, family::loop, "for", "for"},
    {symbol::P_WHILE, shape::decision, family::loop, "while", "wh"},
    {symbol::p_whiledo, shape::collapsed, family::loop, "while", "wh"},
    {symbol::p_dowhile, shape::collapsed, family::loop, "do while", "do"},
    {symbol::P_until, shape::decision, family::loop, "until", "un"},
    {symbol::p_untildo, shape::collapsed, family::loop, "until", "un"},
    {symbol::p_dountil, shape::collapsed, family::loop, "do until", "do"},
}};

static_assert(node_symbols.size() + connector_piece_count == symbol_count);

// Sizes in the pixels of a set's own cell. Edges of outlines sit on half pixels so that the
// one-pixel lines of an unstretched picture are crisp.
struct set_geometry {
    qreal width, height;
    qreal arrow_length, arrow_half_width;
    qreal node_top;       // top of a shape that no arrow enters from above (the start terminal)
    qreal node_bottom;    // bottom of a box; a stub joins it to the bottom midpoint
    qreal box_inset;      // left and right margin of boxes
    qreal slant;          // the pointed ends of hexagons, trapezoids and pentagons
    qreal bar;            // distance of the inner side lines of a collapsed box
    qreal junction_half;  // half width of the junction diamond
    qreal label_left;     // left side of a selection label, which reaches the right edge
    int caption_pixels;
    int label_pixels;
    bool compact;  // the small set: short captions, labels spread over the free side
};

constexpr set_geometry large_geometry{65, 33, 7, 3.5, 4.5, 24.5, 6.5, 8, 4, 8, 3.5, 10, 9, false};
constexpr set_geometry small_geometry{27, 21, 4, 2.5, 2.5, 14.5, 3.5, 4, 2, 4, 1.5, 7, 6, true};

constexpr QRgb ink = qRgb(0, 0, 0);
constexpr QRgb yes_ink = qRgb(0, 128, 0);
constexpr QRgb no_ink = qRgb(192, 0, 0);

QRgb fill_of(family f) {
    switch (f) {
        case family::terminal:
            return qRgb(0xD5, 0xEF, 0xD5);
        case family::process:
            return qRgb(0xDC, 0xE9, 0xF7);
        case family::decision:
            return qRgb(0xFF, 0xF2, 0xC2);
        case family::loop:
            return qRgb(0xFB, 0xE1, 0xCF);
        case family::selection:
            return qRgb(0xE9, 0xDF, 0xF5);
        case family::jump:
            return qRgb(0xF7, 0xD4, 0xD4);
        case family::other:
            break;
    }
    return qRgb(0xE6, 0xE6, 0xE6);
}

QPen line_pen(QRgb colour = ink) {
    return QPen(QColor(colour), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// The largest font up to `pixels` in which `text` fits `box`; none below five pixels.
QFont fitted_font(std::string_view text, int pixels, bool bold, const QSizeF& box) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (; pixels > 5; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(s) <= box.width() && metrics.height() <= box.height() + 2)
            break;
    }
    font.setPixelSize(pixels);
    return font;
}

void draw_text(QPainter& p, const QRectF& box, std::string_view text, int pixels, bool bold,
               QRgb colour, Qt::Alignment align) {
    if (text.empty()) return;
    p.setFont(fitted_font(text, pixels, bold, box.size()));
    p.setPen(QColor(colour));
    p.drawText(box, static_cast<int>(align),
               QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QPointF midpoint(const set_geometry& g, unsigned e) {
    switch (e) {
        case top:
            return {g.width / 2, 0};
        case bottom:
            return {g.width / 2, g.height};
        case left:
            return {0, g.height / 2};
        default:
            return {g.width, g.height / 2};
    }
}

// An arrowhead whose tip is the midpoint of edge `e`, pointing out of the cell.
void draw_arrowhead(QPainter& p, const set_geometry& g, unsigned e) {
    const QPointF tip = midpoint(g, e);
    const QPointF inward = e == top      ? QPointF(0, 1)
                           : e == bottom ? QPointF(0, -1)
                           : e == left   ? QPointF(1, 0)
                                         : QPointF(-1, 0);
    const QPointF across(inward.y(), inward.x());
    const QPointF base = tip + inward * g.arrow_length;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(ink));
    p.drawPolygon(
        QPolygonF{tip, base + across * g.arrow_half_width, base - across * g.arrow_half_width});
}

// Where the "true" or "false" of a piece goes: beside its vertical line, above or below its
// horizontal line, always on a side that no line of the piece crosses.
void draw_branch_label(QPainter& p, const set_geometry& g, const connector_piece& piece) {
    const qreal cx = g.width / 2, cy = g.height / 2, gap = 2;
    const std::string_view text = piece.label == branch::yes ? "true" : "false";
    const QRgb colour = piece.label == branch::yes ? yes_ink : no_ink;
    QRectF box;
    Qt::Alignment align;
    if ((piece.joins & (T | B)) == (T | B)) {
        const qreal bottom_end = piece.arrow == B ? g.height - g.arrow_length : g.height;
        if ((piece.joins & R) == 0) {
            box = QRectF(QPointF(cx + gap, 0), QPointF(g.width, bottom_end));
            align = Qt::AlignLeft | Qt::AlignVCenter;
        } else {
            box = QRectF(QPointF(0, 0), QPointF(cx - gap, bottom_end));
            align = Qt::AlignRight | Qt::AlignVCenter;
        }
    } else {
        const bool above = (piece.joins & T) == 0;
        const qreal y0 = above ? 0 : cy + gap, y1 = above ? cy - gap : g.height;
        qreal x0 = 0, x1 = g.width;
        if ((piece.joins & (L | R)) != (L | R)) {
            // A corner: keep to the half of the horizontal line unless the set is too small.
            if (!g.compact && (piece.joins & L)) x1 = cx;
            if (!g.compact && (piece.joins & R)) x0 = cx;
        }
        box = QRectF(QPointF(x0, y0), QPointF(x1, y1));
        align = Qt::AlignHCenter | (above ? Qt::AlignBottom : Qt::AlignTop);
    }
    draw_text(p, box, text, g.label_pixels, false, colour, align);
}

void draw_connector(QPainter& p, const set_geometry& g, const connector_piece& piece) {
    const QPointF centre(g.width / 2, g.height / 2);
    p.setPen(line_pen());
    for (unsigned e : {top, bottom, left, right}) {
        if ((piece.joins & e) == 0) continue;
        // Each arm starts half a line width behind the centre so that the arms of a corner
        // or a fork overlap and leave no notch.
        const QPointF end = midpoint(g, e);
        const QPointF direction = (end - centre) / QLineF(centre, end).length();
        p.drawLine(centre - direction * 0.5, end);
    }
    if (piece.arrow != 0) draw_arrowhead(p, g, piece.arrow);
    if (piece.label != branch::none) draw_branch_label(p, g, piece);
}

void draw_stub(QPainter& p, const set_geometry& g, qreal from_y) {
    p.setPen(line_pen());
    p.drawLine(QPointF(g.width / 2, from_y), QPointF(g.width / 2, g.height));
}

// Short lines from edge midpoints into the vertices that touch them: a sharp antialiased
// vertex alone would leave the line of the neighbouring cell a faint end.
void draw_tips(QPainter& p, const set_geometry& g, unsigned edges) {
    const QPointF centre(g.width / 2, g.height / 2);
    p.setPen(line_pen());
    for (unsigned e : {top, bottom, left, right}) {
        if ((edges & e) == 0) continue;
        const QPointF end = midpoint(g, e);
        const QPointF direction = (end - centre) / QLineF(centre, end).length();
        p.drawLine(end - direction * 2.0, end);
    }
}

void draw_outline(QPainter& p, const QPolygonF& outline, QRgb fill) {
    p.setPen(line_pen());
    p.setBrush(QColor(fill));
    p.drawPolygon(outline);
}

QPolygonF rectangle(qreal x0, qreal y0, qreal x1, qreal y1) {
    return QPolygonF{QPointF(x0, y0), QPointF(x1, y0), QPointF(x1, y1), QPointF(x0, y1)};
}

void draw_rounded(QPainter& p, const QRectF& r, qreal radius, QRgb fill) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    p.setPen(line_pen());
    p.setBrush(QColor(fill));
    p.drawPath(path);
}

void draw_stadium(QPainter& p, const QRectF& r, QRgb fill) {
    draw_rounded(p, r, r.height() / 2, fill);
}

void draw_node(QPainter& p, const set_geometry& g, const node_symbol& node) {
    const qreal W = g.width, H = g.height, cx = W / 2, cy = H / 2;
    const qreal x0 = g.box_inset, x1 = W - g.box_inset, y0 = 0.5, y1 = g.node_bottom;
    const QRgb fill = fill_of(node.colour);
    QRectF caption_box(QPointF(x0 + 1, y0), QPointF(x1 - 1, y1));
    bool stub = true;
    switch (node.form) {
        case shape::start:
            draw_stadium(p, QRectF(QPointF(x0, g.node_top), QPointF(x1, y1)), fill);
            caption_box.setTop(g.node_top);
            break;
        case shape::end:
            draw_stadium(p, QRectF(QPointF(x0, y0), QPointF(x1, y1)), fill);
            stub = false;
            break;
        case shape::process:
            draw_outline(p, rectangle(x0, y0, x1, y1), fill);
            break;
        case shape::collapsed:
            draw_outline(p, rectangle(x0, y0, x1, y1), fill);
            p.drawLine(QPointF(x0 + g.bar, y0), QPointF(x0 + g.bar, y1));
            p.drawLine(QPointF(x1 - g.bar, y0), QPointF(x1 - g.bar, y1));
            caption_box = QRectF(QPointF(x0 + g.bar + 1, y0), QPointF(x1 - g.bar - 1, y1));
            break;
        case shape::stop:
            draw_stadium(p, QRectF(QPointF(x0, y0), QPointF(x1, y1)), fill);
            stub = false;
            break;
        case shape::octagon: {
            const qreal s = g.slant / 2;
            draw_outline(p,
                         QPolygonF{QPointF(x0 + s, y0), QPointF(x1 - s, y0), QPointF(x1, y0 + s),
                                   QPointF(x1, y1 - s), QPointF(x1 - s, y1), QPointF(x0 + s, y1),
                                   QPointF(x0, y1 - s), QPointF(x0, y0 + s)},
                         fill);
            stub = false;
            break;
        }
        case shape::tag_right:
        case shape::tag_left: {
            const qreal my = (y0 + y1) / 2, s = g.slant;
            const bool to_right = node.form == shape::tag_right;
            const QPolygonF outline =
                to_right ? QPolygonF{QPointF(x0, y0), QPointF(x1 - s, y0), QPointF(x1, my),
                                     QPointF(x1 - s, y1), QPointF(x0, y1)}
                         : QPolygonF{QPointF(x0 + s, y0), QPointF(x1, y0), QPointF(x1, y1),
                                     QPointF(x0 + s, y1), QPointF(x0, my)};
            draw_outline(p, outline, fill);
            caption_box = to_right ? QRectF(QPointF(x0 + 1, y0), QPointF(x1 - s / 2, y1))
                                   : QRectF(QPointF(x0 + s / 2, y0), QPointF(x1 - 1, y1));
            // A jump ends the flow here.
            stub = false;
            break;
        }
        case shape::rounded:
            draw_rounded(p, QRectF(QPointF(x0, y0), QPointF(x1, y1)), g.slant / 2, fill);
            break;
        case shape::decision:
            draw_outline(
                p, QPolygonF{QPointF(cx, 0), QPointF(W, cy), QPointF(cx, H), QPointF(0, cy)}, fill);
            draw_tips(p, g, T | B | L | R);
            caption_box = QRectF(QPointF(W / 4, H / 4), QPointF(W * 3 / 4, H * 3 / 4));
            stub = false;
            break;
        case shape::loop_head:
            draw_outline(
                p,
                QPolygonF{QPointF(0, cy), QPointF(g.slant, y0), QPointF(W - g.slant, y0),
                          QPointF(W, cy), QPointF(W - g.slant, H - 0.5), QPointF(g.slant, H - 0.5)},
                fill);
            draw_tips(p, g, L | R);
            caption_box = QRectF(QPointF(g.slant, y0), QPointF(W - g.slant, H - 0.5));
            stub = false;
            break;
        case shape::selection:
            draw_outline(p,
                         QPolygonF{QPointF(x0, y0), QPointF(x1, y0), QPointF(x1 - g.slant / 2, y1),
                                   QPointF(x0 + g.slant / 2, y1)},
                         fill);
            break;
        case shape::label_box:
            // The dispatch arrow arrives at the right edge, so the box reaches it.
            draw_outline(p, rectangle(g.label_left, y0, W - 0.5, y1), fill);
            caption_box = QRectF(QPointF(g.label_left + 1, y0), QPointF(W - 1, y1));
            break;
        case shape::junction:
            draw_outline(p,
                         QPolygonF{QPointF(cx, 0), QPointF(cx + g.junction_half, cy),
                                   QPointF(cx, H), QPointF(cx - g.junction_half, cy)},
                         fill);
            draw_tips(p, g, T | B);
            stub = false;
            break;
    }
    if (stub) draw_stub(p, g, y1);
    draw_text(p, caption_box, g.compact ? node.short_caption : node.caption, g.caption_pixels, true,
              ink, Qt::AlignCenter);
}

}  // namespace

std::vector<std::pair<QRgb, QRgb>> symbol_colour_blends() {
    std::vector<std::pair<QRgb, QRgb>> blends{
        {qRgb(255, 255, 255), ink}, {qRgb(255, 255, 255), yes_ink}, {qRgb(255, 255, 255), no_ink}};
    for (family f : {family::terminal, family::process, family::decision, family::loop,
                     family::selection, family::jump, family::other}) {
        blends.emplace_back(fill_of(f), ink);
    }
    return blends;
}

QSize symbol_cell_size(symbol_set set) {
    const set_geometry& g = set == symbol_set::large ? large_geometry : small_geometry;
    return {static_cast<int>(g.width), static_cast<int>(g.height)};
}

bool paint_symbol(QPainter& painter, const QRectF& cell, std::string_view name, symbol_set set) {
    const set_geometry& g = set == symbol_set::large ? large_geometry : small_geometry;
    const auto node =
        std::find_if(node_symbols.begin(), node_symbols.end(),
                     [&](const node_symbol& n) { return symbol_name(n.name) == name; });
    const connector_piece* piece = connector_piece_of(name);
    if (node == node_symbols.end() && piece == nullptr) return false;
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(cell.topLeft());
    painter.scale(cell.width() / g.width, cell.height() / g.height);
    if (node != node_symbols.end()) {
        draw_node(painter, g, *node);
    } else {
        draw_connector(painter, g, *piece);
    }
    painter.restore();
    return true;
}

}  // namespace tarnwell
