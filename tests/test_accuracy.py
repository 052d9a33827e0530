"""Every family against true values from mpmath, one test per clause of the accuracy
contract (see accuracy_harness.py), each family a row."""
import math

import mpmath
import numpy as np
import pytest

import accuracy_beta
import accuracy_closed_forms
import accuracy_gamma
import accuracy_normal
import accuracy_student_f
import distrova
from accuracy_harness import (DENSITY_REL, LARGE_WIDENING, LOWER_ABS, QUANTILE_TAIL_REL, TAIL_REL, log_error,
                              quantile_miss, relative_error, true_density, true_tails)

pytestmark = pytest.mark.slow  # mpmath references over every grid

ROWS = [*accuracy_normal.ROWS, *accuracy_gamma.ROWS, *accuracy_beta.ROWS, *accuracy_student_f.ROWS,
        *accuracy_closed_forms.ROWS]
CONTINUOUS = [row for row in ROWS if not row.discrete]
DISCRETE = [row for row in ROWS if row.discrete]


def ids(row):
    return row.name


def grid(row):
    """(params, points as an array) for every case of the row."""
    for params in row.cases:
        yield params, np.array(row.points(*params), dtype=float)


def widened(bound, row, params):
    return bound * LARGE_WIDENING if row.large(*params) else bound


def fn(kind, row):
    return getattr(distrova, kind + row.name)


@pytest.mark.parametrize("row", ROWS, ids=ids)
def test_densities_within_1e_10_and_zero_or_inf_only_beyond_the_doubles(row):
    bad = []
    for params, xs in grid(row):
        bound = widened(DENSITY_REL, row, params)
        values, logs = fn("d", row)(xs, *params), fn("d", row)(xs, *params, True)
        for x, v, lv in zip(xs, values, logs):
            f = true_density(row, float(x), params)
            # beyond [1e-300, 1e300] a density only has to stay beyond it, or 0 or inf
            plain_ok = (relative_error(v, f) <= bound if 1e-300 <= f <= 1e300 else
                        0 <= v <= 2e-300 if f < 1e-300 else v >= 5e299)
            if not plain_ok or log_error(lv, f) > bound:
                bad.append((params, float(x), v, lv, mpmath.nstr(f, 17)))
    assert not bad, bad[:8]


@pytest.mark.parametrize("row", ROWS, ids=ids)
def test_lower_tails_within_1e_12(row):
    bad = []
    for params, xs in grid(row):
        for x, v in zip(xs, fn("p", row)(xs, *params)):
            lower, _ = true_tails(row, float(x), params)
            if not abs(v - lower) <= widened(LOWER_ABS, row, params):
                bad.append((params, float(x), v, mpmath.nstr(lower, 17)))
    assert not bad, bad[:8]


@pytest.mark.parametrize("row", ROWS, ids=ids)
def test_upper_tails_to_relative_1e_12(row):
    bad = []
    for params, xs in grid(row):
        for x, v in zip(xs, fn("p", row)(xs, *params, lower_tail=False)):
            _, upper = true_tails(row, float(x), params)
            if upper >= 1e-300 and relative_error(v, upper) > TAIL_REL:
                bad.append((params, float(x), v, mpmath.nstr(upper, 17)))
    assert not bad, bad[:8]


@pytest.mark.parametrize("lower_tail", [True, False])
@pytest.mark.parametrize("row", ROWS, ids=ids)
def test_log_tails_to_1e_12_however_far(row, lower_tail):
    bad = []
    for params, xs in grid(row):
        for x, v in zip(xs, fn("p", row)(xs, *params, True, lower_tail=lower_tail)):
            tail = true_tails(row, float(x), params)[0 if lower_tail else 1]
            if log_error(v, tail) > TAIL_REL:
                bad.append((params, float(x), v, mpmath.nstr(tail, 17)))
    assert not bad, bad[:8]


REQUESTS = [(True, False), (False, False), (True, True), (False, True)]


def requested(p, log_p):
    with np.errstate(divide="ignore"):
        return np.log(p) if log_p else p


@pytest.mark.parametrize("lower_tail, log_p", REQUESTS)
@pytest.mark.parametrize("row", CONTINUOUS, ids=ids)
def test_continuous_quantiles_hit_the_requested_tail(row, lower_tail, log_p):
    """The true tail at the result within 1e-9 of the requested one, or the true quantile
    within 1e-12 of the result; so never 0, an end or infinite for an interior quantile."""
    ps = np.array(row.probabilities)
    bad = []
    for params in row.cases:
        qs = fn("q", row)(requested(ps, log_p), *params, lower_tail=lower_tail, log_p=log_p)
        for p, q in zip(ps, qs):
            if quantile_miss(row, params, q, p, lower_tail) > QUANTILE_TAIL_REL:
                side = 0 if lower_tail else 1
                bad.append((params, p, lower_tail, log_p, q,
                            mpmath.nstr(true_tails(row, float(q), params)[side], 12) if math.isfinite(q) else None))
    assert not bad, bad[:8]


@pytest.mark.parametrize("lower_tail, log_p", REQUESTS)
@pytest.mark.parametrize("row", DISCRETE, ids=ids)
def test_discrete_quantiles_are_the_true_count(row, lower_tail, log_p):
    """Under each function's convention; where p lies within the p bound of a true tail
    at a count, either neighbour is right."""
    ps = np.array(row.probabilities)
    strict = row.discrete == "exceed"
    bad = []
    for params in row.cases:
        qs = fn("q", row)(requested(ps, log_p), *params, lower_tail=lower_tail, log_p=log_p)
        for p, q in zip(ps, qs):
            def settles(k):
                """Whether count k already answers p: its lower tail reaches (or exceeds)
                p, its upper tail falls to (or below) it, with the slack of the p bound."""
                if k < 0:
                    return False
                lower, upper = true_tails(row, float(k), params)
                if lower_tail:
                    slack = widened(LOWER_ABS, row, params)
                    return lower > p - slack if strict else lower >= p - slack
                slack = widened(TAIL_REL, row, params) * p
                return upper < p + slack if strict else upper <= p + slack

            def settles_firmly(k):
                lower, upper = true_tails(row, float(k), params)
                if lower_tail:
                    slack = widened(LOWER_ABS, row, params)
                    return lower > p + slack if strict else lower >= p + slack
                slack = widened(TAIL_REL, row, params) * p
                return upper < p - slack if strict else upper <= p - slack
            ok = math.isfinite(q) and q == int(q) and settles(q) and not settles_firmly(q - 1) if q >= 1 else \
                math.isfinite(q) and q == 0 and settles(0)
            if not ok:
                bad.append((params, p, lower_tail, log_p, q))
    assert not bad, bad[:8]
