"""Buffers through the Python layer: pixel views at every depth, handles, and a scene that must
equal the same scene drawn from C."""

import gc
import os
import shutil
import struct
import subprocess
import zlib
from pathlib import Path

import numpy
import pytest

import vxl
from vxl import api

ROOT = Path(__file__).resolve().parents[2]

# depth: (dtype, extra shape, bytes per pixel)
LAYOUTS = {15: (numpy.uint16, (), 2), 16: (numpy.uint16, (), 2), 24: (numpy.uint8, (3,), 3),
           32: (numpy.uint32, (), 4)}


@pytest.mark.parametrize("depth", sorted(LAYOUTS))
def test_pixel_views_match_the_memory_at_every_depth(depth):
    with vxl.Display(640, 480, bpp=depth, full_screen=depth != 32):
        assert vxl.Display.depth.fget(None) == depth
        dtype, extra, bpp = LAYOUTS[depth]
        b = vxl.Buffer(5, 3)
        view = b.pixels
        assert (view.dtype, view.shape) == (dtype, (3, 5) + extra)
        assert view.strides[:2] == (5 * bpp, bpp)
        colour = vxl.rgb(200, 100, 50)
        b.put_pixel(4, 2, colour)
        stored = view[2, 4] if depth != 24 else int.from_bytes(bytes(view[2, 4]), "little")
        assert stored == colour
        view[0, 1] = 0x1234 if depth != 24 else [0x34, 0x12, 0]
        assert b.get_pixel(1, 0) == 0x1234
        assert b.alpha is None
        b.load_alpha(_grey_png(5, 3))
        assert b.alpha.shape == (3, 5) and b.alpha[2, 4] == b.get_alpha(4, 2) == 4 * 20 + 2 * 7
        b.close()


def _grey_png(w, h):
    """An 8-bit grey PNG whose pixel (x, y) is 20x + 7y."""
    rows = b"".join(b"\0" + bytes(20 * x + 7 * y for x in range(w)) for y in range(h))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    Path("grey.png").write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 0, 0, 0, 0))
                                 + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
    return "grey.png"


def test_handles_close_once_and_closed_buffers_refuse_use(display):
    b = vxl.Buffer(2, 2)
    handle = b.handle
    view = b.pixels
    del b
    gc.collect()
    assert view.owner is not None  # a live view keeps its buffer open
    assert api.BufferSizeX(handle) == 2
    del view
    gc.collect()
    assert api.BufferSizeX(handle) == 0  # collected: the handle went back
    with vxl.Buffer(3, 3) as c:
        pass
    c.close()  # twice is harmless
    with pytest.raises(ValueError):
        c.fill(0)
    assert repr(c) == "<vxl.Buffer closed>"


def test_scene_equals_the_same_scene_drawn_from_c(display, tmp_path):
    compiler = shutil.which("cc")
    library = os.environ.get("VXL_LIBRARY")
    if not compiler or not library:
        pytest.skip("needs a C compiler and VXL_LIBRARY")
    program = tmp_path / "scene"
    sdl = subprocess.run(["pkg-config", "--cflags", "--libs", "sdl2"], capture_output=True, text=True, check=True)
    subprocess.run([compiler, str(Path(__file__).with_name("scene.c")), "-o", str(program), f"-I{ROOT}/include",
                    library, f"-Wl,-rpath,{Path(library).resolve().parent}"] + sdl.stdout.split(), check=True)
    subprocess.run([str(program), str(tmp_path / "c.raw")], check=True)

    canvas, sprite = vxl.Buffer(64, 48), vxl.Buffer(12, 10)
    key = vxl.rgb(255, 0, 255)
    canvas.fill(vxl.rgb(10, 20, 30))
    canvas.line(1, 2, 60, 40, vxl.rgb(200, 0, 0))
    canvas.fill_circle(40, 12, 9, vxl.rgb(0, 180, 60))
    sprite.fill(key)
    sprite.fill_rect(2, 1, 9, 8, vxl.rgb(250, 250, 0))
    canvas.blit(sprite, 5, 30, key=key)
    canvas.blit_part(sprite, (1, 1, 6, 4), 50, 2, key=key)
    canvas.blit_scaled(sprite, 20, 20, 44, 40)
    canvas.blend(sprite, 30, 5, 100)
    canvas.blit_rotated(sprite, 52, 34, zoom=1.5, angle=30.0, key=key)
    canvas.subtract(sprite, 0, 0)
    canvas.text(3, 3, "Hi", vxl.rgb(255, 255, 255))
    canvas.flat_poly([(2, 46), (14, 30), (20, 47)], vxl.rgb(0, 0, 255))
    canvas.save_raw(tmp_path / "py.raw")
    assert (tmp_path / "py.raw").read_bytes() == (tmp_path / "c.raw").read_bytes()
