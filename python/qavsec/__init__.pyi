# Types of the qavsec module. Units: kN, kN·m, mm; compression positive in results, negative
# in loads (as load files write them).
import os
from enum import Enum, IntEnum
from typing import Any, Dict, List, Literal, NamedTuple, Optional, Sequence, Tuple, Union

import numpy as np

PathLike = Union[str, os.PathLike[str]]
SolverName = Literal["fast", "reference"]
StrainLimitName = Literal["control", "code"]
IntegrationName = Literal["auto", "exact", "centroid"]
TiesName = Literal["tied", "spiral"]
CodeName = Literal["hk", "bs", "ec2", "aci318"]

__version__: str

class Error(ValueError): ...
class ConvergenceWarning(UserWarning): ...

class FibreKind(IntEnum):
    CORE_CONCRETE = 1
    STEEL = 2
    REBAR = 3
    COVER_CONCRETE = 4

class Solver(str, Enum):
    FAST = "fast"
    REFERENCE = "reference"

class StrainLimit(str, Enum):
    CONTROL = "control"
    CODE = "code"

class Ties(str, Enum):
    TIED = "tied"
    SPIRAL = "spiral"

class NeutralAxis(NamedTuple):
    angle: float
    depth: float

class _Result:
    def to_frame(self) -> Any: ...
    def _repr_html_(self) -> str: ...

class Status:
    solves: int
    unconverged: int
    passes: int
    worst_residual: Optional[float]
    messages: Tuple[Tuple[str, int], ...]
    @property
    def iterations(self) -> int: ...

class PMCurve(_Result):
    angle: float
    P: np.ndarray
    M: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    converged: np.ndarray
    PMAX: float
    PMIN: float
    status: Status
    P_nominal: Optional[np.ndarray]
    M_nominal: Optional[np.ndarray]
    Mx_nominal: Optional[np.ndarray]
    My_nominal: Optional[np.ndarray]
    phi: Optional[np.ndarray]
    P_compression_end: float
    P_tension_end: float
    strain_limit: StrainLimitName
    code: str
    def plot(self, ax: Any = ...) -> Any: ...

class MMCurve(_Result):
    axial: float
    P: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    M: np.ndarray
    converged: np.ndarray
    status: Status
    Mx_nominal: Optional[np.ndarray]
    My_nominal: Optional[np.ndarray]
    phi: Optional[np.ndarray]
    strain_limit: StrainLimitName
    code: str
    def plot(self, ax: Any = ...) -> Any: ...

class MPhiCurve(_Result):
    axis: str
    negative: bool
    axial: float
    max_strain: float
    steps: int
    M: np.ndarray
    curvature: np.ndarray
    converged: np.ndarray
    status: Status
    strain_limit: StrainLimitName
    code: str
    def plot(self, ax: Any = ...) -> Any: ...

class PMMSurface(_Result):
    P: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    M: np.ndarray
    converged: np.ndarray
    status: Status
    P_nominal: Optional[np.ndarray]
    Mx_nominal: Optional[np.ndarray]
    My_nominal: Optional[np.ndarray]
    phi: Optional[np.ndarray]
    strain_limit: StrainLimitName
    code: str
    def plot(self, ax: Any = ...) -> Any: ...

class CheckResult(_Result):
    names: List[str]
    P: np.ndarray
    Mx: np.ndarray
    My: np.ndarray
    fraction: np.ndarray
    critical: int
    status: Status
    raised: List[Dict[str, object]]
    minimum: str
    fraction_nominal: Optional[np.ndarray]
    phi: Optional[np.ndarray]
    cap_governs: Optional[np.ndarray]
    cap: Optional[float]
    @property
    def passes(self) -> bool: ...
    strain_limit: StrainLimitName
    code: str
    def plot(self, ax: Any = ...) -> Any: ...

class KeyPoint(_Result):
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
    strain_limit: StrainLimitName
    code: str
    P_nominal: Optional[float]
    M_nominal: Optional[float]
    phi: Optional[float]

class SectionState(_Result):
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
    load_fraction_nominal: Optional[float]
    phi: Optional[float]
    strain_limit: StrainLimitName
    code: str
    def plot(self, ax: Any = ...) -> Any: ...

class Section:
    path: str
    @classmethod
    def from_geometry(cls, outline: Any, cover: Any = ..., bars: Any = ..., steel: Any = ...,
                      openings: Any = ..., concrete: Optional[str] = ...,
                      cover_concrete: Optional[str] = ..., rebar: Optional[str] = ...,
                      steel_grade: Optional[str] = ..., code: CodeName = ...,
                      mesh_size: Optional[float] = ...) -> Section: ...
    def fibres(self) -> Dict[str, np.ndarray]: ...
    def plot(self, ax: Any = ...) -> Any: ...
    def _repr_html_(self) -> str: ...
    def save(self, path: PathLike) -> None: ...
    def convert(self, code: CodeName, concrete: Optional[str] = ..., cover: Optional[str] = ...,
                rebar: Optional[str] = ..., steel: Optional[str] = ...,
                alpha_cc: Optional[float] = ..., ties: Optional[TiesName] = ...) -> List[str]: ...
    @property
    def code(self) -> str: ...
    strain_limit: StrainLimitName
    ties: TiesName
    integration: IntegrationName
    @property
    def materials(self) -> Dict[str, object]: ...
    @property
    def properties(self) -> Dict[str, object]: ...
    def mesh(self, size: Optional[float] = ..., steel_grid: bool = ...) -> Dict[str, object]: ...
    def pm(self, angle: float = ..., npm: Optional[int] = ..., solver: SolverName = ...,
           threads: Optional[int] = ...) -> PMCurve: ...
    def mm(self, axial: float, nmm: Optional[int] = ..., solver: SolverName = ...,
           threads: Optional[int] = ...) -> MMCurve: ...
    def mphi(self, axis: Literal["x", "y"], axial: float, negative: bool = ..., max_strain: float = ...,
             steps: int = ..., solver: SolverName = ..., threads: Optional[int] = ...) -> MPhiCurve: ...
    def pmm(self, npm: Optional[int] = ..., solver: SolverName = ...,
            threads: Optional[int] = ...) -> PMMSurface: ...
    def check(self, loads: Union[PathLike, Sequence[Sequence[float]], np.ndarray],
              names: Optional[Sequence[str]] = ..., units: Literal["kN,m", "N,mm"] = ..., kp: float = ...,
              kmx: float = ..., kmy: float = ..., solver: SolverName = ...,
              threads: Optional[int] = ..., min_ecc: bool = ...) -> CheckResult: ...
    def key_points(self, angle: float = ...) -> List[KeyPoint]: ...
    def state(self, P: Optional[float] = ..., Mx: float = ..., My: float = ..., *,
              combination: Optional[int] = ..., at: Literal["capacity", "load"] = ..., kp: Optional[float] = ...,
              kmx: Optional[float] = ..., kmy: Optional[float] = ...) -> SectionState: ...

def open(path: PathLike) -> Section: ...
def build(kind: str, shape: str, **dimensions: Union[float, int, str]) -> Section: ...
