#include "mathlib/bessel.h"

#include <cmath>
#include <algorithm>
#include <limits>
#include <vector>

#include "core/number_text.h"
#include "core/pi.h"
#include "mathlib/double_pair.h"
#include "mathlib/fp_guard.h"

namespace cn {
namespace {

constexpr double kTwoOverPi = 0.63661977236758;
constexpr double kEuler = 0.577215664901533;
constexpr double kEps = 1e-15;
constexpr double kHuge = 1e300;  // stands for infinity
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxOrder = 32767;  // the starting orders are 16-bit as well

// Where J0, J1, Y0, Y1 change method (see PairSeries01).
constexpr double kPairFrom = 0.5;
constexpr double kHankelFrom = 20;

// Hankel expansion of J and Y above x = kHankelFrom: P_v = 1 + sum of P[k-1] / x^2k,
// Q_v = c1 / x + sum of Q[k-1] / x^(2k+1), with the signs folded in.
constexpr double kP0[12] = {-0.0703125,         0.112152099609375, -0.5725014209747314, 6.074042001273483,
                            -110.0171402692467, 3038.090510922384, -118838.4262567833,  6252951.493434797,
                            -425939216.5047669, 36468400807.06556, -3833534661393.944,  485401468685290.1};
constexpr double kQ0[12] = {0.0732421875,      -0.2271080017089844, 1.727727502584457, -24.38052969955606,
                            551.3358961220206, -18257.75547429317,  832859.3040162893, -50069589.53198893,
                            3836255180.230434, -364901081884.9834,  42189715702840.96, -5827244631566907.0};
constexpr double kP1[12] = {0.1171875,         -0.144195556640625, 0.6765925884246826, -6.883914268109947,
                            121.5978918765359, -3302.272294480852, 127641.2726461746,  -6656367.718817687,
                            450278600.3050393, -38338575207.42789, 4011838599133.198,  -506056850331472.6};
constexpr double kQ1[12] = {-0.1025390625,      0.2775764465332031, -1.993531733751297, 27.24882731126854,
                            -603.8440767050702, 19718.37591223663,  -890297.8767070679, 53104110.10968522,
                            -4043620325.107754, 382701134659.8606,  -44064814178522.79, 6065091351222699.0};

// Asymptotic I0 and I1 above x = 37: e^x / sqrt(2 pi x) (1 + sum A[k-1] / x^k).
constexpr double kA0[12] = {
    0.125,           0.0703125,       0.0732421875,    0.11215209960938, 0.22710800170898, 0.57250142097473,
    1.7277275025845, 6.0740420012735, 24.380529699556, 110.01714026925,  551.33589612202,  3038.0905109224};
constexpr double kA1[12] = {-0.375,           -0.1171875,        -0.1025390625,    -0.14419555664063,
                            -0.2775764465332, -0.67659258842468, -1.9935317337513, -6.8839142681099,
                            -27.248827311269, -121.59789187654,  -603.84407670507, -3302.2722944809};

// 2x I0(x) K0(x) = 1 + sum kIK[k-1] / x^2k, for K0 above x = 9.
constexpr double kIK[8] = {0.125,           0.2109375,       1.0986328125,    11.775970458984,
                           214.61706161499, 5951.1522710323, 233476.45606175, 12312234.987631};

// lead + c[0] r + c[1] r^2 + ... + c[count-1] r^count, where r may be as
// small as it likes: powers that underflow only drop terms.
double PowerSum(double lead, const double* c, int count, double r) {
  double sum = lead, power = 1;
  for (int k = 0; k < count; ++k) {
    power *= r;
    sum += c[k] * power;
  }
  return sum;
}

// Sum of a series whose terms come from `next(k, previous term)`, starting
// from `first`; stops after `limit` terms or once a term is below eps of the
// sum.
template <class Next>
double Series(double first, int limit, Next next) {
  double term = first, sum = first;
  for (int k = 1; k <= limit; ++k) {
    term = next(k, term);
    sum += term;
    if (std::fabs(term) < std::fabs(sum) * kEps) break;
  }
  return sum;
}

struct KPair {
  double k, k1;  // K_mu(x), K_(mu+1)(x)
};

// K_mu and K_(mu+1) for x >= 2 and |mu| <= 1/2 by Temme's continued fraction
// (Steed's algorithm): accurate to rounding for every x there, and no
// overflow of I on the way.
KPair BesselKFraction(double mu, double x) {
  const double a1 = 0.25 - mu * mu;
  double b = 2 * (1 + x), d = 1 / b, delh = d, h = d;
  double q1 = 0, q2 = 1, q = a1, c = a1, a = -a1, s = 1 + q * delh;
  for (int i = 2; i <= 100000; ++i) {
    a -= 2 * (i - 1);
    c = -a * c / i;
    const double qn = (q1 - b * q2) / a;
    q1 = q2;
    q2 = qn;
    q += c * qn;
    b += 2;
    d = 1 / (b + a * d);
    delh = (b * d - 1) * delh;
    h += delh;
    const double dels = q * delh;
    s += dels;
    if (std::fabs(dels / s) < 1e-16) break;
  }
  const double k = std::sqrt(3.141592653589793 / (2 * x)) * std::exp(-x) / s;
  return {k, k * (mu + x + 0.5 - a1 * h) / x};
}

// f u + v, or infinity of its sign (set, not overflowed) past the largest
// double: Y and K grow with the order, and an order or derivative beyond the
// doubles must not fail the J or I, or a lower order, of the same call.
double MulAddOrInf(double f, double u, double v) {
  constexpr double kMax = std::numeric_limits<double>::max();
  if (!std::isfinite(u)) return f > 0 ? u : -u;
  const double af = std::fabs(f), au = std::fabs(u);
  const double sign = (f < 0) != (u < 0) ? -1.0 : 1.0;
  if (af > 1 ? au > kMax / af : false) return sign * kInf;
  const double p = f * u;
  if ((p < 0) == (v < 0) && std::fabs(v) > kMax - std::fabs(p)) return sign * kInf;
  return p + v;
}

// Y (sigma = -1) or K (sigma = +1) upward from orders 0 and 1:
// s_k = 2(k-1)/x s_(k-1) + sigma s_(k-2), s'_k = -sigma s_(k-1) - k/x s_k.
// Both grow with the order; from the first one beyond the doubles on, the
// rest stand at `mark` (infinity of their sign, set, not overflowed).
void UpwardOrInf(double x, double sigma, double mark, std::vector<double>& s, std::vector<double>& d, int nm) {
  constexpr double kMax = std::numeric_limits<double>::max();
  // Y's steps also in pairs of doubles while the values are moderate: next
  // to Y_n's zeros the rounding of thirty steps added up to 5e-16 of the
  // envelope (bessely(51.46,30)).
  Pair p2 = {s[0], 0}, p1 = {nm >= 1 ? s[1] : 0, 0};
  bool pairs = sigma < 0 && x >= 1;
  for (int k = 2; k <= nm; ++k) {
    const bool tiny = x < 1;  // where k/x itself may overflow
    if (std::isinf(s[k - 1]) || (tiny && 2.0 * (k - 1) > x * kMax)) {
      for (int i = k; i <= nm; ++i) s[i] = mark, d[i] = -mark;
      return;
    }
    s[k] = MulAddOrInf(2.0 * (k - 1) / x, s[k - 1], sigma * s[k - 2]);
    if (pairs) {
      const Pair next = Add(Mul(Div({2.0 * (k - 1), 0}, x), p1), Neg(p2));
      if (std::fabs(s[k]) < 1e290) {
        p2 = p1, p1 = next;
        s[k] = Value(next);
      } else {
        pairs = false;
      }
    }
    d[k] = std::isinf(s[k]) || (tiny && k > x * kMax) ? -mark : MulAddOrInf(-k / x, s[k], -sigma * s[k - 1]);
  }
}

// 1 + sum of t_k (or `first` + ...), t_k = t_(k-1) x^3 / ((3k) (3k + shift)),
// to a pair's precision.
Pair AirySeries(Pair first, Pair x3, int shift) {
  Pair term = first, sum = first;
  for (int k = 1; k <= 80; ++k) {
    term = Div(Mul(term, x3), (3.0 * k) * (3 * k + shift));
    sum = Add(sum, term);
    if (std::fabs(term.hi) < std::fabs(sum.hi) * 1e-33) break;
  }
  return sum;
}

// J0, J1, Y0 and Y1 by their power series summed in pairs of doubles: up to
// 20 the terms reach 1e7 before they cancel to the value (the plain series
// lost 3e-12 near 7, and 7e-14 next to the zeros below 4) and the Hankel
// expansion with twelve terms is still 3e-12 short at 12.
void PairSeries01(double x, BesselJYPoint& p) {
  const double xx = x * x;
  const Pair q = {0.25 * xx, 0.25 * std::fma(x, x, -xx)};  // x^2 / 4, exact
  Pair r0 = {1, 0}, r1 = {1, 0}, h = {0, 0};
  Pair j0 = r0, j1 = r1, s0 = {0, 0}, s1 = {1, 0};
  for (int k = 1; k <= 150; ++k) {
    r0 = Div(Mul(r0, q), -double(k) * k);
    r1 = Div(Mul(r1, q), -double(k) * (k + 1));
    h = Add(h, Div({1, 0}, k));
    j0 = Add(j0, r0);
    j1 = Add(j1, r1);
    s0 = Add(s0, Mul(r0, h));
    s1 = Add(s1, Mul(r1, Add(Add(h, h), Div({1, 0}, k + 1))));
    if (k > x && std::fabs(r0.hi) < 1e-25) break;
  }
  // Y's differences stay in pairs too, with Euler's constant to 32 digits:
  // next to Y's zeros the 15-digit one and the rounded products were
  // 8e-16 of the envelope off.
  const Pair c = Add(TwoSum(std::log(x / 2), 0.5772156649015329), {-4.942915152430645e-18, 0});
  const Pair pj1 = Mul(j1, {0.5 * x, 0});
  p.j0 = Value(j0);
  p.j1 = Value(pj1);
  const Pair d0 = Add(Mul(c, j0), {-s0.hi, -s0.lo});
  const Pair d1 = Add(Add(Mul(c, pj1), Div({-1, 0}, x)), Mul(s1, {-0.25 * x, 0}));
  p.y0 = kTwoOverPi * Value(d0);
  p.y1 = kTwoOverPi * Value(d1);
}

double Envelope(double m, double a) { return 0.5 * std::log10(6.28 * m) - m * std::log10(1.36 * a / m); }

// Secant search for the order s where Envelope(s) reaches `target`; the
// last s plus `extra`, as a 16-bit whole number.
int SecantOrder(double a, double s0, double target, double extra) {
  double g0 = Envelope(s0, a) - target;
  double s1 = s0 + 5;
  double g1 = Envelope(s1, a) - target;
  double s = s1;
  for (int step = 0; step < 20; ++step) {
    s = s1 - (s1 - s0) / (1 - g0 / g1);
    const double g = Envelope(s, a) - target;
    if (std::fabs(s - s1) < 1) break;
    s0 = s1, g0 = g1;
    s1 = s, g1 = g;
  }
  const auto order = ToInt16(s + extra);
  if (!order) {
    Fail();
    return -1;
  }
  return *order;
}

// Start of a backward recurrence that reaches order n with full digits.
// Only orders whose start would not fit 16 bits keep the older limit: the
// orders above where the values fall below 1e-200 of the first stay 0
// (nm becomes the highest order computed).
int RecurrenceStart(double x, int n, int& nm) {
  const int m = StartOrder(x, 200);
  if (m < 0) return -1;
  if (n > 32000) {
    if (m < n) nm = m;
    return m < n ? m : StartOrderFor(x, n, 15);
  }
  return std::max(m, StartOrderFor(x, n, 15));
}

BesselTables EmptyTables(int n) {
  BesselTables t;
  const std::size_t size = static_cast<std::size_t>(n) + 1;
  t.first.assign(size, 0.0);
  t.dfirst.assign(size, 0.0);
  t.second.assign(size, 0.0);
  t.dsecond.assign(size, 0.0);
  t.highest = n;
  return t;
}

// J and I of -x from those of x: order k has parity (-1)^k, its derivative
// the opposite one; Y and K do not exist there.
BesselTables Reflected(BesselTables t) {
  for (std::size_t k = 0; k < t.first.size(); ++k) {
    if (k % 2 == 1) {
      t.first[k] = -t.first[k];
    } else {
      t.dfirst[k] = -t.dfirst[k];
    }
    t.second[k] = kNaN;
    t.dsecond[k] = kNaN;
  }
  return t;
}

// The whole order behind an order argument n > 1.
bool WholeOrder(double n, int& order) {
  const double r = std::nearbyint(n);  // default rounding: halves to even
  if (!(r <= kMaxOrder)) return false;
  order = static_cast<int>(r);
  return true;
}

double BesselJImpl(double x, double n) {
  if (n > 1) {
    int order;
    if (!WholeOrder(n, order)) return Fail();
    const BesselTables t = BesselJYN(order, x);
    return t.highest < 0 ? Fail() : t.first[order];
  }
  // J0 is even and J1 odd: a negative x takes the value at |x|, where the
  // series and the asymptotic form are accurate (the series alone at -30
  // would give 1e5).
  const BesselJYPoint p = BesselJY01(std::fabs(x));
  const double sign = x < 0 ? -1.0 : 1.0;
  return n != 0 ? sign * p.j1 : p.j0;
}

double BesselYImpl(double x, double n) {
  if (x < 0) return Fail();
  if (n > 1) {
    int order;
    if (!WholeOrder(n, order)) return Fail();
    const BesselTables t = BesselJYN(order, x);
    // Orders above the highest one the recurrence reached have no value.
    return t.highest < order ? Fail() : t.second[order];
  }
  const BesselJYPoint p = BesselJY01(x);
  return n != 0 ? p.y1 : p.y0;
}

double BesselIImpl(double x, double n) {
  if (n > 1) {
    int order;
    if (!WholeOrder(n, order)) return Fail();
    const BesselTables t = BesselIKN(order, x);
    return t.highest < 0 ? Fail() : t.first[order];
  }
  // I0 is even and I1 odd, as for J.
  const BesselIKPoint p = BesselIK01(std::fabs(x));
  const double sign = x < 0 ? -1.0 : 1.0;
  return n != 0 ? sign * p.i1 : p.i0;
}

double BesselKImpl(double x, double n) {
  if (x < 0) return Fail();
  if (n > 1) {
    int order;
    if (!WholeOrder(n, order)) return Fail();
    const BesselTables t = BesselIKN(order, x);
    return t.highest < order ? Fail() : t.second[order];
  }
  const BesselIKPoint p = BesselIK01(x);
  return n != 0 ? p.k1 : p.k0;
}

double AiryAImpl(double x) { return AiryAB(x).ai; }
double AiryBImpl(double x) { return AiryAB(x).bi; }

}  // namespace

BesselJYPoint BesselJY01(double x) {
  BesselJYPoint p{};
  if (x == 0) {
    p.j0 = 1, p.j1 = 0, p.dj0 = 0, p.dj1 = 0.5;
    p.y0 = p.y1 = -kHuge;
    p.dy0 = p.dy1 = kHuge;
    return p;
  }
  if (x > kPairFrom && x <= kHankelFrom) {
    PairSeries01(x, p);
  } else if (x <= kHankelFrom) {
    const double x2 = x * x;
    p.j0 = Series(1, 30, [&](int k, double r) { return -0.25 * r * x2 / (k * k); });
    p.j1 = 0.5 * x * Series(1, 30, [&](int k, double r) { return -0.25 * r * x2 / (k * (k + 1)); });
    if (x < 0) {  // the logarithm below has no real value
      p.y0 = p.y1 = p.dy0 = p.dy1 = kNaN;
    } else {
      const double c = std::log(x / 2) + kEuler;
      double r = 1, w = 0, s0 = 0;
      for (int k = 1; k <= 30; ++k) {
        r = -0.25 * r * x2 / (k * k);
        w += 1.0 / k;
        const double term = r * w;
        s0 += term;
        if (std::fabs(term) < std::fabs(s0) * kEps) break;
      }
      p.y0 = kTwoOverPi * (c * p.j0 - s0);
      r = 1, w = 0;
      double s1 = 1;
      for (int k = 1; k <= 30; ++k) {
        r = -0.25 * r * x2 / (k * (k + 1));
        w += 1.0 / k;
        const double term = r * (2 * w + 1.0 / (k + 1));
        s1 += term;
        if (std::fabs(term) < std::fabs(s1) * kEps) break;
      }
      // -2/(pi x) is still a double down to 3.6e-309; below, 1/x overflows.
      p.y1 = x < 4e-309 ? -kInf : kTwoOverPi * (c * p.j1 - 1 / x - 0.25 * x * s1);
    }
  } else {
    const int terms = x >= 50 ? 8 : x >= 35 ? 10 : 12;
    const double r = 1 / x, r2 = r * r;
    const double p0 = PowerSum(1, kP0, terms, r2);
    const double q0 = PowerSum(-0.125, kQ0, terms, r2) * r;
    const double p1 = PowerSum(1, kP1, terms, r2);
    const double q1 = PowerSum(0.375, kQ1, terms, r2) * r;
    const double a = std::sqrt(kTwoOverPi / x);
    // cos and sin of x - pi/4 and x - 3pi/4 by the difference formulas: x minus
    // the constant rounds away the phase's digits for large x (7e-12 at 1e5).
    // cos and sin of pi/4 are both sqrt(1/2): the 15-digit pi put the phase
    // 2.4e-15 off, 24 times the allowed error next to a zero.
    const double cx = std::cos(x), sx = std::sin(x);
    constexpr double kHalfRoot = 0.70710678118654752;
    const double ct1 = (cx + sx) * kHalfRoot, st1 = (sx - cx) * kHalfRoot;
    const double ct2 = (sx - cx) * kHalfRoot, st2 = -(sx + cx) * kHalfRoot;
    p.j0 = a * (p0 * ct1 - q0 * st1);
    p.y0 = a * (p0 * st1 + q0 * ct1);
    p.j1 = a * (p1 * ct2 - q1 * st2);
    p.y1 = a * (p1 * st2 + q1 * ct2);
  }
  p.dj0 = -p.j1;
  p.dj1 = p.j0 - p.j1 / x;
  if (x > 0) {
    p.dy0 = -p.y1;
    // Y1'(x) ~ 2/(pi x^2) overflows below 1e-154, where Y0 and J are still
    // fine: it stands at the infinity marker there instead of failing them.
    p.dy1 = std::fabs(p.y1) / kHuge < x ? p.y0 - p.y1 / x : kHuge;
  }
  return p;
}

BesselIKPoint BesselIK01(double x) {
  BesselIKPoint p{};
  if (x == 0) {
    p.i0 = 1, p.i1 = 0, p.di0 = 0, p.di1 = 0.5;
    p.k0 = p.k1 = kHuge;
    p.dk0 = p.dk1 = -kHuge;
    return p;
  }
  const double x2 = x * x;
  // The series has only positive terms; the expansion's first dropped term
  // is 1e-12 at 18 (7 terms: 2e-13 at 50), below 1e-16 from 37 with 12.
  if (x <= 37) {
    p.i0 = Series(1, 120, [&](int k, double r) { return 0.25 * r * x2 / (k * k); });
    p.i1 = 0.5 * x * Series(1, 120, [&](int k, double r) { return 0.25 * r * x2 / (k * (k + 1)); });
  } else {
    const int terms = 12;
    const double half = std::exp(x / 2);  // e^x alone overflows from 709.8, I0 only from 713.9
    const double front = half * (half / std::sqrt(kTwoPi * x));
    p.i0 = front * PowerSum(1, kA0, terms, 1 / x);
    p.i1 = front * PowerSum(1, kA1, terms, 1 / x);
  }
  if (x < 0) {  // K has no real value there
    p.k0 = p.k1 = p.dk0 = p.dk1 = kNaN;
  } else {
    if (x > 2) {
      // The series beyond 2 and the expansion below about 40 both lose
      // digits (1e-8 on either side of 9): Temme's continued fraction.
      const KPair k = BesselKFraction(0, x);
      p.k0 = k.k, p.k1 = k.k1;
    } else if (x <= 9) {
      const double t = -(std::log(x / 2) + kEuler);
      double r = 1, w = 0, sum = t;
      for (int k = 1; k <= 50; ++k) {
        r = 0.25 * r * x2 / (k * k);
        w += 1.0 / k;
        const double term = r * (w + t);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kEps) break;
      }
      p.k0 = sum;
    } else {
      const double r = 1 / x;
      p.k0 = 0.5 / x * PowerSum(1, kIK, 8, r * r) / p.i0;
    }
    if (x <= 2) p.k1 = x < 5.6e-309 ? kInf : (1 / x - p.i1 * p.k0) / p.i0;  // Wronskian; 1/x overflows
    p.dk0 = -p.k1;
    p.dk1 = p.k1 / kHuge < x ? -p.k0 - p.k1 / x : -kHuge;  // ~ -1/x^2: overflows below 1e-154
  }
  p.di0 = p.i1;
  p.di1 = p.i0 - p.i1 / x;
  return p;
}

int StartOrder(double x, int mp) {
  const double a = std::fabs(x);
  return SecantOrder(a, std::floor(1.1 * a) + 1, mp, 0);
}

int StartOrderFor(double x, int n, int mp) {
  const double a = std::fabs(x);
  const double h = 0.5 * mp;
  const double e = Envelope(n, a);
  if (e <= h) return SecantOrder(a, std::floor(1.1 * a) + 1, mp, 10);
  return SecantOrder(a, n, h + e, 10);
}

BesselTables BesselJYN(int n, double x) {
  if (x < 0) return Reflected(BesselJYN(n, -x));
  BesselTables t = EmptyTables(n);
  auto& j = t.first;
  auto& dj = t.dfirst;
  auto& y = t.second;
  auto& dy = t.dsecond;
  if (x == 0) {
    for (int k = 0; k <= n; ++k) y[k] = -kHuge, dy[k] = kHuge;
    j[0] = 1;
    if (n >= 1) dj[1] = 0.5;
    return t;
  }
  const BesselJYPoint p = BesselJY01(x);
  if (x < 1e-100) {
    // The leading term (x/2)^k / k! is J to the last digit (the next is
    // x^2/4 smaller) and underflows to 0 without failing; Y and K are
    // finite there for the first few orders.
    j[0] = p.j0, dj[0] = p.dj0, y[0] = p.y0, dy[0] = p.dy0;
    if (n == 0) return t;
    j[1] = p.j1, dj[1] = p.dj1, y[1] = p.y1, dy[1] = p.dy1;
    for (int k = 2; k <= n; ++k) j[k] = j[k - 1] * (0.5 * x) / k, dj[k] = j[k - 1] - k * j[k] / x;
    UpwardOrInf(x, -1, -kInf, y, dy, n);
    return t;
  }
  j[0] = p.j0, dj[0] = p.dj0, y[0] = p.y0, dy[0] = p.dy0;
  if (n == 0) return t;
  j[1] = p.j1, dj[1] = p.dj1, y[1] = p.y1, dy[1] = p.dy1;
  if (n == 1) return t;

  int nm = n;
  if (n < std::floor(0.9 * x)) {  // forward recurrence is stable here
    // In pairs of doubles, as for Y: next to zeros the steps' rounding was
    // 1e-16 of the envelope after a few dozen.
    Pair p2 = {j[0], 0}, p1 = {j[1], 0};
    for (int k = 2; k <= n; ++k) {
      const Pair next = Add(Mul(Div({2.0 * (k - 1), 0}, x), p1), Neg(p2));
      p2 = p1, p1 = next;
      j[k] = Value(next);
    }
  } else {
    // Start above n even where J_n is below 1e-200 (it is still a double, and
    // Y_n needs every order up to n), rescaling on the way down instead of
    // letting the recurrence overflow.
    const int m = RecurrenceStart(x, n, nm);
    if (m < 0) {
      t.highest = -1;
      return t;
    }
    double f = 0, f1 = 1e-100, f2 = 0;
    for (int k = m; k >= 0; --k) {
      f = 2.0 * (k + 1) / x * f1 - f2;
      if (k <= nm) j[k] = f;
      f2 = f1;
      f1 = f;
      if (std::fabs(f) > 1e250) {
        f *= 1e-250, f1 *= 1e-250, f2 *= 1e-250;
        for (int i = k; i <= nm; ++i) j[i] *= 1e-250;
      }
    }
    // Normalise on the larger of J0 and J1, away from their zeros.
    const double scale = std::fabs(p.j0) > std::fabs(p.j1) ? p.j0 / f : p.j1 / f2;
    for (int k = 0; k <= nm; ++k) j[k] *= scale;
  }
  for (int k = 2; k <= nm; ++k) dj[k] = j[k - 1] - k / x * j[k];
  UpwardOrInf(x, -1, -kInf, y, dy, nm);
  t.highest = nm;
  return t;
}

BesselTables BesselIKN(int n, double x) {
  if (x < 0) return Reflected(BesselIKN(n, -x));
  BesselTables t = EmptyTables(n);
  auto& i = t.first;
  auto& di = t.dfirst;
  auto& k_ = t.second;
  auto& dk = t.dsecond;
  if (x == 0) {
    for (int k = 0; k <= n; ++k) k_[k] = kHuge, dk[k] = -kHuge;
    i[0] = 1;
    if (n >= 1) di[1] = 0.5;
    return t;
  }
  const BesselIKPoint p = BesselIK01(x);
  if (x <= 1e-100) {  // leading terms, as for J
    i[0] = p.i0, di[0] = p.di0, k_[0] = p.k0, dk[0] = p.dk0;
    if (n == 0) return t;
    i[1] = p.i1, di[1] = p.di1, k_[1] = p.k1, dk[1] = p.dk1;
    for (int k = 2; k <= n; ++k) i[k] = i[k - 1] * (0.5 * x) / k, di[k] = i[k - 1] - k * i[k] / x;
    UpwardOrInf(x, 1, kInf, k_, dk, n);
    return t;
  }
  i[0] = p.i0, di[0] = p.di0, k_[0] = p.k0, dk[0] = p.dk0;
  if (n == 0) return t;
  i[1] = p.i1, di[1] = p.di1, k_[1] = p.k1, dk[1] = p.dk1;
  if (n == 1) return t;

  // Ratios r_k = I_(k+1)/I_k by backward recurrence, r_(k-1) = 1/(2k/x + r_k),
  // then I_k = I_0 r_0 ... r_(k-1): stable for every x (the forward
  // recurrence is not, 10x off at besseli(650.5, 160)), and neither overflows
  // on the way nor drops orders whose value is still a double.
  int nm = n;
  const int m = RecurrenceStart(x, n, nm);
  if (m < 0) {
    t.highest = -1;
    return t;
  }
  std::vector<double> ratio(static_cast<std::size_t>(std::max(m, nm)) + 1, 0.0);
  double r = 0;
  for (int k = std::max(m, nm); k >= 1; --k) {
    r = 1 / (2.0 * k / x + r);
    ratio[static_cast<std::size_t>(k - 1)] = r;
  }
  for (int k = 1; k <= nm; ++k) i[k] = i[k - 1] * ratio[static_cast<std::size_t>(k - 1)];
  for (int k = 2; k <= nm; ++k) di[k] = i[k - 1] - k / x * i[k];
  UpwardOrInf(x, 1, kInf, k_, dk, nm);
  t.highest = nm;
  return t;
}

AiryPoint AiryAB(double x) {
  constexpr double c1 = 0.355028053887817, c2 = 0.258819403792807;
  constexpr double sqrt3 = 1.732050807568877, invSqrtPi = 0.5641895835477563;
  if (x == 0) return {c1, sqrt3 * c1, -c2, sqrt3 * c2};
  // NaN in, NaN out: the term count below would otherwise convert a NaN.
  if (std::isnan(x)) return {x, x, x, x};
  AiryPoint r{};
  const double a = std::fabs(x);
  // Bi's series has no cancellation and serves up to 9.4, where the
  // expansion takes over; Ai's series cancels (3e-10 at 5) and Ai is
  // (1/pi) sqrt(x/3) K_(1/3)(xi) there instead.
  if ((x > 0 && a <= 9.4) || (x < 0 && a <= 8)) {
    const double x3 = x * x * x;
    const double f = Series(1, 40, [&](int k, double t) { return t * x3 / ((3.0 * k) * (3 * k - 1)); });
    const double g = Series(x, 40, [&](int k, double t) { return t * x3 / ((3.0 * k) * (3 * k + 1)); });
    const double df = Series(0.5 * x * x, 40, [&](int k, double t) { return t * x3 / ((3.0 * k) * (3 * k + 2)); });
    const double dg = Series(1, 40, [&](int k, double t) { return t * x3 / ((3.0 * k) * (3 * k - 2)); });
    r.ai = c1 * f - c2 * g;
    r.bi = sqrt3 * (c1 * f + c2 * g);
    r.dai = c1 * df - c2 * dg;
    r.dbi = sqrt3 * (c1 * df + c2 * dg);
    if (x < -1) {
      // Left of 0 the terms grow to e^xi before they cancel (3e-11 lost at
      // -7.7): the series and Ai(0), Ai'(0) in pairs of doubles.
      constexpr Pair a0{0.3550280538878172, 2.05233632436212e-17}, d0{0.2588194037928068, -2.522243111610832e-17};
      const Pair xp{x, 0};
      const Pair x3p = Mul(Mul(xp, xp), xp);
      const Pair fp = AirySeries({1, 0}, x3p, -1), gp = AirySeries(xp, x3p, 1);
      const Pair dfp = AirySeries(Mul(Mul({0.5, 0}, xp), xp), x3p, 2), dgp = AirySeries({1, 0}, x3p, -2);
      const auto combine = [&](Pair u, Pair v, double sign) {
        const Pair cu = Mul(a0, u), cv = Mul(d0, v);
        const Pair sum = Add(cu, {sign * cv.hi, sign * cv.lo});
        return sum.hi + sum.lo;
      };
      r.ai = combine(fp, gp, -1);
      r.bi = sqrt3 * combine(fp, gp, 1);
      r.dai = combine(dfp, dgp, -1);
      r.dbi = sqrt3 * combine(dfp, dgp, 1);
    }
    if (x > 2.08) {
      const double xi = std::pow(a, 1.5) / 1.5;
      const KPair k = BesselKFraction(-1.0 / 3, xi);  // K_(1/3), K_(2/3)
      constexpr double kInvPi = 0.31830988618379067;
      r.ai = kInvPi * std::sqrt(x / 3) * k.k;
      r.dai = -kInvPi * x / sqrt3 * k.k1;
    }
    return r;
  }
  // Asymptotic expansions in xi = (2/3)|x|^1.5.
  double u[41], v[41];
  u[0] = 1, v[0] = 1;
  for (int k = 1; k <= 40; ++k) {
    u[k] = u[k - 1] * (6 * k - 1) / 216 * (6 * k - 3) / k * (6 * k - 5) / (2 * k - 1);
    v[k] = -(6.0 * k + 1) / (6 * k - 1) * u[k];
  }
  if (x > 1e100) {  // Ai is 0 in doubles from 140 on; xi itself overflows near 1e205
    r.ai = r.dai = 0;
    r.bi = r.dbi = kInf;
    return r;
  }
  const int terms = a < 6 ? 14 : a > 15 ? 10 : static_cast<int>(std::floor(24.5 - a));
  const double xi = std::pow(a, 1.5) / 1.5;
  const double s = std::sqrt(1 / std::sqrt(a));
  if (x > 0) {
    const double q = 1 / xi;
    double sai = 1, sad = 1, sbi = 1, sbd = 1, up = 1, down = 1;
    for (int k = 1; k <= terms; ++k) {
      up *= q;
      down *= -q;
      sai += u[k] * down;
      sad += v[k] * down;
      sbi += u[k] * up;
      sbd += v[k] * up;
    }
    const double e = std::exp(-xi);
    r.ai = 0.5 * invSqrtPi * s * e * sai;
    r.dai = -0.5 * invSqrtPi / s * e * sad;
    // Past xi = 708 Bi overflows while Ai is still a (subnormal) double, or
    // 0: Bi stands at infinity, set, so as not to fail Ai's call (airya(105)
    // failed); e^xi in halves up to there.
    const bool huge = xi + std::log(invSqrtPi / s * std::fmax(sbi, std::fabs(sbd))) > 709.7;
    const double half = huge ? 0 : std::exp(xi / 2);
    r.bi = huge ? kInf : half * (invSqrtPi * s * half * sbi);
    r.dbi = huge ? kInf : half * (invSqrtPi / s * half * sbd);
    return r;
  }
  const double q2 = 1 / (xi * xi);
  double sa = 1, sda = 1, sb = u[1] / xi, sdb = v[1] / xi, power = 1;
  for (int k = 1; k <= terms; ++k) {
    power *= -q2;
    sa += u[2 * k] * power;
    sda += v[2 * k] * power;
    sb += u[2 * k + 1] * power / xi;
    sdb += v[2 * k + 1] * power / xi;
  }
  // The phase xi + pi/4 in a pair of doubles: xi rounded alone is 3e-15
  // off at x = -10, an absolute 1e-15 of Ai's size next to its zeros.
  const double sq = std::sqrt(a);
  const Pair xiPair = Mul(Mul({a, 0}, {sq, std::fma(-sq, sq, a) / (2 * sq)}), {0.6666666666666666, 3.700743415417188e-17});
  const Pair theta = Add(xiPair, {0.7853981633974483, 3.061616997868383e-17});
  const double sn0 = std::sin(theta.hi), cs0 = std::cos(theta.hi);
  const double sn = sn0 + cs0 * theta.lo, cs = cs0 - sn0 * theta.lo;
  r.ai = invSqrtPi * s * (sa * sn - sb * cs);
  r.bi = invSqrtPi * s * (sa * cs + sb * sn);
  r.dai = -invSqrtPi / s * (sda * cs + sdb * sn);
  r.dbi = invSqrtPi / s * (sda * sn - sdb * cs);
  return r;
}

double BesselJ(double x, double n) { return Guard(BesselJImpl, x, n); }
double BesselY(double x, double n) { return Guard(BesselYImpl, x, n); }
double BesselI(double x, double n) { return Guard(BesselIImpl, x, n); }
double BesselK(double x, double n) { return Guard(BesselKImpl, x, n); }
double J0(double x) { return BesselJ(x, 0); }
double Y0(double x) { return BesselY(x, 0); }
double I0(double x) { return BesselI(x, 0); }
double K0(double x) { return BesselK(x, 0); }
double AiryA(double x) { return Guard(AiryAImpl, x); }
double AiryB(double x) { return Guard(AiryBImpl, x); }

}  // namespace cn
