"""Gamma, chi-squared and Poisson functions and the Poisson sampler.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the test-only
module:  PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_gamma_poisson.py
Ratios are distrova's time over the reference's, from this one run. The quantiles
make 36 evaluations of the incomplete gamma function per element, so their large
cases run on fewer elements (the time per element is what is compared).
"""
import time

import numpy as np
import scipy.stats

import distrova
from timing import best_seconds


def per_element(n=1_000_000, large=20_000):
    print("time per element (ns); a run of n elements, best of `repeat` runs")
    rng = np.random.default_rng(0)

    def points(count):
        return rng.uniform(0, 12, count), rng.uniform(0, 1, count), rng.integers(0, 12, count)

    x, p, k = points(n)
    xl, pl, kl = points(large)
    big_x = 50 + 7 * (xl - 6)  # around the bulk of shape 50 and rate 50
    big_k = (1000 + 30 * (kl - 6)).astype(np.int64)
    cases = [
        ("pgamma(x, 2.5, 1)", n, 3, lambda: distrova.pgamma(x, 2.5, 1.0),
         lambda: scipy.stats.gamma.cdf(x, 2.5)),
        ("qgamma(p, 2.5, 1)", n, 1, lambda: distrova.qgamma(p, 2.5, 1.0),
         lambda: scipy.stats.gamma.ppf(p, 2.5)),
        ("pchisq(x, 5)", n, 3, lambda: distrova.pchisq(x, 5.0), lambda: scipy.stats.chi2.cdf(x, 5)),
        ("qchisq(p, 5)", n, 1, lambda: distrova.qchisq(p, 5.0), lambda: scipy.stats.chi2.ppf(p, 5)),
        ("ppois(k, 4)", n, 3, lambda: distrova.ppois(k, 4.0), lambda: scipy.stats.poisson.cdf(k, 4)),
        ("qpois(p, 4)", n, 3, lambda: distrova.qpois(p, 4.0), lambda: scipy.stats.poisson.ppf(p, 4)),
        ("pgamma(x, 50, 1)", large, 3, lambda: distrova.pgamma(big_x, 50.0, 1.0),
         lambda: scipy.stats.gamma.cdf(big_x, 50)),
        ("qgamma(p, 50, 1)", large, 1, lambda: distrova.qgamma(pl, 50.0, 1.0),
         lambda: scipy.stats.gamma.ppf(pl, 50)),
        ("ppois(k, 1000)", large, 3, lambda: distrova.ppois(big_k, 1000.0),
         lambda: scipy.stats.poisson.cdf(big_k, 1000)),
        ("qpois(p, 1000)", large, 3, lambda: distrova.qpois(pl, 1000.0),
         lambda: scipy.stats.poisson.ppf(pl, 1000)),
    ]
    print(f"    {'':20s} {'elements':>9s} {'distrova':>11s} {'scipy':>11s} {'ratio':>8s}")
    for name, count, repeat, ours, reference in cases:
        t_ours = best_seconds(ours, 1, repeat) / count
        t_ref = best_seconds(reference, 1, repeat) / count
        print(f"    {name:20s} {count:9.0e} {t_ours * 1e9:11.1f} {t_ref * 1e9:11.1f} "
              f"{t_ours / t_ref:7.2f}x")


def poisson_draws(n=1_000_000):
    print(f"time per draw over {n:.0e} draws (RandomState = numpy.random.RandomState(1))")
    engine, state = distrova.Engine(1), np.random.RandomState(1)
    for rate, count in [(4.0, n), (1000.0, n // 20)]:
        t_ours = best_seconds(lambda: distrova.rpois(rate, count, engine), 1, 3) / count
        t_ref = best_seconds(lambda: state.poisson(rate, size=count), 1, 3) / count
        print(f"    rpois({rate:g}) {t_ours * 1e9:10.1f} ns   RandomState.poisson {t_ref * 1e9:8.1f} ns"
              f"   {t_ours / t_ref:8.2f}x   ({count:.0e} draws)")


def hostile_quantiles():
    print("single calls whose plain upward search would not end in reasonable time")
    for p, rate in [(1e-20, 1e6), (0.5, 1e15)]:
        start = time.perf_counter()
        k = distrova.qpois(p, rate)
        print(f"    qpois({p:g}, {rate:g}) = {k:.17g} in {(time.perf_counter() - start) * 1e3:.2f} ms")


if __name__ == "__main__":
    per_element()
    poisson_draws()
    hostile_quantiles()
