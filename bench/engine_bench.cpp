// Times the engine's Eval1 against muparser on the same expressions and the
// same x values, in one run, and prints the ratio per expression and their
// geometric mean. muparser is the yardstick only; the program never links it.
// It also times EvalBlock against the same expressions written by hand in
// C++ (the physical limit), each producing the same outputs: the values and
// which samples failed.
//
// Each benchmark iteration evaluates one sweep of x over [-10, 10) in steps
// of 0.02 (1000 samples), the way a plot or a table calls the engine. After
// every Eval1 it reads ErrorID, as every real caller does.

#include <benchmark/benchmark.h>
#include <muParser.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/cls_expr_parser.h"

namespace {

const std::vector<std::string> kExpressions = {
    "x^2+3*x-1",       "sin(x)*exp(-x/5)", "(x>0)*sqrt(x)",
    "max(sin(x),2,3)", "1/(x^2-1)",        "sqrt(x^2-4)",
    "abs(x)+cos(x)^2", "x*x*x-3*x+2",      "((x+1)*(x-1)+(x+2)*(x-2))/(1+x^2)+sin(x/3)",
};

// The expressions above in plain C++, in the same order.
const std::vector<std::function<void(const double*, double*, std::uint8_t*, int)>> kNative = {
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = x[i] * x[i] + 3 * x[i] - 1;
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = std::sin(x[i]) * std::exp(-x[i] / 5);
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = x[i] > 0 ? std::sqrt(x[i]) : 0.0;
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = std::max(std::max(std::sin(x[i]), 2.0), 3.0);
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = 1 / (x[i] * x[i] - 1);
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = std::sqrt(x[i] * x[i] - 4);
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double c = std::cos(x[i]);
        const double v = std::fabs(x[i]) + c * c;
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double v = x[i] * x[i] * x[i] - 3 * x[i] + 2;
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
    [](const double* x, double* y, std::uint8_t* f, int n) {
      for (int i = 0; i < n; ++i) {
        const double a = x[i];
        const double v = ((a + 1) * (a - 1) + (a + 2) * (a - 2)) / (1 + a * a) + std::sin(a / 3);
        const bool bad = !std::isfinite(v);
        f[i] = bad;
        y[i] = bad ? 0 : v;
      }
    },
};

constexpr int kSamples = 1000;

const std::vector<double>& Xs() {
  static const std::vector<double> xs = [] {
    std::vector<double> v(kSamples);
    for (int i = 0; i < kSamples; ++i) v[i] = -10.0 + 0.02 * i;
    return v;
  }();
  return xs;
}

// What happened to one expression outside the timed loop.
struct Check {
  bool compiled = false;
  int failedSamples = 0;
  std::string firstError;
};

std::map<std::string, Check> g_oursCheck;
std::map<std::string, std::string> g_muError;  // expression -> why muparser refused it

void ReportPerEval(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kSamples);
  // The inverse of a rate is seconds per item, printed as e.g. "16.5ns".
  state.counters["time_per_eval"] =
      benchmark::Counter(kSamples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Ours(benchmark::State& state, const std::string& expr) {
  cn::clsExprParser parser;
  Check check;
  check.compiled = parser.StoreExpression(expr);
  if (!check.compiled) check.firstError = parser.ErrorDescription();
  for (double x : Xs()) {
    parser.Eval1(x);
    if (parser.ErrorID() != 0) {
      if (check.failedSamples++ == 0 && check.compiled) {
        check.firstError = "ErrorID " + std::to_string(parser.ErrorID()) + ": " + parser.ErrorDescription();
      }
    }
  }
  g_oursCheck[expr] = check;

  const std::vector<double>& xs = Xs();
  double sum = 0;
  int failures = 0;
  for (auto _ : state) {
    for (double x : xs) {
      const double y = parser.Eval1(x);
      if (parser.ErrorID() == 0) {
        sum += y;
      } else {
        ++failures;
      }
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(failures);
  }
  ReportPerEval(state);
}

void BM_Muparser(benchmark::State& state, const std::string& expr) {
  mu::Parser parser;
  double x = 0;
  try {
    parser.DefineVar("x", &x);
    parser.SetExpr(expr);
    parser.Eval();  // the first call parses; later ones run the byte code
  } catch (const mu::Parser::exception_type& e) {
    g_muError[expr] = e.GetMsg();
    state.SkipWithError("muparser refused the expression");
    return;
  }

  const std::vector<double>& xs = Xs();
  double sum = 0;
  for (auto _ : state) {
    for (double xi : xs) {
      x = xi;
      sum += parser.Eval();
    }
    benchmark::DoNotOptimize(sum);
  }
  ReportPerEval(state);
}

void BM_Block(benchmark::State& state, const std::string& expr) {
  cn::clsExprParser parser;
  parser.StoreExpression(expr);
  const std::vector<double>& xs = Xs();
  std::vector<double> y(kSamples);
  std::vector<std::uint8_t> failed(kSamples);
  for (auto _ : state) {
    const std::size_t failures = parser.EvalBlock(xs.data(), y.data(), failed.data(), kSamples);
    benchmark::DoNotOptimize(failures);
    benchmark::DoNotOptimize(y.data());
    benchmark::DoNotOptimize(failed.data());
    benchmark::ClobberMemory();
  }
  ReportPerEval(state);
}

void BM_Native(benchmark::State& state, std::size_t index) {
  const std::vector<double>& xs = Xs();
  std::vector<double> y(kSamples);
  std::vector<std::uint8_t> failed(kSamples);
  const auto& f = kNative[index];
  for (auto _ : state) {
    f(xs.data(), y.data(), failed.data(), kSamples);
    benchmark::DoNotOptimize(y.data());
    benchmark::DoNotOptimize(failed.data());
    benchmark::ClobberMemory();
  }
  ReportPerEval(state);
}

// Prints the usual console output and keeps ns per evaluation for the table.
class TableReporter : public benchmark::ConsoleReporter {
 public:
  // Colour only on a terminal, so CI logs stay readable.
  TableReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

  std::map<std::string, double> nsPerEval;  // benchmark name -> ns

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      // Of several repetitions the fastest counts: on a shared machine the
      // slower ones measure the neighbours.
      const double ns = run.cpu_accumulated_time / static_cast<double>(run.iterations) / kSamples * 1e9;
      const auto it = nsPerEval.find(run.benchmark_name());
      if (it == nsPerEval.end() || ns < it->second) nsPerEval[run.benchmark_name()] = ns;
    }
  }
};

std::string OursName(const std::string& expr) { return "ours/" + expr; }
std::string MuName(const std::string& expr) { return "muparser/" + expr; }
std::string BlockName(const std::string& expr) { return "block/" + expr; }
std::string NativeName(const std::string& expr) { return "native/" + expr; }

}  // namespace

int main(int argc, char** argv) {
  for (std::size_t i = 0; i < kExpressions.size(); ++i) {
    const std::string& expr = kExpressions[i];
    benchmark::RegisterBenchmark(OursName(expr).c_str(), BM_Ours, expr);
    benchmark::RegisterBenchmark(MuName(expr).c_str(), BM_Muparser, expr);
    benchmark::RegisterBenchmark(BlockName(expr).c_str(), BM_Block, expr);
    benchmark::RegisterBenchmark(NativeName(expr).c_str(), BM_Native, i);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-46s %10s %12s %8s\n", "expression", "ours ns", "muparser ns", "ratio");
  double logSum = 0;
  int ratioCount = 0;
  bool anyAlwaysFails = false;
  std::vector<std::string> notes;
  for (const std::string& expr : kExpressions) {
    const auto ours = reporter.nsPerEval.find(OursName(expr));
    const auto mu = reporter.nsPerEval.find(MuName(expr));
    if (ours == reporter.nsPerEval.end() && mu == reporter.nsPerEval.end()) continue;  // filtered out

    const auto check = g_oursCheck.find(expr);
    const bool alwaysFails = check != g_oursCheck.end() && check->second.failedSamples == kSamples;
    anyAlwaysFails = anyAlwaysFails || alwaysFails;
    if (check != g_oursCheck.end() && check->second.failedSamples > 0) {
      const Check& c = check->second;
      notes.push_back(expr + ": ours failed at " + std::to_string(c.failedSamples) + " of " + std::to_string(kSamples) +
                      " samples (" + c.firstError + ")");
    }
    const auto muError = g_muError.find(expr);
    if (muError != g_muError.end()) notes.push_back(expr + ": muparser refused it (" + muError->second + ")");

    char oursText[32] = "-";
    char muText[32] = "-";
    char ratioText[32] = "-";
    if (ours != reporter.nsPerEval.end()) std::snprintf(oursText, sizeof oursText, "%.2f", ours->second);
    if (mu != reporter.nsPerEval.end()) std::snprintf(muText, sizeof muText, "%.2f", mu->second);
    if (ours != reporter.nsPerEval.end() && mu != reporter.nsPerEval.end() && mu->second > 0) {
      const double ratio = ours->second / mu->second;
      std::snprintf(ratioText, sizeof ratioText, "%.2f%s", ratio, alwaysFails ? "*" : "");
      // An expression that never evaluates times only the failure path;
      // it would flatter the mean, so it stays out of it.
      if (!alwaysFails && ratio > 0) {
        logSum += std::log(ratio);
        ++ratioCount;
      }
    }
    std::printf("%-46s %10s %12s %8s\n", expr.c_str(), oursText, muText, ratioText);
  }
  for (const std::string& note : notes) std::printf("note: %s\n", note.c_str());
  if (anyAlwaysFails) std::printf("* ours failed at every sample: left out of the mean\n");
  if (ratioCount > 0) {
    std::printf("geometric mean ours/muparser: %.2f\n", std::exp(logSum / ratioCount));
  } else {
    std::printf("geometric mean ours/muparser: n/a\n");
  }

  // Block against hand-written C++. An expression failing at every sample
  // is left out here too.
  std::printf("\n%-46s %10s %12s %8s\n", "expression", "block ns", "native ns", "ratio");
  double blockLogSum = 0;
  int blockCount = 0;
  for (const std::string& expr : kExpressions) {
    const auto block = reporter.nsPerEval.find(BlockName(expr));
    const auto native = reporter.nsPerEval.find(NativeName(expr));
    if (block == reporter.nsPerEval.end() || native == reporter.nsPerEval.end()) continue;
    const auto check = g_oursCheck.find(expr);
    const bool alwaysFails = check != g_oursCheck.end() && check->second.failedSamples == kSamples;
    const double ratio = native->second > 0 ? block->second / native->second : 0;
    std::printf("%-46s %10.2f %12.2f %7.2f%s\n", expr.c_str(), block->second, native->second, ratio,
                alwaysFails ? "*" : "");
    if (!alwaysFails && ratio > 0) {
      blockLogSum += std::log(ratio);
      ++blockCount;
    }
  }
  if (blockCount > 0) {
    std::printf("geometric mean block/native: %.2f\n", std::exp(blockLogSum / blockCount));
  } else {
    std::printf("geometric mean block/native: n/a\n");
  }
  std::fflush(stdout);
  return 0;
}
