// Painting a class diagram: the fonts it writes in, the surface with its boxes and lines, and
// the diagram saved as a picture.
#pragma once

#include <QFont>
#include <QImage>
#include <optional>
#include <string>

#include "classmodel/uRtfdDiagram.h"

class QPainter;

namespace tarnwell {

// The diagram's faces as DejaVu fonts of fixed pixel sizes, so that boxes have the same size
// on every screen and in every picture. Needs a running QGuiApplication.
class TDiagramFonts : public ITextMeasure {
  public:
    TDiagramFonts();
    const QFont& Font(TDiagramFont font) const;
    TTextSize Measure(const std::string& text, TDiagramFont font) const override;

  private:
    QFont normal_;
    QFont bold_;
    QFont bold_italic_;
    QFont italic_;
    QFont title_;
};

struct TPaintOptions {
    // Boxes white, as on a display of few colours.
    bool ReducedColours = false;
    // Selection marks and the green lines of selected boxes; off for pictures.
    bool ShowSelection = true;
    // Only what meets this part of the surface is painted; all without it.
    std::optional<TRect> Clip;
};

// Paints the surface (background, title, lines, boxes) with its top left corner at the
// painter's origin.
void PaintDiagram(QPainter& painter, const TRtfdDiagram& diagram, const TDiagramFonts& fonts,
                  const TPaintOptions& options);

// Paints onto a canvas at (x, y) as a picture: without selection marks; with `selected_only`
// and a selection, only the selected boxes and the lines between them.
void PaintTo(QPainter& painter, TRtfdDiagram& diagram, const TDiagramFonts& fonts, int x, int y,
             bool selected_only);

// The whole diagram as a PNG file holds it: 8 bits per pixel, 1 bit when a side is longer than
// 16,000 pixels. A null image and the message for the user when it is too large.
struct TDiagramPicture {
    QImage Image;
    std::string Error;
};
TDiagramPicture PaintPicture(TRtfdDiagram& diagram, const TDiagramFonts& fonts);

// Writes a painted picture as a PNG file. Empty on success, else the message for the user.
// Touches no diagram, so it may run on another thread than the painting.
std::string WritePng(const QImage& picture, const std::string& file_name);

// Saves the whole diagram as a picture: a name whose extension holds "wmf", or ".svg", as
// SVG; any other as a PNG of 8 bits per pixel (1 bit when a side is longer than 16,000
// pixels). Empty on success, else the message for the user.
std::string SaveAsPicture(TRtfdDiagram& diagram, const TDiagramFonts& fonts,
                          const std::string& file_name);

}  // namespace tarnwell
