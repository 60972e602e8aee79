#!/usr/bin/python3
# Prints, as JSON, every entity of the ENTITIES section of the file given, as ezdxf reads it.
# Used by tst_DxfInterop.
import json, sys
import ezdxf
doc = ezdxf.readfile(sys.argv[1])
out = []
for e in doc.entities:
    t = e.dxftype()
    d = {"type": t, "layer": e.dxf.layer}
    if t == "POINT":
        d["x"], d["y"] = e.dxf.location.x, e.dxf.location.y
    elif t == "LINE":
        d["x"], d["y"], d["x2"], d["y2"] = e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y
    elif t == "CIRCLE":
        d["x"], d["y"], d["r"] = e.dxf.center.x, e.dxf.center.y, e.dxf.radius
    elif t == "TEXT":
        d["x"], d["y"] = e.dxf.insert.x, e.dxf.insert.y
        d["text"] = ezdxf.decode_dxf_unicode(e.dxf.text)
        d["style"], d["height"] = e.dxf.style, e.dxf.height
    if e.dxf.hasattr("color"):
        d["color"] = e.dxf.color
    out.append(d)
print(json.dumps(out))
