#!/usr/bin/python3
# Writes one drawing per DXF version given, with entities that the reader must place mixed with
# others it must pass over, in layers other than 0 and with block definitions; in the code page
# given ("-": none), with a text in its script; as text or binary DXF.
# Arguments: version, path, "mixed" or "plain", code page, "asc" or "bin", and the entity types the
# reader takes (comma-separated): the mixed ones are of other types. Used by tst_DxfInterop.
import json, sys
import ezdxf
version, path, mixed, codepage, fmt = sys.argv[1], sys.argv[2], sys.argv[3] == "mixed", sys.argv[4], sys.argv[5]
taken = sys.argv[6].split(",")
scripts = {"-": "  Leerzeichen  ", "ANSI_1250": "  Příliš žluťoučký kůň  ", "ANSI_1251": "  Съешь же ещё  ",
           "ANSI_932": "  日本語の表示 ｶﾀｶﾅ ソ  "}
doc = ezdxf.new(version)
if codepage != "-":
    doc.encoding = "cp" + codepage[5:]
doc.layers.add("Mauer")
doc.layers.add("Tueren")
block = doc.blocks.new("Tisch")
block.add_line((0, 0), (10, 0))
block.add_point((5, 5))
block.add_text("im Block")
msp = doc.modelspace()
msp.add_point((10, 20), dxfattribs={"layer": "Mauer"})
if mixed and "ARC" not in taken:
    msp.add_arc((0, 0), 5, 0, 90)
msp.add_line((1.5, -2.25), (300, 400), dxfattribs={"layer": "Tueren"})
if mixed:
    if version == "R12" and "POLYLINE" not in taken:
        msp.add_polyline2d([(0, 0), (1, 1), (2, 0)])
    elif version != "R12" and "LWPOLYLINE" not in taken:
        msp.add_lwpolyline([(0, 0), (1, 1), (2, 0)])
    if "INSERT" not in taken:
        msp.add_blockref("Tisch", (50, 50))
msp.add_circle((100, -200), 12.5, dxfattribs={"color": 3})
msp.add_text("Grüße aus Köln", dxfattribs={"insert": (7, 8), "height": 2.5, "layer": "Mauer"})
if mixed and version != "R12" and "ELLIPSE" not in taken:
    msp.add_ellipse((0, 0), (4, 0), 0.5)
msp.add_text(scripts[codepage], dxfattribs={"insert": (-0.125, 0)})
msp.add_text("Ω ≈ € 10", dxfattribs={"insert": (1e6, -1e6)})
msp.add_point((-0.5, 0))
doc.saveas(path, fmt=fmt)
# The script's text stands in the file in its code page (UTF-8 from R2007 on), not as escapes.
assert scripts[codepage].encode(doc.output_encoding) in open(path, "rb").read()
# The texts as written: ezdxf's own reading of its escapes is not exact (it eats a blank after a
# lower-case escape), so the test takes the texts from here. A letter up to U+00FF that the code
# page lacks ezdxf writes as "\\xNN", which is no DXF escape: a reader shows it as it stands.
def stored(text):
    return "".join(c if ord(c) > 0xFF or c.encode(doc.output_encoding, "ignore") else "\\x%02x" % ord(c) for c in text)
print(json.dumps([stored(e.dxf.text) for e in msp if e.dxftype() == "TEXT"]))
