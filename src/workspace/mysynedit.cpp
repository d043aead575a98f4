#include "workspace/mysynedit.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>

#include "workspace/highlighters.h"
#include "workspace/text_bytes.h"

namespace tarnwell {

namespace {

using base = QsciScintillaBase;

constexpr int line_number_margin = 1;
constexpr int bookmark_margin = 0;
constexpr int bookmark_margin_width = 14;
constexpr int highlight_indicator = 8;  // the first indicator left to the container
constexpr int bookmark_marker_mask = (1 << bookmark_count) - 1;

// The gutter picture of a bookmark: its number on a small tab; the begin and end marks are
// a green and a red flag with "B" and "E".
QImage bookmark_picture(int n) {
    QImage image(12, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill(70, 110, 200);
    QString label = QString::number(n);
    if (n == begin_mark) {
        fill = QColor(20, 140, 40);
        label = QStringLiteral("B");
    } else if (n == end_mark) {
        fill = QColor(200, 40, 30);
        label = QStringLiteral("E");
    }
    painter.setPen(fill.darker(150));
    painter.setBrush(fill);
    if (n >= begin_mark) {
        const QPointF flag[] = {{0.5, 0.5}, {11.5, 0.5}, {8.5, 6}, {11.5, 11.5}, {0.5, 11.5}};
        painter.drawPolygon(flag, 5);
    } else {
        painter.drawRoundedRect(QRectF(0.5, 0.5, 11, 11), 2, 2);
    }
    QFont font;
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, n >= begin_mark ? 9 : 12, 12), Qt::AlignCenter, label);
    return image;
}

}  // namespace

TMySynEdit::TMySynEdit(QWidget* parent) : QsciScintilla(parent) {
    marker_handles_.fill(-1);
    marker_columns_.fill(1);
    setFrameStyle(QFrame::NoFrame);
    setUtf8(true);
    setFont(editor_font());
    setPaper(background);
    setEdgeColor(background);
    setMarginsBackgroundColor(background);
    setMarginType(line_number_margin, NumberMargin);
    setMarginWidth(line_number_margin, 0);
    setMarginType(bookmark_margin, SymbolMargin);
    setMarginWidth(bookmark_margin, bookmark_margin_width);
    setMarginMarkerMask(bookmark_margin, bookmark_marker_mask);
    setMarginMarkerMask(line_number_margin, 0);
    setMarginSensitivity(line_number_margin, true);
    SendScintilla(base::SCI_SETMARGINLEFT, 0UL, 4L);  // a little air between gutter and text
    setMarginSensitivity(bookmark_margin, true);
    for (int n = 0; n < bookmark_count; ++n) markerDefine(bookmark_picture(n), n);
    // The horizontal scroll bar follows the longest line shown instead of a fixed width.
    SendScintilla(base::SCI_SETSCROLLWIDTH, 1);
    SendScintilla(base::SCI_SETSCROLLWIDTHTRACKING, 1);

    SendScintilla(base::SCI_INDICSETSTYLE, highlight_indicator, base::INDIC_FULLBOX);
    SendScintilla(base::SCI_INDICSETFORE, highlight_indicator, highlight_colour);
    SendScintilla(base::SCI_INDICSETALPHA, highlight_indicator, 255);
    SendScintilla(base::SCI_INDICSETOUTLINEALPHA, highlight_indicator, 255);
    SendScintilla(base::SCI_INDICSETUNDER, highlight_indicator, 1);

    connect(this, &QsciScintilla::marginClicked, this,
            [this](int, int line, Qt::KeyboardModifiers) { gutter_click(line + 1); });
    connect(this, &QsciScintilla::selectionChanged, this, &TMySynEdit::repaint_highlight);
    // Decorations are not changed inside the component's own change notification.
    connect(this, &QsciScintilla::textChanged, this, &TMySynEdit::repaint_highlight,
            Qt::QueuedConnection);
    connect(this, &QsciScintilla::linesChanged, this, [this] { show_line_numbers(line_numbers_); });
}

std::string TMySynEdit::bytes() const {
    const long length = SendScintilla(base::SCI_GETLENGTH);
    const auto* text =
        static_cast<const char*>(SendScintillaPtrResult(base::SCI_GETCHARACTERPOINTER));
    if (text == nullptr || length <= 0) return {};
    return std::string(text, static_cast<std::size_t>(length));
}

void TMySynEdit::load_bytes(std::string_view bytes) {
    SendScintilla(base::SCI_SETUNDOCOLLECTION, 0);
    setUtf8(is_valid_utf8(bytes));
    SendScintilla(base::SCI_CLEARALL);
    SendScintilla(base::SCI_APPENDTEXT, static_cast<uintptr_t>(bytes.size()), bytes.data());
    switch (first_line_break(bytes)) {
        case line_break::crlf:
            setEolMode(EolWindows);
            break;
        case line_break::cr:
            setEolMode(EolMac);
            break;
        case line_break::lf:
            setEolMode(EolUnix);
            break;
    }
    SendScintilla(base::SCI_EMPTYUNDOBUFFER);
    SendScintilla(base::SCI_SETUNDOCOLLECTION, 1);
    SendScintilla(base::SCI_SETSAVEPOINT);
    SendScintilla(base::SCI_GOTOPOS, 0);
    for (int n = 0; n < bookmark_count; ++n) clear_bookmark(n);
    highlight_ = {};
    repaint_highlight();
}

QString TMySynEdit::display_text() const {
    const std::string text = bytes();
    const auto size = static_cast<qsizetype>(text.size());
    return isUtf8() ? QString::fromUtf8(text.data(), size) : QString::fromLatin1(text.data(), size);
}

void TMySynEdit::set_highlighter(QsciLexer* lexer) {
    QsciLexer* previous = lexer_;
    setLexer(lexer);
    lexer_ = lexer;
    delete previous;
    // A new lexer resets the styles the gutter is painted with.
    setMarginsBackgroundColor(background);
    setMarginsFont(editor_font());
}

std::vector<std::uint8_t> TMySynEdit::style_bytes() {
    const long length = SendScintilla(base::SCI_GETLENGTH);
    SendScintilla(base::SCI_COLOURISE, 0, -1L);
    std::vector<char> styled(2 * static_cast<std::size_t>(length) + 2);
    SendScintilla(base::SCI_GETSTYLEDTEXT, 0L, length, styled.data());
    std::vector<std::uint8_t> styles(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < styles.size(); ++i) {
        styles[i] = static_cast<std::uint8_t>(styled[2 * i + 1]);
    }
    return styles;
}

std::optional<bookmark_pos> TMySynEdit::bookmark(int n) const {
    if (n < 0 || n >= bookmark_count) return std::nullopt;
    const int handle = marker_handles_[static_cast<std::size_t>(n)];
    if (handle < 0) return std::nullopt;
    const int line = markerLine(handle);
    if (line < 0) return std::nullopt;
    return bookmark_pos{marker_columns_[static_cast<std::size_t>(n)], line + 1};
}

bookmark_set TMySynEdit::bookmarks() const {
    bookmark_set marks;
    for (int n = 0; n < bookmark_count; ++n) marks[static_cast<std::size_t>(n)] = bookmark(n);
    return marks;
}

void TMySynEdit::set_bookmark(int n, bookmark_pos pos) {
    if (n < 0 || n >= bookmark_count) return;
    clear_bookmark(n);
    const int line = std::clamp(pos.line, 1, line_count()) - 1;
    marker_handles_[static_cast<std::size_t>(n)] = markerAdd(line, n);
    marker_columns_[static_cast<std::size_t>(n)] = std::max(pos.column, 1);
}

void TMySynEdit::clear_bookmark(int n) {
    if (n < 0 || n >= bookmark_count) return;
    int& handle = marker_handles_[static_cast<std::size_t>(n)];
    if (handle >= 0) markerDeleteHandle(handle);
    handle = -1;
}

void TMySynEdit::apply_bookmarks(const bookmark_set& marks) {
    for (int n = 0; n < bookmark_count; ++n) {
        const std::optional<bookmark_pos>& wanted = marks[static_cast<std::size_t>(n)];
        if (bookmark(n) == wanted) continue;
        if (wanted) {
            set_bookmark(n, *wanted);
        } else {
            clear_bookmark(n);
        }
    }
}

void TMySynEdit::toggle_bookmark(int n) {
    apply_bookmarks(after_toggle(bookmarks(), n, caret()));
}

void TMySynEdit::gutter_click(int line) {
    apply_bookmarks(after_gutter_click(bookmarks(), line));
}

void TMySynEdit::goto_bookmark(int n) {
    const std::optional<bookmark_pos> mark = bookmark(n);
    if (!mark) return;
    set_caret(*mark);
    setFocus();
}

void TMySynEdit::set_highlight_range(int begin_line, int end_line, int end_column,
                                     int begin_column) {
    highlight_ = {begin_column, begin_line, end_column, end_line};
    const long caret_pos = SendScintilla(base::SCI_GETCURRENTPOS);
    SendScintilla(base::SCI_SETEMPTYSELECTION, caret_pos);
    repaint_highlight();
}

void TMySynEdit::repaint_highlight() {
    if (highlight_.begin_line < 1 && !highlight_painted_) return;
    SendScintilla(base::SCI_SETINDICATORCURRENT, highlight_indicator);
    if (highlight_painted_) {
        SendScintilla(base::SCI_INDICATORCLEARRANGE, 0, SendScintilla(base::SCI_GETLENGTH));
    }
    const long lines = line_count();
    const line_locator locate = [this, lines](int line) -> std::optional<byte_span> {
        if (line < 1 || line > lines) return std::nullopt;
        return byte_span{SendScintilla(base::SCI_POSITIONFROMLINE, line - 1),
                         SendScintilla(base::SCI_GETLINEENDPOSITION, line - 1)};
    };
    const byte_span selection{SendScintilla(base::SCI_GETSELECTIONSTART),
                              SendScintilla(base::SCI_GETSELECTIONEND)};
    const std::vector<byte_span> spans = highlight_spans(highlight_, locate, selection);
    for (const byte_span& span : spans) {
        SendScintilla(base::SCI_INDICATORFILLRANGE, span.begin, span.end - span.begin);
    }
    highlight_painted_ = !spans.empty();
}

std::vector<byte_span> TMySynEdit::painted_highlight() const {
    std::vector<byte_span> spans;
    const long length = SendScintilla(base::SCI_GETLENGTH);
    long pos = 0;
    while (pos < length) {
        const long end = SendScintilla(base::SCI_INDICATOREND, highlight_indicator, pos);
        if (SendScintilla(base::SCI_INDICATORVALUEAT, highlight_indicator, pos) != 0) {
            spans.push_back({pos, end});
        }
        if (end <= pos) break;
        pos = end;
    }
    return spans;
}

void TMySynEdit::go_to_line(int line) {
    set_caret({1, line});
    setFocus();
}

void TMySynEdit::copy_all() {
    QApplication::clipboard()->setText(display_text());
}

bookmark_pos TMySynEdit::caret() const {
    const long pos = SendScintilla(base::SCI_GETCURRENTPOS);
    const long line = SendScintilla(base::SCI_LINEFROMPOSITION, pos);
    const long start = SendScintilla(base::SCI_POSITIONFROMLINE, line);
    return {static_cast<int>(pos - start) + 1, static_cast<int>(line) + 1};
}

void TMySynEdit::set_caret(bookmark_pos pos) {
    // Moving the caret scrolls it into view.
    SendScintilla(base::SCI_GOTOPOS, position_of(pos));
}

long TMySynEdit::position_of(bookmark_pos pos) const {
    const long line = std::clamp(pos.line, 1, line_count()) - 1;
    const long start = SendScintilla(base::SCI_POSITIONFROMLINE, line);
    const long end = SendScintilla(base::SCI_GETLINEENDPOSITION, line);
    return std::min(end, start + std::max(pos.column, 1) - 1);
}

int TMySynEdit::line_count() const {
    return static_cast<int>(SendScintilla(base::SCI_GETLINECOUNT));
}

void TMySynEdit::show_line_numbers(bool on) {
    line_numbers_ = on;
    if (!on) {
        setMarginWidth(line_number_margin, 0);
        return;
    }
    // Wide enough for the largest line number, with a digit to spare.
    setMarginWidth(line_number_margin, QString(QString::number(line_count()).size() + 1, u'9'));
}

void TMySynEdit::give_up_keys(const QList<QKeySequence>& keys) {
    for (const QKeySequence& sequence : keys) {
        if (sequence.count() != 1) continue;
        const int key = sequence[0].toCombined();
        while (QsciCommand* command = standardCommands()->boundTo(key)) {
            if (command->key() == key) command->setKey(0);
            if (command->alternateKey() == key) command->setAlternateKey(0);
        }
    }
}

void TMySynEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (popup_ == nullptr) {
        QsciScintilla::contextMenuEvent(event);
        return;
    }
    // The popup's commands act on the caret line (the marks for a chart): a right click
    // moves the caret to the character nearest the click, unless it lands in the selection
    // that the popup may cut or copy.
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QPoint at = viewport()->mapFromGlobal(event->globalPos());
        const long pos =
            SendScintilla(base::SCI_POSITIONFROMPOINT, static_cast<unsigned long>(at.x()),
                          static_cast<long>(at.y()));
        const long from = SendScintilla(base::SCI_GETSELECTIONSTART);
        const long to = SendScintilla(base::SCI_GETSELECTIONEND);
        if (pos >= 0 && (pos < from || pos >= to)) SendScintilla(base::SCI_GOTOPOS, pos);
    }
    popup_->exec(event->globalPos());
}

void TMySynEdit::enterEvent(QEnterEvent* event) {
    setFocus();
    QsciScintilla::enterEvent(event);
}

}  // namespace tarnwell
