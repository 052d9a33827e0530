"""The Student t and F part of benchmarks/accuracy.py: per function and clause of the
accuracy contract, the worst error of distrova over a grid larger than the test rows'
and the worst error of SciPy on the same points, against the same mpmath references
(tests/accuracy_student_f.py).

Run by hand (slow: mpmath at high precision):
    PYTHONPATH=build/testing .venv/bin/python benchmarks/accuracy.py student_f
Errors: densities and upper tails relative, lower tails absolute, logarithms absolute
over max(1, |ln P|), quantiles as the relative miss of the requested tail.
"""
import os
import sys
import warnings

import numpy as np
import scipy.stats as st

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))

import distrova  # noqa: E402
from accuracy_harness import log_error, quantile_miss, relative_error, true_density, true_tails  # noqa: E402
from accuracy_student_f import ROWS  # noqa: E402

T_DOFS = [0.1, 0.3, 0.7, 1.0, 1.5, 2.0, 2.5, 3.0, 5.0, 12.0, 30.0, 150.0, 1e3, 1e4, 5e4, 3e5, 1e7]
F_DOFS = [(0.1, 0.1), (0.3, 0.5), (1.0, 1.0), (2.0, 3.0), (3.0, 4.0), (0.02, 3.0), (5.0, 8.0), (30.0, 0.7),
          (100.0, 0.3), (1e3, 1e3), (1e4, 5.0), (3.0, 2e5), (1e30, 0.3)]
T_POINTS = [0.0] + [s * m for s in (-1, 1) for m in (1e-300, 1e-8, 0.1, 0.7, 1.5, 2.5, 5.0, 12.0, 40.0,
                                                       300.0, 1e4, 1e9, 1e100, 1e300)]
F_POINTS = [1e-300, 1e-100, 1e-20, 1e-8, 1e-3, 0.01, 0.1, 0.3, 0.7, 1.0, 1.5, 2.5, 5.0, 10.0, 100.0, 1e3,
            1e6, 1e10, 1e100, 1e300]
PROBABILITIES = [1e-300, 1e-100, 1e-20, 1e-12, 1e-6, 1e-3, 0.025, 0.3, 0.5]


def worst(errors):
    errors = [e for e in errors if e == e]
    return max(errors) if errors else 0.0


def errors_of(row, cases, points, ours, scipy_of):
    """{(function, clause): (distrova's worst, SciPy's worst)} over the grid."""
    name = row.name
    found = {}

    def note(function, clause, mine, theirs):
        old = found.get((function, clause), (0.0, 0.0))
        found[(function, clause)] = (max(old[0], mine), max(old[1], theirs))

    for params in cases:
        ref = scipy_of(*params)
        for x in points:
            # (the references take x as an mpmath number: x * x must not overflow)
            density = true_density(row, x, params) if x > 0 or name == "t" else None
            lower, upper = true_tails(row, x, params)
            with warnings.catch_warnings(), np.errstate(all="ignore"):
                warnings.simplefilter("ignore")
                theirs = dict(d=ref.pdf(x), p=ref.cdf(x), sf=ref.sf(x), lc=ref.logcdf(x), ls=ref.logsf(x))
            mine = dict(d=ours("d")(x, *params), p=ours("p")(x, *params),
                        sf=ours("p")(x, *params, lower_tail=False), lc=ours("p")(x, *params, True),
                        ls=ours("p")(x, *params, True, lower_tail=False))
            if density is not None and 1e-300 <= density <= 1e300:
                note("d" + name, "density", relative_error(mine["d"], density), relative_error(theirs["d"], density))
            note("p" + name, "lower tail", abs(mine["p"] - float(lower)), abs(theirs["p"] - float(lower)))
            if upper >= 1e-300:
                note("p" + name, "upper tail (sf)", relative_error(mine["sf"], upper), relative_error(theirs["sf"], upper))
            note("p" + name, "log lower (logcdf)", log_error(mine["lc"], lower), log_error(theirs["lc"], lower))
            note("p" + name, "log upper (logsf)", log_error(mine["ls"], upper), log_error(theirs["ls"], upper))
        for p in PROBABILITIES:
            for lower_tail, clause, their_q in [(True, "quantile (ppf)", ref.ppf), (False, "upper quantile (isf)", ref.isf)]:
                with warnings.catch_warnings(), np.errstate(all="ignore"):
                    warnings.simplefilter("ignore")
                    qs = (ours("q")(p, *params, lower_tail=lower_tail), float(their_q(p)))
                note("q" + name, clause, *(quantile_miss(row, params, q, p, lower_tail) for q in qs))
    return found


def rows():
    """(function, clause, distrova's worst error, SciPy's worst error) for t and F."""
    t_row, f_row = ROWS
    ours = {name: (lambda kind, name=name: getattr(distrova, kind + name)) for name in ("t", "f")}
    found = errors_of(t_row, [(v,) for v in T_DOFS], T_POINTS, ours["t"], lambda n: st.t(n))
    found.update(errors_of(f_row, F_DOFS, F_POINTS, ours["f"], lambda a, b: st.f(a, b)))
    return [(function, clause, mine, theirs) for (function, clause), (mine, theirs) in found.items()]
