#include "classmodel/uRtfdPainter.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace tarnwell {

namespace {

using namespace rtfd;

// Label text: "MS Sans Serif" 8 points on the screens the sizes were made for.
constexpr int NormalPixels = 11;
// The title: "Times New Roman" bold 12 points.
constexpr int TitlePixels = 16;
// A side longer than this makes a black and white picture.
constexpr int LongestColourSide = 16000;
// Pictures are painted in bands of this many rows and then reduced.
constexpr int BandRows = 256;
// Larger pictures would not fit in memory.
constexpr std::int64_t MostPixels = std::int64_t{1} << 31;

const QColor DialogColour(240, 240, 240);

constexpr int HeadReach = 12;

// Whether the rectangle meets the part being painted.
bool Meets(const TRect& rect, const std::optional<TRect>& clip) {
    return !clip || (rect.Left < clip->Right && clip->Left < rect.Right &&
                     rect.Top < clip->Bottom && clip->Top < rect.Bottom);
}

QColor ToColor(TRgb rgb) {
    return {rgb.R, rgb.G, rgb.B};
}

QPoint ToQPoint(TPoint p) {
    return {p.X, p.Y};
}

QFont MakeFont(const char* family, int pixels, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// The visibility icons: a red square for private, a yellow diamond for protected, a green
// circle for public.
void PaintIcon(QPainter& painter, TVisibility visibility, int x, int y) {
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    switch (visibility) {
        case TVisibility::Private:
            painter.setBrush(QColor(204, 0, 0));
            painter.drawRect(x + 1, y + 2, 8, 8);
            break;
        case TVisibility::Protected: {
            painter.setBrush(QColor(230, 190, 0));
            const QPoint diamond[] = {{x + 5, y + 1}, {x + 10, y + 6}, {x + 5, y + 11}, {x, y + 6}};
            painter.drawPolygon(diamond, 4);
            break;
        }
        case TVisibility::Public:
        case TVisibility::Published:
            painter.setBrush(QColor(0, 160, 0));
            painter.drawEllipse(x + 1, y + 2, 8, 8);
            break;
    }
    painter.restore();
}

void PaintBox(QPainter& painter, const TRtfdBox& box, const TRect& bounds,
              const TDiagramFonts& fonts, const TPaintOptions& options) {
    painter.save();
    painter.translate(bounds.Left, bounds.Top);
    const int w = bounds.Width();
    const int h = bounds.Height();
    const int inner_w = w - ShadowWidth;
    const int inner_h = h - ShadowWidth;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(inner_w, ShadowWidth, ShadowWidth, h - ShadowWidth, ToColor(ShadowColour));
    painter.fillRect(ShadowWidth, inner_h, w - ShadowWidth, ShadowWidth, ToColor(ShadowColour));
    // The header with its round corners; the member area overlaps its lower part.
    painter.setRenderHint(QPainter::Antialiasing, !options.ReducedColours);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(options.ReducedColours ? QColor(Qt::white) : ToColor(BoxColour));
    painter.drawRoundedRect(QRectF(0.5, 0.5, inner_w - 1, std::min(HeaderHeight, inner_h) - 1),
                            CornerRadius, CornerRadius);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (inner_h > MemberAreaTop) {
        painter.fillRect(0, MemberAreaTop, inner_w, inner_h - MemberAreaTop, Qt::white);
        painter.drawLine(0, MemberAreaTop, 0, inner_h - 1);
        painter.drawLine(inner_w - 1, MemberAreaTop, inner_w - 1, inner_h - 1);
        painter.drawLine(0, inner_h - 1, inner_w - 1, inner_h - 1);
    }
    const int left = BorderWidth;
    const int right = inner_w - BorderWidth;
    for (const TRtfdLabel& label : box.Labels) {
        if (label.Kind == TLabelKind::Separator) {
            const int y = label.Top + label.Height / 2;
            painter.setPen(QPen(Qt::black, 1));
            painter.drawLine(0, y, inner_w - 1, y);
            continue;
        }
        int text_left = left;
        if (label.Icon) {
            PaintIcon(painter, *label.Icon, left, label.Top + 1);
            text_left += IconWidth;
        }
        if (options.ReducedColours) {
            // Smoothed edges would turn into blots in black and white.
            QFont font = fonts.Font(label.Font);
            font.setStyleStrategy(QFont::NoAntialias);
            painter.setFont(font);
        } else {
            painter.setFont(fonts.Font(label.Font));
        }
        painter.setPen(ToColor(label.Colour));
        const QRect area(text_left, label.Top, std::max(0, right - text_left), label.Height);
        const Qt::Alignment align = label.Alignment == TLabelAlignment::Centre  ? Qt::AlignHCenter
                                    : label.Alignment == TLabelAlignment::Right ? Qt::AlignRight
                                                                                : Qt::AlignLeft;
        painter.setRenderHint(QPainter::TextAntialiasing, !options.ReducedColours);
        painter.drawText(
            area, static_cast<int>(align | Qt::AlignTop) | Qt::TextSingleLine,
            QString::fromUtf8(label.Text.data(), static_cast<qsizetype>(label.Text.size())));
    }
    painter.restore();
}

void PaintConnection(QPainter& painter, const TConnection& connection,
                     const TvixConnectPanel& surface, const TPaintOptions& options) {
    const TManagedObject& from = surface.Object(connection.FromBox);
    const TManagedObject& to = surface.Object(connection.ToBox);
    if (!from.Visible || !to.Visible) return;
    const QColor colour = from.Selected && options.ShowSelection && !surface.SelectedOnly()
                              ? QColor(0, 128, 0)
                              : QColor(Qt::black);
    QPen pen(colour);
    switch (connection.LineStyle) {
        case TLineStyle::ThinSolid:
            pen.setWidth(1);
            break;
        case TLineStyle::ThickSolid:
            pen.setWidth(3);
            break;
        case TLineStyle::ThinDashed:
            pen.setWidth(1);
            pen.setStyle(Qt::DashLine);
            break;
    }
    const TConnectionEnds ends = ConnectionEnds(from.Bounds, to.Bounds);
    // The head reaches ten pixels to the side of the line's end.
    const TRect reach{
        std::min(ends.From.X, ends.To.X) - HeadReach, std::min(ends.From.Y, ends.To.Y) - HeadReach,
        std::max(ends.From.X, ends.To.X) + HeadReach, std::max(ends.From.Y, ends.To.Y) + HeadReach};
    if (!Meets(reach, options.Clip)) return;
    painter.setRenderHint(QPainter::Antialiasing, !options.ReducedColours);
    painter.setPen(pen);
    painter.drawLine(ToQPoint(ends.From), ToQPoint(ends.To));
    const std::vector<TPoint> head = ArrowHeadPoints(ends.From, ends.To, connection.ArrowHead);
    if (!head.empty()) {
        painter.setPen(QPen(colour, 1));
        painter.setBrush(Qt::white);
        std::vector<QPoint> points;
        for (const TPoint& p : head) points.push_back(ToQPoint(p));
        if (connection.ArrowHead == TArrowHead::Closed) {
            painter.drawPolygon(points.data(), static_cast<int>(points.size()));
        } else {
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

// A fixed palette, so that the bands of a picture share one: the diagram's own colours
// exactly, then greys for the smoothed text and a colour cube for the rest.
QList<QRgb> PictureColours() {
    QList<QRgb> colours = {qRgb(0, 0, 0),       qRgb(255, 255, 255), qRgb(248, 244, 234),
                           qRgb(192, 192, 192), qRgb(0, 128, 0),     qRgb(255, 0, 0),
                           qRgb(128, 128, 128), DialogColour.rgb(),  qRgb(204, 0, 0),
                           qRgb(230, 190, 0),   qRgb(0, 160, 0)};
    for (int g = 8; g < 255; g += 8) colours.push_back(qRgb(g, g, g));
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) colours.push_back(qRgb(r * 51, g * 51, b * 51));
    while (colours.size() > 256) colours.pop_back();
    return colours;
}

std::string TooLarge(int width, int height) {
    return "The diagram is too large to save as a picture (" + std::to_string(width) + " x " +
           std::to_string(height) + " pixels).";
}

// Most of a large diagram is white paper: it is recognised a run of pixels at a time (with the
// library's block compare) before any pixel is looked at on its own.
constexpr int WhiteRun = 64;

bool AllWhite(const QRgb* pixels) {
    static const std::array<QRgb, WhiteRun> white = [] {
        std::array<QRgb, WhiteRun> run;
        run.fill(qRgb(255, 255, 255));
        return run;
    }();
    return std::memcmp(pixels, white.data(), sizeof white) == 0;
}

// Every pixel that is not white turns black, as a colour bitmap becomes a monochrome one:
// grey and green text stays readable.
void CopyAsMonochrome(const QImage& band, int rows, QImage& picture, int top) {
    const QRgb white = qRgb(255, 255, 255);
    const int width = band.width();
    const int whole_bytes = width / 8;
    constexpr int RunBytes = WhiteRun / 8;
    for (int row = 0; row < rows; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(band.constScanLine(row));
        uchar* out = picture.scanLine(top + row);
        for (int b = 0; b < whole_bytes;) {
            if (b + RunBytes <= whole_bytes && AllWhite(in + b * 8)) {
                std::memset(out + b, 0xff, RunBytes);
                b += RunBytes;
                continue;
            }
            // A byte's eight pixels at a time, so that the loop needs no read of the output.
            const QRgb* eight = in + b * 8;
            unsigned bits = 0;
            for (int k = 0; k < 8; ++k) bits = (bits << 1) | ((eight[k] | 0xff000000U) == white);
            out[b++] = static_cast<uchar>(bits);
        }
        unsigned bits = 0;
        for (int x = whole_bytes * 8; x < width; ++x) {
            bits |= static_cast<unsigned>((in[x] | 0xff000000U) == white) << (7 - (x & 7));
        }
        if (whole_bytes * 8 < width) out[whole_bytes] = static_cast<uchar>(bits);
    }
}

// Each pixel becomes the table's colour nearest to it (the least sum of channel differences,
// the first of equals). A diagram has few colours, so each is matched once and remembered; a
// run of one colour is not even looked up.
class TColourReducer {
  public:
    explicit TColourReducer(const QList<QRgb>& colours)
        : colours_(colours), white_(Nearest(qRgb(255, 255, 255))) {}

    void Copy(const QImage& band, int rows, QImage& picture, int top) {
        const int width = band.width();
        for (int row = 0; row < rows; ++row) {
            const auto* in = reinterpret_cast<const QRgb*>(band.constScanLine(row));
            uchar* out = picture.scanLine(top + row);
            QRgb last = in[0];
            uchar index = Nearest(last);
            for (int x = 0; x < width;) {
                if (x + WhiteRun <= width && AllWhite(in + x)) {
                    std::memset(out + x, white_, WhiteRun);
                    x += WhiteRun;
                    continue;
                }
                const int stop = std::min(width, x + WhiteRun);
                for (; x < stop; ++x) {
                    if (in[x] != last) {
                        last = in[x];
                        index = Nearest(last);
                    }
                    out[x] = index;
                }
            }
        }
    }

  private:
    uchar Nearest(QRgb pixel) {
        const auto known = matched_.find(pixel);
        if (known != matched_.end()) return known->second;
        const auto distance = [pixel](QRgb c) {
            return std::abs(qRed(pixel) - qRed(c)) + std::abs(qGreen(pixel) - qGreen(c)) +
                   std::abs(qBlue(pixel) - qBlue(c)) + std::abs(qAlpha(pixel) - qAlpha(c));
        };
        uchar best = 0;
        int best_distance = std::numeric_limits<int>::max();
        for (qsizetype i = 0; i < colours_.size(); ++i) {
            const int d = distance(colours_[i]);
            if (d < best_distance) {
                best_distance = d;
                best = static_cast<uchar>(i);
            }
        }
        matched_.emplace(pixel, best);
        return best;
    }

    const QList<QRgb>& colours_;
    std::unordered_map<QRgb, uchar> matched_;
    uchar white_;
};

// Pictures of large packages run to hundreds of millions of pixels, nearly all white; the
// fastest compression makes files a little larger in a fraction of the time.
constexpr int PngCompression = 11;

std::string SaveSvg(TRtfdDiagram& diagram, const TDiagramFonts& fonts, const QString& path) {
    const TPoint size = diagram.GetDiagramSize();
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(size.X, size.Y));
    svg.setViewBox(QRect(0, 0, size.X, size.Y));
    svg.setTitle(QString::fromStdString(diagram.Title()));
    QPainter painter;
    if (!painter.begin(&svg)) return "Could not write " + path.toStdString();
    PaintTo(painter, diagram, fonts, 0, 0, false);
    if (!painter.end()) return "Could not write " + path.toStdString();
    if (!QFileInfo(path).isFile()) return "Could not write " + path.toStdString();
    return {};
}

}  // namespace

TDiagramFonts::TDiagramFonts()
    : normal_(MakeFont("DejaVu Sans", NormalPixels, false, false)),
      bold_(MakeFont("DejaVu Sans", NormalPixels, true, false)),
      bold_italic_(MakeFont("DejaVu Sans", NormalPixels, true, true)),
      italic_(MakeFont("DejaVu Sans", NormalPixels, false, true)),
      title_(MakeFont("DejaVu Serif", TitlePixels, true, false)) {}

const QFont& TDiagramFonts::Font(TDiagramFont font) const {
    switch (font) {
        case TDiagramFont::Bold:
            return bold_;
        case TDiagramFont::BoldItalic:
            return bold_italic_;
        case TDiagramFont::Italic:
            return italic_;
        case TDiagramFont::Title:
            return title_;
        case TDiagramFont::Normal:
            break;
    }
    return normal_;
}

TTextSize TDiagramFonts::Measure(const std::string& text, TDiagramFont font) const {
    const QFontMetrics metrics(Font(font));
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {metrics.horizontalAdvance(qtext), metrics.height()};
}

void PaintDiagram(QPainter& painter, const TRtfdDiagram& diagram, const TDiagramFonts& fonts,
                  const TPaintOptions& options) {
    const TvixConnectPanel& surface = diagram.Surface();
    painter.fillRect(0, 0, surface.Width(), surface.Height(), Qt::white);
    if (!diagram.Title().empty()) {
        const QFont& font = fonts.Font(TDiagramFont::Title);
        const int height = QFontMetrics(font).height();
        // In black and white the dialog colour would turn into a black bar over the title.
        painter.fillRect(0, 0, surface.Width(), height,
                         options.ReducedColours ? QColor(Qt::white) : DialogColour);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, surface.Width(), height), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(diagram.Title()));
    }
    for (const TConnection& connection : surface.GetConnections())
        PaintConnection(painter, connection, surface, options);
    for (std::size_t index : surface.PaintOrder()) {
        const TManagedObject& object = surface.Object(index);
        if (object.Visible && Meets(object.Bounds, options.Clip))
            PaintBox(painter, diagram.Boxes()[index], object.Bounds, fonts, options);
    }
    if (!options.ShowSelection || surface.SelectedOnly()) return;
    constexpr int mark = TvixConnectPanel::SelectionMark;
    for (std::size_t index : surface.GetSelectedControls()) {
        const TManagedObject& object = surface.Object(index);
        if (!object.Visible) continue;
        const TRect& b = object.Bounds;
        for (const TPoint corner : {TPoint{b.Left, b.Top}, TPoint{b.Right, b.Top},
                                    TPoint{b.Left, b.Bottom}, TPoint{b.Right, b.Bottom}})
            painter.fillRect(corner.X - mark, corner.Y - mark, 2 * mark, 2 * mark, Qt::black);
    }
}

void PaintTo(QPainter& painter, TRtfdDiagram& diagram, const TDiagramFonts& fonts, int x, int y,
             bool selected_only) {
    TvixConnectPanel& surface = diagram.Surface();
    if (!selected_only) surface.ClearSelection();
    const bool only = selected_only && surface.GetFirstSelected().has_value();
    if (only) surface.SetSelectedOnly(true);
    painter.save();
    painter.translate(x, y);
    PaintDiagram(painter, diagram, fonts, {false, false, std::nullopt});
    painter.restore();
    if (only) surface.SetSelectedOnly(false);
}

TDiagramPicture PaintPicture(TRtfdDiagram& diagram, const TDiagramFonts& fonts) {
    const TPoint size = diagram.GetDiagramSize();
    const int width = std::max(size.X, 1);
    const int height = std::max(size.Y, 1);
    if (static_cast<std::int64_t>(width) * height > MostPixels) {
        return {QImage(), TooLarge(width, height)};
    }
    const bool monochrome = std::max(width, height) > LongestColourSide;
    QImage picture(width, height, monochrome ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (picture.isNull()) return {QImage(), TooLarge(width, height)};
    const QList<QRgb> colours =
        monochrome ? QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)} : PictureColours();
    picture.setColorTable(colours);
    QImage band(width, BandRows, QImage::Format_RGB32);
    if (band.isNull()) return {QImage(), TooLarge(width, height)};
    TColourReducer reducer(colours);
    TPaintOptions options{monochrome, false, std::nullopt};
    for (int top = 0; top < height; top += BandRows) {
        options.Clip = TRect{0, top, width, top + BandRows};
        band.fill(Qt::white);
        {
            QPainter painter(&band);
            painter.translate(0, -top);
            PaintDiagram(painter, diagram, fonts, options);
        }
        const int rows = std::min(BandRows, height - top);
        if (monochrome) {
            CopyAsMonochrome(band, rows, picture, top);
        } else {
            reducer.Copy(band, rows, picture, top);
        }
    }
    return {std::move(picture), {}};
}

std::string WritePng(const QImage& picture, const std::string& file_name) {
    QImageWriter writer(QString::fromStdString(file_name), "PNG");
    writer.setCompression(PngCompression);
    if (!writer.write(picture)) return "Could not write " + file_name;
    return {};
}

std::string SaveAsPicture(TRtfdDiagram& diagram, const TDiagramFonts& fonts,
                          const std::string& file_name) {
    const QString path = QString::fromStdString(file_name);
    const QString suffix = QFileInfo(path).suffix().toLower();
    diagram.Surface().ClearSelection();
    if (suffix.contains("wmf") || suffix == "svg") return SaveSvg(diagram, fonts, path);
    const TDiagramPicture picture = PaintPicture(diagram, fonts);
    if (!picture.Error.empty()) return picture.Error;
    return WritePng(picture.Image, file_name);
}

}  // namespace tarnwell
