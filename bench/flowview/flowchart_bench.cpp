// The flowchart commands on functions of 2,000 and 32,000 lines, as the desktop program runs
// them: the whole of Create or Refresh flowchart (parse, layout, grid load, selection), a
// level choice (layout and load), opening the chart again as a page change does (grid load),
// a cell click, the hint of a symbol, and scrolling the chart one screen at a time with the
// visible cells painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <map>
#include <memory>

#include "flowview/broxgrid.h"
#include "flowview/flowchart_actions.h"
#include "flowview/graphpanel.h"
#include "generated_source.h"
#include "workspace/datamod.h"
#include "workspace/mysynedit.h"
#include "workspace/notifier.h"
#include "workspace/umainform.h"

namespace {

using namespace tarnwell;

// Answers nothing and shows nothing: a benchmark run has no user.
class silent_notifier : public notifier {
  public:
    void message(const QString&) override {}
    user_answer ask(const QString&, const QString&, bool) override { return user_answer::no; }
    QStringList choose_open_files(const QString&) override { return {}; }
    std::optional<QString> choose_save_file(const QString&, const QString&) override {
        return std::nullopt;
    }
    bool show_page(const QUrl&) override { return false; }
    void begin_wait() override {}
    void end_wait() override {}
};

// One window with the long function open, marked from its first to its last line and charted.
struct charted_window {
    explicit charted_window(int function_lines) {
        const std::string text =
            "void longest()\n{\n" + bench::generated_cpp_function(function_lines) + "}\n";
        const QString file = folder.filePath(QStringLiteral("longest.c"));
        std::ofstream(file.toStdString(), std::ios::binary) << text;
        window = std::make_unique<TMainform>(
            data,
            program_paths{QApplication::applicationDirPath().toStdString(),
                          folder.path().toStdString()},
            std::make_unique<silent_notifier>());
        actions = new flowchart_actions(*window);
        window->resize(1200, 800);
        window->show();
        editor = window->open_file(file);
        editor->set_bookmark(begin_mark, {1, 3});
        editor->set_bookmark(end_mark, {1, editor->line_count() - 2});
        actions->create_or_refresh(level_refresh);
        QApplication::processEvents();
    }
    tbroxgrid* grid() const { return actions->panel()->grid(); }

    QTemporaryDir folder;
    TeditorDataModule data;
    std::unique_ptr<TMainform> window;
    flowchart_actions* actions = nullptr;
    TMySynEdit* editor = nullptr;
};

// One window per function length, made on first use and kept for the run; closed before
// the application object goes.
std::map<int, std::unique_ptr<charted_window>>& windows() {
    static std::map<int, std::unique_ptr<charted_window>> made;
    return made;
}

charted_window& chart(int function_lines) {
    std::unique_ptr<charted_window>& window = windows()[function_lines];
    if (!window) window = std::make_unique<charted_window>(function_lines);
    return *window;
}

// The first occupied cell of the middle row of the chart shown.
std::pair<int, int> middle_cell(const charted_window& w) {
    const int row = w.grid()->row_count() / 2;
    int column = 0;
    while (column < w.grid()->col_count() && w.grid()->cell(column, row).empty()) ++column;
    return {column, row};
}

void BM_CreateOrRefresh(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    for (auto _ : state) w.actions->create_or_refresh(level_refresh);
    state.counters["rows"] = w.grid()->row_count();
    state.counters["lines"] = w.editor->line_count();
}
BENCHMARK(BM_CreateOrRefresh)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

void BM_ChooseEveryLevel(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    for (auto _ : state) w.actions->create_or_refresh(level_all);
}
BENCHMARK(BM_ChooseEveryLevel)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

void BM_ChangeLevel(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    bool all = false;
    for (auto _ : state) {
        all = !all;
        w.actions->create_or_refresh(all ? level_all : 3);
    }
}
BENCHMARK(BM_ChangeLevel)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

void BM_PageChangeReload(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    for (auto _ : state) w.actions->show_flowchart(level_reload);
}
BENCHMARK(BM_PageChangeReload)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

void BM_CellClick(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    w.actions->create_or_refresh(level_all);
    const auto [column, row] = middle_cell(w);
    for (auto _ : state) w.grid()->select_cell(column, row);
}
BENCHMARK(BM_CellClick)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

void BM_SymbolHint(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    w.actions->create_or_refresh(level_all);
    const auto [column, row] = middle_cell(w);
    for (auto _ : state) benchmark::DoNotOptimize(w.actions->cell_hint(column, row));
}
BENCHMARK(BM_SymbolHint)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

void BM_ScrollOneScreen(benchmark::State& state) {
    charted_window& w = chart(static_cast<int>(state.range(0)));
    w.actions->create_or_refresh(level_all);
    QScrollBar* bar = w.grid()->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(
            bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
        w.grid()->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollOneScreen)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(32000);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    windows().clear();
    benchmark::Shutdown();
    return 0;
}
