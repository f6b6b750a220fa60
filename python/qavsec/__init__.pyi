# Types of the qavsec module. Units: kN, kN·m, mm; compression positive in results, negative
# in loads (as load files write them).
import os
from typing import Dict, List, Optional, Sequence, Tuple, Union

import numpy as np

PathLike = Union[str, os.PathLike[str]]

class Error(ValueError): ...
class ConvergenceWarning(UserWarning): ...

class Status:
    solves: int
    unconverged: int
    passes: int
    worst_residual: Optional[float]
    messages: Tuple[Tuple[str, int], ...]
    @property
    def iterations(self) -> int: ...

class PMCurve:
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

class MMCurve:
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

class MPhiCurve:
    axis: str
    negative: bool
    axial: float
    max_strain: float
    steps: int
    M: np.ndarray
    curvature: np.ndarray
    converged: np.ndarray
    status: Status

class PMMSurface:
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

class CheckResult:
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

class KeyPoint:
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

class SectionState:
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
    load_fraction_nominal: Optional[float]
    phi: Optional[float]

class Section:
    path: str
    def save(self, path: PathLike) -> None: ...
    def convert(self, code: str, concrete: Optional[str] = ..., cover: Optional[str] = ...,
                rebar: Optional[str] = ..., steel: Optional[str] = ...,
                alpha_cc: Optional[float] = ..., ties: Optional[str] = ...) -> List[str]: ...
    @property
    def code(self) -> str: ...
    strain_limit: str
    ties: str
    @property
    def materials(self) -> Dict[str, object]: ...
    @property
    def properties(self) -> Dict[str, object]: ...
    def mesh(self, size: Optional[float] = ..., steel_grid: bool = ...) -> Dict[str, object]: ...
    def pm(self, angle: float = ..., npm: Optional[int] = ..., solver: str = ...,
           threads: Optional[int] = ...) -> PMCurve: ...
    def mm(self, axial: float, nmm: Optional[int] = ..., solver: str = ...,
           threads: Optional[int] = ...) -> MMCurve: ...
    def mphi(self, axis: str, axial: float, negative: bool = ..., max_strain: float = ...,
             steps: int = ..., solver: str = ..., threads: Optional[int] = ...) -> MPhiCurve: ...
    def pmm(self, npm: Optional[int] = ..., solver: str = ...,
            threads: Optional[int] = ...) -> PMMSurface: ...
    def check(self, loads: Union[PathLike, Sequence[Sequence[float]], np.ndarray],
              names: Optional[Sequence[str]] = ..., units: str = ..., kp: float = ...,
              kmx: float = ..., kmy: float = ..., solver: str = ...,
              threads: Optional[int] = ..., min_ecc: bool = ...) -> CheckResult: ...
    def key_points(self, angle: float = ...) -> List[KeyPoint]: ...
    def state(self, P: Optional[float] = ..., Mx: float = ..., My: float = ..., *,
              combination: Optional[int] = ..., at: str = ..., kp: Optional[float] = ...,
              kmx: Optional[float] = ..., kmy: Optional[float] = ...) -> SectionState: ...

def open(path: PathLike) -> Section: ...
def build(kind: str, shape: str, **dimensions: Union[float, int, str]) -> Section: ...
