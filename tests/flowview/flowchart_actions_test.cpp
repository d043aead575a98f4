#include "flowview/flowchart_actions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <filesystem>
#include <fstream>
#include <functional>

#include "command_output.h"
#include "flowview/broxgrid.h"
#include "flowview/graphpanel.h"
#include "flowview/marked_region.h"
#include "parsers/parser_registry.h"
#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;
using base = QsciScintillaBase;

// A C function whose line 3 starts at editor position 41. Marked on lines 3 and 9, its chart
// has P_code 5-10 ("a = 1;") at grid (2, 2) and, at level 1, the collapsed conditional p_if2
// at grid (1, 4).
std::string c_function() {
    std::string head = "int compute(int a)";
    head.resize(37, ' ');
    return head +
           "\n{\n    a = 1;\n    if (a > 0) {\n        a = 2;\n    } else {\n        a = 3;\n"
           "    }\n    return a;\n}\n";
}

class FlowchartActions : public ::testing::Test {
  protected:
    void SetUp() override { make_window(); }
    // The main window with the flowchart commands, reading the settings in the temporary folder.
    void make_window() {
        window_.reset();
        auto messages = std::make_unique<scripted_notifier>();
        notes_ = messages.get();
        window_ = std::make_unique<TMainform>(
            data_, program_paths{fs::path(TARNWELL_PICTURES), temp_.path()}, std::move(messages));
        actions_ = new flowchart_actions(*window_);
        window_->resize(1000, 700);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override { window_.reset(); }

    TMySynEdit* open(const std::string& name, const std::string& text) {
        const fs::path file = temp_.path() / name;
        std::ofstream(file, std::ios::binary) << text;
        TMySynEdit* editor = window_->open_file(QString::fromStdString(file.string()));
        EXPECT_NE(editor, nullptr);
        return editor;
    }
    // Opens the C function with its body marked, and charts it.
    TMySynEdit* charted_function(const std::string& name = "main.c") {
        TMySynEdit* editor = open(name, c_function());
        mark_lines(editor, 3, 9);
        action("ac_layer")->trigger();
        return editor;
    }
    static void mark_lines(TMySynEdit* editor, int begin_line, int end_line) {
        editor->set_bookmark(begin_mark, {1, begin_line});
        editor->set_bookmark(end_mark, {1, end_line});
    }
    static void type(TMySynEdit* editor, const char* text) {
        editor->SendScintilla(base::SCI_ADDTEXT, static_cast<unsigned long>(std::strlen(text)),
                              text);
    }

    QAction* action(const char* name) const {
        auto* found = window_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    graphpanel* panel() const { return actions_->panel(); }
    tbroxgrid* grid() const { return panel()->grid(); }
    std::string framed() const { return grid()->cell(grid()->x(), grid()->y()); }
    bool grid_is_blank() const {
        for (int r = 0; r < grid()->row_count(); ++r) {
            for (int c = 0; c < grid()->col_count(); ++c) {
                if (!grid()->cell(c, r).empty()) return false;
            }
        }
        return true;
    }
    // The user picks an item of the level list.
    void choose_level(int index) const {
        panel()->level_list()->setCurrentIndex(index);
        emit panel()->level_list()->activated(index);
    }

    temp_dir temp_;
    TeditorDataModule data_;
    scripted_notifier* notes_ = nullptr;
    std::unique_ptr<TMainform> window_;
    flowchart_actions* actions_ = nullptr;
};

TEST_F(FlowchartActions, MarksOnOneLineGiveTheMarkMessageAndAnEmptyGrid) {
    TMySynEdit* editor = charted_function();
    ASSERT_FALSE(grid_is_blank());
    mark_lines(editor, 3, 3);
    action("ac_layer")->trigger();
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_EQ(notes_->messages[0],
              QStringLiteral("Please use popup menu of editor to mark the begin line and end line "
                             "of code that you want to parse. All marked code must be in the same "
                             "function ,and don't include the line of function name."));
    EXPECT_TRUE(grid_is_blank());
}

TEST_F(FlowchartActions, AFileOfNoLanguageIsNotChartedAsC) {
    // Go's `a := f()` read as C makes goto labels; a file of an unknown type charts nothing and
    // says how to choose its language, until a language is chosen.
    charted_function();
    TMySynEdit* editor = open("notes.txt", "x := f()\nif x > 0 {\n  y()\n}\n");
    EXPECT_EQ(editor->doc.language, 0);
    mark_lines(editor, 1, 4);
    action("ac_layer")->trigger();
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_EQ(notes_->messages[0],
              QStringLiteral("No language is chosen for this file, so its code cannot be charted. "
                             "Choose the language in the tool bar's language list."));
    EXPECT_TRUE(grid_is_blank());

    window_->set_language(editor, 19);
    action("ac_layer")->trigger();
    EXPECT_EQ(notes_->messages.size(), 1u);
    EXPECT_FALSE(grid_is_blank());
}

TEST_F(FlowchartActions, ACellClickHighlightsItsCharactersPastTheMarkedRegion) {
    TMySynEdit* editor = charted_function();
    EXPECT_TRUE(notes_->messages.empty());
    ASSERT_EQ(grid()->cell(2, 2), "P_code");
    grid()->select_cell(2, 2);
    EXPECT_EQ(window_->status_panel(2), QStringLiteral("2:2"));
    EXPECT_EQ(window_->status_panel(3), QStringLiteral("45:50"));
    EXPECT_EQ(editor->doc.flowchart.highlight_range, "5-10");
    EXPECT_EQ(std::make_pair(grid()->x(), grid()->y()), std::make_pair(2, 2));
    // Positions 45 to 50 are bytes 44 to 49: "a = 1;" on line 3 from column 5.
    EXPECT_EQ(editor->painted_highlight(), (std::vector<byte_span>{{44, 50}}));
    EXPECT_EQ(editor->caret(), (bookmark_pos{5, 3}));
    EXPECT_EQ(actions_->highlighted_code(), QStringLiteral("a = 1;"));
    window_->update_actions();
    ASSERT_TRUE(action("ac_copyhighlight")->isEnabled());
    action("ac_copyhighlight")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a = 1;"));

    // An empty cell raises nothing and keeps the frame.
    grid()->select_cell(4, 0);
    EXPECT_EQ(window_->status_panel(2), QStringLiteral("2:2"));
    EXPECT_EQ(framed(), "P_code");
}

TEST_F(FlowchartActions, CopyFlowchartAsMermaidPutsTheChartOnTheClipboard) {
    charted_function();
    QApplication::clipboard()->clear();
    action("ac_mermaid")->trigger();
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith("flowchart TD\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("{\"IF<br/>")) << text.toStdString();
    EXPECT_TRUE(text.contains("-->|true|"));
    EXPECT_TRUE(text.contains("a = 1;"));
}

TEST_F(FlowchartActions, RefreshKeepsTheLevelButNotPastTheDepth) {
    TMySynEdit* editor = open("main.c", c_function());
    mark_lines(editor, 3, 9);
    editor->doc.flowchart.expand_level = 6;
    action("ac_layer")->trigger();
    EXPECT_EQ(editor->doc.flowchart.depth, 2);
    EXPECT_EQ(editor->doc.flowchart.expand_level, 3);

    // The lists offer the levels of the markup and show the stored one.
    QComboBox* levels = panel()->level_list();
    ASSERT_EQ(levels->count(), 4);
    EXPECT_EQ(levels->itemText(0), QStringLiteral("All"));
    EXPECT_EQ(levels->itemText(1), QStringLiteral("Refresh"));
    EXPECT_EQ(levels->itemText(3), QStringLiteral("2"));
    EXPECT_EQ(levels->currentIndex(), 3);
    EXPECT_FALSE(panel()->level_item(level_all)->isChecked());
    EXPECT_TRUE(panel()->level_item(3)->isChecked());
    for (int tag = 2; tag <= popup_level_count + 1; ++tag) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(panel()->level_item(tag)->isVisible(), tag - 1 <= 2);
        if (tag != 3) {
            EXPECT_FALSE(panel()->level_item(tag)->isChecked());
        }
    }
    choose_level(level_all);
    EXPECT_TRUE(panel()->level_item(level_all)->isChecked());
    EXPECT_FALSE(panel()->level_item(3)->isChecked());
}

TEST_F(FlowchartActions, ExpandingFramesTheFirstCellInsideTheCollapsedConditional) {
    TMySynEdit* editor = charted_function();
    choose_level(2);
    ASSERT_EQ(grid()->cell(1, 4), "p_if2");
    grid()->select_cell(1, 4);
    EXPECT_EQ(editor->doc.flowchart.highlight_range, "16-76");

    choose_level(level_all);
    EXPECT_EQ(framed(), "p_if");
    EXPECT_EQ(editor->doc.flowchart.highlight_range, "16-25");
    EXPECT_EQ(window_->status_panel(3), QStringLiteral("56:65"));

    // Back at level 1 through the grid's popup: the conditional contains the selection.
    panel()->level_item(2)->trigger();
    EXPECT_EQ(editor->doc.flowchart.expand_level, 2);
    EXPECT_EQ(framed(), "p_if2");
    EXPECT_EQ(editor->doc.flowchart.highlight_range, "16-76");
}

TEST_F(FlowchartActions, SmallThenBigChangesOnlyThePicturesAndTheCellSize) {
    TMySynEdit* editor = charted_function();
    // The first chart is drawn from the large set.
    EXPECT_TRUE(QString::fromStdString(grid()->path()).endsWith(QStringLiteral("/photo1/")));
    EXPECT_EQ(grid()->model().cell_width(), 65);
    const std::string script = editor->doc.flowchart.grid_script;
    const std::string shown = grid()->cell(2, 2);
    QComboBox* modes = panel()->mode_list();
    modes->setCurrentIndex(1);
    emit modes->activated(1);
    EXPECT_TRUE(QString::fromStdString(grid()->path()).endsWith(QStringLiteral("/photo2/")));
    EXPECT_TRUE(window_->picture_folder().endsWith(QStringLiteral("/photo2/")));
    EXPECT_EQ(std::make_pair(grid()->model().cell_width(), grid()->model().cell_height()),
              std::make_pair(27, 21));
    EXPECT_TRUE(panel()->mode_item(graphpanel::small_mode)->isChecked());
    EXPECT_EQ(editor->doc.flowchart.grid_script, script);
    EXPECT_EQ(grid()->cell(2, 2), shown);

    panel()->mode_item(graphpanel::big_mode)->trigger();
    EXPECT_EQ(modes->currentIndex(), 0);
    EXPECT_TRUE(QString::fromStdString(grid()->path()).endsWith(QStringLiteral("/photo1/")));
    EXPECT_EQ(std::make_pair(grid()->model().cell_width(), grid()->model().cell_height()),
              std::make_pair(65, 33));
    EXPECT_EQ(editor->doc.flowchart.grid_script, script);
    EXPECT_EQ(grid()->cell(2, 2), shown);
}

TEST_F(FlowchartActions, BitmapExportSuggestsTheLevelLessOneAndWritesTheChart) {
    charted_function();
    choose_level(level_all);
    const QString file = QString::fromStdString((temp_.path() / "chart.bmp").string());
    notes_->save_names.push_back(file);
    window_->update_actions();
    ASSERT_TRUE(action("ac_bmp")->isEnabled());
    action("ac_bmp")->trigger();
    ASSERT_EQ(notes_->save_suggestions.size(), 1u);
    EXPECT_EQ(notes_->save_suggestions[0],
              QString::fromStdString((temp_.path() / "main.c.layer-1.bmp").string()));
    const QImage written(file);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), QSize(5 * 65, 11 * 33));
    EXPECT_EQ(written.format(), QImage::Format_Indexed8);

    // An existing file is replaced only when the user says so.
    fs::resize_file(file.toStdString(), 10);
    notes_->save_names.push_back(file);
    notes_->answers.push_back(user_answer::no);
    action("ac_bmp")->trigger();
    ASSERT_EQ(notes_->questions.size(), 1u);
    EXPECT_EQ(notes_->questions[0],
              QStringLiteral("Do you want to overwrite the existing file :") + file);
    EXPECT_EQ(fs::file_size(file.toStdString()), 10u);
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(FlowchartActions, WithoutADrawnChartTheBitmapExportSaysSo) {
    TMySynEdit* editor = open("plain.c", "a = 1;\nb = 2;\n");
    mark_lines(editor, 1, 2);
    actions_->export_bitmap();
    EXPECT_EQ(notes_->messages,
              std::vector<QString>{QStringLiteral("There is no flowchart to save.")});
    EXPECT_TRUE(notes_->save_suggestions.empty());
}

TEST_F(FlowchartActions, AChartTooLargeForOneBitmapIsToldWithItsSizeBeforeAnyDialog) {
    charted_function();
    // Cells this large make the chart of 5 x 11 cells far too large for one bitmap.
    grid()->set_cell_size(30000, 30000);
    action("ac_bmp")->trigger();
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_TRUE(notes_->messages[0].contains(QStringLiteral("150000 x 330000 pixels, too large")))
        << notes_->messages[0].toStdString();
    EXPECT_TRUE(notes_->messages[0].contains(QStringLiteral("expand level")));
    EXPECT_TRUE(notes_->messages[0].contains(QStringLiteral("SVG or PDF")));
    EXPECT_TRUE(notes_->save_suggestions.empty());
}

TEST_F(FlowchartActions, PdfExportWritesThePagesWithTheCodeOfEverySymbol) {
    charted_function();
    choose_level(level_all);
    const std::string file = (temp_.path() / "chart.pdf").string();
    notes_->save_names.push_back(QString::fromStdString(file));
    window_->update_actions();
    ASSERT_TRUE(action("ac_pdf")->isEnabled());
    action("ac_pdf")->trigger();
    ASSERT_EQ(notes_->save_suggestions.size(), 1u);
    EXPECT_EQ(notes_->save_suggestions[0],
              QString::fromStdString((temp_.path() / "main.c.layer-1.pdf").string()));
    EXPECT_TRUE(notes_->messages.empty());
    std::ifstream written(file, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(written)), {});
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    // Three boxes, the decision and the return carry their code.
    std::size_t notes = 0;
    for (std::size_t at = 0; (at = pdf.find("/Subtype /Square", at)) != std::string::npos; ++at) {
        ++notes;
    }
    EXPECT_EQ(notes, 5u);
    EXPECT_NE(pdf.find("<FEFF00610020003D00200031003B>"), std::string::npos) << "a = 1;";
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    const std::string words = output_of("pdftotext '" + file + "' - 2>/dev/null");
    EXPECT_NE(words.find("main.c"), std::string::npos) << words;
    EXPECT_NE(words.find("lines 3-9"), std::string::npos) << words;
    EXPECT_NE(words.find("page 1 of 1"), std::string::npos) << words;
}

TEST_F(FlowchartActions, PdfPagesAreThePaperOfTheUsersCountry) {
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    charted_function();
    const QLocale before;
    struct paper_case {
        QLocale locale;
        const char* size;
    };
    const paper_case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "pts (letter)"},
        {QLocale(QLocale::German, QLocale::Germany), "pts (A4)"},
    };
    for (const paper_case& c : cases) {
        QLocale::setDefault(c.locale);
        const std::string file = (temp_.path() / (c.locale.name().toStdString() + ".pdf")).string();
        notes_->save_names.push_back(QString::fromStdString(file));
        action("ac_pdf")->trigger();
        const std::string info = output_of("pdfinfo '" + file + "' 2>/dev/null");
        EXPECT_NE(info.find(c.size), std::string::npos) << c.locale.name().toStdString() << info;
    }
    QLocale::setDefault(before);
}

TEST_F(FlowchartActions, PrintPaintsThePagesOnTheChosenPrinter) {
    charted_function();
    const std::string file = (temp_.path() / "printed.pdf").string();
    actions_->set_printer_chooser([](QPrinter&) { return false; });
    action("ac_printchart")->trigger();
    EXPECT_FALSE(fs::exists(file)) << "a cancelled dialog prints nothing";
    actions_->set_printer_chooser([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        return true;
    });
    action("ac_printchart")->trigger();
    EXPECT_TRUE(notes_->messages.empty());
    ASSERT_TRUE(fs::exists(file));
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "poppler-utils is not installed";
    }
    const std::string info = output_of("pdfinfo '" + file + "' 2>&1");
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("612 x 792 pts"), std::string::npos) << info;
    EXPECT_NE(output_of("pdftotext '" + file + "' - 2>/dev/null").find("page 1 of 1"),
              std::string::npos);
}

TEST_F(FlowchartActions, HoveringOverASymbolShowsTheCodeBehindIt) {
    charted_function();
    struct hint_case {
        int column, row;
        const char* hint;
    };
    const hint_case cases[] = {
        {2, 2, "a = 1;"},  // P_code
        {2, 3, ""},        // the arrow below it
        {2, 1, ""},        // the start terminal
        {4, 2, ""},        // an empty cell
        {-1, 2, ""},
    };
    for (const hint_case& c : cases) {
        EXPECT_EQ(actions_->cell_hint(c.column, c.row).toStdString(), c.hint)
            << c.column << "," << c.row;
    }
    // The grid shows the hint over the cell the mouse rests on.
    grid()->center_on(0, 0);
    const QRect cell = grid()->viewport()->rect().intersected(QRect(
        (2 - grid()->scroll().left_column) * 65, (2 - grid()->scroll().top_row) * 33, 65, 33));
    ASSERT_FALSE(cell.isEmpty());
    QHelpEvent hover(QEvent::ToolTip, cell.center(),
                     grid()->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid()->viewport(), &hover);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("a = 1;")))
        << QToolTip::text().toStdString();
}

TEST_F(FlowchartActions, AnEditMakesTheChartStaleAndThePanelLaysItOutAgain) {
    const std::function<void()> touches[] = {
        [this] { QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); },
        [this] {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(panel(), &enter);
        },
    };
    int page = 0;
    for (const auto& touch : touches) {
        TMySynEdit* editor = charted_function("main" + std::to_string(++page) + ".c");
        const std::string markup = editor->doc.flowchart.markup;
        EXPECT_FALSE(editor->doc.flowchart.flowchart_stale);
        editor->set_caret({1, 4});
        type(editor, "    a = 4;\n");
        EXPECT_TRUE(editor->doc.flowchart.flowchart_stale);
        EXPECT_EQ(editor->doc.flowchart.markup, markup);
        touch();
        EXPECT_FALSE(editor->doc.flowchart.flowchart_stale);
        EXPECT_NE(editor->doc.flowchart.markup, markup);
        EXPECT_NE(editor->doc.flowchart.marked_text.find("a = 4;"), std::string::npos);
    }
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(FlowchartActions, AStaleDocumentWithoutMarksIsLeftAlone) {
    TMySynEdit* editor = open("plain.c", "a = 1;\n");
    type(editor, "b = 2;\n");
    ASSERT_TRUE(editor->doc.flowchart.flowchart_stale);
    QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(notes_->messages.empty());
    EXPECT_TRUE(editor->doc.flowchart.flowchart_stale);
}

TEST_F(FlowchartActions, AParseErrorIsShownWithItsCharactersAndThePartialChart) {
    const std::string text = "void f()\n{\n    a = 1;\n    if (a > 0 {\n        a = 2;\n    }\n}\n";
    TMySynEdit* editor = open("broken.c", text);
    mark_lines(editor, 3, 6);
    const auto region = marked_text(text, editor->bookmarks());
    ASSERT_TRUE(region);
    const parser_result expected = data_.parsers().parser_at(3)->parse(region->text);
    ASSERT_FALSE(expected.ok);

    grid()->set_x(2);  // a frame from an earlier chart
    grid()->set_y(2);
    action("ac_layer")->trigger();
    ASSERT_EQ(notes_->messages.size(), 1u);
    EXPECT_EQ(notes_->messages[0],
              QStringLiteral("There are errors.\r\n") + QString::fromStdString(expected.message));
    EXPECT_EQ(window_->status_panel(4),
              QStringLiteral(" ") + QString::fromStdString(expected.message));
    const std::int64_t start = region->offset + expected.error_pos;
    const text_point from = point_of(text, start);
    const text_point to = point_of(text, start + expected.error_len);
    const highlight_range& shown = editor->highlight();
    EXPECT_EQ(std::make_pair(shown.begin_line, shown.begin_column),
              std::make_pair(from.line, from.column));
    EXPECT_EQ(std::make_pair(shown.end_line, shown.end_column),
              std::make_pair(to.line, to.column + 1));
    EXPECT_TRUE(grid()->drawing_enabled());
    EXPECT_FALSE(grid_is_blank());
}

TEST_F(FlowchartActions, EachPageShowsItsOwnChartAndSelection) {
    TMySynEdit* first = charted_function();
    grid()->select_cell(2, 2);
    TMySynEdit* second = open("other.c", "x = 1;\ny = 2;\nz = 3;\n");
    EXPECT_EQ(grid()->x(), -1);
    EXPECT_FALSE(grid()->drawing_enabled());
    EXPECT_TRUE(window_->status_panel(2).isEmpty());
    mark_lines(second, 1, 3);
    action("ac_layer")->trigger();
    const std::string second_script = second->doc.flowchart.grid_script;
    ASSERT_NE(second_script, first->doc.flowchart.grid_script);

    auto* pages = window_->findChild<QTabWidget*>(QStringLiteral("editorPageControl"));
    ASSERT_NE(pages, nullptr);
    pages->setCurrentIndex(0);
    EXPECT_TRUE(grid()->drawing_enabled());
    EXPECT_EQ(grid()->cell(2, 2), "P_code");
    EXPECT_EQ(std::make_pair(grid()->x(), grid()->y()), std::make_pair(2, 2));
    EXPECT_EQ(window_->status_panel(3), QStringLiteral("45:50"));
    EXPECT_EQ(first->painted_highlight(), (std::vector<byte_span>{{44, 50}}));
    pages->setCurrentIndex(1);
    EXPECT_EQ(second->doc.flowchart.grid_script, second_script);
    EXPECT_EQ(grid()->x(), -1);
    EXPECT_TRUE(actions_->highlighted_code().isEmpty());
}

TEST_F(FlowchartActions, HighlightRelatedFramesTheCellOfTheCaret) {
    TMySynEdit* editor = charted_function();
    editor->set_caret({11, 7});  // on "a = 3;" of line 7
    window_->update_actions();
    ASSERT_TRUE(action("ac_hlrelate")->isEnabled());
    action("ac_hlrelate")->trigger();
    EXPECT_EQ(framed(), "P_code");
    EXPECT_EQ(editor->doc.flowchart.highlight_range, "65-70");
    EXPECT_EQ(window_->status_panel(3), QStringLiteral("105:110"));

    editor->set_caret({1, 10});  // past the end mark
    window_->update_actions();
    EXPECT_FALSE(action("ac_hlrelate")->isEnabled());
}

TEST_F(FlowchartActions, CommandsAreEnabledByTheMarksTheSelectionAndTheHighlight) {
    std::string text;
    for (int n = 1; n <= 50; ++n) text += "line" + std::to_string(n) + ";\n";
    TMySynEdit* editor = open("lines.c", text);
    window_->update_actions();
    for (const char* name :
         {"ac_bmp", "ac_hlrelate", "ac_parsesel", "ac_prhighlight", "ac_copyhighlight"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(action(name)->isEnabled());
    }
    EXPECT_FALSE(action("Mark_start")->isChecked());

    editor->set_bookmark(begin_mark, {1, 40});
    editor->set_bookmark(end_mark, {1, 20});
    editor->set_caret({1, 30});
    window_->update_actions();
    EXPECT_TRUE(action("ac_hlrelate")->isEnabled());
    EXPECT_TRUE(action("ac_bmp")->isEnabled());
    EXPECT_TRUE(action("Mark_start")->isChecked());
    EXPECT_TRUE(action("Mark_end")->isChecked());

    editor->setSelection(4, 0, 4, 3);
    window_->update_actions();
    EXPECT_FALSE(action("ac_parsesel")->isEnabled());
    editor->setSelection(4, 0, 6, 3);
    window_->update_actions();
    EXPECT_TRUE(action("ac_parsesel")->isEnabled());
    editor->set_highlight_range(5, 5, 3, 1);
    window_->update_actions();
    EXPECT_FALSE(action("ac_prhighlight")->isEnabled());
    editor->set_highlight_range(5, 7, 3, 1);
    window_->update_actions();
    EXPECT_TRUE(action("ac_prhighlight")->isEnabled());
}

TEST_F(FlowchartActions, MarkCommandsSetAMarkOrTakeItAwayOnTheCaretLine) {
    TMySynEdit* editor = open("main.c", c_function());
    editor->set_caret({5, 3});
    action("Mark_start")->trigger();
    EXPECT_EQ(editor->bookmark(begin_mark), (bookmark_pos{5, 3}));
    EXPECT_FALSE(grid()->drawing_enabled());
    editor->set_caret({1, 9});
    action("Mark_end")->trigger();
    EXPECT_EQ(editor->bookmark(end_mark), (bookmark_pos{1, 9}));
    EXPECT_EQ(grid()->cell(2, 2), "P_code");
    EXPECT_TRUE(notes_->messages.empty());

    editor->set_caret({1, 9});
    action("Mark_end")->trigger();
    EXPECT_FALSE(editor->bookmark(end_mark));
    EXPECT_TRUE(grid_is_blank());
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(FlowchartActions, TheEditorPopupMarksTheLineClickedOn) {
    TMySynEdit* editor = open("main.c", c_function());
    const auto right_click_on_line = [editor](int line) {
        const long pos = editor->SendScintilla(base::SCI_POSITIONFROMLINE, line - 1) + 5;
        const QPoint at(
            static_cast<int>(editor->SendScintilla(base::SCI_POINTXFROMPOSITION, 0UL, pos)),
            static_cast<int>(editor->SendScintilla(base::SCI_POINTYFROMPOSITION, 0UL, pos)) + 3);
        QTimer::singleShot(0, [] {
            if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, editor->viewport()->mapToGlobal(at));
        QApplication::sendEvent(editor->viewport(), &event);
    };
    right_click_on_line(3);
    EXPECT_EQ(editor->caret(), (bookmark_pos{6, 3}));
    action("Mark_start")->trigger();
    EXPECT_EQ(editor->bookmark(begin_mark)->line, 3);

    // A click into the selection keeps it for the popup's Cut and Copy.
    editor->setSelection(4, 0, 6, 0);
    right_click_on_line(5);
    EXPECT_TRUE(editor->hasSelectedText());
    EXPECT_EQ(editor->caret().line, 7);
}

TEST_F(FlowchartActions, MarkAllChartsTheWholeText) {
    TMySynEdit* editor = open("plain.c", "a = 1;\nif (a) {\n    b = 2;\n}\n");
    action("ac_markall")->trigger();
    EXPECT_EQ(editor->bookmark(begin_mark)->line, 1);
    EXPECT_EQ(editor->bookmark(end_mark)->line, 5);
    EXPECT_EQ(editor->doc.flowchart.marked_text, editor->bytes());
    EXPECT_TRUE(grid()->drawing_enabled());
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(FlowchartActions, ParseSelectionAndParseHighlightMarkTheirLines) {
    TMySynEdit* editor = open("main.c", c_function());
    editor->setSelection(2, 4, 8, 3);  // lines 3 to 9
    window_->update_actions();
    action("ac_parsesel")->trigger();
    EXPECT_EQ(editor->bookmark(begin_mark)->line, 3);
    EXPECT_EQ(editor->bookmark(end_mark)->line, 9);
    EXPECT_EQ(grid()->cell(2, 2), "P_code");

    editor->set_highlight_range(4, 8, 6, 5);
    window_->update_actions();
    action("ac_prhighlight")->trigger();
    EXPECT_EQ(editor->bookmark(begin_mark)->line, 4);
    EXPECT_EQ(editor->bookmark(end_mark)->line, 8);
    EXPECT_EQ(editor->doc.flowchart.marked_text.substr(0, 15), "    if (a > 0) ");
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(FlowchartActions, AChosenProcedureIsMarkedWithoutItsNameLine) {
    TMySynEdit* editor = open("main.c", c_function());
    actions_->procedure_chosen(2, 2, 9, true);
    EXPECT_EQ(editor->bookmark(begin_mark)->line, 3);
    EXPECT_EQ(editor->bookmark(end_mark)->line, 9);
    EXPECT_EQ(grid()->cell(2, 2), "P_code");

    actions_->procedure_chosen(1, 0, 9, true);
    EXPECT_EQ(editor->caret().line, 1);
    EXPECT_FALSE(editor->bookmark(begin_mark));
    EXPECT_FALSE(editor->bookmark(end_mark));
    EXPECT_EQ(std::make_pair(grid()->col_count(), grid()->row_count()), std::make_pair(1, 1));
}

TEST_F(FlowchartActions, ALanguageChoiceRefreshesOnlyAMarkedChart) {
    TMySynEdit* editor = open("main.c", c_function());
    auto* languages = window_->findChild<QComboBox*>(QStringLiteral("cbxHighlighter"));
    ASSERT_NE(languages, nullptr);
    emit languages->activated(1);
    EXPECT_TRUE(notes_->messages.empty());
    EXPECT_FALSE(grid()->drawing_enabled());

    mark_lines(editor, 3, 9);
    emit languages->activated(3);
    EXPECT_EQ(editor->doc.parser_slot, 3);
    EXPECT_TRUE(grid()->drawing_enabled());
    EXPECT_FALSE(editor->doc.flowchart.markup.empty());
    EXPECT_TRUE(notes_->messages.empty());
}

TEST_F(FlowchartActions, ChartingOpensAClosedPanelWideEnough) {
    window_->set_graphpanel_width(60);
    QApplication::processEvents();
    ASSERT_LT(panel()->width(), 200);
    action("ac_flowwindow")->trigger();
    EXPECT_TRUE(panel()->isHidden());
    charted_function();
    QApplication::processEvents();
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_GE(panel()->width(), 200);
    action("ac_flowwindow")->trigger();
    EXPECT_TRUE(panel()->isHidden());
}

// The sample shown at start, with no other document to open, takes the flowchart panel's
// width only until the user has one of their own.
TEST_F(FlowchartActions, TheStoredPanelWidthOutlastsTheSample) {
    const struct {
        const char* ini;
        int width;
    } cases[] = {
        {"[main]\nflowchart panel width=420\n", 420},
        {"[main]\n", 250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        std::ofstream(temp_.path() / "tarnwell.ini", std::ios::binary) << c.ini;
        make_window();
        window_->display_sample();
        QApplication::processEvents();
        EXPECT_NEAR(panel()->width(), c.width, 8);
    }
}

// A parse error in the status bar speaks of its document: it goes when another document is
// chosen. A message about the program as a whole stays.
TEST_F(FlowchartActions, ADocumentsStatusMessageGoesWithIt) {
    const auto hint = [this] {
        return window_->findChild<QLabel*>(QStringLiteral("hint"))->text().trimmed();
    };
    TMySynEdit* broken = open("broken.c", "int f(void)\n{\n    if (a {\n        b();\n    }\n}\n");
    mark_lines(broken, 3, 5);
    action("ac_layer")->trigger();
    ASSERT_FALSE(hint().isEmpty());
    open("other.c", c_function());
    EXPECT_EQ(hint(), QString());

    window_->set_program_hint(QStringLiteral("12 files read"));
    auto* tabs = window_->findChild<QTabWidget*>();
    tabs->setCurrentIndex(tabs->indexOf(broken));
    EXPECT_EQ(hint(), QStringLiteral("12 files read"));
}

TEST_F(FlowchartActions, MenusCarryTheCommandsWithTheirKeys) {
    struct key_case {
        const char* name;
        const char* text;
        QKeySequence key;
    };
    const key_case cases[] = {
        {"ac_layer", "Create or Refresh &flowchart ", QKeySequence(Qt::Key_F2)},
        {"Mark_start", "&Mark begin line of code", QKeySequence(Qt::ALT | Qt::Key_Q)},
        {"Mark_end", "Mar&k end line of code", QKeySequence(Qt::ALT | Qt::Key_W)},
        {"ac_parsesel", "Parse &selected code", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"ac_prhighlight", "Parse highlighted co&de", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"ac_hlrelate", "Highlight related flowchart", QKeySequence(Qt::Key_F4)},
        {"ac_copyhighlight", "Copy &highlighted code", QKeySequence(Qt::CTRL | Qt::Key_W)},
        {"ac_bmp", "Export flowchart as Bitmap", QKeySequence()},
        {"ac_pdf", "Export flowchart as PDF", QKeySequence()},
        {"ac_printchart", "Print flowchart", QKeySequence()},
        {"ac_markall", "Mark all code in editor", QKeySequence()},
        {"ac_flowwindow", "Open/Close Flowchart Window", QKeySequence()},
    };
    QList<QKeySequence> taken;
    for (const QAction* other : window_->findChildren<QAction*>()) {
        if (!other->shortcut().isEmpty()) taken << other->shortcut();
    }
    for (const key_case& c : cases) {
        SCOPED_TRACE(c.name);
        QAction* command = action(c.name);
        EXPECT_EQ(command->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(command->shortcut(), c.key);
        // No other command of the window answers the same key.
        if (!c.key.isEmpty()) {
            EXPECT_EQ(taken.count(c.key), 1);
        }
    }
    auto* chart_menu = window_->findChild<QMenu*>(QStringLiteral("flowchartMenu"));
    ASSERT_NE(chart_menu, nullptr);
    EXPECT_EQ(chart_menu->title(), QStringLiteral("Flow&chart"));
    EXPECT_TRUE(chart_menu->actions().contains(action("Mark_start")));
    EXPECT_TRUE(window_->editor_popup()->actions().contains(action("ac_flowwindow")));
    EXPECT_TRUE(panel()->grid_popup()->actions().contains(action("ac_layer")));
    for (const char* name : {"ac_bmp", "ac_pdf", "ac_printchart"}) {
        EXPECT_TRUE(chart_menu->actions().contains(action(name))) << name;
        EXPECT_TRUE(panel()->grid_popup()->actions().contains(action(name))) << name;
    }
    EXPECT_EQ(panel()->level_list()->toolTip(), QStringLiteral("Flowchart Expand Level"));
    EXPECT_EQ(panel()->mode_list()->toolTip(), QStringLiteral("Display Mode"));
}

}  // namespace
}  // namespace tarnwell
