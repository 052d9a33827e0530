"""Shared timing helpers of the benchmarks."""
import timeit

try:
    import _distrova_testing as native
except ImportError:
    native = None


def best_seconds(call, number=1, repeat=5):
    """Seconds per call: the best of `repeat` runs of `number` calls each."""
    return min(timeit.repeat(call, number=number, repeat=repeat)) / number


def print_per_element(cases, n, repeat=5):
    """Time per element of distrova next to scipy over n elements, with their ratio.

    Each case is (name, our call, scipy's call, (points, remaining arguments)), optionally
    followed by its own count of repeats. With the test-only module present, a plain C++
    loop over the same scalar function is shown as well (the cost of the binding layer is
    the difference).
    """
    has_loop = native is not None
    print(f"time per element over {n:.0e} elements")
    print(f"    {'':9s} {'distrova':>11s} {'scipy':>11s} {'vs scipy':>9s}"
          + (f" {'C++ loop':>11s} {'vs C++ loop':>12s}" if has_loop else ""))
    for name, ours, reference, (points, rest), *own_repeat in cases:
        times = own_repeat[0] if own_repeat else repeat
        t_ours = best_seconds(ours, repeat=times) / n
        t_ref = best_seconds(reference, repeat=times) / n
        line = f"    {name:9s} {t_ours * 1e9:8.1f} ns {t_ref * 1e9:8.1f} ns {t_ours / t_ref:8.2f}x"
        if has_loop:
            t_loop = best_seconds(lambda: native.cxx_loop(name, points, rest), repeat=times) / n
            line += f" {t_loop * 1e9:8.1f} ns {t_ours / t_loop:11.3f}x"
        print(line)
