#!/usr/bin/python3
# Prints, as JSON, every entity of the ENTITIES section of the file given, as ezdxf reads it: its
# type and every attribute it has, points as lists, texts with their escapes decoded.
# Used by tst_DxfInterop.
import json, sys
import ezdxf
from ezdxf.math import Vec3


def value(v):
    if isinstance(v, Vec3):
        return list(v)
    return ezdxf.decode_dxf_unicode(v) if isinstance(v, str) else v


print(json.dumps([dict({k: value(v) for k, v in e.dxfattribs().items()}, type=e.dxftype())
                  for e in ezdxf.readfile(sys.argv[1]).entities]))
