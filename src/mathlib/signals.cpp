#include "mathlib/signals.h"

#include <cmath>

#include "core/pi.h"
#include "mathlib/fp_guard.h"

// Each signal is its floor formula evaluated term by term, unsimplified: its
// values at the jumps, and where it fails, follow from those very terms.
namespace cn {
namespace {

using std::exp;
using std::fabs;
using std::floor;
using std::sin;

double WTriImpl(double t, double p) { return SnapZero(4 * fabs(floor(t / p + 0.5) - t / p) - 1); }

double WSqrImpl(double t, double p) { return SnapZero(2 * floor(t / p) - 2 * floor(t / p + 0.5) + 1); }

double WSawImpl(double t, double p) { return SnapZero(2 * t / p - 2 * floor(t / p + 0.5)); }

double WRaiseImpl(double t, double p) { return SnapZero(t / p - floor(t / p)); }

double WParabImpl(double t, double p) {
  const double h = 2 * fabs(floor(t / p + 0.5) - t / p);
  return SnapZero(h * h);
}

double StepImpl(double x, double a) { return x >= a ? 1 : 0; }

double ClipImpl(double x, double lo, double hi) {
  if (lo > hi) return Fail();
  if (x < lo) return lo;
  if (x > hi) return hi;
  return x;
}

double WRectImpl(double t, double p, double d) { return SnapZero(2 * floor(t / p) - 2 * floor(t / p - d) - 1); }

double WTrapezImpl(double t, double p, double d) {
  const double g = 2 * fabs(floor(t / p + 0.5) - t / p);
  const double k = 2 * floor(t / p - d / (2 * p) + 0.5) + (d - 2 * t) / p;
  return SnapZero((g - fabs(k)) / d);
}

double WLinImpl(double t, double p, double d) {
  const double u = floor(t / p - d), c = floor(-d), w = floor(t / p);
  const double numerator = p * u * u + u * (p + 2 * d * p - 2 * t) - p * c * c - c * (2 * d + 1) * p - p * w * w +
                           w * (2 * t - p) + d * (p * d - p - 2 * t);
  return SnapZero(numerator / (p * d * (1 - d)));
}

double WPulseImpl(double t, double p, double d) { return SnapZero(floor(t / p) - floor(t / p - d)); }

double WStepsImpl(double t, double p, double n) { return SnapZero((floor(t * n / p) - n * floor(t / p)) / (n - 1)); }

// e^(a floor(t/p) - a t/p), the decay since the start of the period.
double Decay(double t, double p, double a) { return exp(a * floor(t / p) - a * t / p); }

// The same decay minus the one restarted half a period later.
double DecayPair(double t, double p, double a) {
  return Decay(t, p, a) - exp(a * floor(t / p + 0.5) - a * (t / p + 0.5));
}

double WExpImpl(double t, double p, double a) { return SnapZero(Decay(t, p, a)); }

double WExpBImpl(double t, double p, double a) { return SnapZero(DecayPair(t, p, a)); }

double WPulseFImpl(double t, double p, double a) { return floor(t / p) - floor(t / p + 0.5) + 1 - DecayPair(t, p, a); }

double WRippleImpl(double t, double p, double a) {
  const double c = fabs(std::cos(kPi * t / p));
  const double e = Decay(t, p, a);
  return e > c ? e : c;
}

// The four-argument signals go through the guard as a list of four values.
double WRingImpl(const double* v, int) {
  const double t = v[0], p = v[1], a = v[2], f = v[3];
  return -Decay(t, p, a) * sin(kTwoPi * f * floor(t / p) - kTwoPi * f * t / p);
}

double WAmImpl(const double* v, int) {
  const double t = v[0], fc = v[1], fm = v[2], m = v[3];
  return (m * sin(kTwoPi * fm * t) + 1) * sin(kTwoPi * fc * t);
}

double WFmImpl(const double* v, int) {
  const double t = v[0], fc = v[1], fm = v[2], m = v[3];
  return sin(kTwoPi * fc * t * (m * sin(kTwoPi * fm * t) + 1));
}

}  // namespace

double SnapZero(double v) { return fabs(v) < 5e-14 ? 0 : v; }

double WTri(double t, double p) { return Guard(WTriImpl, t, p); }
double WSqr(double t, double p) { return Guard(WSqrImpl, t, p); }
double WSaw(double t, double p) { return Guard(WSawImpl, t, p); }
double WRaise(double t, double p) { return Guard(WRaiseImpl, t, p); }
double WParab(double t, double p) { return Guard(WParabImpl, t, p); }
double Step(double x, double a) { return Guard(StepImpl, x, a); }

double Clip(double x, double lo, double hi) { return Guard(ClipImpl, x, lo, hi); }
double WRect(double t, double p, double d) { return Guard(WRectImpl, t, p, d); }
double WTrapez(double t, double p, double d) { return Guard(WTrapezImpl, t, p, d); }
double WLin(double t, double p, double d) { return Guard(WLinImpl, t, p, d); }
double WPulse(double t, double p, double d) { return Guard(WPulseImpl, t, p, d); }
double WSteps(double t, double p, double n) { return Guard(WStepsImpl, t, p, n); }
double WExp(double t, double p, double a) { return Guard(WExpImpl, t, p, a); }
double WExpB(double t, double p, double a) { return Guard(WExpBImpl, t, p, a); }
double WPulseF(double t, double p, double a) { return Guard(WPulseFImpl, t, p, a); }
double WRipple(double t, double p, double a) { return Guard(WRippleImpl, t, p, a); }

double WRing(double t, double p, double a, double f) {
  const double v[4] = {t, p, a, f};
  return Guard(WRingImpl, v, 4);
}
double WAm(double t, double fc, double fm, double m) {
  const double v[4] = {t, fc, fm, m};
  return Guard(WAmImpl, v, 4);
}
double WFm(double t, double fc, double fm, double m) {
  const double v[4] = {t, fc, fm, m};
  return Guard(WFmImpl, v, 4);
}

}  // namespace cn
