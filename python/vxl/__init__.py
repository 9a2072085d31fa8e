"""VXL for Python: a 2D software graphics library for small games and demos.

Open a :class:`Display`, draw into :class:`Buffer` objects, show them, read the keyboard, mouse and
game controllers, and pace the loop with a :class:`Clock`::

    import vxl

    with vxl.Display(640, 480, title="Game") as display:
        frame = vxl.Buffer(640, 480)
        clock = vxl.Clock()
        while display.poll() and not vxl.key_down(vxl.Key.ESCAPE):
            frame.fill(vxl.rgb(0, 0, 64))
            frame.text(8, 8, "Hello", vxl.rgb(255, 255, 255))
            display.flip(frame)
            clock.tick(60)

Colours are packed in the display's pixel layout: make them with :func:`rgb` after the display is
open. Failures raise :class:`VxlError` with the library's text. :mod:`vxl.api` is the complete C
interface under its own names, for everything the classes do not cover.
"""

from __future__ import annotations

import ctypes
from typing import Optional, Tuple

from . import api
from .api import VxlError
from .buffer import Buffer
from .display import Display
from .input import (Pad, key_down, key_hits, mouse_buttons, mouse_hits, mouse_motion, mouse_position, mouse_wheel,
                    pad_count, set_mouse_position, text_input)
from .keys import Key
from .timing import Clock, reset_timer, start_timer, stop_timer, timer

__version__ = "0.14.0"


def rgb(r: int, g: int, b: int) -> int:
    """A colour packed in the open display's layout from 8-bit components."""
    return api.RGB(r, g, b)


def unrgb(colour: int) -> Tuple[int, int, int]:
    """The 8-bit components of a colour in the open display's layout."""
    r, g, b = ctypes.c_uint8(), ctypes.c_uint8(), ctypes.c_uint8()
    api.unRGB(colour, ctypes.byref(r), ctypes.byref(g), ctypes.byref(b))
    return r.value, g.value, b.value


def text_size(text: str) -> Tuple[int, int]:
    """The width and height of the cell Buffer.text fills for `text`."""
    w, h = ctypes.c_int32(), ctypes.c_int32()
    api.VxlTextSize(text, ctypes.byref(w), ctypes.byref(h))
    return w.value, h.value


def set_font(font: Optional[str] = None, pixels: int = 0) -> None:
    """The font of later text: a fontconfig family ("DejaVu Serif", "monospace") or a font file, at
    `pixels` to the em; None and 0 restore the defaults."""
    api.VxlSetFont(font, pixels)


def version() -> int:
    """The library's version number."""
    return api.GetDLLVersion()


__all__ = [
    "api", "VxlError", "Buffer", "Display", "Key", "Clock", "Pad", "rgb", "unrgb", "text_size", "set_font",
    "version", "key_down", "key_hits", "mouse_position", "set_mouse_position", "mouse_motion", "mouse_buttons",
    "mouse_hits", "mouse_wheel", "text_input", "pad_count", "start_timer", "stop_timer", "reset_timer", "timer",
]
