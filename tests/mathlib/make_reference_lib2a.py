#!/usr/bin/env python3
"""Writes reference_integrals.inc and reference_hypergeometric.inc: true values
of the exponential, sine/cosine, Fresnel and elliptic integrals, of 2F1 and of
the orthogonal polynomials, computed with mpmath at 40 digits.

Each case carries a tolerance and a scale: the test accepts
|got - want| <= tol * max(|want|, scale). Scale 0 makes the tolerance
relative; scale 1 makes it absolute where the true value is small, for the
regions whose error is set by cancellation among terms near 1 in size (the
power series of Ci and Si up to 16, the polynomials on [-1, 1]). The
tolerances are a few times the errors measured when the tables were made,
region by region; both sides of every region boundary are covered.

Angles of elli1/elli2 are written in degrees and passed as degrees times the
engine's 15-digit pi / 180, as the evaluator does; the true value uses the
exact angle, so the tables also hold the routines to that convention.

Run from this folder: python3 make_reference_lib2a.py
"""
import mpmath as mp

mp.mp.dps = 40
PI15 = 3.14159265358979


def elli(kind):
    def f(k, deg):
        phi = mp.mpf(deg) * mp.pi / 180
        m = mp.mpf(k) ** 2
        return mp.ellipf(phi, m) if kind == 1 else mp.ellipe(phi, m)
    return f


def fresnel15(f, x):
    # the integrand is sin or cos of PI15 t^2 / 2: 5e-14 apart from pi's at x = 100
    r = mp.sqrt(mp.mpf(PI15) / mp.pi)
    return f(x * r) / r


TRUE = {
    'ei': mp.ei,
    'ein': lambda x, n: mp.expint(int(n), x),
    'si': mp.si,
    'ci': mp.ci,
    'fresnels': lambda x: fresnel15(mp.fresnels, x),
    'fresnelc': lambda x: fresnel15(mp.fresnelc, x),
    'elli1': elli(1),
    'elli2': elli(2),
    'hypgeom': mp.hyp2f1,
    'polyle': lambda x, n: mp.legendre(int(n), x),
    'polyhe': lambda x, n: mp.hermite(int(n), x),
    'polyla': lambda x, n: mp.factorial(int(n)) * mp.laguerre(int(n), 0, x),
    'polych': lambda x, n: mp.chebyt(int(n), x),
}

EI_SPLIT = 34.538776394910684  # -ln(1e-15): series below, asymptotic above

# (function, arguments, tolerance, scale)
INTEGRALS = [
    # ei: logarithm alone below 1e-30, series up to -ln(1e-15), asymptotic
    # series above (stopped at its smallest term, about 1e-14 at the split).
    *[('ei', (x,), 4e-15, 0) for x in (1e-31, 1e-30, 1e-10, 1e-3, 0.1, 0.5, 1, 2, 5, 10, 20)],
    ('ei', (0.3725,), 3e-15, 1),  # next to the zero of Ei: absolute
    *[('ei', (x,), 4e-15, 0) for x in (30, 34.5, EI_SPLIT)],
    *[('ei', (x,), 5e-14, 0) for x in (34.54, 35, 36, 40)],
    *[('ei', (x,), 3e-15, 0) for x in (50, 100, 300, 709)],
    # Ei(-x) = -E1(x): the E1 series to 1, the continued fraction above.
    *[('ei', (x,), 1e-14, 0) for x in (-1e-300, -1e-10, -0.5, -1, -1.0001, -1.5, -5, -20, -100,
                                       -700)],
    # ein: power series for 0 < x <= 1, Lentz continued fraction above.
    *[('ein', xn, 1e-14, 0) for xn in ((1e-10, 1), (0.1, 0), (0.1, 1), (0.5, 1), (0.5, 2), (0.5, 5),
                                      (1, 0), (1, 1), (1, 2), (1, 3), (1, 10), (0.3, 50),
                                      (0.999, 4), (1e-5, 3), (0.7, 101), (0.2, 2e9))],
    *[('ein', xn, 1e-14, 0) for xn in ((1.0001, 1), (1.5, 1), (2, 1), (2, 2), (5, 3), (10, 1),
                                      (10, 10), (50, 2), (100, 5), (1.5, 100), (3, 1000),
                                      (700, 1), (3, 0), (0, 2), (0, 5), (2.5, 2e9))],
    # Ci and Si: series up to 16 (terms up to ~5e4 cancel, so the error is
    # absolute and grows with x), Bessel expansion to 32, asymptotic beyond.
    # Past 16, Ci oscillates inside an envelope of 1/x and is held to that.
    *[(f, (x,), 3e-15, 1) for f in ('ci', 'si') for x in (1e-8, 0.1, 0.5, 0.6165, 1, 2, 3.3842)],
    *[(f, (x,), 3e-14, 1) for f in ('ci', 'si') for x in (5, 6.427, 8)],
    *[(f, (x,), 1e-11, 1) for f in ('ci', 'si') for x in (10, 12, 14, 15.5, 16)],
    *[('ci', (x,), 5e-14, 1 / x) for x in (16.0001, 17, 20, 24, 28, 31.9, 32)],
    *[('ci', (x,), 1e-11, 1 / x) for x in (32.0001, 33)],  # the truncated expansions
    *[('ci', (x,), 5e-14, 1 / x) for x in (40, 50, 100, 1e3, 1e5, 1e10)],
    *[('si', (x,), 5e-15, 0) for x in (16.0001, 17, 20, 24, 28, 31.9, 32)],
    *[('si', (x,), 1e-13, 0) for x in (32.0001, 33)],
    *[('si', (x,), 5e-15, 0) for x in (40, 50, 100, 1e3, 1e5, 1e10, -1, -20, -40)],
    # Fresnel: series below 2.5 (cancelling more towards its end), spherical
    # Bessel recurrence to 4.5, asymptotic beyond; odd functions.
    *[(f, (x,), 3e-15, 0) for f in ('fresnelc', 'fresnels') for x in (1e-8, 0.1, 0.5, 1)],
    *[(f, (x,), 3e-13, 0) for f in ('fresnelc', 'fresnels') for x in (1.5, 2, 2.49)],
    *[(f, (x,), 1.5e-14, 0) for f in ('fresnelc', 'fresnels') for x in
      (2.5, 3, 4, 4.49, 4.5, 5, 6, 10, 100, 1e4, -1, -3, -5)],
    # elli1/elli2: AGM with Landen steps; the complete integrals at 90
    # degrees; amplitudes beyond a quarter turn keep their half periods.
    *[(f, (k, deg), 2e-14, 0) for f in ('elli1', 'elli2')
      for k in (0, 0.3, 0.5, 0.9, 0.99, -0.5)
      for deg in (1, 30, 60, 89.9, 90, 90.1, 135, 180, 270, 300, -30, -90, -100, -270, 720.5,
                  1e4)],
    # sqrt(1 - k^2) keeps few digits of the complementary modulus.
    *[(f, (0.999999, deg), 5e-12, 0) for f in ('elli1', 'elli2') for deg in (30, 90, 135, 270)],
    *[(f, (k, deg), 2e-14, 0) for f in ('elli1', 'elli2') for k in (1, -1)
      for deg in (10, 45, 89, -45)],
    ('elli2', (1, 90), 1e-15, 0),
]

HYPERGEOMETRIC = [
    # Closed forms: Gauss at x = 1 (c - a - b fractional), Kummer at x = -1.
    *[('hypgeom', args, 1e-13, 0) for args in ((0.5, 0.5, 2.5, 1), (1.5, 0.25, 3, 1),
                                               (1, 0.5, 1.5, -1), (0.3, 0.7, 0.6, -1))],
    # Terminating series (a or b a negative whole number) and the Euler
    # transformation of one (c - a or c - b a non-positive whole number).
    *[('hypgeom', args, 1e-14, 0) for args in ((-2, 1, 1, 0.5), (-5, 2.5, 3.3, 0.8),
                                               (1.5, -7, 2, -3), (-30, 0.5, 1.5, 0.25),
                                               (-3, -6, 2.5, 1), (3, 1.5, 2, 0.3),
                                               (1.5, 4.5, 2.5, -0.7), (2.5, 1.5, 0.5, 0.9))],
    # Plain series below 0.75, with Euler's transformation where c lies
    # between a (and b) and twice it.
    *[('hypgeom', args, 1e-14, 0) for args in ((1, 1, 2, 0.5), (0.5, 1.5, 2.5, 0.3),
                                               (2, 3, 4.5, 0.7), (0.3, 0.4, 0.5, 0.7499),
                                               (2, 2.5, 3, 0.6), (1e-3, 7, 0.25, 0.1))],
    # Series about 1 from 0.75 on: fractional c - a - b ...
    *[('hypgeom', args, 1e-13, 0) for args in ((0.5, 0.5, 1.5, 0.75), (0.5, 0.5, 1.5, 0.9),
                                               (1.5, 0.3, 2.7, 0.8), (1, 2, 3.5, 0.95))],
    *[('hypgeom', args, 5e-10, 0) for args in ((0.2, 0.3, 0.8, 0.99), (1, 2, 3.5, 0.999))],
    # ... and whole c - a - b = m through the digamma sums, m >= 0 and m < 0.
    *[('hypgeom', args, 1e-13, 0) for args in ((1, 1, 2, 0.75), (1, 1, 2, 0.9), (1, 1, 3, 0.8),
                                               (0.5, 1.5, 4, 0.85), (1.5, 1.5, 2, 0.9),
                                               (1.5, 2.5, 2, 0.8), (0.75, 0.25, 4, 0.92))],
    *[('hypgeom', args, 5e-10, 0) for args in ((1.5, 0.5, 2, 0.96), (1.5, 1.5, 2, 0.99))],
    # Negative x through Pfaff's transformation, with a and b exchanged in
    # the last four; from x = -3 on the transformed x takes the series about
    # 1. (2.5, 0.5, 3, -2) also has c = 1 + a - b, Kummer's case, but not x = -1.
    *[('hypgeom', args, 1e-13, 0) for args in ((1, 1, 2, -1), (0.5, 0.7, 1.9, -0.5),
                                               (1.2, 0.7, 3.1, -0.5), (0.5, 0.7, 1.9, -5),
                                               (1, 1, 2, -10), (1.5, 0.5, 1, -2.9999),
                                               (1.5, 0.5, 1, -3), (2, 1, 3, -1),
                                               (2.5, 0.5, 3, -2), (2, 1, 3, -4),
                                               (3.5, 1.25, 4.2, -0.3))],
]

HYPERGEOMETRIC += [
    # b = c is (1 - x)^-a outright; a pole of c - a in Gauss's sum, or of a + m
    # in the limit formula, makes its term 0; a = -6 runs past the pole of c, b = -2 does not.
    *[('hypgeom', args, 1e-13, 0) for args in ((-5, -4.5, -4.5, 0.999989552631443), (1, 2.7, 1.7, 0.8),
                                               (-0.1, 5, -4.1, 0.9996789647122929), (-6, -2, -4, 0.5))],
    ('hypgeom', (-3, 2, 2, 1), 1e-15, 1),
]

POLYNOMIALS = [
    # Three-term recurrences: on [-1, 1] the values stay within 1 and the
    # error is absolute, growing slowly with the degree.
    *[('polyle', xn, 1e-15, 1) for xn in ((0.5, 1), (0.5, 2), (0.3, 10), (-0.7, 25))],
    *[('polyle', xn, 1e-14, 1) for xn in ((0.99, 100), (-0.123, 500))],
    *[('polyle', xn, 1e-14, 0) for xn in ((1.5, 30), (-3, 7), (20, 150))],
    *[('polyhe', xn, 1e-14, 0) for xn in ((1, 3), (0.5, 1), (0.5, 10), (-2, 15), (3, 50),
                                          (10, 100), (0.1, 151))],
    *[('polyla', xn, 1e-14, 0) for xn in ((1, 2), (0.5, 1), (0.5, 10), (5, 20), (-1, 15),
                                          (30, 40))],
    ('polyla', (0.2, 150), 5e-13, 0),
    *[('polych', xn, 1e-15, 1) for xn in ((0.5, 3), (0.5, 2), (0.5, 1), (0.3, 50),
                                          (-0.99, 200))],
    ('polych', (0.123, 10000), 1e-14, 1),
    *[('polych', xn, 1e-14, 0) for xn in ((1.1, 40), (-4, 9))],
    ('polych', (1.0001, 5000), 5e-13, 0),
]


def angle(fn, args):
    """The radians the evaluator hands over for an angle in degrees."""
    if fn in ('elli1', 'elli2'):
        return (args[0], args[1] * (PI15 / 180))
    return args


def write(path, cases, width):
    with open(path, 'w') as out:
        out.write('// Generated by make_reference_lib2a.py from mpmath; do not edit by hand.\n')
        out.write('// function, %d arguments (unused ones 0), true value, tolerance, scale\n' % width)
        for name, args, tol, scale in cases:
            want = TRUE[name](*[mp.mpf(a) for a in args])
            passed = list(angle(name, args)) + [0] * (width - len(args))
            out.write('{"%s", %s, %r, %r, %r},\n' % (
                name, ', '.join(repr(float(a)) for a in passed), float(want), tol, float(scale)))


def main():
    write('reference_integrals.inc', INTEGRALS, 2)
    write('reference_hypergeometric.inc', HYPERGEOMETRIC + POLYNOMIALS, 4)


if __name__ == '__main__':
    main()
