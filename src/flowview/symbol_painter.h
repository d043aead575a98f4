// Draws the flowchart symbols of the grid script with QPainter: the node shapes and the
// connector pieces that join cell edge midpoints, for either symbol set, into any rectangle.
#pragma once

#include <QRectF>
#include <QRgb>
#include <QSize>
#include <string_view>
#include <utility>
#include <vector>

class QPainter;

namespace tarnwell {

// The two picture sets: large cells of 65 x 33 pixels, small cells of 27 x 21.
enum class symbol_set { large, small };

// The cell size a set is designed for; drawn into another rectangle, a symbol is stretched.
QSize symbol_cell_size(symbol_set set);

// Draws the symbol `name` (a name of the grid script's vocabulary) stretched over `cell`. False,
// and nothing drawn, for an unknown name.
bool paint_symbol(QPainter& painter, const QRectF& cell, std::string_view name, symbol_set set);

// Every (background, ink) pair that the painter blends at antialiased edges: ramps between
// them hold every colour of a symbol picture.
std::vector<std::pair<QRgb, QRgb>> symbol_colour_blends();

}  // namespace tarnwell
