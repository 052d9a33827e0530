"""The shared fallback of the quantiles: the smallest double at which a cdf reaches p."""
import math

import pytest

import _distrova_testing as native

INF, NAN = math.inf, math.nan


@pytest.mark.parametrize("threshold, lo, hi", [
    (2.5, 0.0, 1e308), (5e-324, 0.0, 1e308), (1e-310, 0.0, 1.0), (math.nextafter(1.0, 0), 0.0, 1.0),
    (-3.5, -1.7976931348623157e308, 0.0), (-5e-324, -1.0, 0.0), (0.0, -1.0, 1.0),
    (1.7976931348623157e308, 0.0, INF), (-1e300, -INF, INF),
])
def test_finds_the_exact_first_double_of_a_step(threshold, lo, hi):
    calls = []

    def cdf(x):
        calls.append(x)
        return 1.0 if x >= threshold else 0.0
    assert native.smallest_reaching(cdf, 0.5, lo, hi) == threshold
    assert len(calls) <= 66


def test_ends_and_unreachable_probability():
    assert native.smallest_reaching(lambda x: 1.0, 0.5, 0.0, 1.0) == 0.0
    assert math.isnan(native.smallest_reaching(lambda x: 0.25, 0.5, 0.0, 1.0))
    assert math.isnan(native.smallest_reaching(lambda x: NAN, 0.5, 0.0, 1.0))


@pytest.mark.parametrize("achieved, p, misses", [
    (0.3, 0.3, False), (0.3 + 2e-10, 0.3, False), (0.3 + 1e-9, 0.3, True), (NAN, 0.3, True),
    (1e-12 + 5e-16, 1e-12, False), (1e-12 + 1e-15, 1e-12, True), (1 - 1e-12, 1 - 1e-12 - 5e-16, False),
])
def test_quantile_misses(achieved, p, misses):
    assert native.quantile_misses(achieved, p) is misses
