"""The shared root finder of the quantiles: a request restated on its small tail, the
smallest double whose tail reaches it, and when a literal result stands."""
import math

import pytest

import _distrova_testing as native

INF, NAN = math.inf, math.nan


def step_at(threshold, calls=None):
    """The log tails of a distribution with all its mass at `threshold`."""
    def log_tail(x, lower):
        if calls is not None:
            calls.append(x)
        return (0.0 if x >= threshold else -INF) if lower else (-INF if x >= threshold else 0.0)
    return log_tail


@pytest.mark.parametrize("threshold, lo, hi", [
    (2.5, 0.0, 1e308), (5e-324, 0.0, 1e308), (1e-310, 0.0, 1.0), (math.nextafter(1.0, 0), 0.0, 1.0),
    (-3.5, -1.7976931348623157e308, 0.0), (-5e-324, -1.0, 0.0), (0.0, -1.0, 1.0),
    (1.7976931348623157e308, 0.0, INF), (-1e300, -INF, INF),
])
@pytest.mark.parametrize("p, lower_tail, log_p", [(0.5, True, False), (0.25, False, False), (-3.0, True, True),
                                                  (-1e-3, False, True)])
def test_finds_the_exact_first_double_of_a_step(threshold, lo, hi, p, lower_tail, log_p):
    calls = []
    assert native.smallest_reaching(step_at(threshold, calls), p, lower_tail, log_p, lo, hi) == threshold
    assert len(calls) <= 66


def test_ends_and_unreachable_tails():
    assert native.smallest_reaching(lambda x, lower: 0.0 if lower else -INF, 0.5, True, False, 0.0, 1.0) == 0.0
    assert native.smallest_reaching(lambda x, lower: math.log(0.25), 0.5, True, False, 0.0, 1.0) == math.nextafter(1, 2)
    assert math.isnan(native.smallest_reaching(lambda x, lower: NAN, 0.5, True, False, 0.0, 1.0))


@pytest.mark.parametrize("p, lower_tail, log_p, lower, log_value", [
    (0.3, True, False, True, math.log(0.3)), (0.75, True, False, False, math.log(0.25)),
    (1 - 2**-53, False, False, True, math.log(2**-53)), (0.0, True, False, True, -INF),
    (1.0, False, False, True, -INF), (-800.0, False, True, False, -800.0),
    (-1e-20, True, True, False, math.log(1e-20)), (0.0, True, True, False, -INF),
    (1.5, True, False, True, NAN), (1e-300, True, True, True, NAN), (NAN, False, False, False, NAN),
])
def test_requests_are_restated_on_their_small_tail_without_cancellation(p, lower_tail, log_p, lower, log_value):
    got = native.small_tail(p, lower_tail, log_p)
    assert got[0] is lower and (got[1] == pytest.approx(log_value, rel=1e-15) or math.isnan(log_value) and math.isnan(got[1]))


def test_literal_stands_where_its_tail_is_within_1e_9():
    def exponential(x, lower):
        return math.log(-math.expm1(-x)) if lower else -x
    target = -math.log(1e-30)  # the upper tail 1e-30
    assert native.sound_quantile(target * (1 + 5e-10 / target), exponential, 1e-30, False, False, 0.0, 1e308) \
        == target * (1 + 5e-10 / target)
    found = native.sound_quantile(target + 1e-6, exponential, 1e-30, False, False, 0.0, 1e308)
    assert found == pytest.approx(target, rel=1e-15)
    assert native.sound_quantile(INF, exponential, -target, False, True, 0.0, 1e308) == pytest.approx(found, rel=1e-15)
