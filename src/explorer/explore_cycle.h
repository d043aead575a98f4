// When the code explorer scans: one scan at a time; a scan's result counts only for the
// document, language and text it was started for; requests and line selections made while a
// scan runs are settled when it ends.
#pragma once

#include <optional>
#include <string>

namespace tarnwell {

// What a scan was started for. The document is only compared, never followed.
struct scan_subject {
    const void* document = nullptr;
    int language_kind = 0;
    std::string text;

    bool operator==(const scan_subject&) const = default;
};

class explore_cycle {
  public:
    // What to do with a scan that has ended.
    struct scan_end {
        bool apply_result = false;   // the result belongs to the current document and text
        bool explore_again = false;  // start a new scan for the current document
        // The line of a selection made while the scan ran, to be made once the result is in.
        std::optional<int> select_line;
    };

    bool busy() const { return busy_; }

    // Asks to explore. True when a scan may start now: the cycle is then busy until `finish`
    // or `abandon`. False while a scan runs: the request is kept for the end of that scan.
    bool request();
    // The scan that `request` allowed did not start (no scanner, no text, or an error).
    void abandon();
    // The running scan ended; it had been started for `started`, and the explorer now shows
    // `current`. A stale result is dropped and the current document is explored again; a
    // kept request needs no new scan when the result just applied answers it.
    scan_end finish(const scan_subject& started, const scan_subject& current);

    // Select the procedure at a line once the running scan has ended, if the document is
    // then still the current one. A later call replaces an earlier one.
    void defer_selection(const void* document, int line);

  private:
    bool busy_ = false;
    const void* selection_document_ = nullptr;
    std::optional<int> selection_line_;
};

}  // namespace tarnwell
