"""The display: a window (the library's own or one of yours) or the full screen."""

from __future__ import annotations

from typing import Optional, Tuple

from . import api
from .buffer import Buffer


class Display:
    """Opens the display; use it as a context manager, or call :meth:`close`.

    ``Display(640, 480)`` opens a captioned window of the library's own at the desktop's depth;
    ``full_screen=True`` takes the screen at `bpp` bits (15, 16, 24 or 32); ``window=`` an SDL window
    ID opens the display in a window your program made. Only one display is open at a time: opening
    another closes this one's picture. Buffers made afterwards take its pixel layout.
    """

    def __init__(self, width: int, height: int, *, bpp: int = 0, full_screen: bool = False,
                 title: str = "VXL", window: Optional[int] = None) -> None:
        if window is None:
            self.window_id: int = api.InitVexelWindow(width, height, bpp, int(full_screen), title)
        else:
            api.InitVexel(window, width, height, bpp, int(full_screen))
            self.window_id = window
        self._open = True

    def close(self) -> None:
        if self._open:
            self._open = False
            api.CloseVexel()

    def __enter__(self) -> "Display":
        return self

    def __exit__(self, *exc: object) -> None:
        self.close()

    @property
    def size(self) -> Tuple[int, int]:
        return api.VexelSizeX(), api.VexelSizeY()

    @property
    def depth(self) -> int:
        """Bits per pixel: 15, 16, 24 or 32."""
        return api.GlobalBpp()

    def poll(self) -> bool:
        """Handles the window's waiting messages; False once the window was closed (then close the
        display). Call it once a frame: ``while display.poll(): ...``."""
        for _ in range(64):  # the library takes one message a call
            if not api.DoEvents():
                return False
        return True

    def flip(self, buffer: Buffer, wait: bool = False) -> None:
        """Shows `buffer` stretched over the whole display; `wait` waits for the screen's refresh."""
        api.Flip(buffer.handle, int(wait))

    def clear(self, colour: int = 0) -> None:
        api.ClearVexel(colour)

    def draw(self, buffer: Buffer, x: int, y: int, key: Optional[int] = None) -> None:
        """Composes `buffer` at (x, y) on the display and shows the result."""
        if key is None:
            api.DrawBuffer(buffer.handle, x, y)
        else:
            api.DrawSprite(buffer.handle, x, y, key)

    def draw_part(self, buffer: Buffer, corners: Tuple[int, int, int, int], x: int, y: int,
                  key: Optional[int] = None) -> None:
        x1, y1, x2, y2 = corners
        if key is None:
            api.DrawBit(buffer.handle, x1, y1, x2, y2, x, y)
        else:
            api.DrawBitSprite(buffer.handle, x1, y1, x2, y2, x, y, key)

    def draw_scaled(self, buffer: Buffer, x1: int, y1: int, x2: int, y2: int, key: Optional[int] = None) -> None:
        if key is None:
            api.DrawScale(buffer.handle, x1, y1, x2, y2)
        else:
            api.DrawScaleSprite(buffer.handle, x1, y1, x2, y2, key)

    def move(self, x: int, y: int) -> None:
        """Places a window display's window (its outer corner) and shows it."""
        api.SetVexelWindowPos(x, y)
