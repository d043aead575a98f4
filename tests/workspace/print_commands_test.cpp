#include "workspace/print_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "scripted_notifier.h"
#include "temp_dir.h"
#include "workspace/DPageSetup.h"
#include "workspace/DTestPrintPreview.h"
#include "workspace/datamod.h"
#include "workspace/highlighters.h"
#include "workspace/mysynedit.h"
#include "workspace/umainform.h"

namespace tarnwell {
namespace {

std::string numbered_lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "int value_" + std::to_string(i) + " = 0;\n";
    return text;
}

class Printing : public ::testing::Test {
  protected:
    Printing() : commands_(notes_, nullptr) {
        editor_.set_highlighter(create_highlighter(0, Qt::white, &editor_));
    }
    scripted_notifier notes_;
    print_commands commands_;
    TMySynEdit editor_;
};

TEST_F(Printing, PreviewShowsThePagesTheEngineLaidOut) {
    editor_.load_bytes(numbered_lines(250));
    const print_engine engine = commands_.engine_for(editor_, "long.c");
    ASSERT_TRUE(engine.ok());
    ASSERT_GT(engine.page_count(), 2);
    TTestPrintPreviewDlg preview(engine, QStringLiteral("Office Laser"));
    preview.show();
    EXPECT_EQ(preview.page_count(), engine.page_count());
    EXPECT_EQ(preview.page(), 1);
    EXPECT_EQ(preview.status_panel(1), QStringLiteral(" Page: 1"));
    preview.findChild<QAction*>(QStringLiteral("tbLast"))->trigger();
    EXPECT_EQ(preview.page(), engine.page_count());
    EXPECT_EQ(preview.status_panel(1), QStringLiteral(" Page: %1").arg(engine.page_count()));
    preview.findChild<QAction*>(QStringLiteral("tbNext"))->trigger();
    EXPECT_EQ(preview.page(), engine.page_count());
    preview.findChild<QAction*>(QStringLiteral("tbPrior"))->trigger();
    EXPECT_EQ(preview.page(), engine.page_count() - 1);
    QAction* print = preview.findChild<QAction*>(QStringLiteral("tbPrint"));
    EXPECT_EQ(print->toolTip(), QStringLiteral("Print (Office Laser)"));
    EXPECT_EQ(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    emit print->hovered();
    EXPECT_EQ(preview.status_panel(0), QStringLiteral("  Print the document on Office Laser"));

    // The same engine prints as many pages as it previews.
    temp_dir dir;
    const QString pdf = QString::fromStdString((dir.path() / "long.pdf").string());
    {
        QPdfWriter writer(pdf);
        writer.setPageMargins(QMarginsF());
        EXPECT_EQ(engine.print(writer, 1, engine.page_count()), QString());
    }
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count("/Type /Page\n") + 0, engine.page_count());
}

TEST_F(Printing, PreviewZoomFollowsTheMouse) {
    editor_.load_bytes("int a;\n");
    const print_engine engine = commands_.engine_for(editor_, "a.c");
    TTestPrintPreviewDlg preview(engine, QString());
    preview.show();
    EXPECT_EQ(preview.zoom().mode, zoom_mode::whole_page);
    preview.click_page(true);
    EXPECT_EQ(preview.zoom(), (preview_zoom{zoom_mode::percent, 100}));
    preview.set_zoom({zoom_mode::percent, 30});
    preview.click_page(false);
    EXPECT_EQ(preview.shown_percent(), 25);
    preview.set_zoom({zoom_mode::percent, 300});
    preview.click_page(true);
    EXPECT_EQ(preview.shown_percent(), 400);
    preview.findChild<QAction*>(QStringLiteral("tbZoom"))->trigger();
    EXPECT_EQ(preview.zoom().mode, zoom_mode::whole_page);
}

TEST_F(Printing, AMarginLeavingNoRoomStopsTheEngine) {
    editor_.load_bytes("int a;\n");
    commands_.settings().margins[margin_field::top] = 150;
    commands_.settings().margins[margin_field::bottom] = 146;
    const print_engine engine = commands_.engine_for(editor_, "a.c");
    EXPECT_FALSE(engine.ok());
    EXPECT_EQ(engine.page_count(), 0);
    EXPECT_FALSE(engine.error().isEmpty());
    temp_dir dir;
    QPdfWriter writer(QString::fromStdString((dir.path() / "none.pdf").string()));
    EXPECT_EQ(engine.print(writer, 1, 1), engine.error());
}

TEST_F(Printing, APrinterThatCannotStartIsReported) {
    editor_.load_bytes("int a;\n");
    const print_engine engine = commands_.engine_for(editor_, "a.c");
    ASSERT_TRUE(engine.ok());
    temp_dir dir;
    QPdfWriter writer(QString::fromStdString((dir.path() / "no" / "folder" / "a.pdf").string()));
    EXPECT_EQ(engine.print(writer, 1, 1), QStringLiteral("The printer could not be started."));

    commands_.printer().setOutputFormat(QPrinter::PdfFormat);
    commands_.printer().setOutputFileName(
        QString::fromStdString((dir.path() / "no" / "folder" / "b.pdf").string()));
    EXPECT_FALSE(commands_.print(editor_, "a.c"));
    EXPECT_EQ(notes_.messages,
              std::vector<QString>{QStringLiteral("The printer could not be started.")});
    EXPECT_EQ(notes_.waits, 0);
}

// Counts the pixels of one colour on page 1 drawn small.
int pixels_of(const print_engine& engine, QRgb colour) {
    QImage page((engine.page_size() / 10).toSize(), QImage::Format_RGB32);
    QPainter painter(&page);
    painter.scale(0.1, 0.1);
    engine.draw_page(painter, 1);
    painter.end();
    int count = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) count += page.pixel(x, y) == colour ? 1 : 0;
    }
    return count;
}

TEST(PrintEngine, DrawsTheStylesColoursButNotTheEditorsBackground) {
    const QRgb beige = qRgb(236, 233, 216);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    print_document document;
    document.text = std::string(40, 'W') + "\n" + std::string(40, 'M');
    document.styles = std::vector<std::uint8_t>(41, 0);
    document.styles.resize(document.text.size(), 1);
    document.paper = beige & 0xFFFFFFu;
    document.style_table = {export_style{blue & 0xFFFFFFu, beige & 0xFFFFFFu, true, false},
                            export_style{0x000000, red & 0xFFFFFFu, false, false}};
    print_settings settings = default_print_settings();
    settings.text_font.size = 40;
    const print_engine coloured(settings, document, QSizeF(210, 297), QDateTime());
    EXPECT_EQ(pixels_of(coloured, beige), 0);
    EXPECT_GT(pixels_of(coloured, red), 100);
    EXPECT_GT(pixels_of(coloured, blue), 10);
    settings.colours = false;
    const print_engine plain(settings, document, QSizeF(210, 297), QDateTime());
    EXPECT_EQ(pixels_of(plain, red), 0);
    EXPECT_EQ(pixels_of(plain, blue), 0);
}

class PageSetup : public ::testing::Test {
  protected:
    PageSetup() : dialog_(notes_, QSizeF(210, 297)) { dialog_.load(default_print_settings()); }
    scripted_notifier notes_;
    TPageSetupDlg dialog_;
};

TEST_F(PageSetup, WritesBackWhatItLoaded) {
    EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Page Setup"));
    EXPECT_EQ(dialog_.margin_field(margin_field::left)->text(), QStringLiteral("25"));
    EXPECT_EQ(dialog_.margin_field(margin_field::hf_internal_margin)->text(),
              QStringLiteral("0.5"));
    QTextEdit* left = dialog_.text_field(true, print_alignment::left);
    EXPECT_EQ(left->toPlainText(), QStringLiteral("This is the first line in the header\n$TITLE$"));
    print_settings settings;
    dialog_.store(settings);
    const print_settings defaults = default_print_settings();
    EXPECT_EQ(settings.margins, defaults.margins);
    EXPECT_EQ(settings.header_frame, defaults.header_frame);
    EXPECT_EQ(settings.footer_frame, defaults.footer_frame);
    // Rebuilt field by field, left, centre, right: the same lines in that order.
    const std::vector<print_text_item> header = {defaults.header[0], defaults.header[2],
                                                 defaults.header[1], defaults.header[3]};
    EXPECT_EQ(settings.header, header);
    const std::vector<print_text_item> footer = {defaults.footer[1], defaults.footer[0]};
    EXPECT_EQ(settings.footer, footer);
    EXPECT_TRUE(notes_.messages.empty());
}

TEST_F(PageSetup, LettersInAMarginStopTheWriteBack) {
    dialog_.margin_field(margin_field::left)->setText("30");
    dialog_.margin_field(margin_field::top)->setText("2O");
    dialog_.margin_field(margin_field::bottom)->setText("40");
    dialog_.text_field(false, print_alignment::center)->setPlainText("one\ntwo");
    print_settings settings = default_print_settings();
    dialog_.store(settings);
    EXPECT_EQ(notes_.messages, std::vector<QString>{QStringLiteral("Invalid number!")});
    EXPECT_EQ(settings.margins[margin_field::left], 30);
    EXPECT_EQ(settings.margins[margin_field::top], 25);
    EXPECT_EQ(settings.margins[margin_field::bottom], 25);
    // The other settings are written all the same: two lines, two items.
    std::vector<print_text_item> centre;
    for (const print_text_item& item : settings.footer) {
        if (item.alignment == print_alignment::center) centre.push_back(item);
    }
    ASSERT_EQ(centre.size(), 2u);
    EXPECT_EQ(centre[0].line, 1);
    EXPECT_EQ(centre[0].text, "one");
    EXPECT_EQ(centre[1].line, 2);
    EXPECT_EQ(centre[1].text, "two");
}

TEST_F(PageSetup, UnitsConvertTheFieldsAndMacrosGoToTheCaret) {
    dialog_.margin_field(margin_field::right)->setText("20");
    dialog_.units()->setCurrentIndex(static_cast<int>(margin_unit::cm));
    EXPECT_EQ(dialog_.margin_field(margin_field::left)->text(), QStringLiteral("2.5"));
    EXPECT_EQ(dialog_.margin_field(margin_field::right)->text(), QStringLiteral("2"));
    dialog_.units()->setCurrentIndex(static_cast<int>(margin_unit::inches));
    EXPECT_EQ(dialog_.margin_field(margin_field::right)->text(), QStringLiteral("0.787"));

    QTextEdit* right = dialog_.text_field(false, print_alignment::right);
    dialog_.findChild<QTabWidget*>()->setCurrentIndex(1);
    dialog_.show();
    dialog_.activateWindow();
    right->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(right->hasFocus());
    QTextCursor caret = right->textCursor();
    caret.setPosition(0);
    right->setTextCursor(caret);
    dialog_.insert_macro(QStringLiteral("$DATE$ "));
    dialog_.toggle_style(TPageSetupDlg::line_style::bold);
    print_settings settings;
    dialog_.store(settings);
    ASSERT_FALSE(settings.footer.empty());
    const print_text_item& first = settings.footer.back();
    EXPECT_EQ(first.text, "$DATE$ $PAGENUM$/$PAGECOUNT$");
    EXPECT_TRUE(first.font.bold);
    EXPECT_EQ(settings.margins.unit, margin_unit::inches);
    EXPECT_NEAR(settings.margins[margin_field::right], 20, 0.02);
}

TEST(PrintInTheWindow, CommandsHaveTheirKeysAndThePreviewPrintsTheTabCaption) {
    temp_dir dir;
    TeditorDataModule data;
    auto messages = std::make_unique<scripted_notifier>();
    TMainform window(data, program_paths{TARNWELL_DATA_DIR, dir.path()}, std::move(messages));
    TMySynEdit* editor = window.new_document();
    editor->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 6UL, "int a;");
    QApplication::processEvents();
    window.update_actions();

    struct command_key {
        const char* name;
        QKeySequence key;
        bool enabled;
    };
    const command_key keys[] = {
        {"EditFind", QKeySequence(Qt::CTRL | Qt::Key_F), true},
        // Nothing to look for yet.
        {"EditFindNext", QKeySequence(Qt::Key_F3), false},
        {"EditReplace", QKeySequence(Qt::CTRL | Qt::Key_R), true},
        {"FilePrintCmd", QKeySequence(Qt::CTRL | Qt::Key_P), true},
        {"FilePageSetup", QKeySequence(), true},
        {"FilePrinterSetupCmd", QKeySequence(), true},
        {"FilePrintPreviewCmd", QKeySequence(), true},
    };
    for (const auto& [name, key, enabled] : keys) {
        const QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->shortcut(), key) << name;
        EXPECT_EQ(action->isEnabled(), enabled) << name;
    }
    QList<QKeySequence> taken;
    for (const QAction* action : window.findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_FALSE(taken.contains(key)) << key.toString().toStdString();
            taken << key;
        }
    }
    QStringList menus;
    for (const QAction* menu : window.menuBar()->actions()) menus << menu->text();
    EXPECT_TRUE(menus.contains(QStringLiteral("&Search")));

    QString previewed_title;
    int previewed_pages = 0;
    QTimer::singleShot(0, [&] {
        if (auto* preview =
                qobject_cast<TTestPrintPreviewDlg*>(QApplication::activeModalWidget())) {
            previewed_title = preview->windowTitle();
            previewed_pages = preview->page_count();
            preview->reject();
        }
    });
    window.findChild<QAction*>(QStringLiteral("FilePrintPreviewCmd"))->trigger();
    EXPECT_EQ(previewed_title, QStringLiteral("Print Preview"));
    EXPECT_EQ(previewed_pages, 1);
    EXPECT_EQ(window.printing().title, "New1 *");
}

}  // namespace
}  // namespace tarnwell
