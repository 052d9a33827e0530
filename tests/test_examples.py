"""The gallery, at small sizes."""
import importlib.util
import sys
from pathlib import Path

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
    return module


gallery = load("gallery")


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
    # Each bin's probability as the density integrated by 8-point Gauss-Legendre.
    nodes, weights = np.polynomial.legendre.leggauss(8)
    half = np.diff(edges)[:, None] / 2
    at = (edges[:-1, None] + edges[1:, None]) / 2 + half * nodes
    expected = n * (family.function("d")(at, *family.params) * half * weights).sum(axis=1)
    # Bins too thin for the test, and the draws beyond the plotted range, pooled.
    thin = expected < 5
    observed = np.append(observed[~thin], n - observed[~thin].sum())
    expected = np.append(expected[~thin], n - expected[~thin].sum())
    assert st.chisquare(observed, expected).pvalue > 1e-3


@pytest.mark.parametrize("argv, message", [
    (["--draws", "10"], "--draws must be between"),
    (["--draws", "many"], "invalid int value"),
    (["--seed", str(2**31)], "--seed must fit"),
    (["--out", __file__], "is not a folder"),
])
def test_gallery_refuses_bad_arguments(argv, message, capsys):
    with pytest.raises(SystemExit) as exit_info:
        gallery.main(argv)
    assert exit_info.value.code == 2 and message in capsys.readouterr().err
