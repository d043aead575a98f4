// The zoom of the print preview and how a mouse click on the page changes it.
#pragma once

namespace tarnwell {

enum class zoom_mode { whole_page, page_width, percent };

struct preview_zoom {
    zoom_mode mode = zoom_mode::whole_page;
    int percent = 100;  // used in percent mode
    bool operator==(const preview_zoom&) const = default;
};

inline constexpr int min_zoom_percent = 25;
inline constexpr int max_zoom_percent = 400;

// A click with the left button shows a whole page at 100% and doubles any other scale, up
// to 400%; any other button halves the scale, down to 25%. `shown_percent` is the scale the
// page is shown at now, which the fitted modes leave to the window's size.
preview_zoom zoom_after_click(const preview_zoom& now, int shown_percent, bool left_button);

}  // namespace tarnwell
