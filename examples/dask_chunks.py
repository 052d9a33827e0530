"""distrova on chunked arrays with Dask.

    python examples/dask_chunks.py [--size 1000000] [--chunk 125000] [--seed 7] [--workers 2]
        [--scheduler threads|processes|distributed ...] [--address tcp://host:8786]

Two things are shown. `evaluate` runs a d, p or q function block by block over Dask
arrays (`map_blocks`), broadcasting its arguments as NumPy does. `sample` draws a large
sample block by block, each block from its own Engine whose seed is derived from a base
seed and the block's index, so the values depend on the base seed and the chunks but not
on the scheduler, the number of workers or the order in which blocks run. The script
prints a checksum of each result computed on plain NumPy arrays, then of the same results
computed on each scheduler asked for: by default Dask's local threaded and process
schedulers; `--scheduler distributed` runs them on a dask.distributed cluster, a
LocalCluster of `--workers` worker processes started for the run or, with `--address`,
an existing cluster's scheduler (whose workers must have distrova installed). Needs
dask and distributed (`pip install distrova[examples]`).
"""
import argparse
import contextlib
import hashlib
import sys
import time

import dask
import dask.array as da
import numpy as np

import distrova

SCHEDULERS = ("threads", "processes", "distributed")
LOCAL_SCHEDULERS = SCHEDULERS[:2]
MEANS, SIGMA = np.array([[-1.0], [2.0]]), 1.5


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


def points(size, chunk):
    return da.linspace(-4.0, 4.0, size, chunks=chunk)


def log_cdf(size, chunk):
    """A normal log-cdf over a row of points against a column of means, as a Dask array."""
    return evaluate(distrova.pnorm, points(size, chunk), da.from_array(MEANS), SIGMA, log_p=True)


def gamma_sample(size, chunk, seed):
    """The arguments of `sample` and `sample_in_memory` for the gamma draws."""
    return distrova.rgamma, (2.5, 1.0), (size,), chunk, seed


def reference(size, chunk, seed):
    """Checksums of the log-cdf and of the gamma sample computed on plain NumPy arrays."""
    cdf = distrova.pnorm(points(size, chunk).compute(), MEANS, SIGMA, log_p=True)
    return checksum(cdf), checksum(sample_in_memory(*gamma_sample(size, chunk, seed)))


@contextlib.contextmanager
def scheduler_in_use(scheduler, workers, address=None):
    """Makes `scheduler` Dask's default and yields the number of its workers. For
    "distributed" that is a client of the cluster at `address`, or of a LocalCluster of
    `workers` single-threaded worker processes, closed on leaving."""
    if scheduler in LOCAL_SCHEDULERS:
        with dask.config.set(scheduler=scheduler, num_workers=workers):
            yield workers
        return
    from dask.distributed import Client, LocalCluster  # only this scheduler needs distributed

    with contextlib.ExitStack() as stack:
        cluster = address or stack.enter_context(LocalCluster(
            n_workers=workers, threads_per_worker=1, processes=True, dashboard_address=None))
        client = stack.enter_context(Client(cluster))
        yield len(client.nthreads())


def run(scheduler, size, chunk, seed, workers, address=None):
    """Checksums of the log-cdf and of the gamma sample computed on one scheduler, the
    seconds the computation took (a cluster's start not included) and the workers it had."""
    with scheduler_in_use(scheduler, workers, address) as workers:
        start = time.perf_counter()
        values, draws = dask.compute(log_cdf(size, chunk), sample(*gamma_sample(size, chunk, seed)))
        seconds = time.perf_counter() - start
    return checksum(values), checksum(draws), seconds, workers


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
                        help="threads, processes or the LocalCluster's worker processes (default: 2)")
    parser.add_argument("--scheduler", choices=SCHEDULERS, action="append",
                        help="a scheduler to compute on; repeat for several "
                             "(default: threads and processes)")
    parser.add_argument("--address", help="the scheduler address of a running dask.distributed "
                                          "cluster, for --scheduler distributed")
    args = parser.parse_args(argv)
    args.scheduler = args.scheduler or list(LOCAL_SCHEDULERS)
    if args.address is not None and "distributed" not in args.scheduler:
        parser.error("--address needs --scheduler distributed")
    if args.seed < 0:
        parser.error(f"--seed must be 0 or more, not {args.seed}")
    if args.size > 10**9:
        parser.error(f"--size {args.size} needs more than 8 GB per result; use at most 10**9")
    return args


def main(argv=None):
    args = parse_arguments(argv)
    print(f"{args.size:,} points and draws in blocks of {args.chunk:,}, base seed {args.seed}")
    expected = reference(args.size, args.chunk, args.seed)
    print(f"{'numpy':>11}: pnorm {expected[0]}  rgamma {expected[1]}  (plain NumPy arrays)")
    same = True
    for scheduler in dict.fromkeys(args.scheduler):
        cdf_sum, draw_sum, seconds, workers = run(scheduler, args.size, args.chunk, args.seed,
                                                  args.workers, args.address)
        same = same and (cdf_sum, draw_sum) == expected
        print(f"{scheduler:>11}: pnorm {cdf_sum}  rgamma {draw_sum}  ({seconds:.2f} s, "
              f"{workers} workers)")
    print("checksums match" if same else "checksums differ")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
