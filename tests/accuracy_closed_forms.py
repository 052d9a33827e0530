"""Rows of the accuracy suite (see accuracy_harness.py): Cauchy, Laplace, logistic,
uniform and Weibull, at tiny and huge scales, far locations, steep and flat shapes,
points from the centre to beyond the doubles' reach of the tails."""
from mpmath import atan, exp, expm1, mpf, pi

from accuracy_harness import PROBABILITIES, Row

# Standardized points: the centre, the literal logarithms' switches, far tails.
Z = [0.0, 1e-20, 0.3, 1.0, 2.5, 7.0, 10.5, 11.5, 30.0, 40.0, 700.0, 2e4, 1e5, 1e8, 1e20, 1e150, 1e300]
LOCATION_SCALES = [(0.0, 1.0), (-3.0, 0.25), (1e10, 7.0), (0.0, 1e-300), (5.0, 1e8), (-1e300, 1e292)]
NOT_LARGE = dict(large=lambda *params: False)  # no log-gamma terms to widen the bounds for


def around(mu, sigma):
    points = {float(mpf(mu) + s * mpf(sigma) * z) for z in Z for s in (-1, 1)}
    return sorted(x for x in points if abs(x) < 1e308)


def symmetric(small):
    """(lower, upper) of a distribution symmetric about mu from its tail beyond a = |z|."""
    def tails(x, mu, sigma):
        z = (x - mu) / sigma
        s = small(abs(z))
        return (s, 1 - s) if z < 0 else (1 - s, s)
    return tails


def cauchy_small(a):
    return atan(1 / a) / pi if a > 0 else mpf(0.5)


def logistic_density(x, mu, sigma):
    e = exp(-abs((x - mu) / sigma))
    return e / (sigma * (1 + e) ** 2)


def uniform_points(a, b):
    shares = [1e-300, 1e-20, 1e-10, 0.3, 0.5, 0.9, 1 - 1e-10]
    return [a - 1.0, b + 1.0] + [float(mpf(a) + (mpf(b) - mpf(a)) * s) for s in shares] + \
        [float(mpf(b) - (mpf(b) - mpf(a)) * s) for s in (1e-20, 1e-300)]


def uniform_tails(x, a, b):
    share = min(max((x - a) / (mpf(b) - a), mpf(0)), mpf(1))
    return share, 1 - share


def weibull_points(shape, scale):
    steep = [1 + s / mpf(shape) for s in (-30, -1, 0.1, 1, 3)]
    ts = [mpf(t) for t in (1e-300, 1e-20, 1e-17, 1e-5, 0.5, 1, 2, 5, 30, 1e10)] + steep
    return sorted({float(scale * t) for t in ts if 0 < scale * t < 1e308 and t ** shape < 1e300})


def weibull_tails(x, shape, scale):
    u = (x / scale) ** shape
    return (-expm1(-u), exp(-u)) if u < 1e300 else (mpf(1), mpf(0))  # beyond, -u is -inf in doubles


def weibull_density(x, shape, scale):
    t = x / scale
    return shape / scale * t ** (shape - 1) * exp(-t ** shape)


# Small shapes take the quantiles' smallest probabilities below the doubles: x^shape = p.
WEIBULL_SMALL_SHAPE_PROBABILITIES = [p for p in PROBABILITIES if p > 1e-25]

ROWS = [
    Row("cauchy", LOCATION_SCALES[:5], around, lambda x, mu, sigma: 1 / (pi * sigma * (1 + ((x - mu) / sigma) ** 2)),
        symmetric(cauchy_small), **NOT_LARGE),
    Row("laplace", LOCATION_SCALES, around, lambda x, mu, sigma: exp(-abs((x - mu) / sigma)) / (2 * sigma),
        symmetric(lambda a: exp(-a) / 2), **NOT_LARGE),
    Row("logis", LOCATION_SCALES, around, logistic_density, symmetric(lambda a: 1 / (1 + exp(a))), **NOT_LARGE),
    Row("unif", [(0.0, 1.0), (-3.0, 7.5), (1e6, 1e6 + 3), (1e-30, 1e-30 + 1e-20), (-1e308, 1e308), (1e-300, 3e-300)],
        uniform_points, lambda x, a, b: 1 / (mpf(b) - a) if a <= x <= b else mpf(0), uniform_tails, **NOT_LARGE),
    Row("weibull", [(s, scale) for s in (1.0, 3.5, 1e3, 1e12) for scale in (1.0, 1e-5, 1e20)], weibull_points,
        weibull_density, weibull_tails, **NOT_LARGE),
    Row("weibull", [(s, scale) for s in (0.1, 0.5) for scale in (1.0, 1e20)], weibull_points, weibull_density,
        weibull_tails, probabilities=WEIBULL_SMALL_SHAPE_PROBABILITIES, **NOT_LARGE),
]
