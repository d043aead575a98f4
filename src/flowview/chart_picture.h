// Pictures of a whole chart as the grid holds it: the 8-bit bitmap of Save to bitmap (also
// written as PNG), and a vector drawing in SVG drawn by the symbol painter.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include "flowview/broxgrid_model.h"

namespace tarnwell {

class cell_painter;

// The 256 colours of 8-bit chart pictures: ramps between every background and ink that the
// symbols and the grid blend, so that antialiased symbols keep their look.
QList<QRgb> chart_palette();

// An 8-bit copy of an image: its own colours when it has at most 256 of them, otherwise each
// pixel mapped to the nearest colour of chart_palette (never dithered).
QImage to_indexed8(const QImage& image);

// The image of Save to bitmap: (columns - 1) x cell width by (rows - 1) x cell height, 8 bits
// per pixel, on white, each non-empty cell painted as the grid paints it, label texts in the
// default font, no highlight frame. A null image when drawing is disabled or the image would
// be too large to allocate.
QImage grid_bitmap(const broxgrid_model& grid, cell_painter& cells);

// The same chart as an SVG document of the same size: symbols drawn as vectors by the symbol
// painter in the grid's set, label texts as text. False when drawing is disabled or the file
// cannot be written.
bool write_grid_svg(const broxgrid_model& grid, const QString& file);

// Programs that draw pictures without a window call this before creating their application
// object: with no display to talk to, Qt is told to paint off-screen.
void use_offscreen_without_display();

}  // namespace tarnwell
