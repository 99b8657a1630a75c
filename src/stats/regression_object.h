// Least-squares polynomial fit y = C0 + C1 x + ... + Cd x^d over points added
// one at a time. Only running power sums are kept, never the points; the
// coefficients are solved on demand from the normal equations. No Qt here.
//
// The sums are taken about a shift, the first point's x: raw powers of data
// far from 0 (years, say) are so alike that the normal equations lose the
// fit's digits, while powers of x - shift stay small. The solution in
// x - shift is expanded back into the coefficients of x.
#pragma once

#include <array>
#include <stdexcept>
#include <string>

namespace cn {

// A numbered failure raised to the caller: 6000 for a degree out of range,
// 6 when adding a point overflows the sums.
class RegressionError : public std::runtime_error {
 public:
  RegressionError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
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

  // The requested degree limited by the data: one less than the number of
  // distinct x (a polynomial of that order goes through them all), -1 with
  // no points.
  int EffectiveOrder() const;
  // Expands the solution in x - shift into coefficients of x; false when one
  // is not finite.
  bool ExpandAboutShift(int n);
  void SolveFit();
  void FillNormalMatrix(int n);
  bool EliminateAndSubstitute(int n);
  void RefillRightSide(int n);

  int degree_ = 2;
  std::array<double, kSums> powerSums_{};
  std::array<double, MaxDegree + 1> crossSums_{};
  std::array<std::array<double, MaxDegree + 2>, MaxDegree + 1> normalMatrix_{};
  std::array<double, MaxDegree + 1> coefficients_{};
  void CentreSums(int n);

  // The solution in powers of x - shift_ - centre_.
  std::array<double, MaxDegree + 1> shifted_{};
  double shift_ = 0;
  // The sums once more about their mean, as the normal equations use them.
  std::array<double, kSums> centred_{};
  std::array<double, MaxDegree + 1> centredCross_{};
  double centre_ = 0;
  // The first distinct x values, as many as the highest degree can use: the
  // order the data determines needs no more.
  std::array<double, MaxDegree + 1> distinctX_{};
  int distinctCount_ = 0;
  bool solved_ = false;
};

}  // namespace cn
