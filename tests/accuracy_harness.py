"""What the accuracy suite holds every function to, and the shape of a family's row.

Each family's row (in the accuracy_*.py modules) gives a grid of parameters and points and
the true density and tails from mpmath at high precision; tests/test_accuracy.py checks
every row against every clause. The bounds are the module's accuracy contract: densities
to relative 1e-10, lower-tail probabilities to absolute 1e-12 (the classic arithmetic's
own standard), the other tails to relative 1e-12 and their logarithms to absolute
1e-12 * max(1, |ln P|), quantiles to a tail within 1e-9 of the requested one (or the
result within 1e-12 of the true quantile). Where a parameter exceeds 1e5, the density
and lower-tail bounds are 1000 times wider.
"""
import dataclasses
import functools
import math
from typing import Callable, Sequence

import mpmath

INF, NAN = math.inf, math.nan
DBL_MAX = 1.7976931348623157e308
DENSITY_REL = 1e-10
LOWER_ABS = 1e-12
TAIL_REL = 1e-12
QUANTILE_TAIL_REL = 1e-9
QUANTILE_REL = 1e-12
LARGE_PARAMETER = 1e5
LARGE_WIDENING = 1000
# Requested probabilities for the quantiles: both ends of (0, 1) and the middle.
PROBABILITIES = (1e-300, 1e-100, 1e-20, 1e-17, 2.0**-53, 1e-10, 1e-3, 0.025, 0.3, 0.5, 0.7,
                 0.975, 1 - 1e-3, 1 - 1e-10, 1 - 2.0**-52, 1 - 2.0**-53)


@dataclasses.dataclass(frozen=True, eq=False)  # rows are told apart by identity
class Row:
    """One family: `name` is the short name (`norm`); `cases` the parameter tuples, in the
    functions' order; `points(*params)` the x at which d and p are checked; `density` and
    `tails` the true values at (x, *params): the density, and (P(X <= x), P(X > x)), as
    mpmath numbers computed with at least `digits(*params)` digits. `large(*params)`
    marks the parameters above 1e5 whose d and p bounds are wider. `discrete` families
    have their quantile's convention: "reach" (smallest k with P(X <= k) >= p) or
    "exceed" (smallest k with P(X <= k) > p)."""
    name: str
    cases: Sequence[tuple]
    points: Callable[..., Sequence[float]]
    density: Callable[..., "mpmath.mpf"]
    tails: Callable[..., tuple]
    digits: Callable[..., int] = lambda *params: 40
    large: Callable[..., bool] = lambda *params: any(abs(v) > LARGE_PARAMETER for v in params
                                                      if math.isfinite(v))
    discrete: str = ""
    probabilities: Sequence[float] = PROBABILITIES


def at_precision(row, params, f, *args):
    with mpmath.workdps(row.digits(*params)):
        return f(*args, *params)


@functools.lru_cache(maxsize=None)
def true_tails(row, x, params):
    return at_precision(row, params, row.tails, mpmath.mpf(x))


@functools.lru_cache(maxsize=None)
def true_density(row, x, params):
    return at_precision(row, params, row.density, mpmath.mpf(x))


def log_of(v):
    return -INF if v == 0 else float(mpmath.log(v))


def relative_error(got, true):
    if true == 0:
        return 0.0 if got == 0 else INF
    return float(abs((mpmath.mpf(got) - true) / true)) if math.isfinite(got) else INF


def log_error(got, true):
    """|got - ln true| relative to max(1, |ln true|); 0 when both are -inf."""
    t = log_of(true)
    if t == -INF:
        return 0.0 if got == -INF else INF
    if not math.isfinite(got):
        return INF
    return abs(got - t) / max(1.0, abs(t))


def quantile_miss(row, params, q, p, lower_tail):
    """How far a continuous quantile q misses the requested tail p: 0 where the true
    quantile lies between q's neighbours 1e-12 away (or the next doubles, where doubles are
    coarser; beyond the largest double for an infinite q), else the relative error of the
    true tail at q."""
    if math.isnan(q):
        return INF
    side = 0 if lower_tail else 1

    def tail(x):
        return true_tails(row, float(x), params)[side]
    if abs(q) == INF:
        lo, hi = {INF: (DBL_MAX, INF), -INF: (-INF, -DBL_MAX)}[q]
    else:
        lo, hi = sorted([q * (1 - QUANTILE_REL), q * (1 + QUANTILE_REL)]) if q != 0 else (0.0, 0.0)
        lo, hi = min(lo, math.nextafter(q, -INF)), max(hi, math.nextafter(q, INF))
    if min(tail(lo), tail(hi)) <= p <= max(tail(lo), tail(hi)):
        return 0.0
    return relative_error(p, tail(q)) if math.isfinite(q) else INF
