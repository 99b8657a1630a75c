// Least-squares polynomial fit y = C0 + C1 x + ... + Cd x^d over points added
// one at a time. Only running power sums are kept, never the points; the
// coefficients are solved on demand from the normal equations. No Qt here.
#pragma once

#include <array>
#include <stdexcept>
#include <string>

namespace cn {

// A numbered failure raised to the caller: 6000 for a degree out of range,
// 6 when adding a point overflows the sums.
class RegressionError : public std::runtime_error {
 public:
  RegressionError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int Number() const { return number_; }
  const char* Source() const { return "RegressionObject"; }
  std::string Description() const { return what(); }

 private:
  int number_;
};

class RegressionObject {
 public:
  static constexpr int MaxDegree = 25;
  static constexpr int kInvalidDegree = 6000;
  static constexpr int kOverflow = 6;

  RegressionObject();

  // Forgets every point and coefficient; keeps the degree.
  void Init();

  // The coefficient of x^|Exponent|; 0 above the effective order.
  double Coeff(int Exponent);

  int Degree() const { return degree_; }
  // 0..25 runs Init and stores the degree; anything else throws
  // RegressionError 6000 and changes nothing.
  void Degree(int NewVal);

  // The number of points added since the last Init.
  int XYCount() const;

  // Throws RegressionError 6 (and adds nothing) when a sum would stop being
  // finite, which takes a huge x at a high degree or a non-finite value.
  void XYAdd(double NewX, double NewY);

  // The fitted polynomial at X; 0 with no points.
  double RegVal(double X);

 private:
  static constexpr int kSums = 2 * MaxDegree + 1;

  // The requested degree limited by the data: count - 1 with too few points,
  // -1 with none.
  int EffectiveOrder() const;
  void SolveFit();
  void FillNormalMatrix(int n);
  bool EliminateAndSubstitute(int n);
  void RefillRightSide(int n);

  int degree_ = 2;
  std::array<double, kSums> powerSums_{};
  std::array<double, MaxDegree + 1> crossSums_{};
  std::array<std::array<double, MaxDegree + 2>, MaxDegree + 1> normalMatrix_{};
  std::array<double, MaxDegree + 1> coefficients_{};
  bool solved_ = false;
};

}  // namespace cn
