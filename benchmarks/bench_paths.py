"""Every computational path of the d, p and q functions and the samplers at small and
large parameters: time per element next to SciPy or NumPy and, given an older build,
next to that build's figures, all as ratios from one run; then two threads against one.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_paths.py [--before DIR]
        [--seconds S] [--only TEXT ...] [--no-threads]
Each call is sized to take about S seconds (0.3 by default) in this build, and the same
elements serve the reference and the older build (a folder holding its distrova*.so,
measured by a child process of this run). The three are timed in turn, three rounds of
one call each, so that a change in the machine's load touches all of them alike; the
figures are the best round (one round where a call takes over three seconds), each the
calling thread's time on a core. Ratios are this build's time over the other's; the
threads are timed by the clock on the wall.
"""
import argparse
import json
import os
import subprocess
import sys
import time
import timeit
from concurrent.futures import ThreadPoolExecutor

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")  # idle BLAS threads would share the cores

import numpy as np  # noqa: E402
import scipy.stats as st  # noqa: E402

import distrova as d  # noqa: E402

SLOW_CALL = 3.0


def uniform(lo, hi):
    return lambda rng, n: rng.uniform(lo, hi, n)


def counts(lo, hi):
    return lambda rng, n: rng.integers(lo, hi + 1, n)


def log_uniform(lo, hi):
    return lambda rng, n: 10.0 ** rng.uniform(np.log10(lo), np.log10(hi), n)


def around(center, spread):
    return lambda rng, n: center + spread * rng.standard_normal(n)


# (path, call as shown, distrova function, points, parameters, reference on the points).
# Each point generator takes (rng, n); the d and p functions get their flag False.
ELEMENTWISE = [
    ("incomplete gamma: lower fraction", "pgamma(x, 2.5, 1)", d.pgamma, uniform(0, 8), (2.5, 1.0),
     lambda x: st.gamma.cdf(x, 2.5)),
    ("incomplete gamma: upper fraction", "pgamma(x, 2.5, 1)", d.pgamma, uniform(13, 40), (2.5, 1.0),
     lambda x: st.gamma.cdf(x, 2.5)),
    ("incomplete gamma: upper fraction", "pgamma(x, 100, 1)", d.pgamma, uniform(301, 600), (100.0, 1.0),
     lambda x: st.gamma.cdf(x, 100)),
    ("incomplete gamma: quadrature", "pgamma(x, 100, 1)", d.pgamma, uniform(60, 140), (100.0, 1.0),
     lambda x: st.gamma.cdf(x, 100)),
    ("incomplete gamma: quadrature", "pchisq(x, 300)", d.pchisq, uniform(200, 400), (300.0,),
     lambda x: st.chi2.cdf(x, 300)),
    ("incomplete gamma: cube-root normal", "pgamma(x, 1e11, 1)", d.pgamma, around(1e11, 3e5), (1e11, 1.0),
     lambda x: st.gamma.cdf(x, 1e11)),
    ("gamma density: small shape", "dgamma(x, 2.5, 1)", d.dgamma, uniform(0, 8), (2.5, 1.0),
     lambda x: st.gamma.pdf(x, 2.5)),
    ("gamma density: large shape", "dgamma(x, 100, 1)", d.dgamma, uniform(60, 140), (100.0, 1.0),
     lambda x: st.gamma.pdf(x, 100)),
    ("gamma inverse: small shape, central", "qgamma(p, 2.5, 1)", d.qgamma, uniform(0.05, 0.95), (2.5, 1.0),
     lambda p: st.gamma.ppf(p, 2.5)),
    ("gamma inverse: small shape, tail", "qgamma(p, 2.5, 1)", d.qgamma, log_uniform(1e-10, 1e-3), (2.5, 1.0),
     lambda p: st.gamma.ppf(p, 2.5)),
    ("gamma inverse: shape below 1", "qgamma(p, 0.5, 1)", d.qgamma, uniform(0.05, 0.95), (0.5, 1.0),
     lambda p: st.gamma.ppf(p, 0.5)),
    ("gamma inverse: large shape, central", "qgamma(p, 100, 1)", d.qgamma, uniform(0.05, 0.95), (100.0, 1.0),
     lambda p: st.gamma.ppf(p, 100)),
    ("gamma inverse: large shape, tail", "qgamma(p, 100, 1)", d.qgamma, log_uniform(1e-10, 1e-3), (100.0, 1.0),
     lambda p: st.gamma.ppf(p, 100)),
    ("incomplete beta: small shapes", "pbeta(x, 0.5, 0.5)", d.pbeta, uniform(0, 1), (0.5, 0.5),
     lambda x: st.beta.cdf(x, 0.5, 0.5)),
    ("incomplete beta: moderate shapes", "pbeta(x, 2.5, 3.5)", d.pbeta, uniform(0, 1), (2.5, 3.5),
     lambda x: st.beta.cdf(x, 2.5, 3.5)),
    ("incomplete beta: large shapes", "pbeta(x, 200, 300)", d.pbeta, uniform(0.33, 0.47), (200.0, 300.0),
     lambda x: st.beta.cdf(x, 200, 300)),
    ("beta density: large shapes", "dbeta(x, 200, 300)", d.dbeta, uniform(0.33, 0.47), (200.0, 300.0),
     lambda x: st.beta.pdf(x, 200, 300)),
    ("beta inverse: small shapes", "qbeta(p, 0.5, 0.5)", d.qbeta, uniform(0.05, 0.95), (0.5, 0.5),
     lambda p: st.beta.ppf(p, 0.5, 0.5)),
    ("beta inverse: moderate shapes, central", "qbeta(p, 2.5, 3.5)", d.qbeta, uniform(0.05, 0.95), (2.5, 3.5),
     lambda p: st.beta.ppf(p, 2.5, 3.5)),
    ("beta inverse: moderate shapes, tail", "qbeta(p, 2.5, 3.5)", d.qbeta, log_uniform(1e-10, 1e-3), (2.5, 3.5),
     lambda p: st.beta.ppf(p, 2.5, 3.5)),
    ("beta inverse: large shapes", "qbeta(p, 200, 300)", d.qbeta, uniform(0.05, 0.95), (200.0, 300.0),
     lambda p: st.beta.ppf(p, 200, 300)),
    ("student t: small dof", "pt(x, 5)", d.pt, uniform(-4, 4), (5.0,), lambda x: st.t.cdf(x, 5)),
    ("student t: large-dof form", "pt(x, 2e6)", d.pt, uniform(-4, 4), (2e6,), lambda x: st.t.cdf(x, 2e6)),
    ("t inverse: central", "qt(p, 5)", d.qt, uniform(0.05, 0.95), (5.0,), lambda p: st.t.ppf(p, 5)),
    ("t inverse: tail steps", "qt(p, 5)", d.qt, log_uniform(1e-8, 1e-3), (5.0,), lambda p: st.t.ppf(p, 5)),
    ("t inverse: search (dof below 1)", "qt(p, 0.5)", d.qt, uniform(0.05, 0.95), (0.5,),
     lambda p: st.t.ppf(p, 0.5)),
    ("F: moderate dof", "pf(x, 5, 8)", d.pf, uniform(0, 5), (5.0, 8.0), lambda x: st.f.cdf(x, 5, 8)),
    ("F inverse: moderate dof", "qf(p, 5, 8)", d.qf, uniform(0.05, 0.95), (5.0, 8.0),
     lambda p: st.f.ppf(p, 5, 8)),
    ("normal: central", "pnorm(x)", d.pnorm, uniform(-2, 2), (0.0, 1.0), lambda x: st.norm.cdf(x)),
    ("normal: tails", "pnorm(x)", d.pnorm, uniform(-30, -3), (0.0, 1.0), lambda x: st.norm.cdf(x)),
    ("normal inverse: central", "qnorm(p)", d.qnorm, uniform(0.05, 0.95), (0.0, 1.0), lambda p: st.norm.ppf(p)),
    ("normal inverse: tails", "qnorm(p)", d.qnorm, log_uniform(1e-300, 1e-3), (0.0, 1.0),
     lambda p: st.norm.ppf(p)),
    ("poisson mass", "dpois(k, 1000)", d.dpois, counts(900, 1100), (1000.0,), lambda k: st.poisson.pmf(k, 1000)),
    ("poisson: exact sum", "ppois(k, 4)", d.ppois, counts(0, 15), (4.0,), lambda k: st.poisson.cdf(k, 4)),
    ("poisson: incomplete gamma, small rate", "ppois(k, 20)", d.ppois, counts(5, 40), (20.0,),
     lambda k: st.poisson.cdf(k, 20)),
    ("poisson: incomplete gamma, large rate", "ppois(k, 1000)", d.ppois, counts(900, 1100), (1000.0,),
     lambda k: st.poisson.cdf(k, 1000)),
    ("poisson count search: from 0", "qpois(p, 4)", d.qpois, uniform(0.01, 0.99), (4.0,),
     lambda p: st.poisson.ppf(p, 4)),
    ("poisson count search: from the normal", "qpois(p, 1000)", d.qpois, uniform(0.01, 0.99), (1000.0,),
     lambda p: st.poisson.ppf(p, 1000)),
    ("binomial mass", "dbinom(k, 20000, 0.5)", d.dbinom, counts(9800, 10200), (20000, 0.5),
     lambda k: st.binom.pmf(k, 20000, 0.5)),
    ("binomial sum: small n", "pbinom(k, 20, 0.3)", d.pbinom, counts(0, 20), (20, 0.3),
     lambda k: st.binom.cdf(k, 20, 0.3)),
    ("binomial sum: large n", "pbinom(k, 20000, 0.5)", d.pbinom, counts(9800, 10200), (20000, 0.5),
     lambda k: st.binom.cdf(k, 20000, 0.5)),
    ("binomial count search: small n", "qbinom(p, 20, 0.3)", d.qbinom, uniform(0.01, 0.99), (20, 0.3),
     lambda p: st.binom.ppf(p, 20, 0.3)),
    ("binomial count search: large n", "qbinom(p, 20000, 0.5)", d.qbinom, uniform(0.3, 0.7), (20000, 0.5),
     lambda p: st.binom.ppf(p, 20000, 0.5)),
]

# The posterior workload of a new user: upper 97.5% limits over many gamma posteriors.
SHAPES = uniform(0.5, 49.5)

g = np.random.default_rng(1)
# (path, call as shown, distrova draws of n, NumPy draws of n).
SAMPLERS = [
    ("polar normal", "rnorm(0, 1)", lambda n: d.rnorm(0.0, 1.0, n), lambda n: g.normal(0, 1, n)),
    ("gamma: shape below 1", "rgamma(0.5, 1)", lambda n: d.rgamma(0.5, 1.0, n), lambda n: g.gamma(0.5, 1.0, n)),
    ("gamma: shape above 1", "rgamma(2.5, 1)", lambda n: d.rgamma(2.5, 1.0, n), lambda n: g.gamma(2.5, 1.0, n)),
    ("gamma: large shape", "rgamma(1000, 1)", lambda n: d.rgamma(1000.0, 1.0, n),
     lambda n: g.gamma(1000.0, 1.0, n)),
    ("beta: small shapes", "rbeta(0.5, 0.5)", lambda n: d.rbeta(0.5, 0.5, n), lambda n: g.beta(0.5, 0.5, n)),
    ("beta: moderate shapes", "rbeta(2.5, 3.5)", lambda n: d.rbeta(2.5, 3.5, n), lambda n: g.beta(2.5, 3.5, n)),
    ("student t", "rt(5)", lambda n: d.rt(5.0, n), lambda n: g.standard_t(5, n)),
    ("poisson inversion: from 0", "rpois(4)", lambda n: d.rpois(4.0, n), lambda n: g.poisson(4.0, n)),
    ("poisson inversion: from the normal", "rpois(20)", lambda n: d.rpois(20.0, n), lambda n: g.poisson(20.0, n)),
    ("poisson inversion: large rate", "rpois(1000)", lambda n: d.rpois(1000.0, n), lambda n: g.poisson(1000.0, n)),
    ("binomial trials: small n", "rbinom(20, 0.3)", lambda n: d.rbinom(20, 0.3, n), lambda n: g.binomial(20, 0.3, n)),
    ("binomial trials: large n", "rbinom(5000, 0.2)", lambda n: d.rbinom(5000, 0.2, n),
     lambda n: g.binomial(5000, 0.2, n)),
]


def seconds(call):
    """The calling thread's time on a core: the machine is shared, and time spent waiting
    for a core is not the call's."""
    start = time.thread_time()
    call()
    return time.thread_time() - start


def sized(call_of_n, target):
    """The number of elements for which call_of_n takes about `target` seconds."""
    n = 64
    while True:
        t = min(seconds(lambda: call_of_n(n)) for _ in range(2))
        if t > target / 8 or n >= 4_000_000:
            return int(min(4_000_000, max(64, n * target / max(t, 1e-9))))
        n *= 8


def cases(target, sizes=None, only=()):
    """(label, n, distrova's call, the reference's call) of the paths whose label holds a
    word of `only` (all without), each sized here unless `sizes` gives its size."""
    wanted = (lambda label: label in sizes) if sizes else (lambda label: not only or any(w in label for w in only))
    rows = [(f"{path} | {shown}", f, points, params, reference)
            for path, shown, f, points, params, reference in ELEMENTWISE]
    out = []
    rng = np.random.default_rng(0)
    for label, f, points, params, reference in rows:
        if not wanted(label):
            continue
        flag = () if f.__name__.startswith("q") else (False,)
        n = sizes[label] if sizes else sized(lambda m: f(points(rng, m), *params, *flag), target)
        x = points(np.random.default_rng(len(label)), n)
        out.append((label, n, lambda f=f, x=x, params=params, flag=flag: f(x, *params, *flag),
                    lambda reference=reference, x=x: reference(x)))
    label = "gamma inverse: posterior shapes | qgamma(0.975, a, 0.1)"
    if wanted(label):
        n = sizes[label] if sizes else sized(lambda m: d.qgamma(0.975, SHAPES(rng, m), 0.1), target)
        a = SHAPES(np.random.default_rng(len(label)), n)
        out.append((label, n, lambda a=a: d.qgamma(0.975, a, 0.1), lambda a=a: st.gamma.ppf(0.975, a, scale=0.1)))
    for path, shown, ours, numpy_draws in SAMPLERS:
        label = f"{path} | {shown}"
        if not wanted(label):
            continue
        n = sizes[label] if sizes else sized(ours, target)
        out.append((label, n, lambda ours=ours, n=n: ours(n), lambda numpy_draws=numpy_draws, n=n: numpy_draws(n)))
    return out


class Before:
    """A child process with the older build on its path, timing calls on request."""

    def __init__(self, folder, case_list):
        sizes = json.dumps({label: n for label, n, _, _ in case_list})
        self.child = subprocess.Popen([sys.executable, __file__, "--serve", sizes],
                                      env={**os.environ, "PYTHONPATH": os.path.abspath(folder)},
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def seconds(self, label):
        self.child.stdin.write(label + "\n")
        self.child.stdin.flush()
        return float(self.child.stdout.readline())

    def close(self):
        self.child.stdin.close()
        self.child.wait()


def serve(sizes):
    calls = {label: ours for label, _, ours, _ in cases(0, sizes)}
    for line in sys.stdin:
        print(seconds(calls[line.rstrip("\n")]), flush=True)


def measure(case_list, before=None, rounds=3):
    """ns per element of this build, the older one and the reference, timed in turn."""
    figures = {}
    for label, n, ours, theirs in case_list:
        best = [float("inf")] * 3
        for _ in range(rounds):
            times = [seconds(ours), before.seconds(label) if before else None, seconds(theirs)]
            best = [min(b, t) if t is not None else None for b, t in zip(best, times)]
            if max(t for t in times if t is not None) > SLOW_CALL:
                break
        figures[label] = [t / n * 1e9 if t is not None else None for t in best]
        print(f"  measured {label}", file=sys.stderr, flush=True)
    return figures


def two_threads(elements=4_000_000):
    """Seconds of one thread over pgamma(x, 2.5, 1) and of two threads over its halves."""
    x = np.random.default_rng(2).uniform(0, 8, elements)
    halves = np.array_split(x, 2)
    with ThreadPoolExecutor(2) as pool:
        def split():
            return np.concatenate(list(pool.map(lambda h: d.pgamma(h, 2.5, 1.0), halves)))
        assert split().tobytes() == d.pgamma(x, 2.5, 1.0).tobytes()
        one = min(timeit.repeat(lambda: d.pgamma(x, 2.5, 1.0), number=1, repeat=3))
        two = min(timeit.repeat(split, number=1, repeat=3))
    return one, two


def text(v, width=10):
    if v is None:
        return " " * width
    return f"{v:{width}.1f}" if v < 1e5 else f"{v:{width}.3g}"


def ratio(a, b):
    return f"{a / b:8.2f}" if a is not None and b else " " * 8


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--before", help="folder of an older build of the module")
    parser.add_argument("--seconds", type=float, default=0.3, help="time of each call in this build")
    parser.add_argument("--only", nargs="*", default=[], help="paths whose label contains one of these")
    parser.add_argument("--no-threads", action="store_true")
    parser.add_argument("--serve", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.serve:  # the child process that times an older build
        serve(json.loads(args.serve))
        return
    case_list = cases(args.seconds, only=args.only)
    before = Before(args.before, case_list) if args.before else None
    figures = measure(case_list, before)
    if before:
        before.close()
    sizes = {label: n for label, n, _, _ in case_list}

    print("ns per element (per draw for the samplers); reference: scipy.stats or numpy.random.Generator")
    print(f"{'path | call':64s} {'elements':>9s} {'distrova':>10s} {'before':>10s} {'ratio':>8s}"
          f" {'reference':>10s} {'ratio':>8s}")
    for label, (ns, old, ref) in figures.items():
        print(f"{label:64s} {sizes[label]:9d} {text(ns)} {text(old)} {ratio(ns, old)} {text(ref)} {ratio(ns, ref)}")
    if not args.no_threads:
        one, two = two_threads()
        print(f"pgamma(x, 2.5, 1) over 4e6 elements: one thread {one:.3f} s, two threads over the halves"
              f" {two:.3f} s, ratio {two / one:.2f}")


if __name__ == "__main__":
    main()
