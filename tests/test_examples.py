"""The gallery and the Dask example, at small sizes."""
import importlib.util
import subprocess
import sys
from pathlib import Path

import cloudpickle
import dask
from dask.distributed import LocalCluster
import matplotlib.image
import numpy as np
import pytest
import scipy.stats as st

import distrova

EXAMPLES = Path(__file__).resolve().parent.parent / "examples"


def load(name):
    spec = importlib.util.spec_from_file_location(f"example_{name}", EXAMPLES / f"{name}.py")
    module = sys.modules[spec.name] = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    cloudpickle.register_pickle_by_value(module)  # worker processes cannot import it by name
    return module


gallery = load("gallery")
dask_chunks = load("dask_chunks")


def test_gallery_writes_a_picture_per_family(tmp_path):
    written = gallery.main(["--out", str(tmp_path / "new" / "folder"), "--draws", "2000"])
    assert [p.name for p in written] == [f"{f.name}.png" for f in gallery.FAMILIES]
    for path in written:
        assert path.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n" and path.stat().st_size > 10_000
        pixels = matplotlib.image.imread(path)
        assert pixels.shape[1] > 2 * pixels.shape[0] and pixels.std() > 0.05


@pytest.mark.parametrize("family", gallery.FAMILIES, ids=lambda f: f.name)
def test_gallery_draws_agree_with_the_density(family):
    n = 20_000
    edges, heights = gallery.histogram(family, gallery.draws(family, n, 2024))
    observed = heights * np.diff(edges) * n
    if family.discrete:  # a bar per count
        expected = n * family.function("d")(np.arange(family.low, family.high + 1), *family.params)
    else:  # each bin's probability as the density integrated by 8-point Gauss-Legendre
        nodes, weights = np.polynomial.legendre.leggauss(8)
        half = np.diff(edges)[:, None] / 2
        at = (edges[:-1, None] + edges[1:, None]) / 2 + half * nodes
        expected = n * (family.function("d")(at, *family.params) * half * weights).sum(axis=1)
    # Bins too thin for the test, and the draws beyond the plotted range, pooled.
    thin = expected < 5
    observed = np.append(observed[~thin], n - observed[~thin].sum())
    expected = np.append(expected[~thin], n - expected[~thin].sum())
    assert st.chisquare(observed, expected).pvalue > 1e-3


@pytest.mark.parametrize("example, argv, message", [
    (gallery, ["--draws", "10"], "--draws must be between"),
    (gallery, ["--draws", "many"], "invalid int value"),
    (gallery, ["--seed", str(2**31)], "--seed must fit"),
    (gallery, ["--out", __file__], "is not a folder"),
    (dask_chunks, ["--size", "0"], "must be a positive integer"),
    (dask_chunks, ["--chunk", "-5"], "must be a positive integer"),
    (dask_chunks, ["--seed", "-1"], "--seed must be 0 or more"),
    (dask_chunks, ["--size", str(10**10)], "needs more than 8 GB"),
    (dask_chunks, ["--address", "tcp://127.0.0.1:8786"], "--address needs --scheduler distributed"),
])
def test_scripts_refuse_bad_arguments(example, argv, message, capsys):
    with pytest.raises(SystemExit) as exit_info:
        example.main(argv)
    assert exit_info.value.code == 2 and message in capsys.readouterr().err


SIZE, CHUNK = 3000, 700  # uneven last blocks


@pytest.mark.parametrize("scheduler", dask_chunks.LOCAL_SCHEDULERS)
def test_dask_blocks_match_the_single_array_and_a_second_run(scheduler):
    first = dask_chunks.run(scheduler, SIZE, CHUNK, seed=11, workers=2)
    assert first[:2] == dask_chunks.run(scheduler, SIZE, CHUNK, seed=11, workers=1)[:2]
    assert first[:2] == dask_chunks.reference(SIZE, CHUNK, seed=11)


def test_dask_sample_is_the_blocks_engines_draws_and_depends_on_the_seed():
    args = (distrova.rnorm, (0.0, 1.0), (5, 9), (2, 4))
    with dask.config.set(scheduler="synchronous"):
        sampled = dask_chunks.sample(*args, base_seed=3).compute()
    # The top-left block of shape (2, 4) is the first 8 draws of its own engine.
    engine = distrova.Engine(dask_chunks.block_seed(3, (0, 0)))
    assert sampled[:2, :4].tolist() == distrova.rnorm(0.0, 1.0, [2, 4], engine).tolist()
    assert np.array_equal(sampled, dask_chunks.sample_in_memory(*args, base_seed=3))
    assert not np.array_equal(sampled, dask_chunks.sample_in_memory(*args, base_seed=4))


def run_dask_script(*argv):
    """What the script prints for each scheduler (numpy first), and its verdict."""
    out = subprocess.run([sys.executable, str(EXAMPLES / "dask_chunks.py"), "--size", str(SIZE),
                          "--chunk", str(CHUNK), *argv], capture_output=True, text=True,
                         check=True, timeout=120).stdout.splitlines()
    return dict(line.strip().split(": ", 1) for line in out[1:-1]), out[-1]


def test_dask_script_prints_matching_checksums():
    rows, verdict = run_dask_script()
    assert list(rows) == ["numpy", *dask_chunks.LOCAL_SCHEDULERS] and verdict == "checksums match"
    assert len({row.split("  (")[0] for row in rows.values()}) == 1


def test_dask_distributed_cluster_of_two_worker_processes():
    # The test's own cluster on the loopback interface; the workers' start and the script
    # are bounded in time, so that a worker that cannot run a task fails the test.
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None,
                      death_timeout=60) as cluster:
        rows, verdict = run_dask_script("--scheduler", "distributed", "--address",
                                        cluster.scheduler_address)
    assert rows["distributed"].split("  (")[0] == rows["numpy"].split("  (")[0]
    assert rows["distributed"].endswith(", 2 workers)") and verdict == "checksums match"
