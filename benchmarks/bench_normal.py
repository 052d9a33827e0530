"""Normal and log-normal functions: scalar latency, array throughput and memory.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the test-only
module:  PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_normal.py
Ratios are distrova's time over the reference's, from this one run.
"""
import tracemalloc

import numpy as np
import scipy.special
import scipy.stats

import distrova
from timing import best_seconds
import _distrova_testing as native



def scalar_latency():
    print("(a) scalar call latency")
    calls = {
        "dnorm(0.5)": lambda: distrova.dnorm(0.5),
        "pnorm(0.5)": lambda: distrova.pnorm(0.5),
        "qnorm(0.3)": lambda: distrova.qnorm(0.3),
    }
    refs = {
        "scipy.special.ndtr(0.5)": lambda: scipy.special.ndtr(0.5),
        "scipy.stats.norm.pdf(0.5)": lambda: scipy.stats.norm.pdf(0.5),
    }
    ref_times = {name: best_seconds(f, 20_000 if "special" in name else 2_000)
                 for name, f in refs.items()}
    for name, t in ref_times.items():
        print(f"    {name:28s} {t * 1e9:9.0f} ns")
    for name, f in calls.items():
        t = best_seconds(f, 20_000)
        ratios = "  ".join(f"{t / r:6.3f} x {ref}" for ref, r in ref_times.items())
        print(f"    {name:28s} {t * 1e9:9.0f} ns   {ratios}")


def array_throughput(n=1_000_000):
    print(f"(b, c) time per element over {n:.0e} float64 elements")
    rng = np.random.default_rng(0)
    x = rng.normal(size=n)
    p = rng.uniform(size=n)
    pos = np.exp(x)
    cases = [
        ("dnorm", lambda: distrova.dnorm(x), lambda: scipy.stats.norm.pdf(x),
         lambda: native.cxx_loop("dnorm", x, (0.0, 1.0, False))),
        ("pnorm", lambda: distrova.pnorm(x), lambda: scipy.stats.norm.cdf(x),
         lambda: native.cxx_loop("pnorm", x, (0.0, 1.0, False))),
        ("qnorm", lambda: distrova.qnorm(p), lambda: scipy.stats.norm.ppf(p),
         lambda: native.cxx_loop("qnorm", p, (0.0, 1.0))),
        ("dlnorm", lambda: distrova.dlnorm(pos, 0.0, 1.0), lambda: scipy.stats.lognorm.pdf(pos, 1.0),
         lambda: native.cxx_loop("dlnorm", pos, (0.0, 1.0, False))),
    ]
    print(f"    {'':8s} {'distrova':>11s} {'scipy':>11s} {'C++ loop':>11s} "
          f"{'vs scipy':>9s} {'vs C++ loop':>12s}")
    for name, ours, scipy_call, loop in cases:
        number = 1 if name == "qnorm" else 3
        t_ours = best_seconds(ours, number, repeat=3) / n
        t_ref = best_seconds(scipy_call, number, repeat=3) / n
        t_loop = best_seconds(loop, number, repeat=3) / n
        print(f"    {name:8s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_loop * 1e9:8.1f} ns "
              f"{t_ours / t_ref:8.2f}x {t_ours / t_loop:11.3f}x")


def peak_memory(n=10_000_000):
    print(f"(d) peak memory of dnorm over {n:.0e} float64 elements")
    x = np.linspace(-5.0, 5.0, n)
    tracemalloc.start()
    tracemalloc.reset_peak()
    out = distrova.dnorm(x)
    _, peak = tracemalloc.get_traced_memory()
    tracemalloc.stop()
    budget = x.nbytes + out.nbytes
    print(f"    input {x.nbytes / 2**20:.1f} MiB, output {out.nbytes / 2**20:.1f} MiB, "
          f"allocated during the call {peak / 2**20:.1f} MiB; "
          f"input + peak = {(x.nbytes + peak) / budget:.3f} x (input + output)")


if __name__ == "__main__":
    scalar_latency()
    array_throughput()
    peak_memory()
