// The plotting command with ten typical equations on a plane of 1000 x 1000
// pixels: the whole Graph command of the main window (also on the full
// window, with dots and with connected samples) and the drawing routine
// alone (dots, and lines through the samples, also on the full window),
// against the same sweeps with the engine alone; on the default window and
// on -1000..1000 (two million samples per equation, twenty million in all).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "analysis/sweeps.h"
#include "platform/host.h"
#include "support/scripted_host.h"
#include "support/wait_idle.h"
#include "workspace/frm_main.h"
#include "workspace/graph_painter.h"
#include "workspace/graph_surface.h"

namespace {

struct Row {
  const char* expression;
  const char* condition;
};
const Row kRows[] = {
    {"x^2", ""}, {"x^3-3*x", ""},     {"sin(x)", ""},   {"cos(x)*3", ""},     {"sqrt(x)", ""},
    {"1/x", ""}, {"exp(-x^2)*5", ""}, {"abs(x)-2", ""}, {"2*x+1", "x >= -2"}, {"tan(x)", ""},
};

constexpr int kPlane = 1000;
double g_graphNs = 0, g_sweepNs = 0, g_wideGraphNs = 0, g_wideSweepNs = 0, g_fullGraphNs = 0, g_fullSweepNs = 0;
double g_longestDelayMs = 0, g_fullConnectedNs = 0, g_fullConnectedGraphNs = 0;
constexpr std::int16_t kWide = 1000;
// -32768..32767: 655 million samples for the ten equations.
constexpr std::int16_t kFull = 32767;

cn::GraphDescription TenEquations(bool connect) {
  cn::GraphDescription graph;
  graph.plotted = true;
  graph.connectSamples = connect;
  std::uint32_t color = 0x202020;
  for (const Row& row : kRows) graph.equations.push_back({row.expression, row.condition, color += 0x151515});
  return graph;
}

// state.range(0): the window's xmax (xmin is its negative); state.range(1):
// connected samples (1) or dots (0).
void BM_GraphCommand(benchmark::State& state) {
  ScriptedHost host;  // answers like a user who cancels: no dialog ever opens
  cn::frmMain window(host);
  window.findChild<QAction*>("mnuConnect")->setChecked(state.range(1) != 0);
  window.Surface()->resize(kPlane, kPlane);
  const QString bound = QString::number(state.range(0));
  // The full window runs from -32768, one further than its xmax.
  window.findChild<QLineEdit*>("txtXMin")->setText(QString::number(state.range(0) == kFull ? -32768 : -state.range(0)));
  window.findChild<QLineEdit*>("txtXMax")->setText(bound);
  std::uint32_t color = 0x202020;
  for (const Row& row : kRows) window.AppendEquation(row.expression, row.condition, color += 0x151515);
  WaitIdle(window);  // the plane drawn at the start and at its new size
  if (window.Surface()->Image().width() != kPlane) state.SkipWithError("the plane did not take the size");
  // The Graph runs on worker threads while the window's thread stays free: a
  // timer every 10 ms tells how long the window ever waited for its turn.
  QTimer ticker;
  QElapsedTimer sinceTick;
  qint64 longest = 0;
  QObject::connect(&ticker, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
  for (auto _ : state) {
    sinceTick.start();
    ticker.start(10);
    window.mnuGraph_Click();
    WaitIdle(window);
    ticker.stop();
  }
  if (state.range(0) == kFull && state.range(1) == 0) g_longestDelayMs = static_cast<double>(longest);
  if (window.Window().xmax != state.range(0)) state.SkipWithError("the window did not take the bounds");
}

// state.range(0): connected samples (1) or dots (0); state.range(1): the
// window's xmax as above (10 when not given).
void BM_DrawGraph(benchmark::State& state) {
  cn::GraphDescription graph = TenEquations(state.range(0) != 0);
  const auto xmax = static_cast<std::int16_t>(state.range(1));
  graph.window.xmin = static_cast<std::int16_t>(xmax == kFull ? -32768 : -xmax);
  graph.window.xmax = xmax;
  QImage image(kPlane, kPlane, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    cn::DrawGraph(painter, image.size(), graph);
  }
  state.SetLabel(state.range(0) ? "connected samples" : "dots");
}

void BM_EngineSweeps(benchmark::State& state) {
  const auto xmax = static_cast<std::int16_t>(state.range(0));
  cn::clsExprParser parser;
  double sum = 0;
  for (auto _ : state) {
    const auto xmin = static_cast<std::int16_t>(xmax == kFull ? -32768 : -xmax);
    cn::SweepProgress progress = cn::MakeSweepProgress(xmin, xmax);
    for (const Row& row : kRows)
      cn::PlotEquation(parser, row.expression, cn::ParseCondition(row.condition), xmin, xmax, progress, nullptr,
                       [&sum](float, float y) { sum += y; });
    benchmark::DoNotOptimize(sum);
  }
}

class Capture : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions, the median stands for the runs.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const double ns = run.GetAdjustedRealTime();  // in the run's time unit (ns by default)
      const std::string name = run.benchmark_name();
      const bool wide = name.find("/" + std::to_string(kWide)) != std::string::npos;
      const bool full = name.find("/" + std::to_string(kFull)) != std::string::npos;
      if (name.find("GraphCommand/" + std::to_string(kFull) + "/1") != std::string::npos)
        g_fullConnectedGraphNs = ns;
      else if (name.find("GraphCommand") != std::string::npos)
        (full ? g_fullGraphNs : wide ? g_wideGraphNs : g_graphNs) = ns;
      if (name.find("DrawGraph/1/" + std::to_string(kFull)) != std::string::npos) g_fullConnectedNs = ns;
      if (name.find("EngineSweeps") != std::string::npos)
        (full ? g_fullSweepNs : wide ? g_wideSweepNs : g_sweepNs) = ns;
    }
  }
};

}  // namespace

BENCHMARK(BM_GraphCommand)->Args({10, 0})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DrawGraph)->Args({0, 10})->Args({1, 10})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineSweeps)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
// A few hundred milliseconds a run: a couple of runs tell the time.
BENCHMARK(BM_GraphCommand)->Args({kWide, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_EngineSweeps)->Arg(kWide)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
// Seconds a run: one tells the time.
BENCHMARK(BM_GraphCommand)->Args({kFull, 0})->Args({kFull, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_EngineSweeps)->Arg(kFull)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DrawGraph)->Args({1, kFull})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Capture reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (g_graphNs > 0 && g_sweepNs > 0)
    std::printf("graph command (1000 x 1000 plane) %.1f ms, engine sweeps alone %.1f ms, ratio graph/engine: %.2f\n",
                g_graphNs, g_sweepNs, g_graphNs / g_sweepNs);
  if (g_wideGraphNs > 0 && g_wideSweepNs > 0)
    std::printf(
        "graph command, ten equations on -1000..1000 (20 million samples) %.1f ms, engine sweeps alone %.1f ms, "
        "ratio graph/engine: %.2f\n",
        g_wideGraphNs, g_wideSweepNs, g_wideGraphNs / g_wideSweepNs);
  if (g_fullGraphNs > 0 && g_fullSweepNs > 0) {
    std::printf(
        "graph command, ten equations on the full window -32768..32767: %.1f s, engine sweeps alone on one core: "
        "%.1f s, ratio graph/engine: %.2f\n",
        g_fullGraphNs / 1000, g_fullSweepNs / 1000, g_fullGraphNs / g_fullSweepNs);
    std::printf("longest event delay while graphing the full window: %.0f ms\n", g_longestDelayMs);
  }
  if (g_fullConnectedNs > 0 && g_fullSweepNs > 0)
    std::printf(
        "graph command, connected samples, ten equations on the full window: drawing %.1f s, engine sweeps alone on "
        "one core: %.1f s, ratio drawing/engine: %.2f\n",
        g_fullConnectedNs / 1000, g_fullSweepNs / 1000, g_fullConnectedNs / g_fullSweepNs);
  if (g_fullConnectedGraphNs > 0 && g_fullSweepNs > 0)
    std::printf(
        "graph command, connect samples, ten equations on the full window -32768..32767: %.1f s, engine sweeps alone "
        "on one core: %.1f s, ratio graph/engine: %.2f\n",
        g_fullConnectedGraphNs / 1000, g_fullSweepNs / 1000, g_fullConnectedGraphNs / g_fullSweepNs);
  return 0;
}
