"""Student t and F functions: time per element.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_student_f.py
Each function runs over 1e6 float64 elements next to the matching scipy.stats call;
times are the best of a few repeats, ratios are distrova's time over scipy's from this
one run. The second table takes the t functions above a million degrees of freedom,
where they switch to their large-dof forms (and qt to the root finder).
"""
import numpy as np
import scipy.stats as st

import distrova
from timing import print_per_element

N = 1_000_000


def cases(families):
    rng = np.random.default_rng(0)
    p = rng.uniform(size=N)
    for name, params, frozen, points in families(rng):
        for kind, reference, at, rest in [("d", frozen.pdf, points, params + (False,)),
                                          ("p", frozen.cdf, points, params + (False,)),
                                          ("q", frozen.ppf, p, params)]:
            ours = getattr(distrova, kind + name)
            yield (kind + name, (lambda f=ours, a=at: f(a, *params)), (lambda r=reference, a=at: r(a)),
                   (at, rest), 2 if kind == "q" else 3)


def moderate(rng):
    return [("t", (5.0,), st.t(5.0), rng.standard_t(5.0, size=N)),
            ("f", (3.0, 5.0), st.f(3.0, 5.0), rng.f(3.0, 5.0, size=N))]


def large_dof(rng):
    return [("t", (2.5e7,), st.t(2.5e7), rng.normal(size=N))]


if __name__ == "__main__":
    print("t with 5, F with 3 and 5 degrees of freedom")
    print_per_element(cases(moderate), N)
    print("t with 2.5e7 degrees of freedom")
    print_per_element(cases(large_dof), N)
