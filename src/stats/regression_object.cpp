#include "stats/regression_object.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace cn {
namespace {

// A pivot this small against the largest entry its row had is rounding
// noise left of an exact zero: the data cannot tell that power apart from the
// lower ones (all x equal, or fewer distinct x than the order needs).
constexpr double kPivotTolerance = 64 * std::numeric_limits<double>::epsilon();

}  // namespace

RegressionObject::RegressionObject() { Init(); }

void RegressionObject::Init() {
  powerSums_.fill(0.0);
  crossSums_.fill(0.0);
  coefficients_.fill(0.0);
  solved_ = false;
}

void RegressionObject::Degree(int NewVal) {
  if (NewVal < 0 || NewVal > MaxDegree) {
    throw RegressionError(kInvalidDegree, std::to_string(NewVal) +
                                              " is an invalid property value! Use 0<= Degree <= " +
                                              std::to_string(MaxDegree));
  }
  Init();
  degree_ = NewVal;
}

int RegressionObject::XYCount() const { return static_cast<int>(std::lround(powerSums_[0])); }

void RegressionObject::XYAdd(double NewX, double NewY) {
  solved_ = false;
  // The sums are updated on copies so that an overflow leaves them as they were.
  std::array<double, kSums> powers = powerSums_;
  std::array<double, MaxDegree + 1> cross = crossSums_;
  bool finite = std::isfinite(NewX) && std::isfinite(NewY);
  powers[0] += 1;
  cross[0] += NewY;
  finite = finite && std::isfinite(cross[0]);
  double t = 1;
  for (int k = 1; k <= degree_ && finite; ++k) {
    t *= NewX;
    powers[k] += t;
    cross[k] += NewY * t;
    finite = std::isfinite(t) && std::isfinite(powers[k]) && std::isfinite(cross[k]);
  }
  for (int k = degree_ + 1; k <= 2 * degree_ && finite; ++k) {
    t *= NewX;
    powers[k] += t;
    finite = std::isfinite(t) && std::isfinite(powers[k]);
  }
  if (!finite) throw RegressionError(kOverflow, "Overflow");
  powerSums_ = powers;
  crossSums_ = cross;
}

int RegressionObject::EffectiveOrder() const {
  const int count = XYCount();
  return degree_ >= count ? count - 1 : degree_;
}

double RegressionObject::Coeff(int Exponent) {
  if (!solved_) SolveFit();
  const int e = std::abs(Exponent);
  if (e > EffectiveOrder()) return 0;
  return coefficients_[e];
}

double RegressionObject::RegVal(double X) {
  if (!solved_) SolveFit();
  const int n = EffectiveOrder();
  double sum = 0;
  double power = 1;
  for (int i = 0; i <= n; ++i) {
    sum += coefficients_[i] * power;
    power *= X;
  }
  if (!std::isfinite(sum)) throw RegressionError(kOverflow, "Overflow");
  return sum;
}

// A system that cannot be solved (a zero or vanishing pivot, or an overflow
// inside the elimination) never reaches the caller: the fit falls back to the
// next lower order, whose higher coefficients are 0, down to order 0, which
// always solves (its pivot is the point count, its answer the mean of y).
// Should even that fail, every coefficient is 0. The result is therefore
// always finite and the best polynomial the data can carry.
void RegressionObject::SolveFit() {
  const int n = EffectiveOrder();
  if (n < 0) return;
  for (int order = n; order >= 0; --order) {
    FillNormalMatrix(order);
    if (EliminateAndSubstitute(order)) {
      std::fill(coefficients_.begin() + order + 1, coefficients_.end(), 0.0);
      solved_ = true;
      return;
    }
  }
  coefficients_.fill(0.0);
  solved_ = true;
}

void RegressionObject::FillNormalMatrix(int n) {
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= n; ++j) normalMatrix_[i][j] = powerSums_[i + j];
  }
  RefillRightSide(n);
}

void RegressionObject::RefillRightSide(int n) {
  for (int i = 0; i <= n; ++i) normalMatrix_[i][n + 1] = crossSums_[i];
}

// Gaussian elimination with partial pivoting (ties keep the upper row), then
// back-substitution into the coefficients. False when a pivot vanishes or a
// result is not finite; the coefficients are then not to be trusted.
bool RegressionObject::EliminateAndSubstitute(int n) {
  auto& m = normalMatrix_;
  // Each row's largest entry before elimination travels with the row.
  std::array<double, MaxDegree + 1> rowScale{};
  for (int j = 0; j <= n; ++j) {
    for (int k = 0; k <= n; ++k) rowScale[j] = std::max(rowScale[j], std::fabs(m[j][k]));
  }
  for (int i = 0; i <= n; ++i) {
    int pivot = i;
    double best = std::fabs(m[i][i]);
    for (int j = i + 1; j <= n; ++j) {
      if (std::fabs(m[j][i]) > best) {
        best = std::fabs(m[j][i]);
        pivot = j;
      }
    }
    if (!(best > kPivotTolerance * rowScale[pivot])) return false;
    if (pivot > i) {
      for (int k = i; k <= n + 1; ++k) std::swap(m[i][k], m[pivot][k]);
      std::swap(rowScale[i], rowScale[pivot]);
    }
    for (int j = i + 1; j <= n; ++j) {
      const double factor = m[j][i] / m[i][i];
      if (!std::isfinite(factor)) return false;
      m[j][i] = 0;
      for (int k = i + 1; k <= n + 1; ++k) {
        m[j][k] -= m[i][k] * factor;
        if (!std::isfinite(m[j][k])) return false;
      }
    }
  }
  for (int j = n; j >= 0; --j) {
    double s = m[j][n + 1];
    for (int k = j + 1; k <= n; ++k) s -= m[j][k] * coefficients_[k];
    const double c = s / m[j][j];
    if (!std::isfinite(c)) return false;
    coefficients_[j] = c;
  }
  return true;
}

}  // namespace cn
