#!/usr/bin/python3
# Writes one drawing per DXF version given, with the entities that the reader must place mixed with
# others it must pass over, in layers other than 0 and with block definitions; in the code page
# given ("-": none), with a text in its script; as text or binary DXF.
# Arguments: version, path, "mixed" or "plain", code page, "asc" or "bin", and as JSON for each of
# the editor's kinds its entities, each its type and attributes, which are written as they stand.
# Prints as JSON the texts it adds itself as they stand in the file, and for each kind whether the
# version holds its entities and they were written. Used by tst_DxfInterop.
import json, sys
import ezdxf
from ezdxf.entities import factory
version, path, mixed, codepage, fmt = sys.argv[1], sys.argv[2], sys.argv[3] == "mixed", sys.argv[4], sys.argv[5]
kinds = json.loads(sys.argv[6])
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


def passed_over(entity):
    # An entity of a type the editor reads would be placed, not passed over, and the test would
    # miss it: a new kind's entity must be replaced here by another the editor does not read.
    if entity.dxftype() in {e["type"] for entities in kinds for e in entities}:
        sys.exit(f"{entity.dxftype()} is an entity the editor reads: pass over another type instead")


if mixed:
    passed_over(msp.add_arc((0, 0), 5, 0, 90))
msp.add_line((1.5, -2.25), (300, 400), dxfattribs={"layer": "Tueren"})
if mixed:
    passed_over(msp.add_polyline2d([(0, 0), (1, 1), (2, 0)]) if version == "R12"
                else msp.add_lwpolyline([(0, 0), (1, 1), (2, 0)]))
    passed_over(msp.add_blockref("Tisch", (50, 50)))
# An entity that came to DXF after this version (an ELLIPSE in R12) ezdxf would leave out.
written = [all(factory.ENTITY_CLASSES[e["type"]].MIN_DXF_VERSION_FOR_EXPORT <= doc.dxfversion for e in entities)
           for entities in kinds]
for entities in (entities for entities, w in zip(kinds, written) if w):
    for e in entities:
        msp.new_entity(e["type"], {k: v for k, v in e.items() if k != "type"})
mine = [msp.add_text("Grüße aus Köln", dxfattribs={"insert": (7, 8), "height": 2.5, "layer": "Mauer", "color": 3})]
if mixed and version != "R12":
    passed_over(msp.add_spline([(0, 0), (1, 1), (2, 0), (3, 1)]))
mine.append(msp.add_text(scripts[codepage], dxfattribs={"insert": (-0.125, 0)}))
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
print(json.dumps({"texts": [stored(e.dxf.text) for e in mine], "written": written}))
