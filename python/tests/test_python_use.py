"""The module as a Python user meets it: short reprs, read-only results, DataFrames, plots,
notebook tables, enumerations, and sections that travel to worker processes and a cluster."""
import ast
import builtins
import dataclasses
import pickle
import re
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
    # A mesh option the file does not hold travels too (its fibres differ).
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        steel = qavsec.open(SOURCE / "examples" / "steel_i_section.sec")
        steel.mesh(size=25)
        plain = steel.fibres()["x"]
        steel.mesh(size=25, steel_grid=True)
        back = pickle.loads(pickle.dumps(steel))
        assert back.fibres()["x"].size == steel.fibres()["x"].size > plain.size
        assert np.array_equal(back.pm(0).M, steel.pm(0).M)


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


def _blocks(path):
    """The polygons and bars of a section file, as a script would have them."""
    lines = path.read_text().splitlines()
    polys, block, bars, mesh = [], None, [], "100"
    for line in lines:
        f = line.split(",")
        if line.endswith(" START"):
            block, corners = line[:-6], []
        elif line.endswith(" END") and block in ("POLY", "STEELPOLY", "OPENPOLY", "REBARPOLY"):
            polys.append((block, np.array(corners[:-1])))
        elif f[0] == "PT":
            corners.append((float(f[2]), float(f[3])))
        elif f[0] == "BAR":
            bars.append((float(f[2]), float(f[3]), float(f[4])))
        elif f[0] == "MESH_SIZE":
            mesh = f[1]
    of = lambda kind: [p for b, p in polys if b == kind]  # noqa: E731
    return of, bars, mesh


def _grades(section):
    """The values of the grades the section selects (its tables may hold others)."""
    m = section.materials
    return {kind: [g for g in m[table] if g["name"] == m["selected"][kind]]
            for kind, table in (("concrete", "concrete"), ("cover", "cover"),
                                ("rebar", "steel"), ("steel", "steel"))}


@pytest.mark.parametrize("path", sorted((SOURCE / "examples").glob("*.sec")), ids=lambda p: p.stem)
def test_the_examples_from_their_own_coordinates_give_their_curves(path):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        given = qavsec.open(path)
        of, bars, mesh = _blocks(path)
        chosen = given.materials["selected"]
        made = qavsec.Section.from_geometry(
            (of("POLY") or [None])[0], cover=(of("REBARPOLY") or [None])[0], bars=bars,
            steel=of("STEELPOLY"), openings=of("OPENPOLY"), concrete=chosen["concrete"],
            cover_concrete=chosen["cover"], rebar=chosen["rebar"], steel_grade=chosen["steel"],
            mesh_size=mesh)
        assert made.materials["selected"] == chosen and _grades(made) == _grades(given)
        for a, b in ((made.pm(30), given.pm(30)), (made.mm(500), given.mm(500))):
            assert np.array_equal(a.Mx, b.Mx) and np.array_equal(a.My, b.My)


@pytest.mark.parametrize("call, argument", [
    (lambda: qavsec.Section.from_geometry([[0, 0], [1, 0]]), "outline"),
    (lambda: qavsec.Section.from_geometry([[0, 0], [1, 1], [2, 2]]), "outline"),
    (lambda: qavsec.Section.from_geometry([[0, 0], [1, 0], [np.nan, 1]]), "outline"),
    (lambda: qavsec.Section.from_geometry(np.eye(3)), "outline"),
    (lambda: qavsec.Section.from_geometry([[0, 0], [9, 0], [9, 9]], steel=[[[0, 0]]]), "steel[0]"),
    (lambda: qavsec.Section.from_geometry([[0, 0], [9, 0], [9, 9]], bars=[(1, 1, 0)]), "bars[0]"),
])
def test_geometry_a_section_cannot_hold_is_refused_by_its_argument(call, argument):
    with pytest.raises(qavsec.Error, match=r"^" + re.escape(argument) + ":"):
        call()


def test_a_shapely_polygon_brings_its_holes_as_openings():
    shapely = pytest.importorskip("shapely.geometry")
    outer = [(-400, -500), (400, -500), (400, 500), (-400, 500)]
    hole = [(-200, -150), (200, -150), (200, 150), (-200, 150)]
    bars = [(x, y, 25) for x in (-365, 365) for y in (-465, 465)]
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        a = qavsec.Section.from_geometry(shapely.Polygon(outer, [hole]), bars=bars)
        b = qavsec.Section.from_geometry(np.array(outer), bars=bars, openings=[np.array(hole)])
        assert a.properties["section_area"] == b.properties["section_area"]
        assert a.properties["section_area"] == pytest.approx(800 * 1000 - 400 * 300, rel=1e-12)
        assert np.array_equal(a.pm(0).M, b.pm(0).M)
