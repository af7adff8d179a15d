"""Writes the same small drawing with a real DXF writer (ezdxf) in several DXF versions.

Usage: python3 gerar_dxf.py OUT_DIR [VERSION ...]   (versions such as R12 R2000 R2010 R2018)

The drawing: a 100 x 50 box as a closed polyline with its right side bulged out into a half
circle (bulge 1), a line on a layer named "10" drawn in
colour 10, an arc from 0 to 90 degrees, a circle, a point, an open polyline whose second piece is
a quarter circle (bulge 0.41421356), and a text and (R2000 and later) a spline, which the import
ignores. Entities on a layer called "10" and with handles in the tens keep a word scan honest.
"""
import sys

import ezdxf


def drawing(version):
    doc = ezdxf.new(version)
    doc.layers.add("10", color=10)
    msp = doc.modelspace()
    box = [(0, 0, 0), (100, 0, 1), (100, 50, 0), (0, 50, 0)]
    if version == "R12":
        msp.add_polyline2d([(x, y, 0, 0, b) for x, y, b in box], format="xyseb", close=True)
        msp.add_polyline2d([(200, 0, 0, 0, 0), (210, 0, 0, 0, 0.41421356), (220, 10, 0, 0, 0)],
                           format="xyseb")
    else:
        msp.add_lwpolyline([(x, y, 0, 0, b) for x, y, b in box], format="xyseb", close=True)
        msp.add_lwpolyline([(200, 0, 0, 0, 0), (210, 0, 0, 0, 0.41421356), (220, 10, 0, 0, 0)],
                           format="xyseb")
    msp.add_line((10, 10), (11, 20), dxfattribs={"layer": "10", "color": 10})
    msp.add_arc((300, 0), 1.0, 0, 90, dxfattribs={"layer": "10"})
    msp.add_circle((50, 25), 5, dxfattribs={"layer": "10"})
    msp.add_point((-5, -5), dxfattribs={"layer": "10"})
    msp.add_text("Tarvex", dxfattribs={"layer": "10"})
    if version != "R12":
        msp.add_spline([(0, 0), (10, 5), (20, 0), (30, 5)])
    return doc


def main():
    out = sys.argv[1]
    versions = sys.argv[2:] or ["R12", "R2000", "R2010", "R2018"]
    for version in versions:
        drawing(version).saveas("%s/caixa_%s.dxf" % (out, version.lower()))


if __name__ == "__main__":
    main()
