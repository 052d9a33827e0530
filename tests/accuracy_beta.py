"""Rows of the accuracy suite (see accuracy_harness.py): the beta, binomial and Bernoulli
families, over tiny and huge shapes and counts, points next to both ends and far tails."""
import functools
import math

import mpmath

from accuracy_harness import Row

# mpmath's own incomplete beta is slow beyond these shapes; there the reference integrates
# the density over the tail away from the mode instead.
QUADRATURE_SHAPES = 1e4


@functools.lru_cache(maxsize=None)
def log_beta(a, b, digits):
    return mpmath.log(mpmath.beta(a, b))


def density(x, a, b):
    if x <= 0 or x >= 1:
        return mpmath.mpf(0)
    log_b = log_beta(mpmath.mpf(a), mpmath.mpf(b), mpmath.mp.dps)
    return mpmath.exp((a - 1) * mpmath.log(x) + (b - 1) * mpmath.log1p(-x) - log_b)


def integrated_tails(x, a, b):
    """The tail on x's side of the mode by quadrature over sixty of its decay lengths (the
    density falls at least that fast away from the mode), the other as its complement."""
    mode = (a - 1) / (a + b - 2)
    deviation = mpmath.sqrt(a * b / ((a + b) ** 2 * (a + b + 1)))
    slope = abs((a - 1) / x - (b - 1) / (1 - x))
    # the decay length at x, unless x lies so near the mode that the deviation sets it
    length = 1 / slope if slope and 1 / slope < 20 * deviation else deviation
    side = -1 if x <= mode else 1
    # nodes crowded where the integrand is largest, as its decay goes
    steps = (0, 0.25, 0.5, 1, 1.5, 2, 3, 4, 6, 8, 12, 16, 24, 32, 45, 60)
    nodes = sorted({min(mpmath.mpf(1), max(mpmath.mpf(0), x + side * k * length)) for k in steps})
    near = mpmath.quad(lambda t: density(t, a, b), nodes)
    return (near, 1 - near) if x <= mode else (1 - near, near)


def beta_tails(x, a, b):
    a, b = mpmath.mpf(a), mpmath.mpf(b)
    if x <= 0 or x >= 1:
        return (mpmath.mpf(0), mpmath.mpf(1)) if x <= 0 else (mpmath.mpf(1), mpmath.mpf(0))
    if min(a, b) >= QUADRATURE_SHAPES:
        return integrated_tails(x, a, b)
    lower = mpmath.betainc(a, b, 0, x, regularized=True)
    if x >= 0.5:  # 1 - x is exact
        return lower, mpmath.betainc(b, a, 0, 1 - x, regularized=True)
    upper = 1 - lower
    # far in the upper tail below 1/2 the complement has lost its digits
    return lower, (upper if upper > mpmath.mpf(10) ** (20 - mpmath.mp.dps) else integrated_tails(x, a, b)[1])


def beta_points(a, b):
    mean = a / (a + b)
    deviation = math.sqrt(a * b / ((a + b) ** 2 * (a + b + 1)))
    spread = [mean + k * deviation for k in (-30, -8, -2, 0, 1, 5, 30)]
    ends = [1e-300, 1e-20, 1e-16, 1e-8, 0.05, 0.5, 0.95, 1 - 1e-10, 1 - 2.0**-53]
    # mpmath's series takes hours far above the bulk of a huge shape: the points there stop
    # sixty deviations out
    reachable = lambda x: a + b < 1e5 or x <= mean + 60 * deviation  # noqa: E731
    return sorted({x for x in spread + ends if 0 < x < 1 and reachable(x)})


def beta_digits(a, b):
    return 30 + int(math.log10(max(a, b, 10)))


def binom_density(k, n, prob):
    k, n, prob = int(k), int(n), mpmath.mpf(prob)
    if k < 0 or k > n:
        return mpmath.mpf(0)
    return mpmath.exp(mpmath.loggamma(n + 1) - mpmath.loggamma(k + 1) - mpmath.loggamma(n - k + 1)
                      + k * mpmath.log(prob) + (n - k) * mpmath.log1p(-prob))


def binom_tails(k, n, prob):
    """P(X <= k) = 1 - I_prob(k + 1, n - k)."""
    k, n = int(k), int(n)
    if k < 0 or k >= n:
        return (mpmath.mpf(0), mpmath.mpf(1)) if k < 0 else (mpmath.mpf(1), mpmath.mpf(0))
    below, above = beta_tails(mpmath.mpf(prob), k + 1, n - k)
    return above, below


def binom_points(n, prob):
    mean, deviation = n * prob, math.sqrt(n * prob * (1 - prob))
    counts = {0, 1, n - 1} | {math.floor(mean + k * deviation) for k in (-30, -6, -2, -0.5, 0, 1, 3, 8, 40)}
    return sorted(k for k in counts if 0 <= k < n)


def bern_density(x, prob):
    prob = mpmath.mpf(prob)
    return prob if x == 1 else (1 - prob if x == 0 else mpmath.mpf(0))


def bern_tails(x, prob):
    prob = mpmath.mpf(prob)
    lower = mpmath.mpf(0) if x < 0 else (1 - prob if x == 0 else mpmath.mpf(1))
    return lower, 1 - lower


def beta_mean_deviation(a, b):
    return a / (a + b), math.sqrt(a * b / ((a + b) ** 2 * (a + b + 1)))


def binom_mean_deviation(n, prob):
    return n * prob, math.sqrt(n * prob * (1 - prob))


def huge_points(mean_deviation, floor=False):
    """A few points across the bulk and into a tail, where each reference is a quadrature."""
    def points(*params):
        mean, deviation = mean_deviation(*params)
        xs = [mean + k * deviation for k in (-8, -2, 0, 1, 5)]
        return [math.floor(x) for x in xs] if floor else xs
    return points


QUANTILE_PROBABILITIES = (1e-300, 1e-20, 2.0**-53, 1e-3, 0.3, 0.5, 0.975, 1 - 1e-10, 1 - 2.0**-53)

ROWS = [
    Row("beta", [(0.01, 0.01), (0.05, 1), (0.1, 3), (0.5, 0.5), (2, 3), (1.1, 999.1), (30, 0.2), (1e-5, 2),
                 (3, 1e-8), (0.1, 1e15), (2000, 3000)],
        beta_points, density, beta_tails, digits=beta_digits, probabilities=QUANTILE_PROBABILITIES),
    # Huge shapes, whose references are slow: densities and tails only.
    Row("beta", [(1e6, 1e6), (99052, 1e15 - 99051)], huge_points(beta_mean_deviation), density, beta_tails,
        digits=beta_digits, probabilities=()),
    Row("binom", [(10, 0.3), (200, 0.5), (3000, 1e-3), (40, 1e-17), (30000, 0.01), (10**12, 1e-10)],
        binom_points, binom_density, binom_tails, digits=lambda n, p: 45, discrete="reach",
        probabilities=QUANTILE_PROBABILITIES),
    Row("binom", [(10**15, 1e-10), (10**9, 0.5)], huge_points(binom_mean_deviation, floor=True), binom_density,
        binom_tails,
        digits=lambda n, p: 45, discrete="reach", probabilities=()),
    Row("bern", [(0.3,), (1e-17,), (1 - 2.0**-53,), (0.5,)], lambda prob: [-1, 0, 1, 2], bern_density, bern_tails,
        discrete="reach"),
]
