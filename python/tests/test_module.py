"""Errors, side-by-side runs, Ctrl-C, the state and the documented examples."""
import _thread
import os
import re
import subprocess
import shutil
import sys
import threading
import time
import warnings
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import numpy as np
import pytest

import qavsec
from conftest import SOURCE, cli_json

RECT = SOURCE / "examples" / "rectangular_column.sec"


@pytest.fixture
def section():
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        yield qavsec.open(RECT)


@pytest.mark.parametrize("bad", [
    lambda s, tmp: qavsec.open(tmp / "missing.sec"),
    lambda s, tmp: (tmp / "bad.sec").write_text("not a section\n") and qavsec.open(tmp / "bad.sec"),
    lambda s, tmp: s.mm(1e9),
    lambda s, tmp: s.mm(-1e9),
    lambda s, tmp: s.pm(npm=1),
    lambda s, tmp: s.pm(solver="slow"),
    lambda s, tmp: s.check(np.zeros((2, 2))),
    lambda s, tmp: s.state(combination=99),
    lambda s, tmp: s.mesh(size=-1),
])
def test_refused_input_raises_error(section, tmp_path, bad):
    with pytest.raises(qavsec.Error) as e:
        bad(section, tmp_path)
    assert isinstance(e.value, ValueError) and str(e.value)


NAN, INF = float("nan"), float("inf")


# Every number a method takes is refused by the argument's name when it is not finite or not in
# range, before any run (a NaN minimum once answered on the unsafe side).
@pytest.mark.parametrize("call, argument", [
    (lambda s, loads: s.check(loads, kmx=NAN), "kmx"),
    (lambda s, loads: s.check(loads, kp=NAN), "kp"),
    (lambda s, loads: s.check(loads, kmy=-INF), "kmy"),
    (lambda s, loads: s.pm(angle=NAN), "angle"),
    (lambda s, loads: s.key_points(angle=NAN), "angle"),
    (lambda s, loads: s.mm(axial=INF), "axial"),
    (lambda s, loads: s.mphi("x", NAN), "axial"),
    (lambda s, loads: s.mphi("x", 0, max_strain=NAN), "max_strain"),
    (lambda s, loads: s.mphi("x", 0, max_strain=INF), "max_strain"),
    (lambda s, loads: s.mphi("x", 0, steps=2**40), "steps"),
    (lambda s, loads: s.pm(npm=2**40), "npm"),
    (lambda s, loads: s.pmm(npm=-2**70 // 2**30), "npm"),
    (lambda s, loads: s.pm(threads=2**40), "threads"),
    (lambda s, loads: s.pm(threads=0), "threads"),
    (lambda s, loads: s.state(NAN, 0, 0), "P"),
    (lambda s, loads: s.state(combination=0), "numbered from 1"),
    (lambda s, loads: s.state(combination=-3), "numbered from 1"),
])
def test_numbers_are_refused_by_name(section, sample_loads, call, argument):
    with pytest.raises(qavsec.Error, match=re.escape(argument)):
        call(section, sample_loads)


def test_axial_outside_capacity_names_both_limits(section):
    pm = section.pm()
    with pytest.raises(qavsec.Error, match=re.escape("Myy-Mxx")):
        section.mm(pm.P_compression_end * 1.01)


def test_module_surface():
    package = Path(qavsec.__file__).parent
    assert (package / "__init__.pyi").is_file() and (package / "py.typed").is_file()
    assert "kN" in qavsec.Section.pm.__doc__


def test_build_by_names_is_the_command_lines_build(tmp_path):
    from conftest import CLI
    built = tmp_path / "cli.sec"
    subprocess.run([CLI, "build", "typical", "rectangle", "--B", "800", "--H", "1000",
                    "--bar-diameter", "32", "-o", built], check=True)
    section = qavsec.build("typical", "rectangle", B=800, H=1000, bar_diameter=32)
    section.save(tmp_path / "module.sec")
    assert (tmp_path / "module.sec").read_bytes() == built.read_bytes()
    for kind, shape, inputs, message in [("typical", "hexagon", {}, "its shapes are rectangle"),
                                         ("beam", "rectangle", {}, "the builders are"),
                                         ("typical", "rectangle", {"Q": 1}, "its inputs are B, H"),
                                         ("typical", "rectangle", {"B": -5}, "Section Dim B")]:
        with pytest.raises(qavsec.Error, match=message):
            qavsec.build(kind, shape, **inputs)


def test_properties_materials_and_save(section, tmp_path):
    props = section.properties
    assert 0 < props["rebar_area"] < props["section_area"]
    assert section.materials["selected"]["concrete"] in [m["name"] for m in section.materials["concrete"]]
    section.save(tmp_path / "copy.sec")
    assert np.array_equal(qavsec.open(tmp_path / "copy.sec").pm().P, section.pm().P)
    assert section.mesh(size=50)["fibres"] < section.mesh(size=25)["fibres"]


def test_state_balances_the_load_and_key_points(section, tmp_path):
    check = section.check(np.array([[-3000, 200, 100]]), names=["C1"])
    s = section.state(combination=1)
    assert s.load_fraction == pytest.approx(check.fraction[0], rel=1e-9)
    assert np.sum(s.force) == pytest.approx(s.P * s.load_fraction, rel=1e-6)
    assert len(s.x) == len(s.stress) == section.mesh()["fibres"]
    at_load = section.state(-3000, 200, 100, at="load")
    assert at_load.P == pytest.approx(3000) and at_load.load_fraction > 1
    points = section.key_points(30)
    doc = cli_json("pm", RECT, "--angle", 30, "--key-points")["key_points"]
    assert [(k.label, k.P, k.Mx, k.My) for k in points if k.exists] == [
        (k["label"], k["P"], k["Mx"], k["My"]) for k in doc if "P" in k]


def test_a_run_leaves_the_gil_to_other_threads(section):
    section.mesh(size=10)
    worker = threading.Thread(target=lambda: section.pmm(npm=60, threads=1))
    ticks = 0
    worker.start()
    while worker.is_alive():
        ticks += 1
        time.sleep(0)
    worker.join()
    assert ticks > 100


def test_two_threads_give_what_one_gives():
    # The speed-up is bench/python_many.py's figure; here, that side by side changes nothing.
    sections = [qavsec.open(RECT) for _ in range(2)]
    for s in sections:
        s.mesh(size=15)

    def work(s):
        return s.pmm(npm=20, threads=1).P

    serial = [work(s) for s in sections]
    with ThreadPoolExecutor(2) as pool:
        parallel = list(pool.map(work, sections))
    assert all(np.array_equal(a, b) for a, b in zip(serial, parallel))


def test_ctrl_c_cancels_and_keeps_the_section(section):
    section.mesh(size=10)
    before = section.pm(30, npm=10)
    timer = threading.Timer(0.2, _thread.interrupt_main)
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        section.pmm(npm=2000, threads=1)
    timer.join()
    assert np.array_equal(section.pm(30, npm=10).M, before.M)


def test_documented_examples_run(tmp_path):
    """Every Python block of docs/python.md runs as written from a clone's root, each as a script
    of its own, as a reader would paste it into a file: it exits cleanly and prints no traceback
    (a cluster's worker processes import the script that made them)."""
    text = (SOURCE / "docs" / "python.md").read_text()
    blocks = re.findall(r"```python\n(.*?)```", text, re.S)
    assert blocks
    shutil.copytree(SOURCE / "examples", tmp_path / "examples")
    env = dict(os.environ, MPLBACKEND="Agg")
    for k, code in enumerate(blocks, start=1):
        script = tmp_path / f"block{k}.py"
        script.write_text(code)
        run = subprocess.run([sys.executable, script.name], cwd=tmp_path, env=env, text=True,
                             capture_output=True, timeout=120)
        assert run.returncode == 0 and "Traceback" not in run.stderr, (k, run.stderr[-2000:])



def test_moments_are_named_by_the_axis_they_bend_about():
    # 400 wide, 800 deep: the moment about X carries far more than the one about Y.
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        s = qavsec.build("typical", "rectangle", B=400, H=800)
        mm = s.mm(1000.0, nmm=8)
        assert np.abs(mm.Mx).max() > 1.6 * np.abs(mm.My).max()
        assert mm.My[0] == 0.0
        pm0, pm90 = s.pm(0.0, npm=6), s.pm(90.0, npm=6)
        assert np.allclose(pm0.My, 0.0) and np.abs(pm0.Mx).max() > 1.6 * np.abs(pm90.My).max()
        # The capacity about X as an array row P, Mx, My: a load fraction of 1 (within the
        # curve's 1 %); the same value as My is far from carried.
        mx = abs(mm.Mx[0])
        r = s.check(np.array([[-1000.0, mx, 0.0], [-1000.0, 0.0, mx]]), units="kN,m",
                    kp=0, kmx=0, kmy=0)
        assert r.fraction[0] == pytest.approx(1.0, abs=0.02) and r.fraction[1] < 0.7
        assert (r.Mx[0], r.My[1]) == (pytest.approx(mx), pytest.approx(mx))
        # A typed load's Mx bends about X: the side above X is compressed (a3 > 0).
        st = s.state(-1000.0, mx, 0.0)
        assert st.Mx == pytest.approx(mx * st.load_fraction) and st.My == 0.0
        assert st.strain_plane[2] > 0 and abs(st.strain_plane[1]) < 0.01 * st.strain_plane[2]
        # The least magnitude kmx raises the moment about X.
        raised = s.check(np.array([[-1000.0, 0.0, 0.0]]), units="kN,m", kp=0, kmx=mx, kmy=0)
        assert raised.raised[0]["Mx"] == pytest.approx(mx) and raised.raised[0]["My"] == 0.0
