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

from . import _core
from ._api import (
    CheckResult, ConvergenceWarning, Error, FibreKind, KeyPoint, MMCurve, MPhiCurve, NeutralAxis,
    PMCurve, PMMSurface, Section, SectionState, Solver, Status, StrainLimit, Ties, build, open,
)

__version__: str = _core.__version__

__all__ = [
    "Error", "ConvergenceWarning", "Section", "Status", "open", "build",
    "PMCurve", "MMCurve", "MPhiCurve", "PMMSurface", "CheckResult", "KeyPoint", "SectionState",
    "NeutralAxis", "FibreKind", "Solver", "StrainLimit", "Ties", "__version__",
]
