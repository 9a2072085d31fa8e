"""The library's C interface, one function for each export and extension of ``vxl.h``, with the
same names and arguments: ``api.PutPixel(handle, x, y, colour)``.

Importing this module puts the library in error mode 1, so no failure can end the interpreter:
a failing call raises :class:`VxlError` with the library's text instead. Calls that cannot fail
(pixels, primitives, input and timer readers, sizes) are bound directly, without the check, so
they cost one foreign call each.

Text arguments take ``str`` (sent as UTF-8), ``bytes`` or, for file names, any path-like object.
"""

from __future__ import annotations

import ctypes
import os
from ctypes import POINTER, c_char_p, c_float, c_int32, c_uint8, c_uint32, c_void_p
from typing import Any, Callable

from ._loader import load


class VxlError(RuntimeError):
    """A failure the library reported; ``str(error)`` is the library's own text."""


class TPolyVertex(ctypes.Structure):
    """One polygon corner (32 bytes): position, texture coordinates and a packed colour."""

    _fields_ = [
        ("x", c_float),
        ("y", c_float),
        ("reserved0", c_uint32),
        ("u", c_float),
        ("v", c_float),
        ("reserved1", c_uint32 * 2),
        ("colour", c_uint32),
    ]


class _Text:
    """A ``const char*`` argument that also takes ``str`` and path-like objects."""

    @classmethod
    def from_param(cls, value: Any) -> Any:
        if value is None or isinstance(value, (bytes, ctypes.Array)):
            return value
        if isinstance(value, str):
            return value.encode("utf-8")
        if isinstance(value, os.PathLike):
            return os.fsencode(value)
        raise TypeError(f"expected str, bytes or a path, not {type(value).__name__}")


i32, u32, f32 = c_int32, c_uint32, c_float
pi32 = POINTER(c_int32)
pu8 = POINTER(c_uint8)
pvertex = POINTER(TPolyVertex)

# name, result, arguments, whether the call can fail. Keep in the order of vxl.h.
SIGNATURES: list[tuple[str, Any, tuple[Any, ...], bool]] = [
    ("GetDLLVersion", i32, (), False),
    ("GetDLLInfo", None, (POINTER(c_char_p), POINTER(c_char_p)), False),
    ("RGB", u32, (i32, i32, i32), False),
    ("unRGB", None, (u32, pu8, pu8, pu8), False),
    ("InitVexel", None, (u32, i32, i32, i32, i32), True),
    ("CloseVexel", None, (), True),
    ("SetVexelWindowPos", None, (i32, i32), True),
    ("ClearVexel", None, (u32,), True),
    ("VexelSizeX", i32, (), False),
    ("VexelSizeY", i32, (), False),
    ("GlobalBpp", i32, (), False),
    ("DoEvents", i32, (), True),
    ("InitVexelWindow", u32, (i32, i32, i32, i32, _Text), True),
    ("Inkey", i32, (i32,), False),
    ("MouseX", i32, (), False),
    ("MouseY", i32, (), False),
    ("GetMousePos", None, (pi32, pi32), False),
    ("SetMousePos", None, (i32, i32), False),
    ("MouseAX", i32, (), False),
    ("MouseAY", i32, (), False),
    ("GetMouseAccel", None, (pi32, pi32), False),
    ("MouseLeft", i32, (), False),
    ("MouseMiddle", i32, (), False),
    ("MouseRight", i32, (), False),
    ("GetMouseButtons", None, (pi32, pi32, pi32), False),
    ("StartTimer", None, (), False),
    ("StopTimer", None, (), False),
    ("ResetTimer", None, (), False),
    ("Timer", f32, (), False),
    ("SetupBuffer", i32, (i32, i32, i32), True),
    ("CloseBuffer", None, (i32,), True),
    ("BufferSizeX", i32, (i32,), False),
    ("BufferSizeY", i32, (i32,), False),
    ("BufferPointer", c_void_p, (i32,), False),
    ("AlphaPointer", c_void_p, (i32,), False),
    ("Fill", None, (i32, u32), False),
    ("PutPixel", None, (i32, i32, i32, u32), False),
    ("GetPixel", u32, (i32, i32, i32), False),
    ("PutAlphaPixel", None, (i32, i32, i32, i32), False),
    ("GetAlphaPixel", i32, (i32, i32, i32), False),
    ("SetupImageBuffer", i32, (_Text, i32), True),
    ("LoadAlpha", None, (i32, _Text), True),
    ("GetImageSize", None, (_Text, pi32, pi32), True),
    ("SaveTGA", None, (i32, _Text), True),
    ("SaveRAW", None, (i32, _Text), True),
    ("LoadRAW", None, (i32, _Text), True),
    ("PutStr", None, (i32, i32, i32, _Text, u32), True),
    ("Line", None, (i32, i32, i32, i32, i32, u32), False),
    ("MoveTo", None, (i32, i32, i32), False),
    ("LineTo", None, (i32, i32, i32, u32), False),
    ("HLine", None, (i32, i32, i32, i32, u32), False),
    ("VLine", None, (i32, i32, i32, i32, u32), False),
    ("Rect", None, (i32, i32, i32, i32, i32, u32), False),
    ("FillRect", None, (i32, i32, i32, i32, i32, u32), False),
    ("Circle", None, (i32, i32, i32, i32, u32), False),
    ("FillCircle", None, (i32, i32, i32, i32, u32), False),
    ("Ellipse", None, (i32, i32, i32, i32, i32, u32), False),
    ("FillEllipse", None, (i32, i32, i32, i32, i32, u32), False),
    ("CubicBezierLine", None, (i32, i32, i32, i32, i32, i32, i32, i32, i32, i32, u32), False),
    ("CopyBuffer", None, (i32, i32, i32, i32), True),
    ("CopySprite", None, (i32, i32, i32, i32, u32), True),
    ("CopyBit", None, (i32, i32, i32, i32, i32, i32, i32, i32), True),
    ("CopyBitSprite", None, (i32, i32, i32, i32, i32, i32, i32, i32, u32), True),
    ("CopyScale", None, (i32, i32, i32, i32, i32, i32), True),
    ("CopyScaleSprite", None, (i32, i32, i32, i32, i32, i32, u32), True),
    ("DrawBuffer", None, (i32, i32, i32), True),
    ("DrawSprite", None, (i32, i32, i32, u32), True),
    ("DrawBit", None, (i32, i32, i32, i32, i32, i32, i32), True),
    ("DrawBitSprite", None, (i32, i32, i32, i32, i32, i32, i32, u32), True),
    ("DrawScale", None, (i32, i32, i32, i32, i32), True),
    ("DrawScaleSprite", None, (i32, i32, i32, i32, i32, u32), True),
    ("Flip", None, (i32, i32), True),
    ("FlatPoly", None, (i32, pvertex, i32, i32, u32), True),
    ("GouraudPoly", None, (i32, pvertex, i32, i32), True),
    ("ShadedRect", None, (i32, i32, i32, i32, i32, u32, u32, u32, u32), True),
    ("TexturePoly", None, (i32, i32, pvertex, i32, i32), True),
    ("KeyTexturePoly", None, (i32, i32, pvertex, i32, i32, u32), True),
    ("CopyRotate", None, (i32, i32, i32, i32, f32, f32), True),
    ("CopyRotateSprite", None, (i32, i32, i32, i32, f32, f32, u32), True),
    ("CopyAdd", None, (i32, i32, i32, i32), True),
    ("CopySub", None, (i32, i32, i32, i32), True),
    ("CopyXor", None, (i32, i32, i32, i32), True),
    ("CopyAlpha", None, (i32, i32, i32, i32, i32), True),
    ("CopyAlphaSprite", None, (i32, i32, i32, i32, i32, u32), True),
    ("CopyAlphaMap", None, (i32, i32, i32, i32), True),
    ("CopyRedChannel", None, (i32, i32, i32, i32), True),
    ("CopyGreenChannel", None, (i32, i32, i32, i32), True),
    ("CopyBlueChannel", None, (i32, i32, i32, i32), True),
    ("CopyAlphaChannel", None, (i32, i32, i32, i32), True),
    ("Blur2x", None, (i32,), True),
    ("Negative", None, (i32,), True),
    ("Greyscale", None, (i32,), True),
    ("CopyBlur", None, (i32, i32, i32, i32), True),
    ("CopyDissolve", None, (i32, i32, i32, i32), True),
    ("CopyNegative", None, (i32, i32, i32, i32), True),
    ("CopyGreyscale", None, (i32, i32, i32, i32), True),
    # Extensions.
    ("VxlSetErrorMode", None, (i32,), False),
    ("VxlLastError", c_char_p, (), False),
    ("VxlClearError", None, (), False),
    ("VxlKeyHit", i32, (i32,), False),
    ("VxlMouseHit", i32, (i32,), False),
    ("VxlMouseWheel", i32, (), False),
    ("VxlTextInput", i32, (c_char_p, i32), False),
    ("VxlPadCount", i32, (), False),
    ("VxlPadAxis", i32, (i32, i32), False),
    ("VxlPadButton", i32, (i32, i32), False),
    ("VxlPadHit", i32, (i32, i32), False),
    ("VxlTextSize", None, (_Text, pi32, pi32), True),
    ("VxlSetFont", None, (_Text, i32), True),
]

library = load()


def _bind(name: str, result: Any, arguments: tuple[Any, ...]) -> Any:
    function = getattr(library, name)
    function.restype = result
    function.argtypes = list(arguments)
    return function


for _name, _result, _arguments, _checked in SIGNATURES:
    globals()[_name] = _bind(_name, _result, _arguments)

_clear = globals()["VxlClearError"]
_last = globals()["VxlLastError"]


def _checked(name: str, function: Any) -> Callable[..., Any]:
    def call(*args: Any) -> Any:
        _clear()
        result = function(*args)
        text = _last()
        if text:
            _clear()
            raise VxlError(text.decode("utf-8", "replace"))
        return result

    call.__name__ = call.__qualname__ = name
    call.__doc__ = f"The library's {name}; raises VxlError when it fails."
    return call


for _name, _result, _arguments, _is_checked in SIGNATURES:
    if _is_checked:
        globals()[_name] = _checked(_name, globals()[_name])

globals()["VxlSetErrorMode"](1)

__all__ = ["VxlError", "TPolyVertex", "SIGNATURES", "library"] + [s[0] for s in SIGNATURES]
