"""How results show themselves: a short repr, a small table for a notebook, a pandas DataFrame
and a matplotlib plot. pandas and matplotlib are optional: only the methods that need them ask
for them, with a message saying how to install them."""

from __future__ import annotations

import html as _html
import importlib as _importlib
from dataclasses import fields as _fields
from typing import Any, Dict, Iterable, List, Sequence, Tuple

import numpy as _np


def need(module: str, what: str) -> Any:
    """The optional module, or an ImportError saying what needs it and how to install it."""
    try:
        return _importlib.import_module(module)
    except ImportError as e:
        top = module.split(".")[0]
        raise ImportError(f"{what} needs {top}, which is not installed: install it with "
                          f"'pip install {top}' (Debian: python3-{top}).") from e


def freeze(result: Any) -> None:
    """Makes the result's arrays read-only: a result is what the run gave."""
    for f in _fields(result):
        value = getattr(result, f.name)
        if isinstance(value, _np.ndarray):
            value.flags.writeable = False


def number(x: Any, digits: int = 1) -> str:
    """A number for a summary: None and NaN say so."""
    if x is None:
        return "-"
    x = float(x)
    return "nan" if x != x else f"{x:,.{digits}f}"


def span(a: _np.ndarray) -> Tuple[float, float]:
    """The least and largest finite value (NaN, NaN when there is none)."""
    finite = _np.asarray(a, dtype=float)
    finite = finite[_np.isfinite(finite)]
    return (float(finite.min()), float(finite.max())) if finite.size else (_np.nan, _np.nan)


def unconverged(converged: _np.ndarray) -> str:
    """", 3 unconverged" where some points did not converge."""
    n = int(_np.size(converged) - _np.count_nonzero(converged))
    return f", {n} unconverged" if n else ""


def extremes(P: _np.ndarray, M: _np.ndarray) -> Tuple[List[str], List[List[str]]]:
    """A curve's telling points: its largest compression, tension and moment."""
    rows = []
    ok = _np.isfinite(P) & _np.isfinite(M)
    if ok.any():
        idx = _np.flatnonzero(ok)
        for what, i in (("largest compression", idx[_np.argmax(P[ok])]),
                        ("largest tension", idx[_np.argmin(P[ok])]),
                        ("largest moment", idx[_np.argmax(_np.abs(M[ok]))])):
            rows.append([what, number(P[i]), number(M[i])])
    return ["point", "P (kN)", "M (kN·m)"], rows


def html_table(caption: str, header: Sequence[str], rows: Iterable[Sequence[Any]]) -> str:
    """A small HTML table with its caption, every cell escaped."""
    head = "".join(f"<th>{_html.escape(str(h))}</th>" for h in header)
    body = "".join("<tr>" + "".join(f"<td>{_html.escape(str(c))}</td>" for c in row) + "</tr>"
                   for row in rows)
    return (f"<table><caption style='text-align:left'>{_html.escape(caption)}</caption>"
            f"<thead><tr>{head}</tr></thead><tbody>{body}</tbody></table>")


def frame(columns: Dict[str, Any], what: str) -> Any:
    """A DataFrame of the columns that are there (None leaves a column out)."""
    pandas = need("pandas", what)
    return pandas.DataFrame({k: v for k, v in columns.items() if v is not None})


def axes(ax: Any, what: str, projection: str = "") -> Any:
    """The axes to draw in: ax, or a new figure's."""
    if ax is not None:
        return ax
    plt = need("matplotlib.pyplot", what)
    fig = plt.figure()
    return fig.add_subplot(projection=projection) if projection else fig.add_subplot()


def zero_axes(ax: Any) -> None:
    ax.axhline(0, color="black", linewidth=0.6)
    ax.axvline(0, color="black", linewidth=0.6)
    ax.grid(True, linestyle=":", linewidth=0.6)


def design_and_nominal(ax: Any, x: _np.ndarray, y: _np.ndarray, x_nominal: Any, y_nominal: Any,
                       label: str) -> None:
    """The curve in red; beside a nominal curve, the design one solid and the nominal dashed."""
    design = x_nominal is not None and y_nominal is not None
    ax.plot(x, y, color="red", label="design strength (phi)" if design else label)
    if design:
        ax.plot(x_nominal, y_nominal, color="red", linestyle="--", label="nominal strength")
        ax.legend(loc="best")


def picture_svg(draw: Any) -> str:
    """The SVG text of a figure drawn by draw(ax); empty without matplotlib."""
    try:
        from matplotlib.figure import Figure
    except ImportError:
        return ""
    import io

    fig = Figure(figsize=(3.2, 3.2))
    draw(fig.add_subplot())
    out = io.StringIO()
    fig.savefig(out, format="svg", bbox_inches="tight")
    return out.getvalue()


KIND_COLOURS: Dict[int, str] = {1: "#d9d9d9", 2: "#4a78b5", 3: "#d62728", 4: "#f2f2f2"}


def section_picture(ax: Any, fibres: Dict[str, Any], title: str) -> Any:
    """The fibres: triangles filled by kind (core, cover concrete, steel), bars as red discs."""
    from matplotlib.collections import PolyCollection
    from matplotlib.patches import Circle

    corners = fibres["corners"]
    triangle = _np.isfinite(corners[:, 0, 0])
    colours: List[str] = [KIND_COLOURS.get(int(k), "white") for k in fibres["kind"][triangle]]
    ax.add_collection(PolyCollection(corners[triangle], facecolors=colours, edgecolors="#999999",
                                     linewidths=0.2))
    for x, y, d in zip(fibres["x"][~triangle], fibres["y"][~triangle],
                       fibres["diameter"][~triangle]):
        ax.add_patch(Circle((x, y), max(float(d), 1.0) / 2, color=KIND_COLOURS[3]))
    ax.autoscale_view()
    ax.set_aspect("equal")
    ax.set_xlabel("x (mm)")
    ax.set_ylabel("y (mm)")
    ax.set_title(title)
    return ax
