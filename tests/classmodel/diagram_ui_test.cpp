// The class diagram painted and on screen: fonts, pictures, the frame's mouse and tool bar,
// and tarnwell-cli diagram run as a program.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QHelpEvent>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <cstdio>
#include <fstream>
#include <string>

#include "classmodel/uDiagramFrame.h"
#include "classmodel/uRtfdPainter.h"
#include "classmodel/uZoomFrame.h"
#include "cli_run.h"
#include "scripted_notifier.h"

namespace tarnwell {
namespace {

// Package p: Base with subclasses Left and Right, Right using Left.
struct small_model {
    small_model() {
        p = model.ModelRoot()->AddUnitPackage("p");
        base = p->AddClass("Base");
        auto* op = base->AddOperation("area");
        op->SetVisibility(TVisibility::Public);
        op->SetOperationType(TOperationType::Function);
        left = p->AddClass("Left");
        left->SetAncestor(base);
        right = p->AddClass("Right");
        right->SetAncestor(base);
        TAttribute* uses = right->AddAttribute("partner");
        uses->SetTypeClassifier(left);
    }
    TObjectModel model;
    TUnitPackage* p = nullptr;
    TClass* base = nullptr;
    TClass* left = nullptr;
    TClass* right = nullptr;
};

TEST(DiagramFonts, FacesAreDejaVuAtFixedPixelSizes) {
    const TDiagramFonts fonts;
    struct face_case {
        TDiagramFont font;
        const char* family;
        bool bold, italic;
        int pixels;
    };
    const face_case cases[] = {
        {TDiagramFont::Normal, "DejaVu Sans", false, false, 11},
        {TDiagramFont::Bold, "DejaVu Sans", true, false, 11},
        {TDiagramFont::BoldItalic, "DejaVu Sans", true, true, 11},
        {TDiagramFont::Italic, "DejaVu Sans", false, true, 11},
        {TDiagramFont::Title, "DejaVu Serif", true, false, 16},
    };
    for (const face_case& c : cases) {
        const QFontInfo info(fonts.Font(c.font));
        EXPECT_EQ(info.family(), c.family) << static_cast<int>(c.font);
        EXPECT_EQ(info.bold(), c.bold) << static_cast<int>(c.font);
        EXPECT_EQ(info.italic(), c.italic) << static_cast<int>(c.font);
        EXPECT_EQ(info.pixelSize(), c.pixels) << static_cast<int>(c.font);
    }
    const TTextSize normal = fonts.Measure("Shape", TDiagramFont::Normal);
    const TTextSize bold = fonts.Measure("Shape", TDiagramFont::Bold);
    EXPECT_GT(normal.Width, 20);
    EXPECT_GT(bold.Width, normal.Width);
    EXPECT_EQ(normal.Height, 13);
}

class DiagramPictures : public testing::Test {
  protected:
    QString out(const char* name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    small_model m;
    TDiagramFonts fonts;
};

TEST_F(DiagramPictures, PngHasEightBitsAndLinesEndOnTheBoxBorders) {
    TDiagramDefaults defaults;
    defaults.ShowAssoc = true;
    TRtfdDiagram diagram(m.model, fonts, defaults, "");
    diagram.InitFromModel();
    ASSERT_EQ(SaveAsPicture(diagram, fonts, out("d.png").toStdString()), "");
    const QImage png(out("d.png"));
    const TPoint size = diagram.GetDiagramSize();
    ASSERT_EQ(png.size(), QSize(size.X, size.Y));
    EXPECT_EQ(png.format(), QImage::Format_Indexed8);
    const QImage rgb = png.convertToFormat(QImage::Format_RGB32);
    // Each arrow's tip lies on its target's border and is painted dark; the pixels just
    // behind the base of a closed head are its white filling.
    for (const TConnection& c : diagram.Surface().GetConnections()) {
        const TRect& to = diagram.Surface().Object(c.ToBox).Bounds;
        const TConnectionEnds ends = ConnectionEnds(diagram.Surface().Object(c.FromBox).Bounds, to);
        const bool on_border = ends.To.Y == to.Top || ends.To.Y == to.Bottom ||
                               ends.To.X == to.Left || ends.To.X == to.Right;
        EXPECT_TRUE(on_border);
        const QPoint tip(std::min(ends.To.X, size.X - 1), std::min(ends.To.Y, size.Y - 1));
        EXPECT_LT(qGray(rgb.pixel(tip)), 128) << tip.x() << "," << tip.y();
    }
    // The title stands on the dialog colour at the top left.
    EXPECT_EQ(QColor(rgb.pixel(size.X - 2, 2)), QColor(240, 240, 240));
}

TEST_F(DiagramPictures, WideDiagramsAreBlackAndWhiteAndWmfNamesGetSvg) {
    TRtfdDiagram diagram(m.model, fonts, {}, "");
    diagram.InitFromModel();
    diagram.Surface().Object(0).Bounds = {16200, 40, 16385, 81};
    diagram.Surface().RecalcSize();
    ASSERT_EQ(SaveAsPicture(diagram, fonts, out("wide.png").toStdString()), "");
    const QImage wide(out("wide.png"));
    EXPECT_EQ(wide.width(), 16435);
    EXPECT_EQ(wide.format(), QImage::Format_Mono);
    // The box far right is drawn: its outline is black, its inside white.
    const QImage rgb = wide.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(qGray(rgb.pixel(16200, 60)), 0);
    EXPECT_EQ(qGray(rgb.pixel(16250, 20 + 40)), 255);
    EXPECT_EQ(qGray(rgb.pixel(wide.width() - 5, 2)), 255) << "no black bar behind the title";

    for (const char* name : {"d.wmf", "d.WMF", "d.svg"}) {
        ASSERT_EQ(SaveAsPicture(diagram, fonts, out(name).toStdString()), "") << name;
        QFile file(out(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains("<svg")) << name;
        EXPECT_TRUE(text.contains("Base")) << name;
    }
    diagram.Surface().Object(0).Bounds = {100000, 100000, 100185, 100041};
    diagram.Surface().RecalcSize();
    EXPECT_EQ(SaveAsPicture(diagram, fonts, out("huge.png").toStdString()),
              "The diagram is too large to save as a picture (100235 x 100091 pixels).");
    EXPECT_FALSE(QFile::exists(out("huge.png")));
    EXPECT_NE(SaveAsPicture(diagram, fonts, "/nonexistent/folder/x.svg"), "");
}

TEST_F(DiagramPictures, SelectedOnlyPicturesShowTheSelectionWithoutMarks) {
    TRtfdDiagram diagram(m.model, fonts, {}, "");
    diagram.InitFromModel();
    const std::size_t base = *diagram.BoxOf(m.base);
    diagram.Surface().Select(base);
    const TPoint size = diagram.GetDiagramSize();
    const auto paint = [&](bool selected_only) {
        QImage image(size.X, size.Y, QImage::Format_RGB32);
        QPainter painter(&image);
        PaintTo(painter, diagram, fonts, 0, 0, selected_only);
        return image;
    };
    const QImage only = paint(true);
    const TRect& b = diagram.Surface().Object(base).Bounds;
    const TRect& l = diagram.Surface().Object(*diagram.BoxOf(m.left)).Bounds;
    EXPECT_EQ(QColor(only.pixel(l.Left + 20, l.Top + 20)), QColor(Qt::white)) << "left is gone";
    EXPECT_EQ(QColor(only.pixel(b.Left + 20, b.Top + 20)), QColor(248, 244, 234));
    EXPECT_EQ(QColor(only.pixel(b.Left - 4, b.Top - 4)), QColor(Qt::white)) << "no mark";
    EXPECT_TRUE(diagram.Surface().Object(*diagram.BoxOf(m.left)).Visible);
    const QImage all = paint(false);
    EXPECT_EQ(QColor(all.pixel(l.Left + 20, l.Top + 20)), QColor(248, 244, 234));
    EXPECT_FALSE(diagram.Surface().Object(base).Selected) << "a whole picture drops it";
}

TEST(DiagramFrame, TheMouseSelectsAndDragsAndTheToolBarFollowsTheDiagram) {
    small_model m;
    scripted_notifier notifier;
    TDiagramDefaults defaults;
    defaults.Save = 2;
    TDiagramFrame frame(m.model, defaults, "", notifier);
    frame.resize(800, 600);
    frame.show();
    frame.Diagram().InitFromModel();
    frame.Refresh();
    TZoomFrame zoom(frame);
    zoom.resize(200, 150);
    zoom.show();
    TRtfdDiagram& diagram = frame.Diagram();
    const std::size_t base = *diagram.BoxOf(m.base);
    const TRect before = diagram.Surface().Object(base).Bounds;
    QWidget* canvas = frame.Canvas();
    const QPoint inside(before.Left + 30, before.Top + 10);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, inside);
    EXPECT_EQ(diagram.Surface().GetSelectedControls(), std::vector<std::size_t>{base});
    QTest::mousePress(canvas, Qt::LeftButton, {}, inside);
    QTest::mouseMove(canvas, inside + QPoint(2, 1));
    EXPECT_EQ(diagram.Surface().Object(base).Bounds, before) << "under the threshold";
    QTest::mouseMove(canvas, inside + QPoint(40, 30));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, inside + QPoint(40, 30));
    EXPECT_EQ(diagram.Surface().Object(base).Bounds.Left, before.Left + 40);
    EXPECT_EQ(diagram.Surface().Object(base).Bounds.Top, before.Top + 30);
    EXPECT_TRUE(diagram.Surface().IsModified);

    EXPECT_EQ(frame.ConnectionsCombo()->currentIndex(), 1);
    EXPECT_TRUE(frame.ConnectionsCombo()->isEnabled());
    frame.ConnectionsCombo()->setCurrentIndex(0);
    EXPECT_TRUE(diagram.ShowAssoc());
    EXPECT_EQ(diagram.Surface().GetConnections().size(), 3u);
    frame.VisibilityCombo()->setCurrentIndex(3);
    EXPECT_EQ(diagram.VisibilityFilter(), 4);
    EXPECT_EQ(diagram.Surface().Object(base).Bounds.Height(), 41);
    diagram.SetVisibilityFilter(1);
    EXPECT_EQ(frame.VisibilityCombo()->currentIndex(), 1) << "the diagram's own changes show";

    // The overview scrolls the diagram.
    diagram.Surface().Object(base).Bounds = {3000, 2000, 3185, 2041};
    diagram.Surface().RecalcSize();
    frame.Refresh();
    QTest::mouseClick(&zoom, Qt::LeftButton, {}, QPoint(190, 140));
    EXPECT_GT(frame.ScrollBox()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(frame.ScrollBox()->horizontalScrollBar()->value(), diagram.View().Left);
}

TEST(DiagramFrame, ANewlyChosenDiagramStartsAtItsLeftAndBoxesHintAtTheirDocumentation) {
    TObjectModel model;
    TUnitPackage* wide = model.ModelRoot()->AddUnitPackage("wide");
    TUnitPackage* narrow = model.ModelRoot()->AddUnitPackage("narrow");
    for (int i = 0; i < 16; ++i) wide->AddClass("W" + std::to_string(i));
    for (int i = 0; i < 6; ++i) narrow->AddClass("N" + std::to_string(i));
    narrow->FindClassifier("N0", false, {})->Documentation().SetDescription("First of six. More.");
    scripted_notifier notifier;
    TDiagramDefaults defaults;
    defaults.Save = 2;
    TDiagramFrame frame(model, defaults, "", notifier);
    frame.resize(700, 500);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    TRtfdDiagram& diagram = frame.Diagram();
    QScrollBar* across = frame.ScrollBox()->horizontalScrollBar();

    SetCurrentEntity(wide);
    across->setValue(across->maximum());
    ASSERT_GT(across->value(), 1000);
    SetCurrentEntity(narrow);
    ASSERT_GT(diagram.GetDiagramSize().X, frame.ScrollBox()->viewport()->width());
    EXPECT_EQ(across->value(), 0);
    EXPECT_EQ(diagram.View().Left, 0);

    const TRect& first =
        diagram.Surface().Object(*diagram.BoxOf(narrow->FindClassifier("N0", false, {}))).Bounds;
    const QPoint inside(first.Left + 10, first.Top + 10);
    QHelpEvent hint(QEvent::ToolTip, inside, frame.Canvas()->mapToGlobal(inside));
    QApplication::sendEvent(frame.Canvas(), &hint);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("First of six."));
    SetCurrentEntity(nullptr);
}

TEST(DiagramFrame, DefaultsComeFromTheSettingsOfTheClassHalf) {
    struct defaults_case {
        const char* name;
        std::vector<std::pair<const char*, QVariant>> values;
        int save;
        bool assoc;
        int filter;
    };
    const defaults_case cases[] = {
        {"nothing stored", {}, 1, false, 0},
        {"all stored", {{"DiSave", 0}, {"DiShowAssoc", 1}, {"DiVisibilityFilter", 3}}, 0, true, 3},
        {"save above never", {{"DiSave", 7}}, 2, false, 0},
        {"text where numbers belong",
         {{"DiSave", "often"}, {"DiShowAssoc", "yes"}, {"DiVisibilityFilter", "x"}},
         1,
         false,
         0},
        {"out of range",
         {{"DiSave", -1}, {"DiShowAssoc", 2}, {"DiVisibilityFilter", 4}},
         1,
         false,
         0},
    };
    QTemporaryDir dir;
    for (const defaults_case& c : cases) {
        QSettings settings(dir.filePath(QString::fromLatin1(c.name) + ".ini"),
                           QSettings::IniFormat);
        for (const auto& [key, value] : c.values) settings.setValue(key, value);
        const TDiagramDefaults defaults = ReadDiagramDefaults(settings);
        EXPECT_EQ(defaults.Save, c.save) << c.name;
        EXPECT_EQ(defaults.ShowAssoc, c.assoc) << c.name;
        EXPECT_EQ(defaults.VisibilityFilter, c.filter) << c.name;
    }
}

// Runs tarnwell-cli diagram; the exit status, with standard output in `out`.
int run_cli(const std::string& arguments, std::string* out = nullptr) {
    return test::run_cli("diagram " + arguments, out);
}

TEST(DiagramCommand, DrawsTheViewAndDescribesItAsJson) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const char* text) {
        std::ofstream(dir.filePath(name).toStdString()) << text;
        return dir.filePath(name).toStdString();
    };
    const std::string base =
        write("Base.java", "package p;\npublic class Base { private int size; }\n");
    const std::string car = write(
        "Car.java",
        "package p;\nimport q.Wheel;\npublic class Car extends Base { private Wheel front; }\n");
    const std::string wheel = write("Wheel.java", "package q;\npublic class Wheel { }\n");
    const std::string files = wheel + " " + base + " " + car;
    const std::string png = dir.filePath("d.png").toStdString();
    // The first file's settings file would move the boxes: the command only reads it.
    std::string json;
    ASSERT_EQ(run_cli("--package p --assoc --json -o " + png + " " + files, &json), 0);
    const QJsonObject view = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(view["package"].toString(), "::p");
    EXPECT_EQ(view["title"].toString(), "   ::p");
    const QImage picture(QString::fromStdString(png));
    EXPECT_EQ(picture.width(), view["width"].toInt());
    EXPECT_EQ(picture.height(), view["height"].toInt());
    QStringList names;
    for (const QJsonValue& b : view["boxes"].toArray()) names << b["name"].toString();
    EXPECT_EQ(names, (QStringList{"::p::Base", "::q::Wheel", "::p::Car"}));
    const QJsonArray connections = view["connections"].toArray();
    ASSERT_EQ(connections.size(), 2);
    EXPECT_EQ(connections[0]["style"].toString(), "thick");
    EXPECT_EQ(connections[0]["head"].toString(), "closed");
    EXPECT_EQ(connections[1]["style"].toString(), "thin");
    EXPECT_EQ(connections[1]["head"].toString(), "open");
    const QJsonArray labels = view["boxes"].toArray()[0].toObject()["labels"].toArray();
    ASSERT_EQ(labels.size(), 3);
    EXPECT_EQ(labels[2].toObject()["text"].toString(), "size : int");
    EXPECT_EQ(labels[2].toObject()["visibility"].toString(), "private");

    ASSERT_EQ(run_cli("--root --no-assoc --filter 4 --json -o " + png + " " + files, &json), 0);
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(root["boxes"].toArray().size(), 2);
    EXPECT_EQ(root["filter"].toInt(), 4);
    ASSERT_EQ(run_cli("--all -o " + dir.filePath("all.svg").toStdString() + " " + files), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("all.svg")));

    struct wrong_call {
        const char* name;
        std::string arguments;
    };
    const wrong_call wrong[] = {
        {"no output", files},
        {"a bmp", "-o " + dir.filePath("d.bmp").toStdString() + " " + files},
        {"two views", "--root --all -o " + png + " " + files},
        {"a filter of 5", "--filter 5 -o " + png + " " + files},
        {"an unknown package", "--package nowhere -o " + png + " " + files},
        {"no files", "-o " + png},
        {"an unwritable picture", "-o /nonexistent/folder/d.png " + files},
    };
    for (const wrong_call& w : wrong) EXPECT_EQ(run_cli(w.arguments), 2) << w.name;
}

TEST(DiagramCommand, WritesTheViewAsMermaidAndPlantUmlText) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::ofstream(folder + "/A.java") << "package p;\npublic class A extends B { public int n; }\n";
    std::ofstream(folder + "/B.java")
        << "package p;\npublic abstract class B { abstract void f(); }\n";
    const std::string sources = " " + folder + "/A.java " + folder + "/B.java";
    ASSERT_EQ(run_cli("-o " + folder + "/p.mmd" + sources), 0);
    ASSERT_EQ(run_cli("-o " + folder + "/p.puml" + sources), 0);
    const auto text_of = [](const std::string& file) {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string mermaid = text_of(folder + "/p.mmd");
    EXPECT_EQ(mermaid.rfind("classDiagram\n    namespace p {\n", 0), 0U) << mermaid;
    EXPECT_NE(mermaid.find("+n : int"), std::string::npos) << mermaid;
    EXPECT_NE(mermaid.find(" <|-- "), std::string::npos);
    const std::string plantuml = text_of(folder + "/p.puml");
    EXPECT_NE(plantuml.find("abstract class \"B\""), std::string::npos) << plantuml;
    EXPECT_EQ(run_cli("-o " + folder + "/p.txt" + sources), 2);
}

}  // namespace
}  // namespace tarnwell
