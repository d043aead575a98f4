#include "explorer/uKestrinProcLexer.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>

#include "explorer/uCppProcLexer.h"
#include "explorer/uPasProcLexer.h"

namespace tarnwell {
namespace {

const std::string c_source =
    "int a() {\n}\n"
    "int b() {\n}\n"
    "int c() {\n}\n";

const std::string pascal_source =
    "procedure A;\nbegin\nend;\n"
    "procedure B;\nbegin\nend;\n"
    "procedure C;\nbegin\nend;\n";

TEST(ProcScanner, RunsOnItsOwnThreadAndCallsTheCompletionHandlerThere) {
    TCppProcLexer scanner;
    scanner.set_source_text(c_source);
    std::promise<std::thread::id> finished;
    scanner.start([&](TKestrinProcLexer& done) {
        EXPECT_EQ(&done, &scanner);
        finished.set_value(std::this_thread::get_id());
    });
    const std::thread::id handler_thread = finished.get_future().get();
    EXPECT_THROW(scanner.start(nullptr), std::logic_error);
    scanner.wait();
    EXPECT_NE(handler_thread, std::this_thread::get_id());
    EXPECT_EQ(scanner.result_text(), "1-1-2|void|a\r\n3-3-4|void|b\r\n5-5-6|void|c\r\n");
}

TEST(ProcScanner, CompletionHandlerMayFreeTheScanner) {
    auto* scanner = new TPasProcLexer;
    scanner->set_source_text(pascal_source);
    std::promise<std::string> result;
    scanner->start([&](TKestrinProcLexer& done) {
        result.set_value(done.result_text());
        delete &done;
    });
    EXPECT_EQ(result.get_future().get(), "1-2-3|proc|A\r\n4-5-6|proc|B\r\n7-8-9|proc|C\r\n");
}

// A clock that stands still until the first procedure is reported and then jumps far past
// any budget: the scan must stop there and keep that one line.
template <class Scanner>
void expect_stop_after_first_line(const std::string& source, const std::string& first_line) {
    Scanner scanner;
    scanner.set_source_text(source);
    scanner.set_time_budget(3000);
    scanner.set_tick_function([&scanner] {
        return scanner.result_text().empty() ? std::int64_t{0} : std::int64_t{1'000'000};
    });
    scanner.run();
    EXPECT_TRUE(scanner.timed_out());
    EXPECT_EQ(scanner.result_text(), first_line);
}

TEST(ProcScanner, TimeBudgetStopsTheScanWithTheLinesFoundSoFar) {
    expect_stop_after_first_line<TCppProcLexer>(c_source, "1-1-2|void|a\r\n");
    expect_stop_after_first_line<TPasProcLexer>(pascal_source, "1-2-3|proc|A\r\n");
}

TEST(ProcScanner, ABudgetOfZeroStillExaminesTheFirstBrace) {
    TCppProcLexer scanner;
    scanner.set_source_text(c_source);
    scanner.set_time_budget(0);
    scanner.set_tick_function([n = std::int64_t{0}]() mutable { return n++; });
    scanner.run();
    EXPECT_TRUE(scanner.timed_out());
    EXPECT_EQ(scanner.result_text(), "1-1-2|void|a\r\n");
}

}  // namespace
}  // namespace tarnwell
