"""Uniform, Weibull, Cauchy, Laplace and logistic functions: time per element.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_closed_forms.py
Each function runs over 1e6 float64 elements next to the matching scipy.stats call;
times are the best of a few repeats, ratios are distrova's time over scipy's from this
one run. With the test-only module present, a plain C++ loop over the same scalar
function is shown as well (the cost of the binding layer is the difference).
"""
import numpy as np
import scipy.stats as st

import distrova
from timing import print_per_element

N = 1_000_000


def cases():
    rng = np.random.default_rng(0)
    x = rng.normal(scale=3.0, size=N)
    positive = rng.exponential(scale=2.0, size=N)
    inside = rng.uniform(-1.0, 2.0, size=N)
    p = rng.uniform(size=N)
    # short name, parameters, the scipy distribution frozen at them, points for d and p
    families = [
        ("unif", (0.0, 1.0), st.uniform(0.0, 1.0), inside),
        ("weibull", (1.5, 2.0), st.weibull_min(1.5, scale=2.0), positive),
        ("cauchy", (0.0, 1.0), st.cauchy(0.0, 1.0), x),
        ("laplace", (0.0, 1.0), st.laplace(0.0, 1.0), x),
        ("logis", (0.0, 1.0), st.logistic(0.0, 1.0), x),
    ]
    for name, params, frozen, points in families:
        for kind, reference, at, rest in [("d", frozen.pdf, points, params + (False,)),
                                          ("p", frozen.cdf, points, params + (False,)),
                                          ("q", frozen.ppf, p, params)]:
            ours = getattr(distrova, kind + name)
            yield kind + name, (lambda f=ours, a=at: f(a, *params)), (lambda r=reference, a=at: r(a)), (at, rest)


def main():
    print_per_element(cases(), N)


if __name__ == "__main__":
    main()
