"""Rows of the accuracy suite (see accuracy_harness.py): the normal and log-normal families."""
import math

import mpmath

from accuracy_harness import Row

# Standard points: the centre, both switches of the error function's forms, the literal
# logarithm's switch, where the plain lower tail reaches 0, the subnormals and far beyond.
Z = (-270.0, -50.0, -38.5, -37.0, -20.0, -9.3, -8.0, -6.05, -5.99, -3.0, -2.97, -2.47, -1.0, -1e-10, 0.0,
     1e-10, 0.7, 2.47, 2.97, 5.0, 8.3, 9.3, 20.0, 37.0, 38.5, 50.0, 270.0)


def normal_points(mu, sigma):
    return sorted({x for x in (mu + sigma * z for z in Z) if math.isfinite(x)})


def normal_tails(x, mu, sigma):
    z = (x - mu) / sigma
    return mpmath.ncdf(z), mpmath.ncdf(-z)


# Point and scale far from 0 and 1, both scaled to the ends of the doubles, and a
# difference x - mu beyond the largest double.
NORMAL = Row("norm", cases=[(0.0, 1.0), (3.0, 0.25), (-1e3, 50.0), (5e4, 1e-3), (0.0, 1e-300),
                            (-1e300, 1e300), (-1e308, 1e306)],
             points=normal_points, density=lambda x, mu, sigma: mpmath.npdf(x, mu, sigma), tails=normal_tails,
             large=lambda *params: False)

# Every positive magnitude, the tails of the logarithm, and ln x far from the double that
# log_core gives for it (relative to a small scale).
LOG_POINTS = (5e-324, 1e-310, 1e-300, 1e-17, 0.5, 1.0, 2.0, 1e300, 1.7976931348623157e308)


def lognormal_points(mu, sigma):
    logs = (mu + sigma * z for z in Z if abs(z) < 60)
    return sorted({x for x in (*LOG_POINTS, *(math.exp(v) for v in logs if v < 709.78)) if x > 0})


def lognormal_tails(x, mu, sigma):
    return normal_tails(mpmath.log(x), mu, sigma)


LOGNORMAL = Row("lnorm", cases=[(0.0, 1.0), (1.5, 3.0), (-40.0, 1.0), (-690.0, 1.0), (-690.0, 0.05),
                                (600.0, 0.1), (0.0, 0.01), (0.0, 15.0)],
                points=lognormal_points, density=lambda x, mu, sigma: mpmath.npdf(mpmath.log(x), mu, sigma) / x,
                tails=lognormal_tails, large=lambda *params: False)

ROWS = [NORMAL, LOGNORMAL]
