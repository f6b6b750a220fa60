"""docs/examples/column.ipynb runs headless from top to bottom, as a user would run it."""
import pytest

from conftest import SOURCE


def test_the_example_notebook_runs():
    nbformat = pytest.importorskip("nbformat")
    nbclient = pytest.importorskip("nbclient")
    path = SOURCE / "docs" / "examples" / "column.ipynb"
    nb = nbformat.read(path, as_version=4)
    nbclient.NotebookClient(nb, timeout=300, kernel_name="python3",
                            resources={"metadata": {"path": str(path.parent)}}).execute()
    shown = [o for cell in nb.cells if cell.cell_type == "code" for o in cell.outputs]
    assert not [o for o in shown if o.output_type == "error"]
    html = [o for o in shown if "text/html" in o.get("data", {})]
    images = [o for o in shown if "image/png" in o.get("data", {})]
    assert len(html) >= 4 and len(images) >= 4
