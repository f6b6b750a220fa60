"""Design codes through the module: conversion, the code's limits and ACI 318-19's design strength."""
import pickle
import warnings

import numpy as np
import pytest

import qavsec
from conftest import EXAMPLES, SOURCE, cli_json, column, same

RECT = SOURCE / "examples" / "rectangular_column.sec"


def quiet(run):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return run()


@pytest.mark.parametrize("path", EXAMPLES, ids=[p.stem for p in EXAMPLES])
def test_aci_design_is_phi_times_nominal_as_the_cli_gives_it(path, sample_loads, tmp_path):
    converted = qavsec.open(path)
    # Most examples are C20, below every ACI 318-19 grade: the weakest is named.
    assert converted.convert("aci318", concrete="FC20", ties="spiral")
    assert converted.code == "ACI 318-19"
    if path.stem == "steel_i_section":
        # No concrete: ACI 318-19 gives it no design strength, and its check is refused.
        with pytest.raises(qavsec.Error, match="does not design a section without concrete"):
            quiet(lambda: converted.check(sample_loads))
        return
    converted.save(tmp_path / "aci.sec")
    # The file holds the grades to its own precision: the same curve within that.
    s = qavsec.open(tmp_path / "aci.sec")
    assert (s.code, s.ties) == ("ACI 318-19", "spiral")
    c = quiet(lambda: s.pm(angle=30, npm=8))
    assert np.allclose(quiet(lambda: converted.pm(angle=30, npm=8)).P, c.P, rtol=1e-3, atol=1e-3)
    r = quiet(lambda: s.check(sample_loads, units="N,mm", min_ecc=True))
    # Point for point: phi times the nominal point, the compression cut at the cap.
    assert np.allclose(c.M, c.phi * c.M_nominal, rtol=1e-12, atol=1e-9)
    assert np.allclose(c.P, np.minimum(c.phi * c.P_nominal, r.cap), rtol=1e-12, atol=1e-9)
    assert all(k.P <= r.cap * (1 + 1e-12) for k in quiet(lambda: s.key_points(30)) if k.exists)
    assert np.allclose(r.fraction, np.where(r.cap_governs, r.fraction, r.phi * r.fraction_nominal))
    # The same numbers as the command line on the converted file.
    pts = cli_json("pm", tmp_path / "aci.sec", "--angle", 30, "--npm", 8)["points"]
    assert all(same(getattr(c, k), column(pts, k)) for k in ("P", "P_nominal", "M_nominal", "phi"))
    doc = cli_json("check", tmp_path / "aci.sec", "--loads", sample_loads, "--min-ecc")
    combos = doc["combinations"]
    assert same(r.fraction_nominal, column(combos, "load_fraction_nominal"))
    assert same(r.phi, column(combos, "phi")) and r.cap == doc["cap_kN"]
    assert list(r.cap_governs) == [c["cap_governs"] for c in combos]
    assert [x["number"] for x in r.raised] == [x["number"] for x in doc["raised"]]
    assert r.minimum == doc["minimum"] == "code eccentricity"
    p = quiet(lambda: s.pmm(npm=4))
    assert p.phi.shape == p.P.shape and np.allclose(p.Mx, p.phi * p.Mx_nominal, atol=1e-9)


@pytest.mark.parametrize("args", [
    dict(code="aci318", concrete="C99"),
    dict(code="ec3"),
    dict(code="aci318", alpha_cc=0.85),
    dict(code="ec2", alpha_cc=0.5),
    dict(code="ec2", ties="hoops"),
    dict(code="ec2", ties="spiral"),
])
def test_refused_conversion_changes_nothing(args):
    s = qavsec.open(RECT)
    before = s.materials
    with pytest.raises(qavsec.Error):
        s.convert(**args)
    assert s.code == "HK-COP-2013" and s.materials == before and s.ties == "tied"


def test_defaults_add_nothing_and_settings_reach_the_run(sample_loads):
    s = qavsec.open(RECT)
    c = quiet(lambda: s.pm(angle=0, npm=6))
    r = quiet(lambda: s.check(sample_loads, units="N,mm"))
    assert c.phi is None and c.P_nominal is None and quiet(lambda: s.pmm(npm=2)).phi is None
    assert r.phi is None and r.fraction_nominal is None and r.cap is None
    # No minimum by default: every fraction is that of the load as given.
    assert r.minimum == "fixed magnitudes" and r.raised == []
    for bad in ("strain_limit", "ties", "integration"):
        with pytest.raises(qavsec.Error):
            setattr(s, bad, "other")
    s.strain_limit = "code"
    doc = cli_json("pm", RECT, "--angle", 0, "--npm", 6, "--strain-limit", "code")
    assert same(quiet(lambda: s.pm(angle=0, npm=6)).P, column(doc["points"], "P"))
    assert s.convert("ec2", concrete="C30/37", alpha_cc=0.85) and s.code == "EN 1992-1-1"
    assert s.materials["selected"]["concrete"] == "C30/37"
    s.convert("bs")
    assert s.code == "BS-8110"


def test_integration_reaches_the_run_and_travels_with_the_section():
    s = qavsec.open(RECT)
    s.convert("ec2", concrete="C30/37")
    assert s.integration == "auto"
    curves = {}
    for how, size in (("auto", 100), ("auto", 37), ("centroid", 100)):
        s.integration = how
        s.mesh(size)
        curves[how, size] = quiet(lambda: s.pm(angle=30, npm=6)).M
    # Exact under the code's limits: the mesh no longer shows; the centroid rule's does.
    assert np.allclose(curves["auto", 100], curves["auto", 37], rtol=1e-6, atol=1e-6)
    assert not np.allclose(curves["auto", 100], curves["centroid", 100], rtol=1e-4)
    assert pickle.loads(pickle.dumps(s)).integration == "centroid"


def test_results_say_their_limit_and_the_curve_ends_bound_the_curves():
    s = qavsec.open(RECT)
    c = quiet(lambda: s.pm(angle=0, npm=6))
    assert s.strain_limit == c.strain_limit == "control"
    # The true ends hold the cover concrete that PMAX leaves out.
    assert c.P_compression_end == pytest.approx(c.P.max(), rel=1e-6) and c.P.max() > c.PMAX
    assert c.P_tension_end == pytest.approx(c.P.min(), rel=1e-6)
    assert quiet(lambda: s.mm(c.P_compression_end, nmm=4)).strain_limit == "control"
    assert s.convert("aci318") and s.strain_limit == "code"
    with pytest.raises(qavsec.Error, match="analysed at its code's limits"):
        s.strain_limit = "control"
    d = quiet(lambda: s.pm(angle=0, npm=6))
    assert d.strain_limit == "code" and d.P_compression_end == pytest.approx(d.P.max(), rel=1e-9)
    m = quiet(lambda: s.mphi("x", 1000, steps=4))
    assert (m.max_strain, m.strain_limit) == (0.003, "code")
    assert all(k.strain_limit == "code" for k in quiet(lambda: s.key_points(0)))
