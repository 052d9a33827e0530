"""distrova on chunked arrays with Dask.

    python examples/dask_chunks.py [--size 1000000] [--chunk 125000] [--seed 7] [--workers 2]

Two things are shown. `evaluate` runs a d, p or q function block by block over Dask
arrays (`map_blocks`), broadcasting its arguments as NumPy does. `sample` draws a large
sample block by block, each block from its own Engine whose seed is derived from a base
seed and the block's index, so the values depend on the base seed and the chunks but not
on the scheduler, the number of workers or the order in which blocks run. The script
computes both on the threaded and on the process scheduler, prints a checksum of each
result and checks them against the same computation on plain NumPy arrays. Needs dask
(`pip install distrova[examples]`).
"""
import argparse
import hashlib
import sys
import time

import dask
import dask.array as da
import numpy as np

import distrova

SCHEDULERS = ("threads", "processes")


def evaluate(function, *args, **flags):
    """`function` (a d, p or q function) over Dask arrays or scalars, block by block.
    Dask arrays broadcast against each other; keyword flags such as log_p pass through."""
    ndim = max(getattr(a, "ndim", 0) for a in args)
    return da.map_blocks(function, *args, **flags, dtype=np.float64, meta=np.empty((0,) * ndim))


def block_seed(base_seed, location):
    """The Engine seed of the block at `location` (its index along each axis): a hash of
    the base seed and the index, mapped to the signed 32-bit range that Engine takes."""
    word = np.random.SeedSequence(base_seed, spawn_key=tuple(location)).generate_state(1)[0]
    return int(word) - 2**31


def draw_block(sampler, params, base_seed, location, shape):
    return sampler(*params, list(shape), distrova.Engine(block_seed(base_seed, location)))


def _block(sampler, params, base_seed, block_info=None):
    info = block_info[None]
    return draw_block(sampler, params, base_seed, info["chunk-location"], info["chunk-shape"])


def sample(sampler, params, shape, chunks, base_seed):
    """A Dask array of draws of `sampler` (an r function) with `params`, of the given
    shape and chunks, each block drawn from its own Engine."""
    chunks = da.core.normalize_chunks(chunks, shape, dtype=np.float64)
    return da.map_blocks(_block, sampler, params, base_seed, chunks=chunks, dtype=np.float64,
                         meta=np.empty((0,) * len(shape)))


def sample_in_memory(sampler, params, shape, chunks, base_seed):
    """The draws of `sample`, made block by block into one NumPy array without Dask."""
    chunks = da.core.normalize_chunks(chunks, shape, dtype=np.float64)
    starts = [np.cumsum((0,) + c) for c in chunks]
    out = np.empty(shape)
    for location in np.ndindex(*(len(c) for c in chunks)):
        extent = [c[i] for c, i in zip(chunks, location)]
        region = tuple(slice(s[i], s[i] + n) for s, i, n in zip(starts, location, extent))
        out[region] = draw_block(sampler, params, base_seed, location, extent)
    return out


def checksum(array):
    return hashlib.sha256(np.ascontiguousarray(array, dtype=np.float64).tobytes()).hexdigest()[:16]


def log_cdf(size, chunk):
    """A normal log-cdf over a row of points against a column of means: as a Dask array,
    and the same computed at once on NumPy arrays."""
    points = da.linspace(-4.0, 4.0, size, chunks=chunk)
    means = np.array([[-1.0], [2.0]])
    cdf = evaluate(distrova.pnorm, points, da.from_array(means), 1.5, log_p=True)
    return cdf, distrova.pnorm(points.compute(), means, 1.5, log_p=True)


def run(scheduler, size, chunk, seed, workers):
    """Checksums of the log-cdf and of a gamma sample computed on one scheduler; raises
    if either differs from its NumPy twin."""
    cdf, cdf_reference = log_cdf(size, chunk)
    draw_args = (distrova.rgamma, (2.5, 1.0), (size,), chunk, seed)
    with dask.config.set(scheduler=scheduler, num_workers=workers):
        start = time.perf_counter()
        values, draws = dask.compute(cdf, sample(*draw_args))
        seconds = time.perf_counter() - start
    if not np.array_equal(values, cdf_reference):
        raise AssertionError(f"pnorm on {scheduler} differs from the single-array result")
    if not np.array_equal(draws, sample_in_memory(*draw_args)):
        raise AssertionError(f"the draws on {scheduler} differ from the block-by-block draws")
    return checksum(values), checksum(draws), seconds


def positive(text):
    value = int(text)
    if value < 1:
        raise argparse.ArgumentTypeError(f"must be a positive integer, not {value}")
    return value


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--size", type=positive, default=1_000_000,
                        help="points and draws (default: 1000000)")
    parser.add_argument("--chunk", type=positive, default=125_000,
                        help="points and draws per block (default: 125000)")
    parser.add_argument("--seed", type=int, default=7, help="base seed, 0 or more (default: 7)")
    parser.add_argument("--workers", type=positive, default=2,
                        help="threads or processes (default: 2)")
    args = parser.parse_args(argv)
    if args.seed < 0:
        parser.error(f"--seed must be 0 or more, not {args.seed}")
    if args.size > 10**9:
        parser.error(f"--size {args.size} needs more than 8 GB per result; use at most 10**9")
    return args


def main(argv=None):
    args = parse_arguments(argv)
    print(f"{args.size:,} points and draws in blocks of {args.chunk:,}, base seed {args.seed}")
    results = {}
    for scheduler in SCHEDULERS:
        cdf_sum, draw_sum, seconds = run(scheduler, args.size, args.chunk, args.seed, args.workers)
        results[scheduler] = (cdf_sum, draw_sum)
        print(f"{scheduler:>10}: pnorm {cdf_sum}  rgamma {draw_sum}  ({seconds:.2f} s, "
              f"{args.workers} workers)")
    same = len(set(results.values())) == 1
    print("checksums match" if same else "checksums differ")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
