"""The package's classes and functions; ``import qavsec`` gives them (see its help)."""

from __future__ import annotations

import os
import warnings
from dataclasses import MISSING, dataclass, field, fields
from enum import Enum, IntEnum
from typing import Any, Dict, List, NamedTuple, Optional, Sequence, Tuple, Union

import numpy as np

from . import _core, _views

Error = _core.Error
Error.__module__ = "qavsec"
Error.__doc__ = "An input, file or request the program refuses; the text is the program's message."


class ConvergenceWarning(UserWarning):
    """Some equilibrium solves of a run did not converge; the result holds their best points."""


class FibreKind(IntEnum):
    """What a fibre is: the values of a state's and a section's ``kind`` arrays."""

    CORE_CONCRETE = 1
    STEEL = 2
    REBAR = 3
    COVER_CONCRETE = 4


class Solver(str, Enum):
    """The equilibrium solver: Newton's method, or the original fixed-matrix iteration."""

    FAST = "fast"
    REFERENCE = "reference"


class StrainLimit(str, Enum):
    """What limits the ultimate state: a corner at the control strain, or the code's limits."""

    CONTROL = "control"
    CODE = "code"


class Ties(str, Enum):
    """The transverse reinforcement of an ACI 318-19 column."""

    TIED = "tied"
    SPIRAL = "spiral"


class NeutralAxis(NamedTuple):
    """The neutral axis: its angle (degrees) and its depth from the most compressed point (mm)."""

    angle: float
    depth: float


class _Result:
    """A result's arrays are read-only; its repr is one line; it gives a DataFrame and a plot."""

    def __post_init__(self) -> None:
        _views.freeze(self)

    def _summary(self) -> str:
        raise NotImplementedError

    def __repr__(self) -> str:
        return f"<qavsec.{type(self).__name__}: {self._summary()}>"

    def _columns(self) -> Dict[str, Any]:
        raise NotImplementedError

    def to_frame(self) -> Any:
        """The result's points as a pandas DataFrame, one column per array (pandas needed)."""
        return _views.frame(self._columns(), f"{type(self).__name__}.to_frame()")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        raise NotImplementedError

    def _repr_html_(self) -> str:
        header, rows = self._rows()
        return _views.html_table(f"qavsec.{type(self).__name__}: {self._summary()}", header, rows)


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


@dataclass(frozen=True, repr=False)
class PMCurve(_Result):
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
    code: str = ""

    def _summary(self) -> str:
        lo, hi = _views.span(self.P)
        return (f"angle {_views.number(self.angle)}°, {self.P.size} points, P "
                f"{_views.number(lo, 0)} .. {_views.number(hi, 0)} kN, |M| up to "
                f"{_views.number(_views.span(np.abs(self.M))[1], 0)} kN·m, "
                f"{self.code}, {self.strain_limit} limit{_views.unconverged(self.converged)}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        return _views.extremes(self.P, self.M)

    def _columns(self) -> Dict[str, Any]:
        return {"P": self.P, "M": self.M, "Mx": self.Mx, "My": self.My,
                "converged": self.converged, "P_nominal": self.P_nominal,
                "M_nominal": self.M_nominal, "Mx_nominal": self.Mx_nominal,
                "My_nominal": self.My_nominal, "phi": self.phi}

    def plot(self, ax: Any = None) -> Any:
        """Draws the curve, M across and P up (the nominal curve dashed beside a design one)
        into ax, or a new figure; returns the axes (matplotlib needed)."""
        ax = _views.axes(ax, "PMCurve.plot()")
        _views.design_and_nominal(ax, self.M, self.P, self.M_nominal, self.P_nominal, "P-M")
        _views.zero_axes(ax)
        ax.set_xlabel("M (kN·m)")
        ax.set_ylabel("P (kN)")
        ax.set_title(f"P-M curve, angle {_views.number(self.angle)}°")
        return ax


@dataclass(frozen=True, repr=False)
class MMCurve(_Result):
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
    code: str = ""

    def _summary(self) -> str:
        return (f"P {_views.number(self.axial)} kN, {self.Mx.size} points, |Mx| up to "
                f"{_views.number(_views.span(np.abs(self.Mx))[1], 0)}, |My| up to "
                f"{_views.number(_views.span(np.abs(self.My))[1], 0)} kN·m, "
                f"{self.code}, {self.strain_limit} limit{_views.unconverged(self.converged)}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        rows = []
        for what, a in (("largest Mx", self.Mx), ("largest My", self.My)):
            if np.isfinite(a).any():
                i = int(np.nanargmax(np.abs(a)))
                rows.append([what, _views.number(self.Mx[i]), _views.number(self.My[i])])
        return ["point", "Mx (kN·m)", "My (kN·m)"], rows

    def _columns(self) -> Dict[str, Any]:
        return {"P": self.P, "Mx": self.Mx, "My": self.My, "M": self.M,
                "converged": self.converged, "Mx_nominal": self.Mx_nominal,
                "My_nominal": self.My_nominal, "phi": self.phi}

    def plot(self, ax: Any = None) -> Any:
        """Draws the curve, My across and Mx up, as the program's chart does (matplotlib
        needed); returns the axes."""
        ax = _views.axes(ax, "MMCurve.plot()")
        _views.design_and_nominal(ax, self.My, self.Mx, self.My_nominal, self.Mx_nominal, "Myy-Mxx")
        _views.zero_axes(ax)
        ax.set_aspect("equal", adjustable="datalim")
        ax.set_xlabel("My (kN·m)")
        ax.set_ylabel("Mx (kN·m)")
        ax.set_title(f"Myy-Mxx curve at P {_views.number(self.axial)} kN")
        return ax


@dataclass(frozen=True, repr=False)
class MPhiCurve(_Result):
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
    code: str = ""

    def _summary(self) -> str:
        return (f"about {self.axis}, P {_views.number(self.axial)} kN, {self.M.size} points, M up "
                f"to {_views.number(_views.span(self.M)[1], 0)} kN·m, {self.code}"
                f"{_views.unconverged(self.converged)}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        rows = []
        if np.isfinite(self.M).any():
            i = int(np.nanargmax(self.M))
            rows.append(["largest moment", _views.number(self.curvature[i], 6),
                         _views.number(self.M[i])])
        rows.append(["last step", _views.number(self.curvature[-1], 6), _views.number(self.M[-1])])
        return ["point", "curvature (1/m)", "M (kN·m)"], rows

    def _columns(self) -> Dict[str, Any]:
        return {"curvature": self.curvature, "M": self.M, "converged": self.converged}

    def plot(self, ax: Any = None) -> Any:
        """Draws M against the curvature (matplotlib needed); returns the axes."""
        ax = _views.axes(ax, "MPhiCurve.plot()")
        ax.plot(self.curvature, self.M, color="red")
        ax.grid(True, linestyle=":", linewidth=0.6)
        ax.set_xlabel("curvature (1/m)")
        ax.set_ylabel("M (kN·m)")
        ax.set_title(f"M-Phi about {self.axis} at P {_views.number(self.axial)} kN")
        return ax


@dataclass(frozen=True, repr=False)
class PMMSurface(_Result):
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
    code: str = ""

    ANGLES = (0, 30, 60, 90, 120, 150)

    def _summary(self) -> str:
        lo, hi = _views.span(self.P)
        points = self.P.shape[1] if self.P.ndim == 2 else 0
        return (f"{self.P.shape[0]} curves of {points} points, P "
                f"{_views.number(lo, 0)} .. {_views.number(hi, 0)} kN, |M| up to "
                f"{_views.number(_views.span(self.M)[1], 0)} kN·m, "
                f"{self.code}, {self.strain_limit} limit{_views.unconverged(self.converged)}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        return _views.extremes(self.P.ravel(), self.M.ravel())

    def _columns(self) -> Dict[str, Any]:
        n = self.P.shape[1] if self.P.ndim == 2 else 0
        flat = {"angle": np.repeat(np.array(self.ANGLES[: self.P.shape[0]], dtype=float), n),
                "point": np.tile(np.arange(n), self.P.shape[0])}
        for k in ("P", "Mx", "My", "M", "converged", "P_nominal", "Mx_nominal", "My_nominal",
                  "phi"):
            v = getattr(self, k)
            flat[k] = None if v is None else np.asarray(v).ravel()
        return flat

    def plot(self, ax: Any = None) -> Any:
        """Draws the six curves in three dimensions, Mx, My across and P up (matplotlib
        needed); returns the axes."""
        ax = _views.axes(ax, "PMMSurface.plot()", projection="3d")
        for k in range(self.P.shape[0]):
            ax.plot(self.Mx[k], self.My[k], self.P[k], color="red", linewidth=0.8)
        ax.set_xlabel("Mx (kN·m)")
        ax.set_ylabel("My (kN·m)")
        ax.set_zlabel("P (kN)")
        return ax


@dataclass(frozen=True, repr=False)
class CheckResult(_Result):
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
    code: str = ""

    @property
    def passes(self) -> bool:
        """Every combination's load fraction is at least 1."""
        return bool(len(self.fraction)) and bool(np.all(self.fraction >= 1.0))

    def _summary(self) -> str:
        n = len(self.names)
        if not self.critical:
            return f"{n} combinations, none critical"
        i = self.critical - 1
        return (f"{n} combinations, critical {self.critical} ({self.names[i]}) at "
                f"{_views.number(self.fraction[i], 3)}, "
                f"{'passes' if self.passes else 'does not pass'}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        order = np.argsort(self.fraction, kind="stable")[:5]
        return (["no.", "name", "P (kN)", "Mx (kN·m)", "My (kN·m)", "fraction"],
                [[str(i + 1), self.names[i], _views.number(self.P[i]), _views.number(self.Mx[i]),
                  _views.number(self.My[i]), _views.number(self.fraction[i], 3)] for i in order])

    def _columns(self) -> Dict[str, Any]:
        return {"name": self.names, "P": self.P, "Mx": self.Mx, "My": self.My,
                "fraction": self.fraction, "fraction_nominal": self.fraction_nominal,
                "phi": self.phi, "cap_governs": self.cap_governs}

    def plot(self, ax: Any = None) -> Any:
        """Draws each combination's load fraction as a bar, red below 1 (matplotlib needed);
        returns the axes."""
        ax = _views.axes(ax, "CheckResult.plot()")
        n = np.arange(1, len(self.fraction) + 1)
        ax.bar(n, self.fraction, color=np.where(self.fraction < 1, "red", "grey"))
        ax.axhline(1, color="black", linewidth=0.8)
        ax.set_xlabel("combination")
        ax.set_ylabel("load fraction")
        return ax


@dataclass(frozen=True, repr=False)
class KeyPoint(_Result):
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
    neutral_axis: Optional[NeutralAxis]
    strain_limit: str = "control"
    code: str = ""
    P_nominal: Optional[float] = None
    M_nominal: Optional[float] = None
    phi: Optional[float] = None

    def _summary(self) -> str:
        if not self.exists:
            return f"{self.label}: none ({self.missing})"
        design = "" if self.phi is None else f", phi {_views.number(self.phi, 3)}"
        return (f"{self.label}: P {_views.number(self.P)} kN, M {_views.number(self.M)} kN·m"
                f"{design}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        return (["P (kN)", "M (kN·m)", "Mx (kN·m)", "My (kN·m)"],
                [[_views.number(v) for v in (self.P, self.M, self.Mx, self.My)]])

    def _columns(self) -> Dict[str, Any]:
        return {k: [getattr(self, k)] for k in ("label", "exists", "P", "M", "Mx", "My",
                                                 "P_nominal", "M_nominal", "phi")}


@dataclass(frozen=True, repr=False)
class SectionState(_Result):
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
    neutral_axis: Optional[NeutralAxis]
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
    code: str = ""

    def _summary(self) -> str:
        return (f"at {self.at}, P {_views.number(self.P)} kN, Mx {_views.number(self.Mx)}, My "
                f"{_views.number(self.My)} kN·m, load fraction "
                f"{_views.number(self.load_fraction, 3)}"
                f", {self.x.size} fibres{'' if self.converged else ', not converged'}")

    def _rows(self) -> Tuple[List[str], List[List[str]]]:
        rows = [["load fraction", _views.number(self.load_fraction, 4)],
                ["largest compressive strain", _views.number(self.largest_compressive_strain, 6)],
                ["largest tensile strain", _views.number(self.largest_tensile_strain, 6)]]
        if self.neutral_axis is not None:
            rows.append(["neutral axis angle (°), depth (mm)",
                         f"{_views.number(self.neutral_axis.angle)}, "
                         f"{_views.number(self.neutral_axis.depth)}"])
        return ["", ""], rows

    def _columns(self) -> Dict[str, Any]:
        return {"x": self.x, "y": self.y, "area": self.area,
                "kind": [FibreKind(int(k)).name.lower() for k in self.kind],
                "material": self.material, "strain": self.strain, "stress": self.stress,
                "force": self.force}

    def plot(self, ax: Any = None) -> Any:
        """Draws each fibre at its centre coloured by its stress (MPa, compression positive):
        concrete and steel each on a colour bar of their own, their stresses being some ten
        times apart (matplotlib needed); returns the axes."""
        ax = _views.axes(ax, "SectionState.plot()")
        concrete = np.isin(self.kind, (FibreKind.CORE_CONCRETE, FibreKind.COVER_CONCRETE))
        for part, cmap, what, edge in ((concrete, "viridis", "concrete", "none"),
                                       (~concrete, "coolwarm_r", "steel", "black")):
            if part.any():
                dots = ax.scatter(self.x[part], self.y[part], c=self.stress[part], cmap=cmap,
                                  s=12 if what == "concrete" else 40, edgecolors=edge,
                                  linewidths=0.5)
                ax.figure.colorbar(dots, ax=ax, label=f"{what} stress (MPa)")
        ax.set_aspect("equal")
        ax.set_xlabel("x (mm)")
        ax.set_ylabel("y (mm)")
        ax.set_title(f"state at {self.at}: load fraction {_views.number(self.load_fraction, 3)}")
        return ax


def _result(kind: Any, raw: dict, **given: Any) -> Any:
    """A result whose fields are the core's keys of the same names (given ones take the place of
    the core's): one contract, which the stub repeats and a test holds to. A field the run does
    not give keeps its default (the design fields under a code without a strength reduction);
    a field without a default that the core does not give is a fault of the module."""
    values = {f.name: raw[f.name] for f in fields(kind) if f.name in raw and f.name not in given}
    missing = [f.name for f in fields(kind) if f.name not in values and f.name not in given
               and f.default is MISSING and f.default_factory is MISSING]
    if missing:
        raise RuntimeError(f"qavsec: the core gave {kind.__name__} no {', '.join(missing)}")
    return kind(**values, **given)


def _axis(raw: dict) -> Optional[NeutralAxis]:
    return NeutralAxis(raw["angle"], raw["depth"]) if raw["exists"] else None


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
        return f"<qavsec.Section {self.path!r}: {self.code}, {self.strain_limit} limit>"

    @classmethod
    def from_geometry(cls, outline: Any, cover: Any = None, bars: Any = (), steel: Any = (),
                      openings: Any = (), concrete: Optional[str] = None,
                      cover_concrete: Optional[str] = None, rebar: Optional[str] = None,
                      steel_grade: Optional[str] = None, code: str = "hk",
                      mesh_size: Optional[float] = None) -> "Section":
        """A section from the polygons a script has (mm): the concrete outline (None for a steel
        section), the cover line
        (the polygon the bars stand inside: core concrete within, cover concrete without; None
        for none), bars as rows (x, y, diameter), steel plates and openings as lists of
        polygons. A polygon is an (n, 2) array of its corners in order (a closing corner equal
        to the first may be given), or a shapely Polygon (its holes become openings of the
        outline). The section is under code ("hk", "bs", "ec2", "aci318") with each grade by its
        name in that code's tables (None: the tables' first grade, as a new section has it);
        mesh_size in mm (None: 100). Coordinates are kept to the section file's five decimals.
        Raises Error naming the argument for a polygon or bar the section cannot hold."""
        polygons = [] if outline is None else _polygons(outline, "outline")
        holes = polygons[1:]
        lines = ["GEN START", "USE_CONC,0", "USE_REBAR,0", "USE_STEEL,0", "USE_COVER,0",
                 "MESH_SIZE," + (_number_text(mesh_size) if mesh_size is not None else "100"),
                 "GEN END"]
        if polygons:
            lines += _polygon_block("POLY", polygons[0])
        for plate in _polygon_list(steel, "steel"):
            lines += _polygon_block("STEELPOLY", plate)
        for hole in holes + _polygon_list(openings, "openings"):
            lines += _polygon_block("OPENPOLY", hole)
        if cover is not None:
            lines += _polygon_block("REBARPOLY", _polygons(cover, "cover")[0])
        lines += _bar_block(bars)
        section = cls(_from_file_lines(lines))
        grades = {"concrete": concrete, "cover": cover_concrete, "rebar": rebar,
                  "steel": steel_grade}
        if code != "hk" or any(v is not None for v in grades.values()):
            with warnings.catch_warnings():
                warnings.simplefilter("ignore")
                section.convert(code, **grades)
        return section

    def __getstate__(self) -> Dict[str, object]:
        """A section travels as its file's text, its strain limit and its mesh option (to a
        worker process, say); it meshes again where it arrives, to the same fibres, and keeps no
        results."""
        return {"lines": _file_lines(self._core), "path": self.path,
                "strain_limit": self.strain_limit, "steel_grid": self._core.steel_grid,
                "integration": self.integration}

    def __setstate__(self, state: Dict[str, object]) -> None:
        self.path = str(state["path"])
        self._core = _reopened(state["lines"], state["strain_limit"],  # type: ignore[arg-type]
                               bool(state.get("steel_grid", False)),
                               str(state.get("integration", "auto")))

    def fibres(self) -> Dict[str, np.ndarray]:
        """The meshed fibres (meshing the section when needed): x, y (mm, centres), area (mm²),
        kind (:class:`FibreKind`), material (the grade's number), diameter (mm, bars; 0 for
        triangles) and corners, shape (n, 3, 2): each triangle's corners (NaN for a bar)."""
        raw = self._core.fibres()
        for w in raw.pop("warnings"):
            warnings.warn(w, UserWarning, stacklevel=2)
        return raw

    def plot(self, ax: Any = None) -> Any:
        """Draws the meshed section: triangles by kind (core and cover concrete, steel), bars as
        discs (matplotlib needed); returns the axes."""
        ax = _views.axes(ax, "Section.plot()")
        return _views.section_picture(ax, self.fibres(), f"{os.path.basename(self.path)} "
                                                         f"({self.code})")

    def _repr_html_(self) -> str:
        props = self.properties
        rows = [[k.replace("_", " "), _views.number(props[k], 2)]
                for k in ("section_area", "rebar_area", "steel_area", "rebar_ratio",
                          "steel_ratio")]
        table = _views.html_table(f"qavsec.Section {self.path}: {self.code}, {self.strain_limit} "
                                  f"limit", ["property", "value"], rows)
        fibres = self.fibres()
        svg = _views.picture_svg(lambda ax: _views.section_picture(ax, fibres, ""))
        return f"<div style='display:flex;gap:1em;align-items:flex-start'>{svg}{table}</div>"

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
        each kind took; a refused value raises Error and changes nothing. The section is then as
        its file holds it (as ``resave`` writes it): its fibres take the new grades."""
        said = list(self._core.convert(code, concrete or "", cover or "", rebar or "",
                                       steel or "", None if alpha_cc is None else float(alpha_cc),
                                       ties))
        self._core = _reopened(_file_lines(self._core), self._core.strain_limit,
                               self._core.steel_grid, self._core.integration)
        return said

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
    def integration(self) -> str:
        """How each concrete and steel triangle's stress is summed: "exact" (integrated over its
        area, so that the results do not depend on the mesh size), "centroid" (the stress at its
        centre times its area) or "auto" (exact under a code's limits, centroid at the control
        strain)."""
        return self._core.integration

    @integration.setter
    def integration(self, value: str) -> None:
        self._core.integration = value

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
        return _result(PMCurve, r, status=_status(r), code=self.code)

    def mm(self, axial: float, nmm: Optional[int] = None, solver: str = "fast",
           threads: Optional[int] = None) -> MMCurve:
        """The Myy-Mxx curve (My against Mx) at the axial force axial (kN, compression positive), which must lie
        within PMIN .. PMAX. nmm: angle steps (the program's 24 when None). Moments in kN·m."""
        r = self._core.mm(float(axial), nmm, solver, threads)
        mx, my = r["Mx"], r["My"]
        return _result(MMCurve, r, P=np.full(mx.shape, float(axial)), M=np.hypot(mx, my),
                       status=_status(r), code=self.code)

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
        return _result(MPhiCurve, r, status=_status(r), code=self.code)

    def pmm(self, npm: Optional[int] = None, solver: str = "fast",
            threads: Optional[int] = None) -> PMMSurface:
        """The P-Mx-My surface from six P-M curves 30 degrees apart (kN, kN·m, compression
        positive); arrays of shape (6, 2 npm + 2)."""
        r = self._core.pmm(npm, solver, threads)
        arrays = {k: np.array(r[k]) for k in ("P", "Mx", "My", "converged", "P_nominal",
                                              "Mx_nominal", "My_nominal", "phi") if k in r}
        return _result(PMMSurface, r, **arrays, M=np.hypot(arrays["Mx"], arrays["My"]),
                       status=_status(r), code=self.code)

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
        return _result(CheckResult, r, names=list(r["names"]), raised=list(r["raised"]),
                       status=_status(r), code=self.code)

    def key_points(self, angle: float = 45.0) -> List[KeyPoint]:
        """The key points of the P-M curve at angle (degrees): pure compression and tension, then
        decompression, balanced failure and pure bending on both branches (kN, kN·m)."""
        r = self._core.key_points(float(angle))
        return [_result(KeyPoint, k, strain_plane=tuple(k["strain_plane"]),
                        neutral_axis=_axis(k["neutral_axis"]), code=self.code) for k in r]

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
        return _result(SectionState, r, strain_plane=tuple(r["strain_plane"]),
                       neutral_axis=_axis(r["neutral_axis"]), status=_status(r), code=self.code)


def _file_lines(core: "_core.Section") -> List[str]:
    """The lines of the section file the core writes."""
    return list(core.file_lines())


def _from_file_lines(lines: List[str]) -> "_core.Section":
    """The section a file of these lines opens to."""
    return _core.open_lines(list(lines), "the section's file")


def _corners(value: Any, name: str) -> np.ndarray:
    """A polygon's corners as an (n, 2) array of finite numbers, n >= 3, not closed."""
    try:
        a = np.asarray(value, dtype=float)
    except (TypeError, ValueError) as e:
        raise Error(f"{name}: a polygon is an (n, 2) array of corners ({e}).") from None
    if a.ndim != 2 or a.shape[1] != 2:
        raise Error(f"{name}: a polygon is an (n, 2) array of corners, not one of shape "
                    f"{a.shape}.")
    if not np.all(np.isfinite(a)):
        raise Error(f"{name}: a corner holds a number that is not finite.")
    if len(a) > 1 and np.array_equal(a[0], a[-1]):
        a = a[:-1]
    if len(a) < 3:
        raise Error(f"{name}: a polygon needs at least 3 corners, not {len(a)}.")
    x, y = a[:, 0], a[:, 1]
    if abs(np.dot(x, np.roll(y, -1)) - np.dot(y, np.roll(x, -1))) == 0:
        raise Error(f"{name}: the polygon encloses no area.")
    return a


def _polygons(value: Any, name: str) -> List[np.ndarray]:
    """A polygon and, for a shapely Polygon, its holes after it."""
    exterior = getattr(value, "exterior", None)
    if exterior is not None:
        return ([_corners(np.asarray(exterior.coords)[:, :2], name)] +
                [_corners(np.asarray(h.coords)[:, :2], f"{name} (hole {k + 1})")
                 for k, h in enumerate(value.interiors)])
    return [_corners(value, name)]


def _polygon_list(value: Any, name: str) -> List[np.ndarray]:
    """Polygons given as a list (shapely holes count as polygons of their own here)."""
    if getattr(value, "geoms", None) is not None:
        value = list(value.geoms)
    out: List[np.ndarray] = []
    for k, p in enumerate(value):
        out += _polygons(p, f"{name}[{k}]")
    return out


def _polygon_block(block: str, corners: np.ndarray) -> List[str]:
    """A polygon's block of a section file: its corners and the closing one again."""
    n = len(corners)
    return ([f"{block} START", f"NPOINT,{n}"] +
            [f"PT,{i},{x:.5f},{y:.5f}" for i, (x, y) in enumerate(np.vstack([corners,
                                                                            corners[:1]]))] +
            [f"{block} END"])


def _bar_block(bars: Any) -> List[str]:
    try:
        b = np.asarray(bars, dtype=float).reshape(-1, 3) if len(bars) else np.zeros((0, 3))
    except (TypeError, ValueError):
        raise Error("bars: the bars are rows (x, y, diameter) of numbers.") from None
    if not np.all(np.isfinite(b)):
        raise Error("bars: a bar holds a number that is not finite.")
    if np.any(b[:, 2] <= 0):
        k = int(np.flatnonzero(b[:, 2] <= 0)[0])
        raise Error(f"bars[{k}]: a bar's diameter must be positive, not {b[k, 2]:g}.")
    return (["REBAR START", f"NBAR,{len(b)}"] +
            [f"BAR,{i},{x:.5f},{y:.5f},{d:.5f}" for i, (x, y, d) in enumerate(b, start=1)] +
            ["REBAR END"])


def _reopened(lines: List[str], strain_limit: str, steel_grid: bool,
              integration: str = "auto") -> "_core.Section":
    """The section of a file's lines with the settings a file does not hold: the strain limit,
    the integration and the steel grid of its mesh (meshed at once where it is on, as the
    section was)."""
    core = _from_file_lines(lines)
    core.strain_limit = strain_limit
    core.integration = integration
    if steel_grid:
        core.mesh(None, True)
    return core


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
    The section is as its file holds it: the numbers of ``qavsec-cli build``'s file, bit for bit.
    """
    inputs = [(name.replace("_", "-"), _number_text(value)) for name, value in dimensions.items()]
    # The section as its file holds it, as qavsec-cli build writes it and a worker receives it.
    return Section(_from_file_lines(_file_lines(_core.build(kind, shape, inputs))))
