"""Writes the DXF drawings of the import's test set into the folder given, one file per case,
made with a DXF library as other CAD programs write them."""
import sys
from pathlib import Path

import ezdxf

OUT = Path(sys.argv[1])
OUT.mkdir(parents=True, exist_ok=True)


def drawing(units=4):
    """A new drawing in millimetres (4), in other units, or (None) without $INSUNITS."""
    doc = ezdxf.new("R2010")
    if units is None:
        del doc.header["$INSUNITS"]
    else:
        doc.header["$INSUNITS"] = units
    return doc, doc.modelspace()


def rectangle(msp, layer, x0, y0, x1, y1, **attribs):
    return msp.add_lwpolyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], close=True,
                              dxfattribs={"layer": layer, **attribs})


def save(doc, name):
    doc.saveas(OUT / f"{name}.dxf")


# A steel plate, its group codes then rewritten without their leading blanks.
doc, msp = drawing()
rectangle(msp, "STEEL", 0, 0, 200, 20)
save(doc, "codes_without_blanks")
path = OUT / "codes_without_blanks.dxf"
lines = path.read_text().split("\n")
path.write_text("\n".join(l.strip() if i % 2 == 0 else l for i, l in enumerate(lines)))

# An 80 x 100 column in centimetres, a 10 x 10 one in inches, and one in miles.
for name, units, w, h in [("units_none", None, 800, 1000), ("units_cm", 5, 80, 100),
                          ("units_in", 1, 10, 10),
                          ("units_m", 6, 0.4, 0.5), ("units_miles", 3, 1, 1)]:
    doc, msp = drawing(units)
    rectangle(msp, "POLY", 0, 0, w, h)
    msp.add_circle((w / 4, h / 4), w / 40, dxfattribs={"layer": "REBAR"})
    save(doc, name)

# Bars placed as block references.
doc, msp = drawing(4)
rectangle(msp, "POLY", 0, 0, 400, 400)
block = doc.blocks.new("BAR25")
block.add_circle((0, 0), 12.5, dxfattribs={"layer": "REBAR"})
for x, y in [(50, 50), (350, 50), (350, 350)]:
    msp.add_blockref("BAR25", (x, y))
save(doc, "bars_as_blocks")

# A circular outline drawn as a circle, and a bar wider than the section.
doc, msp = drawing()
msp.add_circle((0, 0), 400, dxfattribs={"layer": "POLY"})
save(doc, "circle_on_poly")
doc, msp = drawing()
rectangle(msp, "POLY", 0, 0, 300, 300)
msp.add_circle((150, 150), 200, dxfattribs={"layer": "REBAR"})
save(doc, "big_circle")

# A section layer in lower case, an outline of lines, two outlines.
doc, msp = drawing()
rectangle(msp, "poly", 0, 0, 300, 300)
save(doc, "lower_case_layer")
doc, msp = drawing()
for a, b in [((0, 0), (300, 0)), ((300, 0), (300, 300)), ((300, 300), (0, 300)),
             ((0, 300), (0, 0))]:
    msp.add_line(a, b, dxfattribs={"layer": "POLY"})
save(doc, "outline_of_lines")
doc, msp = drawing()
rectangle(msp, "POLY", 0, 0, 300, 300)
rectangle(msp, "POLY", 500, 0, 800, 300)
save(doc, "two_outlines")

# An outline drawn seen from below: extrusion (0, 0, -1), its X runs the other way.
doc, msp = drawing()
rectangle(msp, "POLY", 100, 0, 300, 200, extrusion=(0, 0, -1))
msp.add_circle((150, 50), 10, dxfattribs={"layer": "REBAR", "extrusion": (0, 0, -1)})
save(doc, "extrusion_down")

# A round column as two half-circle arcs (bulge 1), and a square with one filleted corner.
doc, msp = drawing()
msp.add_lwpolyline([(-250, 0, 0, 0, 1), (250, 0, 0, 0, 1)], format="xyseb", close=True,
                   dxfattribs={"layer": "POLY"})
save(doc, "bulge_circle")
