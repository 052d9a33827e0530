"""The normal and log-normal part of the accuracy table: per function and contract clause,
the worst error of distrova over a larger grid than the test suite's, next to SciPy's worst
error on the same points (sf, logcdf, logsf, isf and ndtri_exp for the tail forms).

Slow, run by hand after tests/build-native.sh has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/accuracy.py normal
Errors are measured as the test suite measures them (tests/accuracy_harness.py):
densities relative, lower tails absolute, upper tails relative, logarithms absolute over
max(1, |ln P|), quantiles by the relative error of the requested tail at the result (0
where the true quantile lies within 1e-12 of it or next to it).
"""
import math
import os
import sys

import mpmath
import numpy as np
import scipy.special
import scipy.stats

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))

import distrova  # noqa: E402
from accuracy_harness import log_error, relative_error  # noqa: E402
from accuracy_normal import LOG_POINTS, lognormal_tails, normal_tails  # noqa: E402

Z = np.concatenate([-np.geomspace(1e-8, 300, 120), [0.0], np.geomspace(1e-8, 300, 120)])
TAILS = np.geomspace(1e-300, 0.5, 120)
NORMAL_CASES = [(0.0, 1.0), (3.0, 0.25), (-1e3, 50.0), (5e4, 1e-3), (1e10, 7.0), (0.0, 1e-300), (-1e300, 1e300),
                (-1e308, 1e306)]
LOGNORMAL_CASES = [(0.0, 1.0), (1.5, 3.0), (-40.0, 1.0), (-690.0, 1.0), (-690.0, 0.05), (600.0, 0.1), (0.0, 0.01),
                   (0.0, 15.0), (300.0, 1e-4)]


def normal_family(mu, sigma):
    with np.errstate(over="ignore"):
        points = [x for x in mu + sigma * Z if math.isfinite(x)]
    return (points, scipy.stats.norm(mu, sigma), lambda x: mpmath.npdf(x, mu, sigma),
            lambda x: normal_tails(x, mu, sigma))


def lognormal_family(mu, sigma):
    logs = mu + sigma * Z[np.abs(Z) < 60]
    points = [*LOG_POINTS, *np.exp(logs[logs < 709.78])]
    points = [x for x in points if x > 0]
    return (points, scipy.stats.lognorm(sigma, scale=math.exp(mu)),
            lambda x: mpmath.npdf(mpmath.log(x), mu, sigma) / x, lambda x: lognormal_tails(x, mu, sigma))


def tail_error(q, tail, target, side, lowest):
    """The relative error of the requested tail at q, 0 where the true quantile lies within
    1e-12 of q or between q and a neighbouring double (none below `lowest`)."""
    if not math.isfinite(q):
        return math.inf
    lo, hi = sorted([q * (1 - 1e-12), q * (1 + 1e-12)])
    lo, hi = max(lowest, min(lo, math.nextafter(q, -math.inf))), max(hi, math.nextafter(q, math.inf))
    at = [tail(v)[side] for v in (lo, hi)]
    return 0.0 if min(at) <= target <= max(at) else relative_error(target, tail(q)[side])


def family_rows(name, cases, family, scipy_quantile_of_log, lowest):
    worst = {}

    def note(clause, ours, theirs):
        old = worst.get(clause, (0.0, 0.0))
        worst[clause] = (max(old[0], ours), max(old[1], theirs))

    d, p, q = (getattr(distrova, kind + name) for kind in "dpq")
    for mu, sigma in cases:
        points, frozen, density, tails = family(mu, sigma)
        xs = np.array(points)
        with mpmath.workdps(40), np.errstate(all="ignore"):
            ours = (d(xs, mu, sigma), d(xs, mu, sigma, True), p(xs, mu, sigma), p(xs, mu, sigma, lower_tail=False),
                    p(xs, mu, sigma, True), p(xs, mu, sigma, True, lower_tail=False))
            theirs = (frozen.pdf(xs), frozen.logpdf(xs), frozen.cdf(xs), frozen.sf(xs), frozen.logcdf(xs),
                      frozen.logsf(xs))
            for i, x in enumerate(points):
                f, (lower, upper) = density(x), tails(x)
                if 1e-300 <= f <= 1e300:
                    note("d", relative_error(ours[0][i], f), relative_error(theirs[0][i], f))
                note("d log", log_error(ours[1][i], f), log_error(theirs[1][i], f))
                note("p lower", float(abs(ours[2][i] - lower)), float(abs(theirs[2][i] - lower)))
                if upper >= 1e-300:
                    note("p upper", relative_error(ours[3][i], upper), relative_error(theirs[3][i], upper))
                note("p log lower", log_error(ours[4][i], lower), log_error(theirs[4][i], lower))
                note("p log upper", log_error(ours[5][i], upper), log_error(theirs[5][i], upper))
            for lower_tail in (True, False):
                side = 0 if lower_tail else 1
                for log_p in (False, True):
                    requested = np.log(TAILS) if log_p else TAILS
                    got = q(requested, mu, sigma, lower_tail=lower_tail, log_p=log_p)
                    if log_p:
                        reference = scipy_quantile_of_log(requested, mu, sigma, lower_tail)
                    else:
                        reference = frozen.ppf(TAILS) if lower_tail else frozen.isf(TAILS)
                    clause = "q " + ("lower" if lower_tail else "upper") + (" log" if log_p else "")
                    for t, a, b in zip(TAILS, got, reference):
                        note(clause, tail_error(float(a), tails, t, side, lowest),
                             tail_error(float(b), tails, t, side, lowest))
    return [(name, clause, ours, theirs) for clause, (ours, theirs) in worst.items()]


def rows():
    """(function family, clause, worst distrova error, worst SciPy error)."""
    def normal_of_log(l, mu, sigma, lower):
        return mu + (1 if lower else -1) * sigma * scipy.special.ndtri_exp(l)

    def lognormal_of_log(l, mu, sigma, lower):
        return np.exp(normal_of_log(l, mu, sigma, lower))

    return (family_rows("norm", NORMAL_CASES, normal_family, normal_of_log, -math.inf) +
            family_rows("lnorm", LOGNORMAL_CASES, lognormal_family, lognormal_of_log, 0.0))
