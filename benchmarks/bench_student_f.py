"""Student t and F functions: time per element.

Run by hand after `tests/run.sh` (or tests/build-native.sh) has built the module:
    PYTHONPATH=build/testing .venv/bin/python benchmarks/bench_student_f.py
Each function runs over 1e6 float64 elements next to the matching scipy.stats call;
times are the best of a few repeats, ratios are distrova's time over scipy's from this
one run. With the test-only module present, a plain C++ loop over the same scalar
function is shown as well (the cost of the binding layer is the difference).
"""
import numpy as np
import scipy.stats as st

import distrova
from timing import best_seconds

try:
    import _distrova_testing as native
except ImportError:
    native = None

N = 1_000_000


def cases():
    rng = np.random.default_rng(0)
    p = rng.uniform(size=N)
    # short name, parameters, the scipy distribution frozen at them, points for d and p
    families = [
        ("t", (5.0,), st.t(5.0), rng.standard_t(5.0, size=N)),
        ("t", (2.5e7,), st.t(2.5e7), rng.normal(size=N)),
    ]
    for name, params, frozen, points in families:
        for kind, reference, at, rest in [("d", frozen.pdf, points, params + (False,)),
                                          ("p", frozen.cdf, points, params + (False,)),
                                          ("q", frozen.ppf, p, params)]:
            ours = getattr(distrova, kind + name)
            label = f"{kind}{name}{params}"
            yield (label, kind + name, (lambda f=ours, a=at, c=params: f(a, *c)),
                   (lambda r=reference, a=at: r(a)), (at, rest))


def main():
    has_loop = native is not None
    print(f"time per element over {N:.0e} float64 elements")
    print(f"    {'':18s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}"
          + (f" {'C++ loop':>11s} {'vs C++ loop':>12s}" if has_loop else ""))
    for label, name, ours, reference, (points, rest) in cases():
        number, repeat = (1, 2) if label.startswith("q") else (1, 3)
        t_ours = best_seconds(ours, number, repeat) / N
        t_ref = best_seconds(reference, number, repeat) / N
        line = f"    {label:18s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x"
        if has_loop:
            t_loop = best_seconds(lambda: native.cxx_loop(name, points, rest), number, repeat) / N
            line += f" {t_loop * 1e9:8.1f} ns {t_ours / t_loop:11.3f}x"
        print(line)


if __name__ == "__main__":
    main()
