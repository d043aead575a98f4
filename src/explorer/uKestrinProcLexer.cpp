#include "explorer/uKestrinProcLexer.h"

#include <chrono>
#include <exception>
#include <stdexcept>

namespace tarnwell {

namespace {

std::int64_t steady_milliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

}  // namespace

TKestrinProcLexer::TKestrinProcLexer() : ticks_(steady_milliseconds) {}

TKestrinProcLexer::~TKestrinProcLexer() {
    wait();
}

void TKestrinProcLexer::start(completion_handler on_terminate) {
    const std::lock_guard<std::mutex> starting(start_mutex_);
    if (thread_.joinable()) throw std::logic_error("the scanner has already been started");
    // The thread waits until `thread_` is stored, since a handler that frees the scanner reads
    // it. After the handler the thread touches nothing of the scanner.
    thread_ = std::thread([this, handler = std::move(on_terminate)] {
        { const std::lock_guard<std::mutex> started(start_mutex_); }
        run();
        if (handler) handler(*this);
    });
}

void TKestrinProcLexer::run() {
    result_text_.clear();
    failure_.clear();
    timed_out_ = false;
    start_tick_ = ticks_();
    try {
        execute();
    } catch (const std::exception& error) {
        failure_ = error.what();
    }
}

void TKestrinProcLexer::wait() {
    if (!thread_.joinable()) return;
    // Freed by its own completion handler: the thread ends by itself right after.
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

bool TKestrinProcLexer::budget_exceeded() {
    if (!timed_out_ && ticks_() - start_tick_ > time_budget_) timed_out_ = true;
    return timed_out_;
}

void TKestrinProcLexer::append_result(int declaration_line, int begin_line, int end_line,
                                      std::string_view tag, std::string_view name) {
    result_text_ += std::to_string(declaration_line);
    result_text_ += '-';
    result_text_ += std::to_string(begin_line);
    result_text_ += '-';
    result_text_ += std::to_string(end_line);
    result_text_ += '|';
    result_text_ += tag;
    result_text_ += '|';
    result_text_ += name;
    result_text_ += "\r\n";
}

}  // namespace tarnwell
