"""The accuracy of the Cauchy, Laplace, logistic, uniform and Weibull functions next to
SciPy's on the same points: per function and clause of the accuracy contract, the worst
error over a grid larger than the test suite's, against the suite's mpmath references.

Slow, run by hand (a few minutes):
    PYTHONPATH=build/testing .venv/bin/python benchmarks/accuracy.py closed_forms
`rows()` returns (function, clause, worst distrova error, worst SciPy error), the errors
measured as in the suite: relative for densities, upper tails and quantiles' tails,
absolute for lower tails, and relative to max(1, |ln P|) for logarithms.
"""
import math
import os
import sys
import warnings

import mpmath
import numpy as np
import scipy.stats as st

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))

import accuracy_closed_forms as references  # noqa: E402
import distrova  # noqa: E402
from accuracy_harness import log_error, relative_error, true_density, true_tails  # noqa: E402

Z = sorted(set(references.Z) | set(np.geomspace(1e-3, 1e4, 60).tolist()))
LOCATION_SCALES = references.LOCATION_SCALES + [(-7.5, 3e-5), (2.0, 1e5)]
FROZEN = {
    "cauchy": lambda mu, sigma: st.cauchy(mu, sigma), "laplace": lambda mu, sigma: st.laplace(mu, sigma),
    "logis": lambda mu, sigma: st.logistic(mu, sigma), "unif": lambda a, b: st.uniform(a, b - a),
    "weibull": lambda shape, scale: st.weibull_min(shape, scale=scale),
}


def true_quantile(name, p, params, side):
    """The true quantile of the tail p on `side` (0 lower, 1 upper), in closed form."""
    p = mpmath.mpf(p)
    lower = p if side == 0 else 1 - p
    upper = 1 - p if side == 0 else p
    if name == "unif":
        a, b = (mpmath.mpf(v) for v in params)
        return a + (b - a) * lower if side == 0 else b - (b - a) * upper
    if name == "weibull":
        shape, scale = params
        return scale * (-mpmath.log1p(-lower) if side == 0 else -mpmath.log(upper)) ** (1 / mpmath.mpf(shape))
    mu, sigma = params
    # the standardized quantile of the lower tail, from the smaller tail without cancellation
    small, sign = (lower, -1) if lower <= upper else (upper, 1)
    z = {"cauchy": lambda t: 1 / mpmath.tan(mpmath.pi * t), "laplace": lambda t: -mpmath.log(2 * t),
         "logis": lambda t: mpmath.log((1 - t) / t)}[name](small)
    return mu + sigma * sign * z


def quantile_error(name, p, params, side, got, tail):
    """The contract's measure: the tail's relative error at the result, or 0 where the
    result lies within 1e-12 of the true quantile; None where that is beyond the doubles'
    precision (below 1e-300 or above 1e300 in magnitude)."""
    with mpmath.workdps(40):
        true = true_quantile(name, p, params, side)
        if not (1e-300 <= abs(true) <= 1e300 or true == 0):
            return None
        if math.isfinite(got) and abs(got - true) <= 1e-12 * abs(true):
            return 0.0
        return relative_error(p, tail(got)) if math.isfinite(got) else math.inf


def larger(row):
    """The row's family over more parameters and points."""
    if row.name in ("cauchy", "laplace", "logis"):
        cases = LOCATION_SCALES[:5] + LOCATION_SCALES[6:] if row.name == "cauchy" else LOCATION_SCALES
        points = lambda mu, sigma: sorted({float(mu + s * sigma * z) for z in Z for s in (-1, 1)  # noqa: E731
                                           if abs(mu + s * sigma * z) < 1e308})
        return cases, points
    if row.name == "unif":
        return row.cases + [(-1.0, 2.0 ** -60), (3.0, 1e300)], row.points
    return [(shape, scale) for shape in (0.7, 2.0, 7.5, 50.0, 1e5) for scale in (1e-3, 1.0, 4e10)] + \
        list(row.cases), row.points


def worst(errors):
    return max([e if not math.isnan(e) else math.inf for e in errors], default=0.0)


def family_rows(row):
    ours, theirs = {}, {}

    def note(clause, mine, scipy_error):
        ours.setdefault(clause, []).append(mine)
        theirs.setdefault(clause, []).append(scipy_error)
    cases, points = larger(row)
    for params in cases:
        frozen = FROZEN[row.name](*params)
        xs = np.array(points(*params))
        with np.errstate(all="ignore"), warnings.catch_warnings():
            warnings.simplefilter("ignore")
            scipy_values = {k: getattr(frozen, k)(xs) for k in ("pdf", "cdf", "sf", "logcdf", "logsf")}
        ours_values = {"pdf": getattr(distrova, "d" + row.name)(xs, *params),
                       "cdf": getattr(distrova, "p" + row.name)(xs, *params),
                       "sf": getattr(distrova, "p" + row.name)(xs, *params, lower_tail=False),
                       "logcdf": getattr(distrova, "p" + row.name)(xs, *params, True),
                       "logsf": getattr(distrova, "p" + row.name)(xs, *params, True, lower_tail=False)}
        for i, x in enumerate(xs):
            f = true_density(row, float(x), params)
            lower, upper = true_tails(row, float(x), params)
            if 1e-300 <= f <= 1e300:
                note("d", relative_error(ours_values["pdf"][i], f), relative_error(scipy_values["pdf"][i], f))
            note("p lower", abs(ours_values["cdf"][i] - float(lower)), abs(scipy_values["cdf"][i] - float(lower)))
            if upper >= 1e-300:
                note("p upper", relative_error(ours_values["sf"][i], upper), relative_error(scipy_values["sf"][i], upper))
            for clause, key, tail in [("log p lower", "logcdf", lower), ("log p upper", "logsf", upper)]:
                note(clause, log_error(ours_values[key][i], tail), log_error(scipy_values[key][i], tail))
        ps = np.array(row.probabilities)
        q = getattr(distrova, "q" + row.name)
        with np.errstate(all="ignore"), warnings.catch_warnings():
            warnings.simplefilter("ignore")
            requests = [("q lower", q(ps, *params), frozen.ppf(ps), 0),
                        ("q upper", q(ps, *params, lower_tail=False), frozen.isf(ps), 1),
                        ("q log lower", q(np.log(ps), *params, log_p=True), frozen.ppf(ps), 0)]
        for clause, mine, scipy_q, side in requests:
            tail = lambda x: true_tails(row, float(x), params)[side]  # noqa: E731
            for p, a, b in zip(ps, mine, scipy_q):
                errors = [quantile_error(row.name, p, params, side, v, tail) for v in (a, b)]
                if errors[0] is not None:
                    note(clause, *errors)
    return [(("d" if c == "d" else "q" if c.startswith("q") else "p") + row.name, c, worst(ours[c]), worst(theirs[c]))
            for c in ours]


def rows():
    """Every family's clauses, the Weibull's two rows (steep and flat shapes) as one."""
    merged = {}
    for i, row in enumerate(references.ROWS):
        if row.name != "weibull" and any(r.name == row.name for r in references.ROWS[:i]):
            continue
        for name, clause, ours, theirs in family_rows(row):
            old = merged.get((name, clause), (0.0, 0.0))
            merged[(name, clause)] = (max(old[0], ours), max(old[1], theirs))
    return [(name, clause, *errors) for (name, clause), errors in merged.items()]
