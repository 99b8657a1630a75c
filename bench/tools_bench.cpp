// The longest analysis sweeps: the intersection search at High and Get X at
// High on the default window, each against a plain C++ loop that does the
// same single-precision sweep with the functions written by hand, and both
// searches on wide windows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "analysis/sweeps.h"
#include "analysis/tools.h"

namespace {

std::map<std::string, double> g_ms;

float Round3(float v) { return static_cast<float>(std::nearbyint(static_cast<double>(v) * 1000) / 1000); }

void BM_IntersectHigh(benchmark::State& state) {
  std::size_t found = 0;
  for (auto _ : state) {
    found = cn::FindIntersections("x^2", "x+2", -10, 10, cn::IntersectLevel::kHigh, nullptr).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["points"] = static_cast<double>(found);
}

void BM_IntersectHighPlainLoop(benchmark::State& state) {
  std::size_t found = 0;
  for (auto _ : state) {
    std::vector<std::pair<float, float>> points;
    cn::SingleSweep sweep(-10, 10, 0.000001f);
    for (float x = 0; sweep.Next(x);) {
      const double xd = x;
      const float f1 = static_cast<float>(xd * xd);
      const double f2 = xd + 2;
      const float lower = static_cast<float>(f2 - 0.000005);
      const float upper = static_cast<float>(lower + 0.00001);
      if (lower <= f1 && f1 <= upper) {
        const std::pair<float, float> pt{Round3(x), Round3(f1)};
        if (points.empty() || points.back() != pt) points.push_back(pt);
      }
    }
    found = points.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["points"] = static_cast<double>(found);
}

void BM_GetXHigh(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(cn::SolveForX("x^2", 4, -10, 10, true, nullptr));
}

void BM_GetXHighPlainLoop(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<float> found;
    const float lower = static_cast<float>(4 - 0.0005);
    const float upper = static_cast<float>(lower + 0.001);
    cn::SingleSweep sweep(-10, 10, 0.0001f);
    for (float x = 0; sweep.Next(x);) {
      const double xd = x;
      const float y = static_cast<float>(xd * xd);
      if (lower <= y && y <= upper) {
        const float r = Round3(x);
        if (found.empty() || found.back() != r) found.push_back(r);
      }
    }
    benchmark::DoNotOptimize(found);
  }
}

// The widest sweeps: past |x| = 2048 (Get X) and 32 (intersections) the step
// no longer moves a single, so the sweeps go on by whole singles.
void BM_GetXHighWide(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(cn::SolveForX("x^2", 4, -4000, 4000, true, nullptr));
}

void BM_IntersectHighWide(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(cn::FindIntersections("x^2", "x+2", -100, 100, cn::IntersectLevel::kHigh, nullptr));
  }
}

class Capture : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) g_ms[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
};

}  // namespace

BENCHMARK(BM_IntersectHigh)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IntersectHighPlainLoop)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GetXHigh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetXHighPlainLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetXHighWide)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_IntersectHighWide)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Capture reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto ratio = [](const char* name, const char* ours, const char* plain) {
    const auto a = g_ms.find(ours), b = g_ms.find(plain);
    if (a == g_ms.end() || b == g_ms.end() || b->second <= 0) return;
    std::printf("%s: %.1f ms, plain C++ loop %.1f ms, ratio %.2f\n", name, a->second, b->second, a->second / b->second);
  };
  ratio("intersections at High (x^2, x+2, default window)", "BM_IntersectHigh/iterations:3",
        "BM_IntersectHighPlainLoop/iterations:3");
  ratio("Get X at High (x^2 = 4, default window)", "BM_GetXHigh", "BM_GetXHighPlainLoop");
  const auto single = [](const char* name, const char* run) {
    const auto a = g_ms.find(run);
    if (a != g_ms.end()) std::printf("%s: %.1f ms\n", name, a->second);
  };
  single("Get X at High (x^2 = 4, -4000 to 4000)", "BM_GetXHighWide/iterations:2");
  single("intersections at High (x^2, x+2, -100 to 100)", "BM_IntersectHighWide/iterations:2");
  return 0;
}
