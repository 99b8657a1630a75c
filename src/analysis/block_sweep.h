// The positions of a sweep taken a block at a time, so that an expression is
// evaluated for the whole block in one call (clsExprParser::EvalBlock) and
// the caller then walks the results in sweep order: the dispatch of the
// engine is paid once per block instead of once per sample.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>

#include "analysis/sweeps.h"
#include "engine/cls_expr_parser.h"

namespace cn {

// True when the compiled expression draws random numbers: its values then
// depend on the order in which samples (and other expressions) are evaluated.
bool DrawsRandom(const clsExprParser& parser);

class BlockSweep {
 public:
  static constexpr std::size_t kSize = 256;
  // Where a position is evaluated (the tools that read x to 3 decimals);
  // nullptr: at the position itself.
  using Place = double (*)(float x);

  // `blockSize` (1..kSize) positions per block; `limit` caps the number of
  // positions taken from the sweep.
  explicit BlockSweep(SingleSweep sweep, std::size_t blockSize = kSize, Place place = nullptr,
                      std::size_t limit = std::numeric_limits<std::size_t>::max())
      : sweep_(sweep),
        blockSize_(blockSize < 1       ? 1
                   : blockSize > kSize ? kSize
                                       : blockSize),
        left_(limit),
        place_(place) {}

  // The block size that keeps an expression's values what a sample-by-sample
  // sweep gives: one where random draws must stay in sample order.
  static std::size_t SizeFor(const clsExprParser& parser) { return DrawsRandom(parser) ? 1 : kSize; }

  // Takes the next block of positions; false when the sweep has none left.
  bool Next() {
    // The sweep's state lives in registers while the block fills: kept in
    // the object, every step would wait on a store and a load of x.
    SingleSweep sweep = sweep_;
    const std::size_t want = blockSize_ < left_ ? blockSize_ : left_;
    std::size_t n = 0;
    for (float x = 0; n < want && sweep.Next(x); ++n) x_[n] = x;
    sweep_ = sweep;
    left_ -= n;
    n_ = n;
    if (place_) {
      for (std::size_t i = 0; i < n; ++i) at_[i] = place_(x_[i]);
    } else {
      for (std::size_t i = 0; i < n; ++i) at_[i] = x_[i];
    }
    return n > 0;
  }
  std::size_t Size() const { return n_; }
  float X(std::size_t i) const { return x_[i]; }
  // Where sample i is evaluated.
  double At(std::size_t i) const { return at_[i]; }
  const double* At() const { return at_.data(); }

 private:
  SingleSweep sweep_;
  std::size_t blockSize_, left_;
  Place place_;
  std::size_t n_ = 0;
  std::array<float, kSize> x_;
  std::array<double, kSize> at_;
};

// One expression's values over a block: y[i] and failed[i] are what Eval1
// gives and whether it failed at the block's sample i.
struct BlockValues {
  std::array<double, BlockSweep::kSize> y;
  std::array<std::uint8_t, BlockSweep::kSize> failed;
  void Evaluate(clsExprParser& parser, const BlockSweep& block) {
    parser.EvalBlock(block.At(), y.data(), failed.data(), block.Size());
  }
};

// The sweep of one plotted equation, whose expression the parser holds:
// calls visit(x, y, ok) for every sample in sweep order (ok: it evaluates and
// passes the condition; y is then its value) and moves the bar as x
// advances. At every step of the bar `cancelled` (when given) is asked; true
// stops the sweep there and returns false.
template <class Visit>
bool SweepEquation(clsExprParser& parser, const Condition& condition, std::int16_t xmin, std::int16_t xmax,
                   SweepProgress& progress, Progress* bar, const std::function<bool()>& cancelled, Visit&& visit) {
  progress.Restart(bar);
  const bool evaluate = parser.Compiled() && condition.op != Condition::Op::kNever;
  BlockSweep blocks(SingleSweep(xmin, xmax, kPlotStep), evaluate ? BlockSweep::SizeFor(parser) : BlockSweep::kSize);
  BlockValues values;
  while (blocks.Next()) {
    if (evaluate) values.Evaluate(parser, blocks);
    for (std::size_t i = 0; i < blocks.Size(); ++i) {
      const float x = blocks.X(i);
      const bool ok = evaluate && !values.failed[i] && condition.Holds(x);
      visit(x, ok ? static_cast<float>(values.y[i]) : 0.0f, ok);
      if (progress.Reach(x, bar) && cancelled && cancelled()) return false;
    }
  }
  return !(progress.Finish(bar) && cancelled && cancelled());
}

}  // namespace cn
