// The export layout: the markup held by the layout engine laid out a second way, for the
// Office exporters, with the engine's reader and collapse.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "layout/export_cells.h"
#include "layout/xmls2script.h"

namespace tarnwell {

// Each sequence is measured once per layout (on lists of its own, as its trial finds it), so
// the cost grows with the markup rather than doubling with every conditional with else.
class export_layout {
  public:
    explicit export_layout(txml2script& engine) : engine_(engine) {}

    // Fills `out` from the engine's markup at a level code (as for the grid script). True when
    // the markup was laid out completely and only its end follows the top sequence; a failed
    // layout keeps what it placed, closed by the end cell.
    bool make_cells(int level, export_cells& out);

  private:
    struct extent {
        int lowest;
        int highest;
        void widen(int column);
    };
    // A sequence as a layout on lists of its own finds it, relative to where it starts.
    struct measure {
        bool ok = false;
        markup_item end;  // the reader after the sequence
        int rows = 0;     // the current row after it, less its first row
        int lowest = 0;
        int highest = 0;
        bool flows_out = false;  // a connector of its own points at the place after it
    };
    struct measure_key {
        std::int32_t position;
        int level;
        bool operator==(const measure_key&) const = default;
    };
    struct measure_key_hash {
        std::size_t operator()(const measure_key& key) const;
    };
    // The lists being written, with the indexes that keep their look-ups cheap: the places that
    // hold a cell, and per place the connectors that start there and those that end there,
    // each kept as a chain through the connectors (the first one in the map, the next ones in
    // `next_from` and `next_to`, parallel to the connector list).
    struct lists {
        export_cells out;
        std::unordered_set<std::uint64_t> cell_places;
        std::unordered_map<std::uint64_t, std::size_t> first_from;
        std::unordered_map<std::uint64_t, std::size_t> first_to;
        std::vector<std::size_t> next_from;
        std::vector<std::size_t> next_to;
    };

    bool layout_cells(int column, int row, int level);
    bool lay_out_sequence(int column, int row, int level);
    const measure* trial(int column, int row, int level);
    const measure& measured(int level);
    bool keep_trials(const markup_item& at_if, int d, int f, int level);
    bool kept_trial(int column, int row, int level);

    bool collapsed(int code, std::uint8_t closing_code);
    bool conditional(int level, extent& sequence);
    bool branch(int column, int d, int f, anchor side, int code, int join_row, int level,
                extent& sequence);
    bool without_else(const markup_item& at_if, int d, int f, int level, extent& sequence);
    bool selection(int level, extent& sequence);
    bool loop_tested_before(int head, int entry_code, int exit_code, std::uint8_t closing,
                            int level, extent& sequence);
    bool loop_tested_after(int test, int back_code, int exit_code, std::uint8_t closing, int level,
                           extent& sequence);

    void add_export_cell(int column, int row, int code);
    void add_cell_with_text(int column, int row, int code, const std::string& range);
    void add_connector(int column1, int row1, anchor anchor1, int column2, int row2, anchor anchor2,
                       int code);
    bool retarget(int column, int row, int new_column, int new_row, anchor new_anchor);
    void step_down(int code);
    void append(const lists& trial_lists);

    txml2script& engine_;
    lists* lists_ = nullptr;
    int current_column_ = 100;
    int current_row_ = 1;
    int lowest_column_ = 100;
    int highest_column_ = 100;
    bool measuring_ = false;
    int nesting_ = 0;
    std::unordered_map<measure_key, measure, measure_key_hash> measures_;
};

}  // namespace tarnwell
