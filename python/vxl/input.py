"""Keyboard, mouse, typed text and game controllers, for the window of the display last opened."""

from __future__ import annotations

import ctypes
from typing import Tuple

from . import api


def key_down(key: int) -> bool:
    """Whether the key (a :class:`vxl.Key`) is held now."""
    return api.Inkey(key) != 0


def key_hits(key: int) -> int:
    """How often the key went down since the previous call for it: no tap between frames is lost."""
    return api.VxlKeyHit(key)


def mouse_position() -> Tuple[int, int]:
    """The cursor in display pixels (negative left of or above the window)."""
    x, y = ctypes.c_int32(), ctypes.c_int32()
    api.GetMousePos(ctypes.byref(x), ctypes.byref(y))
    return x.value, y.value


def set_mouse_position(x: int, y: int) -> None:
    api.SetMousePos(x, y)


def mouse_motion() -> Tuple[int, int]:
    """The mouse's last motion on each axis since the previous reading."""
    dx, dy = ctypes.c_int32(), ctypes.c_int32()
    api.GetMouseAccel(ctypes.byref(dx), ctypes.byref(dy))
    return dx.value, dy.value


def mouse_buttons() -> Tuple[bool, bool, bool]:
    """Whether the left, middle and right buttons are held now."""
    left, middle, right = ctypes.c_int32(), ctypes.c_int32(), ctypes.c_int32()
    api.GetMouseButtons(ctypes.byref(left), ctypes.byref(middle), ctypes.byref(right))
    return left.value != 0, middle.value != 0, right.value != 0


def mouse_hits(button: int) -> int:
    """Presses of button 0 (left), 1 (right) or 2 (middle) since the previous call for it."""
    return api.VxlMouseHit(button)


def mouse_wheel() -> int:
    """Wheel notches since the previous call, positive away from the user."""
    return api.VxlMouseWheel()


def text_input() -> str:
    """The text typed since the previous call (keyboard layouts and compose keys applied)."""
    parts = []
    chunk = ctypes.create_string_buffer(1024)
    while api.VxlTextInput(chunk, len(chunk)) > 0:
        parts.append(chunk.value)
    return b"".join(parts).decode("utf-8", "replace")


def pad_count() -> int:
    """Game controllers attached now."""
    return api.VxlPadCount()


class Pad:
    """Game controller `index` (0 .. pad_count() - 1, in the order they were attached). Axes 0-3 are
    the sticks (left x, left y, right x, right y: -32768..32767), 4 and 5 the triggers (0..32767);
    buttons are SDL's game-controller numbers (0 A, 1 B, 2 X, 3 Y, 4 back, 5 guide, 6 start, ...)."""

    def __init__(self, index: int) -> None:
        self.index = index

    def axis(self, axis: int) -> int:
        return api.VxlPadAxis(self.index, axis)

    def button(self, button: int) -> bool:
        return api.VxlPadButton(self.index, button) != 0

    def hits(self, button: int) -> int:
        """Presses of the button since the previous call for it."""
        return api.VxlPadHit(self.index, button)
