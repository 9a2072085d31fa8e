#!/usr/bin/env python3
"""What a call through the Python binding costs: PutPixel through ctypes, Buffer.put_pixel, and the
same pixels written through the NumPy view, in pixels per second (the C export's own rate is
vxl_bench's BM_PutPixel). Headless; run with VXL_LIBRARY set to a built libvxl.so."""

import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "python"))
os.environ.setdefault("SDL_VIDEODRIVER", "dummy")

import numpy  # noqa: E402

import vxl  # noqa: E402
from vxl import api  # noqa: E402


def rate(label, pixels, run, repeat=5):
    best = min(_timed(run) for _ in range(repeat))
    print(f"{label:<34} {pixels / best / 1e6:10.2f} Mpix/s")


def _timed(run):
    start = time.perf_counter()
    run()
    return time.perf_counter() - start


with vxl.Display(320, 240):
    b = vxl.Buffer(256, 256)
    h, n = b.handle, 256 * 256
    put, method = api.PutPixel, b.put_pixel

    def raw():
        for y in range(256):
            for x in range(256):
                put(h, x, y, x ^ y)

    def layer():
        for y in range(256):
            for x in range(256):
                method(x, y, x ^ y)

    xs, ys = numpy.meshgrid(numpy.arange(256, dtype=numpy.uint32), numpy.arange(256, dtype=numpy.uint32))
    pattern = xs ^ ys

    def bulk():
        b.pixels[:, :] = pattern

    rate("api.PutPixel (ctypes)", n, raw)
    rate("Buffer.put_pixel", n, layer)
    rate("Buffer.pixels[...] = array (NumPy)", n, bulk, repeat=50)
    assert b.get_pixel(200, 100) == 200 ^ 100
