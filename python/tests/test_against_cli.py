"""Every example's analyses through the module equal qavsec-cli --json, bit for bit."""
import warnings

import numpy as np
import pytest

import qavsec
from conftest import EXAMPLES, cli_json, column, same

pytestmark = pytest.mark.parametrize("path", EXAMPLES, ids=[p.stem for p in EXAMPLES])


def status_matches(status, doc):
    s = doc["status"]
    assert (status.solves, status.unconverged, status.passes, status.worst_residual) == (
        s["solves"], s["unconverged"], s["iterations"], s["worst_residual"])


def quiet(run):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return run()


def test_pm(path):
    r = quiet(lambda: qavsec.open(path).pm(angle=30, npm=12))
    doc = cli_json("pm", path, "--angle", 30, "--npm", 12)
    pts = doc["points"]
    assert same(r.P, column(pts, "P")) and same(r.M, column(pts, "M"))
    assert list(r.converged) == [p["converged"] for p in pts]
    status_matches(r.status, doc)


def test_mm(path):
    s = qavsec.open(path)
    axial = quiet(lambda: s.pm(npm=4)).PMAX / 3
    r = quiet(lambda: s.mm(axial, nmm=12))
    doc = cli_json("mm", path, "--axial", repr(axial), "--nmm", 12)
    pts = doc["points"]
    assert same(r.Mx, column(pts, "Mx")) and same(r.My, column(pts, "My"))
    status_matches(r.status, doc)


def test_pmm(path):
    r = quiet(lambda: qavsec.open(path).pmm(npm=6))
    doc = cli_json("pmm", path, "--npm", 6)
    for k, curve in enumerate(doc["curves"]):
        assert same(r.P[k], column(curve, "P"))
        assert same(r.Mx[k], column(curve, "Mx")) and same(r.My[k], column(curve, "My"))
    status_matches(r.status, doc)


def test_check_file_and_array(path, sample_loads):
    s = qavsec.open(path)
    r = quiet(lambda: s.check(sample_loads, units="N,mm"))
    doc = cli_json("check", path, "--loads", sample_loads)
    combos = doc["combinations"]
    assert same(r.fraction, column(combos, "load_fraction"))
    assert same(r.P, column(combos, "P")) and r.names == [c["name"] for c in combos]
    assert r.critical == (doc["critical"] or {}).get("number", 0)
    status_matches(r.status, doc)
    # The same loads as an array in kN and kN m (the results' units, the default) and in N and
    # N mm give the same fractions.
    loads = np.column_stack([r.P, r.Mx, r.My])
    again = quiet(lambda: qavsec.open(path).check(loads, names=r.names))
    assert np.allclose(again.fraction, r.fraction, rtol=1e-12)
    in_n = quiet(lambda: qavsec.open(path).check(loads * [1e3, 1e6, 1e6], units="N,mm"))
    assert np.allclose(in_n.fraction, r.fraction, rtol=1e-12)


def test_mphi(path):
    s = qavsec.open(path)
    axial = quiet(lambda: s.pm(npm=4)).PMAX / 4
    r = quiet(lambda: s.mphi("y", axial, steps=8))
    doc = cli_json("mphi", path, "--axis", "y", "--axial", repr(axial), "--steps", 8)
    pts = doc["points"]
    assert same(r.M, column(pts, "M")) and same(r.curvature, column(pts, "curvature"))
    status_matches(r.status, doc)


def test_unconverged_solves_warn(path):
    doc = cli_json("pmm", path, "--npm", 6, "--solver", "reference")
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        r = qavsec.open(path).pmm(npm=6, solver="reference")
    warned = [w for w in caught if issubclass(w.category, qavsec.ConvergenceWarning)]
    assert len(warned) == (doc["status"]["unconverged"] > 0)
    status_matches(r.status, doc)


def test_state_of_a_combination(path, sample_loads, tmp_path):
    s = qavsec.open(path)
    quiet(lambda: s.check(sample_loads, units="N,mm"))
    r = quiet(lambda: s.state(combination=3))
    doc = cli_json("state", path, "--loads", sample_loads, "--comb", 3, "-o", tmp_path / "s.png")
    assert (r.P, r.Mx, r.My, r.load_fraction, r.converged) == (
        doc["P_kN"], doc["Mx_kNm"], doc["My_kNm"], doc["load_fraction"], doc["converged"])
    assert list(r.strain_plane) == doc["strain_plane"]
    assert (r.largest_compressive_strain, r.largest_tensile_strain) == (
        doc["largest_compressive_strain"], doc["largest_tensile_strain"])
    assert np.sum(r.force) == pytest.approx(doc["forces"]["total"]["P_kN"], rel=1e-9, abs=1e-9)
