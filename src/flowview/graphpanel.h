// The flowchart panel: a dock at the side of the main window whose "Flowchart" page holds the
// chart grid under its level list and display mode list, and the grid's popup menu with the
// level and mode items. It only shows what the flowchart commands give it and reports what
// the user picks.
#pragma once

#include <QDockWidget>
#include <array>

#include "flowview/flowchart_commands.h"

class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QTabWidget;

namespace tarnwell {

class tbroxgrid;

class graphpanel : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr int big_mode = 0;
    static constexpr int small_mode = 1;

    explicit graphpanel(QWidget* parent = nullptr);

    tbroxgrid* grid() const { return grid_; }
    QComboBox* level_list() const { return level_list_; }
    QComboBox* mode_list() const { return mode_list_; }
    QMenu* grid_popup() const { return grid_popup_; }
    // The popup's level item of a tag: 0 every level, k + 1 level k; nullptr for other tags.
    QAction* level_item(int tag) const;
    QAction* mode_item(int mode) const;

    void show_flowchart_page();
    bool small_mode_shown() const;
    // Shows a mode in the list and the popup without running the command.
    void show_mode(int mode);

    // The level list gets "All", "Refresh" and the levels 1 to depth with the expand level
    // selected; the popup shows the level items up to the depth and ticks the expand level's.
    void fill_levels(int depth, int expand_level);

  signals:
    // A level was picked: the list's item index, or the tag of a popup item.
    void level_chosen(int index);
    void mode_chosen(int mode);
    // The mouse entered the panel, or a mouse button went down on the grid; a stale chart is
    // laid out again before the press selects a cell.
    void entered();
    void grid_pressed();

  protected:
    void enterEvent(QEnterEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTabWidget* pages_ = nullptr;
    tbroxgrid* grid_ = nullptr;
    QComboBox* level_list_ = nullptr;
    QComboBox* mode_list_ = nullptr;
    QMenu* grid_popup_ = nullptr;
    QAction* all_levels_ = nullptr;
    std::array<QAction*, popup_level_count> levels_{};
    std::array<QAction*, 2> modes_{};
};

}  // namespace tarnwell
