// Pictures of a whole chart: the 8-bit bitmap of Save to bitmap (also written as PNG), painted
// in bands so that it needs about one byte a pixel, and a vector drawing in SVG streamed cell
// by cell, whose size has no limit.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <string>

#include "flowview/broxgrid_model.h"
#include "flowview/chart_cells.h"

namespace tarnwell {

class cell_painter;

// The 256 colours of 8-bit chart pictures: ramps between every background and ink that the
// symbols and the grid blend, so that antialiased symbols keep their look.
QList<QRgb> chart_palette();

// An 8-bit copy of an image: its own colours when it has at most 256 of them, otherwise each
// pixel mapped to the nearest colour of chart_palette (never dithered).
QImage to_indexed8(const QImage& image);

// Whether a bitmap of this size can be made: at most max_bitmap_pixels pixels, and no side
// longer than the picture formats' readers and writers accept.
inline constexpr qint64 max_bitmap_pixels = qint64{1} << 27;
inline constexpr qint64 max_bitmap_side = 1'000'000;
bool fits_one_bitmap(qint64 width, qint64 height);

// What the user is told when a chart is too large for one bitmap: its size and the ways out.
// The command line names its option for the level; the desktop program names the command.
std::string bitmap_too_large_message(qint64 width, qint64 height, bool command_line);

// The image of Save to bitmap: (columns - 1) x cell width by (rows - 1) x cell height, 8 bits
// per pixel, on white, each non-empty cell painted as the grid paints it, label texts in the
// default font, no highlight frame. Painted `band_rows` cell rows at a time (0: as many as
// fit a band of about a million pixels). A null image when drawing is disabled or the chart
// does not fit one bitmap.
QImage grid_bitmap(const broxgrid_model& grid, cell_painter& cells, int band_rows = 0);

// The chart as an SVG document of the bitmap's size, written to the file as it is drawn: each
// symbol drawn once as a vector definition by the symbol painter, each cell a use of it that
// carries the code behind its symbol as its title, label texts as text. False when the file
// cannot be written.
bool write_chart_svg(const chart_cells& chart, bool small_set, const QString& file);

// Programs that draw pictures without a window call this before creating their application
// object: with no display to talk to, Qt is told to paint off-screen.
void use_offscreen_without_display();

}  // namespace tarnwell
