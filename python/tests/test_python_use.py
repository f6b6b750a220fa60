"""The module as a Python user meets it: short reprs, read-only results, DataFrames, plots,
notebook tables, enumerations, and sections that travel to worker processes and a cluster."""
import ast
import builtins
import dataclasses
import pickle
import warnings
from concurrent.futures import ProcessPoolExecutor

import numpy as np
import pytest

import qavsec
from conftest import SOURCE

RECT = SOURCE / "examples" / "rectangular_column.sec"


@pytest.fixture(scope="module")
def results():
    """One of each result of the example, and the same under ACI 318-19 (design and nominal)."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        s = qavsec.open(RECT)
        aci = qavsec.open(RECT)
        aci.convert("aci318")
        loads = np.array([[-2000.0, 100.0, 40.0], [-30000.0, 10.0, 10.0], [500.0, 50.0, 0.0]])
        return {
            "pm": s.pm(30), "mm": s.mm(1000), "mphi": s.mphi("x", 500), "pmm": s.pmm(npm=6),
            "check": s.check(loads), "key": s.key_points(30)[4], "state": s.state(-2000, 100, 40),
            "pm_aci": aci.pm(0), "key_aci": aci.key_points(0), "section": s,
        }


def test_results_are_short_read_only_and_tabulate(results):
    pd = pytest.importorskip("pandas")
    for name, r in results.items():
        if not isinstance(r, qavsec._api._Result):
            continue
        text = repr(r)
        assert text.startswith(f"<qavsec.{type(r).__name__}: ") and len(text) < 200, text
        assert "array(" not in text and "<table>" in r._repr_html_()
        frame = r.to_frame()
        assert isinstance(frame, pd.DataFrame) and len(frame) > 0
        for column in frame.columns:
            value = getattr(r, column, None)
            if isinstance(value, np.ndarray) and value.ndim == 1 and column != "kind":
                assert np.array_equal(frame[column].to_numpy(), value,
                                      equal_nan=value.dtype.kind == "f"), column
                with pytest.raises(ValueError):
                    value[0] = 0
    assert results["pmm"].to_frame().shape[0] == results["pmm"].P.size
    kinds = results["state"].to_frame()["kind"]
    assert kinds.isin(["core_concrete", "cover_concrete", "rebar"]).all() and kinds.nunique() == 3


def test_design_results_name_phi_and_nominal(results):
    pm = results["pm_aci"]
    capped = pm.P >= pm.P.max() - 1e-9
    assert np.allclose((pm.phi * pm.P_nominal)[~capped], pm.P[~capped], rtol=1e-12)
    for k in results["key_aci"]:
        if k.exists and k.P < pm.P.max() - 1e-6:  # not cut to phi Pn,max
            assert k.phi * k.P_nominal == pytest.approx(k.P, rel=1e-12), k.label
    assert results["key"].phi is None and results["key"].P_nominal is None
    axis = results["state"].neutral_axis
    assert isinstance(axis, qavsec.NeutralAxis) and axis == (axis.angle, axis.depth)


def test_enumerations_are_what_the_options_take(results):
    s = qavsec.open(RECT)
    assert np.array_equal(s.pm(30, solver=qavsec.Solver.FAST).P, s.pm(30, solver="fast").P)
    s.strain_limit = qavsec.StrainLimit.CODE
    assert s.strain_limit == "code" == qavsec.StrainLimit.CODE
    state = results["state"]
    assert set(np.unique(state.kind)) <= set(qavsec.FibreKind)
    fibres = results["section"].fibres()
    bars = fibres["kind"] == qavsec.FibreKind.REBAR
    assert bars.sum() == 12 and np.isnan(fibres["corners"][bars]).all()
    assert np.isfinite(fibres["corners"][~bars]).all()


def test_plots_draw_every_result(results):
    pytest.importorskip("matplotlib")
    import matplotlib

    matplotlib.use("Agg")
    for name, r in results.items():
        if hasattr(r, "plot"):
            ax = r.plot()
            assert ax.has_data(), name
            ax.figure.clf()
    ax = results["pm_aci"].plot()
    assert [t.get_text() for t in ax.get_legend().get_texts()] == [
        "design strength (phi)", "nominal strength"]
    assert "<svg" in results["section"]._repr_html_()


def test_a_missing_optional_package_says_how_to_install_it(results, monkeypatch):
    real = builtins.__import__

    def refuse(name, *args, **kwargs):
        if name.startswith("pandas"):
            raise ImportError("no pandas here")
        return real(name, *args, **kwargs)

    monkeypatch.setattr(builtins, "__import__", refuse)
    monkeypatch.delitem(__import__("sys").modules, "pandas", raising=False)
    with pytest.raises(ImportError, match=r"PMCurve.to_frame\(\) needs pandas.*pip install pandas"):
        results["pm"].to_frame()


def test_sections_travel_to_worker_processes(results):
    s = results["section"]
    back = pickle.loads(pickle.dumps(s))
    assert repr(back) == repr(s)
    with ProcessPoolExecutor(2) as pool:
        far = list(pool.map(qavsec.Section.pm, [s, back], [30, 30]))
    for r in far:
        assert np.array_equal(r.P, results["pm"].P) and np.array_equal(r.M, results["pm"].M)


def test_a_small_schedule_on_a_local_cluster_matches_a_local_loop():
    distributed = pytest.importorskip("distributed")
    schedule = [(RECT, np.array([[-1000.0 - 300 * i, 20.0 * i, 5.0 * j] for j in range(4)]))
                for i in range(6)]

    def check(path, loads):
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            return qavsec.open(path).check(loads).fraction

    local = [check(p, loads) for p, loads in schedule]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        far = client.gather(client.map(check, *zip(*schedule), pure=False))
    assert all(np.array_equal(a, b) for a, b in zip(far, local))


def test_the_stub_names_every_field_and_method():
    tree = ast.parse((SOURCE / "python" / "qavsec" / "__init__.pyi").read_text())
    stub = {c.name: {n.target.id if isinstance(n, ast.AnnAssign) else n.name for n in c.body
                     if isinstance(n, (ast.AnnAssign, ast.FunctionDef))}
            for c in tree.body if isinstance(c, ast.ClassDef)}
    for name in qavsec.__all__:
        kind = getattr(qavsec, name)
        if dataclasses.is_dataclass(kind):
            names = {f.name for f in dataclasses.fields(kind)}
            names |= {n for n in vars(kind) if not n.startswith("_") and callable(vars(kind)[n])}
            assert names <= stub[name] | stub["_Result"], (name, names - stub[name])
    section = {n for n in dir(qavsec.Section) if not n.startswith("_")}
    assert section <= stub["Section"], section - stub["Section"]
