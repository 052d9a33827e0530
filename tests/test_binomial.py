"""Binomial and Bernoulli functions: stated values, the mass formula, and the fast sum and
search against the literal top-down sums."""
import math
import time

import mpmath
import numpy as np
import pytest

import _distrova_testing as native
import distrova as d
from exact_values import EPS, INF, NAN, check

INT64_MAX = 2**63 - 1


def top_down(masses, i):
    """F(i): the masses from i down to 0, added in that order (cumsum adds in sequence)."""
    return float(np.cumsum(masses[i::-1])[-1])


def literal_pbinom(x, n, prob, masses):
    if x < 0:
        return 0.0
    if x >= n:
        return 1.0
    return 1 - prob if n == 1 else top_down(masses, x)


def literal_qbinom(p, n, prob, masses):
    """A fresh top-down sum for every i, as long as p exceeds it."""
    if p == 0:
        return 0.0
    if p == 1:
        return float(n)
    i = 0
    while p > literal_pbinom(i, n, prob, masses):
        i += 1
    return float(i)


def all_masses(n, prob):
    return d.dbinom(np.arange(n + 1), n, prob)


PROBS = [0.5, 0.3, 0.97, 1e-3, 1e-17, 0.0, 1.0, 1 - 1e-17, 1 - 1e-15, 3e-16]
# Where the literal sums hold: a prob below EPS (or within EPS of 1) had masses dropped.
LITERAL_PROBS = [p for p in PROBS if p in (0.0, 1.0) or EPS <= p <= 1 - EPS]


@pytest.mark.parametrize("call, expected", [
    (lambda: d.dbinom(0, 0, 0.3), 1), (lambda: d.dbinom(1, 1, 0.3), 0.3), (lambda: d.dbinom(0, 1, 0.3), 0.7),
    (lambda: d.dbinom(3, 2, 0.5), 0), (lambda: d.dbinom(3, 2, 0.5, log=True), -INF),
    (lambda: d.dbinom(1, -1, 0.5), NAN), (lambda: d.dbinom(1, 5, 1.5), NAN), (lambda: d.dbinom(1, 5, INF), NAN),
    (lambda: d.dbinom(1, 5, NAN), NAN), (lambda: d.dbinom(1, 5, -0.1), NAN), (lambda: d.dbinom(-1, 5, 0.5), 0),
    (lambda: d.dbinom(0, 5, 0), 1), (lambda: d.dbinom(2, 5, 0), 0), (lambda: d.dbinom(5, 5, 1), 1),
    (lambda: d.dbinom(2, 4, 0.5), 0.37500000000000183), (lambda: d.dbinom(0, 0, 0.3, log=True), 0),
    (lambda: d.pbinom(-1, 5, 0.3), 0), (lambda: d.pbinom(5, 5, 0.3), 1), (lambda: d.pbinom(5, 5, 0.3, log_p=True), 0),
    (lambda: d.pbinom(0, 1, 0.3), 0.7), (lambda: d.pbinom(-1, 5, 0.3, log_p=True), -INF),
    (lambda: d.pbinom(2, -4, 0.5), NAN), (lambda: d.pbinom(2, 4, NAN, log_p=True), NAN),
    (lambda: d.qbinom(0, 10, 0.3), 0), (lambda: d.qbinom(1, 10, 0.3), 10), (lambda: d.qbinom(0.5, 4, 0.5), 2),
    (lambda: d.qbinom(0.7, 4, 0.5), 3), (lambda: d.qbinom(0.5, 0, 0.3), 0), (lambda: d.qbinom(1.1, 4, 0.5), NAN),
    (lambda: d.qbinom(-0.1, 4, 0.5), NAN), (lambda: d.qbinom(NAN, 4, 0.5), NAN), (lambda: d.qbinom(0.5, -1, 0.5), NAN),
    (lambda: d.qbinom(0.5, 4, INF), NAN), (lambda: d.qbinom(1, INT64_MAX, 0.5), float(INT64_MAX)),
    # The literal masses summed to 1 - 1.45e-12 here, so that only F(n) = 1 reached p.
    (lambda: d.qbinom(1 - 1e-12, 10**4, 0.5), 5352),
    # Huge counts: a prob below EPS still leaves mass away from 0, and nothing overflows.
    (lambda: d.pbinom(2**62 - 1024, 2**62, 1e-17), 1),
    (lambda: d.pbinom(2**62 - 1024, 2**62, 1.0), 0), (lambda: d.qbinom(0.5, INT64_MAX, 0.0), 0),
    (lambda: d.qbinom(0.5, INT64_MAX, 1.0), float(INT64_MAX)), (lambda: d.dbinom(INT64_MAX, INT64_MAX, 1.0), 1),
    (lambda: d.dbern(2, 0.3), 0), (lambda: d.dbern(2, 0.3, log=True), -INF), (lambda: d.dbern(1, 0.3), 0.3),
    (lambda: d.dbern(0, 0.3), 0.7), (lambda: d.dbern(-1, 0.3), 0), (lambda: d.dbern(1, 1.3), NAN),
    (lambda: d.dbern(0, 1.0, log=True), -INF), (lambda: d.pbern(-3, 0.3), 0), (lambda: d.pbern(0, 0.3), 0.7),
    (lambda: d.pbern(7, 0.3), 1), (lambda: d.pbern(0, 0.3, log_p=True), native.log(0.7)),
    (lambda: d.pbern(0, NAN), NAN), (lambda: d.qbern(0.7, 0.3), 0), (lambda: d.qbern(0.71, 0.3), 1),
    (lambda: d.qbern(1, 0), 0), (lambda: d.qbern(0, 1), 0), (lambda: d.qbern(1.1, 0.3), NAN),
    (lambda: d.qbern(0.5, -INF), NAN), (lambda: d.qbern(NAN, 0.3), NAN),
])
def test_stated_values(call, expected):
    check(call(), expected)


# Huge counts and a prob below EPS take the accurate form, in the accuracy suite.
@pytest.mark.parametrize("x, n, prob", [(5, 10, 0.2), (1, 2, 0.75), (17, 40, 1e-3), (2**13 + 7, 2**14 + 3, 0.5)])
def test_mass_formula_forms_its_arguments_from_converted_counts(x, n, prob):
    nd, xd = float(n), float(x)
    expected = ((native.lgamma(nd + 1) - (native.lgamma((nd - xd) + 1) + native.lgamma(xd + 1)))
                + xd * native.log(prob)) + float(n - x) * native.log(1 - prob)
    assert d.dbinom(x, n, prob, log=True) == expected
    assert d.dbinom(x, n, prob) == native.exp(expected)


def test_log_gamma_error_stays_within_the_margin_of_the_early_stops():
    # The fast sums rely on this bound at integer arguments.
    rng = np.random.default_rng(4)
    ys = {int(v) for v in np.exp(rng.uniform(0, math.log(2.0**52), 400))} | {1, 2, 3, 10, 2**52 + 1}
    for y in ys:
        exact = mpmath.loggamma(y)
        assert abs(mpmath.mpf(native.lgamma(float(y))) - exact) <= 64 * EPS * (y + float(exact)) + 1e-13, y


def test_distribution_function_equals_the_literal_sum():
    rng = np.random.default_rng(6)
    for _ in range(80):
        # the literal sums' own region; beyond, the accurate tails are checked against mpmath
        n = int(np.exp(rng.uniform(math.log(2), math.log(3000))))
        prob = float(rng.choice(LITERAL_PROBS + [float(rng.uniform())] * 4))
        sd = math.sqrt(n * prob * (1 - prob))
        xs = {0, n - 1, int(rng.integers(0, n)), int(n * prob), int(n * prob - 9 * sd), int(n * prob + 9 * sd)}
        xs = sorted(x for x in xs if 0 <= x < n)
        masses = d.dbinom(np.arange(xs[-1] + 1), n, prob)
        for x in xs:
            # A sum of rounded masses beyond 1 is reported as the probability 1.
            assert d.pbinom(x, n, prob) == min(literal_pbinom(x, n, prob, masses), 1.0), (x, n, prob)


def test_fast_quantile_equals_the_literal_search():
    rng = np.random.default_rng(7)
    tails = [1 - 1e-12, 1 - 1e-15, math.nextafter(1, 0)]
    for _ in range(60):
        n, prob = int(rng.integers(0, 60)), float(rng.choice(LITERAL_PROBS + [float(rng.uniform())] * 6))
        masses = all_masses(n, prob)
        values = [literal_pbinom(i, n, prob, masses) for i in range(n + 1)]
        ps = tails + [float(rng.uniform()), 1e-300, 5e-324]
        ps += [v for f in values for v in (f, math.nextafter(f, 0), math.nextafter(f, 2)) if 0 <= v <= 1]
        for p in ps:
            assert d.qbinom(p, n, prob) == literal_qbinom(p, n, prob, masses), (p, n, prob)
    # Long upper tails, whose masses underflow to 0 before n.
    for n, prob in [(1500, 0.5), (3000, 0.3), (2500, 0.999)]:
        masses = all_masses(n, prob)
        sd = math.sqrt(n * prob * (1 - prob))
        ps = tails + [literal_pbinom(int(n * prob + k * sd), n, prob, masses) for k in (4, 6, 7, 8)]
        for p in (p for p in ps if p <= 1):
            assert d.qbinom(p, n, prob) == literal_qbinom(p, n, prob, masses), (p, n, prob)


# These summed for hours once; the tails now come from the incomplete beta or from short
# sums of accurate masses.
@pytest.mark.parametrize("call, expected", [
    (lambda: d.pbinom(10**17, 10**18, 0.5), 0), (lambda: d.qbinom(0.5, 10**13, 0.5), 5 * 10**12),
    (lambda: d.qbinom(1 - 1e-12, 10**12, 1e-10), 178), (lambda: d.pbinom(99051, 10**15, 1e-10), 0.00133379735516156),
])
def test_huge_counts_answer_at_once(call, expected):
    start = time.perf_counter()
    assert call() == pytest.approx(expected, rel=1e-7) and time.perf_counter() - start < 0.5


@pytest.mark.parametrize("n, prob", [(200, 0.3), (3000, 0.5), (57, 0.999), (1000, 1e-3)])
def test_log_lower_tail_keeps_rising_where_it_leaves_the_literal(n, prob):
    counts = np.arange(-1.0, n + 1)
    logs = d.pbinom(counts, n, prob, True)
    assert np.all(np.diff(logs) >= 0)
    # the literal logarithm's bits, where it is kept, are those of the plain value's
    with np.errstate(divide="ignore"):
        literal = native.log(d.pbinom(counts, n, prob))
    assert np.any(logs == literal)
