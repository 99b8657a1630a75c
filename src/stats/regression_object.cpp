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
  shifted_.fill(0.0);
  shift_ = 0;
  distinctCount_ = 0;
  solved_ = false;
}

void RegressionObject::Degree(int NewVal) {
  if (NewVal < 0 || NewVal > MaxDegree) {
    throw RegressionError(kInvalidDegree, std::to_string(NewVal) + " is an invalid property value! Use 0<= Degree <= " +
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
  const double shift = powerSums_[0] == 0 ? NewX : shift_;
  const double u = NewX - shift;
  finite = finite && std::isfinite(u);
  powers[0] += 1;
  cross[0] += NewY;
  finite = finite && std::isfinite(cross[0]);
  double t = 1;
  for (int k = 1; k <= degree_ && finite; ++k) {
    t *= u;
    powers[k] += t;
    cross[k] += NewY * t;
    finite = std::isfinite(t) && std::isfinite(powers[k]) && std::isfinite(cross[k]);
  }
  for (int k = degree_ + 1; k <= 2 * degree_ && finite; ++k) {
    t *= u;
    powers[k] += t;
    finite = std::isfinite(t) && std::isfinite(powers[k]);
  }
  if (!finite) throw RegressionError(kOverflow, "Overflow");
  powerSums_ = powers;
  crossSums_ = cross;
  shift_ = shift;
  if (distinctCount_ < MaxDegree + 1 &&
      std::find(distinctX_.begin(), distinctX_.begin() + distinctCount_, NewX) == distinctX_.begin() + distinctCount_) {
    distinctX_[distinctCount_++] = NewX;
  }
}

int RegressionObject::EffectiveOrder() const {
  if (XYCount() == 0) return -1;
  return std::min(degree_, distinctCount_ - 1);
}

double RegressionObject::Coeff(int Exponent) {
  if (!solved_) SolveFit();
  const int e = std::abs(Exponent);
  if (e > EffectiveOrder()) return 0;
  return coefficients_[e];
}

// Evaluated in powers of X - shift - centre, as solved: the expanded coefficients of
// offset data are large and cancel each other.
double RegressionObject::RegVal(double X) {
  if (!solved_) SolveFit();
  const int n = EffectiveOrder();
  const double u = (X - shift_) - centre_;
  double sum = 0;
  for (int i = n; i >= 0; --i) sum = sum * u + shifted_[i];
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
  CentreSums(n);
  for (int order = n; order >= 0; --order) {
    FillNormalMatrix(order);
    if (EliminateAndSubstitute(order) && ExpandAboutShift(order)) {
      std::fill(shifted_.begin() + order + 1, shifted_.end(), 0.0);
      std::fill(coefficients_.begin() + order + 1, coefficients_.end(), 0.0);
      solved_ = true;
      return;
    }
  }
  shifted_.fill(0.0);
  coefficients_.fill(0.0);
  solved_ = true;
}

// The first point's x only removes the offset; powers of x - shift all of one
// sign are still much alike (monomials on 0..1 against -1..1). Taken once
// more about the mean, the sums follow by the binomial theorem from the ones
// kept, S'_k = sum over j of C(k, j) (-m)^(k - j) S_j, and the system is far
// better conditioned. Should that overflow, the sums are used as kept.
void RegressionObject::CentreSums(int n) {
  centred_ = powerSums_;
  centredCross_ = crossSums_;
  centre_ = 0;
  const double m = powerSums_[0] > 0 ? powerSums_[1] / powerSums_[0] : 0;
  if (n < 1 || m == 0 || !std::isfinite(m)) return;
  std::array<double, kSums> power{};
  std::array<double, MaxDegree + 1> cross{};
  // Row k of Pascal's triangle times powers of -m, built up row by row.
  std::array<double, kSums> row{};
  row[0] = 1;
  for (int k = 0; k <= 2 * n; ++k) {
    if (k > 0) {
      for (int j = k; j >= 1; --j) row[j] = row[j - 1] + (-m) * row[j];
      row[0] *= -m;
    }
    double p = 0, c = 0;
    for (int j = 0; j <= k; ++j) {
      p += row[j] * powerSums_[j];
      if (k <= n) c += row[j] * crossSums_[j];
    }
    if (!std::isfinite(p) || !std::isfinite(c)) return;
    power[k] = p;
    if (k <= n) cross[k] = c;
  }
  // Exactly: the count stays, the first moment about the mean vanishes.
  power[0] = powerSums_[0];
  power[1] = 0;
  centred_ = power;
  centredCross_ = cross;
  centre_ = m;
}

// p(x) = sum of b_k (x - s)^k, so the coefficient of x^j is the sum over
// k >= j of b_k C(k, j) (-s)^(k - j): Horner's scheme in the shift, one
// synthetic multiplication by (x - s) per coefficient.
bool RegressionObject::ExpandAboutShift(int n) {
  const double s = shift_ + centre_;
  std::array<double, MaxDegree + 1> c{};
  for (int k = n; k >= 0; --k) {
    // c := c * (x - s) + b_k
    for (int j = n - k; j >= 1; --j) c[j] = c[j - 1] - s * c[j];
    c[0] = -s * c[0] + shifted_[k];
  }
  for (int j = 0; j <= n; ++j) {
    if (!std::isfinite(c[j])) return false;
    coefficients_[j] = c[j];
  }
  return true;
}

void RegressionObject::FillNormalMatrix(int n) {
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= n; ++j) normalMatrix_[i][j] = centred_[i + j];
  }
  RefillRightSide(n);
}

void RegressionObject::RefillRightSide(int n) {
  for (int i = 0; i <= n; ++i) normalMatrix_[i][n + 1] = centredCross_[i];
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
    for (int k = j + 1; k <= n; ++k) s -= m[j][k] * shifted_[k];
    const double c = s / m[j][j];
    if (!std::isfinite(c)) return false;
    shifted_[j] = c;
  }
  return true;
}

}  // namespace cn
