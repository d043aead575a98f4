// The errors the class model raises, and the trace sink of the class half.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnwell {

// An error raised by the model, an iterator or an importer; its text is the one the user sees.
struct model_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where trace lines end up: the trace window of the desktop program, standard error on the
// command line.
class ITraceSink {
  public:
    virtual ~ITraceSink() = default;
    virtual void TraceLine(std::string_view line) = 0;
};

// The one trace sink of the process. Off until a command line carries "-traceon"; while off,
// `Trace` does nothing. Without a sink of its own it writes to standard error.
class TErrorHandler {
  public:
    static TErrorHandler& Instance();

    void Trace(std::string_view text);

    bool Tracing() const { return tracing_; }
    void SetTracing(bool on) { tracing_ = on; }
    // The sink stays the caller's; nullptr goes back to standard error.
    void SetSink(ITraceSink* sink) { sink_ = sink; }

    // True when the arguments carry the switch "-traceon" in any letter case.
    static bool TraceSwitchGiven(std::span<const std::string_view> args);

  private:
    TErrorHandler() = default;
    bool tracing_ = false;
    ITraceSink* sink_ = nullptr;
};

}  // namespace tarnwell
