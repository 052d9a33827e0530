"""The upper-tail and log forms of the beta and binomial functions next to SciPy's sf,
logcdf, logsf and isf: nanoseconds per element over 1e5 elements, best of three.
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_tails_beta.py
"""
import timeit

import numpy as np
import scipy.stats as st

import distrova

N = 100_000


def per_element(call):
    return min(timeit.repeat(call, number=1, repeat=3)) / N * 1e9


def cases():
    rng = np.random.default_rng(0)
    x, p = rng.uniform(size=N), rng.uniform(size=N)
    counts = rng.integers(0, 101, size=N).astype(float)
    beta, binom = st.beta(2.5, 4.0), st.binom(100, 0.3)
    yield "pbeta upper", lambda: distrova.pbeta(x, 2.5, 4.0, lower_tail=False), lambda: beta.sf(x)
    yield "pbeta log", lambda: distrova.pbeta(x, 2.5, 4.0, True), lambda: beta.logcdf(x)
    yield "pbeta log upper", lambda: distrova.pbeta(x, 2.5, 4.0, True, lower_tail=False), lambda: beta.logsf(x)
    yield "qbeta upper", lambda: distrova.qbeta(p, 2.5, 4.0, lower_tail=False), lambda: beta.isf(p)
    yield "qbeta log", lambda: distrova.qbeta(np.log(p), 2.5, 4.0, log_p=True), lambda: beta.ppf(p)
    yield "pbinom upper", lambda: distrova.pbinom(counts, 100, 0.3, lower_tail=False), lambda: binom.sf(counts)
    yield "pbinom log", lambda: distrova.pbinom(counts, 100, 0.3, True), lambda: binom.logcdf(counts)
    yield "qbinom upper", lambda: distrova.qbinom(p, 100, 0.3, lower_tail=False), lambda: binom.isf(p)


if __name__ == "__main__":
    print(f"{'call':18s} {'distrova ns':>12s} {'SciPy ns':>10s} {'ratio':>6s}")
    for name, ours, theirs in cases():
        a, b = per_element(ours), per_element(theirs)
        print(f"{name:18s} {a:12.1f} {b:10.1f} {a / b:6.2f}")
