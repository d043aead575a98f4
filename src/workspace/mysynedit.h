// The editor of one document: the component's syntax-highlighting editor with the ten
// numbered bookmarks in the gutter, a highlight range painted apart from the selection, and
// the document's own fields.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/bookmarks.h"
#include "workspace/document.h"
#include "workspace/highlight_spans.h"

class QMenu;

namespace tarnwell {

class TMySynEdit : public QsciScintilla {
    Q_OBJECT
  public:
    // The editor's background, also the gutter's and the right edge's.
    static inline const QColor background{236, 233, 216};
    static inline const QColor highlight_colour{208, 208, 208};

    explicit TMySynEdit(QWidget* parent = nullptr);

    tarnwell::document doc;

    // The text as bytes, exactly as loaded or edited: line breaks and encoding untouched.
    std::string bytes() const;
    // Replaces the text with a file's bytes: no undo history, not modified, caret at the
    // start, bookmarks and highlight cleared. UTF-8 text is shown as such, other text as
    // Latin-1; new lines take the file's first line break.
    void load_bytes(std::string_view bytes);
    // The text in the form the clipboard and the window system take.
    QString display_text() const;

    // The highlighter; the editor takes it over and frees the one before.
    void set_highlighter(QsciLexer* lexer);
    // The style byte of every text byte, with the whole text styled first.
    std::vector<std::uint8_t> style_bytes();

    std::optional<bookmark_pos> bookmark(int n) const;
    bookmark_set bookmarks() const;
    void set_bookmark(int n, bookmark_pos pos);
    void clear_bookmark(int n);
    void toggle_bookmark(int n);
    void goto_bookmark(int n);
    // The rule of a click in the gutter on a line (from 1).
    void gutter_click(int line);

    // Sets the highlight range and clears the selection; lines and columns from 1, the end
    // column exclusive.
    void set_highlight_range(int begin_line, int end_line, int end_column, int begin_column);
    const highlight_range& highlight() const { return highlight_; }
    // The byte spans that carry the highlight colour now.
    std::vector<byte_span> painted_highlight() const;

    // Caret to column 1 of a line (from 1), the line made visible, the editor focused.
    void go_to_line(int line);
    void copy_all();
    bookmark_pos caret() const;
    void set_caret(bookmark_pos pos);
    int line_count() const;
    void show_line_numbers(bool on);
    void set_popup_menu(QMenu* menu) { popup_ = menu; }
    // Unbinds the editor's own keystrokes on these keys, so that the window's commands get
    // them (Ctrl+L shows line numbers instead of cutting the line).
    void give_up_keys(const QList<QKeySequence>& keys);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

  private:
    void apply_bookmarks(const bookmark_set& marks);
    void repaint_highlight();
    long position_of(bookmark_pos pos) const;

    std::array<int, bookmark_count> marker_handles_;
    std::array<int, bookmark_count> marker_columns_;
    highlight_range highlight_;
    bool highlight_painted_ = false;
    bool line_numbers_ = false;
    QMenu* popup_ = nullptr;
    QsciLexer* lexer_ = nullptr;
};

}  // namespace tarnwell
