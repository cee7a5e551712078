"""Shared fixtures of the tests of the Python package.

QUARVESSIN_SOURCE_DIR points to the repository (for the frozen console files
under tests/golden), QUARVESSIN_REFERENCE to the reference program built with
the tests, QUARVESSIN_PROGRAM to the command line quarvessin; CTest sets them.
Run elsewhere, the tests that need them are skipped.
"""

import os
import subprocess
from pathlib import Path

import numpy as np
import pytest

SOURCE_DIR = os.environ.get("QUARVESSIN_SOURCE_DIR") or str(Path(__file__).resolve().parents[2])


@pytest.fixture(scope="session")
def golden():
    """Directory of the frozen console runs, tests/golden."""
    path = Path(SOURCE_DIR) / "tests" / "golden"
    if not path.is_dir():
        pytest.skip("no tests/golden directory")
    return path


@pytest.fixture(scope="session")
def reference():
    """reference(name, T, P) -> values of freshly built model objects (float64 array)."""
    program = os.environ.get("QUARVESSIN_REFERENCE")
    if not program or not os.access(program, os.X_OK):
        pytest.skip("QUARVESSIN_REFERENCE (the reference program) is not set")

    def run(name, T, P):
        T, P = np.broadcast_arrays(np.asarray(T, float), np.asarray(P, float))
        lines = "".join(f"{name} {t!r} {p!r}\n" for t, p in zip(T.ravel(), P.ravel()))
        out = subprocess.run([program], input=lines, capture_output=True, text=True, check=True)
        values = np.array([float(v) for v in out.stdout.split()])
        assert values.size == T.size
        return values.reshape(T.shape)

    return run


@pytest.fixture(scope="session")
def program():
    """run(*args, cwd=None) -> CompletedProcess of the command line quarvessin (text)."""
    path = os.environ.get("QUARVESSIN_PROGRAM")
    if not path or not os.access(path, os.X_OK):
        pytest.skip("QUARVESSIN_PROGRAM (the command line quarvessin) is not built")

    def run(*args, cwd=None):
        return subprocess.run([path, *args], capture_output=True, text=True, cwd=cwd)

    return run


def read_boundary_file(path):
    """The pieces of a boundary file as lists of (first, second) column strings."""
    pieces = [[]]
    for line in Path(path).read_text().split("\n")[:-1]:
        if line == "":
            pieces.append([])
        else:
            a, b = line.split("\t")
            pieces[-1].append((a, b))
    return pieces
