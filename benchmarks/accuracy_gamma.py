"""The gamma, chi-squared, inverse gamma, exponential and Poisson part of the accuracy
table: per function and clause the worst error distrova makes over a grid larger than
the test suite's, next to SciPy's worst error on the same points. The references are the
test rows' (tests/accuracy_gamma.py, mpmath). Slow (a few minutes); run by hand:

    PYTHONPATH=build/testing .venv/bin/python benchmarks/accuracy.py gamma

Errors: densities and upper tails relative, lower tails absolute, logarithms absolute
over max(1, |ln P|), quantiles as the relative distance of the true tail at the result
from the requested one (counts: the number of wrong counts).
"""
import math
import pathlib
import sys

import numpy as np
import scipy.stats as st

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests"))
import accuracy_gamma as rows  # noqa: E402
import distrova  # noqa: E402
from accuracy_harness import PROBABILITIES, Row, log_error, relative_error, true_density, true_tails  # noqa: E402

SHAPES = [1e-12, 1e-6, 0.01, 0.2, 0.5, 1.0, 1.7, 2.5, 5.0, 9.5, 10.0, 17.0, 25.0, 31.0, 60.0, 150.0, 400.0,
          1500.0, 2e4, 2e5, 3e6]


def wider(row, cases):
    return Row(row.name, cases, row.points, row.density, row.tails, row.digits, discrete=row.discrete)


GRID = [
    (wider(rows.GAMMA, [(a, 1.0) for a in SHAPES]), lambda a, scale: st.gamma(a, scale=scale)),
    (wider(rows.CHISQ, [(2 * a,) for a in SHAPES[1:]]), lambda dof: st.chi2(dof)),
    (wider(rows.INVGAMMA, [(a, 1.0) for a in SHAPES[2:-1]]), lambda a, scale: st.invgamma(a, scale=scale)),
    (wider(rows.EXP, [(r,) for r in (1e-300, 1e-20, 1e-8, 0.3, 1.0, 7.0, 1e5, 1e200)]),
     lambda rate: st.expon(scale=1 / rate)),
    (wider(rows.POIS, [(r,) for r in (1e-17, 1e-5, 0.5, 2.0, 4.0, 9.9, 10.0, 10.5, 30.0, 100.0, 1000.0, 2e4, 2e5)]),
     lambda rate: st.poisson(rate)),
]


def quietly(f, *args):
    with np.errstate(all="ignore"):
        try:
            return float(f(*args))
        except (OverflowError, ValueError):
            return math.nan


def worst(errors):
    finite = [e for e in errors if not math.isnan(e)]
    return max(finite) if finite else math.nan


def density_error(v, row, x, c):
    """Relative, where the true density lies in [1e-300, 1e300]; beyond, only whether the
    value stays beyond too (0 or 1)."""
    f = true_density(row, x, c)
    if f < 1e-300:
        return 0.0 if 0 <= v <= 2e-300 else 1.0
    if f > 1e300:
        return 0.0 if v >= 5e299 else 1.0
    return relative_error(v, f)


def point_clauses(row, frozen):
    """(clause, distrova's call, scipy's call, error of a value against the true values)."""
    d, p = getattr(distrova, "d" + row.name), getattr(distrova, "p" + row.name)
    mass = "pmf" if row.discrete else "pdf"
    return [
        ("d", lambda x, c: d(x, *c), lambda x, f: getattr(f, mass)(x), lambda v, x, c: density_error(v, row, x, c)),
        ("p lower", lambda x, c: p(x, *c), lambda x, f: f.cdf(x),
         lambda v, x, c: abs(v - float(true_tails(row, x, c)[0]))),
        ("p upper", lambda x, c: p(x, *c, lower_tail=False), lambda x, f: f.sf(x),
         lambda v, x, c: relative_error(v, true_tails(row, x, c)[1]) if true_tails(row, x, c)[1] >= 1e-300 else 0.0),
        ("log lower", lambda x, c: p(x, *c, True), lambda x, f: f.logcdf(x),
         lambda v, x, c: log_error(v, true_tails(row, x, c)[0])),
        ("log upper", lambda x, c: p(x, *c, True, lower_tail=False), lambda x, f: f.logsf(x),
         lambda v, x, c: log_error(v, true_tails(row, x, c)[1])),
    ]


def quantile_error(row, c, q, p, lower):
    if math.isnan(q):
        return math.inf
    side = 0 if lower else 1
    if row.discrete:
        # Where p lies within the lower tail's bound (absolute 1e-12) or the upper tail's
        # (relative 1e-12) of a true tail at a count, either neighbour is right.
        def passed(k, slack):
            if k < 0:
                return False
            t = true_tails(row, float(k), c)[side]
            return t > p - slack if lower else t < p * (1 + slack)
        slack = 1e-12 * (1000 if row.large(*c) else 1)
        right = math.isfinite(q) and passed(q, slack) and not passed(q - 1, -slack)
        return 0.0 if right else 1.0
    if q == 0 or math.isinf(q):
        return 0.0 if (q == 0) == (p < float(true_tails(row, 5e-324, c)[side]) if lower else
                                   p > float(true_tails(row, 5e-324, c)[side])) else math.inf
    # 0 where the true quantile lies within 1e-12 of q, the contract's other clause
    around = [float(true_tails(row, q * (1 + s), c)[side]) for s in (-1e-12, 1e-12)]
    if min(around) <= p <= max(around):
        return 0.0
    return relative_error(p, true_tails(row, q, c)[side])


def rows():
    """(function, clause, worst distrova error, worst SciPy error) rows; parameters above
    1e5 (where the d and p bounds are 1000 times wider) in rows of their own."""
    out = []

    def add(name, clause, mine, peer):
        for large in (False, True):
            if mine[large]:
                out.append((name, clause + (" >1e5" if large else ""), worst(mine[large]), worst(peer[large])))

    for row, scipy_of in GRID:
        for clause, ours, theirs, error in point_clauses(row, None):
            mine, peer = {False: [], True: []}, {False: [], True: []}
            for c in row.cases:
                frozen, large = scipy_of(*c), row.large(*c)
                for x in row.points(*c):
                    mine[large].append(error(quietly(ours, x, c), x, c))
                    peer[large].append(error(quietly(theirs, x, frozen), x, c))
            add(("d" if clause == "d" else "p") + row.name, clause, mine, peer)
        q = getattr(distrova, "q" + row.name)
        for lower in (True, False):
            mine, peer = {False: [], True: []}, {False: [], True: []}
            for c in row.cases:
                frozen, large = scipy_of(*c), row.large(*c)
                for p in PROBABILITIES:
                    mine[large].append(quantile_error(row, c, quietly(lambda: q(p, *c, lower_tail=lower)), p, lower))
                    peer[large].append(quantile_error(row, c, quietly(frozen.ppf if lower else frozen.isf, p), p, lower))
            add("q" + row.name, "q lower" if lower else "q upper", mine, peer)
    return out
