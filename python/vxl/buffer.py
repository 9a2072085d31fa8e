"""Pixel buffers: drawing, copies and blends, pictures, and NumPy views of the pixels."""

from __future__ import annotations

import ctypes
import functools
import os
import weakref
from typing import TYPE_CHECKING, Optional, Sequence, Tuple, Union

from . import api

if TYPE_CHECKING:
    import numpy

Path = Union[str, bytes, "os.PathLike[str]"]
Point = Tuple[float, float]

_CHANNELS = {"red": "CopyRedChannel", "green": "CopyGreenChannel", "blue": "CopyBlueChannel", "alpha": "CopyAlphaChannel"}


def _vertices(corners: Sequence[Sequence[float]], fields: str) -> "ctypes.Array[api.TPolyVertex]":
    """Polygon corners as the library's vertex records; `fields` names each tuple's items."""
    array = (api.TPolyVertex * len(corners))()
    for vertex, corner in zip(array, corners):
        if len(corner) != len(fields):
            raise ValueError(f"each corner needs {len(fields)} values ({', '.join(fields)}), got {corner!r}")
        for name, value in zip(fields, corner):
            setattr(vertex, {"c": "colour"}.get(name, name), int(value) if name == "c" else float(value))
    return array


class Buffer:
    """A buffer of pixels in the display's layout, made for the display open at the time.

    ``Buffer(width, height)`` makes an empty (black) one, :meth:`Buffer.load` one from a BMP, JPEG
    or PNG file. A buffer is closed by :meth:`close`, at the end of a ``with`` block, or when it is
    collected; using it afterwards raises :class:`ValueError`. Copies and blends draw *into* this
    buffer from another: ``screen.blit(sprite, x, y, key=magenta)``.
    """

    def __init__(self, width: int, height: int, *, video: bool = False) -> None:
        self._adopt(api.SetupBuffer(width, height, int(video)))

    @classmethod
    def load(cls, path: Path, *, video: bool = False) -> "Buffer":
        """A buffer holding the picture in `path` (BMP, JPEG or PNG, told by the file's first bytes)."""
        buffer = cls.__new__(cls)
        buffer._adopt(api.SetupImageBuffer(path, int(video)))
        return buffer

    def _adopt(self, handle: int) -> None:
        if handle < 0:
            raise api.VxlError("the library handed out no buffer")
        self._handle: Optional[int] = handle
        self.depth: int = api.GlobalBpp()
        self._finalizer = weakref.finalize(self, api.CloseBuffer, handle)

    # Life.
    @property
    def handle(self) -> int:
        """The library's handle of this buffer, for calls through :mod:`vxl.api`."""
        if self._handle is None:
            raise ValueError("the buffer is closed")
        return self._handle

    @property
    def closed(self) -> bool:
        return self._handle is None

    def close(self) -> None:
        """Gives the buffer back to the library; NumPy views of it must not be used afterwards."""
        if self._handle is not None:
            self._handle = None
            self._finalizer()

    def __enter__(self) -> "Buffer":
        return self

    def __exit__(self, *exc: object) -> None:
        self.close()

    def __repr__(self) -> str:
        if self._handle is None:
            return "<vxl.Buffer closed>"
        return f"<vxl.Buffer {self.width}x{self.height} at {self.depth} bits, handle {self._handle}>"

    # Size and pixels.
    @property
    def width(self) -> int:
        return api.BufferSizeX(self.handle)

    @property
    def height(self) -> int:
        return api.BufferSizeY(self.handle)

    @property
    def size(self) -> Tuple[int, int]:
        """(width, height) in pixels."""
        return self.width, self.height

    @property
    def pixels(self) -> "numpy.ndarray":
        """The pixels themselves, rows x columns, without a copy: ``uint16`` at 15 and 16 bits,
        ``uint32`` (0x00RRGGBB) at 32 bits, and ``uint8`` triples (blue, green, red) at 24 bits.
        Writing to the array draws into the buffer."""
        import numpy

        h, w = self.height, self.width
        address = api.BufferPointer(self.handle)
        if self.depth == 24:
            raw = (ctypes.c_uint8 * (w * h * 3)).from_address(address)
            view = numpy.ctypeslib.as_array(raw).reshape(h, w, 3)
        else:
            kind = ctypes.c_uint16 if self.depth in (15, 16) else ctypes.c_uint32
            view = numpy.ctypeslib.as_array((kind * (w * h)).from_address(address)).reshape(h, w)
        return _tied(view, self)

    @property
    def alpha(self) -> "Optional[numpy.ndarray]":
        """The alpha plane (``uint8``, rows x columns) without a copy, or None when it has none."""
        import numpy

        address = api.AlphaPointer(self.handle)
        if not address:
            return None
        h, w = self.height, self.width
        view = numpy.ctypeslib.as_array((ctypes.c_uint8 * (w * h)).from_address(address)).reshape(h, w)
        return _tied(view, self)

    # Pixels and primitives; colours are packed in the display's layout (see vxl.rgb).
    def fill(self, colour: int) -> None:
        api.Fill(self.handle, colour)

    def put_pixel(self, x: int, y: int, colour: int) -> None:
        api.PutPixel(self.handle, x, y, colour)

    def get_pixel(self, x: int, y: int) -> int:
        return api.GetPixel(self.handle, x, y)

    def put_alpha(self, x: int, y: int, alpha: int) -> None:
        api.PutAlphaPixel(self.handle, x, y, alpha)

    def get_alpha(self, x: int, y: int) -> int:
        return api.GetAlphaPixel(self.handle, x, y)

    def line(self, x1: int, y1: int, x2: int, y2: int, colour: int) -> None:
        api.Line(self.handle, x1, y1, x2, y2, colour)

    def move_to(self, x: int, y: int) -> None:
        """Moves the pen (one pen for all buffers) without drawing."""
        api.MoveTo(self.handle, x, y)

    def line_to(self, x: int, y: int, colour: int) -> None:
        api.LineTo(self.handle, x, y, colour)

    def hline(self, x1: int, x2: int, y: int, colour: int) -> None:
        api.HLine(self.handle, x1, x2, y, colour)

    def vline(self, y1: int, y2: int, x: int, colour: int) -> None:
        api.VLine(self.handle, y1, y2, x, colour)

    def rect(self, x1: int, y1: int, x2: int, y2: int, colour: int) -> None:
        """The outline through both corners."""
        api.Rect(self.handle, x1, y1, x2, y2, colour)

    def fill_rect(self, x1: int, y1: int, x2: int, y2: int, colour: int) -> None:
        """Filled; the larger corner is exclusive."""
        api.FillRect(self.handle, x1, y1, x2, y2, colour)

    def circle(self, cx: int, cy: int, r: int, colour: int) -> None:
        api.Circle(self.handle, cx, cy, r, colour)

    def fill_circle(self, cx: int, cy: int, r: int, colour: int) -> None:
        api.FillCircle(self.handle, cx, cy, r, colour)

    def ellipse(self, cx: int, cy: int, rx: int, ry: int, colour: int) -> None:
        api.Ellipse(self.handle, cx, cy, rx, ry, colour)

    def fill_ellipse(self, cx: int, cy: int, rx: int, ry: int, colour: int) -> None:
        api.FillEllipse(self.handle, cx, cy, rx, ry, colour)

    def bezier(self, start: Point, control1: Point, control2: Point, end: Point, colour: int, steps: int = 32) -> None:
        """A cubic Bézier curve from `start` to `end`, drawn as `steps` joined lines."""
        (x0, y0), (x1, y1), (x2, y2), (x3, y3) = start, control1, control2, end
        api.CubicBezierLine(self.handle, int(x0), int(y0), int(x3), int(y3), int(x1), int(y1), int(x2), int(y2),
                            steps, colour)

    def text(self, x: int, y: int, text: str, colour: int) -> None:
        """One line of text, its first character cell's top-left at (x, y) (see vxl.set_font)."""
        api.PutStr(self.handle, x, y, text, colour)

    # Polygons: corners as tuples.
    def flat_poly(self, corners: Sequence[Point], colour: int) -> None:
        """A polygon of (x, y) corners in one colour."""
        v = _vertices(corners, "xy")
        api.FlatPoly(self.handle, v, len(v) - 1, len(v), colour)

    def gouraud_poly(self, corners: Sequence[Tuple[float, float, int]]) -> None:
        """A polygon of (x, y, colour) corners, the colours shaded across it."""
        v = _vertices(corners, "xyc")
        api.GouraudPoly(self.handle, v, len(v) - 1, len(v))

    def texture_poly(self, texture: "Buffer", corners: Sequence[Tuple[float, float, float, float]],
                     key: Optional[int] = None) -> None:
        """A polygon of (x, y, u, v) corners painted from `texture`; texels equal to `key` are left out."""
        v = _vertices(corners, "xyuv")
        if key is None:
            api.TexturePoly(self.handle, texture.handle, v, len(v) - 1, len(v))
        else:
            api.KeyTexturePoly(self.handle, texture.handle, v, len(v) - 1, len(v), key)

    def shaded_rect(self, x1: int, y1: int, x2: int, y2: int, colours: Tuple[int, int, int, int]) -> None:
        """A rectangle shaded between its four corners' colours (top-left, top-right, bottom-right,
        bottom-left)."""
        api.ShadedRect(self.handle, x1, y1, x2, y2, *colours)

    # Copies from another buffer into this one.
    def blit(self, source: "Buffer", x: int, y: int, key: Optional[int] = None) -> None:
        """`source` with its top-left at (x, y); pixels equal to `key` are left out."""
        if key is None:
            api.CopyBuffer(source.handle, self.handle, x, y)
        else:
            api.CopySprite(source.handle, self.handle, x, y, key)

    def blit_part(self, source: "Buffer", corners: Tuple[int, int, int, int], x: int, y: int,
                  key: Optional[int] = None) -> None:
        """The rectangle of `source` between two inclusive corners (x1, y1, x2, y2), placed at (x, y)."""
        x1, y1, x2, y2 = corners
        if key is None:
            api.CopyBit(source.handle, self.handle, x1, y1, x2, y2, x, y)
        else:
            api.CopyBitSprite(source.handle, self.handle, x1, y1, x2, y2, x, y, key)

    def blit_scaled(self, source: "Buffer", x1: int, y1: int, x2: int, y2: int, key: Optional[int] = None) -> None:
        """All of `source` stretched onto (x1, y1)-(x2, y2), the larger corner exclusive."""
        if key is None:
            api.CopyScale(source.handle, self.handle, x1, y1, x2, y2)
        else:
            api.CopyScaleSprite(source.handle, self.handle, x1, y1, x2, y2, key)

    def blit_rotated(self, source: "Buffer", x: int, y: int, *, zoom: float = 1.0, angle: float = 0.0,
                     key: Optional[int] = None) -> None:
        """`source` turned `angle` degrees clockwise and zoomed about its centre, which lands on (x, y)."""
        if key is None:
            api.CopyRotate(source.handle, self.handle, x, y, zoom, angle)
        else:
            api.CopyRotateSprite(source.handle, self.handle, x, y, zoom, angle, key)

    # Blends and effects of another buffer laid over this one at (x, y).
    def add(self, source: "Buffer", x: int, y: int) -> None:
        api.CopyAdd(source.handle, self.handle, x, y)

    def subtract(self, source: "Buffer", x: int, y: int) -> None:
        api.CopySub(source.handle, self.handle, x, y)

    def xor(self, source: "Buffer", x: int, y: int) -> None:
        api.CopyXor(source.handle, self.handle, x, y)

    def blend(self, source: "Buffer", x: int, y: int, opacity: int, key: Optional[int] = None) -> None:
        """Mixed toward `source` by `opacity` 0..255; pixels equal to `key` leave this buffer alone."""
        if key is None:
            api.CopyAlpha(source.handle, self.handle, x, y, opacity)
        else:
            api.CopyAlphaSprite(source.handle, self.handle, x, y, opacity, key)

    def blend_alpha(self, source: "Buffer", x: int, y: int) -> None:
        """Mixed toward `source` by its own alpha plane."""
        api.CopyAlphaMap(source.handle, self.handle, x, y)

    def copy_channel(self, source: "Buffer", x: int, y: int, channel: str) -> None:
        """One channel of `source` ("red", "green", "blue"; the others zero) or its alpha plane as grey."""
        try:
            name = _CHANNELS[channel]
        except KeyError:
            raise ValueError(f"channel must be one of {sorted(_CHANNELS)}, not {channel!r}") from None
        getattr(api, name)(source.handle, self.handle, x, y)

    def blur_from(self, source: "Buffer", x: int, y: int) -> None:
        api.CopyBlur(source.handle, self.handle, x, y)

    def dissolve_from(self, source: "Buffer", x: int, y: int) -> None:
        api.CopyDissolve(source.handle, self.handle, x, y)

    def negative_from(self, source: "Buffer", x: int, y: int) -> None:
        api.CopyNegative(source.handle, self.handle, x, y)

    def greyscale_from(self, source: "Buffer", x: int, y: int) -> None:
        api.CopyGreyscale(source.handle, self.handle, x, y)

    def blur(self) -> None:
        """Blurs this buffer in place."""
        api.Blur2x(self.handle)

    def negative(self) -> None:
        api.Negative(self.handle)

    def greyscale(self) -> None:
        api.Greyscale(self.handle)

    # Files.
    def save(self, path: Path) -> None:
        """Writes a BMP, JPEG or PNG file, chosen by the name's extension."""
        api.SaveTGA(self.handle, path)

    def save_raw(self, path: Path) -> None:
        """Writes the pixel bytes as they are, without a header."""
        api.SaveRAW(self.handle, path)

    def load_raw(self, path: Path) -> None:
        api.LoadRAW(self.handle, path)

    def load_alpha(self, path: Path) -> None:
        """Gives the buffer an alpha plane from an 8-bit BMP or PNG of the same size."""
        api.LoadAlpha(self.handle, path)


@functools.lru_cache(maxsize=None)
def _pixel_array() -> type:
    import numpy

    class PixelArray(numpy.ndarray):
        """A NumPy view of a buffer's memory that keeps the buffer from being collected and closed."""

        owner: Optional[Buffer] = None

        def __array_finalize__(self, obj: object) -> None:
            self.owner = getattr(obj, "owner", None)

    return PixelArray


def _tied(view: "numpy.ndarray", owner: Buffer) -> "numpy.ndarray":
    tied = view.view(_pixel_array())
    tied.owner = owner
    return tied
