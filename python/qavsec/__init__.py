"""Cross-section analyses of reinforced-concrete, steel and composite sections from Python.

Open a section file, run its analyses and read the results as NumPy arrays::

    import qavsec
    s = qavsec.open("rectangular_column.sec")
    curve = s.pm(angle=30)
    print(curve.M.max())

Units and signs are those of ``qavsec-cli``: forces in kN, moments in kN·m, lengths in mm;
compression is positive in every result. Loads given to :meth:`Section.check` and
:meth:`Section.state` are read as load files write them: P negative in compression.

A moment is named by the axis it bends about, X horizontal and Y vertical as the section is
drawn: ``Mx`` bends about X and, positive, compresses the side above it (+Y); ``My`` bends about
Y and, positive, compresses the side right of it (+X). The angle of :meth:`Section.pm` runs from
Mx (0) towards My (90). A load file's M2 column is My and its M3 column Mx (docs/user-guide.md,
"Moments and their names").

Errors the program refuses with raise :class:`Error` (a ``ValueError``) carrying the
program's own message; a run with solves that did not converge warns with
:class:`ConvergenceWarning`. Long runs release the GIL, so several sections analyse side by
side from threads, and Ctrl-C stops a run, leaving the section's earlier results.
"""

from __future__ import annotations

import os
import warnings
from dataclasses import dataclass, field
from typing import Dict, List, Optional, Sequence, Tuple, Union

import numpy as np

from . import _core

__all__ = [
    "Error", "ConvergenceWarning", "Section", "Status", "open", "build",
    "PMCurve", "MMCurve", "MPhiCurve", "PMMSurface", "CheckResult", "KeyPoint", "SectionState",
]

Error = _core.Error
Error.__module__ = "qavsec"
Error.__doc__ = "An input, file or request the program refuses; the text is the program's message."


class ConvergenceWarning(UserWarning):
    """Some equilibrium solves of a run did not converge; the result holds their best points."""


@dataclass(frozen=True)
class Status:
    """How a run went, as the ``status`` of ``qavsec-cli --json``.

    solves: equilibrium solves; unconverged: those that did not converge; passes: passes over
    the fibres (the JSON's "iterations"); worst_residual: the largest relative residual of an
    unconverged solve (None when all converged); messages: (text, count) of the run.
    """

    solves: int
    unconverged: int
    passes: int
    worst_residual: Optional[float]
    messages: Tuple[Tuple[str, int], ...] = ()

    @property
    def iterations(self) -> int:
        return self.passes


def _status(raw: dict) -> Status:
    st = raw["status"]
    for w in raw.get("warnings", ()):
        warnings.warn(w, UserWarning, stacklevel=3)
    if st["unconverged"] > 0:
        warnings.warn(st["unconverged_text"], ConvergenceWarning, stacklevel=3)
    return Status(st["solves"], st["unconverged"], st["iterations"], st["worst_residual"],
                  tuple(tuple(m) for m in st["messages"]))


@dataclass(frozen=True)
class PMCurve:
    """A P-M curve: 2 NPM + 2 points, the angle's branch then the branch at angle + 180.

    P (kN, compression positive), M (kN·m, + on the angle's branch, - on the other), Mx (about
    X), My (about Y) its components (kN·m); converged per point; PMAX, PMIN the estimates the
    curve's trial loads aim at (kN; PMAX leaves out the cover concrete); P_compression_end,
    P_tension_end the curve's true ends, the range an M-M or M-Phi run takes (kN). Under a
    strength reduction (ACI 318-19) P, M, Mx, My are the design strength and the *_nominal arrays
    the nominal curve with phi at each point; None otherwise. strain_limit: "control" or "code",
    the limit it was computed at.
    """

    angle: float
    P: np.ndarray
    M: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    converged: np.ndarray
    PMAX: float
    PMIN: float
    status: Status
    P_nominal: Optional[np.ndarray] = None
    M_nominal: Optional[np.ndarray] = None
    Mx_nominal: Optional[np.ndarray] = None
    My_nominal: Optional[np.ndarray] = None
    phi: Optional[np.ndarray] = None
    P_compression_end: float = 0.0
    P_tension_end: float = 0.0
    strain_limit: str = "control"


@dataclass(frozen=True)
class MMCurve:
    """A Myy-Mxx curve at one axial force: NMM + 1 points.

    Mx (about X), My (about Y) in kN·m; M their magnitude; P the axial force of the
    run (kN, compression positive) at every point. Under a strength reduction Mx, My are the
    design moments, Mx_nominal, My_nominal the nominal ones and phi each point's factor.
    """

    axial: float
    P: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    M: np.ndarray
    converged: np.ndarray
    status: Status
    Mx_nominal: Optional[np.ndarray] = None
    My_nominal: Optional[np.ndarray] = None
    phi: Optional[np.ndarray] = None
    strain_limit: str = "control"


@dataclass(frozen=True)
class MPhiCurve:
    """A moment-curvature curve: M (kN·m, >= 0) against curvature (1/m), steps + 1 points.

    strain_limit: the limit in force for the section ("code": max_strain defaults to the least
    ultimate strain of its concrete)."""

    axis: str
    negative: bool
    axial: float
    max_strain: float
    steps: int
    M: np.ndarray
    curvature: np.ndarray
    converged: np.ndarray
    status: Status
    strain_limit: str = "control"


@dataclass(frozen=True)
class PMMSurface:
    """The P-Mx-My surface: six P-M curves at 0, 30 .. 150 degrees, arrays of shape (6, 2 NPM + 2).

    P (kN, compression positive), Mx, My (kN·m), M the moment's magnitude. Under a strength
    reduction these are the design surface, with P_nominal, Mx_nominal, My_nominal and phi of the
    same shape beside them; None otherwise.
    """

    P: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    M: np.ndarray
    converged: np.ndarray
    status: Status
    P_nominal: Optional[np.ndarray] = None
    Mx_nominal: Optional[np.ndarray] = None
    My_nominal: Optional[np.ndarray] = None
    phi: Optional[np.ndarray] = None
    strain_limit: str = "control"


@dataclass(frozen=True)
class CheckResult:
    """The member check: each combination's load fraction and the critical combination.

    names, P (kN, negative in compression, as in load files), Mx, My (kN·m) per combination;
    fraction: each load fraction (>= 1 carries the load); critical: the number (1-based) of the
    combination with the smallest fraction, 0 when there is none. raised: the combinations
    whose load raised to a minimum has the smaller fraction, which is the one listed, with the
    raised load (number, name, P, Mx, My); minimum: "fixed magnitudes" or "code eccentricity". Under a strength reduction (ACI 318-19) fraction is measured against the design
    surface, and fraction_nominal, phi, cap_governs (per combination) and cap (phi Pn,max, kN) are
    given; None otherwise.
    """

    names: List[str]
    P: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    fraction: np.ndarray
    critical: int
    status: Status
    raised: List[Dict[str, object]] = field(default_factory=list)
    minimum: str = "fixed magnitudes"
    fraction_nominal: Optional[np.ndarray] = None
    phi: Optional[np.ndarray] = None
    cap_governs: Optional[np.ndarray] = None
    cap: Optional[float] = None
    strain_limit: str = "control"

    @property
    def passes(self) -> bool:
        """Every combination's load fraction is at least 1."""
        return bool(len(self.fraction)) and bool(np.all(self.fraction >= 1.0))


@dataclass(frozen=True)
class KeyPoint:
    """A key point of a P-M curve (P kN compression positive, M, Mx, My kN·m); when it does not
    exist, ``missing`` says why. neutral_axis: (angle in degrees, depth in mm) or None."""

    label: str
    exists: bool
    missing: str
    branch: int
    P: float
    M: float
    Mx: float
    My: float
    strain_plane: Tuple[float, float, float]
    neutral_axis: Optional[Tuple[float, float]]
    strain_limit: str = "control"


@dataclass(frozen=True)
class SectionState:
    """The section's state for one load, at capacity or at the load itself.

    P (kN, compression positive), Mx, My (kN·m): the load as solved; load_fraction; the strain
    plane (a1, a2, a3: eps = a1 + a2 x + a3 y, compression positive); per fibre x, y (mm), area
    (mm²), kind, material, strain, stress (MPa, compression positive) and force (kN). Under a
    strength reduction (ACI 318-19) load_fraction is the design one, as check() lists it, and
    load_fraction_nominal and phi are given; None otherwise.
    """

    at: str
    P: float
    Mx: float
    My: float
    load_fraction: float
    converged: bool
    strain_plane: Tuple[float, float, float]
    neutral_axis: Optional[Tuple[float, float]]
    largest_compressive_strain: float
    largest_tensile_strain: float
    x: np.ndarray
    y: np.ndarray
    area: np.ndarray
    kind: np.ndarray
    material: np.ndarray
    strain: np.ndarray
    stress: np.ndarray
    force: np.ndarray
    status: Status
    load_fraction_nominal: Optional[float] = None
    phi: Optional[float] = None
    strain_limit: str = "control"


def _design(raw: dict, *keys: str) -> Dict[str, object]:
    """The design fields of a run, those it has (strength reduction only)."""
    return {k: raw[k] for k in keys if k in raw}


def _axis(raw: dict) -> Optional[Tuple[float, float]]:
    return (raw["angle"], raw["depth"]) if raw["exists"] else None


PathLike = Union[str, "os.PathLike[str]"]


class Section:
    """A section read from a file, with its mesh and its latest results.

    An analysis of a section without a current mesh meshes it first with the file's grades and
    mesh size, as ``qavsec-cli`` does. One Section is used by one thread at a time; different
    Sections analyse side by side.
    """

    def __init__(self, core: "_core.Section", path: str = ""):
        self._core = core
        self.path = path

    def __repr__(self) -> str:
        return f"<qavsec.Section {self.path!r}>"

    def save(self, path: PathLike) -> None:
        """Writes the section file to path."""
        self._core.save(os.fspath(path))

    def convert(self, code: str, concrete: Optional[str] = None, cover: Optional[str] = None,
                rebar: Optional[str] = None, steel: Optional[str] = None,
                alpha_cc: Optional[float] = None, ties: Optional[str] = None) -> List[str]:
        """Puts the section under a design code, as ``qavsec-cli resave --code`` does: code is
        "hk", "bs", "ec2" or "aci318"; each grade by its name in the code's tables, or (None)
        the one nearest in strength to the grade selected now; alpha_cc (EN 1992-1-1 only, 0.8
        to 1.0); ties "tied" or "spiral" (ACI 318-19). Returns the messages saying which grade
        each kind took; a refused value raises Error and changes nothing. The mesh keeps its
        fibres, which take the new grades."""
        return list(self._core.convert(code, concrete or "", cover or "", rebar or "",
                                       steel or "", None if alpha_cc is None else float(alpha_cc),
                                       ties))

    @property
    def code(self) -> str:
        """The name of the design code the section is analysed under ("HK-COP-2013", "BS-8110",
        "EN 1992-1-1", "ACI 318-19")."""
        return self._core.code

    @property
    def strain_limit(self) -> str:
        """What limits the ultimate state: "control" (a corner at the control strain 0.005) or
        "code" (the extreme compressed concrete at its grade's ultimate strain). A section under
        EN 1992-1-1 or ACI 318-19 is always at "code" and refuses "control"."""
        return self._core.strain_limit

    @strain_limit.setter
    def strain_limit(self, value: str) -> None:
        self._core.strain_limit = value

    @property
    def ties(self) -> str:
        """The transverse reinforcement, "tied" or "spiral" (ACI 318-19's phi and axial cap)."""
        return self._core.ties

    @ties.setter
    def ties(self, value: str) -> None:
        self._core.ties = value

    @property
    def materials(self) -> Dict[str, object]:
        """The grade tables: "concrete", "cover", "steel" (lists of dicts with the grade's name and
        its values: FCU, FC, FY in MPa, EC, ES in MPa, strains as ratios), and "selected": the name
        of the grade each kind of fibre takes (None where the section selects none)."""
        return self._core.materials()

    @property
    def properties(self) -> Dict[str, object]:
        """Areas (mm²) and ratios of the meshed section and its centroids (mm): section_area,
        rebar_area, steel_area, rebar_ratio, steel_ratio, centroid (the origin of fibre
        coordinates), concrete_centroid, steel_centroid. Meshes the section when needed."""
        raw = self._core.properties()
        for w in raw.pop("warnings"):
            warnings.warn(w, UserWarning, stacklevel=2)
        return raw

    def mesh(self, size: Optional[float] = None, steel_grid: bool = False) -> Dict[str, object]:
        """Meshes the section into fibres: size in mm (None: the file's mesh size); steel_grid puts
        mesh nodes inside the steel of a section without concrete. Returns the counts of fibres,
        control points, triangles and nodes."""
        text = None if size is None else _number_text(size)
        raw = self._core.mesh(text, steel_grid)
        _status(raw)
        return {k: raw[k] for k in ("fibres", "control_points", "triangles", "nodes")}

    def pm(self, angle: float = 45.0, npm: Optional[int] = None, solver: str = "fast",
           threads: Optional[int] = None) -> PMCurve:
        """The P-M curve in the moment direction angle (degrees; 0 is Mx, 90 is My) and
        angle + 180.

        npm: steps per branch (the program's 30 when None); solver: "fast" or "reference";
        threads: worker threads (None: every core). Results in kN and kN·m, compression
        positive, M positive on the angle's branch.
        """
        r = self._core.pm(float(angle), npm, solver, threads)
        return PMCurve(r["angle"], r["P"], r["M"], r["Mx"], r["My"], r["converged"], r["PMAX"],
                       r["PMIN"], _status(r), **_design(r, "P_nominal", "M_nominal", "Mx_nominal",
                                                        "My_nominal", "phi", "P_compression_end",
                                                        "P_tension_end", "strain_limit"))

    def mm(self, axial: float, nmm: Optional[int] = None, solver: str = "fast",
           threads: Optional[int] = None) -> MMCurve:
        """The Myy-Mxx curve (My against Mx) at the axial force axial (kN, compression positive), which must lie
        within PMIN .. PMAX. nmm: angle steps (the program's 24 when None). Moments in kN·m."""
        r = self._core.mm(float(axial), nmm, solver, threads)
        mx, my = r["Mx"], r["My"]
        return MMCurve(r["axial"], np.full(mx.shape, float(axial)), mx, my, np.hypot(mx, my),
                       r["converged"], _status(r),
                       **_design(r, "Mx_nominal", "My_nominal", "phi", "strain_limit"))

    def mphi(self, axis: str, axial: float, negative: bool = False,
             max_strain: Optional[float] = None, steps: int = 20, solver: str = "fast",
             threads: Optional[int] = None) -> MPhiCurve:
        """The moment-curvature curve about axis "x" or "y" at the axial force axial (kN,
        compression positive): the extreme strain stepped from 0 to max_strain in steps (None:
        under the code's limits the least ultimate strain of the concrete, else 0.0035). M in
        kN·m, curvature in 1/m about the axis."""
        r = self._core.mphi(axis, float(axial), negative,
                            None if max_strain is None else float(max_strain), int(steps), solver,
                            threads)
        return MPhiCurve(r["axis"], r["negative"], r["axial"], r["max_strain"], r["steps"], r["M"],
                         r["curvature"], r["converged"], _status(r), r["strain_limit"])

    def pmm(self, npm: Optional[int] = None, solver: str = "fast",
            threads: Optional[int] = None) -> PMMSurface:
        """The P-Mx-My surface from six P-M curves 30 degrees apart (kN, kN·m, compression
        positive); arrays of shape (6, 2 npm + 2)."""
        r = self._core.pmm(npm, solver, threads)
        P, mx, my = (np.array(r[k]) for k in ("P", "Mx", "My"))
        design = {k: np.array(v) for k, v in
                  _design(r, "P_nominal", "Mx_nominal", "My_nominal", "phi").items()}
        return PMMSurface(P, mx, my, np.hypot(mx, my), np.array(r["converged"]), _status(r),
                          strain_limit=r["strain_limit"], **design)

    def check(self, loads: Union[PathLike, Sequence[Sequence[float]], np.ndarray],
              names: Optional[Sequence[str]] = None, units: str = "kN,m", kp: float = 0.0,
              kmx: float = 0.0, kmy: float = 0.0, solver: str = "fast",
              threads: Optional[int] = None, min_ecc: bool = False) -> CheckResult:
        """The member check of the load combinations: a force CSV file's path, or an (n, 3) array
        of P, Mx (about X), My (about Y) with their names. units: "kN,m" (kN and kN·m, the units
        of the results) or "N,mm" of the loads (P negative in compression, as in load files). Each
        fraction is that of the load as given; kp (kN), kmx (about X), kmy (about Y) (kN·m) are
        least magnitudes the load is also raised to, or with min_ecc a compression's moments are
        raised in turn to at least P times the code's minimum eccentricity about their axis (ACI
        318-19: the minimum moment of its slenderness rules) instead: the smaller fraction
        governs, and ``raised`` lists the raised loads that govern. The combinations stay with the
        section for :meth:`state`.
        """
        if isinstance(loads, (str, os.PathLike)):
            path = os.fspath(loads)
            lines, file = _core.read_lines(path), path
        else:
            lines, file = _force_lines(np.asarray(loads, dtype=float), names), ""
        r = self._core.check(lines, file, units, float(kp), float(kmx), float(kmy), bool(min_ecc),
                             solver, threads)
        if r["unconverged_combinations"]:
            warnings.warn(r["unconverged_combinations"], ConvergenceWarning, stacklevel=2)
        return CheckResult(list(r["names"]), r["P"], r["Mx"], r["My"], r["fraction"],
                           r["critical"], _status(r), list(r["raised"]), r["minimum"],
                           **_design(r, "fraction_nominal", "phi", "cap_governs", "cap",
                                     "strain_limit"))

    def key_points(self, angle: float = 45.0) -> List[KeyPoint]:
        """The key points of the P-M curve at angle (degrees): pure compression and tension, then
        decompression, balanced failure and pure bending on both branches (kN, kN·m)."""
        r = self._core.key_points(float(angle))
        return [KeyPoint(k["label"], k["exists"], k["missing"], k["branch"], k["P"], k["M"],
                         k["Mx"], k["My"], tuple(k["strain_plane"]), _axis(k["neutral_axis"]),
                         k["strain_limit"])
                for k in r]

    def state(self, P: Optional[float] = None, Mx: float = 0.0, My: float = 0.0, *,
              combination: Optional[int] = None, at: str = "capacity",
              kp: Optional[float] = None, kmx: Optional[float] = None,
              kmy: Optional[float] = None) -> SectionState:
        """The section's state for the load (P kN, negative in compression as in load files; Mx
        about X, My about Y, kN·m) or for a load combination (1-based) of the last check. at:
        "capacity" (the load times its load fraction) or "load" (the load itself). A combination's
        state at capacity is that of the load check() listed for it (raised where its minimum
        governs); a typed load and the state at the load are never raised (kp, kmx, kmy are
        refused)."""
        if (P is None) == (combination is None):
            raise Error("Give either a load P, Mx, My or combination=N.")
        if at not in ("capacity", "load"):
            raise Error(f"at is \"capacity\" or \"load\", not {at!r}.")
        if any(k is not None for k in (kp, kmx, kmy)):
            raise Error("A state is never raised on its own: a combination's state is that of "
                        "the load check() listed (give the minimums to check()), and a typed "
                        "load's is that of the load as given.")
        r = self._core.state(0.0 if P is None else float(P), float(Mx), float(My),
                             combination, at == "load", 0.0, 0.0, 0.0)
        return SectionState(r["at"], r["P"], r["Mx"], r["My"], r["load_fraction"], r["converged"],
                            tuple(r["strain_plane"]), _axis(r["neutral_axis"]),
                            r["largest_compressive_strain"], r["largest_tensile_strain"], r["x"],
                            r["y"], r["area"], r["kind"], r["material"], r["strain"], r["stress"],
                            r["force"], _status(r),
                            **_design(r, "load_fraction_nominal", "phi", "strain_limit"))


def _number_text(value: Union[float, str]) -> str:
    """A number as the mesh size box would hold it ("20", not "20.0"); text stays as typed."""
    if isinstance(value, str):
        return value
    x = float(value)
    return str(int(x)) if x.is_integer() and abs(x) < 1e15 else repr(x)


def _force_lines(loads: np.ndarray, names: Optional[Sequence[str]]) -> List[str]:
    """The lines of a force CSV file holding the loads, numbers written so they read back exactly."""
    if loads.ndim != 2 or loads.shape[1] != 3:
        raise Error(f"The loads are an (n, 3) array of P, Mx, My, not one of shape {loads.shape}.")
    if not np.all(np.isfinite(loads)):
        raise Error("The loads hold a number that is not finite.")
    if names is None:
        names = [f"Comb{i + 1}" for i in range(len(loads))]
    if len(names) != len(loads):
        raise Error(f"{len(names)} names are given for {len(loads)} loads.")
    lines = ["no.,Load,P,M2,M3"]
    for i, (name, (p, mx, my)) in enumerate(zip(names, loads), start=1):
        if any(c in str(name) for c in ",\r\n"):
            raise Error(f"The name {name!r} holds a comma or a line break.")
        # A load file's M2 is the moment about Y, its M3 the one about X.
        lines.append(f"{i},{name},{float(p)!r},{float(my)!r},{float(mx)!r}")
    return lines


def open(path: PathLike) -> Section:  # noqa: A001 - the module's verb, as qavsec-cli's
    """Reads a section file (.sec); raises Error with the program's message when it is refused."""
    p = os.fspath(path)
    return Section(_core.open(p), p)


def build(kind: str, shape: str, **dimensions: Union[float, int, str]) -> Section:
    """A section from a builder's shape, by the names ``qavsec-cli build`` takes.

    ``kind`` is "typical", "steel", "composite" or "opening"; ``shape`` the shape's name
    ("rectangle", "i-section", ...; ``qavsec-cli build KIND --help`` lists them). Each keyword is
    one input by its command-line name with "-" written "_" (``B=800, H=1000, cover=35,
    bar_diameter=25``); lengths in mm, counts as whole numbers. Inputs not given keep the
    dialog's defaults. Raises Error with the builder's own message for an unknown name or a
    value it refuses.
    """
    inputs = [(name.replace("_", "-"), _number_text(value)) for name, value in dimensions.items()]
    return Section(_core.build(kind, shape, inputs))
