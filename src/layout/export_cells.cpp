#include "layout/export_cells.h"

namespace tarnwell {

std::string_view anchor_name(anchor side) {
    switch (side) {
        case anchor::top:
            return "Aligntop";
        case anchor::bottom:
            return "Alignbottom";
        case anchor::left:
            return "Alignleft";
        case anchor::right:
            return "Alignright";
    }
    return "Aligntop";
}

}  // namespace tarnwell
