"""Rows of the accuracy suite (see accuracy_harness.py): the Student t and the F."""
import math

import mpmath

from accuracy_harness import Row

mpf = mpmath.mpf


def digits(*dofs):
    """Enough for the log-gamma terms near df ln df to cancel."""
    return 40 + 2 * int(max(0.0, *(math.log10(v) for v in dofs)))


def t_density(x, n):
    n = mpf(n)
    return mpmath.exp(mpmath.loggamma((n + 1) / 2) - mpmath.loggamma(n / 2) - mpmath.log(n * mpmath.pi) / 2
                      - (n + 1) / 2 * mpmath.log1p(x * x / n))


def t_tails(x, n):
    n = mpf(n)
    far = mpmath.betainc(n / 2, mpf(0.5), 0, n / (n + x * x), regularized=True) / 2
    return (far, 1 - far) if x < 0 else (1 - far, far)


def t_points(n):
    return [0.0] + [s * m for s in (-1, 1) for m in (1e-8, 0.7, 2.5, 5.0, 40.0, 1e4, 1e9, 1e200)]


def f_density(x, d1, d2):
    d1, d2 = mpf(d1), mpf(d2)
    return mpmath.exp(d1 / 2 * mpmath.log(d1 / d2) + (d1 / 2 - 1) * mpmath.log(x)
                      - (d1 + d2) / 2 * mpmath.log1p(d1 * x / d2) - mpmath.log(mpmath.beta(d1 / 2, d2 / 2)))


def f_tails(x, d1, d2):
    """(P(F <= x), P(F > x)); where one degree of freedom is 1e15 times the other the
    chi-squared limit, O(1/df) from the truth, stands in for the beta that mpmath cannot
    take there."""
    d1, d2 = mpf(d1), mpf(d2)
    if x <= 0:
        return mpf(0), mpf(1)
    if d1 >= 1e15 * max(1, d2):
        c = d2 / (2 * x)
        return mpmath.gammainc(d2 / 2, c, mpmath.inf, regularized=True), mpmath.gammainc(d2 / 2, 0, c, regularized=True)
    u = d1 * x / d2
    lower = mpmath.betainc(d1 / 2, d2 / 2, 0, u / (1 + u), regularized=True) if u < 1e25 else None
    upper = mpmath.betainc(d2 / 2, d1 / 2, 0, 1 / (1 + u), regularized=True) if u > 1e-25 else None
    return (1 - upper if lower is None else lower), (1 - lower if upper is None else upper)


ROWS = [
    Row("t", [(v,) for v in (0.3, 1.0, 1.5, 2.0, 5.0, 30.0, 1e4, 3e5, 1e7)], t_points, t_density, t_tails,
        digits=digits),
    Row("f", [(0.3, 0.5), (1.0, 1.0), (3.0, 4.0), (0.02, 3.0), (100.0, 0.3), (40.0, 60.0), (1e4, 5.0), (3.0, 2e5),
          (1e30, 0.3)],
        lambda d1, d2: [1e-300, 1e-20, 1e-8, 0.01, 0.3, 1.0, 2.5, 10.0, 1e3, 1e10, 1e100, 1e300],
        f_density, f_tails, digits=digits),
]
