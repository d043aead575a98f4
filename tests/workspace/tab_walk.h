// Walks a dialog with the Tab key as a user does, and lists its controls in the order a
// reader meets them, so that a test can hold one against the other.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tarnwell {

// Shows `window` and makes it the active window, as it is when the user works in it.
void show_active(QWidget& window);

// The controls Tab reaches, named as `control_name` names them, in the order the focus visits
// them when Tab is pressed again and again from the window's first control in reading order;
// the walk ends where it comes back to a control already visited.
std::vector<std::string> tab_walk(QWidget& window);

// The controls Tab can reach, visible and enabled (of a group of exclusive radio buttons the
// checked one), in reading order: within each container its children row by row (children
// whose heights overlap share a row), left to right in a row, and each container's controls
// where the container stands.
std::vector<std::string> reading_order(QWidget& window);

// Expects Tab to follow the reading order on every page of `dialog`: the controls of a page
// that is not shown cannot take the focus.
void expect_tab_follows_reading(QWidget& dialog, const std::string& name);

// A control's name for a failure message: its object name, else its text or caption with its
// class.
std::string control_name(QWidget* widget);

}  // namespace tarnwell
