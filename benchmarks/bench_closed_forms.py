"""Uniform, Weibull, Cauchy, Laplace and logistic functions: time per element.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_closed_forms.py
Each function runs over 1e6 float64 elements next to the matching scipy.stats call;
times are the best of a few repeats, ratios are distrova's time over scipy's from this
one run. With the test-only module present, a plain C++ loop over the same scalar
function is shown as well (the cost of the binding layer is the difference).
"""
import time

import numpy as np
import scipy.stats as st

import distrova

try:
    import _distrova_testing as native
except ImportError:
    native = None

N = 1_000_000
REPEATS = 5


def best_seconds(call, repeats=REPEATS):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        call()
        best = min(best, time.perf_counter() - start)
    return best


def cases():
    rng = np.random.default_rng(0)
    x = rng.normal(scale=3.0, size=N)
    pos = rng.exponential(scale=2.0, size=N)
    inside = rng.uniform(-1.0, 2.0, size=N)
    p = rng.uniform(size=N)
    # name, distrova call, scipy call, (point array, scalar arguments) for the C++ loop
    return [
        ("dunif", lambda: distrova.dunif(inside, 0.0, 1.0), lambda: st.uniform.pdf(inside, 0.0, 1.0),
         (inside, (0.0, 1.0, False))),
        ("punif", lambda: distrova.punif(inside, 0.0, 1.0), lambda: st.uniform.cdf(inside, 0.0, 1.0),
         (inside, (0.0, 1.0, False))),
        ("qunif", lambda: distrova.qunif(p, 0.0, 1.0), lambda: st.uniform.ppf(p, 0.0, 1.0),
         (p, (0.0, 1.0))),
        ("dweibull", lambda: distrova.dweibull(pos, 1.5, 2.0),
         lambda: st.weibull_min.pdf(pos, 1.5, scale=2.0), (pos, (1.5, 2.0, False))),
        ("pweibull", lambda: distrova.pweibull(pos, 1.5, 2.0),
         lambda: st.weibull_min.cdf(pos, 1.5, scale=2.0), (pos, (1.5, 2.0, False))),
        ("qweibull", lambda: distrova.qweibull(p, 1.5, 2.0),
         lambda: st.weibull_min.ppf(p, 1.5, scale=2.0), (p, (1.5, 2.0))),
        ("dcauchy", lambda: distrova.dcauchy(x, 0.0, 1.0), lambda: st.cauchy.pdf(x, 0.0, 1.0),
         (x, (0.0, 1.0, False))),
        ("pcauchy", lambda: distrova.pcauchy(x, 0.0, 1.0), lambda: st.cauchy.cdf(x, 0.0, 1.0),
         (x, (0.0, 1.0, False))),
        ("qcauchy", lambda: distrova.qcauchy(p, 0.0, 1.0), lambda: st.cauchy.ppf(p, 0.0, 1.0),
         (p, (0.0, 1.0))),
        ("dlaplace", lambda: distrova.dlaplace(x, 0.0, 1.0), lambda: st.laplace.pdf(x, 0.0, 1.0),
         (x, (0.0, 1.0, False))),
        ("plaplace", lambda: distrova.plaplace(x, 0.0, 1.0), lambda: st.laplace.cdf(x, 0.0, 1.0),
         (x, (0.0, 1.0, False))),
        ("qlaplace", lambda: distrova.qlaplace(p, 0.0, 1.0), lambda: st.laplace.ppf(p, 0.0, 1.0),
         (p, (0.0, 1.0))),
        ("dlogis", lambda: distrova.dlogis(x, 0.0, 1.0), lambda: st.logistic.pdf(x, 0.0, 1.0),
         (x, (0.0, 1.0, False))),
        ("plogis", lambda: distrova.plogis(x, 0.0, 1.0), lambda: st.logistic.cdf(x, 0.0, 1.0),
         (x, (0.0, 1.0, False))),
        ("qlogis", lambda: distrova.qlogis(p, 0.0, 1.0), lambda: st.logistic.ppf(p, 0.0, 1.0),
         (p, (0.0, 1.0))),
    ]


def main():
    has_loop = native is not None and hasattr(native, "cxx_loop")
    print(f"time per element over {N:.0e} float64 elements, best of {REPEATS}")
    print(f"    {'':9s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}"
          + (f" {'C++ loop':>11s} {'vs C++ loop':>12s}" if has_loop else ""))
    for name, ours, reference, (points, rest) in cases():
        t_ours = best_seconds(ours) / N
        t_ref = best_seconds(reference) / N
        line = f"    {name:9s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x"
        if has_loop:
            t_loop = best_seconds(lambda: native.cxx_loop(name, points, rest)) / N
            line += f" {t_loop * 1e9:8.1f} ns {t_ours / t_loop:11.3f}x"
        print(line)


if __name__ == "__main__":
    main()
