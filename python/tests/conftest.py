"""Shared fixtures: the examples, and qavsec-cli of the same build tree with its --json output."""
import json
import os
import subprocess
from pathlib import Path

import numpy as np
import pytest

SOURCE = Path(os.environ.get("QAVSEC_SOURCE", Path(__file__).resolve().parents[2]))
CLI = os.environ.get("QAVSEC_CLI", str(SOURCE / "build" / "qavsec-cli"))
EXAMPLES = sorted((SOURCE / "examples").glob("*.sec"))


def cli_json(*args):
    """The --json document of one qavsec-cli command."""
    out = subprocess.run([CLI, *map(str, args), "--json"], check=True, capture_output=True,
                         text=True)
    return json.loads(out.stdout)


def column(points, key):
    """One field of a list of points as an array; JSON's null is not a number."""
    return np.array([np.nan if p[key] is None else p[key] for p in points], dtype=float)


def same(a, b):
    return np.array_equal(np.asarray(a, dtype=float), np.asarray(b, dtype=float), equal_nan=True)


@pytest.fixture(scope="session")
def sample_loads(tmp_path_factory):
    path = tmp_path_factory.mktemp("loads") / "loads.csv"
    subprocess.run([CLI, "sample-loads", str(path)], check=True)
    return path
