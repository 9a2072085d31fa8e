"""A display in a real X11 window: taps sent through the X server by xdotool are all counted, and the
cursor follows the pointer. Runs where an X display and xdotool are there (make test starts Xvfb)."""

import ctypes
import os
import shutil
import subprocess
import time

import pytest

import vxl

pytestmark = pytest.mark.skipif(not os.environ.get("DISPLAY") or not shutil.which("xdotool"),
                                reason="needs an X display and xdotool")


def _window_position(window_id):
    sdl = ctypes.CDLL("libSDL2-2.0.so.0")  # the copy the library already loaded
    sdl.SDL_GetWindowFromID.restype = ctypes.c_void_p
    sdl.SDL_GetWindowFromID.argtypes = [ctypes.c_uint32]
    sdl.SDL_GetWindowPosition.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    x, y = ctypes.c_int(), ctypes.c_int()
    sdl.SDL_GetWindowPosition(sdl.SDL_GetWindowFromID(window_id), ctypes.byref(x), ctypes.byref(y))
    return x.value, y.value


def test_taps_and_pointer_reach_the_readers(monkeypatch):
    monkeypatch.setenv("SDL_VIDEODRIVER", "x11")
    with vxl.Display(320, 240, title="vxl python") as display:
        for _ in range(20):
            display.poll()
            time.sleep(0.01)
        x, y = _window_position(display.window_id)
        # The pointer in the window gives it the keyboard too, as X does without a window manager.
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + 100), str(y + 60)], check=True)
        display.poll()
        vxl.key_hits(vxl.Key.SPACE)
        subprocess.run(["xdotool", "key", "--repeat", "5", "--delay", "5", "space"], check=True)
        hits = 0
        for _ in range(100):
            display.poll()
            hits += vxl.key_hits(vxl.Key.SPACE)
            if hits == 5:
                break
            time.sleep(0.02)
        assert hits == 5
        assert vxl.mouse_position() == (100, 60)
