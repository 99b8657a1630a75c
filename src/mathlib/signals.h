// Periodic test signals, the limiters clip and step, and the waveforms of
// modulation. The periodic ones take the time t and the period p first and
// repeat exactly every p, being closed formulas in floor(t/p). Every routine
// returns NaN when a divisor is 0 (p, and the d or n named below) or when an
// overflow or invalid operation happens inside it.
#pragma once

namespace cn {

// 0 for |v| < 5e-14, else v: values that are zero up to rounding come out
// as exactly 0.
double SnapZero(double v);

double WTri(double t, double p);    // triangle, -1 at t = 0, +1 at p/2
double WSqr(double t, double p);    // +1 in the first half period, -1 after
double WSaw(double t, double p);    // sawtooth from -1 to +1, 0 at t = 0
double WRaise(double t, double p);  // ramp from 0 to 1
double WParab(double t, double p);  // 0 at t = kp, 1 halfway
double Step(double x, double a);    // 1 when x >= a, else 0

double Clip(double x, double lo, double hi);   // fails when lo > hi
double WRect(double t, double p, double d);    // +1 while the phase is below d
double WTrapez(double t, double p, double d);  // d = 0 fails
double WLin(double t, double p, double d);     // -1, up to +1 at phase d, down; d = 0, 1 fail
double WPulse(double t, double p, double d);   // 1 while the phase is below d, else 0
double WSteps(double t, double p, double n);   // n stairs from 0 to 1; n = 1 fails
double WExp(double t, double p, double a);     // e^(-a phase)
double WExpB(double t, double p, double a);
double WPulseF(double t, double p, double a);  // pulse with exponential edges
double WRipple(double t, double p, double a);  // max(|cos(pi t/p)|, e^(-a phase))

double WRing(double t, double p, double a, double f);  // e^(-a phase) sin(2 pi f phase)
double WAm(double t, double fc, double fm, double m);  // (m sin(2 pi fm t) + 1) sin(2 pi fc t)
double WFm(double t, double fc, double fm, double m);  // sin(2 pi fc t (m sin(2 pi fm t) + 1))

}  // namespace cn
