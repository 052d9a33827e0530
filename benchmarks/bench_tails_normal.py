"""Normal and log-normal tails: the upper-tail and logarithmic forms of pnorm, plnorm, qnorm
and qlnorm, next to SciPy's sf, logcdf, logsf, isf and ndtri_exp over the same points.

Run by hand after tests/build-native.sh has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_tails_normal.py
Ratios are distrova's time over SciPy's, from this one run; both are timed in CPU time of
the process, which other work on a shared machine disturbs less than the wall clock.
"""
import time
import timeit

import numpy as np
import scipy.special
import scipy.stats

import distrova


def best_seconds(call, repeat=3):
    return min(timeit.repeat(call, number=1, repeat=repeat, timer=time.process_time))


def cases(n):
    rng = np.random.default_rng(0)
    x = rng.normal(size=n)
    far = rng.uniform(-40, -6, n)  # beyond the plain lower tail's logarithm
    p = rng.uniform(size=n)
    tiny = 10.0 ** rng.uniform(-300, -7, n)  # quantiles solved from the tail
    pos = np.exp(x)
    norm, lognorm = scipy.stats.norm(), scipy.stats.lognorm(1.0)
    return [
        ("pnorm", lambda: distrova.pnorm(x), lambda: norm.cdf(x)),
        ("qnorm", lambda: distrova.qnorm(p), lambda: norm.ppf(p)),
        ("pnorm upper", lambda: distrova.pnorm(x, lower_tail=False), lambda: norm.sf(x)),
        ("pnorm log", lambda: distrova.pnorm(x, log_p=True), lambda: norm.logcdf(x)),
        ("pnorm log far", lambda: distrova.pnorm(far, log_p=True), lambda: norm.logcdf(far)),
        ("pnorm log upper", lambda: distrova.pnorm(x, log_p=True, lower_tail=False), lambda: norm.logsf(x)),
        ("plnorm upper", lambda: distrova.plnorm(pos, 0.0, 1.0, lower_tail=False), lambda: lognorm.sf(pos)),
        ("qnorm upper", lambda: distrova.qnorm(p, lower_tail=False), lambda: norm.isf(p)),
        ("qnorm tail", lambda: distrova.qnorm(tiny), lambda: norm.ppf(tiny)),
        ("qnorm log", lambda: distrova.qnorm(np.log(p), log_p=True), lambda: scipy.special.ndtri_exp(np.log(p))),
        ("qnorm log tail", lambda: distrova.qnorm(np.log(tiny), log_p=True),
         lambda: scipy.special.ndtri_exp(np.log(tiny))),
        ("qlnorm upper", lambda: distrova.qlnorm(p, 0.0, 1.0, lower_tail=False), lambda: lognorm.isf(p)),
    ]


def main(n=200_000):
    print(f"time per element over {n:.0e} elements")
    print(f"    {'':16s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}")
    for name, ours, reference in cases(n):
        t_ours, t_ref = best_seconds(ours) / n, best_seconds(reference) / n
        print(f"    {name:16s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x")


if __name__ == "__main__":
    main()
