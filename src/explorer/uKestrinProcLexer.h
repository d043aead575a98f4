// The base of the procedure scanners: a background thread that scans one private copy of a
// document text within a time budget and collects one result line per procedure found.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tarnwell {

// Category tags of the result lines.
inline constexpr std::string_view tag_function = "void";
inline constexpr std::string_view tag_procedure = "proc";
inline constexpr std::string_view tag_constructor = "cons";
inline constexpr std::string_view tag_destructor = "des";
inline constexpr std::string_view tag_unknown = "Unknown";

class TKestrinProcLexer {
  public:
    // Runs on the scanner's thread once the scan has ended, normally or not; a user
    // interface hands it on to its own thread (a queued signal). It is the thread's last use
    // of the scanner, so it may free it.
    using completion_handler = std::function<void(TKestrinProcLexer&)>;
    // A millisecond tick counter; the scan measures its time budget with it.
    using tick_function = std::function<std::int64_t()>;

    TKestrinProcLexer();
    // Waits for the thread. Every class that overrides `execute` or `language_kind` waits in
    // its own destructor too, so that the thread never sees a half-destroyed scanner.
    virtual ~TKestrinProcLexer();
    TKestrinProcLexer(const TKestrinProcLexer&) = delete;
    TKestrinProcLexer& operator=(const TKestrinProcLexer&) = delete;

    // Set before the scan starts.
    void set_source_text(std::string text) { source_text_ = std::move(text); }
    void set_time_budget(std::int32_t milliseconds) { time_budget_ = milliseconds; }
    void set_tick_function(tick_function ticks) { ticks_ = std::move(ticks); }

    // Scans on a new thread, then calls `on_terminate` on that thread. Throws
    // std::logic_error while the thread of an earlier start has not been waited for.
    void start(completion_handler on_terminate);
    // Scans on the calling thread.
    void run();
    // Waits for a scan started by `start` to end.
    void wait();

    // Read these after the scan has ended.
    // "decl-begin-end|tag|name" CR LF per procedure, in source order.
    const std::string& result_text() const { return result_text_; }
    // Why the scan failed, empty when it did not; the lines found before stay in the result.
    const std::string& failure() const { return failure_; }
    // Whether the time budget ran out before the end of the text.
    bool timed_out() const { return timed_out_; }

    // 2 for C and C++, 3 for Pascal, 4 for Java and C#, 5 for the syntax-tree languages.
    virtual int language_kind() const = 0;

  protected:
    // The scan itself; it reads `source_text()` and reports through `append_result`.
    virtual void execute() = 0;

    const std::string& source_text() const { return source_text_; }
    // Records a failure that ends the scan.
    void fail(std::string message) { failure_ = std::move(message); }
    // True once more time than the budget has passed since the scan started; the scan stops
    // then and keeps what it has reported.
    bool budget_exceeded();
    void append_result(int declaration_line, int begin_line, int end_line, std::string_view tag,
                       std::string_view name);

  private:
    std::string source_text_;
    std::string result_text_;
    std::string failure_;
    std::int32_t time_budget_ = 3000;
    tick_function ticks_;
    std::int64_t start_tick_ = 0;
    bool timed_out_ = false;
    std::mutex start_mutex_;
    std::thread thread_;
};

}  // namespace tarnwell
