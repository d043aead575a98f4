#include "workspace/preview_zoom.h"

#include <algorithm>

namespace tarnwell {

preview_zoom zoom_after_click(const preview_zoom& now, int shown_percent, bool left_button) {
    if (left_button && now.mode == zoom_mode::whole_page) return {zoom_mode::percent, 100};
    const int percent = left_button ? shown_percent * 2 : shown_percent / 2;
    return {zoom_mode::percent, std::clamp(percent, min_zoom_percent, max_zoom_percent)};
}

}  // namespace tarnwell
