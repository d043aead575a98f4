#include "classmodel/uError.h"

#include <algorithm>
#include <iostream>

#include "classmodel/uModelEntity.h"

namespace tarnwell {

TErrorHandler& TErrorHandler::Instance() {
    static TErrorHandler handler;
    return handler;
}

void TErrorHandler::Trace(std::string_view text) {
    if (!tracing_) return;
    if (sink_ != nullptr) {
        sink_->TraceLine(text);
    } else {
        std::cerr << text << '\n';
    }
}

bool TErrorHandler::TraceSwitchGiven(std::span<const std::string_view> args) {
    return std::any_of(args.begin(), args.end(), [](std::string_view arg) {
        return NamesMatch(arg, "-traceon", TCompareMode::CaseInsensitive);
    });
}

}  // namespace tarnwell
