"""Upper tails and logarithms of the Cauchy, Laplace, logistic, uniform and Weibull
functions next to SciPy's sf, logcdf, logsf and isf: time per element.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_tails_closed_forms.py
Each call runs over 1e6 float64 elements; times are the best of a few repeats, ratios
are distrova's time over SciPy's from this one run. The quantile requests are spread
like the probabilities of a p-value: p = 10^-u with u uniform in (0, 20).
"""
import numpy as np
import scipy.stats as st

import distrova
from timing import best_seconds

N = 1_000_000


def cases():
    rng = np.random.default_rng(0)
    x = rng.normal(scale=3.0, size=N)
    tail = 10.0 ** -rng.uniform(0, 20, N)
    families = [
        ("unif", (0.0, 1.0), st.uniform(0.0, 1.0), rng.uniform(-0.5, 1.5, N)),
        ("weibull", (1.5, 2.0), st.weibull_min(1.5, scale=2.0), rng.exponential(scale=2.0, size=N)),
        ("cauchy", (0.0, 1.0), st.cauchy(0.0, 1.0), x),
        ("laplace", (0.0, 1.0), st.laplace(0.0, 1.0), x),
        ("logis", (0.0, 1.0), st.logistic(0.0, 1.0), x),
    ]
    for name, params, frozen, points in families:
        p, q = getattr(distrova, "p" + name), getattr(distrova, "q" + name)
        yield f"p{name} upper", lambda: p(points, *params, lower_tail=False), lambda: frozen.sf(points)
        yield f"p{name} log", lambda: p(points, *params, True), lambda: frozen.logcdf(points)
        yield f"p{name} log upper", lambda: p(points, *params, True, lower_tail=False), lambda: frozen.logsf(points)
        yield f"q{name} upper", lambda: q(tail, *params, lower_tail=False), lambda: frozen.isf(tail)
        yield f"q{name} log", lambda: q(np.log(tail), *params, log_p=True), lambda: frozen.ppf(tail)


def main():
    print(f"time per element over {N:.0e} elements")
    print(f"    {'':20s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}")
    for name, ours, reference in cases():
        t_ours, t_ref = best_seconds(ours, repeat=3) / N, best_seconds(reference, repeat=3) / N
        print(f"    {name:20s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x")


if __name__ == "__main__":
    main()
