// The XML of a drawing's shapes and connectors: as slide shapes of a presentation, or as one
// shape group of a word-processing document. Lengths go out in EMU, text as UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "officeexport/office_drawing.h"

namespace tarnwell {

enum class drawing_flavour { presentation, wordprocessing };

// EMU of a length in points.
std::int64_t emu(double points);

// The shapes and connectors of `drawing` as a sequence of `p:sp`/`p:cxnSp` (presentation) or
// `wps:wsp` elements (wordprocessing); shape i gets the id `first_id + i`, connectors follow.
// The prefixes p, a, wps, w are used undeclared: the caller wraps the result.
std::string drawing_elements(const office_drawing& drawing, drawing_flavour flavour,
                             std::int64_t first_id);

// The ids `drawing_elements` uses from `first_id` on.
std::int64_t drawing_id_count(const office_drawing& drawing);

}  // namespace tarnwell
