#include "workspace/mysynedit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>

namespace tarnwell {
namespace {

using base = QsciScintillaBase;

class Editor : public ::testing::Test {
  protected:
    void SetUp() override {
        editor_.resize(600, 400);
        editor_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor_));
    }

    // The middle of a character cell, in viewport coordinates.
    QPoint cell_of(long position) const {
        const long x = editor_.SendScintilla(base::SCI_POINTXFROMPOSITION, 0UL, position);
        const long y = editor_.SendScintilla(base::SCI_POINTYFROMPOSITION, 0UL, position);
        const long height = editor_.SendScintilla(base::SCI_TEXTHEIGHT, 0UL);
        const long width = editor_.SendScintilla(base::SCI_TEXTWIDTH, 32UL, " ");
        return QPoint(static_cast<int>(x + width / 2), static_cast<int>(y + height / 2));
    }

    QColor painted_at(long position) {
        editor_.viewport()->repaint();
        const QImage image = editor_.viewport()->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        const QPoint cell = cell_of(position);
        return image.pixelColor(static_cast<int>(cell.x() * ratio),
                                static_cast<int>(cell.y() * ratio));
    }

    TMySynEdit editor_;
};

// Twelve lines of spaces between bars, "|      |", 9 bytes each with the break.
std::string spaced_lines() {
    std::string text;
    for (int n = 1; n <= 12; ++n) text += "|      |\n";
    return text;
}

TEST_F(Editor, HighlightRangePaintsItsCharactersUnderTheSelection) {
    editor_.load_bytes(spaced_lines());
    editor_.set_highlight_range(10, 12, 3, 5);
    const long line10 = 9 * 9, line11 = 10 * 9, line12 = 11 * 9;
    EXPECT_EQ(editor_.painted_highlight(),
              (std::vector<byte_span>{
                  {line10 + 4, line10 + 8}, {line11, line11 + 8}, {line12, line12 + 2}}));
    EXPECT_EQ(painted_at(line10 + 5), TMySynEdit::highlight_colour);
    EXPECT_EQ(painted_at(line11 + 3), TMySynEdit::highlight_colour);
    EXPECT_EQ(painted_at(line10 + 2), TMySynEdit::background);  // before the begin column
    EXPECT_EQ(painted_at(line12 + 3), TMySynEdit::background);  // from the end column on

    editor_.SendScintilla(base::SCI_SETSEL, line11 + 2, line11 + 4);
    QApplication::processEvents();
    EXPECT_EQ(editor_.painted_highlight(), (std::vector<byte_span>{{line10 + 4, line10 + 8},
                                                                   {line11, line11 + 2},
                                                                   {line11 + 4, line11 + 8},
                                                                   {line12, line12 + 2}}));
    const QColor selected = painted_at(line11 + 3);
    EXPECT_NE(selected, TMySynEdit::highlight_colour);
    EXPECT_NE(selected, TMySynEdit::background);
    EXPECT_EQ(painted_at(line11 + 5), TMySynEdit::highlight_colour);

    // Setting a range drops the selection; one that does not run forward paints nothing.
    editor_.set_highlight_range(2, 2, 1, 4);
    EXPECT_FALSE(editor_.hasSelectedText());
    EXPECT_TRUE(editor_.painted_highlight().empty());
}

TEST_F(Editor, HighlightStaysOnItsLinesAndColumnsWhenTextChanges) {
    editor_.load_bytes("abc\ndef\n");
    editor_.set_highlight_range(2, 2, 3, 1);
    editor_.SendScintilla(base::SCI_INSERTTEXT, 0UL, "xx");
    QApplication::processEvents();
    EXPECT_EQ(editor_.painted_highlight(), (std::vector<byte_span>{{6, 8}}));
}

TEST_F(Editor, GutterClicksByMouse) {
    editor_.load_bytes(spaced_lines());
    const auto click_line = [this](int line) {
        const QPoint cell = cell_of((line - 1) * 9);
        QTest::mouseClick(editor_.viewport(), Qt::LeftButton, {}, QPoint(4, cell.y()));
    };
    click_line(3);
    EXPECT_EQ(editor_.bookmark(0), (bookmark_pos{1, 3}));
    click_line(5);
    EXPECT_EQ(editor_.bookmark(1), (bookmark_pos{1, 5}));
    click_line(3);
    EXPECT_EQ(editor_.bookmark(0), std::nullopt);
    EXPECT_EQ(editor_.bookmark(1), (bookmark_pos{1, 5}));

    editor_.set_bookmark(begin_mark, {1, 7});
    click_line(7);
    EXPECT_EQ(editor_.bookmark(begin_mark), (bookmark_pos{1, 7}));
    EXPECT_EQ(editor_.bookmark(0), std::nullopt);
}

TEST_F(Editor, BookmarksFollowTheirLinesAndTheCaretGoesToThem) {
    editor_.load_bytes("one\ntwo\nthree\n");
    editor_.set_caret({3, 2});
    editor_.toggle_bookmark(4);
    EXPECT_EQ(editor_.bookmark(4), (bookmark_pos{3, 2}));
    editor_.SendScintilla(base::SCI_INSERTTEXT, 0UL, "zero\n");
    EXPECT_EQ(editor_.bookmark(4), (bookmark_pos{3, 3}));
    editor_.set_caret({1, 1});
    editor_.goto_bookmark(4);
    EXPECT_EQ(editor_.caret(), (bookmark_pos{3, 3}));
    editor_.toggle_bookmark(4);  // the caret line carries it: cleared
    EXPECT_EQ(editor_.bookmark(4), std::nullopt);
    editor_.go_to_line(2);
    EXPECT_EQ(editor_.caret(), (bookmark_pos{1, 2}));
    editor_.load_bytes("new text");
    editor_.goto_bookmark(4);
    EXPECT_EQ(editor_.caret(), (bookmark_pos{1, 1}));
}

TEST_F(Editor, KeepsBytesAndAddsLinesWithTheFilesBreak) {
    struct break_case {
        std::string bytes;
        const char* added;
    };
    const break_case cases[] = {
        {"a\r\nb", "\r\n"},
        {"a\rb", "\r"},
        {"a\nb\r\n", "\n"},
        {std::string("\xe9t\xe9\0z", 5), "\n"},
    };
    for (const break_case& c : cases) {
        editor_.load_bytes(c.bytes);
        EXPECT_EQ(editor_.bytes(), c.bytes);
        EXPECT_FALSE(editor_.isModified());
        EXPECT_FALSE(editor_.isUndoAvailable());
        editor_.SendScintilla(base::SCI_DOCUMENTEND);
        editor_.SendScintilla(base::SCI_NEWLINE);
        EXPECT_EQ(editor_.bytes(), c.bytes + c.added);
        EXPECT_TRUE(editor_.isModified());
    }
}

TEST_F(Editor, ShowsLatin1AndUtf8TextAsCharacters) {
    editor_.load_bytes("caf\xe9");
    EXPECT_EQ(editor_.display_text(), QString::fromUtf8("caf\xc3\xa9"));
    editor_.load_bytes("caf\xc3\xa9");
    EXPECT_EQ(editor_.display_text(), QString::fromUtf8("caf\xc3\xa9"));
    editor_.copy_all();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("caf\xc3\xa9"));
}

}  // namespace
}  // namespace tarnwell
