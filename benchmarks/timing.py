"""Shared timing helper of the benchmarks."""
import timeit


def best_seconds(call, number=1, repeat=5):
    """Seconds per call: the best of `repeat` runs of `number` calls each."""
    return min(timeit.repeat(call, number=number, repeat=repeat)) / number
