"""The beta, binomial and Bernoulli part of benchmarks/accuracy.py: per function and
clause, the worst error of distrova and of SciPy over a larger grid than the tests use,
with the tests' own mpmath references. Slow (minutes); run by hand:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/accuracy.py beta
"""
import math

import numpy as np
import scipy.stats as st

import accuracy_beta
import distrova
from accuracy_harness import log_error, quantile_miss, relative_error, true_tails

GRID = [(0.01, 0.01), (0.05, 1), (0.1, 3), (0.5, 0.5), (2, 3), (1.1, 999.1), (30, 0.2), (1e-5, 2), (3, 1e-8),
        (0.1, 1e15), (2000, 3000), (0.3, 7), (12, 45), (1e6, 1e6)]
BINOMIAL_GRID = [(10, 0.3), (200, 0.5), (3000, 1e-3), (40, 1e-17), (100000, 0.3), (10**12, 1e-10), (10**15, 1e-10)]


def worst(pairs):
    return max((e for e in pairs if e == e), default=0.0)


def clauses(name, row, grid, scipy_of):
    """(function, clause, distrova's worst error, SciPy's worst error) per clause."""
    p = getattr(distrova, "p" + name)
    found = {key: ([], []) for key in ("lower abs", "upper rel", "log lower", "log upper")}
    for params in grid:
        xs = np.array(row.points(*params), dtype=float)
        ref = scipy_of(*params)
        for x in xs:
            lower, upper = true_tails(row, float(x), params)
            ours = (p(x, *params), p(x, *params, lower_tail=False), p(x, *params, True),
                    p(x, *params, True, lower_tail=False))
            with np.errstate(all="ignore"):
                theirs = (ref.cdf(x), ref.sf(x), ref.logcdf(x), ref.logsf(x))
            for (key, (mine, other)), o, t in zip(found.items(), ours, theirs):
                if key == "lower abs":
                    err = lambda v: abs(v - float(lower)) if math.isfinite(v) else math.inf  # noqa: E731
                elif key == "upper rel":
                    err = lambda v: relative_error(v, upper) if upper >= 1e-300 else 0.0  # noqa: E731
                else:
                    err = lambda v: log_error(v, lower if key == "log lower" else upper)  # noqa: E731
                mine.append(err(float(o)))
                other.append(err(float(t)))
    return [("p" + name, key, worst(m), worst(o)) for key, (m, o) in found.items()]


def quantiles(grid):
    """qbeta in the upper tail and from log probabilities: the true tail at the result
    relative to the requested one, next to SciPy's isf."""
    row = accuracy_beta.ROWS[0]
    mine, theirs = [], []
    for params in grid:
        if max(params) > 1e5:
            continue
        for q in (1e-300, 1e-20, 1e-10, 1e-3, 0.3):
            ours = distrova.qbeta(q, *params, lower_tail=False)
            other = float(st.beta(*params).isf(q))
            for v, bucket in ((ours, mine), (other, theirs)):
                bucket.append(quantile_miss(row, params, v, q, False))
    return [("qbeta", "upper tail rel", worst(mine), worst(theirs))]


def rows():
    beta_row, binom_row = accuracy_beta.ROWS[0], accuracy_beta.ROWS[2]
    return (clauses("beta", beta_row, GRID, lambda a, b: st.beta(a, b))
            + clauses("binom", binom_row, BINOMIAL_GRID, lambda n, p: st.binom(n, p))
            + quantiles(GRID))
